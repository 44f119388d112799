#include "denywrites.h"

#include "app/settings.h"
#include "win32/registrystore.h"
#include "win32/text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace soramado::win32 {
namespace {

// Each test writes under its own key of HKCU and removes it afterwards.
class RegistryStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        parent_ = L"Software\\SoramadoTest" + std::to_wstring(GetCurrentProcessId());
        subKey_ = parent_ + L"\\Setting";
    }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, parent_.c_str()); }

    RegistrySettingsStore store() { return RegistrySettingsStore(HKEY_CURRENT_USER, subKey_); }

    void setRaw(const wchar_t* name, DWORD type, const void* data, DWORD bytes)
    {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, subKey_.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                  nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), bytes);
        RegCloseKey(key);
    }

    std::wstring parent_;
    std::wstring subKey_;
};

TEST_F(RegistryStoreTest, AbsentKeyReadsAsNothingWithoutWarning)
{
    auto s = store();
    EXPECT_EQ(s.ReadSetting("Location"), std::nullopt);
    EXPECT_TRUE(s.readProblems().empty());
}

TEST_F(RegistryStoreTest, WrittenTextsReadBackUnchangedAsRegSz)
{
    auto s = store();
    const std::vector<std::pair<std::string, std::string>> values = {
        {"Font", "MS ゴシック"}, {"Location", "5"}, {"Left", "-255"},
        {"AlwaysTop", "True"},   {"Font", ""}, // an empty face is a text like any other
    };
    for (const auto& [key, text] : values) {
        EXPECT_EQ(s.WriteSetting(key, text), std::nullopt) << key;
        EXPECT_EQ(s.ReadSetting(key), text) << key;
        DWORD type = 0;
        RegGetValueW(HKEY_CURRENT_USER, subKey_.c_str(), widen(key).c_str(), RRF_RT_ANY, &type,
                     nullptr, nullptr);
        EXPECT_EQ(type, static_cast<DWORD>(REG_SZ)) << key;
    }
    EXPECT_TRUE(s.readProblems().empty());
}

TEST_F(RegistryStoreTest, LongTextIsReadWhole)
{
    auto s = store();
    const std::string face(3000, 'x');
    ASSERT_EQ(s.WriteSetting("Font", face), std::nullopt);
    EXPECT_EQ(s.ReadSetting("Font"), face);
}

TEST_F(RegistryStoreTest, ValueOfAnotherTypeCountsAsAbsentAndIsAProblemNamingIt)
{
    const DWORD number = 3;
    setRaw(L"Location", REG_DWORD, &number, sizeof number);
    auto s = store();
    EXPECT_EQ(s.ReadSetting("Location"), std::nullopt);
    EXPECT_EQ(s.ReadSetting("Location"), std::nullopt); // told once, however often read
    const std::vector<UnreadableValue> expected = {{"Location", ERROR_UNSUPPORTED_TYPE}};
    EXPECT_EQ(s.unreadable(), expected);
    const std::vector<std::string> lines = s.readProblems();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("\"Location\""), std::string::npos) << lines[0];
    EXPECT_NE(lines[0].find("REG_SZ"), std::string::npos) << lines[0];
    EXPECT_NE(lines[0].find("default"), std::string::npos) << lines[0];
}

TEST_F(RegistryStoreTest, ExpandableTextIsTakenAsWritten)
{
    const wchar_t text[] = L"%TEMP%";
    setRaw(L"Font", REG_EXPAND_SZ, text, sizeof text);
    auto s = store();
    EXPECT_EQ(s.ReadSetting("Font"), "%TEMP%");
}

TEST_F(RegistryStoreTest, RefusedWriteIsOneLineNamingKeyAndPlace)
{
    // Below a volatile key the store's lasting key cannot be made. (A parent
    // opened read-only would do on Windows, but Wine does not refuse that.)
    HKEY parent = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, parent_.c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, &parent, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(parent);
    auto s = store();
    const std::optional<std::string> failure = s.WriteSetting("Left", "2400");
    ASSERT_TRUE(failure.has_value());
    EXPECT_NE(failure->find("\"Left\""), std::string::npos) << *failure;
    EXPECT_NE(failure->find("HKEY_CURRENT_USER\\Software\\SoramadoTest"), std::string::npos)
        << *failure;
    EXPECT_EQ(failure->find('\n'), std::string::npos) << *failure;
    EXPECT_TRUE(s.readProblems().empty());
}

TEST_F(RegistryStoreTest, AKeyTheUserMayNotWriteWarnsOncePerKeyAndCauseAndStillReads)
{
    const wchar_t city[] = L"4";
    setRaw(L"Location", REG_SZ, city, sizeof city);
    ASSERT_TRUE(testing::denyValueWrites(HKEY_CURRENT_USER, subKey_));
    auto s = store();
    const std::optional<std::string> refused = s.WriteSetting("Location", "3");
    ASSERT_TRUE(refused.has_value()) << "the deny entry was not honoured";
    EXPECT_NE(refused->find("(error 5)"), std::string::npos) << *refused;
    EXPECT_EQ(s.ReadSetting("Location"), "4");

    // Through the program's own writer: each key's failure told once, however
    // often it is written, and every write comes back.
    std::vector<std::string> told;
    Settings settings(s, [&told](const std::string& line) { told.push_back(line); });
    for (int round = 0; round < 3; ++round) {
        settings.writeLocation(static_cast<std::int16_t>(round));
        settings.writeAlwaysTop(round % 2 == 0);
        settings.writeFont("MS Gothic");
        settings.writePosition({100 + round, 50});
    }
    ASSERT_EQ(told.size(), 5u);
    const char* keys[] = {"\"Location\"", "\"AlwaysTop\"", "\"Font\"", "\"Left\"", "\"Top\""};
    for (std::size_t i = 0; i < told.size(); ++i) {
        EXPECT_NE(told[i].find(keys[i]), std::string::npos) << told[i];
        EXPECT_NE(told[i].find("(error 5)"), std::string::npos) << told[i];
    }
    EXPECT_EQ(s.ReadSetting("Location"), "4");
}

// A value of any length read from the registry is named in one short warning
// that keeps its start and end around a mark.
TEST_F(RegistryStoreTest, AHugeStoredValueIsCutInItsWarning)
{
    const std::wstring huge = L"12" + std::wstring(40'000, L'x') + L"34";
    setRaw(L"Left", REG_SZ, huge.c_str(), static_cast<DWORD>((huge.size() + 1) * sizeof(wchar_t)));
    const wchar_t top[] = L"2250";
    setRaw(L"Top", REG_SZ, top, sizeof top);
    auto s = store();
    std::vector<std::string> warnings;
    Settings settings(s, [&warnings](const std::string& line) { warnings.push_back(line); });
    settings.read();
    ASSERT_EQ(warnings.size(), 1u);
    const std::string& warning = warnings[0];
    EXPECT_LT(warning.size(), 500u);
    EXPECT_NE(warning.find("\"Left\" = \"12xxx"), std::string::npos) << warning;
    EXPECT_NE(warning.find("xxx\u2026xxx"), std::string::npos) << warning;
    EXPECT_NE(warning.find("xxx34\""), std::string::npos) << warning;
}

} // namespace
} // namespace soramado::win32
