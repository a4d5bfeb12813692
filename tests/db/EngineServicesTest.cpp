#include "EngineServices.h"
#include "Database.h"
#include "ParadoxTable.h"
#include "Sql.h"
#include "TestHome.h"
#include "Transaction.h"

#include <QDir>
#include <QSqlError>
#include <QSqlRecord>
#include <gtest/gtest.h>

namespace {

// A live table in the project's declared types, with a composite key, and its replica.
const char* const ItemColumns = R"(
    Sigla VARCHAR(8) NOT NULL CHECK (length(Sigla) <= 8),
    Num VARCHAR(30) NOT NULL CHECK (length(Num) <= 30),
    Descricao VARCHAR(255) CHECK (length(Descricao) <= 255),
    Qtd SMALLINT CHECK (typeof(Qtd) IN ('integer', 'null') AND Qtd BETWEEN -32768 AND 32767),
    Total INTEGER,
    Ativo BOOLEAN CHECK (Ativo IN (0, 1)),
    DthUltAtualiz DATETIME,
    PRIMARY KEY (Sigla, Num))";

QDateTime at(int y, int mo, int d, int h, int mi, int s, int ms = 0) {
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s, ms));
}

QVariant null() {
    return QVariant();
}

class EngineServicesTest : public ::testing::Test {
protected:
    void SetUp() override {
        db = home.openDatabase();
        Sql::execute(db, QStringLiteral("CREATE TABLE ITEM (%1)").arg(ItemColumns));
        Sql::execute(db, QStringLiteral("CREATE TABLE REP_ITEM (%1)").arg(ItemColumns));
    }

    void insertItem(const QString& table, const QString& sigla, const QString& num, const QVariant& descricao,
                    const QVariant& qtd, const QVariant& total, const QVariant& ativo,
                    const QVariant& quando) {
        Sql::execute(db, QStringLiteral("INSERT INTO %1 VALUES (:s, :n, :d, :q, :t, :a, :w)").arg(table),
                     {{":s", sigla},
                      {":n", num},
                      {":d", descricao},
                      {":q", qtd},
                      {":t", total},
                      {":a", ativo},
                      {":w", quando}});
    }

    // Every row of a table as text, ordered by key, NULL shown apart from the empty text.
    QStringList rowsOf(const QString& table) {
        QSqlQuery query = Sql::exec(db, QStringLiteral("SELECT * FROM %1 ORDER BY Sigla, Num").arg(table));
        QStringList rows;
        while (query.next()) {
            QStringList values;
            for (int i = 0; i < query.record().count(); ++i)
                values.append(query.isNull(i) ? QStringLiteral("<NULL>") : query.value(i).toString());
            rows.append(values.join(QLatin1Char('|')));
        }
        return rows;
    }

    QString file(const QString& name) const { return home.path() + name; }

    TestHome home;
    QSqlDatabase db;
};

TEST_F(EngineServicesTest, FieldsFollowTheDeclaredTypes) {
    ASSERT_SQL(db, "CREATE TABLE AUTO (Id INTEGER PRIMARY KEY AUTOINCREMENT, Nome VARCHAR(40))");
    const QList<ParadoxField> expected = {ParadoxField::alpha("Sigla", 8),
                                          ParadoxField::alpha("Num", 30),
                                          ParadoxField::alpha("Descricao", 255),
                                          ParadoxField::of("Qtd", ParadoxField::Short),
                                          ParadoxField::of("Total", ParadoxField::Long),
                                          ParadoxField::of("Ativo", ParadoxField::Logical),
                                          ParadoxField::of("DthUltAtualiz", ParadoxField::Timestamp)};
    EXPECT_EQ(EngineServices::paradoxFieldsOf(db, "item"), expected);
    EXPECT_EQ(
        EngineServices::paradoxFieldsOf(db, "AUTO"),
        (QList<ParadoxField>{ParadoxField::of("Id", ParadoxField::Long), ParadoxField::alpha("Nome", 40)}));

    ASSERT_SQL(db, "CREATE TABLE ESTRANHA (Valor REAL)");
    ASSERT_SQL(db, "CREATE TABLE LARGA (Texto VARCHAR(300))");
    for (const char* table : {"ESTRANHA", "LARGA", "NAO_EXISTE"})
        EXPECT_THROW(EngineServices::paradoxFieldsOf(db, table), DbError) << table;
}

