#pragma once

#include <functional>
#include <string>

namespace soramado {

// Where the program tells the user what went wrong: one line, no newline.
using Warn = std::function<void(const std::string&)>;

} // namespace soramado
