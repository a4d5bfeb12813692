#include "Archiver.h"

#include "Files.h"
#include "Paths.h"
#include "Prompts.h"
#include "WorkDirectory.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

const char* const zipNotFound = "O arquivo Zip.exe não foi encontrado.";
const char* const unzipNotFound = "O arquivo UnZip.exe não foi encontrado.";
const char* const packFailed = "Ocorreu um erro na criação do arquivo.";
const char* const unpackFailed = "Ocorreu um erro na extração do arquivo.";

QString absoluteFromBase(const QString& path) {
    return QFileInfo(path).isAbsolute() ? QDir::cleanPath(path)
                                        : QDir::cleanPath(Paths::baseDirectory() + path);
}

// The real file names behind the names and masks; false when a file is missing or a mask matches
// nothing. The archive itself is never one of them.
bool expandInputs(const QStringList& entries, const QString& archive, QStringList& files) {
    if (entries.isEmpty())
        return false;
    for (const QString& entry : entries) {
        const QFileInfo info(absoluteFromBase(entry));
        if (hasWildcards(info.fileName())) {
            QStringList matches = filesMatching(info.absolutePath(), info.fileName());
            matches.removeAll(archive);
            if (matches.isEmpty())
                return false;
            files << matches;
        } else if (info.isFile()) {
            files << info.absoluteFilePath();
        } else {
            return false;
        }
    }
    files.removeDuplicates();
    return true;
}

// The new archive is made under a temporary name beside the final one, then renamed over it.
bool pack(const QString& zip, const QStringList& files, const QString& archive) {
    const QFileInfo target(archive);
    if (!QDir().mkpath(target.absolutePath()))
        return false;
    WorkDirectory work(target.absolutePath(), QStringLiteral("zip"));
    if (!work.isValid())
        return false;
    // The name ends in ".zip": zip would append it to a name without an extension.
    const QString packed = work.filePath(QStringLiteral("pacote.zip"));
    // -MM: fail when an input is missing or unreadable; -nw: names are literal, not patterns.
    QStringList arguments{QStringLiteral("-q"),  QStringLiteral("-m"),  QStringLiteral("-j"),
                          QStringLiteral("-MM"), QStringLiteral("-nw"), packed,
                          QStringLiteral("--")};
    arguments << files;
    if (!ExecutaEAguarda(zip, arguments) || !QFileInfo(packed).isFile())
        return false;
    // On the disk before it is renamed and before the caller records it: after a power cut the
    // batch's event must not outlive its archive. (A directory some file systems cannot sync keeps
    // its new entry all the same.)
    if (syncToDisk(packed) && (!target.exists() || QFile::remove(archive)) &&
        QFile::rename(packed, archive)) {
        syncToDisk(target.absolutePath());
        return true;
    }
    // The files have already been moved into the new archive: keep it rather than lose them.
    work.keep();
    return false;
}

bool isInside(const QString& path, const QString& directory) {
    return path == directory || path.startsWith(directory + QLatin1Char('/'));
}

// Creates the directory level by level; a level that exists must stay inside the destination (a
// link there to elsewhere must not carry files out of it).
bool makeDirectoryInside(const QString& destination, const QString& relative,
                         const QString& canonicalTarget) {
    QString path = destination;
    for (const QString& part : relative.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        path += QLatin1Char('/') + part;
        const QFileInfo level(path);
        if (level.exists()) {
            if (!level.isDir() || !isInside(level.canonicalFilePath(), canonicalTarget))
                return false;
        } else if (!QDir().mkdir(path)) {
            return false;
        }
    }
    return true;
}

QStringList archiveEntries(const QString& unzip, const QString& archive, bool& ok) {
    ExternalPrograms::Result listing;
    ok = ExecutaEAguarda(unzip, {QStringLiteral("-Z1"), archive}, &listing);
    return QString::fromLocal8Bit(listing.output).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// Moves what was unpacked into the destination, overwriting. Links and special files refuse the
// whole archive before anything is moved.
bool moveInto(const QString& from, const QString& destination) {
    const QDir source(from);
    QStringList directories;
    QStringList files;
    QDirIterator it(from, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        if (info.isSymLink())
            return false;
        const QString relative = source.relativeFilePath(info.absoluteFilePath());
        if (info.isDir())
            directories << relative;
        else if (info.isFile())
            files << relative;
        else
            return false;
    }

    const QDir target(destination);
    const QString canonicalTarget = QFileInfo(destination).canonicalFilePath();
    for (const QString& directory : directories)
        if (!makeDirectoryInside(destination, directory, canonicalTarget))
            return false;
    for (const QString& file : files) {
        const QString destinationFile = target.absoluteFilePath(file);
        const QFileInfo existing(destinationFile);
        if (!isInside(existing.dir().canonicalPath(), canonicalTarget))
            return false;
        if (existing.isDir() && !existing.isSymLink())
            return false;
        if ((existing.exists() || existing.isSymLink()) && !QFile::remove(destinationFile))
            return false;
        if (!QFile::rename(source.absoluteFilePath(file), destinationFile))
            return false;
    }
    return true;
}

bool unpack(const QString& unzip, const QString& archive, const QString& destination) {
    if (!QFileInfo(archive).isFile())
        return false;
    // A damaged archive fails its test (unzip would still write the damaged files).
    if (!ExecutaEAguarda(unzip, {QStringLiteral("-tq"), archive}))
        return false;
    bool listed = false;
    const QStringList entries = archiveEntries(unzip, archive, listed);
    if (!listed || entries.isEmpty())
        return false;
    for (const QString& entry : entries)
        if (!isSafeArchiveEntry(entry))
            return false;

    if (!QDir().mkpath(destination))
        return false;
    const QFileInfo target(destination);
    // Beside the destination, under one fixed prefix: the next unpacking there clears what a killed
    // one left (the destination may itself be a working directory with a name of chance).
    WorkDirectory fresh(target.absolutePath(), QStringLiteral("descompacta"));
    if (!fresh.isValid())
        return false;
    if (!ExecutaEAguarda(
            unzip, {QStringLiteral("-q"), QStringLiteral("-o"), archive, QStringLiteral("-d"), fresh.path()}))
        return false;
    return moveInto(fresh.path(), target.absoluteFilePath());
}

} // namespace

