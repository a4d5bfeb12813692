#pragma once

#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>

// Where an FTP server is and who logs in.
struct FtpEndpoint {
    QString host;
    int port = 21;
    QString user;
    QString password;
};

// The outcome of one FTP operation. `failure` tells the cases the screens word differently;
// `detail` is the client's own text, for logs.
struct FtpResult {
    enum class Failure {
        None,
        Connect,
        Login,
        ChangeDirectory,
        Upload,
        Download,
        List,
        LocalFile,
        Aborted,
        Other
    };
    Failure failure = Failure::None;
    QString detail;

    bool ok() const { return failure == Failure::None; }
    // The words the exchange screens give a failure: "Erro na troca de diretório.", "Erro de
    // Upload.", "Erro de Download."; a connection or login failure is named too, never left blank.
    QString reason() const;
};

// An FTP client over libcurl: active mode, binary transfers, a 30-second connection timeout. Every
// operation is one blocking call that a worker thread may run; progress and the moment the
// connection is established arrive through callbacks on that thread, and abort() may be called
// from any thread.
class FtpClient {
public:
    using Progress = std::function<void(qint64 done, qint64 total)>;
    using Connected = std::function<void()>;

    explicit FtpClient(FtpEndpoint endpoint);

    void setProgress(Progress progress) { progress_ = std::move(progress); }
    // Called once the server has accepted the login, before the transfer starts.
    void setConnected(Connected connected) { connected_ = std::move(connected); }

    // Ends the running operation at its next progress report (Failure::Aborted).
    void abort() { aborted_ = true; }
    bool wasAborted() const { return aborted_; }

    // Uploads a local file into `directory` under `remoteName`. The data goes under a temporary
    // name first and is renamed when complete, so the server never shows a partial file under the
    // real name.
    FtpResult upload(const QString& localFile, const QString& directory, const QString& remoteName);
    // The names in `directory`.
    FtpResult list(const QString& directory, QStringList& names);
    // Downloads `directory`/`remoteName` into `localFile`, written under a temporary name and
    // renamed when complete, so a failed download never leaves a partial file behind.
    FtpResult download(const QString& directory, const QString& remoteName, const QString& localFile);

    // The temporary name an upload uses on the server.
    static QString temporaryName(const QString& remoteName);

private:
    struct Transfer;
    FtpResult run(Transfer& transfer);
    QString urlOf(const QString& directory, const QString& name) const;

    FtpEndpoint endpoint_;
    Progress progress_;
    Connected connected_;
    std::atomic<bool> aborted_{false};
};
