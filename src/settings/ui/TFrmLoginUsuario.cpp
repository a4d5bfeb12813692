#include "TFrmLoginUsuario.h"

#include "DialogParts.h"
#include "Prompts.h"
#include "UsuLocal.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

TFrmLoginUsuario::TFrmLoginUsuario(Session& session, QWidget* parent)
    : QDialog(parent), session_(session), edtLogin_(new QLineEdit(this)),
      edtSenha_(DialogParts::passwordEdit(this, "edtSenha")) {
    setObjectName(QStringLiteral("TFrmLoginUsuario"));
    setWindowTitle(QStringLiteral("Login de Usuário"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    edtLogin_->setObjectName(QStringLiteral("edtLogin"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Login"), edtLogin_);
    form->addRow(QStringLiteral("&Senha"), edtSenha_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    const auto buttons = DialogParts::addOkCancel(this, layout, "bbtOk", "bbtCancela");

    connect(buttons.ok, &QPushButton::clicked, this, &TFrmLoginUsuario::confirm);
    connect(buttons.cancel, &QPushButton::clicked, this, &TFrmLoginUsuario::cancel);
}

void TFrmLoginUsuario::confirm() {
    const QString login = edtLogin_->text().trimmed();
    const QString senha = edtSenha_->text().trimmed();
    if (login.isEmpty() || senha.isEmpty()) {
        session_.prompts().error(QStringLiteral("Entre com login e senha para acessar o sistema."));
        return;
    }
    const std::optional<Usuario> found = UsuLocalTable::find(session_.database(), login);
    // The same answer for an unknown name and a wrong password.
    if (!found || !Senhas::confere(senha, found->SenhaUsu)) {
        session_.prompts().error(QStringLiteral("Login e/ou senha inválidos.  Acesso negado ao sistema."));
        return;
    }
    user_ = {found->SiglaUsu, found->SiglaCertificador, found->permissions};
    outcome_ = Outcome::LoggedIn;
    accept();
}

void TFrmLoginUsuario::cancel() {
    outcome_ = Outcome::Cancelled;
    reject();
}
