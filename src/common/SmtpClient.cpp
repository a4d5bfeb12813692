#include "SmtpClient.h"

#include "CurlSession.h"
#include "ProgramSettings.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRandomGenerator>
#include <QUrl>
#include <curl/curl.h>

namespace {

constexpr long ConnectTimeoutSeconds = 30;

// RFC 2047 encoded word when the text is not plain ASCII (certifier names carry accents).
QByteArray headerText(const QString& text) {
    bool ascii = true;
    for (QChar c : text)
        ascii = ascii && c.unicode() >= 32 && c.unicode() < 127;
    if (ascii)
        return text.toLatin1();
    return "=?UTF-8?B?" + text.toUtf8().toBase64() + "?=";
}

QByteArray rfc2822Date(const QDateTime& when) {
    const QDateTime local = when.isValid() ? when : QDateTime::currentDateTime();
    const int offset = local.offsetFromUtc() / 60;
    const QByteArray zone = QStringLiteral("%1%2%3")
                                .arg(offset < 0 ? QLatin1Char('-') : QLatin1Char('+'))
                                .arg(qAbs(offset) / 60, 2, 10, QLatin1Char('0'))
                                .arg(qAbs(offset) % 60, 2, 10, QLatin1Char('0'))
                                .toLatin1();
    return QLocale::c().toString(local, QStringLiteral("ddd, dd MMM yyyy hh:mm:ss ")).toLatin1() + zone;
}

QByteArray wrapped(const QByteArray& base64) {
    QByteArray lines;
    for (qsizetype i = 0; i < base64.size(); i += 76)
        lines += base64.mid(i, 76) + "\r\n";
    return lines;
}

// Lines starting with "." are doubled by libcurl itself; only line ends need care here.
QByteArray crlf(const QString& text) {
    QByteArray bytes = text.toLatin1();
    bytes.replace("\r\n", "\n");
    bytes.replace('\n', "\r\n");
    return bytes;
}

SmtpResult::Failure failureOf(CURLcode code, const QString& detail) {
    switch (code) {
    case CURLE_OK:
        return SmtpResult::Failure::None;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_URL_MALFORMAT:
        return SmtpResult::Failure::InvalidHost;
    case CURLE_COULDNT_CONNECT:
    case CURLE_OPERATION_TIMEDOUT:
    case CURLE_WEIRD_SERVER_REPLY:
        return SmtpResult::Failure::Connect;
    case CURLE_USE_SSL_FAILED:
        return SmtpResult::Failure::TlsRequired;
    case CURLE_ABORTED_BY_CALLBACK:
        return SmtpResult::Failure::Aborted;
    default:
        if (detail.contains(QLatin1String("RCPT"), Qt::CaseInsensitive))
            return SmtpResult::Failure::RecipientRefused;
        return SmtpResult::Failure::Send;
    }
}

struct Upload {
    QByteArray data;
    qsizetype position = 0;
};

size_t readUpload(char* buffer, size_t size, size_t count, void* source) {
    auto* upload = static_cast<Upload*>(source);
    const size_t wanted = size * count;
    const size_t left = size_t(upload->data.size() - upload->position);
    const size_t n = std::min(wanted, left);
    memcpy(buffer, upload->data.constData() + upload->position, n);
    upload->position += qsizetype(n);
    return n;
}

} // namespace

SmtpClient::SmtpClient() : stallTimeout_(ProgramSettings().stallTimeoutSeconds()) {}

