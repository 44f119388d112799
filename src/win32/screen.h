#pragma once

#include "platform/screen.h"

#include <windows.h>

namespace soramado::win32 {

// The monitors as the program sees them: work areas in physical pixels and the
// density of the monitor that holds the clock.
class WindowsScreen final : public Screen {
public:
    explicit WindowsScreen(UINT dpi) : dpi_(dpi) {}
    void setDpi(UINT dpi) { dpi_ = dpi; }
    UINT dpi() const { return dpi_; }

    int twipsPerPixelX() const override;
    int twipsPerPixelY() const override;
    std::vector<PixelRect> availableAreas() const override;

private:
    UINT dpi_;
};

} // namespace soramado::win32
