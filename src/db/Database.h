#pragma once

#include <QSqlDatabase>
#include <QString>

struct sqlite3;

// The one connection "CapaCertific" over an SQLite file.
namespace Database {

inline const QString ConnectionName = QStringLiteral("CapaCertific");
// 2: CONTROLE_NUMERACAO, the last batch number issued. 3: CTR_HISTORICO.NumSerieProd. 4: the
// indexes of CTR_HISTORICO's whole identification key. 5: the journal of changes (ChangeJournal).
inline constexpr int SchemaVersion = 5;

// Opens the file under the connection name, creating it from the embedded schema when it does
// not exist. A file of a newer schema (user_version above SchemaVersion) is refused untouched.
// Registers UCase and an accent-aware, case-blind like. Throws DbError.
QSqlDatabase open(const QString& file, const QString& connectionName = ConnectionName);
void close(const QString& connectionName = ConnectionName);

sqlite3* handle(const QSqlDatabase& db);
bool inTransaction(const QSqlDatabase& db);

// Why a file written by a newer version of the program is refused.
QString newerVersionMessage(const QString& file, int version);

// The embedded schema text.
QString schemaText();

// Registers the dialect's functions on a raw SQLite handle.
void registerFunctions(sqlite3* handle);

} // namespace Database
