#pragma once

#include "DbError.h"

#include <QSqlDatabase>
#include <QString>
#include <QVariant>

struct sqlite3;
struct sqlite3_stmt;

// A statement run straight on the connection's SQLite handle (so inside the same transaction), for
// statements run once per row of a long run: Qt's binding costs more per value than the statement.
// Values are stored as the Qt driver stores them (date-times as ISO text with milliseconds), and
// errors are the same DbError the statement helpers give ("Key violation." for a duplicate key).
class SqliteStatement {
public:
    // Throws DbError when the statement does not compile or the connection is closed.
    SqliteStatement(const QSqlDatabase& db, const QString& sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    // Placeholders are numbered from 0 in the order they appear in the text.
    void bind(int position, const QVariant& value);
    void bindNull(int position);
    void bindInteger(int position, qint64 value);
    void bindReal(int position, double value);
    void bindUtf8(int position, const char* text, int bytes);

    // Runs the statement and tells whether it gave a row; the statement is ready to be bound and
    // run again afterwards. Throws DbError on failure.
    bool runHasRow();
    // Runs a statement that changes rows and returns how many it changed.
    int run();

    // The text the Qt driver stores for a date-time: "yyyy-MM-ddTHH:mm:ss.zzz".
    static QString storedText(const QDateTime& value);

private:
    DbError error() const;
    void check(int rc) const;

    sqlite3* handle_;
    sqlite3_stmt* statement_ = nullptr;
};
