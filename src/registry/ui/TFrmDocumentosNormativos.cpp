#include "TFrmDocumentosNormativos.h"

#include "Certificados.h"
#include "Controls.h"
#include "DateMaskEdit.h"
#include "DbError.h"
#include "Prompts.h"
#include "Session.h"
#include "TDMCertif.h"
#include "TFrmGeraHistorico.h"
#include "Widgets.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStandardItemModel>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString FormatoData = QStringLiteral("dd/MM/yyyy");

// A read-only field that stands in for a drop-down list while the screen is browsing.
QLineEdit* campoLeitura(QWidget* parent, const QString& name, const QString& caption) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setReadOnly(true);
    edit->setAccessibleName(caption);
    return edit;
}

QComboBox* lista(QWidget* parent, const QString& name, const QString& caption) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->setAccessibleName(caption);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(20);
    return combo;
}

// Keeps the entries of a list in order: `chave` decides the place, `texto` is shown.
void insereOrdenado(QComboBox* combo, const QString& texto, const QVariant& dado) {
    int at = 0;
    while (at < combo->count() && QString::compare(combo->itemText(at), texto, Qt::CaseInsensitive) <= 0)
        ++at;
    combo->insertItem(at, texto, dado);
}

} // namespace

TFrmDocumentosNormativos::TFrmDocumentosNormativos(TDMCertif& certif, const ItemDocNorm& item,
                                                   QWidget* parent)
    : QDialog(parent), dm_(certif, item) {
    setObjectName(QStringLiteral("TFrmDocumentosNormativos"));
    setWindowTitle(QStringLiteral("Documentos Normativos"));
    setSizeGripEnabled(true);

    auto* layout = new QVBoxLayout(this);
    lblObservacao_ = new QLabel(this);
    lblObservacao_->setObjectName(QStringLiteral("lblObservacao"));
    lblObservacao_->setWordWrap(true);
    layout->addWidget(lblObservacao_);

    grbReferenteA_ = new QGroupBox(QStringLiteral("Documentos Normativos referentes a :"), this);
    grbReferenteA_->setObjectName(QStringLiteral("grbReferenteA"));
    auto* referente = new QHBoxLayout(grbReferenteA_);
    rbtProdutos_ = new QRadioButton(QStringLiteral("Produtos"), grbReferenteA_);
    rbtProdutos_->setObjectName(QStringLiteral("rbtProdutos"));
    rbtServicos_ = new QRadioButton(QStringLiteral("Serviços"), grbReferenteA_);
    rbtServicos_->setObjectName(QStringLiteral("rbtServicos"));
    referente->addWidget(rbtProdutos_);
    referente->addWidget(rbtServicos_);
    referente->addStretch();
    layout->addWidget(grbReferenteA_);

    model_ = new QStandardItemModel(0, 3, this);
    model_->setHorizontalHeaderLabels(
        {QStringLiteral("Identificação"), QStringLiteral("Título"), QStringLiteral("Tipo de Documento")});
    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("DBGDocNorm"));
    grid_->setAccessibleName(QStringLiteral("Documentos normativos"));
    grid_->setModel(model_);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->verticalHeader()->hide();
    Controls::showRows(grid_);
    Controls::fitColumns(grid_);
    layout->addWidget(grid_, 1);

    grbDocNormDados_ = new QGroupBox(this);
    grbDocNormDados_->setObjectName(QStringLiteral("grbDocNormDados"));
    auto* dados = new QVBoxLayout(grbDocNormDados_);
    auto* form = new QFormLayout;
    dados->addLayout(form);
    struct Linha {
        QString caption;
        QWidget* editavel;
        QLineEdit* leitura;
    };
    cmbIdentificacao_ =
        lista(grbDocNormDados_, QStringLiteral("cmbIdentificacao"), QStringLiteral("Identificação"));
    cmbTitulo_ = lista(grbDocNormDados_, QStringLiteral("cmbTitulo"), QStringLiteral("Título"));
    cmbTipoDoc_ = lista(grbDocNormDados_, QStringLiteral("cmbTipoDoc"), QStringLiteral("Tipo de Documento"));
    edtDataEntrada_ = new DateMaskEdit(grbDocNormDados_);
    edtDataEntrada_->setObjectName(QStringLiteral("EdtDataEntrada"));
    edtDataEntrada_->setAccessibleName(QStringLiteral("Dt. Entrada no Certificado"));
    dbIdDocNorm_ =
        campoLeitura(grbDocNormDados_, QStringLiteral("DBEdtIdDocNorm"), QStringLiteral("Identificação"));
    dbNomeTitulo_ =
        campoLeitura(grbDocNormDados_, QStringLiteral("DBEdtNomeTitulo"), QStringLiteral("Título"));
    dbTipoDoc_ =
        campoLeitura(grbDocNormDados_, QStringLiteral("DBEdtTipoDoc"), QStringLiteral("Tipo de Documento"));
    dbDataEntrada_ = campoLeitura(grbDocNormDados_, QStringLiteral("DBEdtDataEntrada"),
                                  QStringLiteral("Dt. Entrada no Certificado"));
    const Linha linhas[] = {
        {QStringLiteral("&Identificação"), cmbIdentificacao_, dbIdDocNorm_},
        {QStringLiteral("&Título"), cmbTitulo_, dbNomeTitulo_},
        {QStringLiteral("Tipo de &Documento"), cmbTipoDoc_, dbTipoDoc_},
        {QStringLiteral("Dt. &Entrada no Certificado"), edtDataEntrada_, dbDataEntrada_},
    };
    for (const Linha& l : linhas) {
        auto* par = new QWidget(grbDocNormDados_);
        auto* h = new QHBoxLayout(par);
        h->setContentsMargins(0, 0, 0, 0);
        // The date keeps its own width, at the left like the other fields.
        const bool data = l.editavel == edtDataEntrada_;
        if (data)
            h->addWidget(l.editavel, 0, Qt::AlignLeft);
        else
            h->addWidget(l.editavel, 1);
        h->addWidget(l.leitura, 1);
        auto* label = new QLabel(l.caption, grbDocNormDados_);
        label->setBuddy(l.editavel);
        form->addRow(label, par);
    }
    auto* botoesDados = new QHBoxLayout;
    botoesDados->addStretch();
    aplicar_ = Widgets::botao(grbDocNormDados_, QStringLiteral("bbtAplicarDocNorm"),
                              QStringLiteral("Aplicar"), botoesDados);
    cancelar_ = Widgets::botao(grbDocNormDados_, QStringLiteral("btnCanEdDocNorm"),
                               QStringLiteral("Cancelar"), botoesDados);
    dados->addLayout(botoesDados);
    layout->addWidget(grbDocNormDados_);

    grpStatus_ = new QGroupBox(QStringLiteral("Status do documento normativo"), this);
    grpStatus_->setObjectName(QStringLiteral("grpStatus"));
    auto* status = new QHBoxLayout(grpStatus_);
    lbStatus_ = new QLabel(grpStatus_);
    lbStatus_->setObjectName(QStringLiteral("LbStatus"));
    status->addWidget(lbStatus_);
    status->addStretch();
    suspender_ = Widgets::botao(grpStatus_, QStringLiteral("sbSuspEmp"), QStringLiteral("Suspender"), status);
    ativar_ = Widgets::botao(grpStatus_, QStringLiteral("sbAtivEmp"), QStringLiteral("(Re-)Ativar"), status);
    cancelarStatus_ =
        Widgets::botao(grpStatus_, QStringLiteral("sbCancEmp"), QStringLiteral("Cancelar"), status);
    layout->addWidget(grpStatus_);

    auto* botoes = new QHBoxLayout;
    incluir_ = Widgets::botao(this, QStringLiteral("btnIncDocNorm"), QStringLiteral("&Incluir"), botoes);
    excluir_ = Widgets::botao(this, QStringLiteral("btnExDocNorm"), QStringLiteral("E&xcluir "), botoes);
    historico_ =
        Widgets::botao(this, QStringLiteral("BtnCadHistorico"), QStringLiteral("Cad. Histórico"), botoes);
    botoes->addStretch();
    sair_ = Widgets::botao(this, QStringLiteral("BtnSair"), QStringLiteral("&Saída"), botoes);
    layout->addLayout(botoes);

    connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &TFrmDocumentosNormativos::linhaMudou);
    connect(incluir_, &QPushButton::clicked, this, &TFrmDocumentosNormativos::incluir);
    connect(excluir_, &QPushButton::clicked, this, &TFrmDocumentosNormativos::excluir);
    connect(historico_, &QPushButton::clicked, this, &TFrmDocumentosNormativos::historico);
    connect(sair_, &QPushButton::clicked, this, &QDialog::accept);
    connect(aplicar_, &QPushButton::clicked, this, &TFrmDocumentosNormativos::aplicar);
    connect(cancelar_, &QPushButton::clicked, this, &TFrmDocumentosNormativos::cancelar);
    connect(suspender_, &QPushButton::clicked, this, [this] { mudaStatus(QStringLiteral("S")); });
    connect(ativar_, &QPushButton::clicked, this, [this] { mudaStatus(QStringLiteral("A")); });
    connect(cancelarStatus_, &QPushButton::clicked, this, [this] { mudaStatus(QStringLiteral("C")); });
    connect(cmbTitulo_, &QComboBox::activated, this, &TFrmDocumentosNormativos::tituloEscolhido);
    connect(cmbIdentificacao_, &QComboBox::activated, this,
            &TFrmDocumentosNormativos::identificacaoEscolhida);
    connect(cmbTipoDoc_, &QComboBox::activated, this, &TFrmDocumentosNormativos::tipoEscolhido);

    abreHistorico_ = [this](QWidget* parent, EventTable tabela, const QVariantList& chave,
                            const QString& st) {
        // Opened from here the notes carry no lower bound from the emission date.
        TFrmGeraHistorico tela(dm_.certif(), tabela, chave, st, std::nullopt, parent);
        tela.exec();
    };

    lblObservacao_->setText(dm_.escopo().observacao);
    grbReferenteA_->setEnabled(false);
    (dm_.escopo().servico ? rbtServicos_ : rbtProdutos_)->setChecked(true);
    mostra();
}

