#include "TFormPrincipal.h"
#include "DateMaskEdit.h"
#include "Modal.h"
#include "PanelExcluiCertificado.h"
#include "PanelTabKavorel.h"
#include "RegistroFixture.h"
#include "Screenshot.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QSqlQueryModel>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>

namespace {

// The registry screen over the fixture's database, shown offscreen; "Seleciona Certificado" answers
// with `escolha`.
class TFormPrincipalTest : public RegistroFixture {
protected:
    std::unique_ptr<TFormPrincipal> form;
    std::optional<ChaveCertificado> escolha;

    void SetUp() override {
        RegistroFixture::SetUp();
        form = std::make_unique<TFormPrincipal>(dm);
        form->setEscolheCertificado([this](QWidget*) { return escolha; });
        form->show();
    }
    void TearDown() override { form.reset(); }

    template <typename T = QWidget> T* w(const QString& name) {
        T* found = form->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    bool enabled(const QString& name) {
        if (auto* action = form->findChild<QAction*>(name))
            return action->isEnabled() && form->findChild<QMenuBar*>()->isEnabled();
        auto* widget = w(name);
        return widget && widget->isEnabled();
    }
    void escolhe(const QString& combo, const QString& text) {
        auto* box = w<QComboBox>(combo);
        const int index = box->findText(text);
        ASSERT_GE(index, 0) << text.toStdString();
        box->setCurrentIndex(index);
        emit box->activated(index);
    }
    void digitaData(const QString& name, const QString& digits) {
        auto* edit = w<DateMaskEdit>(name);
        edit->clear();
        edit->setCursorPosition(0);
        QTest::keyClicks(edit, digits);
    }
    void trigger(const QString& action) { w<QAction>(action)->trigger(); }
    void abre(const QString& numero) {
        escolha = ChaveCertificado{QStringLiteral("OCC1"), numero};
        trigger(QStringLiteral("Altera1"));
        ASSERT_TRUE(clickOn(form.get(), QStringLiteral("btnSelCertModificacao")));
    }
};

TEST_F(TFormPrincipalTest, PaineisMenusEBotoes) {
    EXPECT_EQ(form->windowTitle(), "Tarvendix - Manutenção da Base de Dados");
    EXPECT_EQ(form->painelAtual(), "Principal");
    for (const char* name : {"Principal", "NovoCertificado", "ModificaCertificado", "ExcluiCertificado",
                             "TabEmpresa", "TabProduto", "TabKavorel", "Signatarios"})
        EXPECT_NE(form->painel(QString::fromLatin1(name)), nullptr) << name;
    for (const char* name : {"Novo1", "Altera1", "Exclui1", "Sair1", "TabelasKavorel1", "sbNovoCertificado",
                             "sbEditaCertificado", "sbApagaCertificado", "sbTabKavorel", "sbSaida"})
        EXPECT_TRUE(enabled(QString::fromLatin1(name))) << name;
    // The screens of later work are not here yet.
    for (const char* name :
         {"Empresa1", "Produto1", "Signatario1", "CertificadosIncompletos1", "CertificadosProntos1",
          "EspelhoCertificado1", "ImportaTXT1", "sbTabEmpresas", "sbTabProdutos", "sbImportacao"})
        EXPECT_FALSE(enabled(QString::fromLatin1(name))) << name;
    auto* tabs = w<QTabWidget>(QStringLiteral("PControlModificaCertif"));
    ASSERT_EQ(tabs->count(), 6);
    const QStringList captions{"Dados Gerais",      "Empresas Envolvidas",  "Produtos por Tipo",
                               "Produtos por Lote", "Produtos por Unidade", "Serviços"};
    const QStringList names{"TabModificaGerais", "TabModificaEmp",     "TabModificaTipo",
                            "TabModificaLote",   "TabModificaUnidade", "TabModificaServico"};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(tabs->tabText(i), captions[i]);
        EXPECT_EQ(tabs->widget(i)->objectName(), names[i]);
    }
    EXPECT_FALSE(enabled(QStringLiteral("btbDocNorm")));
    EXPECT_FALSE(enabled(QStringLiteral("BtnCadHistorico")));

