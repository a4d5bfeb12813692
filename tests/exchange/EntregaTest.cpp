#include "CurlSession.h"
#include "EntregaFixture.h"
#include "EnvioTXT.h"
#include "GravaDisquete.h"
#include "TransferenciaRemota.h"

#include <QTemporaryDir>
#include <csignal>
#include <sys/resource.h>

namespace {

const QString Remark = QStringLiteral("<Transferência Manual: Gravação de Disquete>");

class Entrega : public EntregaFixture {
protected:
    TransferenciaRemota::Desfecho deliver(ModoEntrega modo, const QString& name = {}) {
        TransferenciaRemota transfer(session, state, modo, state.DirLocalTransf,
                                     name.isEmpty() ? archiveName() : name);
        const auto outcome = transfer.executa();
        log = transfer.log();
        return outcome;
    }

    GravaDisquete::Desfecho copy(const QString& destination, const QString& name = {},
                                 std::optional<GravaDisquete::Espaco> space = {}) {
        GravaDisquete copy(session, state, state.DirLocalTransf, name.isEmpty() ? archiveName() : name,
                           destination);
        if (space)
            copy.setConsultaEspaco([space](const QString&) { return *space; });
        const auto outcome = copy.executa();
        result = copy.resultado();
        return outcome;
    }

    QStringList log;
    QString result;
};

QStringList successLog(qint64 size, qint64 sent) {
    return {"Usuário Responsável : maria",
            QStringLiteral("Tamanho do arquivo : %1 bytes").arg(size),
            "Hora inicio: 10:00:00",
            QStringLiteral("Tamanho do arquivo : %1 bytes").arg(size),
            "Hora fim: 10:00:00",
            QStringLiteral("Bytes transferidos: %1").arg(sent),
            "Taxa de transferência: 0 bytes/seg",
            "Transferência realizada com sucesso."};
}

TEST_F(Entrega, FtpUploadsIntoTheDirectoryOfTheAddressAtItsWrittenPortAndRecordsTR) {
    useFtp();
    const QByteArray bytes = archive(70000);

    EXPECT_EQ(deliver(ModoEntrega::Ftp), TransferenciaRemota::Desfecho::Sucesso);

    EXPECT_EQ(read(ftp->pathOf("remessas/oc/" + archiveName())), bytes);
    EXPECT_EQ(log, successLog(70000, 70000));
    EXPECT_EQ(events(), (QStringList{"PR|C|ana|", "TR|C|maria|"}));
    EXPECT_TRUE(prompts.shown().isEmpty()) << prompts.texts().join('\n').toStdString();
    EXPECT_TRUE(QFile::exists(transf() + archiveName())); // the archive stays

    BatchControl control(session, state);
    const QList<BatchListRow> rows = control.atualizaListaRemessas();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].Status, "Aguardando Resultado");
    EXPECT_EQ(control.botoes(rows[0]), (BatchButtons{false, false, true, false}));
}

struct AddressCase {
    const char* address;
    int port;
    const char* directory;
};

class FtpAddress : public ::testing::TestWithParam<AddressCase> {};

TEST_P(FtpAddress, TheWrittenPortIsUsedAndAnAddressWithoutOneUses21) {
    const auto target = TransferenciaRemota::destinoFtp(GetParam().address, "u", "p");
    EXPECT_EQ(target.endpoint.port, GetParam().port);
    EXPECT_EQ(target.diretorio, GetParam().directory);
    EXPECT_EQ(target.endpoint.host, "servidor");
    EXPECT_EQ(target.endpoint.user, "u");
    EXPECT_EQ(target.endpoint.password, "p");
}

INSTANTIATE_TEST_SUITE_P(Cases, FtpAddress,
                         ::testing::Values(AddressCase{"servidor:2121/remessas/oc", 2121, "/remessas/oc"},
                                           AddressCase{"servidor/remessas", 21, "remessas"},
                                           AddressCase{"servidor", 21, "/"},
                                           AddressCase{"servidor:abc/x", 21, "/x"}),
                         [](const auto& info) { return "Address" + std::to_string(info.index); });

TEST_F(Entrega, AMissingArchiveIsWarnedAboutAndNothingIsRecorded) {
    useFtp();
    useSmtp();
    for (ModoEntrega modo : {ModoEntrega::Ftp, ModoEntrega::Email}) {
        prompts.clear();
        EXPECT_EQ(deliver(modo), TransferenciaRemota::Desfecho::NaoIniciada);
        ASSERT_EQ(prompts.shown().size(), 1);
        EXPECT_EQ(prompts.shown()[0].kind, PromptKind::Warning);
        EXPECT_EQ(prompts.lastText(), "O arquivo não foi encontrado no diretório indicado. Favor verificar.");
        EXPECT_TRUE(log.isEmpty());
    }
    EXPECT_EQ(events(), QStringList{"PR|C|ana|"});
    EXPECT_TRUE(smtp->messages(1, 300).isEmpty());
}

