#include "TFrmRelatorioCertificados.h"

#include "Controls.h"
#include "EspelhoCertificado.h"
#include "Prompts.h"
#include "Relatorios.h"
#include "ReportContext.h"
#include "Session.h"
#include "TFrmDetalhesEmpresa.h"
#include "TFrmSelecionaEmpresa.h"
#include "TFrmSelecionaProduto.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace {

enum Relatorio { EspelhoSemLog, EspelhoLog, Lista };

QLineEdit* campo(QWidget* parent, const char* name, bool readOnly = true) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setReadOnly(readOnly);
    return e;
}

QComboBox* lista(QWidget* parent, const char* name, const QStringList& items) {
    auto* c = new QComboBox(parent);
    c->setObjectName(QString::fromLatin1(name));
    c->addItems(items);
    return c;
}

QPushButton* botao(QWidget* parent, const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

// A list of classes starting with "(Todos)"; each class's identifier is the item's data.
void preenche(QComboBox* combo, const QList<ClasseCredenciada>& classes) {
    combo->clear();
    combo->addItem(QStringLiteral("(Todos)"));
    for (const ClasseCredenciada& c : classes)
        combo->addItem(c.nome, c.id);
}

std::optional<ClasseEscolhida> classeDe(const QComboBox* combo) {
    if (combo->currentIndex() <= 0)
        return std::nullopt;
    return ClasseEscolhida{combo->currentData(), combo->currentText()};
}

} // namespace

TFrmRelatorioCertificados::TFrmRelatorioCertificados(Session& session, MostraRelatorio mostra,
                                                     QWidget* parent)
    : QDialog(parent), session_(session), mostra_(std::move(mostra)) {
    setObjectName(QStringLiteral("TFrmRelatorioCertificados"));
    setWindowTitle(QStringLiteral("Relatórios de Certificados"));
    buildUi();
    preencheClasses();
    limpaFiltro();
}

TFrmRelatorioCertificados::~TFrmRelatorioCertificados() = default;

