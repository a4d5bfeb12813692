#pragma once

#include <QWidget>

class CamposCertificado;
class QPushButton;
class TDMCertif;

// The panel "Novo Certificado": the fields of a new certificate, "Salva" and "Cancela".
class PanelNovoCertificado : public QWidget {
    Q_OBJECT
public:
    PanelNovoCertificado(TDMCertif& dm, QWidget* parent = nullptr);

    // Shows the new record prepared by TDMCertif::Novo, with blank dates and "Salva" disabled.
    void abre();
    void salva();
    void cancela();

signals:
    void criado();    // the certificate was stored and is now the open one
    void cancelado(); // back to "Principal"

private:
    void atualizaSalva();
    void emissaoDeixada();
    void validadeDeixada();

    TDMCertif& dm_;
    CamposCertificado* campos_;
    QPushButton* btnSalvaInclusao_;
};
