#include "TarvendixApplication.h"

#include "AccessibleComboBox.h"
#include "ErrorHandler.h"

TarvendixApplication::TarvendixApplication(int& argc, char** argv) : QApplication(argc, argv) {
    // Screen readers meet every drop-down by its caption.
    AccessibleComboBox::install();
}

bool TarvendixApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        if (handler_)
            handler_->handleCurrentException();
        else
            qCritical("Unhandled error: %s", qPrintable(ErrorHandler::messageOf(std::current_exception())));
        return false;
    }
}
