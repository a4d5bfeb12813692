#pragma once

#include <QDateTime>
#include <QString>

class Clock;

// The error log beside the database: one record per unhandled error, appended, never rewritten.
// A record is the date and time, ":" and the message on one line, then a line of 70 hyphens;
// lines end with CR LF.
class ErrorLog {
public:
    // An empty path means Paths::errorLogFile(), looked up at each write.
    explicit ErrorLog(const Clock& clock, QString path = {});

    // Appends one record, creating the file when missing. False when the file cannot be written;
    // never throws, since it runs inside the error handler.
    bool append(const QString& message) const noexcept;

    QString path() const;

    static QString record(const QDateTime& when, const QString& message);

private:
    const Clock& clock_;
    QString path_;
};
