#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

class DateMaskEdit;
class GrupoStatus;
class ModeloEmpresasCertificado;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class TDMCertif;
class VinculosEmpresa;

// The tab "Empresas Envolvidas": the companies of the open certificate with their roles, and the
// editor "Empresa Certificada" that includes, changes and removes them.
class TabEmpresasEnvolvidas : public QWidget {
    Q_OBJECT
public:
    // Asks the user to pick a company; its key, or nothing.
    using EscolheEmpresa = std::function<std::optional<std::pair<QString, QString>>(QWidget* parent)>;

    TabEmpresasEnvolvidas(TDMCertif& dm, QWidget* parent = nullptr);
    ~TabEmpresasEnvolvidas() override;

    // "Seleciona Empresa" shows the company search, with "Nova...", unless replaced.
    void setEscolheEmpresa(EscolheEmpresa escolhe) { escolhe_ = std::move(escolhe); }

    // Re-reads the links of the open certificate.
    void atualiza();
    // An inclusion or alteration waits for "Aplicar" or "Cancelar".
    bool editando() const;
    // The grid's current link: (CodigoPais, IdEmpresa).
    std::optional<std::pair<QString, QString>> atual() const;
    bool localiza(const QString& codigoPais, const QString& idEmpresa);
    // The status group, for the status buttons of the link.
    GrupoStatus* grupoStatus() const { return grupoStatus_; }

    void inclui();
    void seleciona();
    void edita();
    void aplica();
    void cancela();
    void exclui();
    void detalhes();

signals:
    // A link was included, changed or removed: the certificate's flags may have changed.
    void alterado();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void linhaMudou();
    void aplicaModo();
    void mostraEmpresa(const QString& codigoPais, const QString& idEmpresa);
    void carregaPapeis();

    TDMCertif& dm_;
    std::unique_ptr<VinculosEmpresa> vinculos_;
    EscolheEmpresa escolhe_;
    std::optional<std::pair<QString, QString>> detalhe_; // the company "Detalhes da Empresa" shows
    ModeloEmpresasCertificado* model_;
    QTableView* grid_;
    QPushButton* btnIncluir_;
    QPushButton* btnEditar_;
    QPushButton* btnExcluir_;
    QGroupBox* grupoEditor_;
    QLineEdit* edtPais_;
    QLineEdit* edtCnpjCpf_;
    QLineEdit* edtNome_;
    QComboBox* cmbPapel_;
    DateMaskEdit* dataEntrada_;
    QPushButton* btnSeleciona_;
    QPushButton* btnAplica_;
    QPushButton* btnCancela_;
    QPushButton* btnDetalhe_;
    GrupoStatus* grupoStatus_;
};
