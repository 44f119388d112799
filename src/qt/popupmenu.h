#pragma once

#include "sky/suntimes.h"

#include <QMenu>

#include <array>

class QAction;

namespace soramado {

// A menu whose items answer the left mouse button only; a release of another
// button over an item runs nothing and leaves the menu open.
class LeftButtonMenu : public QMenu {
public:
    using QMenu::QMenu;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// The one menu of the clock, shown only as a popup over the picture. Items
// carry the control names as object names so that tests can find them.
class PopupMenu : public LeftButtonMenu {
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
