#include "ExternalPrograms.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace ExternalPrograms {

QString find(const QString& name) {
    if (QCoreApplication::instance()) {
        const QString beside = QStandardPaths::findExecutable(name, {QCoreApplication::applicationDirPath()});
        if (!beside.isEmpty())
            return beside;
    }
    return QStandardPaths::findExecutable(name);
}

Result runAndWait(const QString& program, const QStringList& arguments, const QString& workingDirectory) {
    Result result;
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    if (!workingDirectory.isEmpty())
        process.setWorkingDirectory(workingDirectory);

    // A local event loop instead of a blocking wait: the screens keep painting meanwhile.
    QEventLoop loop;
    bool done = false;
    QObject::connect(&process, &QProcess::finished, &loop, [&] {
        done = true;
        loop.quit();
    });
    QObject::connect(&process, &QProcess::errorOccurred, &loop, [&](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            done = true;
            loop.quit();
        }
    });
    QObject::connect(&process, &QProcess::readyRead, &loop, [&] { result.output += process.readAll(); });

    process.start(program, arguments);
    if (!done)
        loop.exec(QEventLoop::ExcludeUserInputEvents);

    result.output += process.readAll();
    result.started = process.error() != QProcess::FailedToStart;
    result.normalExit = result.started && process.exitStatus() == QProcess::NormalExit;
    result.exitCode = result.normalExit ? process.exitCode() : -1;
    return result;
}

} // namespace ExternalPrograms
