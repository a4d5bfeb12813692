#include "DocNormFixture.h"
#include "GeraHistorico.h"

namespace {

const QString Generico =
    QStringLiteral("Erro genérico de gravação no Banco de Dados !!! As alterações não foram efetuadas.");

using DocNormTest = DocNormFixture;

TEST_F(DocNormTest, CandidatosDaClasseDoCertificadoEmVigorPorTitulo) {
    TDMDocNorm docs(dm, item(EscopoDocNorm::DadosGerais));
    // COMP/110 in force: 1006 "Norma 5858", 1001 "Portaria 001", 1007 "Regulamento 45". Never 1002
    // (products 120), 1004 (class VOL), 1003/1008 (products 200) nor a revoked one.
    EXPECT_EQ(ids(docs.candidatos()), QList<int>({1006, 1001, 1007}));
    const CandidatoDocNorm c = candidato(docs.candidatos(), 1001);
    EXPECT_EQ(c.NomeTitulo, "Portaria 001/2010 - Ar condicionado");
    EXPECT_EQ(c.TipoDoc, "Portaria");
    EXPECT_EQ(c.IdClasseCertif, "COMP");
    EXPECT_EQ(c.IdClasse, 110);
    // Filtered by kind ("Norma Técnica" is 2).
    EXPECT_EQ(ids(docs.candidatos(2)), QList<int>({1006}));
    EXPECT_EQ(ids(docs.candidatos(99)), QList<int>());
    QStringList tipos;
    for (const TipoDocumento& t : docs.tiposDeDocumento())
        tipos << t.TipoDoc;
    EXPECT_EQ(tipos, QStringList({"Norma Técnica", "Portaria", "Regulamento Técnico"}));
}

TEST_F(DocNormTest, DocumentoVinculadoNaoEOferecidoDeNovo) {
    tipo(QStringLiteral("FRIO"), QStringLiteral("X1"));
    tipo(QStringLiteral("FRIO"), QStringLiteral("X2"));
    TDMDocNorm gerais(dm, item(EscopoDocNorm::DadosGerais));
    TDMDocNorm x1(dm, itemTipo(QStringLiteral("FRIO"), QStringLiteral("X1")));
    TDMDocNorm x2(dm, itemTipo(QStringLiteral("FRIO"), QStringLiteral("X2")));

    ASSERT_TRUE(gerais.aplica(candidato(gerais.candidatos(), 1001), QStringLiteral("10/11/2015")));
    ASSERT_TRUE(x1.aplica(candidato(x1.candidatos(), 1006), QStringLiteral("25/11/2015")));
    ASSERT_TRUE(prompts.shown().isEmpty()) << prompts.lastText().toStdString();

    // Certificate-wide and active: offered neither to the certificate nor to its lines.
    EXPECT_EQ(ids(gerais.candidatos()), QList<int>({1006, 1007}));
    EXPECT_EQ(ids(x1.candidatos()), QList<int>({1007}));
    EXPECT_EQ(ids(x2.candidatos()), QList<int>({1006, 1007}));

    // Suspended or cancelled certificate-wide: the lines may take it, the certificate may not.
    for (const QString& status : {QStringLiteral("S"), QStringLiteral("C")}) {
        Sql::execute(db, QStringLiteral("UPDATE DOC_NORM_CERT_PRODUTO SET Status_DNCP = :s"),
                     {{":s", status}});
        EXPECT_EQ(ids(gerais.candidatos()), QList<int>({1006, 1007})) << status.toStdString();
        EXPECT_EQ(ids(x1.candidatos()), QList<int>({1001, 1007})) << status.toStdString();
        EXPECT_EQ(ids(x2.candidatos()), QList<int>({1006, 1001, 1007})) << status.toStdString();
    }
    // A line's link in any status keeps the document away from that line.
    Sql::execute(db, QStringLiteral("UPDATE DOC_NORM_TIPO SET Status_DNT = 'C'"));
    EXPECT_EQ(ids(x1.candidatos()), QList<int>({1001, 1007}));
}

TEST_F(DocNormTest, InclusaoGravaOVinculoSeuEventoERecalculaCompleto) {
    tipo(QStringLiteral("FRIO"), QStringLiteral("X1"));
    aprovaAberto();
    dm.AtualizaCompleto(QStringLiteral("O"));
    ASSERT_EQ(completo(), 0); // company and line, but no document
    clock.advanceSeconds(60);
    TDMDocNorm docs(dm, item(EscopoDocNorm::DadosGerais));
    ASSERT_TRUE(docs.aplica(candidato(docs.candidatos(), 1001), QStringLiteral("12/11/2015")));
    ASSERT_TRUE(prompts.shown().isEmpty()) << prompts.lastText().toStdString();

    QSqlQuery l = Sql::exec(db,
                            QStringLiteral("SELECT IdClasseCertif, IdClasseProd, IdDocNorm, DthEntDNCP, "
                                           "Status_DNCP, DthStatusDNCP, DthUltAtualiz, UsuResp FROM "
                                           "DOC_NORM_CERT_PRODUTO WHERE SiglaCertificador = 'OCC1' AND "
                                           "NumCertif = :n"),
                            {{":n", Numero}});
    ASSERT_TRUE(l.next());
    EXPECT_EQ(l.value(0).toString(), "COMP");
    EXPECT_EQ(l.value(1).toInt(), 110);
    EXPECT_EQ(l.value(2).toInt(), 1001);
    EXPECT_EQ(l.value(3).toString(), "2015-11-12T00:00:00.000");
    EXPECT_EQ(l.value(4).toString(), "A");
    EXPECT_EQ(l.value(5).toString(), "2015-11-12T00:00:00.000");
    EXPECT_EQ(l.value(6).toString(), "2015-11-25T14:04:59.000");
    EXPECT_EQ(l.value(7).toString(), "maria");
    EXPECT_FALSE(l.next());

    QSqlQuery e = Sql::exec(db, QStringLiteral("SELECT Evento, Justificativa, HistoricoSis, Status_DNCP, "
                                               "DthStatusDNCP, IdDocNorm, IdClasseProd FROM STATUS_DNCP"));
    ASSERT_TRUE(e.next());
    EXPECT_EQ(e.value(0).toString(), "INC");
    EXPECT_EQ(e.value(1).toString(), "Historico gerado pelo sistema");
    EXPECT_EQ(e.value(2).toString(), "2");
    EXPECT_EQ(e.value(3).toString(), "A");
    EXPECT_EQ(e.value(4).toString(), "2015-11-12T00:00:00.000");
    EXPECT_EQ(e.value(5).toInt(), 1001);
    EXPECT_EQ(e.value(6).toInt(), 110);
    EXPECT_FALSE(e.next());

    EXPECT_EQ(completo(), 1);
    EXPECT_TRUE(dm.registro().Completo);
    EXPECT_EQ(aprovado(), 0);
    EXPECT_FALSE(dm.CertificadoSemReferencia(Numero));

    const QList<VinculoDocNorm> v = docs.vinculos();
    ASSERT_EQ(v.size(), 1);
    EXPECT_EQ(v[0].IdDocNorm, 1001);
    EXPECT_EQ(v[0].NomeTitulo, "Portaria 001/2010 - Ar condicionado");
    EXPECT_EQ(v[0].TipoDoc, "Portaria");
    EXPECT_EQ(v[0].Status, "A");
    EXPECT_EQ(v[0].DataEntrada.date(), QDate(2015, 11, 12));
}

struct DataCase {
    const char* texto;
    const char* mensagem; // empty: accepted
};

class DataDeEntradaTest : public DocNormFixture, public ::testing::WithParamInterface<DataCase> {};

TEST_P(DataDeEntradaTest, DataDeEntradaEntreEmissaoEHoje) {
    aprovaAberto();
    TDMDocNorm docs(dm, item(EscopoDocNorm::DadosGerais));
    const bool gravou = docs.aplica(candidato(docs.candidatos(), 1007), QString::fromUtf8(GetParam().texto));
    const QString mensagem = QString::fromUtf8(GetParam().mensagem);
    EXPECT_EQ(gravou, mensagem.isEmpty());
    EXPECT_EQ(prompts.lastText(), mensagem);
    EXPECT_EQ(conta(QStringLiteral("SELECT COUNT(*) FROM DOC_NORM_CERT_PRODUTO")), gravou ? 1 : 0);
    EXPECT_EQ(conta(QStringLiteral("SELECT COUNT(*) FROM STATUS_DNCP")), gravou ? 1 : 0);
    // A refused date changes nothing, not even the approval.
    EXPECT_EQ(aprovado(), gravou ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(
    Datas, DataDeEntradaTest,
    ::testing::Values(DataCase{"  /  /    ", "É necessário informar a  data de entrada."},
                      DataCase{"31/02/2015", "Data inválida."},
                      DataCase{"09/11/2015",
                               "A data de entrada é menor que a data de emissão do certificado."},
                      DataCase{"26/11/2015", "A data de entrada é maior que a data atual."},
                      DataCase{"10/11/2015", ""}, DataCase{"25/11/2015", ""}));

TEST_F(DocNormTest, FalhaNoEventoDaInclusaoNaoDeixaOVinculo) {
    aprovaAberto();
    // The event cannot be written.
    Sql::execute(db, QStringLiteral("CREATE TRIGGER falha BEFORE INSERT ON STATUS_DNCP "
                                    "BEGIN SELECT RAISE(ABORT, 'falha injetada'); END"));
    TDMDocNorm docs(dm, item(EscopoDocNorm::DadosGerais));
    EXPECT_FALSE(docs.aplica(candidato(docs.candidatos(), 1001), QStringLiteral("12/11/2015")));
    EXPECT_EQ(prompts.lastText(), Generico);
    EXPECT_EQ(prompts.shown().last().caption, "Erro de gravação");
    EXPECT_EQ(conta(QStringLiteral("SELECT COUNT(*) FROM DOC_NORM_CERT_PRODUTO")), 0);
    EXPECT_EQ(conta(QStringLiteral("SELECT COUNT(*) FROM STATUS_DNCP")), 0);
    EXPECT_EQ(aprovado(), 1);
    EXPECT_TRUE(dm.registro().Aprovado);
}

TEST_F(DocNormTest, ExclusaoApagaOVinculoComSeusEventos) {
    tipo(QStringLiteral("FRIO"), QStringLiteral("X1"));
    TDMDocNorm docs(dm, item(EscopoDocNorm::DadosGerais));
    ASSERT_TRUE(docs.aplica(candidato(docs.candidatos(), 1001), QStringLiteral("12/11/2015")));
    ASSERT_TRUE(docs.aplica(candidato(docs.candidatos(), 1007), QStringLiteral("12/11/2015")));
    resposta = Justificativa{QStringLiteral("Revisão"), QDate(2015, 11, 20)};
    ASSERT_TRUE(docs.mudaStatus(docs.vinculos()[0], QStringLiteral("S")));
    ASSERT_EQ(completo(), 1);
    aprovaAberto();
    ASSERT_EQ(conta(QStringLiteral("SELECT COUNT(*) FROM STATUS_DNCP WHERE IdDocNorm = 1001")), 2);

    // "Não": nothing happens.
    prompts.planAnswer(PromptAnswer::No);
    EXPECT_FALSE(docs.exclui(docs.vinculos()[0]));
    EXPECT_EQ(prompts.lastText(), "Confirma a Exclusão do Histórico?");
    EXPECT_EQ(docs.vinculos().size(), 2);
    EXPECT_EQ(aprovado(), 1);

    prompts.planAnswer(PromptAnswer::Yes);
    EXPECT_TRUE(docs.exclui(docs.vinculos()[0]));
    const QList<VinculoDocNorm> restantes = docs.vinculos();
    ASSERT_EQ(restantes.size(), 1);
    EXPECT_EQ(restantes[0].IdDocNorm, 1007);
    EXPECT_EQ(conta(QStringLiteral("SELECT COUNT(*) FROM STATUS_DNCP WHERE IdDocNorm = 1001")), 0);
    EXPECT_EQ(conta(QStringLiteral("SELECT COUNT(*) FROM STATUS_DNCP WHERE IdDocNorm = 1007")), 1);
    EXPECT_EQ(aprovado(), 0);
    EXPECT_EQ(completo(), 1);

    prompts.planAnswer(PromptAnswer::Yes);
    EXPECT_TRUE(docs.exclui(restantes[0]));
    EXPECT_EQ(completo(), 0); // no document left
    EXPECT_FALSE(dm.registro().Completo);
}

TEST_F(DocNormTest, VinculoQueOKavorelTemNaoPodeSerApagado) {
    tipo(QStringLiteral("D'AGUA"), QStringLiteral("X'1"));
    TDMDocNorm docs(dm, itemTipo(QStringLiteral("D'AGUA"), QStringLiteral("X'1")));
    ASSERT_TRUE(docs.aplica(candidato(docs.candidatos(), 1006), QStringLiteral("12/11/2015")));
    ASSERT_EQ(docs.vinculos().size(), 1);
    resposta = Justificativa{QStringLiteral("Norma cancelada"), QDate(2015, 11, 24)};
    ASSERT_TRUE(docs.mudaStatus(docs.vinculos()[0], QStringLiteral("C")));
    // The batch accepted by the authority put it into the replica.
    ASSERT_SQL(db, QStringLiteral("INSERT INTO REP_DOC_NORM_TIPO SELECT * FROM DOC_NORM_TIPO"));
    prompts.clear();
    EXPECT_FALSE(docs.exclui(docs.vinculos()[0]));
    EXPECT_EQ(prompts.texts(),
              QStringList({"Este registro não pode ser apagado do certificado, pois já foi aprovado "
                           "para emissão para o Kavorel."}));
    EXPECT_EQ(prompts.shown().last().kind, PromptKind::Information);
    EXPECT_EQ(conta(QStringLiteral("SELECT COUNT(*) FROM DOC_NORM_TIPO")), 1);
    EXPECT_EQ(conta(QStringLiteral("SELECT COUNT(*) FROM STATUS_DNT")), 2);
    // Its status may still change.
    resposta = Justificativa{QStringLiteral("Norma reeditada"), QDate(2015, 11, 25)};
    EXPECT_TRUE(docs.mudaStatus(docs.vinculos()[0], QStringLiteral("A")));
    EXPECT_EQ(docs.vinculos()[0].Status, "A");
}

TEST_F(DocNormTest, MudancaDeStatusComJustificativaEDataLimitadaPelaEmissao) {
    tipo(QStringLiteral("D'AGUA"), QStringLiteral("X'1"));
    TDMDocNorm docs(dm, itemTipo(QStringLiteral("D'AGUA"), QStringLiteral("X'1")));
    ASSERT_TRUE(docs.aplica(candidato(docs.candidatos(), 1006), QStringLiteral("12/11/2015")));
    aprovaAberto();
    clock.advanceSeconds(5);

    // Cancelled dialog: nothing changes.
    std::optional<QDate> emissaoDada;
    bool dataPedida = false;
    dm.setJustificationAsker([&](bool askDate, const QDate& emissao) {
        dataPedida = askDate;
        emissaoDada = emissao;
        return resposta;
    });
    resposta.reset();
    EXPECT_FALSE(docs.mudaStatus(docs.vinculos()[0], QStringLiteral("S")));
    EXPECT_TRUE(dataPedida);
    EXPECT_EQ(emissaoDada, QDate(2015, 11, 10)); // the dialog bounds the date by the emission too
    EXPECT_EQ(docs.vinculos()[0].Status, "A");
    EXPECT_EQ(conta(QStringLiteral("SELECT COUNT(*) FROM STATUS_DNT")), 1);
    EXPECT_EQ(aprovado(), 1);

    resposta = Justificativa{QStringLiteral("Ensaio pendente"), QDate(2015, 11, 20)};
    EXPECT_TRUE(docs.mudaStatus(docs.vinculos()[0], QStringLiteral("S")));
    const VinculoDocNorm v = docs.vinculos()[0];
    EXPECT_EQ(v.Status, "S");
    EXPECT_EQ(v.DthStatus, QDateTime(QDate(2015, 11, 20), QTime(0, 0)));
    EXPECT_EQ(valor(QStringLiteral("SELECT DthUltAtualiz || ' ' || UsuResp FROM DOC_NORM_TIPO")).toString(),
              "2015-11-25T14:04:04.000 maria");
    QSqlQuery e =
        Sql::exec(db, QStringLiteral("SELECT Evento, Justificativa, HistoricoSis, Status_DNT, DthStatusDNT, "
                                     "MarcaProd, ModeloProd FROM STATUS_DNT ORDER BY SeqEvento DESC"));
    ASSERT_TRUE(e.next());
    EXPECT_EQ(e.value(0).toString(), "SUS");
    EXPECT_EQ(e.value(1).toString(), "Ensaio pendente");
    EXPECT_EQ(e.value(2).toString(), "2");
    EXPECT_EQ(e.value(3).toString(), "S");
    EXPECT_EQ(e.value(4).toString(), "2015-11-20T00:00:00.000");
    EXPECT_EQ(e.value(5).toString(), "D'AGUA");
    EXPECT_EQ(e.value(6).toString(), "X'1");
    EXPECT_EQ(aprovado(), 0);

    // The codes of the other two changes.
    resposta = Justificativa{QStringLiteral("Cancelada"), QDate(2015, 11, 21)};
    EXPECT_TRUE(docs.mudaStatus(docs.vinculos()[0], QStringLiteral("C")));
    resposta = Justificativa{QStringLiteral("Volta"), QDate(2015, 11, 22)};
    EXPECT_TRUE(docs.mudaStatus(docs.vinculos()[0], QStringLiteral("A")));
    QStringList eventos;
    QSqlQuery all =
        Sql::exec(db, QStringLiteral("SELECT Evento || Status_DNT FROM STATUS_DNT ORDER BY SeqEvento"));
    while (all.next())
        eventos << all.value(0).toString();
    EXPECT_EQ(eventos, QStringList({"INCA", "SUSS", "CANC", "REAA"}));
}

TEST_F(DocNormTest, FalhaNoEventoDoStatusDeixaOVinculoComoEstava) {
    tipo(QStringLiteral("FRIO"), QStringLiteral("X1"));
    TDMDocNorm docs(dm, itemTipo(QStringLiteral("FRIO"), QStringLiteral("X1")));
    ASSERT_TRUE(docs.aplica(candidato(docs.candidatos(), 1001), QStringLiteral("12/11/2015")));
    aprovaAberto();
    Sql::execute(db, QStringLiteral("CREATE TRIGGER falha BEFORE INSERT ON STATUS_DNT "
                                    "BEGIN SELECT RAISE(ABORT, 'falha injetada'); END"));
    resposta = Justificativa{QStringLiteral("Motivo"), QDate(2015, 11, 20)};
    EXPECT_FALSE(docs.mudaStatus(docs.vinculos()[0], QStringLiteral("S")));
    EXPECT_EQ(prompts.lastText(), "Erro ao gerar o Status!");
    EXPECT_EQ(prompts.shown().last().kind, PromptKind::Error);
    EXPECT_EQ(valor(QStringLiteral("SELECT Status_DNT || ' ' || DthStatusDNT FROM DOC_NORM_TIPO")).toString(),
              "A 2015-11-12T00:00:00.000");
    EXPECT_EQ(conta(QStringLiteral("SELECT COUNT(*) FROM STATUS_DNT")), 1);
    EXPECT_EQ(aprovado(), 1);
}

TEST_F(DocNormTest, LoteEServicoGravamNasSuasTabelas) {
    lote(QStringLiteral("FRIO"), QStringLiteral("X1"), QStringLiteral("L'7"));
    ItemDocNorm l = itemTipo(QStringLiteral("FRIO"), QStringLiteral("X1"));
    l.escopo = EscopoDocNorm::Lote;
    l.Numero = QStringLiteral("L'7");
    TDMDocNorm lotes(dm, l);
    ASSERT_TRUE(lotes.aplica(candidato(lotes.candidatos(), 1007), QStringLiteral("13/11/2015")));
    EXPECT_EQ(
        conta(QStringLiteral("SELECT COUNT(*) FROM DOC_NORM_LOTE WHERE NumLote = 'L''7' AND IdDocNorm = 1007 "
                             "AND MarcaProd = 'FRIO' AND Status_DNL = 'A'")),
        1);
    EXPECT_EQ(
        conta(QStringLiteral("SELECT COUNT(*) FROM STATUS_DNL WHERE NumLote = 'L''7' AND Evento = 'INC'")),
        1);
    EXPECT_EQ(ids(lotes.candidatos()), QList<int>({1006, 1001}));
    EXPECT_EQ(lotes.vinculos().size(), 1);

    // A service of class 10 of the company: the service documents of that class.
    servico(10);
    ItemDocNorm s = item(EscopoDocNorm::Servicos);
    s.IdClasseCertif = QStringLiteral("SERV");
    s.IdClasseServ = 10;
    s.CodigoPais = QStringLiteral("BR");
    s.IdEmpresa = Cnpj;
    TDMDocNorm servicos(dm, s);
    EXPECT_EQ(ids(servicos.candidatos()), QList<int>({2003, 2001}));
    ASSERT_TRUE(servicos.aplica(candidato(servicos.candidatos(), 2001), QStringLiteral("13/11/2015")));
    EXPECT_EQ(conta(QStringLiteral(
                        "SELECT COUNT(*) FROM DOC_NORM_SERV WHERE IdClasseServ = 10 AND IdDocNorm = 2001 "
                        "AND IdClasseCertif = 'SERV' AND IdEmpresa = :id AND Status_DNS = 'A'"),
                    {{":id", Cnpj}}),
              1);
    EXPECT_EQ(
        conta(QStringLiteral("SELECT COUNT(*) FROM STATUS_DNS WHERE IdDocNorm = 2001 AND Evento = 'INC'")),
        1);
    EXPECT_EQ(ids(servicos.candidatos()), QList<int>({2003}));
    const QList<VinculoDocNorm> v = servicos.vinculos();
    ASSERT_EQ(v.size(), 1);
    EXPECT_EQ(v[0].NomeTitulo, "Portaria 206/2011 - Extintores");
    // The history screen's key of the link, in STATUS_DNS's column order.
    EXPECT_EQ(servicos.chaveDoEvento(v[0]), QVariantList({2001, "SERV", 10, "OCC1", Numero, "BR", Cnpj}));
}

// Every scope, from inclusion to removal, in its own link, event and replica tables.
class CicloDoVinculoTest : public DocNormFixture, public ::testing::WithParamInterface<EscopoDocNorm> {};

TEST_P(CicloDoVinculoTest, IncluiMudaStatusEExclui) {
    const EscopoDocNorm escopo = GetParam();
    const EscopoInfo& info = escopoInfo(escopo);
    ItemDocNorm i = itemTipo(QStringLiteral("FRIO"), QStringLiteral("X'1"));
    i.escopo = escopo;
    if (escopo == EscopoDocNorm::Tipo) {
        tipo(i.MarcaProd, i.ModeloProd);
    } else if (escopo == EscopoDocNorm::Lote) {
        i.Numero = QStringLiteral("L-1");
        lote(i.MarcaProd, i.ModeloProd, i.Numero);
    } else if (escopo == EscopoDocNorm::Unidade) {
        i.Numero = QStringLiteral("S'9");
        unidade(i.MarcaProd, i.ModeloProd, i.Numero);
    } else if (escopo == EscopoDocNorm::Servicos) {
        servico(10);
        i.IdClasseCertif = QStringLiteral("SERV");
        i.IdClasseServ = 10;
        i.CodigoPais = QStringLiteral("BR");
        i.IdEmpresa = Cnpj;
    }
    TDMDocNorm docs(dm, i);
    EXPECT_EQ(docs.escopo().caption, info.caption);
    const QList<CandidatoDocNorm> candidatos = docs.candidatos();
    ASSERT_FALSE(candidatos.isEmpty());
    ASSERT_TRUE(docs.aplica(candidatos[0], QStringLiteral("12/11/2015")));
    ASSERT_EQ(docs.vinculos().size(), 1);
    const QString eventos = eventTableInfo(info.eventos).name;
    auto contaEm = [this](const QString& tabela) {
        return conta(QStringLiteral("SELECT COUNT(*) FROM ") + tabela);
    };
    EXPECT_EQ(contaEm(info.tabela), 1);
    EXPECT_EQ(contaEm(eventos), 1);
    EXPECT_EQ(
        valor(
            QStringLiteral("SELECT %1 || %2 FROM %3").arg(info.colunaStatus, info.colunaEntrada, info.tabela))
            .toString(),
        "A2015-11-12T00:00:00.000");
    // The link is found again by its whole key, and its history by the event table's key.
    EXPECT_TRUE(DocumentosNormativos::vinculo(db, escopo, docs.vinculos()[0].chave).has_value());
    EXPECT_EQ(HistoricoItens::statusAtual(db, info.eventos, docs.chaveDoEvento(docs.vinculos()[0])), "A");

    resposta = Justificativa{QStringLiteral("Motivo"), QDate(2015, 11, 20)};
    ASSERT_TRUE(docs.mudaStatus(docs.vinculos()[0], QStringLiteral("C")));
    EXPECT_EQ(docs.vinculos()[0].Status, "C");
    EXPECT_EQ(contaEm(eventos), 2);

    ASSERT_SQL(db, QStringLiteral("INSERT INTO %1 SELECT * FROM %2").arg(info.replica, info.tabela));
    EXPECT_FALSE(docs.exclui(docs.vinculos()[0]));
    EXPECT_EQ(prompts.lastText(), TDMDocNorm::NaoPodeApagar);
    ASSERT_SQL(db, QStringLiteral("DELETE FROM %1").arg(info.replica));
    prompts.planAnswer(PromptAnswer::Yes);
    EXPECT_TRUE(docs.exclui(docs.vinculos()[0]));
    EXPECT_EQ(contaEm(info.tabela), 0);
    EXPECT_EQ(contaEm(eventos), 0);
}

INSTANTIATE_TEST_SUITE_P(Escopos, CicloDoVinculoTest,
                         ::testing::Values(EscopoDocNorm::DadosGerais, EscopoDocNorm::Tipo,
                                           EscopoDocNorm::Lote, EscopoDocNorm::Unidade,
                                           EscopoDocNorm::Servicos));

TEST(EscopoDocNorm, AbasDoRegistro) {
    EXPECT_EQ(escopoDaAba(QStringLiteral("Dados Gerais")), EscopoDocNorm::DadosGerais);
    EXPECT_EQ(escopoDaAba(QStringLiteral("Produtos por Tipo")), EscopoDocNorm::Tipo);
    EXPECT_EQ(escopoDaAba(QStringLiteral("Produtos por Lote")), EscopoDocNorm::Lote);
    EXPECT_EQ(escopoDaAba(QStringLiteral("Produtos por Unidade")), EscopoDocNorm::Unidade);
    EXPECT_EQ(escopoDaAba(QStringLiteral("Serviços")), EscopoDocNorm::Servicos);
    EXPECT_EQ(escopoDaAba(QStringLiteral("Empresas Envolvidas")), std::nullopt);
}

} // namespace
