#pragma once

#include <QWidget>

class CamposCertificado;
class GrupoStatus;
class QPushButton;
class TDMCertif;

// The tab "Dados Gerais" of "Modifica Certificado": the open certificate's fields, its status
// group, "Salva", "Cancela" and "Saída".
class TabDadosGerais : public QWidget {
    Q_OBJECT
public:
    TabDadosGerais(TDMCertif& dm, QWidget* parent = nullptr);

    // Fills the drop-down lists and shows the open certificate.
    void mostra();
    // Locks number and emission date, and the classes, as the open certificate requires.
    void aplicaBloqueios();
    // "Salva": true when the certificate was stored.
    bool salva();
    void cancela();

    GrupoStatus* grupoStatus() const { return grupoStatus_; }

signals:
    void salvo();
    void saida();

private:
    void emissaoDeixada();
    void validadeDeixada();
    void mostraRegistro();

    TDMCertif& dm_;
    CamposCertificado* campos_;
    GrupoStatus* grupoStatus_;
};
