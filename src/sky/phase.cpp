#include "sky/phase.h"

#include "common/numbers.h"

namespace soramado {

Phase phaseAt(QTime now, const SunTimes& sun)
{
    struct Threshold {
        QTime base;
        int minutes;
        Phase before;
    };
    const Threshold chain[] = {
        {sun.Sunrise, -15, PhaseNight},  {sun.Sunrise, 0, PhaseDawn},
        {sun.Sunrise, 60, PhaseMorning}, {sun.Sunset, -60, PhaseDay},
        {sun.Sunset, 0, PhaseEvening},   {sun.Sunset, 15, PhaseDusk},
    };
    for (const Threshold& t : chain) {
        if (secondsBetween(t.base.addSecs(t.minutes * 60), now) < 0)
            return t.before;
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
