#include "TFrmSelecionaEmpresa.h"
#include "Controls.h"
#include "Widgets.h"

#include "DbError.h"
#include "Formats.h"
#include "Prompts.h"
#include "SelecaoGrade.h"
#include "Session.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

// Columns of the statement: 0 CodigoPais, 1 NomePais, 2 IdEmpresa, 3 CGC, 4 RazSocialEmp,
// 5 NomFantasia, 6 TipoPessoa, 7 NomPessoaFisica, 8 CPF. Column 3 shows the CNPJ or the CPF
// (IdEmpresaAux) and column 4 the corporate or the person's name (NomeEmpresa).
const QList<std::pair<int, QString>>& titulos() {
    static const QList<std::pair<int, QString>> list = {
        {1, QStringLiteral("País")},
        {3, QStringLiteral("CNPJ/CPF")},
        {4, QStringLiteral("Razão Social/Nome Pessoa Física")},
        {5, QStringLiteral("Nome Fantasia")},
    };
    return list;
}

EmpresaEscolhida empresaDaLinha(const ModeloSelecao& model, int row) {
    auto v = [&](const char* column) { return model.valor(row, QString::fromLatin1(column)).toString(); };
    return {v("CodigoPais"),  v("NomePais"),   v("IdEmpresa"),       v("CGC"), v("RazSocialEmp"),
            v("NomFantasia"), v("TipoPessoa"), v("NomPessoaFisica"), v("CPF")};
}

} // namespace

QString EmpresaEscolhida::documentoFormatado() const {
    if (TipoPessoa == QLatin1String("1"))
        return CGC.isEmpty() ? QString() : FormataCNPJ(CGC, true);
    if (TipoPessoa == QLatin1String("2"))
        return FormataCPF(CPF);
    return {};
}

QString EmpresaEscolhida::nome() const {
    if (TipoPessoa == QLatin1String("1"))
        return RazSocialEmp;
    if (TipoPessoa == QLatin1String("2"))
        return NomPessoaFisica;
    return {};
}

TFrmSelecionaEmpresa::TFrmSelecionaEmpresa(Session& session, QWidget* parent)
    : QDialog(parent), session_(session) {
    setObjectName(QStringLiteral("FrmSelecionaEmpresa"));
    setWindowTitle(QStringLiteral("Seleciona Empresa"));
    buildUi();
    try {
        for (const auto& [codigo, nome] : paisesPorNome(session_.database()))
            cbxPais_->addItem(nome, codigo);
    } catch (const DbError& e) {
        session_.prompts().error(e.message());
    }
    tipoMudou();
    executa();
}

TFrmSelecionaEmpresa::~TFrmSelecionaEmpresa() = default;

void TFrmSelecionaEmpresa::setNovaVisivel(bool visivel) {
    btnNova_->setVisible(visivel);
}

void TFrmSelecionaEmpresa::setInclusaoDeEmpresa(
    std::function<std::optional<std::pair<QString, QString>>()> inclui) {
    inclui_ = std::move(inclui);
}

void TFrmSelecionaEmpresa::buildUi() {
    auto* layout = new QVBoxLayout(this);
    auto* grupo = new QGroupBox(QStringLiteral("Seleção de Empresa"), this);
    auto* g = new QGridLayout(grupo);
    cbxPais_ = new QComboBox(grupo);
    cbxPais_->setObjectName(QStringLiteral("cbxPais"));
    cbxPais_->addItem(QString()); // no country chosen
    g->addWidget(Controls::caption(QStringLiteral("País"), cbxPais_, grupo), 0, 0);
    g->addWidget(cbxPais_, 0, 1);
    rbFisica_ = new QRadioButton(QStringLiteral("Física"), grupo);
    rbFisica_->setObjectName(QStringLiteral("rbFisica"));
    rbJuridica_ = new QRadioButton(QStringLiteral("Jurídica"), grupo);
    rbJuridica_->setObjectName(QStringLiteral("rbJuridica"));
    rbJuridica_->setChecked(true);
    auto* tipo = new QHBoxLayout;
    tipo->addWidget(rbFisica_);
    tipo->addWidget(rbJuridica_);
    g->addLayout(tipo, 0, 2);
    lblCnpjCpf_ = new QLabel(grupo);
    lblCnpjCpf_->setObjectName(QStringLiteral("lblCnpjCpf"));
    edtCnpjCpf_ = new QLineEdit(grupo);
    edtCnpjCpf_->setObjectName(QStringLiteral("edtCnpjCpf"));
    Controls::startAtFirstPositionWhenEmpty(edtCnpjCpf_);
    lblCnpjCpf_->setBuddy(edtCnpjCpf_); // its caption follows the kind of person
    g->addWidget(lblCnpjCpf_, 1, 0);
    g->addWidget(edtCnpjCpf_, 1, 1);
    lblNome_ = new QLabel(grupo);
    lblNome_->setObjectName(QStringLiteral("lblNome"));
    edtNome_ = new QLineEdit(grupo);
    edtNome_->setObjectName(QStringLiteral("edtNome"));
    lblNome_->setBuddy(edtNome_);
    g->addWidget(lblNome_, 2, 0);
    g->addWidget(edtNome_, 2, 1);
    edtRazSocial_ = new QLineEdit(grupo);
    edtRazSocial_->setObjectName(QStringLiteral("edtRazSocial"));
    edtRazSocial_->setMaxLength(120);
    g->addWidget(Controls::caption(QStringLiteral("Razão Social"), edtRazSocial_, grupo), 3, 0);
    g->addWidget(edtRazSocial_, 3, 1);
    auto* btnFiltra = new QPushButton(QStringLiteral("Filtra"), grupo);
    btnFiltra->setObjectName(QStringLiteral("btnFiltra"));
    btnNova_ = new QPushButton(QStringLiteral("Nova..."), grupo);
    btnNova_->setObjectName(QStringLiteral("btnNova"));
    g->addWidget(btnFiltra, 1, 2);
    g->addWidget(btnNova_, 2, 2);
    auto* contador = new QHBoxLayout;
    contador->addWidget(new QLabel(QStringLiteral("Empresas"), grupo));
    lblQuant_ = new QLabel(QStringLiteral("0"), grupo);
    lblQuant_->setObjectName(QStringLiteral("lblQuant"));
    contador->addWidget(lblQuant_);
    g->addLayout(contador, 3, 2);
    layout->addWidget(grupo);

    model_ = new ModeloSelecao(this);
    model_->setFormatador([](const QSqlQueryModel& model, const QModelIndex& index) -> QVariant {
        if (index.column() != 3 && index.column() != 4)
            return {};
        const EmpresaEscolhida e = empresaDaLinha(static_cast<const ModeloSelecao&>(model), index.row());
        return index.column() == 3 ? e.documentoFormatado() : e.nome();
    });
    grid_ = novaGrade(this, QStringLiteral("dbgEmpresas"), model_);
    Controls::name(grid_, QStringLiteral("Empresas"));
    layout->addWidget(grid_, 1);
    connect(grid_->horizontalHeader(), &QHeaderView::sectionClicked, this, &TFrmSelecionaEmpresa::ordena);

    const auto [ok, cancela] = Widgets::botoesOkCancela(this, layout);

    for (auto* b : {btnFiltra, btnNova_})
        b->setAutoDefault(false);
    connect(rbFisica_, &QRadioButton::toggled, this, &TFrmSelecionaEmpresa::tipoMudou);
    connect(btnFiltra, &QPushButton::clicked, this, &TFrmSelecionaEmpresa::filtra);
    connect(btnNova_, &QPushButton::clicked, this, &TFrmSelecionaEmpresa::nova);
    connect(ok, &QPushButton::clicked, this, &TFrmSelecionaEmpresa::ok);
    connect(cancela, &QPushButton::clicked, this, [this] {
        escolhida_.reset();
        model_->clear();
        reject();
    });
    resize(720, 520);
}

