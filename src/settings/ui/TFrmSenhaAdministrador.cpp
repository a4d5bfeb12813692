#include "TFrmSenhaAdministrador.h"

#include "DialogParts.h"
#include "Prompts.h"
#include "UsuLocal.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TFrmSenhaAdministrador::TFrmSenhaAdministrador(Session& session, QWidget* parent)
    : QDialog(parent), session_(session), edtSenha_(DialogParts::passwordEdit(this, "edtSenha")),
      edtConfirma_(DialogParts::passwordEdit(this, "edtConfirma")) {
    setObjectName(QStringLiteral("TFrmSenhaAdministrador"));
    setWindowTitle(QStringLiteral("Senha do Administrador"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    auto* explanation = new QLabel(
        QStringLiteral("Primeiro uso do sistema: defina a senha do administrador (usuário \"admin\").\n"
                       "A senha deve ter de 1 a 9 caracteres."),
        this);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Senha"), edtSenha_);
    form->addRow(QStringLiteral("&Confirma Senha"), edtConfirma_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(explanation);
    layout->addLayout(form);
    const auto buttons = DialogParts::addOkCancel(this, layout, "bbtOk", "bbtCancela");

    connect(buttons.ok, &QPushButton::clicked, this, &TFrmSenhaAdministrador::confirm);
    connect(buttons.cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TFrmSenhaAdministrador::confirm() {
    if (const QString problem = DialogParts::checkNewPassword(edtSenha_, edtConfirma_); !problem.isEmpty()) {
        session_.prompts().error(problem);
        return;
    }
    UsuLocalTable::setSenha(session_.database(), UsuLocalTable::Administrador,
                            Senhas::embaralha(edtSenha_->text()));
    accept();
}
