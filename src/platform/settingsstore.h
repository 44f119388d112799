#pragma once

#include <QHash>
#include <QSettings>
#include <QString>
#include <QStringList>

#include <optional>

#ifndef Q_OS_WIN
#include "platform/posix/inifilestore.h"
#endif

namespace soramado {

// The per-user store of the clock's few settings: text values under the
// section "Setting" of the application "Soramado".
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // The stored text, or nothing when the key was never written.
    virtual std::optional<QString> ReadSetting(const QString& key) const = 0;
    // Creates or replaces the key at once. Nothing on success; otherwise one
    // line that says what failed and where, for the user's warning.
    virtual std::optional<QString> WriteSetting(const QString& key, const QString& text) = 0;
    // What reading found wrong with the store, each problem once; nothing for a sound one.
    virtual QStringList readProblems() const { return {}; }
};

// The platform's own store: ~/.config/Soramado.conf (or under
// $XDG_CONFIG_HOME) on Linux, HKCU\Software\Soramado\Setting on Windows.
class NativeSettingsStore final : public SettingsStore {
public:
    NativeSettingsStore();
#ifndef Q_OS_WIN
    // A store in that file; for tests.
    explicit NativeSettingsStore(const QString& file);
#endif
    std::optional<QString> ReadSetting(const QString& key) const override;
    std::optional<QString> WriteSetting(const QString& key, const QString& text) override;
    QStringList readProblems() const override;
    // Where the values live, for messages.
    QString location() const;

private:
#ifdef Q_OS_WIN
    QSettings settings_;
#else
    // Reading notes its problems, so even a const read changes it.
    mutable IniFileStore file_;
#endif
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
    std::optional<QString> WriteSetting(const QString& key, const QString& text) override
    {
        ++writes_;
        if (!refusal_.isEmpty())
            return refusal_;
        values_.insert(key, text);
        return std::nullopt;
    }

    // Writes fail with this reason until it is empty again.
    void refuseWrites(const QString& reason = QStringLiteral("the disk is full"))
    {
        refusal_ = reason;
    }
    const QHash<QString, QString>& values() const { return values_; }
    QHash<QString, QString>& values() { return values_; }
    int writes() const { return writes_; }

private:
    QHash<QString, QString> values_;
    QString refusal_;
    int writes_ = 0;
};

} // namespace soramado
