#pragma once

#include <QHash>
#include <QSettings>
#include <QString>

#include <optional>

namespace soramado {

// The per-user store of the clock's few settings: text values under the
// section "Setting" of the application "Soramado".
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // The stored text, or nothing when the key was never written.
    virtual std::optional<QString> ReadSetting(const QString& key) const = 0;
    // Creates or replaces the key at once; false when the store refused it.
    virtual bool WriteSetting(const QString& key, const QString& text) = 0;
};

// The platform's own store: ~/.config/Soramado.conf (or under
// $XDG_CONFIG_HOME) on Linux, HKCU\Software\Soramado\Setting on Windows.
class NativeSettingsStore final : public SettingsStore {
public:
    NativeSettingsStore();
    std::optional<QString> ReadSetting(const QString& key) const override;
    bool WriteSetting(const QString& key, const QString& text) override;
    // Where the values live, for messages.
    QString location() const { return settings_.fileName(); }

private:
    QSettings settings_;
};

// A store that lives as long as the object; for tests and tools.
class MemorySettingsStore final : public SettingsStore {
public:
    std::optional<QString> ReadSetting(const QString& key) const override
    {
        const auto it = values_.constFind(key);
        if (it == values_.constEnd())
            return std::nullopt;
        return *it;
    }
    bool WriteSetting(const QString& key, const QString& text) override
    {
        ++writes_;
        if (refuseWrites_)
            return false;
        values_.insert(key, text);
        return true;
    }

    void refuseWrites(bool refuse) { refuseWrites_ = refuse; }
    const QHash<QString, QString>& values() const { return values_; }
    QHash<QString, QString>& values() { return values_; }
    int writes() const { return writes_; }

private:
    QHash<QString, QString> values_;
    bool refuseWrites_ = false;
    int writes_ = 0;
};

} // namespace soramado
