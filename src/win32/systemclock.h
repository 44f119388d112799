#pragma once

#include "platform/clock.h"

#include <windows.h>

namespace soramado::win32 {

// The local time as Windows keeps it (GetLocalTime), read anew at each call.
class SystemClock final : public Clock {
public:
    LocalDateTime now() const override;
};

LocalDateTime fromSystemTime(const SYSTEMTIME& time);

} // namespace soramado::win32
