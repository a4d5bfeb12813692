#pragma once

#include "EntregaArquivo.h"

#include <QString>
#include <functional>

class QFormLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// The pieces the delivery screens share.
namespace EntregaWidgets {

// Prints a delivery receipt (the reports plug it in); until one is given, "Emite Comprovante"
// stays disabled.
using EmiteComprovante = std::function<void(QWidget* parent, const ComprovanteEntrega& comprovante)>;

// A read-only field with its caption in a form.
QLineEdit* campo(QFormLayout* form, QWidget* parent, const QString& name, const QString& caption);
// A button that does not take Enter unless made the default.
QPushButton* botao(QWidget* parent, const QString& name, const QString& text);
// A check mark, hidden until shown.
QLabel* marca(QWidget* parent, const QString& name);

// The group "Arquivo a ser transferido" with EdDiretorio and EdArquivoTransferencia.
struct GrupoArquivo {
    QGroupBox* grupo;
    QLineEdit* EdDiretorio;
    QLineEdit* EdArquivoTransferencia;
};
GrupoArquivo grupoArquivo(QWidget* parent, const QString& diretorio, const QString& arquivo);

} // namespace EntregaWidgets
