#include "CrashHarness.h"

#include "DbError.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUuid>
#include <csignal>

namespace {

// A connection of its own, closed and removed at the end of the scope.
class OwnConnection {
public:
    explicit OwnConnection(const QString& file)
        : name_(QStringLiteral("crash-") + QUuid::createUuid().toString(QUuid::WithoutBraces)) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db.setDatabaseName(file);
        if (!db.open())
            throw DbError(db.lastError().text());
    }
    ~OwnConnection() {
        QSqlDatabase::database(name_, false).close();
        QSqlDatabase::removeDatabase(name_);
    }
    QSqlDatabase db() const { return QSqlDatabase::database(name_, false); }

    QSqlQuery exec(const QString& sql) const {
        QSqlQuery query(db());
        query.setForwardOnly(true);
        if (!query.exec(sql))
            throw DbError(query.lastError().text() + QStringLiteral(" in: ") + sql);
        return query;
    }

private:
    QString name_;
};

} // namespace

QString RegisterState::differenceFrom(const RegisterState& other) const {
    QStringList lines;
    QStringList names = tables.keys() + other.tables.keys();
    names.removeDuplicates();
    for (const QString& name : names) {
        const QStringList mine = tables.value(name);
        const QStringList theirs = other.tables.value(name);
        if (mine == theirs)
            continue;
        QString line = QStringLiteral("%1: %2 rows against %3").arg(name).arg(mine.size()).arg(theirs.size());
        for (qsizetype i = 0; i < std::max(mine.size(), theirs.size()); ++i)
            if (mine.value(i) != theirs.value(i)) {
                line += QStringLiteral("; first difference: [%1] against [%2]")
                            .arg(mine.value(i), theirs.value(i));
                break;
            }
        lines << line;
        if (lines.size() == 3)
            break;
    }
    return lines.join(QLatin1Char('\n'));
}

RegisterState readState(const QString& databaseFile, const QString& home) {
    if (!QFileInfo::exists(databaseFile))
        throw DbError(QStringLiteral("no database at ") + databaseFile);
    const OwnConnection connection(databaseFile);
    RegisterState state;
    QStringList tables;
    for (QSqlQuery q = connection.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' "
                                                      "AND name NOT LIKE 'sqlite_%' ORDER BY name"));
         q.next();)
        tables << q.value(0).toString();
    tables.removeAll(QStringLiteral("CONTROLE_TEMP"));
    for (const QString& table : tables) {
        QList<bool> dateTime;
        for (QSqlQuery info = connection.exec(
                 QStringLiteral("SELECT type FROM pragma_table_info('%1') ORDER BY cid").arg(table));
             info.next();)
            dateTime << info.value(0).toString().toUpper().contains(QLatin1String("DATE"));
        QStringList rows;
        QSqlQuery q = connection.exec(QStringLiteral("SELECT * FROM \"%1\"").arg(table));
        const int columns = q.record().count();
        while (q.next()) {
            QString row;
            for (int c = 0; c < columns; ++c) {
                const QVariant value = q.value(c);
                if (value.isNull())
                    row += QStringLiteral("<null>");
                else if (dateTime.value(c))
                    row += QStringLiteral("<time>");
                else
                    row += value.toString().replace(home, QStringLiteral("<home>"));
                row += QLatin1Char('|');
            }
            rows << row;
        }
        rows.sort();
        state.tables.insert(table, rows);
    }
    return state;
}

QString integrityOf(const QString& databaseFile) {
    const OwnConnection connection(databaseFile);
    QStringList lines;
    for (QSqlQuery q = connection.exec(QStringLiteral("PRAGMA integrity_check")); q.next();)
        lines << q.value(0).toString();
    return lines.join(QLatin1Char('\n'));
}

bool copyTree(const QString& from, const QString& to) {
    if (!QDir().mkpath(to))
        return false;
    const QDir source(from);
    for (const QFileInfo& entry :
         source.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System)) {
        const QString target = QDir(to).filePath(entry.fileName());
        if (entry.isDir() ? !copyTree(entry.filePath(), target) : !QFile::copy(entry.filePath(), target))
            return false;
    }
    return true;
}

QStringList filesUnder(const QString& directory, QStringList* hidden) {
    QStringList files;
    const QDir base(directory);
    QDirIterator it(directory, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QString relative = base.relativeFilePath(it.filePath());
        const bool inHiddenDirectory = relative.contains(QLatin1String("/."));
        // The safety copies are named after the moment they were made and a run made again makes
        // one more: they belong to the copies' own rules, not to the operation's outcome.
        if (relative.startsWith(QLatin1String("Backup/")))
            continue;
        if (!inHiddenDirectory)
            files << relative;
        else if (hidden)
            *hidden << relative;
    }
    files.sort();
    return files;
}

CompanionRun runCompanion(const QStringList& arguments, const QString& password,
                          const CompanionOptions& options) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("TARVENDIX_HOME"));
    env.insert(QStringLiteral("TARVENDIX_PASSWORD"), password);
    for (const QString& pair : options.environment)
        env.insert(pair.section(QLatin1Char('='), 0, 0), pair.section(QLatin1Char('='), 1));
    process.setProcessEnvironment(env);
    if (options.inChild)
        process.setChildProcessModifier(options.inChild);
    CompanionRun run;
    QElapsedTimer timer;
    timer.start();
    process.start(QStringLiteral(TARVENDIX_CLI), arguments);
    process.closeWriteChannel();
    bool sent = false;
    if (options.killAfterMs >= 0 && !process.waitForFinished(options.killAfterMs) &&
        process.state() == QProcess::Running) {
        ::kill(static_cast<pid_t>(process.processId()), SIGKILL);
        sent = true;
    }
    process.waitForFinished(600000);
    run.killed = sent && process.exitStatus() == QProcess::CrashExit;
    run.ms = timer.elapsed();
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}
