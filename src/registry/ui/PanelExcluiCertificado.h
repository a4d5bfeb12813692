#pragma once

#include "ChaveCertificado.h"

#include <QWidget>

class QLineEdit;
class QPushButton;
class QStandardItemModel;
class QTableView;
class TDMCertif;

// The panel "Exclui Certificado": picks a certificate, shows it with its companies, products and
// services, and deletes it.
class PanelExcluiCertificado : public QWidget {
    Q_OBJECT
public:
    PanelExcluiCertificado(TDMCertif& dm, QWidget* parent = nullptr);

    void setEscolheCertificado(EscolheCertificado chooser) { escolhe_ = std::move(chooser); }

    void abre();
    void selecionaCertificado();
    void exclui();
    void cancela();

    QStandardItemModel* empresas() const { return empresas_; }
    QStandardItemModel* produtos() const { return produtos_; }
    QStandardItemModel* servicos() const { return servicos_; }

signals:
    void cancelado();

private:
    void limpa();
    void mostra();

    TDMCertif& dm_;
    EscolheCertificado escolhe_;
    QLineEdit* sigla_;
    QLineEdit* numero_;
    QLineEdit* classeCertif_;
    QLineEdit* classeProd_;
    QStandardItemModel* empresas_;
    QStandardItemModel* produtos_;
    QStandardItemModel* servicos_;
    QPushButton* btnExcluiCertif_;
};
