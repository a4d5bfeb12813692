#pragma once

#include <QStringList>

class QLabel;
class QTableView;
class QWidget;

// Pieces the batch screens share.
namespace GradeRemessa {

// A read-only grid that selects whole rows, at least `rows` rows tall, named, with the caption
// label as its buddy (so the caption names it for the keyboard and for screen readers).
QTableView* grade(QWidget* parent, const char* objectName, QLabel* caption, int rows = 8);

// Makes the grid at least wide enough for columns holding these sample texts side by side.
void larguraPara(QTableView* grid, const QStringList& samples);

} // namespace GradeRemessa
