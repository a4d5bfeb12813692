#include "TFrmSelecaoResultado.h"

#include "ResultadoWidgets.h"
#include "TFrmResultadoAutomatico.h"
#include "TFrmResultadoManual.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TFrmSelecaoResultado::TFrmSelecaoResultado(Session& session, SharedBatchState& state,
                                           const QString& arquivoRemessa, QWidget* parent)
    : QDialog(parent), session_(session), state_(state) {
    setObjectName(QStringLiteral("TFrmSelecaoResultado"));
    setWindowTitle(QStringLiteral("Seleção de Modo de Recebimento"));
    auto* modo = new QGroupBox(this);
    RbFTP_ =
        new QRadioButton(QStringLiteral("Recebimento Automático de Resultado da Remessa (via FTP)"), modo);
    RbFTP_->setObjectName(QStringLiteral("RbFTP"));
    RbFTP_->setChecked(true);
    RbManual_ = new QRadioButton(QStringLiteral("Informação Manual de Resultado da Remessa"), modo);
    RbManual_->setObjectName(QStringLiteral("RbManual"));
    auto* opcoes = new QVBoxLayout(modo);
    opcoes->addWidget(RbFTP_);
    opcoes->addWidget(RbManual_);

    EdArquivoRemessa_ = new QLineEdit(arquivoRemessa, this);
    EdArquivoRemessa_->setObjectName(QStringLiteral("EdArquivoRemessa"));
    EdArquivoRemessa_->setVisible(false);

    QPushButton* ok = ResultadoWidgets::botao(this, QStringLiteral("BtOK"), QStringLiteral("Ok"));
    ok->setDefault(true);
    QPushButton* cancela =
        ResultadoWidgets::botao(this, QStringLiteral("BtCancela"), QStringLiteral("Cancela"));
    auto* botoes = new QHBoxLayout;
    botoes->addStretch(1);
    botoes->addWidget(ok);
    botoes->addWidget(cancela);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(modo);
    layout->addWidget(EdArquivoRemessa_);
    layout->addLayout(botoes);
    connect(ok, &QPushButton::clicked, this, &TFrmSelecaoResultado::BtOKClick);
    connect(cancela, &QPushButton::clicked, this, &QDialog::reject);
}

void TFrmSelecaoResultado::BtOKClick() {
    const QString arquivo = EdArquivoRemessa_->text();
    if (RbFTP_->isChecked()) {
        TFrmResultadoAutomatico form(session_, state_, arquivo, this);
        form.setRelatorio(relatorio_);
        form.exec();
    } else {
        TFrmResultadoManual form(session_, state_, arquivo, this);
        form.exec();
    }
    accept();
}