std::optional<VinculoDocNorm> TFrmDocumentosNormativos::atual() const {
    const int row = grid_->currentIndex().row();
    if (row < 0 || row >= vinculos_.size())
        return std::nullopt;
    return vinculos_[row];
}

void TFrmDocumentosNormativos::mostra(std::optional<int> localizar) {
    const std::optional<VinculoDocNorm> anterior = atual();
    try {
        vinculos_ = dm_.vinculos();
    } catch (const DbError& error) {
        vinculos_.clear();
        dm_.certif().session().prompts().error(error.message());
    }
    model_->removeRows(0, model_->rowCount());
    int posicao = vinculos_.isEmpty() ? -1 : 0;
    for (int i = 0; i < vinculos_.size(); ++i) {
        const VinculoDocNorm& v = vinculos_[i];
        model_->appendRow({new QStandardItem(QString::number(v.IdDocNorm)), new QStandardItem(v.NomeTitulo),
                           new QStandardItem(v.TipoDoc)});
        if (localizar ? v.IdDocNorm == *localizar : (anterior && v.chave == anterior->chave))
            posicao = i;
    }
    ajustaLargura();
    modoEdicao(false);
    if (posicao >= 0)
        grid_->setCurrentIndex(model_->index(posicao, 0));
    linhaMudou();
}

