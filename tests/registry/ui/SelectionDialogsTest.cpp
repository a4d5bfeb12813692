#include "SelectionFixture.h"
#include "TFrmSelecionaCertificado.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QRadioButton>

namespace {

const int Numero = 1, ClasseCertif = 2, Emissao = 4, Validade = 5;

class SelecionaCertificadoTest : public SelectionFixture {
protected:
    SelecionaCertificadoTest() : dialog(session) { dialog.show(); }

    QStringList numeros() { return column(&dialog, "dbgCertificados", Numero); }
    QStringList numerosOrdenados() {
        QStringList n = numeros();
        n.sort();
        return n;
    }
    void filtra() { click(&dialog, "btnFiltra"); }

    // Picks a company in the nested company search by a CNPJ prefix.
    void selecionaEmpresa(const QString& cnpjPrefix) {
        onNextModal([cnpjPrefix](QWidget* search) {
            ASSERT_NE(search, nullptr);
            EXPECT_EQ(search->windowTitle(), "Seleciona Empresa");
            EXPECT_FALSE(child<QPushButton>(search, "btnNova")->isVisible());
            type(search, "edtCnpjCpf", cnpjPrefix);
            click(search, "btnFiltra");
            click(search, "btnOk");
        });
        click(&dialog, "btnSelecionaEmpresa");
    }

    // Picks a product in the nested product dialog by brand and model.
    void selecionaProduto(const QString& marca, const QString& modelo) {
        onNextModal([marca, modelo](QWidget* products) {
            ASSERT_NE(products, nullptr);
            EXPECT_EQ(products->windowTitle(), "Seleciona Produto");
            EXPECT_FALSE(child<QPushButton>(products, "btnNovo")->isVisible());
            type(products, "edtMarca", marca);
            type(products, "edtModelo", modelo);
            click(products, "btnFiltra");
            click(products, "btnOk");
        });
        click(&dialog, "btnSelecionaProduto");
    }

