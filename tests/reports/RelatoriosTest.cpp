#include "ReportsFixture.h"

#include "Relatorios.h"

using namespace Report;

namespace {

const QString Empresas = QStringLiteral("Falta preencher as informações de Empresas Envolvidas.");
const QString Produtos = QStringLiteral("Falta preencher as informações de Produtos ou Serviços.");
const QString Documentos = QStringLiteral("Falta preencher as informações de Documentos Normativos.");

} // namespace

class RelatoriosTest : public ReportsFixture {};

TEST_F(RelatoriosTest, PendingItemsOfAnEmptyCertificateAreThreeSentences) {
    EXPECT_EQ(Relatorios::pendencias(db, QStringLiteral("OCC1"), QStringLiteral("VAZIO-1")),
              Empresas + QStringLiteral("\n\r") + Produtos + QStringLiteral("\n\r") + Documentos);
}

TEST_F(RelatoriosTest, PendingItemsOfACertificateWithOnlyAProductLineAreTwoSentences) {
    EXPECT_EQ(Relatorios::pendencias(db, QStringLiteral("OCC1"), QStringLiteral("CERT-002")),
              Empresas + QStringLiteral("\n\r") + Documentos);
}

TEST_F(RelatoriosTest, PendingItemsLookAtTheCertifiersOwnCertificateOnly) {
    // AAA's VAZIO-1 has everything; OCC1's has nothing, and the other's lines do not count.
    EXPECT_EQ(Relatorios::pendencias(db, QStringLiteral("AAA"), QStringLiteral("VAZIO-1")), QString());
    EXPECT_TRUE(
        Relatorios::pendencias(db, QStringLiteral("OCC1"), QStringLiteral("VAZIO-1")).startsWith(Empresas));
    EXPECT_EQ(Relatorios::pendencias(db, QStringLiteral("OCC1"), QStringLiteral("CERT-001")), QString());
    EXPECT_EQ(Relatorios::pendencias(db, QStringLiteral("OCC1"), QString()), QString());
}

TEST_F(RelatoriosTest, IncompleteCertificatesWithTheirPendingItems) {
    const QStringList pages = renderedPages(Relatorios::certificadosIncompletos(context()));
    ASSERT_EQ(pages.size(), 1);
    const QString& page = pages.first();
    EXPECT_TRUE(inOrder(page, {QStringLiteral("Tarvendix"), QStringLiteral("Certificados Incompletos"),
                               QStringLiteral("OCC1 - Organismo de Teste - Certificação")}));
    EXPECT_TRUE(inOrder(page, {QStringLiteral("Número do Certificador"), QStringLiteral("Classe do Produto"),
                               QStringLiteral("Usuário Responsável"), QStringLiteral("Data Atualização"),
                               QStringLiteral("Pendências do Certificado")}));
    EXPECT_TRUE(page.contains(QStringLiteral("Usuário: joão")));
    EXPECT_TRUE(page.contains(QStringLiteral("Data: 15/03/2024")));
    EXPECT_TRUE(page.contains(QStringLiteral("CERT-002")));
    EXPECT_TRUE(page.contains(QStringLiteral("VAZIO-1")));
    EXPECT_TRUE(page.contains(QStringLiteral("03/01/24 08:15:30")));
    EXPECT_FALSE(page.contains(QStringLiteral("PRONTO-1")));
    // Every sentence is printed in full, one under the other.
    EXPECT_EQ(page.count(QStringLiteral("Falta preencher as informações de Empresas")), 2);
    EXPECT_EQ(page.count(QStringLiteral("Falta preencher as informações de Documentos")), 2);
    EXPECT_EQ(page.count(QStringLiteral("Falta preencher as informações de Produtos")), 1);
}

TEST_F(RelatoriosTest, IncompleteCertificatesWithoutConfigurationHaveNoCertifierLine) {
    exec("DELETE FROM CONFIG_LOCAL");
    const Document document = Relatorios::certificadosIncompletos(context());
    EXPECT_FALSE(document.text().contains(QStringLiteral("OCC1 - ")));
    EXPECT_TRUE(document.text().contains(QStringLiteral("VAZIO-1")));
}