bool ExecutaEAguarda(const QString& program, const QStringList& arguments, ExternalPrograms::Result* result) {
    const ExternalPrograms::Result run = ExternalPrograms::runAndWait(program, arguments);
    if (result)
        *result = run;
    return run.succeeded();
}

bool isSafeArchiveEntry(const QString& entry) {
    if (entry.isEmpty() || entry.startsWith(QLatin1Char('/')) || entry.startsWith(QLatin1Char('\\')))
        return false;
    static const QRegularExpression drive(QStringLiteral("^[A-Za-z]:"));
    if (drive.match(entry).hasMatch())
        return false;
    // unzip reads "\" as a separator in archives made on Windows.
    static const QRegularExpression separators(QStringLiteral("[/\\\\]"));
    const QStringList parts = entry.split(separators);
    return !parts.contains(QStringLiteral(".."));
}

bool DescompactaEmDiretorioVazio(Prompts& prompts, const QString& archive, const QString& directory) {
    BusyScope busy(prompts);
    const QString unzip = ExternalPrograms::find(QStringLiteral("unzip"));
    if (unzip.isEmpty()) {
        prompts.error(QString::fromUtf8(unzipNotFound));
        return false;
    }
    const QString path = absoluteFromBase(archive);
    const QString target = absoluteFromBase(directory);
    const auto unpacked = [&] {
        const QDir dir(target);
        if (!QFileInfo(path).isFile() || !dir.exists() ||
            !dir.isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System))
            return false;
        bool listed = false;
        const QStringList entries = archiveEntries(unzip, path, listed);
        if (!listed || entries.isEmpty())
            return false;
        for (const QString& entry : entries)
            if (!isSafeArchiveEntry(entry))
                return false;
        if (!ExecutaEAguarda(
                unzip, {QStringLiteral("-q"), QStringLiteral("-o"), path, QStringLiteral("-d"), target}))
            return false;
        QDirIterator it(target, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QFileInfo info(it.next());
            if (info.isSymLink() || !(info.isFile() || info.isDir()))
                return false;
        }
        return true;
    };
    if (!unpacked()) {
        prompts.error(QString::fromUtf8(unpackFailed));
        return false;
    }
    return true;
}

bool ConteudoArquivo(const QString& archive, QStringList& entries) {
    entries.clear();
    const QString unzip = ExternalPrograms::find(QStringLiteral("unzip"));
    const QString path = absoluteFromBase(archive);
    if (unzip.isEmpty() || !QFileInfo(path).isFile())
        return false;
    bool listed = false;
    entries = archiveEntries(unzip, path, listed);
    if (!listed)
        entries.clear();
    return listed;
}

bool CompactaArquivos(Prompts& prompts, const QStringList& files, const QString& archive) {
    BusyScope busy(prompts);
    // The archiver is looked for before anything is touched, so a missing one destroys nothing.
    const QString zip = ExternalPrograms::find(QStringLiteral("zip"));
    if (zip.isEmpty()) {
        prompts.error(QString::fromUtf8(zipNotFound));
        return false;
    }
    const QString target = absoluteFromBase(archive);
    QStringList inputs;
    if (!expandInputs(files, target, inputs) || !pack(zip, inputs, target)) {
        prompts.error(QString::fromUtf8(packFailed));
        return false;
    }
    return true;
}

bool DescompactaArquivo(Prompts& prompts, const QString& archive, const QString& directory) {
    BusyScope busy(prompts);
    const QString unzip = ExternalPrograms::find(QStringLiteral("unzip"));
    if (unzip.isEmpty()) {
        prompts.error(QString::fromUtf8(unzipNotFound));
        return false;
    }
    if (!unpack(unzip, absoluteFromBase(archive), absoluteFromBase(directory))) {
        prompts.error(QString::fromUtf8(unpackFailed));
        return false;
    }
    return true;
}
