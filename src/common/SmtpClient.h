#pragma once

#include <QDateTime>
#include <QString>
#include <atomic>
#include <functional>

// One message with one file attached, as the program mails a batch.
struct SmtpMessage {
    QString host;
    int port = 0;
    QString greetingName; // the name given in the HELO/EHLO greeting
    QString fromName;
    QString fromAddress;
    QString toAddress;
    QString subject;
    QString body; // plain text, us-ascii
    QString attachmentPath;
    QDateTime date; // the Date header; now when invalid
};

struct SmtpResult {
    enum class Failure {
        None,
        InvalidHost,
        Connect,
        RecipientRefused,
        Send,
        TlsRequired,
        LocalFile,
        Aborted,
        Stalled // nothing moved for the stall timeout: `detail` says so in the program's words
    };
    Failure failure = Failure::None;
    QString detail; // the client's own text, for logs

    bool ok() const { return failure == Failure::None; }
};

// An SMTP client over libcurl. The message is MIME multipart/mixed: a us-ascii text part and the
// file as "application/octet-stream" in base64 under its own name. STARTTLS is used whenever the
// server offers it; TCP keep-alive is on, and a transfer that moves no byte for the stall timeout
// (from the program's settings file) is abandoned. One blocking call that a worker thread may run;
// progress arrives through a callback on that thread, and abort() may be called from any thread.
class SmtpClient {
public:
    using Progress = std::function<void(qint64 sent, qint64 total)>;
    using Connected = std::function<void()>;

    SmtpClient();

    int stallTimeout() const { return stallTimeout_; }
    void setStallTimeout(int seconds) { stallTimeout_ = seconds; }
    void setProgress(Progress progress) { progress_ = std::move(progress); }
    void setConnected(Connected connected) { connected_ = std::move(connected); }
    // A message the server has already accepted still ends in success.
    void abort() { aborted_ = true; }
    bool wasAborted() const { return aborted_; }

    SmtpResult send(const SmtpMessage& message);

    // The message as it goes on the wire (headers and MIME body), for checking and for tests.
    static QByteArray compose(const SmtpMessage& message, const QByteArray& attachment,
                              const QByteArray& boundary);

private:
    int stallTimeout_;
    Progress progress_;
    Connected connected_;
    std::atomic<bool> aborted_{false};
};