TEST_F(RelatoriosTest, ReadyCertificatesNewestChangeFirstOfTheConfiguredCertifierAndKnownClasses) {
    const QStringList pages = renderedPages(Relatorios::certificadosProntos(context()));
    ASSERT_EQ(pages.size(), 1);
    const QString& page = pages.first();
    EXPECT_TRUE(inOrder(
        page, {QStringLiteral("Certificados Prontos para Aprovação"), QStringLiteral("OCC1 - Organismo")}));
    EXPECT_TRUE(inOrder(page, {QStringLiteral("Número do Certificador"), QStringLiteral("Classe do Produto"),
                               QStringLiteral("Usuário Responsável"), QStringLiteral("Data de Atualização"),
                               QStringLiteral("PRONTO-1"), QStringLiteral("10/03/24 08:15:30"),
                               QStringLiteral("PRONTO-2")}));
    for (const char* absent : {"SEMCLASSE", "AAA-9", "CERT-001", "VAZIO-1"})
        EXPECT_FALSE(page.contains(QString::fromLatin1(absent))) << absent;
}

TEST_F(RelatoriosTest, EmptyListsPrintTheirHeaderAndColumnTitles) {
    exec("UPDATE CERTIFIC SET Completo = 1, Aprovado = 1");
    exec("DELETE FROM CONTROLE");
    struct Case {
        const char* title;
        Document document;
        const char* column;
    };
    const Case cases[] = {
        {"Certificados Prontos para Aprovação", Relatorios::certificadosProntos(context()),
         "Data de Atualização"},
        {"Certificados Incompletos", Relatorios::certificadosIncompletos(context()),
         "Pendências do Certificado"},
        {"Controle de Remessas - Listagem de Histórico",
         Relatorios::historicoRemessa(context(), "2024031501"), "Data e Hora"},
        {"Certificados a Vencer", Relatorios::certificadosAVencer(context(), 0), "Validade"},
        {"Lista dos Certificados", Relatorios::lista(context(), montaSelecao([] {
                                                         FiltroRelatorio f;
                                                         f.numero = QStringLiteral("NADA");
                                                         return f;
                                                     }())),
         "Número do Certificado"},
    };
    for (const Case& c : cases) {
        const QStringList pages = renderedPages(c.document);
        ASSERT_EQ(pages.size(), 1) << c.title;
        EXPECT_TRUE(inOrder(pages.first(), {QStringLiteral("Tarvendix"), QString::fromUtf8(c.title)}))
            << c.title;
        EXPECT_TRUE(pages.first().contains(QString::fromUtf8(c.column))) << c.title;
        EXPECT_TRUE(pages.first().contains(QStringLiteral("Usuário: joão"))) << c.title;
    }
}

TEST_F(RelatoriosTest, UsersWithSimOrNaoForEachPermissionAndNoPassword) {
    exec("INSERT INTO USU_LOCAL (SiglaUsu, SiglaCertificador, NomeUsu, SenhaUsu, AcConfigOCC, AcConfigDir, "
         "AcCadastraUsu, AcManBase, AcContRemessas, AcAtualTabAux, AcAprovCertific) VALUES ('bia', 'OCC1', "
         "'Beatriz Conceição', 'SEGREDO9', 0, 1, 0, 1, 0, 0, 1)");
    const QStringList pages = renderedPages(Relatorios::usuarios(context()));
    ASSERT_EQ(pages.size(), 1);
    const QString& page = pages.first();
    EXPECT_TRUE(inOrder(page, {QStringLiteral("Cadastro de Usuários"), QStringLiteral("Sigla"),
                               QStringLiteral("Nome do Usuário"), QStringLiteral("Certificador"),
                               QStringLiteral("Diretórios"), QStringLiteral("Usuários"),
                               QStringLiteral("Base de Dados"), QStringLiteral("Tabelas"),
                               QStringLiteral("Remessas"), QStringLiteral("Aprovação de Certificados")}));
    const QString line = page.section(QStringLiteral("bia"), 1).section(QLatin1Char('\n'), 0, 0);
    EXPECT_TRUE(inOrder(line, {QStringLiteral("Beatriz Conceição"), QStringLiteral("Não"),
                               QStringLiteral("Sim"), QStringLiteral("Não"), QStringLiteral("Sim"),
                               QStringLiteral("Não"), QStringLiteral("Não"), QStringLiteral("Sim")}))
        << line.toStdString();
    EXPECT_FALSE(page.contains(QStringLiteral("SEGREDO9")));
    const QString stored =
        Sql::scalar(db, QStringLiteral("SELECT SenhaUsu FROM USU_LOCAL WHERE SiglaUsu = 'admin'")).toString();
    if (!stored.isEmpty()) {
        EXPECT_FALSE(page.contains(stored));
    }
}

