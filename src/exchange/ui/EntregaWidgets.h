#pragma once

#include "Controls.h"

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
inline QLineEdit* campo(QFormLayout* form, QWidget* parent, const QString& name, const QString& caption) {
    return Controls::readOnlyField(form, parent, name, caption);
}
// A button that does not take Enter unless made the default.
inline QPushButton* botao(QWidget* parent, const QString& name, const QString& text) {
    return Controls::button(parent, name, text);
}
// A check mark, hidden until shown.
inline QLabel* marca(QWidget* parent, const QString& name) {
    return Controls::checkMark(parent, name);
}

// The group "Arquivo a ser transferido" with EdDiretorio and EdArquivoTransferencia.
struct GrupoArquivo {
    QGroupBox* grupo;
    QLineEdit* EdDiretorio;
    QLineEdit* EdArquivoTransferencia;
};
GrupoArquivo grupoArquivo(QWidget* parent, const QString& diretorio, const QString& arquivo);

} // namespace EntregaWidgets
