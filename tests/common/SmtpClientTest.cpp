#include "SmtpClient.h"
#include "CurlSession.h"
#include "TestHome.h"
#include "TestServers.h"

#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The value of a header in a block of headers (first occurrence), unfolded.
QString header(const QByteArray& headers, const QString& name) {
    const QRegularExpression re(
        QStringLiteral("(?:^|\\r?\\n)%1: ([^\\r\\n]*(?:\\r?\\n[ \\t][^\\r\\n]*)*)").arg(name),
        QRegularExpression::CaseInsensitiveOption);
    const auto match = re.match(QString::fromLatin1(headers));
    return match.hasMatch() ? match.captured(1).simplified() : QString();
}

struct Part {
    QByteArray headers;
    QByteArray body;
};

// Splits a multipart message into its parts by the boundary of its Content-Type.
QList<Part> partsOf(const QByteArray& message, QByteArray& topHeaders) {
    const qsizetype split =
        message.indexOf("\r\n\r\n") >= 0 ? message.indexOf("\r\n\r\n") : message.indexOf("\n\n");
    topHeaders = message.left(split);
    const QString type = header(topHeaders, "Content-Type");
    const QByteArray boundary =
        "--" + QRegularExpression("boundary=\"([^\"]+)\"").match(type).captured(1).toLatin1();
    QList<Part> parts;
    const QList<QByteArray> pieces = message.mid(split).split('\n');
    QByteArray current;
    bool inside = false;
    auto flush = [&] {
        if (!inside)
            return;
        const qsizetype end = current.indexOf("\n\n");
        parts.append({current.left(end), current.mid(end + 2)});
    };
    for (QByteArray line : pieces) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (line == boundary || line == boundary + "--") {
            flush();
            current.clear();
            inside = line == boundary;
            continue;
        }
        current += line + "\n";
    }
    return parts;
}

class SmtpClientTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server.started()) << server.error().toStdString(); }

    SmtpMessage message() const {
        SmtpMessage m;
        m.host = "127.0.0.1";
        m.port = server.port();
        m.greetingName = "occ1.example";
        m.fromName = "OCC1 - Organismo de Certificação";
        m.fromAddress = "remessas@kavorel.example";
        m.toAddress = "remessas@kavorel.example";
        m.subject = "Envio de remessa anexado ao E-MAIL";
        m.body = "Segue em anexo o arquivo de remessa";
        m.attachmentPath = work.filePath("OC-OCC12026121001.zip");
        m.date = QDateTime(QDate(2026, 12, 10), QTime(14, 30), Qt::UTC);
        return m;
    }

    SmtpTestServer server;
    QTemporaryDir work;
};

TEST_F(SmtpClientTest, SendsOneMessageWithTheTextAndTheFileAttached) {
    QByteArray archive(100 * 1024, Qt::Uninitialized);
    QRandomGenerator generator(7);
    for (char& b : archive)
        b = char(generator.bounded(256));
    QFile file(message().attachmentPath);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(archive);
    file.close();

    SmtpClient client;
    qint64 sent = 0, total = 0;
    client.setProgress([&](qint64 done, qint64 all) {
        sent = done;
        total = all;
    });
    const SmtpResult result = client.send(message());
    ASSERT_TRUE(result.ok()) << result.detail.toStdString();

    const QList<QByteArray> received = server.messages(1);
    ASSERT_EQ(received.size(), 1);
    QByteArray top;
    const QList<Part> parts = partsOf(received[0], top);
    EXPECT_EQ(header(top, "X-MailFrom"), "remessas@kavorel.example");
    EXPECT_EQ(header(top, "X-RcptTo"), "remessas@kavorel.example");
    EXPECT_EQ(header(top, "To"), "<remessas@kavorel.example>");
    EXPECT_TRUE(header(top, "From").endsWith("<remessas@kavorel.example>"));
    EXPECT_EQ(header(top, "From").left(10), "=?UTF-8?B?"); // the name's accent, encoded
    EXPECT_EQ(header(top, "Subject"), "Envio de remessa anexado ao E-MAIL");
    EXPECT_EQ(header(top, "Date"), "Thu, 10 Dec 2026 14:30:00 +0000");
    EXPECT_FALSE(header(top, "Message-ID").isEmpty());
    EXPECT_TRUE(header(top, "Content-Type").startsWith("multipart/mixed"));

    ASSERT_EQ(parts.size(), 2);
    EXPECT_EQ(header(parts[0].headers, "Content-Type"), "text/plain; charset=\"us-ascii\"");
    EXPECT_EQ(parts[0].body.trimmed(), "Segue em anexo o arquivo de remessa");
    EXPECT_EQ(header(parts[1].headers, "Content-Type"),
              "application/octet-stream; name=\"OC-OCC12026121001.zip\"");
    EXPECT_EQ(header(parts[1].headers, "Content-Transfer-Encoding"), "base64");
    EXPECT_EQ(header(parts[1].headers, "Content-Disposition"),
              "attachment; filename=\"OC-OCC12026121001.zip\"");
    EXPECT_EQ(QByteArray::fromBase64(parts[1].body), archive);
    EXPECT_GT(total, archive.size());
    EXPECT_EQ(sent, total);
}

