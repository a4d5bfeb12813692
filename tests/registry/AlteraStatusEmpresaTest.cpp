#include "AlteraStatusEmpresa.h"
#include "StatusFixture.h"

namespace {

// A certificate C1 issued on 10/11/2015 with three linked companies: ALFA (two active type lines,
// one suspended type line, one active service), a branch of BETA and another BETA branch of the
// same corporate name.
class AlteraStatusEmpresaTest : public StatusFixture {
protected:
    static constexpr const char* Alfa = "11222333000181";
    static constexpr const char* Beta1 = "45997418000153";
    static constexpr const char* Beta2 = "45997418000234";

    void SetUp() override {
        StatusFixture::SetUp();
        cria(QStringLiteral("C1"));
        empresa("BR", Alfa, "1", "Alfa Extintores Ltda");
        empresa("BR", Beta1, "1", "Beta Instalações S.A.");
        empresa("BR", Beta2, "1", "Beta Instalações S.A.");
        for (const char* id : {Alfa, Beta1, Beta2})
            vincula("C1", "BR", id);
        aprova("C1", QDateTime(QDate(2015, 11, 15), QTime(9, 0)));
    }

    static EntradaAlteraStatus dados(const QString& pais, const QString& id, const QString& status) {
        return {
            "OCC1", "C1", pais, id, "maria", status, status == "S" ? "SUS" : status == "C" ? "CAN" : "REA"};
    }

    AlteracaoStatusEmpresa operacao(const EntradaAlteraStatus& e) {
        return AlteracaoStatusEmpresa(session, dm.justificationAsker(), e);
    }

