// The status screen of one company link, shown by itself over the register's data.

#include "TFrmAlteraStatusEmpresa.h"
#include "StatusTelaFixture.h"
#include "TFrmJustificativa.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHeaderView>

namespace {

class TFrmAlteraStatusEmpresaTest : public StatusTelaFixture {
protected:
    std::unique_ptr<TFrmAlteraStatusEmpresa> tela;

    void mostra(const QString& status, const QString& pais = "BR", const QString& id = Alfa) {
        const QString evento = status == "S" ? "SUS" : status == "C" ? "CAN" : "REA";
        tela = std::make_unique<TFrmAlteraStatusEmpresa>(
            session, justificationDialogAsker(session, nullptr),
            EntradaAlteraStatus{"OCC1", "C1", pais, id, "maria", status, evento});
        tela->show();
    }
    template <typename T = QWidget> T* t(const QString& name) const {
        T* found = tela->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
};

TEST_F(TFrmAlteraStatusEmpresaTest, ShowsTheCompanyItsActiveLinesAndTheOtherCompanies) {
    linha("TIPO", "C1", "ACME", "T1", "BR", Alfa);
    linha("LOTE", "C1", "ACME", "T1", "BR", Alfa, "A", "L-1");    // the same brand and model: listed once
    linha("UNIDADE", "C1", "ACME", "U9", "BR", Alfa, "S", "S-1"); // suspended: not listed
    servico("C1", 10, "BR", Alfa);
    mostra("C");
    EXPECT_EQ(tela->windowTitle(), "Alteração de Status");
    EXPECT_EQ(t<QLabel>("LbStatus")->text(), "Cancela Empresa e Propagar o Status de Cancelado");
    EXPECT_EQ(t<QGroupBox>("GbTransferir")->title(), "Cancelar e Transferir Empresa Vinculada dos Produtos");
    EXPECT_EQ(t<QPushButton>("BtnPropagar")->text(), "Propagar");
    EXPECT_EQ(t<QPushButton>("BtnTransferir")->text(), "Transferir");
    EXPECT_EQ(t<QPushButton>("BtSaida")->text(), "&Saída");
    EXPECT_EQ(t<QPushButton>("BtSaida")->toolTip(), "Encerrar edição");

    auto* produtos = t<QTableView>("DBGridProduto");
    ASSERT_EQ(produtos->model()->rowCount(), 1);
    EXPECT_EQ(produtos->model()->headerData(0, Qt::Horizontal).toString(), "Marca");
    EXPECT_EQ(produtos->model()->headerData(1, Qt::Horizontal).toString(), "Modelo");
    EXPECT_EQ(produtos->model()->index(0, 1).data().toString(), "T1");
    auto* servicos = t<QTableView>("DBGridServico");
    ASSERT_EQ(servicos->model()->rowCount(), 1);
    EXPECT_EQ(servicos->model()->headerData(0, Qt::Horizontal).toString(), "Classe de Serviço");
    EXPECT_EQ(servicos->model()->index(0, 0).data().toString(),
              "Inspeção técnica e manutenção de extintores");

    EXPECT_EQ(t<QLineEdit>("EdtEmpresaAtual")->text(), "Alfa Extintores Ltda - 11.222.333/0001-81");
    auto* nova = t<QComboBox>("cmbEmpVinculadaTipo");
    ASSERT_EQ(nova->count(), 2);
    EXPECT_EQ(nova->itemText(0), "Beta Instalações S.A. - 45.997.418/0001-53");
    EXPECT_EQ(nova->itemText(1), "Beta Instalações S.A. - 45.997.418/0002-34");
    EXPECT_EQ(nova->currentIndex(), -1);
}

TEST_F(TFrmAlteraStatusEmpresaTest, LayoutsSizeItAndEveryControlIsNamedForAssistiveTechnology) {
    mostra("S");
    EXPECT_TRUE(tela->isSizeGripEnabled());
    EXPECT_GT(tela->maximumWidth(), 10000); // no fixed size
    for (const char* nome : {"DBGridProduto", "DBGridServico"}) {
        auto* grade = t<QTableView>(nome);
        const int oito = 8 * grade->verticalHeader()->defaultSectionSize();
        EXPECT_GE(grade->minimumHeight(), oito) << nome;
        EXPECT_FALSE(grade->accessibleName().isEmpty()) << nome;
    }
    // Each field has its caption as its buddy.
    for (const char* nome : {"EdtEmpresaAtual", "cmbEmpVinculadaTipo"}) {
        QWidget* campo = t(nome);
        bool temRotulo = false;
        for (QLabel* rotulo : tela->findChildren<QLabel*>())
            temRotulo = temRotulo || rotulo->buddy() == campo;
        EXPECT_TRUE(temRotulo) << nome;
    }
    for (QPushButton* botao : tela->findChildren<QPushButton*>())
        EXPECT_FALSE(botao->text().isEmpty()) << botao->objectName().toStdString();
    tela->resize(1200, 900);
    EXPECT_EQ(tela->size(), QSize(1200, 900));
}

TEST_F(TFrmAlteraStatusEmpresaTest, TransferGoesToTheBranchChosenAmongTwoOfTheSameName) {
    linha("TIPO", "C1", "ACME", "T1", "BR", Alfa);
    linha("UNIDADE", "C1", "ACME", "U1", "BR", Alfa, "A", "S-1");
    mostra("S");
    auto* nova = t<QComboBox>("cmbEmpVinculadaTipo");
    nova->setCurrentIndex(1); // the second BETA branch
    prompts.planAnswer(PromptAnswer::Yes);
    justifica("Produção passou para a filial", "20/11/2015");
    screenshot(tela.get(), "status-transferir-empresa.png");
    t<QPushButton>("BtnTransferir")->click();

    EXPECT_EQ(prompts.lastText(), "Transferencia da Empresa realizada com sucesso.");
    EXPECT_EQ(valor("SELECT IdEmpresa FROM TIPO").toString(), Beta2);
    EXPECT_EQ(valor("SELECT IdEmpresa FROM UNIDADE").toString(), Beta2);
    EXPECT_EQ(conta("SELECT Count(*) FROM STATUS_T WHERE Evento = 'ALT'"), 1);
    EXPECT_EQ(conta("SELECT Count(*) FROM STATUS_U WHERE Evento = 'ALT'"), 1);
    EXPECT_EQ(valor("SELECT StatusEmpresa FROM EMP_CERT WHERE IdEmpresa = :id", {{":id", Alfa}}).toString(),
              "S");
    EXPECT_FALSE(t<QPushButton>("BtnTransferir")->isEnabled());
    EXPECT_FALSE(t<QPushButton>("BtnPropagar")->isEnabled());
}

TEST_F(TFrmAlteraStatusEmpresaTest, TransferIsRefusedWhileTheCompanyRendersAService) {
    linha("TIPO", "C1", "ACME", "T1", "BR", Alfa);
    servico("C1", 20, "BR", Alfa);
    mostra("C");
    const QString antes = retrato();
    prompts.planAnswer(PromptAnswer::Yes);
    t<QPushButton>("BtnTransferir")->click(); // no company chosen either: the service speaks first
    EXPECT_EQ(prompts.lastText(), "Não é possível transferir a Empresa, pois existe serviço cadastrado.");
    EXPECT_EQ(prompts.shown().last().kind, PromptKind::Information);
    EXPECT_EQ(retrato(), antes);
    EXPECT_TRUE(t<QPushButton>("BtnTransferir")->isEnabled());
}

TEST_F(TFrmAlteraStatusEmpresaTest, AnApostropheInTheCompanyIdIsJustText) {
    empresa("US", "O'Brien Tools Inc", "1", "O'Brien Tools Inc");
    vincula("C1", "US", "O'Brien Tools Inc");
    linha("TIPO", "C1", "ACME", "T1", "US", "O'Brien Tools Inc");
    mostra("C", "US", "O'Brien Tools Inc");
    EXPECT_EQ(t<QLineEdit>("EdtEmpresaAtual")->text(), "O'Brien Tools Inc (US)");
    EXPECT_EQ(t<QTableView>("DBGridProduto")->model()->rowCount(), 1);
    prompts.planAnswer(PromptAnswer::Yes);
    justifica("Encerrada", "25/11/2015");
    t<QPushButton>("BtnPropagar")->click();
    EXPECT_EQ(prompts.lastText(), "Propagação do Status realizada com sucesso.");
    EXPECT_EQ(valor("SELECT StatusProduto FROM TIPO").toString(), "C");
    EXPECT_EQ(valor("SELECT StatusEmpresa FROM EMP_CERT WHERE CodigoPais = 'US'").toString(), "C");
}

TEST_F(TFrmAlteraStatusEmpresaTest, AFailureAfterTheFirstEventLeavesEverythingAndTheButtonsAsBefore) {
    linha("TIPO", "C1", "ACME", "T1", "BR", Alfa);
    linha("TIPO", "C1", "ACME", "T2", "BR", Alfa);
    servico("C1", 10, "BR", Alfa);
    aprova("C1", QDateTime(QDate(2015, 11, 15), QTime(9, 0)));
    falhaEm("STATUS_S"); // the link's and both types' events are in when the service's fails
    mostra("C");
    const QString antes = retrato();
    prompts.planAnswer(PromptAnswer::Yes);
    justifica("Encerrada", "20/11/2015");
    t<QPushButton>("BtnPropagar")->click();
    EXPECT_EQ(prompts.shown().last().kind, PromptKind::Error);
    EXPECT_EQ(prompts.lastText(), "Erro ao Propagar o Status da Empresa nos Produtos ou Serviços Vinculados");
    EXPECT_EQ(retrato(), antes);
    EXPECT_TRUE(aprovado("C1"));
    EXPECT_TRUE(t<QPushButton>("BtnPropagar")->isEnabled());
    EXPECT_TRUE(t<QPushButton>("BtnTransferir")->isEnabled());
}

} // namespace