TEST_F(RelatoriosTest, BatchHistoryNewestFirstUnderItsNumber) {
    exec("INSERT INTO CONTROLE (DataHoraEvento, NumeroRemessa, TipoRemessa, Evento, Usuario, Obs) VALUES "
         "('2024-03-01T10:00:00.000', '2024030101', 'C', 'PR', 'ana', 'Remessa preparada'), "
         "('2024-03-02T11:00:00.000', '2024030101', 'C', 'TR', 'ana', 'Transferência por FTP'), "
         "('2024-03-03T12:00:00.000', '2024030101', 'C', 'OK', 'joão', 'Resultado recebido'), "
         "('2024-03-04T12:00:00.000', '2024030401', 'C', 'PR', 'ana', 'Outra remessa')");
    const QStringList pages =
        renderedPages(Relatorios::historicoRemessa(context(), QStringLiteral("2024030101")));
    ASSERT_EQ(pages.size(), 1);
    const QString& page = pages.first();
    EXPECT_TRUE(inOrder(
        page, {QStringLiteral("Controle de Remessas - Listagem de Histórico"),
               QStringLiteral("OCC1 - Organismo de Teste"), QStringLiteral("Número da Remessa: 2024030101"),
               QStringLiteral("Evento"), QStringLiteral("Observação"), QStringLiteral("Usuário Responsável"),
               QStringLiteral("Data e Hora"), QStringLiteral("Finalizada - OK"),
               QStringLiteral("Resultado recebido"), QStringLiteral("03/03/24 12:00:00"),
               QStringLiteral("Enviada para o Kavorel"), QStringLiteral("Remessa Preparada")}));
    EXPECT_FALSE(page.contains(QStringLiteral("Outra remessa")));
}

TEST_F(RelatoriosTest, CertificatesToExpireWithinTheChosenDays) {
    exec("UPDATE CERTIFIC SET DataValid = '2024-04-10T00:00:00.000' WHERE NumCertif = 'PRONTO-1'");
    exec("UPDATE CERTIFIC SET DataValid = '2024-05-14T00:00:00.000' WHERE NumCertif = 'PRONTO-2'");
    exec(
        "UPDATE CERTIFIC SET DataValid = '2024-03-20T00:00:00.000' WHERE NumCertif = 'CERT-002'"); // suspended
    exec("UPDATE CERTIFIC SET DataValid = '2024-03-20T00:00:00.000' WHERE NumCertif = 'AAA-9'"); // other OCC
    const QDate hoje(2024, 3, 15);
    EXPECT_EQ(Relatorios::contaAVencer(db, hoje, 60), 2); // 14/05 is the 60th day
    EXPECT_EQ(Relatorios::contaAVencer(db, hoje, 59), 1);
    EXPECT_EQ(Relatorios::contaAVencer(db, hoje, 10), 0);
    const QStringList pages = renderedPages(Relatorios::certificadosAVencer(context(), 60));
    ASSERT_EQ(pages.size(), 1);
    EXPECT_TRUE(inOrder(pages.first(),
                        {QStringLiteral("Certificados a Vencer"), QStringLiteral("14/05/2024 (60 dias)"),
                         QStringLiteral("PRONTO-1"), QStringLiteral("10/04/2024"), QStringLiteral("PRONTO-2"),
                         QStringLiteral("14/05/2024")}));
    EXPECT_FALSE(pages.first().contains(QStringLiteral("CERT-002")));
    EXPECT_FALSE(pages.first().contains(QStringLiteral("AAA-9")));
}

TEST_F(RelatoriosTest, TheCertificateListShowsTheSelectionTextAndOneLinePerCertificate) {
    FiltroRelatorio f;
    f.numero = QStringLiteral("PRONTO");
    const QStringList pages = renderedPages(Relatorios::lista(context(), montaSelecao(f)));
    ASSERT_EQ(pages.size(), 1);
    EXPECT_TRUE(inOrder(pages.first(),
                        {QStringLiteral("Lista dos Certificados"),
                         QStringLiteral("Seleção: Número do Certificado: PRONTO,Importado:Todos,"),
                         QStringLiteral("Número do Certificado"), QStringLiteral("Classe do Produto"),
                         QStringLiteral("Usuário Responsável"), QStringLiteral("Data de Atualização")}));
    EXPECT_EQ(pages.first().count(QStringLiteral("PRONTO-")), 2);
    EXPECT_TRUE(pages.first().contains(QStringLiteral("Aparelhos de ar condicionado")));
}
