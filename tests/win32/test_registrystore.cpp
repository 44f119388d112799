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

    RegistrySettingsStore store()
    {
        return RegistrySettingsStore([this](const std::string& line) { warnings_.push_back(line); },
                                     HKEY_CURRENT_USER, subKey_);
    }

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
    std::vector<std::string> warnings_;
};

TEST_F(RegistryStoreTest, AbsentKeyReadsAsNothingWithoutWarning)
{
    auto s = store();
    EXPECT_EQ(s.ReadSetting("Location"), std::nullopt);
    EXPECT_TRUE(warnings_.empty());
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
    EXPECT_TRUE(warnings_.empty());
}

TEST_F(RegistryStoreTest, LongTextIsReadWhole)
{
    auto s = store();
    const std::string face(3000, 'x');
    ASSERT_EQ(s.WriteSetting("Font", face), std::nullopt);
    EXPECT_EQ(s.ReadSetting("Font"), face);
}

TEST_F(RegistryStoreTest, ValueOfAnotherTypeCountsAsAbsentAndWarnsNamingIt)
{
    const DWORD number = 3;
    setRaw(L"Location", REG_DWORD, &number, sizeof number);
    auto s = store();
    EXPECT_EQ(s.ReadSetting("Location"), std::nullopt);
    ASSERT_EQ(warnings_.size(), 1u);
    EXPECT_NE(warnings_[0].find("\"Location\""), std::string::npos) << warnings_[0];
    EXPECT_NE(warnings_[0].find("default"), std::string::npos) << warnings_[0];
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
    EXPECT_TRUE(warnings_.empty());
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
    Settings settings(s, [this](const std::string& line) { warnings_.push_back(line); });
    settings.read();
    ASSERT_EQ(warnings_.size(), 1u);
    const std::string& warning = warnings_[0];
    EXPECT_LT(warning.size(), 500u);
    EXPECT_NE(warning.find("\"Left\" = \"12xxx"), std::string::npos) << warning;
    EXPECT_NE(warning.find("xxx\u2026xxx"), std::string::npos) << warning;
    EXPECT_NE(warning.find("xxx34\""), std::string::npos) << warning;
}

} // namespace
} // namespace soramado::win32
