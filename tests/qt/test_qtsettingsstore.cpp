#include "app/settings.h"
#include "qt/qtsettingsstore.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace soramado;

namespace {

// The real store finds its file through XDG_CONFIG_HOME, which Qt reads once:
// point it at a fresh folder before anything in this process asks.
QString& configHome()
{
    static QString path;
    return path;
}
[[maybe_unused]] const bool configHomeSet = [] {
    static QTemporaryDir dir;
    configHome() = dir.path();
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.path()));
    return true;
}();

TEST(QtSettingsStore, WritesTheUsersConfFileUnderSetting)
{
    const QString file = configHome() + QStringLiteral("/Soramado.conf");
    QFile::remove(file);
    {
        QtSettingsStore store;
        EXPECT_FALSE(store.ReadSetting("Location").has_value());
        EXPECT_FALSE(store.WriteSetting("Location", "4"));
        EXPECT_FALSE(store.WriteSetting("Font", "MS ゴシック"));
        EXPECT_FALSE(store.WriteSetting("Left", "2370"));
        // Each write is on disk at once, before the store goes away.
        QSettings check(file, QSettings::IniFormat);
        EXPECT_EQ(check.childGroups(), QStringList{QStringLiteral("Setting")});
        EXPECT_EQ(check.value(QStringLiteral("Setting/Location")).toString(), QStringLiteral("4"));
        EXPECT_EQ(check.value(QStringLiteral("Setting/Font")).toString(),
                  QStringLiteral("MS ゴシック"));
        EXPECT_EQ(check.value(QStringLiteral("Setting/Left")).toString(), QStringLiteral("2370"));
    }
    QtSettingsStore again;
    EXPECT_EQ(again.ReadSetting("Location"), "4");
    EXPECT_EQ(again.ReadSetting("Font"), "MS ゴシック");
    EXPECT_FALSE(again.ReadSetting("Top").has_value());
    // An empty text is still a present key.
    EXPECT_FALSE(again.WriteSetting("Top", ""));
    EXPECT_EQ(QtSettingsStore().ReadSetting("Top"), "");
}

TEST(QtSettingsStore, AnUnwritableFileIsReportedNotFatal)
{
    // A folder where the file should be cannot be written, even by root.
    QTemporaryDir dir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Soramado.conf")));
    QtSettingsStore store;
    // The refusal names the file.
    const std::optional<std::string> failure = store.WriteSetting("AlwaysTop", "False");
    ASSERT_TRUE(failure.has_value());
    EXPECT_NE(failure->find("Soramado.conf"), std::string::npos) << *failure;

    std::vector<std::string> warnings;
    Settings settings(store, [&](const std::string& m) { warnings.push_back(m); });
    settings.writeAlwaysTop(true);
    settings.writeLocation(3);
    ASSERT_EQ(warnings.size(), 2u); // one per key
    EXPECT_NE(warnings[0].find("Soramado.conf"), std::string::npos) << warnings[0];
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, configHome());
}

} // namespace
