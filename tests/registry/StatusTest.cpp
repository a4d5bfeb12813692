#include "MudancaStatus.h"
#include "StatusFixture.h"

namespace {

class StatusTest : public StatusFixture {
protected:
    void SetUp() override {
        StatusFixture::SetUp();
        cria(QStringLiteral("C1"));
        empresa("BR", "11222333000181", "1", "Extintores Alfa Ltda");
        empresa("BR", "45997418000153", "1", "Beta Instalações S.A.");
        vincula("C1", "BR", "11222333000181");
        vincula("C1", "BR", "45997418000153");
        dm.CarregaCertificado("OCC1", "C1");
    }

    MudancaStatus::Resultado muda(ItemStatus item, const QVariantList& chave, const QString& status) {
        MudancaStatus mudanca(dm);
        return mudanca.muda(item, chave, status);
    }

    static QVariantList unidade() { return {"S-1", "OCC1", "C1", "ACME", "X1", 0}; }
};

TEST_F(StatusTest, SuspendingAUnitWritesOneEventSetsTheUnitAndWithdrawsTheApproval) {
    linha("UNIDADE", "C1", "ACME", "X1", "BR", "11222333000181", "A", "S-1");
    aprova("C1", QDateTime(QDate(2015, 11, 15), QTime(9, 0)));
    dm.CarregaCertificado("OCC1", "C1");
    ASSERT_TRUE(aprovado("C1"));
    responde(QStringLiteral("  Unidade em reparo  "));

    EXPECT_EQ(muda(ItemStatus::Unidade, unidade(), "S"), MudancaStatus::Resultado::Gravado);

    EXPECT_TRUE(perguntouData);
    EXPECT_EQ(emissaoInformada, QDate(2015, 11, 10));
    ASSERT_EQ(conta("SELECT Count(*) FROM STATUS_U"), 1);
    QSqlQuery e = Sql::exec(db, "SELECT * FROM STATUS_U");
    ASSERT_TRUE(e.next());
    EXPECT_EQ(e.value("Evento").toString(), "SUS");
    EXPECT_EQ(e.value("Justificativa").toString(), "  Unidade em reparo  "); // units keep it as typed
    EXPECT_EQ(e.value("HistoricoSis").toString(), "2");
    EXPECT_EQ(e.value("StatusUnidade").toString(), "S");
    EXPECT_EQ(e.value("DthStatusUnidade").toDateTime(), dataDigitada());
    EXPECT_EQ(e.value("DthUltAtualiz").toDateTime(), clock.now());
    EXPECT_EQ(e.value("UsuResp").toString(), "maria");
    QSqlQuery u =
        Sql::exec(db, "SELECT StatusUnidade, DthStatusUnidade, DthUltAtualiz, UsuResp FROM UNIDADE");
    ASSERT_TRUE(u.next());
    EXPECT_EQ(u.value(0).toString(), "S");
    EXPECT_EQ(u.value(1).toDateTime(), dataDigitada());
    EXPECT_EQ(u.value(2).toDateTime(), clock.now());
    EXPECT_EQ(u.value(3).toString(), "maria");
    EXPECT_FALSE(aprovado("C1"));
    EXPECT_FALSE(dm.registro().Aprovado);
}

// Every item, every transition: the event of the new status in the item's table, the item's row
// changed, nothing else.
TEST_F(StatusTest, EveryItemMovesFreelyBetweenTheThreeStatuses) {
    linha("TIPO", "C1", "ACME", "T1", "BR", "11222333000181");
    linha("LOTE", "C1", "ACME", "L1", "BR", "11222333000181", "A", "L-9");
    linha("UNIDADE", "C1", "ACME", "X1", "BR", "11222333000181", "A", "S-1");
    servico("C1", 10, "BR", "11222333000181");
    // The second company has no line: its link changes directly.
    const struct {
        ItemStatus item;
        QVariantList chave;
        const char* tabela;
        const char* eventos;
        const char* coluna;
    } itens[] = {
        {ItemStatus::Certificado, {"OCC1", "C1"}, "CERTIFIC", "STATUS_C", "StatusCertificado"},
        {ItemStatus::Empresa,
         {"OCC1", "C1", "BR", "45997418000153"},
         "EMP_CERT",
         "EVENTO_EMP",
         "StatusEmpresa"},
        {ItemStatus::Tipo, {"OCC1", "C1", "ACME", "T1", 0}, "TIPO", "STATUS_T", "StatusProduto"},
        {ItemStatus::Lote, {"L-9", "OCC1", "C1", "ACME", "L1", 0}, "LOTE", "STATUS_L", "StatusLote"},
        {ItemStatus::Unidade, unidade(), "UNIDADE", "STATUS_U", "StatusUnidade"},
        {ItemStatus::Servico,
         {10, "OCC1", "C1", "BR", "11222333000181"},
         "SERVICO",
         "STATUS_S",
         "StatusServico"},
    };
    const struct {
        const char* status;
        const char* evento;
    } passos[] = {{"S", "SUS"}, {"C", "CAN"}, {"A", "REA"}, {"C", "CAN"}, {"S", "SUS"}, {"A", "REA"}};
    for (const auto& item : itens) {
        const int antes = conta(QStringLiteral("SELECT Count(*) FROM %1").arg(item.eventos));
        int n = 0;
        for (const auto& passo : passos) {
            SCOPED_TRACE(std::string(item.tabela) + " -> " + passo.status);
            responde(QStringLiteral("Passo %1").arg(++n));
            ASSERT_EQ(muda(item.item, item.chave, passo.status), MudancaStatus::Resultado::Gravado)
                << prompts.lastText().toStdString();
            EXPECT_EQ(StatusItens::le(db, item.item, item.chave)->status, passo.status);
            EXPECT_EQ(valor(QStringLiteral(
                                "SELECT Evento FROM %1 WHERE SeqEvento = (SELECT Max(SeqEvento) FROM %1)")
                                .arg(item.eventos))
                          .toString(),
                      passo.evento);
        }
        EXPECT_EQ(conta(QStringLiteral("SELECT Count(*) FROM %1").arg(item.eventos)), antes + 6);
    }
    EXPECT_TRUE(prompts.shown().isEmpty());
}

TEST_F(StatusTest, TheCurrentStatusIsNoChangeAndAsksNothing) {
    linha("TIPO", "C1", "ACME", "T1", "BR", "11222333000181");
    responde("x");
    const QString antes = retrato();
    EXPECT_EQ(muda(ItemStatus::Tipo, {"OCC1", "C1", "ACME", "T1", 0}, "A"),
              MudancaStatus::Resultado::Cancelado);
    EXPECT_EQ(perguntas, 0);
    EXPECT_EQ(retrato(), antes);
}

TEST_F(StatusTest, ACancelledJustificationWritesNothingAndShowsNothing) {
    linha("LOTE", "C1", "ACME", "L1", "BR", "11222333000181", "A", "L-9");
    aprova("C1", QDateTime(QDate(2015, 11, 15), QTime(9, 0)));
    dm.CarregaCertificado("OCC1", "C1");
    resposta.reset();
    const QString antes = retrato();
    EXPECT_EQ(muda(ItemStatus::Lote, {"L-9", "OCC1", "C1", "ACME", "L1", 0}, "C"),
              MudancaStatus::Resultado::Cancelado);
    EXPECT_EQ(perguntas, 1);
    EXPECT_EQ(retrato(), antes);
    EXPECT_TRUE(prompts.shown().isEmpty());
}

TEST_F(StatusTest, AFailedWriteRollsEverythingBackWithTheStatusMessage) {
    linha("UNIDADE", "C1", "ACME", "X1", "BR", "11222333000181", "A", "S-1");
    aprova("C1", QDateTime(QDate(2015, 11, 15), QTime(9, 0)));
    dm.CarregaCertificado("OCC1", "C1");
    responde("Reparo");
    // The event goes in first; the unit's row refuses the change after it.
    const struct {
        QString tabela;
        QString quando;
    } falhas[] = {{"STATUS_U", "INSERT"}, {"UNIDADE", "UPDATE"}};
    for (const auto& [tabela, quando] : falhas) {
        SCOPED_TRACE(tabela.toStdString());
        falhaEm(tabela, quando);
        const QString antes = retrato();
        prompts.clear();
        EXPECT_EQ(muda(ItemStatus::Unidade, unidade(), "S"), MudancaStatus::Resultado::Erro);
        EXPECT_EQ(retrato(), antes);
        ASSERT_EQ(prompts.shown().size(), 1);
        EXPECT_EQ(prompts.shown().first().caption, "Erro de gravação");
        EXPECT_EQ(prompts.lastText(),
                  "Erro genérico de gravação no Banco de Dados !!! As alterações no status não "
                  "foram efetuadas.");
        EXPECT_TRUE(dm.registro().Aprovado);
        Sql::execute(db, QStringLiteral("DROP TRIGGER falha_%1_%2").arg(tabela, quando));
    }
}

TEST_F(StatusTest, ACompanyWithActiveLinesOrServicesIsHandedToThePropagation) {
    const struct {
        const char* caso;
        std::function<void(StatusTest*)> prepara;
        bool propaga;
    } casos[] = {
        {"no line", [](StatusTest*) {}, false},
        {"only suspended and cancelled lines",
         [](StatusTest* t) {
             t->linha("TIPO", "C1", "ACME", "T1", "BR", "11222333000181", "S");
             t->linha("UNIDADE", "C1", "ACME", "X1", "BR", "11222333000181", "C", "S-1");
             t->servico("C1", 10, "BR", "11222333000181", "S");
         },
         false},
        {"an active type line",
         [](StatusTest* t) { t->linha("TIPO", "C1", "ACME", "T2", "BR", "11222333000181"); }, true},
        {"an active lot",
         [](StatusTest* t) { t->linha("LOTE", "C1", "ACME", "L1", "BR", "11222333000181", "A", "L"); }, true},
        {"an active service", [](StatusTest* t) { t->servico("C1", 20, "BR", "11222333000181"); }, true},
    };
    const QVariantList link{"OCC1", "C1", "BR", "11222333000181"};
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.caso);
        Sql::execute(db, "DELETE FROM TIPO");
        Sql::execute(db, "DELETE FROM LOTE");
        Sql::execute(db, "DELETE FROM UNIDADE");
        Sql::execute(db, "DELETE FROM SERVICO");
        Sql::execute(db, "UPDATE EMP_CERT SET StatusEmpresa = 'A'");
        caso.prepara(this);
        for (const char* status : {"S", "C"}) {
            Sql::execute(db, "UPDATE EMP_CERT SET StatusEmpresa = 'A'");
            responde("Fechou");
            perguntas = 0;
            const QString antes = retrato();
            const MudancaStatus::Resultado r = muda(ItemStatus::Empresa, link, status);
            if (caso.propaga) {
                EXPECT_EQ(r, MudancaStatus::Resultado::Propagar);
                EXPECT_EQ(perguntas, 0);
                EXPECT_EQ(retrato(), antes);
            } else {
                EXPECT_EQ(r, MudancaStatus::Resultado::Gravado);
                EXPECT_EQ(StatusItens::le(db, ItemStatus::Empresa, link)->status, status);
            }
        }
    }
    // Reactivating is never handed over.
    Sql::execute(db, "UPDATE EMP_CERT SET StatusEmpresa = 'S'");
    responde("Voltou");
    EXPECT_EQ(muda(ItemStatus::Empresa, link, "A"), MudancaStatus::Resultado::Gravado);
}

