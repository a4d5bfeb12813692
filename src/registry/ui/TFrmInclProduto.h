#pragma once

#include "Produtos.h"
#include "TFrmSelecionaProduto.h"

#include <QDialog>
#include <optional>

class QCheckBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class Session;

// Brand, model and description edits of the product screens: leading blanks are dropped as the
// user types, a label beside the field shows the length in parentheses (hidden while empty), and
// the text is trimmed when the field is left.
void ligaCampoProduto(QLineEdit* edit, QLabel* contador);
// The edit with its length counter (named counterName) beside it, linked as above.
QHBoxLayout* campoProdutoComContador(QLineEdit* edit, const QString& counterName);

// "Inclusao de Produto": a new product, from "Novo..." of the product selection.
class TFrmInclProduto : public QDialog {
    Q_OBJECT
public:
    TFrmInclProduto(Session& session, QWidget* parent = nullptr);

    // The product stored by "OK".
    const Produto& produto() const { return tabela_.registro(); }

    // Shows the dialog; the product it stored, or nothing when it was cancelled.
    static std::optional<ProdutoEscolhido> inclui(Session& session, QWidget* parent);

private:
    void ok();

    TabelaProdutos tabela_;
    QLineEdit* edtMarca_;
    QLineEdit* edtModelo_;
    QLineEdit* edtEANUPC_;
    QLineEdit* edtDescricao_;
    QCheckBox* chkImportado_;
};
