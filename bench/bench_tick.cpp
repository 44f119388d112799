// The cost of one clock tick on the core, with a clock that moves 100 ms a tick.
//
// Each benchmark keeps its ticks in the kind it names: the ordinary tick stays
// inside one quiet minute of the day (a run of millions of ticks would
// otherwise cross sunsets and midnights and time the scene decoding instead).
// The minute's 600 moments are worked out beforehand, so only the tick is timed.

#include "app/clockcore.h"
#include "assets/assets.h"
#include "platform/clock.h"
#include "platform/posix/systemclock.h"
#include "platform/random.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <optional>
#include <vector>

using namespace soramado;

namespace {

// The longest wait the visitor's chance can draw, about 110 000 ticks.
class QuietRandom final : public Random {
public:
    double next() override { return std::nextafter(1.0, 0.0); }
};

constexpr Date May1{std::chrono::year{2003}, std::chrono::May, std::chrono::day{1}};
const LocalDateTime Noon{May1, secondOfDay(12, 0, 0), 0};
const LocalDateTime Morning{May1, secondOfDay(5, 40, 0), 0};
const LocalDateTime Night{May1, secondOfDay(22, 0, 0), 0};
constexpr int TicksPerMinute = 600;

// A core as the window has it right after start-up at `start`.
struct Started {
    QuietRandom random;
    SettableClock clock;
    ClockCore core{clock, random};
    explicit Started(const LocalDateTime& start) : clock(start)
    {
        core.startUp(DefaultLocationIndex);
    }
};

// The chance counts ticks and hits when its wait is over, whatever it drew: a
// core about to reach its hit is started afresh, outside the timing, so that
// no visitor starts by chance.
void keepQuiet(benchmark::State& state, std::optional<Started>& started, const LocalDateTime& start)
{
    if (started->core.ticksToHit() > 1)
        return;
    state.PauseTiming();
    started.emplace(start);
    state.ResumeTiming();
}

// The moments of one minute from `start`, 100 ms apart.
std::vector<LocalDateTime> minuteFrom(const LocalDateTime& start)
{
    std::vector<LocalDateTime> moments;
    moments.reserve(TicksPerMinute);
    for (int n = 1; n <= TicksPerMinute; ++n)
        moments.push_back(addMilliseconds(start, 100LL * n));
    return moments;
}

// UpdateClock(1) and the view update, no star due, no visitor, no scene change.
void OrdinaryTick(benchmark::State& state)
{
    std::optional<Started> started(std::in_place, Noon);
    const std::vector<LocalDateTime> minute = minuteFrom(Noon);
    std::size_t n = 0;
    for (auto _ : state) {
        keepQuiet(state, started, Noon);
        // Round the same minute again and again: the same phase, the same day.
        started->clock.set(minute[n]);
        n = (n + 1) % minute.size();
        started->core.tick();
    }
    benchmark::DoNotOptimize(started->core.face().time);
}
BENCHMARK(OrdinaryTick);

// UpdateClock(2): the date and weekday texts too.
void FullTick(benchmark::State& state)
{
    std::optional<Started> started(std::in_place, Noon);
    for (auto _ : state) {
        keepQuiet(state, started, Noon);
        started->core.UpdateClock(2);
    }
    benchmark::DoNotOptimize(started->core.face().date);
}
BENCHMARK(FullTick);

// A tick that takes a visitor step: two frames looked up and laid over the sky.
// The request is renewed every tick, so the flight starts over when it ends.
void VisitorTick(benchmark::State& state, LocalDateTime start)
{
    Started started(start);
    SettableClock& clock = started.clock;
    ClockCore& core = started.core;
    const std::vector<LocalDateTime> minute = minuteFrom(start);
    std::size_t n = 0;
    for (auto _ : state) {
        clock.set(minute[n]);
        n = (n + 1) % minute.size();
        core.requestVisitor();
        core.tick();
    }
    benchmark::DoNotOptimize(core.view().revision());
}
BENCHMARK_CAPTURE(VisitorTick, bird, Morning);
BENCHMARK_CAPTURE(VisitorTick, cloud, Noon);
BENCHMARK_CAPTURE(VisitorTick, shootingStar, Night);

// A tick on which the phase changes and the scene picture is replaced.
void SceneTick(benchmark::State& state)
{
    Started started(Noon);
    SettableClock& clock = started.clock;
    ClockCore& core = started.core;
    bool night = false;
    for (auto _ : state) {
        night = !night;
        clock.set(night ? Night : Noon);
        core.tick();
    }
    benchmark::DoNotOptimize(core.view().revision());
}
BENCHMARK(SceneTick);

// The picture lookups alone, to see what a step spends on them.
void FrameLookup(benchmark::State& state)
{
    const std::string key = assets::frameKey('G', 3, 7);
    for (auto _ : state) {
        assets::PictureRef frame = assets::frame(key);
        benchmark::DoNotOptimize(frame->data());
    }
}
BENCHMARK(FrameLookup);

void SceneLookup(benchmark::State& state)
{
    for (auto _ : state) {
        assets::PictureRef scene = assets::scene(3);
        benchmark::DoNotOptimize(scene->data());
    }
}
BENCHMARK(SceneLookup);

// The one reading of the system clock that every real tick makes.
void ClockReading(benchmark::State& state)
{
    SystemClock clock;
    for (auto _ : state) {
        LocalDateTime now = clock.now();
        benchmark::DoNotOptimize(now);
    }
}
BENCHMARK(ClockReading);

} // namespace

BENCHMARK_MAIN();
