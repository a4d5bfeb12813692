// A line editor left open when another certificate is asked for: the register refuses to open the
// other certificate while a line waits for "Aplicar" or "Cancelar", so nothing is ever written under
// a certificate the user did not edit.

#include "DateMaskEdit.h"
#include "Modal.h"
#include "MontaRegistro.h"
#include "PanelModificaCertificado.h"
#include "RegistroFixture.h"
#include "SlotPanel.h"
#include "TFormPrincipal.h"

#include <QAction>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSqlRecord>
#include <QTabWidget>
#include <QTableView>

namespace {

const QString Cnpj = QStringLiteral("11222333000181");
const QString Erro = QStringLiteral("Erro de Edição");

QString naoAplicadas(const QString& painel) {
    return QStringLiteral("Existem inclusões ou alterações não Aplicadas no painel de %1. Pressione o botão "
                          "Aplicar ou Cancelar antes de mudar de painel.")
        .arg(painel);
}

// One kind of line editor: its tab, its buttons, and a change a user makes in it.
struct Editor {
    const char* nome;
    const char* aba;
    const char* legenda;
    const char* editar;
    const char* aplicar;
    const char* cancelar;
    const char* tabela;
    void (*altera)(QWidget* aba);
};

void PrintTo(const Editor& e, std::ostream* os) {
    *os << e.nome;
}

void escolheTexto(QWidget* aba, const char* combo, const QString& texto) {
    auto* box = aba->findChild<QComboBox*>(QLatin1String(combo));
    ASSERT_NE(box, nullptr) << combo;
    const int index = box->findText(texto);
    ASSERT_GE(index, 0) << texto;
    box->setCurrentIndex(index);
    emit box->activated(index);
}

void digita(QWidget* aba, const char* edit, const QString& texto) {
    ASSERT_TRUE(typeInto(aba, QLatin1String(edit), texto)) << edit;
}

const Editor Editores[] = {
    {"Empresa", "TabModificaEmp", "Empresas Envolvidas", "btnEdEmpCertEd", "btnAplEdEmpCert",
     "btnCanEdEmpCert", "EMP_CERT",
     [](QWidget* aba) { escolheTexto(aba, "cmbPapelEmp", QStringLiteral("Importador")); }},
    {"Tipo", "TabModificaTipo", "Produtos por Tipo", "btnEditaTipo", "btnAplicaTipo", "btnCancelaTipo",
     "TIPO",
     [](QWidget* aba) {
         auto* data = aba->findChild<DateMaskEdit*>(QStringLiteral("mskDtEntTipo"));
         ASSERT_NE(data, nullptr);
         data->setText(QStringLiteral("20/11/2015"));
     }},
    {"Lote", "TabModificaLote", "Produtos por Lote", "btnEditaLote", "btnAplicaLote", "btnCancelaLote",
     "LOTE", [](QWidget* aba) { digita(aba, "edtQuantLote", QStringLiteral("999")); }},
    {"Unidade", "TabModificaUnidade", "Produtos por Unidade", "btnEditaUnidade", "btnAplicaUnidade",
     "btnCancelaUnidade", "UNIDADE",
     [](QWidget* aba) { digita(aba, "edtObservacoes", QStringLiteral("Nova")); }},
    {"Servico", "TabModificaServico", "Serviços", "btnEditaServico", "btnAplicaServico", "btnCancelaServico",
     "SERVICO",
     [](QWidget* aba) {
         auto* obs = aba->findChild<QPlainTextEdit*>(QStringLiteral("memObsServico"));
         ASSERT_NE(obs, nullptr);
         obs->setFocus();
         obs->selectAll();
         QTest::keyClicks(obs, QStringLiteral("Nova"));
     }},
};

// Two certificates, "A" and "B", each with one line of every kind made by the same company, shown
// on the real register with every tab installed.
class TrocaDeCertificado : public RegistroFixture {
protected:
    std::unique_ptr<TFormPrincipal> form;
    std::optional<ChaveCertificado> escolha;

