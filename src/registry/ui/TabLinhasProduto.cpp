#include "TabLinhasProduto.h"
#include "Controls.h"
#include "Widgets.h"

#include "Certificados.h"
#include "DataDigitada.h"
#include "DateMaskEdit.h"
#include "DbError.h"
#include "GrupoStatus.h"
#include "Prompts.h"
#include "Session.h"
#include "Sql.h"
#include "TDMCertif.h"
#include "TDMTipo.h"
#include "TFrmInclProduto.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <QTableView>
#include <QVBoxLayout>

namespace {

QLabel* rotulo(QWidget* parent, const QString& name) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    return l;
}

QString dataMostrada(const QDateTime& value) {
    return value.isValid() ? value.date().toString(QStringLiteral("dd/MM/yyyy")) : QString();
}

} // namespace

// ---------------------------------------------------------------------------------------------

EditNumero::EditNumero(QWidget* parent) : QLineEdit(parent) {
    setMaxLength(20);
    setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[^ ]*")), this));
    connect(this, &QLineEdit::textEdited, this, [this](const QString& text) {
        const QString upper = text.toUpper();
        if (upper != text) {
            const int cursor = cursorPosition();
            setText(upper);
            setCursorPosition(cursor);
        }
    });
}

void EditNumero::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

// ---------------------------------------------------------------------------------------------

TabLinhasProduto::TabLinhasProduto(TDMCertif& dm, TipoLinha tipo, const QString& sufixo,
                                   const QString& nomeCombo, const QString& tituloEditor,
                                   const QString& tituloExtra, QWidget* parent)
    : QWidget(parent), dm_(dm), tipo_(tipo), sufixo_(sufixo), nomeCombo_(nomeCombo),
      tituloEditor_(tituloEditor), tituloExtra_(tituloExtra) {}

TabLinhasProduto::~TabLinhasProduto() = default;

