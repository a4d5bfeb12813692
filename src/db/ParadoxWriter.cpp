#include "ParadoxWriter.h"

#include "Cp1252.h"
#include "DbError.h"
#include "ParadoxRecord.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QtEndian>
#include <cstdio>
#include <cstring>
#include <memory>

extern "C" {
#include <paradox.h>
}

namespace {

// Data blocks of 32 KB (the largest size Paradox 7 knows), so a table of large records still
// holds millions of rows within the 65535 blocks its header can count.
constexpr int BlockSizeUnits = 32; // in KB
constexpr int BlockSize = BlockSizeUnits * 1024;
constexpr int BlockHeaderSize = 6; // next block, previous block, offset of the last record
constexpr int MaxBlocks = 65535;
constexpr int MaxFieldNameLength = 25;

// Where the header keeps what the data blocks change.
constexpr int OffsetMaxTableSize = 0x05; // block size in KB
constexpr int OffsetNumRecords = 0x06;   // 32 bits
constexpr int OffsetNextBlock = 0x0A;    // blocks in use
constexpr int OffsetFileBlocks = 0x0C;
constexpr int OffsetFirstBlock = 0x0E;
constexpr int OffsetLastBlock = 0x10;
constexpr int OffsetMaxBlocks = 0x3A;

void ignoreErrors(pxdoc_t*, int, const char*, void*) {}

void putLe16(QByteArray& bytes, int offset, quint16 value) {
    qToLittleEndian(value, bytes.data() + offset);
}

void putLe32(QByteArray& bytes, int offset, quint32 value) {
    qToLittleEndian(value, bytes.data() + offset);
}

} // namespace

