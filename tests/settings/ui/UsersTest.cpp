#include "CadastroUsuariosPage.h"
#include "SettingsFixture.h"
#include "Sql.h"
#include "TFrmAlteraSenha.h"
#include "TFrmLoginUsuario.h"
#include "TFrmSenhaAdministrador.h"

#include <QCheckBox>
#include <QTableView>

namespace {
const QString Invalido = QStringLiteral("Login e/ou senha inválidos.  Acesso negado ao sistema.");
}

class LoginTest : public SettingsFixture {
protected:
    LoginTest() {
        configure(QStringLiteral("OCC1"));
        UsuLocalTable::setSenha(db(), QStringLiteral("admin"), Senhas::embaralha(QStringLiteral("adm1n")));
        addUser(QStringLiteral("maria"), QStringLiteral("m4ria"),
                Permissions{false, true, false, false, true, false, false});
    }

    TFrmLoginUsuario::Outcome login(const QString& name, const QString& password) {
        TFrmLoginUsuario dialog(session);
        type(&dialog, "edtLogin", name);
        type(&dialog, "edtSenha", password);
        click(&dialog, "bbtOk");
        lastUser = dialog.user();
        return dialog.outcome();
    }

    LoggedUser lastUser;
};

TEST_F(LoginTest, UsuarioDesconhecidoESenhaErradaDaoAMesmaMensagem) {
    EXPECT_EQ(login("admin", "errada"), TFrmLoginUsuario::Outcome::Closed);
    EXPECT_EQ(login("ninguem", "adm1n"), TFrmLoginUsuario::Outcome::Closed);
    EXPECT_EQ(login("admin", "ADM1N"), TFrmLoginUsuario::Outcome::Closed);
    ASSERT_EQ(prompts.shown().size(), 3);
    for (const auto& shown : prompts.shown()) {
        EXPECT_EQ(shown.kind, PromptKind::Error);
        EXPECT_EQ(shown.text, Invalido);
    }
}

TEST_F(LoginTest, CamposVaziosPedemLoginESenha) {
    EXPECT_EQ(login("", "adm1n"), TFrmLoginUsuario::Outcome::Closed);
    EXPECT_EQ(login("admin", "   "), TFrmLoginUsuario::Outcome::Closed);
    EXPECT_EQ(prompts.texts(),
              QStringList(2, QStringLiteral("Entre com login e senha para acessar o sistema.")));
}

TEST_F(LoginTest, BrancosEmVoltaSaoIgnoradosEOUsuarioLevaSuasPermissoes) {
    EXPECT_EQ(login("  maria ", " m4ria  "), TFrmLoginUsuario::Outcome::LoggedIn);
    EXPECT_TRUE(prompts.shown().isEmpty());
    EXPECT_EQ(lastUser.SiglaUsu, "maria");
    EXPECT_EQ(lastUser.SiglaCertificador, "OCC1");
    EXPECT_EQ(lastUser.permissions, (Permissions{false, true, false, false, true, false, false}));
    EXPECT_EQ(login("admin", "adm1n"), TFrmLoginUsuario::Outcome::LoggedIn);
    EXPECT_EQ(lastUser.permissions, Permissions::all());
}

// Login names are unique whatever their case, so the login finds them the same way; the user logs
// in under the name as it was registered, and the password still counts every character.
TEST_F(LoginTest, NomeDeLoginEmOutraCaixaEntraComONomeCadastrado) {
    EXPECT_EQ(login("MARIA", "m4ria"), TFrmLoginUsuario::Outcome::LoggedIn);
    EXPECT_EQ(lastUser.SiglaUsu, "maria");
    EXPECT_EQ(login("Admin", "adm1n"), TFrmLoginUsuario::Outcome::LoggedIn);
    EXPECT_EQ(lastUser.SiglaUsu, "admin");
    EXPECT_EQ(login("MARIA", "M4RIA"), TFrmLoginUsuario::Outcome::Closed);
    EXPECT_EQ(prompts.lastText(), Invalido);
}

