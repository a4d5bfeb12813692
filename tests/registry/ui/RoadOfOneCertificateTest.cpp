// One certificate from its creation to its approval and the withdrawal of that approval, through the
// real registry screen (completed as the program completes it) and the real approval page.
//
// When TARVENDIX_SCREENSHOTS names a directory, the screens of the main steps are saved there as PNG
// files (the pictures of the user's how-to); without it the walk only checks.

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
#include <QSqlRecord>
#include <QTabWidget>
#include <QTableView>

namespace {

const QString Numero = QStringLiteral("OCC1-2015/0042");
const QString Cnpj = QStringLiteral("11222333000181");

class RoadOfOneCertificateTest : public RegistroFixture {
protected:
    std::unique_ptr<TFormPrincipal> form;
    std::optional<ChaveCertificado> escolha;

    void SetUp() override {
        RegistroFixture::SetUp();
        Sql::execute(
            db,
            QStringLiteral("INSERT INTO EMPRESA (CodigoPais, IdEmpresa, TipoPessoa, CGC, RazSocialEmp, "
                           "NomFantasia, DthUltAtualiz, UsuResp) VALUES ('BR', :id, '1', :id, "
                           "'BRINQUEDOS ALEGRIA LTDA', 'Alegria', :dth, 'ana')"),
            {{":id", Cnpj}, {":dth", clock.now()}});
        Sql::execute(
            db,
            QStringLiteral("INSERT INTO PRODUTO (MarcaProd, ModeloProd, Importado, CodEANUPC, "
                           "DthUltAtualiz, UsuResp) VALUES ('ALEGRIA', 'URSO-40', 0, '7890000000017', "
                           ":dth, 'ana')"),
            {{":dth", clock.now()}});
        form = std::make_unique<TFormPrincipal>(dm);
        montaRegistro(*form);
        form->setEscolheCertificado([this](QWidget*) { return escolha; });
        form->resize(1000, 760);
        form->show();
    }
    void TearDown() override { form.reset(); }