QByteArray SmtpClient::compose(const SmtpMessage& message, const QByteArray& attachment,
                               const QByteArray& boundary) {
    const QByteArray fileName = QFileInfo(message.attachmentPath).fileName().toLatin1();
    const QByteArray from = headerText(message.fromName) + " <" + message.fromAddress.toLatin1() + ">";
    const QByteArray domain = message.fromAddress.section(QLatin1Char('@'), 1).toLatin1();
    QByteArray m;
    m += "Date: " + rfc2822Date(message.date) + "\r\n";
    m += "From: " + from + "\r\n";
    m += "To: <" + message.toAddress.toLatin1() + ">\r\n";
    m += "Subject: " + headerText(message.subject) + "\r\n";
    m += "Message-ID: <" + QByteArray::number(QRandomGenerator::global()->generate64(), 16) + "." +
         QByteArray::number(QDateTime::currentMSecsSinceEpoch()) + "@" +
         (domain.isEmpty() ? "tarvendix" : domain) + ">\r\n";
    m += "MIME-Version: 1.0\r\n";
    m += "Content-Type: multipart/mixed; boundary=\"" + boundary + "\"\r\n";
    m += "\r\n";
    m += "--" + boundary + "\r\n";
    m += "Content-Type: text/plain; charset=\"us-ascii\"\r\n";
    m += "Content-Transfer-Encoding: 7bit\r\n\r\n";
    m += crlf(message.body) + "\r\n";
    m += "--" + boundary + "\r\n";
    m += "Content-Type: application/octet-stream; name=\"" + fileName + "\"\r\n";
    m += "Content-Transfer-Encoding: base64\r\n";
    m += "Content-Disposition: attachment; filename=\"" + fileName + "\"\r\n\r\n";
    m += wrapped(attachment.toBase64());
    m += "--" + boundary + "--\r\n";
    return m;
}

SmtpResult SmtpClient::send(const SmtpMessage& message) {
    aborted_ = false;
    if (message.port <= 0 || message.port > 65535)
        return {SmtpResult::Failure::Connect, QStringLiteral("porta SMTP inválida")};
    QFile file(message.attachmentPath);
    if (!file.open(QIODevice::ReadOnly))
        return {SmtpResult::Failure::LocalFile, file.errorString()};
    const QByteArray attachment = file.readAll();
    if (file.error() != QFile::NoError)
        return {SmtpResult::Failure::LocalFile, file.errorString()};

    const QByteArray boundary =
        "tarvendix-" + QByteArray::number(QRandomGenerator::global()->generate64(), 36);
    Upload upload{compose(message, attachment, boundary)};

    CurlSession curl;
    if (!curl)
        return {SmtpResult::Failure::Send, QStringLiteral("libcurl não iniciou")};
    CURL* handle = curl.handle();
    // The URL's path is the name libcurl gives in its greeting.
    const QByteArray url = QStringLiteral("smtp://%1:%2/%3")
                               .arg(message.host)
                               .arg(message.port)
                               .arg(QString::fromLatin1(QUrl::toPercentEncoding(message.greetingName)))
                               .toUtf8();
    const QByteArray from = "<" + message.fromAddress.toLatin1() + ">";
    CurlSession::StringList recipients;
    recipients.append("<" + message.toAddress.toLatin1() + ">");
    curl_easy_setopt(handle, CURLOPT_URL, url.constData());
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, ConnectTimeoutSeconds);
    curl.setStallTimeout(stallTimeout_);
    curl_easy_setopt(handle, CURLOPT_USE_SSL, long(CURLUSESSL_TRY));
    curl_easy_setopt(handle, CURLOPT_MAIL_FROM, from.constData());
    curl_easy_setopt(handle, CURLOPT_MAIL_RCPT, recipients.list());
    curl_easy_setopt(handle, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(handle, CURLOPT_READFUNCTION, &readUpload);
    curl_easy_setopt(handle, CURLOPT_READDATA, &upload);
    curl_easy_setopt(handle, CURLOPT_INFILESIZE_LARGE, curl_off_t(upload.data.size()));

    const qint64 total = upload.data.size();
    curl.onProgress([this, total](qint64, qint64, qint64, qint64 upNow) {
        if (progress_)
            progress_(upNow, total);
        return !aborted_;
    });
    curl.onConnected([this] {
        if (connected_)
            connected_();
    });
    const int code = curl.perform();
    // What the server reports wins over an interruption asked for after it accepted the message.
    if (code == CURLE_OK)
        return {};
    if (curl.stalled())
        return {SmtpResult::Failure::Stalled, CurlSession::stalledText(stallTimeout_)};
    if (aborted_)
        return {SmtpResult::Failure::Aborted, curl.errorText(code)};
    const QString detail = curl.errorText(code);
    SmtpResult::Failure failure = failureOf(CURLcode(code), detail);
    // A server that demands TLS without offering it refuses the mail: say so plainly.
    if (failure == SmtpResult::Failure::Send &&
        (detail.contains(QLatin1String("STARTTLS"), Qt::CaseInsensitive) ||
         detail.contains(QLatin1String("530"))))
        failure = SmtpResult::Failure::TlsRequired;
    return {failure, detail};
}
