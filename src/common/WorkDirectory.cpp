#include "WorkDirectory.h"

#include <QDir>
#include <QRegularExpression>

namespace {

QString templateOf(const QString& parent, const QString& prefix) {
    return QDir(parent).filePath(QLatin1Char('.') + prefix + QStringLiteral("-XXXXXX"));
}

QString lockOf(const QString& directory) {
    return directory + QStringLiteral(".lock");
}

// True when no living process holds the lock; the lock is then taken, and released (deleting its
// file) when `lock` goes.
bool takeStale(QLockFile& lock) {
    // A lock whose process is gone is stale at once; a living one's is never taken, however old.
    lock.setStaleLockTime(0);
    return lock.tryLock(0);
}

} // namespace

WorkDirectory::WorkDirectory(const QString& parent, const QString& prefix)
    : directory_((removeLeftovers(parent, prefix), templateOf(parent, prefix))) {
    if (!directory_.isValid())
        return;
    auto lock = std::make_unique<QLockFile>(lockOf(directory_.path()));
    if (lock->tryLock(0))
        lock_ = std::move(lock);
}

void WorkDirectory::keep() {
    directory_.setAutoRemove(false);
    lock_.reset();
}

int WorkDirectory::removeLeftovers(const QString& parent, const QString& prefix) {
    // QTemporaryDir replaces the six X with letters and digits.
    const QString name = QStringLiteral("\\.%1-[A-Za-z0-9]{6}").arg(QRegularExpression::escape(prefix));
    const QRegularExpression directoryName(QLatin1Char('^') + name + QLatin1Char('$'));
    const QRegularExpression lockName(QLatin1Char('^') + name + QStringLiteral("\\.lock$"));
    const QDir dir(parent);
    int removed = 0;
    for (const QString& entry :
         dir.entryList(QDir::Dirs | QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot | QDir::NoSymLinks)) {
        const QString path = dir.filePath(entry);
        if (directoryName.match(entry).hasMatch()) {
            if (!QFileInfo::exists(lockOf(path))) {
                // Killed before its lock was written, or not ours: only an empty one goes.
                removed += dir.rmdir(entry) ? 1 : 0;
                continue;
            }
            QLockFile lock(lockOf(path));
            if (takeStale(lock))
                removed += QDir(path).removeRecursively() ? 1 : 0;
        } else if (lockName.match(entry).hasMatch() && !QFileInfo::exists(path.chopped(5))) {
            // Killed after its directory went and before its lock did.
            QLockFile lock(path);
            takeStale(lock);
        }
    }
    return removed;
}
