#pragma once

#include <cstdint>
#include <random>

namespace soramado {

class Clock;

// The program's one source of chance: uniform draws in [0, 1).
class Random {
public:
    virtual ~Random() = default;
    virtual double next() = 0;
};

class SeededRandom final : public Random {
public:
    explicit SeededRandom(std::uint64_t seed) : engine_(seed) {}
    double next() override;

private:
    std::mt19937_64 engine_;
};

// A seed that differs from run to run, taken from the clock.
std::uint64_t seedFromClock(const Clock& clock);

} // namespace soramado
