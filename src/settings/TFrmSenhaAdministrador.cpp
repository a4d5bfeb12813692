#include "TFrmSenhaAdministrador.h"

#include "Prompts.h"
#include "UsuLocal.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TFrmSenhaAdministrador::TFrmSenhaAdministrador(Session& session, QWidget* parent)
    : QDialog(parent), session_(session), edtSenha_(new QLineEdit(this)), edtConfirma_(new QLineEdit(this)) {
    setObjectName(QStringLiteral("TFrmSenhaAdministrador"));
    setWindowTitle(QStringLiteral("Senha do Administrador"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    auto* explanation = new QLabel(
        QStringLiteral("Primeiro uso do sistema: defina a senha do administrador (usuário \"admin\").\n"
                       "A senha deve ter de 1 a 9 caracteres."),
        this);
    edtSenha_->setObjectName(QStringLiteral("edtSenha"));
    edtSenha_->setEchoMode(QLineEdit::Password);
    edtConfirma_->setObjectName(QStringLiteral("edtConfirma"));
    edtConfirma_->setEchoMode(QLineEdit::Password);

    auto* ok = new QPushButton(QStringLiteral("&Ok"), this);
    ok->setObjectName(QStringLiteral("bbtOk"));
    ok->setDefault(true);
    auto* cancela = new QPushButton(QStringLiteral("&Cancela"), this);
    cancela->setObjectName(QStringLiteral("bbtCancela"));
    cancela->setAutoDefault(false);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Senha"), edtSenha_);
    form->addRow(QStringLiteral("&Confirma Senha"), edtConfirma_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancela);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(explanation);
    layout->addLayout(form);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, &TFrmSenhaAdministrador::confirm);
    connect(cancela, &QPushButton::clicked, this, &QDialog::reject);
}

void TFrmSenhaAdministrador::confirm() {
    const QString senha = edtSenha_->text().trimmed();
    if (senha.isEmpty() || senha != edtConfirma_->text().trimmed()) {
        session_.prompts().error(QStringLiteral("As senhas fornecidas não conferem."));
        edtSenha_->clear();
        edtConfirma_->clear();
        edtSenha_->setFocus();
        return;
    }
    if (const QString problema = Senhas::problema(senha); !problema.isEmpty()) {
        session_.prompts().error(problema);
        return;
    }
    UsuLocalTable::setSenha(session_.database(), UsuLocalTable::Administrador, Senhas::embaralha(senha));
    accept();
}
