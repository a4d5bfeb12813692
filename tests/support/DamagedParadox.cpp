#include "DamagedParadox.h"

#include <QFile>
#include <QtEndian>
#include <gtest/gtest.h>

namespace DamagedParadox {

namespace {

void put(const QString& path, qint64 offset, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite)) << path.toStdString();
    ASSERT_TRUE(file.seek(offset));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

} // namespace

void putByte(const QString& path, qint64 offset, quint8 value) {
    put(path, offset, QByteArray(1, char(value)));
}

void putLe16(const QString& path, qint64 offset, quint16 value) {
    QByteArray bytes(2, '\0');
    qToLittleEndian(value, bytes.data());
    put(path, offset, bytes);
}

void putLe32(const QString& path, qint64 offset, quint32 value) {
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    put(path, offset, bytes);
}

void fill(const QString& path, qint64 offset, qint64 length, char byte) {
    put(path, offset, QByteArray(qsizetype(length), byte));
}

void truncate(const QString& path, qint64 size) {
    EXPECT_TRUE(QFile::resize(path, size)) << path.toStdString();
}

int le16(const QString& path, qint64 offset) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || !file.seek(offset))
        return -1;
    const QByteArray bytes = file.read(2);
    return bytes.size() == 2 ? qFromLittleEndian<quint16>(bytes.constData()) : -1;
}

qint64 blockStart(const QString& path, int block) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray header = file.read(6);
    if (header.size() != 6)
        return -1;
    const qint64 headerSize = qFromLittleEndian<quint16>(header.constData() + HeaderSize);
    const qint64 blockSize = qint64(quint8(header[5])) * 1024;
    return headerSize + (block - 1) * blockSize;
}

QList<Damage> damagesOfThreeBlockTable() {
    constexpr int Fields = 3;
    // After the descriptions: a pointer to the table name, one per field name, then the name.
    constexpr qint64 TableName = FieldDescriptions + 2 * Fields + 4 + 4 * Fields;
    constexpr qint64 FieldNames = TableName + 261;
    const auto nextOfBlock = [](int block, quint16 next) {
        return [=](const QString& path) { putLe16(path, blockStart(path, block), next); };
    };
    const auto lastOffsetOfBlock = [](int block, quint16 offset) {
        return [=](const QString& path) { putLe16(path, blockStart(path, block) + 4, offset); };
    };
    return {
        {"record size below the fields", [](const QString& p) { putLe16(p, RecordSize, 6); },
         QStringLiteral("os campos somam 14 bytes e o registro tem 6")},
        {"a field longer than the record",
         [](const QString& p) { putByte(p, FieldDescriptions + 1, 200); }, // "Nome": alpha 200
         QStringLiteral("os campos somam 206 bytes e o registro tem 14")},
        {"a fixed field of the wrong size",
         [](const QString& p) { putByte(p, FieldDescriptions + 3, 8); }, // "Numero": long of 8
         QStringLiteral("o campo Numero tem tamanho 8 e um campo long tem 4 bytes")},
        {"an alpha field of no length", [](const QString& p) { putByte(p, FieldDescriptions + 1, 0); },
         QStringLiteral("o campo Nome tem tamanho 0")},
        {"record count near 2^31", forgeHugeRecordCount,
         QStringLiteral(
             "o cabeçalho indica 2147483632 registros, e nos blocos de dados em uso cabem no máximo 435")},
        {"one record more than the blocks hold", [](const QString& p) { putLe32(p, NumRecords, 401); },
         QStringLiteral("o cabeçalho indica 401 registros e os blocos de dados contêm 400")},
        {"header size past the end", [](const QString& p) { putLe16(p, HeaderSize, 0xF000); },
         QStringLiteral("o cabeçalho indica 61440 bytes de cabeçalho e o arquivo tem 8192")},
        {"header too small for its fields", [](const QString& p) { putLe16(p, HeaderSize, 0x100); },
         QStringLiteral("o cabeçalho de 256 bytes não comporta a descrição de 3 campos")},
        {"block count past the end",
         [](const QString& p) {
             putLe16(p, FileBlocks, 500);
             putLe16(p, UsedBlocks, 500);
         },
         QStringLiteral("o cabeçalho indica 500 blocos de 2048 bytes e o arquivo tem 8192 bytes")},
        {"more blocks in use than in the file", [](const QString& p) { putLe16(p, UsedBlocks, 4); },
         QStringLiteral("o cabeçalho indica 4 blocos em uso e o arquivo tem 3")},
        {"first block past the end", [](const QString& p) { putLe16(p, FirstBlock, 7); },
         QStringLiteral("o primeiro bloco de dados (7) está fora dos 3 blocos do arquivo")},
        {"unknown field type", [](const QString& p) { putByte(p, FieldDescriptions + 2, 0x30); },
         QStringLiteral("o campo Numero é de um tipo não suportado (48)")},
        {"memo field", [](const QString& p) { putByte(p, FieldDescriptions, 0x0C); },
         QStringLiteral("o campo Nome é de um tipo não suportado (12)")},
        {"an index file, not a table", [](const QString& p) { putByte(p, FileType, 1); },
         QStringLiteral("o tipo de arquivo 1 não é o de uma tabela")},
        {"unknown version", [](const QString& p) { putByte(p, 0x39, 0x2A); },
         QStringLiteral("versão de arquivo desconhecida (42)")},
        {"no fields", [](const QString& p) { putLe16(p, NumFields, 0); },
         QStringLiteral("número de campos inválido (0)")},
        {"thousands of fields", [](const QString& p) { putLe16(p, NumFields, 0x4000); },
         QStringLiteral("número de campos inválido (16384)")},
        {"table name without its end", [=](const QString& p) { fill(p, TableName, 261, 'x'); },
         QStringLiteral("o nome da tabela não termina")},
        {"field names past the header",
         [=](const QString& p) { fill(p, FieldNames, 2048 - FieldNames, 'x'); },
         QStringLiteral("os nomes dos campos ultrapassam o cabeçalho")},
        {"cut inside the header", [](const QString& p) { truncate(p, 1000); },
         QStringLiteral("o cabeçalho indica 2048 bytes de cabeçalho e o arquivo tem 1000")},
        {"cut inside the last block", [](const QString& p) { truncate(p, 2048 + 2 * 2048 + 100); },
         QStringLiteral("o cabeçalho indica 3 blocos de 2048 bytes e o arquivo tem 6244 bytes")},
        {"cut to a few bytes", [](const QString& p) { truncate(p, 40); },
         QStringLiteral("o arquivo tem 40 bytes, menos que o cabeçalho de uma tabela")},
        {"block chain leaving the file", nextOfBlock(2, 9),
         QStringLiteral("a sequência de blocos de dados chega ao bloco 9 e o arquivo tem 3 blocos")},
        {"block chain in a loop", nextOfBlock(2, 1),
         QStringLiteral("a sequência de blocos de dados passa duas vezes pelo bloco 1")},
        {"a block holding more than fits", lastOffsetOfBlock(1, 0x7FF0),
         QStringLiteral("o bloco de dados 1 indica um tamanho inválido (32752 bytes)")},
        {"a block offset between records", lastOffsetOfBlock(1, 15),
         QStringLiteral("o bloco de dados 1 indica um tamanho inválido (15 bytes)")},
        {"an empty block before the last record", lastOffsetOfBlock(1, quint16(-14)),
         QStringLiteral("o bloco de dados 1 está vazio antes do fim dos registros")},
    };
}

void forgeHugeRecordCount(const QString& path) {
    putLe32(path, NumRecords, 0x7FFFFFF0);
}

} // namespace DamagedParadox
