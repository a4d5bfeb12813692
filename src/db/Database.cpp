#include "Database.h"

#include "ChangeJournal.h"
#include "DbError.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <functional>
#include <sqlite3.h>

static void initDbResources() {
    Q_INIT_RESOURCE(db);
}

namespace Database {

namespace {

void execRaw(sqlite3* handle, const QString& sql) {
    char* message = nullptr;
    if (sqlite3_exec(handle, sql.toUtf8().constData(), nullptr, nullptr, &message) != SQLITE_OK) {
        const QString text = QString::fromUtf8(message ? message : "erro desconhecido");
        sqlite3_free(message);
        throw DbError(text);
    }
}

QSqlDatabase openConnection(const QString& file, const QString& connectionName) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
    db.setDatabaseName(file);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    if (!db.open()) {
        const QString text = db.lastError().text();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(connectionName);
        throw DbError(QStringLiteral("Não foi possível abrir o banco de dados %1: %2").arg(file, text));
    }
    return db;
}

void installChangeJournal(sqlite3* raw) {
    for (const QString& statement : ChangeJournal::instalacao())
        execRaw(raw, statement);
}

// The new file is built under a temporary name and renamed when complete, so a failure half
// way never leaves a database without some of its tables.
void createFromSchema(const QString& file) {
    const QString building = file + QStringLiteral(".new");
    QFile::remove(building);
    const QString name = QStringLiteral("CapaCertific-create");
    {
        QSqlDatabase db = openConnection(building, name);
        try {
            sqlite3* raw = handle(db);
            execRaw(raw, QStringLiteral("BEGIN"));
            execRaw(raw, schemaText());
            installChangeJournal(raw);
            execRaw(raw, QStringLiteral("PRAGMA user_version = %1").arg(SchemaVersion));
            execRaw(raw, QStringLiteral("COMMIT"));
        } catch (...) {
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name);
            QFile::remove(building);
            throw;
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    if (!QFile::rename(building, file)) {
        QFile::remove(building);
        throw DbError(QStringLiteral("Não foi possível criar o banco de dados %1.").arg(file));
    }
}

int userVersion(sqlite3* handle) {
    sqlite3_stmt* statement = nullptr;
    int version = 0;
    if (sqlite3_prepare_v2(handle, "PRAGMA user_version", -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW)
        version = sqlite3_column_int(statement, 0);
    sqlite3_finalize(statement);
    return version;
}

// The CREATE TABLE statement of one table, as the embedded schema has it.
QString createStatementOf(const QString& table) {
    const QString schema = schemaText();
    const QString start = QStringLiteral("CREATE TABLE %1 (").arg(table);
    const qsizetype from = schema.indexOf(start);
    const qsizetype to = from < 0 ? -1 : schema.indexOf(QStringLiteral("\n);"), from);
    if (to < 0)
        throw DbError(QStringLiteral("O esquema não descreve a tabela %1.").arg(table));
    return schema.mid(from, to + 3 - from);
}

// The CREATE INDEX statements of one table, as the embedded schema has them.
QStringList indexStatementsOf(const QString& table) {
    QStringList statements;
    const QString marker = QStringLiteral(" ON %1 (").arg(table);
    for (const QString& line : schemaText().split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("CREATE ")) && line.contains(QLatin1String(" INDEX ")) &&
            line.contains(marker))
            statements << line;
    }
    return statements;
}

QStringList columnsOf(sqlite3* raw, const QString& table) {
    QStringList columns;
    sqlite3_stmt* statement = nullptr;
    const QByteArray sql = QStringLiteral("SELECT name FROM pragma_table_info('%1')").arg(table).toUtf8();
    if (sqlite3_prepare_v2(raw, sql.constData(), -1, &statement, nullptr) == SQLITE_OK) {
        while (sqlite3_step(statement) == SQLITE_ROW)
            columns << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
    }
    sqlite3_finalize(statement);
    return columns;
}

// Rebuilds a table as the embedded schema now describes it (new columns in their place, checks and
// indexes included), keeping every row: columns are copied by name.
void rebuildTable(sqlite3* raw, const QString& table) {
    const QString old = table + QStringLiteral("_ANTERIOR");
    const QStringList kept = columnsOf(raw, table);
    execRaw(raw, QStringLiteral("ALTER TABLE %1 RENAME TO %2").arg(table, old));
    execRaw(raw, createStatementOf(table));
    const QStringList now = columnsOf(raw, table);
    QStringList common;
    for (const QString& column : kept) {
        if (now.contains(column, Qt::CaseInsensitive))
            common << column;
    }
    execRaw(raw, QStringLiteral("INSERT INTO %1 (%2) SELECT %2 FROM %3")
                     .arg(table, common.join(QStringLiteral(", ")), old));
    execRaw(raw, QStringLiteral("DROP TABLE %1").arg(old));
    for (const QString& index : indexStatementsOf(table))
        execRaw(raw, index);
}

// Replaces the indexes of a table by those the embedded schema now describes.
void recreateIndexes(sqlite3* raw, const QString& table) {
    QStringList existing;
    sqlite3_stmt* statement = nullptr;
    const QByteArray sql = QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'index' AND "
                                          "tbl_name = '%1' AND sql IS NOT NULL")
                               .arg(table)
                               .toUtf8();
    if (sqlite3_prepare_v2(raw, sql.constData(), -1, &statement, nullptr) == SQLITE_OK) {
        while (sqlite3_step(statement) == SQLITE_ROW)
            existing << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
    }
    sqlite3_finalize(statement);
    for (const QString& index : existing)
        execRaw(raw, QStringLiteral("DROP INDEX %1").arg(index));
    for (const QString& index : indexStatementsOf(table))
        execRaw(raw, index);
}

