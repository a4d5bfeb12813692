#pragma once

#include "SelectionQueries.h"

#include <QDialog>
#include <QString>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class ModeloSelecao;
class Session;

struct CertificadoEscolhido {
    QString SiglaCertificador;
    QString NumCertif;
};

// "Seleciona Certificado": finds certificates by number, classes, company, product, service class
// and national/imported lines, and returns the one under the cursor.
class TFrmSelecionaCertificado : public QDialog {
    Q_OBJECT
public:
    TFrmSelecionaCertificado(Session& session, QWidget* parent = nullptr);
    ~TFrmSelecionaCertificado() override;

    // The certificate under the cursor when closed with "Ok"; nothing otherwise, or when the list is empty.
    std::optional<CertificadoEscolhido> escolhido() const;

private:
    void buildUi();
    void preencheClasses();
    void limpaFiltro();
    void selecionaEmpresa();
    void detalheEmpresa();
    void selecionaProduto();
    void filtra();
    void ordena(int column);
    void executa();
    FiltroCertificado filtroDaTela() const;

    Session& session_;
    ModeloSelecao* model_ = nullptr;
    QTableView* grid_ = nullptr;
    QLabel* lblQuant_ = nullptr;
    QLineEdit* edtNumCertif_ = nullptr;
    QComboBox* cbxClasseCertif_ = nullptr;
    QComboBox* cbxClasseProd_ = nullptr;
    QComboBox* cbxClasseServ_ = nullptr;
    QComboBox* cbxImportado_ = nullptr;
    QLineEdit* edtPais_ = nullptr;
    QLineEdit* edtCnpjCpf_ = nullptr;
    QLineEdit* edtNomFantasia_ = nullptr;
    QLineEdit* edtRazSocial_ = nullptr;
    QLineEdit* edtMarca_ = nullptr;
    QLineEdit* edtModelo_ = nullptr;
    QLineEdit* edtEANUPC_ = nullptr;
    QPushButton* btnDetalheEmpresa_ = nullptr;

    // Remembered while the dialog is open.
    std::optional<std::pair<QString, QString>> empresa_; // CodigoPais, IdEmpresa
    std::optional<ProdutoFiltro> produto_;
    FiltroCertificado ultimoFiltro_; // the filters of the list on display
    bool listaAberta_ = false;
    CertOrdem ordem_ = CertOrdem::Primeira;
    bool accepted_ = false;
    std::optional<CertificadoEscolhido> escolhido_;
};