TEST_F(StatusTest, TheCertificateStatusKeepsPendingEditsOfTheGeneralData) {
    aprova("C1", QDateTime(QDate(2015, 11, 15), QTime(9, 0)));
    dm.CarregaCertificado("OCC1", "C1");
    dm.registro().Observacoes = QStringLiteral("ainda não salvo");
    responde("Auditoria", QDate(2015, 11, 10));
    EXPECT_EQ(muda(ItemStatus::Certificado, {"OCC1", "C1"}, "C"), MudancaStatus::Resultado::Gravado);
    EXPECT_EQ(valor("SELECT StatusCertificado FROM CERTIFIC").toString(), "C");
    EXPECT_EQ(valor("SELECT DthStatusCertificado FROM CERTIFIC").toDateTime(),
              QDateTime(QDate(2015, 11, 10), QTime(0, 0)));
    EXPECT_FALSE(aprovado("C1"));
    EXPECT_TRUE(valor("SELECT Observacoes FROM CERTIFIC").isNull());
    EXPECT_EQ(dm.registro().StatusCertificado, "C");
    EXPECT_FALSE(dm.registro().Aprovado);
    EXPECT_EQ(dm.registro().Observacoes, "ainda não salvo");
    EXPECT_TRUE(dm.modificado());
    EXPECT_EQ(valor("SELECT Evento FROM STATUS_C WHERE StatusCertificado = 'C'").toString(), "CAN");
}