void TFrmRelatorioCertificados::buildUi() {
    auto* filtro = new QGroupBox(QStringLiteral("Filtro de Seleção"), this);
    filtro->setObjectName(QStringLiteral("grbFiltro"));

    auto* gerais = new QGroupBox(QStringLiteral("Dados Gerais"), filtro);
    edtNumero_ = campo(gerais, "edtNumero", false);
    edtNumero_->setMaxLength(30);
    connect(edtNumero_, &QLineEdit::textEdited, this, [this](const QString& text) {
        const int at = edtNumero_->cursorPosition();
        edtNumero_->setText(text.toUpper());
        edtNumero_->setCursorPosition(at);
    });
    cbClasseCertificado_ = lista(gerais, "cbClasseCertificado", {});
    cbClasseProduto_ = lista(gerais, "cbClasseProduto", {});
    auto* geraisLayout = new QFormLayout(gerais);
    geraisLayout->addRow(QStringLiteral("&Número"), edtNumero_);
    geraisLayout->addRow(QStringLiteral("Classe de &Certificado"), cbClasseCertificado_);
    geraisLayout->addRow(QStringLiteral("Classe de &Produtos"), cbClasseProduto_);

    auto* empresa = new QGroupBox(QStringLiteral(" Empresa Envolvida "), filtro);
    edtPais_ = campo(empresa, "edtPais");
    edtCNPJCPF_ = campo(empresa, "edtCNPJCPF");
    edtNome_ = campo(empresa, "edtNome");
    edtRazaoSocial_ = campo(empresa, "edtRazaoSocial");
    btnSelecionaEmpresa_ = botao(empresa, "btnSelecionaEmpresa", QStringLiteral("Seleciona Empresa..."));
    btnDetalheEmpresa_ = botao(empresa, "btnDetalheEmpresa", QStringLiteral("Detalhe da Empresa"));
    auto* empresaLayout = new QFormLayout(empresa);
    empresaLayout->addRow(QStringLiteral("País"), edtPais_);
    empresaLayout->addRow(QStringLiteral("CNPJ/CPF"), edtCNPJCPF_);
    empresaLayout->addRow(QStringLiteral("Nome"), edtNome_);
    empresaLayout->addRow(QStringLiteral("Razão Social/Nome Pessoa Física"), edtRazaoSocial_);
    auto* empresaBotoes = new QHBoxLayout;
    empresaBotoes->addWidget(btnSelecionaEmpresa_);
    empresaBotoes->addWidget(btnDetalheEmpresa_);
    empresaLayout->addRow(empresaBotoes);

    auto* produto = new QGroupBox(QStringLiteral("Produto ou Serviço"), filtro);
    edtMarca_ = campo(produto, "edtMarca");
    edtModelo_ = campo(produto, "edtModelo");
    edtCodigo_ = campo(produto, "edtCodigoEAN");
    btnSelecionaProduto_ = botao(produto, "btnSelecionaProduto", QStringLiteral("Seleciona Produto..."));
    cbClasseServico_ = lista(produto, "cbClasseServico", {});
    auto* produtoLayout = new QFormLayout(produto);
    produtoLayout->addRow(QStringLiteral("Marca"), edtMarca_);
    produtoLayout->addRow(QStringLiteral("Modelo"), edtModelo_);
    produtoLayout->addRow(QStringLiteral("Código EAN/UPC"), edtCodigo_);
    produtoLayout->addRow(btnSelecionaProduto_);
    produtoLayout->addRow(QStringLiteral("Classe de &Serviço"), cbClasseServico_);

    auto* outras = new QGroupBox(QStringLiteral("Outras Opções"), filtro);
    cbStatus_ = lista(outras, "cbStatus",
                      {QStringLiteral("Todos"), QStringLiteral("Ativos"), QStringLiteral("Cancelados"),
                       QStringLiteral("Suspensos")});
    cbAprovados_ =
        lista(outras, "cbAprovados",
              {QStringLiteral("Todos"), QStringLiteral("Aprovados"), QStringLiteral("Não Aprovados")});
    cbImportado_ = lista(outras, "cbImportado",
                         {QStringLiteral("(Todos)"), QStringLiteral("Sim"), QStringLiteral("Não")});
    auto* outrasLayout = new QFormLayout(outras);
    outrasLayout->addRow(QStringLiteral("S&tatus do Certificado:"), cbStatus_);
    outrasLayout->addRow(QStringLiteral("&Aprovados / Não Aprovados:"), cbAprovados_);
    outrasLayout->addRow(QStringLiteral("&Importado (Sim/Não):"), cbImportado_);

    btnFiltra_ = botao(filtro, "btnFiltra", QStringLiteral("&Filtra Certificado"));
    btnLimpaFiltro_ = botao(filtro, "btnLimpaFiltro", QStringLiteral("&Limpa Filtro"));
    auto* filtroBotoes = new QVBoxLayout;
    filtroBotoes->addWidget(btnFiltra_);
    filtroBotoes->addWidget(btnLimpaFiltro_);
    filtroBotoes->addStretch();

    auto* filtroLayout = new QGridLayout(filtro);
    filtroLayout->addWidget(gerais, 0, 0);
    filtroLayout->addWidget(empresa, 0, 1);
    filtroLayout->addWidget(produto, 1, 0);
    filtroLayout->addWidget(outras, 1, 1);
    filtroLayout->addLayout(filtroBotoes, 0, 2, 2, 1);

    modelo_ = new QStandardItemModel(0, 5, this);
    modelo_->setHorizontalHeaderLabels({QStringLiteral("Número"), QStringLiteral("Classe do Certificado"),
                                        QStringLiteral("Classe de Produtos"), QStringLiteral("Emissão"),
                                        QStringLiteral("Validade")});
    grdCertificados_ = new QTableView(this);
    grdCertificados_->setObjectName(QStringLiteral("grdCertificados"));
    grdCertificados_->setModel(modelo_);
    grdCertificados_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdCertificados_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdCertificados_->verticalHeader()->hide();
    Controls::name(grdCertificados_, QStringLiteral("Certificados selecionados"));
    Controls::showRows(grdCertificados_);
    Controls::fitColumns(grdCertificados_);

    lblQuantidade_ = new QLabel(this);
    lblQuantidade_->setObjectName(QStringLiteral("lblQuantidade"));
    lblQuantidade_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblQuantidade_->setMinimumWidth(60);
    btnEspelho_ = botao(this, "btnEspelho", QStringLiteral("&Espelho do Certificado"));
    btnEspelhoLog_ = botao(this, "btnEspelhoLog", QStringLiteral("Espelho com Lo&g"));
    btnLista_ = botao(this, "btnLista", QStringLiteral("Lista dos Ce&rtificados"));
    btnSaida_ = botao(this, "btnSaida", QStringLiteral("Saida"));
    auto* rodape = new QHBoxLayout;
    rodape->addWidget(new QLabel(QStringLiteral("Certificados"), this));
    rodape->addWidget(lblQuantidade_);
    rodape->addStretch();
    for (QPushButton* b : {btnEspelho_, btnEspelhoLog_, btnLista_, btnSaida_})
        rodape->addWidget(b);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(filtro);
    layout->addWidget(grdCertificados_, 1);
    layout->addLayout(rodape);
    resize(1000, 700);

    connect(btnSelecionaEmpresa_, &QPushButton::clicked, this, &TFrmRelatorioCertificados::selecionaEmpresa);
    connect(btnDetalheEmpresa_, &QPushButton::clicked, this, &TFrmRelatorioCertificados::detalheEmpresa);
    connect(btnSelecionaProduto_, &QPushButton::clicked, this, &TFrmRelatorioCertificados::selecionaProduto);
    connect(btnFiltra_, &QPushButton::clicked, this, &TFrmRelatorioCertificados::filtra);
    connect(btnLimpaFiltro_, &QPushButton::clicked, this, &TFrmRelatorioCertificados::limpaFiltro);
    connect(btnEspelho_, &QPushButton::clicked, this, [this] { imprime(EspelhoSemLog); });
    connect(btnEspelhoLog_, &QPushButton::clicked, this, [this] { imprime(EspelhoLog); });
    connect(btnLista_, &QPushButton::clicked, this, [this] { imprime(Lista); });
    connect(btnSaida_, &QPushButton::clicked, this, &QDialog::accept);
}

