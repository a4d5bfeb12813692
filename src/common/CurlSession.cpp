#include "CurlSession.h"

#include <curl/curl.h>
#include <mutex>

namespace {

void initialiseOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

} // namespace

CurlSession::CurlSession() {
    initialiseOnce();
    handle_ = curl_easy_init();
    if (!handle_)
        return;
    curl_easy_setopt(handle_, CURLOPT_ERRORBUFFER, errorBuffer_);
    curl_easy_setopt(handle_, CURLOPT_NOSIGNAL, 1L); // safe on worker threads
    // A control connection stays silent for the whole of a long upload: keep it known to routers.
    curl_easy_setopt(handle_, CURLOPT_TCP_KEEPALIVE, 1L);
    curl_easy_setopt(handle_, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(handle_, CURLOPT_XFERINFOFUNCTION, &CurlSession::progressThunk);
    curl_easy_setopt(handle_, CURLOPT_XFERINFODATA, this);
    curl_easy_setopt(handle_, CURLOPT_PREREQFUNCTION, &CurlSession::prereqThunk);
    curl_easy_setopt(handle_, CURLOPT_PREREQDATA, this);
}

CurlSession::~CurlSession() {
    if (handle_)
        curl_easy_cleanup(handle_);
}

void CurlSession::collectInto(QByteArray& target) {
    curl_easy_setopt(handle_, CURLOPT_WRITEFUNCTION, &CurlSession::writeThunk);
    curl_easy_setopt(handle_, CURLOPT_WRITEDATA, &target);
}

void CurlSession::setStallTimeout(int seconds) {
    stallTimeout_ = std::chrono::seconds(seconds > 0 ? seconds : 0);
    if (seconds <= 0)
        return;
    curl_easy_setopt(handle_, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(handle_, CURLOPT_LOW_SPEED_TIME, long(seconds));
    curl_easy_setopt(handle_, CURLOPT_SERVER_RESPONSE_TIMEOUT, long(seconds));
}

int CurlSession::perform() {
    errorBuffer_[0] = '\0';
    connectedReported_ = false;
    watchStalled_ = false;
    lastMoved_ = -1;
    lastCode_ = curl_easy_perform(handle_);
    return lastCode_;
}

bool CurlSession::stalled() const {
    // libcurl's own limits end with a timeout; before the connection is up that is the connection's.
    return watchStalled_ || (lastCode_ == CURLE_OPERATION_TIMEDOUT && connectedReported_);
}

QString CurlSession::errorText(int code) const {
    if (errorBuffer_[0] != '\0')
        return QString::fromUtf8(errorBuffer_).trimmed();
    return QString::fromUtf8(curl_easy_strerror(CURLcode(code)));
}

QString CurlSession::stalledText(int seconds) {
    return QStringLiteral("A transferência foi abandonada: nenhum dado foi transferido em %1 %2")
        .arg(seconds)
        .arg(seconds == 1 ? QStringLiteral("segundo") : QStringLiteral("segundos"));
}

// libcurl reports progress about once a second even while nothing moves, also while it waits for
// the server's word on a finished transfer, where its low-speed limit does not reach.
bool CurlSession::stallWatchExpired(qint64 moved) {
    if (stallTimeout_.count() <= 0 || !connectedReported_)
        return false;
    const Clock::time_point now = Clock::now();
    if (moved != lastMoved_) {
        lastMoved_ = moved;
        lastMovement_ = now;
        return false;
    }
    if (now - lastMovement_ < stallTimeout_)
        return false;
    watchStalled_ = true;
    return true;
}

// Every byte has moved and the server's last reply is a positive completion (FTP 226 or the 250 of
// the rename after it, SMTP 250 after the message): during the transfer it is 1xx (FTP) or 354
// (SMTP), so this holds only once the server has the data.
bool CurlSession::confirmedByServer(qint64 dt, qint64 dn, qint64 ut, qint64 un) const {
    const bool allMoved = (ut > 0 && un >= ut) || (dt > 0 && dn >= dt);
    if (!allMoved)
        return false;
    long reply = 0;
    curl_easy_getinfo(handle_, CURLINFO_RESPONSE_CODE, &reply);
    return reply >= 200 && reply < 300;
}

int CurlSession::progressThunk(void* self, long long dt, long long dn, long long ut, long long un) {
    auto* session = static_cast<CurlSession*>(self);
    if (session->stallWatchExpired(dn + un))
        return 1; // ends the transfer with CURLE_ABORTED_BY_CALLBACK
    if (session->progress_ && !session->progress_(dt, dn, ut, un) &&
        !session->confirmedByServer(dt, dn, ut, un))
        return 1;
    return 0;
}

int CurlSession::prereqThunk(void* self, char*, char*, int, int) {
    auto* session = static_cast<CurlSession*>(self);
    if (!session->connectedReported_) {
        session->connectedReported_ = true;
        session->lastMovement_ = Clock::now();
        if (session->connected_)
            session->connected_();
    }
    return CURL_PREREQFUNC_OK;
}

size_t CurlSession::writeThunk(char* data, size_t size, size_t count, void* target) {
    static_cast<QByteArray*>(target)->append(data, qsizetype(size * count));
    return size * count;
}

CurlSession::StringList::~StringList() {
    if (list_)
        curl_slist_free_all(list_);
}

void CurlSession::StringList::append(const QByteArray& text) {
    texts_.append(text);
    list_ = curl_slist_append(list_, texts_.last().constData());
}
