#include "TFrmAtualizaVersao.h"

#include "AtualizaVersao.h"
#include "BackgroundWork.h"
#include "ConfigLocal.h"
#include "Formats.h"
#include "InstalaVersao.h"
#include "Prompts.h"
#include "Session.h"
#include "VersaoWidgets.h"
#include "Versoes.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString Internet = QStringLiteral("Internet");
const QString ArquivoLocal = QStringLiteral("Arquivo Local");

} // namespace

TFrmAtualizaVersao::TFrmAtualizaVersao(Session& session, QWidget* parent)
    : RunGuardedDialog(parent), session_(session) {
    setObjectName(QStringLiteral("TFrmAtualizaVersao"));
    setWindowTitle(QStringLiteral("Controle de Versões - Atualiza Versão Atual"));
    using namespace VersaoWidgets;

    auto* tipo = new QGroupBox(QStringLiteral("Tipo de Atualização"), this);
    CbTipo_ = new QComboBox(tipo);
    CbTipo_->setObjectName(QStringLiteral("CbTipo"));
    CbTipo_->setAccessibleName(tipo->title());
    CbTipo_->addItems({Internet, ArquivoLocal});
    (new QVBoxLayout(tipo))->addWidget(CbTipo_);

    grupoLocalizacao_ = new QGroupBox(this);
    EdLocalizacao_ = new QLineEdit(grupoLocalizacao_);
    EdLocalizacao_->setObjectName(QStringLiteral("EdLocalizacao"));
    EdLocalizacao_->setReadOnly(true);
    BtBrowse_ = botao(grupoLocalizacao_, QStringLiteral("BtBrowse"), QStringLiteral("Browse..."));
    auto* localizacao = new QHBoxLayout(grupoLocalizacao_);
    localizacao->addWidget(EdLocalizacao_, 1);
    localizacao->addWidget(BtBrowse_);

    auto* acompanhamento = new QGroupBox(QStringLiteral("Acompanhamento "), this);
    auto* passos = new QFormLayout(acompanhamento);
    CkProcura_ = marca(acompanhamento, QStringLiteral("CkProcura"));
    CkTransferindo_ = marca(acompanhamento, QStringLiteral("CkTransferindo"));
    passos->addRow(CkProcura_,
                   new QLabel(QStringLiteral("Procura por versão mais atualizada...."), acompanhamento));
    passos->addRow(CkTransferindo_,
                   new QLabel(QStringLiteral("Transferindo arquivo com nova versão..."), acompanhamento));
    EdArquivoNovo_ =
        campo(passos, acompanhamento, QStringLiteral("EdArquivoNovo"), QStringLiteral("Arquivo:"));
    EdVersaoNova_ =
        campo(passos, acompanhamento, QStringLiteral("EdVersaoNova"), QStringLiteral("Versão encontrada:"));
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

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tipo);
    layout->addWidget(grupoLocalizacao_);
    layout->addWidget(acompanhamento);
    const Rodape foot = rodape(this, layout, QStringLiteral("Instala Nova Versão "));
    LbAtualiza_ = foot.LbAtualiza;
    CkAtualiza_ = foot.CkAtualiza;
    EdResultado_ = foot.EdResultado;
    BtAtualiza_ = foot.BtAtualiza;
    BtAtualiza_->setDefault(true);
    BtCancela_ = foot.BtCancela;
    BtSaida_ = foot.BtSaida;

    enderecoKavorel_ = ConfigLocalTable::load(session_.database()).value_or(ConfigLocal{}).EndKavorelOrigAux;
    connect(CbTipo_, &QComboBox::currentIndexChanged, this, &TFrmAtualizaVersao::tipoMudou);
    connect(BtBrowse_, &QPushButton::clicked, this, &TFrmAtualizaVersao::browse);
    connect(BtAtualiza_, &QPushButton::clicked, this, &TFrmAtualizaVersao::atualiza);
    connect(BtInterrompe_, &QPushButton::clicked, this, &TFrmAtualizaVersao::interrompe);
    connect(BtCancela_, &QPushButton::clicked, this, &QDialog::reject);
    connect(BtSaida_, &QPushButton::clicked, this, &QDialog::accept);
    tipoMudou();
}

TFrmAtualizaVersao::~TFrmAtualizaVersao() = default;