    void SetUp() override {
        RegistroFixture::SetUp();
        Sql::execute(
            db,
            QStringLiteral("INSERT INTO EMPRESA (CodigoPais, IdEmpresa, TipoPessoa, CGC, RazSocialEmp, "
                           "DthUltAtualiz, UsuResp) VALUES ('BR', :id, '1', :id, 'ACME LTDA', "
                           ":dth, 'ana')"),
            {{":id", Cnpj}, {":dth", clock.now()}});
        Sql::execute(db,
                     QStringLiteral("INSERT INTO PRODUTO (MarcaProd, ModeloProd, Importado, DthUltAtualiz, "
                                    "UsuResp) VALUES ('ACME', 'M1', 0, :dth, 'ana')"),
                     {{":dth", clock.now()}});
        for (const QString& numero : {QStringLiteral("A"), QStringLiteral("B")}) {
            cria(numero);
            const Sql::Params p{{":n", numero}, {":id", Cnpj}};
            const QString comum = QStringLiteral("'OCC1', :n, ");
            Sql::execute(
                db,
                QStringLiteral("INSERT INTO EMP_CERT (SiglaCertificador, NumCertif, CodigoPais, IdEmpresa, "
                               "StatusEmpresa, IdPapelEmp, DthEntEmpresa, DthStatusEmpresa, "
                               "DthUltAtualiz, UsuResp) VALUES (") +
                    comum +
                    QStringLiteral("'BR', :id, 'A', 1, '2015-11-12T00:00:00.000', "
                                   "'2015-11-12T00:00:00.000', '2015-11-12T00:00:00.000', 'ana')"),
                p);
            Sql::execute(
                db,
                QStringLiteral("INSERT INTO TIPO (SiglaCertificador, NumCertif, MarcaProd, ModeloProd, "
                               "Importado, StatusProduto, DthEntCertif, DthStatusProduto, "
                               "CodigoPais, IdEmpresa, DthUltAtualiz, UsuResp) VALUES (") +
                    comum +
                    QStringLiteral("'ACME', 'M1', 0, 'A', '2015-11-12T00:00:00.000', "
                                   "'2015-11-12T00:00:00.000', 'BR', :id, "
                                   "'2015-11-12T00:00:00.000', 'ana')"),
                p);
            Sql::execute(db,
                         QStringLiteral("INSERT INTO LOTE (NumLote, SiglaCertificador, NumCertif, MarcaProd, "
                                        "ModeloProd, Importado, StatusLote, QuantLote, DataFabrLote, "
                                        "DataValLote, DthEntCertif, DthStatusLote, CodigoPais, IdEmpresa, "
                                        "DthUltAtualiz, UsuResp) VALUES ('L1', ") +
                             comum +
                             QStringLiteral("'ACME', 'M1', 0, 'A', '10', '2015-01-01T00:00:00.000', "
                                            "'2016-01-01T00:00:00.000', '2015-11-12T00:00:00.000', "
                                            "'2015-11-12T00:00:00.000', 'BR', :id, "
                                            "'2015-11-12T00:00:00.000', 'ana')"),
                         p);
            Sql::execute(
                db,
                QStringLiteral("INSERT INTO UNIDADE (NumSerieProd, SiglaCertificador, NumCertif, "
                               "MarcaProd, ModeloProd, Importado, StatusUnidade, DthEntCertif, "
                               "DthStatusUnidade, CodigoPais, IdEmpresa, Observacoes, DthUltAtualiz, "
                               "UsuResp) VALUES ('S1', ") +
                    comum +
                    QStringLiteral("'ACME', 'M1', 0, 'A', '2015-11-12T00:00:00.000', "
                                   "'2015-11-12T00:00:00.000', 'BR', :id, 'Antiga', "
                                   "'2015-11-12T00:00:00.000', 'ana')"),
                p);
            Sql::execute(db,
                         QStringLiteral("INSERT INTO SERVICO (IdClasseServ, SiglaCertificador, NumCertif, "
                                        "CodigoPais, IdEmpresa, StatusServico, Observacoes, DthEntCertif, "
                                        "DthStatusServico, DthUltAtualiz, UsuResp) VALUES (10, ") +
                             comum +
                             QStringLiteral("'BR', :id, 'A', 'Antiga', '2015-11-12T00:00:00.000', "
                                            "'2015-11-12T00:00:00.000', '2015-11-12T00:00:00.000', 'ana')"),
                         p);
        }
        dm.fecha();
        form = std::make_unique<TFormPrincipal>(dm);
        montaRegistro(*form);
        form->setEscolheCertificado([this](QWidget*) { return escolha; });
        form->resize(1000, 760);
        form->show();
        prompts.clear();
    }
    void TearDown() override { form.reset(); }

