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

int CurlSession::perform() {
    errorBuffer_[0] = '\0';
    connectedReported_ = false;
    return curl_easy_perform(handle_);
}

QString CurlSession::errorText(int code) const {
    if (errorBuffer_[0] != '\0')
        return QString::fromUtf8(errorBuffer_).trimmed();
    return QString::fromUtf8(curl_easy_strerror(CURLcode(code)));
}

int CurlSession::progressThunk(void* self, long long dt, long long dn, long long ut, long long un) {
    auto* session = static_cast<CurlSession*>(self);
    if (session->progress_ && !session->progress_(dt, dn, ut, un))
        return 1; // ends the transfer with CURLE_ABORTED_BY_CALLBACK
    return 0;
}

int CurlSession::prereqThunk(void* self, char*, char*, int, int) {
    auto* session = static_cast<CurlSession*>(self);
    if (!session->connectedReported_) {
        session->connectedReported_ = true;
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