TEST_F(LoginTest, SenhaLongaDemaisNaoEntraCortada) {
    addUser(QStringLiteral("jose"), QStringLiteral("123456789"));
    EXPECT_EQ(login("jose", "1234567890"), TFrmLoginUsuario::Outcome::Closed);
    EXPECT_EQ(prompts.lastText(), Invalido);
    EXPECT_EQ(login("jose", "123456789"), TFrmLoginUsuario::Outcome::LoggedIn);
}

TEST_F(LoginTest, CancelaEncerraEFecharNaoMudaNada) {
    TFrmLoginUsuario dialog(session);
    click(&dialog, "bbtCancela");
    EXPECT_EQ(dialog.outcome(), TFrmLoginUsuario::Outcome::Cancelled);
    TFrmLoginUsuario closed(session);
    closed.show();
    closed.close();
    EXPECT_EQ(closed.outcome(), TFrmLoginUsuario::Outcome::Closed);
}

class AlteraSenhaTest : public LoginTest {
protected:
    void change(const QString& atual, const QString& nova, const QString& confirma) {
        TFrmAlteraSenha dialog(session);
        EXPECT_EQ(child<QLineEdit>(&dialog, "edtUsuario")->text(), session.user().SiglaUsu);
        EXPECT_TRUE(child<QLineEdit>(&dialog, "edtUsuario")->isReadOnly());
        type(&dialog, "edtSenhaAtual", atual);
        type(&dialog, "edtNovaSenha", nova);
        type(&dialog, "edtConfSenha", confirma);
        click(&dialog, "BitBtn6");
    }
    QString storedMaria() { return UsuLocalTable::find(db(), "maria")->SenhaUsu; }
};

TEST_F(AlteraSenhaTest, SemUsuarioLogadoASenhaAtualNuncaConfere) {
    change("adm1n", "nova", "nova");
    change("", "nova", "nova");
    EXPECT_EQ(prompts.texts(), QStringList(2, QStringLiteral("A Senha atual não confere.")));
}

TEST_F(AlteraSenhaTest, TrocaComBrancosEmVoltaERegrasDeConferencia) {
    session.setUser({QStringLiteral("maria"), QStringLiteral("OCC1"), {}});
    const QString before = storedMaria();
    change("errada", "nova1", "nova1");
    EXPECT_EQ(prompts.lastText(), "A Senha atual não confere.");
    change("m4ria", "nova1", "nova2");
    EXPECT_EQ(prompts.lastText(), "Senhas não conferem.  A alteração não foi feita.");
    change("m4ria", "  ", "  ");
    EXPECT_EQ(prompts.lastText(), "Senhas não conferem.  A alteração não foi feita.");
    change("m4ria", "0123456789", "0123456789");
    EXPECT_EQ(prompts.lastText(), "A senha deve ter no máximo 9 caracteres.");
    EXPECT_EQ(storedMaria(), before);

    prompts.clear();
    change(" m4ria ", " nova1", "nova1 ");
    EXPECT_TRUE(prompts.shown().isEmpty()) << prompts.lastText().toStdString();
    EXPECT_TRUE(Senhas::confere("nova1", storedMaria()));
    EXPECT_EQ(login("maria", "nova1"), TFrmLoginUsuario::Outcome::LoggedIn);
}

TEST_F(SettingsFixture, PrimeiraSenhaDoAdministradorDigitadaDuasVezes) {
    EXPECT_TRUE(UsuLocalTable::administradorSemSenha(db()));
    TFrmSenhaAdministrador dialog(session);
    type(&dialog, "edtSenha", "abc");
    type(&dialog, "edtConfirma", "abd");
    click(&dialog, "bbtOk");
    EXPECT_EQ(prompts.lastText(), "As senhas fornecidas não conferem.");
    EXPECT_TRUE(UsuLocalTable::administradorSemSenha(db()));
    type(&dialog, "edtSenha", "öabc");
    type(&dialog, "edtConfirma", "öabc");
    click(&dialog, "bbtOk");
    EXPECT_TRUE(prompts.lastText().startsWith("Essa senha não pode ser usada"));
    EXPECT_TRUE(UsuLocalTable::administradorSemSenha(db()));
    type(&dialog, "edtSenha", " s3nha ");
    type(&dialog, "edtConfirma", "s3nha");
    click(&dialog, "bbtOk");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(UsuLocalTable::administradorSemSenha(db()));
    EXPECT_TRUE(Senhas::confere("s3nha", UsuLocalTable::find(db(), "admin")->SenhaUsu));
}

