#include "ParadoxTable.h"

#include "Cp1252.h"
#include "DbError.h"
#include "ParadoxHeader.h"
#include "ParadoxRecord.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

extern "C" {
#include <paradox.h>
}

namespace {

constexpr double MsPerDay = 86400000.0;
// Julian day of 31/12/0000: Paradox counts 01/01/0001 as day 1.
constexpr qint64 JulianDayBeforeDayOne = 1721425;
// Paradox limits a field name to 25 characters.
constexpr int MaxFieldNameLength = 25;

struct TypeInfo {
    ParadoxField::Type type;
    char pxType;
    int size;
};

constexpr TypeInfo Types[] = {
    {ParadoxField::Alpha, pxfAlpha, 0},         {ParadoxField::Short, pxfShort, 2},
    {ParadoxField::Long, pxfLong, 4},           {ParadoxField::Logical, pxfLogical, 1},
    {ParadoxField::Timestamp, pxfTimestamp, 8}, {ParadoxField::Date, pxfDate, 4},
    {ParadoxField::Time, pxfTime, 4},           {ParadoxField::Number, pxfNumber, 8},
    {ParadoxField::Currency, pxfCurrency, 8},   {ParadoxField::AutoInc, pxfAutoInc, 4},
};

const TypeInfo* infoOf(ParadoxField::Type type) {
    for (const TypeInfo& info : Types)
        if (info.type == type)
            return &info;
    return nullptr;
}

void collectError(pxdoc_t*, int level, const char* message, void* data) {
    if (data && message && level != PX_Warning)
        *static_cast<QString*>(data) = QString::fromLocal8Bit(message).trimmed();
}

// pxlib decodes a NULL long or date as -2147483648 and still reports success, so NULL is
// recognised by its bytes: Paradox stores every NULL as all zeros.
bool isNullField(const char* data, int size) {
    for (int i = 0; i < size; ++i)
        if (data[i] != 0)
            return false;
    return true;
}

QVariant nullOf(ParadoxField::Type type) {
    switch (type) {
    case ParadoxField::Alpha:
        return QVariant(QMetaType(QMetaType::QString));
    case ParadoxField::Logical:
        return QVariant(QMetaType(QMetaType::Bool));
    case ParadoxField::Timestamp:
        return QVariant(QMetaType(QMetaType::QDateTime));
    case ParadoxField::Date:
        return QVariant(QMetaType(QMetaType::QDate));
    case ParadoxField::Time:
        return QVariant(QMetaType(QMetaType::QTime));
    case ParadoxField::Number:
    case ParadoxField::Currency:
        return QVariant(QMetaType(QMetaType::Double));
    case ParadoxField::Short:
    case ParadoxField::Long:
    case ParadoxField::AutoInc:
        break;
    }
    return QVariant(QMetaType(QMetaType::Int));
}

// The date and time of a timestamp value: a QDateTime, a QDate (midnight) or the database's
// ISO text ("yyyy-MM-ddTHH:mm:ss.zzz", also with a blank or without the time). Local date-times
// that fall into a daylight-saving gap are invalid as QDateTime but keep their date and time,
// which is all Paradox stores.
bool splitDateTime(const QVariant& value, QDate& date, QTime& time) {
    switch (value.metaType().id()) {
    case QMetaType::QDateTime: {
        const QDateTime dt = value.toDateTime();
        date = dt.date();
        time = dt.time();
        break;
    }
    case QMetaType::QDate:
        date = value.toDate();
        time = QTime(0, 0);
        break;
    case QMetaType::QString: {
        const QString text = value.toString().trimmed();
        date = QDate::fromString(text.left(10), Qt::ISODate);
        if (text.size() == 10) {
            time = QTime(0, 0);
        } else if (text.size() > 11 && (text[10] == QLatin1Char('T') || text[10] == QLatin1Char(' '))) {
            time = QTime::fromString(text.mid(11), Qt::ISODateWithMs);
        } else {
            return false;
        }
        break;
    }
    default:
        return false;
    }
    return date.isValid() && time.isValid() && date >= QDate(1, 1, 1);
}

} // namespace

int ParadoxField::sizeOf(Type type) {
    const TypeInfo* info = infoOf(type);
    return info ? info->size : 0;
}