void TabLinhasProduto::montaInterface() {
    setObjectName(QStringLiteral("TabProdutos") + sufixo_);
    auto* layout = new QVBoxLayout(this);

    auto* botoes = new QHBoxLayout;
    btnIncluir_ = Widgets::botao(this, QStringLiteral("btnInclui") + sufixo_, QStringLiteral("&Incluir"));
    btnEditar_ = Widgets::botao(this, QStringLiteral("btnEdita") + sufixo_, QStringLiteral("&Editar"));
    btnExcluir_ = Widgets::botao(this, QStringLiteral("btnExclui") + sufixo_, QStringLiteral("E&xcluir "));
    botoes->addWidget(btnIncluir_);
    botoes->addWidget(btnEditar_);
    botoes->addWidget(btnExcluir_);
    botoes->addStretch();
    layout->addLayout(botoes);

    model_ = new QSqlQueryModel(this);
    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("dbg") + sufixo_);
    grid_->setModel(model_);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->verticalHeader()->hide();
    Controls::name(grid_, QStringLiteral("Produtos por ") + sufixo_);
    Controls::showRows(grid_);
    Controls::fitColumns(grid_);
    // The list beside the editor, so that both fit a screen's height.
    auto* lista = new QVBoxLayout;
    lista->addWidget(grid_, 1);

    const ItemStatus item = tipo_ == TipoLinha::Tipo   ? ItemStatus::Tipo
                            : tipo_ == TipoLinha::Lote ? ItemStatus::Lote
                                                       : ItemStatus::Unidade;
    grpStatus_ =
        new GrupoStatus(dm_, item,
                        {QStringLiteral("grpStatus") + sufixo_, QStringLiteral("lblStatus") + sufixo_,
                         QStringLiteral("lblDthStatus") + sufixo_},
                        this);
    lista->addWidget(grpStatus_);
    // After a status change the lines are read again, the cursor staying on the changed one.
    connect(grpStatus_, &GrupoStatus::alterado, this, [this] {
        atualiza(chaveAtual());
        emit alterado();
    });
    auto* corpo = new QHBoxLayout;
    corpo->addLayout(lista, 1);
    layout->addLayout(corpo, 1);

    auto* grupo = new QGroupBox(tituloEditor_, this);
    grupo->setObjectName(QStringLiteral("grpEditor") + sufixo_);
    editor_ = grupo;
    auto* form = new QFormLayout(grupo);
    btnSelProd_ =
        Widgets::botao(grupo, QStringLiteral("btnSelProd") + sufixo_, QStringLiteral("Seleciona Produto"));
    form->addRow(btnSelProd_);
    auto* empresa = new QHBoxLayout;
    lblEmpresa_ = rotulo(grupo, QStringLiteral("lblEmpresa") + sufixo_);
    cmbEmpresa_ = new QComboBox(grupo);
    cmbEmpresa_->setObjectName(nomeCombo_);
    empresa->addWidget(lblEmpresa_, 1);
    empresa->addWidget(cmbEmpresa_, 1);
    form->addRow(Controls::caption(QStringLiteral("Empresa Vinculada"), cmbEmpresa_, grupo), empresa);
    lblProduto_ = rotulo(grupo, QStringLiteral("lblProduto") + sufixo_);
    form->addRow(QStringLiteral("Marca e Modelo"), lblProduto_);
    lblEAN_ = rotulo(grupo, QStringLiteral("lblEAN") + sufixo_);
    form->addRow(QStringLiteral("EAN/UPC do Produto"), lblEAN_);
    montaCampos(form);
    auto* data = new QHBoxLayout;
    lblDtEnt_ = rotulo(grupo, QStringLiteral("lblDtEnt") + sufixo_);
    mskDtEnt_ = new DateMaskEdit(grupo);
    mskDtEnt_->setObjectName(QStringLiteral("mskDtEnt") + sufixo_);
    data->addWidget(lblDtEnt_);
    data->addWidget(mskDtEnt_);
    data->addStretch();
    form->addRow(Controls::caption(QStringLiteral("Dt. Entrada no Certificado"), mskDtEnt_, grupo), data);
    auto* aplicar = new QHBoxLayout;
    btnAplicar_ = Widgets::botao(grupo, QStringLiteral("btnAplica") + sufixo_, QStringLiteral("Aplicar"));
    btnCancelar_ = Widgets::botao(grupo, QStringLiteral("btnCancela") + sufixo_, QStringLiteral("Cancelar"));
    aplicar->addStretch();
    aplicar->addWidget(btnAplicar_);
    aplicar->addWidget(btnCancelar_);
    form->addRow(aplicar);
    corpo->addWidget(grupo);

    connect(btnIncluir_, &QPushButton::clicked, this, &TabLinhasProduto::incluir);
    connect(btnEditar_, &QPushButton::clicked, this, &TabLinhasProduto::editar);
    connect(btnExcluir_, &QPushButton::clicked, this, &TabLinhasProduto::excluir);
    connect(btnSelProd_, &QPushButton::clicked, this, &TabLinhasProduto::selecionaProduto);
    connect(btnAplicar_, &QPushButton::clicked, this, &TabLinhasProduto::aplicar);
    connect(btnCancelar_, &QPushButton::clicked, this, &TabLinhasProduto::cancelar);
    modoEdicao(false);
}

bool TabLinhasProduto::editando() const {
    return const_cast<TabLinhasProduto*>(this)->linhas().editando();
}

void TabLinhasProduto::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!editando())
        atualiza(chaveAtual());
}

std::optional<ChaveLinha> TabLinhasProduto::chaveAtual() const {
    const QModelIndex current = grid_->currentIndex();
    if (!current.isValid())
        return std::nullopt;
    const QSqlRecord r = model_->record(current.row());
    return ChaveLinha{dm_.siglaAberta(),     dm_.numAberto(),
                      r.value(0).toString(), r.value(1).toString(),
                      r.value(2).toInt(),    tipo_ == TipoLinha::Tipo ? QString() : r.value(6).toString()};
}

