#include "PanelSignatarios.h"
#include "Controls.h"
#include "Widgets.h"

#include "DbError.h"
#include "Prompts.h"
#include "Session.h"

#include <QButtonGroup>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace {} // namespace

PanelSignatarios::PanelSignatarios(Session& session, QWidget* parent)
    : QWidget(parent), session_(session), cadastro_(session) {
    setObjectName(QStringLiteral("Signatarios"));
    buildUi();
    aplicaModo();
}

void PanelSignatarios::buildUi() {
    auto* layout = new QVBoxLayout(this);

    // The list is small (a certifier has a handful of signatories): read whole into the grid.
    model_ = new QStandardItemModel(0, 2, this);
    model_->setHorizontalHeaderLabels({QStringLiteral("Signatário"), QStringLiteral("Default")});
    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("DBGridSignatarios"));
    grid_->setModel(model_);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->verticalHeader()->hide();
    Controls::name(grid_, QStringLiteral("Signatários"));
    Controls::showRows(grid_);
    Controls::fitColumns(grid_);
    layout->addWidget(grid_, 1);

    grupo_ = new QGroupBox(QStringLiteral("Signatário (s)"), this);
    grupo_->setObjectName(QStringLiteral("GroupSignatario"));
    auto* grupoLayout = new QVBoxLayout(grupo_);
    auto* form = new QFormLayout;
    nome_ = new QLineEdit(grupo_);
    nome_->setObjectName(QStringLiteral("edtSignatario"));
    nome_->setMaxLength(255);
    form->addRow(QStringLiteral("&Nome"), nome_);
    grupoLayout->addLayout(form);
    grupoDefault_ = new QGroupBox(QStringLiteral(" Defaut "), grupo_);
    grupoDefault_->setObjectName(QStringLiteral("rgDefault"));
    auto* defaultLayout = new QHBoxLayout(grupoDefault_);
    sim_ = new QRadioButton(QStringLiteral("Sim"), grupoDefault_);
    sim_->setObjectName(QStringLiteral("rbDefaultSim"));
    nao_ = new QRadioButton(QStringLiteral("Não"), grupoDefault_);
    nao_->setObjectName(QStringLiteral("rbDefaultNao"));
    // Exclusive by hand, so both can be cleared on "Cancelar".
    auto* exclusivos = new QButtonGroup(grupoDefault_);
    exclusivos->setExclusive(false);
    exclusivos->addButton(sim_);
    exclusivos->addButton(nao_);
    connect(sim_, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            nao_->setChecked(false);
    });
    connect(nao_, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            sim_->setChecked(false);
    });
    defaultLayout->addWidget(sim_);
    defaultLayout->addWidget(nao_);
    defaultLayout->addStretch();
    grupoLayout->addWidget(grupoDefault_);
    auto* editorBotoes = new QHBoxLayout;
    editorBotoes->addStretch();
    aplica_ = Widgets::botao(grupo_, QStringLiteral("btnAplicaSignatario"), QStringLiteral("Aplicar"));
    cancela_ = Widgets::botao(grupo_, QStringLiteral("btnCancelaSignatario"), QStringLiteral("Cancelar"));
    editorBotoes->addWidget(aplica_);
    editorBotoes->addWidget(cancela_);
    grupoLayout->addLayout(editorBotoes);
    layout->addWidget(grupo_);

    auto* botoes = new QHBoxLayout;
    inclui_ = Widgets::botao(this, QStringLiteral("btnIncluiSignatario"), QStringLiteral("&Incluir"));
    edita_ = Widgets::botao(this, QStringLiteral("btnEditaSignatario"), QStringLiteral("&Editar"));
    exclui_ = Widgets::botao(this, QStringLiteral("btnExcluiSignatario"), QStringLiteral("E&xcluir "));
    auto* sai = Widgets::botao(this, QStringLiteral("btnSaidaSignatario"), QStringLiteral("&Saída"));
    botoes->addWidget(inclui_);
    botoes->addWidget(edita_);
    botoes->addWidget(exclui_);
    botoes->addStretch();
    botoes->addWidget(sai);
    layout->addLayout(botoes);

    connect(inclui_, &QPushButton::clicked, this, &PanelSignatarios::incluir);
    connect(edita_, &QPushButton::clicked, this, &PanelSignatarios::editar);
    connect(exclui_, &QPushButton::clicked, this, &PanelSignatarios::excluir);
    connect(aplica_, &QPushButton::clicked, this, &PanelSignatarios::aplicar);
    connect(cancela_, &QPushButton::clicked, this, &PanelSignatarios::cancelar);
    connect(sai, &QPushButton::clicked, this, [this] {
        cancelar();
        emit saida();
    });
}

