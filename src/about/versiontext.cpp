#include "about/versiontext.h"

#include "common/numbers.h"

#include <charconv>

namespace soramado {

ProgramVersion programVersion()
{
    // Taken from the project's version, so that the file and the window agree.
    return {SORAMADO_VERSION_MAJOR, SORAMADO_VERSION_MINOR, SORAMADO_VERSION_REVISION};
}

std::string versionText(ProgramVersion version, std::string_view decimalPoint)
{
    std::string text = "ver." + std::to_string(version.major) + "." + twoDigits(version.minor);
    if (version.revision > 0) {
        const int letter = roundHalfEven(version.revision / 1000.0 + 96);
        text += static_cast<char>(letter);
        const int rest = version.revision % 1000;
        if (rest > 99) {
            // The shortest decimal form that reads back as the same number.
            char number[32];
            const auto end = std::to_chars(number, number + sizeof number, rest / 100.0).ptr;
            for (const char* c = number; c != end; ++c) {
                if (*c == '.')
                    text += decimalPoint;
                else
                    text += *c;
            }
        }
    }
    return text;
}

} // namespace soramado