void TabLinhasProduto::atualiza(const std::optional<ChaveLinha>& localizar) {
    carregando_ = true;
    const QSqlDatabase db = dm_.database();
    try {
        if (dm_.temCertificadoAberto()) {
            QSqlQuery query =
                LinhasProduto::abreGrade(db, LinhasProduto::consultaGrade(tipo_),
                                         {{":sigla", dm_.siglaAberta()}, {":num", dm_.numAberto()}});
            model_->setQuery(std::move(query));
        } else {
            model_->clear();
        }
    } catch (const DbError& e) {
        model_->clear();
        dm_.session().prompts().error(e.message());
    }
    const QStringList titulos{QStringLiteral("Marca"),
                              QStringLiteral("Modelo"),
                              {},
                              QStringLiteral("Importado?"),
                              QStringLiteral("EAN/UPC"),
                              tituloExtra_,
                              {}};
    for (int c = 0; c < model_->columnCount() && c < titulos.size(); ++c) {
        grid_->setColumnHidden(c, titulos[c].isEmpty());
        if (!titulos[c].isEmpty())
            model_->setHeaderData(c, Qt::Horizontal, titulos[c]);
    }
    // Only the rows up to the wanted one are read; the rest come as the grid scrolls.
    int row = 0;
    if (localizar && localizar->SiglaCertificador == dm_.siglaAberta() &&
        localizar->NumCertif == dm_.numAberto()) {
        try {
            row = LinhasProduto::posicaoNaGrade(db, tipo_, *localizar);
        } catch (const DbError&) {
            row = 0;
        }
    }
    while (model_->rowCount() <= row && model_->canFetchMore())
        model_->fetchMore();
    row = std::min(row, model_->rowCount() - 1);
    if (row >= 0) {
        grid_->setCurrentIndex(model_->index(row, 0));
        grid_->selectRow(row);
    }
    carregando_ = false;
    if (grid_->selectionModel())
        connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                &TabLinhasProduto::linhaMudou, Qt::UniqueConnection);
    linhaMudou();
}

std::optional<LinhaProduto> TabLinhasProduto::linhaMostrada(const ChaveLinha& chave) {
    try {
        return LinhasProduto::carrega(dm_.database(), tipo_, chave);
    } catch (const DbError&) {
        return std::nullopt;
    }
}

void TabLinhasProduto::linhaMudou() {
    if (carregando_ || editando())
        return;
    const std::optional<ChaveLinha> chave = chaveAtual();
    const std::optional<LinhaProduto> linha = chave ? linhaMostrada(*chave) : std::nullopt;
    mostraLinha(linha ? &*linha : nullptr);
    modoEdicao(false);
}

void TabLinhasProduto::mostraProduto(const LinhaProduto& l) {
    lblProduto_->setText(l.chave.MarcaProd.isEmpty()
                             ? QString()
                             : QStringLiteral("%1 - %2").arg(l.chave.MarcaProd, l.chave.ModeloProd));
    lblEAN_->setText(l.CodEANUPC);
}

void TabLinhasProduto::mostraLinha(const LinhaProduto* l) {
    if (!l) {
        lblProduto_->clear();
        lblEAN_->clear();
        lblEmpresa_->clear();
        lblDtEnt_->clear();
        grpStatus_->mostra(std::nullopt);
        mskDtEnt_->limpa();
        mostraCampos(nullptr);
        return;
    }
    mostraProduto(*l);
    QString empresa;
    try {
        empresa = LinhasProduto::exibicaoEmpresa(dm_.database(), l->CodigoPais, l->IdEmpresa);
    } catch (const DbError&) {
        empresa.clear();
    }
    lblEmpresa_->setText(empresa);
    lblDtEnt_->setText(dataMostrada(l->DthEntCertif));
    mskDtEnt_->setData(l->DthEntCertif.date());
    // A line being included has no status of its own yet; one being edited shows its stored one.
    switch (linhas().modo()) {
    case LinhasDoCertificado::Modo::Inclusao:
        grpStatus_->mostra(std::nullopt);
        break;
    case LinhasDoCertificado::Modo::Alteracao:
        grpStatus_->mostra(LinhasProduto::chaveDoEvento(tipo_, linhas().chaveOriginal()));
        break;
    case LinhasDoCertificado::Modo::Consulta:
        grpStatus_->mostra(LinhasProduto::chaveDoEvento(tipo_, l->chave));
        break;
    }
    mostraCampos(l);
}

