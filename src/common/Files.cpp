#include "Files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

bool sameFile(const QString& a, const QString& b) {
    struct stat sa {
    }, sb{};
    return stat(QFile::encodeName(a).constData(), &sa) == 0 &&
           stat(QFile::encodeName(b).constData(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

bool syncToDisk(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

BlockCopy copyInBlocks(const QString& source, const QString& target, const QString& partial,
                       const std::atomic<bool>& interrupt,
                       const std::function<void(qint64, qint64)>& progress, bool syncToDisk) {
    constexpr qint64 Block = 8192;
    BlockCopy result;
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        result.error = QStringLiteral("Erro ao abrir arquivo");
        return result;
    }
    QFile out(partial);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        result.error = QStringLiteral("Erro ao criar arquivo");
        return result;
    }
    const QString writeError = QStringLiteral("Erro ao gravar arquivo");
    const qint64 total = in.size();
    qint64 done = 0;
    while (!interrupt) {
        const QByteArray block = in.read(Block);
        if (block.isEmpty()) {
            if (in.error() != QFile::NoError)
                result.error = QStringLiteral("Erro ao ler arquivo");
            break;
        }
        if (out.write(block) != block.size()) {
            result.error = writeError;
            break;
        }
        done += block.size();
        if (progress)
            progress(done, total);
    }
    result.interrupted = interrupt;
    if (result.error.isEmpty() && !result.interrupted &&
        (!out.flush() || (syncToDisk && fsync(out.handle()) != 0)))
        result.error = writeError;
    out.close();
    if (result.error.isEmpty() && !result.interrupted &&
        (done != total || QFileInfo(partial).size() != total))
        result.error = writeError;
    if (!result.error.isEmpty() || result.interrupted) {
        QFile::remove(partial);
        return result;
    }
    QFile::remove(target);
    if (!QFile::rename(partial, target)) {
        QFile::remove(partial);
        result.error = writeError;
    }
    return result;
}
