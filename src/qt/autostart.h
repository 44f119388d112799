#pragma once

#include <string>
#include <string_view>

namespace soramado {

// Whether this system has a session autostart that the clock can join.
extern const bool AutostartOffered;

// Starts the clock with the user's session from now on (on), or no longer:
// puts the clock's desktop entry into the user's autostart folder, or removes
// it. Says on stdout what was done, or on stderr why not; returns the exit status.
int setAutostart(bool on);

// The autostart entry made from the clock's desktop entry: as it is, or, when
// exec is given, with its Exec line naming that program file (quoted as
// desktop entries quote).
std::string autostartEntry(std::string_view desktopEntry, std::string_view exec);

} // namespace soramado