TEST_F(EngineServicesTest, LiveRowsGoThroughAParadoxFileUnchanged) {
    insertItem("ITEM", "OCP", "001/2024", "Certificação Ação ÇÃO", -32767, -2147483647, 1,
               at(2079, 12, 31, 23, 59, 59));
    insertItem("ITEM", "OCP", "002/2024", "€ – “x”", 32767, 2147483647, 0, at(1900, 1, 1, 0, 0, 0));
    insertItem("ITEM", "OCP", "003/2024", null(), null(), null(), null(), null());
    insertItem("ITEM", "OCP", "004/2024", "x", 0, 0, 1, at(2024, 2, 29, 12, 34, 56, 789));
    insertItem("ITEM", "OUTRO", "999", "não copiado", 1, 1, 1, null());

    const QString path =
        EngineServices::createParadoxFromTable(db, "ITEM", home.path(), "ITEM_I.DB", "pavrolitenc");
    EXPECT_EQ(path, file("ITEM_I.DB"));
    EXPECT_EQ(EngineServices::appendQueryToParadox(db, "SELECT * FROM ITEM WHERE Sigla = :s ORDER BY Num",
                                                   {{":s", "OCP"}}, path),
              4);

    const EngineServices::ParadoxContent content = EngineServices::readParadoxRows(path);
    EXPECT_EQ(content.fieldNames,
              QStringList({"Sigla", "Num", "Descricao", "Qtd", "Total", "Ativo", "DthUltAtualiz"}));
    ASSERT_EQ(content.rows.size(), 4);
    EXPECT_EQ(content.rows[0], (ParadoxRow{"OCP", "001/2024", "Certificação Ação ÇÃO", -32767, -2147483647,
                                           true, at(2079, 12, 31, 23, 59, 59)}));
    for (const QVariant& value : content.rows[2].mid(2))
        EXPECT_TRUE(value.isNull());

    // Back into the replica: the same text in every column, milliseconds included.
    EXPECT_EQ(EngineServices::appendParadoxToTable(db, path, "REP_ITEM"), 4);
    Sql::execute(db, "DELETE FROM ITEM WHERE Sigla = 'OUTRO'");
    EXPECT_EQ(rowsOf("REP_ITEM"), rowsOf("ITEM"));
    EXPECT_EQ(rowsOf("REP_ITEM")[3], "OCP|004/2024|x|0|0|1|2024-02-29T12:34:56.789");
}

TEST_F(EngineServicesTest, QueryAndTableMustHaveTheSameColumnCount) {
    const QString path = EngineServices::createParadoxFromTable(db, "ITEM", home.path(), "ITEM_A.DB");
    EXPECT_THROW(EngineServices::appendQueryToParadox(db, "SELECT Sigla, Num FROM ITEM", {}, path), DbError);
    EXPECT_THROW(EngineServices::createParadoxFromTable(db, "ITEM", home.path(), "ITEM_A.DB"), DbError);
}

TEST_F(EngineServicesTest, ATooLongValueIsRefusedWithItsTableAndField) {
    ASSERT_SQL(db, "CREATE TABLE CURTA (Sigla VARCHAR(3))");
    const QString path = EngineServices::createParadoxFromTable(db, "CURTA", home.path(), "CURTA.DB");
    try {
        // The live column is unchecked here, so the value reaches the writer as it is.
        EngineServices::appendQueryToParadox(db, "SELECT 'ABCD'", {}, path);
        FAIL() << "accepted";
    } catch (const DbError& error) {
        EXPECT_TRUE(error.message().contains("CURTA.DB")) << error.what();
        EXPECT_TRUE(error.message().contains("Sigla tem 4 caracteres e o campo comporta 3")) << error.what();
    }
    EXPECT_EQ(ParadoxTable::open(path).recordCount(), 0);
}

