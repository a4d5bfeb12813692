#include "PanelTabEmpresa.h"
#include "Controls.h"
#include "TFrmInclEmpresa.h"
#include "Widgets.h"

#include "CadastroEmpresas.h"
#include "CamposEmpresa.h"
#include "DbError.h"
#include "GradeEmpresas.h"
#include "Prompts.h"
#include "Session.h"
#include "TDMCertif.h"
#include "TFrmSelecionaEmpresa.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {} // namespace

PanelTabEmpresa::PanelTabEmpresa(TDMCertif& dm, QWidget* parent)
    : QWidget(parent), dm_(dm), cadastro_(std::make_unique<CadastroEmpresas>(dm)) {
    setObjectName(QStringLiteral("TabEmpresaConteudo"));
    pesquisa_ = [this](QWidget* p) { return TFrmInclEmpresa::escolhe(dm_.session(), p, false); };

    auto* layout = new QVBoxLayout(this);
    model_ = new ModeloEmpresas(this);
    grid_ = novaGradeEmpresas(this, QStringLiteral("dbgEmpresas"), model_, 4);
    Controls::name(grid_, QStringLiteral("Empresas"));
    layout->addWidget(grid_, 1);

    auto* navegacao = new QHBoxLayout;
    btnIncluir_ = Widgets::botao(this, QStringLiteral("btnIncluir"), QStringLiteral("&Incluir"), navegacao);
    btnEditar_ = Widgets::botao(this, QStringLiteral("btnEditar"), QStringLiteral("&Editar"), navegacao);
    btnExcluir_ = Widgets::botao(this, QStringLiteral("btnExcluir"), QStringLiteral("E&xcluir "), navegacao);
    btnPesquisar_ =
        Widgets::botao(this, QStringLiteral("btnPesquisar"), QStringLiteral("&Pesquisar"), navegacao);
    navegacao->addStretch();
    btnSaida_ = Widgets::botao(this, QStringLiteral("btnSaida"), QStringLiteral("&Saída"), navegacao);
    layout->addLayout(navegacao);

    auto* grupo = new QGroupBox(QStringLiteral("Empresa"), this);
    grupo->setObjectName(QStringLiteral("GroupEmpresa"));
    auto* grupoLayout = new QVBoxLayout(grupo);
    campos_ = new CamposEmpresa(grupo);
    grupoLayout->addWidget(campos_);
    auto* edicao = new QHBoxLayout;
    edicao->addStretch();
    btnOk_ = Widgets::botao(grupo, QStringLiteral("btnOk"), QStringLiteral("Ok"), edicao);
    btnCancela_ = Widgets::botao(grupo, QStringLiteral("btnCancela"), QStringLiteral("Cancela"), edicao);
    grupoLayout->addLayout(edicao);
    layout->addWidget(grupo);

    connect(btnIncluir_, &QPushButton::clicked, this, &PanelTabEmpresa::inclui);
    connect(btnEditar_, &QPushButton::clicked, this, &PanelTabEmpresa::edita);
    connect(btnExcluir_, &QPushButton::clicked, this, &PanelTabEmpresa::exclui);
    connect(btnPesquisar_, &QPushButton::clicked, this, &PanelTabEmpresa::pesquisa);
    connect(btnOk_, &QPushButton::clicked, this, &PanelTabEmpresa::salva);
    connect(btnCancela_, &QPushButton::clicked, this, &PanelTabEmpresa::cancela);
    connect(btnSaida_, &QPushButton::clicked, this, [this] {
        if (cadastro_->editando())
            cancela();
        emit saida();
    });
    connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &PanelTabEmpresa::linhaMudou);
    aplicaModo();
}

PanelTabEmpresa::~PanelTabEmpresa() = default;

void PanelTabEmpresa::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!cadastro_->editando())
        abre();
}

int PanelTabEmpresa::linhaAtual() const {
    return grid_->currentIndex().isValid() ? grid_->currentIndex().row() : -1;
}

