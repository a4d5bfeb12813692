#pragma once

#include <QApplication>

class ErrorHandler;

// The application object (which also makes every drop-down speak its caption to screen readers):
// every error that escapes an event handler, a slot or a timer ends here
// and goes to the error handler, and the event loop carries on.
class TarvendixApplication : public QApplication {
    Q_OBJECT
public:
    TarvendixApplication(int& argc, char** argv);

    void setErrorHandler(ErrorHandler* handler) { handler_ = handler; }
    ErrorHandler* errorHandler() const { return handler_; }

    bool notify(QObject* receiver, QEvent* event) override;

private:
    ErrorHandler* handler_ = nullptr;
};
