#include "PanelTabKavorel.h"
#include "Controls.h"

#include "Session.h"
#include "Sql.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QSqlQueryModel>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

PanelTabKavorel::PanelTabKavorel(Session& session, QWidget* parent) : QWidget(parent), session_(session) {
    setObjectName(QStringLiteral("PanelTabKavorel"));
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox(QStringLiteral("Tabelas KAVOREL"), this);
    layout->addWidget(group);
    auto* inner = new QVBoxLayout(group);
    abas_ = new QTabWidget(group);
    abas_->setObjectName(QStringLiteral("PControlTabKavorel"));
    abas_->setUsesScrollButtons(false);
    Controls::name(abas_, QStringLiteral("Tabelas KAVOREL"));
    const QList<ConsultaKavorel>& consultas = TabelasKavorel::consultas();
    for (int i = 0; i < consultas.size(); ++i) {
        auto* view = new QTableView(abas_);
        view->setObjectName(consultas[i].nome);
        auto* model = new QSqlQueryModel(view);
        view->setModel(model);
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        view->setSelectionBehavior(QAbstractItemView::SelectRows);
        view->horizontalHeader()->setSectionsClickable(true);
        Controls::name(view, consultas[i].aba);
        Controls::showRows(view);
        Controls::fitColumns(view);
        connect(view->horizontalHeader(), &QHeaderView::sectionClicked, this,
                [this, i](int column) { ordena(i, column); });
        abas_->addTab(view, consultas[i].aba);
        grades_.append(view);
        modelos_.append(model);
    }
    inner->addWidget(abas_, 1);
    auto* buttons = new QHBoxLayout;
    auto* saidaButton = new QPushButton(QStringLiteral("&Saída"), group);
    saidaButton->setObjectName(QStringLiteral("BitBtn13"));
    buttons->addStretch();
    buttons->addWidget(saidaButton);
    inner->addLayout(buttons);
    connect(saidaButton, &QPushButton::clicked, this, [this] {
        fecha();
        emit saida();
    });
}

void PanelTabKavorel::executa(int grid, const QString& ordem) {
    const ConsultaKavorel& consulta = TabelasKavorel::consultas().at(grid);
    // A grid's model scrolls back and forth, so its query is not forward-only.
    QSqlQuery query(session_.database());
    // Ordered by the names of the list's own columns, whatever the tables they come from.
    if (!query.exec(QStringLiteral("SELECT * FROM (%1) %2").arg(consulta.sql, ordem)))
        throw Sql::errorOf(query);
    QSqlQueryModel* model = modelos_.at(grid);
    model->setQuery(std::move(query));
    for (int c = 0; c < consulta.titulos.size(); ++c)
        model->setHeaderData(c, Qt::Horizontal, consulta.titulos.at(c));
}

void PanelTabKavorel::abre() {
    const QList<ConsultaKavorel>& consultas = TabelasKavorel::consultas();
    for (int i = 0; i < consultas.size(); ++i)
        executa(i, QStringLiteral("Order by ") + consultas[i].ordemInicial);
}

void PanelTabKavorel::fecha() {
    for (QSqlQueryModel* model : modelos_)
        model->clear();
}

void PanelTabKavorel::ordena(int grid, int column) {
    const ConsultaKavorel& consulta = TabelasKavorel::consultas().at(grid);
    if (column < 0 || column >= consulta.campos.size())
        return;
    // The clause names one of the program's own fields, never user text.
    executa(grid, ordem_.ordena(consulta.campos.at(column)));
}
