#include "ParadoxHeader.h"

#include "Cp1252.h"
#include "ParadoxRecord.h"

#include <QFile>
#include <QtEndian>
#include <cstdio>
#include <vector>

extern "C" {
#include <paradox.h>
}

namespace {

// The header's fixed part, as every version lays it out.
constexpr int CommonHeaderSize = 0x58;
constexpr int OffsetRecordSize = 0x00;
constexpr int OffsetHeaderSize = 0x02;
constexpr int OffsetFileType = 0x04;
constexpr int OffsetBlockSizeKb = 0x05;
constexpr int OffsetNumRecords = 0x06;
constexpr int OffsetUsedBlocks = 0x0A;
constexpr int OffsetFileBlocks = 0x0C;
constexpr int OffsetFirstBlock = 0x0E;
constexpr int OffsetLastBlock = 0x10;
constexpr int OffsetNumFields = 0x21;
constexpr int OffsetFileVersion = 0x39;
// From Paradox 4 (version 5) on, tables carry 32 more bytes before the field descriptions.
constexpr int DataHeaderSize = 0x20;

constexpr int FileTypeKeyedTable = 0;
constexpr int FileTypeTable = 2;
// Versions 3 (Paradox 3.0) to 12 (Paradox 7); 12 has the longer table name (261 bytes, not 79).
constexpr int FirstVersion = 3;
constexpr int FirstVersionWithDataHeader = 5;
constexpr int LastVersion = 12;
constexpr int MaxFields = 255;
constexpr int MaxAlphaLength = 255;
constexpr int BlockHeaderSize = 6; // next block, previous block, offset of the last record

int le16(const char* at) {
    return qFromLittleEndian<quint16>(at);
}

int byteAt(const QByteArray& bytes, int at) {
    return quint8(bytes[at]);
}

void ignoreErrors(pxdoc_t*, int, const char*, void*) {}

// The file as pxlib reads it for the block check: the same bytes, but a header that counts no
// records and no blocks, so pxlib's open has no chain to walk. The blocks are then read through
// pxlib one by one, within the bounds the check sets.
constexpr int FirstCountByte = OffsetNumRecords;
constexpr int EndOfCountBytes = OffsetLastBlock + 2;

struct Probe {
    FILE* file;
};

ssize_t probeRead(void* cookie, char* buffer, size_t size) {
    FILE* file = static_cast<Probe*>(cookie)->file;
    const off_t at = ftello(file);
    const size_t read = std::fread(buffer, 1, size, file);
    if (read == 0 && std::ferror(file))
        return -1;
    for (off_t i = qMax<off_t>(at, FirstCountByte); i < qMin<off_t>(at + off_t(read), EndOfCountBytes); ++i)
        buffer[i - at] = 0;
    return ssize_t(read);
}

int probeSeek(void* cookie, off64_t* offset, int whence) {
    FILE* file = static_cast<Probe*>(cookie)->file;
    if (fseeko(file, *offset, whence) != 0)
        return -1;
    *offset = ftello(file);
    return 0;
}

int probeClose(void* cookie) {
    auto* probe = static_cast<Probe*>(cookie);
    const int result = std::fclose(probe->file);
    delete probe;
    return result;
}

} // namespace

