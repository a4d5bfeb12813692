#include "GeraHistorico.h"
#include "DocNormFixture.h"
#include <tuple>

namespace {

using GeraHistoricoTest = DocNormFixture;

struct NotaCase {
    const char* justificativa;
    const char* data;
    const char* mensagem; // empty: written
    PromptKind tipo = PromptKind::Information;
};

class NotaDoCertificadoTest : public DocNormFixture, public ::testing::WithParamInterface<NotaCase> {};

TEST_P(NotaDoCertificadoTest, ChecagensDaNota) {
    aprovaAberto();
    GeraHistorico historico(dm, EventTable::STATUS_C, {QStringLiteral("OCC1"), Numero}, QStringLiteral("A"),
                            QDate(2015, 11, 10));
    const NotaCase c = GetParam();
    const std::optional<int> seq =
        historico.inclui(QString::fromUtf8(c.justificativa), QString::fromUtf8(c.data));
    const QString mensagem = QString::fromUtf8(c.mensagem);
    EXPECT_EQ(seq.has_value(), mensagem.isEmpty());
    EXPECT_EQ(prompts.lastText(), mensagem);
    if (!mensagem.isEmpty()) {
        EXPECT_EQ(prompts.shown().last().kind, c.tipo);
    }
    EXPECT_EQ(historico.notas().size(), seq ? 1 : 0);
    EXPECT_EQ(aprovado(), seq ? 0 : 1); // withdrawn only by a note written
}

INSTANTIATE_TEST_SUITE_P(
    Notas, NotaDoCertificadoTest,
    ::testing::Values(NotaCase{"   ", "20/11/2015", "Por favor informe a justificativa."},
                      NotaCase{"Visita", "  /  /    ", "Por favor informe a data."},
                      NotaCase{"Visita", "30/02/2015", "Data inválida."},
                      NotaCase{"Visita", "09/11/2015", "Data menor que a data de emissão do certificado.",
                               PromptKind::Error},
                      NotaCase{"Visita", "26/11/2015", "Data maior que a data atual.", PromptKind::Error},
                      NotaCase{"Visita", "10/11/2015", ""}, NotaCase{"Visita", "25/11/2015", ""}));

TEST_F(GeraHistoricoTest, NotaTemHistoricoSis1EOStatusDoItem) {
    tipo(QStringLiteral("D'AGUA"), QStringLiteral("X1"), QStringLiteral("S"));
    const QVariantList chave{QStringLiteral("OCC1"), Numero, QStringLiteral("D'AGUA"), QStringLiteral("X1"),
                             0};
    const QString status = HistoricoItens::statusAtual(db, EventTable::STATUS_T, chave);
    EXPECT_EQ(status, "S");
    // A program event of the same line is not a note.
    Sql::execute(
        db,
        QStringLiteral("INSERT INTO STATUS_T (SiglaCertificador, NumCertif, MarcaProd, ModeloProd, "
                       "Importado, SeqEvento, Evento, HistoricoSis, StatusProduto, DthStatusProduto) "
                       "VALUES ('OCC1', :n, 'D''AGUA', 'X1', 0, 7, 'SUS', '2', 'S', :d)"),
        {{":n", Numero}, {":d", QDateTime(QDate(2015, 11, 11), QTime())}});
    GeraHistorico historico(dm, EventTable::STATUS_T, chave, status, QDate(2015, 11, 10));
    EXPECT_TRUE(historico.notas().isEmpty());

    clock.advanceSeconds(1);
    const std::optional<int> segunda =
        historico.inclui(QStringLiteral("Segunda visita"), QStringLiteral("24/11/2015"));
    const std::optional<int> primeira =
        historico.inclui(QStringLiteral("Primeira visita"), QStringLiteral("12/11/2015"));
    ASSERT_TRUE(segunda && primeira);
    EXPECT_EQ(*segunda, 8);
    EXPECT_EQ(*primeira, 9);
    const QList<NotaHistorico> notas = historico.notas();
    ASSERT_EQ(notas.size(), 2);
    EXPECT_EQ(notas[0].SeqEvento, 9); // by date
    EXPECT_EQ(notas[0].Justificativa, "Primeira visita");
    EXPECT_EQ(notas[0].Data.date(), QDate(2015, 11, 12));
    EXPECT_EQ(notas[0].UsuResp, "maria");
    EXPECT_EQ(notas[1].SeqEvento, 8);

    EXPECT_EQ(valor(QStringLiteral("SELECT Evento || ' ' || HistoricoSis || ' ' || StatusProduto || ' ' || "
                                   "DthUltAtualiz FROM STATUS_T WHERE SeqEvento = 9"))
                  .toString(),
              "INC 1 S 2015-11-25T14:04:00.000");
    // The program's event cannot be deleted here, even by its number.
    EXPECT_FALSE(historico.exclui(7));
    EXPECT_EQ(conta(QStringLiteral("SELECT COUNT(*) FROM STATUS_T WHERE SeqEvento = 7")), 1);
}

TEST_F(GeraHistoricoTest, NotaQueOKavorelTemNaoPodeSerExcluida) {
    aprovaAberto();
    const QVariantList chave{QStringLiteral("OCC1"), Numero, QStringLiteral("BR"), Cnpj};
    GeraHistorico historico(dm, EventTable::EVENTO_EMP, chave, QStringLiteral("A"), QDate(2015, 11, 10));
    const std::optional<int> antiga =
        historico.inclui(QStringLiteral("Auditoria"), QStringLiteral("11/11/2015"));
    ASSERT_TRUE(antiga);
    ASSERT_SQL(db, QStringLiteral("INSERT INTO REP_EVENTO_EMP SELECT * FROM EVENTO_EMP"));
    const std::optional<int> nova = historico.inclui(QStringLiteral("Retorno"), QStringLiteral("20/11/2015"));
    ASSERT_TRUE(nova);
    aprovaAberto();
    prompts.clear();

    EXPECT_FALSE(historico.exclui(*antiga));
    EXPECT_EQ(prompts.texts(),
              QStringList({"Este registro não pode ser excluído do certificado, pois já foi aprovado "
                           "para emissão para o Kavorel."}));
    EXPECT_EQ(historico.notas().size(), 2);
    EXPECT_EQ(aprovado(), 1);

    prompts.planAnswer(PromptAnswer::No);
    EXPECT_FALSE(historico.exclui(*nova));
    EXPECT_EQ(prompts.lastText(), "Confirma a Exclusão do Histórico?");
    EXPECT_EQ(historico.notas().size(), 2);

    prompts.planAnswer(PromptAnswer::Yes);
    EXPECT_TRUE(historico.exclui(*nova));
    ASSERT_EQ(historico.notas().size(), 1);
    EXPECT_EQ(historico.notas()[0].SeqEvento, *antiga);
    EXPECT_EQ(aprovado(), 0);
}

TEST_F(GeraHistoricoTest, NotaDeDocumentoPodeSerAnteriorAEmissao) {
    tipo(QStringLiteral("FRIO"), QStringLiteral("X1"));
    TDMDocNorm docs(dm, itemTipo(QStringLiteral("FRIO"), QStringLiteral("X1")));
    const QList<CandidatoDocNorm> candidatos = docs.candidatos();
    ASSERT_FALSE(candidatos.isEmpty());
    ASSERT_TRUE(docs.aplica(candidatos[0], QStringLiteral("12/11/2015")));
    const VinculoDocNorm v = docs.vinculos().at(0);
    const QVariantList chave = docs.chaveDoEvento(v);
    EXPECT_EQ(HistoricoItens::statusAtual(db, EventTable::STATUS_DNT, chave), "A");
    GeraHistorico historico(dm, EventTable::STATUS_DNT, chave, v.Status, std::nullopt);
    EXPECT_TRUE(historico.inclui(QStringLiteral("Norma publicada antes"), QStringLiteral("01/01/2015")));
    EXPECT_EQ(historico.notas().size(), 1);
}

TEST_F(GeraHistoricoTest, FalhaAoGravarANotaNaoMudaNada) {
    aprovaAberto();
    Sql::execute(db, QStringLiteral("CREATE TRIGGER falha BEFORE INSERT ON STATUS_C "
                                    "BEGIN SELECT RAISE(ABORT, 'falha injetada'); END"));
    GeraHistorico historico(dm, EventTable::STATUS_C, {QStringLiteral("OCC1"), Numero}, QStringLiteral("A"),
                            QDate(2015, 11, 10));
    EXPECT_FALSE(historico.inclui(QStringLiteral("Visita"), QStringLiteral("20/11/2015")));
    EXPECT_EQ(prompts.lastText(), "Não foi possível atualizar o Histórico.");
    EXPECT_TRUE(historico.notas().isEmpty());
    EXPECT_EQ(aprovado(), 1);
    EXPECT_TRUE(dm.registro().Aprovado);
}

struct ItemCase {
    EventTable tabela;
    const char* tabelaDoItem;
};

class StatusDoItemTest : public ::testing::TestWithParam<ItemCase> {};

TEST_P(StatusDoItemTest, TabelaDoItem) {
    EXPECT_EQ(HistoricoItens::tabelaDoItem(GetParam().tabela), QString::fromLatin1(GetParam().tabelaDoItem));
}

INSTANTIATE_TEST_SUITE_P(Tabelas, StatusDoItemTest,
                         ::testing::Values(ItemCase{EventTable::STATUS_C, "CERTIFIC"},
                                           ItemCase{EventTable::EVENTO_EMP, "EMP_CERT"},
                                           ItemCase{EventTable::STATUS_L, "LOTE"},
                                           ItemCase{EventTable::STATUS_S, "SERVICO"},
                                           ItemCase{EventTable::STATUS_DNCS, "DOC_NORM_CERT_SERVICO"},
                                           ItemCase{EventTable::STATUS_DNS, "DOC_NORM_SERV"}));

TEST_F(GeraHistoricoTest, StatusAtualDoLoteEDoServico) {
    lote(QStringLiteral("FRIO"), QStringLiteral("X1"), QStringLiteral("L1"));
    EXPECT_EQ(HistoricoItens::statusAtual(db, EventTable::STATUS_L,
                                          {QStringLiteral("L1"), QStringLiteral("OCC1"), Numero,
                                           QStringLiteral("FRIO"), QStringLiteral("X1"), 0}),
              "S");
    servico(10);
    EXPECT_EQ(HistoricoItens::statusAtual(db, EventTable::STATUS_S,
                                          {10, QStringLiteral("OCC1"), Numero, "BR", Cnpj}),
              "A");
    EXPECT_EQ(HistoricoItens::statusAtual(db, EventTable::STATUS_S,
                                          {20, QStringLiteral("OCC1"), Numero, "BR", Cnpj}),
              "");
}

} // namespace

