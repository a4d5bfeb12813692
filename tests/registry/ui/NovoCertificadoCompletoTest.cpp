// A new user on a fresh installation with the sample reference data: a certificate, its company, a
// type line of a new product and a normative document, all through the screens, then approved.
//
// When TARVENDIX_SCREENSHOTS names a directory, the screens of the documents and of the history are
// saved there as PNG files (the pictures of the how-to); without it the walk only checks.

#include "AprovaCertificadosPage.h"
#include "DateMaskEdit.h"
#include "Modal.h"
#include "MontaRegistro.h"
#include "PanelModificaCertificado.h"
#include "RegistroFixture.h"
#include "Screenshot.h"
#include "SlotPanel.h"
#include "TFormPrincipal.h"
#include "TabEmpresasEnvolvidas.h"
#include "TabLinhasProduto.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>

namespace {

const QString Numero = QStringLiteral("OCC1-2015/0100");

void escolhe(QComboBox* box, const QString& text) {
    ASSERT_NE(box, nullptr);
    const int index = box->findText(text);
    ASSERT_GE(index, 0) << text.toStdString();
    box->setCurrentIndex(index);
    emit box->activated(index);
}

class NovoCertificadoCompletoTest : public RegistroFixture {
protected:
    std::unique_ptr<TFormPrincipal> form;

    void SetUp() override {
        RegistroFixture::SetUp();
        form = std::make_unique<TFormPrincipal>(dm);
        montaRegistro(*form);
        form->resize(1000, 760);
        form->show();
    }
    void TearDown() override { form.reset(); }

