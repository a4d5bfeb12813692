#include "StartDirectory.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString StartDirectory::documents() {
    const QString documentos = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documentos.isEmpty() && QFileInfo(documentos).isDir() ? documentos : QDir::homePath();
}

QString StartDirectory::base() const {
    return !last_.isEmpty() && QFileInfo(last_).isDir() ? last_ : documents();
}

QString StartDirectory::forRequest(const QString& asked) const {
    if (asked.trimmed().isEmpty())
        return base();
    const QFileInfo info(asked);
    if (info.isRelative())
        return QDir(base()).filePath(asked);
    if (info.isDir() || QFileInfo(info.absolutePath()).isDir())
        return asked;
    return base();
}

void StartDirectory::chosen(const QString& path) {
    if (path.isEmpty())
        return;
    const QFileInfo info(path);
    last_ = info.isDir() ? info.absoluteFilePath() : info.absolutePath();
}
