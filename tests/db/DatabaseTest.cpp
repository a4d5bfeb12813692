#include "Database.h"
#include "PrintQString.h"
#include "SampleReference.h"
#include "Sql.h"
#include "TestHome.h"
#include "Transaction.h"

#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <gtest/gtest.h>

TEST(Database, MissingFileIsCreatedFromTheSchema) {
    TestHome home;
    EXPECT_FALSE(QFileInfo::exists(home.path() + "CapaCertific.db"));
    QSqlDatabase db = home.openDatabase();
    EXPECT_TRUE(QFileInfo::exists(home.path() + "CapaCertific.db"));
    EXPECT_EQ(Sql::scalar(db, "PRAGMA user_version").toInt(), Database::SchemaVersion);
}

TEST(Database, AFirstVersionDatabaseGainsTheBatchNumberingTable) {
    TestHome home;
    const QString file = home.path() + "CapaCertific.db";
    {
        QSqlDatabase db = home.openDatabase();
        Sql::execute(db, "INSERT INTO CONTROLE (NumeroRemessa, Evento) VALUES ('2024010101', 'PR')");
        Sql::execute(db, "DROP TABLE CONTROLE_NUMERACAO");
        Sql::execute(db, "PRAGMA user_version = 1");
    }
    Database::close();
    QSqlDatabase db = Database::open(file);
    EXPECT_EQ(Sql::scalar(db, "PRAGMA user_version").toInt(), Database::SchemaVersion);
    EXPECT_EQ(Sql::scalar(db, "SELECT count(*) FROM CONTROLE_NUMERACAO").toInt(), 0);
    EXPECT_EQ(Sql::scalar(db, "SELECT NumeroRemessa FROM CONTROLE").toString(), "2024010101");
    // The column keeps its checks.
    EXPECT_THROW(Sql::execute(db, "INSERT INTO CONTROLE_NUMERACAO VALUES ('20240101011')"), DbError);
}

TEST(Database, ASecondVersionDatabaseKeepsItsHistoryBookkeepingAndGainsTheSerialNumber) {
    TestHome home;
    const QString file = home.path() + "CapaCertific.db";
    {
        QSqlDatabase db = home.openDatabase();
        // The bookkeeping table as the second version had it: no serial number.
        Sql::execute(db, "DROP TABLE CTR_HISTORICO");
        Sql::execute(db, "CREATE TABLE CTR_HISTORICO (NomeTabela VARCHAR(30), TabelaHistorico VARCHAR(30), "
                         "SiglaCertificador VARCHAR(8), NumCertif VARCHAR(30), CodigoPais VARCHAR(4), "
                         "IdEmpresa VARCHAR(255), IdClasseCertif VARCHAR(10), IdClasseProd SMALLINT, "
                         "IdClasseServ SMALLINT, MarcaProd VARCHAR(255), ModeloProd VARCHAR(255), Importado "
                         "SMALLINT, NumLote VARCHAR(20), IdDocNorm INTEGER, historico VARCHAR(1), "
                         "DthUltAtualiz DATETIME, UsuResp VARCHAR(10))");
        Sql::execute(db, "INSERT INTO CTR_HISTORICO (NomeTabela, NumCertif, MarcaProd, historico) "
                         "VALUES ('UNIDADE', 'C-1', 'Marca', '0')");
        Sql::execute(db, "PRAGMA user_version = 2");
    }
    Database::close();
    QSqlDatabase db = Database::open(file);
    EXPECT_EQ(Sql::scalar(db, "PRAGMA user_version").toInt(), Database::SchemaVersion);
    EXPECT_EQ(Sql::scalar(db, "SELECT NomeTabela || NumCertif || MarcaProd || historico || "
                              "ifnull(NumSerieProd, '-') FROM CTR_HISTORICO")
                  .toString(),
              "UNIDADEC-1Marca0-");
    // The rebuilt table is the schema's own: its column order, checks and index.
    QStringList columns;
    QSqlQuery info = Sql::exec(db, "SELECT name FROM pragma_table_info('CTR_HISTORICO')");
    while (info.next())
        columns << info.value(0).toString();
    EXPECT_EQ(columns,
              QString("NomeTabela TabelaHistorico SiglaCertificador NumCertif CodigoPais IdEmpresa "
                      "IdClasseCertif IdClasseProd IdClasseServ MarcaProd ModeloProd Importado NumLote "
                      "NumSerieProd IdDocNorm historico DthUltAtualiz UsuResp")
                  .split(' '));
    EXPECT_THROW(
        Sql::execute(db, "INSERT INTO CTR_HISTORICO (NumSerieProd) VALUES ('123456789012345678901')"),
        DbError);
    EXPECT_EQ(
        Sql::scalar(db, "SELECT count(*) FROM sqlite_master WHERE name = 'IX_CTR_HISTORICO_Certificado'")
            .toInt(),
        1);
}

