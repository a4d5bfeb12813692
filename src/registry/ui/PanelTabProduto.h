#pragma once

#include "Produtos.h"

#include <QWidget>
#include <optional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSqlQueryModel;
class QTableView;
class Session;

// "Tabela de Produtos": the products shared by every certificate, browsed in a grid that reads
// rows as it scrolls, and edited in the field group below it.
class PanelTabProduto : public QWidget {
    Q_OBJECT
public:
    PanelTabProduto(Session& session, QWidget* parent = nullptr);

    TabelaProdutos& tabela() { return tabela_; }
    // Re-reads the grid and puts the cursor on `localizar` when given.
    void atualiza(const std::optional<ChaveProduto>& localizar = std::nullopt);
    std::optional<ChaveProduto> chaveAtual() const;

    void incluir();
    void editar();
    void ok();
    void cancela();
    void excluir();
    void pesquisar();

signals:
    void saida();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void modoEdicao(bool editando);
    void mostraAtual();

    Session& session_;
    TabelaProdutos tabela_;
    QSqlQueryModel* model_;
    QTableView* grid_;
    QPushButton* btnIncluir_;
    QPushButton* btnEditar_;
    QPushButton* btnExcluir_;
    QPushButton* btnPesquisar_;
    QPushButton* btnSaida_;
    QPushButton* btnOk_;
    QPushButton* btnCancela_;
    QGroupBox* campos_;
    QLabel* lblMarca_;
    QLabel* lblModelo_;
    QLineEdit* edtMarca_;
    QLineEdit* edtModelo_;
    QLineEdit* edtEANUPC_;
    QLineEdit* edtDescricao_;
    QCheckBox* chkImportado_;
};