std::optional<ParadoxField::Type> paradoxFieldTypeOf(int pxType) {
    for (const TypeInfo& info : Types)
        if (info.pxType == pxType)
            return info.type;
    return std::nullopt;
}

QString paradoxTypeName(ParadoxField::Type type) {
    static const char* const names[] = {"alfa", "short", "long",   "lógico", "timestamp",
                                        "data", "hora",  "número", "moeda",  "autoincremento"};
    return QString::fromUtf8(names[type]);
}

double ParadoxTable::timestampOf(const QDate& date, const QTime& time) {
    return double(date.toJulianDay() - JulianDayBeforeDayOne) * MsPerDay + time.msecsSinceStartOfDay();
}

QDateTime ParadoxTable::dateTimeOfTimestamp(double timestamp) {
    const qint64 ms = std::llround(timestamp);
    const qint64 days = ms / qint64(MsPerDay);
    const int msOfDay = int(ms % qint64(MsPerDay));
    return QDateTime(QDate::fromJulianDay(days + JulianDayBeforeDayOne),
                     QTime::fromMSecsSinceStartOfDay(msOfDay));
}

ParadoxTable::ParadoxTable(px_doc* doc, QString path)
    : doc_(doc), path_(std::move(path)), lastError_(std::make_unique<QString>()) {
    doc_->errorhandler_user_data = lastError_.get();
}

ParadoxTable::ParadoxTable(ParadoxTable&& other) noexcept
    : doc_(std::exchange(other.doc_, nullptr)), path_(std::move(other.path_)),
      fields_(std::move(other.fields_)), lastError_(std::move(other.lastError_)) {}

ParadoxTable& ParadoxTable::operator=(ParadoxTable&& other) noexcept {
    if (this != &other) {
        close();
        doc_ = std::exchange(other.doc_, nullptr);
        path_ = std::move(other.path_);
        fields_ = std::move(other.fields_);
        lastError_ = std::move(other.lastError_);
    }
    return *this;
}

ParadoxTable::~ParadoxTable() {
    close();
}

void ParadoxTable::close() {
    if (!doc_)
        return;
    PX_close(doc_);
    PX_delete(doc_);
    doc_ = nullptr;
}

void ParadoxTable::fail(const QString& what) const {
    QString message = QStringLiteral("Tabela Paradox %1: %2").arg(QDir::toNativeSeparators(path_), what);
    if (lastError_ && !lastError_->isEmpty())
        message += QStringLiteral(" (%1)").arg(*lastError_);
    throw DbError(message);
}

ParadoxTable ParadoxTable::create(const QString& path, const QList<ParadoxField>& fields,
                                  const QString& password) {
    ParadoxTable table(PX_new2(collectError, nullptr, nullptr, nullptr), path);
    if (QFileInfo::exists(path))
        table.fail(QStringLiteral("o arquivo já existe."));
    if (fields.isEmpty())
        table.fail(QStringLiteral("nenhum campo definido."));

    QSet<QString> names;
    QList<ParadoxField> normalised;
    for (ParadoxField field : fields) {
        if (field.name.isEmpty() || field.name.size() > MaxFieldNameLength)
            table.fail(QStringLiteral("nome de campo inválido \"%1\".").arg(field.name));
        if (names.contains(field.name.toUpper()))
            table.fail(QStringLiteral("campo %1 repetido.").arg(field.name));
        names.insert(field.name.toUpper());
        if (field.type == ParadoxField::Alpha) {
            if (field.length < 1 || field.length > 255)
                table.fail(
                    QStringLiteral("o campo %1 tem tamanho %2; o tamanho de um campo alfa vai de 1 a 255.")
                        .arg(field.name)
                        .arg(field.length));
        } else {
            field.length = ParadoxField::sizeOf(field.type);
        }
        normalised.append(field);
    }

    pxdoc_t* doc = table.doc_;
    // pxlib takes ownership of the definitions and frees them with its own allocator.
    auto* pxFields =
        static_cast<pxfield_t*>(doc->malloc(doc, sizeof(pxfield_t) * normalised.size(), "fields"));
    for (int i = 0; i < normalised.size(); ++i) {
        pxFields[i].px_fname = PX_strdup(doc, Cp1252::encodeLossy(normalised[i].name).constData());
        pxFields[i].px_ftype = infoOf(normalised[i].type)->pxType;
        pxFields[i].px_flen = normalised[i].length;
        pxFields[i].px_fdc = 0;
    }
    if (PX_create_file(doc, pxFields, int(normalised.size()), QFile::encodeName(path).constData(),
                       pxfFileTypNonIndexDB) < 0) {
        // pxlib takes the definitions over only once it has begun the header: a file it could not
        // even create (a missing directory) leaves them with the caller.
        if (!doc->px_head || doc->px_head->px_fields != pxFields) {
            for (int i = 0; i < normalised.size(); ++i)
                doc->free(doc, pxFields[i].px_fname);
            doc->free(doc, pxFields);
        }
        QFile::remove(path);
        table.fail(QStringLiteral("não foi possível criar o arquivo."));
    }
    table.fields_ = normalised;
    if (!password.isEmpty() &&
        PX_set_parameter(doc, "password", Cp1252::encodeLossy(password).constData()) < 0) {
        table.close();
        QFile::remove(path);
        table.fail(QStringLiteral("não foi possível aplicar a senha."));
    }
    return table;
}

