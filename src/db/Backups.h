#pragma once

#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <optional>

// Copies of the database, made with SQLite's online backup API so the program may keep the file
// open. A copy is written under a temporary name, checked with "PRAGMA integrity_check", forced
// onto the disk and only then renamed into place; a copy that fails the check is deleted and the
// failure reported. The newest `kept` copies are kept, older ones deleted.
//
// What made each copy is in its name, so a plain directory listing tells it and no sidecar can go
// astray: "CapaCertific-20261211-140501-importacao.db" (date, time, reason); a second copy within
// the same second gets "-2", "-3"... after the time.
namespace Backups {

// The reasons, as they appear in the names.
inline const QString Manual = QStringLiteral("manual");               // "Fazer cópia agora", the companion
inline const QString Inicio = QStringLiteral("inicio");               // first start of the day
inline const QString Sincronizacao = QStringLiteral("sincronizacao"); // result synchronisation
inline const QString Referencia = QStringLiteral("referencia");       // reference-table install
inline const QString Importacao = QStringLiteral("importacao");       // text import
inline const QString Limpeza = QStringLiteral("limpeza");             // history clearing
inline const QString Restauracao = QStringLiteral("restauracao");     // the database a restore replaced

inline constexpr int DefaultKept = 10;

struct Settings {
    QString directory; // absolute, with a trailing "/"
    int kept = DefaultKept;
};

// [copias] Quantidade and Diretorio of tarvendix.conf; the directory defaults to "Backup/" beside
// the database file, and a relative one is taken from there too.
Settings settingsFor(const QString& databaseFile);

struct Copy {
    QString file; // absolute path
    QDateTime when;
    qint64 size = 0;
    QString reason;
};

// The copies in the directory, newest first. Files not named as copies are not listed.
QList<Copy> list(const Settings& settings);

// The reason as the users read it ("importação de texto").
QString describeReason(const QString& reason);

// "ok", or what SQLite found wrong (also "file is not a database" and the like). `quick` runs
// quick_check instead of integrity_check. Opens the file read-only; never writes into it.
QString check(const QString& file, bool quick = false);

// The user_version of the file, or -1 when it cannot be read.
int userVersion(const QString& file);

// Writes a checked copy of the database at `target` (a temporary name first, then renamed over it).
// Throws DbError, leaving nothing behind.
void copyTo(const QString& databaseFile, const QString& target);

// Writes a copy of the database into the directory, checks it, keeps the newest `kept`. Returns the copy's
// path. Throws DbError (nothing left behind) when the copy cannot be written or fails the check.
QString make(const QString& databaseFile, const QString& reason, const QDateTime& now,
             const Settings& settings);

// The copy made before an operation that rewrites many rows, on the connection's file with the
// installation's settings. Throws DbError with a message that tells the user the operation did not
// start and how to retry.
void before(const QSqlDatabase& db, const QString& reason);

// True when no "inicio" copy is dated `today`.
bool dailyCopyDue(const Settings& settings, const QDate& today);

// The newest copy that passes integrity_check, if any.
std::optional<Copy> newestGood(const Settings& settings);

// Replaces the database file with a copy. The copy is checked first (a damaged copy is refused).
// A sound current database is first copied with reason "restauracao"; a damaged one is moved aside
// as "<file>.danificado-<date>-<time>" and never deleted. The connection to the file must be closed.
// Returns the path of what was kept of the replaced database. Throws DbError.
QString restore(const QString& copyFile, const QString& databaseFile, const QDateTime& now,
                const Settings& settings);

} // namespace Backups

class Prompts;

namespace Backups {

// What the program does with the database before it opens it: a file of a newer schema is refused;
// a file that fails "PRAGMA quick_check" is reported with the newest good copy offered (Sim restores
// it, the damaged file kept aside); then the first start of the day makes its "inicio" copy (a failure
// there is only a warning). False when the program must not open the file: it is then left untouched.
bool startupCheck(const QString& databaseFile, Prompts& prompts, const QDateTime& now);

// The messages of the check.
QString damagedMessage(const QString& databaseFile, const QString& problem, const Copy& offered);
QString damagedWithoutCopyMessage(const QString& databaseFile, const QString& problem,
                                  const QString& directory);

} // namespace Backups

namespace Backups {

// before(), with the failure shown as an error box instead of thrown; false when the operation must
// not start.
bool beforeOrTell(const QSqlDatabase& db, const QString& reason, Prompts& prompts);

} // namespace Backups
