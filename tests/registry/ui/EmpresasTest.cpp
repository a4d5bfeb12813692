#include "CadastroEmpresas.h"
#include "EmpresasFixture.h"
#include "GradeEmpresas.h"
#include "Modal.h"
#include "PanelTabEmpresa.h"
#include "TFrmInclEmpresa.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

namespace {

const QString CaptionGravacao = QStringLiteral("Erro de gravação");
const QString CnpjDigitoErrado =
    QStringLiteral("O CNPJ fornecido não é válido (dígito verificador não confere).");
const QString EmpresaJaExiste = QStringLiteral("Esta empresa já existe !!!. Cancele a Operação.");

} // namespace

class EmpresasTest : public EmpresasFixture {
protected:
    PanelTabEmpresa& painel() {
        if (!panel) {
            panel = std::make_unique<PanelTabEmpresa>(*dm);
            panel->show();
        }
        return *panel;
    }

    template <class T> T* w(const QString& name) {
        T* found = painel().findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }

    // "Incluir" and the fields of a Brazilian legal person.
    void novaBrasileira(const QString& cnpj, const QString& razao, const QString& cep = "01310100") {
        clickOn(&painel(), "btnIncluir");
        escolhe(w<QComboBox>("cmbPais"), "Brasil");
        typeInto(&painel(), "edtCGC", cnpj);
        typeInto(&painel(), "edtRazSocialEmp", razao);
        typeInto(&painel(), "edtEndCEP", cep);
    }

    QString celula(int row, int column) {
        auto* grid = w<QTableView>("dbgEmpresas");
        return grid->model()->index(row, column).data().toString();
    }

    std::unique_ptr<PanelTabEmpresa> panel;
};

TEST_F(EmpresasTest, CnpjComDigitoErradoERecusadoSemGravarNada) {
    novaBrasileira("11222333000182", "ACME LTDA");
    clickOn(&painel(), "btnOk");

    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_EQ(prompts.shown()[0].caption, "Erro de validação do CNPJ");
    EXPECT_EQ(prompts.shown()[0].text, CnpjDigitoErrado);
    EXPECT_EQ(count("SELECT COUNT(*) FROM EMPRESA"), 0);
    // Still editing, so the user can correct it.
    EXPECT_TRUE(w<QPushButton>("btnOk")->isEnabled());
    EXPECT_FALSE(w<QPushButton>("btnIncluir")->isEnabled());
}

TEST_F(EmpresasTest, CnpjValidoGuardadoComQuatorzeDigitosEExibidoPontuado) {
    EXPECT_FALSE(w<QPushButton>("btnEditar")->isEnabled()); // an empty table
    novaBrasileira("11222333000181", "ACME LTDA", "01310100");
    typeInto(&painel(), "edtTelefone", "11 5555-1234");
    clickOn(&painel(), "btnOk");

    EXPECT_TRUE(prompts.shown().isEmpty()) << prompts.lastText().toStdString();
    const auto r =
        rows("SELECT CodigoPais, IdEmpresa, CGC, TipoPessoa, EndCEP, UsuResp, DthUltAtualiz FROM EMPRESA");
    ASSERT_EQ(r.size(), 1);
    EXPECT_EQ(r[0].value("CodigoPais").toString(), "BR");
    EXPECT_EQ(r[0].value("IdEmpresa").toString(), "11222333000181");
    EXPECT_EQ(r[0].value("CGC").toString(), "11222333000181");
    EXPECT_EQ(r[0].value("TipoPessoa").toString(), "1");
    EXPECT_EQ(r[0].value("EndCEP").toString(), "01310100");
    EXPECT_EQ(r[0].value("UsuResp").toString(), "joao");
    EXPECT_EQ(r[0].value("DthUltAtualiz").toString(), "2015-11-25T14:03:59.250");
    EXPECT_EQ(celula(0, 1), "11.222.333/0001-81");
    EXPECT_EQ(celula(0, 2), "ACME LTDA");
    EXPECT_TRUE(w<QPushButton>("btnEditar")->isEnabled());
    EXPECT_FALSE(w<QPushButton>("btnOk")->isEnabled());
}

