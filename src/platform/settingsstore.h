#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace soramado {

// Where every store keeps the settings: the section "Setting" of the application
// "Soramado", in each system's usual place for it.
inline constexpr std::string_view StoreApplication = "Soramado";
inline constexpr std::string_view StoreSection = "Setting";

// The per-user store of the clock's few settings: text values under the
// store's section of the store's application.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // The stored text, or nothing when the key was never written.
    virtual std::optional<std::string> ReadSetting(std::string_view key) = 0;
    // Creates or replaces the key at once. Nothing on success; otherwise one line that says
    // what failed and where (the file or lock, the system's reason), for the user's warning.
    virtual std::optional<std::string> WriteSetting(std::string_view key,
                                                    std::string_view text) = 0;
    // What reading found wrong with the store, each problem once; nothing for a sound one.
    virtual std::vector<std::string> readProblems() const { return {}; }
};

} // namespace soramado
