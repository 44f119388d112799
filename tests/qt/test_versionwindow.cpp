#include "qt/versionwindow.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

using namespace soramado;

namespace {

TEST(VersionWindow, FixedToolWindowWithTheVersionAndOnlyOkTakingFocus)
{
    QWidget owner;
    VersionWindow w(&owner);
    EXPECT_EQ(w.objectName(), QStringLiteral("frmVer"));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("バージョン情報"));
    EXPECT_EQ(w.size(), QSize(196, 137));
    EXPECT_EQ(w.minimumSize(), w.maximumSize());
    EXPECT_TRUE(w.isModal());
    EXPECT_EQ(w.windowFlags() & Qt::WindowType_Mask, Qt::Tool);
    EXPECT_FALSE(w.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(w.versionLabel()->objectName(), QStringLiteral("labVer"));
    EXPECT_EQ(w.versionLabel()->text(), QStringLiteral("ver.1.04a"));
    // The yellow box must be painted, not see-through like the other labels.
    EXPECT_TRUE(w.versionLabel()->autoFillBackground());
    for (const char* name : {"Label1", "Label3", "Label4"}) {
        auto* label = w.findChild<QLabel*>(QLatin1String(name));
        ASSERT_NE(label, nullptr) << name;
        EXPECT_FALSE(label->text().isEmpty()) << name;
    }
    for (QWidget* child : w.findChildren<QWidget*>())
        EXPECT_EQ(child->focusPolicy() != Qt::NoFocus, child == w.okButton())
            << child->objectName().toStdString();
}

// Opens the window modal, lets `act` run inside its event loop, and tells
// whether the window closed by itself.
bool closesWith(const std::function<void(VersionWindow&)>& act)
{
    QWidget owner;
    owner.setGeometry(100, 100, 300, 300);
    owner.show();
    VersionWindow w(&owner);
    bool stillOpenAfterAct = false;
    QTimer::singleShot(0, &w, [&] {
        act(w);
        QTimer::singleShot(0, &w, [&] {
            stillOpenAfterAct = w.isVisible();
            w.done(QDialog::Rejected + 7);
        });
    });
    const int result = w.exec();
    return !stillOpenAfterAct && result != QDialog::Rejected + 7;
}

void key(QWidget* target, int k)
{
    QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier, k == Qt::Key_Space ? " " : "");
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, k, Qt::NoModifier, k == Qt::Key_Space ? " " : "");
    QApplication::sendEvent(target, &release);
}

TEST(VersionWindow, OkHasTheFocusAndEveryWayOutClosesIt)
{
    EXPECT_TRUE(closesWith([](VersionWindow& w) {
        EXPECT_EQ(w.focusWidget(), w.okButton());
        w.okButton()->click();
    }));
    EXPECT_TRUE(closesWith([](VersionWindow& w) { key(w.focusWidget(), Qt::Key_Return); }));
    EXPECT_TRUE(closesWith([](VersionWindow& w) { key(w.focusWidget(), Qt::Key_Enter); }));
    EXPECT_TRUE(closesWith([](VersionWindow& w) { key(w.focusWidget(), Qt::Key_Space); }));
    EXPECT_TRUE(closesWith([](VersionWindow& w) { key(w.focusWidget(), Qt::Key_Escape); }));
    EXPECT_TRUE(closesWith([](VersionWindow& w) { w.close(); }));
    // Any other key leaves it open.
    EXPECT_FALSE(closesWith([](VersionWindow& w) { key(w.focusWidget(), Qt::Key_A); }));
}

TEST(VersionWindow, OpensCentredOverItsOwner)
{
    QWidget owner;
    owner.setGeometry(300, 200, 169, 172);
    owner.show();
    VersionWindow w(&owner);
    w.show();
    QCoreApplication::processEvents();
    EXPECT_LE((w.frameGeometry().center() - owner.frameGeometry().center()).manhattanLength(), 2);
}

} // namespace
