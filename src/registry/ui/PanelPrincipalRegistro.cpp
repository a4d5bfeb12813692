#include "PanelPrincipalRegistro.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QStatusBar>
#include <QVBoxLayout>

PanelPrincipalRegistro::PanelPrincipalRegistro(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PanelPrincipal"));
    auto* layout = new QVBoxLayout(this);
    imagem_ = new QLabel(this);
    imagem_->setObjectName(QStringLiteral("Image1"));
    imagem_->setAlignment(Qt::AlignCenter);
    layout->addWidget(imagem_, 1);

    auto* status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("StatusBar1"));
    status->setSizeGripEnabled(false);
    panel0_ = new QLabel(status);
    panel0_->setObjectName(QStringLiteral("StatusBar1Panel0"));
    panel1_ = new QLabel(status);
    panel1_->setObjectName(QStringLiteral("StatusBar1Panel1"));
    status->addWidget(panel0_, 1);
    status->addPermanentWidget(panel1_);
    layout->addWidget(status);
}

void PanelPrincipalRegistro::setImagem(const QPixmap& picture) {
    imagem_->setPixmap(picture);
}

void PanelPrincipalRegistro::setTextosStatus(const QString& panel0, const QString& panel1) {
    panel0_->setText(panel0);
    panel1_->setText(panel1);
}
