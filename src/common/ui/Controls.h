#pragma once

#include <QString>

class QAbstractItemView;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QWidget;

// How every screen builds its controls, so that windows size themselves from their layouts and
// every control can be found by keyboard users and screen readers:
// - no fixed sizes: layouts give each control at least its size hint, windows stay resizable;
// - every focusable control has an accessible name: the caption of its label (set the label's
//   buddy, or use QFormLayout::addRow with a caption and the control), its own text, or for a
//   tool button its hint;
// - grids show at least Controls::LinhasDeGrade rows;
// - a click into an empty masked field starts typing at the mask's first position.
namespace Controls {

// A label showing `text` (with its "&" mnemonic) whose buddy is `control`: the control takes the
// caption as its accessible name and the mnemonic moves the focus to it.
QLabel* caption(const QString& text, QWidget* control, QWidget* parent);

// Gives the control the caption as its accessible name ("&" mnemonics removed), for controls whose
// caption is not a label of their own: a tool button's hint, a field captioned by a row of several.
void name(QWidget* control, const QString& caption);

// A read-only field added to the form with its caption (which becomes its accessible name).
QLineEdit* readOnlyField(QFormLayout* form, QWidget* parent, const QString& objectName,
                         const QString& caption);
// A button that does not take Enter unless made the default.
QPushButton* button(QWidget* parent, const QString& objectName, const QString& text);
// A check mark, hidden until shown.
QLabel* checkMark(QWidget* parent, const QString& objectName);

// The rows a grid shows at least.
inline constexpr int LinhasDeGrade = 8;

// Makes the grid at least as high as its header and `rows` rows (of its font), so layouts never
// squeeze it below that and windows open showing them.
void showRows(QAbstractItemView* grid, int rows = LinhasDeGrade);

// Sizes the grid's columns to their contents and titles, and lets the last column in sight take the
// width that is left (or its contents' width, when the others leave less). Follows the model: new
// rows, new data, a new query or a new model refit the columns.
void fitColumns(QTableView* grid);

// A click into the masked field while nothing has been typed into it puts the cursor at the mask's
// first position (Qt puts it where the click landed, and digits typed there fill the wrong places).
void startAtFirstPositionWhenEmpty(QLineEdit* edit);

// True when the masked field holds no typed character (only its blanks and separators).
bool maskIsEmpty(const QLineEdit* edit);

} // namespace Controls
