#include "Certificados.h"
#include "DataDigitada.h"
#include "RegistroFixture.h"

#include <QSet>
#include <stdexcept>

namespace {

const QString Generico =
    QStringLiteral("Erro genérico de gravação no Banco de Dados !!! As alterações não foram efetuadas.");

using CertificadoTest = RegistroFixture;

TEST_F(CertificadoTest, NovoCertificadoTemStatusAEUmEventoDeInclusao) {
    cria(QStringLiteral("ABC'1"));

    QSqlQuery c =
        Sql::exec(db,
                  QStringLiteral("SELECT StatusCertificado, Completo, Aprovado, DthUltAtualiz, UsuResp, "
                                 "DthStatusCertificado, DataEmissao, DataValid, Signatarios "
                                 "FROM CERTIFIC WHERE SiglaCertificador = 'OCC1' AND NumCertif = :n"),
                  {{":n", "ABC'1"}});
    ASSERT_TRUE(c.next());
    EXPECT_EQ(c.value(0).toString(), "A");
    EXPECT_EQ(c.value(1).toInt(), 0);
    EXPECT_EQ(c.value(2).toInt(), 0);
    EXPECT_EQ(c.value(3).toString(), "2015-11-25T14:03:59.000");
    EXPECT_EQ(c.value(4).toString(), "maria");
    EXPECT_EQ(c.value(5).toString(), "2015-11-10T00:00:00.000");
    EXPECT_EQ(c.value(6).toString(), "2015-11-10T00:00:00.000");
    EXPECT_EQ(c.value(7).toString(), "2018-11-10T00:00:00.000");
    EXPECT_TRUE(c.value(8).isNull()); // no signatory registered

    QSqlQuery e = Sql::exec(db,
                            QStringLiteral("SELECT SeqEvento, Evento, Justificativa, HistoricoSis, "
                                           "StatusCertificado, DthStatusCertificado, UsuResp FROM STATUS_C "
                                           "WHERE NumCertif = :n"),
                            {{":n", "ABC'1"}});
    ASSERT_TRUE(e.next());
    EXPECT_EQ(e.value(0).toInt(), 1);
    EXPECT_EQ(e.value(1).toString(), "INC");
    EXPECT_EQ(e.value(2).toString(), "Historico gerado pelo sistema");
    EXPECT_EQ(e.value(3).toString(), "2");
    EXPECT_EQ(e.value(4).toString(), "A");
    EXPECT_EQ(e.value(5).toString(), "2015-11-10T00:00:00.000");
    EXPECT_EQ(e.value(6).toString(), "maria");
    EXPECT_FALSE(e.next());

    EXPECT_EQ(dm.numAberto(), "ABC'1");
    EXPECT_EQ(dm.estado(), TDMCertif::Estado::Edicao);
    EXPECT_FALSE(dm.DataUltimaAprovacao().isValid());
    EXPECT_EQ(perguntas, 0);
}

TEST_F(CertificadoTest, ProposOSignatarioPadraoUmaVezCada) {
    for (const char* row :
         {"('Zeca', 'N', 'OCC1')", "('Ana', 'N', 'OCC1')", "('Paulo', 'S', 'OCC1')", "('Ana', 'N', 'OCC1')"})
        Sql::execute(
            db, QStringLiteral("INSERT INTO SIGNATARIOS (Signatario, Default_s, SiglaCertificador) VALUES ") +
                    QLatin1String(row));
    EXPECT_EQ(Certificados::signatarios(db), QStringList({"Paulo", "Ana", "Zeca"}));
    ASSERT_TRUE(dm.Novo());
    EXPECT_EQ(dm.registro().Signatarios, "Paulo");
    EXPECT_EQ(dm.registro().SiglaCertificador, "OCC1");
}

TEST_F(CertificadoTest, NumeroExistenteMesmoEmOutraCaixaERecusado) {
    cria(QStringLiteral("abc'1"));
    const QVariant antes = valor(QStringLiteral("SELECT DthUltAtualiz || LabEnsaio FROM CERTIFIC"));
    clock.advanceSeconds(60);
    ASSERT_TRUE(dm.Novo());
    dm.registro().NumCertif = QStringLiteral("ABC'1");
    dm.registro().IdClasseCertif = QStringLiteral("VOL");
    dm.registro().IdClasseProd = 110;
    dm.registro().LabEnsaio = QStringLiteral("outro");
    prompts.clear();
    const auto result = dm.salvaInclusao(QStringLiteral("11/11/2015"), QStringLiteral("11/11/2016"));
    EXPECT_FALSE(result.salvo);
    EXPECT_EQ(result.foco, TDMCertif::Campo::Numero);
    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_EQ(prompts.shown()[0].kind, PromptKind::Message);
    EXPECT_EQ(prompts.shown()[0].caption, "Erro de chave duplicada");
    EXPECT_EQ(prompts.shown()[0].text, "Este certificado já existe !!!. Cancele a Operação.");
    EXPECT_EQ(dm.estado(), TDMCertif::Estado::Insercao);
    EXPECT_EQ(conta(QStringLiteral("SELECT COUNT(*) FROM CERTIFIC")), 1);
    EXPECT_EQ(valor(QStringLiteral("SELECT DthUltAtualiz || LabEnsaio FROM CERTIFIC")), antes);
    EXPECT_EQ(conta(QStringLiteral("SELECT COUNT(*) FROM STATUS_C")), 1);
}

struct CasoDatas {
    const char* emissao;
    const char* validade;
    const char* mensagem; // empty: stored
};

void PrintTo(const CasoDatas& c, std::ostream* os) {
    *os << c.emissao << " a " << c.validade;
}

class DatasDoNovoCertificado : public RegistroFixture, public ::testing::WithParamInterface<CasoDatas> {};

TEST_P(DatasDoNovoCertificado, SaoConferidasAoSalvar) {
    const CasoDatas caso = GetParam();
    ASSERT_TRUE(dm.Novo());
    dm.registro().NumCertif = QStringLiteral("N-1");
    dm.registro().IdClasseCertif = QStringLiteral("COMP");
    dm.registro().IdClasseProd = 200;
    const auto result = dm.salvaInclusao(QString::fromUtf8(caso.emissao), QString::fromUtf8(caso.validade));
    const QString esperada = QString::fromUtf8(caso.mensagem);
    EXPECT_EQ(result.salvo, esperada.isEmpty());
    EXPECT_EQ(conta(QStringLiteral("SELECT COUNT(*) FROM CERTIFIC")), esperada.isEmpty() ? 1 : 0);
    if (esperada.isEmpty()) {
        EXPECT_TRUE(prompts.shown().isEmpty()) << prompts.lastText().toStdString();
    } else {
        ASSERT_EQ(prompts.shown().size(), 1);
        EXPECT_EQ(prompts.shown()[0].caption, "Erro de entrada de dados");
        EXPECT_EQ(prompts.shown()[0].text, esperada);
    }
}

// Today is 25/11/2015.
INSTANTIATE_TEST_SUITE_P(
    Tabela, DatasDoNovoCertificado,
    ::testing::Values(
        CasoDatas{"25/11/2015", "25/11/2015", ""}, // emission today, validity equal to it
        CasoDatas{"26/11/2015", "01/01/2016",
                  "Formato de data inválido ou data superior a data atual! Tente novamente."},
        CasoDatas{"31/02/2015", "01/01/2016",
                  "Formato de data inválido ou data superior a data atual! Tente novamente."},
        CasoDatas{"2 /11/2015", "01/01/2016", "O formato de data deve ser dd/mm/aaaa."},
        CasoDatas{"  /  /    ", "01/01/2016", "O formato de data deve ser dd/mm/aaaa."},
        CasoDatas{
            "10/11/2015", "09/11/2015",
            "Formato de data inválido ou data inferior a data de emissao do certificado! Tente novamente."},
        CasoDatas{
            "10/11/2015", "01/01/2080",
            "Formato de data inválido ou data inferior a data de emissao do certificado! Tente novamente."},
        CasoDatas{"10/11/2015", "31/12/2079", ""},
        CasoDatas{"10/11/2015", "  /  /    ", "Por favor informe a data de validade do certificado."}));

TEST_F(CertificadoTest, EmissaoEm2080ERecusadaQualquerQueSejaAData) {
    clock.set(QDateTime(QDate(2085, 1, 1), QTime(9, 0)));
    EXPECT_EQ(DatasCertificado::erroEmissao(QStringLiteral("01/01/2080"), clock.today()),
              "Formato de data inválido ou data superior a data atual! Tente novamente.");
    EXPECT_EQ(DatasCertificado::erroEmissao(QStringLiteral("31/12/2079"), clock.today()), "");
    ASSERT_TRUE(dm.Novo());
    dm.registro().NumCertif = QStringLiteral("N-2080");
    dm.registro().IdClasseCertif = QStringLiteral("COMP");
    dm.registro().IdClasseProd = 200;
    EXPECT_FALSE(dm.salvaInclusao(QStringLiteral("01/01/2080"), QStringLiteral("01/01/2081")).salvo);
    EXPECT_EQ(prompts.lastText(), "Formato de data inválido ou data superior a data atual! Tente novamente.");
    EXPECT_EQ(conta(QStringLiteral("SELECT COUNT(*) FROM CERTIFIC")), 0);
}

TEST_F(CertificadoTest, ConfiguracaoAdulteradaImpedeNovoCertificado) {
    ASSERT_SQL(db, QStringLiteral("DELETE FROM CONFIG_LOCAL"));
    EXPECT_FALSE(dm.Novo());
    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_EQ(prompts.shown()[0].caption, "Erro de sistema");
    EXPECT_EQ(prompts.shown()[0].text, "Tabela de Configurações Locais adulterada. O módulo de inclusão de "
                                       "certificado não pode continuar.");
    EXPECT_EQ(dm.estado(), TDMCertif::Estado::Fechado);
}

TEST_F(CertificadoTest, FalhaDoEventoDeInclusaoDesfazTudo) {
    ASSERT_SQL(db,
               QStringLiteral(
                   "CREATE TRIGGER falha BEFORE INSERT ON STATUS_C BEGIN SELECT RAISE(ABORT, 'cheio'); END"));
    ASSERT_TRUE(dm.Novo());
    dm.registro().NumCertif = QStringLiteral("N-1");
    dm.registro().IdClasseCertif = QStringLiteral("COMP");
    dm.registro().IdClasseProd = 110;
    EXPECT_FALSE(dm.salvaInclusao(QStringLiteral("10/11/2015"), QStringLiteral("10/11/2016")).salvo);
    EXPECT_EQ(conta(QStringLiteral("SELECT COUNT(*) FROM CERTIFIC")), 0);
    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_EQ(prompts.shown()[0].caption, "Erro de gravação");
    EXPECT_EQ(prompts.shown()[0].text, Generico);
    EXPECT_EQ(dm.estado(), TDMCertif::Estado::Insercao);
    EXPECT_TRUE(dm.numAberto().isEmpty());
}

TEST_F(CertificadoTest, AlteracaoDeNuncaAprovadoNaoGeraEvento) {
    cria(QStringLiteral("N-1"));
    // Another certificate's approval and replica row say nothing about this one.
    cria(QStringLiteral("N-2"));
    aprova(QStringLiteral("N-2"), QDateTime(QDate(2015, 11, 20), QTime(10, 0)));
    Sql::execute(db, QStringLiteral("INSERT INTO REP_CERTIFIC (SiglaCertificador, NumCertif) "
                                    "VALUES ('OCC1', 'N-2')"));
    ASSERT_TRUE(dm.CarregaCertificado(QStringLiteral("OCC1"), QStringLiteral("N-1")));
    EXPECT_FALSE(dm.JaAprovado());
    EXPECT_FALSE(dm.chaveBloqueada());
    dm.registro().LabEnsaio = QStringLiteral("Lab Central");
    clock.advanceSeconds(30);
    EXPECT_TRUE(dm.salvaGeral(QStringLiteral("10/11/2015"), QStringLiteral("10/11/2018")).salvo);
    EXPECT_EQ(valor(QStringLiteral("SELECT LabEnsaio FROM CERTIFIC WHERE NumCertif = 'N-1'")).toString(),
              "Lab Central");
    EXPECT_EQ(valor(QStringLiteral("SELECT DthUltAtualiz FROM CERTIFIC WHERE NumCertif = 'N-1'")).toString(),
              "2015-11-25T14:04:29.000");
    EXPECT_EQ(conta(QStringLiteral("SELECT COUNT(*) FROM STATUS_C WHERE NumCertif = 'N-1'")), 1);
    EXPECT_EQ(perguntas, 0);
    EXPECT_FALSE(dm.modificado());
}

// A certificate counts as approved before by an APR event, by its Aprovado flag (the text import
// approves without an event) or by being held in the replica (the authority knows it).
enum class FonteAprovacao { EventoAPR, FlagAprovado, Replica };

struct CasoAprovacao {
    const char* nome;
    FonteAprovacao fonte;
};

void PrintTo(const CasoAprovacao& c, std::ostream* os) {
    *os << c.nome;
}

class AprovadoAntes : public RegistroFixture, public ::testing::WithParamInterface<CasoAprovacao> {
protected:
    void criaAprovado() {
        cria(QStringLiteral("N-1"));
        switch (GetParam().fonte) {
        case FonteAprovacao::EventoAPR:
            aprova(QStringLiteral("N-1"), QDateTime(QDate(2015, 11, 20), QTime(10, 0)));
            break;
        case FonteAprovacao::FlagAprovado:
            Sql::execute(db, QStringLiteral("UPDATE CERTIFIC SET Aprovado = 1"));
            break;
        case FonteAprovacao::Replica:
            Sql::execute(db, QStringLiteral("INSERT INTO REP_CERTIFIC (SiglaCertificador, NumCertif) "
                                            "VALUES ('OCC1', 'N-1')"));
            break;
        }
        ASSERT_TRUE(dm.CarregaCertificado(QStringLiteral("OCC1"), QStringLiteral("N-1")));
    }
};

TEST_P(AprovadoAntes, AlteracaoPedeJustificativaGravaALTERetiraAprovado) {
    criaAprovado();
    EXPECT_TRUE(dm.JaAprovado());
    EXPECT_TRUE(dm.chaveBloqueada());
    resposta = Justificativa{QStringLiteral("Correção do laboratório"), {}};
    dm.registro().LabEnsaio = QStringLiteral("Lab Central");
    clock.advanceSeconds(30);
    EXPECT_TRUE(dm.salvaGeral(QStringLiteral("10/11/2015"), QStringLiteral("10/11/2018")).salvo);
    EXPECT_EQ(perguntas, 1);
    EXPECT_EQ(conta(QStringLiteral("SELECT Aprovado FROM CERTIFIC")), 0);
    EXPECT_EQ(valor(QStringLiteral("SELECT Justificativa FROM STATUS_C WHERE Evento = 'ALT'")).toString(),
              "Correção do laboratório");
}

TEST_P(AprovadoAntes, NaoPodeSerExcluido) {
    criaAprovado();
    prompts.clear();
    EXPECT_FALSE(dm.excluiCertificado());
    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_EQ(prompts.shown()[0].caption, "Exclusão do Certificado.");
    EXPECT_EQ(prompts.shown()[0].text,
              "Este certificado já foi aprovado para envio para o Kavorel e não pode ser deletado.");
    EXPECT_EQ(conta(QStringLiteral("SELECT COUNT(*) FROM CERTIFIC")), 1);
    EXPECT_EQ(conta(QStringLiteral("SELECT COUNT(*) FROM STATUS_C")),
              GetParam().fonte == FonteAprovacao::EventoAPR ? 2 : 1);
}

TEST_P(AprovadoAntes, LinhaIncluidaAntesNaoPodeSerApagada) {
    criaAprovado();
    const QVariantList lote{QStringLiteral("L1"),    QStringLiteral("OCC1"),   QStringLiteral("N-1"),
                            QStringLiteral("Marca"), QStringLiteral("Modelo"), 0};
    EventRow inc;
    inc.evento = QStringLiteral("INC");
    inc.key = lote;
    inc.dthUltAtualiz = QDateTime(QDate(2015, 11, 15), QTime(9, 0));
    Eventos::insere(db, EventTable::STATUS_L, inc);
    EXPECT_FALSE(Eventos::podeApagarItem(db, EventTable::STATUS_L, lote, "OCC1", "N-1"));
    EXPECT_FALSE(dm.aprovacaoAnterior().permiteApagar(inc.dthUltAtualiz));
}

TEST_F(CertificadoTest, NaReplicaLinhaIncluidaDepoisDoAceitoPodeSerApagada) {
    cria(QStringLiteral("N-1"));
    Sql::execute(db,
                 QStringLiteral("INSERT INTO REP_CERTIFIC (SiglaCertificador, NumCertif, DthUltAtualiz) "
                                "VALUES ('OCC1', 'N-1', :dth)"),
                 {{":dth", QDateTime(QDate(2015, 11, 20), QTime(10, 0))}});
    const QVariantList antes{QStringLiteral("L1"),    QStringLiteral("OCC1"),   QStringLiteral("N-1"),
                             QStringLiteral("Marca"), QStringLiteral("Modelo"), 0};
    const QVariantList depois{QStringLiteral("L2"),    QStringLiteral("OCC1"),   QStringLiteral("N-1"),
                              QStringLiteral("Marca"), QStringLiteral("Modelo"), 0};
    for (const auto& [key, dth] : {std::pair{antes, QDateTime(QDate(2015, 11, 20), QTime(10, 0))},
                                   std::pair{depois, QDateTime(QDate(2015, 11, 20), QTime(10, 1))}}) {
        EventRow inc;
        inc.evento = QStringLiteral("INC");
        inc.key = key;
        inc.dthUltAtualiz = dth;
        Eventos::insere(db, EventTable::STATUS_L, inc);
    }
    EXPECT_FALSE(Eventos::podeApagarItem(db, EventTable::STATUS_L, antes, "OCC1", "N-1"));
    EXPECT_TRUE(Eventos::podeApagarItem(db, EventTable::STATUS_L, depois, "OCC1", "N-1"));
}

INSTANTIATE_TEST_SUITE_P(Fontes, AprovadoAntes,
                         ::testing::Values(CasoAprovacao{"EventoAPR", FonteAprovacao::EventoAPR},
                                           CasoAprovacao{"FlagAprovado", FonteAprovacao::FlagAprovado},
                                           CasoAprovacao{"Replica", FonteAprovacao::Replica}),
                         [](const auto& info) { return std::string(info.param.nome); });

TEST_F(CertificadoTest, AlteracaoDeAprovadoPedeJustificativaEGravaALT) {
    cria(QStringLiteral("N-1"));
    const QDateTime aprovacao(QDate(2015, 11, 20), QTime(10, 0, 0, 250));
    aprova(QStringLiteral("N-1"), aprovacao);
    ASSERT_TRUE(dm.CarregaCertificado(QStringLiteral("OCC1"), QStringLiteral("N-1")));
    EXPECT_EQ(dm.DataUltimaAprovacao(), aprovacao);
    EXPECT_TRUE(dm.chaveBloqueada());

    resposta = Justificativa{QStringLiteral("Correção do laboratório"), {}};
    dm.registro().LabEnsaio = QStringLiteral("Lab Central");
    EXPECT_TRUE(dm.salvaGeral(QStringLiteral("10/11/2015"), QStringLiteral("10/11/2018")).salvo);
    EXPECT_EQ(perguntas, 1);
    EXPECT_EQ(conta(QStringLiteral("SELECT Aprovado FROM CERTIFIC")), 0);
    QSqlQuery e =
        Sql::exec(db, QStringLiteral("SELECT Justificativa, HistoricoSis, DthStatusCertificado, SeqEvento "
                                     "FROM STATUS_C WHERE Evento = 'ALT'"));
    ASSERT_TRUE(e.next());
    EXPECT_EQ(e.value(0).toString(), "Correção do laboratório");
    EXPECT_EQ(e.value(1).toString(), "2");
    EXPECT_EQ(e.value(2).toString(), "2015-11-25T14:03:59.000");
    EXPECT_EQ(e.value(3).toInt(), 3);
}

TEST_F(CertificadoTest, JustificativaCanceladaDeixaORegistroComoEstava) {
    cria(QStringLiteral("N-1"));
    aprova(QStringLiteral("N-1"), QDateTime(QDate(2015, 11, 20), QTime(10, 0)));
    ASSERT_TRUE(dm.CarregaCertificado(QStringLiteral("OCC1"), QStringLiteral("N-1")));
    const Certificado antes = dm.original();
    resposta.reset();
    dm.registro().LabEnsaio = QStringLiteral("Lab Central");
    clock.advanceSeconds(60);
    EXPECT_FALSE(dm.salvaGeral(QStringLiteral("10/11/2015"), QStringLiteral("10/11/2018")).salvo);
    EXPECT_EQ(perguntas, 1);
    EXPECT_TRUE(prompts.shown().isEmpty());
    EXPECT_EQ(Certificados::carrega(db, QStringLiteral("OCC1"), QStringLiteral("N-1")), antes);
    EXPECT_EQ(conta(QStringLiteral("SELECT Aprovado FROM CERTIFIC")), 1);
    EXPECT_EQ(conta(QStringLiteral("SELECT COUNT(*) FROM STATUS_C WHERE Evento = 'ALT'")), 0);
    EXPECT_EQ(dm.registro(), antes);
}

TEST_F(CertificadoTest, FalhaDoEventoDeAlteracaoDesfazAAlteracaoEAvisa) {
    cria(QStringLiteral("N-1"));
    aprova(QStringLiteral("N-1"), QDateTime(QDate(2015, 11, 20), QTime(10, 0)));
    ASSERT_TRUE(dm.CarregaCertificado(QStringLiteral("OCC1"), QStringLiteral("N-1")));
    ASSERT_SQL(db, QStringLiteral(
                       "CREATE TRIGGER falha BEFORE INSERT ON STATUS_C BEGIN SELECT RAISE(ABORT, 'x'); END"));
    resposta = Justificativa{QStringLiteral("motivo"), {}};
    dm.registro().LabEnsaio = QStringLiteral("Lab Central");
    EXPECT_FALSE(dm.salvaGeral(QStringLiteral("10/11/2015"), QStringLiteral("10/11/2018")).salvo);
    EXPECT_TRUE(valor(QStringLiteral("SELECT LabEnsaio FROM CERTIFIC")).isNull());
    EXPECT_EQ(conta(QStringLiteral("SELECT Aprovado FROM CERTIFIC")), 1);
    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_EQ(prompts.shown()[0].text, Generico);
    EXPECT_TRUE(dm.registro().LabEnsaio.isEmpty());
}

TEST_F(CertificadoTest, SalvaConfereAsDatasOutraVez) {
    cria(QStringLiteral("N-1"));
    dm.registro().LabEnsaio = QStringLiteral("x");
    EXPECT_FALSE(dm.salvaGeral(QStringLiteral("26/11/2015"), QStringLiteral("10/11/2018")).salvo);
    EXPECT_EQ(prompts.lastText(), "Formato de data inválido ou data superior a data atual! Tente novamente.");
    EXPECT_FALSE(dm.salvaGeral(QStringLiteral("10/11/2015"), QStringLiteral("09/11/2015")).salvo);
    EXPECT_EQ(prompts.lastText(),
              "Formato de data inválido ou data inferior a data de emissão do certificado! Tente novamente.");
    EXPECT_TRUE(valor(QStringLiteral("SELECT LabEnsaio FROM CERTIFIC")).isNull());
}

TEST_F(CertificadoTest, RenumerarParaNumeroExistenteNaoTrocaOCertificadoAberto) {
    cria(QStringLiteral("N-2"));
    cria(QStringLiteral("N-1"));
    dm.registro().NumCertif = QStringLiteral("n-2");
    prompts.clear();
    const auto result = dm.salvaGeral(QStringLiteral("10/11/2015"), QStringLiteral("10/11/2018"));
    EXPECT_FALSE(result.salvo);
    EXPECT_EQ(result.foco, TDMCertif::Campo::Numero);
    EXPECT_EQ(prompts.lastText(), "Este certificado já existe !!!. Cancele a Operação.");
    EXPECT_EQ(dm.numAberto(), "N-1");
    EXPECT_EQ(conta(QStringLiteral("SELECT COUNT(*) FROM CERTIFIC WHERE NumCertif IN ('N-1', 'N-2')")), 2);
}

TEST_F(CertificadoTest, RenumerarLevaEventosEDocumentosDoCertificado) {
    cria(QStringLiteral("N-1"));
    insereLinha(QStringLiteral("DOC_NORM_CERT_PRODUTO"), QStringLiteral("N-1"));
    insereLinha(QStringLiteral("STATUS_DNCP"), QStringLiteral("N-1"));
    insereLinha(QStringLiteral("DOC_NORM_CERT_SERVICO"), QStringLiteral("N-1"));
    insereLinha(QStringLiteral("STATUS_DNCS"), QStringLiteral("N-1"));
    ASSERT_TRUE(dm.CarregaCertificado(QStringLiteral("OCC1"), QStringLiteral("N-1")));
    EXPECT_FALSE(dm.chaveBloqueada());
    dm.registro().NumCertif = QStringLiteral("N-9");
    EXPECT_TRUE(dm.salvaGeral(QStringLiteral("10/11/2015"), QStringLiteral("10/11/2018")).salvo);
    EXPECT_EQ(dm.numAberto(), "N-9");
    for (const char* table : {"CERTIFIC", "STATUS_C", "DOC_NORM_CERT_PRODUTO", "STATUS_DNCP",
                              "DOC_NORM_CERT_SERVICO", "STATUS_DNCS"}) {
        SCOPED_TRACE(table);
        EXPECT_EQ(conta(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE NumCertif = 'N-1'").arg(table)), 0);
        EXPECT_EQ(conta(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE NumCertif = 'N-9'").arg(table)), 1);
    }
}

TEST_F(CertificadoTest, CertificadoComLinhaTemChaveBloqueada) {
    cria(QStringLiteral("N-1"));
    EXPECT_FALSE(dm.chaveBloqueada());
    insereLinha(QStringLiteral("EMP_CERT"), QStringLiteral("N-1"));
    ASSERT_TRUE(dm.CarregaCertificado(QStringLiteral("OCC1"), QStringLiteral("N-1")));
    EXPECT_TRUE(dm.chaveBloqueada());
    EXPECT_FALSE(dm.DataUltimaAprovacao().isValid());
}

struct CasoCompleto {
    const char* nome;
    bool empresa;
    bool tipo;
    const char* documento; // a table linking a normative document, or ""
    bool replica;
    bool completo;
};

void PrintTo(const CasoCompleto& c, std::ostream* os) {
    *os << c.nome;
}

class CompletoDoCertificado : public RegistroFixture, public ::testing::WithParamInterface<CasoCompleto> {};

TEST_P(CompletoDoCertificado, SegueARegra) {
    const CasoCompleto caso = GetParam();
    cria(QStringLiteral("N-1"));
    if (caso.empresa)
        insereLinha(QStringLiteral("EMP_CERT"), QStringLiteral("N-1"));
    if (caso.tipo)
        insereLinha(QStringLiteral("TIPO"), QStringLiteral("N-1"));
    if (*caso.documento)
        insereLinha(QString::fromLatin1(caso.documento), QStringLiteral("N-1"));
    if (caso.replica)
        insereLinha(QStringLiteral("REP_CERTIFIC"), QStringLiteral("N-1"));
    ASSERT_TRUE(dm.CarregaCertificado(QStringLiteral("OCC1"), QStringLiteral("N-1")));
    dm.AtualizaCompleto(QStringLiteral("O"));
    EXPECT_EQ(dm.registro().Completo, caso.completo);
    EXPECT_EQ(conta(QStringLiteral("SELECT Completo FROM CERTIFIC")), caso.completo ? 1 : 0);
    EXPECT_FALSE(dm.modificado());
}

INSTANTIATE_TEST_SUITE_P(
    Tabela, CompletoDoCertificado,
    ::testing::Values(CasoCompleto{"SemDocumento", true, true, "", false, false},
                      CasoCompleto{"ComDocumentoDoCertificado", true, true, "DOC_NORM_CERT_PRODUTO", false,
                                   true},
                      CasoCompleto{"ComDocumentoDoTipo", true, true, "DOC_NORM_TIPO", false, true},
                      CasoCompleto{"NaReplica", true, true, "", true, true},
                      CasoCompleto{"SemEmpresa", false, true, "DOC_NORM_CERT_PRODUTO", false, false},
                      CasoCompleto{"SemLinha", true, false, "DOC_NORM_CERT_PRODUTO", false, false}),
    [](const auto& info) { return std::string(info.param.nome); });

TEST_F(CertificadoTest, CompletoModoCSoMudaORegistroEmEdicao) {
    cria(QStringLiteral("N-1"));
    insereLinha(QStringLiteral("EMP_CERT"), QStringLiteral("N-1"));
    insereLinha(QStringLiteral("SERVICO"), QStringLiteral("N-1"));
    insereLinha(QStringLiteral("REP_CERTIFIC"), QStringLiteral("N-1"));
    dm.AtualizaCompleto(QStringLiteral("C"));
    EXPECT_TRUE(dm.registro().Completo);
    EXPECT_EQ(conta(QStringLiteral("SELECT Completo FROM CERTIFIC")), 0);
    dm.registro().IdClasseProd.reset();
    dm.AtualizaCompleto(QStringLiteral("C"));
    EXPECT_FALSE(dm.registro().Completo);
}

TEST_F(CertificadoTest, RetiraAprovacaoGravaNaHora) {
    cria(QStringLiteral("N-1"));
    aprova(QStringLiteral("N-1"), QDateTime(QDate(2015, 11, 20), QTime(10, 0)));
    ASSERT_TRUE(dm.CarregaCertificado(QStringLiteral("OCC1"), QStringLiteral("N-1")));
    EXPECT_TRUE(dm.registro().Aprovado);
    dm.RetiraAprovacao();
    EXPECT_EQ(conta(QStringLiteral("SELECT Aprovado FROM CERTIFIC")), 0);
    EXPECT_FALSE(dm.registro().Aprovado);
    EXPECT_FALSE(dm.modificado());
}

TEST_F(CertificadoTest, ExisteRegistroDocumentosEOutrosTipos) {
    cria(QStringLiteral("N-1"));
    EXPECT_FALSE(dm.ExisteRegistro(QStringLiteral("DOCUMENTOS")));
    insereLinha(QStringLiteral("DOC_NORM_SERV"), QStringLiteral("N-1"));
    EXPECT_FALSE(dm.ExisteRegistro(QStringLiteral("DOCUMENTOS"))); // no service line to look under
    insereLinha(QStringLiteral("SERVICO"), QStringLiteral("N-1"));
    EXPECT_TRUE(dm.ExisteRegistro(QStringLiteral("DOCUMENTOS")));

    EXPECT_THROW(dm.ExisteRegistro(QStringLiteral("LOTE")), std::invalid_argument);
    dm.registraVerificacao(QStringLiteral("LOTE"), [] { return true; });
    EXPECT_TRUE(dm.ExisteRegistro(QStringLiteral("LOTE")));
}

struct CasoEntrada {
    const char* texto;
    const char* mensagem;
};

void PrintTo(const CasoEntrada& c, std::ostream* os) {
    *os << '"' << c.texto << '"';
}

class DataDeEntrada : public RegistroFixture, public ::testing::WithParamInterface<CasoEntrada> {};

TEST_P(DataDeEntrada, EConferida) {
    cria(QStringLiteral("N-1")); // emitted 10/11/2015, today 25/11/2015
    prompts.clear();
    const QString esperada = QString::fromUtf8(GetParam().mensagem);
    EXPECT_EQ(dm.ValidaDataEntrada(QString::fromUtf8(GetParam().texto)), esperada.isEmpty());
    if (esperada.isEmpty()) {
        EXPECT_TRUE(prompts.shown().isEmpty());
    } else {
        ASSERT_EQ(prompts.shown().size(), 1);
        EXPECT_EQ(prompts.shown()[0].kind, PromptKind::Error);
        EXPECT_EQ(prompts.shown()[0].text, esperada);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Tabela, DataDeEntrada,
    ::testing::Values(CasoEntrada{"  /  /    ", "É necessário informar a  data de entrada."},
                      CasoEntrada{"", "É necessário informar a  data de entrada."},
                      CasoEntrada{"32/11/2015", "Data inválida."},
                      CasoEntrada{"09/11/2015", "A data de entrada é menor que a data de "
                                                "emissão do certificado."},
                      CasoEntrada{"26/11/2015", "A data de entrada é maior que a data atual."},
                      CasoEntrada{"10/11/2015", ""}, CasoEntrada{"25/11/2015", ""}));

TEST_F(CertificadoTest, ExclusaoNaoConfirmadaNadaApaga) {
    cria(QStringLiteral("N-1"));
    prompts.clear();
    prompts.planAnswer(PromptAnswer::No);
    EXPECT_FALSE(dm.excluiCertificado());
    ASSERT_EQ(prompts.shown().size(), 2);
    EXPECT_EQ(prompts.shown()[0].kind, PromptKind::YesNo);
    EXPECT_EQ(prompts.shown()[0].text, "Confirma a exclusão do Certificado ?");
    EXPECT_EQ(prompts.shown()[1].text, "Exclusão cancelada!");
    EXPECT_EQ(conta(QStringLiteral("SELECT COUNT(*) FROM CERTIFIC")), 1);
}

// The tables a certificate's deletion empties, named here on their own: the certificate, its lines,
// the events of both, the normative-document links and their events.
const QStringList TabelasDoCertificado{"STATUS_DNCP",
                                       "STATUS_DNCS",
                                       "STATUS_DNS",
                                       "STATUS_DNT",
                                       "STATUS_DNL",
                                       "STATUS_DNU",
                                       "DOC_NORM_CERT_PRODUTO",
                                       "DOC_NORM_CERT_SERVICO",
                                       "DOC_NORM_SERV",
                                       "DOC_NORM_TIPO",
                                       "DOC_NORM_LOTE",
                                       "DOC_NORM_UNIDADE",
                                       "EVENTO_EMP",
                                       "STATUS_T",
                                       "STATUS_L",
                                       "STATUS_U",
                                       "STATUS_S",
                                       "STATUS_C",
                                       "EMP_CERT",
                                       "TIPO",
                                       "LOTE",
                                       "UNIDADE",
                                       "SERVICO",
                                       "CERTIFIC"};

class ExclusaoDoCertificado : public RegistroFixture {
protected:
    // The certificate "ABC'1" with one row in each of the 24 tables, and "OUTRO" with the same.
    void preenche() {
        ASSERT_EQ(TabelasDoCertificado.size(), 24);
        ASSERT_EQ(QSet<QString>(TabelasDoCertificado.cbegin(), TabelasDoCertificado.cend()).size(), 24);
        for (const QString& numero : {QStringLiteral("ABC'1"), QStringLiteral("OUTRO")})
            for (const QString& table : TabelasDoCertificado)
                insereLinha(table, numero);
        ASSERT_TRUE(dm.CarregaCertificado(QStringLiteral("OCC1"), QStringLiteral("ABC'1")));
    }
    // The certificate's rows, table by table ("TIPO 1").
    QStringList linhasDe(const QString& numero) {
        QStringList rows;
        for (const QString& table : TabelasDoCertificado)
            rows << QStringLiteral("%1 %2").arg(table).arg(conta(
                QStringLiteral("SELECT COUNT(*) FROM %1 WHERE NumCertif = :n").arg(table), {{":n", numero}}));
        return rows;
    }
    static QStringList cada(int n) {
        QStringList rows;
        for (const QString& table : TabelasDoCertificado)
            rows << QStringLiteral("%1 %2").arg(table).arg(n);
        return rows;
    }
};

TEST_F(ExclusaoDoCertificado, ApagaAs24Tabelas) {
    preenche();
    ASSERT_EQ(linhasDe(QStringLiteral("ABC'1")), cada(1));
    prompts.planAnswer(PromptAnswer::Yes);
    EXPECT_TRUE(dm.excluiCertificado());
    EXPECT_EQ(linhasDe(QStringLiteral("ABC'1")), cada(0));
    EXPECT_EQ(linhasDe(QStringLiteral("OUTRO")), cada(1));
    EXPECT_EQ(dm.estado(), TDMCertif::Estado::Fechado);
}

// Every table of the schema that holds rows of a certificate (a NumCertif column) is emptied by the
// deletion, except the replicas (what the authority holds, written only by the exchange) and the
// text import's work table (empty between imports).
TEST_F(ExclusaoDoCertificado, NenhumaTabelaDoCertificadoFicaDeFora) {
    QStringList esquecidas;
    QSqlQuery tables = Sql::exec(db, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' "
                                                    "AND name NOT LIKE 'sqlite%' ORDER BY name"));
    while (tables.next()) {
        const QString table = tables.value(0).toString();
        if (table.startsWith(QLatin1String("REP_"), Qt::CaseInsensitive) ||
            table.compare(QLatin1String("CTR_HISTORICO"), Qt::CaseInsensitive) == 0 ||
            TabelasDoCertificado.contains(table, Qt::CaseInsensitive))
            continue;
        QSqlQuery columns = Sql::exec(db, QStringLiteral("PRAGMA table_info(%1)").arg(table));
        while (columns.next())
            if (columns.value(1).toString().compare(QLatin1String("NumCertif"), Qt::CaseInsensitive) == 0)
                esquecidas << table;
    }
    EXPECT_EQ(esquecidas, QStringList());
}

TEST_F(ExclusaoDoCertificado, FalhaEmUmaTabelaNadaApaga) {
    preenche();
    ASSERT_SQL(db, QStringLiteral(
                       "CREATE TRIGGER falha BEFORE DELETE ON SERVICO BEGIN SELECT RAISE(ABORT, 'x'); END"));
    prompts.planAnswer(PromptAnswer::Yes);
    EXPECT_FALSE(dm.excluiCertificado());
    EXPECT_EQ(linhasDe(QStringLiteral("ABC'1")), cada(1));
    ASSERT_EQ(prompts.shown().size(), 2);
    EXPECT_EQ(prompts.shown()[1].caption, "Erro de deleção");
    EXPECT_EQ(prompts.shown()[1].text,
              "Erro na exclusão do certificado do Banco de Dados !!! As deleção não foi efetuada.");
}

TEST(DataDigitadaTest, LeOsTextosDaMascara) {
    EXPECT_EQ(DataDigitada::le(QStringLiteral("  /  /    ")).estado, DataDigitada::Estado::EmBranco);
    EXPECT_EQ(DataDigitada::le(QString()).estado, DataDigitada::Estado::EmBranco);
    EXPECT_EQ(DataDigitada::le(QStringLiteral("1 /02/2015")).estado, DataDigitada::Estado::Incompleta);
    EXPECT_EQ(DataDigitada::le(QStringLiteral("29/02/2015")).estado, DataDigitada::Estado::Invalida);
    const DataDigitada d = DataDigitada::le(QStringLiteral("29/02/2016"));
    EXPECT_TRUE(d.valida());
    EXPECT_EQ(d.data, QDate(2016, 2, 29));
}

} // namespace

// "Salva" of a new certificate waits for a complete emission date, as the mask shows it.
TEST(DataDigitadaTest, SoADataCompletaContaComoPreenchida) {
    const struct {
        const char* texto;
        bool completa;
    } casos[] = {
        {"  /  /    ", false}, {"01/  /    ", false}, {"01/11/    ", false}, {"  /  /  01", false},
        {"01/11/201 ", false}, {"01/11/2015", true},  {"31/02/2015", true}, // typed whole, checked on saving
    };
    for (const auto& caso : casos)
        EXPECT_EQ(DataDigitada::le(QString::fromLatin1(caso.texto)).completa(), caso.completa) << caso.texto;
}

TEST_F(CertificadoTest, InclusaoPreenchidaSoComAEmissaoCompleta) {
    ASSERT_TRUE(dm.Novo());
    dm.registro().NumCertif = QStringLiteral("C-1");
    dm.registro().IdClasseCertif = QStringLiteral("COMP");
    dm.registro().IdClasseProd = 110;
    EXPECT_FALSE(dm.inclusaoPreenchida(QStringLiteral("  /  /    ")));
    EXPECT_FALSE(dm.inclusaoPreenchida(QStringLiteral("  /  /  01")));
    EXPECT_FALSE(dm.inclusaoPreenchida(QStringLiteral("01/11/    ")));
    EXPECT_TRUE(dm.inclusaoPreenchida(QStringLiteral("01/11/2015")));
}