ParadoxTable ParadoxTable::open(const QString& path) {
    ParadoxTable table(PX_new2(collectError, nullptr, nullptr, nullptr), path);
    if (!QFileInfo(path).isFile())
        table.fail(QStringLiteral("arquivo não encontrado."));
    const auto refuse = [&table](const QString& problem) {
        table.fail(QStringLiteral("o arquivo não é uma tabela Paradox válida: %1.").arg(problem));
    };
    // pxlib believes whatever the header says, so the header and the chain of blocks are checked
    // before pxlib opens the table.
    ParadoxHeader header;
    if (const QString problem = header.read(path); !problem.isEmpty())
        refuse(problem);
    if (const QString problem = header.checkBlocks(path); !problem.isEmpty())
        refuse(problem);
    // pxlib opens the file for reading and writing, so rows can be appended afterwards.
    if (PX_open_file(table.doc_, QFile::encodeName(path).constData()) < 0)
        table.fail(QStringLiteral("o arquivo não é uma tabela Paradox válida."));
    // The file was read twice; both readings must describe the same table.
    if (PX_get_recordsize(table.doc_) != header.recordSize() ||
        PX_get_num_fields(table.doc_) != header.fields().size() ||
        PX_get_num_records(table.doc_) != header.recordCount())
        refuse(QStringLiteral("o arquivo mudou durante a abertura"));
    table.fields_ = header.fields();
    return table;
}

QStringList ParadoxTable::fieldNames() const {
    QStringList names;
    for (const ParadoxField& field : fields_)
        names.append(field.name);
    return names;
}

int ParadoxTable::recordCount() const {
    return doc_ ? PX_get_num_records(doc_) : 0;
}

bool ParadoxTable::isEncrypted() const {
    return doc_ && doc_->px_head && doc_->px_head->px_encryption != 0;
}

QByteArray ParadoxTable::encodeRecord(const ParadoxRow& row) const {
    return encodeParadoxRecord(doc_, PX_get_recordsize(doc_), fields_, row,
                               [this](const QString& what) { fail(what); });
}

