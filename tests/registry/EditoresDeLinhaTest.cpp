#include "EmpresasCertificado.h"
#include "LinhasProduto.h"
#include "RegistroFixture.h"
#include "Servicos.h"

#include <QSqlRecord>
#include <functional>
#include <memory>

namespace {

const QString Cnpj = QStringLiteral("11222333000181");

// One line editor of the register, without its tab: how to start an alteration of the line of
// certificate "A", and "Aplicar".
struct Editor {
    const char* nome;
    std::function<std::shared_ptr<void>(TDMCertif&)> cria;
    std::function<bool(void*)> editaLinhaDeA;
    std::function<bool(void*)> editando;
    std::function<bool(void*)> aplica;
};

void PrintTo(const Editor& e, std::ostream* os) {
    *os << e.nome;
}

template <typename T> T& como(void* p) {
    return *static_cast<T*>(p);
}

const QString Entrada = QStringLiteral("20/11/2015");

DadosEditor dadosDaLinha() {
    DadosEditor d;
    d.empresa = EmpresaVinculada{QStringLiteral("BR"), Cnpj, QStringLiteral("1"), QStringLiteral("ACME"), {}};
    d.dataEntrada = Entrada;
    d.dataFabricacao = QStringLiteral("01/01/2015");
    d.dataValidade = QStringLiteral("01/01/2016");
    return d;
}

Editor linhas(const char* nome, TipoLinha tipo, const QString& numero) {
    return {nome, [tipo](TDMCertif& dm) { return std::make_shared<LinhasDoCertificado>(dm, tipo); },
            [tipo, numero](void* e) {
                auto& l = como<LinhasDoCertificado>(e);
                return l.edita(ChaveLinha{QStringLiteral("OCC1"), QStringLiteral("A"), QStringLiteral("ACME"),
                                          QStringLiteral("M1"), 0,
                                          tipo == TipoLinha::Tipo ? QString() : numero});
            },
            [](void* e) { return como<LinhasDoCertificado>(e).editando(); },
            [](void* e) { return como<LinhasDoCertificado>(e).aplica(dadosDaLinha()); }};
}

const Editor Editores[] = {
    {"Empresa", [](TDMCertif& dm) { return std::make_shared<VinculosEmpresa>(dm); },
     [](void* e) { return como<VinculosEmpresa>(e).edita(QStringLiteral("BR"), Cnpj); },
     [](void* e) { return como<VinculosEmpresa>(e).editando(); },
     [](void* e) { return como<VinculosEmpresa>(e).aplica(Entrada); }},
    linhas("Tipo", TipoLinha::Tipo, {}),
    linhas("Lote", TipoLinha::Lote, QStringLiteral("L1")),
    linhas("Unidade", TipoLinha::Unidade, QStringLiteral("S1")),
    {"Servico", [](TDMCertif& dm) { return std::make_shared<EditorServicos>(dm); },
     [](void* e) {
         auto& s = como<EditorServicos>(e);
         s.mostra(ChaveServico{10, QStringLiteral("OCC1"), QStringLiteral("A"), QStringLiteral("BR"), Cnpj});
         return s.editar();
     },
     [](void* e) { return como<EditorServicos>(e).editando(); },
     [](void* e) { return como<EditorServicos>(e).aplicar(Entrada); }},
};

// Certificates "A" and "B", each with one line of every kind.
class EditorDeLinha : public RegistroFixture, public ::testing::WithParamInterface<Editor> {
protected:
    void SetUp() override {
        RegistroFixture::SetUp();
        ASSERT_SQL(
            db, QStringLiteral("INSERT INTO EMPRESA (CodigoPais, IdEmpresa, TipoPessoa, CGC, RazSocialEmp, "
                               "DthUltAtualiz, UsuResp) VALUES ('BR', '11222333000181', '1', "
                               "'11222333000181', 'ACME', '2015-11-01T00:00:00.000', 'ana')"));
        ASSERT_SQL(db, QStringLiteral("INSERT INTO PRODUTO (MarcaProd, ModeloProd, Importado, DthUltAtualiz, "
                                      "UsuResp) VALUES ('ACME', 'M1', 0, '2015-11-01T00:00:00.000', 'ana')"));
        for (const QString& n : {QStringLiteral("A"), QStringLiteral("B")}) {
            cria(n);
            const QString v = QStringLiteral("'OCC1', '%1', ").arg(n);
            const QString d = QStringLiteral("'2015-11-12T00:00:00.000'");
            for (const QString& sql :
                 {QStringLiteral(
                      "INSERT INTO EMP_CERT (SiglaCertificador, NumCertif, CodigoPais, IdEmpresa, "
                      "StatusEmpresa, IdPapelEmp, DthEntEmpresa, DthUltAtualiz, UsuResp) VALUES (") +
                      v + QStringLiteral("'BR', '%1', 'A', 1, %2, %2, 'ana')").arg(Cnpj, d),
                  QStringLiteral(
                      "INSERT INTO TIPO (SiglaCertificador, NumCertif, MarcaProd, ModeloProd, "
                      "Importado, StatusProduto, DthEntCertif, CodigoPais, IdEmpresa, DthUltAtualiz, "
                      "UsuResp) VALUES (") +
                      v + QStringLiteral("'ACME', 'M1', 0, 'A', %2, 'BR', '%1', %2, 'ana')").arg(Cnpj, d),
                  QStringLiteral("INSERT INTO LOTE (NumLote, SiglaCertificador, NumCertif, MarcaProd, "
                                 "ModeloProd, Importado, StatusLote, QuantLote, DataFabrLote, DthEntCertif, "
                                 "CodigoPais, IdEmpresa, DthUltAtualiz, UsuResp) VALUES ('L1', ") +
                      v +
                      QStringLiteral("'ACME', 'M1', 0, 'A', '10', %2, %2, 'BR', '%1', %2, 'ana')")
                          .arg(Cnpj, d),
                  QStringLiteral(
                      "INSERT INTO UNIDADE (NumSerieProd, SiglaCertificador, NumCertif, MarcaProd, "
                      "ModeloProd, Importado, StatusUnidade, DthEntCertif, CodigoPais, IdEmpresa, "
                      "DthUltAtualiz, UsuResp) VALUES ('S1', ") +
                      v + QStringLiteral("'ACME', 'M1', 0, 'A', %2, 'BR', '%1', %2, 'ana')").arg(Cnpj, d),
                  QStringLiteral(
                      "INSERT INTO SERVICO (IdClasseServ, SiglaCertificador, NumCertif, CodigoPais, "
                      "IdEmpresa, StatusServico, DthEntCertif, DthUltAtualiz, UsuResp) VALUES (10, ") +
                      v + QStringLiteral("'BR', '%1', 'A', %2, %2, 'ana')").arg(Cnpj, d)})
                ASSERT_SQL(db, sql);
        }
    }

