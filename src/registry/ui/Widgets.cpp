#include "Widgets.h"

#include <QBoxLayout>
#include <QComboBox>
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

namespace {

// Marks the entries mostraGuardado added.
constexpr int PapelGuardado = Qt::UserRole + 100;

} // namespace

void mostraGuardado(QComboBox* combo, const QVariant& valor, const QString& texto, int vazio) {
    for (int i = combo->count() - 1; i >= 0; --i)
        if (combo->itemData(i, PapelGuardado).toBool() && combo->itemData(i) != valor)
            combo->removeItem(i);
    if (valor.isNull() || valor.toString().isEmpty()) {
        combo->setCurrentIndex(vazio);
        return;
    }
    int index = combo->findData(valor);
    if (index < 0) {
        combo->addItem(texto, valor);
        index = combo->count() - 1;
        combo->setItemData(index, true, PapelGuardado);
    }
    combo->setCurrentIndex(index);
}

} // namespace Widgets
