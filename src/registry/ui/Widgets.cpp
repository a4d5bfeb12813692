#include "Widgets.h"

#include <QBoxLayout>
#include <QLineEdit>
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

QLineEdit* campo(QWidget* parent, const QString& name, int maxLength) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setMaxLength(maxLength);
    return edit;
}

OkCancela botoesOkCancela(QWidget* parent, QBoxLayout* layout, const QString& okName,
                          const QString& cancelaName) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    OkCancela buttons{botao(parent, okName, QStringLiteral("Ok"), row),
                      botao(parent, cancelaName, QStringLiteral("Cancela"), row)};
    layout->addLayout(row);
    return buttons;
}

} // namespace Widgets
