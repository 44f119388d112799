#include "app/popupmenu.h"

#include <QAction>
#include <QMouseEvent>

namespace soramado {

namespace {

QAction* addItem(QMenu* menu, const char* name, const QString& caption, bool checkable = false)
{
    QAction* action = menu->addAction(caption);
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

PopupMenu::PopupMenu(QWidget* parent) : LeftButtonMenu(QStringLiteral("メニュー"), parent)
{
    setObjectName(QStringLiteral("mnuPopup"));
    mnuFont = addItem(this, "mnuFont", QStringLiteral("フォントの変更(&F)..."));
    addNamedSeparator(this, "mSep01");

    mnuLocation = new LeftButtonMenu(QStringLiteral("現在地の選択(&L)"), this);
    addMenu(mnuLocation);
    mnuLocation->setObjectName(QStringLiteral("mnuLocation"));
    mnuLocation->menuAction()->setObjectName(QStringLiteral("mnuLocationItem"));
    static const char* const names[] = {"mnuLoc0", "mnuLoc1", "mnuLoc2",
                                        "mnuLoc3", "mnuLoc4", "mnuLoc5"};
    const QString captions[] = {QStringLiteral("札幌(&S)"), QStringLiteral("仙台(&D)"),
                                QStringLiteral("東京(&T)"), QStringLiteral("大阪(&O)"),
                                QStringLiteral("広島(&H)"), QStringLiteral("福岡(&F)")};
    for (std::size_t i = 0; i < mnuLoc.size(); ++i)
        mnuLoc[i] = addItem(mnuLocation, names[i], captions[i], true);
    addNamedSeparator(this, "mSep02");

    mnuFront = addItem(this, "mnuFront", QStringLiteral("常に最前面に表示(&T)"), true);
    addNamedSeparator(this, "mSep03");
    mnuVer = addItem(this, "mnuVer", QStringLiteral("バージョン情報(&V)..."));
    addNamedSeparator(this, "mSep04");
    mnuQuit = addItem(this, "mnuQuit", QStringLiteral("Soramadoの終了(&Q)"));
}

void PopupMenu::checkLocation(int index)
{
    for (std::size_t i = 0; i < mnuLoc.size(); ++i)
        mnuLoc[i]->setChecked(static_cast<int>(i) == index);
}

} // namespace soramado
