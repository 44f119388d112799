#include "platform/posix/inifilestore.h"

#include "platform/posix/iniformat.h"

#include "common/linktarget.h"
#include "common/quoting.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <limits>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace soramado {

namespace {

constexpr std::size_t npos = std::string_view::npos;
// A settings file is a few lines; anything this large is not one.
constexpr off_t LargestFile = 16 * 1024 * 1024;

std::string systemReason(int error)
{
    return std::strerror(error);
}

std::string folderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Creates the folder and its parents as needed; 0 or the errno of the failure.
int makeFolders(const std::string& folder)
{
    struct stat st {};
    if (::stat(folder.c_str(), &st) == 0)
        return S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
    if (errno != ENOENT)
        return errno;
    const std::string parent = folderOf(folder);
    if (parent != folder) {
        if (const int error = makeFolders(parent))
            return error;
    }
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        return errno;
    return 0;
}

enum class ReadResult { Read, Missing, Failed };

// Reads the whole file; on failure says why in failure.
ReadResult readWholeFile(const std::string& path, std::string& data, std::string& failure)
{
    data.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (errno == ENOENT)
            return ReadResult::Missing;
        failure = "cannot read " + quotedForMessage(path) + ": " + systemReason(errno);
        return ReadResult::Failed;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const bool folder = S_ISDIR(st.st_mode);
        ::close(fd);
        failure = quotedForMessage(path) + (folder ? " is a folder" : " is not a regular file") +
                  ", not a settings file";
        return ReadResult::Failed;
    }
    if (st.st_size > LargestFile) {
        ::close(fd);
        failure = quotedForMessage(path) + " is too large to be a settings file";
        return ReadResult::Failed;
    }
    char buffer[8192];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            failure = "cannot read " + quotedForMessage(path) + ": " + systemReason(errno);
            ::close(fd);
            return ReadResult::Failed;
        }
        if (got == 0)
            break;
        data.append(buffer, static_cast<std::size_t>(got));
        if (data.size() > static_cast<std::size_t>(LargestFile)) {
            failure = quotedForMessage(path) + " is too large to be a settings file";
            ::close(fd);
            return ReadResult::Failed;
        }
    }
    ::close(fd);
    return ReadResult::Read;
}

bool writeAll(int fd, std::string_view data)
{
    while (!data.empty()) {
        const ssize_t put = ::write(fd, data.data(), data.size());
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0) {
            if (put == 0)
                errno = EIO;
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(put));
    }
    return true;
}

// The first line of a small system file, or nothing.
std::string firstLineOf(const char* path)
{
    std::string text;
    std::string failure;
    if (readWholeFile(path, text, failure) != ReadResult::Read)
        return {};
    return text.substr(0, text.find('\n'));
}

std::string hostName()
{
    char name[HOST_NAME_MAX + 1] = {};
    if (::gethostname(name, sizeof name - 1) != 0)
        return {};
    return name;
}

// What tells this machine from others that share the file system, and this boot
// from the last, as QLockFile writes them into a lock.
std::string machineId()
{
    const std::string id = firstLineOf("/etc/machine-id");
    return id.empty() ? firstLineOf("/var/lib/dbus/machine-id") : id;
}

std::string bootId()
{
    return firstLineOf("/proc/sys/kernel/random/boot_id");
}

std::string_view fileNameOf(std::string_view path)
{
    return path.substr(path.rfind('/') + 1);
}

// The file name of the program a process runs, as /proc tells it; nothing when
// the process cannot be looked at (gone, another user's, no /proc).
std::optional<std::string> programOf(pid_t pid)
{
    char target[PATH_MAX] = {};
    const std::string link = "/proc/" + std::to_string(pid) + "/exe";
    const ssize_t length = ::readlink(link.c_str(), target, sizeof target - 1);
    if (length <= 0)
        return std::nullopt;
    std::string_view path(target, static_cast<std::size_t>(length));
    // A program replaced while it runs (an upgrade) is still that program.
    constexpr std::string_view deleted = " (deleted)";
    if (path.ends_with(deleted))
        path.remove_suffix(deleted.size());
    return std::string(fileNameOf(path));
}

// The running program's file name, which a lock names its owner by.
std::string programName()
{
    return programOf(::getpid()).value_or("soramado");
}

