#include "TFrmAlteraStatusEmpresa.h"
#include "Widgets.h"

#include "Controls.h"
#include "DbError.h"
#include "LinhasProduto.h"
#include "Prompts.h"
#include "Session.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQueryModel>
#include <QTableView>
#include <QVBoxLayout>

namespace {

// A read-only grid at least eight rows tall.
QTableView* novaGrade(QWidget* parent, const QString& nome, const QString& titulo, QSqlQueryModel* model) {
    auto* grade = new QTableView(parent);
    grade->setObjectName(nome);
    grade->setAccessibleName(titulo);
    grade->setModel(model);
    grade->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grade->setSelectionBehavior(QAbstractItemView::SelectRows);
    grade->setSelectionMode(QAbstractItemView::SingleSelection);
    grade->verticalHeader()->hide();
    grade->setWordWrap(false);
    Controls::showRows(grade);
    Controls::fitColumns(grade);
    return grade;
}

} // namespace

TFrmAlteraStatusEmpresa::TFrmAlteraStatusEmpresa(Session& session, JustificationAsker asker,
                                                 EntradaAlteraStatus entrada, QWidget* parent)
    : QDialog(parent), operacao_(session, std::move(asker), std::move(entrada)) {
    setObjectName(QStringLiteral("TFrmAlteraStatusEmpresa"));
    setWindowTitle(QStringLiteral("Alteração de Status"));
    setSizeGripEnabled(true);
    auto* layout = new QVBoxLayout(this);

    auto* grades = new QHBoxLayout;
    auto* grupoProdutos = new QGroupBox(QStringLiteral("Produtos"), this);
    grupoProdutos->setObjectName(QStringLiteral("GbProdutos"));
    produtos_ = new QSqlQueryModel(this);
    gradeProdutos_ =
        novaGrade(grupoProdutos, QStringLiteral("DBGridProduto"), QStringLiteral("Produtos"), produtos_);
    (new QVBoxLayout(grupoProdutos))->addWidget(gradeProdutos_);
    auto* grupoServicos = new QGroupBox(QStringLiteral("Serviços"), this);
    grupoServicos->setObjectName(QStringLiteral("GbServicos"));
    servicos_ = new QSqlQueryModel(this);
    gradeServicos_ =
        novaGrade(grupoServicos, QStringLiteral("DBGridServico"), QStringLiteral("Serviços"), servicos_);
    (new QVBoxLayout(grupoServicos))->addWidget(gradeServicos_);
    grades->addWidget(grupoProdutos, 1);
    grades->addWidget(grupoServicos, 1);
    layout->addLayout(grades, 1);

    auto* grupoPropagar = new QGroupBox(QStringLiteral("Propagar Status"), this);
    grupoPropagar->setObjectName(QStringLiteral("GbPropagar"));
    auto* propagar = new QHBoxLayout(grupoPropagar);
    auto* textos = new QVBoxLayout;
    LbStatus_ = new QLabel(QStringLiteral("Propagar o Status"), grupoPropagar);
    LbStatus_->setObjectName(QStringLiteral("LbStatus"));
    auto* fixo = new QLabel(QStringLiteral("para os Produtos ou Serviços Vinculados"), grupoPropagar);
    fixo->setObjectName(QStringLiteral("LbVinculados"));
    textos->addWidget(LbStatus_);
    textos->addWidget(fixo);
    propagar->addLayout(textos, 1);
    BtnPropagar_ =
        Widgets::botao(grupoPropagar, QStringLiteral("BtnPropagar"), QStringLiteral("Propagar"), propagar);
    BtnPropagar_->setAccessibleDescription(LbStatus_->text());
    layout->addWidget(grupoPropagar);

    GbTransferir_ = new QGroupBox(QStringLiteral("Transferir Empresa Vinculada dos Produtos"), this);
    GbTransferir_->setObjectName(QStringLiteral("GbTransferir"));
    auto* transferir = new QVBoxLayout(GbTransferir_);
    auto* form = new QFormLayout;
    EdtEmpresaAtual_ = new QLineEdit(GbTransferir_);
    EdtEmpresaAtual_->setObjectName(QStringLiteral("EdtEmpresaAtual"));
    EdtEmpresaAtual_->setReadOnly(true);
    cmbEmpVinculadaTipo_ = new QComboBox(GbTransferir_);
    cmbEmpVinculadaTipo_->setObjectName(QStringLiteral("cmbEmpVinculadaTipo"));
    cmbEmpVinculadaTipo_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    form->addRow(QStringLiteral("Empresa &Vinculada Atual"), EdtEmpresaAtual_);
    form->addRow(QStringLiteral("&Nova Empresa"), cmbEmpVinculadaTipo_);
    transferir->addLayout(form);
    auto* botaoTransferir = new QHBoxLayout;
    botaoTransferir->addStretch();
    BtnTransferir_ = Widgets::botao(GbTransferir_, QStringLiteral("BtnTransferir"),
                                    QStringLiteral("Transferir"), botaoTransferir);
    transferir->addLayout(botaoTransferir);
    layout->addWidget(GbTransferir_);

    auto* rodape = new QHBoxLayout;
    rodape->addStretch();
    auto* saida = Widgets::botao(this, QStringLiteral("BtSaida"), QStringLiteral("&Saída"), rodape);
    saida->setToolTip(QStringLiteral("Encerrar edição"));
    layout->addLayout(rodape);

    connect(BtnPropagar_, &QPushButton::clicked, this, &TFrmAlteraStatusEmpresa::propagar);
    connect(BtnTransferir_, &QPushButton::clicked, this, &TFrmAlteraStatusEmpresa::transferir);
    connect(saida, &QPushButton::clicked, this, &QDialog::reject);

    // Captions by new status; any other status keeps the designed ones.
    if (const QString legenda = operacao_.legendaStatus(); !legenda.isEmpty())
        LbStatus_->setText(legenda);
    if (const QString legenda = operacao_.legendaTransferir(); !legenda.isEmpty())
        GbTransferir_->setTitle(legenda);
    preenche();
}

