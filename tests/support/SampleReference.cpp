#include "SampleReference.h"

#include "Database.h"
#include "DbError.h"

#include <QFile>
#include <sqlite3.h>

void loadSampleReference(const QSqlDatabase& db, const QString& sigla) {
    QFile file(QStringLiteral(TARVENDIX_SOURCE_DIR "/scripts/sample-reference.sql"));
    if (!file.open(QIODevice::ReadOnly))
        throw DbError(QStringLiteral("sample reference data not found: ") + file.fileName());
    const QString sql = QString::fromUtf8(file.readAll()).replace(QStringLiteral("{SIGLA}"), sigla);
    char* message = nullptr;
    if (sqlite3_exec(Database::handle(db), sql.toUtf8().constData(), nullptr, nullptr, &message) !=
        SQLITE_OK) {
        const QString text = QString::fromUtf8(message);
        sqlite3_free(message);
        throw DbError(text);
    }
}
