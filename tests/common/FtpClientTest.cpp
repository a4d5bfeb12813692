#include "FtpClient.h"
#include "CurlSession.h"
#include "ProgramSettings.h"
#include "SmtpClient.h"
#include "TestHome.h"
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

// Servers differ in what a listing line holds; only names of files come out of it. Found by
// fuzzing: a line "dir/." or "dir/" gave the name "." or an empty name.
TEST(FtpListing, KeepsOnlyTheNamesOfFiles) {
    struct Caso {
        const char* listagem;
        QStringList nomes;
    };
    const Caso casos[] = {
        {"OC-R-OCC12026121001-OK.ZIP\r\noutro.txt\r\n", {"OC-R-OCC12026121001-OK.ZIP", "outro.txt"}},
        {".\n..\n  \n", {}},
        {"/envio/OC-TAB-2026121001.zip\nsub/dir/a.txt\n", {"OC-TAB-2026121001.zip", "a.txt"}},
        {"OC-R-OCC12026121001-OK.ZIP/.\nsub/..\nsub/\n/\n", {}},
    };
    for (const Caso& caso : casos)
        EXPECT_EQ(FtpClient::namesOfListing(caso.listagem), caso.nomes) << caso.listagem;
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

// Where a file lands for a directory as written, for an account whose login directory is not the
// root: a directory that begins with a separator and names a level is absolute.
struct DirectoryCase {
    const char* name;
    const char* directory;
    const char* landsIn; // under the served directory
};

class FtpDirectory : public ::testing::TestWithParam<DirectoryCase> {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.started()) << server.error().toStdString();
        ASSERT_TRUE(QDir(server.root()).mkpath("remessas/oc"));
        ASSERT_TRUE(QDir(server.root()).mkpath("home/kavorel/remessas/oc"));
    }
    FtpEndpoint endpoint() const {
        return {"127.0.0.1", server.port(), FtpTestServer::user(), FtpTestServer::password()};
    }

    FtpTestServer server{FtpTestServer::Options{"/home/kavorel", {}, {}}};
    QTemporaryDir work;
};