    void linhasDaAlfa() {
        linha("TIPO", "C1", "ACME", "T1", "BR", Alfa);
        linha("TIPO", "C1", "ACME", "T2", "BR", Alfa);
        linha("TIPO", "C1", "ACME", "T3", "BR", Alfa, "S");
        servico("C1", 10, "BR", Alfa);
    }
};

TEST_F(AlteraStatusEmpresaTest, PropagatingACancellationReachesEveryActiveLineAndService) {
    linhasDaAlfa();
    responde("Empresa encerrou as atividades");
    prompts.planAnswer(PromptAnswer::Yes);
    AlteracaoStatusEmpresa op = operacao(dados("BR", Alfa, "C"));

    ASSERT_TRUE(op.propagar()) << prompts.lastText().toStdString();

    EXPECT_EQ(prompts.shown().first().kind, PromptKind::YesNo);
    EXPECT_EQ(prompts.shown().first().text, "Confirma a propagação do status?");
    EXPECT_EQ(prompts.shown().last().kind, PromptKind::Information);
    EXPECT_EQ(prompts.lastText(), "Propagação do Status realizada com sucesso.");
    EXPECT_TRUE(perguntouData);
    EXPECT_EQ(emissaoInformada, QDate(2015, 11, 10)); // the status date is bounded by the emission too

    EXPECT_EQ(conta("SELECT Count(*) FROM EVENTO_EMP"), 1);
    EXPECT_EQ(conta("SELECT Count(*) FROM STATUS_T"), 2);
    EXPECT_EQ(conta("SELECT Count(*) FROM STATUS_S"), 1);
    for (const char* eventos : {"EVENTO_EMP", "STATUS_T", "STATUS_S"}) {
        SCOPED_TRACE(eventos);
        QSqlQuery q =
            Sql::exec(db, QStringLiteral("SELECT Evento, Justificativa, HistoricoSis, DthUltAtualiz, "
                                         "UsuResp FROM %1")
                              .arg(eventos));
        while (q.next()) {
            EXPECT_EQ(q.value(0).toString(), "CAN");
            EXPECT_EQ(q.value(1).toString(), "Empresa encerrou as atividades");
            EXPECT_EQ(q.value(2).toString(), "2");
            EXPECT_EQ(q.value(3).toDateTime(), clock.now());
            EXPECT_EQ(q.value(4).toString(), "maria");
        }
    }
    EXPECT_EQ(conta("SELECT Count(*) FROM STATUS_T WHERE StatusProduto = 'C' AND DthStatusProduto = :d",
                    {{":d", dataDigitada()}}),
              2);
    EXPECT_EQ(conta("SELECT Count(*) FROM STATUS_S WHERE Status_S = 'C' AND DthStatusServico = :d",
                    {{":d", dataDigitada()}}),
              1);
    EXPECT_EQ(conta("SELECT Count(*) FROM EVENTO_EMP WHERE StatusEmpresa = 'C' AND DthStatusEmpresa = :d",
                    {{":d", dataDigitada()}}),
              1);

    // The three active lines: status, status date, last change.
    EXPECT_EQ(conta("SELECT Count(*) FROM TIPO WHERE StatusProduto = 'C' AND DthStatusProduto = :d "
                    "AND DthUltAtualiz = :agora AND UsuResp = 'maria'",
                    {{":d", dataDigitada()}, {":agora", clock.now()}}),
              2);
    EXPECT_EQ(conta("SELECT Count(*) FROM SERVICO WHERE StatusServico = 'C' AND DthStatusServico = :d "
                    "AND DthUltAtualiz = :agora AND UsuResp = 'maria'",
                    {{":d", dataDigitada()}, {":agora", clock.now()}}),
              1);
    // The suspended line is left alone.
    EXPECT_EQ(valor("SELECT StatusProduto FROM TIPO WHERE ModeloProd = 'T3'").toString(), "S");
    EXPECT_EQ(valor("SELECT DthStatusProduto FROM TIPO WHERE ModeloProd = 'T3'").toDateTime(), entrada());
    EXPECT_EQ(valor("SELECT StatusEmpresa FROM EMP_CERT WHERE IdEmpresa = :id", {{":id", Alfa}}).toString(),
              "C");
    EXPECT_EQ(
        valor("SELECT DthStatusEmpresa FROM EMP_CERT WHERE IdEmpresa = :id", {{":id", Alfa}}).toDateTime(),
        dataDigitada());
    EXPECT_FALSE(aprovado("C1"));
    EXPECT_TRUE(op.concluida());
    EXPECT_FALSE(op.propagar()); // one operation per opening
}

TEST_F(AlteraStatusEmpresaTest, PropagationReachesLotsAndUnitsToo) {
    linha("LOTE", "C1", "ACME", "L1", "BR", Alfa, "A", "L-1");
    linha("UNIDADE", "C1", "ACME", "U1", "BR", Alfa, "A", "S-1");
    linha("UNIDADE", "C1", "ACME", "U1", "BR", Beta1, "A", "S-2"); // another company's unit
    responde("Suspensa");
    prompts.planAnswer(PromptAnswer::Yes);
    ASSERT_TRUE(operacao(dados("BR", Alfa, "S")).propagar());
    EXPECT_EQ(valor("SELECT Status_L FROM STATUS_L").toString(), "S");
    EXPECT_EQ(valor("SELECT Evento FROM STATUS_U").toString(), "SUS");
    EXPECT_EQ(conta("SELECT Count(*) FROM STATUS_U"), 1);
    EXPECT_EQ(valor("SELECT StatusLote FROM LOTE").toString(), "S");
    EXPECT_EQ(valor("SELECT StatusUnidade FROM UNIDADE WHERE NumSerieProd = 'S-1'").toString(), "S");
    EXPECT_EQ(valor("SELECT StatusUnidade FROM UNIDADE WHERE NumSerieProd = 'S-2'").toString(), "A");
}

TEST_F(AlteraStatusEmpresaTest, TransferMovesTheLinesToTheCompanyChosenNotTheFirstOfThatName) {
    linha("TIPO", "C1", "ACME", "T1", "BR", Alfa);
    linha("LOTE", "C1", "ACME", "L1", "BR", Alfa, "A", "L-1");
    linha("UNIDADE", "C1", "ACME", "U1", "BR", Alfa, "C", "S-1"); // cancelled: stays
    responde("Mudou de fabricante");
    prompts.planAnswer(PromptAnswer::Yes);
    AlteracaoStatusEmpresa op = operacao(dados("BR", Alfa, "S"));
    // Both BETA branches are offered, each with its CNPJ beside the name.
    QStringList textos;
    for (const EmpresaVinculada& e : op.outrasEmpresas())
        textos << e.texto();
    EXPECT_EQ(textos, QStringList({"Beta Instalações S.A. - 45.997.418/0001-53",
                                   "Beta Instalações S.A. - 45.997.418/0002-34"}));
    EXPECT_EQ(op.empresaAtual()->texto(), "Alfa Extintores Ltda - 11.222.333/0001-81");

    ASSERT_TRUE(op.transferir(std::make_pair(QString("BR"), QString(Beta2))))
        << prompts.lastText().toStdString();
    EXPECT_EQ(prompts.lastText(), "Transferencia da Empresa realizada com sucesso.");

    EXPECT_EQ(valor("SELECT IdEmpresa FROM TIPO").toString(), Beta2);
    EXPECT_EQ(valor("SELECT IdEmpresa FROM LOTE").toString(), Beta2);
    EXPECT_EQ(valor("SELECT IdEmpresa FROM UNIDADE").toString(), Alfa);
    EXPECT_EQ(valor("SELECT StatusProduto FROM TIPO").toString(), "A");
    EXPECT_EQ(conta("SELECT Count(*) FROM STATUS_T WHERE Evento = 'ALT' AND StatusProduto = 'A' "
                    "AND DthStatusProduto = :d",
                    {{":d", dataDigitada()}}),
              1);
    EXPECT_EQ(conta("SELECT Count(*) FROM STATUS_L WHERE Evento = 'ALT' AND Status_L = 'A'"), 1);
    EXPECT_EQ(conta("SELECT Count(*) FROM STATUS_U"), 0);
    EXPECT_EQ(valor("SELECT Evento FROM EVENTO_EMP").toString(), "SUS");
    EXPECT_EQ(valor("SELECT StatusEmpresa FROM EMP_CERT WHERE IdEmpresa = :id", {{":id", Alfa}}).toString(),
              "S");
    EXPECT_FALSE(aprovado("C1"));
}

TEST_F(AlteraStatusEmpresaTest, TransferRefusals) {
    linha("TIPO", "C1", "ACME", "T1", "BR", Alfa);
    const struct {
        const char* caso;
        bool comServico;
        std::optional<std::pair<QString, QString>> nova;
        PromptAnswer confirma;
        QString mensagem;
    } casos[] = {
        {"Não", false, std::make_pair(QString("BR"), QString(Beta1)), PromptAnswer::No, {}},
        {"no company chosen", false, std::nullopt, PromptAnswer::Yes, "Por favor selecione a Nova Empresa."},
        {"an active service, even with no company chosen", true, std::nullopt, PromptAnswer::Yes,
         "Não é possível transferir a Empresa, pois existe serviço cadastrado."},
        {"an active service", true, std::make_pair(QString("BR"), QString(Beta1)), PromptAnswer::Yes,
         "Não é possível transferir a Empresa, pois existe serviço cadastrado."},
        {"a company not linked to the certificate", false, std::make_pair(QString("BR"), QString("99")),
         PromptAnswer::Yes, "Erro ao Transferir a Empresa dos Produtos Vinculados"},
    };
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.caso);
        Sql::execute(db, "DELETE FROM SERVICO");
        if (caso.comServico)
            servico("C1", 10, "BR", Alfa);
        responde("x");
        perguntas = 0;
        prompts.clear();
        prompts.planAnswer(caso.confirma);
        const QString antes = retrato();
        AlteracaoStatusEmpresa op = operacao(dados("BR", Alfa, "C"));
        EXPECT_FALSE(op.transferir(caso.nova));
        EXPECT_EQ(retrato(), antes);
        EXPECT_EQ(prompts.shown().first().text, "Confirma a transferencia da empresa vinculada?");
        EXPECT_EQ(prompts.lastText(), caso.mensagem.isEmpty() ? prompts.shown().first().text : caso.mensagem);
        EXPECT_FALSE(op.concluida());
    }
}

