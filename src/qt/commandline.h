#pragma once

#include <optional>
#include <string>

namespace soramado {

// What the command line asks of the clock before any window exists.
struct CommandLine {
    // Set when the program ends here (help, version, autostart, a refusal).
    std::optional<int> exitStatus;
    // The X display asked for with -display, or empty.
    std::string display;
};

// Answers --help, --version and --autostart on standard output, refuses an
// argument nobody knows in one line on stderr, and lets Qt's own options
// through for QApplication. Needs no display.
CommandLine answerCommandLine(int argc, const char* const* argv);

} // namespace soramado
