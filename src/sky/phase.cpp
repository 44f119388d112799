#include "sky/phase.h"

namespace soramado {

Phase phaseAt(std::int32_t secondOfDay, const SunTimes& sun)
{
    // Whole seconds of the day: no sky time comes near midnight, so plain
    // differences are the boundary counts.
    const int t = secondOfDay;
    const int rise = sun.Sunrise;
    const int set = sun.Sunset;
    const struct {
        int threshold;
        Phase before;
    } chain[] = {
        {rise - 15 * 60, PhaseNight}, {rise, PhaseDawn},   {rise + 60 * 60, PhaseMorning},
        {set - 60 * 60, PhaseDay},    {set, PhaseEvening}, {set + 15 * 60, PhaseDusk},
    };
    for (const auto& step : chain) {
        if (t - step.threshold < 0)
            return step.before;
    }
    return PhaseNight;
}

std::string phaseName(int phase)
{
    switch (phase) {
    case PhaseDawn:
        return "夜明け";
    case PhaseMorning:
        return "朝";
    case PhaseDay:
        return "昼";
    case PhaseEvening:
        return "夕方";
    case PhaseDusk:
        return "夕暮れ";
    case PhaseNight:
        return "夜";
    default:
        return {};
    }
}

} // namespace soramado