TEST_F(Entrega, ARefusedLoginShowsTheConnectionErrorAndRecordsNothing) {
    useFtp("errada");
    archive();

    EXPECT_EQ(deliver(ModoEntrega::Ftp), TransferenciaRemota::Desfecho::FalhaConexao);

    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_EQ(prompts.shown()[0].kind, PromptKind::Error);
    EXPECT_TRUE(prompts.lastText().startsWith(
        "Erro ao tentar conectar. Verifique as configurações do Sistema\nErro:"))
        << prompts.lastText().toStdString();
    EXPECT_GT(prompts.lastText().size(),
              QString("Erro ao tentar conectar. Verifique as configurações do Sistema\nErro:").size());
    ASSERT_EQ(log.size(), 4);
    EXPECT_EQ(log.last(), "Houve erro durante a transferência.");
    EXPECT_EQ(events(), QStringList{"PR|C|ana|"});
    EXPECT_FALSE(QFile::exists(ftp->pathOf("remessas/oc/" + archiveName())));
}

TEST_F(Entrega, ARefusedDirectoryGivesItsReasonAndRecordsNothing) {
    useFtp();
    config(QStringLiteral("EndKavorelEnvio = '127.0.0.1:%1/nao/existe'").arg(ftp->port()));
    archive(1000);

    EXPECT_EQ(deliver(ModoEntrega::Ftp), TransferenciaRemota::Desfecho::Falha);

    EXPECT_EQ(log.mid(3), (QStringList{"Tamanho do arquivo : 1000 bytes",
                                       "Transferência não realizada: Erro na troca de diretório..",
                                       "Erro na troca de diretório."}));
    EXPECT_TRUE(prompts.shown().isEmpty());
    EXPECT_EQ(events(), QStringList{"PR|C|ana|"});
}

TEST_F(Entrega, AnInterruptionBeforeTheConnectionSendsNothing) {
    useFtp();
    archive();
    TransferenciaRemota transfer(session, state, ModoEntrega::Ftp, state.DirLocalTransf, archiveName());
    ASSERT_TRUE(transfer.inicia());
    transfer.interrompe();
    transfer.transfere();
    EXPECT_EQ(transfer.conclui(), TransferenciaRemota::Desfecho::Interrompida);
    EXPECT_EQ(transfer.log().last(), "Transferência interrompida.");
    EXPECT_EQ(transfer.log().size(), 4);
    EXPECT_EQ(events(), QStringList{"PR|C|ana|"});
    EXPECT_TRUE(QDir(ftp->pathOf("remessas/oc")).isEmpty());
}

// The interruption comes once the server holds the archive under its name: the delivery took place
// and is recorded, so the batch cannot be cancelled while the authority has it.
TEST_F(Entrega, AnInterruptionAfterTheServerHasTheArchiveStillRecordsTR) {
    useFtp();
    const QByteArray bytes = archive(50000);
    TransferenciaRemota transfer(session, state, ModoEntrega::Ftp, state.DirLocalTransf, archiveName());
    bool interruptedLate = false;
    transfer.setAvisos({{},
                        [&](qint64, qint64) {
                            if (QFile::exists(ftp->pathOf("remessas/oc/" + archiveName()))) {
                                transfer.interrompe();
                                interruptedLate = true;
                            }
                        },
                        {}});
    EXPECT_EQ(transfer.executa(), TransferenciaRemota::Desfecho::Sucesso);
    EXPECT_TRUE(interruptedLate);
    EXPECT_EQ(transfer.log().last(), "Transferência realizada com sucesso.");
    EXPECT_EQ(read(ftp->pathOf("remessas/oc/" + archiveName())), bytes);
    EXPECT_EQ(events(), (QStringList{"PR|C|ana|", "TR|C|maria|"}));
}

