#include "FtpClient.h"

#include "CurlSession.h"
#include "ProgramSettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <cstdio>
#include <curl/curl.h>
#include <unistd.h>

namespace {

constexpr long ConnectTimeoutSeconds = 30;

// Directories are written with either separator; FTP wants "/" and each level percent-encoded.
QString encodedPath(const QString& directory) {
    QStringList levels;
    for (const QString& level :
         QString(directory).replace(QLatin1Char('\\'), QLatin1Char('/')).split(QLatin1Char('/'))) {
        if (!level.isEmpty())
            levels << QString::fromLatin1(QUrl::toPercentEncoding(level));
    }
    return levels.join(QLatin1Char('/'));
}

bool startsWithSeparator(const QString& directory) {
    return directory.startsWith(QLatin1Char('/')) || directory.startsWith(QLatin1Char('\\'));
}

FtpResult::Failure failureOf(CURLcode code, FtpResult::Failure duringTransfer) {
    switch (code) {
    case CURLE_OK:
        return FtpResult::Failure::None;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_CONNECT:
    case CURLE_OPERATION_TIMEDOUT:
    case CURLE_WEIRD_SERVER_REPLY:
        return FtpResult::Failure::Connect;
    case CURLE_LOGIN_DENIED:
        return FtpResult::Failure::Login;
    case CURLE_REMOTE_ACCESS_DENIED:
        return FtpResult::Failure::ChangeDirectory;
    case CURLE_ABORTED_BY_CALLBACK:
        return FtpResult::Failure::Aborted;
    case CURLE_UPLOAD_FAILED:
    case CURLE_QUOTE_ERROR:
    case CURLE_REMOTE_FILE_NOT_FOUND:
    case CURLE_PARTIAL_FILE:
    case CURLE_FTP_COULDNT_RETR_FILE:
    case CURLE_FTP_PORT_FAILED:
    case CURLE_FTP_ACCEPT_FAILED:
    case CURLE_FTP_ACCEPT_TIMEOUT:
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
        return duringTransfer;
    case CURLE_READ_ERROR:
    case CURLE_WRITE_ERROR:
        return FtpResult::Failure::LocalFile;
    default:
        return FtpResult::Failure::Other;
    }
}

} // namespace

QString FtpResult::reason() const {
    switch (failure) {
    case Failure::None:
        return {};
    case Failure::ChangeDirectory:
        return QStringLiteral("Erro na troca de diretório.");
    case Failure::Upload:
        return QStringLiteral("Erro de Upload.");
    case Failure::Download:
    case Failure::List:
        return QStringLiteral("Erro de Download.");
    case Failure::Connect:
    case Failure::Login:
        return QStringLiteral("Erro ao tentar conectar. Verifique as configurações do Sistema");
    case Failure::Aborted:
        return QStringLiteral("Transferência interrompida.");
    case Failure::Stalled:
    case Failure::LocalFile:
    case Failure::Other:
        break;
    }
    return detail;
}

struct FtpClient::Transfer {
    QString url;
    FtpResult::Failure failureKind = FtpResult::Failure::Other;
    FILE* upload = nullptr;
    qint64 uploadSize = 0;
    FILE* download = nullptr;
    QByteArray* listing = nullptr;
    bool commandsOnly = false;     // no transfer: the directory changes and the commands after them
    bool reportsConnection = true; // the first step of the operation tells the caller it is connected
    QStringList postCommands;
    int code = 0; // libcurl's, once run
};

FtpClient::FtpClient(FtpEndpoint endpoint)
    : endpoint_(std::move(endpoint)), stallTimeout_(ProgramSettings().stallTimeoutSeconds()) {}

QString FtpClient::temporaryName(const QString& remoteName) {
    return remoteName + QStringLiteral(".tmp");
}

QString FtpClient::urlOf(const FtpEndpoint& endpoint, const QString& directory, const QString& name) {
    const QString path = encodedPath(directory);
    QString url =
        QStringLiteral("ftp://%1:%2/").arg(endpoint.host).arg(endpoint.port > 0 ? endpoint.port : 21);
    // In an ftp:// URL the path is taken from the login directory; an encoded "/" as its first
    // character makes libcurl start from the root.
    if (!path.isEmpty())
        url += (startsWithSeparator(directory) ? QStringLiteral("%2F") : QString()) + path + QLatin1Char('/');
    return url + QString::fromLatin1(QUrl::toPercentEncoding(name));
}