TEST_F(StatusTest, ButtonsAreToldApartByName) {
    const struct {
        const char* nome;
        const char* status;
    } botoes[] = {{"sbSuspCertif", "S"}, {"sbAtivCertif", "A"}, {"sbCanCertif", "C"}, {"sbSuspEmp", "S"},
                  {"sbAtivEmp", "A"},    {"sbCancEmp", "C"},    {"sbSuspTipo", "S"},  {"sbAtivTipo", "A"},
                  {"sbCancTipo", "C"},   {"sbSuspLote", "S"},   {"sbAtivLote", "A"},  {"sbCancLote", "C"},
                  {"sbSuspUnid", "S"},   {"sbAtivUnid", "A"},   {"sbCancUnid", "C"},  {"sbSuspServ", "S"},
                  {"sbAtivServ", "A"},   {"sbCancServ", "C"},   {"sbCancCertif", ""}, {"btnSalvaGeral", ""}};
    for (const auto& b : botoes)
        EXPECT_EQ(StatusItens::statusDoBotao(b.nome), b.status) << b.nome;
    EXPECT_EQ(StatusItens::eventoDoStatus("S"), "SUS");
    EXPECT_EQ(StatusItens::eventoDoStatus("A"), "REA");
    EXPECT_EQ(StatusItens::eventoDoStatus("C"), "CAN");
    EXPECT_EQ(StatusItens::eventoDoStatus("X"), "");
}

TEST_F(StatusTest, AVanishedItemIsAnErrorNotASilentSuccess) {
    responde("x");
    const QString antes = retrato();
    EXPECT_EQ(muda(ItemStatus::Tipo, {"OCC1", "C1", "NADA", "T", 0}, "S"), MudancaStatus::Resultado::Erro);
    EXPECT_EQ(retrato(), antes);
}

} // namespace