void TFrmRelatorioCertificados::preencheClasses() {
    const QSqlDatabase db = session_.database();
    preenche(cbClasseCertificado_, classesCertificadoCredenciadas(db));
    preenche(cbClasseProduto_, classesProdutoCredenciadas(db));
    preenche(cbClasseServico_, classesServicoCredenciadas(db));
}

void TFrmRelatorioCertificados::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!aberta_) {
        aberta_ = true;
        limpaFiltro();
    }
}

FiltroRelatorio TFrmRelatorioCertificados::filtro() const {
    FiltroRelatorio f;
    f.numero = edtNumero_->text().trimmed();
    f.classeCertificado = classeDe(cbClasseCertificado_);
    f.classeProduto = classeDe(cbClasseProduto_);
    f.classeServico = classeDe(cbClasseServico_);
    f.empresa = empresa_;
    f.produto = produto_;
    f.importado = FiltroImportado(cbImportado_->currentIndex());
    f.status = FiltroStatus(cbStatus_->currentIndex());
    f.aprovacao = FiltroAprovacao(cbAprovados_->currentIndex());
    return f;
}

void TFrmRelatorioCertificados::limpaFiltro() {
    for (QComboBox* c :
         {cbClasseCertificado_, cbClasseProduto_, cbClasseServico_, cbStatus_, cbAprovados_, cbImportado_})
        c->setCurrentIndex(0);
    for (QLineEdit* e :
         {edtNumero_, edtPais_, edtCNPJCPF_, edtNome_, edtRazaoSocial_, edtMarca_, edtModelo_, edtCodigo_})
        e->clear();
    empresa_.reset();
    produto_.reset();
    btnDetalheEmpresa_->setEnabled(false);
    selecao_.reset();
    modelo_->removeRows(0, modelo_->rowCount());
    grdCertificados_->setEnabled(false);
    habilitaImpressao(false);
    lblQuantidade_->setText(QStringLiteral("0"));
}

