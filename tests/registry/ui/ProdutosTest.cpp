#include "PanelTabProduto.h"
#include "ProdutosFixture.h"
#include "TFrmInclProduto.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

class ProdutosTest : public ProdutosFixture {
protected:
    // Puts the cursor of the product grid on a product.
    static bool selectProduct(PanelTabProduto& panel, const QString& marca, const QString& modelo) {
        auto* view = panel.findChild<QTableView*>("dbgTabProduto");
        auto* model = view->model();
        for (int row = 0; row < model->rowCount(); ++row)
            if (model->data(model->index(row, 0)).toString() == marca &&
                model->data(model->index(row, 1)).toString() == modelo) {
                view->setCurrentIndex(model->index(row, 0));
                return true;
            }
        return false;
    }

    void insertTypeLineOf(const QString& num, const QString& marca, const QString& modelo) {
        Sql::execute(db,
                     "INSERT INTO TIPO (SiglaCertificador, NumCertif, MarcaProd, ModeloProd, Importado, "
                     "StatusProduto, "
                     "DthUltAtualiz, UsuResp) VALUES ('OCC1', :num, :m, :mo, 0, 'A', "
                     "'2015-03-01T00:00:00.000', 'ana')",
                     {{":num", num}, {":m", marca}, {":mo", modelo}});
    }
};

TEST_F(ProdutosTest, IncluirProdutoImportadoAparecemComoSimNasGrades) {
    PanelTabProduto panel(session);
    panel.show();
    clickOn(&panel, "btnIncluiProduto");
    typeInto(&panel, "edtMarca", "  PHILIPS");
    // Leading blanks are dropped as they are typed; the length shows beside the field.
    EXPECT_EQ(panel.findChild<QLineEdit*>("edtMarca")->text(), "PHILIPS");
    EXPECT_EQ(panel.findChild<QLabel*>("lblTamMarca")->text(), "(7)");
    typeInto(&panel, "edtModelo", "P1 ");
    typeInto(&panel, "edtEANUPC", "555");
    panel.findChild<QCheckBox*>("chkImportado")->setChecked(true);
    clickOn(&panel, "btnOkProduto");

    EXPECT_TRUE(prompts.shown().isEmpty()) << prompts.lastText().toStdString();
    EXPECT_EQ(count("SELECT Count(*) FROM PRODUTO WHERE MarcaProd = 'PHILIPS' AND ModeloProd = 'P1' AND "
                    "Importado = 1 "
                    "AND UsuResp = 'joao'"),
              1);
    const std::optional<ChaveProduto> atual = panel.chaveAtual();
    ASSERT_TRUE(atual.has_value());
    EXPECT_EQ(atual->MarcaProd, "PHILIPS");
    auto* grid = panel.findChild<QTableView*>("dbgTabProduto");
    EXPECT_EQ(grid->model()->data(grid->model()->index(grid->currentIndex().row(), 3)).toString(), "Sim");
    EXPECT_TRUE(panel.findChild<QCheckBox*>("chkImportado")->isChecked());
}

TEST_F(ProdutosTest, ProdutoRepetidoEmOutraCaixaERecusado) {
    PanelTabProduto panel(session);
    panel.show();
    clickOn(&panel, "btnIncluiProduto");
    typeInto(&panel, "edtMarca", "lg electronics");
    typeInto(&panel, "edtModelo", "m1");
    clickOn(&panel, "btnOkProduto");
    EXPECT_EQ(prompts.lastText(), "Este produto já existe !!!. Cancele a Operação.");
    EXPECT_EQ(prompts.shown().last().caption, "Erro de chave duplicada");
    EXPECT_EQ(panel.tabela().modo(), TabelaProdutos::Modo::Inclusao); // still editing
    EXPECT_EQ(count("SELECT Count(*) FROM PRODUTO"), 3);
}

TEST_F(ProdutosTest, ProdutoEmUsoTemChaveTravadaENaoPodeSerApagado) {
    insertTypeLineOf("C-1", "LG", "M1");
    PanelTabProduto panel(session);
    panel.show();
    ASSERT_TRUE(selectProduct(panel, "LG", "M1"));
    clickOn(&panel, "btnEditaProduto");
    EXPECT_FALSE(panel.findChild<QLineEdit*>("edtMarca")->isEnabled());
    EXPECT_FALSE(panel.findChild<QLineEdit*>("edtModelo")->isEnabled());
    EXPECT_FALSE(panel.findChild<QCheckBox*>("chkImportado")->isEnabled());
    typeInto(&panel, "edtEANUPC", "999");
    clickOn(&panel, "btnOkProduto");
    EXPECT_EQ(value("SELECT CodEANUPC FROM PRODUTO WHERE MarcaProd = 'LG'").toString(), "999");
    // Only the key changes withdraw approvals.
    EXPECT_EQ(count("SELECT Count(*) FROM STATUS_C"), 0);

    prompts.planAnswer(PromptAnswer::Yes);
    ASSERT_TRUE(selectProduct(panel, "LG", "M1"));
    clickOn(&panel, "btnExcluiProduto");
    EXPECT_EQ(prompts.lastText(),
              "Este registro não pode ser apagado. Ele já está relacionado a algum certificado!!!");
    EXPECT_EQ(count("SELECT Count(*) FROM PRODUTO WHERE MarcaProd = 'LG'"), 1);

    prompts.planAnswer(PromptAnswer::Yes);
    ASSERT_TRUE(selectProduct(panel, "SONY", "X9"));
    clickOn(&panel, "btnExcluiProduto");
    EXPECT_EQ(count("SELECT Count(*) FROM PRODUTO WHERE MarcaProd = 'SONY'"), 0);
}

