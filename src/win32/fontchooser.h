#pragma once

#include "common/warn.h"
#include "platform/fontchooser.h"

#include <windows.h>

#include <commdlg.h>

#include <string>

namespace soramado::win32 {

// The system's font dialog (ChooseFontW) over the clock window, listing the
// screen fonts and accepting only one that exists. Cancel gives nothing; so
// does a failure of the dialog itself, which is reported, not taken for a choice.
class DialogFontChooser final : public FontChooser {
public:
    explicit DialogFontChooser(Warn warn) : warn_(std::move(warn)) {}
    void setOwner(HWND owner) { owner_ = owner; }
    void setDpi(UINT dpi) { dpi_ = dpi; }

    std::optional<std::string> choose(const std::string& currentFace) override;

private:
    Warn warn_;
    HWND owner_ = nullptr;
    UINT dpi_ = 96;
};

// The flags the clock opens the dialog with.
inline constexpr DWORD FontDialogFlags =
    CF_SCREENFONTS | CF_FORCEFONTEXIST | CF_INITTOLOGFONTSTRUCT | CF_ENABLEHOOK;

} // namespace soramado::win32