TEST_F(EmpresasTest, PessoaFisicaGuardaCpfComoIdentidade) {
    clickOn(&painel(), "btnIncluir");
    escolhe(w<QComboBox>("cmbPais"), "Brasil");
    w<QRadioButton>("rbFisica")->click();
    EXPECT_EQ(w<QLabel>("lblCNPJ")->text(), "CPF");
    EXPECT_EQ(w<QLabel>("lblNomFantasia")->text(), "Nome Pessoa Física");
    EXPECT_FALSE(w<QLineEdit>("edtRazSocialEmp")->isEnabled());
    typeInto(&painel(), "edtCPF", "52998224725");
    typeInto(&painel(), "edtNomPessoaFisica", "Maria da Silva");
    clickOn(&painel(), "btnOk");

    EXPECT_TRUE(prompts.shown().isEmpty()) << prompts.lastText().toStdString();
    const auto r = rows("SELECT IdEmpresa, CPF, TipoPessoa, NomPessoaFisica, CGC, RazSocialEmp FROM EMPRESA");
    ASSERT_EQ(r.size(), 1);
    EXPECT_EQ(r[0].value("IdEmpresa").toString(), "52998224725");
    EXPECT_EQ(r[0].value("CPF").toString(), "52998224725");
    EXPECT_EQ(r[0].value("TipoPessoa").toString(), "2");
    EXPECT_EQ(r[0].value("NomPessoaFisica").toString(), "Maria da Silva");
    EXPECT_TRUE(r[0].value("CGC").isNull());
    EXPECT_EQ(celula(0, 1), "529982247-25");
    EXPECT_EQ(celula(0, 2), "Maria da Silva");
}

TEST_F(EmpresasTest, EstrangeiraEJuridicaIdentificadaPeloNome) {
    clickOn(&painel(), "btnIncluir");
    w<QRadioButton>("rbFisica")->click();
    escolhe(w<QComboBox>("cmbPais"), "Argentina");
    EXPECT_TRUE(w<QRadioButton>("rbJuridica")->isChecked());
    EXPECT_FALSE(w<QRadioButton>("rbFisica")->isEnabled());
    EXPECT_TRUE(w<QLabel>("lblRazSocialEmp")->font().bold());
    EXPECT_FALSE(w<QLabel>("lblEndCEP")->font().bold());
    typeInto(&painel(), "edtRazSocialEmp", "  Acme SA  ");
    clickOn(&painel(), "btnOk");

    EXPECT_TRUE(prompts.shown().isEmpty()) << prompts.lastText().toStdString();
    EXPECT_EQ(campo("SELECT IdEmpresa FROM EMPRESA WHERE CodigoPais = 'AR'").toString(), "Acme SA");

    // The same name in another country is another company; in the same country, a duplicate.
    clickOn(&painel(), "btnIncluir");
    escolhe(w<QComboBox>("cmbPais"), "China");
    typeInto(&painel(), "edtRazSocialEmp", "Acme SA");
    clickOn(&painel(), "btnOk");
    EXPECT_EQ(count("SELECT COUNT(*) FROM EMPRESA"), 2);

    clickOn(&painel(), "btnIncluir");
    escolhe(w<QComboBox>("cmbPais"), "Argentina");
    typeInto(&painel(), "edtRazSocialEmp", "ACME SA");
    clickOn(&painel(), "btnOk");
    ASSERT_FALSE(prompts.shown().isEmpty());
    EXPECT_EQ(prompts.shown().last().caption, "Erro de chave duplicada");
    EXPECT_EQ(prompts.lastText(), EmpresaJaExiste);
    EXPECT_EQ(count("SELECT COUNT(*) FROM EMPRESA"), 2);
}

// The checks of "Ok", in their order, on the fields as typed.
struct CasoValidacao {
    const char* nome;
    const char* pais; // code
    const char* tipo;
    const char* cgc;
    const char* cpf;
    const char* razao;
    const char* nomePF;
    const char* cep;
    const char* caption;
    const char* mensagem;
};

void PrintTo(const CasoValidacao& caso, std::ostream* os) {
    *os << caso.nome;
}

