#pragma once

#include <QHash>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// Numbers of the event rows. SeqEvento is numbered over the whole event table, not per item, so
// below the 16-bit ceiling it alone is unique within each table. Past the ceiling numbers are
// reused across certificates but never within one: every event key (and every shorter key the
// batches use) carries the certificate, so it stays unique and the column stays a short.
namespace EventSequence {

// SeqEvento is a 16-bit column.
inline constexpr int MaxSeqEvento = 32767;

// The event tables, one per kind of item.
const QStringList& eventTables();
bool isEventTable(const QString& name); // case-insensitive, as the database is

// The number of a new event of the certificate (siglaCertificador, numCertif):
// - max(SeqEvento) + 1 over the whole table while that fits (1 for an empty table);
// - once the table holds 32767, max(SeqEvento) + 1 over the certificate's own events;
// - once the certificate holds 32767 too, the smallest positive number it does not use yet.
// Throws DbError when the table is not an event table, or when the certificate has used every
// number of the table.
int next(const QSqlDatabase& db, const QString& eventTable, const QString& siglaCertificador,
         const QString& numCertif);

// The same numbers for a run of inserts inside one transaction in which nothing else writes
// events (an import file): each table's highest number is read once and counted on from there,
// until the ceiling, where `next` takes over. Every number handed out must be inserted.
class Numbering {
public:
    int next(const QSqlDatabase& db, const QString& eventTable, const QString& siglaCertificador,
             const QString& numCertif);

private:
    QHash<QString, qint64> highest_; // by table, upper case
};

} // namespace EventSequence
