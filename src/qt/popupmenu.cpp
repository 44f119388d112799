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

PopupMenu::PopupMenu(const ClockApp& app, QWidget* parent)
    : LeftButtonMenu(QString::fromUtf8(menu::Title), parent), app_(app)
{
    setObjectName(QStringLiteral("mnuPopup"));
    connect(addItem(this, "mnuFont", menu::Font), &QAction::triggered, this,
            &PopupMenu::fontChosen);
    addNamedSeparator(this, "mSep01");

    auto* cities = new LeftButtonMenu(QString::fromUtf8(menu::Location), this);
    addMenu(cities);
    cities->setObjectName(QStringLiteral("mnuLocation"));
    cities->menuAction()->setObjectName(QStringLiteral("mnuLocationItem"));
    for (std::size_t i = 0; i < cities_.size(); ++i) {
        const QByteArray name = "mnuLoc" + QByteArray::number(static_cast<int>(i));
        cities_[i] = addItem(cities, name.constData(), menu::cityCaption(i).c_str(), true);
        connect(cities_[i], &QAction::triggered, this,
                [this, i] { emit cityChosen(static_cast<int>(i)); });
    }
    addNamedSeparator(this, "mSep02");

    alwaysOnTop_ = addItem(this, "mnuFront", menu::AlwaysOnTop, true);
    connect(alwaysOnTop_, &QAction::triggered, this, &PopupMenu::alwaysOnTopChosen);
    addNamedSeparator(this, "mSep03");
    connect(addItem(this, "mnuVer", menu::Version), &QAction::triggered, this,
            &PopupMenu::versionChosen);
    addNamedSeparator(this, "mSep04");
    connect(addItem(this, "mnuQuit", menu::Quit), &QAction::triggered, this,
            &PopupMenu::quitChosen);

    // A triggered item flips its own mark; opening the menu shows the program's again.
    connect(this, &QMenu::aboutToShow, this, &PopupMenu::showChecks);
    connect(cities, &QMenu::aboutToShow, this, &PopupMenu::showChecks);
}

void PopupMenu::showChecks()
{
    for (std::size_t i = 0; i < cities_.size(); ++i)
        cities_[i]->setChecked(static_cast<int>(i) == app_.locationIndex());
    alwaysOnTop_->setChecked(app_.alwaysOnTop());
}

} // namespace soramado
