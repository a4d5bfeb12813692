#include "EmpresasCertificado.h"
#include "EmpresasFixture.h"
#include "InstalaEmpresas.h"
#include "Modal.h"
#include "PanelModificaCertificado.h"
#include "TFormPrincipal.h"
#include "TabEmpresasEnvolvidas.h"

#include <QAction>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>

namespace {

const QString ACME = QStringLiteral("11222333000181");
const QString CPF = QStringLiteral("52998224725");

} // namespace

class EmpresasCertificadoTest : public EmpresasFixture {
protected:
    EmpresasCertificadoTest() {
        empresa("BR", ACME, "1", ACME, "ACME LTDA");
        empresa("BR", CPF, "2", "", "", CPF, "Maria da Silva");
        empresa("US", "Acme Inc", "1", "", "Acme Inc");
    }

    // Opens the certificate and the tab; "Seleciona Empresa" answers with `escolhida`.
    TabEmpresasEnvolvidas& aba(const QString& num) {
        EXPECT_TRUE(dm->CarregaCertificado("OCC1", num));
        tab = std::make_unique<TabEmpresasEnvolvidas>(*dm);
        tab->setEscolheEmpresa([this](QWidget*) { return escolhida; });
        tab->show();
        return *tab;
    }

    template <class T> T* w(const QString& name) {
        T* found = tab->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }

    // "Incluir" of a company with a role and an entry date, then "Aplicar".
    void inclui(const QString& pais, const QString& id, const QString& data = "01/02/2015",
                const QString& papel = "Fabricante") {
        escolhida = std::make_pair(pais, id);
        clickOn(tab.get(), "btnInEmpCertEd");
        escolhe(w<QComboBox>("cmbPapelEmp"), papel);
        typeInto(tab.get(), "MaskEditDtEntEmpresa", data);
        clickOn(tab.get(), "btnAplEdEmpCert");
    }

    std::unique_ptr<TabEmpresasEnvolvidas> tab;
    std::optional<std::pair<QString, QString>> escolhida;
};

TEST_F(EmpresasCertificadoTest, InclusaoEmCertificadoNuncaAprovadoRegistraINCDoSistema) {
    certificado("C1");
    aba("C1");
    EXPECT_FALSE(w<QPushButton>("btnEdEmpCertEd")->isEnabled());
    inclui("BR", CPF);

    EXPECT_TRUE(prompts.shown().isEmpty()) << prompts.lastText().toStdString();
    EXPECT_EQ(justificativasPedidas, 0);
    const auto link =
        rows("SELECT StatusEmpresa, IdPapelEmp, DthEntEmpresa, DthStatusEmpresa, UsuResp FROM EMP_CERT");
    ASSERT_EQ(link.size(), 1);
    EXPECT_EQ(link[0].value("StatusEmpresa").toString(), "A");
    EXPECT_EQ(link[0].value("IdPapelEmp").toInt(), 1);
    EXPECT_EQ(link[0].value("DthEntEmpresa").toString(), "2015-02-01T00:00:00.000");
    EXPECT_EQ(link[0].value("DthStatusEmpresa").toString(), "2015-02-01T00:00:00.000");
    EXPECT_EQ(link[0].value("UsuResp").toString(), "joao");
    const auto ev = rows("SELECT Evento, Justificativa, HistoricoSis, DthStatusEmpresa FROM EVENTO_EMP");
    ASSERT_EQ(ev.size(), 1);
    EXPECT_EQ(ev[0].value("Evento").toString(), "INC");
    EXPECT_EQ(ev[0].value("Justificativa").toString(), "Historico gerado pelo sistema");
    EXPECT_EQ(ev[0].value("HistoricoSis").toString(), "2");
    EXPECT_EQ(ev[0].value("DthStatusEmpresa").toString(), "2015-02-01T00:00:00.000");

    auto* grid = w<QTableView>("dbgEmpCert");
    ASSERT_EQ(grid->model()->rowCount(), 1);
    EXPECT_EQ(grid->model()->index(0, 1).data().toString(), "529982247-25");
    EXPECT_EQ(grid->model()->index(0, 2).data().toString(), "Maria da Silva");
    EXPECT_EQ(grid->model()->index(0, 4).data().toString(), "Fabricante");
    EXPECT_TRUE(w<QPushButton>("btnEdEmpCertEd")->isEnabled());
    EXPECT_TRUE(dm->chaveBloqueada());
}

