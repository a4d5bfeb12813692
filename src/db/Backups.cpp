#include "Backups.h"

#include "Database.h"
#include "DbError.h"
#include "Files.h"
#include "Paths.h"
#include "ProgramSettings.h"
#include "Prompts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <algorithm>
#include <atomic>
#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

namespace Backups {

namespace {

const QString Prefix = QStringLiteral("CapaCertific-");
const QString StampFormat = QStringLiteral("yyyyMMdd-HHmmss");

// "CapaCertific-20261211-140501[-2]-reason.db"
const QRegularExpression& namePattern() {
    static const QRegularExpression pattern(
        QStringLiteral("^CapaCertific-(\\d{8}-\\d{6})(?:-(\\d+))?-([a-z]+)\\.db$"));
    return pattern;
}

// A raw read-only connection that is closed however the caller leaves.
class ReadOnly {
public:
    explicit ReadOnly(const QString& file) {
        const QByteArray path = QFile::encodeName(file);
        if (sqlite3_open_v2(path.constData(), &handle_, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
            error_ = QString::fromUtf8(handle_ ? sqlite3_errmsg(handle_) : "out of memory");
        } else {
            sqlite3_busy_timeout(handle_, 5000);
        }
    }
    ~ReadOnly() { sqlite3_close(handle_); }
    ReadOnly(const ReadOnly&) = delete;
    ReadOnly& operator=(const ReadOnly&) = delete;

    sqlite3* handle() const { return error_.isEmpty() ? handle_ : nullptr; }
    const QString& error() const { return error_; }

private:
    sqlite3* handle_ = nullptr;
    QString error_;
};

// Every row of the pragma joined, or SQLite's error.
QString pragmaText(sqlite3* handle, const char* sql) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(handle, sql, -1, &statement, nullptr) != SQLITE_OK)
        return QString::fromUtf8(sqlite3_errmsg(handle));
    QStringList rows;
    int rc = SQLITE_OK;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW)
        rows << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
    if (rc != SQLITE_DONE)
        rows << QString::fromUtf8(sqlite3_errmsg(handle));
    sqlite3_finalize(statement);
    return rows.join(QLatin1Char('\n'));
}

bool syncFile(const QString& file) {
    const int fd = ::open(QFile::encodeName(file).constData(), O_RDONLY);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

// The rename itself reaches the disk only with its directory.
void syncDirectory(const QString& directory) {
    const int fd = ::open(QFile::encodeName(directory).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Copies made within the same second are numbered, whatever their reasons, so they keep their order.
QString freeName(const QString& directory, const QDateTime& now, const QString& reason) {
    const QString stamp = now.toString(StampFormat);
    int sequence = 0;
    for (const QString& name :
         QDir(directory).entryList({Prefix + stamp + QStringLiteral("-*")}, QDir::Files)) {
        const QRegularExpressionMatch match = namePattern().match(name);
        if (match.hasMatch())
            sequence = std::max(sequence, match.captured(2).isEmpty() ? 1 : match.captured(2).toInt());
    }
    return directory + Prefix + stamp + (sequence ? QStringLiteral("-%1").arg(sequence + 1) : QString()) +
           QLatin1Char('-') + reason + QStringLiteral(".db");
}

// Copies `source` into `target` with the online backup API, page by page from a read-only
// connection, so writers elsewhere are held up only briefly.
void backupInto(const QString& source, const QString& target) {
    ReadOnly from(source);
    if (!from.handle())
        throw DbError(from.error());
    sqlite3* to = nullptr;
    const QByteArray path = QFile::encodeName(target);
    if (sqlite3_open(path.constData(), &to) != SQLITE_OK) {
        const QString text = QString::fromUtf8(to ? sqlite3_errmsg(to) : "out of memory");
        sqlite3_close(to);
        throw DbError(text);
    }
    sqlite3_backup* backup = sqlite3_backup_init(to, "main", from.handle(), "main");
    QString error;
    if (!backup) {
        error = QString::fromUtf8(sqlite3_errmsg(to));
    } else {
        int rc = SQLITE_OK;
        while ((rc = sqlite3_backup_step(backup, 256)) == SQLITE_OK || rc == SQLITE_BUSY ||
               rc == SQLITE_LOCKED)
            if (rc != SQLITE_OK)
                sqlite3_sleep(50);
        if (rc != SQLITE_DONE)
            error = QString::fromUtf8(sqlite3_errstr(rc));
        if (sqlite3_backup_finish(backup) != SQLITE_OK && error.isEmpty())
            error = QString::fromUtf8(sqlite3_errmsg(to));
    }
    sqlite3_close(to);
    if (!error.isEmpty())
        throw DbError(error);
}

void rotate(const Settings& settings) {
    const QList<Copy> copies = list(settings);
    for (qsizetype i = settings.kept; i < copies.size(); ++i)
        QFile::remove(copies[i].file);
}

} // namespace

Settings settingsFor(const QString& databaseFile) {
    const ProgramSettings program;
    const QDir beside = QFileInfo(databaseFile).absoluteDir();
    Settings settings;
    const QString configured = program.value(QStringLiteral("copias/Diretorio")).toString().trimmed();
    settings.directory = Paths::withTrailingSlash(QDir::cleanPath(
        beside.absoluteFilePath(configured.isEmpty() ? QStringLiteral("Backup") : configured)));
    settings.kept = program.positiveNumber(QStringLiteral("copias/Quantidade"), DefaultKept);
    return settings;
}

QList<Copy> list(const Settings& settings) {
    struct Entry {
        Copy copy;
        int sequence;
    };
    QList<Entry> entries;
    const QDir directory(settings.directory);
    for (const QFileInfo& info : directory.entryInfoList({QStringLiteral("*.db")}, QDir::Files)) {
        const QRegularExpressionMatch match = namePattern().match(info.fileName());
        if (!match.hasMatch())
            continue;
        const QDateTime when = QDateTime::fromString(match.captured(1), StampFormat);
        if (!when.isValid())
            continue;
        entries.push_back({{info.absoluteFilePath(), when, info.size(), match.captured(3)},
                           match.captured(2).isEmpty() ? 1 : match.captured(2).toInt()});
    }
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.copy.when != b.copy.when ? a.copy.when > b.copy.when : a.sequence > b.sequence;
    });
    QList<Copy> copies;
    for (const Entry& entry : entries)
        copies << entry.copy;
    return copies;
}

