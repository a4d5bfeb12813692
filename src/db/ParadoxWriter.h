#pragma once

#include "ParadoxTable.h"

#include <QFile>
#include <QList>
#include <QString>

struct px_doc;

// Writes a new Paradox 7 table (".DB", code page 1252, no index, no blobs) front to back: the
// header once, then full data blocks in sequence, the header's counts patched at the end. Rows go
// to disk as they come, so a table of any size takes the memory of one block. Types: alpha, short,
// long, logical and timestamp; values as ParadoxTable takes them (an empty text is NULL, a value
// longer than its column or the lowest short/long is refused). Every failure is a DbError naming
// the file; a table that was not finished is removed.
class ParadoxWriter {
public:
    // Creates the file; an existing file is an error.
    ParadoxWriter(const QString& path, const QList<ParadoxField>& fields);
    ~ParadoxWriter(); // removes the file unless finish() succeeded
    ParadoxWriter(const ParadoxWriter&) = delete;
    ParadoxWriter& operator=(const ParadoxWriter&) = delete;

    const QString& path() const { return path_; }
    const QList<ParadoxField>& fields() const { return fields_; }
    qint64 rowCount() const { return rows_; }

    void append(const ParadoxRow& row);
    // Writes the last block and the header; the table is then complete.
    void finish();
    // Abandons the table and removes the file.
    void discard();

private:
    void flushBlock();
    void close();
    [[noreturn]] void fail(const QString& what) const;

    QString path_;
    QList<ParadoxField> fields_;
    px_doc* doc_ = nullptr; // encodes values; never opens a file
    QFile file_;
    QByteArray header_;
    QByteArray block_;
    int recordSize_ = 0;
    int recordsPerBlock_ = 0;
    int inBlock_ = 0;
    int blocks_ = 0;
    qint64 rows_ = 0;
    bool finished_ = false;
};
