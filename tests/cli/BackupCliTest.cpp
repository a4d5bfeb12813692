#include "Backups.h"
#include "CliFixture.h"

#include <QDir>
#include <QFile>

namespace {

int rowsIn(const QString& file) {
    int rows = -1;
    {
        QSqlDatabase other = Database::open(file, QStringLiteral("conferencia"));
        rows = Sql::scalar(other, QStringLiteral("SELECT count(*) FROM CONTROLE")).toInt();
    }
    Database::close(QStringLiteral("conferencia"));
    return rows;
}

TEST_F(Cli, CopiesAreMadeListedAndRestored) {
    Sql::execute(db, "INSERT INTO CONTROLE (NumeroRemessa, Evento) VALUES ('2026121101', 'PR')");
    const QString file = home.path() + QStringLiteral("CapaCertific.db");

    // Any user may make a copy.
    const Outcome made = cli({"backup"});
    ASSERT_EQ(made.status, 0) << made.err;
    const QString copy = made.out.trimmed();
    EXPECT_TRUE(copy.startsWith(home.path() + QStringLiteral("Backup/CapaCertific-"))) << copy;
    EXPECT_TRUE(copy.endsWith(QStringLiteral("-manual.db"))) << copy;
    EXPECT_EQ(Backups::check(copy), QStringLiteral("ok"));

    const QString elsewhere = home.path() + QStringLiteral("fora.db");
    const Outcome to = cli({"backup", "--to", elsewhere});
    ASSERT_EQ(to.status, 0) << to.err;
    EXPECT_EQ(rowsIn(elsewhere), 1);
    EXPECT_EQ(cli({"backup", "--to", elsewhere}).status, 2);

    // The first run of the day made its own copy too.
    const Outcome list = cli({"backup", "list"});
    ASSERT_EQ(list.status, 0) << list.err;
    const QStringList lines = list.out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 2) << list.out;
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral("\tmanual\t") + QFileInfo(copy).fileName())) << lines[0];
    EXPECT_TRUE(lines[1].contains(QStringLiteral("\tinicio\t"))) << lines[1];

    Sql::execute(db, "DELETE FROM CONTROLE");
    // Restoring needs the certifier's configuration permission, and a confirmation.
    const Outcome refused = cli({"restore", QFileInfo(copy).fileName(), "--yes"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(refused.err.contains("Acesso negado")) << refused.err;
    const Outcome unasked = cli({"restore", QFileInfo(copy).fileName()}, "joao", "outra");
    EXPECT_EQ(unasked.status, 1) << unasked.err;
    EXPECT_EQ(rowsIn(file), 0);

    const Outcome restored = cli({"restore", QFileInfo(copy).fileName(), "--yes"}, "joao", "outra");
    ASSERT_EQ(restored.status, 0) << restored.err;
    EXPECT_EQ(rowsIn(file), 1);
    const QList<Backups::Copy> copies = Backups::list(Backups::settingsFor(file));
    ASSERT_FALSE(copies.isEmpty());
    EXPECT_EQ(copies[0].reason, Backups::Restauracao);
    EXPECT_EQ(rowsIn(copies[0].file), 0);
}

TEST_F(Cli, ADamagedDatabaseIsNotOpenedAndRestoreBringsBackTheNewestGoodCopy) {
    Sql::execute(db, "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
                     "INSERT INTO CONTROLE (NumeroRemessa, Evento, Obs) SELECT printf('%010d', i), 'PR', "
                     "printf('%090d', i) FROM n");
    const QString file = home.path() + QStringLiteral("CapaCertific.db");
    const Outcome made = cli({"backup"});
    ASSERT_EQ(made.status, 0) << made.err;
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.seek((f.size() / 2 / 4096) * 4096));
        f.write(QByteArray(3 * 4096, '\x55'));
    }

    const Outcome stopped = cli({"batch", "list"});
    EXPECT_EQ(stopped.status, 1);
    EXPECT_TRUE(stopped.err.contains(QStringLiteral("está danificado"))) << stopped.err;
    EXPECT_NE(Backups::check(file, true), QStringLiteral("ok"));

    const Outcome restored =
        cli({"restore", QFileInfo(made.out.trimmed()).fileName(), "--yes"}, "joao", "outra");
    ASSERT_EQ(restored.status, 0) << restored.err;
    EXPECT_EQ(Backups::check(file), QStringLiteral("ok"));
    EXPECT_EQ(rowsIn(file), 3000);
    EXPECT_EQ(QDir(home.path()).entryList({QStringLiteral("CapaCertific.db.danificado-*")}).size(), 1);
}

} // namespace

namespace {

// Clearing the history rewrites the batch control: a copy first, and without one nothing happens.
TEST_F(Cli, ClearingTheHistoryIsPrecededByACopyAndStopsWithoutOne) {
    Sql::execute(db, "INSERT INTO CONTROLE (NumeroRemessa, Evento) VALUES ('2026121101', 'OK')");
    blockCopies();
    const Outcome stopped = cli({"batch", "clear", "--yes"});
    EXPECT_EQ(stopped.status, 1);
    EXPECT_TRUE(stopped.err.contains("A operação não foi iniciada")) << stopped.err;
    EXPECT_EQ(Sql::scalar(db, "SELECT count(*) FROM CONTROLE").toInt(), 1);

    blockCopies(false);
    const Outcome cleared = cli({"batch", "clear", "--yes"});
    ASSERT_EQ(cleared.status, 0) << cleared.err;
    EXPECT_EQ(Sql::scalar(db, "SELECT count(*) FROM CONTROLE").toInt(), 0);
    const QList<Backups::Copy> copies = Backups::list(Backups::settingsFor(home.path() + "CapaCertific.db"));
    ASSERT_FALSE(copies.isEmpty());
    EXPECT_EQ(copies[0].reason, Backups::Limpeza);
    EXPECT_EQ(rowsIn(copies[0].file), 1);
}

TEST_F(Cli, TheCopyVerbsAreInTheHelp) {
    const Outcome general = raw({"--help"});
    for (const char* verb : {"backup [--to FILE]", "backup list", "restore FILE [--yes]"})
        EXPECT_TRUE(general.out.contains(QString::fromUtf8(verb))) << general.out;
    const Outcome backup = raw({"backup", "--help"});
    EXPECT_EQ(backup.status, 0);
    EXPECT_TRUE(backup.out.contains("Qualquer usuário")) << backup.out;
    const Outcome restore = raw({"restore", "--help"});
    EXPECT_EQ(restore.status, 0);
    EXPECT_TRUE(restore.out.contains("Configuração do Certificador")) << restore.out;
}

} // namespace
