#include "qt/popupmenu.h"

#include "app/menu.h"

#include <QAction>
#include <QMouseEvent>

namespace soramado {

namespace {

QAction* addItem(QMenu* menu, const char* name, const char* caption, bool checkable = false)
{
    QAction* action = menu->addAction(QString::fromUtf8(caption));
    action->setObjectName(QLatin1String(name));
    action->setCheckable(checkable);
    return action;
}

void addNamedSeparator(QMenu* menu, const char* name)
{
    menu->addSeparator()->setObjectName(QLatin1String(name));
}

} // namespace

void LeftButtonMenu::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    QMenu::mouseReleaseEvent(event);
}

PopupMenu::PopupMenu(QWidget* parent) : LeftButtonMenu(QString::fromUtf8(menu::Title), parent)
{
    setObjectName(QStringLiteral("mnuPopup"));
    mnuFont = addItem(this, "mnuFont", menu::Font);
    addNamedSeparator(this, "mSep01");

    mnuLocation = new LeftButtonMenu(QString::fromUtf8(menu::Location), this);
    addMenu(mnuLocation);
    mnuLocation->setObjectName(QStringLiteral("mnuLocation"));
    mnuLocation->menuAction()->setObjectName(QStringLiteral("mnuLocationItem"));
    static const char* const names[] = {"mnuLoc0", "mnuLoc1", "mnuLoc2",
                                        "mnuLoc3", "mnuLoc4", "mnuLoc5"};
    for (std::size_t i = 0; i < mnuLoc.size(); ++i)
        mnuLoc[i] = addItem(mnuLocation, names[i], menu::cityCaption(i).c_str(), true);
    addNamedSeparator(this, "mSep02");

    mnuFront = addItem(this, "mnuFront", menu::AlwaysOnTop, true);
    addNamedSeparator(this, "mSep03");
    mnuVer = addItem(this, "mnuVer", menu::Version);
    addNamedSeparator(this, "mSep04");
    mnuQuit = addItem(this, "mnuQuit", menu::Quit);
}

void PopupMenu::checkLocation(int index)
{
    for (std::size_t i = 0; i < mnuLoc.size(); ++i)
        mnuLoc[i]->setChecked(static_cast<int>(i) == index);
}

} // namespace soramado
