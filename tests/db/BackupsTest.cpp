#include "Backups.h"
#include "Database.h"
#include "DbError.h"
#include "Paths.h"
#include "ScriptedPrompts.h"
#include "Sql.h"
#include "TestHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

const QDateTime Morning(QDate(2026, 12, 11), QTime(14, 5, 1));

// A database with enough rows to span many pages, closed.
QString populatedDatabase(TestHome& home, int rows = 3000) {
    {
        QSqlDatabase db = home.openDatabase();
        Sql::execute(
            db, QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                               "INSERT INTO CONTROLE (NumeroRemessa, Evento, Obs) SELECT printf('%010d', i), "
                               "'PR', printf('%090d', i) FROM n")
                    .arg(rows));
    }
    Database::close();
    return Paths::databaseFile();
}

int rowsOf(const QString& file) {
    int rows = -1;
    {
        QSqlDatabase db = Database::open(file, QStringLiteral("contagem"));
        rows = Sql::scalar(db, QStringLiteral("SELECT count(*) FROM CONTROLE")).toInt();
    }
    Database::close(QStringLiteral("contagem"));
    return rows;
}

QByteArray bytesOf(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Overwrites a run of pages in the middle of the file, as a bad sector would.
void damage(const QString& file) {
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    const qint64 middle = (f.size() / 2 / 4096) * 4096;
    ASSERT_TRUE(f.seek(middle));
    ASSERT_EQ(f.write(QByteArray(3 * 4096, '\x55')), 3 * 4096);
}

Backups::Settings settingsIn(const TestHome& home, int kept = Backups::DefaultKept) {
    return {home.path() + QStringLiteral("Backup/"), kept};
}

} // namespace

TEST(Backups, ACopyIsVerifiedAndNamedAfterWhatMadeIt) {
    TestHome home;
    const QString file = populatedDatabase(home);
    const QString copy = Backups::make(file, Backups::Importacao, Morning, settingsIn(home));

    EXPECT_EQ(QFileInfo(copy).fileName(), QStringLiteral("CapaCertific-20261211-140501-importacao.db"));
    EXPECT_EQ(Backups::check(copy), QStringLiteral("ok"));
    EXPECT_EQ(rowsOf(copy), 3000);
    EXPECT_FALSE(QFileInfo::exists(copy + QStringLiteral(".parcial")));
    const QList<Backups::Copy> copies = Backups::list(settingsIn(home));
    ASSERT_EQ(copies.size(), 1);
    EXPECT_EQ(copies[0].reason, Backups::Importacao);
    EXPECT_EQ(copies[0].when, Morning);
    EXPECT_EQ(copies[0].size, QFileInfo(copy).size());
    EXPECT_EQ(Backups::describeReason(copies[0].reason), QStringLiteral("importação de texto"));
}

TEST(Backups, OnlyTheNewestAreKept) {
    TestHome home;
    const QString file = populatedDatabase(home, 10);
    const Backups::Settings settings = settingsIn(home, 3);
    // Two in the same second as well: both are kept apart, the later one counted newer.
    const QList<QDateTime> times{Morning, Morning.addSecs(60), Morning.addSecs(120), Morning.addSecs(180),
                                 Morning.addSecs(180)};
    QStringList made;
    for (const QDateTime& when : times)
        made << Backups::make(file, Backups::Manual, when, settings);

    const QList<Backups::Copy> copies = Backups::list(settings);
    ASSERT_EQ(copies.size(), 3);
    EXPECT_EQ(copies[0].file, made[4]);
    EXPECT_EQ(copies[1].file, made[3]);
    EXPECT_EQ(copies[2].file, made[2]);
    EXPECT_TRUE(made[4].endsWith(QStringLiteral("-20261211-140801-2-manual.db"))) << made[4].toStdString();
    EXPECT_FALSE(QFileInfo::exists(made[0]));
    EXPECT_FALSE(QFileInfo::exists(made[1]));
}

