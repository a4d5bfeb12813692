#include "TestServers.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

const QString Python = QStringLiteral("/usr/bin/python3");

// The servers need programs that scripts/setup installs; one that is missing is named, so the
// failure says what to install rather than how the server failed.
QString missingProgram(const QString& program) {
    const bool found = QDir::isAbsolutePath(program) ? QFileInfo(program).isExecutable()
                                                     : !QStandardPaths::findExecutable(program).isEmpty();
    return found ? QString()
                 : QStringLiteral("the program %1 is not installed (scripts/setup installs it)").arg(program);
}

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
    if (const QString missing = missingProgram(Python); !missing.isEmpty()) {
        error = missing;
        return false;
    }
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

FtpTestServer::FtpTestServer() : FtpTestServer(Options{}) {}

// The server binds the port itself (port 0) and says which: a port picked beforehand could be taken
// by another test's server or client in between, and this test would then talk to that one.
FtpTestServer::FtpTestServer(const Options& options) {
    if (const QString missing = missingProgram(Python); !missing.isEmpty()) {
        error_ = missing;
        return;
    }
    QStringList arguments{QStringLiteral(TARVENDIX_SOURCE_DIR "/tests/support/ftp_test_server.py"),
                          QStringLiteral("--root"), root_.path(), QStringLiteral("--marker"),
                          markers_.path()};
    QList<Account> accounts{
        {user(), password(), QString::fromLatin1(AllPermissions), options.loginDirectory}};
    accounts += options.otherAccounts;
    for (const Account& account : accounts) {
        QDir(root_.path()).mkpath(QStringLiteral(".") + account.loginDirectory);
        arguments << QStringLiteral("--user")
                  << QStringList{account.user, account.password, account.permissions, account.loginDirectory}
                         .join(QLatin1Char(':'));
    }
    if (!options.stall.isEmpty())
        arguments << QStringLiteral("--stall") << options.stall.join(QLatin1Char(','));
    process_.setProcessChannelMode(QProcess::MergedChannels);
    process_.start(Python, arguments);
    if (!process_.waitForStarted(5000)) {
        error_ = process_.errorString();
        return;
    }
    static const QRegularExpression listening(QStringLiteral("listening on [0-9.]+:([0-9]+)"));
    QByteArray output;
    const QDeadlineTimer deadline(15000);
    while (!deadline.hasExpired() && port_ == 0) {
        if (!process_.waitForReadyRead(100) && process_.state() != QProcess::Running)
            break;
        output += process_.readAll();
        const QRegularExpressionMatch match = listening.match(QString::fromLocal8Bit(output));
        if (match.hasMatch())
            port_ = match.captured(1).toInt();
    }
    if (port_ == 0) {
        error_ = QStringLiteral("the FTP server did not start: ") + QString::fromLocal8Bit(output);
        return;
    }
    started_ = accepts(port_);
    if (!started_)
        error_ = QStringLiteral("the FTP server does not answer on port %1").arg(port_);
}

bool FtpTestServer::stalling(const QString& command) const {
    return QFile::exists(QDir(markers_.path()).filePath(command));
}

FtpTestServer::~FtpTestServer() {
    stop(process_);
}

SmtpTestServer::SmtpTestServer(bool requireTls, bool stallMessages) : port_(freeLocalPort()) {
    QStringList arguments; // after the address
    if (requireTls) {
        const QString cert = work_.filePath(QStringLiteral("cert.pem"));
        const QString key = work_.filePath(QStringLiteral("key.pem"));
        if (const QString missing = missingProgram(QStringLiteral("openssl")); !missing.isEmpty()) {
            error_ = missing;
            return;
        }
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
    if (stallMessages) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("PYTHONPATH"),
                           QStringLiteral(TARVENDIX_SOURCE_DIR "/tests/support"));
        process_.setProcessEnvironment(environment);
        arguments << QStringLiteral("-c") << QStringLiteral("smtp_test_handlers.Stalling");
    } else {
        // aiosmtpd creates the maildir itself and refuses one that exists.
        arguments << QStringLiteral("-c") << QStringLiteral("aiosmtpd.handlers.Mailbox")
                  << work_.filePath(QStringLiteral("maildir"));
    }
    // aiosmtpd cannot be asked for a port of its own choosing: a port picked beforehand may be taken
    // by another test in between, and then the port answers while our server has died; try again.
    for (int attempt = 0; attempt < 5 && !started_; ++attempt) {
        if (attempt > 0) {
            stop(process_);
            QDir(work_.filePath(QStringLiteral("maildir"))).removeRecursively();
            port_ = freeLocalPort();
        }
        const QStringList address{QStringLiteral("-m"), QStringLiteral("aiosmtpd"), QStringLiteral("-n"),
                                  QStringLiteral("-l"), QStringLiteral("127.0.0.1:%1").arg(port_)};
        started_ = start(process_, address + arguments, port_, error_);
        if (started_) {
            QThread::msleep(300);
            started_ = process_.state() == QProcess::Running;
            if (!started_)
                error_ = QStringLiteral("port %1 was taken: ").arg(port_) +
                         QString::fromLocal8Bit(process_.readAll());
        }
    }
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