    template <typename T = QWidget> T* w(QWidget* parent, const QString& name) {
        T* found = parent->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    template <typename T = QWidget> T* w(const QString& name) { return w<T>(form.get(), name); }

    void escolhe(const QString& combo, const QString& text) {
        auto* box = w<QComboBox>(combo);
        ASSERT_NE(box, nullptr);
        const int index = box->findText(text);
        ASSERT_GE(index, 0) << text;
        box->setCurrentIndex(index);
        emit box->activated(index);
    }
    void digitaData(const QString& name, const QString& digits) {
        auto* edit = w<DateMaskEdit>(name);
        ASSERT_NE(edit, nullptr);
        edit->clear();
        edit->setCursorPosition(0);
        QTest::keyClicks(edit, digits);
    }
    void mostraAba(const QString& name) {
        PanelModificaCertificado* modifica = form->panelModifica();
        modifica->abas()->setCurrentWidget(modifica->aba(name));
        ASSERT_EQ(modifica->abas()->currentWidget(), modifica->aba(name)) << prompts.lastText();
    }

    QVariant campo(const QString& column) {
        return valor(QStringLiteral("SELECT %1 FROM CERTIFIC WHERE SiglaCertificador = 'OCC1' AND "
                                    "NumCertif = :n")
                         .arg(column),
                     {{":n", Numero}});
    }
    // The certificate's events, oldest first.
    QStringList eventos() {
        QStringList list;
        QSqlQuery q = Sql::exec(db,
                                QStringLiteral("SELECT Evento FROM STATUS_C WHERE SiglaCertificador = 'OCC1' "
                                               "AND NumCertif = :n ORDER BY SeqEvento"),
                                {{":n", Numero}});
        while (q.next())
            list << q.value(0).toString();
        return list;
    }
    static QStringList coluna(QTableView* grid, int column) {
        QStringList values;
        for (int row = 0; row < grid->model()->rowCount(); ++row)
            values << grid->model()->index(row, column).data().toString();
        return values;
    }
};

TEST_F(RoadOfOneCertificateTest, DaCriacaoAAprovacaoEARetiradaDaAprovacao) {
    // "Novo Certificado": number, classes, dates, laboratory.
    w<QAction>(QStringLiteral("Novo1"))->trigger();
    ASSERT_EQ(form->painelAtual(), "NovoCertificado");
    ASSERT_TRUE(typeInto(form.get(), QStringLiteral("DBEdit10"), Numero));
    escolhe(QStringLiteral("DBLookupComboBox15"), QStringLiteral("Certificação Compulsória"));
    escolhe(QStringLiteral("DBLookupComboBox3"), QStringLiteral("Brinquedos"));
    digitaData(QStringLiteral("MaskEdit3"), QStringLiteral("10112015"));
    digitaData(QStringLiteral("MaskEdit4"), QStringLiteral("10112018"));
    ASSERT_TRUE(typeInto(form.get(), QStringLiteral("DBEdit11"), QStringLiteral("Lab Central")));
    auto* salva = w<QPushButton>(QStringLiteral("btnSalvaInclusao"));
    ASSERT_TRUE(salva->isEnabled());
    screenshot(form.get(), QStringLiteral("registro-novo-certificado.png"));
    QTest::mouseClick(salva, Qt::LeftButton);

    // Stored with status A, never approved, not complete, and open for modification.
    ASSERT_TRUE(prompts.shown().isEmpty()) << prompts.lastText();
    ASSERT_EQ(form->painelAtual(), "ModificaCertificado");
    EXPECT_EQ(w<QLineEdit>(QStringLiteral("DBEdit17"))->text(), Numero);
    EXPECT_EQ(w<QComboBox>(QStringLiteral("DBLookupComboBox6"))->currentText(), "Brinquedos");
    EXPECT_EQ(w<QLabel>(QStringLiteral("DescrStatus"))->text(), "Ativo");
    EXPECT_EQ(campo(QStringLiteral("StatusCertificado")).toString(), "A");
    EXPECT_EQ(campo(QStringLiteral("IdClasseCertif")).toString(), "COMP");
    EXPECT_EQ(campo(QStringLiteral("IdClasseProd")).toInt(), 200);
    EXPECT_EQ(campo(QStringLiteral("DataEmissao")).toString(), "2015-11-10T00:00:00.000");
    EXPECT_EQ(campo(QStringLiteral("DataValid")).toString(), "2018-11-10T00:00:00.000");
    EXPECT_EQ(campo(QStringLiteral("UsuResp")).toString(), "maria");
    EXPECT_EQ(campo(QStringLiteral("Completo")).toInt(), 0);
    EXPECT_EQ(campo(QStringLiteral("Aprovado")).toInt(), 0);
    EXPECT_EQ(eventos(), QStringList({"INC"}));
    EXPECT_EQ(dm.numAberto(), Numero);

    // "Empresas Envolvidas": the company picked in "Seleciona Empresa", as manufacturer.
    mostraAba(QStringLiteral("TabModificaEmp"));
    auto* empresas = form->findChild<TabEmpresasEnvolvidas*>();
    ASSERT_NE(empresas, nullptr);
    bool listada = false;
    onNextModal([&listada](QWidget* dialog) {
        ASSERT_NE(dialog, nullptr);
        ASSERT_EQ(dialog->objectName(), "FrmSelecionaEmpresa");
        auto* grid = dialog->findChild<QTableView*>(QStringLiteral("dbgEmpresas"));
        ASSERT_NE(grid, nullptr);
        listada = grid->model()->rowCount() == 1;
        grid->setCurrentIndex(grid->model()->index(0, 0));
        clickOn(dialog, QStringLiteral("btnOk"));
    });
    ASSERT_TRUE(clickOn(empresas, QStringLiteral("btnInEmpCertEd")));
    EXPECT_TRUE(listada);
    escolhe(QStringLiteral("cmbPapelEmp"), QStringLiteral("Fabricante"));
    ASSERT_TRUE(typeInto(empresas, QStringLiteral("MaskEditDtEntEmpresa"), QStringLiteral("12/11/2015")));
    ASSERT_TRUE(clickOn(empresas, QStringLiteral("btnAplEdEmpCert")));
    ASSERT_TRUE(prompts.shown().isEmpty()) << prompts.lastText();
    EXPECT_FALSE(empresas->editando());
    auto* gradeEmpresas = w<QTableView>(QStringLiteral("dbgEmpCert"));
    ASSERT_EQ(gradeEmpresas->model()->rowCount(), 1);
    EXPECT_EQ(gradeEmpresas->model()->index(0, 1).data().toString(), "11.222.333/0001-81");
    EXPECT_EQ(gradeEmpresas->model()->index(0, 4).data().toString(), "Fabricante");
    EXPECT_EQ(conta(QStringLiteral("SELECT COUNT(*) FROM EMP_CERT WHERE NumCertif = :n AND IdEmpresa = :id "
                                   "AND IdPapelEmp = 1 AND StatusEmpresa = 'A' "
                                   "AND DthEntEmpresa = '2015-11-12T00:00:00.000'"),
                    {{":n", Numero}, {":id", Cnpj}}),
              1);
    EXPECT_EQ(conta(QStringLiteral("SELECT COUNT(*) FROM EVENTO_EMP WHERE NumCertif = :n AND Evento = 'INC'"),
                    {{":n", Numero}}),
              1);
    EXPECT_EQ(campo(QStringLiteral("Completo")).toInt(), 0); // no product or service yet
    screenshot(form.get(), QStringLiteral("registro-empresas-envolvidas.png"));

    // "Produtos por Tipo": the product picked in "Seleciona Produto", made by the linked company.
    mostraAba(QStringLiteral("TabModificaTipo"));
    auto* tipos = form->findChild<TabProdutosTipo*>();
    ASSERT_NE(tipos, nullptr);
    onNextModal([](QWidget* dialog) {
        ASSERT_NE(dialog, nullptr);
        auto* grid = dialog->findChild<QTableView*>(QStringLiteral("dbgProdutos"));
        ASSERT_NE(grid, nullptr);
        ASSERT_EQ(grid->model()->rowCount(), 1);
        grid->setCurrentIndex(grid->model()->index(0, 0));
        clickOn(dialog, QStringLiteral("btnOk"));
    });
    ASSERT_TRUE(clickOn(tipos, QStringLiteral("btnIncluiTipo")));
    auto* empresaDaLinha = w<QComboBox>(tipos, QStringLiteral("cmbEmpVinculadaTipo"));
    empresaDaLinha->setCurrentIndex(empresaDaLinha->findData(QVariantList{QStringLiteral("BR"), Cnpj}));
    ASSERT_GE(empresaDaLinha->currentIndex(), 0);
    w<DateMaskEdit>(tipos, QStringLiteral("mskDtEntTipo"))->setText(QStringLiteral("12/11/2015"));
    ASSERT_TRUE(clickOn(tipos, QStringLiteral("btnAplicaTipo")));
    ASSERT_TRUE(prompts.shown().isEmpty()) << prompts.lastText();
    auto* gradeTipos = w<QTableView>(tipos, QStringLiteral("dbgTipo"));
    ASSERT_EQ(gradeTipos->model()->rowCount(), 1);
    EXPECT_EQ(coluna(gradeTipos, 0), QStringList({"ALEGRIA"}));
    EXPECT_EQ(coluna(gradeTipos, 1), QStringList({"URSO-40"}));
    EXPECT_EQ(conta(QStringLiteral("SELECT COUNT(*) FROM TIPO WHERE NumCertif = :n AND MarcaProd = 'ALEGRIA' "
                                   "AND ModeloProd = 'URSO-40' AND IdEmpresa = :id AND StatusProduto = 'A' "
                                   "AND DthEntCertif = '2015-11-12T00:00:00.000'"),
                    {{":n", Numero}, {":id", Cnpj}}),
              1);
    EXPECT_EQ(conta(QStringLiteral("SELECT COUNT(*) FROM STATUS_T WHERE NumCertif = :n AND Evento = 'INC'"),
                    {{":n", Numero}}),
              1);
    // A company and a line, but no normative document nor the authority's number: still incomplete,
    // so the approval page does not offer it.
    EXPECT_EQ(campo(QStringLiteral("Completo")).toInt(), 0);
    EXPECT_FALSE(dm.registro().Completo);
    AprovaCertificadosPage aprovacao(session);
    aprovacao.resize(640, 420);
    aprovacao.show();
    aprovacao.open();
    auto* gradeAprovacao = w<QTableView>(&aprovacao, QStringLiteral("DBGrid24"));
    EXPECT_EQ(gradeAprovacao->model()->rowCount(), 0);

    // A normative document of the certificate's classes; the next line operation recomputes the flag.
    Sql::execute(
        db,
        QStringLiteral("INSERT INTO DOC_NORM_CERT_PRODUTO (SiglaCertificador, NumCertif, IdClasseCertif, "
                       "IdClasseProd, IdDocNorm, Status_DNCP) VALUES ('OCC1', :n, 'COMP', 200, 1003, "
                       "'A')"),
        {{":n", Numero}});
    gradeTipos->setCurrentIndex(gradeTipos->model()->index(0, 0));
    ASSERT_TRUE(clickOn(tipos, QStringLiteral("btnEditaTipo")));
    ASSERT_TRUE(tipos->editando());
    w<DateMaskEdit>(tipos, QStringLiteral("mskDtEntTipo"))->setText(QStringLiteral("13/11/2015"));
    ASSERT_TRUE(clickOn(tipos, QStringLiteral("btnAplicaTipo")));
    ASSERT_TRUE(prompts.shown().isEmpty()) << prompts.lastText();
    EXPECT_EQ(campo(QStringLiteral("Completo")).toInt(), 1);
    EXPECT_TRUE(dm.registro().Completo);
    // Never approved: the alteration writes no event of its own.
    EXPECT_EQ(conta(QStringLiteral("SELECT COUNT(*) FROM STATUS_T WHERE NumCertif = :n"), {{":n", Numero}}),
              1);
    screenshot(form.get(), QStringLiteral("registro-produtos-por-tipo.png"));

    // Back to the main panel of the registry.
    QTabWidget* abas = form->panelModifica()->abas();
    abas->setCurrentIndex(0);
    ASSERT_EQ(abas->currentWidget()->objectName(), "TabModificaGerais");
    ASSERT_TRUE(clickOn(form.get(), QStringLiteral("BitBtn35")));
    EXPECT_EQ(form->painelAtual(), "Principal");

    // "Aprovação de Certificados": complete and not approved, so listed; approved, it leaves the list.
    aprovacao.open();
    ASSERT_EQ(coluna(gradeAprovacao, 1), QStringList({Numero}));
    EXPECT_EQ(coluna(gradeAprovacao, 0), QStringList({"OCC1"}));
    gradeAprovacao->selectRow(0);
    screenshot(&aprovacao, QStringLiteral("aprovacao-de-certificados.png"));
    ASSERT_TRUE(clickOn(&aprovacao, QStringLiteral("BitBtn9")));
    ASSERT_TRUE(prompts.shown().isEmpty()) << prompts.lastText();
    EXPECT_EQ(gradeAprovacao->model()->rowCount(), 0);
    EXPECT_EQ(campo(QStringLiteral("Aprovado")).toInt(), 1);
    EXPECT_EQ(eventos(), QStringList({"INC", "APR"}));
    EXPECT_EQ(valor(QStringLiteral("SELECT UsuResp || ' ' || HistoricoSis || ' ' || StatusCertificado FROM "
                                   "STATUS_C WHERE NumCertif = :n AND Evento = 'APR'"),
                    {{":n", Numero}})
                  .toString(),
              "maria 2 A");

    // Reopened: an approved certificate keeps its number and emission date.
    escolha = ChaveCertificado{QStringLiteral("OCC1"), Numero};
    w<QAction>(QStringLiteral("Altera1"))->trigger();
    ASSERT_TRUE(clickOn(form.get(), QStringLiteral("btnSelCertModificacao")));
    ASSERT_EQ(dm.numAberto(), Numero);
    EXPECT_TRUE(dm.DataUltimaAprovacao().isValid());
    EXPECT_FALSE(w(QStringLiteral("DBEdit17"))->isEnabled());
    EXPECT_FALSE(w(QStringLiteral("MaskEdit1"))->isEnabled());

    // A change of its general data asks for a justification and withdraws the approval.
    clock.advanceSeconds(3600);
    ASSERT_TRUE(typeInto(form.get(), QStringLiteral("DBEdit18"), QStringLiteral("Lab Norte")));
    QString titulo;
    onNextModal([&titulo](QWidget* dialog) {
        ASSERT_NE(dialog, nullptr);
        titulo = dialog->windowTitle();
        typeInto(dialog, QStringLiteral("edtJustificativa"), QStringLiteral("Laboratorio substituido"));
        clickOn(dialog, QStringLiteral("btnOK"));
    });
    ASSERT_TRUE(clickOn(form.get(), QStringLiteral("btnSalvaGeral")));
    EXPECT_EQ(titulo, "Justificativa");
    ASSERT_TRUE(prompts.shown().isEmpty()) << prompts.lastText();
    EXPECT_EQ(campo(QStringLiteral("LabEnsaio")).toString(), "Lab Norte");
    EXPECT_EQ(campo(QStringLiteral("Aprovado")).toInt(), 0);
    EXPECT_EQ(campo(QStringLiteral("Completo")).toInt(), 1);
    EXPECT_EQ(eventos(), QStringList({"INC", "APR", "ALT"}));
    EXPECT_EQ(
        valor(QStringLiteral("SELECT Justificativa FROM STATUS_C WHERE NumCertif = :n AND Evento = 'ALT'"),
              {{":n", Numero}})
            .toString(),
        "Laboratorio substituido");
    EXPECT_FALSE(dm.registro().Aprovado);

    // Waiting for approval again.
    aprovacao.open();
    EXPECT_EQ(coluna(gradeAprovacao, 1), QStringList({Numero}));
}

} // namespace
