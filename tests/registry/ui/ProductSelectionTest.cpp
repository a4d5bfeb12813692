#include "SelectionFixture.h"
#include "TFrmSelecionaProduto.h"

#include <QPushButton>

namespace {

const int Marca = 0, Modelo = 1, Importado = 2, EAN = 3;

class SelecionaProdutoTest : public SelectionFixture {
protected:
    QStringList marcas(QWidget* d) { return column(d, "dbgProdutos", Marca); }
    QStringList produtos(QWidget* d) {
        QStringList list;
        const QStringList m = column(d, "dbgProdutos", Marca), o = column(d, "dbgProdutos", Modelo);
        for (int i = 0; i < m.size(); ++i)
            list << m[i] + "/" + o[i];
        list.sort();
        return list;
    }
};

TEST_F(SelecionaProdutoTest, ListsEveryProductOnShow) {
    TFrmSelecionaProduto dialog(session, false);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Seleciona Produto");
    EXPECT_EQ(titles(&dialog, "dbgProdutos"), QStringList({"Marca", "Modelo", "Importado?", "EAN/UPC"}));
    EXPECT_EQ(produtos(&dialog), QStringList({"ACME/X1", "Beta/Z", "Marca D'Agua/M1", "acme/y2"}));
    EXPECT_EQ(text(&dialog, "lblQuant"), "4");
    const int acme = marcas(&dialog).indexOf("ACME");
    EXPECT_EQ(column(&dialog, "dbgProdutos", Importado)[acme], "Sim");
    EXPECT_EQ(column(&dialog, "dbgProdutos", Importado)[marcas(&dialog).indexOf("Beta")], "Não");
    EXPECT_FALSE(child<QPushButton>(&dialog, "btnNovo")->isVisible());
}

TEST_F(SelecionaProdutoTest, NovoIsVisibleWhenTheCallerAsks) {
    TFrmSelecionaProduto dialog(session, true);
    dialog.show();
    EXPECT_TRUE(child<QPushButton>(&dialog, "btnNovo")->isVisible());
}

TEST_F(SelecionaProdutoTest, FiltersByBrandModelCodeAndImportedFlag) {
    TFrmSelecionaProduto dialog(session, false);
    dialog.show();
    const struct {
        QString marca, modelo, ean, importado;
        QStringList found;
    } cases[] = {
        {"acme", "", "", "(Todos)", {"ACME/X1", "acme/y2"}}, // brand: anywhere, any case
        {"CM", "Y", "", "(Todos)", {"acme/y2"}},
        {"d'ag", "", "", "(Todos)", {"Marca D'Agua/M1"}},
        {"", "", "789", "(Todos)", {"Beta/Z"}}, // code: exact, so not 7890000000001
        {"", "", "78", "(Todos)", {}},
        {"", "", "", "Sim", {"ACME/X1"}},
        {"a", "", "", "Não", {"Beta/Z", "Marca D'Agua/M1", "acme/y2"}},
    };
    for (const auto& c : cases) {
        type(&dialog, "edtMarca", c.marca);
        type(&dialog, "edtModelo", c.modelo);
        type(&dialog, "edtEANUPC", c.ean);
        choose(&dialog, "cbxImportado", c.importado);
        click(&dialog, "btnFiltra");
        EXPECT_EQ(produtos(&dialog), c.found) << c.marca.toStdString() << c.ean.toStdString();
        EXPECT_EQ(text(&dialog, "lblQuant"), QString::number(c.found.size()));
        // The text fields are emptied; the imported choice stays.
        EXPECT_EQ(text(&dialog, "edtMarca"), "");
        EXPECT_EQ(text(&dialog, "edtModelo"), "");
        EXPECT_EQ(text(&dialog, "edtEANUPC"), "");
        EXPECT_EQ(child<QComboBox>(&dialog, "cbxImportado")->currentText(), c.importado);
    }
}

TEST_F(SelecionaProdutoTest, ClickingATitleOrdersAndKeepsTheFilter) {
    TFrmSelecionaProduto dialog(session, false);
    dialog.show();
    clickTitle(&dialog, "dbgProdutos", EAN);
    EXPECT_EQ(column(&dialog, "dbgProdutos", EAN), QStringList({"", "123", "789", "7890000000001"}));
    clickTitle(&dialog, "dbgProdutos", Marca);
    EXPECT_EQ(marcas(&dialog), QStringList({"ACME", "Beta", "Marca D'Agua", "acme"}));

    type(&dialog, "edtMarca", "acme");
    click(&dialog, "btnFiltra");
    clickTitle(&dialog, "dbgProdutos", Importado);
    EXPECT_EQ(column(&dialog, "dbgProdutos", Modelo), QStringList({"y2", "X1"}));
    clickTitle(&dialog, "dbgProdutos", Modelo);
    EXPECT_EQ(column(&dialog, "dbgProdutos", Modelo), QStringList({"X1", "y2"}));
    EXPECT_EQ(text(&dialog, "lblQuant"), "2");
}

TEST_F(SelecionaProdutoTest, OkReturnsTheRowUnderTheCursor) {
    TFrmSelecionaProduto dialog(session, false);
    dialog.show();
    clickTitle(&dialog, "dbgProdutos", Marca);
    clickRow(&dialog, "dbgProdutos", 2, Modelo);
    click(&dialog, "btnOk");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    ASSERT_TRUE(dialog.escolhido().has_value());
    EXPECT_EQ(dialog.escolhido()->MarcaProd, "Marca D'Agua");
    EXPECT_EQ(dialog.escolhido()->ModeloProd, "M1");
    EXPECT_EQ(dialog.escolhido()->Importado, 0);
    EXPECT_EQ(dialog.escolhido()->CodEANUPC, "7890000000001");
}

TEST_F(SelecionaProdutoTest, OkWithoutARowStaysAndCancelReturnsNothing) {
    TFrmSelecionaProduto dialog(session, false);
    dialog.show();
    type(&dialog, "edtMarca", "inexistente");
    click(&dialog, "btnFiltra");
    click(&dialog, "btnOk");
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(dialog.escolhido().has_value());

    click(&dialog, "btnCancela");
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(dialog.escolhido().has_value());
}

TEST_F(SelecionaProdutoTest, NovoListsAndReturnsTheIncludedProduct) {
    TFrmSelecionaProduto dialog(session, true);
    int calls = 0;
    dialog.setInclusaoDeProduto([this, &calls]() -> std::optional<ProdutoEscolhido> {
        ++calls;
        produto("Nova'Marca", "N1", 1, "555");
        produto("Nova'Marca", "N1", 0, "556"); // same brand and model, national
        return ProdutoEscolhido{"Nova'Marca", "N1", 1, "555"};
    });
    dialog.show();
    type(&dialog, "edtMarca", "acme");
    click(&dialog, "btnNovo");
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(produtos(&dialog), QStringList({"Nova'Marca/N1"}));
    EXPECT_EQ(column(&dialog, "dbgProdutos", Importado), QStringList({"Sim"}));
    EXPECT_EQ(text(&dialog, "edtMarca"), "");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    ASSERT_TRUE(dialog.escolhido().has_value());
    EXPECT_EQ(dialog.escolhido()->MarcaProd, "Nova'Marca");
    EXPECT_EQ(dialog.escolhido()->Importado, 1);
    EXPECT_EQ(dialog.escolhido()->CodEANUPC, "555");
}

TEST_F(SelecionaProdutoTest, NovoNotConfirmedWarnsAndStays) {
    TFrmSelecionaProduto dialog(session, true);
    dialog.setInclusaoDeProduto([]() -> std::optional<ProdutoEscolhido> { return std::nullopt; });
    dialog.show();
    click(&dialog, "btnNovo");
    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_EQ(prompts.shown().first().caption, "Aviso");
    EXPECT_EQ(prompts.shown().first().text, "Nenhum Produto Novo Incluido");
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(text(&dialog, "lblQuant"), "4");
}

} // namespace
