#include "GrupoStatus.h"
#include "Widgets.h"

#include "Certificados.h"
#include "DbError.h"
#include "Prompts.h"
#include "Session.h"
#include "TDMCertif.h"
#include "TFrmAlteraStatusEmpresa.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

GrupoStatus::GrupoStatus(TDMCertif& dm, ItemStatus item, const Nomes& nomes, QWidget* parent)
    : QGroupBox(itemStatusInfo(item).tituloGrupo, parent), dm_(dm), item_(item), mudanca_(dm) {
    setObjectName(nomes.grupo);
    const ItemStatusInfo& info = itemStatusInfo(item);
    auto* layout = new QHBoxLayout(this);
    descricao_ = new QLabel(this);
    descricao_->setObjectName(nomes.descricao);
    descricao_->setAccessibleName(info.tituloGrupo);
    data_ = new QLabel(this);
    data_->setObjectName(nomes.data);
    data_->setAccessibleName(QStringLiteral("Data do Status"));
    layout->addWidget(descricao_);
    layout->addWidget(data_);
    layout->addStretch();
    suspende_ = Widgets::botao(this, info.botaoSuspende, QStringLiteral("Suspender"), layout);
    ativa_ = Widgets::botao(this, info.botaoAtiva, QStringLiteral("(Re-)Ativar"), layout);
    cancela_ = Widgets::botao(this, info.botaoCancela, QStringLiteral("Cancelar"), layout);
    for (QPushButton* botao : {suspende_, ativa_, cancela_}) {
        // "Cancelar" is also the line editor's button: say which one this is.
        botao->setAccessibleDescription(info.tituloGrupo);
        connect(botao, &QPushButton::clicked, this, [this, botao] { botaoPressionado(botao->objectName()); });
    }

    abrePropagacao_ = [&dm](QWidget* pai, const EntradaAlteraStatus& entrada) {
        TFrmAlteraStatusEmpresa tela(dm.session(), dm.justificationAsker(), entrada, pai);
        tela.exec();
    };
    mostra(std::nullopt);
}

void GrupoStatus::mostra(const std::optional<QVariantList>& chave) {
    chave_ = chave;
    status_.clear();
    QDateTime data;
    if (chave_) {
        try {
            if (const std::optional<StatusGravado> gravado =
                    StatusItens::le(dm_.database(), item_, *chave_)) {
                status_ = gravado->status;
                data = gravado->data;
            } else {
                chave_.reset();
            }
        } catch (const DbError& error) {
            chave_.reset();
            dm_.session().prompts().error(error.message());
        }
    }
    descricao_->setText(DescrStatus(status_));
    data_->setText(data.isValid() ? data.date().toString(QStringLiteral("dd/MM/yyyy")) : QString());
    atualizaBotoes();
}

void GrupoStatus::atualizaBotoes() {
    // Only the buttons that lead away from the current status are offered.
    setVisible(chave_.has_value());
    suspende_->setVisible(status_ != QLatin1String("S"));
    ativa_->setVisible(status_ != QLatin1String("A"));
    cancela_->setVisible(status_ != QLatin1String("C"));
}

void GrupoStatus::botaoPressionado(const QString& nomeBotao) {
    if (!chave_)
        return;
    const QString novoStatus = StatusItens::statusDoBotao(nomeBotao);
    const QVariantList chave = *chave_;
    const MudancaStatus::Resultado resultado = mudanca_.muda(item_, chave, novoStatus);
    if (resultado == MudancaStatus::Resultado::Propagar && abrePropagacao_) {
        const EntradaAlteraStatus entrada{chave.value(0).toString(),
                                          chave.value(1).toString(),
                                          chave.value(2).toString(),
                                          chave.value(3).toString(),
                                          dm_.session().user().SiglaUsu,
                                          novoStatus,
                                          StatusItens::eventoDoStatus(novoStatus)};
        abrePropagacao_(window(), entrada);
        // Whatever was done there, the certificate's flags and the lines are read again.
        dm_.releStatus();
    }
    mostra(chave);
    emit alterado();
}
