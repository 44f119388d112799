// What the Qt shell does before its window: the name and folder of the one
// clock's socket, a socket left by a killed clock, and the autostart entry.
#include "qt/autostart.h"
#include "qt/singleclock.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

using namespace soramado;

namespace {

struct NameCase {
    const char* name;
    const char* platform;
    const char* display;
    const char* expected;
};

class InstanceName : public ::testing::TestWithParam<NameCase> {};

TEST_P(InstanceName, OnePerDisplayAndSafeAsAFileName)
{
    const NameCase& c = GetParam();
    EXPECT_EQ(instanceName(QString::fromUtf8(c.platform), QString::fromUtf8(c.display)),
              QString::fromUtf8(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Displays, InstanceName,
    ::testing::Values(NameCase{"X11", "xcb", ":0", "soramado-x11-0"},
                      NameCase{"X11ScreenIsTheSameDesktop", "xcb", ":0.1", "soramado-x11-0"},
                      NameCase{"X11UnixHost", "xcb", "unix:1", "soramado-x11-1"},
                      NameCase{"X11RemoteHost", "xcb", "localhost:10.0",
                               "soramado-x11-localhost_10"},
                      NameCase{"Wayland", "wayland", "wayland-1", "soramado-wayland-wayland-1"},
                      NameCase{"WaylandDefault", "wayland", "", "soramado-wayland-wayland-0"},
                      NameCase{"WaylandPath", "wayland-egl", "/run/user/1/w 0",
                               "soramado-wayland-_run_user_1_w_0"},
                      NameCase{"Offscreen", "offscreen", "", "soramado-offscreen"}),
    [](const auto& info) { return std::string(info.param.name); });

// Sets an environment variable for one test and puts back what was there.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QByteArray& value)
        : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name))
    {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    ~ScopedEnv()
    {
        if (had_)
            qputenv(name_, old_);
        else
            qunsetenv(name_);
    }

private:
    const char* name_;
    bool had_;
    QByteArray old_;
};

TEST(InstanceFolder, RuntimeFolderWhenPrivateElseOwnFolderInTemp)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString runtime = dir.filePath(QStringLiteral("runtime"));
    const QString tmp = dir.filePath(QStringLiteral("tmp"));
    ASSERT_TRUE(QDir().mkpath(runtime) && QDir().mkpath(tmp));
    const ScopedEnv tmpdir("TMPDIR", QFile::encodeName(tmp));
    const QString own = tmp + QStringLiteral("/soramado-") + QString::number(getuid());

    chmod(QFile::encodeName(runtime).constData(), 0700);
    {
        const ScopedEnv env("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
        EXPECT_EQ(instanceFolder(), runtime);
    }
    // Others may enter it: not the place for the socket.
    chmod(QFile::encodeName(runtime).constData(), 0755);
    {
        const ScopedEnv env("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
        EXPECT_EQ(instanceFolder(), own);
        struct stat info {};
        ASSERT_EQ(stat(QFile::encodeName(own).constData(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0700u);
    }
    {
        const ScopedEnv env("XDG_RUNTIME_DIR", QByteArray());
        EXPECT_EQ(instanceFolder(), own);
    }
    // A folder of that name that others can enter is not taken over.
    chmod(QFile::encodeName(own).constData(), 0777);
    {
        const ScopedEnv env("XDG_RUNTIME_DIR", QByteArray());
        EXPECT_EQ(instanceFolder(), QString());
    }
}

// A clock killed with SIGKILL leaves its socket file behind, bound to nobody.
void leaveDeadSocket(const QString& path)
{
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    std::memcpy(address.sun_path, name.constData(), name.size());
    ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    close(fd);
}

TEST(SingleClock, SocketLeftByAKilledClockDoesNotStopTheNextStart)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    chmod(QFile::encodeName(dir.path()).constData(), 0700);
    const ScopedEnv env("XDG_RUNTIME_DIR", QFile::encodeName(dir.path()));
    const QString path =
        dir.path() + u'/' + instanceName(QGuiApplication::platformName(), QString());
    leaveDeadSocket(path);
    ASSERT_TRUE(QFile::exists(path));

    const SingleClock::Claim claim = SingleClock::claim("");
    ASSERT_TRUE(claim.clock);
    QLocalSocket socket;
    socket.connectToServer(path);
    EXPECT_TRUE(socket.waitForConnected(1000))
        << "the new clock does not listen at " << path.toStdString();
    EXPECT_FALSE(QFile::exists(path + QStringLiteral(".lock")));
}

struct EntryCase {
    const char* name;
    const char* exec;
    const char* entry;
    const char* expected;
};

class AutostartEntry : public ::testing::TestWithParam<EntryCase> {};

TEST_P(AutostartEntry, NamesTheProgramAsDesktopEntriesQuoteIt)
{
    const EntryCase& c = GetParam();
    EXPECT_EQ(autostartEntry(c.entry, c.exec), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Programs, AutostartEntry,
    ::testing::Values(
        EntryCase{"OnTheSearchPathTheEntryAsItIs", "", "[Desktop Entry]\nExec=soramado\n",
                  "[Desktop Entry]\nExec=soramado\n"},
        EntryCase{"PlainPath", "/opt/s/bin/soramado",
                  "[Desktop Entry]\nName=S\nExec=soramado\nIcon=s\n",
                  "[Desktop Entry]\nName=S\nExec=/opt/s/bin/soramado\nIcon=s\n"},
        EntryCase{"SpaceIsQuoted", "/home/a b/soramado", "[Desktop Entry]\nExec=soramado\n",
                  "[Desktop Entry]\nExec=\"/home/a b/soramado\"\n"},
        EntryCase{"ReservedAndPercent", "/x/$y%`z\\", "[Desktop Entry]\nExec=soramado\n",
                  "[Desktop Entry]\nExec=\"/x/\\\\$y%%\\\\`z\\\\\\\\\"\n"},
        EntryCase{"LineEndingKept", "/p", "[Desktop Entry]\r\nExec=soramado\r\n",
                  "[Desktop Entry]\r\nExec=/p\r\n"},
        EntryCase{"OtherGroupsLeftAlone", "/p",
                  "[Desktop Entry]\nExec=soramado\n[Desktop Action New]\nExec=soramado --x\n",
                  "[Desktop Entry]\nExec=/p\n[Desktop Action New]\nExec=soramado --x\n"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
