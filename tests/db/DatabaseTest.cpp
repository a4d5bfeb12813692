#include "Database.h"
#include "SampleReference.h"
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

TEST(SampleReference, LoadsWithTheAccreditationsOfTheGivenAcronym) {
    TestHome home;
    QSqlDatabase db = home.openDatabase();
    loadSampleReference(db, "OCC1");
    EXPECT_EQ(Sql::scalar(db, "SELECT NomePais FROM PAIS WHERE CodigoPais = 'BR'").toString(), "Brasil");
    Sql::execute(db, "INSERT INTO CONFIG_LOCAL (SiglaCertificador) VALUES ('OCC1')");
    QSqlQuery q = Sql::exec(db, "SELECT P.IdClasseProd FROM CLASSE_P P, CONFIG_LOCAL C, CREDENCIAMENTO CC "
                                "WHERE P.IdClasseProd = CC.IdClasseProd AND C.SiglaCertificador = "
                                "CC.SiglaCertificador ORDER BY 1");
    QList<int> classes;
    while (q.next())
        classes << q.value(0).toInt();
    EXPECT_EQ(classes, (QList<int>{110, 110, 200}));
}
