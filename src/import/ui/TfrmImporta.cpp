#include "TfrmImporta.h"

#include "Prompts.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// A list never shorter than eight rows.
QListWidget* lista(const QString& nome, QWidget* parent) {
    auto* l = new QListWidget(parent);
    l->setObjectName(nome);
    const int linha = l->fontMetrics().lineSpacing() + 2;
    l->setMinimumHeight(8 * linha + 2 * l->frameWidth() + 4);
    return l;
}

// A caption naming the control it stands over (its accessible name too).
QLabel* rotulo(const QString& texto, QWidget* controle, QWidget* parent) {
    auto* label = new QLabel(texto, parent);
    label->setBuddy(controle);
    QString nome = texto;
    controle->setAccessibleName(nome.remove(QLatin1Char('&')).remove(QLatin1Char(':')));
    return label;
}

QProgressBar* barra(const QString& nome, QWidget* parent) {
    auto* b = new QProgressBar(parent);
    b->setObjectName(nome);
    b->setRange(0, 1);
    b->setValue(0);
    return b;
}

QCheckBox* marca(const QString& nome, const QString& texto, QWidget* parent) {
    auto* c = new QCheckBox(texto, parent);
    c->setObjectName(nome);
    c->setChecked(true);
    c->setEnabled(false); // a mark of a finished stage, not a choice
    c->setVisible(false);
    return c;
}

QPushButton* botao(const QString& nome, const QString& texto, QWidget* parent) {
    auto* b = new QPushButton(texto, parent);
    b->setObjectName(nome);
    b->setAutoDefault(false);
    return b;
}

const QString Subir = QStringLiteral("..");

} // namespace

