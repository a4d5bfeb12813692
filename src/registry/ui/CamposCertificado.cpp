#include "CamposCertificado.h"

#include "Widgets.h"

#include "DateMaskEdit.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

namespace {

void selectId(QComboBox* combo, const QVariant& id) {
    combo->setCurrentIndex(id.isValid() ? combo->findData(id) : -1);
}

} // namespace

CamposCertificado::CamposCertificado(const NomesCamposCertificado& nomes, QWidget* parent) : QWidget(parent) {
    auto* form = new QFormLayout(this);
    form->setContentsMargins(0, 0, 0, 0);

    sigla_ = Widgets::campo(this, nomes.sigla, 8);
    sigla_->setReadOnly(true);
    numero_ = Widgets::campo(this, nomes.numero, 30);
    classeCertif_ = new QComboBox(this);
    classeCertif_->setObjectName(nomes.classeCertif);
    classeProd_ = new QComboBox(this);
    classeProd_->setObjectName(nomes.classeProd);
    emissao_ = new DateMaskEdit(this);
    emissao_->setObjectName(nomes.emissao);
    validade_ = new DateMaskEdit(this);
    validade_->setObjectName(nomes.validade);
    laboratorio_ = Widgets::campo(this, nomes.laboratorio, 255);
    relatorio_ = Widgets::campo(this, nomes.relatorio, 255);
    signatarios_ = new QComboBox(this);
    signatarios_->setObjectName(nomes.signatarios);
    observacoes_ = Widgets::campo(this, nomes.observacoes, 255);

    lbNumero_ = new QLabel(QStringLiteral("&Número do Certificado"), this);
    lbNumero_->setObjectName(nomes.lbNumero);
    lbEmissao_ = new QLabel(QStringLiteral("Data de &Emissão"), this);
    lbEmissao_->setObjectName(nomes.lbEmissao);

    lbNumero_->setBuddy(numero_);
    lbEmissao_->setBuddy(emissao_);
    form->addRow(QStringLiteral("Certificador"), sigla_);
    form->addRow(lbNumero_, numero_);
    form->addRow(nomes.captionClasseCertif, classeCertif_);
    form->addRow(QStringLiteral("Classe de &Produtos"), classeProd_);
    form->addRow(lbEmissao_, emissao_);
    form->addRow(QStringLiteral("Data de &Validade"), validade_);
    form->addRow(QStringLiteral("&Laboratório de Ensaio"), laboratorio_);
    form->addRow(QStringLiteral("Número do &Relatório de Ensaio"), relatorio_);
    form->addRow(QStringLiteral("&Signatários"), signatarios_);
    form->addRow(QStringLiteral("&Observações"), observacoes_);

    const auto edited = [this] {
        if (!mostrando_)
            emit editado();
    };
    // The number is typed in upper case.
    connect(numero_, &QLineEdit::textEdited, this, [this, edited](const QString& text) {
        const int cursor = numero_->cursorPosition();
        numero_->setText(text.toUpper());
        numero_->setCursorPosition(cursor);
        edited();
    });
    for (QLineEdit* edit : {laboratorio_, relatorio_, observacoes_})
        connect(edit, &QLineEdit::textEdited, this, edited);
    for (QLineEdit* edit : {static_cast<QLineEdit*>(emissao_), static_cast<QLineEdit*>(validade_)})
        connect(edit, &QLineEdit::textEdited, this, edited);
    connect(signatarios_, &QComboBox::activated, this, edited);
    connect(classeCertif_, &QComboBox::activated, this, [this, edited] {
        edited();
        emit classeEscolhida();
        emit classeCertifEscolhida();
    });
    connect(classeProd_, &QComboBox::activated, this, [this, edited] {
        edited();
        emit classeEscolhida();
    });
    connect(numero_, &QLineEdit::editingFinished, this, &CamposCertificado::numeroDeixado);
    connect(laboratorio_, &QLineEdit::editingFinished, this, &CamposCertificado::textoDeixado);
    connect(relatorio_, &QLineEdit::editingFinished, this, &CamposCertificado::textoDeixado);
}

void CamposCertificado::preencheListas(const QList<ClasseItem>& classesCertif,
                                       const QList<ClasseItem>& classesProd, const QStringList& signatarios) {
    const QSignalBlocker b1(classeCertif_), b2(classeProd_), b3(signatarios_);
    classeCertif_->clear();
    for (const ClasseItem& item : classesCertif)
        classeCertif_->addItem(item.nome, item.id);
    classeProd_->clear();
    for (const ClasseItem& item : classesProd)
        classeProd_->addItem(item.nome, item.id);
    signatarios_->clear();
    signatarios_->addItems(signatarios);
}

void CamposCertificado::mostra(const Certificado& row) {
    mostrando_ = true;
    sigla_->setText(row.SiglaCertificador);
    numero_->setText(row.NumCertif);
    selectId(classeCertif_, row.IdClasseCertif.isEmpty() ? QVariant() : QVariant(row.IdClasseCertif));
    selectId(classeProd_, row.IdClasseProd ? QVariant(*row.IdClasseProd) : QVariant());
    emissao_->setData(row.DataEmissao);
    validade_->setData(row.DataValid);
    laboratorio_->setText(row.LabEnsaio);
    relatorio_->setText(row.NumRelEnsaio);
    // A signatory removed from the table since still shows on the certificates that name it.
    if (!row.Signatarios.isEmpty() && signatarios_->findText(row.Signatarios) < 0)
        signatarios_->addItem(row.Signatarios);
    signatarios_->setCurrentIndex(row.Signatarios.isEmpty() ? -1 : signatarios_->findText(row.Signatarios));
    observacoes_->setText(row.Observacoes);
    mostrando_ = false;
}

void CamposCertificado::copiaPara(Certificado& row) const {
    row.NumCertif = numero_->text().trimmed();
    row.IdClasseCertif =
        classeCertif_->currentIndex() >= 0 ? classeCertif_->currentData().toString() : QString();
    row.IdClasseProd = classeProd_->currentIndex() >= 0
                           ? std::optional<int>(classeProd_->currentData().toInt())
                           : std::nullopt;
    row.LabEnsaio = laboratorio_->text();
    row.NumRelEnsaio = relatorio_->text();
    row.Signatarios = signatarios_->currentText();
    row.Observacoes = observacoes_->text();
}

void CamposCertificado::bloqueiaChave(bool locked) {
    numero_->setEnabled(!locked);
    emissao_->setEnabled(!locked);
    const QString style = locked ? QStringLiteral("color: maroon;") : QStringLiteral("color: black;");
    lbNumero_->setStyleSheet(style);
    lbEmissao_->setStyleSheet(style);
}

void CamposCertificado::bloqueiaClasses(bool locked) {
    classeCertif_->setEnabled(!locked);
    classeProd_->setEnabled(!locked);
}