TEST_F(EngineServicesTest, ParadoxToParadoxAppendsSameLayoutOnly) {
    const QString source = EngineServices::createParadoxFromTable(db, "ITEM", home.path(), "ORIGEM.DB");
    const QString destination = EngineServices::createParadoxFromTable(db, "ITEM", home.path(), "DESTINO.DB");
    const ParadoxRow row = {"OCP", "1", "um", 1, 2, false, at(2001, 2, 3, 4, 5, 6)};
    ParadoxTable::open(source).appendRow(row);
    ParadoxTable::open(destination).appendRow(ParadoxRow{"OCP", "0", null(), null(), null(), null(), null()});

    EXPECT_EQ(EngineServices::appendParadoxToParadox(source, destination), 1);
    const QList<ParadoxRow> rows = EngineServices::readParadoxRows(destination).rows;
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[1], row);

    ParadoxTable::create(file("OUTRA.DB"), {ParadoxField::alpha("Sigla", 8)}).close();
    EXPECT_THROW(EngineServices::appendParadoxToParadox(source, file("OUTRA.DB")), DbError);
    EXPECT_THROW(EngineServices::appendParadoxToParadox(source, source), DbError);
}

// A package file: columns in another order, one the table lacks.
QString packageFile(const QString& path, const QList<ParadoxRow>& rows) {
    ParadoxTable table =
        ParadoxTable::create(path, {ParadoxField::alpha("NUM", 30), ParadoxField::alpha("Extra", 10),
                                    ParadoxField::alpha("sigla", 8), ParadoxField::alpha("Descricao", 255),
                                    ParadoxField::of("Ativo", ParadoxField::Logical),
                                    ParadoxField::of("DthUltAtualiz", ParadoxField::Timestamp)});
    table.append(rows);
    return path;
}

TEST_F(EngineServicesTest, AppendOrUpdateReplacesByKeyAndAddsTheRest) {
    insertItem("ITEM", "OCP", "1", "antigo", 5, 50, 0, at(2020, 1, 1, 0, 0, 0));
    insertItem("ITEM", "OCP", "2", "intocado", 6, 60, 1, at(2020, 1, 2, 0, 0, 0));
    const QStringList before = rowsOf("ITEM");
    const QString path =
        packageFile(file("ITEM.DB"), {{"1", "ignorado", "OCP", "novo ção", true, at(2024, 3, 4, 5, 6, 7, 8)},
                                      {"3", null(), "OCP", null(), false, null()}});

    EXPECT_EQ(EngineServices::appendOrUpdateFromParadox(db, path, "item"), 2);
    EXPECT_EQ(rowsOf("ITEM"), QStringList({"OCP|1|novo ção|5|50|1|2024-03-04T05:06:07.008", before[1],
                                           "OCP|3|<NULL>|<NULL>|<NULL>|0|<NULL>"}));
}

TEST_F(EngineServicesTest, RemoveByKeyDeletesExactlyTheMatchingKeys) {
    for (const char* num : {"1", "2", "3"})
        insertItem("ITEM", "OCP", num, "x", 1, 1, 1, null());
    insertItem("ITEM", "OUTRO", "1", "mesmo número, outra sigla", 1, 1, 1, null());
    const QString path = packageFile(file("ITEM_E.DB"), {{"1", null(), "OCP", null(), null(), null()},
                                                         {"3", null(), "OCP", null(), null(), null()},
                                                         {"9", null(), "OCP", null(), null(), null()}});

    EXPECT_EQ(EngineServices::removeByKeyFromParadox(db, path, "ITEM"), 2);
    EXPECT_EQ(rowsOf("ITEM"),
              QStringList({"OCP|2|x|1|1|1|<NULL>", "OUTRO|1|mesmo número, outra sigla|1|1|1|<NULL>"}));
}