QByteArray encodeParadoxRecord(px_doc* doc, int recordSize, const QList<ParadoxField>& fields,
                               const ParadoxRow& row, const std::function<void(const QString&)>& fail) {
    if (row.size() != fields.size())
        fail(QStringLiteral("a linha tem %1 valores e a tabela tem %2 campos.")
                 .arg(row.size())
                 .arg(fields.size()));
    QByteArray record(recordSize, '\0');
    char* data = record.data();
    for (int i = 0; i < fields.size(); ++i) {
        const ParadoxField& field = fields[i];
        const QVariant& value = row[i];
        const auto refuse = [&](const QString& why) {
            fail(QStringLiteral("valor inválido para o campo %1 (%2): %3.")
                     .arg(field.name, paradoxTypeName(field.type), why));
        };
        if (value.isNull()) {
            data += field.length;
            continue; // all zeros
        }
        switch (field.type) {
        case ParadoxField::Alpha: {
            const QString text = value.toString();
            if (text.contains(QChar(0)))
                refuse(QStringLiteral("texto com caractere nulo"));
            QByteArray bytes = Cp1252::encodeLossy(text);
            // pxlib neither checks nor cuts: a longer value overruns the record.
            if (bytes.size() > field.length)
                fail(QStringLiteral("o valor do campo %1 tem %2 caracteres e o campo comporta %3.")
                         .arg(field.name)
                         .arg(bytes.size())
                         .arg(field.length));
            if (!bytes.isEmpty())
                PX_put_data_alpha(doc, data, field.length, bytes.data());
            break;
        }
        case ParadoxField::Short:
        case ParadoxField::Long:
        case ParadoxField::AutoInc: {
            bool ok = false;
            const qlonglong number = value.toLongLong(&ok);
            // The lowest value of each type is stored as all zeros, which is NULL.
            const qlonglong limit = field.type == ParadoxField::Short ? 32767 : 2147483647;
            if (!ok)
                refuse(QStringLiteral("\"%1\" não é um número inteiro").arg(value.toString()));
            if (number < -limit || number > limit)
                refuse(QStringLiteral("%1 fora do intervalo de %2 a %3").arg(number).arg(-limit).arg(limit));
            if (field.type == ParadoxField::Short)
                PX_put_data_short(doc, data, field.length, short(number));
            else
                PX_put_data_long(doc, data, field.length, int(number));
            break;
        }
        case ParadoxField::Logical: {
            bool truth = false;
            if (value.metaType().id() == QMetaType::QString) {
                const QString text = value.toString().trimmed().toLower();
                if (text == QLatin1String("1") || text == QLatin1String("-1") ||
                    text == QLatin1String("true"))
                    truth = true;
                else if (text != QLatin1String("0") && text != QLatin1String("false"))
                    refuse(QStringLiteral("\"%1\" não é um valor lógico").arg(value.toString()));
            } else {
                truth = value.toBool();
            }
            PX_put_data_byte(doc, data, field.length, truth ? 1 : 0);
            break;
        }
        case ParadoxField::Timestamp: {
            QDate date;
            QTime time;
            if (!splitDateTime(value, date, time))
                refuse(QStringLiteral("\"%1\" não é uma data e hora").arg(value.toString()));
            PX_put_data_double(doc, data, field.length, ParadoxTable::timestampOf(date, time));
            break;
        }
        case ParadoxField::Date: {
            QDate date;
            QTime time;
            if (!splitDateTime(value, date, time))
                refuse(QStringLiteral("\"%1\" não é uma data").arg(value.toString()));
            PX_put_data_long(doc, data, field.length, int(date.toJulianDay() - JulianDayBeforeDayOne));
            break;
        }
        case ParadoxField::Time: {
            const QTime time = value.metaType().id() == QMetaType::QString
                                   ? QTime::fromString(value.toString(), Qt::ISODateWithMs)
                                   : value.toTime();
            if (!time.isValid())
                refuse(QStringLiteral("\"%1\" não é uma hora").arg(value.toString()));
            // Midnight (0 ms) is stored with the sign bit set, so it is not mistaken for NULL.
            PX_put_data_long(doc, data, field.length, time.msecsSinceStartOfDay());
            break;
        }
        case ParadoxField::Number:
        case ParadoxField::Currency: {
            bool ok = false;
            const double number = value.toDouble(&ok);
            if (!ok || !std::isfinite(number))
                refuse(QStringLiteral("\"%1\" não é um número").arg(value.toString()));
            PX_put_data_double(doc, data, field.length, number);
            break;
        }
        }
        data += field.length;
    }
    return record;
}

void ParadoxTable::append(const QList<ParadoxRow>& rows) {
    if (!doc_)
        fail(QStringLiteral("a tabela está fechada."));
    QList<QByteArray> records;
    records.reserve(rows.size());
    for (const ParadoxRow& row : rows)
        records.append(encodeRecord(row));
    // Only PX_put_record is used: mixing it with PX_insert_record on one table crashes pxlib.
    for (QByteArray& record : records)
        if (PX_put_record(doc_, record.data()) < 0)
            fail(QStringLiteral("não foi possível gravar o registro."));
}

