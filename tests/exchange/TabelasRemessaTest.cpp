#include "EngineServices.h"
#include "ExchangeFixture.h"
#include "TDMTabelasData.h"
#include "TabelaRemessa.h"

#include <QFileInfo>
#include <QSet>
#include <QSqlRecord>

namespace {

QSet<QString> upper(const QStringList& names) {
    QSet<QString> out;
    for (const QString& name : names)
        out.insert(name.toUpper());
    return out;
}

class TabelasRemessaTest : public ExchangeFixture, public ::testing::WithParamInterface<int> {
protected:
    const TabelaRemessa& tabela() const { return TabelasRemessa().at(GetParam()); }
};

// The descriptor's key is the live table's own key; the shorter exclusion key is part of it; the
// compared columns exist and lie outside the key.
TEST_P(TabelasRemessaTest, DescriptorMatchesTheSchema) {
    const TDMTabelasData dm(db);
    const TabelaRemessa& t = tabela();
    QStringList key = dm.chavePrimaria(t.replica());
    EXPECT_EQ(upper(t.chave), upper(key)) << t.Nome;
    EXPECT_TRUE(upper(t.chave).contains(upper(t.chaveE))) << t.Nome;
    const QSet<QString> columns = upper(dm.colunas(t.tabela()));
    EXPECT_TRUE(columns.contains(upper(t.comparadas))) << t.Nome;
    EXPECT_FALSE(upper(t.comparadas).intersects(upper(t.chave))) << t.Nome;
    EXPECT_EQ(upper(dm.colunas(t.replica())), columns) << t.Nome;
}

// Each table's Paradox columns are the live table's: names, types, sizes, order.
TEST_P(TabelasRemessaTest, BatchTableColumnsAreTheLiveTables) {
    const TDMTabelasData dm(db);
    const QString name = dm.CriaTabelaRemessa(transf(), tabela().Nome, 0);
    EXPECT_EQ(name, tabela().Nome + "_I");
    const ParadoxTable table = ParadoxTable::open(transf() + name + ".DB");
    EXPECT_EQ(table.fields(), expectedFieldsOf(db, tabela().tabela()));
    EXPECT_EQ(table.recordCount(), 0);
    // An existing table is never appended to.
    EXPECT_THROW(dm.CriaTabelaRemessa(transf(), tabela().Nome, 0), DbError);
}

// Every statement compares through indexes: the one table it walks is the table it returns
// rows of; every other table is searched by key or index, never scanned per row.
TEST_P(TabelasRemessaTest, StatementsSearchEveryOtherTableThroughAnIndex) {
    const TDMTabelasData dm(db);
    for (ConsultaRemessa consulta :
         {ConsultaRemessa::I, ConsultaRemessa::A, ConsultaRemessa::E, ConsultaRemessa::T}) {
        const QString sql = dm.consulta(tabela(), consulta);
        QSqlQuery plan = Sql::exec(db, "EXPLAIN QUERY PLAN " + sql);
        int scans = 0;
        QStringList lines;
        while (plan.next()) {
            const QString detail = plan.value(3).toString();
            lines << detail;
            if (detail.startsWith("SCAN"))
                ++scans;
            if (detail.startsWith("SEARCH")) {
                EXPECT_TRUE(detail.contains("USING")) << detail;
            }
        }
        EXPECT_EQ(scans, 1) << tabela().nomeConsulta(consulta) << ": " << sql << "\n" << lines.join("\n");
    }
}

// The tracked statements start from the journal's keys and reach every table through an index: no
// table of the register is read whole, whatever its size.
TEST_P(TabelasRemessaTest, TrackedStatementsReadOnlyTheJournalWhole) {
    const TDMTabelasData dm(db, TDMTabelasData::Comparacao::Rastreada);
    for (ConsultaRemessa consulta : {ConsultaRemessa::I, ConsultaRemessa::A, ConsultaRemessa::E}) {
        const QString sql = dm.consulta(tabela(), consulta);
        if (tabela().escopo == EscopoRemessa::Tabela) { // small, always compared whole
            EXPECT_EQ(sql, TDMTabelasData(db).consulta(tabela(), consulta));
            continue;
        }
        QSqlQuery plan = Sql::exec(db, "EXPLAIN QUERY PLAN " + sql);
        QStringList lines;
        while (plan.next())
            lines << plan.value(3).toString();
        SCOPED_TRACE(tabela().nomeConsulta(consulta).toStdString() + ": " + sql.toStdString() + "\n" +
                     lines.join("\n").toStdString());
        for (const QString& detail : lines) {
            if (detail.startsWith("SCAN ")) {
                const QString object = detail.section(' ', 1, 1);
                EXPECT_TRUE(object == "ALTERACOES_PENDENTES" || object == "J" || object == "D") << detail;
            }
            if (detail.startsWith("SEARCH")) {
                EXPECT_TRUE(detail.contains("USING")) << detail;
            }
        }
    }
}

TEST_P(TabelasRemessaTest, StatementsReturnTheLiveColumnsInOrder) {
    const TDMTabelasData dm(db);
    const QStringList live = dm.colunas(tabela().tabela());
    for (ConsultaRemessa consulta :
         {ConsultaRemessa::I, ConsultaRemessa::A, ConsultaRemessa::E, ConsultaRemessa::T}) {
        QSqlQuery query = Sql::exec(db, dm.consulta(tabela(), consulta));
        QStringList names;
        for (int i = 0; i < query.record().count(); ++i)
            names << query.record().fieldName(i);
        EXPECT_EQ(names, live) << tabela().nomeConsulta(consulta);
    }
}

INSTANTIATE_TEST_SUITE_P(AllExchangedTables, TabelasRemessaTest, ::testing::Range(0, 29),
                         [](const auto& info) { return TabelasRemessa().at(info.param).Nome.toStdString(); });

TEST(TabelasRemessa, TheTwentyNineInBatchOrder) {
    QStringList names;
    for (const TabelaRemessa& t : TabelasRemessa())
        names << t.Nome;
    EXPECT_EQ(names, (QStringList{"Empresa",
                                  "Evento_Emp",
                                  "Produto",
                                  "Certific",
                                  "Emp_Cert",
                                  "Servico",
                                  "Lote",
                                  "Unidade",
                                  "Tipo",
                                  "Status_S",
                                  "Status_C",
                                  "Status_L",
                                  "Status_U",
                                  "Status_T",
                                  "doc_norm_cert_produto",
                                  "doc_norm_cert_servico",
                                  "doc_norm_serv",
                                  "doc_norm_unidade",
                                  "doc_norm_lote",
                                  "doc_norm_tipo",
                                  "status_dncs",
                                  "status_dncp",
                                  "status_dns",
                                  "status_dnl",
                                  "status_dnt",
                                  "status_dnu",
                                  "CONFIG_LOCAL",
                                  "SIGNATARIOS",
                                  "USU_LOCAL"}));
    EXPECT_EQ(TabelasRemessa()[3].nomeConsulta(ConsultaRemessa::I), "QrCertific_I");
    EXPECT_EQ(TabelasRemessa()[1].nomeConsulta(ConsultaRemessa::A), "QrEvento_Emp_A");
    EXPECT_EQ(TabelasRemessa()[25].nomeConsulta(ConsultaRemessa::T), "Qrstatus_dnu_T");
    EXPECT_EQ(TabelasRemessa()[26].nomeConsulta(ConsultaRemessa::A), "Qrconfig_local_A");
    EXPECT_EQ(TabelasRemessa()[28].nomeConsulta(ConsultaRemessa::T), "Qrusu_local_T");
    EXPECT_EQ(sufixoArquivo(ConsultaRemessa::T), "_I");
}

TEST(TabelasRemessa, NamesOfTheBatchTablesByKind) {
    EXPECT_EQ(TDMTabelasData::nomeTabelaRemessa("Tipo", 0), "Tipo_I");
    EXPECT_EQ(TDMTabelasData::nomeTabelaRemessa("Tipo", 1), "Tipo_E");
    EXPECT_EQ(TDMTabelasData::nomeTabelaRemessa("Tipo", 2), "Tipo_A");
    EXPECT_EQ(TDMTabelasData::nomeTabelaRemessa("Tipo", 3), "Tipo");
    EXPECT_EQ(TDMTabelasData::nomeTabelaRemessa("Tipo", 4), "REP_Tipo");
    EXPECT_THROW(TDMTabelasData::nomeTabelaRemessa("Tipo", 5), DbError);
}

} // namespace
