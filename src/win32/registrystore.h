#pragma once

#include "platform/settingsstore.h"

#include <windows.h>

#include <string>
#include <vector>

namespace soramado::win32 {

// The settings as REG_SZ values of HKEY_CURRENT_USER\Software\Soramado\Setting.
// A value that exists but cannot be read as text counts as absent, so its
// default applies, and is reported once among the read problems.
class RegistrySettingsStore final : public SettingsStore {
public:
    // Software\<the store's application>\<its section>, under the user's root.
    static std::wstring defaultKey();

    explicit RegistrySettingsStore(HKEY root = HKEY_CURRENT_USER,
                                   std::wstring subKey = defaultKey());

    std::optional<std::string> ReadSetting(std::string_view key) override;
    std::optional<std::string> WriteSetting(std::string_view key, std::string_view text) override;
    std::vector<std::string> readProblems() const override { return problems_; }

    // The key's full name as messages show it.
    std::string location() const;

private:
    HKEY root_;
    std::wstring subKey_;
    std::vector<std::string> problems_;
};

// The system's own words for an error code, on one line.
std::string systemMessage(LONG code);

} // namespace soramado::win32
