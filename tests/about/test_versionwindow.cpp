#include "about/versionwindow.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

using namespace soramado;

namespace {

QColor background(const QWidget* w)
{
    return w->palette().color(QPalette::Window);
}

TEST(VersionWindow, LayoutTextsAndColours)
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
    EXPECT_EQ(background(&w), QColor(255, 176, 208));

    auto* name = w.findChild<QLabel*>(QStringLiteral("Label1"));
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->text(), QStringLiteral("Soramado"));
    EXPECT_EQ(name->geometry(), QRect(31, 2, 128, 33));
    EXPECT_EQ(name->font().family(), QStringLiteral("Times New Roman"));
    EXPECT_DOUBLE_EQ(name->font().pointSizeF(), 21.75);
    EXPECT_TRUE(name->font().bold() && name->font().italic());
    EXPECT_EQ(name->palette().color(QPalette::WindowText), QColor(128, 0, 0));

    QLabel* version = w.versionLabel();
    EXPECT_EQ(version->objectName(), QStringLiteral("labVer"));
    EXPECT_EQ(version->text(), QStringLiteral("ver.1.04a"));
    EXPECT_EQ(version->geometry(), QRect(42, 41, 104, 19));
    EXPECT_TRUE(version->autoFillBackground());
    EXPECT_EQ(background(version), QColor(255, 255, 192));
    EXPECT_EQ(version->alignment(), Qt::AlignCenter);

    for (const auto& [label, rect, points] :
         {std::tuple{"Label3", QRect(3, 67, 131, 15), 9.0},
          std::tuple{"Label4", QRect(51, 85, 130, 15), 11.25}}) {
        auto* credit = w.findChild<QLabel*>(QLatin1String(label));
        ASSERT_NE(credit, nullptr) << label;
        EXPECT_FALSE(credit->text().isEmpty());
        EXPECT_EQ(credit->geometry(), rect);
        EXPECT_DOUBLE_EQ(credit->font().pointSizeF(), points);
        EXPECT_EQ(credit->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    }

    QPushButton* ok = w.okButton();
    EXPECT_EQ(ok->objectName(), QStringLiteral("cmdOK"));
    EXPECT_EQ(ok->text(), QStringLiteral("OK"));
    EXPECT_EQ(ok->geometry(), QRect(55, 106, 82, 27));
    EXPECT_EQ(ok->palette().color(QPalette::Button), QColor(192, 255, 192));
    EXPECT_EQ(ok->font().family(), QStringLiteral("Arial"));
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
