#include "LinhasProduto.h"
#include "InstalaProdutos.h"
#include "PanelModificaCertificado.h"
#include "PanelTabProduto.h"
#include "ProdutosFixture.h"
#include "SlotPanel.h"
#include "TDMTipo.h"
#include "TFormPrincipal.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSqlQueryModel>
#include <QTabWidget>

namespace {

const QString RetiraAprovacaoJustificada = QStringLiteral("Motivo");
const QString DuplicadoLinha = QStringLiteral("Este produto já existe !!!. Cancele a Operação.");
const QString ValidadeInvalida = QStringLiteral(
    "Formato de data inválido ou data inferior a data de fabricação do lote! Tente novamente.");
const QString FabricacaoInvalida =
    QStringLiteral("Formato de data inválido ou data superior a data atual! Tente novamente.");

} // namespace

class LinhasProdutoTest : public ProdutosFixture {
protected:
    // A type line of C-1 with its INC event (an hour before the clock), a document link and its event.
    void insertTypeLine(const QString& marca, const QString& id, const QDateTime& inclusao) {
        Sql::execute(db,
                     "INSERT INTO TIPO (SiglaCertificador, NumCertif, MarcaProd, ModeloProd, Importado, "
                     "StatusProduto, "
                     "DthStatusProduto, DthEntCertif, CodigoPais, IdEmpresa, DthUltAtualiz, UsuResp) VALUES "
                     "('OCC1', 'C-1', :m, 'M1', 0, 'A', :d, :d, 'BR', :id, :d, 'ana')",
                     {{":m", marca}, {":d", inclusao}, {":id", id}});
        EventRow row;
        row.key = {"OCC1", "C-1", marca, "M1", 0};
        row.evento = "INC";
        row.status = "A";
        row.statusDate = inclusao;
        row.dthUltAtualiz = inclusao;
        row.usuResp = "ana";
        Eventos::insere(db, EventTable::STATUS_T, row);
        Sql::execute(db,
                     "INSERT INTO DOC_NORM_TIPO (SiglaCertificador, NumCertif, IdClasseCertif, IdClasseProd, "
                     "IdDocNorm, "
                     "MarcaProd, ModeloProd, Importado, Status_DNT) VALUES ('OCC1', 'C-1', 'COMP', 110, 1, "
                     ":m, 'M1', 0, 'A')",
                     {{":m", marca}});
        row.key = {"OCC1", "C-1", marca, "M1", 0, "COMP", 110, 1};
        Eventos::insere(db, EventTable::STATUS_DNT, row);
    }

    void insertLotLine(const QString& marca, const QString& lote, const QDateTime& inclusao) {
        Sql::execute(
            db,
            "INSERT INTO LOTE (NumLote, SiglaCertificador, NumCertif, MarcaProd, ModeloProd, Importado, "
            "StatusLote, QuantLote, DataFabrLote, DataValLote, DthStatusLote, DthEntCertif, CodigoPais, "
            "IdEmpresa, DthUltAtualiz, UsuResp) VALUES (:l, 'OCC1', 'C-1', :m, 'M1', 0, 'A', '10', :d, :d, "
            ":d, "
            ":d, 'BR', '11222333000181', :d, 'ana')",
            {{":l", lote}, {":m", marca}, {":d", inclusao}});
        EventRow row;
        row.key = {lote, "OCC1", "C-1", marca, "M1", 0};
        row.evento = "INC";
        row.status = "A";
        row.statusDate = inclusao;
        row.dthUltAtualiz = inclusao;
        row.usuResp = "ana";
        Eventos::insere(db, EventTable::STATUS_L, row);
        Sql::execute(db,
                     "INSERT INTO DOC_NORM_LOTE (SiglaCertificador, NumCertif, IdClasseCertif, IdClasseProd, "
                     "IdDocNorm, "
                     "MarcaProd, ModeloProd, Importado, NumLote, Status_DNL) VALUES "
                     "('OCC1', 'C-1', 'COMP', 110, 1, :m, 'M1', 0, :l, 'A')",
                     {{":m", marca}, {":l", lote}});
        row.key = {lote, "OCC1", "C-1", marca, "M1", 0, "COMP", 110, 1};
        Eventos::insere(db, EventTable::STATUS_DNL, row);
    }

    // Fills the lot editor after "&Incluir" picked the product.
    void fillLot(TabProdutosLote& tab, const QString& numero, const QString& fabricacao,
                 const QString& validade) {
        chooseCompany(&tab, "cmbEmpVinculadaLote", "BR", "11222333000181");
        typeInto(&tab, "edtNumLote", numero);
        typeInto(&tab, "edtQuantLote", "500");
        setDate(&tab, "mskDataFabrLote", fabricacao);
        setDate(&tab, "mskDataValLote", validade);
        setDate(&tab, "mskDtEntLote", "10/02/2015");
    }