QString ParadoxHeader::read(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("não foi possível ler o arquivo (%1)").arg(file.errorString());
    const qint64 fileSize = file.size();
    if (fileSize < CommonHeaderSize)
        return QStringLiteral("o arquivo tem %1 bytes, menos que o cabeçalho de uma tabela").arg(fileSize);
    const QByteArray common = file.read(CommonHeaderSize);
    if (common.size() != CommonHeaderSize)
        return QStringLiteral("não foi possível ler o cabeçalho (%1)").arg(file.errorString());

    const int fileType = byteAt(common, OffsetFileType);
    if (fileType != FileTypeTable && fileType != FileTypeKeyedTable)
        return QStringLiteral("o tipo de arquivo %1 não é o de uma tabela").arg(fileType);
    const int version = byteAt(common, OffsetFileVersion);
    if (version < FirstVersion || version > LastVersion)
        return QStringLiteral("versão de arquivo desconhecida (%1)").arg(version);
    const int blockSizeKb = byteAt(common, OffsetBlockSizeKb);
    if (blockSizeKb < 1 || blockSizeKb > 32)
        return QStringLiteral("tamanho de bloco desconhecido (%1 KB)").arg(blockSizeKb);
    blockSize_ = blockSizeKb * 1024;

    headerSize_ = le16(common.constData() + OffsetHeaderSize);
    if (headerSize_ > fileSize)
        return QStringLiteral("o cabeçalho indica %1 bytes de cabeçalho e o arquivo tem %2")
            .arg(headerSize_)
            .arg(fileSize);
    const int numFields = le16(common.constData() + OffsetNumFields);
    if (numFields < 1 || numFields > MaxFields)
        return QStringLiteral("número de campos inválido (%1)").arg(numFields);

    // The descriptions (type and length of each field), a pointer to the table name, one pointer
    // per field name, the table name in a fixed space, then the field names, each ending in a zero.
    const int descriptions =
        version >= FirstVersionWithDataHeader ? CommonHeaderSize + DataHeaderSize : CommonHeaderSize;
    const int tableName = descriptions + 2 * numFields + 4 + 4 * numFields;
    const int tableNameLength = version == LastVersion ? 261 : 79;
    if (headerSize_ < tableName + tableNameLength)
        return QStringLiteral("o cabeçalho de %1 bytes não comporta a descrição de %2 campos")
            .arg(headerSize_)
            .arg(numFields);
    if (!file.seek(0))
        return QStringLiteral("não foi possível ler o cabeçalho (%1)").arg(file.errorString());
    const QByteArray header = file.read(headerSize_);
    if (header.size() != headerSize_)
        return QStringLiteral("não foi possível ler o cabeçalho (%1)").arg(file.errorString());
    if (qstrnlen(header.constData() + tableName, uint(tableNameLength)) == uint(tableNameLength))
        return QStringLiteral("o nome da tabela não termina no espaço que o cabeçalho lhe reserva");

    fields_.clear();
    int name = tableName + tableNameLength;
    for (int i = 0; i < numFields; ++i) {
        const int length = int(qstrnlen(header.constData() + name, uint(headerSize_ - name)));
        if (name + length >= headerSize_)
            return QStringLiteral("os nomes dos campos ultrapassam o cabeçalho");
        fields_.append({Cp1252::decode(header.mid(name, length)), ParadoxField::Alpha, 0});
        name += length + 1;
    }

    int fieldsSize = 0;
    for (int i = 0; i < numFields; ++i) {
        ParadoxField& field = fields_[i];
        const int pxType = byteAt(header, descriptions + 2 * i);
        const std::optional<ParadoxField::Type> type = paradoxFieldTypeOf(pxType);
        if (!type)
            return QStringLiteral("o campo %1 é de um tipo não suportado (%2)").arg(field.name).arg(pxType);
        field.type = *type;
        field.length = byteAt(header, descriptions + 2 * i + 1);
        if (field.type == ParadoxField::Alpha) {
            if (field.length < 1 || field.length > MaxAlphaLength)
                return QStringLiteral("o campo %1 tem tamanho %2; o tamanho de um campo alfa vai de 1 a 255")
                    .arg(field.name)
                    .arg(field.length);
        } else if (field.length != ParadoxField::sizeOf(field.type)) {
            return QStringLiteral("o campo %1 tem tamanho %2 e um campo %3 tem %4 bytes")
                .arg(field.name)
                .arg(field.length)
                .arg(paradoxTypeName(field.type))
                .arg(ParadoxField::sizeOf(field.type));
        }
        fieldsSize += field.length;
    }
    recordSize_ = le16(common.constData() + OffsetRecordSize);
    if (fieldsSize != recordSize_)
        return QStringLiteral("os campos somam %1 bytes e o registro tem %2")
            .arg(fieldsSize)
            .arg(recordSize_);
    recordsPerBlock_ = (blockSize_ - BlockHeaderSize) / recordSize_;
    if (recordsPerBlock_ < 1)
        return QStringLiteral("registros de %1 bytes não cabem em blocos de %2 bytes")
            .arg(recordSize_)
            .arg(blockSize_);

    // Blocks are numbered from 1 and follow the header; all of them must lie in the file.
    fileBlocks_ = le16(common.constData() + OffsetFileBlocks);
    const int usedBlocks = le16(common.constData() + OffsetUsedBlocks);
    if (qint64(headerSize_) + qint64(fileBlocks_) * blockSize_ > fileSize)
        return QStringLiteral("o cabeçalho indica %1 blocos de %2 bytes e o arquivo tem %3 bytes")
            .arg(fileBlocks_)
            .arg(blockSize_)
            .arg(fileSize);
    if (usedBlocks > fileBlocks_)
        return QStringLiteral("o cabeçalho indica %1 blocos em uso e o arquivo tem %2")
            .arg(usedBlocks)
            .arg(fileBlocks_);
    firstBlock_ = le16(common.constData() + OffsetFirstBlock);
    if (firstBlock_ > fileBlocks_)
        return QStringLiteral("o primeiro bloco de dados (%1) está fora dos %2 blocos do arquivo")
            .arg(firstBlock_)
            .arg(fileBlocks_);
    const int lastBlock = le16(common.constData() + OffsetLastBlock);
    if (lastBlock > fileBlocks_)
        return QStringLiteral("o último bloco de dados (%1) está fora dos %2 blocos do arquivo")
            .arg(lastBlock)
            .arg(fileBlocks_);

    // The count decides how many records are read, so it must fit in the blocks in use; a count
    // far beyond them would make a reader reserve memory for records that are not there.
    recordCount_ = qFromLittleEndian<quint32>(common.constData() + OffsetNumRecords);
    const qint64 capacity = qint64(usedBlocks) * recordsPerBlock_;
    if (recordCount_ > capacity)
        return QStringLiteral(
                   "o cabeçalho indica %1 registros, e nos blocos de dados em uso cabem no máximo %2")
            .arg(recordCount_)
            .arg(capacity);
    if (recordCount_ > 0 && firstBlock_ == 0)
        return QStringLiteral("o cabeçalho indica %1 registros e nenhum bloco de dados").arg(recordCount_);
    return {};
}