TEST_F(EmpresasCertificadoTest, EstrangeiraVinculadaEAlteracaoSemAprovacaoNaoGeraEvento) {
    certificado("C1");
    aba("C1");
    inclui("US", "Acme Inc");
    ASSERT_EQ(count("SELECT COUNT(*) FROM EMP_CERT WHERE CodigoPais = 'US' AND IdEmpresa = 'Acme Inc'"), 1);
    EXPECT_EQ(w<QTableView>("dbgEmpCert")->model()->index(0, 2).data().toString(), "Acme Inc");

    clickOn(tab.get(), "btnEdEmpCertEd");
    EXPECT_FALSE(w<QPushButton>("btnSelEdEmCert")->isEnabled()); // the company cannot change
    escolhe(w<QComboBox>("cmbPapelEmp"), "Importador");
    typeInto(tab.get(), "MaskEditDtEntEmpresa", "10/02/2015");
    clickOn(tab.get(), "btnAplEdEmpCert");

    EXPECT_EQ(count("SELECT IdPapelEmp FROM EMP_CERT"), 2);
    EXPECT_EQ(campo("SELECT DthEntEmpresa FROM EMP_CERT").toString(), "2015-02-10T00:00:00.000");
    EXPECT_EQ(campo("SELECT DthStatusEmpresa FROM EMP_CERT").toString(), "2015-02-10T00:00:00.000");
    EXPECT_EQ(count("SELECT COUNT(*) FROM EVENTO_EMP"), 1); // only the inclusion
}

TEST_F(EmpresasCertificadoTest, InclusaoEmCertificadoAprovadoPedeJustificativaERetiraAprovacao) {
    certificado("C1");
    aprovacao("C1", QDateTime(QDate(2015, 3, 1), QTime(10, 0)));
    aba("C1");
    ASSERT_TRUE(dm->DataUltimaAprovacao().isValid());
    justificativas << "  Novo importador  ";
    inclui("BR", ACME, "01/02/2015", "Importador");

    EXPECT_TRUE(prompts.shown().isEmpty()) << prompts.lastText().toStdString();
    EXPECT_EQ(justificativasPedidas, 1);
    const auto ev = rows("SELECT Evento, Justificativa, HistoricoSis, StatusEmpresa, DthStatusEmpresa, "
                         "DthUltAtualiz FROM EVENTO_EMP");
    ASSERT_EQ(ev.size(), 1);
    EXPECT_EQ(ev[0].value("Evento").toString(), "INC");
    EXPECT_EQ(ev[0].value("Justificativa").toString(), "Novo importador");
    EXPECT_EQ(ev[0].value("HistoricoSis").toString(), "2");
    EXPECT_EQ(ev[0].value("StatusEmpresa").toString(), "A");
    EXPECT_EQ(ev[0].value("DthStatusEmpresa").toString(), "2015-02-01T00:00:00.000");
    EXPECT_EQ(ev[0].value("DthUltAtualiz").toString(), "2015-11-25T14:03:59.250");
    EXPECT_EQ(count("SELECT Aprovado FROM CERTIFIC"), 0);
    EXPECT_FALSE(dm->registro().Aprovado);

    // An alteration asks again, with now as the status date of its event.
    justificativas << "Troca de papel";
    clickOn(tab.get(), "btnEdEmpCertEd");
    escolhe(w<QComboBox>("cmbPapelEmp"), "Fabricante");
    clickOn(tab.get(), "btnAplEdEmpCert");
    EXPECT_EQ(campo("SELECT DthStatusEmpresa FROM EVENTO_EMP WHERE Evento = 'ALT'").toString(),
              "2015-11-25T14:03:59.250");
    EXPECT_EQ(campo("SELECT DthStatusEmpresa FROM EMP_CERT").toString(), "2015-02-01T00:00:00.000");
}

