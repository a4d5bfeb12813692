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

// pyftpdlib serving a fresh directory (tests/support/ftp_test_server.py), with one user who may do
// anything and, on demand, more accounts and a server that hangs.
class FtpTestServer {
public:
    // An account: pyftpdlib's permission letters ("f" rename, "d" delete, "w" store) and the
    // directory it starts in, under the served directory ("/" when empty; created when missing).
    struct Account {
        QString user;
        QString password;
        QString permissions;
        QString loginDirectory;
    };
    struct Options {
        QString loginDirectory;       // of user()
        QList<Account> otherAccounts; // besides user()
        // Commands ("STOR", "RETR", "NLST") whose data connection opens and then moves no byte.
        QStringList stall;
    };
    static constexpr const char* AllPermissions = "elradfmwMT";

    FtpTestServer();
    explicit FtpTestServer(const Options& options);
    ~FtpTestServer();
    bool started() const { return started_; }
    QString error() const { return error_; }

    int port() const { return port_; }
    QString root() const { return root_.path(); }
    static QString user() { return QStringLiteral("kavorel"); }
    static QString password() { return QStringLiteral("s3nh@ftp"); }
    // A file's path under the served directory.
    QString pathOf(const QString& relative) const { return root_.filePath(relative); }
    // True once the server holds a stalled data connection of `command`.
    bool stalling(const QString& command) const;

private:
    QTemporaryDir root_;
    QTemporaryDir markers_;
    QProcess process_;
    int port_ = 0;
    bool started_ = false;
    QString error_;
};

// aiosmtpd keeping every message it receives in a maildir.
class SmtpTestServer {
public:
    // With `requireTls`, the server offers STARTTLS (a self-signed certificate made for the test)
    // and refuses mail until it is used. With `stallMessages`, it takes the whole message and then
    // never answers it (tests/support/smtp_test_handlers.py).
    explicit SmtpTestServer(bool requireTls = false, bool stallMessages = false);
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
