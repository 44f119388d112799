#include "platform/settingsstore.h"

namespace soramado {

#ifdef Q_OS_WIN

namespace {

const QString Section = QStringLiteral("Setting/");

} // namespace

// With no application name Qt would use "OrganizationDefaults"; name the key directly.
NativeSettingsStore::NativeSettingsStore()
    : settings_(QStringLiteral("HKEY_CURRENT_USER\\Software\\Soramado"), QSettings::NativeFormat)
{}

std::optional<QString> NativeSettingsStore::ReadSetting(const QString& key) const
{
    const QString path = Section + key;
    if (!settings_.contains(path))
        return std::nullopt;
    return settings_.value(path).toString();
}

std::optional<QString> NativeSettingsStore::WriteSetting(const QString& key, const QString& text)
{
    settings_.setValue(Section + key, text);
    settings_.sync();
    if (settings_.status() == QSettings::NoError)
        return std::nullopt;
    return QStringLiteral("the registry key %1 could not be written").arg(settings_.fileName());
}

QStringList NativeSettingsStore::readProblems() const
{
    return {};
}

QString NativeSettingsStore::location() const
{
    return settings_.fileName();
}

#else

// The file QSettings used so far, read by its rules but written by a store
// that keeps what it does not own and replaces the file atomically.
NativeSettingsStore::NativeSettingsStore() = default;

NativeSettingsStore::NativeSettingsStore(const QString& file) : file_(file.toStdString()) {}

std::optional<QString> NativeSettingsStore::ReadSetting(const QString& key) const
{
    const std::optional<std::string> text = file_.ReadSetting(key.toStdString());
    if (!text)
        return std::nullopt;
    return QString::fromUtf8(text->data(), static_cast<qsizetype>(text->size()));
}

std::optional<QString> NativeSettingsStore::WriteSetting(const QString& key, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    const std::optional<std::string> failure =
        file_.WriteSetting(key.toStdString(), std::string_view(utf8.constData(), utf8.size()));
    if (!failure)
        return std::nullopt;
    return QString::fromStdString(*failure);
}

QStringList NativeSettingsStore::readProblems() const
{
    QStringList problems;
    for (const std::string& problem : file_.readProblems())
        problems.append(QString::fromStdString(problem));
    return problems;
}

QString NativeSettingsStore::location() const
{
    return QString::fromStdString(file_.path());
}

#endif

} // namespace soramado
