#include "GradeRemessa.h"

#include <QHeaderView>
#include <QLabel>
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
    view->horizontalHeader()->setStretchLastSection(true);
    view->horizontalHeader()->setHighlightSections(false);
    const int frame = 2 * view->frameWidth();
    view->setMinimumHeight(view->horizontalHeader()->sizeHint().height() +
                           rows * view->verticalHeader()->defaultSectionSize() + frame);
    if (caption) {
        caption->setBuddy(view);
        view->setAccessibleName(caption->text().remove(QLatin1Char('&')));
    }
    return view;
}

} // namespace GradeRemessa
