#include "CliFixture.h"
#include "TestServers.h"

#include <QTemporaryDir>

namespace {

// The companion delivering the prepared batch 2024030501 (type C) or a text file.
class DeliveryCli : public Cli {
protected:
    void SetUp() override {
        Cli::SetUp();
        evento("2024030501", "PR", "C", 60);
    }

    QString archiveName() const { return "OC-OCC2024030501.zip"; }

    QByteArray archive(const QString& path, qsizetype size = 5000) {
        QByteArray bytes(size, Qt::Uninitialized);
        for (qsizetype i = 0; i < size; ++i)
            bytes[i] = char((i * 7919) % 251);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return bytes;
    }

    static QByteArray read(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QStringList textRegister() const {
        QStringList rows;
        QSqlQuery q = Sql::exec(db, "SELECT NomeArquivo, Obs, UsuResp, EnviadoKAVOREL FROM CONTROLE_TXT");
        while (q.next())
            rows << QStringLiteral("%1|%2|%3|%4")
                        .arg(q.value(0).toString(), q.value(1).toString(), q.value(2).toString(),
                             q.value(3).toString());
        return rows;
    }

    QString lastRemark() const {
        return Sql::scalar(db, "SELECT Obs FROM CONTROLE ORDER BY DataHoraEvento DESC, rowid DESC LIMIT 1")
            .toString();
    }
};

TEST_F(DeliveryCli, BatchDeliverByFtpUploadsRecordsAndPrintsWhereItWent) {
    FtpTestServer ftp;
    ASSERT_TRUE(ftp.started()) << ftp.error();
    ASSERT_TRUE(QDir().mkpath(ftp.pathOf("envio")));
    Sql::execute(db, QStringLiteral("UPDATE CONFIG_LOCAL SET EndKavorelEnvio = '127.0.0.1:%1/envio', "
                                    "LoginFTP = '%2', SenhaFTP = '%3'")
                         .arg(ftp.port())
                         .arg(FtpTestServer::user(), FtpTestServer::password()));
    const QByteArray bytes = archive(transf() + archiveName());

    const Outcome run = cli({"batch", "deliver", "--ftp"});

    EXPECT_EQ(run.status, 0) << run.err;
    // The directory of the address is absolute: "%2F" after the host says so in the URL.
    EXPECT_EQ(run.out.trimmed(),
              QStringLiteral("ftp://127.0.0.1:%1/").arg(ftp.port()) + "%2Fenvio/" + archiveName());
    EXPECT_TRUE(run.err.contains("Usuário Responsável : maria")) << run.err;
    EXPECT_TRUE(run.err.contains("Transferência realizada com sucesso.")) << run.err;
    EXPECT_EQ(read(ftp.pathOf("envio/" + archiveName())), bytes);
    EXPECT_EQ(lastEvent(), "TR");

    const Outcome again = cli({"batch", "deliver", "--ftp"});
    EXPECT_EQ(again.status, 1);
    EXPECT_TRUE(again.err.contains("não está aguardando transferência (Aguardando Resultado)")) << again.err;
}

TEST_F(DeliveryCli, BatchDeliverByEmailSendsOneMessage) {
    SmtpTestServer smtp;
    ASSERT_TRUE(smtp.started()) << smtp.error();
    Sql::execute(db, QStringLiteral("UPDATE CONFIG_LOCAL SET EndSMTPHost = '127.0.0.1', EndSMTPPort = '%1', "
                                    "EndSMTPUsuario = 'occ', EndSMTPEMailReply = 'r@kavorel.example'")
                         .arg(smtp.port()));
    const QByteArray bytes = archive(transf() + archiveName());
    const Outcome run = cli({"batch", "deliver", "--email"});
    EXPECT_EQ(run.status, 0) << run.err;
    const QList<QByteArray> messages = smtp.messages(1);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(bytes.toBase64().left(76))) << "the attachment";
    EXPECT_EQ(lastEvent(), "TR");
}

TEST_F(DeliveryCli, BatchDeliverByCopyAndItsFailures) {
    QTemporaryDir media;
    const Outcome missing = cli({"batch", "deliver", "--copy", media.path()});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(missing.err.contains("Arquivo não encontrado.")) << missing.err;
    EXPECT_EQ(lastEvent(), "PR");

    const Outcome same = cli({"batch", "deliver", "--copy", transf()});
    EXPECT_EQ(same.status, 1);
    EXPECT_EQ(lastEvent(), "PR");

    const QByteArray bytes = archive(transf() + archiveName());
    const Outcome run = cli({"batch", "deliver", "--copy", media.path()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.trimmed(), media.filePath(archiveName()));
    EXPECT_TRUE(run.err.contains("Gravação de arquivo realizada com sucesso.")) << run.err;
    EXPECT_EQ(read(media.filePath(archiveName())), bytes);
    EXPECT_EQ(lastEvent(), "TR");
    EXPECT_EQ(lastRemark(), "<Transferência Manual: Gravação de Disquete>");
}

struct ModeCase {
    const char* name;
    QStringList arguments;
    const char* message;
};

class DeliveryUsage : public Cli, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(DeliveryUsage, IsAUsageError) {
    const Outcome run = cli(GetParam().arguments);
    EXPECT_EQ(run.status, 2) << run.err;
    EXPECT_TRUE(run.err.contains(QString::fromUtf8(GetParam().message))) << run.err;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DeliveryUsage,
    ::testing::Values(
        ModeCase{"NoMode", {"batch", "deliver"}, "--ftp, --email ou --copy DIR"},
        ModeCase{"TwoModes", {"batch", "deliver", "--ftp", "--email"}, "--ftp, --email ou --copy DIR"},
        ModeCase{"CopyWithoutDirectory", {"batch", "deliver", "--copy"}, "--copy precisa de um valor"},
        ModeCase{"NoFile", {"txt", "send", "--ftp"}, "Falta o argumento FILE de txt send."},
        ModeCase{"MissingFile", {"txt", "send", "/nao/existe/TX-OCC1.txt", "--ftp"}, "não foi encontrado"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DeliveryCli, TxtSendDeliversOnceAndKeepsOtherCertifiersFilesOut) {
    const QString dir = home.path() + "txt/";
    ASSERT_TRUE(QDir().mkpath(dir));
    archive(dir + "TX-OCC0000000001.txt", 300);
    archive(dir + "TX-OUTRO000000001.txt", 300);
    QTemporaryDir media;

    const Outcome run = cli({"txt", "send", dir + "TX-OCC0000000001.txt", "--copy", media.path()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.trimmed(), media.filePath("TX-OCC0000000001.zip"));
    EXPECT_EQ(textRegister(),
              QStringList{"TX-OCC0000000001.txt|<Transferência Manual: Gravação de Disquete>|maria|S"});
    EXPECT_FALSE(QFile::exists(dir + "TX-OCC0000000001.txt"));
    EXPECT_TRUE(QFile::exists(dir + "TX-OCC0000000001.zip"));
    EXPECT_EQ(lastEvent(), "PR"); // the batch is not touched

    archive(dir + "TX-OCC0000000001.txt", 10); // the same name again
    const Outcome again = cli({"txt", "send", dir + "TX-OCC0000000001.txt", "--copy", media.path()});
    EXPECT_EQ(again.status, 1);
    EXPECT_TRUE(again.err.contains("O arquivo TX-OCC0000000001.txt já foi enviado e processado no KAVOREL."))
        << again.err;

    const Outcome other = cli({"txt", "send", dir + "TX-OUTRO000000001.txt", "--copy", media.path()});
    EXPECT_EQ(other.status, 1);
    EXPECT_TRUE(other.err.contains("não é um arquivo TXT deste certificador (TX-OCC*.txt)")) << other.err;
    EXPECT_EQ(textRegister().size(), 1);
}

TEST_F(DeliveryCli, TxtSendRefusesANameTheRegisterCannotTakeBeforeSendingIt) {
    const QString dir = home.path() + "txt/";
    ASSERT_TRUE(QDir().mkpath(dir));
    const QString name = "TX-OCC-um-nome-comprido-demais.txt";
    archive(dir + name, 300);
    QTemporaryDir media;

    const Outcome run = cli({"txt", "send", dir + name, "--copy", media.path()});

    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(
        run.err.contains("O nome do arquivo TX-OCC-um-nome-comprido-demais.txt tem 34 caracteres, mais "
                         "do que os 30 que o registro de arquivos enviados guarda."))
        << run.err;
    EXPECT_TRUE(QFile::exists(dir + name));
    EXPECT_FALSE(QFile::exists(dir + "TX-OCC-um-nome-comprido-demais.zip"));
    EXPECT_TRUE(QDir(media.path()).isEmpty());
    EXPECT_TRUE(textRegister().isEmpty());
}

// The companion reads the stall timeout from the settings file of the base directory too.
TEST_F(DeliveryCli, BatchDeliverToAStalledServerEndsWithTheStallMessage) {
    FtpTestServer ftp(FtpTestServer::Options{{}, {}, {"STOR"}});
    ASSERT_TRUE(ftp.started()) << ftp.error();
    ASSERT_TRUE(QDir().mkpath(ftp.pathOf("envio")));
    QFile settings(home.path() + "tarvendix.conf");
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write("[rede]\nTempoSemDados=1\n");
    settings.close();
    Sql::execute(db, QStringLiteral("UPDATE CONFIG_LOCAL SET EndKavorelEnvio = '127.0.0.1:%1/envio', "
                                    "LoginFTP = '%2', SenhaFTP = '%3'")
                         .arg(ftp.port())
                         .arg(FtpTestServer::user(), FtpTestServer::password()));
    archive(transf() + archiveName());

    const Outcome run = cli({"batch", "deliver", "--ftp"});

    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_TRUE(
        run.err.contains("Transferência não realizada: A transferência foi abandonada: nenhum dado foi "
                         "transferido em 1 segundo."))
        << run.err;
    EXPECT_FALSE(QFile::exists(ftp.pathOf("envio/" + archiveName())));
    EXPECT_EQ(lastEvent(), "PR");
}

TEST_F(DeliveryCli, AUserWithoutBatchControlIsRefused) {
    const Outcome run = cli({"batch", "deliver", "--ftp"}, "joao", "outra");
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains("não tem permissão")) << run.err;
    archive(transf() + "TX-OCC0000000001.txt", 10);
    const Outcome txt = cli({"txt", "send", transf() + "TX-OCC0000000001.txt", "--ftp"}, "joao", "outra");
    EXPECT_EQ(txt.status, 1);
    EXPECT_TRUE(txt.err.contains("não tem permissão")) << txt.err;
    EXPECT_TRUE(QFile::exists(transf() + "TX-OCC0000000001.txt"));
}

} // namespace
