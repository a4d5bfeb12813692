#include "ReportsFixture.h"

#include "EspelhoCertificado.h"

using namespace Espelho;

namespace {

SelecaoCertificados selecao(const char* numero) {
    FiltroRelatorio f;
    f.numero = QString::fromLatin1(numero);
    return montaSelecao(f);
}

} // namespace

class EspelhoTest : public ReportsFixture {};

TEST(EspelhoTextos, AddressTextTakesOnlyTheFilledParts) {
    EXPECT_EQ(textoEndereco({QString(), QStringLiteral("12")}), QStringLiteral(", 12"));
    EXPECT_EQ(
        textoEndereco({QStringLiteral("Rua A"), QStringLiteral("1"), QStringLiteral("b"),
                       QStringLiteral("Centro"), QStringLiteral("01000"), QStringLiteral("Natal"),
                       QStringLiteral("RN"), QStringLiteral("84 1"), QStringLiteral("84 2"),
                       QStringLiteral("a@b.c")}),
        QStringLiteral("Rua A, 1/b   Centro  CEP 01000 - Natal, RN - Tel: 84 1  Fax: 84 2  Email: a@b.c"));
    EXPECT_EQ(textoEndereco({}), QString());
    EXPECT_EQ(textoInstalacao(QStringLiteral("Galpão"), QStringLiteral("Bairro"), QStringLiteral("Cidade"),
                              QStringLiteral("SP"), QStringLiteral("13000")),
              QStringLiteral("Galpão Bairro Cidade - SP CEP: 13000"));
    EXPECT_EQ(textoInstalacao(QStringLiteral("Galpão"), {}, {}, {}, {}), QStringLiteral("Galpão"));
}

TEST(EspelhoTextos, EventWords) {
    const std::pair<const char*, const char*> cases[] = {
        {"INC", "Inclusão"},  {"ALT", "Alteração"},  {"CAN", "Cancelamento"},
        {"SUS", "Suspensão"}, {"REA", "Reativação"}, {"APR", "Aprovação de Envio"},
        {"XYZ", ""},
    };
    for (const auto& [code, word] : cases)
        EXPECT_EQ(descricaoEvento(QString::fromLatin1(code)), QString::fromUtf8(word));
}

TEST_F(EspelhoTest, EverySectionAndFieldOfACertificate) {
    const QStringList pages = renderedPages(espelho(context(), selecao("CERT-001"), Variante::SemLog));
    const QString text = pages.join(QString());
    EXPECT_TRUE(inOrder(pages.first(), {QStringLiteral("Tarvendix"),
                                        QStringLiteral("Espelho dos Certificados com Log de Evento"),
                                        QStringLiteral("Seleção: Número do Certificado: CERT-001,")}));
    EXPECT_TRUE(inOrder(
        text, {QStringLiteral("Dados Gerais"), QStringLiteral("Sigla Certificador: OCC1"),
               QStringLiteral("Nº Certificado: CERT-001"), QStringLiteral("Status Certificado: Ativo"),
               QStringLiteral("Data Emissão: 02/01/2024"), QStringLiteral("Data Validade: 01/01/2027"),
               QStringLiteral("Classe do Certificado: Certificação Voluntária"),
               QStringLiteral("Classe de Produto: Aparelhos de ar condicionado"),
               QStringLiteral("Signatários: José Antônio")}));
    EXPECT_TRUE(text.contains(QStringLiteral("Lab. Ensaio: Laboratório Ômega")));
    // Blanks as the address text has them (pdftotext narrows runs of blanks).
    EXPECT_TRUE(espelho(context(), selecao("CERT-001"), Variante::SemLog)
                    .text()
                    .contains(QStringLiteral(
                        "Endereço: Rua das Flores, 100/sala 2   Centro  CEP 01310100 - São Paulo, SP - "
                        "Tel: 11 5555-0000  Fax: 11 5555-0001")));
    EXPECT_TRUE(text.contains(QStringLiteral("Num. Rel. Ensaio: RE-2024/7")));
    // Companies with their addresses and products.
    EXPECT_TRUE(inOrder(text, {QStringLiteral("Empresas Certificadas"),
                               QStringLiteral("Brasil"),
                               QStringLiteral("11.222.333/0001-81"),
                               QStringLiteral("Alfa Indústria"),
                               QStringLiteral("Fabricante"),
                               QStringLiteral("Endereço: Rua das Flores, 100/sala 2"),
                               QStringLiteral("Dt Ent no Certificado 04/01/2024"),
                               QStringLiteral("Produtos Certificados"),
                               QStringLiteral("Marca / Modelo"),
                               QStringLiteral("ACME / X1"),
                               QStringLiteral("7891234567895"),
                               QStringLiteral("Sim"),
                               QStringLiteral("05/01/2024"),
                               QStringLiteral("Ativo"),
                               QStringLiteral("Descrição do Produto: Condicionador split 12000 BTU"),
                               QStringLiteral("Beta / Z"),
                               QStringLiteral("Não"),
                               QStringLiteral("Cancelado"),
                               QStringLiteral("Nº. Lote: L-77"),
                               QStringLiteral("Qtd. Lote: 500"),
                               QStringLiteral("Dt. Fabricação: 01/12/2023"),
                               QStringLiteral("Dt. Validade: 01/12/2026"),
                               QStringLiteral("Proforma Invoice: PI-9")}));
    EXPECT_TRUE(inOrder(
        text, {QStringLiteral("123456789-09"), QStringLiteral("Maria da Silva"),
               QStringLiteral("Solicitante"), QStringLiteral("Endereço: , 12"), QStringLiteral("Beta / Z"),
               QStringLiteral("Suspenso"), QStringLiteral("Nº. Série: S-9"),
               QStringLiteral("Local Instalação: Galpão 3 Industrial Campinas - SP CEP: 13000000"),
               QStringLiteral("Observações Unidade de teste")}));
    // The service prints its own status (suspended), not its company link's (active).
    EXPECT_TRUE(
        inOrder(text, {QStringLiteral("Serviços Certificados"), QStringLiteral("Classe do Serviço"),
                       QStringLiteral("Razão Social da Empresa"), QStringLiteral("CNPJ"),
                       QStringLiteral("Instalação de ar condicionado"), QStringLiteral("Alfa Indústria"),
                       QStringLiteral("11.222.333/0001-81"), QStringLiteral("Suspenso"),
                       QStringLiteral("País: Brasil"), QStringLiteral("Dt Ent no Certificado: 08/01/2024"),
                       QStringLiteral("Observações: Equipe própria")}));
    EXPECT_TRUE(inOrder(text, {QStringLiteral("Documentos Normativos"), QStringLiteral("Titulo Documento"),
                               QStringLiteral("Regulamento 12 - Eficiência energética"),
                               QStringLiteral("Regulamento Técnico"), QStringLiteral("09/01/2024"),
                               QStringLiteral("Ativo")}));
    EXPECT_FALSE(text.contains(QStringLiteral("Log de Eventos")));
}

