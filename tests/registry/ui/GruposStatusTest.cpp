// The six status groups of the register, driven through the real screen.

#include "StatusTelaFixture.h"

namespace {

class GruposStatusTest : public StatusTelaFixture {};

TEST_F(GruposStatusTest, SuspendingAUnitThroughItsGroup) {
    linha("UNIDADE", "C1", "ACME", "X1", "BR", Alfa, "A", "S-1");
    aprova("C1", QDateTime(QDate(2015, 11, 15), QTime(9, 0)));
    abre("TabModificaUnidade");
    ASSERT_TRUE(visivel("grpStatusUnidade"));
    EXPECT_EQ(w<QGroupBox>("grpStatusUnidade")->title(), "Status da Unidade");
    EXPECT_EQ(w<QLabel>("lblStatusUnidade")->text(), "Ativo");
    EXPECT_TRUE(visivel("sbSuspUnid"));
    EXPECT_TRUE(visivel("sbCancUnid"));
    EXPECT_FALSE(visivel("sbAtivUnid"));

    justifica("Unidade retirada para reparo", "20/11/2015");
    w<QPushButton>("sbSuspUnid")->click();

    ASSERT_EQ(conta("SELECT Count(*) FROM STATUS_U"), 1);
    EXPECT_EQ(valor("SELECT Evento FROM STATUS_U").toString(), "SUS");
    EXPECT_EQ(valor("SELECT Justificativa FROM STATUS_U").toString(), "Unidade retirada para reparo");
    EXPECT_EQ(valor("SELECT StatusUnidade FROM UNIDADE").toString(), "S");
    EXPECT_EQ(valor("SELECT DthStatusUnidade FROM UNIDADE").toDateTime(), dataDigitada());
    EXPECT_FALSE(aprovado("C1"));
    EXPECT_EQ(w<QLabel>("lblStatusUnidade")->text(), "Suspenso");
    EXPECT_EQ(w<QLabel>("lblDthStatusUnidade")->text(), "20/11/2015");
    EXPECT_TRUE(visivel("sbAtivUnid"));
    EXPECT_FALSE(visivel("sbSuspUnid"));
    screenshot(form.get(), "status-unidade-suspensa.png");
}

TEST_F(GruposStatusTest, AGroupIsHiddenWhileItsTabHasNoRows) {
    Sql::execute(db, "DELETE FROM EMP_CERT");
    abre();
    const struct {
        const char* aba;
        const char* grupo;
    } grupos[] = {{"TabModificaEmp", "GroupStatusEmpresa"},
                  {"TabModificaTipo", "grpStatusTipo"},
                  {"TabModificaLote", "grpStatusLote"},
                  {"TabModificaUnidade", "grpStatusUnidade"},
                  {"TabModificaServico", "GroupStatusServico"}};
    for (const auto& g : grupos) {
        form->panelModifica()->abas()->setCurrentWidget(form->panelModifica()->aba(g.aba));
        EXPECT_FALSE(visivel(g.grupo)) << g.grupo;
    }
    // Rows appear: each group shows with its own caption.
    vincula("C1", "BR", Alfa);
    linha("TIPO", "C1", "ACME", "T1", "BR", Alfa);
    linha("LOTE", "C1", "ACME", "L1", "BR", Alfa, "A", "L-1");
    linha("UNIDADE", "C1", "ACME", "U1", "BR", Alfa, "A", "S-1");
    servico("C1", 10, "BR", Alfa);
    const QStringList titulos{"Status da Empresa Certificada", "Status do Produto", "Status do Lote",
                              "Status da Unidade", "Status do Serviço"};
    int i = 0;
    for (const auto& g : grupos) {
        form->panelModifica()->abas()->setCurrentWidget(form->panelModifica()->aba(g.aba));
        EXPECT_TRUE(visivel(g.grupo)) << g.grupo;
        EXPECT_EQ(w<QGroupBox>(g.grupo)->title(), titulos[i++]);
    }
}

TEST_F(GruposStatusTest, ACancelledCertificateCanBeReactivated) {
    Sql::execute(db, "UPDATE CERTIFIC SET StatusCertificado = 'C'");
    abre();
    EXPECT_EQ(w<QLabel>("DescrStatus")->text(), "Cancelado");
    EXPECT_TRUE(visivel("sbAtivCertif"));
    EXPECT_TRUE(visivel("sbSuspCertif"));
    EXPECT_FALSE(visivel("sbCanCertif"));

    justifica("Decisão revista", "25/11/2015");
    w<QPushButton>("sbAtivCertif")->click();
    EXPECT_EQ(valor("SELECT StatusCertificado FROM CERTIFIC").toString(), "A");
    EXPECT_EQ(valor("SELECT Evento FROM STATUS_C WHERE SeqEvento = (SELECT Max(SeqEvento) FROM STATUS_C)")
                  .toString(),
              "REA");
    EXPECT_EQ(w<QLabel>("DescrStatus")->text(), "Ativo");
    EXPECT_FALSE(visivel("sbAtivCertif"));
}

TEST_F(GruposStatusTest, TheGroupFollowsTheCurrentRow) {
    linha("LOTE", "C1", "ACME", "L1", "BR", Alfa, "A", "L-1");
    linha("LOTE", "C1", "ACME", "L1", "BR", Alfa, "S", "L-2");
    abre("TabModificaLote");
    auto* grid = w<QTableView>("dbgLote");
    grid->setCurrentIndex(grid->model()->index(1, 0));
    EXPECT_EQ(w<QLabel>("lblStatusLote")->text(), "Suspenso");
    EXPECT_TRUE(visivel("sbAtivLote"));
    EXPECT_FALSE(visivel("sbSuspLote"));
    grid->setCurrentIndex(grid->model()->index(0, 0));
    EXPECT_EQ(w<QLabel>("lblStatusLote")->text(), "Ativo");
    EXPECT_FALSE(visivel("sbAtivLote"));

    // Cancelling the justification changes nothing and says nothing.
    onNextModal([](QWidget* d) {
        ASSERT_NE(d, nullptr);
        d->findChild<QPushButton*>("btnCancela")->click();
    });
    w<QPushButton>("sbCancLote")->click();
    EXPECT_EQ(conta("SELECT Count(*) FROM STATUS_L"), 0);
    EXPECT_EQ(valor("SELECT StatusLote FROM LOTE WHERE NumLote = 'L-1'").toString(), "A");
    EXPECT_TRUE(prompts.shown().isEmpty());
}

TEST_F(GruposStatusTest, SuspendingACompanyWithAnActiveTypeLineOpensThePropagation) {
    linha("TIPO", "C1", "ACME", "T1", "BR", Alfa);
    linha("TIPO", "C1", "ACME", "T2", "BR", Alfa);
    servico("C1", 10, "BR", Alfa);
    aprova("C1", QDateTime(QDate(2015, 11, 15), QTime(9, 0)));
    abre("TabModificaEmp");
    auto* grid = w<QTableView>("dbgEmpCert");
    int alfa = -1;
    for (int r = 0; r < grid->model()->rowCount(); ++r)
        if (grid->model()->index(r, 2).data().toString() == "Alfa Extintores Ltda")
            alfa = r;
    ASSERT_GE(alfa, 0);
    grid->setCurrentIndex(grid->model()->index(alfa, 0));
    EXPECT_EQ(w<QGroupBox>("GroupStatusEmpresa")->title(), "Status da Empresa Certificada");

    // Left with "Saída": nothing changes.
    const QString antes = retrato();
    QString titulo, legenda;
    int produtos = -1, servicos = -1;
    onNextModal([&](QWidget* d) {
        ASSERT_NE(d, nullptr);
        titulo = d->windowTitle();
        legenda = d->findChild<QLabel*>("LbStatus")->text();
        produtos = d->findChild<QTableView*>("DBGridProduto")->model()->rowCount();
        servicos = d->findChild<QTableView*>("DBGridServico")->model()->rowCount();
        d->findChild<QPushButton*>("BtSaida")->click();
    });
    w<QPushButton>("sbSuspEmp")->click();
    EXPECT_EQ(titulo, "Alteração de Status");
    EXPECT_EQ(legenda, "Suspende Empresa e Propagar o Status de Suspenso");
    EXPECT_EQ(produtos, 2);
    EXPECT_EQ(servicos, 1);
    EXPECT_EQ(retrato(), antes);

    // "Propagar": the status date is refused before the emission, then accepted.
    prompts.planAnswer(PromptAnswer::Yes);
    onNextModal([this](QWidget* d) {
        ASSERT_NE(d, nullptr);
        screenshot(d, "status-alteracao-empresa.png");
        onNextModal([this](QWidget* j) {
            ASSERT_NE(j, nullptr);
            ASSERT_EQ(j->objectName(), "TFrmJustificativa");
            typeInto(j, "edtJustificativa", "Fabricante suspenso pela auditoria");
            j->findChild<QLineEdit*>("MaskEdit1")->setText("09/11/2015");
            j->findChild<QPushButton*>("btnOK")->click();
            EXPECT_TRUE(j->isVisible());
            EXPECT_EQ(prompts.lastText(), "Data do Status menor do que a data de Emisão do Certificado.");
            j->findChild<QLineEdit*>("MaskEdit1")->setText("20/11/2015");
            j->findChild<QPushButton*>("btnOK")->click();
        });
        d->findChild<QPushButton*>("BtnPropagar")->click();
        EXPECT_EQ(prompts.lastText(), "Propagação do Status realizada com sucesso.");
        EXPECT_FALSE(d->findChild<QPushButton*>("BtnPropagar")->isEnabled());
        EXPECT_FALSE(d->findChild<QPushButton*>("BtnTransferir")->isEnabled());
        d->findChild<QPushButton*>("BtSaida")->click();
    });
    w<QPushButton>("sbSuspEmp")->click();

    EXPECT_EQ(conta("SELECT Count(*) FROM EVENTO_EMP"), 1);
    EXPECT_EQ(conta("SELECT Count(*) FROM STATUS_T WHERE Evento = 'SUS'"), 2);
    EXPECT_EQ(conta("SELECT Count(*) FROM STATUS_S WHERE Evento = 'SUS'"), 1);
    EXPECT_EQ(conta("SELECT Count(*) FROM TIPO WHERE StatusProduto = 'S'"), 2);
    EXPECT_FALSE(aprovado("C1"));
    EXPECT_FALSE(dm.registro().Aprovado);
    // The register reads the link again: it stays current and shows its new status.
    EXPECT_EQ(grid->model()->index(grid->currentIndex().row(), 2).data().toString(), "Alfa Extintores Ltda");
    EXPECT_EQ(w<QLabel>("lblDescrStatusEmpresa")->text(), "Suspenso");
    EXPECT_TRUE(visivel("sbAtivEmp"));
    // The type tab shows its lines suspended.
    form->panelModifica()->abas()->setCurrentWidget(form->panelModifica()->aba("TabModificaTipo"));
    EXPECT_EQ(w<QLabel>("lblStatusTipo")->text(), "Suspenso");
}

} // namespace
