#include "platform/posix/inifilestore.h"

#include "platform/posix/iniformat.h"

#include "common/quoting.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
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
// A lock file that names no owner is stale after this long, as QLockFile has it.
constexpr std::time_t UnnamedLockStaleAfter = 30;

std::string systemReason(int error)
{
    return std::strerror(error);
}

std::string quoted(std::string_view text)
{
    return "\"" + quoteForMessage(text) + "\"";
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
        failure = "cannot read " + quoted(path) + ": " + systemReason(errno);
        return ReadResult::Failed;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const bool folder = S_ISDIR(st.st_mode);
        ::close(fd);
        failure = quoted(path) + (folder ? " is a folder" : " is not a regular file") +
                  ", not a settings file";
        return ReadResult::Failed;
    }
    if (st.st_size > LargestFile) {
        ::close(fd);
        failure = quoted(path) + " is too large to be a settings file";
        return ReadResult::Failed;
    }
    char buffer[8192];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            failure = "cannot read " + quoted(path) + ": " + systemReason(errno);
            ::close(fd);
            return ReadResult::Failed;
        }
        if (got == 0)
            break;
        data.append(buffer, static_cast<std::size_t>(got));
        if (data.size() > static_cast<std::size_t>(LargestFile)) {
            failure = quoted(path) + " is too large to be a settings file";
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

std::string hostName()
{
    char name[HOST_NAME_MAX + 1] = {};
    if (::gethostname(name, sizeof name - 1) != 0)
        return {};
    return name;
}

// The running program's file name, which QLockFile compares with a lock's
// second line to tell a reused process id from the owner.
std::string programName()
{
    char target[PATH_MAX] = {};
    const ssize_t length = ::readlink("/proc/self/exe", target, sizeof target - 1);
    if (length <= 0)
        return "soramado";
    const std::string_view path(target, static_cast<std::size_t>(length));
    return std::string(path.substr(path.rfind('/') + 1));
}

// The lock file QSettings takes too: created exclusively, flock()ed, holding
// "pid\nprogram\nhost\n"; removed again to unlock.
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
                const std::string owner =
                    std::to_string(::getpid()) + "\n" + programName() + "\n" + hostName() + "\n";
                if (!writeAll(fd_, owner) || ::fsync(fd_) != 0) {
                    const int error = errno;
                    return "cannot write the lock file " + quoted(path_) + ": " +
                           systemReason(error);
                }
                return std::nullopt;
            }
            if (errno != EEXIST)
                return "cannot create the lock file " + quoted(path_) + ": " + systemReason(errno);
            if (removeIfStale())
                continue;
            if (std::chrono::steady_clock::now() >= deadline)
                return "the lock file " + quoted(path_) + " " + whyHeld() + " (waited " +
                       std::to_string(wait.count()) + " ms)";
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }

private:
    struct Owner {
        long pid = 0;
        std::string host;
    };

    static std::optional<Owner> ownerIn(std::string_view text)
    {
        const std::size_t first = text.find('\n');
        if (first == npos)
            return std::nullopt;
        Owner owner;
        char* end = nullptr;
        const std::string pid(text.substr(0, first));
        owner.pid = std::strtol(pid.c_str(), &end, 10);
        if (pid.empty() || *end != '\0' || owner.pid <= 0)
            return std::nullopt;
        const std::size_t second = text.find('\n', first + 1);
        if (second != npos) {
            const std::size_t third = text.find('\n', second + 1);
            owner.host =
                std::string(text.substr(second + 1, third == npos ? npos : third - second - 1));
        }
        return owner;
    }

    // A regular lock file whose owner on this machine is gone (or that names no
    // owner and is old), and that nobody holds flock()ed, is removed.
    bool removeIfStale() const
    {
        const int fd = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        if (fd < 0)
            return errno == ENOENT; // gone meanwhile: try again at once
        struct stat st {};
        bool stale = false;
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size < 4096) {
            char buffer[4096];
            const ssize_t got = ::read(fd, buffer, sizeof buffer);
            const std::string_view text(buffer, got > 0 ? static_cast<std::size_t>(got) : 0);
            if (const std::optional<Owner> owner = ownerIn(text)) {
                stale = (owner->host.empty() || owner->host == hostName()) &&
                        ::kill(static_cast<pid_t>(owner->pid), 0) != 0 && errno == ESRCH;
            } else {
                stale = std::time(nullptr) - st.st_mtime > UnnamedLockStaleAfter;
            }
        }
        struct stat now {};
        if (stale && ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::lstat(path_.c_str(), &now) == 0 &&
            now.st_ino == st.st_ino && now.st_dev == st.st_dev) {
            stale = ::unlink(path_.c_str()) == 0;
        } else {
            stale = false;
        }
        ::close(fd);
        return stale;
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
        if (readWholeFile(path_, text, failure) == ReadResult::Read) {
            if (const std::optional<Owner> owner = ownerIn(text))
                return "is held by process " + std::to_string(owner->pid) +
                       (owner->host.empty() || owner->host == hostName()
                            ? std::string()
                            : " on " + quoted(owner->host));
        }
        return "is held by another process";
    }

    std::string path_;
    int fd_ = -1;
};

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
        noteReadProblem(quoted(path_) + " " + problem);
    return text;
}

std::optional<std::string> IniFileStore::WriteSetting(std::string_view key, std::string_view text)
{
    // A symbolic link (a dotfile manager's) is followed: its target is replaced.
    std::string target = path_;
    struct stat link {};
    if (::lstat(path_.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        char resolved[PATH_MAX];
        if (!::realpath(path_.c_str(), resolved))
            return "cannot follow the link " + quoted(path_) + ": " + systemReason(errno);
        target = resolved;
    }
    std::string old;
    std::string failure;
    // A key that already holds the text needs no lock and no write, so an
    // unchanged setting in a read-only folder is no failure.
    if (readWholeFile(target, old, failure) == ReadResult::Read &&
        ini::assign(old, ini::Group, key, text) == old)
        return std::nullopt;

    const std::string folder = folderOf(target);
    if (const int error = makeFolders(folder))
        return "cannot create the folder " + quoted(folder) + ": " + systemReason(error);

    LockFile lock(lockPath());
    if (std::optional<std::string> failure = lock.take(lockWait_))
        return failure;

    if (readWholeFile(target, old, failure) == ReadResult::Failed)
        return failure + "; it is left as it is";
    const std::string updated = ini::assign(old, ini::Group, key, text);
    if (updated == old)
        return std::nullopt;

    struct stat st {};
    mode_t mode = 0;
    if (::stat(target.c_str(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }

    std::string temporary = target + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return "cannot create a temporary file in " + quoted(folder) + ": " + systemReason(errno);
    const auto fail = [&](const std::string& what) {
        const int error = errno;
        if (fd >= 0)
            ::close(fd);
        ::unlink(temporary.c_str());
        return std::optional<std::string>(what + ": " + systemReason(error) +
                                          "; the old file is kept whole");
    };
    // The temporary file's random name would make each failure look new.
    const std::string writing = "cannot write a new " + quoted(target);
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
        return "cannot replace " + quoted(target) + ": " + systemReason(error);
    }
    // The rename itself is kept by syncing the folder.
    if (const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return std::nullopt;
}

} // namespace soramado
