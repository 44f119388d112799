#include "platform/posix/inifilestore.h"
#include "platform/posix/iniformat.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace soramado;
using namespace std::string_literals;
namespace fs = std::filesystem;

namespace {

constexpr auto ShortWait = std::chrono::milliseconds(100);

// A fresh folder for one test, removed afterwards.
struct Folder {
    fs::path path;
    Folder()
    {
        std::string name = (fs::temp_directory_path() / "soramado-store.XXXXXX").string();
        path = ::mkdtemp(name.data());
        fs::permissions(path, fs::perms::all);
    }
    ~Folder()
    {
        std::error_code ignored;
        fs::permissions(path, fs::perms::all, ignored);
        fs::remove_all(path, ignored);
    }
    std::string conf() const { return (path / "Soramado.conf").string(); }
};

void put(const std::string& file, std::string_view bytes)
{
    std::ofstream(file, std::ios::binary).write(bytes.data(), std::ssize(bytes));
}

std::string bytesOf(const std::string& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

// The names in a folder, to catch temporary files left behind.
std::vector<std::string> namesIn(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

bool mentions(const std::optional<std::string>& text, std::string_view part)
{
    return text && text->find(part) != std::string::npos;
}

// ---- Hostile files: what a write leaves, byte for byte ----------------------

struct HostileCase {
    const char* name;
    std::string before;
    const char* key;
    std::string text;
    std::string after;
};

class HostileStore : public ::testing::TestWithParam<HostileCase> {};

TEST_P(HostileStore, AWriteChangesOnlyItsOwnLineAndReadsBack)
{
    const HostileCase& c = GetParam();
    Folder folder;
    put(folder.conf(), c.before);
    IniFileStore store(folder.conf(), ShortWait);
    EXPECT_EQ(store.WriteSetting(c.key, c.text), std::nullopt);
    EXPECT_EQ(bytesOf(folder.conf()), c.after);
    EXPECT_EQ(store.ReadSetting(c.key), c.text);
    EXPECT_EQ(namesIn(folder.path), std::vector<std::string>{"Soramado.conf"});
}

INSTANTIATE_TEST_SUITE_P(
    Files, HostileStore,
    ::testing::Values(
        HostileCase{"Empty", "", "AlwaysTop", "False", "[Setting]\nAlwaysTop=False\n"},
        HostileCase{"HashComment", "# mine\n[Setting]\nAlwaysTop=True\n", "AlwaysTop", "False",
                    "# mine\n[Setting]\nAlwaysTop=False\n"},
        HostileCase{"SemicolonComments", "; top\n[Setting]\n; keep\nLeft=3000 ; was here\n", "Left",
                    "15", "; top\n[Setting]\n; keep\nLeft=15 ; was here\n"},
        HostileCase{"ByteOrderMark", "\xEF\xBB\xBF[Setting]\nLocation=3\n", "AlwaysTop", "False",
                    "\xEF\xBB\xBF[Setting]\nLocation=3\nAlwaysTop=False\n"},
        HostileCase{"OnlyAByteOrderMark", "\xEF\xBB\xBF", "Top", "1",
                    "\xEF\xBB\xBF[Setting]\nTop=1\n"},
        HostileCase{"LineWithoutEquals", "[Setting]\ngarbage\nLocation=1\n", "Location", "4",
                    "[Setting]\ngarbage\nLocation=4\n"},
        HostileCase{"Latin1InOtherGroupAndFont",
                    "[Other]\nName=caf\xe9\n\n[Setting]\nFont=caf\xe9\n", "AlwaysTop", "False",
                    "[Other]\nName=caf\xe9\n\n[Setting]\nFont=caf\xe9\nAlwaysTop=False\n"},
        HostileCase{"NulAndEscElsewhere", "[Other]\nx=a\0b\x1b[31m\n\x1b]0;title\a\n"s, "Location",
                    "0", "[Other]\nx=a\0b\x1b[31m\n\x1b]0;title\a\n\n[Setting]\nLocation=0\n"s},
        HostileCase{"CommaInAnotherKey", "[Setting]\nFont=Noto Sans, Bold\n", "Left", "30",
                    "[Setting]\nFont=Noto Sans, Bold\nLeft=30\n"},
        HostileCase{"DuplicatedKeyLastCounts", "[Setting]\nLocation=1\nLocation=5\n", "Location",
                    "3", "[Setting]\nLocation=1\nLocation=3\n"},
        HostileCase{"GroupTwice", "[Setting]\nLocation=1\n[Other]\na=b\n[Setting]\nTop=1\n", "Left",
                    "2", "[Setting]\nLocation=1\n[Other]\na=b\n[Setting]\nTop=1\nLeft=2\n"},
        HostileCase{"WindowsLineEnds", "[Setting]\r\nLocation=1\r\n", "AlwaysTop", "True",
                    "[Setting]\r\nLocation=1\r\nAlwaysTop=True\r\n"},
        HostileCase{"NoFinalLineEnd", "[Setting]\nLocation=1", "AlwaysTop", "False",
                    "[Setting]\nLocation=1\nAlwaysTop=False\n"},
        HostileCase{"OtherGroupWithoutFinalLineEnd", "[Other]\na=b", "AlwaysTop", "False",
                    "[Other]\na=b\n\n[Setting]\nAlwaysTop=False\n"},
        HostileCase{"BlanksAroundKeyAndValue", "[ Setting ]\n  Location = 4  \n", "Location", "5",
                    "[ Setting ]\n  Location=5  \n"},
        HostileCase{"ContinuedLine", "[Setting]\nFont=a\\\nb\nTop=1\n", "Font", "x",
                    "[Setting]\nFont=x\nTop=1\n"},
        HostileCase{"BackslashAtTheEnd", "[Setting]\nTop=1\\", "Left", "2",
                    "[Setting]\nTop=1\\\n\nLeft=2\n"},
        HostileCase{"BackslashBeforeTheLastLineEnd", "[Setting]\nTop=1\\\n", "Left", "2",
                    "[Setting]\nTop=1\\\n\nLeft=2\n"},
        HostileCase{"UnclosedQuoteElsewhere", "[Other]\na=\"open\n[Setting]\nLocation=2\n",
                    "Location", "1", "[Other]\na=\"open\n[Setting]\nLocation=1\n"},
        HostileCase{"SettingLikeKeyInOtherGroup", "[Other]\nLocation=9\n", "Location", "1",
                    "[Other]\nLocation=9\n\n[Setting]\nLocation=1\n"},
        HostileCase{"ValueNeedingQuotes", "[Setting]\nFont=\"old; one\"\n", "Font",
                    " Noto Sans, Bold ", "[Setting]\nFont=\" Noto Sans, Bold \"\n"},
        HostileCase{"ControlBytesInOwnValue", "[Setting]\n", "Font",
                    "a\0"s
                    "1\x1b\\\"",
                    "[Setting]\nFont=a\\0\\x31\\x1b\\\\\\\"\n"},
        HostileCase{"LeadingAt", "", "Font", "@String(x)", "[Setting]\nFont=@@String(x)\n"}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Reading by the rules the file was written with ---------------------------

struct ReadCase {
    const char* name;
    std::string file;
    std::optional<std::string> font;
};

class StoredText : public ::testing::TestWithParam<ReadCase> {};

TEST_P(StoredText, ReadsAsOneText)
{
    const ReadCase& c = GetParam();
    EXPECT_EQ(ini::find(c.file, ini::Group, "Font"), c.font);
}

INSTANTIATE_TEST_SUITE_P(
    Files, StoredText,
    ::testing::Values(
        ReadCase{"Absent", "[Setting]\nLocation=1\n", std::nullopt},
        ReadCase{"Empty", "[Setting]\nFont=\n", ""},
        ReadCase{"CommaIsText", "[Setting]\nFont=Noto Sans, Bold\n", "Noto Sans, Bold"},
        ReadCase{"QuotedCommaAndSemicolon", "[Setting]\nFont=\"a, b; c\"\n", "a, b; c"},
        ReadCase{"TrailingComment", "[Setting]\nFont=IPAGothic   ; mine\n", "IPAGothic"},
        ReadCase{"QuotedBlanksKept", "[Setting]\nFont=\"  x  \"\n", "  x  "},
        ReadCase{"Escapes", "[Setting]\nFont=a\\tb\\x41\\101\\\"\\\\\n", "a\tbAA\"\\"},
        ReadCase{"HexEscapeBeyondAscii", "[Setting]\nFont=\\x263a\n", "\xE2\x98\xBA"},
        ReadCase{"Utf8", "[Setting]\nFont=MS \xE3\x82\xB4\n", "MS \xE3\x82\xB4"},
        ReadCase{"Latin1KeptAsBytes", "[Setting]\nFont=caf\xe9\n", "caf\xe9"},
        ReadCase{"StringWrapper", "[Setting]\nFont=@String(ab)\n", "ab"},
        ReadCase{"DoubledAt", "[Setting]\nFont=@@x\n", "@x"},
        ReadCase{"Invalid", "[Setting]\nFont=@Invalid()\n", ""},
        ReadCase{"PercentEscapedKey", "[Setting]\nF%6Fnt=x\n", "x"},
        ReadCase{"WrongGroup", "[setting]\nFont=x\n", std::nullopt},
        ReadCase{"HashLineIsNoKey", "[Setting]\n#Font=x\n", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StoredText, EveryTextSurvivesAWriteIntoAHostileFile)
{
    const std::string hostile = "\xEF\xBB\xBF# c\n[Other]\nName=caf\xe9\n[Setting]\nx\nFont=old\n";
    std::vector<std::string> texts = {"",
                                      " lead",
                                      "trail ",
                                      "a,b",
                                      "a;b",
                                      "a=b",
                                      "q\"uote",
                                      "back\\slash",
                                      "\0"s
                                      "1",
                                      "\x1b[31m",
                                      "@at",
                                      "@String(x)",
                                      "caf\xe9",
                                      "tab\tin",
                                      "line\nbreak",
                                      "\r",
                                      "\x7f",
                                      "\x1f"
                                      "f",
                                      "\\",
                                      "\"",
                                      "\xE3\x82\xB4\xE3\x82\xB7"};
    std::mt19937 random(20030501);
    for (int i = 0; i < 500; ++i) {
        std::string bytes(random() % 12, '\0');
        for (char& b : bytes)
            b = static_cast<char>(random() % 256);
        texts.push_back(bytes);
    }
    for (const std::string& text : texts) {
        const std::string written = ini::assign(hostile, ini::Group, "Font", text);
        EXPECT_EQ(ini::find(written, ini::Group, "Font"), text) << written;
        // The line before the key is untouched; the file still ends the same way.
        EXPECT_TRUE(written.starts_with(hostile.substr(0, hostile.size() - 9))) << written;
        EXPECT_TRUE(written.ends_with("\n"));
        // The written value is one line: no raw line end, tab or control byte.
        const std::string value = written.substr(hostile.size() - 9);
        EXPECT_EQ(std::count(value.begin(), value.end(), '\n'), 1) << value;
    }
}

// Files made of the pieces that trip parsers: whatever the file, a write reads
// back, and the other keys read as before.
TEST(StoredText, AWriteIntoAnyFileReadsBackAndLeavesOtherKeys)
{
    const std::vector<std::string> pieces = {
        "[Setting]", "[Other]", "[Setting", "Font=", "Left=", "Top=", "x", " ", "\n",   "\r\n",
        "\r",        "\"",      "\\",       ";",     "#",     "=",    ",", "@", "\xe9", "\0"s};
    std::mt19937 random(1003);
    for (int round = 0; round < 20000; ++round) {
        std::string file;
        for (int n = static_cast<int>(random() % 16); n > 0; --n)
            file += pieces[random() % pieces.size()];
        const auto left = ini::find(file, ini::Group, "Left");
        const auto other = ini::find(file, "Other", "Font");
        const std::string written = ini::assign(file, ini::Group, "Font", "a \"b\\c\", d;");
        ASSERT_EQ(ini::find(written, ini::Group, "Font"), "a \"b\\c\", d;")
            << testing::PrintToString(file);
        ASSERT_EQ(ini::find(written, ini::Group, "Left"), left) << testing::PrintToString(file);
        ASSERT_EQ(ini::find(written, "Other", "Font"), other) << testing::PrintToString(file);
    }
}

TEST(StoredText, LinesThatAreNoSettingsAreReportedOnceWithTheirNumber)
{
    std::vector<std::string> problems;
    ini::find("[Setting]\nLocation=1\r\ngarbage\x1b\nmore\n", ini::Group, "Location", &problems);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("line 3 (\"garbage\\x1b\")"), std::string::npos) << problems[0];
    EXPECT_NE(problems[0].find("1 more"), std::string::npos) << problems[0];

    problems.clear();
    ini::find("\xEF\xBB\xBF# comment\n; another\n\n[Setting]\n", ini::Group, "Font", &problems);
    EXPECT_TRUE(problems.empty());
}

// ---- Files that cannot be used --------------------------------------------------

TEST(StoreFailure, AFolderWhereTheFileShouldBe)
{
    Folder folder;
    fs::create_directory(folder.conf());
    IniFileStore store(folder.conf(), ShortWait);
    EXPECT_EQ(store.ReadSetting("Location"), std::nullopt);
    ASSERT_EQ(store.readProblems().size(), 1u);
    EXPECT_NE(store.readProblems()[0].find("is a folder"), std::string::npos);
    // Read again: still one problem, not one per read.
    store.ReadSetting("Font");
    EXPECT_EQ(store.readProblems().size(), 1u);
    const auto failure = store.WriteSetting("AlwaysTop", "False");
    EXPECT_TRUE(mentions(failure, folder.conf())) << failure.value_or("");
    EXPECT_TRUE(fs::is_directory(folder.conf()));
    EXPECT_EQ(namesIn(folder.path), std::vector<std::string>{"Soramado.conf"});
}

TEST(StoreFailure, AFifoNeitherHangsAReadNorAWrite)
{
    Folder folder;
    ASSERT_EQ(::mkfifo(folder.conf().c_str(), 0600), 0);
    IniFileStore store(folder.conf(), ShortWait);
    EXPECT_EQ(store.ReadSetting("Location"), std::nullopt);
    EXPECT_EQ(store.readProblems().size(), 1u);
    EXPECT_TRUE(mentions(store.WriteSetting("Location", "1"), "not a regular file"));
}

TEST(StoreFailure, AMissingFolderIsCreated)
{
    Folder folder;
    const std::string conf = (folder.path / "a" / "b" / "Soramado.conf").string();
    IniFileStore store(conf, ShortWait);
    EXPECT_EQ(store.WriteSetting("AlwaysTop", "False"), std::nullopt);
    EXPECT_EQ(bytesOf(conf), "[Setting]\nAlwaysTop=False\n");
}

TEST(StoreFailure, ALinkedFileIsUpdatedThroughTheLink)
{
    Folder folder;
    fs::create_directory(folder.path / "dotfiles");
    const fs::path real = folder.path / "dotfiles" / "Soramado.conf";
    put(real.string(), "; managed\n[Setting]\nLocation=1\n");
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink(real, folder.conf());
    IniFileStore store(folder.conf(), ShortWait);
    EXPECT_EQ(store.WriteSetting("Location", "2"), std::nullopt);
    EXPECT_TRUE(fs::is_symlink(folder.conf()));
    EXPECT_EQ(bytesOf(real.string()), "; managed\n[Setting]\nLocation=2\n");
    // The file keeps its permissions.
    EXPECT_EQ(fs::status(real).permissions(), fs::perms::owner_read | fs::perms::owner_write);
}

// Runs check as an ordinary user (nobody, when the tests run as root, so that
// permissions count); check gives "" when all is well, else what went wrong.
std::string asOrdinaryUser(const std::function<std::string()>& check)
{
    if (::geteuid() != 0)
        return check();
    int channel[2];
    if (::pipe(channel) != 0)
        return "no pipe";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        std::string result = "cannot become nobody";
        if (::setgid(65534) == 0 && ::setuid(65534) == 0)
            result = check();
        [[maybe_unused]] const auto written = ::write(channel[1], result.data(), result.size());
        ::_exit(0);
    }
    ::close(channel[1]);
    std::string result;
    char buffer[512];
    ssize_t got = 0;
    while ((got = ::read(channel[0], buffer, sizeof buffer)) > 0)
        result.append(buffer, static_cast<std::size_t>(got));
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return result;
}

TEST(StoreFailure, AnUnreadableFileIsReportedAndLeftAsItIs)
{
    Folder folder;
    put(folder.conf(), "[Setting]\nLocation=5\n");
    fs::permissions(folder.conf(), fs::perms::owner_read | fs::perms::owner_write);
    const std::string result = asOrdinaryUser([&]() -> std::string {
        IniFileStore store(folder.conf(), ShortWait);
        if (store.ReadSetting("Location"))
            return "read an unreadable file";
        if (store.readProblems().size() != 1 ||
            store.readProblems()[0].find("Permission denied") == std::string::npos)
            return "reading problem not told";
        const auto failure = store.WriteSetting("AlwaysTop", "False");
        if (!mentions(failure, "left as it is"))
            return "write: " + failure.value_or("succeeded");
        return "";
    });
    EXPECT_EQ(result, "");
    EXPECT_EQ(bytesOf(folder.conf()), "[Setting]\nLocation=5\n");
    EXPECT_EQ(namesIn(folder.path), std::vector<std::string>{"Soramado.conf"});
}

TEST(StoreFailure, AReadOnlyFolderRefusesTheWriteAndKeepsTheFile)
{
    Folder folder;
    put(folder.conf(), "[Setting]\nLocation=5\n");
    fs::permissions(folder.conf(), fs::perms::all);
    fs::permissions(folder.path, fs::perms::owner_all | fs::perms::group_read |
                                     fs::perms::group_exec | fs::perms::others_read |
                                     fs::perms::others_exec);
    const std::string result = asOrdinaryUser([&]() -> std::string {
        IniFileStore store(folder.conf(), ShortWait);
        if (store.ReadSetting("Location") != "5")
            return "cannot read a readable file";
        // Nothing to change: nothing to fail.
        if (const auto failure = store.WriteSetting("Location", "5"))
            return "unchanged write: " + *failure;
        const auto failure = store.WriteSetting("Location", "1");
        if (!mentions(failure, "Permission denied") || !mentions(failure, folder.path.string()))
            return "write: " + failure.value_or("succeeded");
        return "";
    });
    EXPECT_EQ(result, "");
    EXPECT_EQ(bytesOf(folder.conf()), "[Setting]\nLocation=5\n");
    EXPECT_EQ(namesIn(folder.path), std::vector<std::string>{"Soramado.conf"});
}

// QSettings writes only a file its user may write, so a file frozen with chmod
// a-w is left as it is and the failure told, the same failure at every try.
// Root passes every permission check; it is held to the file's permission bits
// as any user is, so that the file stays frozen whoever runs the clock.
struct PermissionCase {
    const char* name;
    fs::perms mode;
    bool someoneElses; // the file belongs to another user than the writer
    bool written;
};

void PrintTo(const PermissionCase& c, std::ostream* out)
{
    *out << c.name;
}

class FilePermissions : public ::testing::TestWithParam<PermissionCase> {};

TEST_P(FilePermissions, AWriteKeepsToThemAsRootToo)
{
    const PermissionCase& c = GetParam();
    const bool root = ::geteuid() == 0;
    if (c.someoneElses && !root)
        GTEST_SKIP() << "only root can give a file away";
    const std::string before = "[Setting]\nLocation=5\n";
    for (const bool asRoot : {true, false}) {
        if (asRoot && !root)
            continue;
        Folder folder;
        put(folder.conf(), before);
        if (root) {
            const uid_t writer = asRoot ? 0 : 65534;
            const uid_t owner = c.someoneElses ? (writer == 0 ? 65534 : 0) : writer;
            ASSERT_EQ(::chown(folder.conf().c_str(), owner, owner), 0);
        }
        fs::permissions(folder.conf(), c.mode);
        const auto check = [&]() -> std::string {
            IniFileStore store(folder.conf(), ShortWait);
            const auto failure = store.WriteSetting("Location", "1");
            if (c.written)
                return failure ? "refused: " + *failure : "";
            if (!mentions(failure, folder.conf()) || !mentions(failure, "left as it is"))
                return "write: " + failure.value_or("succeeded");
            if (store.WriteSetting("Location", "1") != failure)
                return "a second try told another failure";
            return "";
        };
        const char* who = asRoot ? "as root" : "as an ordinary user";
        EXPECT_EQ(asRoot ? check() : asOrdinaryUser(check), "") << who;
        EXPECT_EQ(bytesOf(folder.conf()), c.written ? "[Setting]\nLocation=1\n" : before) << who;
        EXPECT_EQ(fs::status(folder.conf()).permissions(), c.mode) << who;
        EXPECT_EQ(namesIn(folder.path), std::vector<std::string>{"Soramado.conf"}) << who;
    }
}

using P = fs::perms;
INSTANTIATE_TEST_SUITE_P(
    Modes, FilePermissions,
    ::testing::Values(PermissionCase{"FrozenForAll", P::owner_read | P::group_read | P::others_read,
                                     false, false},
                      PermissionCase{"OwnerMayOnlyRead", P::owner_read, false, false},
                      PermissionCase{"OwnerMayWrite",
                                     P::owner_read | P::owner_write | P::others_read, false, true},
                      PermissionCase{"OthersMayButNotTheOwner",
                                     P::owner_read | P::group_read | P::group_write |
                                         P::others_read | P::others_write,
                                     false, false},
                      PermissionCase{"SomeoneElsesWritableByAll",
                                     P::owner_read | P::owner_write | P::others_read |
                                         P::others_write,
                                     true, true},
                      PermissionCase{"SomeoneElsesWritableByItsGroup",
                                     P::owner_read | P::owner_write | P::group_read |
                                         P::group_write | P::others_read,
                                     true, false}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- A link to a file still to be made ----------------------------------------

struct LinkCase {
    const char* name;
    // Each link (a path in the test's folder) and what it names; "@" stands for
    // the test's folder.
    std::vector<std::pair<std::string, std::string>> links;
    const char* made; // the file the write makes, or nullptr when it must fail
};

void PrintTo(const LinkCase& c, std::ostream* out)
{
    *out << c.name;
}

class DanglingLink : public ::testing::TestWithParam<LinkCase> {};

// A dotfile manager's link whose file does not exist yet: the write makes the
// file the link names, in the folder it names, and keeps the link.
TEST_P(DanglingLink, AWriteMakesTheFileTheLinkNames)
{
    const LinkCase& c = GetParam();
    Folder folder;
    fs::create_directory(folder.path / "dotfiles");
    for (auto [link, names] : c.links) {
        if (names.starts_with("@"))
            names = folder.path.string() + names.substr(1);
        fs::create_symlink(names, folder.path / link);
    }
    IniFileStore store(folder.conf(), ShortWait);
    const auto failure = store.WriteSetting("Location", "1");
    EXPECT_TRUE(fs::is_symlink(folder.conf()));
    EXPECT_FALSE(fs::exists(fs::symlink_status(store.lockPath())));
    if (!c.made) {
        EXPECT_TRUE(mentions(failure, "cannot follow the link")) << failure.value_or("succeeded");
        return;
    }
    EXPECT_EQ(failure, std::nullopt);
    const fs::path made = folder.path / c.made;
    EXPECT_EQ(bytesOf(made.string()), "[Setting]\nLocation=1\n");
    EXPECT_EQ(store.ReadSetting("Location"), "1");
    EXPECT_EQ(namesIn(made.parent_path()), std::vector<std::string>{made.filename().string()});
}

INSTANTIATE_TEST_SUITE_P(
    Links, DanglingLink,
    ::testing::Values(
        LinkCase{"Absolute", {{"Soramado.conf", "@/dotfiles/clock.conf"}}, "dotfiles/clock.conf"},
        LinkCase{"Relative", {{"Soramado.conf", "dotfiles/clock.conf"}}, "dotfiles/clock.conf"},
        LinkCase{"ChainIntoAFolderStillToBeMade",
                 {{"Soramado.conf", "dotfiles/link"}, {"dotfiles/link", "../new/clock.conf"}},
                 "new/clock.conf"},
        LinkCase{"Loop", {{"Soramado.conf", "Soramado.conf"}}, nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- What a killed save leaves --------------------------------------------------

// A save killed half way (here by the file size limit, as by kill -9) leaves its
// lock and its temporary file. The next save takes the stale lock and removes
// the temporary files of dead saves, and nothing else.
TEST(DeadSave, TheNextSaveRemovesWhatItLeftAndNothingElse)
{
    Folder folder;
    put(folder.conf(), "[Setting]\nLocation=1\n");
    const pid_t child = ::fork();
    if (child == 0) {
        ::prctl(PR_SET_DUMPABLE, 0);
        const rlimit none{0, 0};
        ::setrlimit(RLIMIT_CORE, &none);
        std::signal(SIGXFSZ, SIG_DFL);
        const rlimit small{1024, 1024};
        ::setrlimit(RLIMIT_FSIZE, &small);
        IniFileStore(folder.conf(), ShortWait).WriteSetting("Font", std::string(4096, 'x'));
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << status;
    const std::vector<std::string> left = namesIn(folder.path);
    ASSERT_EQ(left.size(), 3u) << testing::PrintToString(left);
    EXPECT_EQ(left[1], "Soramado.conf.lock");
    // A name that no one else would give a file: the store's own mark, then six letters.
    const std::string temporary = left[2];
    const std::string mark = temporary.substr(0, temporary.size() - 6);
    EXPECT_NE(mark.find(".soramado-"), std::string::npos) << temporary;

    const std::vector<std::string> kept = {"Other.conf" + mark.substr(13) + "abcdef",
                                           "Soramado.conf.backup",
                                           "Soramado.conf.orig",
                                           mark.substr(0, mark.size() - 1),
                                           mark + "abc",
                                           mark + "abcdefg",
                                           mark + "ab.def"};
    for (const std::string& name : kept)
        put((folder.path / name).string(), "theirs");
    fs::create_directory(folder.path / (mark + "Folder"));
    put((folder.path / (mark + "Zz0009")).string(), "another dead save's");

    IniFileStore store(folder.conf(), ShortWait);
    EXPECT_EQ(store.WriteSetting("Location", "2"), std::nullopt);
    std::vector<std::string> expected = kept;
    expected.push_back("Soramado.conf");
    expected.push_back(mark + "Folder");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(namesIn(folder.path), expected);
    EXPECT_EQ(bytesOf(folder.conf()), "[Setting]\nLocation=2\n");
    for (const std::string& name : kept)
        EXPECT_EQ(bytesOf((folder.path / name).string()), "theirs") << name;
}

// ---- The lock -------------------------------------------------------------------

pid_t deadProcess()
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

std::string hostName()
{
    char name[256] = {};
    ::gethostname(name, sizeof name - 1);
    return name;
}

std::string firstLineOf(const char* file)
{
    std::string line;
    std::getline(std::ifstream(file), line);
    return line;
}

// The ids a lock file names its machine and its boot by, as QLockFile writes them.
std::string machineId()
{
    const std::string id = firstLineOf("/etc/machine-id");
    return id.empty() ? firstLineOf("/var/lib/dbus/machine-id") : id;
}

std::string bootId()
{
    return firstLineOf("/proc/sys/kernel/random/boot_id");
}

// This test program's file name, the name a lock of its own would carry.
std::string ownName()
{
    return fs::read_symlink("/proc/self/exe").filename().string();
}

std::string lockOf(const std::string& pid, const std::string& program, const std::string& host,
                   const std::string& machine = {}, const std::string& boot = {})
{
    std::string text = pid + "\n" + program + "\n" + host + "\n";
    if (!machine.empty() || !boot.empty())
        text += machine + "\n" + boot + "\n";
    return text;
}

std::string lockOf(pid_t pid, const std::string& program, const std::string& host,
                   const std::string& machine = {}, const std::string& boot = {})
{
    return lockOf(std::to_string(pid), program, host, machine, boot);
}

void age(const std::string& file, int seconds)
{
    const auto then = fs::file_time_type::clock::now() - std::chrono::seconds(seconds);
    fs::last_write_time(file, then);
}

struct LockCase {
    const char* name;
    std::function<void(const std::string& lock)> make;
    const char* said; // what the failure says, or nullptr when the lock is stale
    bool needsMachineId = false;
};

void PrintTo(const LockCase& c, std::ostream* out)
{
    *out << c.name;
}

class HeldLock : public ::testing::TestWithParam<LockCase> {};

TEST_P(HeldLock, AWriteWaitsBoundedAndNamesTheLockOrTakesAStaleOne)
{
    const LockCase& c = GetParam();
    if (c.needsMachineId && machineId().empty())
        GTEST_SKIP() << "this machine has no machine id";
    Folder folder;
    put(folder.conf(), "[Setting]\nLocation=1\n");
    IniFileStore store(folder.conf(), ShortWait);
    c.make(store.lockPath());
    const auto started = std::chrono::steady_clock::now();
    const auto failure = store.WriteSetting("Location", "4");
    // Bounded: far below the hang it used to be, whatever the machine's load.
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(30));
    if (c.said) {
        EXPECT_TRUE(mentions(failure, store.lockPath())) << failure.value_or("succeeded");
        EXPECT_TRUE(mentions(failure, c.said)) << failure.value_or("succeeded");
        EXPECT_EQ(bytesOf(folder.conf()), "[Setting]\nLocation=1\n");
        EXPECT_TRUE(fs::exists(fs::symlink_status(store.lockPath())));
    } else {
        EXPECT_EQ(failure, std::nullopt);
        EXPECT_EQ(bytesOf(folder.conf()), "[Setting]\nLocation=4\n");
        EXPECT_FALSE(fs::exists(fs::symlink_status(store.lockPath())));
    }
}

// A lock is judged as QLockFile, the lock QSettings takes, judges it: stale when
// its process is gone, or runs another program than the lock names, or the
// machine has booted since, or the lock is older (or newer) than 30 s. A lock of
// another machine counts only by its age; a process id that cannot be one is stale.
INSTANTIATE_TEST_SUITE_P(
    Locks, HeldLock,
    ::testing::Values(
        LockCase{"Folder", [](const std::string& l) { fs::create_directory(l); }, "is a folder"},
        LockCase{"SymlinkLoop", [](const std::string& l) { fs::create_symlink(l, l); },
                 "symbolic link"},
        LockCase{"LiveOwner",
                 [](const std::string& l) { put(l, lockOf(::getpid(), ownName(), hostName())); },
                 "held by process"},
        LockCase{"LiveOwnerThisBoot",
                 [](const std::string& l) {
                     put(l, lockOf(::getpid(), ownName(), hostName(), machineId(), bootId()));
                 },
                 "held by process"},
        LockCase{"LiveOwnerByItsPath",
                 [](const std::string& l) {
                     put(l, lockOf(::getpid(), "/opt/x/" + ownName(), hostName()));
                 },
                 "held by process"},
        LockCase{
            "OwnerOnAnotherMachine",
            [](const std::string& l) { put(l, lockOf(deadProcess(), "soramado", "elsewhere")); },
            "on \"elsewhere\""},
        LockCase{"OwnerOnAnotherMachineOfTheSameName",
                 [](const std::string& l) {
                     put(l, lockOf(deadProcess(), "soramado", hostName(),
                                   "0123456789abcdef0123456789abcdef", bootId()));
                 },
                 "held by process", true},
        LockCase{"FreshWithoutOwner", [](const std::string& l) { put(l, ""); }, "held"},
        LockCase{"AnotherUsers",
                 [](const std::string& l) {
                     put(l, "");
                     if (::geteuid() == 0) [[maybe_unused]]
                         const int r = ::chown(l.c_str(), 65534, 65534);
                 },
                 "another"},
        LockCase{
            "DeadOwner",
            [](const std::string& l) { put(l, lockOf(deadProcess(), "soramado", hostName())); },
            nullptr},
        LockCase{"OldWithoutOwner",
                 [](const std::string& l) {
                     put(l, "");
                     age(l, 120);
                 },
                 nullptr},
        LockCase{"LiveProcessOfAnotherProgram",
                 [](const std::string& l) { put(l, lockOf(::getpid(), "soramado", hostName())); },
                 nullptr},
        LockCase{"PidOne", [](const std::string& l) { put(l, lockOf(1, "soramado", hostName())); },
                 nullptr},
        LockCase{"LiveOwnerButOld",
                 [](const std::string& l) {
                     put(l, lockOf(::getpid(), ownName(), hostName()));
                     age(l, 31);
                 },
                 nullptr},
        LockCase{"LiveOwnerFromTheFuture",
                 [](const std::string& l) {
                     put(l, lockOf(::getpid(), ownName(), hostName()));
                     age(l, -120);
                 },
                 nullptr},
        LockCase{"LiveOwnerBeforeAReboot",
                 [](const std::string& l) {
                     put(l, lockOf(::getpid(), ownName(), hostName(), machineId(),
                                   "00000000-0000-0000-0000-000000000000"));
                 },
                 nullptr},
        LockCase{"AnotherHostNameOfThisMachine",
                 [](const std::string& l) {
                     put(l, lockOf(deadProcess(), "soramado", "renamed", machineId(), bootId()));
                 },
                 nullptr, true},
        LockCase{"OldOwnerOnAnotherMachine",
                 [](const std::string& l) {
                     put(l, lockOf(::getpid(), ownName(), "elsewhere"));
                     age(l, 120);
                 },
                 nullptr},
        LockCase{"PidNotANumber",
                 [](const std::string& l) { put(l, lockOf("x1", "soramado", hostName())); },
                 nullptr},
        LockCase{"PidTooBig",
                 [](const std::string& l) {
                     put(l, lockOf("99999999999999999999", "soramado", "elsewhere"));
                 },
                 nullptr},
        LockCase{"PidThatWrapsToOurs",
                 [](const std::string& l) {
                     put(l,
                         lockOf(std::to_string((1LL << 32) + ::getpid()), ownName(), hostName()));
                 },
                 nullptr},
        LockCase{"PidZero",
                 [](const std::string& l) { put(l, lockOf("0", ownName(), hostName())); }, nullptr},
        LockCase{"PidNegative",
                 [](const std::string& l) { put(l, lockOf("-1", ownName(), hostName())); },
                 nullptr},
        LockCase{"NoPidLine",
                 [](const std::string& l) { put(l, lockOf("", ownName(), hostName())); }, nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

// What is held is told as the lock tells it, every part quoted.
TEST(HeldLockMessage, NamesTheOwnerAsItStandsInTheLock)
{
    Folder folder;
    IniFileStore store(folder.conf(), ShortWait);
    put(store.lockPath(), lockOf(::getpid(), ownName(), "far\x1b]0;x\a"));
    const auto failure = store.WriteSetting("Location", "4");
    const std::string owner = "process \"" + std::to_string(::getpid()) + "\" of \"" + ownName() +
                              "\" on \"far\\x1b]0;x\\x07\"";
    EXPECT_TRUE(mentions(failure, owner)) << failure.value_or("succeeded");
}

// A live save holds its lock natively (flock), so it keeps it even when its file
// looks stale to another: nobody removes a lock that is held.
TEST(HeldLockMessage, ALockHeldOpenIsKeptHoweverItLooks)
{
    Folder folder;
    IniFileStore store(folder.conf(), ShortWait);
    put(store.lockPath(), lockOf(deadProcess(), "soramado", hostName()));
    const int held = ::open(store.lockPath().c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(held, LOCK_EX | LOCK_NB), 0);
    EXPECT_TRUE(mentions(store.WriteSetting("Location", "4"), "held by process"));
    ::close(held);
    EXPECT_EQ(store.WriteSetting("Location", "4"), std::nullopt);
}

// ---- Writes that fail half way --------------------------------------------------

// The system's own failure of write(): a file size limit (EFBIG) for this process,
// above the lock file's size and below the settings file's.
TEST(StoreFailure, AFailingWriteKeepsTheOldFileWhole)
{
    Folder folder;
    const std::string old = "; mine\n[Setting]\nFont=" + std::string(400, 'x') + "\n";
    put(folder.conf(), old);
    IniFileStore store(folder.conf(), ShortWait);

    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit small{256, limit.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &small);
    const auto first = store.WriteSetting("Location", "3");
    const auto second = store.WriteSetting("Location", "3");
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, previous);

    EXPECT_TRUE(mentions(first, "File too large")) << first.value_or("succeeded");
    EXPECT_TRUE(mentions(first, "kept whole"));
    // The same failure reads the same, so that it can be told once.
    EXPECT_EQ(first, second);
    EXPECT_EQ(bytesOf(folder.conf()), old);
    EXPECT_EQ(namesIn(folder.path), std::vector<std::string>{"Soramado.conf"});
    // The lock went with the failed write.
    EXPECT_EQ(store.WriteSetting("Location", "3"), std::nullopt);
}

// A full file system: a small tmpfs filled up, where mounting is allowed.
TEST(StoreFailure, AFullDiskKeepsTheOldFileWhole)
{
    Folder folder;
    const fs::path disk = folder.path / "disk";
    fs::create_directory(disk);
    if (::mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "cannot mount a tmpfs here";
    const std::string conf = (disk / "Soramado.conf").string();
    const std::string old = "[Setting]\nLocation=1\n";
    put(conf, old);
    {
        std::ofstream filler(disk / "filler", std::ios::binary);
        const std::string block(4096, 'f');
        while (filler.write(block.data(), std::ssize(block)))
            filler.flush();
    }
    IniFileStore store(conf, ShortWait);
    const auto failure = store.WriteSetting("Font", std::string(8192, 'n'));
    const std::string after = bytesOf(conf);
    const std::vector<std::string> names = namesIn(disk);
    ::umount(disk.c_str());
    EXPECT_TRUE(failure.has_value());
    EXPECT_EQ(after, old);
    EXPECT_EQ(names, (std::vector<std::string>{"Soramado.conf", "filler"}));
}

} // namespace