ParadoxWriter::ParadoxWriter(const QString& path, const QList<ParadoxField>& fields)
    : path_(path), fields_(fields) {
    if (QFileInfo::exists(path))
        fail(QStringLiteral("o arquivo já existe."));
    if (fields.isEmpty())
        fail(QStringLiteral("nenhum campo definido."));
    for (ParadoxField& field : fields_) {
        if (field.name.isEmpty() || field.name.size() > MaxFieldNameLength)
            fail(QStringLiteral("nome de campo inválido \"%1\".").arg(field.name));
        switch (field.type) {
        case ParadoxField::Alpha:
            if (field.length < 1 || field.length > 255)
                fail(QStringLiteral("o campo %1 tem tamanho %2; o tamanho de um campo alfa vai de 1 a 255.")
                         .arg(field.name)
                         .arg(field.length));
            break;
        case ParadoxField::Short:
        case ParadoxField::Long:
        case ParadoxField::Logical:
        case ParadoxField::Timestamp:
            field.length = ParadoxField::sizeOf(field.type);
            break;
        default:
            fail(QStringLiteral("o campo %1 é de um tipo que esta gravação não escreve.").arg(field.name));
        }
        recordSize_ += field.length;
    }
    recordsPerBlock_ = (BlockSize - BlockHeaderSize) / recordSize_;

    // The header of the empty table, as pxlib lays it out, into a scratch file.
    std::unique_ptr<FILE, int (*)(FILE*)> scratch(std::tmpfile(), &std::fclose);
    pxdoc_t* headerDoc = PX_new2(ignoreErrors, nullptr, nullptr, nullptr);
    auto* pxFields =
        static_cast<pxfield_t*>(headerDoc->malloc(headerDoc, sizeof(pxfield_t) * fields_.size(), "fields"));
    for (int i = 0; i < fields_.size(); ++i) {
        static const QHash<int, char> types{{ParadoxField::Alpha, pxfAlpha},
                                            {ParadoxField::Short, pxfShort},
                                            {ParadoxField::Long, pxfLong},
                                            {ParadoxField::Logical, pxfLogical},
                                            {ParadoxField::Timestamp, pxfTimestamp}};
        pxFields[i].px_fname = PX_strdup(headerDoc, Cp1252::encodeLossy(fields_[i].name).constData());
        pxFields[i].px_ftype = types.value(fields_[i].type);
        pxFields[i].px_flen = fields_[i].length;
        pxFields[i].px_fdc = 0;
    }
    int headerSize = 0;
    if (scratch &&
        PX_create_fp(headerDoc, pxFields, int(fields_.size()), scratch.get(), pxfFileTypNonIndexDB) >= 0) {
        headerSize = headerDoc->px_head->px_headersize;
        PX_close(headerDoc);
    }
    PX_delete(headerDoc);
    if (headerSize <= 0)
        fail(QStringLiteral("não foi possível montar o cabeçalho."));
    header_.resize(headerSize);
    std::rewind(scratch.get());
    if (std::fread(header_.data(), 1, size_t(headerSize), scratch.get()) != size_t(headerSize))
        fail(QStringLiteral("não foi possível montar o cabeçalho."));
    header_[OffsetMaxTableSize] = char(BlockSizeUnits);

    file_.setFileName(path_);
    if (!file_.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        fail(QStringLiteral("não foi possível criar o arquivo (%1).").arg(file_.errorString()));
    if (file_.write(header_) != header_.size()) {
        const QString why = file_.errorString();
        file_.close();
        QFile::remove(path_);
        fail(QStringLiteral("não foi possível gravar o arquivo (%1).").arg(why));
    }
    block_ = QByteArray(BlockSize, '\0');
    doc_ = PX_new2(ignoreErrors, nullptr, nullptr, nullptr);
}

ParadoxWriter::~ParadoxWriter() {
    if (!finished_)
        discard();
    if (doc_)
        PX_delete(doc_);
}

void ParadoxWriter::append(const ParadoxRow& row) {
    if (finished_ || !file_.isOpen())
        fail(QStringLiteral("a tabela está fechada."));
    const QByteArray record =
        encodeParadoxRecord(doc_, recordSize_, fields_, row, [this](const QString& what) { fail(what); });
    if (inBlock_ == recordsPerBlock_)
        flushBlock();
    std::memcpy(block_.data() + BlockHeaderSize + inBlock_ * recordSize_, record.constData(),
                size_t(recordSize_));
    ++inBlock_;
    ++rows_;
}

// Writes the current block, linked to its neighbours (block numbers start at 1; 0 is none).
void ParadoxWriter::flushBlock() {
    if (inBlock_ == 0)
        return;
    if (blocks_ == MaxBlocks)
        fail(QStringLiteral("a tabela excede %1 blocos.").arg(MaxBlocks));
    ++blocks_;
    putLe16(block_, 0, 0); // next: set when the following block is written
    putLe16(block_, 2, quint16(blocks_ - 1));
    putLe16(block_, 4, quint16((inBlock_ - 1) * recordSize_));
    if (blocks_ > 1) {
        // The previous block now has a successor.
        QByteArray next(2, '\0');
        putLe16(next, 0, quint16(blocks_));
        const qint64 previous = header_.size() + qint64(blocks_ - 2) * BlockSize;
        if (!file_.seek(previous) || file_.write(next) != 2 || !file_.seek(previous + BlockSize))
            fail(QStringLiteral("não foi possível gravar o arquivo (%1).").arg(file_.errorString()));
    }
    if (file_.write(block_) != block_.size())
        fail(QStringLiteral("não foi possível gravar o arquivo (%1).").arg(file_.errorString()));
    block_.fill('\0');
    inBlock_ = 0;
}

void ParadoxWriter::finish() {
    if (finished_ || !file_.isOpen())
        fail(QStringLiteral("a tabela está fechada."));
    flushBlock();
    putLe32(header_, OffsetNumRecords, quint32(rows_));
    putLe16(header_, OffsetNextBlock, quint16(blocks_));
    putLe16(header_, OffsetFileBlocks, quint16(blocks_));
    putLe16(header_, OffsetFirstBlock, quint16(blocks_ > 0 ? 1 : 0));
    putLe16(header_, OffsetLastBlock, quint16(blocks_));
    putLe16(header_, OffsetMaxBlocks, quint16(blocks_));
    if (!file_.seek(0) || file_.write(header_) != header_.size() || !file_.flush())
        fail(QStringLiteral("não foi possível gravar o arquivo (%1).").arg(file_.errorString()));
    file_.close();
    if (file_.error() != QFileDevice::NoError)
        fail(QStringLiteral("não foi possível gravar o arquivo (%1).").arg(file_.errorString()));
    finished_ = true;
}

void ParadoxWriter::discard() {
    close();
    if (!finished_)
        QFile::remove(path_);
}

void ParadoxWriter::close() {
    if (file_.isOpen())
        file_.close();
}

void ParadoxWriter::fail(const QString& what) const {
    throw DbError(QStringLiteral("Tabela Paradox %1: %2").arg(QDir::toNativeSeparators(path_), what));
}