QString describeReason(const QString& reason) {
    static const QHash<QString, QString> texts{
        {Manual, QStringLiteral("cópia pedida pelo usuário")},
        {Inicio, QStringLiteral("primeiro início do dia")},
        {Sincronizacao, QStringLiteral("sincronização do resultado")},
        {Referencia, QStringLiteral("instalação de tabelas de referência")},
        {Importacao, QStringLiteral("importação de texto")},
        {Limpeza, QStringLiteral("limpeza do histórico")},
        {Restauracao, QStringLiteral("antes de uma restauração")},
    };
    return texts.value(reason, reason);
}

QString check(const QString& file, bool quick) {
    if (!QFileInfo(file).isFile())
        return QStringLiteral("arquivo não encontrado");
    ReadOnly db(file);
    if (!db.handle())
        return db.error();
    return pragmaText(db.handle(), quick ? "PRAGMA quick_check" : "PRAGMA integrity_check");
}

int userVersion(const QString& file) {
    ReadOnly db(file);
    if (!db.handle())
        return -1;
    bool ok = false;
    const int version = pragmaText(db.handle(), "PRAGMA user_version").toInt(&ok);
    return ok ? version : -1;
}

void copyTo(const QString& databaseFile, const QString& target) {
    const QString partial = target + QStringLiteral(".parcial");
    QFile::remove(partial);
    try {
        backupInto(databaseFile, partial);
        const QString result = check(partial);
        if (result != QLatin1String("ok"))
            throw DbError(
                QStringLiteral("a cópia não passou na verificação de integridade (%1)").arg(result));
        if (!syncFile(partial))
            throw DbError(QStringLiteral("a cópia não pôde ser gravada no disco"));
        if (!QFile::rename(partial, target))
            throw DbError(QStringLiteral("a cópia não pôde ser renomeada para %1").arg(target));
    } catch (const DbError& failure) {
        QFile::remove(partial);
        throw DbError(QStringLiteral("Não foi possível fazer a cópia de segurança em %1: %2")
                          .arg(QDir::toNativeSeparators(target), failure.message()));
    }
    syncDirectory(QFileInfo(target).absolutePath());
}

QString make(const QString& databaseFile, const QString& reason, const QDateTime& now,
             const Settings& settings) {
    if (!QDir().mkpath(settings.directory))
        throw DbError(QStringLiteral("Não foi possível fazer a cópia de segurança: o diretório de cópias %1 "
                                     "não pôde ser criado.")
                          .arg(QDir::toNativeSeparators(settings.directory)));
    const QString target = freeName(settings.directory, now, reason);
    copyTo(databaseFile, target);
    rotate(settings);
    return target;
}

void before(const QSqlDatabase& db, const QString& reason) {
    const QString file = db.databaseName();
    try {
        make(file, reason, QDateTime::currentDateTime(), settingsFor(file));
    } catch (const DbError& failure) {
        throw DbError(failure.message() +
                      QStringLiteral("\nA operação não foi iniciada. Libere espaço no disco das cópias "
                                     "(ou corrija o diretório em tarvendix.conf) e tente de novo."));
    }
}