void TabLinhasProduto::modoEdicao(bool edicao) {
    const bool temLinhas = model_ && model_->rowCount() > 0;
    const bool aberto = dm_.temCertificadoAberto();
    btnIncluir_->setEnabled(!edicao && aberto);
    btnEditar_->setEnabled(!edicao && temLinhas);
    btnExcluir_->setEnabled(!edicao && temLinhas);
    grid_->setEnabled(!edicao);
    grpStatus_->setEnabled(!edicao);
    btnSelProd_->setEnabled(edicao);
    btnAplicar_->setEnabled(edicao);
    btnCancelar_->setEnabled(edicao);
    // Browse mode shows the stored company and date; edit mode the drop-down and the mask.
    lblEmpresa_->setVisible(!edicao);
    cmbEmpresa_->setVisible(edicao);
    lblDtEnt_->setVisible(!edicao);
    mskDtEnt_->setVisible(edicao);
    habilitaCampos(edicao);
}

void TabLinhasProduto::preencheEmpresas(const std::optional<std::pair<QString, QString>>& escolhida) {
    cmbEmpresa_->clear();
    try {
        empresas_ = EmpresasCertificado::vinculadas(dm_.database(), dm_.siglaAberta(), dm_.numAberto());
    } catch (const DbError& e) {
        empresas_.clear();
        dm_.session().prompts().error(e.message());
    }
    int escolher = -1;
    for (int i = 0; i < empresas_.size(); ++i) {
        const EmpresaVinculada& e = empresas_[i];
        cmbEmpresa_->addItem(e.texto(), QVariantList{e.CodigoPais, e.IdEmpresa});
        if (escolhida && e.CodigoPais == escolhida->first && e.IdEmpresa == escolhida->second)
            escolher = i;
    }
    cmbEmpresa_->setCurrentIndex(escolher);
}

void TabLinhasProduto::incluir() {
    if (!dm_.temCertificadoAberto() || editando())
        return;
    iniciaInclusao();
    mostraLinha(&linhas().linha());
    mskDtEnt_->setData(dm_.registro().DataEmissao);
    preencheEmpresas(std::nullopt);
    modoEdicao(true);
    selecionaProduto();
}

void TabLinhasProduto::editar() {
    const std::optional<ChaveLinha> chave = chaveAtual();
    if (!chave || editando())
        return;
    if (!iniciaEdicao(*chave)) {
        dm_.session().prompts().error(
            QStringLiteral("Erro editar o registro, por favor informe ao administrador do sistema."));
        atualiza(chave);
        return;
    }
    const LinhaProduto& l = linhas().linha();
    mostraLinha(&l);
    preencheEmpresas(std::make_pair(l.CodigoPais, l.IdEmpresa));
    mskDtEnt_->setData(l.DthEntCertif.date());
    modoEdicao(true);
}

void TabLinhasProduto::selecionaProduto() {
    if (!editando())
        return;
    TFrmSelecionaProduto dialog(dm_.session(), true, this);
    dialog.setInclusaoDeProduto([this, &dialog]() -> std::optional<ProdutoEscolhido> {
        if (inclusao_)
            return inclusao_(&dialog);
        return TFrmInclProduto::inclui(dm_.session(), &dialog);
    });
    dialog.exec();
    if (const std::optional<ProdutoEscolhido> p = dialog.escolhido()) {
        linhas().escolheProduto(*p);
        mostraProduto(linhas().linha());
        habilitaCampos(true);
    }
}

void TabLinhasProduto::aplicar() {
    if (!editando())
        return;
    DadosEditor dados;
    const QVariantList key = cmbEmpresa_->currentData().toList();
    if (cmbEmpresa_->currentIndex() >= 0 && key.size() == 2) {
        for (const EmpresaVinculada& e : empresas_)
            if (e.CodigoPais == key[0].toString() && e.IdEmpresa == key[1].toString())
                dados.empresa = e;
    }
    dados.dataEntrada = mskDtEnt_->textoData();
    preencheDatas(dados);
    leCampos(linhas().linha());
    const bool gravou = aplicaEdicao(dados);
    if (!gravou && editando())
        return; // refused: the editor stays open
    const ChaveLinha chave = linhas().linha().chave;
    atualiza(gravou ? std::optional<ChaveLinha>(chave) : chaveAtual());
    emit alterado();
}

