#pragma once

#include <QString>
#include <QStringList>
#include <atomic>
#include <cstdio>
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
        Stalled, // nothing moved for the stall timeout: `detail` says so in the program's words
        Other
    };
    FtpResult() = default;
    FtpResult(Failure failure, QString detail) : failure(failure), detail(std::move(detail)) {}

    Failure failure = Failure::None;
    QString detail;
    // What the transfer had to do differently, for the log (a server that refused the rename).
    QStringList notes;

    bool ok() const { return failure == Failure::None; }
    // The words the exchange screens give a failure: "Erro na troca de diretório.", "Erro de
    // Upload.", "Erro de Download."; a connection or login failure and a stalled transfer are named
    // too, never left blank.
    QString reason() const;
};

// An FTP client over libcurl: active mode, binary transfers, a 30-second connection timeout, TCP
// keep-alive, and a transfer that moves no byte for the stall timeout is abandoned. Every
// operation is one blocking call that a worker thread may run; progress and the moment the
// connection is established arrive through callbacks on that thread, and abort() may be called
// from any thread.
//
// Directories are written with either separator. One that begins with a separator and names a
// level ("/remessas/oc") is absolute; any other is taken from the login directory, and an empty
// one or "/" alone is the login directory itself.
class FtpClient {
public:
    using Progress = std::function<void(qint64 done, qint64 total)>;
    using Connected = std::function<void()>;

    // The stall timeout comes from the program's settings file.
    explicit FtpClient(FtpEndpoint endpoint);

    int stallTimeout() const { return stallTimeout_; }
    void setStallTimeout(int seconds) { stallTimeout_ = seconds; }

    void setProgress(Progress progress) { progress_ = std::move(progress); }
    // Called once the server has accepted the login, before the transfer starts.
    void setConnected(Connected connected) { connected_ = std::move(connected); }

    // Ends the running operation at its next progress report (Failure::Aborted). An operation the
    // server has already confirmed still ends in success.
    void abort() { aborted_ = true; }
    bool wasAborted() const { return aborted_; }

    // Uploads a local file into `directory` under `remoteName`. The data goes under a temporary
    // name first and is renamed when complete, so the server never shows a partial file under the
    // real name. An account that may not rename (a drop box) gets the temporary file removed and
    // the file uploaded again under the real name; the result's notes say so.
    FtpResult upload(const QString& localFile, const QString& directory, const QString& remoteName);
    // The names in `directory`.
    FtpResult list(const QString& directory, QStringList& names);
    // The names of a listing as the server sent it: one per line, without blanks around it, the
    // last path component only, "." and ".." left out.
    static QStringList namesOfListing(const QByteArray& listing);
    // Downloads `directory`/`remoteName` into `localFile`, written under a temporary name and
    // renamed when complete, so a failed download never leaves a partial file behind.
    FtpResult download(const QString& directory, const QString& remoteName, const QString& localFile);

    // The temporary name an upload uses on the server.
    static QString temporaryName(const QString& remoteName);
    // The URL of `name` in `directory` on the endpoint's server (a directory's own URL when `name`
    // is empty): an absolute directory starts with "%2F" after the host.
    static QString urlOf(const FtpEndpoint& endpoint, const QString& directory, const QString& name);
    // The notes of an upload whose rename the server refused.
    static QString renameRefusedNote(const QString& temporary, const QString& remoteName, bool removed);

private:
    struct Transfer;
    FtpResult run(Transfer& transfer);
    FtpResult uploadWithoutRename(FILE* stream, qint64 size, const QString& directory,
                                  const QString& remoteName);

    FtpEndpoint endpoint_;
    int stallTimeout_;
    Progress progress_;
    Connected connected_;
    std::atomic<bool> aborted_{false};
};