    void includeUnit(TabProdutosUnidade& tab, const QString& marca, const QString& serie) {
        pickProductInNextDialog(marca, "M1");
        ASSERT_TRUE(clickOn(&tab, "btnIncluiUnidade"));
        chooseCompany(&tab, "cmbEmpVinculada", "BR", "12345678909");
        typeInto(&tab, "edtNumSerie", serie);
        setDate(&tab, "mskDtEntUnidade", "10/02/2015");
        clickOn(&tab, "btnAplicaUnidade");
    }
};

TEST_F(LinhasProdutoTest, LinhaIncluidaEmCertificadoAprovadoPedeJustificativaGravaIncERetiraAprovacao) {
    approve("C-1");
    open();
    TabProdutosTipo tab(*dm);
    tab.show();
    pickProductInNextDialog("LG", "M1");
    ASSERT_TRUE(clickOn(&tab, "btnIncluiTipo"));
    chooseCompany(&tab, "cmbEmpVinculadaTipo", "BR", "11222333000262");
    setDate(&tab, "mskDtEntTipo", "10/02/2015");
    clickOn(&tab, "btnAplicaTipo");

    EXPECT_TRUE(prompts.shown().isEmpty()) << prompts.lastText().toStdString();
    EXPECT_EQ(asked, QList<bool>{false}); // a justification, without a status date
    EXPECT_EQ(count("SELECT Count(*) FROM TIPO WHERE MarcaProd = 'LG' AND CodigoPais = 'BR' "
                    "AND IdEmpresa = '11222333000262' AND DthEntCertif = '2015-02-10T00:00:00.000' "
                    "AND DthStatusProduto = '2015-02-10T00:00:00.000' AND UsuResp = 'joao'"),
              1);
    QSqlQuery q =
        Sql::exec(db, "SELECT Evento, Justificativa, HistoricoSis, StatusProduto, DthStatusProduto, UsuResp "
                      "FROM STATUS_T WHERE MarcaProd = 'LG'");
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toString(), "INC");
    EXPECT_EQ(q.value(1).toString(), RetiraAprovacaoJustificada);
    EXPECT_EQ(q.value(2).toString(), "2");
    EXPECT_EQ(q.value(3).toString(), "A");
    EXPECT_EQ(q.value(4).toString(), "2015-02-10T00:00:00.000");
    EXPECT_EQ(q.value(5).toString(), "joao");
    EXPECT_FALSE(q.next());
    EXPECT_EQ(value("SELECT Aprovado FROM CERTIFIC WHERE NumCertif = 'C-1'").toInt(), 0);
    EXPECT_FALSE(dm->registro().Aprovado);
}

TEST_F(LinhasProdutoTest, JustificativaCanceladaNaoDeixaNadaNemMensagem) {
    approve("C-1");
    open();
    justificativa.reset();
    TabProdutosLote tab(*dm);
    tab.show();
    pickProductInNextDialog("LG", "M1");
    ASSERT_TRUE(clickOn(&tab, "btnIncluiLote"));
    fillLot(tab, "L1", "01/03/2015", "01/03/2016");
    clickOn(&tab, "btnAplicaLote");

    EXPECT_EQ(asked.size(), 1);
    EXPECT_TRUE(prompts.shown().isEmpty()) << prompts.lastText().toStdString();
    EXPECT_EQ(count("SELECT Count(*) FROM LOTE"), 0);
    EXPECT_EQ(count("SELECT Count(*) FROM STATUS_L"), 0);
    EXPECT_EQ(value("SELECT Aprovado FROM CERTIFIC WHERE NumCertif = 'C-1'").toInt(), 1);
    EXPECT_FALSE(tab.editando());
}

TEST_F(LinhasProdutoTest, LinhaDeCertificadoNuncaAprovadoGravaIncDoSistemaSemPerguntar) {
    open();
    TabProdutosUnidade tab(*dm);
    tab.show();
    includeUnit(tab, "LG", "sn 1");

    EXPECT_TRUE(asked.isEmpty());
    EXPECT_TRUE(prompts.shown().isEmpty()) << prompts.lastText().toStdString();
    // Typed in lower case with a blank: stored upper case, without it.
    EXPECT_EQ(count("SELECT Count(*) FROM UNIDADE WHERE NumSerieProd = 'SN1' AND IdEmpresa = '12345678909'"),
              1);
    EXPECT_EQ(
        value("SELECT Justificativa FROM STATUS_U WHERE NumSerieProd = 'SN1' AND Evento = 'INC'").toString(),
        HistoricoGeradoPeloSistema);
}

