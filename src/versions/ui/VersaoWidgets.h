#pragma once

#include "Controls.h"

#include <QString>

class QBoxLayout;
class QFormLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QWidget;

// Pieces the three version screens share.
namespace VersaoWidgets {

// A read-only field with its caption in the form (the caption is its buddy and accessible name).
inline QLineEdit* campo(QFormLayout* form, QWidget* parent, const QString& name, const QString& caption) {
    return Controls::readOnlyField(form, parent, name, caption);
}
inline QPushButton* botao(QWidget* parent, const QString& name, const QString& text) {
    return Controls::button(parent, name, text);
}
// A check mark shown when a step is done.
inline QLabel* marca(QWidget* parent, const QString& name) {
    return Controls::checkMark(parent, name);
}
// A read-only grid that shows at least eight rows.
QTableView* grade(QWidget* parent, const QString& name, const QString& accessibleName);
// Sizes the columns to their contents and widens the grid (and so its window) until every column
// shows whole, archive names included.
void ajustaColunas(QTableView* grade);

// The foot both installing screens share: "Atualizando tabelas..." with its check mark, the group
// "Resultado Final  " and the buttons "Atualiza Versão", "Cancela" and "&Saída", added to `layout`.
struct Rodape {
    QLabel* LbAtualiza;
    QLabel* CkAtualiza;
    QGroupBox* grupoInstalacao; // the caller may give the install line a group of its own
    QLineEdit* EdResultado;
    QPushButton* BtAtualiza;
    QPushButton* BtCancela;
    QPushButton* BtSaida;
};
Rodape rodape(QWidget* parent, QBoxLayout* layout, const QString& tituloInstalacao = {});

} // namespace VersaoWidgets