// "/remessas/oc" is the directory of that name under the server's root, whatever directory the
// account starts in; without the leading separator it is taken from the login directory.
TEST_F(Entrega, AnAbsoluteDirectoryIsTakenFromTheServersRoot) {
    ftp = std::make_unique<FtpTestServer>(FtpTestServer::Options{"/contas/occ", {}, {}});
    ASSERT_TRUE(ftp->started()) << ftp->error().toStdString();
    ASSERT_TRUE(QDir().mkpath(ftp->pathOf("remessas/oc")));
    ASSERT_TRUE(QDir().mkpath(ftp->pathOf("contas/occ/remessas/oc")));
    const QByteArray bytes = archive(1000);
    for (const char* address : {"127.0.0.1:%1/remessas/oc", "127.0.0.1:%1\\remessas\\oc"}) {
        config(QStringLiteral("EndKavorelEnvio = '%1', LoginFTP = '%2', SenhaFTP = '%3'")
                   .arg(QString::fromLatin1(address).arg(ftp->port()), FtpTestServer::user(),
                        FtpTestServer::password()));
        EXPECT_EQ(deliver(ModoEntrega::Ftp), TransferenciaRemota::Desfecho::Sucesso) << address;
        EXPECT_EQ(read(ftp->pathOf("remessas/oc/" + archiveName())), bytes) << address;
        EXPECT_FALSE(QFile::exists(ftp->pathOf("contas/occ/remessas/oc/" + archiveName()))) << address;
        QFile::remove(ftp->pathOf("remessas/oc/" + archiveName()));
    }
    // Without a port the address's directory has no leading separator: from the login directory.
    config(QStringLiteral("EndKavorelEnvio = '127.0.0.1/remessas/oc'"));
    EXPECT_EQ(TransferenciaRemota::destinoFtp(state.EndKavorelEnvio, {}, {}).diretorio, "remessas/oc");
}

// An account that may store but not rename: the archive arrives under its own name, the log says
// how, and the delivery is recorded.
TEST_F(Entrega, ADropBoxAccountGetsTheArchiveUnderItsNameAndTheLogSaysHow) {
    ftp = std::make_unique<FtpTestServer>(
        FtpTestServer::Options{{}, {{"caixa", "postal", "elradmwMT", {}}}, {}});
    ASSERT_TRUE(ftp->started()) << ftp->error().toStdString();
    ASSERT_TRUE(QDir().mkpath(ftp->pathOf("remessas/oc")));
    config(QStringLiteral(
               "EndKavorelEnvio = '127.0.0.1:%1/remessas/oc', LoginFTP = 'caixa', SenhaFTP = 'postal'")
               .arg(ftp->port()));
    const QByteArray bytes = archive(30000);

    EXPECT_EQ(deliver(ModoEntrega::Ftp), TransferenciaRemota::Desfecho::Sucesso);

    EXPECT_EQ(read(ftp->pathOf("remessas/oc/" + archiveName())), bytes);
    EXPECT_EQ(QDir(ftp->pathOf("remessas/oc")).entryList(QDir::Files), QStringList{archiveName()});
    QStringList expected = successLog(30000, 30000);
    expected.insert(
        4, FtpClient::renameRefusedNote(FtpClient::temporaryName(archiveName()), archiveName(), true));
    EXPECT_EQ(log, expected);
    EXPECT_EQ(events(), (QStringList{"PR|C|ana|", "TR|C|maria|"}));
}

// A server that takes the connection and then moves nothing: with the stall timeout of the
// settings file at one second the delivery ends with the stall message and records nothing.
TEST_F(Entrega, AStalledDeliveryEndsWithItsMessageAndRecordsNothing) {
    write(home.path() + "tarvendix.conf", "[rede]\nTempoSemDados=1\n");
    ftp = std::make_unique<FtpTestServer>(FtpTestServer::Options{{}, {}, {"STOR"}});
    ASSERT_TRUE(ftp->started()) << ftp->error().toStdString();
    ASSERT_TRUE(QDir().mkpath(ftp->pathOf("remessas/oc")));
    config(QStringLiteral("EndKavorelEnvio = '127.0.0.1:%1/remessas/oc', LoginFTP = '%2', SenhaFTP = '%3'")
               .arg(ftp->port())
               .arg(FtpTestServer::user(), FtpTestServer::password()));
    smtp = std::make_unique<SmtpTestServer>(false, true);
    ASSERT_TRUE(smtp->started()) << smtp->error().toStdString();
    config(QStringLiteral("EndSMTPHost = '127.0.0.1', EndSMTPPort = '%1', EndSMTPUsuario = 'occ.local', "
                          "EndSMTPEMailReply = 'remessas@kavorel.example'")
               .arg(smtp->port()));
    archive(5000);
    const QString message = CurlSession::stalledText(1);

    for (ModoEntrega modo : {ModoEntrega::Ftp, ModoEntrega::Email}) {
        EXPECT_EQ(deliver(modo), TransferenciaRemota::Desfecho::Falha);
        EXPECT_EQ(log.mid(3), (QStringList{"Tamanho do arquivo : 5000 bytes",
                                           "Transferência não realizada: " + message + ".", message}));
    }
    EXPECT_TRUE(ftp->stalling("STOR"));
    EXPECT_FALSE(QFile::exists(ftp->pathOf("remessas/oc/" + archiveName())));
    EXPECT_TRUE(prompts.shown().isEmpty());
    EXPECT_EQ(events(), QStringList{"PR|C|ana|"});
}

