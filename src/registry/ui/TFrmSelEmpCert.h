#pragma once

#include "SelectionQueries.h"

#include <QDialog>
#include <QString>
#include <optional>
#include <utility>

class QComboBox;
class QLabel;
class QLineEdit;
class QTableView;
class ModeloSelecao;
class Session;

// "Seleciona Empresa Certificada": picks one of the legal persons linked to a certificate.
class TFrmSelEmpCert : public QDialog {
    Q_OBJECT
public:
    TFrmSelEmpCert(Session& session, const QString& sigla, const QString& numCertif,
                   QWidget* parent = nullptr);
    ~TFrmSelEmpCert() override;

    // CODIGOPAIS and IDEMPRESA of the row under the cursor when closed with "Ok".
    std::optional<std::pair<QString, QString>> escolhida() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildUi();
    void filtra();
    void ok();
    void executa(const FiltroEmpCert& filtro);

    Session& session_;
    QString sigla_;
    QString numCertif_;
    ModeloSelecao* model_ = nullptr;
    QTableView* grid_ = nullptr;
    QLabel* lblQuant_ = nullptr;
    QComboBox* cbxPais_ = nullptr;
    QLineEdit* edtCNPJ_ = nullptr;
    QLineEdit* edtNomFantasia_ = nullptr;
    QLineEdit* edtRazSocial_ = nullptr;
    bool listado_ = false;
    std::optional<std::pair<QString, QString>> escolhida_;
};