TEST_F(EspelhoTest, TheLogOnlyInTheVariantWithLog) {
    const QString without = espelho(context(), selecao("CERT-001"), Variante::SemLog).text();
    const QString with = espelho(context(), selecao("CERT-001"), Variante::ComLog).text();
    EXPECT_FALSE(without.contains(QStringLiteral("Log de Eventos")));
    EXPECT_FALSE(without.contains(QStringLiteral("Aprovação de Envio")));
    const QStringList pages = renderedPages(espelho(context(), selecao("CERT-001"), Variante::ComLog));
    const QString text = pages.join(QString());
    EXPECT_TRUE(inOrder(
        text, {QStringLiteral("Log de Eventos"), QStringLiteral("Data Registro no Sistema"),
               QStringLiteral("Data Evento"), QStringLiteral("Evento"), QStringLiteral("Justificativa"),
               QStringLiteral("Fonte"), QStringLiteral("Referente a"), QStringLiteral("Inclusão"),
               QStringLiteral("Sistema"), QStringLiteral("Certificados"), QStringLiteral("Alteração"),
               QStringLiteral("Nota do usuário"), QStringLiteral("Usuário"),
               QStringLiteral("Aprovação de Envio"), QStringLiteral("Sistema")}));
    const QString approval =
        text.section(QStringLiteral("Aprovação de Envio"), 1).section(QLatin1Char('\n'), 0, 0);
    EXPECT_TRUE(approval.contains(QStringLiteral("Sistema")));
    EXPECT_TRUE(with.contains(QStringLiteral("11/01/2024")));
}

TEST_F(EspelhoTest, EachCertificateStartsOnItsOwnPage) {
    FiltroRelatorio f;
    f.numero = QStringLiteral("PRONTO");
    const QStringList pages = renderedPages(espelho(context(), montaSelecao(f), Variante::ComLog));
    ASSERT_EQ(pages.size(), 2);
    EXPECT_TRUE(pages[0].contains(QStringLiteral("Nº Certificado: PRONTO-")));
    EXPECT_TRUE(pages[1].contains(QStringLiteral("Nº Certificado: PRONTO-")));
    EXPECT_NE(pages[0].section(QStringLiteral("Nº Certificado: "), 1).left(8),
              pages[1].section(QStringLiteral("Nº Certificado: "), 1).left(8));
    for (const QString& page : pages)
        EXPECT_TRUE(inOrder(page, {QStringLiteral("Tarvendix"),
                                   QStringLiteral("Espelho dos Certificados com Log de Evento"),
                                   QStringLiteral("Usuário: joão")}));
}

TEST_F(EspelhoTest, ACertificateWithoutCompaniesPrintsItsGeneralDataOnly) {
    const QString text = espelho(context(), selecao("CERT-002"), Variante::SemLog).text();
    EXPECT_TRUE(text.contains(QStringLiteral("Dados Gerais")));
    EXPECT_TRUE(text.contains(QStringLiteral("Status Certificado: Suspenso")));
    EXPECT_FALSE(text.contains(QStringLiteral("Empresas Certificadas")));
    EXPECT_FALSE(text.contains(QStringLiteral("Serviços Certificados")));
    EXPECT_FALSE(text.contains(QStringLiteral("Documentos Normativos")));
}

TEST_F(EspelhoTest, ACompanyWithoutProductLinesPrintsItsAddressButNoProducts) {
    const QString text = espelho(context(), selecao("VAZIO-1"), Variante::SemLog).text();
    // AAA/VAZIO-1 links Alfa but has its type line without a company.
    EXPECT_TRUE(text.contains(QStringLiteral("Endereço: Rua das Flores")));
    EXPECT_FALSE(text.contains(QStringLiteral("Produtos Certificados")));
}
