#include "Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace Paths {

QString withTrailingSlash(const QString& directory) {
    if (directory.isEmpty() || directory.endsWith(QLatin1Char('/')))
        return directory;
    return directory + QLatin1Char('/');
}

namespace {

// Installed among the system's programs (the package's build), the program's directory holds no
// user's files, not even when root, who may write there, runs the program.
#ifdef TARVENDIX_PER_USER_HOME
constexpr bool ProgramDirectoryHoldsFiles = false;
#else
constexpr bool ProgramDirectoryHoldsFiles = true;
#endif

bool isWritableDirectory(const QString& dir) {
    const QFileInfo info(dir);
    return info.isDir() && info.isWritable();
}

QString programDirectory() {
    return QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath();
}

} // namespace

QString baseDirectory() {
    QString base = qEnvironmentVariable("TARVENDIX_HOME");
    if (base.isEmpty()) {
        base = programDirectory();
        if (!ProgramDirectoryHoldsFiles || !isWritableDirectory(base))
            base = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    }
    base = QDir(base).absolutePath();
    QDir().mkpath(base);
    return withTrailingSlash(base);
}

QString databaseFile() {
    return baseDirectory() + QStringLiteral("CapaCertific.db");
}

QString workDirectory() {
    return baseDirectory() + QStringLiteral("Trabalho/");
}

QString errorLogFile() {
    // Named after the program file with its extension replaced, as the users know it.
    const QString program =
        QCoreApplication::instance() ? QCoreApplication::applicationFilePath() : QStringLiteral("tarvendix");
    return baseDirectory() + QFileInfo(program).completeBaseName() + QStringLiteral("-LOGERROS.log");
}

QString settingsFile() {
    return baseDirectory() + QStringLiteral("tarvendix.conf");
}

} // namespace Paths
