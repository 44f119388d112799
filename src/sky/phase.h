#pragma once

#include "sky/suntimes.h"

#include <cstdint>
#include <string>

namespace soramado {

// The phase of the day; also the scene's position and the visitor table's index.
enum Phase : std::int16_t {
    PhaseNone = 0, // before the first view update
    PhaseDawn = 1,
    PhaseMorning = 2,
    PhaseDay = 3,
    PhaseEvening = 4,
    PhaseDusk = 5,
    PhaseNight = 6,
};

// The phase for a time of day, from six thresholds around sunrise and sunset;
// a time equal to a threshold belongs to the later phase.
Phase phaseAt(std::int32_t secondOfDay, const SunTimes& sun);

inline bool isEveningPhase(int phase)
{
    return phase == PhaseEvening || phase == PhaseDusk;
}

// The phase's name in Japanese, as a person would say it.
std::string phaseName(int phase);

} // namespace soramado