TEST_F(LinhasProdutoTest, DatasDoLote) {
    struct Caso {
        QString fabricacao;
        QString validade;
        QString mensagem; // empty: accepted
    };
    const QList<Caso> casos{
        {"01/03/2015", "01/01/2015", ValidadeInvalida},   // validity before manufacture
        {"01/03/2015", "", ValidadeInvalida},             // validity left empty
        {"01/03/2015", "01/03/2080", ValidadeInvalida},   // year 2080
        {"01/12/2015", "01/01/2016", FabricacaoInvalida}, // manufacture after today
        {"31/02/2015", "01/01/2016", FabricacaoInvalida}, // no such day
        {"01/03/2015", "01/03/2015", {}},
    };
    open();
    TabProdutosLote tab(*dm);
    tab.show();
    int n = 0;
    for (const Caso& caso : casos) {
        SCOPED_TRACE((caso.fabricacao + " / " + caso.validade).toStdString());
        prompts.clear();
        const QString lote = QStringLiteral("L%1").arg(++n);
        pickProductInNextDialog("LG", "M1");
        ASSERT_TRUE(clickOn(&tab, "btnIncluiLote"));
        fillLot(tab, lote, caso.fabricacao, caso.validade);
        clickOn(&tab, "btnAplicaLote");
        const int stored = count(QStringLiteral("SELECT Count(*) FROM LOTE WHERE NumLote = '%1'").arg(lote));
        if (caso.mensagem.isEmpty()) {
            EXPECT_EQ(stored, 1);
            EXPECT_TRUE(prompts.shown().isEmpty()) << prompts.lastText().toStdString();
        } else {
            EXPECT_EQ(stored, 0);
            EXPECT_TRUE(prompts.wasShown(caso.mensagem)) << prompts.lastText().toStdString();
            EXPECT_TRUE(tab.editando()); // the editor stays open
            clickOn(&tab, "btnCancelaLote");
        }
    }
}

TEST_F(LinhasProdutoTest, CamposObrigatoriosDoLoteEEmpresa) {
    open();
    TabProdutosLote tab(*dm);
    tab.show();
    pickProductInNextDialog("LG", "M1");
    ASSERT_TRUE(clickOn(&tab, "btnIncluiLote"));
    fillLot(tab, "L1", "01/03/2015", "01/03/2016");
    typeInto(&tab, "edtQuantLote", "   ");
    clickOn(&tab, "btnAplicaLote");
    EXPECT_EQ(prompts.lastText(), "Existem campos obrigatórios em branco !!! Reveja a inclusão ou edição...");
    EXPECT_EQ(prompts.shown().last().caption, "Campos em branco");

    typeInto(&tab, "edtQuantLote", "10");
    tab.findChild<QComboBox*>("cmbEmpVinculadaLote")->setCurrentIndex(-1);
    clickOn(&tab, "btnAplicaLote");
    EXPECT_EQ(prompts.lastText(), "Favor selecionar a empresa vinculada.");
    EXPECT_EQ(count("SELECT Count(*) FROM LOTE"), 0);

    // The proforma invoice is for imported products only.
    EXPECT_FALSE(tab.findChild<QLineEdit*>("edtProfInvoice")->isEnabled());
    pickProductInNextDialog("SONY", "X9", 1);
    clickOn(&tab, "btnSelProdLote");
    EXPECT_TRUE(tab.findChild<QLineEdit*>("edtProfInvoice")->isEnabled());
}

TEST_F(LinhasProdutoTest, NumeroDeSerieRepetidoNoMesmoProdutoERecusado) {
    open();
    TabProdutosUnidade tab(*dm);
    tab.show();
    includeUnit(tab, "LG", "SN1");
    ASSERT_EQ(count("SELECT Count(*) FROM UNIDADE"), 1);

    includeUnit(tab, "LG", "sn1");
    EXPECT_EQ(prompts.lastText(), DuplicadoLinha);
    EXPECT_EQ(prompts.shown().last().caption, "Erro de chave duplicada");
    EXPECT_EQ(count("SELECT Count(*) FROM UNIDADE"), 1);
    clickOn(&tab, "btnCancelaUnidade");

    // The same number under another product is another unit.
    prompts.clear();
    includeUnit(tab, "LG ELECTRONICS", "SN1");
    EXPECT_TRUE(prompts.shown().isEmpty()) << prompts.lastText().toStdString();
    EXPECT_EQ(count("SELECT Count(*) FROM UNIDADE WHERE NumSerieProd = 'SN1'"), 2);

    // A number stored in another case (by the import) is still the same unit.
    Sql::execute(
        db, "INSERT INTO UNIDADE (NumSerieProd, SiglaCertificador, NumCertif, MarcaProd, ModeloProd, "
            "Importado, StatusUnidade, DthUltAtualiz, UsuResp) VALUES ('sn7', 'OCC1', 'C-1', 'LG', 'M1', 0, "
            "'A', '2015-03-01T00:00:00.000', 'ana')");
    includeUnit(tab, "LG", "SN7");
    EXPECT_EQ(prompts.lastText(), DuplicadoLinha);
    EXPECT_EQ(count("SELECT Count(*) FROM UNIDADE WHERE UPPER(NumSerieProd) = 'SN7'"), 1);
}

