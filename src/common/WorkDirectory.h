#pragma once

#include <QLockFile>
#include <QString>
#include <QTemporaryDir>
#include <memory>

// A hidden working directory ".<prefix>-XXXXXX" made beside the files an operation writes (so a
// rename out of it stays on one file system) and removed when the object goes. A process killed
// midway cannot remove it: beside it lies a lock ".<prefix>-XXXXXX.lock" naming its process, and the
// next working directory made with the same prefix in the same place first removes those whose
// process is gone. Nothing else is touched: a directory of that name that holds files but has no
// lock is not taken for one of ours.
class WorkDirectory {
public:
    WorkDirectory(const QString& parent, const QString& prefix);
    WorkDirectory(const WorkDirectory&) = delete;
    WorkDirectory& operator=(const WorkDirectory&) = delete;

    bool isValid() const { return lock_ != nullptr; }
    QString path() const { return directory_.path(); }
    QString filePath(const QString& name) const { return directory_.filePath(name); }

    // Keeps the directory and what it holds (the files are worth more than the tidiness); its lock
    // goes, so no later run takes it for a leftover.
    void keep();

    // Removes the leftovers of killed runs: directories ".<prefix>-XXXXXX" in `parent` that are
    // empty or whose lock no living process holds, and such locks left without their directory.
    // Returns how many directories were removed.
    static int removeLeftovers(const QString& parent, const QString& prefix);

private:
    // Declared first so that it goes last: the directory is removed while still locked.
    std::unique_ptr<QLockFile> lock_;
    QTemporaryDir directory_;
};