void TFrmRelatorioCertificados::habilitaImpressao(bool enabled) {
    for (QPushButton* b : {btnEspelho_, btnEspelhoLog_, btnLista_})
        b->setEnabled(enabled);
}

void TFrmRelatorioCertificados::filtra() {
    BusyScope busy(session_.prompts());
    SelecaoCertificados selecao = montaSelecao(filtro());
    modelo_->removeRows(0, modelo_->rowCount());
    int count = 0;
    try {
        QSqlQuery q = selecao.consulta.executa(session_.database());
        while (q.next()) {
            const auto item = [](const QString& text) {
                auto* i = new QStandardItem(text);
                i->setEditable(false);
                return i;
            };
            modelo_->appendRow({item(q.value(QStringLiteral("NumCertif")).toString()),
                                item(q.value(QStringLiteral("NomClasseCertif")).toString()),
                                item(q.value(QStringLiteral("NomClasseProd")).toString()),
                                item(ReportText::data(q.value(QStringLiteral("DataEmissao")))),
                                item(ReportText::data(q.value(QStringLiteral("DataValid"))))});
            ++count;
        }
    } catch (const DbError&) {
        // A failing selection shows no certificates, as an empty one does.
        count = 0;
        modelo_->removeRows(0, modelo_->rowCount());
    }
    selecao_ = std::move(selecao);
    grdCertificados_->setEnabled(true);
    grdCertificados_->resizeColumnsToContents();
    lblQuantidade_->setText(formataContagem(count));
    habilitaImpressao(count > 0);
}

void TFrmRelatorioCertificados::imprime(int qual) {
    if (!selecao_ || modelo_->rowCount() == 0)
        return;
    const ReportContext context = ReportContext::of(session_);
    Report::Document document;
    {
        BusyScope busy(session_.prompts());
        document = qual == Lista ? Relatorios::lista(context, *selecao_)
                                 : Espelho::espelho(context, *selecao_,
                                                    qual == EspelhoLog ? Espelho::Variante::ComLog
                                                                       : Espelho::Variante::SemLog);
    }
    if (mostra_)
        mostra_(document, this);
    // Back from the preview the filters start over.
    limpaFiltro();
}

void TFrmRelatorioCertificados::escolheEmpresa(const EmpresaFiltro& empresa, const QString& pais,
                                               const QString& documento, const QString& fantasia) {
    empresa_ = empresa;
    edtPais_->setText(pais);
    edtCNPJCPF_->setText(documento);
    edtNome_->setText(fantasia);
    edtRazaoSocial_->setText(empresa.nome);
    btnDetalheEmpresa_->setEnabled(true);
}

void TFrmRelatorioCertificados::escolheProduto(const ProdutoFiltro& produto, const QString& codigo) {
    produto_ = produto;
    edtMarca_->setText(produto.MarcaProd);
    edtModelo_->setText(produto.ModeloProd);
    edtCodigo_->setText(codigo);
}

void TFrmRelatorioCertificados::selecionaEmpresa() {
    TFrmSelecionaEmpresa dialog(session_, this);
    dialog.setNovaVisivel(false);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const std::optional<EmpresaEscolhida> e = dialog.escolhida();
    if (!e)
        return;
    escolheEmpresa(EmpresaFiltro{e->CodigoPais, e->IdEmpresa, e->nome()}, e->NomePais,
                   e->documentoFormatado(), e->NomFantasia);
}

void TFrmRelatorioCertificados::detalheEmpresa() {
    if (!empresa_)
        return;
    TFrmDetalhesEmpresa dialog(session_, empresa_->CodigoPais, empresa_->IdEmpresa, this);
    dialog.exec();
}

void TFrmRelatorioCertificados::selecionaProduto() {
    TFrmSelecionaProduto dialog(session_, false, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const std::optional<ProdutoEscolhido> p = dialog.escolhido();
    if (!p)
        return;
    escolheProduto(ProdutoFiltro{p->MarcaProd, p->ModeloProd, p->Importado}, p->CodEANUPC);
}
