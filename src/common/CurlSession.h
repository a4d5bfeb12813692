#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>

typedef void CURL;
struct curl_slist;

// One libcurl easy handle with what both network clients need: the library initialised once, an
// error buffer, progress and "connected" callbacks, and lists freed with the handle.
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

    void onProgress(Progress progress) { progress_ = std::move(progress); }
    // Called once, when the connection is up and the request is about to go.
    void onConnected(std::function<void()> connected) { connected_ = std::move(connected); }
    // Received data is appended to `target`.
    void collectInto(QByteArray& target);

    int perform(); // a CURLcode
    // The most precise text libcurl has for `code`.
    QString errorText(int code) const;

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
    static int progressThunk(void* self, long long dt, long long dn, long long ut, long long un);
    static int prereqThunk(void* self, char*, char*, int, int);
    static size_t writeThunk(char* data, size_t size, size_t count, void* target);

    CURL* handle_ = nullptr;
    char errorBuffer_[256] = {};
    Progress progress_;
    std::function<void()> connected_;
    bool connectedReported_ = false;
};
