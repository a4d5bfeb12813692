#include "TFrmVersaoAnterior.h"

#include "ConfigLocal.h"
#include "InstalaVersao.h"
#include "Prompts.h"
#include "Session.h"
#include "VersaoWidgets.h"
#include "Versoes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

TFrmVersaoAnterior::TFrmVersaoAnterior(Session& session, QWidget* parent)
    : QDialog(parent), session_(session), modelo_(new QStandardItemModel(this)) {
    setObjectName(QStringLiteral("TFrmVersaoAnterior"));
    setWindowTitle(QStringLiteral("Controle de Versões - Instala Versão Anterior"));
    using namespace VersaoWidgets;

    auto* atual = new QGroupBox(QStringLiteral("Versão Atual das Tabelas Auxiliares "), this);
    auto* form = new QFormLayout(atual);
    EdVersaoAtual_ =
        campo(form, atual, QStringLiteral("EdVersaoAtual"), QStringLiteral("Número da Versão: "));
    EdNomeArquivo_ =
        campo(form, atual, QStringLiteral("EdNomeArquivo"), QStringLiteral("Arquivo da Versão: "));

    auto* seleciona = new QGroupBox(QStringLiteral("Seleciona Versão"), this);
    grade_ = grade(seleciona, QStringLiteral("DBGridVersaoAnterior"), seleciona->title());
    grade_->setModel(modelo_);
    (new QVBoxLayout(seleciona))->addWidget(grade_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(atual);
    layout->addWidget(seleciona, 1);
    const Rodape foot = rodape(this, layout);
    LbAtualiza_ = foot.LbAtualiza;
    CkAtualiza_ = foot.CkAtualiza;
    EdResultado_ = foot.EdResultado;
    BtAtualiza_ = foot.BtAtualiza;
    BtCancela_ = foot.BtCancela;
    BtSaida_ = foot.BtSaida;

    connect(BtAtualiza_, &QPushButton::clicked, this, &TFrmVersaoAnterior::atualiza);
    connect(BtCancela_, &QPushButton::clicked, this, &QDialog::reject);
    connect(BtSaida_, &QPushButton::clicked, this, &QDialog::accept);

    mostraVersaoAtual();
    modelo_->setHorizontalHeaderLabels(
        {QStringLiteral("Versão"), QStringLiteral("Arquivo"), QStringLiteral("Data de Instalação")});
    for (const Versoes::Instalacao& row : Versoes::porVersao(session_.database())) {
        modelo_->appendRow({new QStandardItem(row.numero), new QStandardItem(row.arquivo),
                            new QStandardItem(row.dataHora.toString(QStringLiteral("dd/MM/yy hh:mm:ss")))});
    }
    VersaoWidgets::ajustaColunas(grade_);
    if (modelo_->rowCount() > 0)
        grade_->selectRow(0);
    BtAtualiza_->setEnabled(modelo_->rowCount() > 0);
}

void TFrmVersaoAnterior::mostraVersaoAtual() {
    const Versoes::VersaoInstalada installed = Versoes::versaoInstalada(session_.database());
    EdVersaoAtual_->setText(installed.existe() ? installed.numero : QString());
    EdNomeArquivo_->setText(installed.arquivo);
}

void TFrmVersaoAnterior::atualiza() {
    const QModelIndexList selected = grade_->selectionModel()->selectedRows();
    if (selected.isEmpty())
        return;
    BtAtualiza_->setEnabled(false);
    BtCancela_->setEnabled(false);
    const int row = selected.first().row();
    const QString numero = modelo_->item(row, 0)->text();
    const QString arquivo = modelo_->item(row, 1)->text();
    const QString recepcao =
        ConfigLocalTable::load(session_.database()).value_or(ConfigLocal{}).DirLocalRecepAux;

    if (!Versoes::arquivoNaRecepcao(recepcao, arquivo)) {
        const QString text = QStringLiteral("O arquivo da versão anterior não foi encontrado.");
        session_.prompts().error(text);
        EdResultado_->setText(text);
        BtSaida_->setFocus();
        return;
    }
    LbAtualiza_->setVisible(true);
    QCoreApplication::processEvents();
    if (InstalaVersao(session_.database(), session_.clock(), session_.prompts(), recepcao, arquivo, numero)) {
        CkAtualiza_->setVisible(true);
        mostraVersaoAtual();
        EdResultado_->setText(QStringLiteral("A versão anterior foi instalada sem problemas."));
        instalou_ = true;
    } else {
        EdResultado_->setText(QStringLiteral("Ocorreu um Erro na Atualização."));
    }
    BtSaida_->setFocus();
}
