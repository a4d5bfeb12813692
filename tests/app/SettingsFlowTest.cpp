// The road of a new installation through the main window: the administrator's first password,
// the login, the configuration pages, a new user, and the re-login as that user.

#include "ConfigLocal.h"
#include "SettingsFunctions.h"
#include "ShellFixture.h"
#include "UsuLocal.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

void type(QWidget* parent, const char* name, const QString& text) {
    auto* edit = parent->findChild<QLineEdit*>(QString::fromLatin1(name));
    ASSERT_NE(edit, nullptr) << name;
    edit->clear();
    QTest::keyClicks(edit, text);
}

void click(QWidget* parent, const char* name) {
    auto* button = parent->findChild<QAbstractButton*>(QString::fromLatin1(name));
    ASSERT_NE(button, nullptr) << name;
    QTest::mouseClick(button, Qt::LeftButton);
}

// Answers the next login dialog.
void loginAs(const QString& name, const QString& password) {
    onNextModal([=](QWidget* dialog) {
        ASSERT_NE(dialog, nullptr);
        ASSERT_EQ(dialog->objectName(), "TFrmLoginUsuario");
        type(dialog, "edtLogin", name);
        type(dialog, "edtSenha", password);
        click(dialog, "bbtOk");
    });
}

} // namespace

struct SettingsFlow : ShellFixture, ::testing::Test {
    SettingsFlow() {
        installSettingsFunctions(window, capaSistema);
        // The registry screen arrives with the registry; here it only has to be reachable.
        window.registerFunction(ShellFunction::ManBaseDados, [] {});
        window.show();
    }
    QString panel0() const { return window.findChild<QLabel*>("StatusBar1Panel0")->text(); }
};

TEST_F(SettingsFlow, NovaInstalacaoAteOLoginDeUmUsuarioSemManutencao) {
    onNextModal([](QWidget* dialog) {
        ASSERT_NE(dialog, nullptr);
        ASSERT_EQ(dialog->objectName(), "TFrmSenhaAdministrador");
        type(dialog, "edtSenha", "adm1n");
        type(dialog, "edtConfirma", "adm1n");
        loginAs("admin", "adm1n");
        click(dialog, "bbtOk");
    });
    window.runStartupCheck();
    EXPECT_TRUE(prompts.wasShown("Dados da Configuração de diretórios incompleta. Verifique"));
    ASSERT_EQ(session.user().SiglaUsu, "admin");
    EXPECT_TRUE(enabled("spbManBaseDados"));
    EXPECT_TRUE(enabled("mniCertificador"));

    // The certifier.
    click(&window, "spbCertificador");
    ASSERT_EQ(window.currentPage(), TFrmCapaSistema::PageId::ConfigCertificador);
    EXPECT_FALSE(enabled("spbDiretorios"));
    QWidget* page = window.page(TFrmCapaSistema::PageId::ConfigCertificador);
    type(page, "DbeSiglaCert", "occ1");
    type(page, "DBEdit2", "Organismo Um");
    prompts.planAnswer(PromptAnswer::Yes);
    click(page, "btnOK");
    EXPECT_EQ(window.currentPage(), TFrmCapaSistema::PageId::Principal);
    EXPECT_EQ(capaSistema.siglaCertificador(), "OCC1");
    EXPECT_EQ(panel0(), "USUÁRIO: admin  |  ORGANISMO: OCC1"); // at once, not at the next login
    EXPECT_TRUE(enabled("spbDiretorios"));

    // The directories.
    click(&window, "spbDiretorios");
    page = window.page(TFrmCapaSistema::PageId::ConfiguraDiretorios);
    for (const char* d : {"sinc", "transf", "aux"}) {
        QDir(home.path()).mkpath(d);
        prompts.planChoice(home.path() + d);
    }
    for (const char* browse : {"bbtBrowse2", "bbtBrowse3", "bbtBrowse4"})
        click(page, browse);
    click(page, "BitBtn10");
    EXPECT_EQ(window.currentPage(), TFrmCapaSistema::PageId::Principal);

    // A user without the registry.
    click(&window, "spbCadUsuarios");
    page = window.page(TFrmCapaSistema::PageId::CadastroUsuarios);
    click(page, "bbtIncluir");
    type(page, "dbeSigla", "maria");
    type(page, "dbeNome", "Maria");
    type(page, "edtSenha", "m4ria");
    type(page, "edtConfirma", "m4ria");
    page->findChild<QCheckBox*>("dbcDir")->setChecked(true);
    click(page, "bbtOK");
    click(page, "btnExit");
    EXPECT_EQ(window.currentPage(), TFrmCapaSistema::PageId::Principal);
    ASSERT_TRUE(UsuLocalTable::find(capaSistema.database(), "maria"));

    // Logged in again as that user: the registry is closed to her.
    loginAs("maria", " m4ria ");
    click(&window, "sbReentrar");
    EXPECT_EQ(session.user().SiglaUsu, "maria");
    EXPECT_EQ(panel0(), "USUÁRIO: maria  |  ORGANISMO: OCC1");
    EXPECT_FALSE(enabled("mniManBaseDados"));
    EXPECT_FALSE(enabled("spbManBaseDados"));
    EXPECT_TRUE(enabled("mniDiretorios"));
    EXPECT_FALSE(enabled("mniCertificador"));
    EXPECT_FALSE(enabled("mniCadUsuarios"));
    EXPECT_TRUE(enabled("spbAlteraSenha"));
    EXPECT_EQ(prompts.pendingAnswers(), 0);
}

