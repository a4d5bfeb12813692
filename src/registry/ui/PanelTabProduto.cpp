#include "PanelTabProduto.h"
#include "Controls.h"
#include "Widgets.h"

#include "DbError.h"
#include "LinhasProduto.h"
#include "Prompts.h"
#include "Session.h"
#include "Sql.h"
#include "TFrmInclProduto.h"
#include "TFrmSelecionaProduto.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <QTableView>
#include <QVBoxLayout>

namespace {

// Labels of the key fields: black when editable, maroon when the product's key is locked.
void marcaBloqueio(QLabel* label, bool bloqueado) {
    label->setStyleSheet(bloqueado ? QStringLiteral("color: maroon") : QStringLiteral("color: black"));
}

} // namespace

PanelTabProduto::PanelTabProduto(Session& session, QWidget* parent)
    : QWidget(parent), session_(session), tabela_(session) {
    setObjectName(QStringLiteral("PanelTabProdutoConteudo"));
    auto* layout = new QVBoxLayout(this);

    model_ = new QSqlQueryModel(this);
    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("dbgTabProduto"));
    grid_->setModel(model_);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->verticalHeader()->hide();
    Controls::name(grid_, QStringLiteral("Produtos"));
    Controls::showRows(grid_);
    Controls::fitColumns(grid_);
    layout->addWidget(grid_, 1);

    campos_ = new QGroupBox(this);
    campos_->setObjectName(QStringLiteral("grpCamposProduto"));
    auto* form = new QFormLayout(campos_);
    edtMarca_ = Widgets::campo(campos_, QStringLiteral("edtMarca"), Produtos::TamanhoMaximoTexto);
    edtModelo_ = Widgets::campo(campos_, QStringLiteral("edtModelo"), Produtos::TamanhoMaximoTexto);
    edtEANUPC_ = Widgets::campo(campos_, QStringLiteral("edtEANUPC"), 128);
    edtDescricao_ = Widgets::campo(campos_, QStringLiteral("edtDescricao"), Produtos::TamanhoMaximoTexto);
    chkImportado_ = new QCheckBox(QStringLiteral("Produto Importado ?"), campos_);
    chkImportado_->setObjectName(QStringLiteral("chkImportado"));
    lblMarca_ = Controls::caption(QStringLiteral("Marca"), edtMarca_, campos_);
    lblModelo_ = Controls::caption(QStringLiteral("Modelo"), edtModelo_, campos_);
    form->addRow(lblMarca_, campoProdutoComContador(edtMarca_, QStringLiteral("lblTamMarca")));
    form->addRow(lblModelo_, campoProdutoComContador(edtModelo_, QStringLiteral("lblTamModelo")));
    form->addRow(QStringLiteral("EAN/UPC"), edtEANUPC_);
    form->addRow(Controls::caption(QStringLiteral("Descrição"), edtDescricao_, campos_),
                 campoProdutoComContador(edtDescricao_, QStringLiteral("lblTamDescricao")));
    form->addRow(chkImportado_);
    auto* okRow = new QHBoxLayout;
    btnOk_ = Widgets::botao(campos_, QStringLiteral("btnOkProduto"), QStringLiteral("Ok"));
    btnCancela_ = Widgets::botao(campos_, QStringLiteral("btnCancelaProduto"), QStringLiteral("Cancela"));
    okRow->addStretch();
    okRow->addWidget(btnOk_);
    okRow->addWidget(btnCancela_);
    form->addRow(okRow);
    layout->addWidget(campos_);

    auto* botoes = new QHBoxLayout;
    btnIncluir_ = Widgets::botao(this, QStringLiteral("btnIncluiProduto"), QStringLiteral("&Incluir"));
    btnEditar_ = Widgets::botao(this, QStringLiteral("btnEditaProduto"), QStringLiteral("&Editar"));
    btnExcluir_ = Widgets::botao(this, QStringLiteral("btnExcluiProduto"), QStringLiteral("E&xcluir "));
    btnPesquisar_ = Widgets::botao(this, QStringLiteral("btnPesquisaProduto"), QStringLiteral("&Pesquisar"));
    btnSaida_ = Widgets::botao(this, QStringLiteral("btnSaidaProduto"), QStringLiteral("&Saída"));
    for (QPushButton* b : {btnIncluir_, btnEditar_, btnExcluir_, btnPesquisar_})
        botoes->addWidget(b);
    botoes->addStretch();
    botoes->addWidget(btnSaida_);
    layout->addLayout(botoes);

    connect(btnIncluir_, &QPushButton::clicked, this, &PanelTabProduto::incluir);
    connect(btnEditar_, &QPushButton::clicked, this, &PanelTabProduto::editar);
    connect(btnExcluir_, &QPushButton::clicked, this, &PanelTabProduto::excluir);
    connect(btnPesquisar_, &QPushButton::clicked, this, &PanelTabProduto::pesquisar);
    connect(btnOk_, &QPushButton::clicked, this, &PanelTabProduto::ok);
    connect(btnCancela_, &QPushButton::clicked, this, &PanelTabProduto::cancela);
    connect(btnSaida_, &QPushButton::clicked, this, [this] {
        if (tabela_.modo() != TabelaProdutos::Modo::Consulta)
            return;
        model_->clear();
        emit saida();
    });
    modoEdicao(false);
}

void PanelTabProduto::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (tabela_.modo() == TabelaProdutos::Modo::Consulta)
        atualiza(chaveAtual());
}

