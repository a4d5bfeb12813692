#include "VersaoWidgets.h"

#include "Controls.h"

#include <QAbstractItemView>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <algorithm>

namespace VersaoWidgets {

QLineEdit* campo(QFormLayout* form, QWidget* parent, const QString& name, const QString& caption) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setReadOnly(true);
    edit->setAccessibleName(QString(caption).remove(QLatin1Char('&')).trimmed());
    form->addRow(caption, edit);
    return edit;
}

QPushButton* botao(QWidget* parent, const QString& name, const QString& text) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

QLabel* marca(QWidget* parent, const QString& name) {
    auto* mark = new QLabel(QStringLiteral("\u2714"), parent);
    mark->setObjectName(name);
    mark->setVisible(false);
    return mark;
}

QTableView* grade(QWidget* parent, const QString& name, const QString& accessibleName) {
    auto* view = new QTableView(parent);
    view->setObjectName(name);
    view->setAccessibleName(accessibleName);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->verticalHeader()->hide();
    view->setWordWrap(false);
    view->horizontalHeader()->setStretchLastSection(true);
    Controls::showRows(view);
    return view;
}

void ajustaColunas(QTableView* grade) {
    QHeaderView* header = grade->horizontalHeader();
    header->setStretchLastSection(false); // the last column at its contents' width, to measure it
    grade->resizeColumnsToContents();
    int width = 2 * grade->frameWidth() + grade->verticalScrollBar()->sizeHint().width();
    for (int column = 0; column < header->count(); ++column)
        width += grade->columnWidth(column);
    header->setStretchLastSection(true);
    grade->setMinimumWidth(std::max(grade->minimumWidth(), width));
}

} // namespace VersaoWidgets
