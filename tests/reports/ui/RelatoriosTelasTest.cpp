#include "ReportsFixture.h"

#include "CadastroUsuariosPage.h"
#include "InstalaRelatorios.h"
#include "Modal.h"
#include "SharedBatchState.h"
#include "TDMCapaSistema.h"
#include "TDMCertif.h"
#include "TFormPrincipal.h"
#include "TFrmCertificadosAVencer.h"
#include "TFrmPrincipalRemessas.h"
#include "TFrmRelatorioCertificados.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>

namespace {

// Records the reports a screen shows instead of opening the preview.
struct Mostrados {
    QList<Report::Document> documentos;
    MostraRelatorio funcao() {
        return [this](const Report::Document& d, QWidget*) { documentos.append(d); };
    }
    QString ultimo() const { return documentos.isEmpty() ? QString() : documentos.last().text(); }
};

} // namespace

class TelaRelatorios : public ReportsFixture {
protected:
    Mostrados mostrados;
    std::unique_ptr<TFrmRelatorioCertificados> tela;

    void abre() {
        tela = std::make_unique<TFrmRelatorioCertificados>(session, mostrados.funcao());
        tela->show();
        QCoreApplication::processEvents();
    }
    template <typename W> W* achar(const char* name) const {
        auto* w = tela->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QString contagem() const { return achar<QLabel>("lblQuantidade")->text(); }
    bool imprimir() const {
        return achar<QPushButton>("btnEspelho")->isEnabled() &&
               achar<QPushButton>("btnEspelhoLog")->isEnabled() &&
               achar<QPushButton>("btnLista")->isEnabled();
    }
};

TEST_F(TelaRelatorios, OpensClearedWithTheAccreditedClassesAndPrintingDisabled) {
    abre();
    EXPECT_EQ(tela->windowTitle(), QStringLiteral("Relatórios de Certificados"));
    EXPECT_EQ(contagem(), QStringLiteral("0"));
    EXPECT_FALSE(imprimir());
    EXPECT_FALSE(achar<QTableView>("grdCertificados")->isEnabled());
    for (const char* name : {"cbClasseCertificado", "cbClasseProduto", "cbClasseServico"}) {
        auto* combo = achar<QComboBox>(name);
        EXPECT_EQ(combo->itemText(0), QStringLiteral("(Todos)")) << name;
        EXPECT_GT(combo->count(), 1) << name;
    }
    auto* produtos = achar<QComboBox>("cbClasseProduto");
    EXPECT_GE(produtos->findText(QStringLiteral("Aparelhos de ar condicionado")), 1);
    EXPECT_EQ(produtos->itemData(produtos->findText(QStringLiteral("Aparelhos de ar condicionado"))).toInt(),
              110);
}

TEST_F(TelaRelatorios, FilteringShowsTheCountAndEnablesTheReports) {
    abre();
    QTest::mouseClick(achar<QPushButton>("btnFiltra"), Qt::LeftButton);
    EXPECT_EQ(contagem(), QStringLiteral("7"));
    EXPECT_TRUE(imprimir());
    EXPECT_EQ(achar<QTableView>("grdCertificados")->model()->rowCount(), 7);
    EXPECT_EQ(tela->selecao()->texto,
              QStringLiteral("Seleção: Importado:Todos, Status:Todos, Aprovados:Todos "));

    typeInto(tela.get(), QStringLiteral("edtNumero"), QStringLiteral("nada-assim"));
    EXPECT_EQ(achar<QLineEdit>("edtNumero")->text(), QStringLiteral("NADA-ASSIM")); // upper case
    QTest::mouseClick(achar<QPushButton>("btnFiltra"), Qt::LeftButton);
    EXPECT_EQ(contagem(), QString());
    EXPECT_FALSE(imprimir());
}

TEST_F(TelaRelatorios, TheListOfTheSelectionThenTheFiltersStartOver) {
    abre();
    achar<QComboBox>("cbStatus")
        ->setCurrentIndex(achar<QComboBox>("cbStatus")->findText(QStringLiteral("Suspensos")));
    tela->escolheEmpresa(EmpresaFiltro{QStringLiteral("BR"), QStringLiteral("11222333000181"),
                                       QStringLiteral("Alfa Indústria")},
                         QStringLiteral("Brasil"), QStringLiteral("11.222.333/0001-81"),
                         QStringLiteral("Alfa"));
    EXPECT_EQ(achar<QLineEdit>("edtRazaoSocial")->text(), QStringLiteral("Alfa Indústria"));
    EXPECT_TRUE(achar<QPushButton>("btnDetalheEmpresa")->isEnabled());
    QTest::mouseClick(achar<QPushButton>("btnFiltra"), Qt::LeftButton);
    EXPECT_EQ(contagem(), QString()); // CERT-002 is suspended but has no company

    achar<QComboBox>("cbStatus")->setCurrentIndex(0);
    QTest::mouseClick(achar<QPushButton>("btnFiltra"), Qt::LeftButton);
    EXPECT_EQ(contagem(), QStringLiteral("2"));
    QTest::mouseClick(achar<QPushButton>("btnLista"), Qt::LeftButton);
    ASSERT_EQ(mostrados.documentos.size(), 1);
    EXPECT_TRUE(
        inOrder(mostrados.ultimo(), {QStringLiteral("Lista dos Certificados"),
                                     QStringLiteral("Seleção: Razão social: Alfa Indústria,Importado:Todos, "
                                                    "Status:Todos, Aprovados:Todos")}));
    EXPECT_TRUE(mostrados.ultimo().contains(QStringLiteral("CERT-001")));
    // Back from the preview: cleared.
    EXPECT_FALSE(imprimir());
    EXPECT_EQ(contagem(), QStringLiteral("0"));
    EXPECT_TRUE(achar<QLineEdit>("edtRazaoSocial")->text().isEmpty());
    EXPECT_FALSE(achar<QPushButton>("btnDetalheEmpresa")->isEnabled());
}

TEST_F(TelaRelatorios, TheMirrorWithAndWithoutLog) {
    abre();
    typeInto(tela.get(), QStringLiteral("edtNumero"), QStringLiteral("CERT-001"));
    QTest::mouseClick(achar<QPushButton>("btnFiltra"), Qt::LeftButton);
    QTest::mouseClick(achar<QPushButton>("btnEspelho"), Qt::LeftButton);
    typeInto(tela.get(), QStringLiteral("edtNumero"), QStringLiteral("CERT-001"));
    QTest::mouseClick(achar<QPushButton>("btnFiltra"), Qt::LeftButton);
    QTest::mouseClick(achar<QPushButton>("btnEspelhoLog"), Qt::LeftButton);
    ASSERT_EQ(mostrados.documentos.size(), 2);
    EXPECT_TRUE(mostrados.documentos[0].text().contains(QStringLiteral("Nº Certificado: CERT-001")));
    EXPECT_FALSE(mostrados.documentos[0].text().contains(QStringLiteral("Log de Eventos")));
    EXPECT_TRUE(mostrados.documentos[1].text().contains(QStringLiteral("Log de Eventos")));
}

TEST_F(TelaRelatorios, TheRegisterMenuOpensEveryReport) {
    TDMCertif certif(session);
    TFormPrincipal form(certif);
    InstalaRelatorios::noRegistro(form, session, mostrados.funcao());
    const auto acao = [&form](const char* name) {
        return form.findChild<QAction*>(QString::fromLatin1(name));
    };
    for (const char* name : {"CertificadosIncompletos1", "CertificadosProntos1", "EspelhoCertificado1",
                             "CertificadosAVencer1"}) {
        ASSERT_NE(acao(name), nullptr) << name;
        EXPECT_TRUE(acao(name)->isEnabled()) << name;
    }
    acao("CertificadosIncompletos1")->trigger();
    EXPECT_TRUE(mostrados.ultimo().contains(QStringLiteral("Certificados Incompletos")));
    acao("CertificadosProntos1")->trigger();
    EXPECT_TRUE(mostrados.ultimo().contains(QStringLiteral("Certificados Prontos para Aprovação")));

    onNextModal([](QWidget* modal) {
        ASSERT_NE(modal, nullptr);
        EXPECT_EQ(modal->objectName(), QStringLiteral("TFrmRelatorioCertificados"));
        modal->close();
    });
    acao("EspelhoCertificado1")->trigger();

    exec("UPDATE CERTIFIC SET DataValid = '2024-04-01T00:00:00.000' WHERE NumCertif = 'PRONTO-1'");
    onNextModal([](QWidget* modal) {
        ASSERT_NE(modal, nullptr);
        auto* dias = modal->findChild<QSpinBox*>(QStringLiteral("spnDias"));
        ASSERT_NE(dias, nullptr);
        EXPECT_EQ(dias->value(), 60);
        dias->setValue(20);
        clickOn(modal, QStringLiteral("btnVisualiza"));
    });
    acao("CertificadosAVencer1")->trigger();
    EXPECT_TRUE(inOrder(mostrados.ultimo(), {QStringLiteral("Certificados a Vencer"),
                                             QStringLiteral("(20 dias)"), QStringLiteral("PRONTO-1")}));
    EXPECT_EQ(mostrados.documentos.size(), 3);
}

TEST_F(TelaRelatorios, TheUserPageListsTheUsers) {
    TDMCapaSistema dm(session);
    CadastroUsuariosPage page(session, dm);
    page.open();
    auto* listagem = page.findChild<QPushButton*>(QStringLiteral("btnListagem"));
    ASSERT_NE(listagem, nullptr);
    EXPECT_FALSE(listagem->isEnabled());
    page.setListagem(
        [this](QWidget* parent) { InstalaRelatorios::listaUsuarios(session, mostrados.funcao(), parent); });
    EXPECT_TRUE(listagem->isEnabled());
    QTest::mouseClick(listagem, Qt::LeftButton);
    ASSERT_EQ(mostrados.documentos.size(), 1);
    EXPECT_TRUE(
        inOrder(mostrados.ultimo(), {QStringLiteral("Cadastro de Usuários"), QStringLiteral("admin")}));
}

TEST_F(TelaRelatorios, TheBatchScreenListsTheHistoryOfTheSelectedBatch) {
    exec("INSERT INTO CONTROLE (DataHoraEvento, NumeroRemessa, TipoRemessa, Evento, Usuario, Obs) VALUES "
         "('2024-03-01T10:00:00.000', '2024030101', 'C', 'PR', 'ana', 'Primeira'), "
         "('2024-03-04T12:00:00.000', '2024030401', 'C', 'PR', 'ana', 'Segunda')");
    SharedBatchState state;
    TFrmPrincipalRemessas form(session, state);
    form.setListagem([this, &form](QWidget* parent) {
        const std::optional<BatchListRow> selected = form.remessaSelecionada();
        InstalaRelatorios::listaHistorico(session, selected ? selected->NumeroRemessa : QString(),
                                          mostrados.funcao(), parent);
    });
    form.show();
    QCoreApplication::processEvents();
    auto* listagem = form.findChild<QPushButton*>(QStringLiteral("BtListagem"));
    ASSERT_NE(listagem, nullptr);
    ASSERT_TRUE(listagem->isEnabled());
    QTest::mouseClick(listagem, Qt::LeftButton);
    ASSERT_EQ(mostrados.documentos.size(), 1);
    EXPECT_TRUE(mostrados.ultimo().contains(QStringLiteral("Número da Remessa: 2024030401")));
    EXPECT_FALSE(mostrados.ultimo().contains(QStringLiteral("Primeira")));
}

TEST_F(TelaRelatorios, TheLoginNoticeCountsTheCertificatesAboutToExpire) {
    EXPECT_EQ(InstalaRelatorios::avisoAVencer(session), QString());
    exec("UPDATE CERTIFIC SET DataValid = '2024-04-01T00:00:00.000' WHERE NumCertif = 'PRONTO-1'");
    EXPECT_EQ(InstalaRelatorios::avisoAVencer(session), QStringLiteral("1 certificado vence em até 60 dias"));
    exec("UPDATE CERTIFIC SET DataValid = '2024-04-01T00:00:00.000' WHERE NumCertif = 'PRONTO-2'");
    EXPECT_EQ(InstalaRelatorios::avisoAVencer(session),
              QStringLiteral("2 certificados vencem em até 60 dias"));
}

TEST_F(TelaRelatorios, TheCompanyAndProductSearchesFillTheFiltersWithoutTheirNewButtons) {
    abre();
    onNextModal([](QWidget* modal) {
        ASSERT_NE(modal, nullptr);
        EXPECT_EQ(modal->objectName(), QStringLiteral("FrmSelecionaEmpresa"));
        EXPECT_FALSE(modal->findChild<QPushButton*>(QStringLiteral("btnNova"))->isVisible());
        typeInto(modal, QStringLiteral("edtRazSocial"), QStringLiteral("Alfa"));
        clickOn(modal, QStringLiteral("btnFiltra"));
        clickOn(modal, QStringLiteral("btnOk"));
    });
    QTest::mouseClick(achar<QPushButton>("btnSelecionaEmpresa"), Qt::LeftButton);
    EXPECT_EQ(achar<QLineEdit>("edtPais")->text(), QStringLiteral("Brasil"));
    EXPECT_EQ(achar<QLineEdit>("edtCNPJCPF")->text(), QStringLiteral("11.222.333/0001-81"));
    EXPECT_EQ(achar<QLineEdit>("edtNome")->text(), QStringLiteral("Alfa"));
    EXPECT_EQ(achar<QLineEdit>("edtRazaoSocial")->text(), QStringLiteral("Alfa Indústria"));
    EXPECT_TRUE(achar<QPushButton>("btnDetalheEmpresa")->isEnabled());

    onNextModal([](QWidget* modal) {
        ASSERT_NE(modal, nullptr);
        EXPECT_EQ(modal->objectName(), QStringLiteral("FrmSelecionaProduto"));
        EXPECT_FALSE(modal->findChild<QPushButton*>(QStringLiteral("btnNovo"))->isVisible());
        typeInto(modal, QStringLiteral("edtMarca"), QStringLiteral("ACME"));
        clickOn(modal, QStringLiteral("btnFiltra"));
        clickOn(modal, QStringLiteral("btnOk"));
    });
    QTest::mouseClick(achar<QPushButton>("btnSelecionaProduto"), Qt::LeftButton);
    EXPECT_EQ(achar<QLineEdit>("edtMarca")->text(), QStringLiteral("ACME"));
    EXPECT_EQ(achar<QLineEdit>("edtModelo")->text(), QStringLiteral("X1"));
    EXPECT_EQ(achar<QLineEdit>("edtCodigoEAN")->text(), QStringLiteral("7891234567895"));

    // Coming back from the searches keeps what they found; the filter uses both (OCC1's CERT-001
    // and AAA's VAZIO-1 link Alfa and certify ACME/X1).
    QTest::mouseClick(achar<QPushButton>("btnFiltra"), Qt::LeftButton);
    EXPECT_EQ(contagem(), QStringLiteral("2"));
    EXPECT_TRUE(tela->selecao()->texto.startsWith(
        QStringLiteral("Seleção: Razão social: Alfa Indústria,Marca: ACME Modelo: X1,")));
}
