#include "ReportsFixture.h"

#include "Relatorios.h"
#include "SelecaoCertificados.h"

namespace {

QStringList numeros(const QSqlDatabase& db, const SelecaoCertificados& s) {
    QSqlQuery q = s.consulta.executa(db);
    QStringList result;
    while (q.next())
        result << q.value(QStringLiteral("SiglaCertificador")).toString() + QLatin1Char('/') +
                      q.value(QStringLiteral("NumCertif")).toString();
    result.sort();
    return result;
}

} // namespace

TEST(FormataContagem, PointsBetweenThousandsAndNothingForZero) {
    const std::pair<qint64, const char*> cases[] = {
        {0, ""},
        {1, "1"},
        {999, "999"},
        {1000, "1.000"},
        {1234, "1.234"},
        {123456, "123.456"},
        {1234567, "1.234.567"},
    };
    for (const auto& [count, text] : cases)
        EXPECT_EQ(formataContagem(count), QString::fromLatin1(text)) << count;
}

TEST(SelecaoTexto, EachFilterAddsItsLabelInOrder) {
    EXPECT_EQ(montaSelecao({}).texto,
              QStringLiteral("Seleção: Importado:Todos, Status:Todos, Aprovados:Todos "));

    FiltroRelatorio f;
    f.numero = QStringLiteral("CERT");
    f.classeCertificado = ClasseEscolhida{QStringLiteral("VOL"), QStringLiteral("Certificação Voluntária")};
    f.classeProduto = ClasseEscolhida{110, QStringLiteral("Aparelhos de ar condicionado")};
    f.empresa = EmpresaFiltro{QStringLiteral("BR"), QStringLiteral("11222333000181"),
                              QStringLiteral("Alfa Indústria")};
    f.produto = ProdutoFiltro{QStringLiteral("ACME"), QStringLiteral("X1"), 1};
    f.classeServico = ClasseEscolhida{20, QStringLiteral("Instalação de ar condicionado")};
    f.importado = FiltroImportado::Sim;
    f.status = FiltroStatus::Ativos;
    f.aprovacao = FiltroAprovacao::Aprovados;
    EXPECT_EQ(
        montaSelecao(f).texto,
        QStringLiteral("Seleção: Número do Certificado: CERT,Classe do Certificado: Certificação Voluntária,"
                       "Classe de Produto: Aparelhos de ar condicionado,Razão social: Alfa Indústria,"
                       "Marca: ACME Modelo: X1,Classe de Serviço: Instalação de ar condicionado,"
                       "Importado:Sim, Status:Ativos, Aprovados: Sim "));

    const std::tuple<FiltroImportado, FiltroStatus, FiltroAprovacao, const char*> variants[] = {
        {FiltroImportado::Nao, FiltroStatus::Cancelados, FiltroAprovacao::NaoAprovados,
         "Seleção: Importado:Não, Status:Cancelados, Aprovados:Não "},
        {FiltroImportado::Todos, FiltroStatus::Suspensos, FiltroAprovacao::Todos,
         "Seleção: Importado:Todos, Status:Suspensos, Aprovados:Todos "},
    };
    for (const auto& [imp, st, apr, text] : variants) {
        FiltroRelatorio g;
        g.importado = imp;
        g.status = st;
        g.aprovacao = apr;
        EXPECT_EQ(montaSelecao(g).texto, QString::fromUtf8(text));
    }
}

class SelecaoFixture : public ReportsFixture {};

TEST_F(SelecaoFixture, NoFilterSelectsEveryCertificateWithKnownClasses) {
    // SEMCLASSE's class of product is not in the reference tables.
    EXPECT_EQ(numeros(db, montaSelecao({})),
              (QStringList{"AAA/AAA-9", "AAA/VAZIO-1", "OCC1/CERT-001", "OCC1/CERT-002", "OCC1/PRONTO-1",
                           "OCC1/PRONTO-2", "OCC1/VAZIO-1"}));
}