class CadastroUsuariosTest : public SettingsFixture {
protected:
    CadastroUsuariosTest() : page(session, dm) {
        page.open();
        page.show();
    }

    void selectUser(const QString& sigla) {
        auto* grid = child<QTableView>(&page, "dbgUsuario");
        for (int r = 0; r < grid->model()->rowCount(); ++r)
            if (grid->model()->index(r, 0).data().toString() == sigla)
                grid->selectRow(r);
    }

    QStringList gridRow(const QString& sigla) {
        auto* grid = child<QTableView>(&page, "dbgUsuario");
        for (int r = 0; r < grid->model()->rowCount(); ++r) {
            if (grid->model()->index(r, 0).data().toString() != sigla)
                continue;
            QStringList row;
            for (int c = 0; c < grid->model()->columnCount(); ++c)
                row << grid->model()->index(r, c).data().toString();
            return row;
        }
        return {};
    }

    void includeUser(const QString& sigla, const QString& nome, const QString& senha,
                     const QString& confirma) {
        click(&page, "bbtIncluir");
        type(&page, "dbeSigla", sigla);
        type(&page, "dbeNome", nome);
        type(&page, "edtSenha", senha);
        type(&page, "edtConfirma", confirma);
        click(&page, "bbtOK");
    }

    CadastroUsuariosPage page;
};

TEST_F(CadastroUsuariosTest, IncluirSemCertificadorConfiguradoERecusado) {
    click(&page, "bbtIncluir");
    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_EQ(prompts.shown()[0].text, "As configuraçãoes do Certificador não foram cadastradas.");
    EXPECT_EQ(prompts.shown()[0].caption, "Erro de Edição");
    EXPECT_EQ(page.state(), CadastroUsuariosPage::State::Browse);
}

TEST_F(CadastroUsuariosTest, NovoUsuarioSemNomeRecebeASiglaESuasPermissoes) {
    configure("OCC1");
    click(&page, "bbtIncluir");
    EXPECT_FALSE(child(&page, "dbgUsuario")->isEnabled());
    EXPECT_TRUE(child(&page, "grbDados")->isEnabled());
    type(&page, "dbeSigla", "joao");
    type(&page, "edtSenha", "j1");
    type(&page, "edtConfirma", "j1");
    child<QCheckBox>(&page, "dbcDir")->setChecked(true);
    child<QCheckBox>(&page, "dbcAprovaCert")->setChecked(true);
    click(&page, "bbtOK");
    EXPECT_TRUE(prompts.shown().isEmpty()) << prompts.lastText().toStdString();
    EXPECT_EQ(page.state(), CadastroUsuariosPage::State::Browse);
    const auto joao = UsuLocalTable::find(db(), "joao");
    ASSERT_TRUE(joao);
    EXPECT_EQ(joao->NomeUsu, "joao");
    EXPECT_EQ(joao->SiglaCertificador, "OCC1");
    EXPECT_TRUE(Senhas::confere("j1", joao->SenhaUsu));
    EXPECT_EQ(gridRow("joao"),
              (QStringList{"joao", "joao", "Não", "Sim", "Não", "Não", "Não", "Não", "Sim"}));
}

TEST_F(CadastroUsuariosTest, SenhasDiferentesOuSiglaVaziaFicamNaTela) {
    configure("OCC1");
    includeUser("", "Sem Sigla", "a", "a");
    EXPECT_EQ(prompts.lastText(),
              "O campo Sigla do Usuário não pode ser deixado em branco. Reveja as suas edições.");
    EXPECT_EQ(prompts.shown().last().caption, "Erro de Edição");
    EXPECT_EQ(page.state(), CadastroUsuariosPage::State::Insert);
    click(&page, "bbtCancela");
    includeUser("ana", "Ana", "abc", "abd");
    EXPECT_EQ(prompts.lastText(), "As senhas fornecidas não conferem.");
    EXPECT_EQ(page.state(), CadastroUsuariosPage::State::Insert);
    EXPECT_TRUE(child<QLineEdit>(&page, "edtSenha")->text().isEmpty());
    EXPECT_FALSE(UsuLocalTable::find(db(), "ana"));
}

