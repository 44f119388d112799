#include "app/settings.h"
#include "platform/settingsstore.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>

using namespace soramado;

namespace {

// The real store finds its file through XDG_CONFIG_HOME, which Qt reads once:
// point it at a fresh folder before anything in this process asks.
QString& configHome()
{
    static QString path;
    return path;
}
[[maybe_unused]] const bool configHomeSet = [] {
    static QTemporaryDir dir;
    configHome() = dir.path();
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.path()));
    return true;
}();

struct Rig {
    MemorySettingsStore store;
    QStringList warnings;
    Settings settings{store, [this](const QString& m) { warnings.append(m); }};
};

// ---- Text conversions ------------------------------------------------------

struct Int16Case {
    const char* name;
    const char* text;
    std::optional<int> expected;
};

class TextToInt16 : public ::testing::TestWithParam<Int16Case> {};

TEST_P(TextToInt16, ReadsDecimalRoundedHalfToEvenIn16Bits)
{
    const Int16Case& c = GetParam();
    const std::optional<std::int16_t> value = textToInt16(QString::fromUtf8(c.text));
    ASSERT_EQ(value.has_value(), c.expected.has_value());
    if (c.expected) {
        EXPECT_EQ(*value, *c.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TextToInt16,
    ::testing::Values(Int16Case{"Digit", "5", 5}, Int16Case{"HalfDownToEven", "2.5", 2},
                      Int16Case{"HalfUpToEven", "3.5", 4}, Int16Case{"Negative", "-1", -1},
                      Int16Case{"MinusHalfToZero", "-0.5", 0}, Int16Case{"Spaces", " 4 ", 4},
                      Int16Case{"Exponent", "1e1", 10}, Int16Case{"Largest", "32767", 32767},
                      Int16Case{"HalfAboveLargest", "32767.5", std::nullopt},
                      Int16Case{"SmallestByHalf", "-32768.5", -32768},
                      Int16Case{"Overflow", "40000", std::nullopt},
                      Int16Case{"Letters", "x", std::nullopt}, Int16Case{"Empty", "", std::nullopt},
                      Int16Case{"Infinity", "inf", std::nullopt},
                      Int16Case{"NotANumber", "nan", std::nullopt},
                      Int16Case{"TrailingJunk", "3x", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TextToBool, AcceptsTheWordsInAnyCaseAndNumbers)
{
    EXPECT_EQ(textToBool(QStringLiteral("True")), true);
    EXPECT_EQ(textToBool(QStringLiteral("false")), false);
    EXPECT_EQ(textToBool(QStringLiteral("TRUE")), true);
    EXPECT_EQ(textToBool(QStringLiteral("0")), false);
    EXPECT_EQ(textToBool(QStringLiteral("-1")), true);
    EXPECT_EQ(textToBool(QStringLiteral("0.5")), true);
    EXPECT_FALSE(textToBool(QStringLiteral("yes")).has_value());
    EXPECT_FALSE(textToBool(QString()).has_value());
}

TEST(TextToSingle, KeepsSinglePrecisionAndRejectsOverflow)
{
    EXPECT_EQ(textToSingle(QStringLiteral("2400")), 2400.0f);
    EXPECT_EQ(textToSingle(QStringLiteral("0.1")), 0.1f);
    EXPECT_FALSE(textToSingle(QStringLiteral("1e39")).has_value());
    EXPECT_FALSE(textToSingle(QStringLiteral("left")).has_value());
}

// ---- The settings step's reads ---------------------------------------------

TEST(SettingsRead, EmptyStoreGivesTheDefaultsAndWritesNothing)
{
    Rig rig;
    const StoredSettings s = rig.settings.read();
    EXPECT_EQ(s.LocationIndex, 2);
    EXPECT_EQ(s.Font, QStringLiteral("MS ゴシック"));
    EXPECT_EQ(s.Left, -255.0f);
    EXPECT_EQ(s.Top, -255.0f);
    EXPECT_FALSE(s.AlwaysOnTop);
    EXPECT_FALSE(s.framePosition().has_value());
    EXPECT_TRUE(rig.store.values().isEmpty());
    EXPECT_TRUE(rig.warnings.isEmpty());
}

struct LocationCase {
    const char* name;
    const char* text;
    int expected;
    bool warns;
};

class SettingsLocation : public ::testing::TestWithParam<LocationCase> {};

TEST_P(SettingsLocation, UsableTextsChooseTheCityOthersWarnAndFallBackToTokyo)
{
    const LocationCase& c = GetParam();
    Rig rig;
    rig.store.values().insert(SettingKey::Location, QString::fromUtf8(c.text));
    rig.store.values().insert(SettingKey::AlwaysTop, QStringLiteral("True"));
    const StoredSettings s = rig.settings.read();
    EXPECT_EQ(s.LocationIndex, c.expected);
    ASSERT_EQ(rig.warnings.size(), c.warns ? 1 : 0);
    if (c.warns) {
        EXPECT_TRUE(rig.warnings[0].contains(QStringLiteral("\"Location\"")));
        EXPECT_TRUE(rig.warnings[0].contains(QStringLiteral("\"%1\"").arg(c.text)));
    }
    // A bad city does not stop the later keys from being read.
    EXPECT_TRUE(s.AlwaysOnTop);
    // The bad text stays as it was.
    EXPECT_EQ(rig.store.values().value(SettingKey::Location), QString::fromUtf8(c.text));
}

INSTANTIATE_TEST_SUITE_P(Texts, SettingsLocation,
                         ::testing::Values(LocationCase{"Fukuoka", "5", 5, false},
                                           LocationCase{"Sapporo", "0", 0, false},
                                           LocationCase{"HalfDownToEven", "2.5", 2, false},
                                           LocationCase{"HalfUpToEven", "3.5", 4, false},
                                           LocationCase{"PastTheLast", "6", 2, true},
                                           LocationCase{"Negative", "-1", 2, true},
                                           LocationCase{"RoundsPastTheLast", "5.5", 2, true},
                                           LocationCase{"Letters", "x", 2, true},
                                           LocationCase{"Empty", "", 2, true},
                                           LocationCase{"Overflow", "99999", 2, true}),
                         [](const auto& info) { return std::string(info.param.name); });

struct PositionCase {
    const char* name;
    std::optional<const char*> left;
    std::optional<const char*> top;
    std::optional<QPoint> expected;
    int warnings;
};

class SettingsPosition : public ::testing::TestWithParam<PositionCase> {};

TEST_P(SettingsPosition, AppliesOnlyWhenBothEdgesAreAboveZero)
{
    const PositionCase& c = GetParam();
    Rig rig;
    if (c.left)
        rig.store.values().insert(SettingKey::Left, QString::fromUtf8(*c.left));
    if (c.top)
        rig.store.values().insert(SettingKey::Top, QString::fromUtf8(*c.top));
    const StoredSettings s = rig.settings.read();
    EXPECT_EQ(s.framePosition(), c.expected);
    EXPECT_EQ(rig.warnings.size(), c.warnings);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SettingsPosition,
    ::testing::Values(PositionCase{"Both", "3000", "4500", QPoint(200, 300), 0},
                      PositionCase{"LeftWithoutTop", "3000", std::nullopt, std::nullopt, 0},
                      PositionCase{"TopWithoutLeft", std::nullopt, "4500", std::nullopt, 0},
                      PositionCase{"LeftZero", "0", "4500", std::nullopt, 0},
                      PositionCase{"TopNegative", "3000", "-15", std::nullopt, 0},
                      PositionCase{"SmallestAboveZero", "1", "1", QPoint(0, 0), 0},
                      PositionCase{"HalfPixelToEven", "37.5", "22.5", QPoint(2, 2), 0},
                      PositionCase{"LeftNotANumber", "abc", "4500", std::nullopt, 1},
                      PositionCase{"BothNotNumbers", "", "x", std::nullopt, 2},
                      PositionCase{"FarBeyondIntRange", "3e38", "3e38", QPoint(1000000, 1000000),
                                   0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SettingsRead, AlwaysTopWordsAndNumbers)
{
    for (const auto& [text, on, warns] :
         {std::tuple{"True", true, false}, std::tuple{"False", false, false},
          std::tuple{"-1", true, false}, std::tuple{"0", false, false},
          std::tuple{"maybe", false, true}}) {
        Rig rig;
        rig.store.values().insert(SettingKey::AlwaysTop, QString::fromUtf8(text));
        EXPECT_EQ(rig.settings.read().AlwaysOnTop, on) << text;
        EXPECT_EQ(rig.warnings.size(), warns ? 1 : 0) << text;
    }
}

TEST(SettingsRead, AnyFontTextIsTheFace)
{
    Rig rig;
    rig.store.values().insert(SettingKey::Font, QString());
    EXPECT_EQ(rig.settings.read().Font, QString());
    EXPECT_TRUE(rig.warnings.isEmpty());
}

// ---- Writes ---------------------------------------------------------------

TEST(SettingsWrite, TextForms)
{
    Rig rig;
    rig.settings.writeLocation(5);
    rig.settings.writeFont(QStringLiteral("IPAGothic"));
    rig.settings.writeAlwaysTop(true);
    rig.settings.writePosition(QPoint(158, -3));
    const auto& v = rig.store.values();
    EXPECT_EQ(v.value(SettingKey::Location), QStringLiteral("5"));
    EXPECT_EQ(v.value(SettingKey::Font), QStringLiteral("IPAGothic"));
    EXPECT_EQ(v.value(SettingKey::AlwaysTop), QStringLiteral("True"));
    EXPECT_EQ(v.value(SettingKey::Left), QStringLiteral("2370"));
    EXPECT_EQ(v.value(SettingKey::Top), QStringLiteral("-45"));
    rig.settings.writeAlwaysTop(false);
    EXPECT_EQ(v.value(SettingKey::AlwaysTop), QStringLiteral("False"));
}

TEST(SettingsWrite, WrittenPositionReadsBackToTheSamePixels)
{
    Rig rig;
    rig.settings.writePosition(QPoint(641, 7));
    EXPECT_EQ(rig.settings.read().framePosition(), QPoint(641, 7));
}

TEST(SettingsWrite, FailedWritesWarnOncePerKeyAndCause)
{
    Rig rig;
    rig.store.refuseWrites(QStringLiteral("the disk is full"));
    rig.settings.writeAlwaysTop(false);
    rig.settings.writeAlwaysTop(true);
    rig.settings.writeLocation(1);
    rig.settings.writePosition(QPoint(10, 10));
    EXPECT_EQ(rig.store.writes(), 5);
    ASSERT_EQ(rig.warnings.size(), 4);
    int key = 0;
    for (const QString& name :
         {SettingKey::AlwaysTop, SettingKey::Location, SettingKey::Left, SettingKey::Top}) {
        EXPECT_TRUE(rig.warnings[key].contains(QStringLiteral("\"%1\"").arg(name)));
        EXPECT_TRUE(rig.warnings[key++].contains(QStringLiteral("the disk is full")));
    }
    // A new cause later in the run is told too; a write that works again is silent.
    rig.store.refuseWrites(QStringLiteral("the lock is held"));
    rig.settings.writeAlwaysTop(false);
    ASSERT_EQ(rig.warnings.size(), 5);
    EXPECT_TRUE(rig.warnings[4].contains(QStringLiteral("the lock is held")));
    rig.store.refuseWrites(QString());
    rig.settings.writeAlwaysTop(true);
    EXPECT_EQ(rig.warnings.size(), 5);
}

TEST(SettingsRead, StoredControlCharactersAreQuotedInWarnings)
{
    Rig rig;
    rig.store.values().insert(SettingKey::Left, QString::fromUtf8("1\x1b[31m\0tail\xc2\x9b", 13));
    rig.settings.read();
    ASSERT_EQ(rig.warnings.size(), 1);
    const QString& warning = rig.warnings[0];
    EXPECT_TRUE(warning.contains(QStringLiteral("\"1\\x1b[31m\\x00tail\\u009b\"")))
        << warning.toStdString();
    for (const QChar c : warning)
        EXPECT_TRUE(c.unicode() >= 0x20 && !(c.unicode() >= 0x7F && c.unicode() <= 0x9F));
}

TEST(ScreenReach, FrameMustOverlapSomeScreen)
{
    const QList<QRect> screens{QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)};
    EXPECT_TRUE(reachesAnyScreen(QRect(160, 128, 169, 172), screens));
    EXPECT_TRUE(reachesAnyScreen(QRect(3000, 900, 169, 172), screens));
    EXPECT_TRUE(reachesAnyScreen(QRect(3199, 1023, 169, 172), screens));
    EXPECT_FALSE(reachesAnyScreen(QRect(3200, 100, 169, 172), screens));
    EXPECT_FALSE(reachesAnyScreen(QRect(100, 1100, 169, 172), screens));
    EXPECT_FALSE(reachesAnyScreen(QRect(100, 100, 169, 172), {}));
}

// ---- The platform's own store -----------------------------------------------

TEST(NativeSettingsStore, WritesTheUsersConfFileUnderSetting)
{
    const QString file = configHome() + QStringLiteral("/Soramado.conf");
    QFile::remove(file);
    {
        NativeSettingsStore store;
        EXPECT_EQ(store.location(), file);
        EXPECT_FALSE(store.ReadSetting(QStringLiteral("Location")).has_value());
        EXPECT_EQ(store.WriteSetting(QStringLiteral("Location"), QStringLiteral("4")),
                  std::nullopt);
        EXPECT_EQ(store.WriteSetting(QStringLiteral("Font"), QStringLiteral("MS ゴシック")),
                  std::nullopt);
        EXPECT_EQ(store.WriteSetting(QStringLiteral("Left"), QStringLiteral("2370")), std::nullopt);
        // Each write is on disk at once, before the store goes away.
        QSettings check(file, QSettings::IniFormat);
        EXPECT_EQ(check.childGroups(), QStringList{QStringLiteral("Setting")});
        EXPECT_EQ(check.value(QStringLiteral("Setting/Location")).toString(), QStringLiteral("4"));
        EXPECT_EQ(check.value(QStringLiteral("Setting/Font")).toString(),
                  QStringLiteral("MS ゴシック"));
        EXPECT_EQ(check.value(QStringLiteral("Setting/Left")).toString(), QStringLiteral("2370"));
    }
    NativeSettingsStore again;
    EXPECT_EQ(again.ReadSetting(QStringLiteral("Location")), QStringLiteral("4"));
    EXPECT_EQ(again.ReadSetting(QStringLiteral("Font")), QStringLiteral("MS ゴシック"));
    EXPECT_FALSE(again.ReadSetting(QStringLiteral("Top")).has_value());
    // An empty text is still a present key.
    EXPECT_EQ(again.WriteSetting(QStringLiteral("Top"), QString()), std::nullopt);
    EXPECT_EQ(NativeSettingsStore().ReadSetting(QStringLiteral("Top")), QString());
}

#ifndef Q_OS_WIN

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(NativeSettingsStore, AFolderWhereTheFileShouldBeIsOneReadingAndOneWriteProblemPerKey)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Soramado.conf")));
    NativeSettingsStore store(dir.filePath(QStringLiteral("Soramado.conf")));
    QStringList warnings;
    Settings settings(store, [&](const QString& m) { warnings.append(m); });
    settings.read();
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_TRUE(warnings[0].contains(QStringLiteral("is a folder")));
    EXPECT_FALSE(warnings[0].contains(QStringLiteral("could not save")));
    settings.writeAlwaysTop(true);
    settings.writeAlwaysTop(false);
    settings.writeLocation(3);
    ASSERT_EQ(warnings.size(), 3);
    EXPECT_TRUE(warnings[1].contains(QStringLiteral("\"AlwaysTop\"")));
    EXPECT_TRUE(warnings[2].contains(QStringLiteral("\"Location\"")));
    EXPECT_TRUE(warnings[2].contains(store.location()));
}

TEST(NativeSettingsStore, OddLinesAreAReadingNoteAndTheWriteKeepsThem)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Soramado.conf"));
    const QByteArray before("\xEF\xBB\xBF# mine\n[Setting]\ngarbage\nAlwaysTop=True\n"
                            "Font=caf\xe9\n");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(before);
    file.close();
    NativeSettingsStore store(path);
    QStringList warnings;
    Settings settings(store, [&](const QString& m) { warnings.append(m); });
    EXPECT_TRUE(settings.read().AlwaysOnTop);
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_TRUE(warnings[0].contains(QStringLiteral("line 3")));
    // The start's own write of the flag, and a real change: no false alarm, nothing lost.
    settings.writeAlwaysTop(true);
    settings.writeAlwaysTop(false);
    EXPECT_EQ(warnings.size(), 1);
    QByteArray after = before;
    after.replace("AlwaysTop=True", "AlwaysTop=False");
    EXPECT_EQ(fileBytes(path), after);
}

TEST(NativeSettingsStore, RespectsTheLockQSettingsTakes)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Soramado.conf"));
    QLockFile theirs(path + QStringLiteral(".lock"));
    ASSERT_TRUE(theirs.tryLock(0));
    NativeSettingsStore store(path);
    const std::optional<QString> failure =
        store.WriteSetting(QStringLiteral("AlwaysTop"), QStringLiteral("False"));
    ASSERT_TRUE(failure.has_value());
    EXPECT_TRUE(failure->contains(path + QStringLiteral(".lock"))) << failure->toStdString();
    EXPECT_FALSE(QFile::exists(path));
    theirs.unlock();
    EXPECT_EQ(store.WriteSetting(QStringLiteral("AlwaysTop"), QStringLiteral("False")),
              std::nullopt);
    // Ours is gone again, so theirs can be taken at once.
    EXPECT_TRUE(theirs.tryLock(0));
}

TEST(NativeSettingsStore, ReadsWhatQSettingsWroteAndWritesWhatItReads)
{
    const QStringList texts{QStringLiteral("MS ゴシック"),
                            QStringLiteral(" lead"),
                            QStringLiteral("trail "),
                            QStringLiteral("a;b"),
                            QStringLiteral("Noto Sans, Bold"),
                            QStringLiteral("x=y"),
                            QStringLiteral("q\"u"),
                            QStringLiteral("back\\slash"),
                            QStringLiteral("tab\t"),
                            QStringLiteral("line\nbreak"),
                            QStringLiteral("@at"),
                            QStringLiteral(""),
                            QStringLiteral("-2370"),
                            QStringLiteral("\x01"
                                           "1")};
    QTemporaryDir dir;
    const QString theirs = dir.filePath(QStringLiteral("theirs.conf"));
    const QString ours = dir.filePath(QStringLiteral("ours.conf"));
    for (const QString& text : texts) {
        {
            QSettings qt(theirs, QSettings::IniFormat);
            qt.setValue(QStringLiteral("Setting/Font"), text);
        }
        EXPECT_EQ(NativeSettingsStore(theirs).ReadSetting(QStringLiteral("Font")), text);
        EXPECT_EQ(NativeSettingsStore(ours).WriteSetting(QStringLiteral("Font"), text),
                  std::nullopt);
        EXPECT_EQ(QSettings(ours, QSettings::IniFormat).value(QStringLiteral("Setting/Font")),
                  text);
    }
}

#endif

} // namespace
