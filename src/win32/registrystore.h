#pragma once

#include "platform/settingsstore.h"

#include <windows.h>

#include <functional>
#include <string>

namespace soramado::win32 {

// The settings as REG_SZ values of HKEY_CURRENT_USER\Software\Soramado\Setting.
// A value that exists but cannot be read as text counts as absent, so its
// default applies, and is reported through the warning once.
class RegistrySettingsStore final : public SettingsStore {
public:
    using Warn = std::function<void(const std::string&)>;
    static constexpr const wchar_t* DefaultKey = L"Software\\Soramado\\Setting";

    explicit RegistrySettingsStore(Warn warn, HKEY root = HKEY_CURRENT_USER,
                                   std::wstring subKey = DefaultKey);

    std::optional<std::string> ReadSetting(std::string_view key) override;
    std::optional<std::string> WriteSetting(std::string_view key, std::string_view text) override;

    // The key's full name as messages show it.
    std::string location() const;

private:
    Warn warn_;
    HKEY root_;
    std::wstring subKey_;
};

// The system's own words for an error code, on one line.
std::string systemMessage(LONG code);

} // namespace soramado::win32
