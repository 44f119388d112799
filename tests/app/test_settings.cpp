#include "app/headless.h"
#include "app/settings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace soramado;

namespace {

struct Rig {
    MemorySettingsStore store;
    std::vector<std::string> warnings;
    Settings settings{store, [this](const std::string& m) { warnings.push_back(m); }};
};

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

std::string value(const MemorySettingsStore& store, std::string_view key)
{
    const auto it = store.values().find(key);
    return it == store.values().end() ? std::string() : it->second;
}

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
    const std::optional<std::int16_t> value = textToInt16(c.text);
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
    EXPECT_EQ(textToBool(std::string("True")), true);
    EXPECT_EQ(textToBool(std::string("false")), false);
    EXPECT_EQ(textToBool(std::string("TRUE")), true);
    EXPECT_EQ(textToBool(std::string("0")), false);
    EXPECT_EQ(textToBool(std::string("-1")), true);
    EXPECT_EQ(textToBool(std::string("0.5")), true);
    EXPECT_FALSE(textToBool(std::string("yes")).has_value());
    EXPECT_FALSE(textToBool("").has_value());
}

TEST(TextToSingle, KeepsSinglePrecisionAndRejectsOverflow)
{
    EXPECT_EQ(textToSingle(std::string("2400")), 2400.0f);
    EXPECT_EQ(textToSingle(std::string("0.1")), 0.1f);
    EXPECT_FALSE(textToSingle(std::string("1e39")).has_value());
    EXPECT_FALSE(textToSingle(std::string("left")).has_value());
}

// ---- The settings step's reads ---------------------------------------------

TEST(SettingsRead, EmptyStoreGivesTheDefaultsAndWritesNothing)
{
    Rig rig;
    const StoredSettings s = rig.settings.read();
    EXPECT_EQ(s.LocationIndex, 2);
    EXPECT_EQ(s.Font, std::string("MS ゴシック"));
    EXPECT_EQ(s.Left, -255.0f);
    EXPECT_EQ(s.Top, -255.0f);
    EXPECT_FALSE(s.AlwaysOnTop);
    EXPECT_FALSE(s.framePosition().has_value());
    EXPECT_TRUE(rig.store.values().empty());
    EXPECT_TRUE(rig.warnings.empty());
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
    rig.store.values().insert_or_assign(std::string(SettingKey::Location), c.text);
    rig.store.values().insert_or_assign(std::string(SettingKey::AlwaysTop), std::string("True"));
    const StoredSettings s = rig.settings.read();
    EXPECT_EQ(s.LocationIndex, c.expected);
    ASSERT_EQ(rig.warnings.size(), c.warns ? 1u : 0u);
    if (c.warns) {
        EXPECT_TRUE(contains(rig.warnings[0], std::string("\"Location\"")));
        EXPECT_TRUE(contains(rig.warnings[0], "\"" + std::string(c.text) + "\""));
    }
    // A bad city does not stop the later keys from being read.
    EXPECT_TRUE(s.AlwaysOnTop);
    // The bad text stays as it was.
    EXPECT_EQ(value(rig.store, SettingKey::Location), c.text);
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
    std::optional<PixelPoint> expected;
    int warnings;
};

class SettingsPosition : public ::testing::TestWithParam<PositionCase> {};