void TFrmDocumentosNormativos::ajustaLargura() {
    // The grid asks for the width of its columns, so the window opens showing them; past a bound
    // (a very long title) it scrolls instead.
    grid_->resizeColumnsToContents();
    int largura =
        2 * grid_->frameWidth() + grid_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, grid_);
    for (int c = 0; c < model_->columnCount(); ++c)
        largura += grid_->columnWidth(c);
    grid_->setMinimumWidth(std::clamp(largura, LarguraMinima, LarguraMaxima));
    // The note above wraps into more lines the narrower the window; it is never narrower than the
    // grid, so its height at that width is enough and nothing below it is pushed over the grid.
    lblObservacao_->setMinimumHeight(lblObservacao_->heightForWidth(grid_->minimumWidth()));
}

void TFrmDocumentosNormativos::modoEdicao(bool editando) {
    editando_ = editando;
    incluir_->setEnabled(!editando);
    sair_->setEnabled(!editando);
    grid_->setEnabled(!editando);
    grbDocNormDados_->setEnabled(editando);
    cancelar_->setEnabled(editando);
    for (QWidget* w :
         std::initializer_list<QWidget*>{cmbIdentificacao_, cmbTitulo_, cmbTipoDoc_, edtDataEntrada_})
        w->setVisible(editando);
    for (QWidget* w :
         std::initializer_list<QWidget*>{dbIdDocNorm_, dbNomeTitulo_, dbTipoDoc_, dbDataEntrada_})
        w->setVisible(!editando);
    // The captions lead to what is shown.
    const QList<QLabel*> labels = grbDocNormDados_->findChildren<QLabel*>();
    for (QLabel* label : labels) {
        QWidget* buddy = label->buddy();
        if (!buddy)
            continue;
        const QList<QPair<QWidget*, QWidget*>> pares{{cmbIdentificacao_, dbIdDocNorm_},
                                                     {cmbTitulo_, dbNomeTitulo_},
                                                     {cmbTipoDoc_, dbTipoDoc_},
                                                     {edtDataEntrada_, dbDataEntrada_}};
        for (const auto& [editavel, leitura] : pares)
            if (buddy == editavel || buddy == leitura)
                label->setBuddy(editando ? editavel : leitura);
    }
    const bool temLinha = !editando && atual().has_value();
    excluir_->setEnabled(temLinha);
    historico_->setEnabled(!editando && !vinculos_.isEmpty());
    habilitaAplicar();
}

