#include "PanelNovoCertificado.h"

#include "CamposCertificado.h"
#include "Clock.h"
#include "DataDigitada.h"
#include "DateMaskEdit.h"
#include "Prompts.h"
#include "Session.h"
#include "TDMCertif.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

PanelNovoCertificado::PanelNovoCertificado(TDMCertif& dm, QWidget* parent) : QWidget(parent), dm_(dm) {
    setObjectName(QStringLiteral("PanelNovoCertificado"));
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox(QStringLiteral("Novo Certificado"), this);
    group->setObjectName(QStringLiteral("GroupNovoCertificado"));
    layout->addWidget(group);
    auto* inner = new QVBoxLayout(group);

    campos_ = new CamposCertificado(
        {QStringLiteral("DBEdit9"), QStringLiteral("DBEdit10"), QStringLiteral("DBLookupComboBox15"),
         QStringLiteral("DBLookupComboBox3"), QStringLiteral("MaskEdit3"), QStringLiteral("MaskEdit4"),
         QStringLiteral("DBEdit11"), QStringLiteral("DBEdit12"), QStringLiteral("DBComboBox1"),
         QStringLiteral("DBEdit13"), QStringLiteral("LbNumCertifNovo"), QStringLiteral("LbDataEmissaoNovo"),
         QStringLiteral("&Classe de Certificado")},
        group);
    inner->addWidget(campos_);
    inner->addStretch();

    auto* buttons = new QHBoxLayout;
    btnSalvaInclusao_ = new QPushButton(QStringLiteral("Salva"), group);
    btnSalvaInclusao_->setObjectName(QStringLiteral("btnSalvaInclusao"));
    auto* cancela = new QPushButton(QStringLiteral("Cancela"), group);
    cancela->setObjectName(QStringLiteral("BitBtn15"));
    buttons->addStretch();
    buttons->addWidget(btnSalvaInclusao_);
    buttons->addWidget(cancela);
    inner->addLayout(buttons);

    connect(campos_, &CamposCertificado::editado, this, [this] {
        campos_->copiaPara(dm_.registro());
        atualizaSalva();
    });
    connect(campos_, &CamposCertificado::numeroDeixado, this, &PanelNovoCertificado::atualizaSalva);
    connect(campos_, &CamposCertificado::textoDeixado, this, &PanelNovoCertificado::atualizaSalva);
    connect(campos_, &CamposCertificado::classeEscolhida, this, &PanelNovoCertificado::atualizaSalva);
    connect(campos_->emissao(), &DateMaskEdit::deixado, this, &PanelNovoCertificado::emissaoDeixada);
    connect(campos_->validade(), &DateMaskEdit::deixado, this, &PanelNovoCertificado::validadeDeixada);
    connect(btnSalvaInclusao_, &QPushButton::clicked, this, &PanelNovoCertificado::salva);
    connect(cancela, &QPushButton::clicked, this, &PanelNovoCertificado::cancela);
}

void PanelNovoCertificado::abre() {
    const QSqlDatabase db = dm_.database();
    campos_->preencheListas(Certificados::classesDeCertificado(db), Certificados::classesDeProdutos(db),
                            Certificados::signatarios(db));
    campos_->mostra(dm_.registro());
    campos_->emissao()->limpa();
    campos_->validade()->limpa();
    btnSalvaInclusao_->setEnabled(false);
    campos_->numero()->setFocus();
}

void PanelNovoCertificado::atualizaSalva() {
    btnSalvaInclusao_->setEnabled(dm_.inclusaoPreenchida(campos_->emissao()->textoData()));
}

void PanelNovoCertificado::emissaoDeixada() {
    const QString erro =
        DatasCertificado::erroEmissao(campos_->emissao()->textoData(), dm_.session().clock().today());
    if (!erro.isEmpty()) {
        dm_.session().prompts().message(DatasCertificado::CaptionEntrada, erro);
        campos_->emissao()->setFocus();
        return;
    }
    atualizaSalva();
}

void PanelNovoCertificado::validadeDeixada() {
    const DataDigitada emissao = DataDigitada::le(campos_->emissao()->textoData());
    const QString erro = DatasCertificado::erroValidade(campos_->validade()->textoData(), emissao.data,
                                                        DatasCertificado::ValidadeInvalidaNovo);
    if (!erro.isEmpty()) {
        dm_.session().prompts().message(DatasCertificado::CaptionEntrada, erro);
        campos_->validade()->setFocus();
    }
}

void PanelNovoCertificado::salva() {
    campos_->copiaPara(dm_.registro());
    const TDMCertif::Salvamento result =
        dm_.salvaInclusao(campos_->emissao()->textoData(), campos_->validade()->textoData());
    if (result.salvo) {
        emit criado();
        return;
    }
    switch (result.foco) {
    case TDMCertif::Campo::Numero:
        campos_->numero()->setFocus();
        break;
    case TDMCertif::Campo::Emissao:
        campos_->emissao()->setFocus();
        break;
    case TDMCertif::Campo::Validade:
        campos_->validade()->setFocus();
        break;
    case TDMCertif::Campo::Classes:
        campos_->classeCertif()->setFocus();
        break;
    case TDMCertif::Campo::Nenhum:
        break;
    }
}

void PanelNovoCertificado::cancela() {
    dm_.cancela();
    emit cancelado();
}