void TFrmAlteraStatusEmpresa::preenche() {
    const EntradaAlteraStatus& e = operacao_.entrada();
    const QSqlDatabase db = operacao_.database();
    const Sql::Params params{
        {":sigla", e.sigla}, {":num", e.numCertif}, {":pais", e.codigoPais}, {":id", e.idEmpresa}};
    try {
        produtos_->setQuery(LinhasProduto::abreGrade(db, AlteraStatusEmpresa::consultaProdutos(), params));
        servicos_->setQuery(LinhasProduto::abreGrade(db, AlteraStatusEmpresa::consultaServicos(), params));
        cmbEmpVinculadaTipo_->clear();
        const std::optional<EmpresaVinculada> atual = operacao_.empresaAtual();
        EdtEmpresaAtual_->setText(atual ? atual->texto() : e.idEmpresa);
        // Each entry carries its company's key and shows its CNPJ/CPF beside the name.
        for (const EmpresaVinculada& outra : operacao_.outrasEmpresas())
            cmbEmpVinculadaTipo_->addItem(outra.texto(), QVariantList{outra.CodigoPais, outra.IdEmpresa});
        cmbEmpVinculadaTipo_->setCurrentIndex(-1);
    } catch (const DbError& error) {
        operacao_.session().prompts().error(error.message());
    }
    produtos_->setHeaderData(0, Qt::Horizontal, QStringLiteral("Marca"));
    produtos_->setHeaderData(1, Qt::Horizontal, QStringLiteral("Modelo"));
    servicos_->setHeaderData(0, Qt::Horizontal, QStringLiteral("Classe de Serviço"));
}

void TFrmAlteraStatusEmpresa::propagar() {
    if (!operacao_.propagar())
        return;
    BtnTransferir_->setEnabled(false);
    BtnPropagar_->setEnabled(false);
}

void TFrmAlteraStatusEmpresa::transferir() {
    std::optional<std::pair<QString, QString>> nova;
    const QVariantList chave = cmbEmpVinculadaTipo_->currentData().toList();
    if (cmbEmpVinculadaTipo_->currentIndex() >= 0 && chave.size() == 2)
        nova = std::make_pair(chave[0].toString(), chave[1].toString());
    if (!operacao_.transferir(nova))
        return;
    BtnTransferir_->setEnabled(false);
    BtnPropagar_->setEnabled(false);
}
