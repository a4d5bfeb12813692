#include "TFrmSelecaoTransferencia.h"

#include "SharedBatchState.h"
#include "TFrmGravaDisquete.h"
#include "TFrmTransfereArquivo.h"
#include "TFrmTransfereSMTP.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace EntregaWidgets;

const QStringList& TFrmSelecaoTransferencia::modos() {
    static const QStringList items{QStringLiteral("Transferência automática via FTP para o Kavorel "),
                                   QStringLiteral("Gravação de disquete a ser enviado ao Kavorel"),
                                   QStringLiteral("Transferência automática via EMAIL para o Kavorel ")};
    return items;
}

TFrmSelecaoTransferencia::TFrmSelecaoTransferencia(Session& session, SharedBatchState& state,
                                                   const QString& arquivo, QWidget* parent)
    : QDialog(parent), session_(session), state_(state) {
    setObjectName(QStringLiteral("TFrmSelecaoTransferencia"));
    setWindowTitle(QStringLiteral("Seleção do Modo de Transferência"));

    const GrupoArquivo file = grupoArquivo(this, state.DirLocalTransf, arquivo);
    EdDiretorio_ = file.EdDiretorio;
    EdArquivoTransferencia_ = file.EdArquivoTransferencia;

    RgSelecao_ = new QGroupBox(QStringLiteral("Modo de Transferência"), this);
    RgSelecao_->setObjectName(QStringLiteral("RgSelecao"));
    selecao_ = new QButtonGroup(this);
    auto* itens = new QVBoxLayout(RgSelecao_);
    for (int i = 0; i < modos().size(); ++i) {
        auto* item = new QRadioButton(modos()[i], RgSelecao_);
        item->setObjectName(QStringLiteral("RgSelecao%1").arg(i));
        selecao_->addButton(item, i);
        itens->addWidget(item);
    }
    selecao_->button(0)->setChecked(true);

    BtOK_ = botao(this, QStringLiteral("BtOK"), QStringLiteral("Ok"));
    BtOK_->setDefault(true);
    BtCancela_ = botao(this, QStringLiteral("BtCancela"), QStringLiteral("Cancela"));
    auto* rodape = new QHBoxLayout;
    rodape->addStretch(1);
    rodape->addWidget(BtOK_);
    rodape->addWidget(BtCancela_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(file.grupo);
    layout->addWidget(RgSelecao_);
    layout->addLayout(rodape);

    connect(BtOK_, &QPushButton::clicked, this, &TFrmSelecaoTransferencia::BtOKClick);
    connect(BtCancela_, &QPushButton::clicked, this, &QDialog::reject);
}

void TFrmSelecaoTransferencia::BtOKClick() {
    const QString arquivo = EdArquivoTransferencia_->text();
    switch (selecao_->checkedId()) {
    case 0: {
        TFrmTransfereArquivo form(session_, state_, arquivo, this);
        form.setComprovante(comprovante_);
        form.exec();
        break;
    }
    case 1: {
        TFrmGravaDisquete form(session_, state_, arquivo, this);
        form.setComprovante(comprovante_);
        form.exec();
        break;
    }
    case 2: {
        TFrmTransfereSMTP form(session_, state_, arquivo, this);
        form.setComprovante(comprovante_);
        form.exec();
        break;
    }
    default:
        return;
    }
    accept();
}
