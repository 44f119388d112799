#pragma once

#include "platform/settingsstore.h"

#include <QSettings>
#include <QString>

namespace soramado {

// The settings in Qt's native store: ~/.config/Soramado.conf (or under $XDG_CONFIG_HOME).
class QtSettingsStore final : public SettingsStore {
public:
    QtSettingsStore();
    std::optional<std::string> ReadSetting(std::string_view key) override;
    std::optional<std::string> WriteSetting(std::string_view key, std::string_view text) override;

private:
    QSettings settings_;
};

} // namespace soramado
