#include "ReportsFixture.h"

#include "Comprovantes.h"

using namespace Comprovantes;

class ComprovantesTest : public ReportsFixture {
protected:
    const Remessa remessa{QStringLiteral("OCC1 - Organismo de Teste - Certificação"),
                          QStringLiteral("2024031501")};
};

TEST_F(ComprovantesTest, TransferReceiptWithTheArchiveAndTheResultLines) {
    const QStringList pages = renderedPages(
        transferencia(context(), remessa, QStringLiteral("OC-OCC12024031501.zip"),
                      {QStringLiteral("Conectado ao servidor"), QStringLiteral("Transferência concluída")}));
    ASSERT_EQ(pages.size(), 1);
    EXPECT_TRUE(
        inOrder(pages.first(),
                {QStringLiteral("Tarvendix"), QStringLiteral("Comprovante de Transferência de Arquivo"),
                 QStringLiteral("OCC:"), QStringLiteral("OCC1 - Organismo de Teste - Certificação"),
                 QStringLiteral("Número da Remessa:"), QStringLiteral("2024031501"),
                 QStringLiteral("Arquivo Transferido:"), QStringLiteral("OC-OCC12024031501.zip"),
                 QStringLiteral("Data:"), QStringLiteral("15/03/2024"), QStringLiteral("Hora:"),
                 QStringLiteral("09:30:00"), QStringLiteral("Observações"),
                 QStringLiteral("Conectado ao servidor"), QStringLiteral("Transferência concluída")}));
    EXPECT_TRUE(inOrder(pages.first(), {QStringLiteral("Pag: 1"), QStringLiteral("Data: 15/03/2024"),
                                        QStringLiteral("Usuário: joão"), QStringLiteral("OCC:")}));
    EXPECT_FALSE(pages.first().contains(QStringLiteral("Resultado da Remessa:")));
}

TEST_F(ComprovantesTest, RecordingReceiptSaysOccAndNamesTheUserUnderTheDate) {
    const QStringList pages =
        renderedPages(gravacao(context(), remessa, QStringLiteral("/media/disquete/OC-OCC12024031501.zip")));
    ASSERT_EQ(pages.size(), 1);
    EXPECT_TRUE(inOrder(pages.first(),
                        {QStringLiteral("Comprovante de Transferência de Arquivo"),
                         QStringLiteral("(arquivo gravado para envio)"), QStringLiteral("OCC:"),
                         QStringLiteral("Arquivo Transferido:"),
                         QStringLiteral("/media/disquete/OC-OCC12024031501.zip"), QStringLiteral("Data:"),
                         QStringLiteral("Observações"), QStringLiteral("Usuário Responsável : joão"),
                         QStringLiteral("Gravação de arquivo realizada com sucesso.")}));
    EXPECT_FALSE(pages.first().contains(QStringLiteral("XOQA")));
    // The header's date with the user on the line beneath it.
    const QString afterDate = pages.first().section(QStringLiteral("Data: 15/03/2024"), 1);
    EXPECT_TRUE(afterDate.section(QLatin1Char('\n'), 1, 1).contains(QStringLiteral("Usuário: joão")));
}

TEST_F(ComprovantesTest, ResultReceiptGivesTheVerdictForOkAndForNo) {
    const std::pair<const char*, const char*> cases[] = {
        {"OK", "Remessa foi considerada válida e a base de dados foi atualizada"},
        {"NO", "Remessa foi invalidada pelo Kavorel e exigirá nova remessa"},
    };
    for (const auto& [code, verdict] : cases) {
        const QString archive = QStringLiteral("OC-R-OCC12024031501-%1.ZIP").arg(QLatin1String(code));
        const QStringList pages =
            renderedPages(resultado(context(), remessa, archive, QString::fromLatin1(code),
                                    {QStringLiteral("Linha 1 do relatório")}));
        ASSERT_EQ(pages.size(), 1) << code;
        EXPECT_TRUE(
            inOrder(pages.first(), {QStringLiteral("OCC:"), QStringLiteral("Número da Remessa:"),
                                    QStringLiteral("Arquivo Recebido do Kavorel:"), archive,
                                    QStringLiteral("Resultado da Remessa:"), QString::fromUtf8(verdict),
                                    QStringLiteral("Relatório Recebido do Kavorel:"),
                                    QStringLiteral("Linha 1 do relatório")}))
            << code;
    }
    EXPECT_EQ(textoResultado(QStringLiteral("XX")),
              QStringLiteral("Remessa foi invalidada pelo Kavorel e exigirá nova remessa"));
}

TEST_F(ComprovantesTest, ADeliveryGivesTheReceiptOfItsMode) {
    ComprovanteEntrega entrega;
    entrega.cabecalho = remessa.certificador;
    entrega.numeroRemessa = remessa.numeroRemessa;
    entrega.arquivo = QStringLiteral("/media/pen/OC-OCC12024031501.zip");
    entrega.gravacao = true;
    QString texto = renderedPages(daEntrega(context(), entrega)).join(QLatin1Char('\n'));
    EXPECT_TRUE(texto.contains(QStringLiteral("(arquivo gravado para envio)")));
    EXPECT_TRUE(texto.contains(entrega.arquivo));

    entrega.gravacao = false;
    entrega.arquivo = QStringLiteral("OC-OCC12024031501.zip");
    entrega.linhas = {QStringLiteral("Arquivo transferido com sucesso")};
    texto = renderedPages(daEntrega(context(), entrega)).join(QLatin1Char('\n'));
    EXPECT_FALSE(texto.contains(QStringLiteral("(arquivo gravado para envio)")));
    EXPECT_TRUE(
        inOrder(texto, {QStringLiteral("2024031501"), QStringLiteral("OC-OCC12024031501.zip"),
                        QStringLiteral("Observações"), QStringLiteral("Arquivo transferido com sucesso")}));
}
