#pragma once

#include "platform/settingsstore.h"

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace soramado {

// The clock's settings in the INI file that QSettings kept them in so far
// ($XDG_CONFIG_HOME/Soramado.conf, group [Setting]), read by QSettings' rules
// except that a stored text is always one text, never a list.
//
// Written by a store of its own rather than by QSettings, because QSettings
// rewrites the whole file from what it understood: comments, odd lines and
// bytes that are not UTF-8 are lost, and a line it cannot parse makes it
// refuse every write. Here a write changes the one line it owns and keeps
// every other byte; it replaces the file atomically (temporary file in the
// same folder, fsync, rename) under Soramado.conf.lock, the lock file that
// QSettings takes too, and waits for that lock only a short, bounded time.
// As QSettings, it breaks a lock that QLockFile would call stale, leaves a
// file its user may not write as it is, and makes the file that a dangling
// symbolic link names.
class IniFileStore final : public SettingsStore {
public:
    // $XDG_CONFIG_HOME/Soramado.conf, else ~/.config/Soramado.conf.
    static std::string defaultPath();

    explicit IniFileStore(std::string path = defaultPath(),
                          std::chrono::milliseconds lockWait = std::chrono::milliseconds(1000));

    // The stored text, or nothing when the key was never written (or the file
    // cannot be read, which readProblems() then tells).
    std::optional<std::string> ReadSetting(std::string_view key) override;
    // Creates or replaces the key at once. Nothing on success; otherwise one
    // line that says what failed and where.
    std::optional<std::string> WriteSetting(std::string_view key, std::string_view text) override;

    // What reading found wrong (an unreadable file, lines that are no
    // settings), each problem once, in the order found.
    std::vector<std::string> readProblems() const override { return readProblems_; }

    const std::string& path() const { return path_; }
    std::string lockPath() const { return path_ + ".lock"; }

private:
    void noteReadProblem(std::string problem);

    std::string path_;
    std::chrono::milliseconds lockWait_;
    std::vector<std::string> readProblems_;
};

} // namespace soramado