TEST_F(AlteraStatusEmpresaTest, CancelledJustificationOrNaoLeaveEverythingWithoutAMessage) {
    linhasDaAlfa();
    const QString antes = retrato();
    resposta.reset();
    prompts.planAnswer(PromptAnswer::Yes);
    EXPECT_FALSE(operacao(dados("BR", Alfa, "C")).propagar());
    EXPECT_EQ(perguntas, 1);
    prompts.planAnswer(PromptAnswer::No);
    EXPECT_FALSE(operacao(dados("BR", Alfa, "C")).propagar());
    EXPECT_EQ(perguntas, 1);
    EXPECT_EQ(retrato(), antes);
    EXPECT_EQ(prompts.shown().size(), 2); // the two confirmations only
}

// The events go in one by one; a failure anywhere after the first leaves no trace of any.
TEST_F(AlteraStatusEmpresaTest, AFailureAfterTheFirstEventLeavesEveryTableAsBefore) {
    linhasDaAlfa();
    linha("LOTE", "C1", "ACME", "L1", "BR", Alfa, "A", "L-1");
    const struct {
        const char* tabela;
        const char* quando;
    } falhas[] = {{"STATUS_T", "INSERT"},
                  {"TIPO", "UPDATE"},
                  {"STATUS_S", "INSERT"},
                  {"SERVICO", "UPDATE"},
                  {"CERTIFIC", "UPDATE"}};
    for (const auto& f : falhas) {
        SCOPED_TRACE(std::string(f.tabela) + " " + f.quando);
        falhaEm(f.tabela, f.quando);
        const QString antes = retrato();
        responde("x");
        prompts.clear();
        prompts.planAnswer(PromptAnswer::Yes);
        EXPECT_FALSE(operacao(dados("BR", Alfa, "C")).propagar());
        EXPECT_EQ(retrato(), antes);
        EXPECT_EQ(prompts.shown().last().kind, PromptKind::Error);
        EXPECT_EQ(prompts.lastText(),
                  "Erro ao Propagar o Status da Empresa nos Produtos ou Serviços Vinculados");
        Sql::execute(db, QStringLiteral("DROP TRIGGER falha_%1_%2").arg(f.tabela, f.quando));
    }
    // And the transfer likewise.
    Sql::execute(db, "DELETE FROM SERVICO");
    falhaEm("STATUS_L");
    const QString antes = retrato();
    prompts.planAnswer(PromptAnswer::Yes);
    EXPECT_FALSE(operacao(dados("BR", Alfa, "C")).transferir(std::make_pair(QString("BR"), QString(Beta1))));
    EXPECT_EQ(retrato(), antes);
    EXPECT_EQ(prompts.lastText(), "Erro ao Transferir a Empresa dos Produtos Vinculados");
}

