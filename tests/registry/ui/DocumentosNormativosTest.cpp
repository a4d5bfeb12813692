// The screens "Documentos Normativos" and "Histórico", alone and as the register opens them.

#include "DateMaskEdit.h"
#include "DocNormFixture.h"
#include "GeraHistorico.h"
#include "Modal.h"
#include "MontaRegistro.h"
#include "PanelModificaCertificado.h"
#include "SlotPanel.h"
#include "TFormPrincipal.h"
#include "TFrmDocumentosNormativos.h"
#include "TFrmGeraHistorico.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>

namespace {

template <typename T = QWidget> T* w(QWidget* parent, const char* name) {
    T* found = parent->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

// Picks an entry of a list as a user does.
void escolhe(QComboBox* box, const QString& text) {
    ASSERT_NE(box, nullptr);
    const int index = box->findText(text);
    ASSERT_GE(index, 0) << text.toStdString();
    box->setCurrentIndex(index);
    emit box->activated(index);
}

QStringList itens(QComboBox* box) {
    QStringList list;
    for (int i = 0; i < box->count(); ++i)
        list << box->itemText(i);
    return list;
}

QStringList coluna(QTableView* grid, int column) {
    QStringList values;
    for (int row = 0; row < grid->model()->rowCount(); ++row)
        values << grid->model()->index(row, column).data().toString();
    return values;
}

// Every focusable control of a screen is announced by a caption.
void todosComNome(QWidget* screen) {
    const QList<QLabel*> labels = screen->findChildren<QLabel*>();
    for (QWidget* child : screen->findChildren<QWidget*>()) {
        if (!(qobject_cast<QAbstractButton*>(child) || qobject_cast<QLineEdit*>(child) ||
              qobject_cast<QComboBox*>(child) || qobject_cast<QTableView*>(child)))
            continue;
        if (child->focusPolicy() == Qt::NoFocus || qobject_cast<QComboBox*>(child->parentWidget()))
            continue; // a grid's corner, a list's own editor
        QString nome = child->accessibleName() + child->toolTip();
        if (auto* b = qobject_cast<QAbstractButton*>(child))
            nome += b->text();
        for (QLabel* label : labels)
            if (label->buddy() == child)
                nome += label->text();
        EXPECT_FALSE(nome.trimmed().isEmpty()) << child->objectName().toStdString();
    }
}

class DocumentosNormativosTest : public DocNormFixture {
protected:
    std::unique_ptr<TFrmDocumentosNormativos> tela;

    void abre(const ItemDocNorm& i) {
        tela = std::make_unique<TFrmDocumentosNormativos>(dm, i);
        tela->show();
    }
    void TearDown() override { tela.reset(); }
    QTableView* grade() { return w<QTableView>(tela.get(), "DBGDocNorm"); }
    // "&Incluir", a title picked, the entry date typed, "Aplicar".
    void inclui(const QString& titulo, const QString& data) {
        ASSERT_TRUE(clickOn(tela.get(), QStringLiteral("btnIncDocNorm")));
        escolhe(w<QComboBox>(tela.get(), "cmbTitulo"), titulo);
        w<DateMaskEdit>(tela.get(), "EdtDataEntrada")->setText(data);
        ASSERT_TRUE(w<QPushButton>(tela.get(), "bbtAplicarDocNorm")->isEnabled());
        ASSERT_TRUE(clickOn(tela.get(), QStringLiteral("bbtAplicarDocNorm")));
    }
};

TEST_F(DocumentosNormativosTest, IncluiPelasListasEMostraOStatus) {
    abre(item(EscopoDocNorm::DadosGerais));
    EXPECT_EQ(tela->windowTitle(), "Documentos Normativos");
    EXPECT_TRUE(w<QLabel>(tela.get(), "lblObservacao")
                    ->text()
                    .startsWith("Os documentos normativos indicados se "
                                "referirão a todos os PRODUTOS"));
    EXPECT_FALSE(w(tela.get(), "grbReferenteA")->isEnabled());
    EXPECT_TRUE(w<QRadioButton>(tela.get(), "rbtProdutos")->isChecked());
    EXPECT_EQ(grade()->model()->rowCount(), 0);
    EXPECT_GE(grade()->minimumHeight(), 8 * grade()->verticalHeader()->defaultSectionSize());
    // An empty list: no status group, nothing to delete, no history.
    EXPECT_FALSE(w(tela.get(), "grpStatus")->isVisible());
    EXPECT_FALSE(w(tela.get(), "btnExDocNorm")->isEnabled());
    EXPECT_FALSE(w(tela.get(), "BtnCadHistorico")->isEnabled());
    EXPECT_FALSE(w(tela.get(), "grbDocNormDados")->isEnabled());
    EXPECT_TRUE(w(tela.get(), "DBEdtNomeTitulo")->isVisible());
    EXPECT_FALSE(w(tela.get(), "cmbTitulo")->isVisible());
    todosComNome(tela.get());

    ASSERT_TRUE(clickOn(tela.get(), QStringLiteral("btnIncDocNorm")));
    EXPECT_TRUE(tela->editando());
    EXPECT_FALSE(w(tela.get(), "btnIncDocNorm")->isEnabled());
    EXPECT_FALSE(w(tela.get(), "BtnSair")->isEnabled());
    EXPECT_FALSE(grade()->isEnabled());
    EXPECT_TRUE(w(tela.get(), "cmbTitulo")->isVisible());
    EXPECT_EQ(w<DateMaskEdit>(tela.get(), "EdtDataEntrada")->text(), "10/11/2015"); // the emission date
    auto* titulos = w<QComboBox>(tela.get(), "cmbTitulo");
    auto* identificacoes = w<QComboBox>(tela.get(), "cmbIdentificacao");
    auto* tipos = w<QComboBox>(tela.get(), "cmbTipoDoc");
    EXPECT_EQ(itens(titulos), QStringList({"Norma 5858 - Segurança elétrica",
                                           "Portaria 001/2010 - Ar condicionado", "Regulamento 45 - Ruído"}));
    EXPECT_EQ(itens(identificacoes), QStringList({"1001", "1006", "1007"}));
    EXPECT_EQ(itens(tipos), QStringList({"Norma Técnica", "Portaria", "Regulamento Técnico"}));
    auto* aplicar = w<QPushButton>(tela.get(), "bbtAplicarDocNorm");
    EXPECT_FALSE(aplicar->isEnabled());

    // A title selects its identification and kind.
    escolhe(titulos, QStringLiteral("Regulamento 45 - Ruído"));
    EXPECT_EQ(identificacoes->currentText(), "1007");
    EXPECT_EQ(tipos->currentText(), "Regulamento Técnico");
    EXPECT_TRUE(aplicar->isEnabled());
    // A kind empties the other two lists down to its documents.
    escolhe(tipos, QStringLiteral("Portaria"));
    EXPECT_EQ(itens(titulos), QStringList({"Portaria 001/2010 - Ar condicionado"}));
    EXPECT_EQ(titulos->currentIndex(), -1);
    EXPECT_FALSE(aplicar->isEnabled());
    // An identification selects its title and kind.
    escolhe(identificacoes, QStringLiteral("1001"));
    EXPECT_EQ(titulos->currentText(), "Portaria 001/2010 - Ar condicionado");
    EXPECT_TRUE(aplicar->isEnabled());

    // A refused date keeps the screen in edit mode.
    w<DateMaskEdit>(tela.get(), "EdtDataEntrada")->setText(QStringLiteral("26/11/2015"));
    ASSERT_TRUE(clickOn(tela.get(), QStringLiteral("bbtAplicarDocNorm")));
    EXPECT_EQ(prompts.lastText(), "A data de entrada é maior que a data atual.");
    EXPECT_TRUE(tela->editando());
    prompts.clear();
    w<DateMaskEdit>(tela.get(), "EdtDataEntrada")->setText(QStringLiteral("11/11/2015"));
    ASSERT_TRUE(clickOn(tela.get(), QStringLiteral("bbtAplicarDocNorm")));
    ASSERT_TRUE(prompts.shown().isEmpty()) << prompts.lastText().toStdString();
    EXPECT_FALSE(tela->editando());
    EXPECT_EQ(coluna(grade(), 0), QStringList({"1001"}));
    EXPECT_EQ(coluna(grade(), 1), QStringList({"Portaria 001/2010 - Ar condicionado"}));
    EXPECT_EQ(coluna(grade(), 2), QStringList({"Portaria"}));
    EXPECT_EQ(w<QLineEdit>(tela.get(), "DBEdtDataEntrada")->text(), "11/11/2015");
    EXPECT_EQ(conta(QStringLiteral("SELECT COUNT(*) FROM STATUS_DNCP WHERE Evento = 'INC'")), 1);

    // Active: "Suspender" and "Cancelar".
    EXPECT_TRUE(w(tela.get(), "grpStatus")->isVisible());
    EXPECT_EQ(w<QLabel>(tela.get(), "LbStatus")->text(), "Ativo");
    EXPECT_TRUE(w(tela.get(), "sbSuspEmp")->isVisible());
    EXPECT_FALSE(w(tela.get(), "sbAtivEmp")->isVisible());
    EXPECT_TRUE(w(tela.get(), "sbCancEmp")->isVisible());
    EXPECT_TRUE(w(tela.get(), "btnExDocNorm")->isEnabled());
    EXPECT_TRUE(w(tela.get(), "BtnCadHistorico")->isEnabled());

    // "Cancelar" of an inclusion writes nothing.
    ASSERT_TRUE(clickOn(tela.get(), QStringLiteral("btnIncDocNorm")));
    ASSERT_TRUE(clickOn(tela.get(), QStringLiteral("btnCanEdDocNorm")));
    EXPECT_FALSE(tela->editando());
    EXPECT_EQ(grade()->model()->rowCount(), 1);
}

TEST_F(DocumentosNormativosTest, SuspendeComOJustificativaReativaEExclui) {
    abre(item(EscopoDocNorm::DadosGerais));
    inclui(QStringLiteral("Norma 5858 - Segurança elétrica"), QStringLiteral("12/11/2015"));
    ASSERT_EQ(grade()->model()->rowCount(), 1);
    // The register's own asker stands in for the dialog here (the register installs the dialog).
    resposta = Justificativa{QStringLiteral("Norma em revisão"), QDate(2015, 11, 20)};
    ASSERT_TRUE(clickOn(tela.get(), QStringLiteral("sbSuspEmp")));
    EXPECT_EQ(w<QLabel>(tela.get(), "LbStatus")->text(), "Suspenso");
    EXPECT_TRUE(w(tela.get(), "sbAtivEmp")->isVisible());
    EXPECT_FALSE(w(tela.get(), "sbSuspEmp")->isVisible());
    EXPECT_TRUE(w(tela.get(), "sbCancEmp")->isVisible());
    EXPECT_EQ(
        valor(QStringLiteral("SELECT Evento || ' ' || Justificativa FROM STATUS_DNCP WHERE Evento = 'SUS'"))
            .toString(),
        "SUS Norma em revisão");
    ASSERT_TRUE(clickOn(tela.get(), QStringLiteral("sbCancEmp")));
    EXPECT_EQ(w<QLabel>(tela.get(), "LbStatus")->text(), "Cancelado");
    EXPECT_TRUE(w(tela.get(), "sbAtivEmp")->isVisible());
    EXPECT_TRUE(w(tela.get(), "sbSuspEmp")->isVisible());
    EXPECT_FALSE(w(tela.get(), "sbCancEmp")->isVisible());

    // Held by the authority: refused.
    ASSERT_SQL(db,
               QStringLiteral("INSERT INTO REP_DOC_NORM_CERT_PRODUTO SELECT * FROM DOC_NORM_CERT_PRODUTO"));
    ASSERT_TRUE(clickOn(tela.get(), QStringLiteral("btnExDocNorm")));
    EXPECT_EQ(prompts.lastText(),
              "Este registro não pode ser apagado do certificado, pois já foi aprovado para "
              "emissão para o Kavorel.");
    EXPECT_EQ(grade()->model()->rowCount(), 1);
    ASSERT_SQL(db, QStringLiteral("DELETE FROM REP_DOC_NORM_CERT_PRODUTO"));
    prompts.planAnswer(PromptAnswer::Yes);
    ASSERT_TRUE(clickOn(tela.get(), QStringLiteral("btnExDocNorm")));
    EXPECT_EQ(prompts.lastText(), "Confirma a Exclusão do Histórico?");
    EXPECT_EQ(grade()->model()->rowCount(), 0);
    EXPECT_FALSE(w(tela.get(), "grpStatus")->isVisible());
    EXPECT_FALSE(w(tela.get(), "BtnCadHistorico")->isEnabled());
    EXPECT_EQ(conta(QStringLiteral("SELECT COUNT(*) FROM STATUS_DNCP")), 0);
}

TEST_F(DocumentosNormativosTest, HistoricoDoVinculoPelaTela) {
    abre(item(EscopoDocNorm::DadosGerais));
    inclui(QStringLiteral("Norma 5858 - Segurança elétrica"), QStringLiteral("12/11/2015"));
    aprovaAberto();
    bool visto = false;
    onNextModal([this, &visto](QWidget* dialog) {
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), "Histórico");
        auto* grid = dialog->findChild<QTableView*>(QStringLiteral("GridStatus"));
        ASSERT_NE(grid, nullptr);
        EXPECT_EQ(grid->model()->rowCount(), 0); // the program's INC event is no note
        EXPECT_FALSE(dialog->findChild<QPushButton*>(QStringLiteral("btnExEmpCertEd"))->isEnabled());
        EXPECT_EQ(grid->model()->headerData(0, Qt::Horizontal).toString(), "Justificativa");
        EXPECT_EQ(grid->model()->headerData(1, Qt::Horizontal).toString(), "Data Cad.");
        EXPECT_EQ(grid->model()->headerData(2, Qt::Horizontal).toString(), "Usuário  Cad.");
        todosComNome(dialog);
        clickOn(dialog, QStringLiteral("btnInEmpCertEd"));
        auto* data = dialog->findChild<DateMaskEdit*>(QStringLiteral("EdtData"));
        EXPECT_EQ(data->text(), "25/11/2015");
        EXPECT_FALSE(dialog->findChild<QPushButton*>(QStringLiteral("BtnSair"))->isEnabled());
        // Opened from the documents, a note may precede the emission.
        data->setText(QStringLiteral("01/10/2015"));
        typeInto(dialog, QStringLiteral("EdtJustificativa"), QStringLiteral("Norma anterior"));
        clickOn(dialog, QStringLiteral("btnAplEdEmpCert"));
        EXPECT_TRUE(prompts.shown().isEmpty()) << prompts.lastText().toStdString();
        EXPECT_EQ(coluna(grid, 0), QStringList({"Norma anterior"}));
        EXPECT_EQ(coluna(grid, 1), QStringList({"01/10/2015"}));
        EXPECT_EQ(coluna(grid, 2), QStringList({"maria"}));
        EXPECT_TRUE(dialog->findChild<QPushButton*>(QStringLiteral("btnExEmpCertEd"))->isEnabled());
        visto = true;
        clickOn(dialog, QStringLiteral("BtnSair"));
    });
    ASSERT_TRUE(clickOn(tela.get(), QStringLiteral("BtnCadHistorico")));
    ASSERT_TRUE(visto);
    EXPECT_EQ(valor(QStringLiteral("SELECT HistoricoSis || Status_DNCP || IdDocNorm FROM STATUS_DNCP WHERE "
                                   "Justificativa = 'Norma anterior'"))
                  .toString(),
              "1A1006");
    EXPECT_EQ(aprovado(), 0);
}

