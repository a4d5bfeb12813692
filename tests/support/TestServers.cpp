#include "TestServers.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QThread>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

const QString Python = QStringLiteral("/usr/bin/python3");

bool accepts(int port) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0)
        return false;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(quint16(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return ok;
}

// Starts the server and waits until its port answers.
bool start(QProcess& process, const QStringList& arguments, int port, QString& error) {
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(Python, arguments);
    if (!process.waitForStarted(5000)) {
        error = process.errorString();
        return false;
    }
    const QDeadlineTimer deadline(15000);
    while (!deadline.hasExpired()) {
        if (accepts(port))
            return true;
        if (process.state() != QProcess::Running) {
            error = QString::fromLocal8Bit(process.readAll());
            return false;
        }
        QThread::msleep(50);
    }
    error = QStringLiteral("the server did not answer on port %1: %2")
                .arg(port)
                .arg(QString::fromLocal8Bit(process.readAll()));
    return false;
}

void stop(QProcess& process) {
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished(3000);
    }
}

} // namespace

int freeLocalPort() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = 0;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    if (fd >= 0)
        ::close(fd);
    return port;
}

FtpTestServer::FtpTestServer() : port_(freeLocalPort()) {
    started_ = start(process_,
                     {QStringLiteral("-m"), QStringLiteral("pyftpdlib"), QStringLiteral("-i"),
                      QStringLiteral("127.0.0.1"), QStringLiteral("-p"), QString::number(port_),
                      QStringLiteral("-u"), user(), QStringLiteral("-P"), password(), QStringLiteral("-d"),
                      root_.path(), QStringLiteral("-w")},
                     port_, error_);
}

FtpTestServer::~FtpTestServer() {
    stop(process_);
}

SmtpTestServer::SmtpTestServer(bool requireTls) : port_(freeLocalPort()) {
    QStringList arguments{QStringLiteral("-m"), QStringLiteral("aiosmtpd"), QStringLiteral("-n"),
                          QStringLiteral("-l"), QStringLiteral("127.0.0.1:%1").arg(port_)};
    if (requireTls) {
        const QString cert = work_.filePath(QStringLiteral("cert.pem"));
        const QString key = work_.filePath(QStringLiteral("key.pem"));
        if (QProcess::execute(QStringLiteral("openssl"),
                              {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
                               QStringLiteral("rsa:2048"), QStringLiteral("-nodes"), QStringLiteral("-days"),
                               QStringLiteral("1"), QStringLiteral("-subj"), QStringLiteral("/CN=127.0.0.1"),
                               QStringLiteral("-keyout"), key, QStringLiteral("-out"), cert}) != 0) {
            error_ = QStringLiteral("openssl could not make a certificate");
            return;
        }
        arguments << QStringLiteral("--tlscert") << cert << QStringLiteral("--tlskey") << key;
    }
    // aiosmtpd creates the maildir itself and refuses one that exists.
    arguments << QStringLiteral("-c") << QStringLiteral("aiosmtpd.handlers.Mailbox")
              << work_.filePath(QStringLiteral("maildir"));
    started_ = start(process_, arguments, port_, error_);
}

SmtpTestServer::~SmtpTestServer() {
    stop(process_);
}

QList<QByteArray> SmtpTestServer::messages(int atLeast, int waitMs) const {
    const QDeadlineTimer deadline(waitMs);
    QList<QByteArray> found;
    do {
        found.clear();
        const QDir inbox(work_.filePath(QStringLiteral("maildir/new")));
        for (const QString& name : inbox.entryList(QDir::Files, QDir::Time | QDir::Reversed)) {
            QFile file(inbox.filePath(name));
            if (file.open(QIODevice::ReadOnly))
                found << file.readAll();
        }
        if (found.size() >= atLeast)
            break;
        QThread::msleep(50);
    } while (!deadline.hasExpired());
    return found;
}
