#include "TelaTransferenciaRemota.h"

#include "BackgroundWork.h"
#include "Prompts.h"
#include "Session.h"
#include "SharedBatchState.h"

#include <QCoreApplication>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

using namespace EntregaWidgets;

TelaTransferenciaRemota::TelaTransferenciaRemota(Session& session, SharedBatchState& state, ModoEntrega modo,
                                                 const QString& arquivo, QWidget* parent)
    : RunGuardedDialog(parent), session_(session), state_(state), modo_(modo) {
    const bool ftp = modo == ModoEntrega::Ftp;
    setObjectName(ftp ? QStringLiteral("TFrmTransfereArquivo") : QStringLiteral("TFrmTransfereSMTP"));
    setWindowTitle(ftp ? QStringLiteral("Transfere Arquivo")
                       : QStringLiteral("Transfere Arquivo via E-MAIL"));

    const GrupoArquivo file = grupoArquivo(this, state.DirLocalTransf, arquivo);
    EdDiretorio_ = file.EdDiretorio;
    EdArquivoTransferencia_ = file.EdArquivoTransferencia;

    auto* destino = new QGroupBox(ftp ? QStringLiteral("Diretório Destino do Arquivo")
                                      : QStringLiteral("Servidor E-MAIL (SMTP) "),
                                  this);
    auto* destinoForm = new QFormLayout(destino);
    QLineEdit* endereco =
        campo(destinoForm, destino, ftp ? QStringLiteral("EdEndEnvio") : QStringLiteral("EdSMTPEMail"),
              ftp ? QStringLiteral("Endereço") : QStringLiteral("Servidor"));
    endereco->setText(ftp ? state.EndKavorelEnvio : state.EndSMTPHost);

    BtTransfere_ = botao(this, QStringLiteral("BtTransfere"), QStringLiteral("Transfere"));
    BtTransfere_->setDefault(true);
    BtInterrompe_ = botao(this, QStringLiteral("BtInterrompe"), QStringLiteral("Interrompe"));
    BtInterrompe_->setEnabled(false);
    auto* acoes = new QHBoxLayout;
    acoes->addWidget(BtTransfere_);
    acoes->addWidget(BtInterrompe_);
    acoes->addStretch(1);

    auto* progresso = new QGroupBox(QStringLiteral("Andamento da Transferência"), this);
    auto* progressoForm = new QFormLayout(progresso);
    EdTamanho_ =
        campo(progressoForm, progresso, QStringLiteral("EdTamanho"), QStringLiteral("Tamanho (bytes)"));
    EdTransferidos_ = campo(progressoForm, progresso, QStringLiteral("EdTransferidos"),
                            QStringLiteral("Bytes transferidos"));
    PbTransferencia_ = new QProgressBar(progresso);
    PbTransferencia_->setObjectName(QStringLiteral("PbTransferencia"));
    PbTransferencia_->setRange(0, 100);
    PbTransferencia_->setValue(0);
    progressoForm->addRow(QStringLiteral("Progresso"), PbTransferencia_);

    auto* resultado = new QGroupBox(QStringLiteral("Resultado da Transferência"), this);
    MmResultado_ = new QPlainTextEdit(resultado);
    MmResultado_->setObjectName(QStringLiteral("MmResultado"));
    MmResultado_->setReadOnly(true);
    MmResultado_->setAccessibleName(resultado->title());
    MmResultado_->setMinimumHeight(MmResultado_->fontMetrics().lineSpacing() * 10);
    (new QVBoxLayout(resultado))->addWidget(MmResultado_);

    BtComprovante_ = botao(this, QStringLiteral("BtComprovante"), QStringLiteral("Emite Comprovante"));
    BtComprovante_->setEnabled(false);
    BtSaida_ = botao(this, QStringLiteral("BtSaida"), QStringLiteral("&Saída"));
    BtCancela_ = botao(this, QStringLiteral("BtCancela"), QStringLiteral("Cancela"));
    auto* rodape = new QHBoxLayout;
    rodape->addWidget(BtComprovante_);
    rodape->addStretch(1);
    rodape->addWidget(BtSaida_);
    rodape->addWidget(BtCancela_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(file.grupo);
    layout->addWidget(destino);
    layout->addLayout(acoes);
    layout->addWidget(progresso);
    layout->addWidget(resultado, 1);
    layout->addLayout(rodape);
    resize(560, sizeHint().height());

    connect(BtTransfere_, &QPushButton::clicked, this, &TelaTransferenciaRemota::BtTransfereClick);
    connect(BtInterrompe_, &QPushButton::clicked, this, &TelaTransferenciaRemota::BtInterrompeClick);
    connect(BtComprovante_, &QPushButton::clicked, this, &TelaTransferenciaRemota::BtComprovanteClick);
    connect(BtSaida_, &QPushButton::clicked, this, &QDialog::accept);
    connect(BtCancela_, &QPushButton::clicked, this, &QDialog::reject);
}

void TelaTransferenciaRemota::setComprovante(EmiteComprovante comprovante) {
    comprovante_ = std::move(comprovante);
    BtComprovante_->setEnabled(comprovante_ && desfecho_ == TransferenciaRemota::Desfecho::Sucesso);
}

void TelaTransferenciaRemota::linha(const QString& texto) {
    MmResultado_->appendPlainText(texto);
}

void TelaTransferenciaRemota::BtTransfereClick() {
    if (transferindo_ || !BtTransfere_->isEnabled())
        return;
    BtTransfere_->setEnabled(false);
    BtCancela_->setEnabled(false);
    transferencia_ = std::make_unique<TransferenciaRemota>(session_, state_, modo_, EdDiretorio_->text(),
                                                           EdArquivoTransferencia_->text());
    // "Interrompe" stays usable for the whole transfer: a stalled upload must be stoppable.
    transferencia_->setAvisos({[this](const QString& texto) { linha(texto); },
                               [this](qint64 feito, qint64 total) {
                                   onScreen(this, [this, feito, total] {
                                       EdTransferidos_->setText(QString::number(feito));
                                       PbTransferencia_->setValue(total > 0 ? int(feito * 100 / total) : 0);
                                   });
                               },
                               {}});
    if (!transferencia_->inicia()) {
        BtSaida_->setFocus();
        return;
    }
    EdTamanho_->setText(QString::number(transferencia_->tamanho()));
    EdTransferidos_->setText(QStringLiteral("0"));
    PbTransferencia_->setValue(0);
    BtInterrompe_->setEnabled(true);
    transferindo_ = true;
    {
        BusyScope busy(session_.prompts());
        TransferenciaRemota* transfer = transferencia_.get();
        runWhilePainting([transfer] { transfer->transfere(); });
        QCoreApplication::processEvents(); // the last progress report
    }
    transferindo_ = false;
    BtInterrompe_->setEnabled(false);
    desfecho_ = transferencia_->conclui();
    if (desfecho_ == TransferenciaRemota::Desfecho::Sucesso) {
        PbTransferencia_->setValue(100);
        BtComprovante_->setEnabled(bool(comprovante_));
    }
    BtSaida_->setFocus();
}

void TelaTransferenciaRemota::BtInterrompeClick() {
    BtInterrompe_->setEnabled(false);
    if (transferencia_)
        transferencia_->interrompe();
}

void TelaTransferenciaRemota::BtComprovanteClick() {
    if (!comprovante_ || desfecho_ != TransferenciaRemota::Desfecho::Sucesso)
        return;
    ComprovanteEntrega dados;
    dados.cabecalho = state_.SiglaCertificador + QStringLiteral(" - ") + state_.NomeOCC;
    dados.numeroRemessa = state_.NumeroRemessa;
    const QString arquivo = EdArquivoTransferencia_->text();
    dados.arquivo = modo_ == ModoEntrega::Email ? EdDiretorio_->text() + arquivo : arquivo;
    dados.linhas = transferencia_->log();
    comprovante_(this, dados);
}
