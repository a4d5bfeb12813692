#include "TFrmCertificadosAVencer.h"

#include "Relatorios.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QSpinBox>

TFrmCertificadosAVencer::TFrmCertificadosAVencer(QWidget* parent)
    : QDialog(parent), spnDias_(new QSpinBox(this)) {
    setObjectName(QStringLiteral("TFrmCertificadosAVencer"));
    setWindowTitle(QStringLiteral("Certificados a Vencer"));
    spnDias_->setObjectName(QStringLiteral("spnDias"));
    spnDias_->setRange(0, 3650);
    spnDias_->setValue(Relatorios::DiasAVencerPadrao);
    spnDias_->setSuffix(QStringLiteral(" dias"));
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("&Visualiza"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("btnVisualiza"));
    ok->setDefault(true);
    QPushButton* cancel = buttons->addButton(QStringLiteral("&Cancela"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("btnCancela"));
    auto* layout = new QFormLayout(this);
    layout->addRow(QStringLiteral("Validade terminando em até:"), spnDias_);
    layout->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

int TFrmCertificadosAVencer::dias() const {
    return spnDias_->value();
}

void TFrmCertificadosAVencer::setDias(int dias) {
    spnDias_->setValue(dias);
}
