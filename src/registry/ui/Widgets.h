#pragma once

#include <QString>
#include <QVariant>

class QBoxLayout;
class QComboBox;
class QLayout;
class QLineEdit;
class QPushButton;
class QWidget;

// Small pieces the registry's panels and tabs build themselves from.
namespace Widgets {

// A named button that is never the dialog's default; added to the layout when one is given.
QPushButton* botao(QWidget* parent, const QString& name, const QString& text, QLayout* layout = nullptr);

// A named line edit that takes at most maxLength characters (the column's size).
QLineEdit* campo(QWidget* parent, const QString& name, int maxLength);

// "Ok" and "Cancela" aligned right at the foot of a dialog.
struct OkCancela {
    QPushButton* ok;
    QPushButton* cancela;
};
OkCancela botoesOkCancela(QWidget* parent, QBoxLayout* layout,
                          const QString& okName = QStringLiteral("btnOk"),
                          const QString& cancelaName = QStringLiteral("btnCancela"));

// Selects the entry holding `valor`. A stored value the list no longer offers is added for as long
// as it is shown (as `texto`), so it is seen and saved back unchanged; an empty value selects
// `vazio` (an index, -1 for none).
void mostraGuardado(QComboBox* combo, const QVariant& valor, const QString& texto, int vazio);

} // namespace Widgets
