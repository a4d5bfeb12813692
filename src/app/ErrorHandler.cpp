#include "ErrorHandler.h"

#include "AppInfo.h"
#include "DbError.h"
#include "Prompts.h"

#include <QDebug>

ErrorHandler::ErrorHandler(const Clock& clock, Prompts& prompts, QString logPath)
    : log_(clock, std::move(logPath)), prompts_(prompts) {}

QString ErrorHandler::messageOf(std::exception_ptr error) {
    return messageOfError(error);
}

void ErrorHandler::handle(std::exception_ptr error) noexcept {
    QString message;
    try {
        message = messageOf(error);
    } catch (...) {
        message = QStringLiteral("Erro desconhecido.");
    }
    handle(message);
}

void ErrorHandler::handle(const QString& message) noexcept {
    // The message is shown even when the log cannot be written.
    if (!log_.append(message))
        qWarning("The error log %s could not be written", qPrintable(log_.path()));
    try {
        prompts_.error(message, AppInfo::Title);
    } catch (...) {
        qCritical("Unhandled error: %s", qPrintable(message));
    }
}