TEST_F(SmtpClientTest, FailuresAreToldApartAndSendNothing) {
    QFile file(message().attachmentPath);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("zip");
    file.close();

    SmtpMessage down = message();
    down.port = freeLocalPort();
    EXPECT_EQ(SmtpClient().send(down).failure, SmtpResult::Failure::Connect);

    SmtpMessage noPort = message();
    noPort.port = 0;
    EXPECT_EQ(SmtpClient().send(noPort).failure, SmtpResult::Failure::Connect);

    SmtpMessage unknownHost = message();
    unknownHost.host = "servidor.invalid";
    EXPECT_EQ(SmtpClient().send(unknownHost).failure, SmtpResult::Failure::InvalidHost);

    SmtpMessage missingFile = message();
    missingFile.attachmentPath = work.filePath("nao-ha.zip");
    EXPECT_EQ(SmtpClient().send(missingFile).failure, SmtpResult::Failure::LocalFile);

    EXPECT_TRUE(server.messages(1, 300).isEmpty());
}

// A server that takes the whole message and never answers it: with the stall timeout of the
// settings file at one second, the send ends with the stall message.
TEST(SmtpStall, AServerThatNeverAnswersTheMessageEndsWithTheStallMessage) {
    TestHome home;
    QFile settings(home.path() + "tarvendix.conf");
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write("[rede]\nTempoSemDados=1\n");
    settings.close();
    SmtpTestServer server(false, true);
    ASSERT_TRUE(server.started()) << server.error().toStdString();
    QTemporaryDir work;
    QFile file(work.filePath("OC-OCC12026121001.zip"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(20000, 'z'));
    file.close();
    SmtpMessage m;
    m.host = "127.0.0.1";
    m.port = server.port();
    m.greetingName = "occ1.example";
    m.fromName = "OCC1";
    m.fromAddress = "remessas@kavorel.example";
    m.toAddress = "remessas@kavorel.example";
    m.subject = "Envio de remessa anexado ao E-MAIL";
    m.body = "Segue em anexo o arquivo de remessa";
    m.attachmentPath = file.fileName();

    SmtpClient client;
    const SmtpResult result = client.send(m);

    EXPECT_EQ(result.failure, SmtpResult::Failure::Stalled) << result.detail.toStdString();
    EXPECT_EQ(result.detail, CurlSession::stalledText(1));
}

TEST(SmtpCompose, LinesEndInCrLfAndTheAttachmentIsWrappedAt76) {
    SmtpMessage m;
    m.fromName = "OCC";
    m.fromAddress = "a@b.example";
    m.toAddress = "c@d.example";
    m.subject = "Assunto";
    m.body = "linha 1\nlinha 2";
    m.attachmentPath = "/tmp/x.zip";
    const QByteArray text = SmtpClient::compose(m, QByteArray(200, 'z'), "FRONTEIRA");
    EXPECT_FALSE(text.contains("\r\r"));
    EXPECT_EQ(text.count('\n'), text.count("\r\n"));
    EXPECT_TRUE(text.contains("linha 1\r\nlinha 2\r\n"));
    for (const QByteArray& line : text.split('\n'))
        EXPECT_LE(line.size(), 78);
    EXPECT_TRUE(text.endsWith("--FRONTEIRA--\r\n"));
}

} // namespace