namespace {

// Past the 16-bit ceiling a newer note may carry a smaller number: the list reads in time order.
TEST_F(GeraHistoricoTest, NotasDoMesmoDiaSeguemAHoraEmQueForamEscritasPassadoOLimite) {
    const QDateTime dia(QDate(2015, 11, 20), QTime());
    for (const auto& [seq, hora, texto] :
         {std::tuple{100, QTime(15, 0), "depois"}, std::tuple{32767, QTime(9, 0), "antes"},
          std::tuple{101, QTime(16, 0), "por último"}}) {
        Sql::execute(db,
                     "INSERT INTO STATUS_C (SiglaCertificador, NumCertif, SeqEvento, Evento, Justificativa, "
                     "HistoricoSis, StatusCertificado, DthStatusCertificado, DthUltAtualiz, UsuResp) "
                     "VALUES ('OCC1', :n, :s, 'ALT', :j, '1', 'A', :d, :t, 'joao')",
                     {{":n", Numero},
                      {":s", seq},
                      {":j", QString::fromUtf8(texto)},
                      {":d", dia},
                      {":t", QDateTime(dia.date(), hora)}});
    }
    GeraHistorico historico(dm, EventTable::STATUS_C, {QStringLiteral("OCC1"), Numero}, QStringLiteral("A"),
                            QDate(2015, 11, 10));
    QStringList order;
    for (const NotaHistorico& nota : historico.notas())
        order << nota.Justificativa;
    EXPECT_EQ(order, (QStringList{"antes", "depois", "por último"}));
}

} // namespace
