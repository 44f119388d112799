#include "win32/popupmenu.h"

#include "app/menu.h"
#include "win32/text.h"

namespace soramado::win32 {

namespace {

void append(HMENU menu, UINT id, const char* caption, bool checked = false)
{
    AppendMenuW(menu, MF_STRING | (checked ? MF_CHECKED : MF_UNCHECKED), id,
                widen(caption).c_str());
}

void separator(HMENU menu)
{
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
}

} // namespace

std::optional<MenuCommand> commandFor(UINT id)
{
    using Kind = MenuCommand::Kind;
    switch (id) {
    case FontCommandId:
        return MenuCommand{Kind::Font};
    case FrontCommandId:
        return MenuCommand{Kind::Front};
    case VersionCommandId:
        return MenuCommand{Kind::Version};
    case QuitCommandId:
        return MenuCommand{Kind::Quit};
    default:
        break;
    }
    const auto cities = static_cast<UINT>(Cities.size());
    if (id >= CityFirstId && id < CityFirstId + cities)
        return MenuCommand{Kind::City, static_cast<int>(id - CityFirstId)};
    return std::nullopt;
}

Menu buildPopupMenu(int checkedCity, bool alwaysOnTop)
{
    Menu popup(CreatePopupMenu());
    Menu cities(CreatePopupMenu());
    for (std::size_t i = 0; i < Cities.size(); ++i) {
        append(cities.get(), CityFirstId + static_cast<UINT>(i), menu::cityCaption(i).c_str(),
               static_cast<int>(i) == checkedCity);
    }
    append(popup.get(), FontCommandId, menu::Font);
    separator(popup.get());
    // The popup owns the submenu from here and destroys it with itself.
    AppendMenuW(popup.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(cities.release()),
                widen(menu::Location).c_str());
    separator(popup.get());
    append(popup.get(), FrontCommandId, menu::AlwaysOnTop, alwaysOnTop);
    separator(popup.get());
    append(popup.get(), VersionCommandId, menu::Version);
    separator(popup.get());
    append(popup.get(), QuitCommandId, menu::Quit);
    return popup;
}

std::optional<MenuCommand> trackPopupMenu(HWND owner, HMENU menu, POINT at)
{
    // The menu must belong to the foreground window to close when the user
    // clicks elsewhere.
    SetForegroundWindow(owner);
    const UINT id = static_cast<UINT>(TrackPopupMenu(
        menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, at.x,
        at.y, 0, owner, nullptr));
    // Lets the menu's own messages end before the command runs (a known need
    // of TrackPopupMenu).
    PostMessageW(owner, WM_NULL, 0, 0);
    return commandFor(id);
}

} // namespace soramado::win32
