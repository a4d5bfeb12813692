#include "TFrmEnviaTXT_FTP.h"

#include "ConfigLocal.h"
#include "Controls.h"
#include "EnvioTXT.h"
#include "Prompts.h"
#include "Session.h"
#include "SharedBatchState.h"
#include "TFrmSelecaoTransferencia.h"

#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QStorageInfo>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

using namespace EntregaWidgets;

namespace {

const QString Acima = QStringLiteral("..");

} // namespace

TFrmEnviaTXT_FTP::TFrmEnviaTXT_FTP(Session& session, SharedBatchState& state, QWidget* parent)
    : QDialog(parent), session_(session), state_(state) {
    setObjectName(QStringLiteral("TFrmEnviaTXT_FTP"));
    setWindowTitle(QStringLiteral("Transfere arquivo TXT "));
    const ConfigLocal config = ConfigLocalTable::load(session.database()).value_or(ConfigLocal{});
    sigla_ = config.SiglaCertificador;

    auto* localizacao = new QGroupBox(QStringLiteral("Localização do Arquivo "), this);
    DriveComboBox1_ = new QComboBox(localizacao);
    DriveComboBox1_->setObjectName(QStringLiteral("DriveComboBox1"));
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
        if (volume.isValid() && volume.isReady() && DriveComboBox1_->findText(volume.rootPath()) < 0)
            DriveComboBox1_->addItem(volume.rootPath());
    LbDiretorio_ = new QLabel(localizacao);
    LbDiretorio_->setObjectName(QStringLiteral("LbDiretorio"));
    LbDiretorio_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    DirectoryListBox1_ = new QListWidget(localizacao);
    DirectoryListBox1_->setObjectName(QStringLiteral("DirectoryListBox1"));
    LbarquivoTXT_ = new QListWidget(localizacao);
    LbarquivoTXT_->setObjectName(QStringLiteral("LbarquivoTXT"));
    BtTransfere_ = botao(localizacao, QStringLiteral("BtTransfere"),
                         QStringLiteral("Transfere Arquivo para o KAVOREL..."));
    auto* grade = new QGridLayout(localizacao);
    grade->addWidget(Controls::caption(QStringLiteral("&Unidade:"), DriveComboBox1_, localizacao), 0, 0);
    grade->addWidget(DriveComboBox1_, 1, 0);
    grade->addWidget(Controls::caption(QStringLiteral("&Diretório:"), DirectoryListBox1_, localizacao), 2, 0);
    grade->addWidget(LbDiretorio_, 3, 0);
    grade->addWidget(DirectoryListBox1_, 4, 0);
    grade->addWidget(
        Controls::caption(QStringLiteral("&Arquivos a serem enviados:"), LbarquivoTXT_, localizacao), 0, 1);
    grade->addWidget(LbarquivoTXT_, 1, 1, 4, 1);
    grade->addWidget(BtTransfere_, 5, 1, Qt::AlignRight);
    grade->setColumnStretch(0, 1);
    grade->setColumnStretch(1, 1);

    auto* eventos = new QGroupBox(QStringLiteral("Evento de Remessa"), this);
    QryControle_TXT_ = new QStandardItemModel(0, 4, this);
    QryControle_TXT_->setObjectName(QStringLiteral("QryControle_TXT"));
    QryControle_TXT_->setHorizontalHeaderLabels({QStringLiteral("Arquivo Enviado"),
                                                 QStringLiteral("Data de Envio"), QStringLiteral("Usuário"),
                                                 QStringLiteral("Enviado ao KAVOREL")});
    GrControleTXT_ = new QTableView(eventos);
    GrControleTXT_->setObjectName(QStringLiteral("GrControleTXT"));
    GrControleTXT_->setAccessibleName(QStringLiteral("Arquivos TXT enviados"));
    GrControleTXT_->setModel(QryControle_TXT_);
    GrControleTXT_->setSelectionBehavior(QAbstractItemView::SelectRows);
    GrControleTXT_->setSelectionMode(QAbstractItemView::SingleSelection);
    GrControleTXT_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GrControleTXT_->verticalHeader()->hide();
    Controls::showRows(GrControleTXT_);
    Controls::fitColumns(GrControleTXT_);
    (new QVBoxLayout(eventos))->addWidget(GrControleTXT_);

    BitBtn1_ = botao(this, QStringLiteral("BitBtn1"), QStringLiteral("&Sair"));
    auto* rodape = new QHBoxLayout;
    rodape->addStretch(1);
    rodape->addWidget(BitBtn1_);

    auto* layout = new QHBoxLayout;
    layout->addWidget(localizacao, 1);
    layout->addWidget(eventos, 1);
    auto* principal = new QVBoxLayout(this);
    principal->addLayout(layout, 1);
    principal->addLayout(rodape);

    connect(DriveComboBox1_, &QComboBox::activated, this,
            [this](int index) { setDiretorio(DriveComboBox1_->itemText(index)); });
    connect(DirectoryListBox1_, &QListWidget::itemActivated, this, &TFrmEnviaTXT_FTP::entraDiretorio);
    connect(BtTransfere_, &QPushButton::clicked, this, &TFrmEnviaTXT_FTP::BtTransfereClick);
    connect(BitBtn1_, &QPushButton::clicked, this, &QDialog::accept);

    const QString inicio = SharedBatchState::withTrailingSlash(config.DirLocalTransf);
    setDiretorio(!config.DirLocalTransf.isEmpty() && QDir(inicio).exists() ? inicio : QDir::homePath());
    atualizaRegistro();
}

