#include "SqliteStatement.h"
#include "DbError.h"
#include "Sql.h"
#include "TestHome.h"

#include <QDateTime>
#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

class SqliteStatementTest : public ::testing::Test {
protected:
    TestHome home;
    QSqlDatabase db = home.openDatabase();

    void SetUp() override { Sql::exec(db, QStringLiteral("CREATE TEMP TABLE T (K INTEGER, V)")); }

    // typeof and text of what was stored under the key.
    QString stored(int key) {
        QSqlQuery q =
            Sql::exec(db, QStringLiteral("SELECT typeof(V) || ':' || coalesce(V, '') FROM T WHERE K = :k"),
                      {{":k", key}});
        return q.next() ? q.value(0).toString() : QString();
    }
};

// Each value is stored exactly as the Qt driver stores it, so rows written either way compare equal.
TEST_F(SqliteStatementTest, StoresEveryValueAsTheQtDriverDoes) {
    const QList<QVariant> values = {
        QVariant(42),
        QVariant(qint64(1) << 40),
        QVariant(2.5),
        QVariant(QStringLiteral("Certificação 'ç'")),
        QVariant(QDateTime(QDate(2015, 11, 10), QTime(14, 3, 59, 7))),
        QVariant(QMetaType(QMetaType::QString)),
        QVariant(QMetaType(QMetaType::QDateTime)),
        QVariant(QMetaType(QMetaType::Int)),
    };
    SqliteStatement raw(db, QStringLiteral("INSERT INTO T (K, V) VALUES (?, ?)"));
    for (int i = 0; i < values.size(); ++i) {
        raw.bind(0, 2 * i);
        raw.bind(1, values[i]);
        EXPECT_FALSE(raw.runHasRow());
        Sql::exec(db, QStringLiteral("INSERT INTO T (K, V) VALUES (:k, :v)"),
                  {{":k", 2 * i + 1}, {":v", values[i]}});
        EXPECT_EQ(stored(2 * i), stored(2 * i + 1)) << i;
    }
    EXPECT_EQ(stored(8), QStringLiteral("text:2015-11-10T14:03:59.007"));
    EXPECT_EQ(stored(10), QStringLiteral("null:"));
}

TEST_F(SqliteStatementTest, TellsWhetherAQueryGaveARowAndRunsAgain) {
    Sql::exec(db, QStringLiteral("INSERT INTO T (K, V) VALUES (1, 'a')"));
    SqliteStatement query(db, QStringLiteral("SELECT 1 FROM T WHERE K = ?"));
    query.bind(0, 1);
    EXPECT_TRUE(query.runHasRow());
    query.bind(0, 2);
    EXPECT_FALSE(query.runHasRow());
    query.bind(0, 1);
    EXPECT_TRUE(query.runHasRow());
}

TEST_F(SqliteStatementTest, FailuresAreTheUsualDbErrors) {
    EXPECT_THROW(SqliteStatement(db, QStringLiteral("SELECT * FROM NaoExiste")), DbError);
    Sql::exec(db, QStringLiteral("CREATE TEMP TABLE U (K INTEGER PRIMARY KEY)"));
    SqliteStatement insert(db, QStringLiteral("INSERT INTO U (K) VALUES (?)"));
    insert.bind(0, 1);
    insert.runHasRow();
    insert.bind(0, 1);
    try {
        insert.runHasRow();
        FAIL() << "a duplicate key was inserted";
    } catch (const DbError& e) {
        EXPECT_TRUE(e.isKeyViolation());
        EXPECT_EQ(e.message(), QStringLiteral("Key violation."));
    }
    // The statement is usable again after a failure.
    insert.bind(0, 2);
    EXPECT_NO_THROW(insert.runHasRow());
}

} // namespace