class ValidacaoEmpresaTest : public EmpresasFixture, public ::testing::WithParamInterface<CasoValidacao> {};

TEST_P(ValidacaoEmpresaTest, RecusaComAMensagemENaoGrava) {
    const CasoValidacao& c = GetParam();
    CadastroEmpresas cadastro(*dm);
    cadastro.inclui();
    Empresa e;
    e.CodigoPais = c.pais;
    e.TipoPessoa = c.tipo;
    e.CGC = c.cgc;
    e.CPF = c.cpf;
    e.RazSocialEmp = c.razao;
    e.NomPessoaFisica = c.nomePF;
    e.EndCEP = c.cep;
    EXPECT_FALSE(cadastro.salva(e));
    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_EQ(prompts.shown()[0].caption, QString::fromUtf8(c.caption));
    EXPECT_EQ(prompts.shown()[0].text, QString::fromUtf8(c.mensagem));
    EXPECT_TRUE(cadastro.editando());
    EXPECT_EQ(count("SELECT COUNT(*) FROM EMPRESA"), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, ValidacaoEmpresaTest,
    ::testing::Values(
        CasoValidacao{"SemPais", "", "1", "11222333000181", "", "ACME", "", "01310100", "Erro de gravação",
                      "O campo de País é de preenchimento obrigatório."},
        CasoValidacao{"FisicaSemCpf", "BR", "2", "", "", "", "Maria", "", "Erro de gravação",
                      "O campo CPF é de preenchimento obrigatório."},
        CasoValidacao{"FisicaSemNome", "BR", "2", "", "52998224725", "", "   ", "", "Erro de gravação",
                      "O campo Nome Pessoa Física é de preenchimento obrigatório."},
        CasoValidacao{"EstrangeiraSemNome", "US", "1", "", "", "  ", "", "", "Erro de gravação",
                      "O campo de Razão Social é de preenchimento obrigatório para empresas estrangeiras."},
        CasoValidacao{"BrasileiraSemCnpj", "BR", "1", "", "", "ACME", "", "01310100", "Erro de gravação",
                      "O campo de CNPJ é de preenchimento obrigatório para empresas brasileiras."},
        CasoValidacao{"BrasileiraSemCep", "BR", "1", "11222333000181", "", "ACME", "", "", "Erro de gravação",
                      "O campo de CEP é de preenchimento obrigatório para empresas brasileiras."},
        CasoValidacao{"CepZerado", "BR", "1", "11222333000181", "", "ACME", "", "00000000",
                      "Erro de gravação", "CEP inválido !!!"},
        CasoValidacao{"CpfInvalido", "BR", "2", "", "52998224726", "", "Maria", "", "", "CPF inválido !!!"},
        CasoValidacao{"CnpjCurto", "BR", "1", "1122233300018", "", "ACME", "", "01310100",
                      "Erro de validação do CNPJ", "O CNPJ fornecido não é válido (forneça 14 dígitos)."}),
    [](const auto& info) { return std::string(info.param.nome); });

TEST_F(EmpresasTest, SalvarEmpresaRetiraAprovacaoDeCadaCertificadoComEventoALT) {
    empresa("BR", "11222333000181", "1", "11222333000181", "ACME LTDA");
    empresa("BR", "11222333000262", "1", "11222333000262", "OUTRA LTDA");
    for (const QString num : {"C1", "C2", "C3", "C4"})
        certificado(num, true);
    for (const QString num : {"C1", "C2", "C3"})
        vinculo(num, "BR", "11222333000181");
    vinculo("C4", "BR", "11222333000262");

    ASSERT_TRUE(painel().localiza("BR", "11222333000181"));
    clickOn(&painel(), "btnEditar");
    // Linked: its identity is locked, the corporate name of a Brazilian company is not.
    EXPECT_FALSE(w<QLineEdit>("edtCGC")->isEnabled());
    EXPECT_FALSE(w<QComboBox>("cmbPais")->isEnabled());
    EXPECT_FALSE(w<QRadioButton>("rbFisica")->isEnabled());
    EXPECT_TRUE(w<QLineEdit>("edtRazSocialEmp")->isEnabled());
    EXPECT_EQ(w<QLabel>("lblCNPJ")->styleSheet(), "color: maroon;");
    typeInto(&painel(), "edtTelefone", "11 5555-0000");
    clickOn(&painel(), "btnOk");

    EXPECT_TRUE(prompts.shown().isEmpty()) << prompts.lastText().toStdString();
    EXPECT_EQ(campo("SELECT Telefone FROM EMPRESA WHERE IdEmpresa = '11222333000181'").toString(),
              "11 5555-0000");
    EXPECT_EQ(count("SELECT COUNT(*) FROM CERTIFIC WHERE Aprovado = 0"), 3);
    EXPECT_EQ(count("SELECT Aprovado FROM CERTIFIC WHERE NumCertif = 'C4'"), 1);
    // Only the flag: the certificates' own time and user of last change stay as they were (the ALT
    // event records who changed the company and when).
    EXPECT_EQ(count("SELECT COUNT(*) FROM CERTIFIC WHERE UsuResp = 'ana' "
                    "AND DthUltAtualiz = '2015-01-05T00:00:00.000'"),
              4);
    const auto ev =
        rows("SELECT NumCertif, Justificativa, HistoricoSis, StatusCertificado, DthStatusCertificado, "
             "UsuResp FROM STATUS_C WHERE Evento = 'ALT' ORDER BY NumCertif");
    ASSERT_EQ(ev.size(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(ev[i].value("NumCertif").toString(), QStringLiteral("C%1").arg(i + 1));
        EXPECT_EQ(ev[i].value("Justificativa").toString(), "Dados da Empresa Alterados");
        EXPECT_EQ(ev[i].value("HistoricoSis").toString(), "2");
        EXPECT_EQ(ev[i].value("StatusCertificado").toString(), "A");
        EXPECT_EQ(ev[i].value("DthStatusCertificado").toString(), "2015-11-25T14:03:59.250");
        EXPECT_EQ(ev[i].value("UsuResp").toString(), "joao");
    }
}

TEST_F(EmpresasTest, FalhaNoMeioDaRetiradaDeAprovacaoDesfazTudoEAvisa) {
    empresa("BR", "11222333000181", "1", "11222333000181", "ACME LTDA");
    for (const QString num : {"C1", "C2", "C3"}) {
        certificado(num, true);
        vinculo(num, "BR", "11222333000181");
    }
    ASSERT_SQL(db, "CREATE TRIGGER falha BEFORE INSERT ON STATUS_C WHEN NEW.NumCertif = 'C3' "
                   "BEGIN SELECT RAISE(ABORT, 'disco cheio'); END");
    ASSERT_TRUE(painel().localiza("BR", "11222333000181"));
    clickOn(&painel(), "btnEditar");
    typeInto(&painel(), "edtTelefone", "11 5555-0000");
    clickOn(&painel(), "btnOk");

    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_EQ(prompts.shown()[0].caption, CaptionGravacao);
    EXPECT_EQ(prompts.shown()[0].text,
              "Erro genérico de gravação no Banco de Dados !!! As alterações não foram efetuadas.");
    EXPECT_TRUE(campo("SELECT Telefone FROM EMPRESA").isNull());
    EXPECT_EQ(count("SELECT COUNT(*) FROM CERTIFIC WHERE Aprovado = 1"), 3);
    EXPECT_EQ(count("SELECT COUNT(*) FROM STATUS_C"), 0);
    EXPECT_TRUE(w<QPushButton>("btnOk")->isEnabled()); // still in edit mode
}

TEST_F(EmpresasTest, PessoaFisicaComMesmoCpfRecusadaMasEnderecoNaoConsultaDuplicata) {
    empresa("BR", "52998224725", "2", "", "", "52998224725", "Maria");
    CadastroEmpresas cadastro(*dm);
    cadastro.inclui();
    Empresa outra;
    outra.CodigoPais = "BR";
    outra.TipoPessoa = "2";
    outra.CPF = "529982247-25";
    outra.NomPessoaFisica = "Outra Maria";
    EXPECT_FALSE(cadastro.salva(outra));
    EXPECT_EQ(prompts.lastText(), EmpresaJaExiste);

    // Only the address of the stored person changes: no duplicate check, the row is updated.
    cadastro.cancela();
    prompts.clear();
    ASSERT_TRUE(cadastro.edita("BR", "52998224725"));
    Empresa mesma = cadastro.original();
    mesma.EndLogr = "Rua Nova";
    dm->registraVerificacao("EMPRESA", [] {
        ADD_FAILURE() << "the duplicate check ran";
        return true;
    });
    EXPECT_TRUE(cadastro.salva(mesma));
    EXPECT_TRUE(prompts.shown().isEmpty());
    EXPECT_EQ(campo("SELECT EndLogr FROM EMPRESA").toString(), "Rua Nova");
}

TEST_F(EmpresasTest, EmpresaNaoVinculadaMudaDeCnpjEVinculadaNaoPodeSerExcluida) {
    empresa("BR", "11222333000181", "1", "11222333000181", "ACME LTDA");
    ASSERT_TRUE(painel().localiza("BR", "11222333000181"));
    clickOn(&painel(), "btnEditar");
    EXPECT_TRUE(w<QLineEdit>("edtCGC")->isEnabled());
    typeInto(&painel(), "edtCGC", "11222333000262");
    clickOn(&painel(), "btnOk");
    EXPECT_TRUE(prompts.shown().isEmpty()) << prompts.lastText().toStdString();
    EXPECT_EQ(campo("SELECT IdEmpresa || '/' || CGC FROM EMPRESA").toString(),
              "11222333000262/11222333000262");

    certificado("C1");
    vinculo("C1", "BR", "11222333000262");
    painel().abre();
    prompts.planAnswer(PromptAnswer::Yes);
    clickOn(&painel(), "btnExcluir");
    ASSERT_EQ(prompts.shown().size(), 2);
    EXPECT_EQ(prompts.shown()[0].text, "Confirma a exclusão da Empresa?");
    EXPECT_EQ(prompts.shown()[1].caption, "Erro de exclusão");
    EXPECT_EQ(prompts.shown()[1].text,
              "Este registro não pode ser apagado. Ele já está relacionado a algum certificado!!!");
    EXPECT_EQ(count("SELECT COUNT(*) FROM EMPRESA"), 1);

    Sql::execute(db, "DELETE FROM EMP_CERT");
    prompts.planAnswer(PromptAnswer::Yes);
    clickOn(&painel(), "btnExcluir");
    EXPECT_EQ(count("SELECT COUNT(*) FROM EMPRESA"), 0);
    EXPECT_FALSE(w<QPushButton>("btnEditar")->isEnabled());
}

// A state the list no longer offers (withdrawn by a reference-table version) is shown and kept
// when the company is saved for another reason.
TEST_F(EmpresasTest, EstadoForaDaListaEMostradoEMantido) {
    empresa("BR", "11222333000181", "1", "11222333000181", "ACME LTDA");
    empresa("BR", "11222333000262", "1", "11222333000262", "OUTRA LTDA");
    Sql::execute(db, "UPDATE EMPRESA SET SiglaUF = 'GB' WHERE IdEmpresa = '11222333000181'");
    Sql::execute(db, "UPDATE EMPRESA SET SiglaUF = 'SP' WHERE IdEmpresa = '11222333000262'");
    ASSERT_TRUE(painel().localiza("BR", "11222333000181"));
    EXPECT_EQ(w<QComboBox>("cmbUF")->currentText(), "GB");
    clickOn(&painel(), "btnEditar");
    EXPECT_EQ(w<QComboBox>("cmbUF")->currentText(), "GB");
    typeInto(&painel(), "edtTelefone", "11 5555-0000");
    clickOn(&painel(), "btnOk");
    EXPECT_TRUE(prompts.shown().isEmpty()) << prompts.lastText().toStdString();
    EXPECT_EQ(
        campo("SELECT Telefone || '/' || SiglaUF FROM EMPRESA WHERE IdEmpresa = '11222333000181'").toString(),
        "11 5555-0000/GB");

    // The next company shows its own state; the withdrawn one is no longer offered for it.
    ASSERT_TRUE(painel().localiza("BR", "11222333000262"));
    EXPECT_EQ(w<QComboBox>("cmbUF")->currentText(), "São Paulo");
    EXPECT_LT(w<QComboBox>("cmbUF")->findText("GB"), 0);
    // A state the user picks replaces the stored one.
    ASSERT_TRUE(painel().localiza("BR", "11222333000181"));
    clickOn(&painel(), "btnEditar");
    escolhe(w<QComboBox>("cmbUF"), "Rio de Janeiro");
    clickOn(&painel(), "btnOk");
    EXPECT_EQ(campo("SELECT SiglaUF FROM EMPRESA WHERE IdEmpresa = '11222333000181'").toString(), "RJ");
}

TEST_F(EmpresasTest, GradeBuscaAosPoucosELocalizaPelaChave) {
    ASSERT_SQL(
        db, "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 20000) "
            "INSERT INTO EMPRESA (CodigoPais, IdEmpresa, TipoPessoa, RazSocialEmp, DthUltAtualiz, UsuResp) "
            "SELECT 'US', printf('EMPRESA %05d', i), '1', printf('EMPRESA %05d', i), "
            "'2015-01-01T00:00:00.000', 'ana' FROM n");
    painel();
    auto* grid = w<QTableView>("dbgEmpresas");
    EXPECT_LT(grid->model()->rowCount(), 20000); // not read whole

    ASSERT_TRUE(painel().localiza("US", "EMPRESA 19999"));
    const int found = grid->currentIndex().row();
    EXPECT_EQ(found, 19998);
    EXPECT_EQ(celula(found, 2), "EMPRESA 19999");
    EXPECT_EQ(w<QLineEdit>("edtRazSocialEmp")->text(), "EMPRESA 19999");
    EXPECT_FALSE(painel().localiza("US", "NAO EXISTE"));
}

TEST_F(EmpresasTest, PesquisarLocalizaAEmpresaEscolhidaNaBusca) {
    empresa("BR", "11222333000181", "1", "11222333000181", "ACME LTDA");
    empresa("BR", "44355666000138", "1", "44355666000138", "BETA LTDA");
    painel();
    onNextModal([](QWidget* dialog) {
        ASSERT_NE(dialog, nullptr);
        EXPECT_FALSE(dialog->findChild<QPushButton*>("btnNova")->isVisible());
        typeInto(dialog, "edtCnpjCpf", "443556");
        clickOn(dialog, "btnFiltra");
        clickOn(dialog, "btnOk");
    });
    clickOn(&painel(), "btnPesquisar");
    EXPECT_EQ(celula(w<QTableView>("dbgEmpresas")->currentIndex().row(), 2), "BETA LTDA");
}

TEST_F(EmpresasTest, InclusaoRapidaGravaERecusaDuplicataPelaChave) {
    empresa("BR", "11222333000181", "1", "11222333000181", "ACME LTDA");
    TFrmInclEmpresa dialog(session);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Inclusão de Empresa");
    escolhe(dialog.findChild<QComboBox*>("cmbPais"), "Brasil");
    typeInto(&dialog, "edtCGC", "11222333000181");
    typeInto(&dialog, "edtRazSocialEmp", "ACME FILIAL");
    typeInto(&dialog, "edtEndCEP", "01310100");
    clickOn(&dialog, "btnOk");
    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_EQ(prompts.shown()[0].caption, "Erro de chave duplicada");
    EXPECT_EQ(prompts.shown()[0].text, "Esta empresa já existe !!! Cancele a inclusão...");
    EXPECT_FALSE(dialog.incluida());

    typeInto(&dialog, "edtCGC", "11222333000262");
    clickOn(&dialog, "btnOk");
    ASSERT_TRUE(dialog.incluida());
    EXPECT_EQ(dialog.incluida()->second, "11222333000262");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(campo("SELECT RazSocialEmp FROM EMPRESA WHERE IdEmpresa = '11222333000262'").toString(),
              "ACME FILIAL");
}
