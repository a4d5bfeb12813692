#include "TFrmInclEmpresa.h"

#include "TFrmSelecionaEmpresa.h"

#include "CamposEmpresa.h"
#include "Clock.h"
#include "DbError.h"
#include "Empresas.h"
#include "Prompts.h"
#include "Session.h"
#include "Transaction.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

TFrmInclEmpresa::TFrmInclEmpresa(Session& session, QWidget* parent) : QDialog(parent), session_(session) {
    setObjectName(QStringLiteral("TFrmInclEmpresa"));
    setWindowTitle(QStringLiteral("Inclusão de Empresa"));
    auto* layout = new QVBoxLayout(this);
    campos_ = new CamposEmpresa(this);
    layout->addWidget(campos_);
    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    auto* ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setObjectName(QStringLiteral("btnOk"));
    ok->setDefault(true);
    auto* cancela = new QPushButton(QStringLiteral("Cancela"), this);
    cancela->setObjectName(QStringLiteral("btnCancela"));
    botoes->addWidget(ok);
    botoes->addWidget(cancela);
    layout->addLayout(botoes);
    connect(ok, &QPushButton::clicked, this, &TFrmInclEmpresa::ok);
    connect(cancela, &QPushButton::clicked, this, &QDialog::reject);

    try {
        campos_->carregaListas(session_.database());
    } catch (const DbError& error) {
        session_.prompts().error(error.message());
    }
    campos_->editaNova();
}

void TFrmInclEmpresa::ok() {
    Prompts& prompts = session_.prompts();
    Empresa nova = campos_->empresa();
    const QSqlDatabase db = session_.database();
    try {
        if (!Empresas::valida(prompts, nova, campos_->brasil()))
            return;
        nova.DthUltAtualiz = session_.clock().now();
        nova.UsuResp = session_.user().SiglaUsu;
        // No duplicate query: the database's key tells a company that exists already.
        Transaction transaction(db);
        Empresas::insere(db, nova);
        transaction.commit();
    } catch (const DbError& error) {
        if (error.isKeyViolation() || error.message() == KeyViolationMessage)
            prompts.message(Empresas::CaptionChaveDuplicada, Empresas::EmpresaJaExisteInclusao);
        else
            prompts.message(Empresas::CaptionGravacao, Empresas::ErroGenerico);
        return;
    }
    incluida_ = std::make_pair(nova.CodigoPais, nova.IdEmpresa);
    accept();
}

std::optional<std::pair<QString, QString>> TFrmInclEmpresa::inclui(Session& session, QWidget* parent) {
    TFrmInclEmpresa dialog(session, parent);
    dialog.exec();
    return dialog.incluida();
}

std::optional<std::pair<QString, QString>> TFrmInclEmpresa::escolhe(Session& session, QWidget* parent,
                                                                    bool comInclusao) {
    TFrmSelecionaEmpresa dialog(session, parent);
    dialog.setNovaVisivel(comInclusao);
    if (comInclusao)
        dialog.setInclusaoDeEmpresa([&session, &dialog] { return inclui(session, &dialog); });
    dialog.exec();
    const std::optional<EmpresaEscolhida> chosen = dialog.escolhida();
    if (!chosen)
        return std::nullopt;
    return std::make_pair(chosen->CodigoPais, chosen->IdEmpresa);
}
