#include "Widgets.h"

#include <QLayout>
#include <QPushButton>

namespace Widgets {

QPushButton* botao(QWidget* parent, const QString& name, const QString& text, QLayout* layout) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    if (layout)
        layout->addWidget(button);
    return button;
}

} // namespace Widgets