namespace {

// Bytes 0x80..0x9F of Windows-1252; the others are Latin-1.
constexpr char16_t Cp1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                     0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                     0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                     0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Appends the UTF-8 form of a Windows-1252 byte.
void appendUtf8(std::string& out, unsigned char byte) {
    const char16_t u = byte >= 0x80 && byte < 0xA0 ? Cp1252High[byte - 0x80] : char16_t(byte);
    if (u < 0x80) {
        out.push_back(char(u));
    } else if (u < 0x800) {
        out.push_back(char(0xC0 | (u >> 6)));
        out.push_back(char(0x80 | (u & 0x3F)));
    } else {
        out.push_back(char(0xE0 | (u >> 12)));
        out.push_back(char(0x80 | ((u >> 6) & 0x3F)));
        out.push_back(char(0x80 | (u & 0x3F)));
    }
}

// The database's text of a date and a time of day: "yyyy-MM-ddTHH:mm:ss.zzz"; false outside
// the years 1 to 9999.
bool formatDateTime(std::string& out, qint64 julianDay, qint64 msOfDay) {
    const QDate date = QDate::fromJulianDay(julianDay);
    if (!date.isValid() || date.year() < 1 || date.year() > 9999 || msOfDay < 0 || msOfDay >= 86400000)
        return false;
    char text[32];
    const int length = std::snprintf(
        text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03d", date.year(), date.month(), date.day(),
        int(msOfDay / 3600000), int(msOfDay / 60000 % 60), int(msOfDay / 1000 % 60), int(msOfDay % 1000));
    out.assign(text, size_t(length));
    return true;
}

} // namespace

// The buffer pxlib reads one record into; the fields are decoded from it one after the other, so
// together they must not be longer than the record.
QByteArray ParadoxTable::recordBuffer() const {
    const int recordSize = PX_get_recordsize(doc_);
    int fieldsSize = 0;
    for (const ParadoxField& field : fields_)
        fieldsSize += field.length;
    if (recordSize <= 0 || fieldsSize > recordSize)
        fail(QStringLiteral("os campos somam %1 bytes e o registro tem %2.").arg(fieldsSize).arg(recordSize));
    return QByteArray(recordSize, '\0');
}

void ParadoxTable::forEachRecord(const std::function<void(const FieldValue* values)>& visit) const {
    if (!doc_)
        fail(QStringLiteral("a tabela está fechada."));
    const int count = PX_get_num_records(doc_);
    QByteArray record = recordBuffer();
    std::vector<FieldValue> values(size_t(fields_.size()));
    std::vector<std::string> texts(size_t(fields_.size()));
    for (int i = 0; i < count; ++i) {
        if (!PX_get_record(doc_, i, record.data()))
            fail(QStringLiteral("não foi possível ler o registro %1.").arg(i + 1));
        char* data = record.data();
        for (int f = 0; f < fields_.size(); ++f) {
            const ParadoxField& field = fields_[f];
            FieldValue& value = values[size_t(f)];
            std::string& text = texts[size_t(f)];
            value = FieldValue{};
            const auto asText = [&] {
                value.kind = FieldValue::Text;
                value.text = text.data();
                value.length = int(text.size());
            };
            if (isNullField(data, field.length)) {
                data += field.length;
                continue;
            }
            switch (field.type) {
            case ParadoxField::Alpha: {
                text.clear();
                const int length = int(qstrnlen(data, field.length));
                for (int c = 0; c < length; ++c)
                    appendUtf8(text, static_cast<unsigned char>(data[c]));
                asText();
                break;
            }
            case ParadoxField::Short: {
                short number = 0;
                PX_get_data_short(doc_, data, field.length, &number);
                value.kind = FieldValue::Integer;
                value.integer = number;
                break;
            }
            case ParadoxField::Long:
            case ParadoxField::AutoInc: {
                long number = 0;
                PX_get_data_long(doc_, data, field.length, &number);
                value.kind = FieldValue::Integer;
                value.integer = int(number);
                break;
            }
            case ParadoxField::Logical: {
                char flag = 0;
                PX_get_data_byte(doc_, data, field.length, &flag);
                value.kind = FieldValue::Integer;
                value.integer = flag != 0 ? 1 : 0;
                break;
            }
            case ParadoxField::Timestamp: {
                double timestamp = 0;
                PX_get_data_double(doc_, data, field.length, &timestamp);
                const qint64 ms = std::llround(timestamp);
                if (formatDateTime(text, ms / qint64(MsPerDay) + JulianDayBeforeDayOne,
                                   ms % qint64(MsPerDay)))
                    asText();
                break;
            }
            case ParadoxField::Date: {
                long days = 0;
                PX_get_data_long(doc_, data, field.length, &days);
                if (formatDateTime(text, days + JulianDayBeforeDayOne, 0))
                    asText();
                break;
            }
            case ParadoxField::Time: {
                long ms = 0;
                PX_get_data_long(doc_, data, field.length, &ms);
                if (formatDateTime(text, JulianDayBeforeDayOne + 1, ms)) {
                    text.erase(0, 11); // the time of day alone: "HH:mm:ss.zzz"
                    asText();
                }
                break;
            }
            case ParadoxField::Number:
            case ParadoxField::Currency: {
                double number = 0;
                PX_get_data_double(doc_, data, field.length, &number);
                value.kind = FieldValue::Real;
                value.real = number;
                break;
            }
            }
            data += field.length;
        }
        visit(values.data());
    }
}

