#pragma once

#include "sky/suntimes.h"

#include <QMenu>

#include <array>

class QAction;

namespace soramado {

// The one menu of the clock, shown only as a popup over the picture. Items
// carry the control names as object names so that tests can find them.
class PopupMenu : public QMenu {
    Q_OBJECT
public:
    explicit PopupMenu(QWidget* parent);

    QAction* mnuFont = nullptr;
    QMenu* mnuLocation = nullptr;
    std::array<QAction*, LocationCount> mnuLoc{};
    QAction* mnuFront = nullptr;
    QAction* mnuVer = nullptr;
    QAction* mnuQuit = nullptr;

    // Checks the city at index and unchecks the other five.
    void checkLocation(int index);
};

} // namespace soramado
