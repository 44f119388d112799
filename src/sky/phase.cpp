#include "sky/phase.h"

namespace soramado {

Phase phaseAt(QTime now, const SunTimes& sun)
{
    // Whole seconds of the day: no sky time comes near midnight, so plain
    // differences are the boundary counts.
    const int t = QTime(0, 0).secsTo(now);
    const int rise = QTime(0, 0).secsTo(sun.Sunrise);
    const int set = QTime(0, 0).secsTo(sun.Sunset);
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

QString phaseName(int phase)
{
    switch (phase) {
    case PhaseDawn:
        return QStringLiteral("夜明け");
    case PhaseMorning:
        return QStringLiteral("朝");
    case PhaseDay:
        return QStringLiteral("昼");
    case PhaseEvening:
        return QStringLiteral("夕方");
    case PhaseDusk:
        return QStringLiteral("夕暮れ");
    case PhaseNight:
        return QStringLiteral("夜");
    default:
        return {};
    }
}

} // namespace soramado