TEST_F(CadastroUsuariosTest, SiglaRepetidaMantemALinhaAntiga) {
    configure("OCC1");
    addUser("maria", "m1", Permissions{true, false, false, false, false, false, false});
    page.open();
    const QStringList before = gridRow("maria");
    includeUser("maria", "Outra Maria", "x", "x");
    EXPECT_EQ(prompts.lastText(), "Esse usuário já está cadastrado.");
    EXPECT_EQ(page.state(), CadastroUsuariosPage::State::Browse);
    EXPECT_EQ(gridRow("maria"), before);
    EXPECT_TRUE(Senhas::confere("m1", UsuLocalTable::find(db(), "maria")->SenhaUsu));
    // The login looks names up alone, so another case of the same name is the same user.
    includeUser("MARIA", "Maria Maiúscula", "y", "y");
    EXPECT_EQ(prompts.lastText(), "Esse usuário já está cadastrado.");
    // No second row: the name, in any case, still finds the old one.
    const std::optional<Usuario> stored = UsuLocalTable::find(db(), "MARIA");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->SiglaUsu, "maria");
    EXPECT_EQ(gridRow("maria"), before);
    EXPECT_EQ(Sql::scalar(db(), "SELECT COUNT(*) FROM USU_LOCAL WHERE SiglaUsu = 'MARIA'").toInt(), 0);
}

TEST_F(CadastroUsuariosTest, AdministradorNaoSaiESoONomeMuda) {
    selectUser("admin");
    click(&page, "bbtExcluir");
    EXPECT_EQ(prompts.lastText(), "O Administrador não pode ser excluído.");
    EXPECT_EQ(prompts.shown().last().caption, "Erro de Exclusão");
    ASSERT_TRUE(UsuLocalTable::find(db(), "admin"));

    click(&page, "bbtEditar");
    EXPECT_FALSE(child(&page, "dbeSigla")->isEnabled());
    EXPECT_TRUE(child(&page, "dbeNome")->isEnabled());
    EXPECT_FALSE(child(&page, "dbcManBaseDados")->isEnabled());
    EXPECT_FALSE(child(&page, "edtSenha")->isEnabled());
    type(&page, "dbeNome", "Chefe");
    click(&page, "bbtOK");
    const auto admin = UsuLocalTable::find(db(), "admin");
    ASSERT_TRUE(admin);
    EXPECT_EQ(admin->NomeUsu, "Chefe");
    EXPECT_EQ(admin->permissions, Permissions::all());
}

TEST_F(CadastroUsuariosTest, ExcluirPerguntaAntes) {
    configure("OCC1");
    addUser("maria", "m1");
    page.open();
    selectUser("maria");
    prompts.planAnswer(PromptAnswer::No);
    click(&page, "bbtExcluir");
    EXPECT_EQ(prompts.shown().last().caption, "Exclusão de Usuários");
    EXPECT_EQ(prompts.lastText(), "Deseja excluir o usuário?");
    EXPECT_TRUE(UsuLocalTable::find(db(), "maria"));
    prompts.planAnswer(PromptAnswer::Yes);
    click(&page, "bbtExcluir");
    EXPECT_FALSE(UsuLocalTable::find(db(), "maria"));
    EXPECT_TRUE(gridRow("maria").isEmpty());
}

TEST_F(CadastroUsuariosTest, EditarOutroUsuarioMudaSiglaEPermissoes) {
    configure("OCC1");
    addUser("maria", "m1");
    page.open();
    selectUser("maria");
    click(&page, "bbtEditar");
    EXPECT_TRUE(child(&page, "dbeSigla")->isEnabled());
    type(&page, "dbeSigla", "mariana");
    child<QCheckBox>(&page, "dbcManBaseDados")->setChecked(true);
    click(&page, "bbtOK");
    EXPECT_FALSE(UsuLocalTable::find(db(), "maria"));
    const auto mariana = UsuLocalTable::find(db(), "mariana");
    ASSERT_TRUE(mariana);
    EXPECT_TRUE(mariana->permissions.AcManBase);
    EXPECT_TRUE(Senhas::confere("m1", mariana->SenhaUsu));
}
