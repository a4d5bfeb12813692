#include "ServicesFixture.h"

#include "Signatarios.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

class SignatariosTest : public ServicesFixture {
protected:
    void openPanel() {
        form = std::make_unique<TFormPrincipal>(*dm);
        instalaServicos(*form);
        form->show();
        form->MostraPainel("Signatarios");
        ASSERT_EQ(form->painelAtual(), "Signatarios");
    }

    QWidget* panel() const { return form->painel("Signatarios"); }

    QTableView* grid() { return panel()->findChild<QTableView*>("DBGridSignatarios"); }

    // The names as listed, the default marked with "*".
    QStringList listed() {
        QStringList names;
        for (int r = 0; r < grid()->model()->rowCount(); ++r)
            names << grid()->model()->index(r, 0).data().toString() +
                         (grid()->model()->index(r, 1).data().toString() == "S" ? "*" : "");
        return names;
    }

    void selectListed(const QString& name) {
        for (int r = 0; r < grid()->model()->rowCount(); ++r)
            if (grid()->model()->index(r, 0).data().toString() == name) {
                grid()->setCurrentIndex(grid()->model()->index(r, 0));
                return;
            }
        ADD_FAILURE() << "not listed: " << name.toStdString();
    }

    void setDefault(bool sim) {
        QTest::mouseClick(panel()->findChild<QRadioButton*>(sim ? "rbDefaultSim" : "rbDefaultNao"),
                          Qt::LeftButton);
    }

    void include(const QString& name, bool padrao) {
        clickOn(panel(), "btnIncluiSignatario");
        ASSERT_TRUE(typeInto(panel(), "edtSignatario", name));
        if (padrao)
            setDefault(true);
        clickOn(panel(), "btnAplicaSignatario");
    }

    int defaults() { return count("SELECT Count(*) FROM SIGNATARIOS WHERE Default_s = 'S'"); }

    bool editing() { return panel()->findChild<QPushButton*>("btnAplicaSignatario")->isEnabled(); }
};

TEST_F(SignatariosTest, OnlyOneSignatoryIsEverTheDefaultAndItIsListedFirst) {
    openPanel();
    include("  Ana Souza  ", false);
    include("Bruno Lima", true);
    ASSERT_TRUE(prompts.shown().isEmpty()) << prompts.lastText().toStdString();
    EXPECT_EQ(listed(), QStringList({"Bruno Lima*", "Ana Souza"}));
    EXPECT_EQ(value("SELECT SiglaCertificador FROM SIGNATARIOS WHERE Signatario = 'Ana Souza'").toString(),
              "OCC1");

    include("Carlos Dias", true);
    EXPECT_EQ(defaults(), 1);
    EXPECT_EQ(listed(), QStringList({"Carlos Dias*", "Ana Souza", "Bruno Lima"}));

    // "&Editar" shows the row; making it the default takes the mark from the other.
    selectListed("Ana Souza");
    clickOn(panel(), "btnEditaSignatario");
    EXPECT_EQ(panel()->findChild<QLineEdit*>("edtSignatario")->text(), "Ana Souza");
    EXPECT_TRUE(panel()->findChild<QRadioButton*>("rbDefaultNao")->isChecked());
    ASSERT_TRUE(typeInto(panel(), "edtSignatario", "Ana Souza Reis"));
    setDefault(true);
    clickOn(panel(), "btnAplicaSignatario");
    EXPECT_EQ(defaults(), 1);
    EXPECT_EQ(listed(), QStringList({"Ana Souza Reis*", "Bruno Lima", "Carlos Dias"}));
    EXPECT_FALSE(editing());
    EXPECT_TRUE(panel()->findChild<QLineEdit*>("edtSignatario")->text().isEmpty());
}

