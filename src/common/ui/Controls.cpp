#include "Controls.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
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

// Keeps a grid's columns fitted (see fitColumns): every column but the last in sight follows its
// contents through the header; the last is given its contents' width or the rest of the viewport.
class ColumnFitter : public QObject {
public:
    explicit ColumnFitter(QTableView* grid) : QObject(grid), grid_(grid) {
        QHeaderView* header = grid->horizontalHeader();
        header->setStretchLastSection(false);
        grid->viewport()->installEventFilter(this);
        grid->installEventFilter(this);
        connect(header, &QHeaderView::sectionResized, this, [this](int logical) {
            if (logical != lastColumn())
                schedule();
        });
        connect(header, &QHeaderView::sectionCountChanged, this, &ColumnFitter::schedule);
        follow();
        fit();
    }

    void schedule() {
        if (scheduled_)
            return;
        scheduled_ = true;
        QMetaObject::invokeMethod(
            this, [this] { fit(); }, Qt::QueuedConnection);
    }

    void fit() {
        scheduled_ = false;
        follow();
        QHeaderView* header = grid_->horizontalHeader();
        const int last = lastColumn();
        if (last < 0)
            return;
        for (int c = 0; c < header->count(); ++c)
            header->setSectionResizeMode(c, c == last ? QHeaderView::Interactive
                                                      : QHeaderView::ResizeToContents);
        const int wanted = std::max(static_cast<QAbstractItemView*>(grid_)->sizeHintForColumn(last),
                                    header->sectionSizeHint(last));
        const int others = header->length() - header->sectionSize(last);
        const int room = grid_->viewport()->width() - others;
        const int width = std::max(wanted, room);
        if (header->sectionSize(last) != width)
            header->resizeSection(last, width);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if ((watched == grid_->viewport() && event->type() == QEvent::Resize) ||
            (watched == grid_ && event->type() == QEvent::Show))
            schedule();
        return false;
    }

private:
    // The last column in sight, in the order shown; -1 without one.
    int lastColumn() const {
        const QHeaderView* header = grid_->horizontalHeader();
        for (int visual = header->count() - 1; visual >= 0; --visual) {
            const int logical = header->logicalIndex(visual);
            if (!header->isSectionHidden(logical))
                return logical;
        }
        return -1;
    }

    // Listens to the grid's model, and to a new one when the grid is given another.
    void follow() {
        QAbstractItemModel* model = grid_->model();
        if (model == model_)
            return;
        if (model_)
            disconnect(model_, nullptr, this, nullptr);
        model_ = model;
        if (!model)
            return;
        connect(model, &QAbstractItemModel::modelReset, this, &ColumnFitter::schedule);
        connect(model, &QAbstractItemModel::layoutChanged, this, &ColumnFitter::schedule);
        connect(model, &QAbstractItemModel::rowsInserted, this, &ColumnFitter::schedule);
        connect(model, &QAbstractItemModel::rowsRemoved, this, &ColumnFitter::schedule);
        connect(model, &QAbstractItemModel::dataChanged, this, &ColumnFitter::schedule);
        connect(model, &QAbstractItemModel::headerDataChanged, this, &ColumnFitter::schedule);
        connect(model, &QAbstractItemModel::columnsInserted, this, &ColumnFitter::schedule);
        connect(model, &QAbstractItemModel::columnsRemoved, this, &ColumnFitter::schedule);
    }

    QTableView* grid_;
    QPointer<QAbstractItemModel> model_;
    bool scheduled_ = false;
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

void fitColumns(QTableView* grid) {
    static const char* const fitted = "tarvendixColumnsFitted";
    if (grid->property(fitted).toBool())
        return;
    grid->setProperty(fitted, true);
    new ColumnFitter(grid);
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
