#include "TFrmAlteraSenha.h"

#include "DialogParts.h"
#include "Prompts.h"
#include "UsuLocal.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

TFrmAlteraSenha::TFrmAlteraSenha(Session& session, QWidget* parent)
    : QDialog(parent), session_(session), edtUsuario_(new QLineEdit(this)),
      edtSenhaAtual_(DialogParts::passwordEdit(this, "edtSenhaAtual")),
      edtNovaSenha_(DialogParts::passwordEdit(this, "edtNovaSenha")),
      edtConfSenha_(DialogParts::passwordEdit(this, "edtConfSenha")) {
    setObjectName(QStringLiteral("TFrmAlteraSenha"));
    setWindowTitle(QStringLiteral("Altera Senha"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    edtUsuario_->setObjectName(QStringLiteral("edtUsuario"));
    edtUsuario_->setReadOnly(true);
    edtUsuario_->setText(session_.user().SiglaUsu);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Usuário"), edtUsuario_);
    form->addRow(QStringLiteral("Senha &Atual"), edtSenhaAtual_);
    form->addRow(QStringLiteral("&Nova Senha"), edtNovaSenha_);
    form->addRow(QStringLiteral("C&onfirma Senha"), edtConfSenha_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    const auto buttons = DialogParts::addOkCancel(this, layout, "BitBtn6", "BitBtn7");

    connect(buttons.ok, &QPushButton::clicked, this, &TFrmAlteraSenha::confirm);
    connect(buttons.cancel, &QPushButton::clicked, this, &QDialog::reject);
    edtSenhaAtual_->setFocus();
}

void TFrmAlteraSenha::confirm() {
    const QString sigla = edtUsuario_->text();
    const std::optional<Usuario> user =
        sigla.isEmpty() ? std::nullopt : UsuLocalTable::find(session_.database(), sigla);
    if (!user || !Senhas::confere(edtSenhaAtual_->text(), user->SenhaUsu)) {
        session_.prompts().error(QStringLiteral("A Senha atual não confere."));
        return;
    }
    const QString nova = edtNovaSenha_->text().trimmed();
    if (nova.isEmpty() || nova != edtConfSenha_->text().trimmed()) {
        session_.prompts().error(QStringLiteral("Senhas não conferem.  A alteração não foi feita."));
        return;
    }
    if (const QString problema = Senhas::problema(nova); !problema.isEmpty()) {
        session_.prompts().error(problema);
        return;
    }
    UsuLocalTable::setSenha(session_.database(), user->SiglaUsu, Senhas::embaralha(nova));
    accept();
}
