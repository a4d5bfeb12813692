#pragma once

#include "ParadoxTable.h"
#include "Sql.h"

#include <QSqlDatabase>
#include <QStringList>
#include <functional>

// Copies between the live tables of "CapaCertific" and the Paradox files of the batch and
// reference-table packages. Every failure is a DbError. The writes to the database join the
// caller's open transaction (and leave commit and rollback to it); without one, each call is
// one transaction of its own. Table and column names come from the database's own catalogue;
// values are always bound.
namespace EngineServices {

// The Paradox columns of a live table, from its declared types: VARCHAR(N) -> alpha N,
// SMALLINT -> short, INTEGER (autoincrement included) -> long, BOOLEAN -> logical,
// DATETIME -> timestamp. Any other type is an error.
QList<ParadoxField> paradoxFieldsOf(const QSqlDatabase& db, const QString& liveTable);

// Creates the empty table directory/fileName with the live table's columns; returns its path.
// An existing file is an error.
QString createParadoxFromTable(const QSqlDatabase& db, const QString& liveTable, const QString& directory,
                               const QString& fileName, const QString& password = {});

// Appends every row of the query to the table, column by position; the query must return as
// many columns as the table has. Returns the number of rows appended.
int appendQueryToParadox(const QSqlDatabase& db, const QString& selectSql, Sql::Params params,
                         const QString& paradoxPath);

// Appends every row of one table to another with the same column types in the same order.
int appendParadoxToParadox(const QString& sourcePath, const QString& destinationPath);

struct ParadoxContent {
    QStringList fieldNames;
    QList<ParadoxRow> rows;
};
ParadoxContent readParadoxRows(const QString& paradoxPath);

// Columns are matched by name, without regard to case. Returns the number of rows written.
//
// appendOrUpdate: a source row whose primary key exists replaces that row's columns, any
// other is added, other rows stay; source columns the table lacks are ignored.
int appendOrUpdateFromParadox(const QSqlDatabase& db, const QString& paradoxPath, const QString& table);
// Called every `every` rows of a long copy (a screen lets pending events run there); a throw
// from it ends the copy like any other failure.
struct RowTick {
    int every = 0;
    std::function<void(int rows)> visit;
    void operator()(int rows) const;
};

// Deletes every row whose primary key equals a source row's key; returns the rows deleted.
// The source rows are read one by one, never all held.
int removeByKeyFromParadox(const QSqlDatabase& db, const QString& paradoxPath, const QString& table,
                           const RowTick& tick = {});
// Adds every source row; every source column must exist in the table. A duplicate key fails
// with "Key violation.". The source rows are read one by one, never all held.
int appendParadoxToTable(const QSqlDatabase& db, const QString& paradoxPath, const QString& table,
                         const RowTick& tick = {});

} // namespace EngineServices