// The register with its screens; the certificate C-1 open on "Modifica Certificado".
class RegistroDocumentosTest : public DocNormFixture {
protected:
    std::unique_ptr<TFormPrincipal> form;

    void SetUp() override {
        DocNormFixture::SetUp();
        form = std::make_unique<TFormPrincipal>(dm);
        montaRegistro(*form);
        form->setEscolheCertificado([](QWidget*) {
            return std::optional<ChaveCertificado>({QStringLiteral("OCC1"), Numero});
        });
        form->resize(1000, 760);
        form->show();
        form->MostraPainel(QStringLiteral("ModificaCertificado"));
        ASSERT_TRUE(clickOn(form.get(), QStringLiteral("btnSelCertModificacao")));
        ASSERT_EQ(dm.numAberto(), Numero);
    }
    void TearDown() override { form.reset(); }
    void mostraAba(const QString& name) {
        PanelModificaCertificado* modifica = form->panelModifica();
        QWidget* aba =
            name == QLatin1String("TabModificaGerais") ? modifica->abas()->widget(0) : modifica->aba(name);
        modifica->abas()->setCurrentWidget(aba);
        QApplication::processEvents(); // the buttons follow the tab's grid
        ASSERT_EQ(modifica->abas()->currentWidget(), aba) << prompts.lastText().toStdString();
    }
};

