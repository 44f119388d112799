#include "platform/random.h"

#include "platform/clock.h"

namespace soramado {

double SeededRandom::next()
{
    // 53 random bits scaled into [0, 1): never 1.0, unlike some
    // std::generate_canonical implementations.
    return static_cast<double>(engine_() >> 11) * 0x1.0p-53;
}

std::uint64_t seedFromClock(const Clock& clock)
{
    return static_cast<std::uint64_t>(wallMilliseconds(clock.now()));
}

} // namespace soramado