namespace {

// Each index of a table with its columns, "name(col, col, ...)", by name.
QStringList indexesOf(const QSqlDatabase& db, const QString& table) {
    QStringList indexes;
    QSqlQuery list = Sql::exec(db,
                               "SELECT name FROM sqlite_master WHERE type = 'index' AND tbl_name = :t "
                               "AND sql IS NOT NULL ORDER BY name",
                               {{":t", table}});
    while (list.next()) {
        QStringList columns;
        QSqlQuery info =
            Sql::exec(db, QStringLiteral("SELECT name FROM pragma_index_info('%1') ORDER BY seqno")
                              .arg(list.value(0).toString()));
        while (info.next())
            columns << info.value(0).toString();
        indexes << list.value(0).toString() + "(" + columns.join(", ") + ")";
    }
    return indexes;
}

} // namespace

TEST(Database, AThirdVersionDatabaseGainsTheIndexesOfTheBookkeepingsWholeKey) {
    TestHome home;
    const QString file = home.path() + "CapaCertific.db";
    QStringList current;
    {
        QSqlDatabase db = home.openDatabase();
        current = indexesOf(db, "CTR_HISTORICO");
        // The bookkeeping as the third version had it: indexed by certificate only.
        for (const QString& index : current)
            Sql::execute(db, "DROP INDEX " + index.section('(', 0, 0));
        Sql::execute(
            db, "CREATE INDEX IX_CTR_HISTORICO_Certificado ON CTR_HISTORICO (SiglaCertificador, NumCertif)");
        Sql::execute(db,
                     "INSERT INTO CTR_HISTORICO (NomeTabela, TabelaHistorico, SiglaCertificador, NumCertif, "
                     "MarcaProd, ModeloProd, Importado, NumSerieProd, historico) "
                     "VALUES ('UNIDADE', 'STATUS_U', 'OCC1', 'C-1', 'Marca', 'Modelo', 0, 'S-1', '0')");
        Sql::execute(db, "PRAGMA user_version = 3");
    }
    Database::close();
    QSqlDatabase db = Database::open(file);
    EXPECT_EQ(Sql::scalar(db, "PRAGMA user_version").toInt(), Database::SchemaVersion);
    EXPECT_EQ(indexesOf(db, "CTR_HISTORICO"), current);
    EXPECT_GE(current.size(), 2) << current.join(" ").toStdString();
    // A unit's note is found by its whole key, and the note of the older file is still there.
    QSqlQuery plan =
        Sql::exec(db, "EXPLAIN QUERY PLAN SELECT historico FROM CTR_HISTORICO WHERE NomeTabela = "
                      "'UNIDADE' AND TabelaHistorico = 'STATUS_U' AND SiglaCertificador = 'OCC1' AND "
                      "NumCertif = 'C-1' AND MarcaProd = 'Marca' AND ModeloProd = 'Modelo' AND "
                      "Importado = 0 AND NumSerieProd = 'S-1'");
    ASSERT_TRUE(plan.next());
    EXPECT_EQ(plan.value("detail").toString().count("=?"), 8)
        << plan.value("detail").toString().toStdString();
    EXPECT_EQ(Sql::scalar(db, "SELECT historico FROM CTR_HISTORICO WHERE NumSerieProd = 'S-1'").toString(),
              "0");
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

TEST(Sql, QuotedDoublesSingleQuotesSoATypedTextStaysOneValue) {
    EXPECT_EQ(Sql::quoted("ABC'1"), "'ABC''1'");
    EXPECT_EQ(Sql::quoted(""), "''");
    TestHome home;
    QSqlDatabase db = home.openDatabase();
    Sql::execute(db, "INSERT INTO CONFIG_LOCAL (SiglaCertificador) VALUES (:s)", {{":s", "O'K"}});
    const QString hostile = "x' OR '1'='1";
    EXPECT_FALSE(
        Sql::scalar(db, "SELECT 1 FROM CONFIG_LOCAL WHERE SiglaCertificador = " + Sql::quoted(hostile))
            .isValid());
    EXPECT_TRUE(Sql::scalar(db, "SELECT 1 FROM CONFIG_LOCAL WHERE SiglaCertificador = " + Sql::quoted("O'K"))
                    .isValid());
}

TEST(Sql, AParameterTheStatementDoesNotCarryIsRefused) {
    TestHome home;
    QSqlDatabase db = home.openDatabase();
    // Qt would silently bind nothing for a name without its colon or one the statement lacks.
    EXPECT_THROW(Sql::scalar(db, "SELECT :a", {{"a", 1}}), DbError);
    EXPECT_THROW(Sql::scalar(db, "SELECT :a", {{":b", 1}}), DbError);
    EXPECT_EQ(Sql::scalar(db, "SELECT :a", {{":a", 7}}).toInt(), 7);
    // A name is carried only whole: ":Num" is not in a statement that has ":NumC" alone.
    EXPECT_THROW(Sql::scalar(db, "SELECT :NumC", {{":Num", 1}}), DbError);
    EXPECT_EQ(Sql::scalar(db, "SELECT :NumC || :Num", {{":Num", 1}, {":NumC", 2}}).toString(), "21");
    EXPECT_EQ(Sql::scalar(db, "SELECT (:n_1)+0", {{":n_1", 3}}).toInt(), 3);
}

// A database of the fourth version has no journal of changes: the journal comes with its triggers,
// and says it is incomplete, for the rows written before it are unknown to it.
TEST(Database, AFourthVersionDatabaseGainsTheChangeJournalMarkedIncomplete) {
    TestHome home;
    const QString file = home.path() + "CapaCertific.db";
    {
        QSqlDatabase db = home.openDatabase();
        QStringList triggers;
        QSqlQuery query = Sql::exec(db, "SELECT name FROM sqlite_master WHERE type = 'trigger'");
        while (query.next())
            triggers << query.value(0).toString();
        ASSERT_FALSE(triggers.isEmpty());
        for (const QString& trigger : triggers)
            Sql::execute(db, "DROP TRIGGER " + trigger);
        Sql::execute(db, "DROP TABLE ALTERACOES_PENDENTES");
        Sql::execute(db, "DROP TABLE ALTERACOES_REMESSA");
        Sql::execute(db,
                     "INSERT INTO EMPRESA (CodigoPais, IdEmpresa, DthUltAtualiz, UsuResp) VALUES ('BR', '1', "
                     "'2024-01-01T00:00:00.000', 'u')");
        Sql::execute(db, "PRAGMA user_version = 4");
    }
    Database::close();
    QSqlDatabase db = Database::open(file);
    EXPECT_EQ(Sql::scalar(db, "PRAGMA user_version").toInt(), Database::SchemaVersion);
    EXPECT_EQ(Sql::scalar(db, "SELECT group_concat(Tipo) FROM ALTERACOES_PENDENTES").toString(), "X");
    // From now on every change is journaled.
    Sql::execute(db, "UPDATE EMPRESA SET RazSocialEmp = 'Nova' WHERE IdEmpresa = '1'");
    EXPECT_EQ(
        Sql::scalar(db, "SELECT Tipo || K1 || K2 FROM ALTERACOES_PENDENTES WHERE Tipo <> 'X'").toString(),
        "EBR1");
}

// What each exchanged table journals: its certificate, or the company or product itself; a key that
// changes journals the old and the new; the tables compared whole journal nothing.
TEST(Database, EveryChangeToAnExchangedTableIsJournaledByItsKey) {
    TestHome home;
    QSqlDatabase db = home.openDatabase();
    const auto journal = [&] {
        QStringList entries;
        QSqlQuery query = Sql::exec(db, "SELECT Tipo, K1, K2, K3 FROM ALTERACOES_PENDENTES ORDER BY Id");
        while (query.next()) {
            QStringList entry;
            for (int i = 0; i < 4; ++i)
                if (!query.value(i).isNull())
                    entry << query.value(i).toString();
            entries << entry.join('|');
        }
        Sql::execute(db, "DELETE FROM ALTERACOES_PENDENTES");
        return entries;
    };
    Sql::execute(db, "INSERT INTO CERTIFIC (SiglaCertificador, NumCertif, Completo, Aprovado) VALUES ('OCC', "
                     "'C-1', 0, 0)");
    EXPECT_EQ(journal(), QStringList{"C|OCC|C-1"});
    Sql::execute(db, "UPDATE CERTIFIC SET Aprovado = 1");
    EXPECT_EQ(journal(), QStringList{"C|OCC|C-1"});
    Sql::execute(db, "UPDATE CERTIFIC SET NumCertif = 'C-2'");
    EXPECT_EQ(journal(), (QStringList{"C|OCC|C-1", "C|OCC|C-2"}));
    Sql::execute(db, "INSERT INTO PRODUTO (MarcaProd, ModeloProd, Importado, DthUltAtualiz, UsuResp) VALUES "
                     "('M', 'X', 0, '2024-01-01T00:00:00.000', 'u')");
    Sql::execute(db, "DELETE FROM PRODUTO");
    EXPECT_EQ(journal(), (QStringList{"P|M|X|0", "P|M|X|0"}));
    Sql::execute(db,
                 "INSERT INTO EMP_CERT (SiglaCertificador, NumCertif, CodigoPais, IdEmpresa) VALUES ('OCC', "
                 "'C-2', 'BR', '9')");
    EXPECT_EQ(journal(), QStringList{"C|OCC|C-2"});
    Sql::execute(db, "INSERT INTO USU_LOCAL (SiglaUsu, SiglaCertificador, NomeUsu) VALUES ('u', 'OCC', 'U')");
    EXPECT_EQ(journal(), QStringList());
}
