#pragma once

#include "common/picture.h"

#include <optional>
#include <string>

namespace soramado {

// Writes the picture as an RGB PNG to `target`, or to standard output for "-".
// A file is written beside the target under another name and renamed over it
// only when every byte is out, so a failure never leaves a partial picture.
// Nothing on success; otherwise what failed, for the user.
std::optional<std::string> writePng(const Picture& picture, const std::string& target);

} // namespace soramado
