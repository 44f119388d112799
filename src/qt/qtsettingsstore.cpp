#include "qt/qtsettingsstore.h"

namespace soramado {

namespace {

QString fromView(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

QString pathOf(std::string_view key)
{
    return fromView(StoreSection) + QLatin1Char('/') + fromView(key);
}

} // namespace

QtSettingsStore::QtSettingsStore()
    : settings_(QSettings::NativeFormat, QSettings::UserScope, fromView(StoreApplication))
{
    // Only the user's own values count, never a system-wide file.
    settings_.setFallbacksEnabled(false);
}

std::optional<std::string> QtSettingsStore::ReadSetting(std::string_view key)
{
    const QString path = pathOf(key);
    if (!settings_.contains(path))
        return std::nullopt;
    return settings_.value(path).toString().toStdString();
}

std::optional<std::string> QtSettingsStore::WriteSetting(std::string_view key,
                                                         std::string_view text)
{
    settings_.setValue(pathOf(key), fromView(text));
    settings_.sync();
    switch (settings_.status()) {
    case QSettings::NoError:
        return std::nullopt;
    case QSettings::FormatError:
        return (settings_.fileName() + QStringLiteral(": the file is not in the expected format"))
            .toStdString();
    case QSettings::AccessError:
        break;
    }
    return (settings_.fileName() + QStringLiteral(": cannot be written")).toStdString();
}

} // namespace soramado
