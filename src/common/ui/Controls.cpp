#include "Controls.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTableView>

#include <algorithm>

namespace Controls {

namespace {

// Puts the cursor back at the start once the click has placed it, while the mask is empty.
class FirstPositionFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonRelease) {
            auto* edit = qobject_cast<QLineEdit*>(watched);
            if (edit && !edit->inputMask().isEmpty() && maskIsEmpty(edit))
                edit->setCursorPosition(0);
        }
        return false;
    }
};

QString withoutMnemonics(QString text) {
    // "&&" is a literal ampersand; a single "&" marks the mnemonic.
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QStringLiteral("\x01"), QStringLiteral("&"));
    return text.trimmed();
}

} // namespace

QLineEdit* readOnlyField(QFormLayout* form, QWidget* parent, const QString& objectName,
                         const QString& caption) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(objectName);
    edit->setReadOnly(true);
    edit->setAccessibleName(QString(caption).remove(QLatin1Char('&')).trimmed());
    form->addRow(caption, edit);
    return edit;
}

QPushButton* button(QWidget* parent, const QString& objectName, const QString& text) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(objectName);
    b->setAutoDefault(false);
    return b;
}

QLabel* checkMark(QWidget* parent, const QString& objectName) {
    auto* mark = new QLabel(QStringLiteral("\u2714"), parent);
    mark->setObjectName(objectName);
    mark->setVisible(false);
    return mark;
}

QLabel* caption(const QString& text, QWidget* control, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(control);
    // Accessibility finds a buddy's caption only while both share a parent; layouts may reparent.
    name(control, text);
    return label;
}

void name(QWidget* control, const QString& caption) {
    control->setAccessibleName(withoutMnemonics(caption));
}

void showRows(QAbstractItemView* grid, int rows) {
    int header = 0;
    int rowHeight = grid->fontMetrics().height() + 8;
    if (auto* table = qobject_cast<QTableView*>(grid)) {
        // Rows as high as the text needs, not the style's roomy default.
        table->verticalHeader()->setDefaultSectionSize(rowHeight);
        rowHeight = table->verticalHeader()->defaultSectionSize();
        if (!table->horizontalHeader()->isHidden())
            header = table->horizontalHeader()->sizeHint().height();
        if (header <= 0)
            header = grid->fontMetrics().height() + 10;
    }
    const int frame = 2 * grid->frameWidth();
    const int scrollBar = grid->style() ? grid->style()->pixelMetric(QStyle::PM_ScrollBarExtent) : 0;
    grid->setMinimumHeight(header + rows * rowHeight + frame + scrollBar);
}

void startAtFirstPositionWhenEmpty(QLineEdit* edit) {
    edit->installEventFilter(new FirstPositionFilter(edit));
}

bool maskIsEmpty(const QLineEdit* edit) {
    // text() leaves the mask's blanks out and keeps its separators.
    const QString text = edit->text();
    return std::none_of(text.cbegin(), text.cend(), [](QChar c) { return c.isLetterOrNumber(); });
}

} // namespace Controls
