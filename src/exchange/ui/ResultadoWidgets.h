#pragma once

#include "Controls.h"

#include <QString>

class QFormLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// Pieces the result screens share.
namespace ResultadoWidgets {

// A check mark shown when a step is done (hidden until then, keeping its place).
QLabel* marca(QWidget* parent, const QString& name);
// A button that is not the default unless made so.
inline QPushButton* botao(QWidget* parent, const QString& name, const QString& text) {
    return Controls::button(parent, name, text);
}
// A read-only field with its caption as a row of the form.
inline QLineEdit* campo(QFormLayout* form, QWidget* parent, const QString& name, const QString& caption) {
    return Controls::readOnlyField(form, parent, name, caption);
}
// Keeps the widget's place in its layout while hidden.
void mantemLugar(QWidget* widget);

// The group "Dados da Remessa: " with EdNumeroRemessa and EdArquivoRemessa filled in.
QGroupBox* dadosDaRemessa(QWidget* parent, const QString& numero, const QString& arquivo);

// The group "Sincronização da Base de Dados" with LbSincroniza and CkSincroniza, both hidden.
struct Sincronizacao {
    QGroupBox* grupo;
    QLabel* LbSincroniza;
    QLabel* CkSincroniza;
};
Sincronizacao sincronizacao(QWidget* parent);

} // namespace ResultadoWidgets
