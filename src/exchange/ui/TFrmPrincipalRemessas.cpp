#include "TFrmPrincipalRemessas.h"

#include "GradeRemessa.h"
#include "Prompts.h"
#include "Session.h"
#include "SharedBatchState.h"
#include "TFrmNovaRemessa.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace {

QPushButton* botao(QWidget* parent, const char* name, const QString& text, QBoxLayout* layout) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    button->setAccessibleName(QString(text).remove(QLatin1Char('&')));
    layout->addWidget(button);
    return button;
}

QStandardItem* celula(const QString& text) {
    auto* item = new QStandardItem(text);
    item->setEditable(false);
    return item;
}

// Columns of the batch list as Controle_Temp holds them; Evento and Ultima are not shown.
enum ColunaRemessa { ColNumero, ColStatus, ColTipo, ColEvento, ColUltima };

} // namespace

TFrmPrincipalRemessas::TFrmPrincipalRemessas(Session& session, SharedBatchState& state, QWidget* parent)
    : QDialog(parent), session_(session), state_(state), control_(session, state),
      controleTemp_(new QStandardItemModel(0, 5, this)), qrEventos_(new QStandardItemModel(0, 4, this)) {
    setObjectName(QStringLiteral("TFrmPrincipalRemessas"));
    setWindowTitle(QStringLiteral("Controle de Remessas"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setSizeGripEnabled(true);

    auto* lblRemessas = new QLabel(QStringLiteral("&Remessas"), this);
    lblRemessas->setObjectName(QStringLiteral("LblRemessas"));
    GrRemessa_ = GradeRemessa::grade(this, "GrRemessa", lblRemessas, 12);
    controleTemp_->setHorizontalHeaderLabels({QStringLiteral("Remessa"), QStringLiteral("Status"),
                                              QStringLiteral("Tipo"), QStringLiteral("Evento"),
                                              QStringLiteral("Ultima")});
    GrRemessa_->setModel(controleTemp_);
    GrRemessa_->setColumnHidden(ColEvento, true);
    GrRemessa_->setColumnHidden(ColUltima, true);
    GradeRemessa::larguraPara(GrRemessa_,
                              {QStringLiteral("2015112501"), QStringLiteral("Aguardando Transferência"),
                               QStringLiteral("Completa")});

    auto* lblEventos = new QLabel(QStringLiteral("&Eventos da Remessa"), this);
    lblEventos->setObjectName(QStringLiteral("LblEventos"));
    GrEventos_ = GradeRemessa::grade(this, "GrEventos", lblEventos, 12);
    qrEventos_->setHorizontalHeaderLabels({QStringLiteral("Data/Hora"), QStringLiteral("Evento"),
                                           QStringLiteral("Usuário Responsável"),
                                           QStringLiteral("Observações")});
    GrEventos_->setModel(qrEventos_);
    GradeRemessa::larguraPara(GrEventos_,
                              {QStringLiteral("25/11/15 14:03:59"), QStringLiteral("Enviada para o Kavorel"),
                               QStringLiteral("Usuário Responsável"),
                               QStringLiteral("Remessa Cancelada pelo Usuário")});

    auto* buttons = new QVBoxLayout;
    BtPrepara_ = botao(this, "BtPrepara", QStringLiteral("&Prepara Nova Remessa..."), buttons);
    BtTransfere_ =
        botao(this, "BtTransfere", QStringLiteral("&Transfere Arquivo para o Kavorel..."), buttons);
    BtRecebe_ = botao(this, "BtRecebe", QStringLiteral("Rece&be Resultado do Kavorel..."), buttons);
    BtCancela_ = botao(this, "BtCancela", QStringLiteral("&Cancela Última Remessa"), buttons);
    buttons->addSpacing(12);
    BtLimpa_ = botao(this, "BtLimpa", QStringLiteral("&Limpa Histórico"), buttons);
    BtListagem_ = botao(this, "BtListagem", QStringLiteral("Listagem do &Histórico"), buttons);
    buttons->addStretch();
    BtSaida_ = botao(this, "BtSaida", QStringLiteral("&Saída"), buttons);

    auto* grids = new QGridLayout;
    grids->addWidget(lblRemessas, 0, 0);
    grids->addWidget(GrRemessa_, 1, 0);
    grids->addWidget(lblEventos, 0, 1);
    grids->addWidget(GrEventos_, 1, 1);
    grids->setColumnStretch(0, 2);
    grids->setColumnStretch(1, 5);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(grids, 1);
    layout->addLayout(buttons);

    connect(GrRemessa_->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] {
        if (!refreshing_)
            DsControle_TempDataChange();
    });
    connect(BtPrepara_, &QPushButton::clicked, this, &TFrmPrincipalRemessas::BtPreparaClick);
    connect(BtTransfere_, &QPushButton::clicked, this, &TFrmPrincipalRemessas::BtTransfereClick);
    connect(BtRecebe_, &QPushButton::clicked, this, &TFrmPrincipalRemessas::BtRecebeClick);
    connect(BtCancela_, &QPushButton::clicked, this, &TFrmPrincipalRemessas::BtCancelaClick);
    connect(BtLimpa_, &QPushButton::clicked, this, &TFrmPrincipalRemessas::BtLimpaClick);
    connect(BtListagem_, &QPushButton::clicked, this, &TFrmPrincipalRemessas::BtListagemClick);
    connect(BtSaida_, &QPushButton::clicked, this, &QDialog::accept);

    DsControle_TempDataChange();
}

void TFrmPrincipalRemessas::setTransfere(SubScreen operation) {
    transfere_ = std::move(operation);
    DsControle_TempDataChange();
}

void TFrmPrincipalRemessas::setRecebe(SubScreen operation) {
    recebe_ = std::move(operation);
    DsControle_TempDataChange();
}

void TFrmPrincipalRemessas::setListagem(std::function<void(QWidget*)> operation) {
    listagem_ = std::move(operation);
    DsControle_TempDataChange();
}

void TFrmPrincipalRemessas::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!activated_) {
        activated_ = true;
        FormActivate();
        GrRemessa_->setFocus();
    }
}

