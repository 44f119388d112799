// Japanese text on the user's desktop: whether its fonts draw the captions.

#include "qt/fontcoverage.h"

#include <QApplication>
#include <QFont>
#include <gtest/gtest.h>

using namespace soramado;

namespace {

// The test machine has Japanese fonts (scripts/setup.sh installs them); the
// e2e check no_japanese_font starts the clock on a desktop without one.
TEST(FontCoverage, TellsWhetherTheFontsDrawEveryCharacter)
{
    const QString captions = japaneseCaptions();
    EXPECT_TRUE(drawsAll(QFont(QStringLiteral("IPAGothic")), captions));
    EXPECT_TRUE(drawsAll(QApplication::font("QMenu"), captions));
    // A character outside the BMP that no font has: one box is enough to tell.
    EXPECT_FALSE(drawsAll(QFont(), QStringLiteral("東京") + QString::fromUcs4(U"\U0010FFFD", 1)));

    testing::internal::CaptureStderr();
    EXPECT_FALSE(warnWithoutJapaneseFont());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

} // namespace
