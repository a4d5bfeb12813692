#include "TFrmGeraHistorico.h"

#include "Clock.h"
#include "DateMaskEdit.h"
#include "DbError.h"
#include "Prompts.h"
#include "Session.h"
#include "TDMCertif.h"
#include "Widgets.h"

#include "Controls.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QString FormatoData = QStringLiteral("dd/MM/yyyy");

} // namespace

TFrmGeraHistorico::TFrmGeraHistorico(TDMCertif& certif, EventTable tabela, const QVariantList& chave,
                                     const QString& status, std::optional<QDate> dataEmissao, QWidget* parent)
    : QDialog(parent), dm_(certif, tabela, chave, status, dataEmissao) {
    setObjectName(QStringLiteral("TFrmGeraHistorico"));
    setWindowTitle(QStringLiteral("Histórico"));
    setSizeGripEnabled(true);

    auto* layout = new QVBoxLayout(this);
    model_ = new QStandardItemModel(0, 3, this);
    model_->setHorizontalHeaderLabels(
        {QStringLiteral("Justificativa"), QStringLiteral("Data Cad."), QStringLiteral("Usuário  Cad.")});
    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("GridStatus"));
    grid_->setAccessibleName(QStringLiteral("Histórico"));
    grid_->setModel(model_);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->verticalHeader()->hide();
    Controls::fitColumns(grid_);
    const int linha = grid_->fontMetrics().height() + 6;
    grid_->verticalHeader()->setDefaultSectionSize(linha);
    grid_->setMinimumHeight(grid_->horizontalHeader()->sizeHint().height() + 8 * linha + 4);
    grid_->setMinimumWidth(520);
    layout->addWidget(grid_, 1);

    auto* form = new QFormLayout;
    edtData_ = new DateMaskEdit(this);
    edtData_->setObjectName(QStringLiteral("EdtData"));
    edtJustificativa_ = Widgets::campo(this, QStringLiteral("EdtJustificativa"), 255);
    form->addRow(QStringLiteral("&Data :"), edtData_);
    form->addRow(QStringLiteral("&Justificativa :"), edtJustificativa_);
    layout->addLayout(form);

    auto* botoes = new QHBoxLayout;
    incluir_ = Widgets::botao(this, QStringLiteral("btnInEmpCertEd"), QStringLiteral("&Incluir"), botoes);
    excluir_ = Widgets::botao(this, QStringLiteral("btnExEmpCertEd"), QStringLiteral("E&xcluir "), botoes);
    aplicar_ = Widgets::botao(this, QStringLiteral("btnAplEdEmpCert"), QStringLiteral("Aplicar"), botoes);
    cancelar_ = Widgets::botao(this, QStringLiteral("BtnCancelar"), QStringLiteral("&Cancela"), botoes);
    botoes->addStretch();
    sair_ = Widgets::botao(this, QStringLiteral("BtnSair"), QStringLiteral("&Saída"), botoes);
    layout->addLayout(botoes);

    connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &TFrmGeraHistorico::linhaMudou);
    connect(incluir_, &QPushButton::clicked, this, &TFrmGeraHistorico::incluir);
    connect(excluir_, &QPushButton::clicked, this, &TFrmGeraHistorico::excluir);
    connect(aplicar_, &QPushButton::clicked, this, &TFrmGeraHistorico::aplicar);
    connect(cancelar_, &QPushButton::clicked, this, &TFrmGeraHistorico::cancela);
    connect(sair_, &QPushButton::clicked, this, &QDialog::accept);

    mostra(std::nullopt);
}

std::optional<int> TFrmGeraHistorico::seqAtual() const {
    const int row = grid_->currentIndex().row();
    if (row < 0 || row >= notas_.size())
        return std::nullopt;
    return notas_[row].SeqEvento;
}

void TFrmGeraHistorico::mostra(std::optional<int> localizar) {
    try {
        notas_ = dm_.notas();
    } catch (const DbError& error) {
        notas_.clear();
        dm_.certif().session().prompts().error(error.message());
    }
    model_->removeRows(0, model_->rowCount());
    int posicao = notas_.isEmpty() ? -1 : 0;
    for (int i = 0; i < notas_.size(); ++i) {
        const NotaHistorico& n = notas_[i];
        model_->appendRow({new QStandardItem(n.Justificativa),
                           new QStandardItem(n.Data.date().toString(FormatoData)),
                           new QStandardItem(n.UsuResp)});
        if (localizar && n.SeqEvento == *localizar)
            posicao = i;
    }
    grid_->resizeColumnToContents(1);
    grid_->resizeColumnToContents(2);
    modoNavegacao();
    if (posicao >= 0)
        grid_->setCurrentIndex(model_->index(posicao, 0));
    linhaMudou();
}

void TFrmGeraHistorico::modoNavegacao() {
    incluindo_ = false;
    edtData_->setEnabled(false);
    edtJustificativa_->setEnabled(false);
    grid_->setEnabled(true);
    incluir_->setEnabled(true);
    excluir_->setEnabled(!notas_.isEmpty());
    sair_->setEnabled(true);
    aplicar_->setEnabled(false);
    cancelar_->setEnabled(false);
}

void TFrmGeraHistorico::linhaMudou() {
    if (incluindo_)
        return;
    const int row = grid_->currentIndex().row();
    if (row < 0 || row >= notas_.size()) {
        edtData_->limpa();
        edtJustificativa_->clear();
        return;
    }
    edtData_->setData(notas_[row].Data.date());
    edtJustificativa_->setText(notas_[row].Justificativa);
}

void TFrmGeraHistorico::incluir() {
    incluindo_ = true;
    edtData_->setData(dm_.certif().session().clock().today());
    edtJustificativa_->clear();
    edtData_->setEnabled(true);
    edtJustificativa_->setEnabled(true);
    aplicar_->setEnabled(true);
    cancelar_->setEnabled(true);
    grid_->setEnabled(false);
    incluir_->setEnabled(false);
    excluir_->setEnabled(false);
    sair_->setEnabled(false);
    edtJustificativa_->setFocus();
}

void TFrmGeraHistorico::aplicar() {
    if (!incluindo_)
        return;
    const std::optional<int> seq = dm_.inclui(edtJustificativa_->text(), edtData_->textoData());
    if (!seq)
        return; // a refused entry stays on screen to be corrected
    mostra(seq);
}

void TFrmGeraHistorico::cancela() {
    const std::optional<int> atual = seqAtual();
    edtData_->limpa();
    edtJustificativa_->clear();
    mostra(atual);
}

void TFrmGeraHistorico::excluir() {
    const std::optional<int> seq = seqAtual();
    if (!seq || incluindo_)
        return;
    dm_.exclui(*seq);
    mostra(std::nullopt);
}