TEST_F(SignatariosTest, AFailedSaveKeepsTheOldDefaultAndSaysSo) {
    openPanel();
    include("Ana Souza", true);
    ASSERT_SQL(db, "CREATE TRIGGER falha BEFORE INSERT ON SIGNATARIOS WHEN NEW.Signatario = 'Bruno Lima' "
                   "BEGIN SELECT RAISE(ABORT, 'disco cheio'); END");
    include("Bruno Lima", true);

    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_EQ(prompts.shown().last().caption, "Erro de gravação");
    EXPECT_EQ(prompts.lastText(),
              "Erro genérico de gravação no Banco de Dados !!! As alterações não foram efetuadas.");
    // The old default was cleared and the insert failed: both were rolled back.
    EXPECT_EQ(value("SELECT Default_s FROM SIGNATARIOS WHERE Signatario = 'Ana Souza'").toString(), "S");
    EXPECT_EQ(count("SELECT Count(*) FROM SIGNATARIOS"), 1);
    EXPECT_TRUE(editing()) << "the panel stays in edit mode";
}

TEST_F(SignatariosTest, InclusionNeedsTheCertifierConfiguredAndAName) {
    Sql::execute(db, "UPDATE CONFIG_LOCAL SET SiglaCertificador = ''");
    openPanel();
    clickOn(panel(), "btnIncluiSignatario");
    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_EQ(prompts.shown().last().caption, "Erro de Edição");
    EXPECT_EQ(prompts.lastText(), "As configuraçãoes do Certificador não foram cadastradas.");
    EXPECT_FALSE(editing());

    Sql::execute(db, "UPDATE CONFIG_LOCAL SET SiglaCertificador = 'OCC1'");
    prompts.clear();
    include("   ", false);
    EXPECT_EQ(prompts.shown().last().caption, "Campos em branco");
    EXPECT_EQ(count("SELECT Count(*) FROM SIGNATARIOS"), 0);
    EXPECT_TRUE(editing());
    clickOn(panel(), "btnCancelaSignatario");
    EXPECT_FALSE(editing());
    EXPECT_FALSE(panel()->findChild<QRadioButton*>("rbDefaultSim")->isChecked());
    EXPECT_FALSE(panel()->findChild<QRadioButton*>("rbDefaultNao")->isChecked());
}

TEST_F(SignatariosTest, DeletingOnAplicarLeavesCertificatesText) {
    insertCertificate();
    Sql::execute(db, "UPDATE CERTIFIC SET Signatarios = 'Ana Souza'");
    openPanel();
    include("Ana Souza", true);
    include("Bruno Lima", false);

    selectListed("Ana Souza");
    clickOn(panel(), "btnExcluiSignatario");
    EXPECT_EQ(count("SELECT Count(*) FROM SIGNATARIOS"), 2) << "nothing happens before Aplicar";
    clickOn(panel(), "btnAplicaSignatario");
    EXPECT_EQ(listed(), QStringList({"Bruno Lima"}));
    EXPECT_EQ(value("SELECT Signatarios FROM CERTIFIC").toString(), "Ana Souza");
}

TEST_F(SignatariosTest, TheNewCertificateProposesTheDefaultSignatoryFirst) {
    openPanel();
    include("Ana Souza", false);
    include("Bruno Lima", true);
    include("Carlos Dias", false);
    clickOn(panel(), "btnSaidaSignatario");
    EXPECT_EQ(form->painelAtual(), "Principal");

    form->novoCertificado();
    auto* combo = form->painel("NovoCertificado")->findChild<QComboBox*>("DBComboBox1");
    ASSERT_NE(combo, nullptr);
    ASSERT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->itemText(0), "Bruno Lima");
    EXPECT_EQ(combo->currentText(), "Bruno Lima");
    EXPECT_EQ(dm->registro().Signatarios, "Bruno Lima");
}

TEST_F(SignatariosTest, TheMenuEntryOpensThePanel) {
    openPanel();
    form->MostraPainel("Principal");
    auto* action = form->findChild<QAction*>("Signatario1");
    ASSERT_NE(action, nullptr);
    EXPECT_TRUE(action->isEnabled());
    action->trigger();
    EXPECT_EQ(form->painelAtual(), "Signatarios");
}

} // namespace
