#include "TFrmSelecionaCertificado.h"
#include "Controls.h"
#include "Widgets.h"

#include "DbError.h"
#include "Prompts.h"
#include "SelecaoGrade.h"
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
#include <QTableView>
#include <QVBoxLayout>

namespace {

// Columns of the statement: 0 SiglaCertificador, 1 NumCertif, 2 NomClasseCertif, 3 NomClasseProd,
// 4 DataEmissao, 5 DataValid, 6 UsuResp, 7 DthUltAtualiz.
const QList<std::pair<int, QString>>& titulos() {
    static const QList<std::pair<int, QString>> list = {
        {1, QStringLiteral("Número")},
        {2, QStringLiteral("Classe do Certificado")},
        {3, QStringLiteral("Classe de Produtos")},
        {4, QStringLiteral("Emissão")},
        {5, QStringLiteral("Validade")},
    };
    return list;
}

QLineEdit* campoSomenteLeitura(QWidget* parent, const QString& name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setReadOnly(true);
    return edit;
}

QComboBox* novaLista(QWidget* parent, const QString& name) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(name);
    return combo;
}

// An empty first entry (no class chosen), then the classes by name, each keeping its identifier.
void preencheLista(QComboBox* combo, const QList<ClasseCredenciada>& classes) {
    combo->clear();
    combo->addItem(QString());
    for (const ClasseCredenciada& c : classes)
        combo->addItem(c.nome, c.id);
}

} // namespace

TFrmSelecionaCertificado::TFrmSelecionaCertificado(Session& session, QWidget* parent)
    : QDialog(parent), session_(session) {
    setObjectName(QStringLiteral("FrmSelecionaCertificado"));
    setWindowTitle(QStringLiteral("Seleciona Certificado"));
    buildUi();
    preencheClasses();
    limpaFiltro();
}

TFrmSelecionaCertificado::~TFrmSelecionaCertificado() = default;

