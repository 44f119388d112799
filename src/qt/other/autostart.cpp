#include "qt/autostart.h"

#include <cstdio>

namespace soramado {

// Only freedesktop sessions have the autostart folder the clock knows.
const bool AutostartOffered = false;

int setAutostart(bool)
{
    std::fprintf(stderr, "soramado: --autostart is not offered on this system\n");
    return 1;
}

std::string autostartEntry(std::string_view desktopEntry, std::string_view)
{
    return std::string(desktopEntry);
}

} // namespace soramado