TEST_F(LinhasProdutoTest, MarcasLgELgElectronicsNuncaSeAlcancam) {
    const QDateTime antes = clock.now().addDays(-10);
    insertTypeLine("LG", "11222333000181", antes);
    insertTypeLine("LG ELECTRONICS", "11222333000181", antes);
    open();

    // The data module opens exactly the line asked for.
    TDMTipo tipo(*dm);
    ASSERT_TRUE(tipo.AbreTipo("OCC1", "C-1", false, 0, "M1", "LG"));
    EXPECT_EQ(tipo.QryTipo()->chave.MarcaProd, "LG");
    EXPECT_TRUE(tipo.ExisteTipo("OCC1", "C-1", 0, "M1", "LG"));
    EXPECT_FALSE(tipo.ExisteTipo("OCC1", "C-1", 0, "M1", "L"));

    TabProdutosTipo tab(*dm);
    tab.show();
    ASSERT_TRUE(selectRow(&tab, "dbgTipo", "LG"));
    clickOn(&tab, "btnEditaTipo");
    chooseCompany(&tab, "cmbEmpVinculadaTipo", "BR", "12345678909");
    setDate(&tab, "mskDtEntTipo", "20/02/2015");
    clickOn(&tab, "btnAplicaTipo");
    EXPECT_TRUE(prompts.shown().isEmpty()) << prompts.lastText().toStdString();
    EXPECT_EQ(value("SELECT IdEmpresa FROM TIPO WHERE MarcaProd = 'LG'").toString(), "12345678909");
    EXPECT_EQ(value("SELECT IdEmpresa FROM TIPO WHERE MarcaProd = 'LG ELECTRONICS'").toString(),
              "11222333000181");
    EXPECT_EQ(value("SELECT DthEntCertif FROM TIPO WHERE MarcaProd = 'LG ELECTRONICS'").toDateTime(), antes);

    prompts.planAnswer(PromptAnswer::Yes);
    ASSERT_TRUE(selectRow(&tab, "dbgTipo", "LG"));
    clickOn(&tab, "btnExcluiTipo");
    EXPECT_EQ(prompts.lastText(), "Confirma a exclusão do produto?");
    EXPECT_EQ(count("SELECT Count(*) FROM TIPO WHERE MarcaProd = 'LG'"), 0);
    for (const char* table : {"TIPO", "STATUS_T", "DOC_NORM_TIPO", "STATUS_DNT"}) {
        SCOPED_TRACE(table);
        EXPECT_EQ(count(QStringLiteral("SELECT Count(*) FROM %1 WHERE MarcaProd = 'LG'").arg(table)), 0);
        EXPECT_EQ(
            count(QStringLiteral("SELECT Count(*) FROM %1 WHERE MarcaProd = 'LG ELECTRONICS'").arg(table)),
            1);
    }
}

TEST_F(LinhasProdutoTest, ExcluirLinhaApagaEventosEDocumentosNumaTransacao) {
    const QDateTime antes = clock.now().addDays(-10);
    insertLotLine("LG", "L1", antes);
    insertLotLine("LG", "L2", antes);
    open();
    TabProdutosLote tab(*dm);
    tab.show();

    // A failure on the last statement leaves every row of the line in place, and says so.
    Sql::execute(db,
                 "CREATE TRIGGER falha BEFORE DELETE ON LOTE BEGIN SELECT RAISE(ABORT, 'disco cheio'); END");
    prompts.planAnswer(PromptAnswer::Yes);
    ASSERT_TRUE(selectRow(&tab, "dbgLote", "LG", "L1"));
    clickOn(&tab, "btnExcluiLote");
    EXPECT_EQ(prompts.lastText(), "Erro ao excluir o produto.");
    for (const char* table : {"LOTE", "STATUS_L", "DOC_NORM_LOTE", "STATUS_DNL"}) {
        SCOPED_TRACE(table);
        EXPECT_EQ(count(QStringLiteral("SELECT Count(*) FROM %1 WHERE NumLote = 'L1'").arg(table)), 1);
    }

    Sql::execute(db, "DROP TRIGGER falha");
    prompts.planAnswer(PromptAnswer::Yes);
    ASSERT_TRUE(selectRow(&tab, "dbgLote", "LG", "L1"));
    clickOn(&tab, "btnExcluiLote");
    for (const char* table : {"LOTE", "STATUS_L", "DOC_NORM_LOTE", "STATUS_DNL"}) {
        SCOPED_TRACE(table);
        EXPECT_EQ(count(QStringLiteral("SELECT Count(*) FROM %1 WHERE NumLote = 'L1'").arg(table)), 0);
        EXPECT_EQ(count(QStringLiteral("SELECT Count(*) FROM %1 WHERE NumLote = 'L2'").arg(table)), 1);
    }
}