// A process id as a lock file holds it: a decimal number that a pid_t can hold.
std::optional<pid_t> pidIn(std::string_view text)
{
    if (text.empty() || text.size() > 10 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    const long long value = std::stoll(std::string(text));
    if (value <= 0 || value > std::numeric_limits<pid_t>::max())
        return std::nullopt;
    return static_cast<pid_t>(value);
}

// The owner a lock file names, each line as it stands: the process id, the
// program, the host name, and (from Qt 5.10 on) the machine's and the boot's id.
struct LockOwner {
    std::string pid;
    std::string program;
    std::string host;
    std::string machine;
    std::string boot;

    static LockOwner in(std::string_view text)
    {
        LockOwner owner;
        for (std::string* line :
             {&owner.pid, &owner.program, &owner.host, &owner.machine, &owner.boot}) {
            const std::size_t end = text.find('\n');
            *line = std::string(text.substr(0, end));
            if (!line->empty() && line->back() == '\r')
                line->pop_back();
            if (end == npos)
                break;
            text.remove_prefix(end + 1);
        }
        return owner;
    }

    // Whether the owner is gone, judged as QLockFile judges it. A lock of another
    // machine is kept (its process cannot be seen from here), unless its process
    // id cannot be one at all.
    bool gone() const
    {
        const std::optional<pid_t> id = pidIn(pid);
        if (!id)
            return true;
        bool thisMachine = host.empty() || host == hostName();
        if (!machine.empty()) {
            if (const std::string ours = machineId(); !ours.empty())
                thisMachine = machine == ours;
        }
        if (!thisMachine)
            return false;
        if (!boot.empty() && boot != bootId())
            return true;
        if (::kill(*id, 0) != 0 && errno == ESRCH)
            return true;
        // The id may have gone to another program since: a process that cannot
        // be looked at counts as another program, as for QLockFile; without /proc
        // nothing can be told.
        if (::access("/proc/self/exe", F_OK) != 0)
            return false;
        return programOf(*id) != fileNameOf(program);
    }

    // The owner as the lock names it, for a message.
    std::string told() const
    {
        std::string text = "process " + quotedForMessage(pid);
        if (!program.empty())
            text += " of " + quotedForMessage(program);
        if (!host.empty())
            text += " on " + quotedForMessage(host);
        return text;
    }
};

// A lock that has stood this long is stale whoever named it, as QLockFile has it
// (QSettings keeps the default); a save holds it for a moment only.
constexpr std::chrono::seconds StaleLockAge{30};

// Whether a lock file's time is further from now than StaleLockAge, either way.
bool tooOld(const struct stat& st)
{
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    const auto since = std::chrono::seconds(now.tv_sec - st.st_mtim.tv_sec) +
                       std::chrono::nanoseconds(now.tv_nsec - st.st_mtim.tv_nsec);
    return since > StaleLockAge || since < -StaleLockAge;
}

// The lock file QSettings takes too (QLockFile's): created exclusively, flock()ed,
// holding its owner in QLockFile's lines; removed again to unlock.
class LockFile {
public:
    explicit LockFile(std::string path) : path_(std::move(path)) {}
    LockFile(const LockFile&) = delete;
    LockFile& operator=(const LockFile&) = delete;
    ~LockFile()
    {
        if (fd_ >= 0) {
            ::unlink(path_.c_str());
            ::close(fd_);
        }
    }

    // Nothing once held; else why not.
    std::optional<std::string> take(std::chrono::milliseconds wait)
    {
        const auto deadline = std::chrono::steady_clock::now() + wait;
        for (;;) {
            fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0644);
            if (fd_ >= 0) {
                ::flock(fd_, LOCK_EX | LOCK_NB);
                const std::string owner = std::to_string(::getpid()) + "\n" + programName() + "\n" +
                                          hostName() + "\n" + machineId() + "\n" + bootId() + "\n";
                if (!writeAll(fd_, owner) || ::fsync(fd_) != 0) {
                    const int error = errno;
                    return "cannot write the lock file " + quotedForMessage(path_) + ": " +
                           systemReason(error);
                }
                return std::nullopt;
            }
            if (errno != EEXIST)
                return "cannot create the lock file " + quotedForMessage(path_) + ": " +
                       systemReason(errno);
            if (removeIfStale())
                continue;
            if (std::chrono::steady_clock::now() >= deadline)
                return "the lock file " + quotedForMessage(path_) + " " + whyHeld() + " (waited " +
                       std::to_string(wait.count()) + " ms)";
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }

private:
    // A regular lock file whose owner is gone, or that is too old, and that nobody
    // holds flock()ed, is removed. An empty one is a lock being taken right now:
    // only its age counts.
    bool removeIfStale()
    {
        staleButKept_.clear();
        const int fd = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        if (fd < 0)
            return errno == ENOENT; // gone meanwhile: try again at once
        struct stat st {};
        bool stale = false;
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
            char buffer[4096];
            const ssize_t got = ::read(fd, buffer, sizeof buffer);
            const std::string_view text(buffer, got > 0 ? static_cast<std::size_t>(got) : 0);
            stale = tooOld(st) || (!text.empty() && LockOwner::in(text).gone());
        }
        // Locked natively: its owner lives, whatever the file says. Replaced
        // meanwhile: someone else took the stale lock first.
        struct stat now {};
        bool removed = false;
        if (stale && ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::lstat(path_.c_str(), &now) == 0 &&
            now.st_ino == st.st_ino && now.st_dev == st.st_dev) {
            removed = ::unlink(path_.c_str()) == 0;
            if (!removed)
                staleButKept_ = systemReason(errno);
        }
        ::close(fd);
        return removed;
    }

    std::string whyHeld() const
    {
        struct stat st {};
        if (::lstat(path_.c_str(), &st) != 0)
            return "could not be taken";
        if (S_ISDIR(st.st_mode))
            return "is a folder, not a lock file; remove it";
        if (S_ISLNK(st.st_mode))
            return "is a symbolic link, not a lock file; remove it";
        if (!S_ISREG(st.st_mode))
            return "is not a regular file; remove it";
        if (st.st_uid != ::geteuid())
            return "belongs to another user (uid " + std::to_string(st.st_uid) + ")";
        std::string text;
        std::string failure;
        if (readWholeFile(path_, text, failure) != ReadResult::Read || text.empty())
            return "is held by another process";
        const std::string owner = LockOwner::in(text).told();
        if (!staleButKept_.empty())
            return "was left by " + owner + " and cannot be removed: " + staleButKept_;
        return "is held by " + owner;
    }

    std::string path_;
    int fd_ = -1;
    std::string staleButKept_; // why a stale lock could not be removed
};

