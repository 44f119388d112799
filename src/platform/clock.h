#pragma once

#include "common/datetime.h"

namespace soramado {

// The one way the program reads the local date and time, so that tests and the
// preview tool can put the clock anywhere.
class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalDateTime now() const = 0;
};

// A clock that stands still until it is told otherwise.
class SettableClock final : public Clock {
public:
    explicit SettableClock(LocalDateTime at = {}) : at_(at) {}
    LocalDateTime now() const override { return at_; }
    void set(LocalDateTime at) { at_ = at; }
    void advanceMs(std::int64_t ms) { at_ = addMilliseconds(at_, ms); }

private:
    LocalDateTime at_;
};

} // namespace soramado
