#include "VersaoWidgets.h"

#include "Controls.h"

#include <QAbstractItemView>
#include <QBoxLayout>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

namespace VersaoWidgets {

QTableView* grade(QWidget* parent, const QString& name, const QString& accessibleName) {
    auto* view = new QTableView(parent);
    view->setObjectName(name);
    view->setAccessibleName(accessibleName);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->verticalHeader()->hide();
    view->setWordWrap(false);
    Controls::showRows(view);
    Controls::fitColumns(view);
    return view;
}

void ajustaColunas(QTableView* grade) {
    QHeaderView* header = grade->horizontalHeader();
    grade->resizeColumnsToContents();
    int width = 2 * grade->frameWidth() + grade->verticalScrollBar()->sizeHint().width();
    for (int column = 0; column < header->count(); ++column)
        width += grade->columnWidth(column);
    grade->setMinimumWidth(std::max(grade->minimumWidth(), width));
}

Rodape rodape(QWidget* parent, QBoxLayout* layout, const QString& tituloInstalacao) {
    Rodape r{};
    QWidget* installOwner = parent;
    auto* linhaInstalacao = new QHBoxLayout;
    if (!tituloInstalacao.isEmpty()) {
        r.grupoInstalacao = new QGroupBox(tituloInstalacao, parent);
        installOwner = r.grupoInstalacao;
        r.grupoInstalacao->setLayout(linhaInstalacao);
        layout->addWidget(r.grupoInstalacao);
    } else {
        layout->addLayout(linhaInstalacao);
    }
    r.LbAtualiza =
        new QLabel(QStringLiteral("Atualizando tabelas para a nova versão... Aguarde."), installOwner);
    r.LbAtualiza->setObjectName(QStringLiteral("LbAtualiza"));
    r.LbAtualiza->setVisible(false);
    r.CkAtualiza = marca(installOwner, QStringLiteral("CkAtualiza"));
    linhaInstalacao->addWidget(r.CkAtualiza);
    linhaInstalacao->addWidget(r.LbAtualiza, 1);

    auto* resultado = new QGroupBox(QStringLiteral("Resultado Final  "), parent);
    r.EdResultado = new QLineEdit(resultado);
    r.EdResultado->setObjectName(QStringLiteral("EdResultado"));
    r.EdResultado->setReadOnly(true);
    r.EdResultado->setAccessibleName(QStringLiteral("Resultado Final"));
    (new QVBoxLayout(resultado))->addWidget(r.EdResultado);
    layout->addWidget(resultado);

    r.BtAtualiza = botao(parent, QStringLiteral("BtAtualiza"), QStringLiteral("Atualiza Versão"));
    r.BtCancela = botao(parent, QStringLiteral("BtCancela"), QStringLiteral("Cancela"));
    r.BtSaida = botao(parent, QStringLiteral("BtSaida"), QStringLiteral("&Saída"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(r.BtAtualiza);
    buttons->addWidget(r.BtCancela);
    buttons->addWidget(r.BtSaida);
    layout->addLayout(buttons);
    return r;
}

} // namespace VersaoWidgets
