#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <chrono>
#include <functional>

typedef void CURL;
struct curl_slist;

// One libcurl easy handle with what both network clients need: the library initialised once, an
// error buffer, TCP keep-alive, progress and "connected" callbacks, the stall watch, and lists
// freed with the handle.
class CurlSession {
public:
    // Returns false to abort the transfer.
    using Progress = std::function<bool(qint64 downTotal, qint64 downNow, qint64 upTotal, qint64 upNow)>;

    CurlSession();
    ~CurlSession();
    CurlSession(const CurlSession&) = delete;
    CurlSession& operator=(const CurlSession&) = delete;

    explicit operator bool() const { return handle_ != nullptr; }
    CURL* handle() const { return handle_; }

    // An abort asked for once every byte has moved and the server has confirmed the transfer is not
    // honoured: the transfer has then taken place, and saying otherwise would hide a delivery.
    void onProgress(Progress progress) { progress_ = std::move(progress); }
    // Called once, when the connection is up and the request is about to go.
    void onConnected(std::function<void()> connected) { connected_ = std::move(connected); }
    // Received data is appended to `target`.
    void collectInto(QByteArray& target);

    // Once connected, the transfer is abandoned when no byte moves and the server says nothing for
    // `seconds`: while data flows (libcurl's low-speed limit), while a reply is awaited, and while
    // the end of a transfer is awaited (a watch on the progress reports). Before the connection is
    // up the connection timeout applies instead.
    void setStallTimeout(int seconds);

    int perform(); // a CURLcode
    // True when the last perform() ended because nothing moved for the stall timeout.
    bool stalled() const;
    // The most precise text libcurl has for `code`.
    QString errorText(int code) const;

    // The text of a stalled transfer.
    static QString stalledText(int seconds);

    // A curl_slist that frees itself; the strings are kept alive with it.
    class StringList {
    public:
        StringList() = default;
        ~StringList();
        StringList(const StringList&) = delete;
        StringList& operator=(const StringList&) = delete;
        void append(const QByteArray& text);
        curl_slist* list() const { return list_; }

    private:
        QList<QByteArray> texts_;
        curl_slist* list_ = nullptr;
    };

private:
    using Clock = std::chrono::steady_clock;

    static int progressThunk(void* self, long long dt, long long dn, long long ut, long long un);
    static int prereqThunk(void* self, char*, char*, int, int);
    static size_t writeThunk(char* data, size_t size, size_t count, void* target);
    bool stallWatchExpired(qint64 moved);
    bool confirmedByServer(qint64 dt, qint64 dn, qint64 ut, qint64 un) const;

    CURL* handle_ = nullptr;
    char errorBuffer_[256] = {};
    Progress progress_;
    std::function<void()> connected_;
    bool connectedReported_ = false;

    std::chrono::seconds stallTimeout_{0};
    qint64 lastMoved_ = -1;
    Clock::time_point lastMovement_;
    bool watchStalled_ = false;
    int lastCode_ = 0;
};
