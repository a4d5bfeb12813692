#include "ReportsFixture.h"

#include "Comprovantes.h"
#include "EspelhoCertificado.h"
#include "Relatorios.h"

#include <QDir>

// The sample PDFs of docs/howto-relatorios.md, made from the register of these tests (over the
// sample reference data). Set TARVENDIX_SAMPLE_REPORTS to a directory to keep them there (the
// command is in the how-to). Without it they are written to a temporary directory, so the samples cannot stop
// working.
class Amostras : public ReportsFixture {};

TEST_F(Amostras, EveryReportOfTheHowTo) {
    exec("INSERT INTO CONTROLE (DataHoraEvento, NumeroRemessa, TipoRemessa, Evento, Usuario, Obs) VALUES "
         "('2024-03-12T10:00:00.000', '2024031201', 'C', 'PR', 'joão', 'Remessa parcial preparada'), "
         "('2024-03-12T10:20:00.000', '2024031201', 'C', 'TR', 'joão', 'Transferência por FTP'), "
         "('2024-03-13T09:00:00.000', '2024031201', 'C', 'OK', 'joão', 'Resultado recebido do Kavorel')");
    exec("UPDATE CERTIFIC SET DataValid = '2024-04-30T00:00:00.000' WHERE NumCertif = 'PRONTO-2'");
    const ReportContext c = context();
    FiltroRelatorio todos;
    FiltroRelatorio um;
    um.numero = QStringLiteral("CERT-001");
    const Comprovantes::Remessa remessa{ReportText::linhaCertificador(db), QStringLiteral("2024031201")};
    const std::pair<const char*, Report::Document> amostras[] = {
        {"lista-dos-certificados.pdf", Relatorios::lista(c, montaSelecao(todos))},
        {"espelho-do-certificado.pdf", Espelho::espelho(c, montaSelecao(um), Espelho::Variante::SemLog)},
        {"espelho-com-log.pdf", Espelho::espelho(c, montaSelecao(um), Espelho::Variante::ComLog)},
        {"certificados-incompletos.pdf", Relatorios::certificadosIncompletos(c)},
        {"certificados-prontos.pdf", Relatorios::certificadosProntos(c)},
        {"certificados-a-vencer.pdf", Relatorios::certificadosAVencer(c, 60)},
        {"cadastro-de-usuarios.pdf", Relatorios::usuarios(c)},
        {"historico-da-remessa.pdf", Relatorios::historicoRemessa(c, QStringLiteral("2024031201"))},
        {"comprovante-transferencia.pdf",
         Comprovantes::transferencia(
             c, remessa, QStringLiteral("OC-OCC12024031201.zip"),
             {QStringLiteral("Conectado a ftp.kavorel.exemplo"),
              QStringLiteral("Arquivo OC-OCC12024031201.zip transferido (12.480 bytes)")})},
        {"comprovante-gravacao.pdf",
         Comprovantes::gravacao(c, remessa, QStringLiteral("/media/pendrive/OC-OCC12024031201.zip"))},
        {"comprovante-resultado.pdf",
         Comprovantes::resultado(c, remessa, QStringLiteral("OC-R-OCC12024031201-OK.ZIP"),
                                 QStringLiteral("OK"),
                                 {QStringLiteral("Remessa 2024031201 processada sem erros.")})},
    };
    QTemporaryDir temporary;
    const QString kept = qEnvironmentVariable("TARVENDIX_SAMPLE_REPORTS");
    const QString dir = kept.isEmpty() ? temporary.path() : kept;
    ASSERT_TRUE(QDir().mkpath(dir));
    for (const auto& [name, document] : amostras) {
        const QString file = QDir(dir).filePath(QString::fromLatin1(name));
        QString error;
        ASSERT_TRUE(Report::writePdf(document, file, &error)) << name << error;
        const QStringList pages = pdfPages(file);
        ASSERT_FALSE(pages.isEmpty()) << name;
        EXPECT_TRUE(pages.first().contains(QStringLiteral("Usuário: joão"))) << name;
    }
}
