#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>

struct px_doc;

// One column of a Paradox table. The program writes alpha, short, long, logical and timestamp
// columns; date, time, number, currency and autoincrement columns are read (and written) too,
// since the authority's tables may carry them.
struct ParadoxField {
    enum Type { Alpha, Short, Long, Logical, Timestamp, Date, Time, Number, Currency, AutoInc };

    QString name;
    Type type = Alpha;
    int length = 0; // characters of an alpha column (1..255); the others have a fixed size

    static ParadoxField alpha(const QString& name, int length) { return {name, Alpha, length}; }
    static ParadoxField of(const QString& name, Type type) { return {name, type, sizeOf(type)}; }
    // Bytes a column of the type takes in a record; 0 for alpha (its length).
    static int sizeOf(Type type);

    bool operator==(const ParadoxField&) const = default;
};

using ParadoxRow = QVariantList;

// A Paradox 7 table file (".DB", code page 1252) over pxlib, open for reading and appending.
//
// Values by column type (a NULL is a null QVariant both ways):
// - alpha: QString, written in Windows-1252 (characters without a byte become '?'). Paradox
//   has no empty text: an empty string is stored as NULL and reads back as NULL. A value longer
//   than its column is refused, never cut.
// - short, long, autoinc: int. The lowest value of each type (-32768, -2147483648) shares its
//   bytes with NULL, so it is refused.
// - logical: bool (numbers: 0 false, anything else true).
// - timestamp: QDateTime in local time; also accepted as QDate or as the database's ISO text.
// - date: QDate; time: QTime; number, currency: double.
// Every failure is a DbError naming the file. A table is opened only when its header agrees with
// the file (see ParadoxHeader): a damaged or forged header is refused before any record is read.
class ParadoxTable {
public:
    // The installation's fixed table password: the authority's packages may be protected with it.
    static inline const QString SenhaTabelas = QStringLiteral("pavrolitenc");

    // Creates a new, empty table; an existing file is an error. With a password the rows are
    // written encrypted (readers need no password).
    static ParadoxTable create(const QString& path, const QList<ParadoxField>& fields,
                               const QString& password = {});
    static ParadoxTable open(const QString& path);

    ParadoxTable(ParadoxTable&& other) noexcept;
    ParadoxTable& operator=(ParadoxTable&& other) noexcept;
    ParadoxTable(const ParadoxTable&) = delete;
    ParadoxTable& operator=(const ParadoxTable&) = delete;
    ~ParadoxTable();

    const QString& path() const { return path_; }
    const QList<ParadoxField>& fields() const { return fields_; }
    QStringList fieldNames() const;
    int recordCount() const;
    bool isEncrypted() const;

    // Checks every row first, so a refused value leaves the file without any of the rows.
    void append(const QList<ParadoxRow>& rows);
    void appendRow(const ParadoxRow& row) { append(QList<ParadoxRow>{row}); }
    QList<ParadoxRow> readAll() const;
    // Reads the rows one by one, in file order, without holding them all.
    void forEachRow(const std::function<void(const ParadoxRow&)>& visit) const;

    // One field of a record as a copy into the database takes it, without QVariant: NULL, an
    // integer (short, long, autoinc, logical as 0/1), a real (number, currency), or text in UTF-8
    // (alpha decoded from Windows-1252; timestamp, date and time as the database's text). The text
    // stays valid until the next record.
    struct FieldValue {
        enum Kind { Null, Integer, Real, Text };
        Kind kind = Null;
        qint64 integer = 0;
        double real = 0;
        const char* text = nullptr;
        int length = 0; // bytes of text
    };
    // Reads the records one by one, in file order, handing over one value per field.
    void forEachRecord(const std::function<void(const FieldValue* values)>& visit) const;

    // Writes the table to disk and releases it; the destructor does the same.
    void close();

    // Paradox's timestamp scale: milliseconds since 31/12/0000 00:00, so 01/01/0001 00:00 is
    // 86400000 (as pxlib's own PX_make_timestamp gives). No time zone is involved.
    static double timestampOf(const QDate& date, const QTime& time);
    static QDateTime dateTimeOfTimestamp(double timestamp);

private:
    ParadoxTable(px_doc* doc, QString path);
    QByteArray encodeRecord(const ParadoxRow& row) const;
    QByteArray recordBuffer() const;
    ParadoxRow decodeRecord(char* record) const;
    [[noreturn]] void fail(const QString& what) const;

    px_doc* doc_ = nullptr;
    QString path_;
    QList<ParadoxField> fields_;
    std::unique_ptr<QString> lastError_; // filled by pxlib's error handler
};