TfrmImporta::TfrmImporta(ImportacaoTxt::Parametros parametros, QString diretorioInicial, QWidget* parent)
    : QDialog(parent), importacao_(parametros), prompts_(parametros.prompts),
      diretorioInicial_(std::move(diretorioInicial)) {
    setObjectName(QStringLiteral("frmImporta"));
    setWindowTitle(QStringLiteral("Importador de arquivo txt"));
    setSizeGripEnabled(true);

    auto* topo = new QHBoxLayout;
    topo->addWidget(montaDiretorios(), 1);
    topo->addWidget(montaAndamento(), 1);

    btImportar_ = botao(QStringLiteral("BitBtn2"), QStringLiteral("Importar para o Banco de dados"), this);
    btNovo_ = botao(QStringLiteral("BtnCancel"), QStringLiteral("&Novo Processamento"), this);
    btErros_ = botao(QStringLiteral("SpeedButton1"), QStringLiteral("Erros de Importação"), this);
    btSair_ = botao(QStringLiteral("BitBtn1"), QStringLiteral("&Sair"), this);
    btImportar_->setEnabled(false);
    btErros_->setEnabled(false);
    auto* botoes = new QHBoxLayout;
    botoes->addWidget(btImportar_);
    botoes->addWidget(btNovo_);
    botoes->addWidget(btErros_);
    botoes->addStretch();
    botoes->addWidget(btSair_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(topo, 1);
    layout->addLayout(botoes);

    connect(btImportar_, &QPushButton::clicked, this, &TfrmImporta::importa);
    connect(btNovo_, &QPushButton::clicked, this, &TfrmImporta::novoProcessamento);
    connect(btSair_, &QPushButton::clicked, this, &QDialog::reject);
    connect(btErros_, &QPushButton::clicked, this, [this] { importacao_.mostraErros(); });

    AcompanhamentoImportacao a;
    const auto pinta = [] { QApplication::processEvents(QEventLoop::ExcludeUserInputEvents); };
    a.inicioArquivo = [this, pinta](const QString&, int linhas) {
        pbImportaTxt_->setRange(0, std::max(linhas, 1));
        pbImportaTxt_->setValue(0);
        pbAtualizaBD_->setValue(0);
        pbCertCompleto_->setValue(0);
        ckAtualiza_->setVisible(false);
        ckCertCompleto_->setVisible(false);
        importadas_->clear();
        pinta();
    };
    a.linhaLida = [this, pinta](int linha) {
        pbImportaTxt_->setValue(std::min(linha, pbImportaTxt_->maximum()));
        if (linha % 200 == 0)
            pinta();
    };
    a.lote = [this, pinta](const QStringList& estruturas) {
        importadas_->clear();
        importadas_->addItems(estruturas);
        pbAtualizaBD_->setRange(0, std::max(int(estruturas.size()), 1));
        pbAtualizaBD_->setValue(0);
        gravadosNoLote_ = 0;
        pinta();
    };
    // Each record's fields, as read, on its line of the list.
    a.camposDoLote = [this](const QList<QStringList>& campos) {
        for (int i = 0; i < campos.size() && i < importadas_->count(); ++i)
            importadas_->item(i)->setToolTip(campos[i].join(QLatin1Char('\n')));
    };
    a.registroGravado = [this](int, int) { pbAtualizaBD_->setValue(++gravadosNoLote_); };
    a.aviso = [this](const QString& aviso) { avisos_->addItem(aviso); };
    a.atualizacaoConcluida = [this, pinta] {
        ckAtualiza_->setVisible(true);
        pinta();
    };
    a.certificadoVisto = [this](int vistos, int total) {
        pbCertCompleto_->setRange(0, std::max(total, 1));
        pbCertCompleto_->setValue(vistos);
    };
    a.certificadosConcluidos = [this, pinta] {
        ckCertCompleto_->setVisible(true);
        pinta();
    };
    importacao_.setAcompanhamento(a);

    mudaDiretorio(diretorioInicial_);
}

QWidget* TfrmImporta::montaDiretorios() {
    auto* grupo = new QGroupBox(QStringLiteral("Arquivos a importar"), this);
    drives_ = new QComboBox(grupo);
    drives_->setObjectName(QStringLiteral("DriveComboBox1"));
    for (const QFileInfo& drive : QDir::drives())
        drives_->addItem(QDir::toNativeSeparators(drive.absoluteFilePath()), drive.absoluteFilePath());
    lblDiretorio_ = new QLabel(grupo);
    lblDiretorio_->setObjectName(QStringLiteral("lblDiretorio"));
    lblDiretorio_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblDiretorio_->setWordWrap(true);
    lblDiretorio_->setAccessibleName(QStringLiteral("Diretório atual"));
    diretorios_ = lista(QStringLiteral("DirectoryListBox1"), grupo);
    arquivos_ = lista(QStringLiteral("FileListBox1"), grupo);
    arquivos_->setSelectionMode(QAbstractItemView::NoSelection);

    auto* layout = new QVBoxLayout(grupo);
    layout->addWidget(rotulo(QStringLiteral("&Unidade:"), drives_, grupo));
    layout->addWidget(drives_);
    layout->addWidget(rotulo(QStringLiteral("&Diretório:"), diretorios_, grupo));
    layout->addWidget(lblDiretorio_);
    layout->addWidget(diretorios_, 1);
    layout->addWidget(rotulo(QStringLiteral("Arquivos (TX-*.txt):"), arquivos_, grupo));
    layout->addWidget(arquivos_, 1);

    connect(drives_, &QComboBox::activated, this,
            [this](int i) { mudaDiretorio(drives_->itemData(i).toString()); });
    connect(diretorios_, &QListWidget::itemActivated, this, &TfrmImporta::entraEm);
    return grupo;
}

QWidget* TfrmImporta::montaAndamento() {
    auto* grupo = new QGroupBox(QStringLiteral("Andamento"), this);
    importadas_ = lista(QStringLiteral("LBoxImportadas"), grupo);
    avisos_ = lista(QStringLiteral("LBoxAvisos"), grupo);
    pbImportaTxt_ = barra(QStringLiteral("PbImportaTXT"), grupo);
    pbAtualizaBD_ = barra(QStringLiteral("PbAtualizaBD"), grupo);
    pbCertCompleto_ = barra(QStringLiteral("PbCertcOMPLETO"), grupo);
    ckAtualiza_ = marca(QStringLiteral("CkAtualiza"), QStringLiteral("Tabelas atualizadas"), grupo);
    ckCertCompleto_ = marca(QStringLiteral("ckCertCompleto"),
                            QStringLiteral("Certificados completos identificados"), grupo);

    auto* layout = new QGridLayout(grupo);
    int r = 0;
    layout->addWidget(rotulo(QStringLiteral("Estruturas identificadas"), importadas_, grupo), r++, 0, 1, 2);
    layout->addWidget(importadas_, r++, 0, 1, 2);
    layout->addWidget(rotulo(QStringLiteral("Linhas não importadas"), avisos_, grupo), r++, 0, 1, 2);
    layout->addWidget(avisos_, r++, 0, 1, 2);
    layout->addWidget(rotulo(QStringLiteral("Validando os dados do Arquivo Texto"), pbImportaTxt_, grupo),
                      r++, 0, 1, 2);
    layout->addWidget(pbImportaTxt_, r++, 0, 1, 2);
    layout->addWidget(rotulo(QStringLiteral("Atualizando tabelas de dados"), pbAtualizaBD_, grupo), r++, 0, 1,
                      2);
    layout->addWidget(pbAtualizaBD_, r, 0);
    layout->addWidget(ckAtualiza_, r++, 1);
    layout->addWidget(rotulo(QStringLiteral("Identificando certificados completos"), pbCertCompleto_, grupo),
                      r++, 0, 1, 2);
    layout->addWidget(pbCertCompleto_, r, 0);
    layout->addWidget(ckCertCompleto_, r++, 1);
    layout->setRowStretch(1, 1);
    layout->setRowStretch(3, 1);
    layout->setColumnStretch(0, 1);
    return grupo;
}

void TfrmImporta::mudaDiretorio(const QString& caminho) {
    const QDir dir(caminho);
    if (!dir.exists())
        return;
    diretorio_ = dir.absolutePath();
    lblDiretorio_->setText(QDir::toNativeSeparators(diretorio_));
    const int drive = drives_->findData(QDir(diretorio_).rootPath());
    if (drive >= 0)
        drives_->setCurrentIndex(drive);
    diretorios_->clear();
    if (!dir.isRoot())
        diretorios_->addItem(Subir);
    diretorios_->addItems(dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase));
    atualizaArquivos();
}

