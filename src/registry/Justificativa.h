#pragma once

#include <QDate>
#include <QString>
#include <functional>
#include <optional>

// What the user typed in the justification dialog.
struct Justificativa {
    QString texto;
    QDate dataStatus; // valid only when the date was asked
};

// Asks the user for a justification (and, when askDate, a status date not before the
// certificate's emission date nor after today). Empty when the user cancels. The screens install
// one that shows TFrmJustificativa; data-module tests install their own.
using JustificationAsker =
    std::function<std::optional<Justificativa>(bool askDate, const QDate& dataEmissao)>;
