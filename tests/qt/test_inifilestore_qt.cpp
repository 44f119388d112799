// The clock's own settings file beside Qt's: the files QSettings wrote before
// read the same, what the store writes QSettings reads back, and the two
// respect each other's lock.
#include "app/settings.h"
#include "platform/posix/inifilestore.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace soramado;

namespace {

std::string path(const QString& file)
{
    return QFile::encodeName(file).toStdString();
}

QByteArray fileBytes(const QString& file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

TEST(IniFileStore, WritesTheUsersConfFileUnderSettingAtOnce)
{
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path()));
    const QString file = home.filePath(QStringLiteral("Soramado.conf"));
    {
        IniFileStore store;
        EXPECT_EQ(store.path(), path(file));
        EXPECT_FALSE(store.ReadSetting("Location").has_value());
        EXPECT_EQ(store.WriteSetting("Location", "4"), std::nullopt);
        EXPECT_EQ(store.WriteSetting("Font", "MS ゴシック"), std::nullopt);
        EXPECT_EQ(store.WriteSetting("Left", "2370"), std::nullopt);
        // Each write is on disk at once, before the store goes away.
        QSettings check(file, QSettings::IniFormat);
        EXPECT_EQ(check.childGroups(), QStringList{QStringLiteral("Setting")});
        EXPECT_EQ(check.value(QStringLiteral("Setting/Location")).toString(), QStringLiteral("4"));
        EXPECT_EQ(check.value(QStringLiteral("Setting/Font")).toString(),
                  QStringLiteral("MS ゴシック"));
        EXPECT_EQ(check.value(QStringLiteral("Setting/Left")).toString(), QStringLiteral("2370"));
    }
    IniFileStore again;
    EXPECT_EQ(again.ReadSetting("Location"), "4");
    EXPECT_EQ(again.ReadSetting("Font"), "MS ゴシック");
    EXPECT_FALSE(again.ReadSetting("Top").has_value());
    // An empty text is still a present key.
    EXPECT_EQ(again.WriteSetting("Top", ""), std::nullopt);
    EXPECT_EQ(IniFileStore().ReadSetting("Top"), "");
    qunsetenv("XDG_CONFIG_HOME");
}

TEST(IniFileStore, AFolderWhereTheFileShouldBeIsOneReadingAndOneWriteProblemPerKey)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Soramado.conf")));
    IniFileStore store(path(dir.filePath(QStringLiteral("Soramado.conf"))));
    std::vector<std::string> warnings;
    Settings settings(store, [&](const std::string& m) { warnings.push_back(m); });
    settings.read();
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_TRUE(contains(warnings[0], "is a folder")) << warnings[0];
    EXPECT_FALSE(contains(warnings[0], "could not save"));
    settings.writeAlwaysTop(true);
    settings.writeAlwaysTop(false);
    settings.writeLocation(3);
    ASSERT_EQ(warnings.size(), 3u);
    EXPECT_TRUE(contains(warnings[1], "\"AlwaysTop\""));
    EXPECT_TRUE(contains(warnings[2], "\"Location\""));
    EXPECT_TRUE(contains(warnings[2], store.path()));
}

TEST(IniFileStore, OddLinesAreAReadingNoteAndTheWriteKeepsThem)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Soramado.conf"));
    const QByteArray before("\xEF\xBB\xBF# mine\n[Setting]\ngarbage\nAlwaysTop=True\n"
                            "Font=caf\xe9\n");
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(before);
    f.close();
    IniFileStore store(path(file));
    std::vector<std::string> warnings;
    Settings settings(store, [&](const std::string& m) { warnings.push_back(m); });
    EXPECT_TRUE(settings.read().AlwaysOnTop);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_TRUE(contains(warnings[0], "line 3")) << warnings[0];
    // The start's own write of the flag, and a real change: no false alarm, nothing lost.
    settings.writeAlwaysTop(true);
    settings.writeAlwaysTop(false);
    EXPECT_EQ(warnings.size(), 1u);
    QByteArray after = before;
    after.replace("AlwaysTop=True", "AlwaysTop=False");
    EXPECT_EQ(fileBytes(file), after);
}

TEST(IniFileStore, RespectsTheLockQSettingsTakes)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Soramado.conf"));
    QLockFile theirs(file + QStringLiteral(".lock"));
    ASSERT_TRUE(theirs.tryLock(0));
    IniFileStore store(path(file));
    const std::optional<std::string> failure = store.WriteSetting("AlwaysTop", "False");
    ASSERT_TRUE(failure.has_value());
    EXPECT_TRUE(contains(*failure, path(file) + ".lock")) << *failure;
    EXPECT_FALSE(QFile::exists(file));
    theirs.unlock();
    EXPECT_EQ(store.WriteSetting("AlwaysTop", "False"), std::nullopt);
    // Ours is gone again, so theirs can be taken at once.
    EXPECT_TRUE(theirs.tryLock(0));
}

TEST(IniFileStore, ReadsWhatQSettingsWroteAndWritesWhatItReads)
{
    const QStringList texts{QStringLiteral("MS ゴシック"),
                            QStringLiteral(" lead"),
                            QStringLiteral("trail "),
                            QStringLiteral("a;b"),
                            QStringLiteral("Noto Sans, Bold"),
                            QStringLiteral("x=y"),
                            QStringLiteral("q\"u"),
                            QStringLiteral("back\\slash"),
                            QStringLiteral("tab\t"),
                            QStringLiteral("line\nbreak"),
                            QStringLiteral("@at"),
                            QStringLiteral(""),
                            QStringLiteral("-2370"),
                            QStringLiteral("\x01"
                                           "1")};
    QTemporaryDir dir;
    const QString theirs = dir.filePath(QStringLiteral("theirs.conf"));
    const QString ours = dir.filePath(QStringLiteral("ours.conf"));
    for (const QString& text : texts) {
        {
            QSettings qt(theirs, QSettings::IniFormat);
            qt.setValue(QStringLiteral("Setting/Font"), text);
        }
        EXPECT_EQ(IniFileStore(path(theirs)).ReadSetting("Font"), text.toStdString());
        EXPECT_EQ(IniFileStore(path(ours)).WriteSetting("Font", text.toStdString()), std::nullopt);
        EXPECT_EQ(QSettings(ours, QSettings::IniFormat).value(QStringLiteral("Setting/Font")),
                  text);
    }
}

} // namespace
