#pragma once

#include <QDateTime>

// "Now" and "today" for the whole program: batch numbers and event dates depend on it, so tests
// replace it with a clock they set.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    QDate today() const { return now().date(); }
};

class SystemClock : public Clock {
public:
    // Whole milliseconds, local time: what the database stores.
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

// A clock that stands still until it is moved.
class ManualClock : public Clock {
public:
    explicit ManualClock(QDateTime start) : now_(std::move(start)) {}
    QDateTime now() const override { return now_; }
    void set(const QDateTime& value) { now_ = value; }
    void advanceSeconds(qint64 seconds) { now_ = now_.addSecs(seconds); }

private:
    QDateTime now_;
};
