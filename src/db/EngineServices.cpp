#include "EngineServices.h"

#include "SqliteStatement.h"

#include "Transaction.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlRecord>
#include <algorithm>
#include <cstdio>

namespace EngineServices {

namespace {

struct Column {
    QString name;
    QString declaredType;
    int keyPosition = 0; // 1-based position in the primary key, 0 outside it
};

QList<Column> columnsOf(const QSqlDatabase& db, const QString& table) {
    QSqlQuery query =
        Sql::exec(db, QStringLiteral("SELECT name, type, pk FROM pragma_table_info(:table) ORDER BY cid"),
                  {{QStringLiteral(":table"), table}});
    QList<Column> columns;
    while (query.next())
        columns.append({query.value(0).toString(), query.value(1).toString(), query.value(2).toInt()});
    if (columns.isEmpty())
        throw DbError(QStringLiteral("A tabela %1 não existe.").arg(table));
    return columns;
}

QString identifier(const QString& name) {
    QString doubled = name;
    doubled.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + doubled + QLatin1Char('"');
}

ParadoxField fieldOf(const QString& table, const Column& column) {
    static const QRegularExpression varchar(QStringLiteral("^VARCHAR\\s*\\(\\s*(\\d+)\\s*\\)$"));
    const QString type = column.declaredType.trimmed().toUpper();
    if (const QRegularExpressionMatch match = varchar.match(type); match.hasMatch()) {
        const int length = match.captured(1).toInt();
        if (length >= 1 && length <= 255)
            return ParadoxField::alpha(column.name, length);
    } else if (type == QLatin1String("SMALLINT")) {
        return ParadoxField::of(column.name, ParadoxField::Short);
    } else if (type == QLatin1String("INTEGER")) {
        return ParadoxField::of(column.name, ParadoxField::Long);
    } else if (type == QLatin1String("BOOLEAN")) {
        return ParadoxField::of(column.name, ParadoxField::Logical);
    } else if (type == QLatin1String("DATETIME")) {
        return ParadoxField::of(column.name, ParadoxField::Timestamp);
    }
    throw DbError(
        QStringLiteral("A coluna %1 da tabela %2 tem o tipo \"%3\", sem correspondente numa tabela Paradox.")
            .arg(column.name, table, column.declaredType));
}

// The database's form of a Paradox value: booleans 0/1, date-times as the ISO text with
// milliseconds that a bound local QDateTime would give (built from its date and time, so a
// local time inside a daylight-saving gap is kept as written).
QVariant sqlValue(ParadoxField::Type type, const QVariant& value) {
    if (value.isNull())
        return value;
    switch (type) {
    case ParadoxField::Logical:
        return value.toBool() ? 1 : 0;
    case ParadoxField::Timestamp: {
        const QDateTime dt = value.toDateTime();
        const QDate date = dt.date();
        const QTime time = dt.time();
        // Written by hand: Qt's date formatting costs more than the insert on a batch's rows.
        if (date.isValid() && time.isValid() && date.year() >= 1 && date.year() <= 9999) {
            char text[32];
            std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03d", date.year(), date.month(),
                          date.day(), time.hour(), time.minute(), time.second(), time.msec());
            return QString::fromLatin1(text);
        }
        return date.toString(Qt::ISODate) + QLatin1Char('T') + time.toString(Qt::ISODateWithMs);
    }
    case ParadoxField::Date:
        return value.toDate().toString(Qt::ISODate) + QStringLiteral("T00:00:00.000");
    case ParadoxField::Time:
        return value.toTime().toString(Qt::ISODateWithMs);
    default:
        return value;
    }
}

// A live column with the index of the Paradox field of the same name.
struct Mapped {
    Column column;
    int field;
};

struct Mapping {
    QList<Mapped> keys;  // in primary-key order
    QList<Mapped> other; // the remaining common columns, in table order
    QList<Mapped> all() const { return keys + other; }
};

Mapping mapByName(const QList<Column>& columns, const ParadoxTable& source, const QString& table,
                  bool needKey) {
    const QStringList names = source.fieldNames();
    const auto fieldIndex = [&](const QString& name) {
        for (int i = 0; i < names.size(); ++i)
            if (names[i].compare(name, Qt::CaseInsensitive) == 0)
                return i;
        return -1;
    };
    Mapping mapping;
    for (const Column& column : columns) {
        const int field = fieldIndex(column.name);
        if (column.keyPosition > 0) {
            if (field < 0 && needKey)
                throw DbError(QStringLiteral("A tabela Paradox %1 não tem a coluna %2 da chave de %3.")
                                  .arg(QDir::toNativeSeparators(source.path()), column.name, table));
            if (field >= 0)
                mapping.keys.append({column, field});
        } else if (field >= 0) {
            mapping.other.append({column, field});
        }
    }
    std::sort(mapping.keys.begin(), mapping.keys.end(),
              [](const Mapped& a, const Mapped& b) { return a.column.keyPosition < b.column.keyPosition; });
    if (needKey && mapping.keys.isEmpty())
        throw DbError(QStringLiteral("A tabela %1 não tem chave primária.").arg(table));
    if (mapping.keys.isEmpty() && mapping.other.isEmpty())
        throw DbError(QStringLiteral("A tabela Paradox %1 não tem colunas em comum com a tabela %2.")
                          .arg(QDir::toNativeSeparators(source.path()), table));
    return mapping;
}

QString keyCondition(const QList<Mapped>& keys) {
    QStringList terms;
    for (const Mapped& key : keys)
        terms.append(identifier(key.column.name) + QStringLiteral(" = ?"));
    return terms.join(QStringLiteral(" AND "));
}

QString insertStatement(const QString& table, const QList<Mapped>& columns) {
    QStringList names;
    QStringList marks;
    for (const Mapped& mapped : columns) {
        names.append(identifier(mapped.column.name));
        marks.append(QStringLiteral("?"));
    }
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
        .arg(identifier(table), names.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
}

// Binds the row's values of the columns to the placeholders from position first on.
void bindAll(QSqlQuery& query, const QList<Mapped>& columns, const ParadoxTable& source,
             const ParadoxRow& row, int first = 0) {
    for (int i = 0; i < columns.size(); ++i) {
        const int field = columns[i].field;
        query.bindValue(first + i, sqlValue(source.fields()[field].type, row[field]));
    }
}

// Binds the record's values of the columns to the placeholders from position first on. A long copy
// runs its statement straight on SQLite's handle: Qt's per-value binding costs more than the insert
// itself on hundreds of thousands of rows.
void bindRecord(SqliteStatement& statement, const QList<Mapped>& columns,
                const ParadoxTable::FieldValue* values, int first = 0) {
    for (int i = 0; i < columns.size(); ++i) {
        const ParadoxTable::FieldValue& value = values[columns[i].field];
        const int position = first + i;
        switch (value.kind) {
        case ParadoxTable::FieldValue::Null:
            statement.bindNull(position);
            break;
        case ParadoxTable::FieldValue::Integer:
            statement.bindInteger(position, value.integer);
            break;
        case ParadoxTable::FieldValue::Real:
            statement.bindReal(position, value.real);
            break;
        case ParadoxTable::FieldValue::Text:
            statement.bindUtf8(position, value.text, value.length);
            break;
        }
    }
}

} // namespace

void RowTick::operator()(int rows) const {
    if (every > 0 && visit && rows % every == 0)
        visit(rows);
}

QList<ParadoxField> paradoxFieldsOf(const QSqlDatabase& db, const QString& liveTable) {
    QList<ParadoxField> fields;
    for (const Column& column : columnsOf(db, liveTable))
        fields.append(fieldOf(liveTable, column));
    return fields;
}

QString createParadoxFromTable(const QSqlDatabase& db, const QString& liveTable, const QString& directory,
                               const QString& fileName, const QString& password) {
    const QString path = QDir(directory).filePath(fileName);
    ParadoxTable::create(path, paradoxFieldsOf(db, liveTable), password).close();
    return path;
}

int appendQueryToParadox(const QSqlDatabase& db, const QString& selectSql, Sql::Params params,
                         const QString& paradoxPath) {
    ParadoxTable destination = ParadoxTable::open(paradoxPath);
    QSqlQuery query = Sql::exec(db, selectSql, params);
    const int columns = query.record().count();
    if (columns != destination.fields().size())
        throw DbError(QStringLiteral("A consulta tem %1 colunas e a tabela Paradox %2 tem %3 campos.")
                          .arg(columns)
                          .arg(QDir::toNativeSeparators(paradoxPath))
                          .arg(destination.fields().size()));
    QList<ParadoxRow> rows;
    while (query.next()) {
        ParadoxRow row;
        row.reserve(columns);
        for (int i = 0; i < columns; ++i)
            row.append(query.value(i));
        rows.append(row);
    }
    destination.append(rows);
    destination.close();
    return int(rows.size());
}

int appendParadoxToParadox(const QString& sourcePath, const QString& destinationPath) {
    const QString canonical = QFileInfo(sourcePath).canonicalFilePath();
    if (!canonical.isEmpty() && canonical == QFileInfo(destinationPath).canonicalFilePath())
        throw DbError(QStringLiteral("A tabela Paradox %1 não pode ser copiada sobre si mesma.")
                          .arg(QDir::toNativeSeparators(sourcePath)));
    const ParadoxTable source = ParadoxTable::open(sourcePath);
    ParadoxTable destination = ParadoxTable::open(destinationPath);
    const QList<ParadoxField>& from = source.fields();
    const QList<ParadoxField>& to = destination.fields();
    bool sameLayout = from.size() == to.size();
    for (int i = 0; sameLayout && i < from.size(); ++i)
        sameLayout = from[i].type == to[i].type;
    if (!sameLayout)
        throw DbError(
            QStringLiteral("As tabelas Paradox %1 e %2 não têm as mesmas colunas.")
                .arg(QDir::toNativeSeparators(sourcePath), QDir::toNativeSeparators(destinationPath)));
    const QList<ParadoxRow> rows = source.readAll();
    destination.append(rows);
    destination.close();
    return int(rows.size());
}

ParadoxContent readParadoxRows(const QString& paradoxPath) {
    const ParadoxTable table = ParadoxTable::open(paradoxPath);
    return {table.fieldNames(), table.readAll()};
}

int appendOrUpdateFromParadox(const QSqlDatabase& db, const QString& paradoxPath, const QString& table) {
    const ParadoxTable source = ParadoxTable::open(paradoxPath);
    const Mapping mapping = mapByName(columnsOf(db, table), source, table, true);
    const QList<ParadoxRow> rows = source.readAll();

    QStringList assignments;
    for (const Mapped& mapped : mapping.other)
        assignments.append(identifier(mapped.column.name) + QStringLiteral(" = ?"));
    const QString where = keyCondition(mapping.keys);

    Transaction transaction(db);
    QSqlQuery exists =
        Sql::prepare(db, QStringLiteral("SELECT 1 FROM %1 WHERE %2").arg(identifier(table), where));
    QSqlQuery update =
        assignments.isEmpty()
            ? QSqlQuery(db)
            : Sql::prepare(db, QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                                   .arg(identifier(table), assignments.join(QStringLiteral(", ")), where));
    QSqlQuery insert = Sql::prepare(db, insertStatement(table, mapping.all()));
    for (const ParadoxRow& row : rows) {
        bindAll(exists, mapping.keys, source, row);
        Sql::exec(exists);
        const bool found = exists.next();
        exists.finish();
        if (!found) {
            bindAll(insert, mapping.all(), source, row);
            Sql::exec(insert);
        } else if (!assignments.isEmpty()) {
            bindAll(update, mapping.other, source, row);
            bindAll(update, mapping.keys, source, row, int(mapping.other.size()));
            Sql::exec(update);
        }
    }
    transaction.commit();
    return int(rows.size());
}

int removeByKeyFromParadox(const QSqlDatabase& db, const QString& paradoxPath, const QString& table,
                           const RowTick& tick) {
    const ParadoxTable source = ParadoxTable::open(paradoxPath);
    const Mapping mapping = mapByName(columnsOf(db, table), source, table, true);

    Transaction transaction(db);
    SqliteStatement remove(
        db, QStringLiteral("DELETE FROM %1 WHERE %2").arg(identifier(table), keyCondition(mapping.keys)));
    int removed = 0;
    int rows = 0;
    source.forEachRecord([&](const ParadoxTable::FieldValue* values) {
        bindRecord(remove, mapping.keys, values);
        removed += remove.run();
        tick(++rows);
    });
    transaction.commit();
    return removed;
}

int appendParadoxToTable(const QSqlDatabase& db, const QString& paradoxPath, const QString& table,
                         const RowTick& tick) {
    const ParadoxTable source = ParadoxTable::open(paradoxPath);
    const QList<Column> columns = columnsOf(db, table);
    const Mapping mapping = mapByName(columns, source, table, false);
    const QList<Mapped> all = mapping.all();
    if (all.size() != source.fields().size())
        throw DbError(QStringLiteral("A tabela Paradox %1 tem colunas que a tabela %2 não tem.")
                          .arg(QDir::toNativeSeparators(paradoxPath), table));

    Transaction transaction(db);
    SqliteStatement insert(db, insertStatement(table, all));
    int rows = 0;
    source.forEachRecord([&](const ParadoxTable::FieldValue* values) {
        bindRecord(insert, all, values);
        insert.run();
        tick(++rows);
    });
    transaction.commit();
    return rows;
}

} // namespace EngineServices
