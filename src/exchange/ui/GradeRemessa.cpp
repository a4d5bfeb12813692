#include "GradeRemessa.h"

#include "Controls.h"

#include <QHeaderView>
#include <QLabel>
#include <QStringList>
#include <QStyle>
#include <QTableView>

namespace GradeRemessa {

QTableView* grade(QWidget* parent, const char* objectName, QLabel* caption, int rows) {
    auto* view = new QTableView(parent);
    view->setObjectName(QString::fromLatin1(objectName));
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setAlternatingRowColors(true);
    view->verticalHeader()->setVisible(false);
    view->horizontalHeader()->setHighlightSections(false);
    Controls::showRows(view, rows);
    Controls::fitColumns(view);
    if (caption) {
        caption->setBuddy(view);
        view->setAccessibleName(caption->text().remove(QLatin1Char('&')));
    }
    return view;
}

void larguraPara(QTableView* grid, const QStringList& samples) {
    const QFontMetrics metrics(grid->font());
    // Each cell has a margin on both sides; the vertical scroll bar may take its place too.
    const int margin = 2 * grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 12;
    int width =
        2 * grid->frameWidth() + grid->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, grid);
    for (const QString& sample : samples)
        width += metrics.horizontalAdvance(sample) + margin;
    grid->setMinimumWidth(width);
}

} // namespace GradeRemessa