void TFrmSelecionaCertificado::buildUi() {
    auto* layout = new QVBoxLayout(this);

    auto* filtros = new QGroupBox(QStringLiteral("Filtro"), this);
    auto* form = new QFormLayout(filtros);
    edtNumCertif_ = new QLineEdit(filtros);
    edtNumCertif_->setObjectName(QStringLiteral("edtNumCertif"));
    edtNumCertif_->setMaxLength(30);
    // The number is typed in upper case.
    connect(edtNumCertif_, &QLineEdit::textEdited, this, [this](const QString& text) {
        const int pos = edtNumCertif_->cursorPosition();
        edtNumCertif_->setText(text.toUpper());
        edtNumCertif_->setCursorPosition(pos);
    });
    form->addRow(QStringLiteral("Número:"), edtNumCertif_);
    cbxClasseCertif_ = novaLista(filtros, QStringLiteral("cbxClasseCertif"));
    cbxClasseProd_ = novaLista(filtros, QStringLiteral("cbxClasseProd"));
    cbxClasseServ_ = novaLista(filtros, QStringLiteral("cbxClasseServ"));
    form->addRow(QStringLiteral("Classe do Certificado:"), cbxClasseCertif_);
    form->addRow(QStringLiteral("Classe de Produtos:"), cbxClasseProd_);
    form->addRow(QStringLiteral("Classe de Serviços:"), cbxClasseServ_);
    layout->addWidget(filtros);

    auto* empresa = new QGroupBox(QStringLiteral("Empresa"), this);
    auto* empForm = new QFormLayout(empresa);
    edtPais_ = campoSomenteLeitura(empresa, QStringLiteral("edtPais"));
    edtCnpjCpf_ = campoSomenteLeitura(empresa, QStringLiteral("edtCnpjCpf"));
    edtNomFantasia_ = campoSomenteLeitura(empresa, QStringLiteral("edtNomFantasia"));
    edtRazSocial_ = campoSomenteLeitura(empresa, QStringLiteral("edtRazSocial"));
    empForm->addRow(QStringLiteral("País"), edtPais_);
    empForm->addRow(QStringLiteral("CNPJ\\CPF"), edtCnpjCpf_);
    empForm->addRow(QStringLiteral("Nome Fantasia"), edtNomFantasia_);
    empForm->addRow(QStringLiteral("Razão Social\\Nome Pessoal Física"), edtRazSocial_);
    auto* empBotoes = new QHBoxLayout;
    auto* btnSelecionaEmpresa = new QPushButton(QStringLiteral("Seleciona Empresa..."), empresa);
    btnSelecionaEmpresa->setObjectName(QStringLiteral("btnSelecionaEmpresa"));
    btnDetalheEmpresa_ = new QPushButton(QStringLiteral("Detalhe da Empresa"), empresa);
    btnDetalheEmpresa_->setObjectName(QStringLiteral("btnDetalheEmpresa"));
    empBotoes->addWidget(btnSelecionaEmpresa);
    empBotoes->addWidget(btnDetalheEmpresa_);
    empForm->addRow(empBotoes);
    layout->addWidget(empresa);

    auto* produto = new QGroupBox(QStringLiteral("Produto"), this);
    auto* prodForm = new QFormLayout(produto);
    edtMarca_ = campoSomenteLeitura(produto, QStringLiteral("edtMarca"));
    edtModelo_ = campoSomenteLeitura(produto, QStringLiteral("edtModelo"));
    edtEANUPC_ = campoSomenteLeitura(produto, QStringLiteral("edtEANUPC"));
    prodForm->addRow(QStringLiteral("Marca"), edtMarca_);
    prodForm->addRow(QStringLiteral("Modelo"), edtModelo_);
    prodForm->addRow(QStringLiteral("Código EAN/UPC"), edtEANUPC_);
    auto* btnSelecionaProduto = new QPushButton(QStringLiteral("Seleciona Produto..."), produto);
    btnSelecionaProduto->setObjectName(QStringLiteral("btnSelecionaProduto"));
    prodForm->addRow(btnSelecionaProduto);
    cbxImportado_ = new QComboBox(produto);
    cbxImportado_->setObjectName(QStringLiteral("cbxImportado"));
    cbxImportado_->addItems({QStringLiteral("(Todos)"), QStringLiteral("Sim"), QStringLiteral("Não")});
    prodForm->addRow(QStringLiteral("Importado (Sim/Não):"), cbxImportado_);
    // A chosen product carries its own imported flag.
    connect(edtMarca_, &QLineEdit::textChanged, this,
            [this](const QString& marca) { cbxImportado_->setEnabled(marca.isEmpty()); });
    layout->addWidget(produto);

    auto* acoes = new QHBoxLayout;
    auto* btnFiltra = new QPushButton(QStringLiteral("Filtra Certificado"), this);
    btnFiltra->setObjectName(QStringLiteral("btnFiltra"));
    auto* btnLimpa = new QPushButton(QStringLiteral("&Limpa Filtro"), this);
    btnLimpa->setObjectName(QStringLiteral("btnLimpaFiltro"));
    acoes->addWidget(btnFiltra);
    acoes->addWidget(btnLimpa);
    acoes->addStretch();
    acoes->addWidget(new QLabel(QStringLiteral("Certificados"), this));
    lblQuant_ = new QLabel(this);
    lblQuant_->setObjectName(QStringLiteral("lblQuant"));
    acoes->addWidget(lblQuant_);
    layout->addLayout(acoes);

    model_ = new ModeloSelecao(this);
    model_->setFormatador([](const QSqlQueryModel& model, const QModelIndex& index) -> QVariant {
        if (index.column() == 4 || index.column() == 5)
            return dataExibida(model.QSqlQueryModel::data(index));
        return {};
    });
    grid_ = novaGrade(this, QStringLiteral("dbgCertificados"), model_);
    Controls::name(grid_, QStringLiteral("Certificados"));
    layout->addWidget(grid_, 1);
    connect(grid_->horizontalHeader(), &QHeaderView::sectionClicked, this, &TFrmSelecionaCertificado::ordena);

    const auto [ok, cancela] =
        Widgets::botoesOkCancela(this, layout, QStringLiteral("BitBtn86"), QStringLiteral("BitBtn87"));

    for (auto* b : {btnSelecionaEmpresa, btnDetalheEmpresa_, btnSelecionaProduto, btnFiltra, btnLimpa})
        b->setAutoDefault(false);
    connect(btnSelecionaEmpresa, &QPushButton::clicked, this, &TFrmSelecionaCertificado::selecionaEmpresa);
    connect(btnDetalheEmpresa_, &QPushButton::clicked, this, &TFrmSelecionaCertificado::detalheEmpresa);
    connect(btnSelecionaProduto, &QPushButton::clicked, this, &TFrmSelecionaCertificado::selecionaProduto);
    connect(btnFiltra, &QPushButton::clicked, this, &TFrmSelecionaCertificado::filtra);
    connect(btnLimpa, &QPushButton::clicked, this, &TFrmSelecionaCertificado::limpaFiltro);
    connect(ok, &QPushButton::clicked, this, [this] {
        escolhido_.reset();
        const QModelIndex current = grid_->currentIndex();
        if (listaAberta_ && current.isValid()) {
            escolhido_ = CertificadoEscolhido{
                model_->valor(current.row(), QStringLiteral("SiglaCertificador")).toString(),
                model_->valor(current.row(), QStringLiteral("NumCertif")).toString()};
        }
        accept();
    });
    connect(cancela, &QPushButton::clicked, this, [this] {
        escolhido_.reset();
        reject();
    });
    resize(720, 640);
}

