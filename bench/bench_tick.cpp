// The cost of one clock tick on the core, with a clock that moves 100 ms a tick.

#include "app/clockcore.h"
#include "platform/clock.h"
#include "platform/random.h"

#include <benchmark/benchmark.h>

using namespace soramado;

namespace {

// Never hits the visitor test, so every tick is an ordinary one.
class QuietRandom final : public Random {
public:
    double next() override { return 0.5; }
};

void OrdinaryTick(benchmark::State& state)
{
    SettableClock clock(QDateTime(QDate(2003, 5, 1), QTime(12, 0, 0)));
    QuietRandom random;
    ClockCore core(clock, random);
    core.startUp();
    core.finishStartUp();
    for (auto _ : state) {
        clock.advanceMs(100);
        core.tick(); // UpdateClock(1) and the view update
    }
}
BENCHMARK(OrdinaryTick);

void FullTick(benchmark::State& state)
{
    SettableClock clock(QDateTime(QDate(2003, 5, 1), QTime(12, 0, 0)));
    QuietRandom random;
    ClockCore core(clock, random);
    core.startUp();
    core.finishStartUp();
    for (auto _ : state)
        core.UpdateClock(2);
}
BENCHMARK(FullTick);

} // namespace

BENCHMARK_MAIN();
