#include "TFrmSelecionaProduto.h"
#include "Controls.h"
#include "Widgets.h"

#include "DbError.h"
#include "Prompts.h"
#include "SelecaoGrade.h"
#include "Session.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

// Columns of the statement: 0 MarcaProd, 1 ModeloProd, 2 Importado, 3 CodEANUPC.
const QList<std::pair<int, QString>>& titulos() {
    static const QList<std::pair<int, QString>> list = {
        {0, QStringLiteral("Marca")},
        {1, QStringLiteral("Modelo")},
        {2, QStringLiteral("Importado?")},
        {3, QStringLiteral("EAN/UPC")},
    };
    return list;
}

QLineEdit* novoCampo(QWidget* parent, const QString& name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    return edit;
}

} // namespace

TFrmSelecionaProduto::TFrmSelecionaProduto(Session& session, bool mostraNovo, QWidget* parent)
    : QDialog(parent), session_(session), mostraNovo_(mostraNovo) {
    setObjectName(QStringLiteral("FrmSelecionaProduto"));
    setWindowTitle(QStringLiteral("Seleciona Produto"));
    buildUi();
}

TFrmSelecionaProduto::~TFrmSelecionaProduto() = default;

void TFrmSelecionaProduto::setInclusaoDeProduto(std::function<std::optional<ProdutoEscolhido>()> inclui) {
    inclui_ = std::move(inclui);
}

void TFrmSelecionaProduto::buildUi() {
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    edtMarca_ = novoCampo(this, QStringLiteral("edtMarca"));
    edtModelo_ = novoCampo(this, QStringLiteral("edtModelo"));
    edtEANUPC_ = novoCampo(this, QStringLiteral("edtEANUPC"));
    form->addRow(QStringLiteral("Marca"), edtMarca_);
    form->addRow(QStringLiteral("Modelo"), edtModelo_);
    form->addRow(QStringLiteral("Código EAN/UPC"), edtEANUPC_);
    cbxImportado_ = new QComboBox(this);
    cbxImportado_->setObjectName(QStringLiteral("cbxImportado"));
    cbxImportado_->addItems({QStringLiteral("(Todos)"), QStringLiteral("Sim"), QStringLiteral("Não")});
    form->addRow(QStringLiteral("Importado (Sim/Não):"), cbxImportado_);
    layout->addLayout(form);

    auto* acoes = new QHBoxLayout;
    auto* btnFiltra = new QPushButton(QStringLiteral("Filtra"), this);
    btnFiltra->setObjectName(QStringLiteral("btnFiltra"));
    btnNovo_ = new QPushButton(QStringLiteral("Novo..."), this);
    btnNovo_->setObjectName(QStringLiteral("btnNovo"));
    acoes->addWidget(btnFiltra);
    acoes->addWidget(btnNovo_);
    acoes->addStretch();
    acoes->addWidget(new QLabel(QStringLiteral("Produtos"), this));
    lblQuant_ = new QLabel(QStringLiteral("0"), this);
    lblQuant_->setObjectName(QStringLiteral("lblQuant"));
    acoes->addWidget(lblQuant_);
    layout->addLayout(acoes);

    model_ = new ModeloSelecao(this);
    model_->setFormatador([](const QSqlQueryModel& model, const QModelIndex& index) -> QVariant {
        if (index.column() == 2) // EImportado
            return model.QSqlQueryModel::data(index).toInt() == 1 ? QStringLiteral("Sim")
                                                                  : QStringLiteral("Não");
        return {};
    });
    grid_ = novaGrade(this, QStringLiteral("dbgProdutos"), model_);
    Controls::name(grid_, QStringLiteral("Produtos"));
    layout->addWidget(grid_, 1);
    connect(grid_->horizontalHeader(), &QHeaderView::sectionClicked, this, &TFrmSelecionaProduto::ordena);

    const auto [ok, cancela] = Widgets::botoesOkCancela(this, layout);

    for (auto* b : {btnFiltra, btnNovo_})
        b->setAutoDefault(false);
    connect(btnFiltra, &QPushButton::clicked, this, &TFrmSelecionaProduto::filtra);
    connect(btnNovo_, &QPushButton::clicked, this, &TFrmSelecionaProduto::novo);
    connect(ok, &QPushButton::clicked, this, &TFrmSelecionaProduto::ok);
    connect(cancela, &QPushButton::clicked, this, [this] {
        escolhido_.reset();
        model_->clear();
        reject();
    });
    resize(640, 480);
}

void TFrmSelecionaProduto::showEvent(QShowEvent* event) {
    btnNovo_->setVisible(mostraNovo_);
    if (!listado_) {
        listado_ = true;
        filtro_ = {};
        ordem_ = ProdOrdem::Nenhuma;
        executa();
    }
    QDialog::showEvent(event);
}

void TFrmSelecionaProduto::filtra() {
    filtro_ = {};
    filtro_.marca = edtMarca_->text();
    filtro_.modelo = edtModelo_->text();
    filtro_.codEANUPC = edtEANUPC_->text();
    filtro_.importado = static_cast<FiltroImportado>(cbxImportado_->currentIndex());
    ordem_ = ProdOrdem::Nenhuma;
    executa();
    edtMarca_->clear();
    edtModelo_->clear();
    edtEANUPC_->clear();
}

void TFrmSelecionaProduto::ordena(int column) {
    ordem_ = ordemDaColunaProduto(column);
    executa();
}

void TFrmSelecionaProduto::executa() {
    try {
        const int rows =
            carregaGrade(grid_, model_, session_.database(), consultaProdutos(filtro_, ordem_), titulos());
        lblQuant_->setText(QString::number(rows));
    } catch (const DbError& e) {
        model_->clear();
        lblQuant_->setText(QStringLiteral("0"));
        session_.prompts().error(e.message());
    }
}

std::optional<ProdutoEscolhido> TFrmSelecionaProduto::linhaAtual() const {
    const QModelIndex current = grid_->currentIndex();
    if (!current.isValid())
        return std::nullopt;
    const int row = current.row();
    ProdutoEscolhido p{model_->valor(row, QStringLiteral("MarcaProd")).toString(),
                       model_->valor(row, QStringLiteral("ModeloProd")).toString(),
                       model_->valor(row, QStringLiteral("Importado")).toInt(),
                       model_->valor(row, QStringLiteral("CodEANUPC")).toString()};
    if (p.MarcaProd.isEmpty())
        return std::nullopt;
    return p;
}

void TFrmSelecionaProduto::ok() {
    escolhido_ = linhaAtual();
    if (escolhido_)
        accept();
}

void TFrmSelecionaProduto::novo() {
    const std::optional<ProdutoEscolhido> novo = inclui_ ? inclui_() : std::nullopt;
    if (!novo) {
        session_.prompts().message(QStringLiteral("Aviso"), QStringLiteral("Nenhum Produto Novo Incluido"));
        return;
    }
    filtro_ = {};
    filtro_.exato = ProdutoFiltro{novo->MarcaProd, novo->ModeloProd, novo->Importado};
    ordem_ = ProdOrdem::Nenhuma;
    executa();
    edtMarca_->clear();
    edtModelo_->clear();
    edtEANUPC_->clear();
    ok();
}

std::optional<ProdutoEscolhido> TFrmSelecionaProduto::escolhido() const {
    return result() == QDialog::Accepted ? escolhido_ : std::nullopt;
}