TEST_F(AlteraStatusEmpresaTest, ACompanyWhoseIdHoldsAnApostrophePropagatesAndTransfers) {
    empresa("US", "O'Brien Tools Inc", "1", "O'Brien Tools Inc");
    vincula("C1", "US", "O'Brien Tools Inc");
    linha("TIPO", "C1", "ACME", "T1", "US", "O'Brien Tools Inc");
    linha("TIPO", "C1", "ACME", "T2", "US", "O'Brien Tools Inc");
    servico("C1", 20, "US", "O'Brien Tools Inc");
    EXPECT_TRUE(
        AlteraStatusEmpresa::EmpresaPossuiVinculosAtivos(db, "OCC1", "C1", "O'Brien Tools Inc", "US"));
    responde("Filial fechada");
    prompts.planAnswer(PromptAnswer::Yes);
    ASSERT_TRUE(operacao(dados("US", "O'Brien Tools Inc", "S")).propagar())
        << prompts.lastText().toStdString();
    EXPECT_EQ(conta("SELECT Count(*) FROM TIPO WHERE StatusProduto = 'S'"), 2);
    EXPECT_EQ(valor("SELECT StatusServico FROM SERVICO").toString(), "S");

    // Its lines active again and its service gone, the lines go to ALFA and the company is cancelled.
    Sql::execute(db, "UPDATE TIPO SET StatusProduto = 'A'");
    Sql::execute(db, "DELETE FROM SERVICO");
    responde("Vendida");
    prompts.planAnswer(PromptAnswer::Yes);
    ASSERT_TRUE(operacao(dados("US", "O'Brien Tools Inc", "C"))
                    .transferir(std::make_pair(QString("BR"), QString(Alfa))))
        << prompts.lastText().toStdString();
    EXPECT_EQ(conta("SELECT Count(*) FROM TIPO WHERE IdEmpresa = :id", {{":id", Alfa}}), 2);
    EXPECT_EQ(valor("SELECT StatusEmpresa FROM EMP_CERT WHERE CodigoPais = 'US'").toString(), "C");
}