TEST_F(EmpresasCertificadoTest, JustificativaCanceladaDesfazAInclusaoSemMensagem) {
    certificado("C1");
    aprovacao("C1", QDateTime(QDate(2015, 3, 1), QTime(10, 0)));
    aba("C1");
    justificativas << QString();
    inclui("BR", ACME);

    EXPECT_EQ(justificativasPedidas, 1);
    EXPECT_TRUE(prompts.shown().isEmpty());
    EXPECT_EQ(count("SELECT COUNT(*) FROM EMP_CERT"), 0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM EVENTO_EMP"), 0);
    EXPECT_EQ(count("SELECT Aprovado FROM CERTIFIC"), 1);
    EXPECT_FALSE(tab->editando());
    EXPECT_TRUE(w<QPushButton>("btnInEmpCertEd")->isEnabled());
}

TEST_F(EmpresasCertificadoTest, JustificativaPeloDialogoReal) {
    certificado("C1");
    aprovacao("C1", QDateTime(QDate(2015, 3, 1), QTime(10, 0)));
    TFormPrincipal form(*dm); // installs the dialog as the register's justification asker
    aba("C1");
    onNextModal([](QWidget* dialog) {
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), "Justificativa");
        typeInto(dialog, "edtJustificativa", "Fabricante novo");
        clickOn(dialog, "btnOK");
    });
    inclui("BR", ACME);
    EXPECT_EQ(campo("SELECT Justificativa FROM EVENTO_EMP WHERE Evento = 'INC'").toString(),
              "Fabricante novo");
    EXPECT_EQ(count("SELECT Aprovado FROM CERTIFIC"), 0);
}

struct CasoAplicar {
    const char* nome;
    bool comEmpresa;
    const char* papel;
    const char* data;
    const char* caption;
    const char* mensagem;
};

void PrintTo(const CasoAplicar& caso, std::ostream* os) {
    *os << caso.nome;
}

class AplicarRecusadoTest : public EmpresasCertificadoTest,
                            public ::testing::WithParamInterface<CasoAplicar> {};