    QTabWidget* abas() const { return form->panelModifica()->abas(); }
    QWidget* aba(const char* name) const { return form->panelModifica()->aba(QLatin1String(name)); }

    void abre(const QString& numero) {
        escolha = ChaveCertificado{QStringLiteral("OCC1"), numero};
        ASSERT_TRUE(clickOn(form.get(), QStringLiteral("btnSelCertModificacao")));
    }
    void mostraAba(const char* name) {
        abas()->setCurrentWidget(aba(name));
        ASSERT_EQ(abas()->currentWidget(), aba(name)) << prompts.lastText();
    }

    // Every row of the certificate in the tables a line editor writes, as text.
    QStringList linhasDe(const QString& numero) {
        QStringList rows;
        for (const char* table : {"CERTIFIC", "EMP_CERT", "TIPO", "LOTE", "UNIDADE", "SERVICO", "STATUS_C",
                                  "EVENTO_EMP", "STATUS_T", "STATUS_L", "STATUS_U", "STATUS_S"}) {
            QSqlQuery q = Sql::exec(db,
                                    QStringLiteral("SELECT * FROM %1 WHERE NumCertif = :n ORDER BY 1, 2, 3")
                                        .arg(QLatin1String(table)),
                                    {{":n", numero}});
            while (q.next()) {
                QStringList values;
                for (int c = 0; c < q.record().count(); ++c)
                    values << q.record().fieldName(c) + QLatin1Char('=') + q.value(c).toString();
                rows << QLatin1String(table) + QLatin1Char(' ') + values.join(QLatin1Char(' '));
            }
        }
        return rows;
    }

    void editaEmA(const Editor& e) {
        w<QAction>(QStringLiteral("Altera1"))->trigger();
        abre(QStringLiteral("A"));
        ASSERT_EQ(dm.numAberto(), "A");
        mostraAba(e.aba);
        QWidget* tab = aba(e.aba);
        auto* editar = tab->findChild<QPushButton*>(QLatin1String(e.editar));
        ASSERT_NE(editar, nullptr);
        ASSERT_TRUE(editar->isEnabled()) << e.nome;
        QTest::mouseClick(editar, Qt::LeftButton);
        ASSERT_TRUE(tab->findChild<QPushButton*>(QLatin1String(e.aplicar))->isEnabled())
            << prompts.lastText();
        e.altera(tab);
        ASSERT_TRUE(prompts.shown().isEmpty()) << prompts.lastText();
    }

