#include "Files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QString NomeCurto(const QString& path) {
    return QFileInfo::exists(path) ? path : QString();
}

QString NomeLongo(const QString& path) {
    return path;
}

bool hasWildcards(const QString& name) {
    return name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?')) ||
           name.contains(QLatin1Char('['));
}

QStringList filesMatching(const QString& directory, const QString& mask) {
    // QDir matches name filters without regard to case unless told otherwise.
    const QDir dir(directory);
    const QStringList names =
        dir.entryList({mask}, QDir::Files | QDir::Hidden | QDir::System, QDir::Name | QDir::IgnoreCase);
    QStringList paths;
    for (const QString& name : names)
        paths << dir.absoluteFilePath(name);
    return paths;
}

void ApagaArquivos(const QString& directory, const QString& mask) {
    for (const QString& file : filesMatching(directory, mask))
        QFile::remove(file);
}

qint64 TamanhoArquivo(const QString& fileName) {
    const QFileInfo info(QFileInfo(fileName).absoluteFilePath());
    if (info.isFile())
        return info.size();
    if (!hasWildcards(info.fileName()))
        return -1;
    const QStringList matches = filesMatching(info.absolutePath(), info.fileName());
    return matches.isEmpty() ? -1 : QFileInfo(matches.first()).size();
}