TEST_P(AplicarRecusadoTest, FicaEmEdicaoSemGravar) {
    const CasoAplicar& c = GetParam();
    certificado("C1");
    aba("C1");
    escolhida = c.comEmpresa ? std::optional(std::make_pair(QString("BR"), ACME)) : std::nullopt;
    clickOn(tab.get(), "btnInEmpCertEd");
    if (*c.papel)
        escolhe(w<QComboBox>("cmbPapelEmp"), c.papel);
    typeInto(tab.get(), "MaskEditDtEntEmpresa", c.data);
    clickOn(tab.get(), "btnAplEdEmpCert");

    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_EQ(prompts.shown()[0].caption, QString::fromUtf8(c.caption));
    EXPECT_EQ(prompts.shown()[0].text, QString::fromUtf8(c.mensagem));
    EXPECT_TRUE(tab->editando());
    EXPECT_TRUE(w<QPushButton>("btnAplEdEmpCert")->isEnabled());
    EXPECT_EQ(count("SELECT COUNT(*) FROM EMP_CERT"), 0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM EVENTO_EMP"), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, AplicarRecusadoTest,
    ::testing::Values(CasoAplicar{"SemEmpresa", false, "Fabricante", "01/02/2015", "Campos em branco",
                                  "Existem campos obrigatórios em branco !!! Reveja a inclusão ou edição..."},
                      CasoAplicar{"SemPapel", true, "", "01/02/2015", "Campos em branco",
                                  "Existem campos obrigatórios em branco !!! Reveja a inclusão ou edição..."},
                      CasoAplicar{"DataAntesDaEmissao", true, "Fabricante", "04/01/2015", "",
                                  "A data de entrada é menor que a data de emissão do certificado."},
                      CasoAplicar{"DataDepoisDeHoje", true, "Fabricante", "26/11/2015", "",
                                  "A data de entrada é maior que a data atual."},
                      CasoAplicar{"DataInvalida", true, "Fabricante", "31/02/2015", "", "Data inválida."}),
    [](const auto& info) { return std::string(info.param.nome); });

TEST_F(EmpresasCertificadoTest, EmpresaJaVinculadaRecusadaAntesDeGravar) {
    certificado("C1");
    vinculo("C1", "BR", ACME);
    aba("C1");
    inclui("br", ACME);
    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_EQ(prompts.shown()[0].caption, "Erro de chave duplicada");
    EXPECT_EQ(prompts.shown()[0].text, "Esta empresa já existe !!!. Cancele a Operação.");
    EXPECT_EQ(count("SELECT COUNT(*) FROM EMP_CERT"), 1);
    EXPECT_TRUE(tab->editando());
}

TEST_F(EmpresasCertificadoTest, CompletoSegueCadaOperacao) {
    certificado("C1");
    linhaTipo("C1", "", "");
    documento("C1");
    aba("C1");
    inclui("BR", ACME);
    EXPECT_EQ(count("SELECT Completo FROM CERTIFIC"), 1);
    EXPECT_TRUE(dm->registro().Completo);

    prompts.planAnswer(PromptAnswer::Yes);
    clickOn(tab.get(), "btnExEmpCertEd");
    EXPECT_EQ(prompts.shown().last().text, "Confirma a exclusão da empresa ?");
    EXPECT_EQ(count("SELECT COUNT(*) FROM EMP_CERT"), 0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM EVENTO_EMP"), 0);
    EXPECT_EQ(count("SELECT Completo FROM CERTIFIC"), 0);
    EXPECT_FALSE(dm->registro().Completo);
}

TEST_F(EmpresasCertificadoTest, VinculoReferenciadoPorLinhaDeProdutoNaoPodeSerExcluido) {
    certificado("C1");
    vinculo("C1", "BR", ACME);
    linhaTipo("C1", "BR", ACME);
    aba("C1");
    clickOn(tab.get(), "btnExEmpCertEd");
    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_EQ(prompts.shown()[0].caption, "Erro de deleção");
    EXPECT_EQ(
        prompts.shown()[0].text,
        "Este registro não pode ser excluido do certificado, pois já foi referenciado a produto ou serviço.");
    EXPECT_EQ(count("SELECT COUNT(*) FROM EMP_CERT"), 1);
}

TEST_F(EmpresasCertificadoTest, CertificadoAprovadoSoExcluiVinculoIncluidoDepoisDaAprovacao) {
    certificado("C1");
    vinculo("C1", "BR", ACME);
    Eventos::insere(db, EventTable::EVENTO_EMP,
                    event({"OCC1", "C1", "BR", ACME}, "INC", QDateTime(QDate(2015, 2, 1), QTime(9, 0))));
    aprovacao("C1", QDateTime(QDate(2015, 3, 1), QTime(10, 0)));
    vinculo("C1", "BR", CPF);
    Eventos::insere(db, EventTable::EVENTO_EMP,
                    event({"OCC1", "C1", "BR", CPF}, "INC", QDateTime(QDate(2015, 4, 1), QTime(9, 0))));
    Eventos::insere(db, EventTable::EVENTO_EMP,
                    event({"OCC1", "C1", "BR", CPF}, "ALT", QDateTime(QDate(2015, 4, 2), QTime(9, 0))));
    aba("C1");

    ASSERT_TRUE(tab->localiza("BR", ACME));
    clickOn(tab.get(), "btnExEmpCertEd");
    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_EQ(prompts.shown()[0].text,
              "Este registro não pode ser apagado do certificado, pois já foi aprovado "
              "para emissão para o Kavorel.");
    EXPECT_EQ(count("SELECT COUNT(*) FROM EMP_CERT"), 2);

    ASSERT_TRUE(tab->localiza("BR", CPF));
    prompts.planAnswer(PromptAnswer::Yes);
    clickOn(tab.get(), "btnExEmpCertEd");
    EXPECT_EQ(count("SELECT COUNT(*) FROM EMP_CERT"), 1);
    EXPECT_EQ(count("SELECT COUNT(*) FROM EVENTO_EMP WHERE IdEmpresa = '52998224725'"), 0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM EVENTO_EMP"), 1);
    EXPECT_EQ(count("SELECT Aprovado FROM CERTIFIC"), 0);
}

TEST_F(EmpresasCertificadoTest, ExclusaoQueFalhaDeixaVinculoEEventosEAvisa) {
    certificado("C1");
    vinculo("C1", "BR", ACME);
    Eventos::insere(db, EventTable::EVENTO_EMP,
                    event({"OCC1", "C1", "BR", ACME}, "INC", QDateTime(QDate(2015, 2, 1), QTime(9, 0))));
    ASSERT_SQL(db, "CREATE TRIGGER falha BEFORE DELETE ON EMP_CERT BEGIN SELECT RAISE(ABORT, 'falha'); END");
    aba("C1");
    prompts.planAnswer(PromptAnswer::Yes);
    clickOn(tab.get(), "btnExEmpCertEd");
    ASSERT_EQ(prompts.shown().size(), 2);
    EXPECT_EQ(prompts.shown()[1].text,
              "Erro genérico de gravação no Banco de Dados !!! As alterações não foram efetuadas.");
    EXPECT_EQ(count("SELECT COUNT(*) FROM EMP_CERT"), 1);
    EXPECT_EQ(count("SELECT COUNT(*) FROM EVENTO_EMP"), 1);
}

TEST_F(EmpresasCertificadoTest, FalhaAoGravarEventoDesfazOVinculoEAvisa) {
    certificado("C1");
    ASSERT_SQL(db,
               "CREATE TRIGGER falha BEFORE INSERT ON EVENTO_EMP BEGIN SELECT RAISE(ABORT, 'falha'); END");
    aba("C1");
    inclui("BR", ACME);
    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_EQ(prompts.shown()[0].caption, "Erro de gravação");
    EXPECT_EQ(count("SELECT COUNT(*) FROM EMP_CERT"), 0);
    EXPECT_EQ(count("SELECT Completo FROM CERTIFIC"), 0);
}

TEST_F(EmpresasCertificadoTest, ListaDeEmpresasDoCertificadoDistingueFiliaisPelaChave) {
    empresa("BR", "11222333000262", "1", "11222333000262", "ACME LTDA");
    empresa("BR", "X", "9", "", "Sem tipo");
    certificado("C1");
    for (const QString& id : {ACME, QString("11222333000262"), CPF, QString("X")})
        vinculo("C1", "BR", id);
    vinculo("C1", "US", "Acme Inc");

    const QList<EmpresaVinculada> lista = EmpresasCertificado::vinculadas(db, "OCC1", "C1");
    QStringList textos;
    QStringList chaves;
    for (const EmpresaVinculada& e : lista) {
        textos << e.texto();
        chaves << e.CodigoPais + "/" + e.IdEmpresa;
    }
    EXPECT_EQ(textos, QStringList({"ACME LTDA - 11.222.333/0001-81", "ACME LTDA - 11.222.333/0002-62",
                                   "Acme Inc (US)", "Maria da Silva - 529982247-25"}));
    EXPECT_EQ(chaves.size(), 4);
    EXPECT_EQ(chaves[0], "BR/" + ACME);
    EXPECT_EQ(chaves[1], "BR/11222333000262");
}

TEST_F(EmpresasCertificadoTest, NaTelaDoRegistroAbaRecusaSairComInclusaoPendente) {
    certificado("C1");
    TFormPrincipal form(*dm);
    instalaEmpresas(form);
    form.show();
    EXPECT_TRUE(form.findChild<QAction*>("Empresa1")->isEnabled());
    form.modificaCertificado();
    ASSERT_TRUE(dm->CarregaCertificado("OCC1", "C1"));
    form.panelModifica()->mostraCertificado();
    auto* abas = form.panelModifica()->abas();
    abas->setCurrentIndex(1);
    ASSERT_EQ(abas->currentIndex(), 1);
    auto* tabela = form.findChild<TabEmpresasEnvolvidas*>();
    ASSERT_NE(tabela, nullptr);
    tabela->setEscolheEmpresa([](QWidget*) { return std::optional(std::make_pair(QString("BR"), ACME)); });
    clickOn(tabela, "btnInEmpCertEd");
    ASSERT_TRUE(tabela->editando());

    abas->setCurrentIndex(2);
    EXPECT_EQ(abas->currentIndex(), 1);
    ASSERT_FALSE(prompts.shown().isEmpty());
    EXPECT_EQ(prompts.lastText(),
              "Existem inclusões ou alterações não Aplicadas no painel de Empresas Envolvidas. "
              "Pressione o botão Aplicar ou Cancelar antes de mudar de painel.");
    clickOn(tabela, "btnCanEdEmpCert");
    abas->setCurrentIndex(2);
    EXPECT_EQ(abas->currentIndex(), 2);
}

TEST_F(EmpresasCertificadoTest, NovaEmpresaPelaBuscaRealEntraNoVinculoEMostraDetalhes) {
    certificado("C1");
    ASSERT_TRUE(dm->CarregaCertificado("OCC1", "C1"));
    tab = std::make_unique<TabEmpresasEnvolvidas>(*dm); // the real company search
    tab->show();
    bool incluiu = false;
    onNextModal([&incluiu](QWidget* busca) {
        ASSERT_NE(busca, nullptr);
        EXPECT_EQ(busca->windowTitle(), "Seleciona Empresa");
        onNextModal([&incluiu](QWidget* inclusao) {
            ASSERT_NE(inclusao, nullptr);
            EXPECT_EQ(inclusao->windowTitle(), "Inclusão de Empresa");
            escolhe(inclusao->findChild<QComboBox*>("cmbPais"), "Brasil");
            typeInto(inclusao, "edtCGC", "44355666000138");
            typeInto(inclusao, "edtRazSocialEmp", "BETA LTDA");
            typeInto(inclusao, "edtEndCEP", "20040002");
            clickOn(inclusao, "btnOk");
            incluiu = true;
        });
        clickOn(busca, "btnNova");
    });
    clickOn(tab.get(), "btnInEmpCertEd");
    ASSERT_TRUE(incluiu);
    EXPECT_TRUE(prompts.shown().isEmpty()) << prompts.lastText().toStdString();
    EXPECT_EQ(w<QLineEdit>("edtCnpjCpfEmpCert")->text(), "44.355.666/0001-38");
    EXPECT_EQ(w<QLineEdit>("edtNomeEmpCert")->text(), "BETA LTDA");
    EXPECT_EQ(w<QLineEdit>("MaskEditDtEntEmpresa")->text(), "05/01/2015"); // the emission date

    ASSERT_TRUE(w<QPushButton>("btnDetalhe")->isEnabled());
    QString mostrado;
    onNextModal([&mostrado](QWidget* detalhe) {
        ASSERT_NE(detalhe, nullptr);
        mostrado = detalhe->windowTitle();
        clickOn(detalhe, "btnOk");
    });
    clickOn(tab.get(), "btnDetalhe");
    EXPECT_EQ(mostrado, "Detalhes da Empresa");

    escolhe(w<QComboBox>("cmbPapelEmp"), "Solicitante");
    clickOn(tab.get(), "btnAplEdEmpCert");
    EXPECT_EQ(campo("SELECT IdEmpresa FROM EMP_CERT").toString(), "44355666000138");
    EXPECT_EQ(campo("SELECT DthEntEmpresa FROM EMP_CERT").toString(), "2015-01-05T00:00:00.000");
    EXPECT_FALSE(w<QPushButton>("btnDetalhe")->isEnabled());
}
