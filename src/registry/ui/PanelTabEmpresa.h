#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

class CadastroEmpresas;
class CamposEmpresa;
class ModeloEmpresas;
class QPushButton;
class QTableView;
class TDMCertif;

// "Tabela de Empresas": the company table, browsed in a grid and edited in the fields below it.
class PanelTabEmpresa : public QWidget {
    Q_OBJECT
public:
    // Asks the user to find a company; its key, or nothing.
    using Pesquisa = std::function<std::optional<std::pair<QString, QString>>(QWidget* parent)>;

    PanelTabEmpresa(TDMCertif& dm, QWidget* parent = nullptr);
    ~PanelTabEmpresa() override;

    // "&Pesquisar" shows the company search without "Nova..." unless replaced.
    void setPesquisa(Pesquisa pesquisa) { pesquisa_ = std::move(pesquisa); }

    // Re-reads the table and the lists; the cursor stays on the same company when it still exists.
    void abre();
    // Puts the cursor on a company; false when it is not in the table.
    bool localiza(const QString& codigoPais, const QString& idEmpresa);

    void inclui();
    void edita();
    void salva();
    void cancela();
    void exclui();
    void pesquisa();

signals:
    void saida();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void linhaMudou();
    void aplicaModo();
    int linhaAtual() const;

    TDMCertif& dm_;
    std::unique_ptr<CadastroEmpresas> cadastro_;
    Pesquisa pesquisa_;
    ModeloEmpresas* model_;
    QTableView* grid_;
    CamposEmpresa* campos_;
    QPushButton* btnIncluir_;
    QPushButton* btnEditar_;
    QPushButton* btnExcluir_;
    QPushButton* btnPesquisar_;
    QPushButton* btnOk_;
    QPushButton* btnCancela_;
    QPushButton* btnSaida_;
};
