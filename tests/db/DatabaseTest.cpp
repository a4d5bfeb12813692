#include "Database.h"
#include "Sql.h"
#include "TestHome.h"
#include "Transaction.h"

#include <QFileInfo>
#include <QSqlError>
#include <gtest/gtest.h>

TEST(Database, MissingFileIsCreatedFromTheSchema) {
    TestHome home;
    EXPECT_FALSE(QFileInfo::exists(home.path() + "CapaCertific.db"));
    QSqlDatabase db = home.openDatabase();
    EXPECT_TRUE(QFileInfo::exists(home.path() + "CapaCertific.db"));
    EXPECT_EQ(Sql::scalar(db, "PRAGMA user_version").toInt(), Database::SchemaVersion);
}
