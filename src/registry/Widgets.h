#pragma once

#include <QString>

class QLayout;
class QPushButton;
class QWidget;

// Small pieces the registry's panels and tabs build themselves from.
namespace Widgets {

// A named button that is never the dialog's default; added to the layout when one is given.
QPushButton* botao(QWidget* parent, const QString& name, const QString& text, QLayout* layout = nullptr);

} // namespace Widgets