TEST_F(Entrega, EmailSendsOneMessageWithTheArchiveAttached) {
    useSmtp();
    const QByteArray bytes = archive(30000);

    EXPECT_EQ(deliver(ModoEntrega::Email), TransferenciaRemota::Desfecho::Sucesso);

    const QList<QByteArray> messages = smtp->messages(1);
    ASSERT_EQ(messages.size(), 1);
    QByteArray top;
    const QList<MailPart> parts = mailParts(messages[0], top);
    EXPECT_EQ(headerOf(top, "From"), "OCC - Organismo <remessas@kavorel.example>");
    EXPECT_EQ(headerOf(top, "To"), "<remessas@kavorel.example>");
    EXPECT_EQ(headerOf(top, "X-MailFrom"), "remessas@kavorel.example");
    EXPECT_EQ(headerOf(top, "Subject"), "Envio de remessa anexado ao E-MAIL");
    EXPECT_TRUE(headerOf(top, "Content-Type").startsWith("multipart/mixed"));
    EXPECT_FALSE(headerOf(top, "Date").isEmpty());
    ASSERT_EQ(parts.size(), 2);
    EXPECT_EQ(headerOf(parts[0].headers, "Content-Type"), "text/plain; charset=\"us-ascii\"");
    EXPECT_EQ(parts[0].body.trimmed(), "Segue em anexo o arquivo de remessa");
    EXPECT_EQ(headerOf(parts[1].headers, "Content-Type"),
              QString("application/octet-stream; name=\"%1\"").arg(archiveName()));
    EXPECT_EQ(headerOf(parts[1].headers, "Content-Transfer-Encoding"), "base64");
    EXPECT_EQ(QByteArray::fromBase64(parts[1].body), bytes);

    EXPECT_EQ(log.mid(0, 5), successLog(30000, 0).mid(0, 5));
    EXPECT_EQ(log.last(), "Transferência realizada com sucesso.");
    EXPECT_EQ(events(), (QStringList{"PR|C|ana|", "TR|C|maria|"}));
}

TEST_F(Entrega, EmailWithoutAPortIsRefusedBeforeConnecting) {
    useSmtp();
    archive(100);
    config("EndSMTPPort = ''");
    EXPECT_EQ(deliver(ModoEntrega::Email), TransferenciaRemota::Desfecho::NaoIniciada);
    EXPECT_EQ(prompts.lastText(), TransferenciaRemota::semPortaSmtp());
    EXPECT_TRUE(log.isEmpty());

    config("EndSMTPPort = 'vinte'");
    EXPECT_EQ(deliver(ModoEntrega::Email), TransferenciaRemota::Desfecho::NaoIniciada);
    EXPECT_EQ(prompts.lastText(), TransferenciaRemota::portaSmtpInvalida("vinte"));

    config(QStringLiteral("EndSMTPPort = '%1', EndSMTPEMailReply = ''").arg(smtp->port()));
    EXPECT_EQ(deliver(ModoEntrega::Email), TransferenciaRemota::Desfecho::NaoIniciada);
    EXPECT_EQ(prompts.lastText(), TransferenciaRemota::semEnderecoEmail());
    EXPECT_EQ(events(), QStringList{"PR|C|ana|"});
    EXPECT_TRUE(smtp->messages(1, 300).isEmpty());
}

TEST_F(Entrega, EmailToAServerThatIsDownGivesTheConnectionReason) {
    useSmtp();
    archive(100);
    config(QStringLiteral("EndSMTPPort = '%1'").arg(freeLocalPort()));
    EXPECT_EQ(deliver(ModoEntrega::Email), TransferenciaRemota::Desfecho::Falha);
    EXPECT_EQ(log.mid(3), (QStringList{"Tamanho do arquivo : 100 bytes",
                                       "Transferência não realizada: Erro na conecção com Servidor E-MAIL.",
                                       "Erro na conecção com Servidor E-MAIL"}));
    EXPECT_EQ(events(), QStringList{"PR|C|ana|"});
}