// The store's temporary files: the file's name, a mark no other program uses,
// and the six letters mkstemp() makes unique.
constexpr std::string_view TemporaryMark = ".soramado-tmp-";
constexpr std::size_t UniqueLetters = 6;

std::string temporaryPattern(const std::string& target)
{
    return target + std::string(TemporaryMark) + std::string(UniqueLetters, 'X');
}

// Removes the temporary files that killed saves of `target` left. Run while
// holding the lock, when no other save can be under way; any other file, a
// folder or a link of a like name is left alone.
void removeDeadSavesTemporaries(const std::string& target)
{
    const std::string prefix = std::string(fileNameOf(target)) + std::string(TemporaryMark);
    DIR* folder = ::opendir(folderOf(target).c_str());
    if (!folder)
        return;
    while (const dirent* entry = ::readdir(folder)) {
        const std::string_view name = entry->d_name;
        if (!name.starts_with(prefix) || name.size() != prefix.size() + UniqueLetters)
            continue;
        const std::string_view unique = name.substr(prefix.size());
        if (!std::all_of(unique.begin(), unique.end(),
                         [](char c) { return std::isalnum(static_cast<unsigned char>(c)); }))
            continue;
        struct stat st {};
        if (::fstatat(::dirfd(folder), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(st.st_mode) && st.st_uid == ::geteuid())
            ::unlinkat(::dirfd(folder), entry->d_name, 0);
    }
    ::closedir(folder);
}

bool isInGroup(gid_t group)
{
    if (group == ::getegid())
        return true;
    std::vector<gid_t> groups(static_cast<std::size_t>(std::max(::getgroups(0, nullptr), 0)));
    const int count = ::getgroups(static_cast<int>(groups.size()), groups.data());
    return count > 0 &&
           std::find(groups.begin(), groups.begin() + count, group) != groups.begin() + count;
}

// Whether this user may write the file, by its permissions: 0, or the reason why
// not. QSettings writes only a file it may open for writing. Root passes every
// permission check, which would defeat a file frozen with chmod a-w; so for root
// the permission bits decide as they would for an ordinary user of root's ids.
int writePermission(const std::string& file, const struct stat& st)
{
    if (::geteuid() == 0) {
        mode_t allowed = S_IWOTH;
        if (st.st_uid == 0)
            allowed = S_IWUSR;
        else if (isInGroup(st.st_gid))
            allowed = S_IWGRP;
        if ((st.st_mode & allowed) == 0)
            return EACCES;
    }
    // The system's own judgement: access lists, read-only mounts.
    return ::faccessat(AT_FDCWD, file.c_str(), W_OK, AT_EACCESS) == 0 ? 0 : errno;
}

} // namespace

