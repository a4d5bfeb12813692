#include "SelectionQueries.h"
#include "SelectionData.h"

#include "PrintQString.h"

namespace {

using SelectionQueriesTest = SelectionData;

// The values of one column of every row the statement returns, in its order.
QStringList coluna(const QSqlDatabase& db, const ConsultaMontada& consulta, const QString& nome) {
    QSqlQuery q = consulta.executa(db);
    QStringList list;
    while (q.next())
        list << q.value(nome).toString();
    return list;
}

QStringList ordenada(QStringList list) {
    list.sort();
    return list;
}

FiltroCertificado porNumero(const QString& numero) {
    FiltroCertificado f;
    f.numCertif = numero;
    return f;
}

TEST_F(SelectionQueriesTest, CadaFiltroDeCertificadoDevolveSeusCertificados) {
    const auto filtro = [](auto ajusta) {
        FiltroCertificado f;
        ajusta(f);
        return f;
    };
    const struct {
        const char* caso;
        FiltroCertificado filtro;
        QStringList numeros;
    } casos[] = {
        // Without a filter: every certificate, whatever its acronym, its class known or not.
        {"Nenhum",
         {},
         {"AAA-9", "ABC'1", "CERT-001", "CERT-002", "CERT-003", "SEMCLASSE", "XYZ-100", "lab-7"}},
        {"NumeroEmQualquerCaixa", porNumero("cert-00"), {"CERT-001", "CERT-002", "CERT-003"}},
        {"NumeroNoMeio", porNumero("B-"), {"lab-7"}},
        {"NumeroComAspas", porNumero("C'1"), {"ABC'1"}},
        {"NumeroQueNaoExiste", porNumero("CERT'"), {}},
        {"ClasseDeCertificado",
         filtro([](FiltroCertificado& f) { f.nomClasseCertif = "Certificação Voluntária"; }),
         {"CERT-001"}},
        {"ClasseDeProdutos",
         filtro([](FiltroCertificado& f) { f.nomClasseProd = "Brinquedos"; }),
         {"ABC'1", "XYZ-100"}},
        {"ClasseDeServico",
         filtro(
             [](FiltroCertificado& f) { f.nomClasseServ = "Inspeção técnica e manutenção de extintores"; }),
         {"CERT-003"}},
        {"EmpresaEstrangeira",
         filtro(
             [](FiltroCertificado& f) { f.empresa = std::make_pair(QString("CN"), QString("Shenzhen Co")); }),
         {"ABC'1", "CERT-001"}},
        {"PessoaFisica",
         filtro(
             [](FiltroCertificado& f) { f.empresa = std::make_pair(QString("BR"), QString("12345678909")); }),
         {"CERT-001", "CERT-002"}},
        // A product by its whole key, in any of the three kinds of line.
        {"ProdutoPorTipo",
         filtro([](FiltroCertificado& f) {
             f.produto = ProdutoFiltro{"ACME", "X1", 1};
         }),
         {"ABC'1", "CERT-001"}},
        {"ProdutoPorUnidade",
         filtro([](FiltroCertificado& f) {
             f.produto = ProdutoFiltro{"acme", "y2", 0};
         }),
         {"CERT-002"}},
        {"ProdutoPorLoteComAspas",
         filtro([](FiltroCertificado& f) {
             f.produto = ProdutoFiltro{"Marca D'Agua", "M1", 0};
         }),
         {"XYZ-100"}},
        {"ProdutoOutraCaixaOuOutraOrigem",
         filtro([](FiltroCertificado& f) {
             f.produto = ProdutoFiltro{"ACME", "X1", 0};
         }),
         {}},
        {"Importados",
         filtro([](FiltroCertificado& f) { f.importado = FiltroImportado::Sim; }),
         {"ABC'1", "CERT-001"}},
        {"Nacionais",
         filtro([](FiltroCertificado& f) { f.importado = FiltroImportado::Nao; }),
         {"CERT-002", "CERT-003", "XYZ-100"}},
        // The product carries its own flag: "Não" does not hide an imported product chosen.
        {"ProdutoIgnoraImportado",
         filtro([](FiltroCertificado& f) {
             f.produto = ProdutoFiltro{"ACME", "X1", 1};
             f.importado = FiltroImportado::Nao;
         }),
         {"ABC'1", "CERT-001"}},
        {"FiltrosSeSomam",
         filtro([](FiltroCertificado& f) {
             f.importado = FiltroImportado::Sim;
             f.nomClasseProd = "Brinquedos";
         }),
         {"ABC'1"}},
        {"EmpresaEClasse",
         filtro([](FiltroCertificado& f) {
             f.empresa = std::make_pair(QString("BR"), QString("12345678909"));
             f.nomClasseCertif = "Certificação Compulsória";
         }),
         {"CERT-002"}},
    };
    for (const auto& c : casos)
        EXPECT_EQ(ordenada(coluna(db, consultaCertificados(c.filtro, CertOrdem::Primeira),
                                  QStringLiteral("NumCertif"))),
                  c.numeros)
            << c.caso;
}

TEST_F(SelectionQueriesTest, ColunaClicadaOrdenaOsCertificados) {
    FiltroCertificado filtro;
    filtro.importado = FiltroImportado::Nao;
    const struct {
        CertOrdem ordem;
        QString coluna;
        QStringList valores;
    } casos[] = {
        {CertOrdem::NumCertif, "NumCertif", {"CERT-002", "CERT-003", "XYZ-100"}},
        {CertOrdem::NomClasseCertif,
         "NomClasseCertif",
         {"Certificação Compulsória", "Certificação Compulsória", "Certificação de Serviços"}},
        {CertOrdem::NomClasseProd,
         "NomClasseProd",
         {"Aparelhos de ar condicionado", "Aparelhos de ar condicionado", "Brinquedos"}},
        {CertOrdem::DataEmissao, "NumCertif", {"XYZ-100", "CERT-002", "CERT-003"}},
        {CertOrdem::DataValid, "NumCertif", {"XYZ-100", "CERT-002", "CERT-003"}},
    };
    for (const auto& c : casos)
        EXPECT_EQ(coluna(db, consultaCertificados(filtro, c.ordem), c.coluna), c.valores) << int(c.ordem);
}

TEST_F(SelectionQueriesTest, CadaFiltroDeProdutoDevolveSeusProdutos) {
    const struct {
        const char* caso;
        FiltroProduto filtro;
        QStringList marcas;
    } casos[] = {
        {"Nenhum", {}, {"ACME", "Beta", "Marca D'Agua", "acme"}},
        {"MarcaEmQualquerCaixa", {"acme", {}, {}, FiltroImportado::Todos, {}}, {"ACME", "acme"}},
        {"MarcaComAspas", {"d'ag", {}, {}, FiltroImportado::Todos, {}}, {"Marca D'Agua"}},
        {"ModeloNoMeio", {{}, "1", {}, FiltroImportado::Todos, {}}, {"ACME", "Marca D'Agua"}},
        {"EanExato", {{}, {}, "789", FiltroImportado::Todos, {}}, {"Beta"}},
        {"Importados", {{}, {}, {}, FiltroImportado::Sim, {}}, {"ACME"}},
        {"Nacionais", {{}, {}, {}, FiltroImportado::Nao, {}}, {"Beta", "Marca D'Agua", "acme"}},
        {"MarcaEOrigem", {"acme", {}, {}, FiltroImportado::Nao, {}}, {"acme"}},
        // The product just included, whatever else is filled in.
        {"Exato", {"x", {}, {}, FiltroImportado::Sim, ProdutoFiltro{"Beta", "Z", 0}}, {"Beta"}},
    };
    for (const auto& c : casos)
        EXPECT_EQ(
            ordenada(coluna(db, consultaProdutos(c.filtro, ProdOrdem::Nenhuma), QStringLiteral("MarcaProd"))),
            c.marcas)
            << c.caso;

    // By EAN/UPC: the product without one first, then as text.
    EXPECT_EQ(coluna(db, consultaProdutos({}, ProdOrdem::CodEANUPC), QStringLiteral("MarcaProd")),
              QStringList({"acme", "ACME", "Beta", "Marca D'Agua"}));
    EXPECT_EQ(coluna(db, consultaProdutos({}, ProdOrdem::Importado), QStringLiteral("MarcaProd")).last(),
              "ACME");
}

TEST_F(SelectionQueriesTest, CadaFiltroDeEmpresaDevolveSuasEmpresas) {
    const auto juridica = [](auto ajusta) {
        FiltroEmpresa f;
        f.filtrado = true;
        ajusta(f);
        return f;
    };
    const auto fisica = [](auto ajusta) {
        FiltroEmpresa f;
        f.filtrado = true;
        f.fisica = true;
        ajusta(f);
        return f;
    };
    const auto nada = [](FiltroEmpresa&) {};
    const struct {
        const char* caso;
        FiltroEmpresa filtro;
        QStringList ids;
    } casos[] = {
        {"AoAbrir", {}, {"11222333000181", "11222333000262", "12345678909", "44555666000177", "Shenzhen Co"}},
        {"Juridicas", juridica(nada), {"11222333000181", "11222333000262", "44555666000177", "Shenzhen Co"}},
        {"Fisicas", fisica(nada), {"12345678909"}},
        {"PrefixoDoCnpj",
         juridica([](FiltroEmpresa& f) { f.documento = "11222333000"; }),
         {"11222333000181", "11222333000262"}},
        {"CnpjQuaseInteiro",
         juridica([](FiltroEmpresa& f) { f.documento = "1122233300018"; }),
         {"11222333000181"}},
        {"CnpjNoMeioNaoServe", juridica([](FiltroEmpresa& f) { f.documento = "22233"; }), {}},
        {"Pais", juridica([](FiltroEmpresa& f) { f.codigoPais = "CN"; }), {"Shenzhen Co"}},
        {"NomeFantasiaEmQualquerCaixa",
         juridica([](FiltroEmpresa& f) { f.nome = "alf"; }),
         {"11222333000181", "11222333000262"}},
        {"RazaoSocial", juridica([](FiltroEmpresa& f) { f.razaoSocial = "comercio"; }), {"44555666000177"}},
        {"PaisEDocumentoSeSomam",
         juridica([](FiltroEmpresa& f) {
             f.codigoPais = "CN";
             f.documento = "112";
         }),
         {}},
        {"Cpf", fisica([](FiltroEmpresa& f) { f.documento = "123"; }), {"12345678909"}},
        {"NomeDaPessoa", fisica([](FiltroEmpresa& f) { f.nome = "SILVA"; }), {"12345678909"}},
        {"NomeDeEmpresaNaoAchaPessoa", fisica([](FiltroEmpresa& f) { f.nome = "Alfa"; }), {}},
        {"AcabadaDeIncluir",
         juridica([](FiltroEmpresa& f) {
             f.nome = "nada";
             f.exata = std::make_pair(QString("BR"), QString("44555666000177"));
         }),
         {"44555666000177"}},
    };
    for (const auto& c : casos)
        EXPECT_EQ(
            ordenada(coluna(db, consultaEmpresas(c.filtro, EmprOrdem::Nenhuma), QStringLiteral("IdEmpresa"))),
            c.ids)
            << c.caso;

    EXPECT_EQ(coluna(db, consultaEmpresas({}, EmprOrdem::NomePais), QStringLiteral("IdEmpresa")).last(),
              "Shenzhen Co"); // Brasil before China
}

TEST_F(SelectionQueriesTest, EmpresasDoCertificadoSaoAsJuridicasVinculadas) {
    const auto filtro = [](const QString& numero, auto ajusta) {
        FiltroEmpCert f;
        f.sigla = "OCC1";
        f.numCertif = numero;
        ajusta(f);
        return f;
    };
    const auto nada = [](FiltroEmpCert&) {};
    const struct {
        const char* caso;
        FiltroEmpCert filtro;
        QStringList ids;
    } casos[] = {
        // Maria, a natural person, is linked to CERT-001 but is not offered.
        {"Todas", filtro("CERT-001", nada), {"11222333000181", "Shenzhen Co"}},
        {"SoPessoaFisica", filtro("CERT-002", nada), {}},
        {"OutroCertificado", filtro("ABC'1", nada), {"Shenzhen Co"}},
        {"OutraSigla", filtro("CERT-001", [](FiltroEmpCert& f) { f.sigla = "AAA"; }), {}},
        {"Pais", filtro("CERT-001", [](FiltroEmpCert& f) { f.codigoPais = "BR"; }), {"11222333000181"}},
        {"CnpjExato",
         filtro("CERT-001", [](FiltroEmpCert& f) { f.cgc = "11222333000181"; }),
         {"11222333000181"}},
        {"CnpjParcialNaoServe", filtro("CERT-001", [](FiltroEmpCert& f) { f.cgc = "1122233300"; }), {}},
        {"NomeFantasia",
         filtro("CERT-001", [](FiltroEmpCert& f) { f.nomFantasia = "shen"; }),
         {"Shenzhen Co"}},
        {"RazaoSocial",
         filtro("CERT-001", [](FiltroEmpCert& f) { f.razSocialEmp = "Industria"; }),
         {"11222333000181"}},
    };
    for (const auto& c : casos)
        EXPECT_EQ(ordenada(coluna(db, consultaEmpresasDoCertificado(c.filtro), QStringLiteral("IDEMPRESA"))),
                  c.ids)
            << c.caso;
}

} // namespace
