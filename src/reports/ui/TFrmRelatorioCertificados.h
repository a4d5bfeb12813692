#pragma once

#include "ReportPreview.h"
#include "SelecaoCertificados.h"

#include <QDialog>
#include <QList>
#include <QVariant>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStandardItemModel;
class QTableView;
class Session;

// "Relatórios de Certificados": the certificate filters, the selection they make with its count,
// and the three reports of the selection: "Espelho do Certificado", "Espelho com Log" and "Lista
// dos Certificados". The filters are cleared when the screen opens and after each report.
class TFrmRelatorioCertificados : public QDialog {
    Q_OBJECT
public:
    TFrmRelatorioCertificados(Session& session, MostraRelatorio mostra, QWidget* parent = nullptr);
    ~TFrmRelatorioCertificados() override;

    // The filter as the controls hold it.
    FiltroRelatorio filtro() const;
    // The last selection made by "Filtra Certificado", if still open.
    const std::optional<SelecaoCertificados>& selecao() const { return selecao_; }

    // "Filtra Certificado" and "&Limpa Filtro".
    void filtra();
    void limpaFiltro();

    // What "Seleciona Empresa..." and "Seleciona Produto..." would fill in.
    void escolheEmpresa(const EmpresaFiltro& empresa, const QString& pais, const QString& documento,
                        const QString& fantasia);
    void escolheProduto(const ProdutoFiltro& produto, const QString& codigo);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildUi();
    void preencheClasses();
    void selecionaEmpresa();
    void detalheEmpresa();
    void selecionaProduto();
    void imprime(int qual);
    void habilitaImpressao(bool enabled);

    Session& session_;
    MostraRelatorio mostra_;
    bool aberta_ = false;
    std::optional<SelecaoCertificados> selecao_;
    std::optional<EmpresaFiltro> empresa_;
    std::optional<ProdutoFiltro> produto_;

    QLineEdit* edtNumero_;
    QComboBox* cbClasseCertificado_;
    QComboBox* cbClasseProduto_;
    QComboBox* cbClasseServico_;
    QLineEdit* edtPais_;
    QLineEdit* edtCNPJCPF_;
    QLineEdit* edtNome_;
    QLineEdit* edtRazaoSocial_;
    QPushButton* btnSelecionaEmpresa_;
    QPushButton* btnDetalheEmpresa_;
    QLineEdit* edtMarca_;
    QLineEdit* edtModelo_;
    QLineEdit* edtCodigo_;
    QPushButton* btnSelecionaProduto_;
    QComboBox* cbStatus_;
    QComboBox* cbAprovados_;
    QComboBox* cbImportado_;
    QPushButton* btnFiltra_;
    QPushButton* btnLimpaFiltro_;
    QTableView* grdCertificados_;
    QStandardItemModel* modelo_;
    QLabel* lblQuantidade_;
    QPushButton* btnEspelho_;
    QPushButton* btnEspelhoLog_;
    QPushButton* btnLista_;
    QPushButton* btnSaida_;
};