    // The editing modes are left only by their own buttons.
    form->MostraPainel(QStringLiteral("ExcluiCertificado"));
    EXPECT_TRUE(form->painel(QStringLiteral("ExcluiCertificado"))->isVisible());
    EXPECT_FALSE(form->painel(QStringLiteral("Principal"))->isVisible());
    EXPECT_FALSE(enabled(QStringLiteral("Novo1")));
    EXPECT_FALSE(enabled(QStringLiteral("sbNovoCertificado")));
    clickOn(form.get(), QStringLiteral("BitBtn83"));
    EXPECT_EQ(form->painelAtual(), "Principal");
    EXPECT_TRUE(enabled(QStringLiteral("sbNovoCertificado")));

    // A later panel enables its entries once installed.
    form->installPanel(QStringLiteral("Signatarios"), new QLabel(QStringLiteral("lista")));
    EXPECT_TRUE(enabled(QStringLiteral("Signatario1")));
    trigger(QStringLiteral("Signatario1"));
    EXPECT_EQ(form->painelAtual(), "Signatarios");
    EXPECT_TRUE(enabled(QStringLiteral("Novo1"))); // not an editing mode
}

TEST_F(TFormPrincipalTest, NovoCertificadoPelaTela) {
    trigger(QStringLiteral("Novo1"));
    ASSERT_EQ(form->painelAtual(), "NovoCertificado");
    EXPECT_EQ(w<QLineEdit>(QStringLiteral("DBEdit9"))->text(), "OCC1");
    auto* salva = w<QPushButton>(QStringLiteral("btnSalvaInclusao"));
    EXPECT_FALSE(salva->isEnabled());

    ASSERT_TRUE(typeInto(form.get(), QStringLiteral("DBEdit10"), QStringLiteral("abc'1")));
    EXPECT_EQ(w<QLineEdit>(QStringLiteral("DBEdit10"))->text(), "ABC'1");
    escolhe(QStringLiteral("DBLookupComboBox15"), QStringLiteral("Certificação Compulsória"));
    EXPECT_FALSE(salva->isEnabled()); // no class of products, no emission date yet
    escolhe(QStringLiteral("DBLookupComboBox3"), QStringLiteral("Brinquedos"));
    EXPECT_EQ(w<QComboBox>(QStringLiteral("DBLookupComboBox3"))->findText("Refrigeradores"),
              -1); // not accredited
    digitaData(QStringLiteral("MaskEdit3"), QStringLiteral("25112015"));
    EXPECT_TRUE(salva->isEnabled());
    ASSERT_TRUE(typeInto(form.get(), QStringLiteral("DBEdit11"), QStringLiteral("Lab Central")));

    // Without a validity date the save is refused.
    QTest::mouseClick(salva, Qt::LeftButton);
    EXPECT_EQ(prompts.lastText(), "Por favor informe a data de validade do certificado.");
    EXPECT_EQ(conta(QStringLiteral("SELECT COUNT(*) FROM CERTIFIC")), 0);

    digitaData(QStringLiteral("MaskEdit4"), QStringLiteral("25112018"));
    QTest::mouseClick(salva, Qt::LeftButton);
    EXPECT_EQ(form->painelAtual(), "ModificaCertificado");
    EXPECT_EQ(w<QLineEdit>(QStringLiteral("DBEdit17"))->text(), "ABC'1");
    EXPECT_EQ(w<DateMaskEdit>(QStringLiteral("MaskEdit1"))->text(), "25/11/2015");
    EXPECT_EQ(w<DateMaskEdit>(QStringLiteral("MaskEdit2"))->text(), "25/11/2018");
    EXPECT_EQ(w<QComboBox>(QStringLiteral("DBLookupComboBox6"))->currentText(), "Brinquedos");
    EXPECT_EQ(w<QLabel>(QStringLiteral("DescrStatus"))->text(), "Ativo");
    EXPECT_EQ(valor(QStringLiteral("SELECT LabEnsaio FROM CERTIFIC WHERE NumCertif = :n"), {{":n", "ABC'1"}}),
              "Lab Central");
    EXPECT_EQ(conta(QStringLiteral("SELECT COUNT(*) FROM STATUS_C WHERE Evento = 'INC'")), 1);
    EXPECT_FALSE(enabled(QStringLiteral("Novo1")));
}

TEST_F(TFormPrincipalTest, EmissaoFuturaERecusadaAoSairDoCampo) {
    trigger(QStringLiteral("Novo1"));
    digitaData(QStringLiteral("MaskEdit3"), QStringLiteral("26112015"));
    QTest::keyClick(w(QStringLiteral("MaskEdit3")), Qt::Key_Return);
    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_EQ(prompts.shown()[0].kind, PromptKind::Message);
    EXPECT_EQ(prompts.shown()[0].caption, "Erro de entrada de dados");
    EXPECT_EQ(prompts.shown()[0].text,
              "Formato de data inválido ou data superior a data atual! Tente novamente.");
    digitaData(QStringLiteral("MaskEdit3"), QStringLiteral("2511"));
    QTest::keyClick(w(QStringLiteral("MaskEdit3")), Qt::Key_Return);
    EXPECT_EQ(prompts.lastText(), "O formato de data deve ser dd/mm/aaaa.");
    digitaData(QStringLiteral("MaskEdit3"), QStringLiteral("20112015"));
    digitaData(QStringLiteral("MaskEdit4"), QStringLiteral("19112015"));
    QTest::keyClick(w(QStringLiteral("MaskEdit4")), Qt::Key_Return);
    EXPECT_EQ(prompts.lastText(),
              "Formato de data inválido ou data inferior a data de emissao do certificado! Tente novamente.");
}

TEST_F(TFormPrincipalTest, AlteracaoDeAprovadoPedeJustificativaNoDialogo) {
    cria(QStringLiteral("N-1"));
    aprova(QStringLiteral("N-1"), QDateTime(QDate(2015, 11, 20), QTime(10, 0)));
    abre(QStringLiteral("N-1"));
    EXPECT_FALSE(w(QStringLiteral("DBEdit17"))->isEnabled());
    EXPECT_FALSE(w(QStringLiteral("MaskEdit1"))->isEnabled());

    // Cancelled: nothing changes.
    ASSERT_TRUE(typeInto(form.get(), QStringLiteral("DBEdit18"), QStringLiteral("Lab Novo")));
    bool dialogo = false;
    onNextModal([&dialogo](QWidget* modal) {
        dialogo = modal && modal->objectName() == "TFrmJustificativa";
        if (modal)
            clickOn(modal, QStringLiteral("btnCancela"));
    });
    clickOn(form.get(), QStringLiteral("btnSalvaGeral"));
    EXPECT_TRUE(dialogo);
    EXPECT_TRUE(valor(QStringLiteral("SELECT LabEnsaio FROM CERTIFIC")).isNull());
    EXPECT_EQ(conta(QStringLiteral("SELECT Aprovado FROM CERTIFIC")), 1);
    EXPECT_EQ(w<QLineEdit>(QStringLiteral("DBEdit18"))->text(), "");

    // Justified: an ALT event, the approval withdrawn.
    ASSERT_TRUE(typeInto(form.get(), QStringLiteral("DBEdit18"), QStringLiteral("Lab Novo")));
    onNextModal([](QWidget* modal) {
        if (!modal)
            return;
        typeInto(modal, QStringLiteral("edtJustificativa"), QStringLiteral("Laboratorio trocado"));
        clickOn(modal, QStringLiteral("btnOK"));
    });
    clickOn(form.get(), QStringLiteral("btnSalvaGeral"));
    EXPECT_EQ(valor(QStringLiteral("SELECT LabEnsaio FROM CERTIFIC")).toString(), "Lab Novo");
    EXPECT_EQ(conta(QStringLiteral("SELECT Aprovado FROM CERTIFIC")), 0);
    EXPECT_EQ(valor(QStringLiteral("SELECT Justificativa FROM STATUS_C WHERE Evento = 'ALT'")).toString(),
              "Laboratorio trocado");
}

TEST_F(TFormPrincipalTest, CertificadoComLinhaTemNumeroEEmissaoBloqueados) {
    cria(QStringLiteral("N-1"));
    cria(QStringLiteral("N-2"));
    insereLinha(QStringLiteral("EMP_CERT"), QStringLiteral("N-1"));
    abre(QStringLiteral("N-2"));
    EXPECT_TRUE(w(QStringLiteral("DBEdit17"))->isEnabled());
    EXPECT_TRUE(w(QStringLiteral("MaskEdit1"))->isEnabled());
    abre(QStringLiteral("N-1"));
    EXPECT_FALSE(w(QStringLiteral("DBEdit17"))->isEnabled());
    EXPECT_FALSE(w(QStringLiteral("MaskEdit1"))->isEnabled());
    EXPECT_TRUE(w(QStringLiteral("LbNumCertif"))->styleSheet().contains("maroon"));
    EXPECT_TRUE(w(QStringLiteral("LbDataEmissao"))->styleSheet().contains("maroon"));
    EXPECT_TRUE(w(QStringLiteral("DBLookupComboBox5"))->isEnabled());

    // A normative document locks the classes.
    insereLinha(QStringLiteral("DOC_NORM_CERT_PRODUTO"), QStringLiteral("N-1"));
    abre(QStringLiteral("N-1"));
    EXPECT_FALSE(w(QStringLiteral("DBLookupComboBox5"))->isEnabled());
    EXPECT_FALSE(w(QStringLiteral("DBLookupComboBox6"))->isEnabled());
}

TEST_F(TFormPrincipalTest, RenumerarParaNumeroExistenteMantemOCertificadoAberto) {
    cria(QStringLiteral("N-1"));
    cria(QStringLiteral("N-2"));
    abre(QStringLiteral("N-1"));
    ASSERT_TRUE(typeInto(form.get(), QStringLiteral("DBEdit17"), QStringLiteral("n-2")));
    clickOn(form.get(), QStringLiteral("btnSalvaGeral"));
    EXPECT_EQ(prompts.lastText(), "Este certificado já existe !!!. Cancele a Operação.");
    EXPECT_EQ(dm.numAberto(), "N-1");
    ASSERT_TRUE(typeInto(form.get(), QStringLiteral("DBEdit17"), QStringLiteral("N-3")));
    clickOn(form.get(), QStringLiteral("btnSalvaGeral"));
    EXPECT_EQ(dm.numAberto(), "N-3");
    EXPECT_EQ(conta(QStringLiteral("SELECT COUNT(*) FROM STATUS_C WHERE NumCertif = 'N-3'")), 1);
}

TEST_F(TFormPrincipalTest, SairDeDadosGeraisComAlteracoesERecusado) {
    auto* tabs = w<QTabWidget>(QStringLiteral("PControlModificaCertif"));
    trigger(QStringLiteral("Altera1"));
    tabs->setCurrentIndex(1);
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(prompts.lastText(), "Selecione um certificado !!!");

    cria(QStringLiteral("N-1"));
    abre(QStringLiteral("N-1"));
    ASSERT_TRUE(typeInto(form.get(), QStringLiteral("DBEdit19"), QStringLiteral("R-77")));
    tabs->setCurrentIndex(2);
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(prompts.shown().last().caption, "Erro de Edição");
    EXPECT_EQ(prompts.lastText(), "Existem inclusões ou alterações não Aplicadas no painel de DadosGerais. "
                                  "Pressione o botão Aplicar ou Cancelar antes de mudar de painel.");
    clickOn(form.get(), QStringLiteral("BitBtn16")); // Cancela
    EXPECT_EQ(w<QLineEdit>(QStringLiteral("DBEdit19"))->text(), "");
    tabs->setCurrentIndex(2);
    EXPECT_EQ(tabs->currentIndex(), 2);
}

TEST_F(TFormPrincipalTest, ExclusaoPelaTela) {
    cria(QStringLiteral("N-1"));
    insereLinha(QStringLiteral("EMP_CERT"), QStringLiteral("N-1"));
    insereLinha(QStringLiteral("LOTE"), QStringLiteral("N-1"));
    trigger(QStringLiteral("Exclui1"));
    EXPECT_FALSE(w(QStringLiteral("btnExcluiCertif"))->isEnabled());
    escolha = ChaveCertificado{QStringLiteral("OCC1"), QStringLiteral("N-1")};
    clickOn(form.get(), QStringLiteral("btnSelCertExclusao"));
    EXPECT_EQ(w<QLineEdit>(QStringLiteral("DBEdit22"))->text(), "N-1");
    EXPECT_EQ(form->panelExclui()->empresas()->rowCount(), 1);
    ASSERT_EQ(form->panelExclui()->produtos()->rowCount(), 1);
    EXPECT_EQ(form->panelExclui()->produtos()->item(0, 4)->text(), "X"); // the lot number
    prompts.planAnswer(PromptAnswer::Yes);
    clickOn(form.get(), QStringLiteral("btnExcluiCertif"));
    EXPECT_EQ(conta(QStringLiteral("SELECT COUNT(*) FROM CERTIFIC")), 0);
    EXPECT_EQ(conta(QStringLiteral("SELECT COUNT(*) FROM EMP_CERT")), 0);
    EXPECT_FALSE(w(QStringLiteral("btnExcluiCertif"))->isEnabled());

    escolha.reset();
    clickOn(form.get(), QStringLiteral("btnSelCertExclusao"));
    EXPECT_EQ(prompts.lastText(), "Nenhum Certificado foi escolhido !!!");
}

TEST_F(TFormPrincipalTest, TabelasKavorelOrdenamPelaColunaClicada) {
    trigger(QStringLiteral("TabelasKavorel1"));
    ASSERT_EQ(form->painelAtual(), "TabKavorel");
    auto* tabs = w<QTabWidget>(QStringLiteral("PControlTabKavorel"));
    tabs->setCurrentIndex(2); // País
    auto* grid = w<QTableView>(QStringLiteral("qryTbKavorelPais"));
    auto* model = qobject_cast<QSqlQueryModel*>(grid->model());
    ASSERT_EQ(model->rowCount(), 5);
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), "País");
    const auto coluna = [model](int c) {
        QStringList values;
        for (int r = 0; r < model->rowCount(); ++r)
            values << model->index(r, c).data().toString();
        return values;
    };
    const auto clica = [grid](int section) {
        QHeaderView* header = grid->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(section) + 5, header->height() / 2));
    };
    clica(0);
    EXPECT_EQ(coluna(0), QStringList({"AR", "BR", "CN", "DE", "US"}));
    clica(0);
    EXPECT_EQ(coluna(0), QStringList({"US", "DE", "CN", "BR", "AR"}));
    clica(1);
    EXPECT_EQ(coluna(1), QStringList({"Alemanha", "Argentina", "Brasil", "China", "Estados Unidos"}));
    EXPECT_EQ(form->panelKavorel()->ordem().ultimoCampo(), "NomePais");

    // Only the accredited classes of products are listed.
    auto* classes = form->panelKavorel()->modelo(0);
    EXPECT_EQ(classes->rowCount(), 2);
    clickOn(form.get(), QStringLiteral("BitBtn13"));
    EXPECT_EQ(form->painelAtual(), "Principal");
    EXPECT_EQ(model->rowCount(), 0);
}

