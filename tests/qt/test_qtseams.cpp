// The Qt shell's side of the core's seams: the system clock, the screens and
// the font dialog, as the core sees them.

#include "platform/posix/systemclock.h"
#include "qt/fontchooser.h"
#include "qt/fonts.h"
#include "qt/qtscreen.h"

#include <QApplication>
#include <QFontDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

using namespace soramado;

namespace {

// The local wall clock as the C library tells it for a moment.
LocalDateTime expectedAt(std::time_t t)
{
    std::tm local{};
    localtime_r(&t, &local);
    using namespace std::chrono;
    return {year_month_day{year{local.tm_year + 1900}, month{unsigned(local.tm_mon + 1)},
                           day{unsigned(local.tm_mday)}},
            local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec, 0};
}

// Sets TZ for the life of the object.
class ZoneScope {
public:
    explicit ZoneScope(const char* zone)
    {
        if (const char* old = std::getenv("TZ"))
            old_ = old;
        setenv("TZ", zone, 1);
    }
    ~ZoneScope()
    {
        if (old_.empty())
            unsetenv("TZ");
        else
            setenv("TZ", old_.c_str(), 1);
        tzset();
    }

private:
    std::string old_;
};

TEST(SystemClock, TellsTheLocalWallClockAndFollowsAChangeOfZone)
{
    const SystemClock clock;
    for (const char* zone : {"Asia/Tokyo", "America/New_York", "UTC"}) {
        ZoneScope scope(zone);
        // Retry across a second boundary between the two readings.
        for (int attempt = 0; attempt < 3; ++attempt) {
            const std::time_t before = std::time(nullptr);
            const LocalDateTime now = clock.now();
            tzset();
            if (std::time(nullptr) != before)
                continue;
            const LocalDateTime expected = expectedAt(before);
            EXPECT_EQ(now.date, expected.date) << zone;
            EXPECT_EQ(now.secondOfDay, expected.secondOfDay) << zone;
            EXPECT_GE(now.millisecond, 0);
            EXPECT_LE(now.millisecond, 999);
            break;
        }
    }
}

TEST(QtScreen, GivesTwipsFromTheLogicalDpiAndEveryScreensArea)
{
    const QtScreen screen;
    const QScreen* primary = QGuiApplication::primaryScreen();
    ASSERT_NE(primary, nullptr);
    const int expectedX =
        static_cast<int>(std::lround(1440.0 / primary->logicalDotsPerInchX() - 1e-9));
    EXPECT_NEAR(screen.twipsPerPixelX(), expectedX, 1);
    EXPECT_GT(screen.twipsPerPixelY(), 0);
    const std::vector<PixelRect> areas = screen.availableAreas();
    ASSERT_EQ(areas.size(), static_cast<std::size_t>(QGuiApplication::screens().size()));
    const QRect first = QGuiApplication::screens().front()->availableGeometry();
    EXPECT_EQ(areas.front(), (PixelRect{first.x(), first.y(), first.width(), first.height()}));
}

// Answers the dialog as soon as it is open.
void answerFontDialog(bool accept)
{
    QTimer::singleShot(0, [accept] {
        auto* dialog = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        if (!accept) {
            dialog->reject();
            return;
        }
        QFont font(QStringLiteral("IPAGothic"));
        font.setPointSize(33);
        font.setItalic(true);
        dialog->setCurrentFont(font);
        dialog->accept();
    });
}

TEST(DialogFontChooser, GivesOnlyTheFaceTakenOrNothingOnCancel)
{
    DialogFontChooser chooser(nullptr, [] {
        QFont font;
        font.setPointSizeF(20.25);
        font.setBold(true);
        return font;
    });
    answerFontDialog(true);
    const std::optional<std::string> taken = chooser.choose("MS ゴシック");
    ASSERT_TRUE(taken.has_value());
    EXPECT_EQ(*taken, QFont(QStringLiteral("IPAGothic")).family().toStdString());

    answerFontDialog(false);
    EXPECT_FALSE(chooser.choose("IPAGothic").has_value());
}

// A family two foundries supply comes back from the dialog as "Family [foundry]";
// only the family is a name a later start finds again.
TEST(DialogFontChooser, StoresThePlainFamilyName)
{
    for (const auto& [picked, plain] :
         {std::pair{"D050000L [urw]", "D050000L"}, std::pair{"Nimbus Sans [UKWN]", "Nimbus Sans"},
          std::pair{"IPAGothic", "IPAGothic"}, std::pair{"[odd]", "[odd]"},
          std::pair{"Odd [name] Sans", "Odd [name] Sans"}})
        EXPECT_EQ(plainFamilyName(QString::fromUtf8(picked)), QString::fromUtf8(plain)) << picked;
}

} // namespace