void TabLinhasProduto::cancelar() {
    cancelaEdicao();
    atualiza(chaveAtual());
}

void TabLinhasProduto::excluir() {
    const std::optional<ChaveLinha> chave = chaveAtual();
    if (!chave || editando())
        return;
    const int row = grid_->currentIndex().row();
    if (!excluiLinha(*chave))
        return;
    atualiza();
    // The cursor goes to the line that took the deleted one's place.
    const int keep = std::min(row, model_->rowCount() - 1);
    while (model_->rowCount() <= keep && model_->canFetchMore())
        model_->fetchMore();
    if (keep >= 0)
        grid_->setCurrentIndex(model_->index(keep, 0));
    emit alterado();
}

// ---------------------------------------------------------------------------------------------

TabProdutosTipo::TabProdutosTipo(TDMCertif& dm, QWidget* parent)
    : TabLinhasProduto(dm, TipoLinha::Tipo, QStringLiteral("Tipo"), QStringLiteral("cmbEmpVinculadaTipo"),
                       QString(), QStringLiteral("Descrição"), parent),
      dmTipo_(std::make_unique<TDMTipo>(dm)) {
    montaInterface();
}

TabProdutosTipo::~TabProdutosTipo() = default;

LinhasDoCertificado& TabProdutosTipo::linhas() {
    return dmTipo_->linhas();
}

void TabProdutosTipo::iniciaInclusao() {
    if (!dmTipo_->IncluiTipo())
        dm_.session().prompts().error(
            QStringLiteral("Erro incluir um novo registro, por favor informe ao administrador do sistema."));
}

bool TabProdutosTipo::iniciaEdicao(const ChaveLinha& chave) {
    return dmTipo_->AbreTipo(chave.SiglaCertificador, chave.NumCertif, false, chave.Importado,
                             chave.ModeloProd, chave.MarcaProd) &&
           dmTipo_->EditaTipo();
}

bool TabProdutosTipo::aplicaEdicao(const DadosEditor& editor) {
    return dmTipo_->GravaTipo(editor);
}

void TabProdutosTipo::cancelaEdicao() {
    dmTipo_->CancelaTipo();
}

bool TabProdutosTipo::excluiLinha(const ChaveLinha& chave) {
    if (!dmTipo_->AbreTipo(chave.SiglaCertificador, chave.NumCertif, false, chave.Importado, chave.ModeloProd,
                           chave.MarcaProd))
        return false;
    return dmTipo_->excluiLinhaAtual();
}

std::optional<LinhaProduto> TabProdutosTipo::linhaMostrada(const ChaveLinha& chave) {
    // Moving to another line reopens QryTipo on it.
    dmTipo_->AbreTipo(chave.SiglaCertificador, chave.NumCertif, false, chave.Importado, chave.ModeloProd,
                      chave.MarcaProd);
    return dmTipo_->QryTipo();
}

// ---------------------------------------------------------------------------------------------

TabProdutosLote::TabProdutosLote(TDMCertif& dm, QWidget* parent)
    : TabLinhasProduto(dm, TipoLinha::Lote, QStringLiteral("Lote"), QStringLiteral("cmbEmpVinculadaLote"),
                       QStringLiteral("Dados Lote Certificado"), QStringLiteral("Número do Lote"), parent),
      linhas_(std::make_unique<LinhasDoCertificado>(dm, TipoLinha::Lote)) {
    montaInterface();
}

TabProdutosLote::~TabProdutosLote() = default;

