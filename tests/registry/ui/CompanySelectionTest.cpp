#include "Formats.h"
#include "SelectionFixture.h"
#include "TFrmDetalhesEmpresa.h"
#include "TFrmSelEmpCert.h"
#include "TFrmSelecionaEmpresa.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

namespace {

// Certificate-company dialog -----------------------------------------------------------------------

class SelEmpCertTest : public SelectionFixture {
protected:
    static QStringList razoes(QWidget* d) {
        QStringList list = column(d, "dbgEmpresas", 4);
        list.sort();
        return list;
    }
};

TEST_F(SelEmpCertTest, ListsOnlyTheLegalPersonsOfTheCertificate) {
    TFrmSelEmpCert dialog(session, "OCC1", "CERT-001");
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Seleciona Empresa Certificada");
    EXPECT_EQ(titles(&dialog, "dbgEmpresas"), QStringList({"País", "CNPJ", "Razão Social", "Nome Fantasia"}));
    // Maria da Silva, a natural person, is linked too but not offered.
    EXPECT_EQ(razoes(&dialog), QStringList({"Alfa Industria", "Shenzhen Co"}));
    const QStringList razao = column(&dialog, "dbgEmpresas", 4);
    const int alfa = razao.indexOf("Alfa Industria");
    EXPECT_EQ(column(&dialog, "dbgEmpresas", 3)[alfa], "11.222.333/0001-81");
    EXPECT_EQ(column(&dialog, "dbgEmpresas", 2)[alfa], "Brasil");
    EXPECT_EQ(column(&dialog, "dbgEmpresas", 3)[1 - alfa], ""); // the foreign company has no CNPJ

    clickRow(&dialog, "dbgEmpresas", 1 - alfa, 4);
    click(&dialog, "btnOk");
    ASSERT_TRUE(dialog.escolhida().has_value());
    EXPECT_EQ(*dialog.escolhida(), std::make_pair(QString("CN"), QString("Shenzhen Co")));
}

TEST_F(SelEmpCertTest, NaturalPersonOnlyGivesAnEmptyListAndOkAsksForACompany) {
    TFrmSelEmpCert dialog(session, "OCC1", "CERT-002");
    dialog.show();
    EXPECT_EQ(child<QTableView>(&dialog, "dbgEmpresas")->model()->rowCount(), 0);
    click(&dialog, "btnOk");
    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_EQ(prompts.shown().first().kind, PromptKind::Information);
    EXPECT_EQ(prompts.shown().first().text, "Por favor selecione uma empresa");
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(dialog.escolhida().has_value());
}

TEST_F(SelEmpCertTest, FiltersByCountryCnpjAndNames) {
    vinculo("CERT-001", "BR", "11222333000262");
    TFrmSelEmpCert dialog(session, "OCC1", "CERT-001");
    dialog.show();
    EXPECT_EQ(razoes(&dialog), QStringList({"Alfa Filial", "Alfa Industria", "Shenzhen Co"}));
    const struct {
        QString pais, cnpj, fantasia, razao;
        QStringList found;
    } cases[] = {
        {"China", "", "", "", {"Shenzhen Co"}},
        {"Brasil", "", "", "", {"Alfa Filial", "Alfa Industria"}},
        {"", "11222333000262", "", "", {"Alfa Filial"}},
        {"", "112223330002", "", "", {}}, // the whole CNPJ, not a prefix
        {"", "", "alfinha", "", {"Alfa Filial"}},
        {"", "", "", "industr", {"Alfa Industria"}},
        {"China", "", "", "alfa", {}},
    };
    for (const auto& c : cases) {
        choose(&dialog, "cbxPais", c.pais);
        type(&dialog, "edtCNPJ", c.cnpj);
        type(&dialog, "edtNomFantasia", c.fantasia);
        type(&dialog, "edtRazSocial", c.razao);
        click(&dialog, "btnFiltra");
        EXPECT_EQ(razoes(&dialog), c.found) << c.pais.toStdString() << c.cnpj.toStdString();
        EXPECT_EQ(text(&dialog, "lblQuant"), QString::number(c.found.size()));
        EXPECT_EQ(child<QComboBox>(&dialog, "cbxPais")->currentText(), "");
        EXPECT_EQ(FormataCNPJ(text(&dialog, "edtCNPJ"), false), "");
        EXPECT_EQ(text(&dialog, "edtNomFantasia"), "");
        EXPECT_EQ(text(&dialog, "edtRazSocial"), "");
    }
}

TEST_F(SelEmpCertTest, CancelReturnsNothing) {
    TFrmSelEmpCert dialog(session, "OCC1", "CERT-001");
    dialog.show();
    click(&dialog, "btnCancela");
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(dialog.escolhida().has_value());
}

// Company search -----------------------------------------------------------------------------------

class SelecionaEmpresaTest : public SelectionFixture {
protected:
    SelecionaEmpresaTest() : dialog(session) { dialog.show(); }