TEST_P(SettingsPosition, AppliesOnlyWhenBothEdgesAreAboveZero)
{
    const PositionCase& c = GetParam();
    Rig rig;
    if (c.left)
        rig.store.values().insert_or_assign(std::string(SettingKey::Left), *c.left);
    if (c.top)
        rig.store.values().insert_or_assign(std::string(SettingKey::Top), *c.top);
    const StoredSettings s = rig.settings.read();
    EXPECT_EQ(s.framePosition(), c.expected);
    EXPECT_EQ(static_cast<int>(rig.warnings.size()), c.warnings);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SettingsPosition,
    ::testing::Values(PositionCase{"Both", "3000", "4500", PixelPoint{200, 300}, 0},
                      PositionCase{"LeftWithoutTop", "3000", std::nullopt, std::nullopt, 0},
                      PositionCase{"TopWithoutLeft", std::nullopt, "4500", std::nullopt, 0},
                      PositionCase{"LeftZero", "0", "4500", std::nullopt, 0},
                      PositionCase{"TopNegative", "3000", "-15", std::nullopt, 0},
                      PositionCase{"SmallestAboveZero", "1", "1", PixelPoint{0, 0}, 0},
                      PositionCase{"HalfPixelToEven", "37.5", "22.5", PixelPoint{2, 2}, 0},
                      PositionCase{"LeftNotANumber", "abc", "4500", std::nullopt, 1},
                      PositionCase{"BothNotNumbers", "", "x", std::nullopt, 2},
                      PositionCase{"FarBeyondIntRange", "3e38", "3e38",
                                   PixelPoint{1000000, 1000000}, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SettingsRead, AlwaysTopWordsAndNumbers)
{
    for (const auto& [text, on, warns] :
         {std::tuple{"True", true, false}, std::tuple{"False", false, false},
          std::tuple{"-1", true, false}, std::tuple{"0", false, false},
          std::tuple{"maybe", false, true}}) {
        Rig rig;
        rig.store.values().insert_or_assign(std::string(SettingKey::AlwaysTop), text);
        EXPECT_EQ(rig.settings.read().AlwaysOnTop, on) << text;
        EXPECT_EQ(rig.warnings.size(), warns ? 1u : 0u) << text;
    }
}

// What a shell shows in its own words: each unusable text, by key, in reading order,
// one entry for each warning; usable ones are not listed.
TEST(SettingsRead, UnusableTextsAreListedByKeyInOrder)
{
    Rig rig;
    for (const auto& [key, text] :
         {std::pair{SettingKey::Location, "x"}, std::pair{SettingKey::Font, "?"},
          std::pair{SettingKey::Left, "3000"}, std::pair{SettingKey::Top, "abc"},
          std::pair{SettingKey::AlwaysTop, "maybe"}})
        rig.store.values().insert_or_assign(std::string(key), text);
    const StoredSettings s = rig.settings.read();
    const std::vector<UnusableSetting> expected = {
        {"Location", "x"}, {"Top", "abc"}, {"AlwaysTop", "maybe"}};
    EXPECT_EQ(s.unusable, expected);
    EXPECT_EQ(rig.warnings.size(), expected.size());
    Rig sound;
    EXPECT_TRUE(sound.settings.read().unusable.empty());
}

TEST(SettingsRead, AnyFontTextIsTheFace)
{
    Rig rig;
    rig.store.values().insert_or_assign(std::string(SettingKey::Font), "");
    EXPECT_EQ(rig.settings.read().Font, "");
    EXPECT_TRUE(rig.warnings.empty());
}

// ---- Writes ---------------------------------------------------------------

TEST(SettingsWrite, TextForms)
{
    Rig rig;
    rig.settings.writeLocation(5);
    rig.settings.writeFont(std::string("IPAGothic"));
    rig.settings.writeAlwaysTop(true);
    rig.settings.writePosition(PixelPoint{158, -3});
    EXPECT_EQ(value(rig.store, SettingKey::Location), std::string("5"));
    EXPECT_EQ(value(rig.store, SettingKey::Font), std::string("IPAGothic"));
    EXPECT_EQ(value(rig.store, SettingKey::AlwaysTop), std::string("True"));
    EXPECT_EQ(value(rig.store, SettingKey::Left), std::string("2370"));
    EXPECT_EQ(value(rig.store, SettingKey::Top), std::string("-45"));
    rig.settings.writeAlwaysTop(false);
    EXPECT_EQ(value(rig.store, SettingKey::AlwaysTop), std::string("False"));
}

TEST(SettingsWrite, WrittenPositionReadsBackToTheSamePixels)
{
    Rig rig;
    rig.settings.writePosition(PixelPoint{641, 7});
    EXPECT_EQ(rig.settings.read().framePosition(), (PixelPoint{641, 7}));
}

TEST(SettingsWrite, FailedWritesWarnOncePerKeyAndCause)
{
    Rig rig;
    rig.store.refuseWrites(true, "the disk is full");
    rig.settings.writeAlwaysTop(false);
    rig.settings.writeAlwaysTop(true);
    rig.settings.writeLocation(1);
    rig.settings.writePosition(PixelPoint{10, 10});
    EXPECT_EQ(rig.store.writes(), 5);
    ASSERT_EQ(rig.warnings.size(), 4u);
    int n = 0;
    for (const char* key : {"\"AlwaysTop\"", "\"Location\"", "\"Left\"", "\"Top\""}) {
        EXPECT_TRUE(contains(rig.warnings[n], key)) << rig.warnings[n];
        EXPECT_TRUE(contains(rig.warnings[n++], "the disk is full"));
    }
    // A new cause later in the run is told too; a write that works again is silent.
    rig.store.refuseWrites(true, "the lock is held");
    rig.settings.writeAlwaysTop(false);
    ASSERT_EQ(rig.warnings.size(), 5u);
    EXPECT_TRUE(contains(rig.warnings[4], "the lock is held"));
    rig.store.refuseWrites(false);
    rig.settings.writeAlwaysTop(true);
    EXPECT_EQ(rig.warnings.size(), 5u);
}

TEST(SettingsRead, StoredControlCharactersAreQuotedInWarnings)
{
    Rig rig;
    rig.store.values()["Left"] = std::string("1\x1b[31m\0tail\xc2\x9b", 13);
    rig.settings.read();
    ASSERT_EQ(rig.warnings.size(), 1u);
    const std::string& warning = rig.warnings[0];
    EXPECT_TRUE(contains(warning, "\"1\\x1b[31m\\x00tail\\u009b\"")) << warning;
    for (const char c : warning)
        EXPECT_TRUE(static_cast<unsigned char>(c) >= 0x20 && c != 0x7f) << warning;
}

// A stored value of any length makes one short line that still shows its
// start and end, whichever key holds it.
TEST(SettingsRead, AHugeStoredValueIsCutInItsWarning)
{
    for (const std::string_view key :
         {SettingKey::Left, SettingKey::Location, SettingKey::AlwaysTop}) {
        Rig rig;
        const std::string huge = "start" + std::string(40'000, '7') + "end";
        rig.store.values()[std::string(key)] = huge;
        if (key == SettingKey::Left)
            rig.store.values()[std::string(SettingKey::Top)] = "300";
        rig.settings.read();
        ASSERT_EQ(rig.warnings.size(), 1u) << key;
        const std::string& warning = rig.warnings[0];
        EXPECT_LT(warning.size(), 500u) << key;
        EXPECT_TRUE(contains(warning, "\"start777")) << warning;
        EXPECT_TRUE(contains(warning, "777\u2026777")) << warning;
        EXPECT_TRUE(contains(warning, "777end\"")) << warning;
    }
}

} // namespace