void TFrmDocumentosNormativos::linhaMudou() {
    const std::optional<VinculoDocNorm> v = atual();
    dbIdDocNorm_->setText(v ? QString::number(v->IdDocNorm) : QString());
    dbNomeTitulo_->setText(v ? v->NomeTitulo : QString());
    dbTipoDoc_->setText(v ? v->TipoDoc : QString());
    dbDataEntrada_->setText(v ? v->DataEntrada.date().toString(FormatoData) : QString());
    excluir_->setEnabled(!editando_ && v.has_value());
    // The status group: the buttons that lead away from the current status.
    grpStatus_->setVisible(v.has_value());
    const QString status = v ? v->Status : QString();
    lbStatus_->setText(DescrStatus(status));
    suspender_->setVisible(status != QLatin1String("S"));
    ativar_->setVisible(status != QLatin1String("A"));
    cancelarStatus_->setVisible(status != QLatin1String("C"));
    grpStatus_->setEnabled(!editando_);
}

void TFrmDocumentosNormativos::incluir() {
    try {
        tipos_ = dm_.tiposDeDocumento();
    } catch (const DbError& error) {
        dm_.certif().session().prompts().error(error.message());
        return;
    }
    {
        const QSignalBlocker blocker(cmbTipoDoc_);
        cmbTipoDoc_->clear();
        for (int i = 0; i < tipos_.size(); ++i)
            insereOrdenado(cmbTipoDoc_, tipos_[i].TipoDoc, i);
        cmbTipoDoc_->setCurrentIndex(-1);
    }
    preencheCandidatos(std::nullopt);
    edtDataEntrada_->setData(dm_.item().DataEmissao);
    modoEdicao(true);
    grpStatus_->setEnabled(false);
}