ParadoxRow ParadoxTable::decodeRecord(char* record) const {
    ParadoxRow row;
    row.reserve(fields_.size());
    char* data = record;
    for (const ParadoxField& field : fields_) {
        if (isNullField(data, field.length)) {
            row.append(nullOf(field.type));
            data += field.length;
            continue;
        }
        switch (field.type) {
        case ParadoxField::Alpha:
            row.append(Cp1252::decode(QByteArray(data, int(qstrnlen(data, field.length)))));
            break;
        case ParadoxField::Short: {
            short value = 0;
            PX_get_data_short(doc_, data, field.length, &value);
            row.append(int(value));
            break;
        }
        case ParadoxField::Long:
        case ParadoxField::AutoInc: {
            long value = 0;
            PX_get_data_long(doc_, data, field.length, &value);
            row.append(int(value));
            break;
        }
        case ParadoxField::Logical: {
            char value = 0;
            PX_get_data_byte(doc_, data, field.length, &value);
            row.append(value != 0);
            break;
        }
        case ParadoxField::Timestamp: {
            double value = 0;
            PX_get_data_double(doc_, data, field.length, &value);
            row.append(dateTimeOfTimestamp(value));
            break;
        }
        case ParadoxField::Date: {
            long value = 0;
            PX_get_data_long(doc_, data, field.length, &value);
            row.append(QDate::fromJulianDay(value + JulianDayBeforeDayOne));
            break;
        }
        case ParadoxField::Time: {
            long value = 0;
            PX_get_data_long(doc_, data, field.length, &value);
            row.append(QTime::fromMSecsSinceStartOfDay(int(value)));
            break;
        }
        case ParadoxField::Number:
        case ParadoxField::Currency: {
            double value = 0;
            PX_get_data_double(doc_, data, field.length, &value);
            row.append(value);
            break;
        }
        }
        data += field.length;
    }
    return row;
}

QList<ParadoxRow> ParadoxTable::readAll() const {
    // The count is checked against the file when the table is opened; the reservation is bounded
    // all the same, so the list grows with the rows actually read.
    constexpr int MaxReserved = 65536;
    QList<ParadoxRow> rows;
    if (doc_)
        rows.reserve(qMin(PX_get_num_records(doc_), MaxReserved));
    forEachRow([&rows](const ParadoxRow& row) { rows.append(row); });
    return rows;
}

void ParadoxTable::forEachRow(const std::function<void(const ParadoxRow&)>& visit) const {
    if (!doc_)
        fail(QStringLiteral("a tabela está fechada."));
    const int count = PX_get_num_records(doc_);
    QByteArray record = recordBuffer();
    for (int i = 0; i < count; ++i) {
        if (!PX_get_record(doc_, i, record.data()))
            fail(QStringLiteral("não foi possível ler o registro %1.").arg(i + 1));
        visit(decodeRecord(record.data()));
    }
}