TEST_F(ProdutosTest, NovaChaveDoProdutoRetiraAprovacaoDosCertificadosQueAUsam) {
    // C-2 has lines naming "PANASONIC"/"Z1" (brought by an import), not yet in the product table.
    insertCertificate("C-2");
    approve("C-2");
    insertTypeLineOf("C-2", "PANASONIC", "Z1");
    Sql::execute(db,
                 "INSERT INTO LOTE (NumLote, SiglaCertificador, NumCertif, MarcaProd, ModeloProd, Importado, "
                 "StatusLote) VALUES ('L1', 'OCC1', 'C-2', 'PANASONIC', 'Z1', 0, 'A')");
    insertTypeLineOf("C-1", "LG", "M1");
    approve("C-1");
    insertProduct("PANA", "Z1", 0, "1");

    PanelTabProduto panel(session);
    panel.show();
    ASSERT_TRUE(selectProduct(panel, "PANA", "Z1"));
    clickOn(&panel, "btnEditaProduto");
    ASSERT_TRUE(panel.findChild<QLineEdit*>("edtMarca")->isEnabled());
    typeInto(&panel, "edtMarca", "PANASONIC");
    clickOn(&panel, "btnOkProduto");
    EXPECT_TRUE(prompts.shown().isEmpty()) << prompts.lastText().toStdString();

    EXPECT_EQ(value("SELECT Aprovado FROM CERTIFIC WHERE NumCertif = 'C-2'").toInt(), 0);
    QSqlQuery q =
        Sql::exec(db, "SELECT Justificativa, HistoricoSis, StatusCertificado, DthStatusCertificado, UsuResp "
                      "FROM STATUS_C WHERE NumCertif = 'C-2' AND Evento = 'ALT'");
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toString(), "Dados do Produto Alterados");
    EXPECT_EQ(q.value(1).toString(), "2");
    EXPECT_EQ(q.value(2).toString(), "A");
    EXPECT_EQ(q.value(3).toString(), "2015-11-25T14:03:59.250"); // the moment of the change
    EXPECT_EQ(q.value(4).toString(), "joao");
    EXPECT_FALSE(q.next()); // one event per certificate, though it has two lines
    // A certificate not using the product keeps its approval.
    EXPECT_EQ(value("SELECT Aprovado FROM CERTIFIC WHERE NumCertif = 'C-1'").toInt(), 1);
    EXPECT_EQ(count("SELECT Count(*) FROM STATUS_C WHERE NumCertif = 'C-1' AND Evento = 'ALT'"), 0);
}

TEST_F(ProdutosTest, NovoDaSelecaoIncluiEEscolheOProduto) {
    open();
    TabProdutosTipo tab(*dm);
    tab.show();
    onNextModal([](QWidget* selecao) {
        ASSERT_NE(selecao, nullptr);
        onNextModal([](QWidget* inclusao) {
            ASSERT_NE(inclusao, nullptr);
            EXPECT_EQ(inclusao->windowTitle(), "Inclusao de Produto");
            // Without a model the product is refused and the dialog stays.
            typeInto(inclusao, "edtMarca", "NOVA");
            clickOn(inclusao, "btnOk");
            ASSERT_TRUE(inclusao->isVisible());
            typeInto(inclusao, "edtModelo", "N1");
            clickOn(inclusao, "btnOk");
        });
        clickOn(selecao, "btnNovo");
    });
    clickOn(&tab, "btnIncluiTipo");
    EXPECT_EQ(prompts.lastText(), "Existem campos obrigatórios não preenchidos");
    EXPECT_EQ(count("SELECT Count(*) FROM PRODUTO WHERE MarcaProd = 'NOVA' AND ModeloProd = 'N1'"), 1);
    EXPECT_EQ(tab.findChild<QLabel*>("lblProdutoTipo")->text(), "NOVA - N1");
}

TEST_F(ProdutosTest, InclusaoRapidaRepetidaDizQueJaExiste) {
    TabelaProdutos tabela(session);
    EXPECT_FALSE(tabela.incluiRapido({"LG", "M1", 0, {}, {}, {}, {}}));
    EXPECT_EQ(prompts.lastText(), "Esta produto já existe !!! Cancele a inclusão...");
    EXPECT_EQ(prompts.shown().last().caption, "Erro de chave duplicada");
}
