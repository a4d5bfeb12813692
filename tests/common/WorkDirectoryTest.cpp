#include "WorkDirectory.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QStringList hiddenDirectories(const QString& parent) {
    return QDir(parent).entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

void touch(const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

// A process killed while it works: it makes its working directory, writes into it and ends without
// any destructor running, as SIGKILL would leave it.
QString leftoverOfADeadProcess(const QString& parent, const QString& prefix) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return {};
    const pid_t child = fork();
    if (child == 0) {
        auto* work = new WorkDirectory(parent, prefix);
        QFile file(work->filePath(QStringLiteral("meia.DB")));
        file.open(QIODevice::WriteOnly);
        file.write("meio");
        file.close();
        const QByteArray path = work->path().toUtf8();
        [[maybe_unused]] const ssize_t written = write(pipeEnds[1], path.constData(), path.size());
        _exit(0);
    }
    close(pipeEnds[1]);
    char buffer[4096];
    const ssize_t size = read(pipeEnds[0], buffer, sizeof buffer);
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return size > 0 ? QString::fromUtf8(buffer, size) : QString();
}

TEST(WorkDirectory, IsHiddenBesideTheTargetAndGoesWithTheObject) {
    QTemporaryDir parent;
    QString path;
    {
        WorkDirectory work(parent.path(), QStringLiteral("zip"));
        ASSERT_TRUE(work.isValid());
        path = work.path();
        EXPECT_TRUE(QFileInfo(path).fileName().startsWith(QLatin1String(".zip-")));
        EXPECT_EQ(QFileInfo(path).absolutePath(), parent.path());
        touch(work.filePath(QStringLiteral("a.DB")));
    }
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_TRUE(
        QDir(parent.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());
}

TEST(WorkDirectory, TheNextRunRemovesTheLeftoverOfAKilledOne) {
    QTemporaryDir parent;
    const QString leftover = leftoverOfADeadProcess(parent.path(), QStringLiteral("sincroniza"));
    ASSERT_FALSE(leftover.isEmpty());
    ASSERT_TRUE(QFileInfo::exists(QDir(leftover).filePath(QStringLiteral("meia.DB"))));

    // Another kind of working directory in the same place leaves it alone.
    { WorkDirectory other(parent.path(), QStringLiteral("zip")); }
    EXPECT_TRUE(QFileInfo::exists(leftover));

    WorkDirectory next(parent.path(), QStringLiteral("sincroniza"));
    ASSERT_TRUE(next.isValid());
    EXPECT_FALSE(QFileInfo::exists(leftover));
    EXPECT_FALSE(QFileInfo::exists(leftover + ".lock"));
    EXPECT_EQ(hiddenDirectories(parent.path()), QStringList{QFileInfo(next.path()).fileName()});
}

TEST(WorkDirectory, OneInUseIsNeverTakenForALeftover) {
    QTemporaryDir parent;
    WorkDirectory first(parent.path(), QStringLiteral("versao"));
    touch(first.filePath(QStringLiteral("TAB.DB")));
    WorkDirectory second(parent.path(), QStringLiteral("versao"));
    EXPECT_EQ(WorkDirectory::removeLeftovers(parent.path(), QStringLiteral("versao")), 0);
    EXPECT_TRUE(QFileInfo::exists(first.filePath(QStringLiteral("TAB.DB"))));
    EXPECT_TRUE(QFileInfo::exists(second.path()));
}

TEST(WorkDirectory, OneKeptForItsFilesStays) {
    QTemporaryDir parent;
    QString path;
    {
        WorkDirectory work(parent.path(), QStringLiteral("zip"));
        touch(work.filePath(QStringLiteral("pacote.zip")));
        work.keep();
        path = work.path();
    }
    WorkDirectory next(parent.path(), QStringLiteral("zip"));
    EXPECT_TRUE(QFileInfo::exists(QDir(path).filePath(QStringLiteral("pacote.zip"))));
}

// Only what a killed run of ours can have left is removed: the exact hidden name, and either empty
// (killed before its lock was written) or holding a lock no process holds.
TEST(WorkDirectory, NothingButItsOwnLeftoversIsRemoved) {
    QTemporaryDir parent;
    // A lock left without its directory, by a process long gone.
    const QString orphan = leftoverOfADeadProcess(parent.path(), QStringLiteral("zip"));
    ASSERT_TRUE(QDir(orphan).removeRecursively());
    ASSERT_TRUE(QFileInfo::exists(orphan + ".lock"));

    const QDir dir(parent.path());
    const QStringList kept{QStringLiteral(".zip-abc123"), QStringLiteral(".zip-abc12"),
                           QStringLiteral("zip-abc124"), QStringLiteral(".zipx-abc125"),
                           QStringLiteral(".sincroniza-abc126")};
    for (const QString& name : kept)
        ASSERT_TRUE(dir.mkdir(name));
    touch(dir.filePath(QStringLiteral(".zip-abc123/documento.txt"))); // no lock: not ours
    ASSERT_TRUE(dir.mkdir(QStringLiteral(".zip-Empty9")));
    EXPECT_EQ(WorkDirectory::removeLeftovers(parent.path(), QStringLiteral("zip")), 1);
    QStringList expected = kept, left = hiddenDirectories(parent.path());
    expected.sort();
    left.sort();
    EXPECT_EQ(left, expected);
    EXPECT_FALSE(QFileInfo::exists(orphan + ".lock"));
}

} // namespace
