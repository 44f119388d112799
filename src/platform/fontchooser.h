#pragma once

#include <optional>
#include <string>

namespace soramado {

// The font chooser of the font command.
class FontChooser {
public:
    virtual ~FontChooser() = default;
    // Opens on the face and gives back the face taken, or nothing on Cancel.
    virtual std::optional<std::string> choose(const std::string& currentFace) = 0;
};

} // namespace soramado
