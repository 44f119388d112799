#pragma once

#include "common/datetime.h"
#include "platform/clock.h"
#include "platform/random.h"

#include <deque>

namespace soramado::fakes {

// Hands out the queued numbers first, then a fixed value that never hits.
class ScriptedRandom final : public Random {
public:
    explicit ScriptedRandom(double otherwise = 0.5) : otherwise_(otherwise) {}
    void queue(double value) { queued_.push_back(value); }
    double next() override
    {
        ++draws_;
        if (queued_.empty())
            return otherwise_;
        const double value = queued_.front();
        queued_.pop_front();
        return value;
    }
    int draws() const { return draws_; }

private:
    std::deque<double> queued_;
    double otherwise_;
    int draws_ = 0;
};

// Well spread draws that never hit the visitor test (all at least 0.001), so
// stars land on distinct pixels and no visitor starts by chance.
class SpreadRandom final : public Random {
public:
    double next() override
    {
        ++draws_;
        value_ += 0.6180339887498949;
        value_ -= static_cast<int>(value_);
        return value_ < 0.001 ? value_ + 0.001 : value_;
    }
    int draws() const { return draws_; }

private:
    double value_ = 0.5;
    int draws_ = 0;
};

inline Date ymd(int y, int m, int d)
{
    return Date{std::chrono::year{y}, std::chrono::month{static_cast<unsigned>(m)},
                std::chrono::day{static_cast<unsigned>(d)}};
}

inline std::int32_t hms(int h, int m, int s = 0)
{
    return secondOfDay(h, m, s);
}

inline LocalDateTime at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0)
{
    return LocalDateTime{ymd(y, mo, d), secondOfDay(h, mi, s), ms};
}

inline LocalDateTime at(Date date, std::int32_t time)
{
    return LocalDateTime{date, time, 0};
}

inline LocalDateTime addSecs(const LocalDateTime& from, std::int64_t s)
{
    return addMilliseconds(from, s * 1000);
}

} // namespace soramado::fakes