TEST_F(LinhasProdutoTest, NovaChaveDoLoteSegueParaEventosEDocumentos) {
    const QDateTime antes = clock.now().addDays(-10);
    insertLotLine("LG", "L1", antes);
    insertLotLine("LG", "L2", antes);
    open();
    TabProdutosLote tab(*dm);
    tab.show();
    ASSERT_TRUE(selectRow(&tab, "dbgLote", "LG", "L1"));
    clickOn(&tab, "btnEditaLote");
    typeInto(&tab, "edtNumLote", "L9");
    pickProductInNextDialog("LG ELECTRONICS", "M1");
    clickOn(&tab, "btnSelProdLote");
    clickOn(&tab, "btnAplicaLote");
    EXPECT_TRUE(prompts.shown().isEmpty()) << prompts.lastText().toStdString();

    for (const char* table : {"LOTE", "STATUS_L", "DOC_NORM_LOTE", "STATUS_DNL"}) {
        SCOPED_TRACE(table);
        EXPECT_EQ(count(QStringLiteral("SELECT Count(*) FROM %1 WHERE NumLote = 'L1'").arg(table)), 0);
        EXPECT_EQ(count(QStringLiteral("SELECT Count(*) FROM %1 WHERE NumLote = 'L9' "
                                       "AND MarcaProd = 'LG ELECTRONICS'")
                            .arg(table)),
                  1);
        EXPECT_EQ(count(QStringLiteral("SELECT Count(*) FROM %1 WHERE NumLote = 'L2' AND MarcaProd = 'LG'")
                            .arg(table)),
                  1);
    }
    // Never approved: an alteration writes no event.
    EXPECT_EQ(count("SELECT Count(*) FROM STATUS_L"), 2);
}

TEST_F(LinhasProdutoTest, GravacaoQueFalhaNuncaESilenciosa) {
    struct Caso {
        TipoLinha tipo;
        QString tabelaEventos;
        QString mensagem;
    };
    const QList<Caso> casos{
        {TipoLinha::Tipo, "STATUS_T", "Erro ao Salvar a aplicação!!! As alterações não foram efetuadas."},
        {TipoLinha::Lote, "STATUS_L",
         "Erro genérico de gravação no Banco de Dados !!! As alterações não foram efetuadas."},
        {TipoLinha::Unidade, "STATUS_U",
         "Erro genérico de gravação no Banco de Dados !!! As alterações não foram efetuadas."},
    };
    open();
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.tabelaEventos.toStdString());
        prompts.clear();
        Sql::execute(
            db,
            QStringLiteral("CREATE TRIGGER falha BEFORE INSERT ON %1 BEGIN SELECT RAISE(ABORT, 'cheio'); END")
                .arg(caso.tabelaEventos));
        LinhasDoCertificado linhas(*dm, caso.tipo);
        linhas.inclui();
        linhas.escolheProduto({"LG", "M1", 0, "789001"});
        linhas.linha().chave.Numero = "N1";
        linhas.linha().QuantLote = "1";
        DadosEditor editor;
        editor.empresa = EmpresasCertificado::vinculadas(db, "OCC1", "C-1").first();
        editor.dataEntrada = "10/02/2015";
        editor.dataFabricacao = "01/02/2015";
        editor.dataValidade = "01/02/2016";
        EXPECT_FALSE(linhas.aplica(editor));
        EXPECT_EQ(prompts.lastText(), caso.mensagem);
        EXPECT_EQ(prompts.shown().last().caption, "Erro de gravação");
        // The item row went with its event.
        EXPECT_EQ(count(QStringLiteral("SELECT Count(*) FROM %1").arg(LinhasProduto::tabela(caso.tipo))), 0);
        Sql::execute(db, "DROP TRIGGER falha");
    }
}

TEST_F(LinhasProdutoTest, ValidacaoDaLinhaPorTipo) {
    struct Caso {
        QString marca;
        bool empresa;
        QString data;
        QString mensagem;
    };
    const QList<Caso> casos{
        {"", true, "10/02/2015", "Favor selecionar o produtor."},
        {"LG ELECTRONICS", true, "10/02/2015", "O Produto LG ELECTRONICS M1 já existe."},
        {"LG", false, "10/02/2015", "Favor selecionar a empresa vinculada."},
        {"LG", true, "", "Favor informar a data de entrada do produto no certificado."},
        {"LG", true, "04/01/2015", "A data de entrada é menor que a data de emissão do certificado."},
        {"LG", true, "26/11/2015", "A data de entrada é maior que a data atual."},
        {"LG", true, "25/11/2015", ""},
    };
    insertTypeLine("LG ELECTRONICS", "11222333000181", clock.now().addDays(-1));
    open();
    TDMTipo tipo(*dm);
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.mensagem.toStdString());
        ASSERT_TRUE(tipo.IncluiTipo());
        if (!caso.marca.isEmpty())
            tipo.linhas().escolheProduto({caso.marca, "M1", 0, {}});
        DadosEditor editor;
        if (caso.empresa)
            editor.empresa = EmpresasCertificado::vinculadas(db, "OCC1", "C-1").first();
        editor.dataEntrada = caso.data.isEmpty() ? QStringLiteral("  /  /    ") : caso.data;
        EXPECT_EQ(tipo.ValidaTipo(editor), caso.mensagem);
    }
}

