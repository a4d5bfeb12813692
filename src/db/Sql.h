#pragma once

#include "DbError.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>
#include <initializer_list>
#include <utility>

// Statement helpers over the one connection: every failure becomes a DbError, named parameters
// are checked against the statement, and a duplicate key reads "Key violation.".
namespace Sql {

using Param = std::pair<QString, QVariant>; // name with its colon, e.g. {":NumC", number}
using Params = std::initializer_list<Param>;

QSqlQuery prepare(const QSqlDatabase& db, const QString& sql);
void bind(QSqlQuery& query, Params params);
void exec(QSqlQuery& query);

// Prepares, binds and runs one statement; the query is positioned before its first row.
QSqlQuery exec(const QSqlDatabase& db, const QString& sql, Params params = {});
// The first column of the first row, or an invalid QVariant when there is no row.
QVariant scalar(const QSqlDatabase& db, const QString& sql, Params params = {});
// Number of rows changed by the statement.
int execute(const QSqlDatabase& db, const QString& sql, Params params = {});

// A text value quoted for SQL, single quotes doubled ("ABC'1" -> 'ABC''1').
QString quoted(const QString& text);

// The stored form of a date: the day at midnight. Date-times are bound as QDateTime directly.
QDateTime dateValue(const QDate& date);
// NULL when the date-time is invalid.
QVariant dateTimeOrNull(const QDateTime& value);

DbError errorOf(const QSqlQuery& query);

} // namespace Sql
