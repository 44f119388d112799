#pragma once

#include <QDateTime>

namespace soramado {

// The one way the program reads the local date and time, so that tests and the
// preview tool can put the clock anywhere.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

class SystemClock final : public Clock {
public:
    QDateTime now() const override;
};

// A clock that stands still until it is told otherwise.
class SettableClock final : public Clock {
public:
    explicit SettableClock(QDateTime at = {}) : at_(at) {}
    QDateTime now() const override { return at_; }
    void set(QDateTime at) { at_ = at; }
    void advanceMs(qint64 ms) { at_ = at_.addMSecs(ms); }

private:
    QDateTime at_;
};

} // namespace soramado
