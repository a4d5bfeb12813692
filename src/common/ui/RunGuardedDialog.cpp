#include "RunGuardedDialog.h"

#include <QCloseEvent>

void RunGuardedDialog::reject() {
    if (!isRunning())
        QDialog::reject();
}

void RunGuardedDialog::closeEvent(QCloseEvent* event) {
    if (isRunning())
        event->ignore();
    else
        QDialog::closeEvent(event);
}
