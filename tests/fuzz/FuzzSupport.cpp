#include "FuzzSupport.h"

#include "Database.h"
#include "DbError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <sqlite3.h>

namespace fuzz {

QByteArray bytesOf(const uint8_t* data, size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

QList<QByteArray> parts(const QByteArray& bytes, int count) {
    QList<QByteArray> result;
    qsizetype from = 0;
    while (result.size() < count - 1) {
        const qsizetype zero = bytes.indexOf('\0', from);
        if (zero < 0)
            break;
        result << bytes.mid(from, zero - from);
        from = zero + 1;
    }
    result << bytes.mid(from);
    while (result.size() < count)
        result << QByteArray();
    return result;
}

void check(bool holds, const char* what) {
    if (holds)
        return;
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

QString scratchDirectory() {
    static QTemporaryDir directory(QDir::temp().filePath(QStringLiteral("tarvendix-fuzz-XXXXXX")));
    check(directory.isValid(), "no scratch directory");
    return directory.path();
}

QString writeScratchFile(const QString& name, const QByteArray& bytes) {
    const QString path = QDir(scratchDirectory()).filePath(name);
    QFile file(path);
    check(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "cannot write the scratch file");
    check(file.write(bytes) == bytes.size(), "cannot write the scratch file");
    return path;
}

QSqlDatabase memoryDatabase(const QString& connectionName) {
    if (QSqlDatabase::contains(connectionName))
        return QSqlDatabase::database(connectionName);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
    db.setDatabaseName(QStringLiteral(":memory:"));
    check(db.open(), "cannot open a database in memory");
    sqlite3* handle = Database::handle(db);
    Database::registerFunctions(handle);
    char* message = nullptr;
    if (sqlite3_exec(handle, Database::schemaText().toUtf8().constData(), nullptr, nullptr, &message) !=
        SQLITE_OK) {
        std::fprintf(stderr, "%s\n", message ? message : "");
        check(false, "the schema does not load");
    }
    return db;
}

PromptAnswer SilentPrompts::show(PromptKind kind, const QString&, const QString&) {
    return kind == PromptKind::YesNo ? PromptAnswer::Yes : PromptAnswer::Ok;
}

} // namespace fuzz
