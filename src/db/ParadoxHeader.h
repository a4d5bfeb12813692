#pragma once

#include "ParadoxTable.h"

#include <QList>
#include <QString>

struct px_doc;

// The layout a table file's header declares, read from the file's own bytes and checked against
// the file before pxlib sees it. pxlib takes every header value as given: a record size smaller
// than its fields, a record count of two thousand million in a small file, a header or a block
// past the end, a field type it cannot read. Tables come from outside (FTP, removable media), so
// each is checked here first; a problem is told in words, for the caller's message naming the file.
class ParadoxHeader {
public:
    // Reads the header of the file at path and checks it against the file's length: the problem
    // (a phrase such as "os campos somam 20 bytes e o registro tem 14"), or empty when it is sound.
    QString read(const QString& path);

    // Walks the chain of data blocks of the table whose header read() accepted, and checks that
    // every block lies in the file, none comes twice, each holds what fits in it, and together
    // they hold the records the header counts. pxlib's own open walks that chain without a bound
    // (a chain that loops keeps it reading for ever), so this runs before it; the blocks are read
    // through pxlib all the same, since it decrypts a protected table's blocks. The problem, or
    // empty.
    QString checkBlocks(const QString& path) const;

    const QList<ParadoxField>& fields() const { return fields_; }
    int recordSize() const { return recordSize_; }
    qint64 recordCount() const { return recordCount_; }

private:
    QString walkBlocks(px_doc* doc) const;

    QList<ParadoxField> fields_;
    int recordSize_ = 0;
    int headerSize_ = 0;
    int blockSize_ = 0;
    int recordsPerBlock_ = 0;
    int fileBlocks_ = 0;
    int firstBlock_ = 0;
    qint64 recordCount_ = 0;
};