    template <typename T = QWidget> T* w(const QString& name) {
        T* found = form->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
};

class EditorAberto : public TrocaDeCertificado, public ::testing::WithParamInterface<Editor> {};

// "Seleciona Certificado" while a line is being edited: refused with the tab's message; nothing
// is written, A stays open with its editor, and "Aplicar" then writes into A only.
TEST_P(EditorAberto, OutroCertificadoERecusadoENadaEGravado) {
    const Editor& e = GetParam();
    const QStringList antesA = linhasDe(QStringLiteral("A"));
    const QStringList antesB = linhasDe(QStringLiteral("B"));
    editaEmA(e);

    abre(QStringLiteral("B"));
    EXPECT_EQ(prompts.texts(), QStringList{naoAplicadas(QString::fromUtf8(e.legenda))});
    if (!prompts.shown().isEmpty()) {
        EXPECT_EQ(prompts.shown()[0].caption, Erro);
    }
    EXPECT_EQ(dm.numAberto(), "A");
    EXPECT_EQ(abas()->currentWidget(), aba(e.aba));
    QWidget* tab = aba(e.aba);
    EXPECT_TRUE(tab->findChild<QPushButton*>(QLatin1String(e.aplicar))->isEnabled());
    EXPECT_EQ(linhasDe(QStringLiteral("A")), antesA);
    EXPECT_EQ(linhasDe(QStringLiteral("B")), antesB);

    // The user confirms the change: it lands in A, the certificate it was made in.
    prompts.clear();
    ASSERT_TRUE(clickOn(tab, QLatin1String(e.aplicar)));
    EXPECT_TRUE(prompts.shown().isEmpty()) << prompts.lastText();
    EXPECT_NE(linhasDe(QStringLiteral("A")), antesA);
    EXPECT_EQ(linhasDe(QStringLiteral("B")), antesB);
    EXPECT_EQ(
        conta(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE NumCertif = 'A'").arg(QLatin1String(e.tabela))),
        1);

    // Nothing pending any more: B opens.
    abre(QStringLiteral("B"));
    EXPECT_EQ(dm.numAberto(), "B");
}

INSTANTIATE_TEST_SUITE_P(CadaEditor, EditorAberto, ::testing::ValuesIn(Editores),
                         [](const ::testing::TestParamInfo<Editor>& info) {
                             return std::string(info.param.nome);
                         });

// As a new user tried it: A open, a lot being edited, B asked for, back on the lot tab. Nothing
// reaches either certificate until the user says so, and "Cancelar" leaves both as they were.
TEST_F(TrocaDeCertificado, LoteEmEdicaoNadaGravaSemConfirmacao) {
    const QStringList antesA = linhasDe(QStringLiteral("A"));
    const QStringList antesB = linhasDe(QStringLiteral("B"));
    editaEmA(Editores[2]);

    abre(QStringLiteral("B"));
    EXPECT_EQ(prompts.lastText(), naoAplicadas(QStringLiteral("Produtos por Lote")));
    // Trying another tab is refused as well.
    prompts.clear();
    abas()->setCurrentIndex(0);
    EXPECT_EQ(prompts.lastText(), naoAplicadas(QStringLiteral("Produtos por Lote")));
    ASSERT_EQ(abas()->currentWidget(), aba("TabModificaLote"));
    EXPECT_EQ(linhasDe(QStringLiteral("A")), antesA);
    EXPECT_EQ(linhasDe(QStringLiteral("B")), antesB);

    ASSERT_TRUE(clickOn(aba("TabModificaLote"), QStringLiteral("btnCancelaLote")));
    EXPECT_EQ(linhasDe(QStringLiteral("A")), antesA);
    prompts.clear();
    abre(QStringLiteral("B"));
    EXPECT_TRUE(prompts.shown().isEmpty()) << prompts.lastText();
    ASSERT_EQ(dm.numAberto(), "B");
    mostraAba("TabModificaLote");
    EXPECT_FALSE(
        aba("TabModificaLote")->findChild<QPushButton*>(QStringLiteral("btnAplicaLote"))->isEnabled());
    EXPECT_EQ(aba("TabModificaLote")->findChild<QLineEdit*>(QStringLiteral("edtQuantLote"))->text(), "10");
    EXPECT_EQ(linhasDe(QStringLiteral("A")), antesA);
    EXPECT_EQ(linhasDe(QStringLiteral("B")), antesB);
}

} // namespace
