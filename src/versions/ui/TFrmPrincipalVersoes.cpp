#include "TFrmPrincipalVersoes.h"

#include "Session.h"
#include "TFrmAtualizaVersao.h"
#include "TFrmVersaoAnterior.h"
#include "VersaoWidgets.h"
#include "Versoes.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

TFrmPrincipalVersoes::TFrmPrincipalVersoes(Session& session, QWidget* parent)
    : QDialog(parent), session_(session), modelo_(new QStandardItemModel(this)) {
    setObjectName(QStringLiteral("TFrmPrincipalVersoes"));
    setWindowTitle(QStringLiteral("Controle de Versões de Tabelas Auxiliares"));

    auto* atual = new QGroupBox(QStringLiteral("Versão Atual das Tabelas Auxiliares "), this);
    auto* form = new QFormLayout(atual);
    EdVersaoAtual_ = VersaoWidgets::campo(form, atual, QStringLiteral("EdVersaoAtual"),
                                          QStringLiteral("Número da Versão: "));
    EdNomeArquivo_ = VersaoWidgets::campo(form, atual, QStringLiteral("EdNomeArquivo"),
                                          QStringLiteral("Arquivo da Versão: "));

    auto* historico = new QGroupBox(QStringLiteral("Histórico de Atualizações de Versão"), this);
    grade_ = VersaoWidgets::grade(historico, QStringLiteral("DBGridVersao"), historico->title());
    grade_->setModel(modelo_);
    (new QVBoxLayout(historico))->addWidget(grade_);

    auto* BtAtualizaVersao = VersaoWidgets::botao(this, QStringLiteral("BtAtualizaVersao"),
                                                  QStringLiteral("Atualiza versão atual..."));
    BtVersaoAnterior_ = VersaoWidgets::botao(this, QStringLiteral("BtVersaoAnterior"),
                                             QStringLiteral("Instala versão anterior..."));
    auto* BtSaida = VersaoWidgets::botao(this, QStringLiteral("BtSaida"), QStringLiteral("&Saída"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BtAtualizaVersao);
    buttons->addWidget(BtVersaoAnterior_);
    buttons->addStretch();
    buttons->addWidget(BtSaida);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(atual);
    layout->addWidget(historico, 1);
    layout->addLayout(buttons);

    connect(BtAtualizaVersao, &QPushButton::clicked, this, &TFrmPrincipalVersoes::atualizaVersao);
    connect(BtVersaoAnterior_, &QPushButton::clicked, this, &TFrmPrincipalVersoes::versaoAnterior);
    connect(BtSaida, &QPushButton::clicked, this, &QDialog::accept);
    mostra();
}

void TFrmPrincipalVersoes::mostra() {
    const QSqlDatabase db = session_.database();
    const Versoes::VersaoInstalada installed = Versoes::versaoInstalada(db);
    EdVersaoAtual_->setText(installed.existe() ? installed.numero : QString());
    EdNomeArquivo_->setText(installed.arquivo);

    modelo_->clear();
    modelo_->setHorizontalHeaderLabels({QStringLiteral("Data/Hora"), QStringLiteral("Versão Instalada"),
                                        QStringLiteral("Arquivo da Versão")});
    const QList<Versoes::Instalacao> rows = Versoes::historico(db);
    for (const Versoes::Instalacao& row : rows) {
        modelo_->appendRow({new QStandardItem(row.dataHora.toString(QStringLiteral("dd/MM/yy hh:mm:ss"))),
                            new QStandardItem(row.numero), new QStandardItem(row.arquivo)});
    }
    VersaoWidgets::ajustaColunas(grade_);
    BtVersaoAnterior_->setEnabled(!rows.isEmpty());
}

void TFrmPrincipalVersoes::atualizaVersao() {
    if (subTelaAberta_)
        return; // the open one writes into the reception directory
    subTelaAberta_ = true;
    TFrmAtualizaVersao form(session_, this);
    form.exec();
    subTelaAberta_ = false;
    if (form.instalou())
        emit versaoInstalada();
    mostra();
}

void TFrmPrincipalVersoes::versaoAnterior() {
    if (subTelaAberta_)
        return;
    subTelaAberta_ = true;
    TFrmVersaoAnterior form(session_, this);
    form.exec();
    subTelaAberta_ = false;
    if (form.instalou())
        emit versaoInstalada();
    mostra();
}
