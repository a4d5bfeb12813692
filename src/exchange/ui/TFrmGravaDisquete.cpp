#include "TFrmGravaDisquete.h"

#include "BackgroundWork.h"
#include "Controls.h"
#include "Prompts.h"
#include "Session.h"
#include "SharedBatchState.h"

#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace EntregaWidgets;

TFrmGravaDisquete::TFrmGravaDisquete(Session& session, SharedBatchState& state, const QString& arquivo,
                                     QWidget* parent)
    : RunGuardedDialog(parent), session_(session), state_(state) {
    setObjectName(QStringLiteral("TFrmGravaDisquete"));
    setWindowTitle(QStringLiteral("Grava Disquete"));

    const GrupoArquivo file = grupoArquivo(this, state.DirLocalTransf, arquivo);
    EdDiretorio_ = file.EdDiretorio;
    EdArquivoTransferencia_ = file.EdArquivoTransferencia;

    auto* destino = new QGroupBox(QStringLiteral("Unidade de disquete para gravação do arquivo"), this);
    EdDestino_ = new QLineEdit(destino);
    EdDestino_->setObjectName(QStringLiteral("EdDestino"));
    // Typed or chosen with "Browse...": the recording checks it either way.
    EdDestino_->setAccessibleName(destino->title());
    BtBrowse_ = botao(destino, QStringLiteral("BtBrowse"), QStringLiteral("Browse..."));
    auto* destinoLinha = new QHBoxLayout(destino);
    destinoLinha->addWidget(EdDestino_, 1);
    destinoLinha->addWidget(BtBrowse_);

    BtGrava_ = botao(this, QStringLiteral("BtGrava"), QStringLiteral("Grava"));
    BtGrava_->setDefault(true);
    BtInterrompe_ = botao(this, QStringLiteral("BtInterrompe"), QStringLiteral("Interrompe"));
    BtInterrompe_->setEnabled(false);
    CkGravando_ = marca(this, QStringLiteral("CkGravando"));
    auto* acoes = new QHBoxLayout;
    acoes->addWidget(BtGrava_);
    acoes->addWidget(BtInterrompe_);
    acoes->addWidget(CkGravando_);
    acoes->addStretch(1);

    auto* resultado = new QGroupBox(QStringLiteral("Resultado da Gravação"), this);
    EdResultado_ = new QLineEdit(resultado);
    EdResultado_->setObjectName(QStringLiteral("EdResultado"));
    EdResultado_->setReadOnly(true);
    EdResultado_->setAccessibleName(resultado->title());
    EdResultado_->setMinimumWidth(EdResultado_->fontMetrics().horizontalAdvance(
        QStringLiteral("Gravação de arquivo não realizada: Erro ao gravar arquivo.")));
    (new QVBoxLayout(resultado))->addWidget(EdResultado_);

    BtComprovante_ = botao(this, QStringLiteral("BtComprovante"), QStringLiteral("Emite Comprovante"));
    BtComprovante_->setEnabled(false);
    BtSaida_ = botao(this, QStringLiteral("BtSaida"), QStringLiteral("&Saída"));
    btCancela_ = botao(this, QStringLiteral("btCancela"), QStringLiteral("Cancela"));
    auto* rodape = new QHBoxLayout;
    rodape->addWidget(BtComprovante_);
    rodape->addStretch(1);
    rodape->addWidget(BtSaida_);
    rodape->addWidget(btCancela_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(file.grupo);
    layout->addWidget(destino);
    layout->addLayout(acoes);
    layout->addWidget(resultado);
    layout->addStretch(1);
    layout->addLayout(rodape);

    connect(BtBrowse_, &QPushButton::clicked, this, &TFrmGravaDisquete::BtBrowseClick);
    connect(BtGrava_, &QPushButton::clicked, this, &TFrmGravaDisquete::BtGravaClick);
    connect(BtInterrompe_, &QPushButton::clicked, this, &TFrmGravaDisquete::BtInterrompeClick);
    connect(BtComprovante_, &QPushButton::clicked, this, &TFrmGravaDisquete::BtComprovanteClick);
    connect(BtSaida_, &QPushButton::clicked, this, &QDialog::accept);
    connect(btCancela_, &QPushButton::clicked, this, &QDialog::reject);
}

void TFrmGravaDisquete::setComprovante(EmiteComprovante comprovante) {
    comprovante_ = std::move(comprovante);
    BtComprovante_->setEnabled(comprovante_ && desfecho_ == GravaDisquete::Desfecho::Sucesso);
}

void TFrmGravaDisquete::BtBrowseClick() {
    // Without a destination yet the chooser opens where the user chose last (or in the documents).
    const QString escolhido = session_.prompts().chooseDirectory(QStringLiteral("Escolha de diretório"),
                                                                 EdDestino_->text().trimmed());
    if (!escolhido.isEmpty())
        EdDestino_->setText(SharedBatchState::withTrailingSlash(escolhido));
}

void TFrmGravaDisquete::BtGravaClick() {
    if (gravando_)
        return;
    // A typed destination is checked as the chooser checks a chosen one: an existing directory.
    const QString destino = EdDestino_->text().trimmed();
    if (destino.isEmpty() || !QFileInfo(destino).isDir()) {
        session_.prompts().warning(destino.isEmpty() ? GravaDisquete::semDestino()
                                                     : GravaDisquete::destinoInexistente(destino),
                                   windowTitle());
        EdDestino_->setFocus();
        return;
    }
    gravacao_ = std::make_unique<GravaDisquete>(session_, state_, EdDiretorio_->text(),
                                                EdArquivoTransferencia_->text(), destino);
    if (consulta_)
        gravacao_->setConsultaEspaco(consulta_);
    if (!gravacao_->inicia())
        return;
    BtBrowse_->setEnabled(false);
    BtGrava_->setEnabled(false);
    btCancela_->setEnabled(false);
    BtInterrompe_->setEnabled(true);
    EdResultado_->clear();
    gravando_ = true;
    {
        BusyScope busy(session_.prompts());
        GravaDisquete* gravacao = gravacao_.get();
        runWhilePainting([gravacao] { gravacao->grava(); });
    }
    gravando_ = false;
    BtInterrompe_->setEnabled(false);
    desfecho_ = gravacao_->conclui();
    EdResultado_->setText(gravacao_->resultado());
    if (desfecho_ == GravaDisquete::Desfecho::Sucesso) {
        CkGravando_->setVisible(true);
        BtComprovante_->setEnabled(bool(comprovante_));
    }
    BtSaida_->setFocus();
}

void TFrmGravaDisquete::BtInterrompeClick() {
    BtInterrompe_->setEnabled(false);
    if (gravacao_)
        gravacao_->interrompe();
}

void TFrmGravaDisquete::BtComprovanteClick() {
    if (!comprovante_ || desfecho_ != GravaDisquete::Desfecho::Sucesso)
        return;
    ComprovanteEntrega dados;
    dados.gravacao = true;
    dados.cabecalho = state_.SiglaCertificador + QStringLiteral(" - ") + state_.NomeOCC;
    dados.numeroRemessa = state_.NumeroRemessa;
    dados.arquivo = gravacao_->caminhoDestino();
    dados.linhas = {QStringLiteral("Usuário Responsável : ") + state_.Usuario,
                    QStringLiteral("Gravação de arquivo realizada com sucesso.")};
    comprovante_(this, dados);
}
