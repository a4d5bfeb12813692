#pragma once

#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <memory>

// Real servers on 127.0.0.1 for the network tests, started on a free port and stopped with the
// object. Debian's interpreter is used: the one on PATH may lack Debian's modules.

// A free TCP port on 127.0.0.1 at the time of asking.
int freeLocalPort();

// pyftpdlib serving a fresh directory, with one user who may write.
class FtpTestServer {
public:
    FtpTestServer();
    ~FtpTestServer();
    bool started() const { return started_; }
    QString error() const { return error_; }

    int port() const { return port_; }
    QString root() const { return root_.path(); }
    static QString user() { return QStringLiteral("kavorel"); }
    static QString password() { return QStringLiteral("s3nh@ftp"); }
    // A file's path under the served directory.
    QString pathOf(const QString& relative) const { return root_.filePath(relative); }

private:
    QTemporaryDir root_;
    QProcess process_;
    int port_ = 0;
    bool started_ = false;
    QString error_;
};

// aiosmtpd keeping every message it receives in a maildir.
class SmtpTestServer {
public:
    // With `requireTls`, the server offers STARTTLS (a self-signed certificate made for the test)
    // and refuses mail until it is used.
    explicit SmtpTestServer(bool requireTls = false);
    ~SmtpTestServer();
    bool started() const { return started_; }
    QString error() const { return error_; }

    int port() const { return port_; }
    // The messages received so far, as they arrived (aiosmtpd adds its own X-Peer and X-MailFrom
    // headers in front), waiting up to `waitMs` for at least `atLeast` of them.
    QList<QByteArray> messages(int atLeast = 1, int waitMs = 5000) const;

private:
    QTemporaryDir work_;
    QProcess process_;
    int port_ = 0;
    bool started_ = false;
    QString error_;
};