TEST_F(SelecaoFixture, FiltersSelectTheMatchingCertificates) {
    struct Case {
        const char* name;
        std::function<void(FiltroRelatorio&)> set;
        QStringList expected;
    };
    const QList<Case> cases{
        {"number, case-blind",
         [](FiltroRelatorio& f) { f.numero = QStringLiteral("pronto"); },
         {"OCC1/PRONTO-1", "OCC1/PRONTO-2"}},
        {"class of certificate",
         [](FiltroRelatorio& f) {
             f.classeCertificado = ClasseEscolhida{QStringLiteral("VOL"), QString()};
         },
         {"OCC1/CERT-001"}},
        {"class of product",
         [](FiltroRelatorio& f) {
             f.classeProduto = ClasseEscolhida{200, QString()};
         },
         {"OCC1/VAZIO-1"}},
        {"company",
         [](FiltroRelatorio& f) {
             f.empresa = EmpresaFiltro{QStringLiteral("BR"), QStringLiteral("11222333000181"), QString()};
         },
         {"AAA/VAZIO-1", "OCC1/CERT-001"}},
        {"product",
         [](FiltroRelatorio& f) {
             f.produto = ProdutoFiltro{QStringLiteral("Beta"), QStringLiteral("Z"), 0};
         },
         {"OCC1/CERT-001", "OCC1/CERT-002"}},
        {"class of service",
         [](FiltroRelatorio& f) {
             f.classeServico = ClasseEscolhida{20, QString()};
         },
         {"OCC1/CERT-001"}},
        {"imported",
         [](FiltroRelatorio& f) { f.importado = FiltroImportado::Sim; },
         {"AAA/VAZIO-1", "OCC1/CERT-001"}},
        {"national",
         [](FiltroRelatorio& f) { f.importado = FiltroImportado::Nao; },
         {"OCC1/CERT-001", "OCC1/CERT-002"}},
        {"suspended", [](FiltroRelatorio& f) { f.status = FiltroStatus::Suspensos; }, {"OCC1/CERT-002"}},
        {"cancelled", [](FiltroRelatorio& f) { f.status = FiltroStatus::Cancelados; }, {}},
        {"approved", [](FiltroRelatorio& f) { f.aprovacao = FiltroAprovacao::Aprovados; }, {"OCC1/CERT-001"}},
        // Waiting for approval and still incomplete alike.
        {"not approved",
         [](FiltroRelatorio& f) {
             f.aprovacao = FiltroAprovacao::NaoAprovados;
             f.numero = QStringLiteral("-");
         },
         {"AAA/AAA-9", "AAA/VAZIO-1", "OCC1/CERT-002", "OCC1/PRONTO-1", "OCC1/PRONTO-2", "OCC1/VAZIO-1"}},
    };
    for (const Case& c : cases) {
        FiltroRelatorio f;
        c.set(f);
        const SelecaoCertificados s = montaSelecao(f);
        EXPECT_EQ(numeros(db, s), c.expected) << c.name;
        EXPECT_EQ(contaSelecao(db, s), c.expected.size()) << c.name;
    }
}

TEST_F(SelecaoFixture, TypedValuesAreBoundNeverPastedIntoTheStatement) {
    FiltroRelatorio f;
    f.numero = QStringLiteral("X' OR '1'='1");
    f.produto = ProdutoFiltro{QStringLiteral("Marca D'Agua"), QStringLiteral("M'1"), 0};
    f.status = FiltroStatus::Ativos;
    const SelecaoCertificados s = montaSelecao(f);
    EXPECT_FALSE(s.consulta.texto().contains(QLatin1Char('\'') + QStringLiteral("A") + QLatin1Char('\'')));
    EXPECT_FALSE(s.consulta.texto().contains(QStringLiteral("Agua")));
    EXPECT_FALSE(s.consulta.texto().contains(QStringLiteral("OR '1'")));
    EXPECT_EQ(contaSelecao(db, s), 0);
}

TEST_F(SelecaoFixture, ACountOf1234CertificatesReads1Point234) {
    {
        QSqlQuery insert = Sql::prepare(
            db,
            QStringLiteral("INSERT INTO CERTIFIC (SiglaCertificador, NumCertif, StatusCertificado, "
                           "IdClasseCertif, IdClasseProd, Completo, Aprovado, DthUltAtualiz, UsuResp) VALUES "
                           "('OCC1', :n, 'C', 'COMP', 200, 0, 0, '2024-01-01T00:00:00.000', 'ana')"));
        db.transaction();
        for (int i = 0; i < 1234; ++i) {
            Sql::bind(insert, {{QStringLiteral(":n"), QStringLiteral("MASSA-%1").arg(i)}});
            Sql::exec(insert);
        }
        db.commit();
    }
    FiltroRelatorio f;
    f.status = FiltroStatus::Cancelados;
    EXPECT_EQ(formataContagem(contaSelecao(db, montaSelecao(f))), QStringLiteral("1.234"));
}
