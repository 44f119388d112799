#pragma once

#include "app/headless.h"
#include "qt/mainwindow.h"
#include "support/fakes.h"

namespace soramado::fakes {

// The Qt window over settings in memory and a settable clock; its font chooser
// answers what the test puts in `fonts.answer`.
class ScriptedFontChooser final : public FontChooser {
public:
    std::optional<std::string> answer;
    std::string offered;
    int calls = 0;
    std::optional<std::string> choose(const std::string& currentFace) override
    {
        ++calls;
        offered = currentFace;
        return answer;
    }
};

template <typename R = ScriptedRandom> struct WindowParts {
    explicit WindowParts(LocalDateTime start) : clock(start) {}
    SettableClock clock;
    R random;
    MemorySettingsStore store;
    ScriptedFontChooser fonts;
};

} // namespace soramado::fakes