TEST_F(Entrega, EmailIsNeverSentInTheClearToAServerThatRequiresTls) {
    // The server offers STARTTLS and refuses mail without it; its certificate is not one the
    // client trusts, so the secure connection cannot be made and nothing may go.
    smtp = std::make_unique<SmtpTestServer>(true);
    ASSERT_TRUE(smtp->started()) << smtp->error().toStdString();
    config(QStringLiteral("EndSMTPHost = '127.0.0.1', EndSMTPPort = '%1', EndSMTPUsuario = 'occ.local', "
                          "EndSMTPEMailReply = 'remessas@kavorel.example'")
               .arg(smtp->port()));
    archive(100);
    EXPECT_EQ(deliver(ModoEntrega::Email), TransferenciaRemota::Desfecho::Falha);
    EXPECT_EQ(log.mid(3), (QStringList{"Tamanho do arquivo : 100 bytes",
                                       "Transferência não realizada: Falha na transmissão do E_MAIL.",
                                       "Falha na transmissão do E_MAIL"}));
    EXPECT_TRUE(smtp->messages(1, 300).isEmpty());
    EXPECT_EQ(events(), QStringList{"PR|C|ana|"});
}

TEST_F(Entrega, MediaCopyWritesTheArchiveAndRecordsTRWithItsRemark) {
    const QByteArray bytes = archive(20000);
    QTemporaryDir media;
    EXPECT_EQ(copy(media.path()), GravaDisquete::Desfecho::Sucesso);
    EXPECT_EQ(result, "Gravação de arquivo realizada com sucesso.");
    EXPECT_EQ(read(media.filePath(archiveName())), bytes);
    EXPECT_EQ(QDir(media.path()).entryList(QDir::Files), QStringList{archiveName()});
    EXPECT_EQ(events(), (QStringList{"PR|C|ana|", "TR|C|maria|" + Remark}));
}

TEST_F(Entrega, AnInterruptedMediaCopyLeavesNothingAndRecordsNothing) {
    archive(200000);
    QTemporaryDir media;
    GravaDisquete gravacao(session, state, state.DirLocalTransf, archiveName(), media.path());
    ASSERT_TRUE(gravacao.inicia());
    gravacao.interrompe();
    gravacao.grava();
    EXPECT_EQ(gravacao.conclui(), GravaDisquete::Desfecho::Interrompida);
    EXPECT_EQ(gravacao.resultado(), "Gravação de arquivo interrompida.");
    EXPECT_TRUE(QDir(media.path()).isEmpty());
    EXPECT_EQ(events(), QStringList{"PR|C|ana|"});
}

