#include "AccessibleComboBox.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QLineEdit>

namespace {

class Interface : public QAccessibleWidget {
public:
    explicit Interface(QComboBox* combo) : QAccessibleWidget(combo, QAccessible::ComboBox) {}

    QString text(QAccessible::Text t) const override {
        switch (t) {
        case QAccessible::Name:
            // The accessible name, or the caption of the label whose buddy it is.
            return QAccessibleWidget::text(QAccessible::Name);
        case QAccessible::Value:
            return combo()->isEditable() && combo()->lineEdit() ? combo()->lineEdit()->text()
                                                                : combo()->currentText();
        default:
            return QAccessibleWidget::text(t);
        }
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.expandable = true;
        s.expanded = combo()->view() && combo()->view()->isVisible();
        s.editable = combo()->isEditable();
        s.readOnly = !combo()->isEditable();
        return s;
    }

    QStringList actionNames() const override {
        return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& name) override {
        if (name == showMenuAction() || name == pressAction())
            combo()->showPopup();
        else
            QAccessibleWidget::doAction(name);
    }

private:
    QComboBox* combo() const { return static_cast<QComboBox*>(widget()); }
};

QAccessibleInterface* factory(const QString& className, QObject* object) {
    Q_UNUSED(className);
    if (auto* combo = qobject_cast<QComboBox*>(object))
        return new Interface(combo);
    return nullptr;
}

} // namespace

namespace AccessibleComboBox {

void install() {
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    QAccessible::installFactory(factory);
}

} // namespace AccessibleComboBox