    // Every row of the tables an editor writes, as text.
    QStringList tudo() {
        QStringList rows;
        for (const char* table : {"CERTIFIC", "EMP_CERT", "TIPO", "LOTE", "UNIDADE", "SERVICO", "STATUS_C",
                                  "EVENTO_EMP", "STATUS_T", "STATUS_L", "STATUS_U", "STATUS_S"}) {
            QSqlQuery q =
                Sql::exec(db, QStringLiteral("SELECT * FROM %1 ORDER BY 1, 2, 3").arg(QLatin1String(table)));
            while (q.next()) {
                QStringList values;
                for (int c = 0; c < q.record().count(); ++c)
                    values << q.value(c).toString();
                rows << QLatin1String(table) + QLatin1Char(' ') + values.join(QLatin1Char('|'));
            }
        }
        return rows;
    }
};

// An alteration begun under A is cancelled when B is opened: "Aplicar" then writes nothing, in
// neither certificate.
TEST_P(EditorDeLinha, AbrirOutroCertificadoCancelaAEdicao) {
    const Editor& e = GetParam();
    const std::shared_ptr<void> editor = e.cria(dm);
    ASSERT_TRUE(dm.CarregaCertificado(QStringLiteral("OCC1"), QStringLiteral("A")));
    ASSERT_TRUE(e.editaLinhaDeA(editor.get()));
    ASSERT_TRUE(e.editando(editor.get()));
    const QStringList antes = tudo();

    ASSERT_TRUE(dm.CarregaCertificado(QStringLiteral("OCC1"), QStringLiteral("B")));
    EXPECT_FALSE(e.editando(editor.get()));
    EXPECT_FALSE(e.aplica(editor.get()));
    EXPECT_EQ(tudo(), antes);
}

// Re-reading the same certificate (after a rolled-back write) keeps the edit; closing it cancels it.
TEST_P(EditorDeLinha, RelerOMesmoCertificadoMantemEFecharCancela) {
    const Editor& e = GetParam();
    const std::shared_ptr<void> editor = e.cria(dm);
    ASSERT_TRUE(dm.CarregaCertificado(QStringLiteral("OCC1"), QStringLiteral("A")));
    ASSERT_TRUE(e.editaLinhaDeA(editor.get()));
    ASSERT_TRUE(dm.CarregaCertificado(QStringLiteral("OCC1"), QStringLiteral("A")));
    EXPECT_TRUE(e.editando(editor.get()));
    const QStringList antes = tudo();
    dm.fecha();
    EXPECT_FALSE(e.editando(editor.get()));
    EXPECT_FALSE(e.aplica(editor.get()));
    EXPECT_EQ(tudo(), antes);
}

INSTANTIATE_TEST_SUITE_P(CadaEditor, EditorDeLinha, ::testing::ValuesIn(Editores),
                         [](const ::testing::TestParamInfo<Editor>& info) {
                             return std::string(info.param.nome);
                         });

} // namespace