void PanelTabEmpresa::abre() {
    const int row = linhaAtual();
    const QString pais = row >= 0 ? model_->codigoPais(row) : QString();
    const QString id = row >= 0 ? model_->idEmpresa(row) : QString();
    const QSqlDatabase db = dm_.database();
    try {
        campos_->carregaListas(db);
        model_->carrega(db);
        if (!(row >= 0 && localiza(pais, id)) && model_->rowCount() > 0)
            grid_->setCurrentIndex(model_->index(0, 0));
    } catch (const DbError& error) {
        dm_.session().prompts().error(error.message());
    }
    linhaMudou();
    aplicaModo();
}

bool PanelTabEmpresa::localiza(const QString& codigoPais, const QString& idEmpresa) {
    const int row = model_->localiza(dm_.database(), codigoPais, idEmpresa);
    if (row < 0)
        return false;
    grid_->setCurrentIndex(model_->index(row, 0));
    grid_->scrollTo(model_->index(row, 0));
    return true;
}

void PanelTabEmpresa::linhaMudou() {
    if (cadastro_->editando())
        return;
    const int row = linhaAtual();
    std::optional<Empresa> empresa;
    if (row >= 0) {
        try {
            empresa = Empresas::carrega(dm_.database(), model_->codigoPais(row), model_->idEmpresa(row));
        } catch (const DbError& error) {
            dm_.session().prompts().error(error.message());
        }
    }
    campos_->setEmpresa(empresa.value_or(Empresa{}));
    campos_->navega();
    aplicaModo();
}

void PanelTabEmpresa::aplicaModo() {
    const bool editando = cadastro_->editando();
    const bool temLinhas = model_->rowCount() > 0;
    btnIncluir_->setEnabled(!editando);
    btnEditar_->setEnabled(!editando && temLinhas);
    btnExcluir_->setEnabled(!editando && temLinhas);
    btnPesquisar_->setEnabled(!editando && temLinhas);
    btnSaida_->setEnabled(!editando);
    grid_->setEnabled(!editando);
    btnOk_->setEnabled(editando);
    btnCancela_->setEnabled(editando);
}

void PanelTabEmpresa::inclui() {
    cadastro_->inclui();
    campos_->editaNova();
    aplicaModo();
}

void PanelTabEmpresa::edita() {
    const int row = linhaAtual();
    if (row < 0)
        return;
    try {
        if (!cadastro_->edita(model_->codigoPais(row), model_->idEmpresa(row))) {
            abre();
            return;
        }
    } catch (const DbError& error) {
        dm_.session().prompts().error(error.message());
        return;
    }
    campos_->setEmpresa(cadastro_->original());
    campos_->editaExistente(cadastro_->vinculada());
    aplicaModo();
}

void PanelTabEmpresa::salva() {
    if (!cadastro_->salva(campos_->empresa()))
        return; // the box was shown; the company stays in edit mode
    const Empresa salva = cadastro_->original();
    try {
        model_->carrega(dm_.database());
    } catch (const DbError& error) {
        dm_.session().prompts().error(error.message());
    }
    localiza(salva.CodigoPais, salva.IdEmpresa);
    linhaMudou();
}

void PanelTabEmpresa::cancela() {
    cadastro_->cancela();
    linhaMudou();
}

void PanelTabEmpresa::exclui() {
    const int row = linhaAtual();
    if (row < 0)
        return;
    if (!cadastro_->exclui(model_->codigoPais(row), model_->idEmpresa(row)))
        return;
    try {
        model_->carrega(dm_.database());
        const int proxima = qMin(row, model_->rowCount() - 1);
        if (proxima >= 0) {
            while (model_->rowCount() <= proxima && model_->canFetchMore())
                model_->fetchMore();
            grid_->setCurrentIndex(model_->index(proxima, 0));
        }
    } catch (const DbError& error) {
        dm_.session().prompts().error(error.message());
    }
    linhaMudou();
}

void PanelTabEmpresa::pesquisa() {
    if (!pesquisa_)
        return;
    const auto chave = pesquisa_(this);
    if (chave)
        localiza(chave->first, chave->second);
}