void TFrmPrincipalRemessas::FormActivate() {
    state_.load(session_.database(), session_.user());
    AtualizaListaRemessas();
}

void TFrmPrincipalRemessas::AtualizaListaRemessas() {
    // The grids are detached while the list is rebuilt, so the button logic never sees half a list.
    refreshing_ = true;
    controleTemp_->removeRows(0, controleTemp_->rowCount());
    qrEventos_->removeRows(0, qrEventos_->rowCount());
    remessas_ = control_.atualizaListaRemessas();
    for (const BatchListRow& row : remessas_) {
        // The type is shown by its name; the row keeps the code the register holds.
        QStandardItem* tipo = celula(BatchTypes::descricao(row.TipoRemessa));
        tipo->setData(row.TipoRemessa, Qt::UserRole);
        controleTemp_->appendRow(
            {celula(row.NumeroRemessa), celula(row.Status), tipo, celula(row.Evento), celula(row.Ultima)});
    }
    GrRemessa_->resizeColumnToContents(ColNumero);
    GrRemessa_->resizeColumnToContents(ColStatus);
    if (!remessas_.isEmpty())
        GrRemessa_->selectRow(0);
    refreshing_ = false;
    DsControle_TempDataChange();
}

std::optional<BatchListRow> TFrmPrincipalRemessas::remessaSelecionada() const {
    const QModelIndex current = GrRemessa_->selectionModel()->currentIndex();
    if (!current.isValid() || current.row() >= remessas_.size())
        return std::nullopt;
    return remessas_.at(current.row());
}

void TFrmPrincipalRemessas::DsControle_TempDataChange() {
    const std::optional<BatchListRow> selected = remessaSelecionada();
    qrEventos_->removeRows(0, qrEventos_->rowCount());
    QList<BatchEventRow> eventos;
    if (selected)
        eventos = control_.eventos(selected->NumeroRemessa);
    for (const BatchEventRow& e : eventos)
        qrEventos_->appendRow({celula(e.DataHoraEvento.toString(QStringLiteral("dd/MM/yy hh:mm:ss"))),
                               celula(e.DscEvento), celula(e.Usuario), celula(e.Obs)});
    for (int column = 0; column < 3; ++column) // the remarks take what is left
        GrEventos_->resizeColumnToContents(column);

    const BatchButtons b = botoesParaRemessa(selected, eventos.isEmpty());
    BtPrepara_->setEnabled(b.BtPrepara);
    BtTransfere_->setEnabled(b.BtTransfere && transfere_);
    BtRecebe_->setEnabled(b.BtRecebe && recebe_);
    BtCancela_->setEnabled(b.BtCancela);
    BtLimpa_->setEnabled(true);
    BtListagem_->setEnabled(bool(listagem_));
}

void TFrmPrincipalRemessas::selecionaRemessa(const BatchListRow& row) {
    state_.NumeroRemessa = row.NumeroRemessa;
    state_.TipoRemessa = row.TipoRemessa;
}

QString TFrmPrincipalRemessas::arquivoDaRemessa(const BatchListRow& row) const {
    return BatchTypes::nomeArquivo(row.TipoRemessa, state_.SiglaCertificador, row.NumeroRemessa);
}

void TFrmPrincipalRemessas::voltaParaLista() {
    AtualizaListaRemessas();
    GrRemessa_->setFocus();
}

void TFrmPrincipalRemessas::BtPreparaClick() {
    // The list shows the latest batch first; with no batch at all the preparation starts from
    // "0000000000".
    const QString anterior = control_.numeroAnterior();
    {
        TFrmNovaRemessa nova(session_, state_, anterior, this);
        nova.exec();
    }
    voltaParaLista();
}

void TFrmPrincipalRemessas::BtTransfereClick() {
    const std::optional<BatchListRow> selected = remessaSelecionada();
    if (!selected || !transfere_)
        return;
    selecionaRemessa(*selected);
    transfere_(this, arquivoDaRemessa(*selected));
    voltaParaLista();
}

void TFrmPrincipalRemessas::BtRecebeClick() {
    const std::optional<BatchListRow> selected = remessaSelecionada();
    if (!selected || !recebe_)
        return;
    selecionaRemessa(*selected);
    recebe_(this, arquivoDaRemessa(*selected));
    voltaParaLista();
}

void TFrmPrincipalRemessas::BtCancelaClick() {
    const std::optional<BatchListRow> selected = remessaSelecionada();
    if (!selected)
        return;
    const bool confirmado = session_.prompts().confirm(BatchControl::confirmacaoCancelamento());
    if (!confirmado)
        return;
    const BatchControl::Outcome outcome = control_.cancelaRemessa(*selected, confirmado);
    if (!outcome.message.isEmpty())
        session_.prompts().warning(outcome.message, windowTitle());
    voltaParaLista();
}

void TFrmPrincipalRemessas::BtLimpaClick() {
    const bool confirmado = session_.prompts().confirm(BatchControl::confirmacaoLimpeza());
    if (!confirmado)
        return;
    refreshing_ = true;
    const BatchControl::Outcome outcome = control_.limpaHistorico(remessaSelecionada(), confirmado);
    refreshing_ = false;
    if (!outcome.message.isEmpty())
        session_.prompts().warning(outcome.message, windowTitle());
    AtualizaListaRemessas();
}

void TFrmPrincipalRemessas::BtListagemClick() {
    if (listagem_)
        listagem_(this);
}
