#include "TFrmConfResultadoManual.h"

#include "ResultadoWidgets.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFrmConfResultadoManual::TFrmConfResultadoManual(const QString& resultado, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("TFrmConfResultadoManual"));
    setWindowTitle(QStringLiteral("Confirma Resultado Manual"));
    auto* pergunta = new QLabel(QStringLiteral("Confirma Resultado Informado?"), this);
    EdResultado_ = new QLineEdit(resultado, this);
    EdResultado_->setObjectName(QStringLiteral("EdResultado"));
    EdResultado_->setReadOnly(true);
    pergunta->setBuddy(EdResultado_);
    EdResultado_->setAccessibleName(pergunta->text());
    QPushButton* ok = ResultadoWidgets::botao(this, QStringLiteral("BtOK"), QStringLiteral("Ok"));
    QPushButton* cancela =
        ResultadoWidgets::botao(this, QStringLiteral("BtCancela"), QStringLiteral("Cancela"));
    ok->setDefault(true);
    auto* botoes = new QHBoxLayout;
    botoes->addStretch(1);
    botoes->addWidget(ok);
    botoes->addWidget(cancela);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pergunta);
    layout->addWidget(EdResultado_);
    layout->addLayout(botoes);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancela, &QPushButton::clicked, this, &QDialog::reject);
    ok->setFocus();
}
