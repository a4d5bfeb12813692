#include "PanelExcluiCertificado.h"
#include "Controls.h"

#include "Prompts.h"
#include "Session.h"
#include "TDMCertif.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace {

QLineEdit* readOnly(const QString& name, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setReadOnly(true);
    return edit;
}

QStandardItemModel* grid(const QString& title, const QString& name, const QStringList& columns,
                         QWidget* parent, QBoxLayout* layout) {
    auto* box = new QGroupBox(title, parent);
    auto* boxLayout = new QVBoxLayout(box);
    auto* view = new QTableView(box);
    view->setObjectName(name);
    auto* model = new QStandardItemModel(0, int(columns.size()), view);
    model->setHorizontalHeaderLabels(columns);
    view->setModel(model);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    Controls::name(view, title);
    Controls::showRows(view);
    Controls::fitColumns(view);
    boxLayout->addWidget(view);
    layout->addWidget(box, 1);
    return model;
}

void fill(QStandardItemModel* model, const QList<QStringList>& rows) {
    model->removeRows(0, model->rowCount());
    for (const QStringList& row : rows) {
        QList<QStandardItem*> items;
        for (const QString& text : row)
            items.append(new QStandardItem(text));
        model->appendRow(items);
    }
}

QString nomeDaClasse(const QList<ClasseItem>& classes, const QVariant& id) {
    for (const ClasseItem& item : classes)
        if (item.id == id)
            return item.nome;
    return {};
}

} // namespace

PanelExcluiCertificado::PanelExcluiCertificado(TDMCertif& dm, QWidget* parent) : QWidget(parent), dm_(dm) {
    setObjectName(QStringLiteral("PanelExcluiCertificado"));
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox(QStringLiteral("Exclui Certificado"), this);
    group->setObjectName(QStringLiteral("GroupExcluiCertificado"));
    layout->addWidget(group);
    auto* inner = new QVBoxLayout(group);

    auto* form = new QFormLayout;
    sigla_ = readOnly(QStringLiteral("DBEdit21"), group);
    numero_ = readOnly(QStringLiteral("DBEdit22"), group);
    classeCertif_ = readOnly(QStringLiteral("DBEdit23"), group);
    classeProd_ = readOnly(QStringLiteral("DBEdit24"), group);
    form->addRow(QStringLiteral("Certificador"), sigla_);
    form->addRow(QStringLiteral("Número do Certificado"), numero_);
    form->addRow(QStringLiteral("Classe de Certificado"), classeCertif_);
    form->addRow(QStringLiteral("Classe de Produtos"), classeProd_);

    // Two grids a row, so that each shows its eight rows in a window that fits a screen.
    auto* topo = new QHBoxLayout;
    topo->addLayout(form);
    inner->addLayout(topo, 1);
    empresas_ = grid(QStringLiteral("Empresas Certificadas"), QStringLiteral("DBGridEmpresasExclusao"),
                     {QStringLiteral("País"), QStringLiteral("CNPJ\\CPF"), QStringLiteral("Razão Social"),
                      QStringLiteral("Nome Fantasia"), QStringLiteral("Papel na Certificação")},
                     group, topo);
    auto* baixo = new QHBoxLayout;
    inner->addLayout(baixo, 1);
    produtos_ = grid(QStringLiteral("Produtos Certificados"), QStringLiteral("DBGridProdutosExclusao"),
                     {QStringLiteral("Marca"), QStringLiteral("Modelo"), QStringLiteral("Importado?"),
                      QStringLiteral("EAN/UPC"), QStringLiteral("Núm. Lote/Série")},
                     group, baixo);
    servicos_ =
        grid(QStringLiteral("Serviços Certificados"), QStringLiteral("DBGridServicosExclusao"),
             {QStringLiteral("Serviço Certificado"), QStringLiteral("Empresa Certificada")}, group, baixo);

    auto* buttons = new QHBoxLayout;
    auto* seleciona = new QPushButton(QStringLiteral("Seleciona Certificado"), group);
    seleciona->setObjectName(QStringLiteral("btnSelCertExclusao"));
    btnExcluiCertif_ = new QPushButton(QStringLiteral("Exclui Certificado"), group);
    btnExcluiCertif_->setObjectName(QStringLiteral("btnExcluiCertif"));
    auto* cancelaButton = new QPushButton(QStringLiteral("Cancela"), group);
    cancelaButton->setObjectName(QStringLiteral("BitBtn83"));
    buttons->addWidget(seleciona);
    buttons->addWidget(btnExcluiCertif_);
    buttons->addStretch();
    buttons->addWidget(cancelaButton);
    inner->addLayout(buttons);

    connect(seleciona, &QPushButton::clicked, this, &PanelExcluiCertificado::selecionaCertificado);
    connect(btnExcluiCertif_, &QPushButton::clicked, this, &PanelExcluiCertificado::exclui);
    connect(cancelaButton, &QPushButton::clicked, this, &PanelExcluiCertificado::cancela);
}

void PanelExcluiCertificado::abre() {
    dm_.fecha();
    limpa();
}

void PanelExcluiCertificado::limpa() {
    for (QLineEdit* edit : {sigla_, numero_, classeCertif_, classeProd_})
        edit->clear();
    for (QStandardItemModel* model : {empresas_, produtos_, servicos_})
        model->removeRows(0, model->rowCount());
    btnExcluiCertif_->setEnabled(false);
}

void PanelExcluiCertificado::mostra() {
    const QSqlDatabase db = dm_.database();
    const Certificado& r = dm_.registro();
    sigla_->setText(r.SiglaCertificador);
    numero_->setText(r.NumCertif);
    classeCertif_->setText(nomeDaClasse(Certificados::classesDeCertificado(db), r.IdClasseCertif));
    classeProd_->setText(r.IdClasseProd ? nomeDaClasse(Certificados::classesDeProdutos(db), *r.IdClasseProd)
                                        : QString());
    fill(empresas_, Certificados::empresasCertificadas(db, dm_.siglaAberta(), dm_.numAberto()));
    fill(produtos_, Certificados::produtosCertificados(db, dm_.siglaAberta(), dm_.numAberto()));
    fill(servicos_, Certificados::servicosCertificados(db, dm_.siglaAberta(), dm_.numAberto()));
}

void PanelExcluiCertificado::selecionaCertificado() {
    const std::optional<ChaveCertificado> chave = escolhe_ ? escolhe_(this) : std::nullopt;
    if (chave && dm_.CarregaCertificado(chave->sigla, chave->numero))
        mostra();
    else
        dm_.session().prompts().information(QStringLiteral("Nenhum Certificado foi escolhido !!!"));
    btnExcluiCertif_->setEnabled(true);
}

void PanelExcluiCertificado::exclui() {
    if (!dm_.excluiCertificado())
        return;
    limpa();
}

void PanelExcluiCertificado::cancela() {
    dm_.fecha();
    limpa();
    emit cancelado();
}