void TFrmSelecionaCertificado::preencheClasses() {
    QList<ClasseCredenciada> certif, prod, serv;
    try {
        const QSqlDatabase db = session_.database();
        certif = classesCertificadoCredenciadas(db);
        prod = classesProdutoCredenciadas(db);
        serv = classesServicoCredenciadas(db);
    } catch (const DbError& e) {
        session_.prompts().error(e.message());
    }
    preencheLista(cbxClasseCertif_, certif);
    preencheLista(cbxClasseProd_, prod);
    preencheLista(cbxClasseServ_, serv);
}

void TFrmSelecionaCertificado::limpaFiltro() {
    model_->clear();
    listaAberta_ = false;
    ultimoFiltro_ = {};
    ordem_ = CertOrdem::Primeira;
    cbxImportado_->setCurrentIndex(0);
    edtNumCertif_->clear();
    for (QComboBox* combo : {cbxClasseCertif_, cbxClasseProd_, cbxClasseServ_})
        combo->setCurrentIndex(0);
    for (QLineEdit* edit :
         {edtPais_, edtCnpjCpf_, edtNomFantasia_, edtRazSocial_, edtMarca_, edtModelo_, edtEANUPC_})
        edit->clear();
    empresa_.reset();
    produto_.reset();
    btnDetalheEmpresa_->setEnabled(false);
    lblQuant_->setText(QStringLiteral("0"));
}

void TFrmSelecionaCertificado::selecionaEmpresa() {
    TFrmSelecionaEmpresa dialog(session_, this);
    dialog.setNovaVisivel(false);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const std::optional<EmpresaEscolhida> e = dialog.escolhida();
    if (!e)
        return;
    edtPais_->setText(e->NomePais);
    edtCnpjCpf_->setText(e->documentoFormatado());
    edtNomFantasia_->setText(e->NomFantasia);
    edtRazSocial_->setText(e->nome());
    empresa_ = std::make_pair(e->CodigoPais, e->IdEmpresa);
    btnDetalheEmpresa_->setEnabled(true);
}

void TFrmSelecionaCertificado::detalheEmpresa() {
    if (!empresa_)
        return;
    TFrmDetalhesEmpresa dialog(session_, empresa_->first, empresa_->second, this);
    dialog.exec();
}

void TFrmSelecionaCertificado::selecionaProduto() {
    TFrmSelecionaProduto dialog(session_, false, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const std::optional<ProdutoEscolhido> p = dialog.escolhido();
    if (!p)
        return;
    edtMarca_->setText(p->MarcaProd);
    edtModelo_->setText(p->ModeloProd);
    edtEANUPC_->setText(p->CodEANUPC);
    produto_ = ProdutoFiltro{p->MarcaProd, p->ModeloProd, p->Importado};
}

FiltroCertificado TFrmSelecionaCertificado::filtroDaTela() const {
    FiltroCertificado f;
    f.numCertif = edtNumCertif_->text().toUpper();
    f.nomClasseCertif = cbxClasseCertif_->currentText();
    f.nomClasseProd = cbxClasseProd_->currentText();
    f.nomClasseServ = cbxClasseServ_->currentText();
    f.empresa = empresa_;
    f.produto = produto_;
    if (cbxImportado_->isEnabled())
        f.importado = static_cast<FiltroImportado>(cbxImportado_->currentIndex());
    return f;
}

void TFrmSelecionaCertificado::filtra() {
    ultimoFiltro_ = filtroDaTela();
    ordem_ = CertOrdem::Primeira;
    executa();
}

void TFrmSelecionaCertificado::ordena(int column) {
    if (!listaAberta_)
        return;
    // Grid columns start at the statement's second column.
    ordem_ = ordemDaColunaCertificado(column - 1);
    executa();
}

void TFrmSelecionaCertificado::executa() {
    try {
        const int rows = carregaGrade(grid_, model_, session_.database(),
                                      consultaCertificados(ultimoFiltro_, ordem_), titulos());
        listaAberta_ = true;
        lblQuant_->setText(QString::number(rows));
    } catch (const DbError& e) {
        model_->clear();
        listaAberta_ = false;
        lblQuant_->setText(QStringLiteral("0"));
        session_.prompts().error(e.message());
    }
}

std::optional<CertificadoEscolhido> TFrmSelecionaCertificado::escolhido() const {
    return result() == QDialog::Accepted ? escolhido_ : std::nullopt;
}
