#include "TFrmResultadoManual.h"

#include "Prompts.h"
#include "ResultadoRemessa.h"
#include "ResultadoWidgets.h"
#include "Session.h"
#include "SharedBatchState.h"
#include "TFrmConfResultadoManual.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace ResultadoWidgets;

namespace {

constexpr int IntervaloEventosMs = 25;

} // namespace

TFrmResultadoManual::TFrmResultadoManual(Session& session, SharedBatchState& state,
                                         const QString& arquivoRemessa, QWidget* parent)
    : RunGuardedDialog(parent), session_(session), state_(state), arquivoRemessa_(arquivoRemessa),
      confirmacao_([](QWidget* owner, const QString& resultado) {
          TFrmConfResultadoManual confirma(resultado, owner);
          return confirma.exec() == QDialog::Accepted;
      }) {
    setObjectName(QStringLiteral("TFrmResultadoManual"));
    setWindowTitle(QStringLiteral("Recebe Resultado Manual"));

    QGroupBox* dados = dadosDaRemessa(this, state_.NumeroRemessa, arquivoRemessa_);

    auto* senha = new QGroupBox(QStringLiteral("Senha Recebida do Kavorel: "), this);
    Edit1_ = new QLineEdit(senha);
    Edit1_->setObjectName(QStringLiteral("Edit1"));
    Edit1_->setAccessibleName(QStringLiteral("Senha Recebida do Kavorel"));
    (new QVBoxLayout(senha))->addWidget(Edit1_);

    auto* observacoes = new QGroupBox(QStringLiteral("Observações: "), this);
    MmObservacoes_ = new QPlainTextEdit(observacoes);
    MmObservacoes_->setObjectName(QStringLiteral("MmObservacoes"));
    MmObservacoes_->setAccessibleName(QStringLiteral("Observações"));
    MmObservacoes_->setTabChangesFocus(true);
    (new QVBoxLayout(observacoes))->addWidget(MmObservacoes_);

    BtOK_ = botao(this, QStringLiteral("BtOK"), QStringLiteral("Ok"));
    BtOK_->setDefault(true);
    BtCancelar_ = botao(this, QStringLiteral("BtCancelar"), QStringLiteral("Cancela"));
    auto* confirma = new QHBoxLayout;
    confirma->addStretch(1);
    confirma->addWidget(BtOK_);
    confirma->addWidget(BtCancelar_);

    const Sincronizacao sincroniza = sincronizacao(this);
    LbSincroniza_ = sincroniza.LbSincroniza;
    CkSincroniza_ = sincroniza.CkSincroniza;

    BtSaida_ = botao(this, QStringLiteral("BtSaida"), QStringLiteral("&Saída"));
    BtSaida_->setEnabled(false);
    auto* saida = new QHBoxLayout;
    saida->addStretch(1);
    saida->addWidget(BtSaida_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(dados);
    layout->addWidget(senha);
    layout->addWidget(observacoes, 1);
    layout->addLayout(confirma);
    layout->addWidget(sincroniza.grupo);
    layout->addLayout(saida);

    connect(BtOK_, &QPushButton::clicked, this, &TFrmResultadoManual::BtOKClick);
    connect(BtCancelar_, &QPushButton::clicked, this, &QDialog::reject);
    connect(BtSaida_, &QPushButton::clicked, this, &QDialog::accept);
    Edit1_->setFocus();
}

void TFrmResultadoManual::BtOKClick() {
    ResultadoRemessa operacao(session_, state_);
    const ResultadoRemessa::Codigo codigo = operacao.verificaCodigo(Edit1_->text(), arquivoRemessa_);
    if (!codigo.valido) {
        session_.prompts().message(ResultadoRemessa::tituloSenhaInvalida(),
                                   ResultadoRemessa::textoSenhaInvalida());
        return;
    }
    if (!confirmacao_(this, ResultadoRemessa::textoConfirmacao(codigo.veredito)))
        return;

    running_ = true;
    BtOK_->setEnabled(false);
    BtCancelar_->setEnabled(false);
    Edit1_->setReadOnly(true);
    MmObservacoes_->setReadOnly(true);
    if (codigo.veredito == ResultadoRemessa::Aceita) {
        LbSincroniza_->setText(ResultadoRemessa::textoSincronizando());
        LbSincroniza_->setVisible(true);
        QApplication::processEvents();
    }
    // The memo's lines, as many as it shows (a final line break opens no line).
    QStringList linhas = MmObservacoes_->toPlainText().split(QLatin1Char('\n'));
    if (!linhas.isEmpty() && linhas.last().isEmpty())
        linhas.removeLast();
    QElapsedTimer desdeEventos;
    desdeEventos.start();
    const ResultadoRemessa::Desfecho desfecho = operacao.processaManual(
        arquivoRemessa_, codigo.veredito, linhas, [&desdeEventos](const SincronizacaoProgresso&) {
            if (desdeEventos.elapsed() >= IntervaloEventosMs) {
                QApplication::processEvents();
                desdeEventos.restart();
            }
        });
    if (desfecho.ok) {
        LbSincroniza_->setText(desfecho.LbSincroniza);
        LbSincroniza_->setVisible(true);
        if (codigo.veredito == ResultadoRemessa::Aceita)
            CkSincroniza_->setVisible(true);
    } else {
        session_.prompts().error(desfecho.mensagem);
    }
    running_ = false;
    BtSaida_->setEnabled(true);
    BtSaida_->setFocus();
}
