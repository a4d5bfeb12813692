#include "TDMCapaSistema.h"
#include "Clock.h"
#include "Database.h"
#include "DbError.h"
#include "Paths.h"
#include "ScriptedPrompts.h"
#include "Session.h"
#include "TestHome.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

struct CapaSistema : ::testing::Test {
    TestHome home;
    ManualClock clock{QDateTime(QDate(2015, 11, 25), QTime(10, 0))};
    ScriptedPrompts prompts;
    Session session{Database::ConnectionName, clock, prompts};
    TDMCapaSistema dm{session};
};

} // namespace

TEST_F(CapaSistema, OpensTheDatabaseOnFirstUseOnly) {
    EXPECT_FALSE(QFileInfo::exists(Paths::databaseFile()));
    EXPECT_FALSE(session.database().isOpen());
    QSqlDatabase db = dm.database();
    EXPECT_TRUE(db.isOpen());
    EXPECT_TRUE(QFileInfo::exists(Paths::databaseFile()));
    EXPECT_EQ(db.connectionName(), Database::ConnectionName);
    EXPECT_TRUE(session.database().isOpen());
}

TEST_F(CapaSistema, AcronymOfTheConfigurationRow) {
    EXPECT_EQ(dm.siglaCertificadorConfigurada(), QString());
    EXPECT_EQ(dm.siglaCertificador(), QString());

    ASSERT_SQL(dm.database(), "INSERT INTO CONFIG_LOCAL (SiglaCertificador) VALUES ('OCC-SP')");
    EXPECT_EQ(dm.siglaCertificadorConfigurada(), QStringLiteral("OCC-SP"));
    EXPECT_EQ(dm.siglaCertificador(), QStringLiteral("OCC-SP"));

    ASSERT_SQL(dm.database(), "DELETE FROM CONFIG_LOCAL");
    EXPECT_EQ(dm.siglaCertificadorConfigurada(), QString());
    EXPECT_EQ(dm.siglaCertificador(), QString());
}

TEST_F(CapaSistema, UnreadableDatabaseIsADbError) {
    QFile garbage(Paths::databaseFile());
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write(QByteArray(4096, 'x'));
    garbage.close();
    EXPECT_THROW(dm.siglaCertificadorConfigurada(), DbError);
}
