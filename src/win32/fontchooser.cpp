#include "win32/fontchooser.h"

#include "app/layout.h"
#include "app/menu.h"
#include "win32/dpi.h"
#include "win32/handles.h"
#include "win32/labelfonts.h"
#include "win32/registrystore.h"
#include "win32/text.h"

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

// comdlg32 pulls in a chain of libraries (the printer system among them) that
// the clock needs only for this dialog, now and then: it is loaded from the
// system folder when the dialog is first asked for, and then kept.
struct CommonDialogs {
    decltype(&ChooseFontW) chooseFont = nullptr;
    decltype(&CommDlgExtendedError) extendedError = nullptr;
    DWORD loadError = 0;
};

template <typename Function> Function entry(HMODULE module, const char* name)
{
    // Through void (*)(), the one function type that converts to any other cleanly.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

const CommonDialogs& commonDialogs()
{
    static const CommonDialogs loaded = [] {
        CommonDialogs dialogs;
        if (const HMODULE module =
                LoadLibraryExW(L"comdlg32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
            dialogs.chooseFont = entry<decltype(&ChooseFontW)>(module, "ChooseFontW");
            dialogs.extendedError =
                entry<decltype(&CommDlgExtendedError)>(module, "CommDlgExtendedError");
        }
        if (!dialogs.chooseFont)
            dialogs.loadError = GetLastError();
        return dialogs;
    }();
    return loaded;
}

} // namespace

CHOOSEFONTW prepareFontDialog(LOGFONTW& font, HWND owner, const std::wstring& face, int screenDpi)
{
    font = LOGFONTW{};
    font.lfHeight = fontHeight(layout::TimeChosenPoints, static_cast<UINT>(screenDpi));
    font.lfWeight = FW_BOLD;
    font.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(font.lfFaceName, face.c_str(), LF_FACESIZE - 1);

    CHOOSEFONTW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpLogFont = &font;
    dialog.Flags = FontDialogFlags;
    dialog.lpfnHook = titleHook;
    return dialog;
}

std::optional<std::string> DialogFontChooser::choose(const std::string& currentFace)
{
    const CommonDialogs& dialogs = commonDialogs();
    if (!dialogs.chooseFont) {
        if (warn_)
            warn_("Soramado: the font dialog is missing (comdlg32.dll: " +
                  systemMessage(static_cast<LONG>(dialogs.loadError)) +
                  "); the clock font stays as it was.");
        return std::nullopt;
    }
    // The stored face may not be installed; the dialog opens on the one the time shows.
    const ScreenDC screen;
    LOGFONTW font{};
    CHOOSEFONTW dialog = prepareFontDialog(font, owner_, clockFaceDrawn(widen(currentFace)),
                                           GetDeviceCaps(screen.get(), LOGPIXELSY));
    if (dialogs.chooseFont(&dialog))
        return narrow(font.lfFaceName);
    if (const DWORD error = dialogs.extendedError ? dialogs.extendedError() : 0;
        error != 0 && warn_)
        warn_("Soramado: the font dialog failed (common dialog error " + std::to_string(error) +
              "); the clock font stays as it was.");
    return std::nullopt;
}

} // namespace soramado::win32
