#include "SelectionQueries.h"
#include "SelectionFixture.h"

namespace {

using SelectionQueriesTest = SelectionFixture;

QStringList numeros(const QSqlDatabase& db, const ConsultaMontada& consulta) {
    QSqlQuery q = consulta.executa(db);
    QStringList list;
    while (q.next())
        list << q.value(QStringLiteral("NumCertif")).toString();
    list.sort();
    return list;
}

TEST_F(SelectionQueriesTest, UserValuesAreBoundNeverWrittenIntoTheStatement) {
    produto("O'Brien", "It's \"7\"", 0, "1");
    linha("LOTE", "CERT-002", "O'Brien", "It's \"7\"", 0);
    FiltroCertificado filtro;
    filtro.numCertif = "CERT'";
    filtro.produto = ProdutoFiltro{"O'Brien", "It's \"7\"", 0};
    filtro.empresa = std::make_pair(QString("BR"), QString("12345678909"));
    const ConsultaMontada consulta = consultaCertificados(filtro, CertOrdem::Primeira);
    EXPECT_FALSE(consulta.texto().contains("Brien"));
    EXPECT_FALSE(consulta.texto().contains("CERT'"));
    EXPECT_EQ(numeros(db, consulta), QStringList()); // no number contains "CERT'"

    filtro.numCertif = "CERT-00";
    EXPECT_EQ(numeros(db, consultaCertificados(filtro, CertOrdem::Primeira)), QStringList({"CERT-002"}));
}

TEST_F(SelectionQueriesTest, OneOrderingLineReplacesTheOther) {
    const struct {
        CertOrdem ordem;
        QString linha;
    } cases[] = {
        {CertOrdem::Primeira, "Order By 1"},
        {CertOrdem::NumCertif, "Order by a.NumCertif"},
        {CertOrdem::NomClasseCertif, "Order by b.NomClasseCertif"},
        {CertOrdem::NomClasseProd, "Order by c.NomClasseProd"},
        {CertOrdem::DataEmissao, "Order by a.DataEmissao"},
        {CertOrdem::DataValid, "Order by a.DataValid"},
    };
    FiltroCertificado filtro;
    filtro.importado = FiltroImportado::Nao;
    for (const auto& c : cases) {
        const QStringList linhas = consultaCertificados(filtro, c.ordem).linhas;
        EXPECT_EQ(linhas.last(), c.linha);
        EXPECT_EQ(linhas.filter("Order", Qt::CaseInsensitive).size(), 1);
    }
    FiltroProduto produtos;
    produtos.marca = "a";
    EXPECT_EQ(consultaProdutos(produtos, ProdOrdem::Nenhuma).linhas.filter("Order").size(), 0);
    EXPECT_EQ(consultaProdutos(produtos, ProdOrdem::CodEANUPC).linhas.last(), "Order by a.CodEANUPC");
    FiltroEmpresa empresas;
    EXPECT_EQ(consultaEmpresas(empresas, EmprOrdem::CGC).linhas.last(), "Order by a.CGC");
}

} // namespace
