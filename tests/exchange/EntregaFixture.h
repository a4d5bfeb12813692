#pragma once

#include "ExchangeFixture.h"
#include "TestServers.h"

#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>

// The installation of ExchangeFixture with a prepared batch "2024030501" (type C) waiting for
// delivery, its archive in the transfer directory, and on demand the authority's FTP server and
// the certifier's SMTP server on 127.0.0.1, written into the configuration as a user types them.
class EntregaFixture : public ExchangeFixture {
protected:
    static constexpr const char* Numero = "2024030501";

    void SetUp() override {
        ExchangeFixture::SetUp();
        evento(Numero, "PR", "C", 60);
        state.NumeroRemessa = Numero;
        state.TipoRemessa = "C";
    }

    QString archiveName() const { return QStringLiteral("OC-OCC%1.zip").arg(Numero); }

    static QByteArray randomBytes(qsizetype size) {
        QByteArray bytes(size, Qt::Uninitialized);
        for (qsizetype i = 0; i < size; ++i)
            bytes[i] = char(QRandomGenerator::global()->bounded(256));
        return bytes;
    }

    static void write(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    static QByteArray read(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // An archive of `size` random bytes in the transfer directory; returns its bytes.
    QByteArray archive(qsizetype size = 40000, const QString& name = {}) {
        const QByteArray bytes = randomBytes(size);
        write(transf() + (name.isEmpty() ? archiveName() : name), bytes);
        return bytes;
    }

    // Starts the FTP server with the directory "remessas/oc" and points EndKavorelEnvio at it.
    void useFtp(const QString& password = FtpTestServer::password()) {
        ftp = std::make_unique<FtpTestServer>();
        ASSERT_TRUE(ftp->started()) << ftp->error().toStdString();
        ASSERT_TRUE(QDir().mkpath(ftp->pathOf("remessas/oc")));
        config(
            QStringLiteral("EndKavorelEnvio = '127.0.0.1:%1/remessas/oc', LoginFTP = '%2', SenhaFTP = '%3'")
                .arg(ftp->port())
                .arg(FtpTestServer::user(), password));
    }

    // Starts the SMTP sink and points the e-mail settings at it.
    void useSmtp() {
        smtp = std::make_unique<SmtpTestServer>();
        ASSERT_TRUE(smtp->started()) << smtp->error().toStdString();
        config(QStringLiteral("EndSMTPHost = '127.0.0.1', EndSMTPPort = '%1', EndSMTPUsuario = 'occ.local', "
                              "EndSMTPEMailReply = 'remessas@kavorel.example', NomeOCC = 'Organismo'")
                   .arg(smtp->port()));
    }

    // Changes CONFIG_LOCAL and reloads the shared state, as activating the batch screen does.
    void config(const QString& assignments) {
        Sql::execute(db, QStringLiteral("UPDATE CONFIG_LOCAL SET ") + assignments);
        const QString numero = state.NumeroRemessa, tipo = state.TipoRemessa;
        state.load(db, session.user());
        state.NumeroRemessa = numero;
        state.TipoRemessa = tipo;
    }

    // The events of the batch, oldest first, as "code|type|user|remark".
    QStringList events() const {
        QStringList rows;
        QSqlQuery q = Sql::exec(db, QStringLiteral("SELECT Evento, TipoRemessa, Usuario, Obs FROM CONTROLE "
                                                   "ORDER BY DataHoraEvento, rowid"));
        while (q.next())
            rows << QStringLiteral("%1|%2|%3|%4")
                        .arg(q.value(0).toString(), q.value(1).toString(), q.value(2).toString(),
                             q.value(3).toString());
        return rows;
    }

    // The rows of CONTROLE_TXT as "name|remark|user|sent".
    QStringList textRegister() const {
        QStringList rows;
        QSqlQuery q = Sql::exec(
            db, QStringLiteral(
                    "SELECT NomeArquivo, Obs, UsuResp, EnviadoKAVOREL FROM CONTROLE_TXT ORDER BY rowid"));
        while (q.next())
            rows << QStringLiteral("%1|%2|%3|%4")
                        .arg(q.value(0).toString(), q.value(1).toString(), q.value(2).toString(),
                             q.value(3).toString());
        return rows;
    }

    // One entry of a zip archive (unzip -p).
    static QByteArray entry(const QString& archive, const QString& name) {
        QProcess unzip;
        unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), archive, name});
        unzip.waitForFinished(30000);
        return unzip.readAllStandardOutput();
    }

    std::unique_ptr<FtpTestServer> ftp;
    std::unique_ptr<SmtpTestServer> smtp;
};

// The value of a header in a block of headers (first occurrence), unfolded.
inline QString headerOf(const QByteArray& headers, const QString& name) {
    const QRegularExpression re(
        QStringLiteral("(?:^|\\r?\\n)%1: ([^\\r\\n]*(?:\\r?\\n[ \\t][^\\r\\n]*)*)").arg(name),
        QRegularExpression::CaseInsensitiveOption);
    const auto match = re.match(QString::fromLatin1(headers));
    return match.hasMatch() ? match.captured(1).simplified() : QString();
}

// The parts of a multipart message: headers and body of each, split at its boundary.
struct MailPart {
    QByteArray headers;
    QByteArray body;
};
inline QList<MailPart> mailParts(const QByteArray& message, QByteArray& topHeaders) {
    QByteArray text = message;
    text.replace("\r\n", "\n");
    const qsizetype split = text.indexOf("\n\n");
    topHeaders = text.left(split);
    const QByteArray boundary = "--" + QRegularExpression(QStringLiteral("boundary=\"([^\"]+)\""))
                                           .match(headerOf(topHeaders, QStringLiteral("Content-Type")))
                                           .captured(1)
                                           .toLatin1();
    QList<MailPart> parts;
    QByteArray current;
    bool inside = false;
    for (const QByteArray& line : text.mid(split + 2).split('\n')) {
        if (line == boundary || line == boundary + "--") {
            if (inside) {
                const qsizetype end = current.indexOf("\n\n");
                parts.append({current.left(end), current.mid(end + 2)});
            }
            current.clear();
            inside = line == boundary;
            continue;
        }
        current += line + "\n";
    }
    return parts;
}
