#pragma once

#include "Certificados.h"

#include <QWidget>

class DateMaskEdit;
class QComboBox;
class QLabel;
class QLineEdit;

// The objectNames and the class caption of one certificate form (new and modify differ).
struct NomesCamposCertificado {
    QString sigla, numero, classeCertif, classeProd, emissao, validade, laboratorio, relatorio, signatarios,
        observacoes, lbNumero, lbEmissao;
    QString captionClasseCertif;
};

// The fields of a certificate in their order, each with its caption as buddy: "Certificador",
// "Número do Certificado", the two classes, the two dates, laboratory, report, signatory, remarks.
class CamposCertificado : public QWidget {
    Q_OBJECT
public:
    CamposCertificado(const NomesCamposCertificado& nomes, QWidget* parent = nullptr);

    void preencheListas(const QList<ClasseItem>& classesCertif, const QList<ClasseItem>& classesProd,
                        const QStringList& signatarios);
    // Shows the record (both dates included) without reporting edits.
    void mostra(const Certificado& row);
    // Copies every field but the dates into the record.
    void copiaPara(Certificado& row) const;

    // Number and emission date locked, their captions in maroon.
    void bloqueiaChave(bool locked);
    void bloqueiaClasses(bool locked);

    QLineEdit* numero() const { return numero_; }
    DateMaskEdit* emissao() const { return emissao_; }
    DateMaskEdit* validade() const { return validade_; }
    QComboBox* classeCertif() const { return classeCertif_; }
    QComboBox* classeProd() const { return classeProd_; }

signals:
    void editado();         // the user changed a field
    void numeroDeixado();   // number edit left
    void textoDeixado();    // laboratory or report edit left
    void classeEscolhida(); // a class picked
    void classeCertifEscolhida();

private:
    QLineEdit* sigla_;
    QLineEdit* numero_;
    QComboBox* classeCertif_;
    QComboBox* classeProd_;
    DateMaskEdit* emissao_;
    DateMaskEdit* validade_;
    QLineEdit* laboratorio_;
    QLineEdit* relatorio_;
    QComboBox* signatarios_;
    QLineEdit* observacoes_;
    QLabel* lbNumero_;
    QLabel* lbEmissao_;
    bool mostrando_ = false;
};
