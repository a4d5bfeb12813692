#include "ErrorLog.h"

#include "Clock.h"
#include "Paths.h"

#include <QFile>

ErrorLog::ErrorLog(const Clock& clock, QString path) : clock_(clock), path_(std::move(path)) {}

QString ErrorLog::path() const {
    return path_.isEmpty() ? Paths::errorLogFile() : path_;
}

QString ErrorLog::record(const QDateTime& when, const QString& message) {
    const QString crlf = QStringLiteral("\r\n");
    return when.toString(QStringLiteral("dd/MM/yyyy hh:mm:ss")) + QLatin1Char(':') + message + crlf +
           QString(70, QLatin1Char('-')) + crlf;
}

bool ErrorLog::append(const QString& message) const noexcept {
    try {
        QFile file(path());
        if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
            return false;
        // One write for the whole record, so a failure never leaves half a record behind us.
        const QByteArray bytes = record(clock_.now(), message).toUtf8();
        const bool written = file.write(bytes) == bytes.size() && file.flush();
        file.close();
        return written;
    } catch (...) {
        return false;
    }
}