TEST_F(RegistroDocumentosTest, BotoesSeguemOItemDaAba) {
    auto* docNorm = w<QPushButton>(form.get(), "btbDocNorm");
    auto* historico = w<QPushButton>(form.get(), "BtnCadHistorico");
    EXPECT_TRUE(docNorm->isEnabled());
    EXPECT_TRUE(historico->isEnabled());

    mostraAba(QStringLiteral("TabModificaEmp"));
    EXPECT_FALSE(docNorm->isVisible());
    EXPECT_TRUE(historico->isEnabled()); // the company link

    // No type line yet: nothing to open.
    mostraAba(QStringLiteral("TabModificaTipo"));
    EXPECT_TRUE(docNorm->isVisible());
    EXPECT_FALSE(docNorm->isEnabled());
    EXPECT_FALSE(historico->isEnabled());
}

TEST_F(RegistroDocumentosTest, DocNormativosDaLinhaDeTipo) {
    tipo(QStringLiteral("FRIO"), QStringLiteral("X1"));
    mostraAba(QStringLiteral("TabModificaTipo"));
    auto* docNorm = w<QPushButton>(form.get(), "btbDocNorm");
    ASSERT_TRUE(docNorm->isEnabled());
    QString observacao;
    onNextModal([&](QWidget* dialog) {
        ASSERT_NE(dialog, nullptr);
        observacao = dialog->findChild<QLabel*>(QStringLiteral("lblObservacao"))->text();
        clickOn(dialog, QStringLiteral("btnIncDocNorm"));
        escolhe(dialog->findChild<QComboBox*>(QStringLiteral("cmbTitulo")),
                QStringLiteral("Regulamento 45 - Ruído"));
        dialog->findChild<DateMaskEdit*>(QStringLiteral("EdtDataEntrada"))
            ->setText(QStringLiteral("12/11/2015"));
        clickOn(dialog, QStringLiteral("bbtAplicarDocNorm"));
        clickOn(dialog, QStringLiteral("BtnSair"));
    });
    QTest::mouseClick(docNorm, Qt::LeftButton);
    EXPECT_EQ(observacao,
              "Os documentos normativos indicados se referirão a este TIPO de produto deste certificado");
    EXPECT_TRUE(prompts.shown().isEmpty()) << prompts.lastText().toStdString();
    EXPECT_EQ(
        conta(QStringLiteral("SELECT COUNT(*) FROM DOC_NORM_TIPO WHERE MarcaProd = 'FRIO' AND ModeloProd = "
                             "'X1' AND IdDocNorm = 1007 AND IdClasseProd = 110")),
        1);
    EXPECT_EQ(conta(QStringLiteral("SELECT COUNT(*) FROM STATUS_DNT WHERE IdDocNorm = 1007")), 1);
    // Documents linked: the classes of the certificate may no longer change.
    EXPECT_TRUE(dm.ExisteRegistro(QStringLiteral("DOCUMENTOS")));
    EXPECT_EQ(completo(), 1);
}