void TFrmSelecionaEmpresa::tipoMudou() {
    const bool fisica = rbFisica_->isChecked();
    lblCnpjCpf_->setText(fisica ? QStringLiteral("CPF") : QStringLiteral("CNPJ"));
    edtCnpjCpf_->setInputMask(fisica ? QStringLiteral("999999999-00;_")
                                     : QStringLiteral("00.000.000/0000-00;_"));
    lblNome_->setText(fisica ? QStringLiteral("Nome Pessoa Física") : QStringLiteral("Nome Fantasia"));
    edtNome_->setMaxLength(fisica ? 60 : 40);
    edtRazSocial_->setEnabled(!fisica);
}

void TFrmSelecionaEmpresa::limpaCampos() {
    cbxPais_->setCurrentIndex(0);
    edtCnpjCpf_->clear();
    edtNome_->clear();
    edtRazSocial_->clear();
}

void TFrmSelecionaEmpresa::filtra() {
    filtro_ = {};
    filtro_.filtrado = true;
    filtro_.codigoPais = cbxPais_->currentData().toString();
    filtro_.fisica = rbFisica_->isChecked();
    // The mask's punctuation is not part of the stored number.
    filtro_.documento = FormataCNPJ(edtCnpjCpf_->text(), false);
    filtro_.nome = edtNome_->text();
    if (!filtro_.fisica)
        filtro_.razaoSocial = edtRazSocial_->text();
    ordem_ = EmprOrdem::Nenhuma;
    executa();
    limpaCampos();
}

void TFrmSelecionaEmpresa::ordena(int column) {
    // Grid columns: "País" is the statement's column 1, then 3, 4 and 5.
    static const int posicoes[] = {-1, 0, -1, 1, 2, 3};
    if (column < 0 || column > 5 || posicoes[column] < 0)
        return;
    ordem_ = ordemDaColunaEmpresa(posicoes[column]);
    executa();
}

void TFrmSelecionaEmpresa::executa() {
    try {
        const int rows =
            carregaGrade(grid_, model_, session_.database(), consultaEmpresas(filtro_, ordem_), titulos());
        lblQuant_->setText(QString::number(rows));
    } catch (const DbError& e) {
        model_->clear();
        lblQuant_->setText(QStringLiteral("0"));
        session_.prompts().error(e.message());
    }
}

std::optional<EmpresaEscolhida> TFrmSelecionaEmpresa::linhaAtual() const {
    const QModelIndex current = grid_->currentIndex();
    if (!current.isValid())
        return std::nullopt;
    EmpresaEscolhida e = empresaDaLinha(*model_, current.row());
    if (e.NomePais.isEmpty())
        return std::nullopt;
    return e;
}

void TFrmSelecionaEmpresa::ok() {
    escolhida_ = linhaAtual();
    if (escolhida_)
        accept();
}

void TFrmSelecionaEmpresa::nova() {
    const std::optional<std::pair<QString, QString>> nova = inclui_ ? inclui_() : std::nullopt;
    if (!nova) {
        session_.prompts().message(QStringLiteral("Aviso"), QStringLiteral("Nenhum Empresa Nova Incluida"));
        return;
    }
    filtro_ = {};
    filtro_.exata = nova;
    ordem_ = EmprOrdem::Nenhuma;
    executa();
    limpaCampos();
    ok();
}

std::optional<EmpresaEscolhida> TFrmSelecionaEmpresa::escolhida() const {
    return result() == QDialog::Accepted ? escolhida_ : std::nullopt;
}
