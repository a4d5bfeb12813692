#include "TabDadosGerais.h"

#include "CamposCertificado.h"
#include "Clock.h"
#include "DataDigitada.h"
#include "DateMaskEdit.h"
#include "GrupoStatus.h"
#include "Prompts.h"
#include "Session.h"
#include "TDMCertif.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TabDadosGerais::TabDadosGerais(TDMCertif& dm, QWidget* parent) : QWidget(parent), dm_(dm) {
    setObjectName(QStringLiteral("TabModificaGerais"));
    auto* layout = new QVBoxLayout(this);
    campos_ = new CamposCertificado(
        {QStringLiteral("DBEdit16"), QStringLiteral("DBEdit17"), QStringLiteral("DBLookupComboBox5"),
         QStringLiteral("DBLookupComboBox6"), QStringLiteral("MaskEdit1"), QStringLiteral("MaskEdit2"),
         QStringLiteral("DBEdit18"), QStringLiteral("DBEdit19"), QStringLiteral("DBComboBox2"),
         QStringLiteral("DBEdit20"), QStringLiteral("LbNumCertif"), QStringLiteral("LbDataEmissao"),
         QStringLiteral("&Tipo de Certificado")},
        this);
    layout->addWidget(campos_);

    grupoStatus_ = new GrupoStatus(dm_, ItemStatus::Certificado,
                                   {QStringLiteral("GroupStatusCertificado"), QStringLiteral("DescrStatus"),
                                    QStringLiteral("lblDthStatusCertificado")},
                                   this);
    layout->addWidget(grupoStatus_);
    layout->addStretch();

    auto* buttons = new QHBoxLayout;
    auto* salvaButton = new QPushButton(QStringLiteral("Salva"), this);
    salvaButton->setObjectName(QStringLiteral("btnSalvaGeral"));
    auto* cancelaButton = new QPushButton(QStringLiteral("Cancela"), this);
    cancelaButton->setObjectName(QStringLiteral("BitBtn16"));
    auto* saidaButton = new QPushButton(QStringLiteral("&Saída"), this);
    saidaButton->setObjectName(QStringLiteral("BitBtn35"));
    buttons->addStretch();
    buttons->addWidget(salvaButton);
    buttons->addWidget(cancelaButton);
    buttons->addWidget(saidaButton);
    layout->addLayout(buttons);

    connect(campos_, &CamposCertificado::editado, this, [this] { campos_->copiaPara(dm_.registro()); });
    connect(campos_, &CamposCertificado::numeroDeixado, this, [this] {
        if (!campos_->numero()->text().trimmed().isEmpty())
            dm_.AtualizaCompleto(QStringLiteral("C"));
    });
    connect(campos_, &CamposCertificado::classeCertifEscolhida, this,
            [this] { dm_.AtualizaCompleto(QStringLiteral("C")); });
    connect(campos_->emissao(), &DateMaskEdit::deixado, this, &TabDadosGerais::emissaoDeixada);
    connect(campos_->validade(), &DateMaskEdit::deixado, this, &TabDadosGerais::validadeDeixada);
    // A status change keeps the pending edits of the other fields on screen.
    connect(grupoStatus_, &GrupoStatus::alterado, this, &TabDadosGerais::mostraRegistro);
    connect(salvaButton, &QPushButton::clicked, this, &TabDadosGerais::salva);
    connect(cancelaButton, &QPushButton::clicked, this, &TabDadosGerais::cancela);
    connect(saidaButton, &QPushButton::clicked, this, [this] {
        campos_->emissao()->limpa();
        campos_->validade()->limpa();
        emit saida();
    });
}

void TabDadosGerais::mostra() {
    const QSqlDatabase db = dm_.database();
    // The certificate's own classes stay listed when no longer offered, so they show and are kept.
    QList<ClasseItem> classesCertif = Certificados::classesDeCertificado(db);
    QList<ClasseItem> classesProd = Certificados::classesDeProdutos(db);
    const Certificado& r = dm_.registro();
    if (!r.IdClasseCertif.isEmpty())
        Certificados::incluiClasse(classesCertif, Certificados::classeDeCertificado(db, r.IdClasseCertif));
    if (r.IdClasseProd)
        Certificados::incluiClasse(classesProd, Certificados::classeDeProdutos(db, *r.IdClasseProd));
    campos_->preencheListas(classesCertif, classesProd, Certificados::signatarios(db));
    mostraRegistro();
    aplicaBloqueios();
}

void TabDadosGerais::mostraRegistro() {
    campos_->mostra(dm_.registro());
    grupoStatus_->mostra(dm_.temCertificadoAberto()
                             ? std::optional<QVariantList>(QVariantList{dm_.siglaAberta(), dm_.numAberto()})
                             : std::nullopt);
}

void TabDadosGerais::aplicaBloqueios() {
    const bool aberto = dm_.temCertificadoAberto();
    if (aberto)
        dm_.atualizaBloqueio();
    campos_->bloqueiaChave(aberto && dm_.chaveBloqueada());
    campos_->bloqueiaClasses(aberto && dm_.ExisteRegistro(QStringLiteral("DOCUMENTOS")));
}

void TabDadosGerais::emissaoDeixada() {
    const QString texto = campos_->emissao()->textoData();
    const QString erro = DatasCertificado::erroEmissao(texto, dm_.session().clock().today());
    if (!erro.isEmpty()) {
        dm_.session().prompts().message(DatasCertificado::CaptionEntrada, erro);
        campos_->emissao()->setFocus();
        return;
    }
    const DataDigitada data = DataDigitada::le(texto);
    if (data.valida()) {
        dm_.registro().DataEmissao = data.data;
        dm_.AtualizaCompleto(QStringLiteral("C"));
    }
}

void TabDadosGerais::validadeDeixada() {
    const QString texto = campos_->validade()->textoData();
    const DataDigitada emissao = DataDigitada::le(campos_->emissao()->textoData());
    const QString erro =
        DatasCertificado::erroValidade(texto, emissao.data, DatasCertificado::ValidadeInvalidaGeral);
    if (!erro.isEmpty()) {
        dm_.session().prompts().message(DatasCertificado::CaptionEntrada, erro);
        campos_->validade()->setFocus();
        return;
    }
    const DataDigitada data = DataDigitada::le(texto);
    if (data.valida())
        dm_.registro().DataValid = data.data;
}

bool TabDadosGerais::salva() {
    campos_->copiaPara(dm_.registro());
    const TDMCertif::Salvamento result =
        dm_.salvaGeral(campos_->emissao()->textoData(), campos_->validade()->textoData());
    switch (result.foco) {
    case TDMCertif::Campo::Numero:
        campos_->numero()->setFocus();
        return false;
    case TDMCertif::Campo::Emissao:
        campos_->emissao()->setFocus();
        return false;
    case TDMCertif::Campo::Validade:
        campos_->validade()->setFocus();
        return false;
    case TDMCertif::Campo::Classes:
        campos_->classeCertif()->setFocus();
        return false;
    case TDMCertif::Campo::Nenhum:
        break;
    }
    // Stored, undone by a cancelled justification, or refused by the database: show what is stored.
    mostra();
    if (result.salvo)
        emit salvo();
    return result.salvo;
}

void TabDadosGerais::cancela() {
    if (dm_.modificado())
        dm_.cancela();
    mostraRegistro();
}