TEST_F(AlteraStatusEmpresaTest, ActiveLinksAreServicesFirstThenProductLines) {
    const struct {
        const char* caso;
        const char* tabela;
        const char* status;
        bool ativo;
    } casos[] = {
        {"nothing", nullptr, nullptr, false},      {"suspended type", "TIPO", "S", false},
        {"cancelled unit", "UNIDADE", "C", false}, {"suspended service", "SERVICO", "S", false},
        {"active type", "TIPO", "A", true},        {"active lot", "LOTE", "A", true},
        {"active unit", "UNIDADE", "A", true},     {"active service", "SERVICO", "A", true},
    };
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.caso);
        for (const char* t : {"TIPO", "LOTE", "UNIDADE", "SERVICO"})
            Sql::execute(db, QStringLiteral("DELETE FROM %1").arg(t));
        if (caso.tabela && QString(caso.tabela) == "SERVICO")
            servico("C1", 10, "BR", Alfa, caso.status);
        else if (caso.tabela)
            linha(caso.tabela, "C1", "ACME", "M", "BR", Alfa, caso.status, "N-1");
        EXPECT_EQ(AlteraStatusEmpresa::EmpresaPossuiVinculosAtivos(db, "OCC1", "C1", Alfa, "BR"), caso.ativo);
        // Another company's lines never count.
        EXPECT_FALSE(AlteraStatusEmpresa::EmpresaPossuiVinculosAtivos(db, "OCC1", "C1", Beta1, "BR"));
    }
}

TEST_F(AlteraStatusEmpresaTest, CaptionsFollowTheNewStatus) {
    const struct {
        const char* status;
        const char* legenda;
        const char* transferir;
    } casos[] = {
        {"A", "Ativa Empresa e Propagar o Status de Ativado",
         "Ativar e Transferir Empresa Vinculada dos Produtos"},
        {"C", "Cancela Empresa e Propagar o Status de Cancelado",
         "Cancelar e Transferir Empresa Vinculada dos Produtos"},
        {"S", "Suspende Empresa e Propagar o Status de Suspenso",
         "Suspender e Transferir Empresa Vinculada dos Produtos"},
        {"X", "", ""},
    };
    for (const auto& c : casos) {
        AlteracaoStatusEmpresa op = operacao(dados("BR", Alfa, c.status));
        EXPECT_EQ(op.legendaStatus(), c.legenda);
        EXPECT_EQ(op.legendaTransferir(), c.transferir);
    }
}

} // namespace
