#pragma once

#include "win32/handles.h"

#include <optional>

namespace soramado::win32 {

// The menu's command identifiers; the cities follow CityFirst in their order.
enum CommandId : UINT {
    FontCommandId = 100,
    FrontCommandId = 101,
    VersionCommandId = 102,
    QuitCommandId = 103,
    CityFirstId = 110,
};

struct MenuCommand {
    enum class Kind { Font, City, Front, Version, Quit } kind;
    int city = -1;
    bool operator==(const MenuCommand&) const = default;
};

std::optional<MenuCommand> commandFor(UINT id);

// The popup menu as it stands now: captions with their access keys, the
// separators, the checked city and the always-on-top check mark.
Menu buildPopupMenu(int checkedCity, bool alwaysOnTop);

// Shows the menu at a screen point (its left edge there, left button
// answering) and gives back the chosen command, if any.
std::optional<MenuCommand> trackPopupMenu(HWND owner, HMENU menu, POINT at);

} // namespace soramado::win32