QString ParadoxHeader::checkBlocks(const QString& path) const {
    FILE* real = std::fopen(QFile::encodeName(path).constData(), "rb");
    if (!real)
        return QStringLiteral("não foi possível ler o arquivo");
    auto* probe = new Probe{real};
    FILE* stream = fopencookie(probe, "rb", {probeRead, nullptr, probeSeek, probeClose});
    if (!stream) {
        probeClose(probe);
        return QStringLiteral("não foi possível ler o arquivo");
    }
    pxdoc_t* doc = PX_new2(ignoreErrors, nullptr, nullptr, nullptr);
    QString problem;
    if (PX_open_fp(doc, stream) < 0 || !doc->px_stream || !doc->read || !doc->seek)
        problem = QStringLiteral("pxlib não reconhece o cabeçalho");
    else
        problem = walkBlocks(doc);
    PX_close(doc); // leaves the stream open: it was handed over open
    PX_delete(doc);
    std::fclose(stream);
    return problem;
}

QString ParadoxHeader::walkBlocks(px_doc* doc) const {
    std::vector<bool> visited(size_t(fileBlocks_) + 1, false);
    qint64 records = 0;
    for (int block = firstBlock_; block != 0;) {
        if (block > fileBlocks_)
            return QStringLiteral(
                       "a sequência de blocos de dados chega ao bloco %1 e o arquivo tem %2 blocos")
                .arg(block)
                .arg(fileBlocks_);
        if (visited[size_t(block)])
            return QStringLiteral("a sequência de blocos de dados passa duas vezes pelo bloco %1").arg(block);
        visited[size_t(block)] = true;

        char head[BlockHeaderSize];
        const long at = long(headerSize_) + long(block - 1) * blockSize_;
        if (doc->seek(doc, doc->px_stream, at, SEEK_SET) < 0 ||
            doc->read(doc, doc->px_stream, sizeof head, head) != sizeof head)
            return QStringLiteral("não foi possível ler o bloco de dados %1").arg(block);
        const int next = le16(head);
        // The offset of the last record: a multiple of the record size within the block, or minus
        // one record for an empty block.
        const int last = qint16(le16(head + 4));
        int inBlock = 0;
        if (last != -recordSize_) {
            if (last < 0 || last % recordSize_ != 0 || last / recordSize_ >= recordsPerBlock_)
                return QStringLiteral("o bloco de dados %1 indica um tamanho inválido (%2 bytes)")
                    .arg(block)
                    .arg(last);
            inBlock = last / recordSize_ + 1;
        }
        // pxlib reads that offset without its sign, as thousands of records, so an empty block
        // before the last record would shift every record after it.
        if (inBlock == 0 && records < recordCount_)
            return QStringLiteral("o bloco de dados %1 está vazio antes do fim dos registros").arg(block);
        records += inBlock;
        block = next;
    }
    if (records != recordCount_)
        return QStringLiteral("o cabeçalho indica %1 registros e os blocos de dados contêm %2")
            .arg(recordCount_)
            .arg(records);
    return {};
}
