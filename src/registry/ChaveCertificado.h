#pragma once

#include <QString>
#include <functional>
#include <optional>

class QWidget;

struct ChaveCertificado {
    QString sigla;
    QString numero;
};

// Asks the user to pick a certificate ("Seleciona Certificado"); nothing when none was chosen.
using EscolheCertificado = std::function<std::optional<ChaveCertificado>(QWidget* parent)>;