    QStringList nomes() {
        QStringList list = column(&dialog, "dbgEmpresas", 4);
        list.sort();
        return list;
    }
    void fisica() { QTest::mouseClick(child<QRadioButton>(&dialog, "rbFisica"), Qt::LeftButton); }

    TFrmSelecionaEmpresa dialog;
};

TEST_F(SelecionaEmpresaTest, ListsEveryCompanyOnOpening) {
    EXPECT_EQ(dialog.windowTitle(), "Seleciona Empresa");
    EXPECT_EQ(titles(&dialog, "dbgEmpresas"),
              QStringList({"País", "CNPJ/CPF", "Razão Social/Nome Pessoa Física", "Nome Fantasia"}));
    EXPECT_EQ(nomes(), QStringList({"Alfa Filial", "Alfa Industria", "Gama Comercio", "Maria da Silva",
                                    "Shenzhen Co"}));
    EXPECT_EQ(text(&dialog, "lblQuant"), "5");
    const QStringList names = column(&dialog, "dbgEmpresas", 4);
    EXPECT_EQ(column(&dialog, "dbgEmpresas", 3)[names.indexOf("Alfa Industria")], "11.222.333/0001-81");
    EXPECT_EQ(column(&dialog, "dbgEmpresas", 3)[names.indexOf("Maria da Silva")], "123456789-09");
    EXPECT_EQ(column(&dialog, "dbgEmpresas", 1)[names.indexOf("Shenzhen Co")], "China");
    EXPECT_TRUE(child<QPushButton>(&dialog, "btnNova")->isVisible());
    dialog.setNovaVisivel(false);
    EXPECT_FALSE(child<QPushButton>(&dialog, "btnNova")->isVisible());
}

TEST_F(SelecionaEmpresaTest, TheKindRelabelsTheFilterFields) {
    EXPECT_TRUE(child<QRadioButton>(&dialog, "rbJuridica")->isChecked());
    EXPECT_EQ(text(&dialog, "lblCnpjCpf"), "CNPJ");
    EXPECT_EQ(text(&dialog, "lblNome"), "Nome Fantasia");
    EXPECT_TRUE(child<QLineEdit>(&dialog, "edtRazSocial")->isEnabled());
    fisica();
    EXPECT_EQ(text(&dialog, "lblCnpjCpf"), "CPF");
    EXPECT_EQ(text(&dialog, "lblNome"), "Nome Pessoa Física");
    EXPECT_FALSE(child<QLineEdit>(&dialog, "edtRazSocial")->isEnabled());
    type(&dialog, "edtCnpjCpf", "12345678909");
    EXPECT_EQ(child<QLineEdit>(&dialog, "edtCnpjCpf")->displayText(), "123456789-09");
    QTest::mouseClick(child<QRadioButton>(&dialog, "rbJuridica"), Qt::LeftButton);
    type(&dialog, "edtCnpjCpf", "11222333000181");
    EXPECT_EQ(child<QLineEdit>(&dialog, "edtCnpjCpf")->displayText(), "11.222.333/0001-81");
}

TEST_F(SelecionaEmpresaTest, FiltersAndThenEmptiesTheFields) {
    const struct {
        bool fisica;
        QString pais, documento, nome, razao;
        QStringList found;
    } cases[] = {
        {false, "", "", "", "", {"Alfa Filial", "Alfa Industria", "Gama Comercio", "Shenzhen Co"}},
        {false, "", "112223", "", "", {"Alfa Filial", "Alfa Industria"}}, // a CNPJ prefix
        {false, "", "11222333000181", "", "", {"Alfa Industria"}},
        {false, "China", "", "", "", {"Shenzhen Co"}},
        {false, "", "", "alf", "", {"Alfa Filial", "Alfa Industria"}}, // trade name anywhere
        {false, "Brasil", "", "", "comercio", {"Gama Comercio"}},
        {true, "", "", "", "", {"Maria da Silva"}},
        {true, "", "123", "", "", {"Maria da Silva"}},
        {true, "", "", "silva", "", {"Maria da Silva"}},
        {true, "China", "", "", "", {}},
    };
    for (const auto& c : cases) {
        QTest::mouseClick(child<QRadioButton>(&dialog, c.fisica ? "rbFisica" : "rbJuridica"), Qt::LeftButton);
        choose(&dialog, "cbxPais", c.pais);
        type(&dialog, "edtCnpjCpf", c.documento);
        type(&dialog, "edtNome", c.nome);
        if (!c.fisica)
            type(&dialog, "edtRazSocial", c.razao);
        click(&dialog, "btnFiltra");
        EXPECT_EQ(nomes(), c.found) << c.documento.toStdString() << c.nome.toStdString();
        EXPECT_EQ(text(&dialog, "lblQuant"), QString::number(c.found.size()));
        EXPECT_EQ(child<QComboBox>(&dialog, "cbxPais")->currentText(), "");
        EXPECT_EQ(FormataCNPJ(text(&dialog, "edtCnpjCpf"), false), "");
        EXPECT_EQ(text(&dialog, "edtNome"), "");
        EXPECT_EQ(text(&dialog, "edtRazSocial"), "");
    }
}

TEST_F(SelecionaEmpresaTest, ClickingATitleOrdersTheCurrentResult) {
    type(&dialog, "edtCnpjCpf", "1");
    click(&dialog, "btnFiltra");
    clickTitle(&dialog, "dbgEmpresas", 4);
    EXPECT_EQ(column(&dialog, "dbgEmpresas", 4), QStringList({"Alfa Filial", "Alfa Industria"}));
    clickTitle(&dialog, "dbgEmpresas", 5);
    EXPECT_EQ(column(&dialog, "dbgEmpresas", 5), QStringList({"Alfa", "Alfinha"}));
    click(&dialog, "btnFiltra"); // every legal person
    clickTitle(&dialog, "dbgEmpresas", 1);
    EXPECT_EQ(column(&dialog, "dbgEmpresas", 1).first(), "Brasil");
    EXPECT_EQ(column(&dialog, "dbgEmpresas", 1).last(), "China");
    clickTitle(&dialog, "dbgEmpresas", 3);
    EXPECT_EQ(column(&dialog, "dbgEmpresas", 4), QStringList({"Shenzhen Co", "Alfa Industria", "Alfa Filial",
                                                              "Gama Comercio"})); // NULL CGC first
}

TEST_F(SelecionaEmpresaTest, OkReturnsTheCompanyUnderTheCursor) {
    fisica();
    click(&dialog, "btnFiltra");
    click(&dialog, "btnOk");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    ASSERT_TRUE(dialog.escolhida().has_value());
    const EmpresaEscolhida e = *dialog.escolhida();
    EXPECT_EQ(e.CodigoPais, "BR");
    EXPECT_EQ(e.NomePais, "Brasil");
    EXPECT_EQ(e.IdEmpresa, "12345678909");
    EXPECT_EQ(e.TipoPessoa, "2");
    EXPECT_EQ(e.NomPessoaFisica, "Maria da Silva");
    EXPECT_EQ(e.documentoFormatado(), "123456789-09");
}

TEST_F(SelecionaEmpresaTest, OkWithoutARowStaysAndCancelReturnsNothing) {
    type(&dialog, "edtNome", "inexistente");
    click(&dialog, "btnFiltra");
    click(&dialog, "btnOk");
    EXPECT_TRUE(dialog.isVisible());
    click(&dialog, "btnCancela");
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(dialog.escolhida().has_value());
}

TEST_F(SelecionaEmpresaTest, NovaReturnsTheCompanyJustIncluded) {
    dialog.setInclusaoDeEmpresa([this]() -> std::optional<std::pair<QString, QString>> {
        empresa("AR", "Buenos Aires SA", "1", "", "Buenos Aires SA", "BASA", "", "");
        return std::make_pair(QString("AR"), QString("Buenos Aires SA"));
    });
    type(&dialog, "edtNome", "alfa");
    click(&dialog, "btnNova");
    EXPECT_EQ(column(&dialog, "dbgEmpresas", 4), QStringList({"Buenos Aires SA"}));
    EXPECT_EQ(text(&dialog, "edtNome"), "");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    ASSERT_TRUE(dialog.escolhida().has_value());
    EXPECT_EQ(dialog.escolhida()->CodigoPais, "AR");
    EXPECT_EQ(dialog.escolhida()->NomePais, "Argentina");
    EXPECT_EQ(dialog.escolhida()->IdEmpresa, "Buenos Aires SA");
}

TEST_F(SelecionaEmpresaTest, NovaNotConfirmedWarns) {
    dialog.setInclusaoDeEmpresa([]() -> std::optional<std::pair<QString, QString>> { return std::nullopt; });
    click(&dialog, "btnNova");
    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_EQ(prompts.shown().first().caption, "Aviso");
    EXPECT_EQ(prompts.shown().first().text, "Nenhum Empresa Nova Incluida");
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(text(&dialog, "lblQuant"), "5");
}

// Company details ----------------------------------------------------------------------------------

using SelecaoDetalhesEmpresaTest = SelectionFixture;

TEST_F(SelecaoDetalhesEmpresaTest, ShowsALegalPersonReadOnly) {
    TFrmDetalhesEmpresa dialog(session, "BR", "11222333000181");
    dialog.show();
    EXPECT_TRUE(dialog.encontrada());
    EXPECT_EQ(dialog.windowTitle(), "Detalhes da Empresa");
    const struct {
        const char* name;
        QString value;
    } fields[] = {
        {"lblCnpjCpf", "CNPJ"},
        {"edtCnpjCpf", "11.222.333/0001-81"},
        {"lblRazSocial", "Razão Social"},
        {"edtRazSocial", "Alfa Industria"},
        {"edtPais", "Brasil"},
        {"edtNomFantasia", "Alfa"},
        {"edtEndLogr", "Rua das Flores"},
        {"edtEndNum", "100"},
        {"edtEndBairro", "Centro"},
        {"edtEndCidade", "São Paulo"},
        {"edtUF", "São Paulo"},
        {"edtEndCEP", "01310-100"},
        {"edtTelefone", "11 5555-0000"},
        {"edtFax", "11 5555-0001"},
        {"edtEmail", "contato@exemplo.com.br"},
    };
    for (const auto& f : fields)
        EXPECT_EQ(text(&dialog, f.name), f.value) << f.name;
    for (QLineEdit* edit : dialog.findChildren<QLineEdit*>())
        EXPECT_TRUE(edit->isReadOnly()) << edit->objectName().toStdString();
    EXPECT_EQ(child<QGroupBox>(&dialog, "rgTipoPessoa")->title(), "Tipo de Pessoa");
    EXPECT_TRUE(child<QRadioButton>(&dialog, "rbJuridica")->isChecked());
    EXPECT_FALSE(child<QGroupBox>(&dialog, "rgTipoPessoa")->isEnabled());
    click(&dialog, "btnOk");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(SelecaoDetalhesEmpresaTest, ShowsANaturalPersonByCpfAndName) {
    TFrmDetalhesEmpresa dialog(session, "BR", "12345678909");
    EXPECT_EQ(text(&dialog, "lblCnpjCpf"), "CPF");
    EXPECT_EQ(text(&dialog, "edtCnpjCpf"), "123456789-09");
    EXPECT_EQ(text(&dialog, "lblRazSocial"), "Nome Pessoa Física");
    EXPECT_EQ(text(&dialog, "edtRazSocial"), "Maria da Silva");
    EXPECT_TRUE(child<QRadioButton>(&dialog, "rbFisica")->isChecked());
}

TEST_F(SelecaoDetalhesEmpresaTest, AnUnknownCompanyShowsEmptyFields) {
    TFrmDetalhesEmpresa dialog(session, "BR", "00000000000000");
    EXPECT_FALSE(dialog.encontrada());
    EXPECT_EQ(text(&dialog, "edtRazSocial"), "");
    EXPECT_TRUE(prompts.shown().isEmpty());
}

} // namespace
