#include "AprovaCertificadosPage.h"
#include "Controls.h"

#include "Aprovacao.h"
#include "Clock.h"
#include "Prompts.h"
#include "Session.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>

AprovaCertificadosPage::AprovaCertificadosPage(Session& session, QWidget* parent)
    : QWidget(parent), session_(session), qryAprovacao_(new QSqlQueryModel(this)),
      DBGrid24_(new QTableView(this)) {
    setObjectName(QStringLiteral("AprovaCertificados"));

    DBGrid24_->setObjectName(QStringLiteral("DBGrid24"));
    DBGrid24_->setModel(qryAprovacao_);
    DBGrid24_->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid24_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    DBGrid24_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid24_->verticalHeader()->setVisible(false);
    Controls::name(DBGrid24_, QStringLiteral("Certificados prontos para aprovação"));
    Controls::showRows(DBGrid24_);
    Controls::fitColumns(DBGrid24_);

    auto* aprova = new QPushButton(QStringLiteral("Aprova Certificado"), this);
    aprova->setObjectName(QStringLiteral("BitBtn9"));
    aprova->setDefault(true);
    auto* saida = new QPushButton(QStringLiteral("&Saida"), this);
    saida->setObjectName(QStringLiteral("BitBtn17"));

    auto* group = new QGroupBox(QStringLiteral("Aprovação de Certificados"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(aprova);
    buttons->addWidget(saida);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(DBGrid24_);
    groupLayout->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);

    connect(aprova, &QPushButton::clicked, this, &AprovaCertificadosPage::aprovaSelecionados);
    connect(saida, &QPushButton::clicked, this, &AprovaCertificadosPage::sai);
}

void AprovaCertificadosPage::open() {
    recarrega();
}

void AprovaCertificadosPage::recarrega() {
    qryAprovacao_->clear();
    qryAprovacao_->setQuery(QSqlQuery(Aprovacao::SqlCandidatos, session_.database()));
    // Keep no statement open on the connection while the list is shown.
    while (qryAprovacao_->canFetchMore())
        qryAprovacao_->fetchMore();
    if (qryAprovacao_->lastError().isValid())
        session_.prompts().error(qryAprovacao_->lastError().text(), QStringLiteral("Erro"));
    qryAprovacao_->setHeaderData(0, Qt::Horizontal, QStringLiteral("Sigla do Certificador"));
    qryAprovacao_->setHeaderData(1, Qt::Horizontal, QStringLiteral("Número do Certificado"));
    DBGrid24_->setColumnHidden(2, true);
    DBGrid24_->setColumnHidden(3, true);
    DBGrid24_->resizeColumnToContents(0);
    DBGrid24_->clearSelection();
}

void AprovaCertificadosPage::aprovaSelecionados() {
    QModelIndexList rows = DBGrid24_->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return;
    // In the order of the list, whatever order the rows were picked in.
    std::sort(rows.begin(), rows.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    QList<Aprovacao::Candidato> selecionados;
    for (const QModelIndex& index : rows) {
        const QSqlRecord r = qryAprovacao_->record(index.row());
        selecionados.append(
            {r.value(0).toString(), r.value(1).toString(), r.value(2).toString(), r.value(3).toDateTime()});
    }
    qryAprovacao_->clear(); // no read statement pending during the writes
    try {
        Aprovacao::aprova(session_.database(), selecionados, session_.user().SiglaUsu,
                          session_.clock().now());
    } catch (const std::exception&) {
        session_.prompts().error(Aprovacao::MensagemErro, QStringLiteral("Erro"));
    }
    recarrega();
}

void AprovaCertificadosPage::sai() {
    qryAprovacao_->clear();
    emit finished();
}
