#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>
#include <functional>

// Damages a sound Paradox table file the way a table from outside may arrive damaged or forged:
// a byte of its header or of a data block's header overwritten, or the file cut short. Each damage
// names a phrase the refusal must carry.
namespace DamagedParadox {

// Where a table's header keeps what the damages change.
constexpr qint64 RecordSize = 0x00;
constexpr qint64 HeaderSize = 0x02;
constexpr qint64 FileType = 0x04;
constexpr qint64 NumRecords = 0x06;
constexpr qint64 UsedBlocks = 0x0A;
constexpr qint64 FileBlocks = 0x0C;
constexpr qint64 FirstBlock = 0x0E;
constexpr qint64 NumFields = 0x21;
constexpr qint64 FieldDescriptions = 0x78; // type and length of each field, Paradox 7

void putByte(const QString& path, qint64 offset, quint8 value);
void putLe16(const QString& path, qint64 offset, quint16 value);
void putLe32(const QString& path, qint64 offset, quint32 value);
void fill(const QString& path, qint64 offset, qint64 length, char byte);
void truncate(const QString& path, qint64 size);
int le16(const QString& path, qint64 offset);

// Where data block `block` (numbered from 1) of the table starts.
qint64 blockStart(const QString& path, int block);

struct Damage {
    const char* name;
    std::function<void(const QString& path)> apply;
    QString inMessage; // a phrase of the refusal
};

// Damages of every kind for a table of three fields (alpha 8 "Nome", long "Numero", short
// "Quantos") holding 400 rows, as ParadoxTable writes it unprotected: 14-byte records in 2 KB
// blocks of 145 records, so three blocks.
QList<Damage> damagesOfThreeBlockTable();

// The one damage every reader must survive: a record count near 2^31 in a small file.
void forgeHugeRecordCount(const QString& path);

} // namespace DamagedParadox
