#pragma once

#include <optional>

namespace soramado::win32 {

// Answers --help and --version and refuses an argument nobody knows: on the
// standard output or error the program was given, else on the console it was
// started from, else in a message box (a program started from Explorer has no
// console). Returns the exit status when the program is to end here.
std::optional<int> answerCommandLine();

} // namespace soramado::win32