std::optional<ChaveProduto> PanelTabProduto::chaveAtual() const {
    const QModelIndex current = grid_->currentIndex();
    if (!current.isValid())
        return std::nullopt;
    const QSqlRecord r = model_->record(current.row());
    return ChaveProduto{r.value(0).toString(), r.value(1).toString(), r.value(2).toInt()};
}

void PanelTabProduto::atualiza(const std::optional<ChaveProduto>& localizar) {
    const QSqlDatabase db = session_.database();
    int row = 0;
    try {
        model_->setQuery(LinhasProduto::abreGrade(db, Produtos::consultaTabela()));
        if (localizar)
            row = Produtos::posicaoNaTabela(db, *localizar);
    } catch (const DbError& e) {
        model_->clear();
        session_.prompts().error(e.message());
    }
    const QStringList titulos{
        QStringLiteral("Marca"),      QStringLiteral("Modelo"),  {},
        QStringLiteral("Importado?"), QStringLiteral("EAN/UPC"), QStringLiteral("Descrição")};
    for (int c = 0; c < model_->columnCount() && c < titulos.size(); ++c) {
        grid_->setColumnHidden(c, titulos[c].isEmpty());
        if (!titulos[c].isEmpty())
            model_->setHeaderData(c, Qt::Horizontal, titulos[c]);
    }
    // Rows are read only up to the wanted one; the rest follow as the grid scrolls.
    while (model_->rowCount() <= row && model_->canFetchMore())
        model_->fetchMore();
    row = std::min(row, model_->rowCount() - 1);
    if (row >= 0) {
        grid_->setCurrentIndex(model_->index(row, 0));
        grid_->selectRow(row);
    }
    if (grid_->selectionModel())
        connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                &PanelTabProduto::mostraAtual, Qt::UniqueConnection);
    mostraAtual();
    modoEdicao(false);
}

void PanelTabProduto::mostraAtual() {
    if (tabela_.modo() != TabelaProdutos::Modo::Consulta)
        return;
    const QModelIndex current = grid_->currentIndex();
    const QSqlRecord r = current.isValid() ? model_->record(current.row()) : QSqlRecord();
    edtMarca_->setText(r.value(QStringLiteral("MarcaProd")).toString());
    edtModelo_->setText(r.value(QStringLiteral("ModeloProd")).toString());
    edtEANUPC_->setText(r.value(QStringLiteral("CodEANUPC")).toString());
    edtDescricao_->setText(r.value(QStringLiteral("DescrProd")).toString());
    chkImportado_->setChecked(r.value(QStringLiteral("EImport")).toString() == QLatin1String("Sim"));
}

void PanelTabProduto::modoEdicao(bool editando) {
    const bool temLinhas = model_->rowCount() > 0;
    btnIncluir_->setEnabled(!editando);
    btnEditar_->setEnabled(!editando && temLinhas);
    btnExcluir_->setEnabled(!editando && temLinhas);
    btnPesquisar_->setEnabled(!editando && temLinhas);
    btnSaida_->setEnabled(!editando);
    grid_->setEnabled(!editando);
    campos_->setEnabled(editando);
    btnOk_->setEnabled(editando);
    btnCancela_->setEnabled(editando);
    const bool bloqueado = editando && tabela_.chaveBloqueada();
    edtMarca_->setEnabled(!bloqueado);
    edtModelo_->setEnabled(!bloqueado);
    chkImportado_->setEnabled(!bloqueado);
    marcaBloqueio(lblMarca_, bloqueado);
    marcaBloqueio(lblModelo_, bloqueado);
}

void PanelTabProduto::incluir() {
    tabela_.inclui();
    for (QLineEdit* e : {edtMarca_, edtModelo_, edtEANUPC_, edtDescricao_})
        e->clear();
    chkImportado_->setChecked(false);
    modoEdicao(true);
    edtMarca_->setFocus();
}

void PanelTabProduto::editar() {
    const std::optional<ChaveProduto> chave = chaveAtual();
    if (!chave)
        return;
    try {
        if (!tabela_.edita(*chave)) {
            atualiza();
            return;
        }
    } catch (const DbError& e) {
        session_.prompts().error(e.message());
        return;
    }
    modoEdicao(true);
    if (tabela_.chaveBloqueada())
        edtEANUPC_->setFocus();
    else
        edtMarca_->setFocus();
}

void PanelTabProduto::ok() {
    Produto& p = tabela_.registro();
    p.MarcaProd = edtMarca_->text();
    p.ModeloProd = edtModelo_->text();
    p.CodEANUPC = edtEANUPC_->text();
    p.DescrProd = edtDescricao_->text();
    p.Importado = chkImportado_->isChecked() ? 1 : 0;
    // A refused check or a failed write keeps the fields for the user to mend or cancel.
    if (!tabela_.ok())
        return;
    atualiza(tabela_.registro().chave());
}

void PanelTabProduto::cancela() {
    tabela_.cancela();
    atualiza(chaveAtual());
}

void PanelTabProduto::excluir() {
    const std::optional<ChaveProduto> chave = chaveAtual();
    if (!chave)
        return;
    const int row = grid_->currentIndex().row();
    if (!tabela_.exclui(*chave))
        return;
    atualiza();
    const int keep = std::min(row, model_->rowCount() - 1);
    while (model_->rowCount() <= keep && model_->canFetchMore())
        model_->fetchMore();
    if (keep >= 0)
        grid_->setCurrentIndex(model_->index(keep, 0));
}

void PanelTabProduto::pesquisar() {
    TFrmSelecionaProduto dialog(session_, false, this);
    dialog.exec();
    if (const std::optional<ProdutoEscolhido> p = dialog.escolhido())
        atualiza(ChaveProduto{p->MarcaProd, p->ModeloProd, p->Importado});
}