void TFrmDocumentosNormativos::preencheCandidatos(std::optional<int> idTipoDoc) {
    try {
        candidatos_ = dm_.candidatos(idTipoDoc);
    } catch (const DbError& error) {
        candidatos_.clear();
        dm_.certif().session().prompts().error(error.message());
    }
    escolhido_ = -1;
    const QSignalBlocker b1(cmbIdentificacao_);
    const QSignalBlocker b2(cmbTitulo_);
    cmbIdentificacao_->clear();
    cmbTitulo_->clear();
    for (int i = 0; i < candidatos_.size(); ++i) {
        insereOrdenado(cmbIdentificacao_, QString::number(candidatos_[i].IdDocNorm), i);
        insereOrdenado(cmbTitulo_, candidatos_[i].NomeTitulo, i);
    }
    cmbIdentificacao_->setCurrentIndex(-1);
    cmbTitulo_->setCurrentIndex(-1);
    habilitaAplicar();
}

// Selects the candidate in the three lists.
void TFrmDocumentosNormativos::localiza(int indice) {
    escolhido_ = indice;
    const CandidatoDocNorm& c = candidatos_[indice];
    const QSignalBlocker b1(cmbIdentificacao_);
    const QSignalBlocker b2(cmbTitulo_);
    const QSignalBlocker b3(cmbTipoDoc_);
    cmbIdentificacao_->setCurrentIndex(cmbIdentificacao_->findData(indice));
    cmbTitulo_->setCurrentIndex(cmbTitulo_->findData(indice));
    cmbTipoDoc_->setCurrentIndex(cmbTipoDoc_->findText(c.TipoDoc));
    habilitaAplicar();
}

void TFrmDocumentosNormativos::tituloEscolhido(int index) {
    if (index >= 0)
        localiza(cmbTitulo_->itemData(index).toInt());
}

void TFrmDocumentosNormativos::identificacaoEscolhida(int index) {
    if (index >= 0)
        localiza(cmbIdentificacao_->itemData(index).toInt());
}

void TFrmDocumentosNormativos::tipoEscolhido(int index) {
    if (index < 0)
        return;
    preencheCandidatos(tipos_[cmbTipoDoc_->itemData(index).toInt()].IdTipoDoc);
}

void TFrmDocumentosNormativos::habilitaAplicar() {
    aplicar_->setEnabled(editando_ && escolhido_ >= 0 && cmbIdentificacao_->currentIndex() >= 0 &&
                         cmbTitulo_->currentIndex() >= 0 && cmbTipoDoc_->currentIndex() >= 0);
}

void TFrmDocumentosNormativos::aplicar() {
    if (!editando_ || escolhido_ < 0)
        return;
    const CandidatoDocNorm documento = candidatos_[escolhido_];
    if (!dm_.aplica(documento, edtDataEntrada_->textoData()))
        return; // a refused date keeps the screen in edit mode
    mostra(documento.IdDocNorm);
}

void TFrmDocumentosNormativos::cancelar() {
    mostra();
}

void TFrmDocumentosNormativos::excluir() {
    const std::optional<VinculoDocNorm> v = atual();
    if (!v || editando_)
        return;
    if (dm_.exclui(*v))
        mostra();
}

void TFrmDocumentosNormativos::mudaStatus(const QString& status) {
    const std::optional<VinculoDocNorm> v = atual();
    if (!v || editando_)
        return;
    if (dm_.mudaStatus(*v, status))
        mostra();
}

void TFrmDocumentosNormativos::historico() {
    const std::optional<VinculoDocNorm> v = atual();
    if (!v || editando_ || !abreHistorico_)
        return;
    abreHistorico_(this, dm_.escopo().eventos, dm_.chaveDoEvento(*v), v->Status);
    mostra();
}
