#include "BuscaResultado.h"
#include "Embaralha.h"
#include "FtpClient.h"
#include "ResultFixture.h"
#include "TestServers.h"

#include <QFileInfo>

namespace {

// The code the authority gives out: anything, then the batch number and the verdict, scrambled.
QString codigoDe(const QString& texto) {
    return QString::fromLatin1(EmbaralhaCodigo(Direcao::Codificar, texto.toLatin1()));
}

TEST(NomesDoResultado, AreBuiltFromTheBatchArchive) {
    EXPECT_EQ(ResultadoRemessa::nomeResultado("OC-ABC2024030501.zip", "OK"), "OC-R-ABC2024030501-OK.ZIP");
    EXPECT_EQ(ResultadoRemessa::nomeResultado("OT-ABCDEFGH2024030502.zip", "NO"),
              "OT-R-ABCDEFGH2024030502-NO.ZIP");
    EXPECT_EQ(ResultadoRemessa::nomeObservacoes("OC-R-ABC2024030501-OK.ZIP"), "OC-R-ABC2024030501-OK.txt");
    EXPECT_EQ(ResultadoRemessa::vereditoDe("OC-R-ABC2024030501-OK.ZIP"), "OK");
    EXPECT_EQ(ResultadoRemessa::vereditoDe("oc-r-abc2024030501-no.zip"), "NO");
    EXPECT_EQ(ResultadoRemessa::tipoDe("OT-ABC2024030501.zip"), "T");
}

// Found by fuzzing: "ß" left of ".ZIP" was upper-cased to "SS", a verdict of three characters.
TEST(NomesDoResultado, TheVerdictIsTheTwoCharactersLeftOfTheExtension) {
    const std::pair<QString, QString> casos[] = {
        {"OC-R-ABC2024030501-Ok.zip", "OK"},
        {QString::fromUtf8("OC-R-ABC2024030501-Oß.ZIP"), QString::fromUtf8("Oß")},
        {QString::fromUtf8("ß.ZIP"), QString::fromUtf8("ß")},
        {".ZIP", ""},
        {"OC-R-ABC2024030501-OK.txt", ""},
    };
    for (const auto& [nome, veredito] : casos)
        EXPECT_EQ(ResultadoRemessa::vereditoDe(nome), veredito) << nome.toStdString();
}

TEST(NomesDoResultado, TheListingIsMatchedWithoutRegardToCaseAndOkWins) {
    const QString remessa = "OC-Abc2024030501.zip";
    struct Caso {
        const char* nome;
        QStringList listados;
        QString esperado;
    };
    const QList<Caso> casos{
        {"both archives",
         {"OC-R-ABC2024030501-NO.ZIP", "OC-R-ABC2024030501-OK.ZIP"},
         "OC-R-ABC2024030501-OK.ZIP"},
        {"only NO", {"outro.zip", "OC-R-ABC2024030501-NO.ZIP"}, "OC-R-ABC2024030501-NO.ZIP"},
        {"case differs, name kept as listed", {"oc-r-abc2024030501-ok.zip"}, "oc-r-abc2024030501-ok.zip"},
        {"another batch", {"OC-R-ABC2024030502-OK.ZIP"}, ""},
        {"another type", {"OT-R-ABC2024030501-OK.ZIP"}, ""},
        {"a path is not a name", {"x/OC-R-ABC2024030501-OK.ZIP"}, ""},
        {"nothing yet", {}, ""},
    };
    for (const Caso& caso : casos)
        EXPECT_EQ(ResultadoRemessa::encontra(caso.listados, remessa), caso.esperado) << caso.nome;
}

TEST(NomesDoResultado, ObsIsCutAtOneHundredCharacters) {
    EXPECT_EQ(ResultadoRemessa::obsAutomatica({}), "");
    EXPECT_EQ(ResultadoRemessa::obsAutomatica({"a", "b"}), " a b");
    EXPECT_EQ(ResultadoRemessa::obsManual({}), "<Recebimento Manual> ");
    EXPECT_EQ(ResultadoRemessa::obsManual({"a"}), "<Recebimento Manual>  a");
    const QString longa(150, QLatin1Char('x'));
    EXPECT_EQ(ResultadoRemessa::obsAutomatica({longa}), " " + longa.left(99));
    EXPECT_EQ(ResultadoRemessa::obsManual({longa}).size(), 100);
}

class Resultado : public ResultFixture {};

TEST_F(Resultado, ManualCodesAreCheckedAgainstTheBatchList) {
    certificado("C-1", true);
    const QString arquivo = preparaEEntrega();
    const QString numero = state.NumeroRemessa;
    ResultadoRemessa resultado(session, state);

    struct Caso {
        const char* nome;
        QString codigo;
        QString arquivo;
        bool valido;
        QString veredito;
    };
    const QList<Caso> casos{
        {"accepted", codigoDe("XYZ" + numero + "OK"), arquivo, true, "OK"},
        {"rejected", codigoDe(numero + "NO"), arquivo, true, "NO"},
        {"longest code", codigoDe("12345678" + numero + "OK"), arquivo, true, "OK"},
        {"another batch", codigoDe("XYZ" + today() + "07OK"), arquivo, false, ""},
        {"the other type", codigoDe("XYZ" + numero + "OK"), "OT-OCC" + numero + ".zip", false, ""},
        {"bad verdict", codigoDe("XYZ" + numero + "OX"), arquivo, false, ""},
        {"lower-case verdict", codigoDe("XYZ" + numero + "ok"), arquivo, false, ""},
        {"empty", "", arquivo, false, ""},
        {"too long", codigoDe("12345678" + numero + "OK") + "A", arquivo, false, ""},
        {"decodes shorter than twelve", codigoDe(numero.left(9) + "OK"), arquivo, false, ""},
        {"one character", "K", arquivo, false, ""},
        {"not even Windows-1252", QString::fromUtf8("\u4e2d") + codigoDe(numero + "OK"), arquivo, false, ""},
    };
    for (const Caso& caso : casos) {
        const ResultadoRemessa::Codigo codigo = resultado.verificaCodigo(caso.codigo, caso.arquivo);
        EXPECT_EQ(codigo.valido, caso.valido) << caso.nome;
        EXPECT_EQ(codigo.veredito, caso.veredito) << caso.nome;
        if (caso.valido) {
            EXPECT_EQ(codigo.numero, numero) << caso.nome;
        }
    }
}

TEST_F(Resultado, AManualCodeForABatchNotDeliveredIsRefused) {
    certificado("C-1", true);
    const PreparationResult prepared = prepara();
    seleciona(prepared.numeroRemessa, "C");
    ResultadoRemessa resultado(session, state);
    EXPECT_FALSE(
        resultado.verificaCodigo(codigoDe("XYZ" + prepared.numeroRemessa + "OK"), prepared.arquivo).valido);
    // Once finished it is refused too.
    entrega(prepared.numeroRemessa, "C");
    ASSERT_TRUE(
        resultado.verificaCodigo(codigoDe("XYZ" + prepared.numeroRemessa + "NO"), prepared.arquivo).valido);
    ASSERT_TRUE(resultado.processaManual(prepared.arquivo, "NO", {}).ok);
    seleciona(prepared.numeroRemessa, "C");
    EXPECT_FALSE(
        resultado.verificaCodigo(codigoDe("XYZ" + prepared.numeroRemessa + "OK"), prepared.arquivo).valido);
}

TEST_F(Resultado, RemarksOfTheResultArchiveGoIntoTheLogAndTheEvent) {
    certificado("C-1", true);
    const QString arquivo = preparaEEntrega();
    const QString longa(120, QLatin1Char('y'));
    const QString baixado =
        resultado(sincr(), arquivo, "OK",
                  QByteArray("Remessa conferida.\r\nSem pend\xeancias.\r\n") + longa.toLatin1());

    ResultadoRemessa operacao(session, state);
    const ResultadoRemessa::Desfecho desfecho = operacao.processaAutomatico(arquivo, baixado);
    ASSERT_TRUE(desfecho.ok) << desfecho.log.join("\n");
    EXPECT_EQ(desfecho.log,
              (QStringList{"Resultado recebido com sucesso: remesa foi considerada válida e a base de "
                           "dados foi atualizada.",
                           "Remessa conferida.", "Sem pendências.", longa}));
    EXPECT_EQ(obsDoEvento("OK"), (" Remessa conferida. Sem pendências. " + longa).left(100));
    // The result archive and the batch archive are gone; nothing is left in the directory.
    EXPECT_FALSE(QFileInfo::exists(baixado));
    EXPECT_FALSE(QFileInfo::exists(archivePath(arquivo)));
    EXPECT_TRUE(QDir(sincr()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty());
    expectReplicasEqualLive();
}

TEST_F(Resultado, WithoutRemarksTheAutomaticObsIsEmptyAndARejectionKeepsTheArchive) {
    certificado("C-1", true);
    const QString arquivo = preparaEEntrega();
    const QString baixado = resultado(sincr(), arquivo, "NO", {}, false);

    ResultadoRemessa operacao(session, state);
    const ResultadoRemessa::Desfecho desfecho = operacao.processaAutomatico(arquivo, baixado);
    ASSERT_TRUE(desfecho.ok);
    EXPECT_EQ(desfecho.log,
              QStringList{"Resultado recebido com sucesso: remessa foi invalidada pelo Kavorel e "
                          "exigirá nova remessa."});
    EXPECT_EQ(eventos("NO"), 1);
    EXPECT_TRUE(obsDoEvento("NO").isEmpty());
    EXPECT_EQ(linhasReplicas(), 0);
    EXPECT_TRUE(QFileInfo::exists(archivePath(arquivo)));
}

// The authority's server: the result directory on a real FTP server.
class ResultadoFtp : public ResultFixture {
protected:
    FtpTestServer server;

    void SetUp() override {
        ResultFixture::SetUp();
        ASSERT_TRUE(server.started()) << server.error().toStdString();
        ASSERT_TRUE(QDir().mkpath(server.pathOf("resultado")));
    }
    FtpEndpoint endpoint(const QString& senha = FtpTestServer::password()) const {
        return {"127.0.0.1", server.port(), FtpTestServer::user(), senha};
    }
    BuscaResultado::Resultado busca(const QString& arquivo, QStringList& log,
                                    const QString& senha = FtpTestServer::password()) {
        BuscaResultado buscador("maria", sincr());
        buscador.setAvisos({[&log](const QString& linha) { log << linha; }, {}, {}, {}});
        return buscador.busca(endpoint(senha), "resultado", arquivo);
    }
};

TEST_F(ResultadoFtp, BothArchivesOnTheServerTheOkOneIsUsed) {
    certificado("C-1", true);
    const QString arquivo = preparaEEntrega();
    resultado(server.pathOf("resultado"), arquivo, "NO", "recusada");
    resultado(server.pathOf("resultado"), arquivo, "OK", "aceita");

    QStringList log;
    const BuscaResultado::Resultado obtido = busca(arquivo, log);
    ASSERT_EQ(obtido.desfecho, BuscaResultado::Desfecho::Obtido) << log.join("\n");
    EXPECT_EQ(obtido.arquivo, ResultadoRemessa::nomeResultado(arquivo, "OK"));
    EXPECT_EQ(obtido.caminho, sincr() + obtido.arquivo);
    ASSERT_EQ(log.size(), 6) << log.join("\n");
    EXPECT_EQ(log[0], "Usuário Responsável : maria");
    EXPECT_TRUE(log[1].startsWith("Hora inicio: "));
    const qint64 size = QFileInfo(obtido.caminho).size();
    EXPECT_EQ(log[2], QString("Tamanho do arquivo : %1 bytes").arg(size));
    EXPECT_TRUE(log[3].startsWith("Hora fim: "));
    EXPECT_EQ(log[4], QString("Bytes transferidos: %1").arg(size));
    EXPECT_TRUE(log[5].startsWith("Taxa de transferência: ") && log[5].endsWith(" bytes/seg"));

    ResultadoRemessa operacao(session, state);
    ASSERT_TRUE(operacao.processaAutomatico(arquivo, obtido.caminho).ok);
    EXPECT_EQ(eventos("OK"), 1);
    EXPECT_EQ(obsDoEvento("OK"), " aceita");
}

TEST_F(ResultadoFtp, ANameDifferingOnlyInCaseIsDownloadedAsListed) {
    certificado("C-1", true);
    const QString arquivo = preparaEEntrega();
    const QString original = resultado(server.pathOf("resultado"), arquivo, "NO", "x");
    const QString listado = QFileInfo(original).fileName().toLower();
    ASSERT_TRUE(QFile::rename(original, server.pathOf("resultado/" + listado)));

    QStringList log;
    const BuscaResultado::Resultado obtido = busca(arquivo, log);
    ASSERT_EQ(obtido.desfecho, BuscaResultado::Desfecho::Obtido) << log.join("\n");
    EXPECT_EQ(obtido.arquivo, listado);
    EXPECT_TRUE(QFileInfo::exists(sincr() + listado));

    ResultadoRemessa operacao(session, state);
    ASSERT_TRUE(operacao.processaAutomatico(arquivo, obtido.caminho).ok);
    EXPECT_EQ(eventos("NO"), 1);
    EXPECT_EQ(obsDoEvento("NO"), " x");
    EXPECT_EQ(linhasReplicas(), 0);
    EXPECT_TRUE(QFileInfo::exists(archivePath(arquivo)));
}

TEST_F(ResultadoFtp, NoResultYetRecordsNothing) {
    certificado("C-1", true);
    const QString arquivo = preparaEEntrega();
    resultado(server.pathOf("resultado"), "OC-OCC1999010101.zip", "OK");

    QStringList log;
    const BuscaResultado::Resultado obtido = busca(arquivo, log);
    EXPECT_EQ(obtido.desfecho, BuscaResultado::Desfecho::NaoEncontrado);
    EXPECT_EQ(log,
              QStringList{"Resultado não recebido: não há ainda resultado disponível no Kavorel para esta "
                          "remessa."});
    EXPECT_TRUE(QDir(sincr()).isEmpty());
    EXPECT_EQ(eventos("OK") + eventos("NO"), 0);
}

TEST_F(ResultadoFtp, AFailedConnectionIsLoggedWithItsReason) {
    certificado("C-1", true);
    const QString arquivo = preparaEEntrega();
    QStringList log;
    const BuscaResultado::Resultado obtido = busca(arquivo, log, "errada");
    EXPECT_EQ(obtido.desfecho, BuscaResultado::Desfecho::Falhou);
    ASSERT_EQ(log.size(), 2);
    EXPECT_EQ(log[0], "Transferência de resultado não realizada: " + obtido.motivo + ".");
    EXPECT_EQ(log[1], obtido.motivo);
    EXPECT_FALSE(obtido.motivo.isEmpty());
}

TEST_F(ResultadoFtp, AnInterruptedSearchRecordsNothing) {
    certificado("C-1", true);
    const QString arquivo = preparaEEntrega();
    resultado(server.pathOf("resultado"), arquivo, "OK");
    BuscaResultado buscador("maria", sincr());
    buscador.interrompe();
    EXPECT_EQ(buscador.busca(endpoint(), "resultado", arquivo).desfecho,
              BuscaResultado::Desfecho::Interrompido);
    EXPECT_TRUE(QDir(sincr()).isEmpty());
}

TEST_F(ResultadoFtp, AnInterruptedDownloadLeavesNothingBehind) {
    certificado("C-1", true);
    const QString arquivo = preparaEEntrega();
    // A result large enough to be interrupted while it arrives.
    QFile grande(server.pathOf("resultado/" + ResultadoRemessa::nomeResultado(arquivo, "OK")));
    ASSERT_TRUE(grande.open(QIODevice::WriteOnly));
    const QByteArray bloco(1 << 20, 'x');
    for (int i = 0; i < 64; ++i)
        grande.write(bloco);
    grande.close();

    BuscaResultado buscador("maria", sincr());
    QStringList log;
    bool encontrado = false;
    buscador.setAvisos({[&log](const QString& linha) { log << linha; },
                        [&encontrado](const QString&) { encontrado = true; },
                        [&buscador](qint64 feito, qint64) {
                            if (feito > 0)
                                buscador.interrompe();
                        },
                        [] { ADD_FAILURE() << "an interrupted download was reported as transferred"; }});
    EXPECT_EQ(buscador.busca(endpoint(), "resultado", arquivo).desfecho,
              BuscaResultado::Desfecho::Interrompido);
    EXPECT_TRUE(encontrado);
    EXPECT_FALSE(log.join('\n').contains("Bytes transferidos")) << log.join('\n').toStdString();
    EXPECT_TRUE(QDir(sincr()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    EXPECT_EQ(eventos("OK") + eventos("NO"), 0);
}

} // namespace