    TFrmSelecionaCertificado dialog;
};

TEST_F(SelecionaCertificadoTest, OffersOnlyTheAccreditedClasses) {
    auto entries = [this](const char* name) {
        auto* box = child<QComboBox>(&dialog, name);
        QStringList list;
        for (int i = 0; i < box->count(); ++i)
            list << box->itemText(i) + "=" + box->itemData(i).toString();
        return list;
    };
    // COMP and VOL through product classes, SERV through a service class; names in byte order.
    EXPECT_EQ(entries("cbxClasseCertif"),
              QStringList({"=", "Certificação Compulsória=COMP", "Certificação Voluntária=VOL",
                           "Certificação de Serviços=SERV"}));
    // 120 "Refrigeradores" exists but is not accredited.
    EXPECT_EQ(entries("cbxClasseProd"),
              QStringList({"=", "Aparelhos de ar condicionado=110", "Brinquedos=200"}));
    EXPECT_EQ(entries("cbxClasseServ"), QStringList({"=", "Inspeção técnica e manutenção de extintores=10"}));
}

TEST_F(SelecionaCertificadoTest, OpensEmptyWithClearedFilters) {
    EXPECT_EQ(dialog.windowTitle(), "Seleciona Certificado");
    EXPECT_EQ(text(&dialog, "lblQuant"), "0");
    EXPECT_EQ(child<QTableView>(&dialog, "dbgCertificados")->model()->rowCount(), 0);
    EXPECT_FALSE(child<QPushButton>(&dialog, "btnDetalheEmpresa")->isEnabled());
    EXPECT_EQ(child<QComboBox>(&dialog, "cbxImportado")->currentText(), "(Todos)");
    EXPECT_EQ(child<QPushButton>(&dialog, "BitBtn86")->text(), "Ok");
    EXPECT_EQ(child<QPushButton>(&dialog, "BitBtn87")->text(), "Cancela");
}

TEST_F(SelecionaCertificadoTest, NoFilterListsEveryCertificateWithKnownClassesByAcronym) {
    filtra();
    EXPECT_EQ(titles(&dialog, "dbgCertificados"),
              QStringList({"Número", "Classe do Certificado", "Classe de Produtos", "Emissão", "Validade"}));
    // "SEMCLASSE" has a class the reference tables lack: it is listed all the same, so it can be
    // opened, repaired or deleted; "lab-7" has a class that exists though not accredited.
    EXPECT_EQ(numerosOrdenados(), QStringList({"AAA-9", "ABC'1", "CERT-001", "CERT-002", "CERT-003",
                                               "SEMCLASSE", "XYZ-100", "lab-7"}));
    EXPECT_EQ(numeros().first(), "AAA-9"); // acronym "AAA" sorts before "OCC1"
    EXPECT_EQ(text(&dialog, "lblQuant"), "8");
    EXPECT_EQ(child<QTableView>(&dialog, "dbgCertificados")
                  ->model()
                  ->index(numeros().indexOf("SEMCLASSE"), ClasseCertif)
                  .data()
                  .toString(),
              "");

    const int row = numeros().indexOf("CERT-001");
    auto* model = child<QTableView>(&dialog, "dbgCertificados")->model();
    EXPECT_EQ(model->index(row, ClasseCertif).data().toString(), "Certificação Voluntária");
    EXPECT_EQ(model->index(row, Emissao).data().toString(), "10/01/2020");
    EXPECT_EQ(model->index(row, Validade).data().toString(), "10/01/2025");
}

TEST_F(SelecionaCertificadoTest, NumberMatchesAnywhereIgnoringCase) {
    const struct {
        QString typed;
        QStringList found;
    } cases[] = {
        {"cert", {"CERT-001", "CERT-002", "CERT-003"}},
        {"00", {"CERT-001", "CERT-002", "CERT-003", "XYZ-100"}},
        {"-7", {"lab-7"}}, // stored in lower case, typed in upper case
        {"abc'1", {"ABC'1"}},
        {"'", {"ABC'1"}},
        {"NADA", {}},
    };
    for (const auto& c : cases) {
        type(&dialog, "edtNumCertif", c.typed);
        EXPECT_EQ(text(&dialog, "edtNumCertif"), c.typed.toUpper());
        filtra();
        EXPECT_EQ(numerosOrdenados(), c.found) << c.typed.toStdString();
        EXPECT_EQ(text(&dialog, "lblQuant"), QString::number(c.found.size()));
    }
}

TEST_F(SelecionaCertificadoTest, ClassFiltersNarrowTheList) {
    choose(&dialog, "cbxClasseCertif", "Certificação Compulsória");
    filtra();
    EXPECT_EQ(numerosOrdenados(), QStringList({"AAA-9", "ABC'1", "CERT-002", "XYZ-100", "lab-7"}));

    choose(&dialog, "cbxClasseProd", "Brinquedos");
    filtra();
    EXPECT_EQ(numerosOrdenados(), QStringList({"ABC'1", "XYZ-100"}));

    click(&dialog, "btnLimpaFiltro");
    choose(&dialog, "cbxClasseServ", "Inspeção técnica e manutenção de extintores");
    filtra();
    EXPECT_EQ(numerosOrdenados(), QStringList({"CERT-003"}));
}

TEST_F(SelecionaCertificadoTest, CompanyChosenInTheSearchNarrowsTheList) {
    selecionaEmpresa("11222333000181");
    EXPECT_EQ(text(&dialog, "edtPais"), "Brasil");
    EXPECT_EQ(text(&dialog, "edtCnpjCpf"), "11.222.333/0001-81");
    EXPECT_EQ(text(&dialog, "edtNomFantasia"), "Alfa");
    EXPECT_EQ(text(&dialog, "edtRazSocial"), "Alfa Industria");
    EXPECT_TRUE(child<QPushButton>(&dialog, "btnDetalheEmpresa")->isEnabled());

    filtra();
    EXPECT_EQ(numerosOrdenados(), QStringList({"CERT-001", "CERT-003"}));

    // The details of the remembered company.
    QString shownName, shownCaption;
    onNextModal([&](QWidget* details) {
        ASSERT_NE(details, nullptr);
        shownCaption = details->windowTitle();
        shownName = text(details, "edtRazSocial");
        click(details, "btnOk");
    });
    click(&dialog, "btnDetalheEmpresa");
    EXPECT_EQ(shownCaption, "Detalhes da Empresa");
    EXPECT_EQ(shownName, "Alfa Industria");
}

TEST_F(SelecionaCertificadoTest, NaturalPersonIsShownByNameAndCpf) {
    onNextModal([](QWidget* search) {
        ASSERT_NE(search, nullptr);
        QTest::mouseClick(child<QRadioButton>(search, "rbFisica"), Qt::LeftButton);
        click(search, "btnFiltra");
        click(search, "btnOk");
    });
    click(&dialog, "btnSelecionaEmpresa");
    EXPECT_EQ(text(&dialog, "edtCnpjCpf"), "123456789-09");
    EXPECT_EQ(text(&dialog, "edtRazSocial"), "Maria da Silva");
    filtra();
    EXPECT_EQ(numerosOrdenados(), QStringList({"CERT-001", "CERT-002"}));
}

TEST_F(SelecionaCertificadoTest, ProductFilterFindsEveryKindOfLineAndIgnoresTheImportedList) {
    choose(&dialog, "cbxImportado", "Sim");
    selecionaProduto("d'agua", "");
    EXPECT_EQ(text(&dialog, "edtMarca"), "Marca D'Agua");
    EXPECT_EQ(text(&dialog, "edtModelo"), "M1");
    EXPECT_EQ(text(&dialog, "edtEANUPC"), "7890000000001");
    EXPECT_FALSE(child<QComboBox>(&dialog, "cbxImportado")->isEnabled());
    filtra();
    // A national lot line, found although "Sim" is still chosen.
    EXPECT_EQ(numerosOrdenados(), QStringList({"XYZ-100"}));

    selecionaProduto("ACME", "X1");
    filtra();
    EXPECT_EQ(numerosOrdenados(), QStringList({"ABC'1", "CERT-001"}));

    selecionaProduto("acme", "y2"); // a unit line
    filtra();
    EXPECT_EQ(numerosOrdenados(), QStringList({"CERT-002"}));
}

TEST_F(SelecionaCertificadoTest, ImportedListFindsCertificatesByTheirLines) {
    const struct {
        QString choice;
        QStringList found;
    } cases[] = {
        // National type (CERT-003), unit (CERT-002) and lot (XYZ-100) lines.
        {"Não", {"CERT-002", "CERT-003", "XYZ-100"}},
        {"Sim", {"ABC'1", "CERT-001"}},
        {"(Todos)", {"AAA-9", "ABC'1", "CERT-001", "CERT-002", "CERT-003", "SEMCLASSE", "XYZ-100", "lab-7"}},
    };
    for (const auto& c : cases) {
        choose(&dialog, "cbxImportado", c.choice);
        filtra();
        EXPECT_EQ(numerosOrdenados(), c.found) << c.choice.toStdString();
    }
}

TEST_F(SelecionaCertificadoTest, ClickingATitleOrdersAndKeepsTheFilters) {
    type(&dialog, "edtNumCertif", "CERT");
    filtra();
    clickTitle(&dialog, "dbgCertificados", ClasseCertif);
    // "Compulsória" < "Voluntária" < "de Serviços"
    EXPECT_EQ(numeros(), QStringList({"CERT-002", "CERT-001", "CERT-003"}));
    EXPECT_EQ(text(&dialog, "lblQuant"), "3");

    clickTitle(&dialog, "dbgCertificados", Validade);
    EXPECT_EQ(numeros(), QStringList({"CERT-001", "CERT-002", "CERT-003"}));

    clickTitle(&dialog, "dbgCertificados", Numero);
    EXPECT_EQ(numeros(), QStringList({"CERT-001", "CERT-002", "CERT-003"}));

    choose(&dialog, "cbxImportado", "Não"); // not applied until "Filtra Certificado"
    clickTitle(&dialog, "dbgCertificados", Emissao);
    EXPECT_EQ(numeros(), QStringList({"CERT-001", "CERT-002", "CERT-003"}));
}

TEST_F(SelecionaCertificadoTest, ADatabaseErrorIsShownAndLeavesAnEmptyList) {
    filtra();
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr); // the hourglass is gone again
    Sql::execute(db, "DROP TABLE UNIDADE");
    choose(&dialog, "cbxImportado", "Não");
    filtra();
    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_EQ(prompts.shown().first().kind, PromptKind::Error);
    EXPECT_TRUE(prompts.shown().first().text.contains("unidade", Qt::CaseInsensitive));
    EXPECT_EQ(text(&dialog, "lblQuant"), "0");
    EXPECT_EQ(child<QTableView>(&dialog, "dbgCertificados")->model()->rowCount(), 0);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    click(&dialog, "BitBtn86");
    EXPECT_FALSE(dialog.escolhido().has_value());
}