void TabProdutosLote::montaCampos(QFormLayout* form) {
    QWidget* parent = form->parentWidget();
    edtNumLote_ = new EditNumero(parent);
    edtNumLote_->setObjectName(QStringLiteral("edtNumLote"));
    form->addRow(QStringLiteral("Número do Lote"), edtNumLote_);
    mskDataValLote_ = new DateMaskEdit(parent);
    mskDataValLote_->setObjectName(QStringLiteral("mskDataValLote"));
    form->addRow(QStringLiteral("Data de Validade"), mskDataValLote_);
    edtProfInvoice_ = new QLineEdit(parent);
    edtProfInvoice_->setObjectName(QStringLiteral("edtProfInvoice"));
    edtProfInvoice_->setMaxLength(30);
    form->addRow(QStringLiteral("Proforma Invoice"), edtProfInvoice_);
    edtQuantLote_ = new QLineEdit(parent);
    edtQuantLote_->setObjectName(QStringLiteral("edtQuantLote"));
    edtQuantLote_->setMaxLength(30);
    form->addRow(QStringLiteral("Quantidade do Lote"), edtQuantLote_);
    mskDataFabrLote_ = new DateMaskEdit(parent);
    mskDataFabrLote_->setObjectName(QStringLiteral("mskDataFabrLote"));
    form->addRow(QStringLiteral("Data de Fabricação"), mskDataFabrLote_);
    mskDataFabrLote_->installEventFilter(this);
    mskDataValLote_->installEventFilter(this);
}

// Leaving either date checks it at once and brings the focus back to a wrong one.
bool TabProdutosLote::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut && !checando_ && linhas_->editando() &&
        (watched == mskDataFabrLote_ || watched == mskDataValLote_)) {
        const QString erro =
            watched == mskDataFabrLote_
                ? linhas_->erroFabricacao(mskDataFabrLote_->textoData())
                : linhas_->erroValidade(mskDataFabrLote_->textoData(), mskDataValLote_->textoData());
        if (!erro.isEmpty()) {
            checando_ = true;
            dm_.session().prompts().message(QStringLiteral("Erro de entrada de dados"), erro);
            static_cast<QWidget*>(watched)->setFocus();
            checando_ = false;
        }
    }
    return TabLinhasProduto::eventFilter(watched, event);
}

void TabProdutosLote::mostraCampos(const LinhaProduto* l) {
    edtNumLote_->setText(l ? l->chave.Numero : QString());
    mskDataValLote_->setData(l ? l->DataValLote : QDate());
    edtProfInvoice_->setText(l ? l->NumProfInvoice : QString());
    edtQuantLote_->setText(l ? l->QuantLote : QString());
    mskDataFabrLote_->setData(l ? l->DataFabrLote : QDate());
}

void TabProdutosLote::leCampos(LinhaProduto& l) {
    l.chave.Numero = edtNumLote_->text();
    l.QuantLote = edtQuantLote_->text().trimmed();
    l.NumProfInvoice = edtProfInvoice_->text().trimmed();
}

void TabProdutosLote::habilitaCampos(bool edicao) {
    for (QWidget* w :
         std::initializer_list<QWidget*>{edtNumLote_, mskDataValLote_, edtQuantLote_, mskDataFabrLote_})
        w->setEnabled(edicao);
    // The proforma invoice belongs to imported products only.
    edtProfInvoice_->setEnabled(edicao && linhas_->linha().chave.Importado == 1);
}

void TabProdutosLote::preencheDatas(DadosEditor& editor) const {
    editor.dataFabricacao = mskDataFabrLote_->textoData();
    editor.dataValidade = mskDataValLote_->textoData();
}

// ---------------------------------------------------------------------------------------------

TabProdutosUnidade::TabProdutosUnidade(TDMCertif& dm, QWidget* parent)
    : TabLinhasProduto(dm, TipoLinha::Unidade, QStringLiteral("Unidade"), QStringLiteral("cmbEmpVinculada"),
                       QStringLiteral("Produto Certificado por Unidade"), QStringLiteral("Número de Série"),
                       parent),
      linhas_(std::make_unique<LinhasDoCertificado>(dm, TipoLinha::Unidade)) {
    montaInterface();
}

TabProdutosUnidade::~TabProdutosUnidade() = default;