void TFrmAtualizaVersao::tipoMudou() {
    const bool internet = CbTipo_->currentText() == Internet;
    grupoLocalizacao_->setTitle(internet ? QStringLiteral("Endereço Kavorel para Busca de Novas Versões")
                                         : QStringLiteral("Localização do Arquivo"));
    EdLocalizacao_->setAccessibleName(grupoLocalizacao_->title());
    EdLocalizacao_->setText(internet ? enderecoKavorel_ : QString());
    BtBrowse_->setVisible(!internet);
}

void TFrmAtualizaVersao::browse() {
    const QString chosen =
        session_.prompts().chooseDirectory(QStringLiteral("Escolha de diretório"), EdLocalizacao_->text());
    if (!chosen.isEmpty())
        EdLocalizacao_->setText(chosen.endsWith(QLatin1Char('/')) ? chosen : chosen + QLatin1Char('/'));
}

void TFrmAtualizaVersao::interrompe() {
    BtInterrompe_->setEnabled(false);
    if (busca_)
        busca_->interrompe();
}

void TFrmAtualizaVersao::atualiza() {
    const bool internet = CbTipo_->currentText() == Internet;
    if (!internet && EdLocalizacao_->text().isEmpty())
        return; // no directory chosen yet
    const ConfigLocal config = ConfigLocalTable::load(session_.database()).value_or(ConfigLocal{});
    const QString recepcao = config.DirLocalRecepAux;
    if (const QString problem = Versoes::problemaRecepcao(recepcao); !problem.isEmpty()) {
        session_.prompts().error(problem);
        return;
    }
    executando_ = true;
    BtAtualiza_->setEnabled(false);
    BtCancela_->setEnabled(false);
    BtSaida_->setEnabled(false);
    CbTipo_->setEnabled(false);
    BtBrowse_->setEnabled(false);
    PbTransferencia_->setValue(0);
    BtInterrompe_->setEnabled(true);
    EdResultado_->clear();

    busca_ = std::make_unique<AtualizaVersao>(recepcao, Versoes::versaoInstalada(session_.database()).numero);
    busca_->setAvisos({[this](const QString& arquivo, const QString& versao) {
                           onScreen(this, [this, arquivo, versao] {
                               EdArquivoNovo_->setText(arquivo);
                               EdVersaoNova_->setText(versao);
                               CkProcura_->setVisible(true);
                           });
                       },
                       [this](qint64 feito, qint64 total) {
                           onScreen(this, [this, feito, total] {
                               PbTransferencia_->setValue(total > 0 ? int(feito * 100 / total) : 0);
                           });
                       },
                       {}});
    AtualizaVersao::Resultado result;
    if (internet) {
        const FtpAddress address = SeparaEnderecoFTP(enderecoKavorel_);
        const FtpEndpoint endpoint{address.host, address.port.toInt(), config.LoginFTP, config.SenhaFTP};
        runWhilePainting([&] { result = busca_->pelaInternet(endpoint, address.directory); });
    } else {
        const QString directory = EdLocalizacao_->text();
        runWhilePainting([&] { result = busca_->doDiretorio(directory); });
    }
    QCoreApplication::processEvents(); // the last progress and the check mark
    BtInterrompe_->setEnabled(false);
    CkProcura_->setVisible(result.desfecho != AtualizaVersao::Desfecho::Falhou || !result.arquivo.isEmpty());
    if (result.desfecho == AtualizaVersao::Desfecho::Obtida) {
        CkTransferindo_->setVisible(true);
        PbTransferencia_->setValue(100);
        instala(result.arquivo, result.versao, recepcao);
    } else {
        EdResultado_->setText(result.texto);
    }
    executando_ = false;
    BtSaida_->setEnabled(true);
    BtSaida_->setFocus();
}

void TFrmAtualizaVersao::instala(const QString& arquivo, const QString& versao, const QString& recepcao) {
    LbAtualiza_->setVisible(true);
    QCoreApplication::processEvents();
    if (InstalaVersao(session_.database(), session_.clock(), session_.prompts(), recepcao, arquivo, versao)) {
        CkAtualiza_->setVisible(true);
        EdResultado_->setText(QStringLiteral("A nova versão foi instalada sem problemas."));
        instalou_ = true;
    } else {
        EdResultado_->setText(QStringLiteral("Ocorreu um Erro na Atualização."));
    }
}