TEST_F(LinhasProdutoTest, LinhaIncluidaAntesDaAprovacaoNaoPodeSerApagada) {
    insertLotLine("LG", "L1", clock.now().addDays(-10)); // before the approval
    approve("C-1");
    insertLotLine("LG", "L2", clock.now().addSecs(-60)); // after it
    open();
    TabProdutosLote tab(*dm);
    tab.show();

    ASSERT_TRUE(selectRow(&tab, "dbgLote", "LG", "L1"));
    clickOn(&tab, "btnExcluiLote");
    EXPECT_EQ(prompts.lastText(), "Este registro não pode ser apagado do certificado, pois já foi aprovado "
                                  "para emissão para o Kavorel.");
    EXPECT_EQ(count("SELECT Count(*) FROM LOTE WHERE NumLote = 'L1'"), 1);

    prompts.planAnswer(PromptAnswer::Yes);
    ASSERT_TRUE(selectRow(&tab, "dbgLote", "LG", "L2"));
    clickOn(&tab, "btnExcluiLote");
    EXPECT_EQ(count("SELECT Count(*) FROM LOTE WHERE NumLote = 'L2'"), 0);
    EXPECT_EQ(value("SELECT Aprovado FROM CERTIFIC WHERE NumCertif = 'C-1'").toInt(), 0);
}

TEST_F(LinhasProdutoTest, AlteracaoEmCertificadoAprovadoGravaAlt) {
    insertTypeLine("LG", "11222333000181", clock.now().addDays(-10));
    approve("C-1");
    open();
    TabProdutosTipo tab(*dm);
    tab.show();
    ASSERT_TRUE(selectRow(&tab, "dbgTipo", "LG"));
    clickOn(&tab, "btnEditaTipo");
    chooseCompany(&tab, "cmbEmpVinculadaTipo", "BR", "11222333000262");
    clickOn(&tab, "btnAplicaTipo");
    EXPECT_TRUE(prompts.shown().isEmpty()) << prompts.lastText().toStdString();
    EXPECT_EQ(asked.size(), 1);
    EXPECT_EQ(value("SELECT DthStatusProduto FROM STATUS_T WHERE Evento = 'ALT'").toDateTime(), clock.now());
    EXPECT_EQ(value("SELECT Aprovado FROM CERTIFIC").toInt(), 0);
    // The line's own status date stays.
    EXPECT_EQ(value("SELECT DthStatusProduto FROM TIPO").toDateTime(), clock.now().addDays(-10));
}

TEST_F(LinhasProdutoTest, EmpresasDoCertificadoComSeuDocumento) {
    open();
    TabProdutosTipo tab(*dm);
    tab.show();
    pickProductInNextDialog("LG", "M1");
    clickOn(&tab, "btnIncluiTipo");
    auto* box = tab.findChild<QComboBox*>("cmbEmpVinculadaTipo");
    QStringList entries;
    for (int i = 0; i < box->count(); ++i)
        entries << box->itemText(i);
    EXPECT_EQ(entries, QStringList({"ACME LTDA - 11.222.333/0001-81", "ACME LTDA - 11.222.333/0002-62",
                                    "MARIA SILVA - 123456789-09"}));
    EXPECT_EQ(box->currentIndex(), -1); // nothing chosen on inclusion
}