void TabProdutosUnidade::montaCampos(QFormLayout* form) {
    QWidget* parent = form->parentWidget();
    edtNumSerie_ = new EditNumero(parent);
    edtNumSerie_->setObjectName(QStringLiteral("edtNumSerie"));
    form->addRow(QStringLiteral("Número de Série"), edtNumSerie_);
    edtObservacoes_ = new QLineEdit(parent);
    edtObservacoes_->setObjectName(QStringLiteral("edtObservacoes"));
    edtObservacoes_->setMaxLength(255);
    form->addRow(QStringLiteral("Observações"), edtObservacoes_);

    auto* local = new QGroupBox(QStringLiteral("Localização do Produto"), parent);
    local->setObjectName(QStringLiteral("grpLocalizacao"));
    auto* localForm = new QFormLayout(local);
    edtLocalInstalacao_ = new QLineEdit(local);
    edtLocalInstalacao_->setObjectName(QStringLiteral("edtLocalInstalacao"));
    edtLocalInstalacao_->setMaxLength(255);
    localForm->addRow(QStringLiteral("Instalado em"), edtLocalInstalacao_);
    edtBairro_ = new QLineEdit(local);
    edtBairro_->setObjectName(QStringLiteral("edtBairro"));
    edtBairro_->setMaxLength(20);
    localForm->addRow(QStringLiteral("Bairro"), edtBairro_);
    edtCidade_ = new QLineEdit(local);
    edtCidade_->setObjectName(QStringLiteral("edtCidade"));
    edtCidade_->setMaxLength(20);
    localForm->addRow(QStringLiteral("Cidade"), edtCidade_);
    mskCEP_ = new QLineEdit(local);
    mskCEP_->setObjectName(QStringLiteral("mskCEP"));
    mskCEP_->setInputMask(QStringLiteral("99999-000;_")); // five digits required, three optional
    localForm->addRow(QStringLiteral("CEP"), mskCEP_);
    Controls::startAtFirstPositionWhenEmpty(mskCEP_);
    cmbUF_ = new QComboBox(local);
    cmbUF_->setObjectName(QStringLiteral("cmbUF"));
    try {
        QSqlQuery q =
            Sql::exec(dm_.database(), QStringLiteral("SELECT SiglaUF, NomeUF FROM UF ORDER BY NomeUF"));
        while (q.next())
            cmbUF_->addItem(q.value(1).toString(), q.value(0).toString());
    } catch (const DbError& e) {
        dm_.session().prompts().error(e.message());
    }
    cmbUF_->setCurrentIndex(-1);
    localForm->addRow(QStringLiteral("UF"), cmbUF_);
    form->addRow(local);
}

void TabProdutosUnidade::mostraCampos(const LinhaProduto* l) {
    edtNumSerie_->setText(l ? l->chave.Numero : QString());
    edtObservacoes_->setText(l ? l->Observacoes : QString());
    edtLocalInstalacao_->setText(l ? l->LocalInstalacao : QString());
    edtBairro_->setText(l ? l->EndBairro : QString());
    edtCidade_->setText(l ? l->EndCidade : QString());
    mskCEP_->setText(l ? l->EndCEP : QString());
    const QString uf = l ? l->SiglaUF : QString();
    Widgets::mostraGuardado(cmbUF_, uf, uf, -1);
}

void TabProdutosUnidade::leCampos(LinhaProduto& l) {
    l.chave.Numero = edtNumSerie_->text();
    l.Observacoes = edtObservacoes_->text().trimmed();
    l.LocalInstalacao = edtLocalInstalacao_->text().trimmed();
    l.EndBairro = edtBairro_->text().trimmed();
    l.EndCidade = edtCidade_->text().trimmed();
    // The postal code is kept as its digits, without the hyphen of the mask.
    QString cep = mskCEP_->text();
    cep.remove(QLatin1Char('-')).remove(QLatin1Char(' ')).remove(QLatin1Char('_'));
    l.EndCEP = cep;
    l.SiglaUF = cmbUF_->currentIndex() >= 0 ? cmbUF_->currentData().toString() : QString();
}

void TabProdutosUnidade::habilitaCampos(bool edicao) {
    for (QWidget* w : std::initializer_list<QWidget*>{edtNumSerie_, edtObservacoes_, edtLocalInstalacao_,
                                                      edtBairro_, edtCidade_, mskCEP_, cmbUF_})
        w->setEnabled(edicao);
}