TEST_F(SettingsFlow, CancelaNaPrimeiraSenhaEncerraSemLogin) {
    onNextModal([](QWidget* dialog) {
        ASSERT_NE(dialog, nullptr);
        click(dialog, "bbtCancela");
    });
    window.runStartupCheck();
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(session.user().isLoggedIn());
    EXPECT_TRUE(UsuLocalTable::administradorSemSenha(capaSistema.database()));
}

TEST_F(SettingsFlow, FecharOReloginMantemOUsuarioAnterior) {
    UsuLocalTable::setSenha(capaSistema.database(), "admin", Senhas::embaralha("adm1n"));
    loginAs("admin", "adm1n");
    window.runLogin();
    ASSERT_EQ(session.user().SiglaUsu, "admin");
    onNextModal([](QWidget* dialog) {
        ASSERT_NE(dialog, nullptr);
        dialog->close();
    });
    click(&window, "sbReentrar");
    EXPECT_EQ(session.user().SiglaUsu, "admin");
    EXPECT_TRUE(enabled("spbManBaseDados"));
    // "Cancela" in the login ends the program.
    onNextModal([](QWidget* dialog) {
        ASSERT_NE(dialog, nullptr);
        click(dialog, "bbtCancela");
    });
    click(&window, "sbReentrar");
    EXPECT_FALSE(window.isVisible());
}

TEST_F(SettingsFlow, LoginFechadoSemUsuarioAbreSoOQueEComum) {
    UsuLocalTable::setSenha(capaSistema.database(), "admin", Senhas::embaralha("adm1n"));
    onNextModal([](QWidget* dialog) {
        ASSERT_NE(dialog, nullptr);
        dialog->close();
    });
    window.runLogin();
    EXPECT_FALSE(session.user().isLoggedIn());
    EXPECT_TRUE(enabled("spbAlteraSenha"));
    EXPECT_TRUE(enabled("mnuConfiguracoes"));
    EXPECT_FALSE(enabled("spbManBaseDados"));
    EXPECT_FALSE(enabled("mniCertificador"));
    // The password change shows no user and refuses every attempt.
    onNextModal([](QWidget* dialog) {
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->findChild<QLineEdit*>("edtUsuario")->text(), "");
        type(dialog, "edtSenhaAtual", "adm1n");
        type(dialog, "edtNovaSenha", "x");
        type(dialog, "edtConfSenha", "x");
        click(dialog, "BitBtn6");
        dialog->close();
    });
    click(&window, "spbAlteraSenha");
    EXPECT_EQ(prompts.lastText(), "A Senha atual não confere.");
}

// A changed acronym reaches the status bar as soon as it is saved; a cancelled edit changes nothing.
TEST_F(SettingsFlow, SiglaSalvaAtualizaOOrganismoDaBarraDeStatus) {
    ConfigLocal row;
    row.SiglaCertificador = "OCC1";
    capaSistema.salvaConfiguracao(row);
    UsuLocalTable::setSenha(capaSistema.database(), "admin", Senhas::embaralha("adm1n"));
    loginAs("ADMIN", "adm1n");
    window.runLogin();
    ASSERT_EQ(panel0(), "USUÁRIO: admin  |  ORGANISMO: OCC1");

    click(&window, "spbCertificador");
    QWidget* page = window.page(TFrmCapaSistema::PageId::ConfigCertificador);
    type(page, "DbeSiglaCert", "occ2");
    click(page, "btnCancel");
    EXPECT_EQ(panel0(), "USUÁRIO: admin  |  ORGANISMO: OCC1");

    click(&window, "spbCertificador");
    type(page, "DbeSiglaCert", "occ2");
    prompts.planAnswer(PromptAnswer::Yes);
    click(page, "btnOK");
    EXPECT_EQ(panel0(), "USUÁRIO: admin  |  ORGANISMO: OCC2");
    EXPECT_EQ(session.user().SiglaCertificador, "OCC2");
    EXPECT_EQ(prompts.pendingAnswers(), 0);
}