    template <typename T = QWidget> T* w(QWidget* parent, const QString& name) {
        T* found = parent->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    template <typename T = QWidget> T* w(const QString& name) { return w<T>(form.get(), name); }
    void mostraAba(QWidget* aba) {
        PanelModificaCertificado* modifica = form->panelModifica();
        modifica->abas()->setCurrentWidget(aba);
        QApplication::processEvents();
        ASSERT_EQ(modifica->abas()->currentWidget(), aba) << prompts.lastText().toStdString();
    }
    int campo(const QString& column) {
        return conta(QStringLiteral("SELECT %1 FROM CERTIFIC WHERE NumCertif = :n").arg(column),
                     {{":n", Numero}});
    }
};

TEST_F(NovoCertificadoCompletoTest, EmpresaTipoEDocumentoPelasTelasEAprovacao) {
    ASSERT_EQ(conta(QStringLiteral("SELECT COUNT(*) FROM EMPRESA")), 0);
    ASSERT_EQ(conta(QStringLiteral("SELECT COUNT(*) FROM PRODUTO")), 0);

    // "Novo Certificado".
    w<QAction>(QStringLiteral("Novo1"))->trigger();
    ASSERT_TRUE(typeInto(form.get(), QStringLiteral("DBEdit10"), Numero));
    escolhe(w<QComboBox>(QStringLiteral("DBLookupComboBox15")), QStringLiteral("Certificação Compulsória"));
    escolhe(w<QComboBox>(QStringLiteral("DBLookupComboBox3")),
            QStringLiteral("Aparelhos de ar condicionado"));
    for (const auto& [name, digits] :
         {std::pair{"MaskEdit3", "10112015"}, std::pair{"MaskEdit4", "10112018"}}) {
        auto* edit = w<DateMaskEdit>(QString::fromLatin1(name));
        edit->clear();
        edit->setCursorPosition(0);
        QTest::keyClicks(edit, QString::fromLatin1(digits));
    }
    ASSERT_TRUE(clickOn(form.get(), QStringLiteral("btnSalvaInclusao")));
    ASSERT_TRUE(prompts.shown().isEmpty()) << prompts.lastText().toStdString();
    ASSERT_EQ(form->painelAtual(), "ModificaCertificado");

    // "Empresas Envolvidas": a company the installation did not know, entered through "Nova...".
    PanelModificaCertificado* modifica = form->panelModifica();
    mostraAba(modifica->aba(QStringLiteral("TabModificaEmp")));
    auto* empresas = form->findChild<TabEmpresasEnvolvidas*>();
    ASSERT_NE(empresas, nullptr);
    bool incluiu = false;
    onNextModal([&incluiu](QWidget* busca) {
        ASSERT_NE(busca, nullptr);
        onNextModal([&incluiu](QWidget* inclusao) {
            ASSERT_NE(inclusao, nullptr);
            escolhe(inclusao->findChild<QComboBox*>(QStringLiteral("cmbPais")), QStringLiteral("Brasil"));
            typeInto(inclusao, QStringLiteral("edtCGC"), QStringLiteral("44355666000138"));
            typeInto(inclusao, QStringLiteral("edtRazSocialEmp"), QStringLiteral("CLIMA FRESCO LTDA"));
            typeInto(inclusao, QStringLiteral("edtEndCEP"), QStringLiteral("20040002"));
            clickOn(inclusao, QStringLiteral("btnOk"));
            incluiu = true;
        });
        clickOn(busca, QStringLiteral("btnNova"));
    });
    ASSERT_TRUE(clickOn(empresas, QStringLiteral("btnInEmpCertEd")));
    ASSERT_TRUE(incluiu);
    escolhe(w<QComboBox>(QStringLiteral("cmbPapelEmp")), QStringLiteral("Fabricante"));
    ASSERT_TRUE(clickOn(empresas, QStringLiteral("btnAplEdEmpCert")));
    ASSERT_TRUE(prompts.shown().isEmpty()) << prompts.lastText().toStdString();
    ASSERT_EQ(conta(QStringLiteral("SELECT COUNT(*) FROM EMP_CERT WHERE NumCertif = :n"), {{":n", Numero}}),
              1);

    // "Produtos por Tipo": a new product through "Novo...", made by that company.
    mostraAba(modifica->aba(QStringLiteral("TabModificaTipo")));
    auto* tipos = form->findChild<TabProdutosTipo*>();
    ASSERT_NE(tipos, nullptr);
    bool produtoNovo = false;
    onNextModal([&produtoNovo](QWidget* selecao) {
        ASSERT_NE(selecao, nullptr);
        onNextModal([&produtoNovo](QWidget* inclusao) {
            ASSERT_NE(inclusao, nullptr);
            typeInto(inclusao, QStringLiteral("edtMarca"), QStringLiteral("FRESCOR"));
            typeInto(inclusao, QStringLiteral("edtModelo"), QStringLiteral("SPLIT-9000"));
            clickOn(inclusao, QStringLiteral("btnOk"));
            produtoNovo = true;
        });
        clickOn(selecao, QStringLiteral("btnNovo"));
    });
    ASSERT_TRUE(clickOn(tipos, QStringLiteral("btnIncluiTipo")));
    ASSERT_TRUE(produtoNovo);
    auto* empresaDaLinha = w<QComboBox>(tipos, QStringLiteral("cmbEmpVinculadaTipo"));
    empresaDaLinha->setCurrentIndex(
        empresaDaLinha->findData(QVariantList{QStringLiteral("BR"), QStringLiteral("44355666000138")}));
    ASSERT_GE(empresaDaLinha->currentIndex(), 0);
    w<DateMaskEdit>(tipos, QStringLiteral("mskDtEntTipo"))->setText(QStringLiteral("12/11/2015"));
    ASSERT_TRUE(clickOn(tipos, QStringLiteral("btnAplicaTipo")));
    ASSERT_TRUE(prompts.shown().isEmpty()) << prompts.lastText().toStdString();
    ASSERT_EQ(conta(QStringLiteral("SELECT COUNT(*) FROM TIPO WHERE NumCertif = :n"), {{":n", Numero}}), 1);
    EXPECT_EQ(campo(QStringLiteral("Completo")), 0); // no normative document yet

    // "Dados Gerais", "Doc. Normativos": a document for all the certificate's products.
    mostraAba(modifica->abas()->widget(0));
    auto* docNorm = w<QPushButton>(QStringLiteral("btbDocNorm"));
    ASSERT_TRUE(docNorm->isVisible());
    ASSERT_TRUE(docNorm->isEnabled());
    bool vinculou = false;
    onNextModal([&vinculou, this](QWidget* tela) {
        ASSERT_NE(tela, nullptr);
        ASSERT_EQ(tela->windowTitle(), "Documentos Normativos");
        tela->resize(720, 560);
        clickOn(tela, QStringLiteral("btnIncDocNorm"));
        escolhe(tela->findChild<QComboBox*>(QStringLiteral("cmbTitulo")),
                QStringLiteral("Portaria 001/2010 - Ar condicionado"));
        tela->findChild<DateMaskEdit*>(QStringLiteral("EdtDataEntrada"))
            ->setText(QStringLiteral("12/11/2015"));
        screenshot(tela, QStringLiteral("documentos-normativos-inclusao.png"));
        clickOn(tela, QStringLiteral("bbtAplicarDocNorm"));
        auto* grid = tela->findChild<QTableView*>(QStringLiteral("DBGDocNorm"));
        vinculou = grid->model()->rowCount() == 1;
        screenshot(tela, QStringLiteral("documentos-normativos.png"));
        // The link's history: a note of the user.
        onNextModal([](QWidget* historico) {
            ASSERT_NE(historico, nullptr);
            historico->resize(640, 420);
            clickOn(historico, QStringLiteral("btnInEmpCertEd"));
            typeInto(historico, QStringLiteral("EdtJustificativa"),
                     QStringLiteral("Conferida com o laboratorio"));
            clickOn(historico, QStringLiteral("btnAplEdEmpCert"));
            screenshot(historico, QStringLiteral("historico.png"));
            clickOn(historico, QStringLiteral("BtnSair"));
        });
        clickOn(tela, QStringLiteral("BtnCadHistorico"));
        clickOn(tela, QStringLiteral("BtnSair"));
    });
    QTest::mouseClick(docNorm, Qt::LeftButton);
    ASSERT_TRUE(vinculou);
    ASSERT_TRUE(prompts.shown().isEmpty()) << prompts.lastText().toStdString();
    EXPECT_EQ(campo(QStringLiteral("Completo")), 1);
    EXPECT_EQ(conta(QStringLiteral("SELECT COUNT(*) FROM STATUS_DNCP WHERE HistoricoSis = '1'")), 1);
    // The classes are locked now that a document depends on them.
    EXPECT_FALSE(w(QStringLiteral("DBLookupComboBox5"))->isEnabled());

    // Approved on the approval page.
    ASSERT_TRUE(clickOn(form.get(), QStringLiteral("BitBtn35")));
    AprovaCertificadosPage aprovacao(session);
    aprovacao.show();
    aprovacao.open();
    auto* grade = w<QTableView>(&aprovacao, QStringLiteral("DBGrid24"));
    ASSERT_EQ(grade->model()->rowCount(), 1);
    EXPECT_EQ(grade->model()->index(0, 1).data().toString(), Numero);
    grade->selectRow(0);
    ASSERT_TRUE(clickOn(&aprovacao, QStringLiteral("BitBtn9")));
    ASSERT_TRUE(prompts.shown().isEmpty()) << prompts.lastText().toStdString();
    EXPECT_EQ(campo(QStringLiteral("Aprovado")), 1);
}

} // namespace