TEST_F(RegistroDocumentosTest, HistoricoDoCertificadoLimitadoPelaEmissao) {
    aprovaAberto();
    onNextModal([this](QWidget* dialog) {
        ASSERT_NE(dialog, nullptr);
        clickOn(dialog, QStringLiteral("btnInEmpCertEd"));
        dialog->findChild<DateMaskEdit*>(QStringLiteral("EdtData"))->setText(QStringLiteral("09/11/2015"));
        typeInto(dialog, QStringLiteral("EdtJustificativa"), QStringLiteral("Visita"));
        clickOn(dialog, QStringLiteral("btnAplEdEmpCert"));
        EXPECT_EQ(prompts.lastText(), "Data menor que a data de emissão do certificado.");
        dialog->findChild<DateMaskEdit*>(QStringLiteral("EdtData"))->setText(QStringLiteral("10/11/2015"));
        clickOn(dialog, QStringLiteral("btnAplEdEmpCert"));
        auto* grid = dialog->findChild<QTableView*>(QStringLiteral("GridStatus"));
        EXPECT_EQ(grid->model()->rowCount(), 1);
        // Held by the authority: the note stays.
        Sql::execute(db, QStringLiteral("INSERT INTO REP_STATUS_C SELECT * FROM STATUS_C"));
        grid->setCurrentIndex(grid->model()->index(0, 0));
        clickOn(dialog, QStringLiteral("btnExEmpCertEd"));
        EXPECT_EQ(prompts.lastText(),
                  "Este registro não pode ser excluído do certificado, pois já foi aprovado para "
                  "emissão para o Kavorel.");
        EXPECT_EQ(grid->model()->rowCount(), 1);
        clickOn(dialog, QStringLiteral("BtnSair"));
    });
    ASSERT_TRUE(clickOn(form.get(), QStringLiteral("BtnCadHistorico")));
    EXPECT_EQ(valor(QStringLiteral("SELECT HistoricoSis || Evento || StatusCertificado FROM STATUS_C WHERE "
                                   "Justificativa = 'Visita'"))
                  .toString(),
              "1INCA");
    EXPECT_EQ(aprovado(), 0);
}

} // namespace
