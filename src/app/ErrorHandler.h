#pragma once

#include "ErrorLog.h"

#include <QString>
#include <exception>

class Clock;
class Prompts;

// What happens to every error that no screen handles: one record in the error log, then the
// message in the standard error box. Never throws; the program goes on afterwards.
class ErrorHandler {
public:
    ErrorHandler(const Clock& clock, Prompts& prompts, QString logPath = {});

    void handle(const QString& message) noexcept;
    void handle(std::exception_ptr error) noexcept;
    // To be called inside a catch block.
    void handleCurrentException() noexcept { handle(std::current_exception()); }

    static QString messageOf(std::exception_ptr error);

    const ErrorLog& log() const { return log_; }

private:
    ErrorLog log_;
    Prompts& prompts_;
};