TEST_F(TFormPrincipalTest, DadosGeraisMostraTodosOsCampos) {
    Sql::execute(db, QStringLiteral("INSERT INTO SIGNATARIOS (Signatario, Default_s, SiglaCertificador) "
                                    "VALUES ('Paulo Mendes', 'S', 'OCC1')"));
    cria(QStringLiteral("OCC1-2015/0042"));
    dm.registro().LabEnsaio = QStringLiteral("Laboratório Central de Ensaios");
    dm.registro().NumRelEnsaio = QStringLiteral("RE-2015-118");
    dm.registro().Observacoes = QStringLiteral("Certificado de modelo");
    ASSERT_TRUE(dm.salvaGeral(QStringLiteral("10/11/2015"), QStringLiteral("10/11/2018")).salvo);
    abre(QStringLiteral("OCC1-2015/0042"));
    form->resize(900, 720);
    EXPECT_EQ(w<QComboBox>(QStringLiteral("DBComboBox2"))->currentText(), "Paulo Mendes");
    EXPECT_EQ(w<QLineEdit>(QStringLiteral("DBEdit19"))->text(), "RE-2015-118");
    QCoreApplication::processEvents(); // let the layouts settle before the picture
    EXPECT_EQ(w<QLabel>(QStringLiteral("DescrStatus"))->text(), "Ativo");
    EXPECT_EQ(w<QLabel>(QStringLiteral("LbNumCertif"))->buddy(), w(QStringLiteral("DBEdit17")));
    EXPECT_FALSE(form->grab().toImage().isNull());
    screenshot(form.get(), QStringLiteral("registro-dados-gerais.png"));
}

} // namespace