void TfrmImporta::entraEm(QListWidgetItem* item) {
    if (!item || !diretorios_->isEnabled())
        return;
    QDir dir(diretorio_);
    if (item->text() == Subir ? dir.cdUp() : dir.cd(item->text()))
        mudaDiretorio(dir.absolutePath());
}

void TfrmImporta::atualizaArquivos() {
    arquivos_->clear();
    arquivos_->addItems(ImportacaoTxt::arquivosDoDiretorio(diretorio_));
    const bool temArquivos = arquivos_->count() > 0;
    btImportar_->setEnabled(temArquivos);
    if (temArquivos)
        prompts_->information(QStringLiteral(
            "IMPORTANTE: Se o tamanho do arquivo a ser importado exceder a capacidade de memória RAM deste "
            "equipamento a rotina poderá ser interrompida antes do término."));
}

void TfrmImporta::habilitaEscolha(bool habilita) {
    drives_->setEnabled(habilita);
    diretorios_->setEnabled(habilita);
    arquivos_->setEnabled(habilita);
}

void TfrmImporta::importa() {
    QStringList nomes;
    for (int i = 0; i < arquivos_->count(); ++i)
        nomes << arquivos_->item(i)->text();
    if (nomes.isEmpty())
        return;
    btImportar_->setEnabled(false);
    btNovo_->setEnabled(false);
    btSair_->setEnabled(false);
    btErros_->setEnabled(false);
    habilitaEscolha(false);
    avisos_->clear();

    importacao_.importa(diretorio_, nomes);

    btErros_->setEnabled(!importacao_.falhas().isEmpty());
    novoProcessamento();
}

void TfrmImporta::novoProcessamento() {
    importadas_->clear();
    for (QProgressBar* b : {pbImportaTxt_, pbAtualizaBD_, pbCertCompleto_}) {
        b->setRange(0, 1);
        b->setValue(0);
    }
    ckAtualiza_->setVisible(false);
    ckCertCompleto_->setVisible(false);
    btNovo_->setEnabled(true);
    btSair_->setEnabled(true);
    habilitaEscolha(true);
    mudaDiretorio(diretorioInicial_);
}
