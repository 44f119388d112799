#pragma once

#include "platform/settingsstore.h"

#include <windows.h>

#include <string>
#include <vector>

namespace soramado::win32 {

// A value that exists but could not be read, and the system's error code for why.
struct UnreadableValue {
    std::string key;
    LONG error = 0;
    bool operator==(const UnreadableValue&) const = default;
};

// The settings as REG_SZ values of HKEY_CURRENT_USER\Software\Soramado\Setting.
// A value that exists but cannot be read as text counts as absent, so its
// default applies, and is kept as a read problem, once.
class RegistrySettingsStore final : public SettingsStore {
public:
    // Software\<the store's application>\<its section>, under the user's root.
    static std::wstring defaultKey();

    explicit RegistrySettingsStore(HKEY root = HKEY_CURRENT_USER,
                                   std::wstring subKey = defaultKey());

    std::optional<std::string> ReadSetting(std::string_view key) override;
    std::optional<std::string> WriteSetting(std::string_view key, std::string_view text) override;
    // One line for each unreadable value, for the warning.
    std::vector<std::string> readProblems() const override;

    const std::vector<UnreadableValue>& unreadable() const { return unreadable_; }
    // The key's full name as messages show it.
    std::string location() const;

private:
    HKEY root_;
    std::wstring subKey_;
    std::vector<UnreadableValue> unreadable_;
};

// The system's own words for an error code, on one line.
std::string systemMessage(LONG code);

} // namespace soramado::win32