TEST_P(FtpDirectory, AnUploadLandsWhereTheDirectoryPoints) {
    write(work.filePath("a.zip"), "abc");
    FtpClient client(endpoint());
    const FtpResult result = client.upload(work.filePath("a.zip"), GetParam().directory, "a.zip");
    ASSERT_TRUE(result.ok()) << result.detail.toStdString();
    EXPECT_EQ(contentsOf(server.pathOf(QString(GetParam().landsIn) + "a.zip")), "abc");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FtpDirectory,
    ::testing::Values(DirectoryCase{"Absolute", "/remessas/oc", "remessas/oc/"},
                      DirectoryCase{"AbsoluteWithBackslashes", "\\remessas\\oc\\", "remessas/oc/"},
                      DirectoryCase{"Relative", "remessas/oc", "home/kavorel/remessas/oc/"},
                      DirectoryCase{"RootAloneIsTheLoginDirectory", "/", "home/kavorel/"},
                      DirectoryCase{"NoneIsTheLoginDirectory", "", "home/kavorel/"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FtpDirectory, AListingAndADownloadFromAnAbsoluteDirectory) {
    write(server.pathOf("remessas/oc/r.zip"), "raiz");
    write(server.pathOf("home/kavorel/remessas/oc/r.zip"), "login");
    FtpClient client(endpoint());
    QStringList names;
    ASSERT_TRUE(client.list("/remessas", names).ok());
    EXPECT_EQ(names, QStringList{"oc"});
    ASSERT_TRUE(client.download("/remessas/oc", "r.zip", work.filePath("r.zip")).ok());
    EXPECT_EQ(contentsOf(work.filePath("r.zip")), "raiz");
    EXPECT_EQ(FtpClient::urlOf(endpoint(), "/remessas/oc", "r.zip"),
              QStringLiteral("ftp://127.0.0.1:%1/").arg(server.port()) + "%2Fremessas/oc/r.zip");
}

// A drop box: an account that may store but not rename, and perhaps not delete either.
struct DropBoxCase {
    const char* name;
    const char* permissions;
    bool mayDelete;
    const char* note;
};

class FtpDropBox : public FtpClientTest, public ::testing::WithParamInterface<DropBoxCase> {};

TEST_P(FtpDropBox, AnAccountThatMayNotRenameGetsTheFileUnderItsNameAndTheLogSaysSo) {
    FtpTestServer box(FtpTestServer::Options{{}, {{"caixa", "postal", GetParam().permissions, {}}}, {}});
    ASSERT_TRUE(box.started()) << box.error().toStdString();
    ASSERT_TRUE(QDir(box.root()).mkpath("entrada"));
    const QByteArray archive = randomBytes(200 * 1024);
    write(local("OC-OCC12026121001.zip"), archive);
    FtpClient client({"127.0.0.1", box.port(), "caixa", "postal"});
    int connections = 0;
    client.setConnected([&] { ++connections; });

    const FtpResult result =
        client.upload(local("OC-OCC12026121001.zip"), "entrada", "OC-OCC12026121001.zip");

    ASSERT_TRUE(result.ok()) << result.detail.toStdString();
    EXPECT_EQ(contentsOf(box.pathOf("entrada/OC-OCC12026121001.zip")), archive);
    const QString temporary = FtpClient::temporaryName("OC-OCC12026121001.zip");
    EXPECT_EQ(QFile::exists(box.pathOf("entrada/" + temporary)), !GetParam().mayDelete);
    EXPECT_EQ(result.notes, QStringList{QString::fromUtf8(GetParam().note)});
    EXPECT_EQ(connections, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FtpDropBox,
    ::testing::Values(DropBoxCase{"MayDelete", "elradmwMT", true,
                                  "O servidor FTP não permitiu renomear OC-OCC12026121001.zip.tmp para "
                                  "OC-OCC12026121001.zip: o arquivo temporário foi removido e o arquivo "
                                  "foi enviado de novo, diretamente com o nome OC-OCC12026121001.zip."},
                      DropBoxCase{"MayNotDelete", "elrawMT", false,
                                  "O servidor FTP não permitiu renomear OC-OCC12026121001.zip.tmp para "
                                  "OC-OCC12026121001.zip nem remover OC-OCC12026121001.zip.tmp, que ficou "
                                  "no servidor: o arquivo foi enviado de novo, diretamente com o nome "
                                  "OC-OCC12026121001.zip."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FtpClientTest, AnUploadThatMayRenameLeavesNoNote) {
    write(local("a.zip"), "abc");
    FtpClient client(endpoint());
    const FtpResult result = client.upload(local("a.zip"), "envio", "a.zip");
    ASSERT_TRUE(result.ok());
    EXPECT_TRUE(result.notes.isEmpty());
}

// An interruption that comes once the server has the file under its name changes nothing: the
// delivery took place.
TEST_F(FtpClientTest, AnInterruptionAfterTheServerHasTheFileIsASuccess) {
    const QByteArray archive = randomBytes(64 * 1024);
    write(local("c.zip"), archive);
    FtpClient client(endpoint());
    bool interruptedLate = false;
    client.setProgress([&](qint64, qint64) {
        if (QFile::exists(server.pathOf("envio/c.zip"))) {
            client.abort();
            interruptedLate = true;
        }
    });
    const FtpResult result = client.upload(local("c.zip"), "envio", "c.zip");
    EXPECT_TRUE(interruptedLate);
    EXPECT_TRUE(result.ok()) << int(result.failure) << " " << result.detail.toStdString();
    EXPECT_EQ(contentsOf(server.pathOf("envio/c.zip")), archive);
}

// The stall timeout, set in the settings file of the base directory.
class FtpStall : public ::testing::Test {
protected:
    void SetUp() override {
        QFile settings(home.path() + "tarvendix.conf");
        ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
        settings.write("[rede]\nTempoSemDados=1\n");
        settings.close();
        ASSERT_TRUE(server.started()) << server.error().toStdString();
        ASSERT_TRUE(QDir(server.root()).mkpath("envio"));
    }
    FtpEndpoint endpoint() const {
        return {"127.0.0.1", server.port(), FtpTestServer::user(), FtpTestServer::password()};
    }

    TestHome home;
    FtpTestServer server{FtpTestServer::Options{{}, {}, {"STOR", "RETR", "NLST"}}};
    QTemporaryDir work;
};

TEST_F(FtpStall, AServerThatStopsMovingDataEndsEveryOperationWithTheStallMessage) {
    write(work.filePath("pequeno.zip"), randomBytes(10 * 1024));       // all of it fits the buffers
    write(work.filePath("grande.zip"), randomBytes(32 * 1024 * 1024)); // backs up while it goes
    write(server.pathOf("envio/r.zip"), randomBytes(10 * 1024));
    FtpClient client(endpoint());
    EXPECT_EQ(client.stallTimeout(), 1);
    bool connected = false;
    client.setConnected([&] { connected = true; });

    for (const QString& name : {QStringLiteral("pequeno.zip"), QStringLiteral("grande.zip")}) {
        const FtpResult upload = client.upload(work.filePath(name), "envio", name);
        EXPECT_EQ(upload.failure, FtpResult::Failure::Stalled)
            << name.toStdString() << upload.detail.toStdString();
        EXPECT_EQ(upload.reason(), CurlSession::stalledText(1));
        EXPECT_FALSE(QFile::exists(server.pathOf("envio/" + name)));
    }
    const FtpResult download = client.download("envio", "r.zip", work.filePath("r.zip"));
    EXPECT_EQ(download.failure, FtpResult::Failure::Stalled) << download.detail.toStdString();
    EXPECT_FALSE(QFile::exists(work.filePath("r.zip")));
    QStringList names;
    const FtpResult listing = client.list("envio", names);
    EXPECT_EQ(listing.failure, FtpResult::Failure::Stalled) << listing.detail.toStdString();
    EXPECT_TRUE(connected);
    EXPECT_EQ(CurlSession::stalledText(1),
              "A transferência foi abandonada: nenhum dado foi transferido em 1 segundo");
}

TEST_F(FtpStall, InterruptingAStalledUploadStopsIt) {
    write(work.filePath("a.zip"), randomBytes(10 * 1024));
    FtpClient client(endpoint());
    client.setStallTimeout(600);
    client.setProgress([&](qint64, qint64) {
        if (server.stalling("STOR"))
            client.abort();
    });
    const FtpResult result = client.upload(work.filePath("a.zip"), "envio", "a.zip");
    EXPECT_EQ(result.failure, FtpResult::Failure::Aborted) << result.detail.toStdString();
    EXPECT_FALSE(QFile::exists(server.pathOf("envio/a.zip")));
}

// The settings file: every value has a default.
struct SettingCase {
    const char* name;
    const char* contents; // nullptr: no file
    int seconds;
};

class StallSetting : public ::testing::TestWithParam<SettingCase> {};

TEST_P(StallSetting, IsReadFromTheFileOrDefaultsTo60) {
    QTemporaryDir dir;
    const QString file = dir.filePath("tarvendix.conf");
    if (GetParam().contents) {
        QFile settings(file);
        ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
        settings.write(GetParam().contents);
    }
    EXPECT_EQ(ProgramSettings(file).stallTimeoutSeconds(), GetParam().seconds);
}

INSTANTIATE_TEST_SUITE_P(Cases, StallSetting,
                         ::testing::Values(SettingCase{"NoFile", nullptr, 60},
                                           SettingCase{"NoGroup", "[outro]\nTempoSemDados=5\n", 60},
                                           SettingCase{"Set", "[rede]\n; comentário\nTempoSemDados=15\n", 15},
                                           SettingCase{"Blanks", "[rede]\nTempoSemDados = 20 \n", 20},
                                           SettingCase{"NotANumber", "[rede]\nTempoSemDados=muito\n", 60},
                                           SettingCase{"Zero", "[rede]\nTempoSemDados=0\n", 60},
                                           SettingCase{"Negative", "[rede]\nTempoSemDados=-5\n", 60}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ProgramSettingsFile, IsInTheBaseDirectoryAndReadByBothClients) {
    TestHome home;
    EXPECT_EQ(ProgramSettings().file(), home.path() + "tarvendix.conf");
    EXPECT_EQ(FtpClient(FtpEndpoint{}).stallTimeout(), 60);
    QFile settings(home.path() + "tarvendix.conf");
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write("[rede]\nTempoSemDados=7\n");
    settings.close();
    EXPECT_EQ(FtpClient(FtpEndpoint{}).stallTimeout(), 7);
    EXPECT_EQ(SmtpClient().stallTimeout(), 7);
}

} // namespace
