#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// Numbers of the event rows. SeqEvento is numbered over the whole event table, not per item, so
// it alone is unique within each table.
namespace EventSequence {

// SeqEvento is a 16-bit column.
inline constexpr int MaxSeqEvento = 32767;

// The event tables, one per kind of item.
const QStringList& eventTables();
bool isEventTable(const QString& name); // case-insensitive, as the database is

// max(SeqEvento) + 1 over the whole table, 1 for an empty table. Throws DbError when the table
// is not an event table, or when the next number would not fit in SeqEvento.
int next(const QSqlDatabase& db, const QString& eventTable);

} // namespace EventSequence