TEST_F(SelecionaCertificadoTest, OkReturnsTheCertificateUnderTheCursor) {
    type(&dialog, "edtNumCertif", "CERT");
    filtra();
    clickRow(&dialog, "dbgCertificados", 1, Numero);
    click(&dialog, "BitBtn86");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    ASSERT_TRUE(dialog.escolhido().has_value());
    EXPECT_EQ(dialog.escolhido()->SiglaCertificador, "OCC1");
    EXPECT_EQ(dialog.escolhido()->NumCertif, "CERT-002");
}

TEST_F(SelecionaCertificadoTest, NothingIsChosenOnCancelOrFromAnEmptyList) {
    click(&dialog, "BitBtn86"); // the list was never filled
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.escolhido().has_value());

    dialog.show();
    filtra();
    click(&dialog, "BitBtn87");
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(dialog.escolhido().has_value());

    dialog.show();
    type(&dialog, "edtNumCertif", "NADA");
    filtra();
    click(&dialog, "BitBtn86");
    EXPECT_FALSE(dialog.escolhido().has_value());
}

TEST_F(SelecionaCertificadoTest, ClearingResetsEveryFilter) {
    type(&dialog, "edtNumCertif", "CERT");
    choose(&dialog, "cbxClasseCertif", "Certificação Voluntária");
    choose(&dialog, "cbxClasseServ", "Inspeção técnica e manutenção de extintores");
    selecionaEmpresa("11222333000181");
    selecionaProduto("Beta", "Z");
    filtra();
    EXPECT_EQ(text(&dialog, "lblQuant"), "0");
    choose(&dialog, "cbxClasseCertif", "Certificação de Serviços");
    filtra();
    EXPECT_EQ(numeros(), QStringList({"CERT-003"}));

    click(&dialog, "btnLimpaFiltro");
    EXPECT_EQ(text(&dialog, "lblQuant"), "0");
    EXPECT_EQ(child<QTableView>(&dialog, "dbgCertificados")->model()->rowCount(), 0);
    for (const char* edit : {"edtNumCertif", "edtPais", "edtCnpjCpf", "edtNomFantasia", "edtRazSocial",
                             "edtMarca", "edtModelo", "edtEANUPC"})
        EXPECT_EQ(text(&dialog, edit), "") << edit;
    for (const char* combo : {"cbxClasseCertif", "cbxClasseProd", "cbxClasseServ", "cbxImportado"})
        EXPECT_EQ(child<QComboBox>(&dialog, combo)->currentIndex(), 0) << combo;
    EXPECT_TRUE(child<QComboBox>(&dialog, "cbxImportado")->isEnabled());
    EXPECT_FALSE(child<QPushButton>(&dialog, "btnDetalheEmpresa")->isEnabled());

    // The company and product are forgotten too.
    filtra();
    EXPECT_EQ(text(&dialog, "lblQuant"), "8");
}

} // namespace
