#pragma once

#include "Produtos.h"
#include "SelectionQueries.h"

#include <QDialog>
#include <QString>
#include <functional>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class ModeloSelecao;
class Session;

// "Seleciona Produto": finds products by brand, model, EAN/UPC code and imported flag.
class TFrmSelecionaProduto : public QDialog {
    Q_OBJECT
public:
    TFrmSelecionaProduto(Session& session, bool mostraNovo, QWidget* parent = nullptr);
    ~TFrmSelecionaProduto() override;

    // The product under the cursor when closed with "Ok"; nothing otherwise.
    std::optional<ProdutoEscolhido> escolhido() const;

    // "Novo..." opens the product inclusion of the product table: it returns the product it
    // included, or nothing when the inclusion was not confirmed.
    void setInclusaoDeProduto(std::function<std::optional<ProdutoEscolhido>()> inclui);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildUi();
    void filtra();
    void ordena(int column);
    void ok();
    void novo();
    void executa();
    std::optional<ProdutoEscolhido> linhaAtual() const;

    Session& session_;
    bool mostraNovo_;
    std::function<std::optional<ProdutoEscolhido>()> inclui_;
    ModeloSelecao* model_ = nullptr;
    QTableView* grid_ = nullptr;
    QLabel* lblQuant_ = nullptr;
    QLineEdit* edtMarca_ = nullptr;
    QLineEdit* edtModelo_ = nullptr;
    QLineEdit* edtEANUPC_ = nullptr;
    QComboBox* cbxImportado_ = nullptr;
    QPushButton* btnNovo_ = nullptr;

    FiltroProduto filtro_;
    ProdOrdem ordem_ = ProdOrdem::Nenhuma;
    bool listado_ = false;
    std::optional<ProdutoEscolhido> escolhido_;
};
