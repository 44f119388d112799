#pragma once

#include "app/clockapp.h"
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

// The one menu of the clock, shown only as a popup over the picture. It says
// what was chosen through its signals and, each time it opens, checks the city
// and the always-on-top item as the program holds them. Items carry the
// control names as object names so that tests can find them.
class PopupMenu : public LeftButtonMenu {
    Q_OBJECT
public:
    PopupMenu(const ClockApp& app, QWidget* parent);

signals:
    void fontChosen();
    void cityChosen(int index);
    void alwaysOnTopChosen();
    void versionChosen();
    void quitChosen();

private:
    void showChecks();

    const ClockApp& app_;
    std::array<QAction*, LocationCount> cities_{};
    QAction* alwaysOnTop_ = nullptr;
};

} // namespace soramado