TEST_F(LinhasProdutoTest, CompletoSegueCadaOperacao) {
    struct Caso {
        TipoLinha tipo;
        bool documento; // a normative document linked to the certificate
        bool replica;   // the number is already in REP_CERTIFIC
        bool completoAposInclusao;
    };
    const QList<Caso> casos{
        {TipoLinha::Tipo, false, false, false},  {TipoLinha::Tipo, true, false, true},
        {TipoLinha::Lote, false, true, true},    {TipoLinha::Lote, false, false, false},
        {TipoLinha::Unidade, true, false, true},
    };
    int n = 0;
    for (const Caso& caso : casos) {
        const QString num = QStringLiteral("K-%1").arg(++n);
        SCOPED_TRACE(num.toStdString());
        insertCertificate(num);
        linkCompany(num, "BR", "11222333000181");
        if (caso.documento)
            Sql::execute(db,
                         "INSERT INTO DOC_NORM_CERT_PRODUTO (SiglaCertificador, NumCertif, IdClasseCertif, "
                         "IdClasseProd, IdDocNorm) VALUES ('OCC1', :num, 'COMP', 110, 1)",
                         {{":num", num}});
        if (caso.replica)
            Sql::execute(db, "INSERT INTO REP_CERTIFIC SELECT * FROM CERTIFIC WHERE NumCertif = :num",
                         {{":num", num}});
        open(num);
        LinhasDoCertificado linhas(*dm, caso.tipo);
        linhas.inclui();
        linhas.escolheProduto({"LG", "M1", 0, {}});
        linhas.linha().chave.Numero = "N1";
        linhas.linha().QuantLote = "1";
        DadosEditor editor;
        editor.empresa = EmpresasCertificado::vinculadas(db, "OCC1", num).first();
        editor.dataEntrada = "10/02/2015";
        editor.dataFabricacao = "01/02/2015";
        editor.dataValidade = "01/02/2016";
        ASSERT_TRUE(linhas.aplica(editor)) << prompts.lastText().toStdString();
        const QString completo =
            QStringLiteral("SELECT Completo FROM CERTIFIC WHERE NumCertif = '%1'").arg(num);
        EXPECT_EQ(value(completo).toBool(), caso.completoAposInclusao);

        // An alteration keeps it; deleting the only line clears it.
        ASSERT_TRUE(linhas.edita(linhas.linha().chave));
        editor.dataEntrada = "11/02/2015";
        ASSERT_TRUE(linhas.aplica(editor));
        EXPECT_EQ(value(completo).toBool(), caso.completoAposInclusao);
        prompts.planAnswer(PromptAnswer::Yes);
        ASSERT_TRUE(linhas.exclui(linhas.linha().chave));
        EXPECT_FALSE(value(completo).toBool());
        EXPECT_FALSE(dm->registro().Completo);
    }
}

TEST_F(LinhasProdutoTest, GradeLeAsLinhasAosPoucosEAchaPelaChave) {
    {
        QSqlQuery begin(db);
        ASSERT_TRUE(begin.exec("BEGIN"));
        QSqlQuery q(db);
        q.prepare("INSERT INTO UNIDADE (NumSerieProd, SiglaCertificador, NumCertif, MarcaProd, ModeloProd, "
                  "Importado, "
                  "StatusUnidade, DthUltAtualiz, UsuResp) VALUES (:s, 'OCC1', 'C-1', 'LG', 'M1', 0, 'A', "
                  "'2015-03-01T00:00:00.000', 'ana')");
        for (int i = 0; i < 30000; ++i) {
            q.bindValue(":s", QStringLiteral("S%1").arg(i, 6, 10, QLatin1Char('0')));
            ASSERT_TRUE(q.exec()) << q.lastError().text().toStdString();
        }
        ASSERT_TRUE(begin.exec("COMMIT"));
    }
    open();
    TabProdutosUnidade tab(*dm);
    tab.show();
    auto* grid = tab.findChild<QTableView*>("dbgUnidade");
    EXPECT_LT(grid->model()->rowCount(), 30000); // only the first rows were read

    tab.atualiza(ChaveLinha{"OCC1", "C-1", "LG", "M1", 0, "S028123"});
    const std::optional<ChaveLinha> atual = tab.chaveAtual();
    ASSERT_TRUE(atual.has_value());
    EXPECT_EQ(atual->Numero, "S028123");
    EXPECT_EQ(grid->currentIndex().row(), 28123);
}

TEST_F(LinhasProdutoTest, InstaladoNaTelaDeRegistroRecusaSairDaAbaEmEdicao) {
    TFormPrincipal form(*dm);
    instalaProdutos(form);
    open();
    PanelModificaCertificado* modifica = form.panelModifica();
    auto* lote = modifica->aba("TabModificaLote")->findChild<TabProdutosLote*>();
    ASSERT_NE(lote, nullptr);
    ASSERT_NE(modifica->aba("TabModificaTipo")->findChild<TabProdutosTipo*>(), nullptr);
    ASSERT_NE(modifica->aba("TabModificaUnidade")->findChild<TabProdutosUnidade*>(), nullptr);
    form.MostraPainel("ModificaCertificado");
    form.show();
    QTabWidget* abas = modifica->abas();
    abas->setCurrentWidget(modifica->aba("TabModificaLote"));
    ASSERT_EQ(abas->currentWidget(), modifica->aba("TabModificaLote"));
    pickProductInNextDialog("LG", "M1");
    clickOn(lote, "btnIncluiLote");
    ASSERT_TRUE(lote->editando());
    abas->setCurrentWidget(modifica->aba("TabModificaUnidade"));
    EXPECT_EQ(abas->currentWidget(), modifica->aba("TabModificaLote"));
    EXPECT_EQ(prompts.lastText(),
              "Existem inclusões ou alterações não Aplicadas no painel de Produtos por Lote. "
              "Pressione o botão Aplicar ou Cancelar antes de mudar de painel.");
    clickOn(lote, "btnCancelaLote");
    abas->setCurrentWidget(modifica->aba("TabModificaUnidade"));
    EXPECT_EQ(abas->currentWidget(), modifica->aba("TabModificaUnidade"));
    auto* produtos = form.painel("TabProduto")->findChild<PanelTabProduto*>();
    ASSERT_NE(produtos, nullptr);
    // The duplicate checks of the product table and of the lots answer through the register.
    produtos->tabela().inclui();
    produtos->tabela().registro().MarcaProd = "lg";
    produtos->tabela().registro().ModeloProd = "m1";
    EXPECT_TRUE(dm->ExisteRegistro("PRODUTO"));
    produtos->tabela().registro().ModeloProd = "m2";
    EXPECT_FALSE(dm->ExisteRegistro("PRODUTO"));
    EXPECT_FALSE(dm->ExisteRegistro("LOTE"));
}

