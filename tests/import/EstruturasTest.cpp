#include "EstruturaRegistro.h"
#include "ImportFixture.h"

#include <QSet>
#include <QSqlQuery>

namespace {

QSet<QString> colunasDaTabela(const QSqlDatabase& db, const QString& tabela) {
    QSet<QString> nomes;
    QSqlQuery q = Sql::exec(db, QStringLiteral("PRAGMA table_info(%1)").arg(tabela));
    while (q.next())
        nomes << q.value(1).toString().toUpper();
    return nomes;
}

} // namespace

TEST(Estruturas, TheTwentySixHeadersInTheReadersOrderWithTheirClassesAndTables) {
    const auto& todas = EstruturasTxt::todas();
    ASSERT_EQ(todas.size(), 26);
    EXPECT_EQ(todas[0].header, "[CERTIFIC]");
    EXPECT_EQ(todas[5].classe, "TDocNormCertProdutoStruct");
    EXPECT_EQ(todas[24].header, "[DOC_NORM_SERVICO]");
    EXPECT_EQ(todas[24].tabela, "DOC_NORM_SERV");
    EXPECT_EQ(todas[24].tabelaHistorico, "STATUS_DNS");
    EXPECT_EQ(todas[25].tabelaPai, "DOC_NORM_SERV");
    EXPECT_EQ(EstruturasTxt::porHeader("[TIPO]")->classe, "TTipoStruct");
    EXPECT_EQ(EstruturasTxt::porHeader("[tipo]"), nullptr);
    EXPECT_EQ(EstruturasTxt::porHeader("[NADA]"), nullptr);
}

// Every field is a column of its table, and no two fields of one line share a column: a typing slip
// in a layout shows here rather than as a failed statement in a user's log.
TEST(Estruturas, EveryFieldIsAColumnOfItsTableAndFieldsOfALineNeverOverlap) {
    TestHome home;
    const QSqlDatabase db = home.openDatabase();
    QList<EstruturaRegistro> todas = EstruturasTxt::todas();
    todas << EstruturasTxt::ctrHistorico();
    for (const EstruturaRegistro& e : todas) {
        const QSet<QString> colunas = colunasDaTabela(db, e.tabela);
        ASSERT_FALSE(colunas.isEmpty()) << e.tabela.toStdString();
        EXPECT_EQ(e.campos[0].nome, "DthUltAtualiz");
        EXPECT_EQ(e.campos[1].nome, "UsuResp");
        EXPECT_EQ(e.ehHistorico(), e.campos.last().sequencia) << e.classe.toStdString();
        QList<std::pair<int, int>> ocupadas; // columns used on the current line
        for (const DefinicaoCampo& c : e.campos) {
            EXPECT_TRUE(colunas.contains(c.nome.toUpper()))
                << e.tabela.toStdString() << "." << c.nome.toStdString();
            if (c.largura == 0)
                continue;
            if (c.novaLinha)
                ocupadas.clear();
            for (const auto& [de, ate] : ocupadas)
                EXPECT_TRUE(c.coluna > ate || c.coluna + c.largura - 1 < de)
                    << e.classe.toStdString() << "." << c.nome.toStdString();
            ocupadas << std::pair(c.coluna, c.coluna + c.largura - 1);
        }
    }
}

TEST(Estruturas, TheCompanyServiceDocumentLayoutFollowsItsSisterLayout) {
    const EstruturaRegistro& e = *EstruturasTxt::porHeader("[DOC_NORM_SERVICO]");
    const struct {
        const char* nome;
        int coluna;
        int largura;
    } esperado[] = {{"SiglaCertificador", 61, 8},
                    {"CodigoPais", 69, 4},
                    {"DthEntDNS", 73, 10},
                    {"Status_DNS", 83, 1},
                    {"DthStatusDNS", 84, 10}};
    for (const auto& x : esperado) {
        const DefinicaoCampo& c = e.campos[e.indice(x.nome)];
        EXPECT_EQ(c.coluna, x.coluna) << x.nome;
        EXPECT_EQ(c.largura, x.largura) << x.nome;
    }
}