// One step of the schema, in its own transaction.
void step(sqlite3* raw, int version, const std::function<void()>& change) {
    execRaw(raw, QStringLiteral("BEGIN"));
    try {
        change();
        execRaw(raw, QStringLiteral("PRAGMA user_version = %1").arg(version));
        execRaw(raw, QStringLiteral("COMMIT"));
    } catch (...) {
        execRaw(raw, QStringLiteral("ROLLBACK"));
        throw;
    }
}

// Brings a database made by an earlier version of the program to the current schema, one step
// per version, each in its own transaction.
void migrate(sqlite3* raw) {
    const int version = userVersion(raw);
    if (version < 2) {
        // 2: the last batch number issued is kept apart from the history of batches.
        step(raw, 2, [raw] { execRaw(raw, createStatementOf(QStringLiteral("CONTROLE_NUMERACAO"))); });
    }
    if (version < 3) {
        // 3: the import's history bookkeeping tells units apart by their serial number.
        step(raw, 3, [raw] { rebuildTable(raw, QStringLiteral("CTR_HISTORICO")); });
    }
    if (version < 4) {
        // 4: the import's bookkeeping finds a note by its whole identification key through an index.
        step(raw, 4, [raw] { recreateIndexes(raw, QStringLiteral("CTR_HISTORICO")); });
    }
    if (version < 5) {
        // 5: the journal of changes. What was written before it is unknown to it: the next batch
        // compares every row.
        step(raw, 5, [raw] {
            installChangeJournal(raw);
            execRaw(raw, QStringLiteral("INSERT INTO %1 (Tipo) VALUES ('X')").arg(ChangeJournal::Tabela));
        });
    }
    // A later step that rebuilds an exchanged table loses its triggers with it: it must install the
    // journal again and mark it incomplete, as step 5 does.
}

} // namespace

QString newerVersionMessage(const QString& file, int version) {
    return QStringLiteral("O banco de dados %1 foi gravado por uma versão mais nova do programa (esquema %2; "
                          "esta versão conhece até o %3). Instale a versão mais nova do programa; o "
                          "arquivo não foi alterado.")
        .arg(file)
        .arg(version)
        .arg(SchemaVersion);
}

QString schemaText() {
    initDbResources();
    QFile schema(QStringLiteral(":/db/schema.sql"));
    if (!schema.open(QIODevice::ReadOnly))
        throw DbError(QStringLiteral("O esquema do banco de dados não foi encontrado."));
    return QString::fromUtf8(schema.readAll());
}

sqlite3* handle(const QSqlDatabase& db) {
    const QVariant v = db.driver()->handle();
    if (!v.isValid() || qstrcmp(v.typeName(), "sqlite3*") != 0)
        throw DbError(QStringLiteral("A conexão não é SQLite."));
    return *static_cast<sqlite3* const*>(v.data());
}

bool inTransaction(const QSqlDatabase& db) {
    return sqlite3_get_autocommit(handle(db)) == 0;
}

QSqlDatabase open(const QString& file, const QString& connectionName) {
    if (QSqlDatabase::contains(connectionName)) {
        QSqlDatabase existing = QSqlDatabase::database(connectionName, false);
        if (existing.isOpen())
            return existing;
        QSqlDatabase::removeDatabase(connectionName);
    }
    if (!QFileInfo::exists(file))
        createFromSchema(file);
    QSqlDatabase db = openConnection(file, connectionName);
    try {
        sqlite3* raw = handle(db);
        // Checked before anything is written: a later version's file is never migrated down.
        if (const int version = userVersion(raw); version > SchemaVersion)
            throw DbError(newerVersionMessage(file, version));
        // Every committed write reaches the disk before the call returns.
        execRaw(raw, QStringLiteral("PRAGMA synchronous = FULL"));
        execRaw(raw, QStringLiteral("PRAGMA journal_mode = DELETE"));
        migrate(raw);
        registerFunctions(raw);
    } catch (...) {
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(connectionName);
        throw;
    }
    return db;
}

void close(const QString& connectionName) {
    {
        QSqlDatabase db = QSqlDatabase::database(connectionName, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(connectionName);
}

} // namespace Database