void PanelSignatarios::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!cadastro_.editando())
        abre();
}

int PanelSignatarios::idAtual() const {
    const int row = grid_->currentIndex().row();
    return row >= 0 && row < linhas_.size() ? linhas_[row].id : 0;
}

void PanelSignatarios::abre() {
    const int atual = idAtual();
    try {
        linhas_ = Signatarios::lista(session_.database());
    } catch (const DbError& error) {
        linhas_.clear();
        session_.prompts().error(error.message());
    }
    model_->removeRows(0, model_->rowCount());
    int row = linhas_.isEmpty() ? -1 : 0;
    for (int r = 0; r < linhas_.size(); ++r) {
        const Signatario& s = linhas_[r];
        model_->appendRow({new QStandardItem(s.nome),
                           new QStandardItem(s.padrao ? QStringLiteral("S") : QStringLiteral("N"))});
        if (s.id == atual)
            row = r;
    }
    if (row >= 0)
        grid_->selectRow(row);
    grid_->setCurrentIndex(row >= 0 ? model_->index(row, 0) : QModelIndex());
    aplicaModo();
}

void PanelSignatarios::mostraAtual() {
    const int row = grid_->currentIndex().row();
    if (row < 0 || row >= linhas_.size())
        return;
    nome_->setText(linhas_[row].nome);
    sim_->setChecked(linhas_[row].padrao);
    nao_->setChecked(!linhas_[row].padrao);
}

void PanelSignatarios::aplicaModo() {
    const bool editando = cadastro_.editando();
    const bool temLinha = idAtual() != 0;
    inclui_->setEnabled(!editando);
    edita_->setEnabled(!editando && temLinha);
    exclui_->setEnabled(!editando && temLinha);
    grid_->setEnabled(!editando);
    grupo_->setEnabled(editando);
    aplica_->setEnabled(editando);
    cancela_->setEnabled(editando);
    // A signatory being deleted is shown, not edited.
    const bool digita = editando && cadastro_.operacao() != CadastroSignatarios::Operacao::Excluir;
    nome_->setReadOnly(!digita);
    grupoDefault_->setEnabled(digita);
}

void PanelSignatarios::incluir() {
    if (!cadastro_.incluir())
        return;
    nome_->clear();
    nao_->setChecked(true);
    aplicaModo();
    nome_->setFocus();
}

void PanelSignatarios::editar() {
    const int id = idAtual();
    if (id == 0)
        return;
    cadastro_.editar(id);
    mostraAtual();
    aplicaModo();
    nome_->setFocus();
}

void PanelSignatarios::excluir() {
    const int id = idAtual();
    if (id == 0)
        return;
    cadastro_.excluir(id);
    mostraAtual();
    aplicaModo();
}

void PanelSignatarios::aplicar() {
    if (!cadastro_.aplicar(nome_->text(), sim_->isChecked()))
        return; // the box was shown; the panel stays in edit mode
    cancelar();
    abre();
}

void PanelSignatarios::cancelar() {
    cadastro_.cancelar();
    nome_->clear();
    sim_->setChecked(false);
    nao_->setChecked(false);
    aplicaModo();
}