QString FtpClient::renameRefusedNote(const QString& temporary, const QString& remoteName, bool removed) {
    if (removed)
        return QStringLiteral("O servidor FTP não permitiu renomear %1 para %2: o arquivo temporário foi "
                              "removido e o arquivo foi enviado de novo, diretamente com o nome %2.")
            .arg(temporary, remoteName);
    return QStringLiteral("O servidor FTP não permitiu renomear %1 para %2 nem remover %1, que ficou no "
                          "servidor: o arquivo foi enviado de novo, diretamente com o nome %2.")
        .arg(temporary, remoteName);
}

FtpResult FtpClient::run(Transfer& transfer) {
    CurlSession curl;
    if (!curl) {
        return {FtpResult::Failure::Other, QStringLiteral("libcurl não iniciou")};
    }
    CURL* handle = curl.handle();
    const QByteArray url = transfer.url.toUtf8();
    const QByteArray user = endpoint_.user.toUtf8();
    const QByteArray password = endpoint_.password.toUtf8();
    curl_easy_setopt(handle, CURLOPT_URL, url.constData());
    curl_easy_setopt(handle, CURLOPT_USERNAME, user.constData());
    curl_easy_setopt(handle, CURLOPT_PASSWORD, password.constData());
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, ConnectTimeoutSeconds);
    curl_easy_setopt(handle, CURLOPT_FTPPORT, "-"); // active mode, on the address of the control link
    curl_easy_setopt(handle, CURLOPT_TRANSFERTEXT, 0L);
    curl.setStallTimeout(stallTimeout_);

    CurlSession::StringList post;
    for (const QString& command : transfer.postCommands)
        post.append(command.toUtf8());
    if (post.list())
        curl_easy_setopt(handle, CURLOPT_POSTQUOTE, post.list());

    if (transfer.upload) {
        curl_easy_setopt(handle, CURLOPT_UPLOAD, 1L);
        curl_easy_setopt(handle, CURLOPT_READDATA, transfer.upload);
        curl_easy_setopt(handle, CURLOPT_INFILESIZE_LARGE, curl_off_t(transfer.uploadSize));
    } else if (transfer.download) {
        curl_easy_setopt(handle, CURLOPT_WRITEDATA, transfer.download);
    } else if (transfer.listing) {
        curl_easy_setopt(handle, CURLOPT_DIRLISTONLY, 1L);
        curl.collectInto(*transfer.listing);
    } else if (transfer.commandsOnly) {
        curl_easy_setopt(handle, CURLOPT_NOBODY, 1L);
    }

    curl.onProgress([this, &transfer](qint64 downTotal, qint64 downNow, qint64, qint64 upNow) {
        if (progress_ && !transfer.commandsOnly) {
            if (transfer.upload)
                progress_(upNow, transfer.uploadSize);
            else
                progress_(downNow, downTotal);
        }
        return !aborted_;
    });
    curl.onConnected([this, &transfer] {
        if (connected_ && transfer.reportsConnection)
            connected_();
    });

    const CURLcode code = CURLcode(curl.perform());
    transfer.code = code;
    // What the transfer reports wins over an interruption asked for after it was done.
    if (code == CURLE_OK)
        return {};
    if (curl.stalled())
        return {FtpResult::Failure::Stalled, CurlSession::stalledText(stallTimeout_)};
    if (aborted_)
        return {FtpResult::Failure::Aborted, curl.errorText(code)};
    return {failureOf(code, transfer.failureKind), curl.errorText(code)};
}

