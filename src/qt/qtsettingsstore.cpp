#include "platform/settingsstore.h"

namespace soramado {

namespace {

const QString Section = QStringLiteral("Setting/");

} // namespace

#ifdef Q_OS_WIN
// With no application name Qt would use "OrganizationDefaults"; name the key directly.
NativeSettingsStore::NativeSettingsStore()
    : settings_(QStringLiteral("HKEY_CURRENT_USER\\Software\\Soramado"), QSettings::NativeFormat)
{}
#else
NativeSettingsStore::NativeSettingsStore()
    : settings_(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Soramado"))
{
    // Only the user's own values count, never a system-wide file.
    settings_.setFallbacksEnabled(false);
}
#endif

std::optional<QString> NativeSettingsStore::ReadSetting(const QString& key) const
{
    const QString path = Section + key;
    if (!settings_.contains(path))
        return std::nullopt;
    return settings_.value(path).toString();
}

bool NativeSettingsStore::WriteSetting(const QString& key, const QString& text)
{
    settings_.setValue(Section + key, text);
    settings_.sync();
    return settings_.status() == QSettings::NoError;
}

} // namespace soramado