TEST(Estruturas, ChecksFollowTheFieldNames) {
    const EstruturaRegistro& certific = *EstruturasTxt::porHeader("[CERTIFIC]");
    EXPECT_EQ(certific.campos[certific.indice("SiglaCertificador")].verificacao, Verificacao::Sigla);
    EXPECT_EQ(certific.campos[certific.indice("StatusCertificado")].verificacao, Verificacao::Situacao);
    EXPECT_EQ(certific.campos[certific.indice("DataValid")].verificacao, Verificacao::DataValid);
    const EstruturaRegistro& empresa = *EstruturasTxt::porHeader("[EMPRESA]");
    EXPECT_TRUE(empresa.verificaEmpresa);
    EXPECT_EQ(empresa.campos[empresa.indice("TipoPessoa")].verificacao, Verificacao::TipoPessoa);
    const EstruturaRegistro& statusL = *EstruturasTxt::porHeader("[STATUS_L]");
    EXPECT_EQ(statusL.campos[statusL.indice("Evento")].verificacao, Verificacao::Evento);
    EXPECT_EQ(statusL.campos[statusL.indice("Status_L")].verificacao, Verificacao::Situacao);
    EXPECT_EQ(statusL.campos[statusL.indice("HistoricoSis")].verificacao, Verificacao::HistoricoSis);
    EXPECT_EQ(statusL.campos[statusL.indice("MarcaProd")].verificacao, Verificacao::TamanhoProduto);
    EXPECT_EQ(statusL.campos[statusL.indice("DthStatus_L")].verificacao, Verificacao::Nenhuma);
}

// The bookkeeping looks a note up (and updates it) by every identification column it has a value
// for, which depends on the record type. Each of those shapes finds its note through an index that
// covers all of its columns, so a certificate with thousands of notes costs no scan per record.
TEST(Estruturas, TheBookkeepingFindsANoteOfEachShapeThroughAnIndexOnItsWholeKey) {
    TestHome home;
    const QSqlDatabase db = home.openDatabase();
    const EstruturaRegistro& ctr = EstruturasTxt::ctrHistorico();
    int formas = 0;
    for (const EstruturaRegistro& e : EstruturasTxt::todas()) {
        if (!e.ehHistorico())
            continue;
        // The note of an event record and of an update of its parent: the event's columns that the
        // bookkeeping shares.
        QStringList termos;
        for (int i = 0; i < ctr.campos.size(); ++i) {
            const DefinicaoCampo& c = ctr.campos[i];
            const bool preenchido = c.nome == QLatin1String("NomeTabela") ||
                                    c.nome == QLatin1String("TabelaHistorico") || e.indice(c.nome) >= 0;
            if (c.chave && preenchido)
                termos << QStringLiteral("%1= :p%2").arg(c.nome).arg(i);
        }
        const QString where = QStringLiteral("where ") + termos.join(QStringLiteral(" and "));
        for (const QString& sql : {QStringLiteral("select * from CTR_HISTORICO ") + where,
                                   QStringLiteral("Update CTR_HISTORICO SET historico= :p17 ") + where}) {
            QSqlQuery plano = Sql::exec(db, QStringLiteral("EXPLAIN QUERY PLAN ") + sql);
            QStringList passos;
            while (plano.next())
                passos << plano.value(QStringLiteral("detail")).toString();
            const QString texto = passos.join(QStringLiteral(" ; "));
            EXPECT_TRUE(texto.contains(QLatin1String("USING INDEX")))
                << sql.toStdString() << " -> " << texto.toStdString();
            EXPECT_EQ(texto.count(QLatin1String("=?")), termos.size())
                << e.tabela.toStdString() << ": " << sql.toStdString() << " -> " << texto.toStdString();
        }
        ++formas;
    }
    EXPECT_EQ(formas, 12);
}
