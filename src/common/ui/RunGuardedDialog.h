#pragma once

#include <QDialog>

class QCloseEvent;

// A dialog whose operation, once started, runs to its end (a transfer, a preparation, a result):
// while it runs, Esc and the close button are refused, so nothing goes on behind a closed window
// and the screen that opened it cannot start a second run into the same files.
class RunGuardedDialog : public QDialog {
    Q_OBJECT

public:
    using QDialog::QDialog;

    void reject() override;

protected:
    virtual bool isRunning() const = 0;
    void closeEvent(QCloseEvent* event) override;
};