// A medium that takes only the first 64 KiB of a file: the kernel refuses every write beyond it
// (the process's file-size limit, with its signal ignored), as a full medium would.
TEST_F(Entrega, AMediaCopyWhoseWritesFailLeavesNothingAndRecordsNothing) {
    archive(300000);
    QTemporaryDir media;
    GravaDisquete gravacao(session, state, state.DirLocalTransf, archiveName(), media.path());
    ASSERT_TRUE(gravacao.inicia());
    rlimit previous{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = previous;
    small.rlim_cur = 64 * 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    gravacao.grava();
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(gravacao.conclui(), GravaDisquete::Desfecho::Falha);
    EXPECT_EQ(gravacao.resultado(), "Gravação de arquivo não realizada: Erro ao gravar arquivo.");
    EXPECT_TRUE(QDir(media.path()).isEmpty()) << QDir(media.path()).entryList().join(' ').toStdString();
    EXPECT_EQ(events(), QStringList{"PR|C|ana|"});
}

TEST_F(Entrega, ADeliveredBatchWhoseEventCannotBeRecordedSaysSo) {
    useFtp();
    archive(1000);
    state.Usuario = QString(31, 'u'); // longer than CONTROLE.Usuario takes
    EXPECT_EQ(deliver(ModoEntrega::Ftp), TransferenciaRemota::Desfecho::NaoRegistrada);
    EXPECT_TRUE(QFile::exists(ftp->pathOf("remessas/oc/" + archiveName())));
    EXPECT_EQ(prompts.shown().last().kind, PromptKind::Error);
    EXPECT_TRUE(
        prompts.lastText().startsWith("O arquivo foi transferido, mas o envio não pôde ser registrado"));
    EXPECT_EQ(log.last(), prompts.lastText());
    EXPECT_EQ(events(), QStringList{"PR|C|ana|"});
}

TEST_F(Entrega, AnInterruptedEmailSendsNothing) {
    useSmtp();
    archive(1000);
    TransferenciaRemota transfer(session, state, ModoEntrega::Email, state.DirLocalTransf, archiveName());
    ASSERT_TRUE(transfer.inicia());
    transfer.interrompe();
    transfer.transfere();
    EXPECT_EQ(transfer.conclui(), TransferenciaRemota::Desfecho::Interrompida);
    EXPECT_EQ(transfer.log().last(), "Transferência interrompida.");
    EXPECT_TRUE(smtp->messages(1, 300).isEmpty());
    EXPECT_EQ(events(), QStringList{"PR|C|ana|"});
}

TEST_F(Entrega, MediaCopyOfAMissingArchiveSaysSo) {
    QTemporaryDir media;
    EXPECT_EQ(copy(media.path()), GravaDisquete::Desfecho::NaoIniciada);
    EXPECT_EQ(prompts.lastText(), "Arquivo não encontrado.");
    EXPECT_EQ(prompts.shown().last().kind, PromptKind::Error);
    EXPECT_EQ(events(), QStringList{"PR|C|ana|"});
}

TEST_F(Entrega, MediaCopyWithoutADestinationDoesNothing) {
    archive();
    EXPECT_EQ(copy(QString()), GravaDisquete::Desfecho::NaoIniciada);
    EXPECT_TRUE(prompts.shown().isEmpty());
    EXPECT_EQ(events(), QStringList{"PR|C|ana|"});
}

TEST_F(Entrega, MediaCopyOntoTheTransferDirectoryItselfIsRefusedAndTheArchiveIsKept) {
    const QByteArray bytes = archive(5000);
    EXPECT_EQ(copy(transf()), GravaDisquete::Desfecho::NaoIniciada);
    EXPECT_EQ(prompts.lastText(), GravaDisquete::mesmoDiretorio());
    EXPECT_EQ(read(transf() + archiveName()), bytes);
    // The same directory reached by another path is the same directory.
    ASSERT_TRUE(QFile::link(transf(), home.path() + "atalho"));
    EXPECT_EQ(copy(home.path() + "atalho"), GravaDisquete::Desfecho::NaoIniciada);
    EXPECT_EQ(read(transf() + archiveName()), bytes);
    EXPECT_EQ(events(), QStringList{"PR|C|ana|"});
}

TEST_F(Entrega, MediaCopyIntoAMissingDirectoryFailsAndRecordsNothing) {
    archive();
    EXPECT_EQ(copy(home.path() + "nao-existe"), GravaDisquete::Desfecho::Falha);
    EXPECT_EQ(result, "Gravação de arquivo não realizada: Erro ao criar arquivo.");
    EXPECT_EQ(events(), QStringList{"PR|C|ana|"});
}

TEST_F(Entrega, MediaCopyLargerThanTheFreeSpaceIsRefusedBeforeWriting) {
    archive(20000);
    QTemporaryDir media;
    EXPECT_EQ(copy(media.path(), {}, GravaDisquete::Espaco{qint64(1) << 34, 19999}),
              GravaDisquete::Desfecho::NaoIniciada);
    EXPECT_EQ(prompts.lastText(), GravaDisquete::semEspaco(20000, 19999));
    EXPECT_TRUE(QDir(media.path()).isEmpty());
    EXPECT_EQ(events(), QStringList{"PR|C|ana|"});
}

struct FloppyCase {
    qint64 bytes;
    qint64 kilobytes;
    bool fits;
};

class FloppyRule : public ::testing::TestWithParam<FloppyCase> {};

TEST_P(FloppyRule, KilobytesRoundHalvesToEven) {
    EXPECT_EQ(GravaDisquete::kilobytes(GetParam().bytes), GetParam().kilobytes);
    EXPECT_EQ(GravaDisquete::cabeNoDisquete(GetParam().bytes), GetParam().fits);
}

INSTANTIATE_TEST_SUITE_P(Cases, FloppyRule,
                         ::testing::Values(FloppyCase{1062912, 1038, true}, FloppyCase{1063424, 1038, true},
                                           FloppyCase{1063936, 1039, false}, FloppyCase{1064448, 1040, false},
                                           FloppyCase{1063425, 1039, false}, FloppyCase{0, 0, true}),
                         [](const auto& info) { return "Bytes" + std::to_string(info.param.bytes); });

TEST(FloppyMedium, OnlyAFileSystemOfAtMost144MBIsAFloppy) {
    EXPECT_TRUE(GravaDisquete::ehDisquete({1457664, 1457664})); // a formatted 1.44 MB disk
    EXPECT_TRUE(GravaDisquete::ehDisquete({1474560, 0}));
    EXPECT_FALSE(GravaDisquete::ehDisquete({1474561, 1474561}));
    EXPECT_FALSE(GravaDisquete::ehDisquete({-1, -1})); // unknown
}

class FloppyCopy : public Entrega, public ::testing::WithParamInterface<FloppyCase> {};

TEST_P(FloppyCopy, TheFloppySizeRuleAppliesOnAFloppyOnly) {
    const QByteArray bytes = archive(GetParam().bytes);
    QTemporaryDir floppy;
    const auto outcome = copy(floppy.path(), {}, GravaDisquete::Espaco{1457664, 1457664});
    if (GetParam().fits) {
        EXPECT_EQ(outcome, GravaDisquete::Desfecho::Sucesso);
        EXPECT_EQ(read(floppy.filePath(archiveName())), bytes);
    } else {
        EXPECT_EQ(outcome, GravaDisquete::Desfecho::NaoIniciada);
        EXPECT_EQ(prompts.lastText(), "Tamanho do arquivo maior que a capacidade do disquete");
        EXPECT_TRUE(QDir(floppy.path()).isEmpty());
        // Anywhere else there is no such limit.
        QTemporaryDir disk;
        EXPECT_EQ(copy(disk.path(), {}, GravaDisquete::Espaco{qint64(1) << 34, qint64(1) << 33}),
                  GravaDisquete::Desfecho::Sucesso);
        EXPECT_EQ(read(QDir(disk.path()).filePath(archiveName())), bytes);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, FloppyCopy,
                         ::testing::Values(FloppyCase{1062912, 1038, true}, FloppyCase{1063424, 1038, true},
                                           FloppyCase{1063936, 1039, false}),
                         [](const auto& info) { return "Bytes" + std::to_string(info.param.bytes); });

// The text files.

class EntregaTxt : public Entrega {
protected:
    const QString txt = QStringLiteral("TX-OCC0000000001.txt");
    const QString zip = QStringLiteral("TX-OCC0000000001.zip");
    QByteArray content = "[CERTIFIC]\r\nlinha\r\n";

    void SetUp() override {
        Entrega::SetUp();
        write(transf() + txt, content);
    }
};

TEST_F(EntregaTxt, IsSentAsTheZipOfItsBaseNameAndRegisteredByItsTxtName) {
    useFtp();
    EXPECT_EQ(deliver(ModoEntrega::Ftp, txt), TransferenciaRemota::Desfecho::Sucesso);

    const QString uploaded = ftp->pathOf("remessas/oc/" + zip);
    ASSERT_TRUE(QFile::exists(uploaded));
    EXPECT_EQ(entriesOf(uploaded), QStringList{txt});
    EXPECT_EQ(entry(uploaded, txt), content);
    EXPECT_EQ(read(uploaded), read(transf() + zip)); // the zip stays in the directory
    EXPECT_EQ(textRegister(), QStringList{txt + "||maria|S"});
    EXPECT_FALSE(QFile::exists(transf() + txt));   // delivered and recorded: it goes
    EXPECT_EQ(events(), QStringList{"PR|C|ana|"}); // no batch event
    EXPECT_EQ(EnvioTXT::problemaEnvio(db, txt),
              "O arquivo TX-OCC0000000001.txt já foi enviado e processado no KAVOREL.");
}

TEST_F(EntregaTxt, AFailedDeliveryLeavesTheTextFileAndRegistersNothing) {
    useFtp("errada");
    EXPECT_EQ(deliver(ModoEntrega::Ftp, txt), TransferenciaRemota::Desfecho::FalhaConexao);
    EXPECT_EQ(read(transf() + txt), content);
    EXPECT_TRUE(textRegister().isEmpty());
    EXPECT_TRUE(EnvioTXT::problemaEnvio(db, txt).isEmpty());
    EXPECT_TRUE(EnvioTXT::arquivosElegiveis(transf(), "OCC").contains(txt));
}

TEST_F(EntregaTxt, ByEmailAndByMediaWithTheirRemarks) {
    useSmtp();
    EXPECT_EQ(deliver(ModoEntrega::Email, txt), TransferenciaRemota::Desfecho::Sucesso);
    const QList<QByteArray> messages = smtp->messages(1);
    ASSERT_EQ(messages.size(), 1);
    QByteArray top;
    const QList<MailPart> parts = mailParts(messages[0], top);
    ASSERT_EQ(parts.size(), 2);
    EXPECT_EQ(headerOf(parts[1].headers, "Content-Type"),
              QString("application/octet-stream; name=\"%1\"").arg(zip));

    const QString other = QStringLiteral("TX-OCC0000000002.txt");
    write(transf() + other, "outro");
    QTemporaryDir media;
    EXPECT_EQ(copy(media.path(), other), GravaDisquete::Desfecho::Sucesso);
    EXPECT_EQ(entry(media.filePath("TX-OCC0000000002.zip"), other), "outro");
    EXPECT_EQ(textRegister(), (QStringList{txt + "||maria|S", other + "|" + Remark + "|maria|S"}));
}

TEST_F(EntregaTxt, ADeliveryWhoseRecordFailsSaysSoAndKeepsTheFile) {
    // The register keeps users of up to 10 characters.
    state.Usuario = QStringLiteral("usuario-comprido");
    QTemporaryDir media;
    EXPECT_EQ(copy(media.path(), txt), GravaDisquete::Desfecho::NaoRegistrada);
    EXPECT_TRUE(
        prompts.lastText().startsWith("O arquivo foi transferido, mas o envio não pôde ser registrado"))
        << prompts.lastText().toStdString();
    EXPECT_TRUE(textRegister().isEmpty());
    EXPECT_EQ(read(transf() + txt), content);
}

// The register keeps names of up to 30 characters: a longer one would be sent and never recorded,
// and could then be sent again and again. It is refused before anything is packed or sent.
TEST_F(EntregaTxt, ANameLongerThanTheRegisterTakesIsRefusedBeforeAnythingIsSent) {
    const QString longName = QStringLiteral("TX-OCC-um-nome-comprido-demais.txt"); // 34 characters
    const QString refusal = QStringLiteral(
        "O nome do arquivo TX-OCC-um-nome-comprido-demais.txt tem 34 caracteres, mais do que os 30 que o "
        "registro de arquivos enviados guarda. Renomeie o arquivo com no máximo 30 caracteres e tente de "
        "novo.");
    write(transf() + longName, content);
    useFtp();
    useSmtp();
    EXPECT_EQ(EnvioTXT::problemaEnvio(db, longName), refusal);
    const QString longest = "TX-OCC" + QString(20, '0') + ".txt";
    ASSERT_EQ(longest.size(), 30);
    EXPECT_TRUE(EnvioTXT::problemaEnvio(db, longest).isEmpty());

    for (ModoEntrega modo : {ModoEntrega::Ftp, ModoEntrega::Email}) {
        prompts.clear();
        EXPECT_EQ(deliver(modo, longName), TransferenciaRemota::Desfecho::NaoIniciada);
        EXPECT_EQ(prompts.lastText(), refusal);
        EXPECT_TRUE(log.isEmpty());
    }
    QTemporaryDir media;
    EXPECT_EQ(copy(media.path(), longName), GravaDisquete::Desfecho::NaoIniciada);
    EXPECT_EQ(prompts.lastText(), refusal);

    EXPECT_EQ(read(transf() + longName), content);
    EXPECT_FALSE(QFile::exists(transf() + "TX-OCC-um-nome-comprido-demais.zip")); // never packed
    EXPECT_TRUE(QDir(ftp->pathOf("remessas/oc")).isEmpty());
    EXPECT_TRUE(smtp->messages(1, 300).isEmpty());
    EXPECT_TRUE(QDir(media.path()).isEmpty());
    EXPECT_TRUE(textRegister().isEmpty());
}

TEST_F(EntregaTxt, OnlyTheCertifiersOwnTextFilesAreEligible) {
    write(transf() + "TX-OUTRO0000000001.txt", "x");
    write(transf() + "tx-occ0000000003.TXT", "x");
    write(transf() + "TX-OCC0000000004.zip", "x");
    EXPECT_EQ(EnvioTXT::arquivosElegiveis(transf(), "OCC"), (QStringList{txt, "tx-occ0000000003.TXT"}));
    EXPECT_TRUE(EnvioTXT::ehElegivel(txt, "OCC"));
    EXPECT_FALSE(EnvioTXT::ehElegivel("TX-OUTRO0000000001.txt", "OCC"));
    EXPECT_EQ(EnvioTXT::problemaEnvio(db, QString()), "Por favor selecione um arquivo");
}

TEST_F(EntregaTxt, AFileRegisteredByTheImportIsRefusedToo) {
    Sql::execute(db, "INSERT INTO CONTROLE_TXT (DataHoraEvento, NomeArquivo, Obs, UsuResp, EnviadoKAVOREL) "
                     "VALUES ('2024-01-01T00:00:00.000', 'TX-OCC0000000001.txt', 'Importação p/ módulo OCC', "
                     "'ana', 'N')");
    EXPECT_EQ(EnvioTXT::problemaEnvio(db, txt),
              "O arquivo TX-OCC0000000001.txt já foi enviado e processado no KAVOREL.");
    const QList<EnvioTXT::Registro> rows = EnvioTXT::registros(db);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].ArquivoEnviado(), "Não");
}

} // namespace