// A unit whose state the list no longer offers keeps it when another field is changed; the state of
// the next unit shown is its own.
TEST_F(LinhasProdutoTest, EstadoDaUnidadeForaDaListaEMantido) {
    for (const char* serie : {"S1", "S2"})
        Sql::execute(
            db,
            "INSERT INTO UNIDADE (NumSerieProd, SiglaCertificador, NumCertif, MarcaProd, ModeloProd, "
            "Importado, StatusUnidade, DthEntCertif, DthStatusUnidade, CodigoPais, IdEmpresa, "
            "SiglaUF, DthUltAtualiz, UsuResp) VALUES (:s, 'OCC1', 'C-1', 'LG', 'M1', 0, 'A', "
            "'2015-02-10T00:00:00.000', '2015-02-10T00:00:00.000', 'BR', '11222333000181', :uf, "
            "'2015-02-10T00:00:00.000', 'ana')",
            {{":s", QString::fromLatin1(serie)},
             {":uf", QString::fromLatin1(serie[1] == '1' ? "GB" : "SP")}});
    open();
    TabProdutosUnidade tab(*dm);
    tab.show();
    auto* uf = tab.findChild<QComboBox*>("cmbUF");
    ASSERT_NE(uf, nullptr);
    ASSERT_TRUE(selectRow(&tab, "dbgUnidade", "LG", "S2"));
    EXPECT_EQ(uf->currentText(), "São Paulo");
    ASSERT_TRUE(selectRow(&tab, "dbgUnidade", "LG", "S1"));
    EXPECT_EQ(uf->currentText(), "GB");
    ASSERT_TRUE(clickOn(&tab, "btnEditaUnidade"));
    typeInto(&tab, "edtObservacoes", "Trocado o visor");
    clickOn(&tab, "btnAplicaUnidade");
    EXPECT_TRUE(prompts.shown().isEmpty()) << prompts.lastText().toStdString();
    EXPECT_EQ(value("SELECT Observacoes || '/' || SiglaUF FROM UNIDADE WHERE NumSerieProd = 'S1'").toString(),
              "Trocado o visor/GB");
    ASSERT_TRUE(selectRow(&tab, "dbgUnidade", "LG", "S2"));
    EXPECT_EQ(uf->currentText(), "São Paulo");
    EXPECT_LT(uf->findText("GB"), 0);
}

// The unit's postal code takes the company form's mask: five digits required, three optional.
TEST_F(LinhasProdutoTest, CepDaUnidadeAceitaOQueOCepDaEmpresaAceita) {
    open();
    TabProdutosUnidade tab(*dm);
    tab.show();
    pickProductInNextDialog("LG", "M1");
    ASSERT_TRUE(clickOn(&tab, "btnIncluiUnidade"));
    auto* cep = tab.findChild<QLineEdit*>("mskCEP");
    ASSERT_NE(cep, nullptr);
    const struct {
        const char* digitos;
        bool aceito;
    } casos[] = {{"01310100", true}, {"01310", true}, {"0131", false}, {"", false}};
    for (const auto& c : casos) {
        cep->clear();
        cep->setCursorPosition(0);
        QTest::keyClicks(cep, QLatin1String(c.digitos));
        EXPECT_EQ(cep->hasAcceptableInput(), c.aceito) << c.digitos << " " << cep->text().toStdString();
    }
    chooseCompany(&tab, "cmbEmpVinculada", "BR", "12345678909");
    typeInto(&tab, "edtNumSerie", "S9");
    setDate(&tab, "mskDtEntUnidade", "10/02/2015");
    cep->clear();
    cep->setCursorPosition(0);
    QTest::keyClicks(cep, "01310100");
    clickOn(&tab, "btnAplicaUnidade");
    EXPECT_TRUE(prompts.shown().isEmpty()) << prompts.lastText().toStdString();
    EXPECT_EQ(value("SELECT EndCEP FROM UNIDADE WHERE NumSerieProd = 'S9'").toString(), "01310100");
}