TEST(Backups, TheConfigurationFileSetsHowManyAndWhere) {
    TestHome home;
    {
        QFile conf(Paths::settingsFile());
        ASSERT_TRUE(conf.open(QIODevice::WriteOnly));
        conf.write("[copias]\nQuantidade=4\nDiretorio=outro/lugar\n");
    }
    const Backups::Settings settings = Backups::settingsFor(home.path() + QStringLiteral("CapaCertific.db"));
    EXPECT_EQ(settings.kept, 4);
    EXPECT_EQ(settings.directory, home.path() + QStringLiteral("outro/lugar/"));

    QFile::remove(Paths::settingsFile());
    const Backups::Settings defaults = Backups::settingsFor(home.path() + QStringLiteral("CapaCertific.db"));
    EXPECT_EQ(defaults.kept, 10);
    EXPECT_EQ(defaults.directory, home.path() + QStringLiteral("Backup/"));
}

TEST(Backups, ACopyThatCannotBeWrittenIsReportedAndLeavesNothing) {
    TestHome home;
    const QString file = populatedDatabase(home, 10);
    // The directory's place is taken by a file.
    QFile blocker(home.path() + QStringLiteral("Backup"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_THROW(Backups::make(file, Backups::Manual, Morning, settingsIn(home)), DbError);

    // Before an operation the message says the operation did not start.
    try {
        Backups::before(home.openDatabase(), Backups::Limpeza);
        FAIL() << "the copy should have failed";
    } catch (const DbError& failure) {
        EXPECT_TRUE(failure.message().contains(QStringLiteral("A operação não foi iniciada")))
            << failure.message().toStdString();
    }
}

TEST(Backups, ADamagedCopyIsNeitherOfferedNorRestored) {
    TestHome home;
    const QString file = populatedDatabase(home);
    const Backups::Settings settings = settingsIn(home);
    const QString good = Backups::make(file, Backups::Manual, Morning, settings);
    const QString bad = Backups::make(file, Backups::Manual, Morning.addSecs(60), settings);
    damage(bad);
    EXPECT_NE(Backups::check(bad), QStringLiteral("ok"));

    const QByteArray before = bytesOf(file);
    EXPECT_THROW(Backups::restore(bad, file, Morning.addSecs(120), settings), DbError);
    EXPECT_EQ(bytesOf(file), before);
    ASSERT_TRUE(Backups::newestGood(settings).has_value());
    EXPECT_EQ(Backups::newestGood(settings)->file, good);
}

TEST(Backups, RestoringKeepsACopyOfWhatItReplaces) {
    TestHome home;
    const QString file = populatedDatabase(home, 5);
    const Backups::Settings settings = settingsIn(home);
    const QString copy = Backups::make(file, Backups::Manual, Morning, settings);
    {
        QSqlDatabase db = home.openDatabase();
        Sql::execute(db, QStringLiteral("DELETE FROM CONTROLE"));
    }
    Database::close();

    const QString kept = Backups::restore(copy, file, Morning.addSecs(60), settings);
    EXPECT_EQ(rowsOf(file), 5);
    EXPECT_EQ(QFileInfo(kept).fileName(), QStringLiteral("CapaCertific-20261211-140601-restauracao.db"));
    EXPECT_EQ(rowsOf(kept), 0);
}

TEST(Backups, ADatabaseOfANewerVersionIsRefusedUntouched) {
    TestHome home;
    const QString file = populatedDatabase(home, 5);
    {
        QSqlDatabase db = home.openDatabase();
        Sql::execute(db, QStringLiteral("PRAGMA user_version = %1").arg(Database::SchemaVersion + 1));
    }
    Database::close();
    const QByteArray before = bytesOf(file);

    try {
        Database::open(file);
        FAIL() << "a newer database should be refused";
    } catch (const DbError& failure) {
        EXPECT_EQ(failure.message(), Database::newerVersionMessage(file, Database::SchemaVersion + 1));
    }
    ScriptedPrompts prompts;
    EXPECT_FALSE(Backups::startupCheck(file, prompts, Morning));
    EXPECT_EQ(prompts.lastText(), Database::newerVersionMessage(file, Database::SchemaVersion + 1));
    EXPECT_EQ(bytesOf(file), before);
    EXPECT_TRUE(Backups::list(settingsIn(home)).isEmpty());
}

TEST(Backups, TheFirstStartOfTheDayMakesOneCopy) {
    TestHome home;
    const QString file = populatedDatabase(home, 5);
    ScriptedPrompts prompts;
    EXPECT_TRUE(Backups::startupCheck(file, prompts, Morning));
    EXPECT_TRUE(Backups::startupCheck(file, prompts, Morning.addSecs(3600)));
    EXPECT_TRUE(Backups::startupCheck(file, prompts, Morning.addDays(1)));
    const QList<Backups::Copy> copies = Backups::list(settingsIn(home));
    ASSERT_EQ(copies.size(), 2);
    EXPECT_EQ(copies[0].when, Morning.addDays(1));
    EXPECT_EQ(copies[1].when, Morning);
    EXPECT_EQ(copies[0].reason, Backups::Inicio);
    EXPECT_TRUE(prompts.shown().isEmpty());
}

// A bad disk overwrites pages in the middle of a populated database: the start finds it, offers
// the newest good copy, and "Sim" brings it back with the damaged file kept aside.
TEST(Backups, ADamagedDatabaseIsFoundAtStartAndRestoredFromTheNewestGoodCopy) {
    TestHome home;
    const QString file = populatedDatabase(home);
    const Backups::Settings settings = settingsIn(home);
    Backups::make(file, Backups::Manual, Morning.addSecs(-60), settings);
    const QString newest = Backups::make(file, Backups::Inicio, Morning, settings);
    damage(file);
    const QByteArray damaged = bytesOf(file);

    {
        // "Não": the program stops and the damaged file is not written.
        ScriptedPrompts prompts;
        prompts.planAnswer(PromptAnswer::No);
        EXPECT_FALSE(Backups::startupCheck(file, prompts, Morning.addSecs(60)));
        ASSERT_EQ(prompts.shown().size(), 1);
        EXPECT_EQ(prompts.shown()[0].kind, PromptKind::YesNo);
        EXPECT_TRUE(prompts.shown()[0].text.contains(QStringLiteral("está danificado")));
        EXPECT_TRUE(prompts.shown()[0].text.contains(QStringLiteral("11/12/2026 14:05:01")));
        EXPECT_EQ(bytesOf(file), damaged);
    }

    ScriptedPrompts prompts;
    prompts.planAnswer(PromptAnswer::Yes);
    EXPECT_TRUE(Backups::startupCheck(file, prompts, Morning.addSecs(60)));
    EXPECT_EQ(Backups::check(file, true), QStringLiteral("ok"));
    EXPECT_EQ(rowsOf(file), 3000);
    EXPECT_EQ(bytesOf(file), bytesOf(newest));
    const QString aside = file + QStringLiteral(".danificado-20261211-140601");
    EXPECT_EQ(bytesOf(aside), damaged);
}

TEST(Backups, ADamagedDatabaseWithoutAGoodCopyIsLeftAlone) {
    TestHome home;
    const QString file = populatedDatabase(home);
    damage(file);
    const QByteArray damaged = bytesOf(file);
    ScriptedPrompts prompts;
    EXPECT_FALSE(Backups::startupCheck(file, prompts, Morning));
    EXPECT_EQ(prompts.lastText(), Backups::damagedWithoutCopyMessage(file, Backups::check(file, true),
                                                                     settingsIn(home).directory));
    EXPECT_EQ(bytesOf(file), damaged);
}
