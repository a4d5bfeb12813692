#pragma once

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
QLineEdit* campo(QFormLayout* form, QWidget* parent, const QString& name, const QString& caption);
QPushButton* botao(QWidget* parent, const QString& name, const QString& text);
// A check mark shown when a step is done.
QLabel* marca(QWidget* parent, const QString& name);
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