FtpResult FtpClient::upload(const QString& localFile, const QString& directory, const QString& remoteName) {
    aborted_ = false;
    QFile file(localFile);
    if (!file.open(QIODevice::ReadOnly))
        return {FtpResult::Failure::LocalFile, file.errorString()};
    FILE* stream = fdopen(dup(file.handle()), "rb");
    if (!stream)
        return {FtpResult::Failure::LocalFile, QStringLiteral("não foi possível ler %1").arg(localFile)};
    const QString temporary = temporaryName(remoteName);
    Transfer transfer;
    transfer.url = urlOf(endpoint_, directory, temporary);
    transfer.failureKind = FtpResult::Failure::Upload;
    transfer.upload = stream;
    transfer.uploadSize = file.size();
    // After the transfer the session is in the target directory: rename there.
    transfer.postCommands << QStringLiteral("RNFR ") + temporary << QStringLiteral("RNTO ") + remoteName;
    FtpResult result = run(transfer);
    if (transfer.code == CURLE_QUOTE_ERROR && !aborted_)
        result = uploadWithoutRename(stream, transfer.uploadSize, directory, remoteName);
    fclose(stream);
    return result;
}

// The data arrived under the temporary name but the account may not rename it (a drop box): the
// temporary file goes, where the account may delete, and the data goes again under the real name.
FtpResult FtpClient::uploadWithoutRename(FILE* stream, qint64 size, const QString& directory,
                                         const QString& remoteName) {
    const QString temporary = temporaryName(remoteName);
    Transfer removal;
    removal.url = urlOf(endpoint_, directory, QString());
    removal.commandsOnly = true;
    removal.reportsConnection = false;
    removal.postCommands << QStringLiteral("DELE ") + temporary;
    const bool removed = run(removal).ok();
    if (aborted_)
        return {FtpResult::Failure::Aborted, {}};
    if (fseek(stream, 0, SEEK_SET) != 0)
        return {FtpResult::Failure::LocalFile, QStringLiteral("não foi possível reler o arquivo")};
    Transfer direct;
    direct.url = urlOf(endpoint_, directory, remoteName);
    direct.failureKind = FtpResult::Failure::Upload;
    direct.upload = stream;
    direct.uploadSize = size;
    direct.reportsConnection = false;
    FtpResult result = run(direct);
    result.notes.prepend(renameRefusedNote(temporary, remoteName, removed));
    return result;
}

FtpResult FtpClient::list(const QString& directory, QStringList& names) {
    aborted_ = false;
    names.clear();
    QByteArray listing;
    Transfer transfer;
    transfer.url = urlOf(endpoint_, directory, QString()); // ends with "/": a listing
    transfer.failureKind = FtpResult::Failure::List;
    transfer.listing = &listing;
    const FtpResult result = run(transfer);
    if (!result.ok())
        return result;
    names = namesOfListing(listing);
    return result;
}

QStringList FtpClient::namesOfListing(const QByteArray& listing) {
    QStringList names;
    for (const QByteArray& line : listing.split('\n')) {
        // A server may list paths ("dir/name"); a path ending in "/", "/." or "/.." names no file.
        const QString name = QFileInfo(QString::fromUtf8(line).trimmed()).fileName();
        if (!name.isEmpty() && name != QLatin1String(".") && name != QLatin1String(".."))
            names << name;
    }
    return names;
}

FtpResult FtpClient::download(const QString& directory, const QString& remoteName, const QString& localFile) {
    aborted_ = false;
    const QString partial = localFile + QStringLiteral(".part");
    QFile::remove(partial);
    FILE* stream = fopen(QFile::encodeName(partial).constData(), "wb");
    if (!stream)
        return {FtpResult::Failure::LocalFile, QStringLiteral("não foi possível criar %1").arg(partial)};
    Transfer transfer;
    transfer.url = urlOf(endpoint_, directory, remoteName);
    transfer.failureKind = FtpResult::Failure::Download;
    transfer.download = stream;
    FtpResult result = run(transfer);
    const bool flushed = fflush(stream) == 0 && fsync(fileno(stream)) == 0;
    const bool closed = fclose(stream) == 0;
    if (result.ok() && !(flushed && closed))
        result = {FtpResult::Failure::LocalFile, QStringLiteral("não foi possível gravar %1").arg(partial)};
    if (result.ok()) {
        QFile::remove(localFile);
        if (!QFile::rename(partial, localFile))
            result = {FtpResult::Failure::LocalFile,
                      QStringLiteral("não foi possível gravar %1").arg(localFile)};
    }
    if (!result.ok())
        QFile::remove(partial);
    return result;
}
