#include "Sql.h"

#include <QSqlError>

namespace Sql {

namespace {

// SQLite's extended codes for a duplicate primary key and a duplicate unique index.
bool isDuplicateKeyCode(const QString& nativeCode) {
    return nativeCode == QLatin1String("1555") || nativeCode == QLatin1String("2067");
}

// True when the statement carries the parameter as a whole name (":Num" is not carried by ":NumC").
bool carries(const QString& sql, const QString& name) {
    for (qsizetype at = sql.indexOf(name); at >= 0; at = sql.indexOf(name, at + 1)) {
        const qsizetype end = at + name.size();
        if (end == sql.size() || !(sql[end].isLetterOrNumber() || sql[end] == QLatin1Char('_')))
            return true;
    }
    return false;
}

} // namespace

DbError errorOf(const QSqlQuery& query) {
    const QSqlError error = query.lastError();
    if (isDuplicateKeyCode(error.nativeErrorCode()))
        return DbError(KeyViolationMessage, true);
    QString text = error.databaseText();
    if (text.isEmpty())
        text = error.text();
    return DbError(text);
}

QSqlQuery prepare(const QSqlDatabase& db, const QString& sql) {
    if (!db.isOpen())
        throw DbError(QStringLiteral("O banco de dados não está aberto."));
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        throw errorOf(query);
    return query;
}

void bind(QSqlQuery& query, Params params) {
    const QString sql = query.lastQuery();
    for (const auto& [name, value] : params) {
        // A name the statement does not carry would silently bind nothing.
        if (!name.startsWith(QLatin1Char(':')) || !carries(sql, name))
            throw DbError(QStringLiteral("Parâmetro %1 não existe na instrução SQL.").arg(name));
        query.bindValue(name, value);
    }
}

void exec(QSqlQuery& query) {
    if (!query.exec())
        throw errorOf(query);
}

QSqlQuery exec(const QSqlDatabase& db, const QString& sql, Params params) {
    QSqlQuery query = prepare(db, sql);
    bind(query, params);
    exec(query);
    return query;
}

QVariant scalar(const QSqlDatabase& db, const QString& sql, Params params) {
    QSqlQuery query = exec(db, sql, params);
    return query.next() ? query.value(0) : QVariant();
}

int execute(const QSqlDatabase& db, const QString& sql, Params params) {
    QSqlQuery query = exec(db, sql, params);
    return query.numRowsAffected();
}

QString quoted(const QString& text) {
    QString doubled = text;
    doubled.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + doubled + QLatin1Char('\'');
}

QDateTime dateValue(const QDate& date) {
    return QDateTime(date, QTime(0, 0));
}

QVariant dateTimeOrNull(const QDateTime& value) {
    return value.isValid() ? QVariant(value) : QVariant(QMetaType(QMetaType::QDateTime));
}

} // namespace Sql
