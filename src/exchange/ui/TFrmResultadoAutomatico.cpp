#include "TFrmResultadoAutomatico.h"

#include "BackgroundWork.h"
#include "BuscaResultado.h"
#include "Formats.h"
#include "Prompts.h"
#include "ResultadoRemessa.h"
#include "ResultadoWidgets.h"
#include "Session.h"
#include "SharedBatchState.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <exception>

using namespace ResultadoWidgets;

namespace {

// The window lets pending events run at least this often while the replicas are synchronised.
constexpr int IntervaloEventosMs = 25;

} // namespace

TFrmResultadoAutomatico::TFrmResultadoAutomatico(Session& session, SharedBatchState& state,
                                                 const QString& arquivoRemessa, QWidget* parent)
    : RunGuardedDialog(parent), session_(session), state_(state), arquivoRemessa_(arquivoRemessa) {
    setObjectName(QStringLiteral("TFrmResultadoAutomatico"));
    setWindowTitle(QStringLiteral("Recebe Resultado Automático"));

    QGroupBox* dados = dadosDaRemessa(this, state_.NumeroRemessa, arquivoRemessa_);

    auto* endereco = new QGroupBox(QStringLiteral("Endereço Kavorel para Busca do Resultado"), this);
    EdEndResultado_ = new QLineEdit(state_.EndKavorelResult, endereco);
    EdEndResultado_->setObjectName(QStringLiteral("EdEndResultado"));
    EdEndResultado_->setReadOnly(true);
    EdEndResultado_->setAccessibleName(endereco->title());
    (new QVBoxLayout(endereco))->addWidget(EdEndResultado_);

    auto* acompanhamento = new QGroupBox(QStringLiteral("Acompanhamento "), this);
    auto* passos = new QFormLayout(acompanhamento);
    CkInformacoes_ = marca(acompanhamento, QStringLiteral("CkInformacoes"));
    CkTransferencia_ = marca(acompanhamento, QStringLiteral("CkTransferencia"));
    passos->addRow(CkInformacoes_,
                   new QLabel(QStringLiteral("Recupera Informações Sobre Resultado..."), acompanhamento));
    passos->addRow(CkTransferencia_, new QLabel(QStringLiteral("Transferindo Arquivo..."), acompanhamento));
    PbTransferencia_ = new QProgressBar(acompanhamento);
    PbTransferencia_->setObjectName(QStringLiteral("PbTransferencia"));
    PbTransferencia_->setRange(0, 100);
    PbTransferencia_->setValue(0);
    BtInterrompe_ = botao(acompanhamento, QStringLiteral("BtInterrompe"), QStringLiteral("Interrompe"));
    BtInterrompe_->setEnabled(false);
    auto* barra = new QHBoxLayout;
    barra->addWidget(PbTransferencia_, 1);
    barra->addWidget(BtInterrompe_);
    passos->addRow(barra);
    EdArquivoDownload_ =
        campo(passos, acompanhamento, QStringLiteral("EdArquivoDownload"), QStringLiteral("Arquivo:"));

    auto* final = new QGroupBox(QStringLiteral("Resultado Final  "), this);
    MmResultado_ = new QPlainTextEdit(final);
    MmResultado_->setObjectName(QStringLiteral("MmResultado"));
    MmResultado_->setReadOnly(true);
    MmResultado_->setAccessibleName(QStringLiteral("Resultado Final"));
    // The receipt comes with the reports; until then the button is there, disabled.
    BtRelatorio_ = botao(final, QStringLiteral("BtRelatorio"), QStringLiteral("Emite Relatório"));
    BtRelatorio_->setEnabled(false);
    connect(BtRelatorio_, &QPushButton::clicked, this, [this] {
        if (!relatorio_)
            return;
        comprovante_.linhas = MmResultado_->toPlainText().split(QLatin1Char('\n'));
        while (!comprovante_.linhas.isEmpty() && comprovante_.linhas.last().isEmpty())
            comprovante_.linhas.removeLast();
        relatorio_(this, comprovante_);
    });
    auto* finalLayout = new QVBoxLayout(final);
    finalLayout->addWidget(MmResultado_, 1);
    finalLayout->addWidget(BtRelatorio_, 0, Qt::AlignRight);

    const Sincronizacao sincroniza = sincronizacao(this);
    LbSincroniza_ = sincroniza.LbSincroniza;
    CkSincroniza_ = sincroniza.CkSincroniza;

    BtResultado_ = botao(this, QStringLiteral("BtResultado"), QStringLiteral("Recebe Resultado"));
    BtResultado_->setDefault(true);
    BtCancela_ = botao(this, QStringLiteral("BtCancela"), QStringLiteral("Cancela"));
    BtSaida_ = botao(this, QStringLiteral("BtSaida"), QStringLiteral("&Saída"));
    auto* botoes = new QHBoxLayout;
    botoes->addStretch(1);
    botoes->addWidget(BtResultado_);
    botoes->addWidget(BtCancela_);
    botoes->addWidget(BtSaida_);

    // Two columns keep the window within a laptop's height.
    auto* esquerda = new QVBoxLayout;
    esquerda->addWidget(dados);
    esquerda->addWidget(endereco);
    esquerda->addWidget(acompanhamento);
    esquerda->addStretch(1);
    auto* direita = new QVBoxLayout;
    direita->addWidget(final, 1);
    direita->addWidget(sincroniza.grupo);
    auto* colunas = new QHBoxLayout;
    colunas->addLayout(esquerda, 1);
    colunas->addLayout(direita, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(colunas, 1);
    layout->addLayout(botoes);

    connect(BtResultado_, &QPushButton::clicked, this, &TFrmResultadoAutomatico::BtResultadoClick);
    connect(BtInterrompe_, &QPushButton::clicked, this, &TFrmResultadoAutomatico::BtInterrompeClick);
    connect(BtCancela_, &QPushButton::clicked, this, &QDialog::reject);
    connect(BtSaida_, &QPushButton::clicked, this, &QDialog::accept);
    BtResultado_->setFocus();
}

TFrmResultadoAutomatico::~TFrmResultadoAutomatico() = default;

void TFrmResultadoAutomatico::log(const QString& linha) {
    MmResultado_->appendPlainText(linha);
}

void TFrmResultadoAutomatico::BtInterrompeClick() {
    BtInterrompe_->setEnabled(false);
    log(QStringLiteral("Transferência interrompida."));
    interrompido_ = true;
    if (busca_)
        busca_->interrompe();
}

void TFrmResultadoAutomatico::BtResultadoClick() {
    BtResultado_->setEnabled(false);
    BtCancela_->setEnabled(false);
    BtSaida_->setEnabled(false);
    BtInterrompe_->setEnabled(true);
    PbTransferencia_->setValue(0);
    interrompido_ = false;
    running_ = true;

    // The port of the address is honoured; without one it is 21.
    const FtpAddress address = SeparaEnderecoFTP(state_.EndKavorelResult);
    const FtpEndpoint endpoint{address.host, address.port.toInt(), state_.LoginFTP, state_.SenhaFTP};
    busca_ = std::make_unique<BuscaResultado>(state_.Usuario, state_.DirLocalSincr);
    busca_->setAvisos({[this](const QString& linha) { onScreen(this, [this, linha] { log(linha); }); },
                       [this](const QString& arquivo) {
                           onScreen(this, [this, arquivo] {
                               EdArquivoDownload_->setText(arquivo);
                               CkInformacoes_->setVisible(true);
                           });
                       },
                       [this](qint64 feito, qint64 total) {
                           onScreen(this, [this, feito, total] {
                               PbTransferencia_->setValue(total > 0 ? int(feito * 100 / total) : 0);
                           });
                       },
                       [this] {
                           onScreen(this, [this] {
                               PbTransferencia_->setValue(100);
                               CkTransferencia_->setVisible(true);
                           });
                       }});
    BuscaResultado::Resultado resultado;
    bool excecao = false;
    const QString arquivo = arquivoRemessa_;
    runWhilePainting([&] {
        try {
            resultado = busca_->busca(endpoint, address.directory, arquivo);
        } catch (const std::exception&) {
            excecao = true;
        }
    });
    QApplication::processEvents(); // the last log lines and check marks
    BtInterrompe_->setEnabled(false);
    if (excecao && !interrompido_)
        log(QStringLiteral("Houve erro durante a transferência."));
    if (!excecao && !interrompido_ && resultado.desfecho == BuscaResultado::Desfecho::Obtido)
        processa(resultado.caminho);
    running_ = false;
    BtSaida_->setEnabled(true);
    BtSaida_->setFocus();
}

void TFrmResultadoAutomatico::processa(const QString& caminho) {
    // The batch as it was before its verdict, for the receipt.
    const QString cabecalho = state_.SiglaCertificador + QStringLiteral(" - ") + state_.NomeOCC;
    const QString numero = state_.NumeroRemessa;
    const bool aceita =
        ResultadoRemessa::vereditoDe(QFileInfo(caminho).fileName()) == ResultadoRemessa::Aceita;
    if (aceita) {
        LbSincroniza_->setText(ResultadoRemessa::textoSincronizando());
        LbSincroniza_->setVisible(true);
    }
    QApplication::processEvents();
    QElapsedTimer desdeEventos;
    desdeEventos.start();
    ResultadoRemessa operacao(session_, state_);
    const ResultadoRemessa::Desfecho desfecho =
        operacao.processaAutomatico(arquivoRemessa_, caminho, [&desdeEventos](const SincronizacaoProgresso&) {
            if (desdeEventos.elapsed() >= IntervaloEventosMs) {
                QApplication::processEvents();
                desdeEventos.restart();
            }
        });
    for (const QString& linha : desfecho.log)
        log(linha);
    if (!desfecho.ok) {
        session_.prompts().error(desfecho.mensagem);
        return;
    }
    LbSincroniza_->setText(desfecho.LbSincroniza);
    LbSincroniza_->setVisible(true);
    if (aceita)
        CkSincroniza_->setVisible(true);
    // A verdict was recorded: its receipt can be printed.
    comprovante_.cabecalho = cabecalho;
    comprovante_.numeroRemessa = numero;
    comprovante_.arquivoResultado = QFileInfo(caminho).fileName();
    comprovante_.codigo = aceita ? QStringLiteral("OK") : QStringLiteral("NO");
    BtRelatorio_->setEnabled(bool(relatorio_));
}
