#pragma once

#include "platform/clock.h"

namespace soramado {

// The system's local date and time from POSIX; a change of the time zone is seen within a tick.
class SystemClock final : public Clock {
public:
    LocalDateTime now() const override;
};

} // namespace soramado
