#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace soramado {

// The program's version numbers; the file's version is major.minor.0.revision.
struct ProgramVersion {
    std::int16_t major;
    std::int16_t minor;
    std::int16_t revision;
};

ProgramVersion programVersion();

// "ver." major "." minor as two digits; for a revision above 0 a letter from
// revision / 1000 (a half to even; 1 gives "a") and, when revision mod 1000 is
// above 99, that remainder / 100 in its shortest decimal form, written with
// the user's decimal separator.
std::string versionText(ProgramVersion version, std::string_view decimalPoint = ".");

} // namespace soramado