std::string IniFileStore::defaultPath()
{
    const std::string file = "/" + std::string(StoreApplication) + ".conf";
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    if (configHome && configHome[0] == '/')
        return std::string(configHome) + file;
    std::string home;
    if (const char* variable = std::getenv("HOME"); variable && variable[0] == '/')
        home = variable;
    else if (const passwd* user = ::getpwuid(::getuid()); user && user->pw_dir)
        home = user->pw_dir;
    return home + "/.config" + file;
}

IniFileStore::IniFileStore(std::string path, std::chrono::milliseconds lockWait)
    : path_(std::move(path)), lockWait_(lockWait)
{}

void IniFileStore::noteReadProblem(std::string problem)
{
    if (std::find(readProblems_.begin(), readProblems_.end(), problem) == readProblems_.end())
        readProblems_.push_back(std::move(problem));
}

std::optional<std::string> IniFileStore::ReadSetting(std::string_view key)
{
    std::string data;
    std::string failure;
    switch (readWholeFile(path_, data, failure)) {
    case ReadResult::Missing:
        return std::nullopt;
    case ReadResult::Failed:
        noteReadProblem(failure + "; the settings' defaults apply");
        return std::nullopt;
    case ReadResult::Read:
        break;
    }
    std::vector<std::string> problems;
    std::optional<std::string> text = ini::find(data, ini::Group, key, &problems);
    for (std::string& problem : problems)
        noteReadProblem(quotedForMessage(path_) + " " + problem);
    return text;
}

std::optional<std::string> IniFileStore::WriteSetting(std::string_view key, std::string_view text)
{
    // A symbolic link (a dotfile manager's) is followed: the file it names is
    // replaced, or made when it does not exist yet, and the link is kept.
    std::error_code error;
    const std::string target = linkTarget(path_, error).string();
    if (error)
        return "cannot follow the link " + quotedForMessage(path_) + ": " + error.message();
    std::string old;
    std::string failure;
    // A key that already holds the text needs no lock and no write, so an
    // unchanged setting in a read-only folder or file is no failure.
    if (readWholeFile(target, old, failure) == ReadResult::Read &&
        ini::assign(old, ini::Group, key, text) == old)
        return std::nullopt;

    // A file the user may not write is kept as it is, as QSettings keeps it.
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
        if (const int denied = writePermission(target, st))
            return "cannot write " + quotedForMessage(target) + ": " + systemReason(denied) +
                   "; it is left as it is";
    }

    const std::string folder = folderOf(target);
    if (const int error = makeFolders(folder))
        return "cannot create the folder " + quotedForMessage(folder) + ": " + systemReason(error);

    LockFile lock(lockPath());
    if (std::optional<std::string> failure = lock.take(lockWait_))
        return failure;
    removeDeadSavesTemporaries(target);

    if (readWholeFile(target, old, failure) == ReadResult::Failed)
        return failure + "; it is left as it is";
    const std::string updated = ini::assign(old, ini::Group, key, text);
    if (updated == old)
        return std::nullopt;

    mode_t mode = 0;
    if (::stat(target.c_str(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }

    std::string temporary = temporaryPattern(target);
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return "cannot create a temporary file in " + quotedForMessage(folder) + ": " +
               systemReason(errno);
    const auto fail = [&](const std::string& what) {
        const int error = errno;
        if (fd >= 0)
            ::close(fd);
        ::unlink(temporary.c_str());
        return std::optional<std::string>(what + ": " + systemReason(error) +
                                          "; the old file is kept whole");
    };
    // The temporary file's random name would make each failure look new.
    const std::string writing = "cannot write a new " + quotedForMessage(target);
    if (::fchmod(fd, mode) != 0 || !writeAll(fd, updated) || ::fsync(fd) != 0)
        return fail(writing);
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        return writing + ": " + systemReason(error) + "; the old file is kept whole";
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        return "cannot replace " + quotedForMessage(target) + ": " + systemReason(error);
    }
    // The rename itself is kept by syncing the folder.
    if (const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return std::nullopt;
}

} // namespace soramado