bool beforeOrTell(const QSqlDatabase& db, const QString& reason, Prompts& prompts) {
    try {
        before(db, reason);
        return true;
    } catch (const DbError& failure) {
        prompts.error(failure.message());
        return false;
    }
}

bool dailyCopyDue(const Settings& settings, const QDate& today) {
    for (const Copy& copy : list(settings))
        if (copy.reason == Inicio && copy.when.date() == today)
            return false;
    return true;
}

std::optional<Copy> newestGood(const Settings& settings) {
    for (const Copy& copy : list(settings))
        if (check(copy.file) == QLatin1String("ok"))
            return copy;
    return std::nullopt;
}

QString restore(const QString& copyFile, const QString& databaseFile, const QDateTime& now,
                const Settings& settings) {
    const QString result = check(copyFile);
    if (result != QLatin1String("ok"))
        throw DbError(QStringLiteral("A cópia %1 está danificada e não foi restaurada (%2).")
                          .arg(QDir::toNativeSeparators(copyFile), result));
    QString kept;
    if (QFileInfo(databaseFile).isFile()) {
        if (check(databaseFile, true) == QLatin1String("ok")) {
            kept = make(databaseFile, Restauracao, now, settings);
        } else {
            kept = databaseFile + QStringLiteral(".danificado-") + now.toString(StampFormat);
            if (!QFile::rename(databaseFile, kept))
                throw DbError(QStringLiteral("O banco de dados danificado não pôde ser renomeado para %1.")
                                  .arg(QDir::toNativeSeparators(kept)));
        }
    }
    // A journal left by the replaced file would be played back into the copy.
    QFile::remove(databaseFile + QStringLiteral("-journal"));
    const std::atomic<bool> never{false};
    const BlockCopy copied =
        copyInBlocks(copyFile, databaseFile, databaseFile + QStringLiteral(".restaurando"), never, {}, true);
    if (!copied.error.isEmpty())
        throw DbError(QStringLiteral("A cópia %1 não pôde ser restaurada: %2.")
                          .arg(QDir::toNativeSeparators(copyFile), copied.error));
    syncDirectory(QFileInfo(databaseFile).absolutePath());
    return kept;
}

QString damagedMessage(const QString& databaseFile, const QString& problem, const Copy& offered) {
    return QStringLiteral("O banco de dados %1 está danificado (%2).\n\nRestaurar a cópia de segurança mais "
                          "recente que está boa, de %3 (%4)?\n\nO arquivo danificado será guardado ao lado, "
                          "com o nome terminado em \".danificado\" e a data. Respondendo Não, o programa "
                          "termina sem gravar no arquivo danificado.")
        .arg(QDir::toNativeSeparators(databaseFile), problem.section(QLatin1Char('\n'), 0, 0),
             offered.when.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")), describeReason(offered.reason));
}

QString damagedWithoutCopyMessage(const QString& databaseFile, const QString& problem,
                                  const QString& directory) {
    return QStringLiteral("O banco de dados %1 está danificado (%2) e não há cópia de segurança boa em %3. "
                          "O programa termina sem gravar no arquivo danificado.")
        .arg(QDir::toNativeSeparators(databaseFile), problem.section(QLatin1Char('\n'), 0, 0),
             QDir::toNativeSeparators(directory));
}

bool startupCheck(const QString& databaseFile, Prompts& prompts, const QDateTime& now) {
    if (!QFileInfo::exists(databaseFile))
        return true; // created from the schema when opened
    const Settings settings = settingsFor(databaseFile);
    const QString problem = check(databaseFile, true);
    if (problem != QLatin1String("ok")) {
        const std::optional<Copy> good = newestGood(settings);
        if (!good) {
            prompts.error(damagedWithoutCopyMessage(databaseFile, problem, settings.directory));
            return false;
        }
        if (!prompts.confirm(damagedMessage(databaseFile, problem, *good)))
            return false;
        try {
            restore(good->file, databaseFile, now, settings);
        } catch (const DbError& failure) {
            prompts.error(failure.message());
            return false;
        }
        prompts.information(QStringLiteral("A cópia de %1 foi restaurada.")
                                .arg(good->when.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"))));
    }
    if (const int version = userVersion(databaseFile); version > Database::SchemaVersion) {
        prompts.error(Database::newerVersionMessage(databaseFile, version));
        return false;
    }
    if (dailyCopyDue(settings, now.date())) {
        try {
            make(databaseFile, Inicio, now, settings);
        } catch (const DbError& failure) {
            prompts.warning(failure.message());
        }
    }
    return true;
}

} // namespace Backups
