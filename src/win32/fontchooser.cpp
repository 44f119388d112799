#include "win32/fontchooser.h"

#include "app/menu.h"
#include "win32/dpi.h"
#include "win32/text.h"

#include <commdlg.h>

#include <cwchar>

namespace soramado::win32 {

namespace {

// Gives the dialog the clock's own title.
UINT_PTR CALLBACK titleHook(HWND dialog, UINT message, WPARAM, LPARAM)
{
    if (message == WM_INITDIALOG)
        SetWindowTextW(dialog, widen(menu::FontDialogTitle).c_str());
    return 0;
}

} // namespace

std::optional<std::string> DialogFontChooser::choose(const std::string& currentFace)
{
    LOGFONTW font{};
    font.lfHeight = fontHeight(20, dpi_);
    font.lfWeight = FW_BOLD;
    font.lfCharSet = DEFAULT_CHARSET;
    const std::wstring face = widen(currentFace);
    wcsncpy(font.lfFaceName, face.c_str(), LF_FACESIZE - 1);

    CHOOSEFONTW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner_;
    dialog.lpLogFont = &font;
    dialog.Flags = FontDialogFlags;
    dialog.lpfnHook = titleHook;
    if (ChooseFontW(&dialog))
        return narrow(font.lfFaceName);
    if (const DWORD error = CommDlgExtendedError(); error != 0 && warn_)
        warn_("Soramado: the font dialog failed (common dialog error " + std::to_string(error) +
              "); the clock font stays as it was.");
    return std::nullopt;
}

} // namespace soramado::win32
