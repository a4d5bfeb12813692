#pragma once

#include <QString>

class QBoxLayout;
class QLineEdit;
class QPushButton;
class QWidget;

// Pieces the settings dialogs and pages share.
namespace DialogParts {

// A line edit that shows "*" for each character.
QLineEdit* passwordEdit(QWidget* parent, const char* objectName);

// An "Ok" (default) and "Cancela" pair aligned right, appended to the layout.
struct OkCancel {
    QPushButton* ok;
    QPushButton* cancel;
};
OkCancel addOkCancel(QWidget* parent, QBoxLayout* layout, const char* okName, const char* cancelName);

// Checks a new password typed twice: empty text when it can be stored, else the message to show.
// When refused, both fields are cleared and the focus goes back to the first.
QString checkNewPassword(QLineEdit* password, QLineEdit* confirmation);

} // namespace DialogParts
