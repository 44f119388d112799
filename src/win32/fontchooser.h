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

    // Opens on the face the time is drawn with for `currentFace`.
    std::optional<std::string> choose(const std::string& currentFace) override;

private:
    Warn warn_;
    HWND owner_ = nullptr;
};

// The flags the clock opens the dialog with: no vertical ("@") faces.
inline constexpr DWORD FontDialogFlags =
    CF_SCREENFONTS | CF_FORCEFONTEXIST | CF_NOVERTFONTS | CF_INITTOLOGFONTSTRUCT | CF_ENABLEHOOK;

// The dialog's request over `owner`: it opens on `face`, bold, at 20 pt on a
// screen of `screenDpi` (the density the dialog converts sizes with), and
// leaves the choice in `font`, which the request points at.
CHOOSEFONTW prepareFontDialog(LOGFONTW& font, HWND owner, const std::wstring& face, int screenDpi);

} // namespace soramado::win32
