#include "SqliteStatement.h"

#include "Database.h"
#include "Formats.h"

#include <QDateTime>
#include <sqlite3.h>

// The DbError of the handle's last failure: "Key violation." for a duplicate key, as elsewhere.
static DbError sqliteError(sqlite3* handle) {
    const int code = sqlite3_extended_errcode(handle);
    if (code == SQLITE_CONSTRAINT_PRIMARYKEY || code == SQLITE_CONSTRAINT_UNIQUE)
        return DbError(KeyViolationMessage, true);
    return DbError(QString::fromUtf8(sqlite3_errmsg(handle)));
}

SqliteStatement::SqliteStatement(const QSqlDatabase& db, const QString& sql) : handle_(Database::handle(db)) {
    if (!db.isOpen() || !handle_)
        throw DbError(QStringLiteral("O banco de dados não está aberto."));
    if (sqlite3_prepare16_v2(handle_, sql.utf16(), int(sql.size() * sizeof(char16_t)), &statement_,
                             nullptr) != SQLITE_OK)
        throw error();
}

SqliteStatement::~SqliteStatement() {
    sqlite3_finalize(statement_);
}

DbError SqliteStatement::error() const {
    return sqliteError(handle_);
}

QString SqliteStatement::storedText(const QDateTime& value) {
    return textoDataHoraRapido(value, u"yyyy-MM-ddThh:mm:ss.zzz");
}

void SqliteStatement::check(int rc) const {
    if (rc != SQLITE_OK)
        throw error();
}

void SqliteStatement::bindNull(int position) {
    check(sqlite3_bind_null(statement_, position + 1));
}

void SqliteStatement::bindInteger(int position, qint64 value) {
    check(sqlite3_bind_int64(statement_, position + 1, value));
}

void SqliteStatement::bindReal(int position, double value) {
    check(sqlite3_bind_double(statement_, position + 1, value));
}

void SqliteStatement::bindUtf8(int position, const char* text, int bytes) {
    check(sqlite3_bind_text(statement_, position + 1, text, bytes, SQLITE_TRANSIENT));
}

static int bindUtf16(sqlite3_stmt* statement, int p, const QString& text) {
    return sqlite3_bind_text16(statement, p, text.utf16(), int(text.size() * sizeof(char16_t)),
                               SQLITE_TRANSIENT);
}

void SqliteStatement::bind(int position, const QVariant& value) {
    if (value.isNull())
        return bindNull(position);
    switch (value.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UInt:
    case QMetaType::Bool:
        return bindInteger(position, value.toLongLong());
    case QMetaType::Double:
        return bindReal(position, value.toDouble());
    case QMetaType::QDateTime: {
        const QDateTime when = value.toDateTime();
        if (!when.isValid())
            return bindNull(position);
        return check(bindUtf16(statement_, position + 1, storedText(when)));
    }
    default:
        return check(bindUtf16(statement_, position + 1, value.toString()));
    }
}

bool SqliteStatement::runHasRow() {
    const int rc = sqlite3_step(statement_);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
        const DbError failure = error();
        sqlite3_reset(statement_);
        sqlite3_clear_bindings(statement_);
        throw failure;
    }
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
    return rc == SQLITE_ROW;
}

int SqliteStatement::run() {
    runHasRow();
    return sqlite3_changes(handle_);
}