TEST_F(EngineServicesTest, ARolledBackTransactionLeavesNoTrace) {
    insertItem("ITEM", "OCP", "1", "antigo", 5, 50, 0, null());
    insertItem("ITEM", "OCP", "2", "outro", 6, 60, 1, null());
    const QStringList before = rowsOf("ITEM");
    const QString update = packageFile(file("A.DB"), {{"1", null(), "OCP", "novo", true, null()},
                                                      {"3", null(), "OCP", "mais um", true, null()}});
    const QString remove = packageFile(file("E.DB"), {{"2", null(), "OCP", null(), null(), null()}});
    const QString append = EngineServices::createParadoxFromTable(db, "ITEM", home.path(), "I.DB");
    ParadoxTable::open(append).appendRow(ParadoxRow{"OCP", "7", null(), null(), null(), null(), null()});
    {
        Transaction transaction(db);
        EngineServices::appendOrUpdateFromParadox(db, update, "ITEM");
        EngineServices::removeByKeyFromParadox(db, remove, "ITEM");
        EngineServices::appendParadoxToTable(db, append, "REP_ITEM");
        // The services neither commit nor end the caller's transaction.
        EXPECT_EQ(rowsOf("ITEM"),
                  QStringList({"OCP|1|novo|5|50|1|<NULL>", "OCP|3|mais um|<NULL>|<NULL>|1|<NULL>"}));
        EXPECT_EQ(rowsOf("REP_ITEM").size(), 1);
        EXPECT_TRUE(Database::inTransaction(db));
        transaction.rollback();
    }
    EXPECT_EQ(rowsOf("ITEM"), before);
    EXPECT_TRUE(rowsOf("REP_ITEM").isEmpty());
}

TEST_F(EngineServicesTest, AppendToTableReportsADuplicateKeyAndAddsNothing) {
    insertItem("REP_ITEM", "OCP", "2", "já existe", 1, 1, 1, null());
    const QString path = packageFile(file("ITEM_I.DB"), {{"1", null(), "OCP", "novo", true, null()},
                                                         {"2", null(), "OCP", "repetido", true, null()}});
    // The package's extra column has no place in the table: a plain append refuses it.
    EXPECT_THROW(EngineServices::appendParadoxToTable(db, path, "REP_ITEM"), DbError);

    const QString plain = EngineServices::createParadoxFromTable(db, "ITEM", home.path(), "PLAIN.DB");
    ParadoxTable::open(plain).append({{"OCP", "1", "novo", null(), null(), null(), null()},
                                      {"OCP", "2", "repetido", null(), null(), null(), null()}});
    try {
        EngineServices::appendParadoxToTable(db, plain, "REP_ITEM");
        FAIL() << "duplicate accepted";
    } catch (const DbError& error) {
        EXPECT_EQ(error.message(), "Key violation.");
        EXPECT_TRUE(error.isKeyViolation());
    }
    EXPECT_EQ(rowsOf("REP_ITEM"), QStringList({"OCP|2|já existe|1|1|1|<NULL>"}));
}

TEST_F(EngineServicesTest, MissingFilesAndKeysAreClearErrors) {
    const QString missing = file("NAOHA.DB");
    try {
        EngineServices::appendOrUpdateFromParadox(db, missing, "ITEM");
        FAIL() << "no error";
    } catch (const DbError& error) {
        EXPECT_TRUE(error.message().contains(QDir::toNativeSeparators(missing))) << error.what();
        EXPECT_TRUE(error.message().contains("arquivo não encontrado")) << error.what();
    }
    EXPECT_THROW(EngineServices::readParadoxRows(missing), DbError);
    EXPECT_THROW(EngineServices::removeByKeyFromParadox(db, missing, "ITEM"), DbError);

    ParadoxTable::create(file("SEMCHAVE.DB"), {ParadoxField::alpha("Num", 30)}).appendRow(ParadoxRow{"1"});
    try {
        EngineServices::removeByKeyFromParadox(db, file("SEMCHAVE.DB"), "ITEM");
        FAIL() << "no error";
    } catch (const DbError& error) {
        EXPECT_TRUE(error.message().contains("Sigla")) << error.what();
    }
    ASSERT_SQL(db, "CREATE TABLE SEM_PK (Num VARCHAR(30))");
    EXPECT_THROW(EngineServices::appendOrUpdateFromParadox(db, file("SEMCHAVE.DB"), "SEM_PK"), DbError);
    EXPECT_THROW(EngineServices::appendOrUpdateFromParadox(db, file("SEMCHAVE.DB"), "NAO_EXISTE"), DbError);
}

} // namespace