void TFrmEnviaTXT_FTP::setDiretorio(const QString& diretorio) {
    diretorio_ = SharedBatchState::withTrailingSlash(QDir(diretorio).absolutePath());
    LbDiretorio_->setText(QDir::toNativeSeparators(diretorio_));
    DirectoryListBox1_->clear();
    const QDir dir(diretorio_);
    if (!dir.isRoot())
        DirectoryListBox1_->addItem(Acima);
    DirectoryListBox1_->addItems(
        dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase));
    const int drive = DriveComboBox1_->findText(QStorageInfo(diretorio_).rootPath());
    if (drive >= 0)
        DriveComboBox1_->setCurrentIndex(drive);
    listaArquivos();
}

void TFrmEnviaTXT_FTP::entraDiretorio(QListWidgetItem* item) {
    if (!item)
        return;
    QDir dir(diretorio_);
    if (item->text() == Acima ? dir.cdUp() : dir.cd(item->text()))
        setDiretorio(dir.absolutePath());
}

void TFrmEnviaTXT_FTP::listaArquivos() {
    LbarquivoTXT_->clear();
    LbarquivoTXT_->addItems(EnvioTXT::arquivosElegiveis(diretorio_, sigla_));
}

void TFrmEnviaTXT_FTP::atualizaRegistro() {
    QryControle_TXT_->removeRows(0, QryControle_TXT_->rowCount());
    for (const EnvioTXT::Registro& row : EnvioTXT::registros(session_.database())) {
        QList<QStandardItem*> items{
            new QStandardItem(row.NomeArquivo),
            new QStandardItem(row.DataHoraEvento.toString(QStringLiteral("dd/MM/yy hh:mm:ss"))),
            new QStandardItem(row.UsuResp), new QStandardItem(row.ArquivoEnviado())};
        QryControle_TXT_->appendRow(items);
    }
    // Every column whole: the grid is at least as wide as its columns.
    QHeaderView* header = GrControleTXT_->horizontalHeader();
    GrControleTXT_->resizeColumnsToContents();
    int width = 2 * GrControleTXT_->frameWidth() + GrControleTXT_->verticalScrollBar()->sizeHint().width();
    for (int column = 0; column < header->count(); ++column)
        width += GrControleTXT_->columnWidth(column);
    GrControleTXT_->setMinimumWidth(std::max(GrControleTXT_->minimumWidth(), width));
}

void TFrmEnviaTXT_FTP::BtTransfereClick() {
    const QListWidgetItem* item = LbarquivoTXT_->currentItem();
    const QString nome = item && item->isSelected() ? item->text() : QString();
    if (const QString problema = EnvioTXT::problemaEnvio(session_.database(), nome); !problema.isEmpty()) {
        session_.prompts().information(problema);
        return;
    }
    EnvioTXT::carregaEstado(state_, session_.database(), session_.user(), diretorio_);
    TFrmSelecaoTransferencia selecao(session_, state_, nome, this);
    selecao.setComprovante(comprovante_);
    selecao.exec();
    atualizaRegistro();
    listaArquivos();
}
