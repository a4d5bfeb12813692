#include "FtpClient.h"
#include "TestServers.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray randomBytes(int size) {
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator generator(42);
    for (char& b : bytes)
        b = char(generator.bounded(256));
    return bytes;
}

QByteArray contentsOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

class FtpClientTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.started()) << server.error().toStdString();
        ASSERT_TRUE(QDir(server.root()).mkpath("envio/remessas atuais"));
    }
    FtpEndpoint endpoint(const QString& password = FtpTestServer::password()) const {
        return {"127.0.0.1", server.port(), FtpTestServer::user(), password};
    }
    QString local(const QString& name) const { return work.filePath(name); }

    FtpTestServer server;
    QTemporaryDir work;
};

TEST_F(FtpClientTest, UploadsByteForByteIntoTheDirectoryUnderItsName) {
    const QByteArray archive = randomBytes(300 * 1024); // binary: any newline translation would show
    write(local("OC-OCC12026121001.zip"), archive);
    FtpClient client(endpoint());
    int connections = 0;
    qint64 lastDone = 0, lastTotal = 0;
    client.setConnected([&] { ++connections; });
    client.setProgress([&](qint64 done, qint64 total) {
        lastDone = std::max(lastDone, done);
        lastTotal = total;
    });

    const FtpResult result =
        client.upload(local("OC-OCC12026121001.zip"), "envio\\remessas atuais\\", "OC-OCC12026121001.zip");

    ASSERT_TRUE(result.ok()) << result.detail.toStdString();
    EXPECT_EQ(contentsOf(server.pathOf("envio/remessas atuais/OC-OCC12026121001.zip")), archive);
    EXPECT_EQ(QDir(server.pathOf("envio/remessas atuais")).entryList(QDir::Files),
              QStringList{"OC-OCC12026121001.zip"}); // the temporary name is gone
    EXPECT_EQ(connections, 1);
    EXPECT_EQ(lastDone, archive.size());
    EXPECT_EQ(lastTotal, archive.size());
}

TEST_F(FtpClientTest, UploadsIntoTheLoginDirectoryWhenNoneIsGiven) {
    write(local("a.zip"), "abc");
    FtpClient client(endpoint());
    ASSERT_TRUE(client.upload(local("a.zip"), "/", "a.zip").ok());
    EXPECT_EQ(contentsOf(server.pathOf("a.zip")), "abc");
}

struct FtpFailureCase {
    const char* name;
    FtpResult::Failure expected;
};

class FtpUploadFailure : public FtpClientTest, public ::testing::WithParamInterface<FtpFailureCase> {};

TEST_P(FtpUploadFailure, IsToldApartAndLeavesNoFileUnderTheRealName) {
    write(local("b.zip"), randomBytes(1000));
    FtpEndpoint target = endpoint();
    QString directory = "envio";
    QString file = local("b.zip");
    const std::string name = GetParam().name;
    if (name == "WrongPassword")
        target.password = "errada";
    else if (name == "ServerDown")
        target.port = freeLocalPort();
    else if (name == "MissingDirectory")
        directory = "nao/existe";
    else if (name == "MissingLocalFile")
        file = local("sumiu.zip");
    bool connected = false;
    FtpClient client(target);
    client.setConnected([&] { connected = true; });

    const FtpResult result = client.upload(file, directory, "b.zip");

    EXPECT_EQ(result.failure, GetParam().expected) << result.detail.toStdString();
    EXPECT_FALSE(QFile::exists(server.pathOf("envio/b.zip")));
    if (name != "MissingDirectory") {
        EXPECT_FALSE(connected);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, FtpUploadFailure,
                         ::testing::Values(FtpFailureCase{"WrongPassword", FtpResult::Failure::Login},
                                           FtpFailureCase{"ServerDown", FtpResult::Failure::Connect},
                                           FtpFailureCase{"MissingDirectory",
                                                          FtpResult::Failure::ChangeDirectory},
                                           FtpFailureCase{"MissingLocalFile", FtpResult::Failure::LocalFile}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(FtpClientTest, AnAbortedUploadEndsPromptlyAndNeverShowsTheRealName) {
    write(local("grande.zip"), randomBytes(8 * 1024 * 1024));
    FtpClient client(endpoint());
    client.setProgress([&](qint64 done, qint64) {
        if (done > 0)
            client.abort();
    });
    const FtpResult result = client.upload(local("grande.zip"), "envio", "grande.zip");
    EXPECT_EQ(result.failure, FtpResult::Failure::Aborted);
    EXPECT_TRUE(client.wasAborted());
    EXPECT_FALSE(QFile::exists(server.pathOf("envio/grande.zip")));
}

TEST_F(FtpClientTest, ListsTheNamesOfADirectory) {
    write(server.pathOf("envio/OC-R-OCC12026121001-OK.ZIP"), "ok");
    write(server.pathOf("envio/outro.txt"), "x");
    QStringList names;
    FtpClient client(endpoint());
    ASSERT_TRUE(client.list("envio", names).ok());
    names.sort();
    EXPECT_EQ(names, (QStringList{"OC-R-OCC12026121001-OK.ZIP", "outro.txt", "remessas atuais"}));

    EXPECT_EQ(client.list("nao-existe", names).failure, FtpResult::Failure::ChangeDirectory);
}

TEST_F(FtpClientTest, DownloadsByteForByteAndLeavesNothingOnFailure) {
    const QByteArray result = randomBytes(200 * 1024);
    write(server.pathOf("envio/OC-R-OCC12026121001-OK.ZIP"), result);
    FtpClient client(endpoint());

    ASSERT_TRUE(client.download("envio", "OC-R-OCC12026121001-OK.ZIP", local("resultado.zip")).ok());
    EXPECT_EQ(contentsOf(local("resultado.zip")), result);

    const FtpResult missing = client.download("envio", "nao-ha.zip", local("nada.zip"));
    EXPECT_EQ(missing.failure, FtpResult::Failure::Download) << missing.detail.toStdString();
    EXPECT_EQ(QDir(work.path()).entryList(QDir::Files), QStringList{"resultado.zip"});
}

} // namespace
