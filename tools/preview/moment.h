#pragma once

#include "common/datetime.h"

#include <optional>
#include <string>
#include <string_view>

namespace soramado {

// "YYYY-MM-DD hh:mm:ss", spaces around allowed: a wall-clock date and time
// with no time zone, so every well-formed moment exists, daylight-saving gaps
// included. Nothing for anything else or an impossible date or time.
std::optional<LocalDateTime> parseMoment(std::string_view text);

// The same form back.
std::string momentText(const LocalDateTime& at);

} // namespace soramado
