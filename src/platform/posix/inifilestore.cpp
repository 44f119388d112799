#include "platform/posix/inifilestore.h"

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
constexpr std::string_view Bom = "\xEF\xBB\xBF";
// A settings file is a few lines; anything this large is not one.
constexpr off_t LargestFile = 16 * 1024 * 1024;
// A lock file that names no owner is stale after this long, as QLockFile has it.
constexpr std::time_t UnnamedLockStaleAfter = 30;

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isLineEnd(char c)
{
    return c == '\n' || c == '\r';
}

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

void appendUtf8(std::string& out, char32_t code)
{
    if (code >= 0xD800 && code <= 0xDFFF)
        code = 0xFFFD; // a lone UTF-16 half, as QString would turn it into UTF-8
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// One logical line: a backslash before the line end joins the next physical
// line; ";" outside quotes starts a comment that runs to the line's end.
struct Line {
    std::size_t begin = 0;      // first byte after leading blanks
    std::size_t contentEnd = 0; // where a trailing comment or the line end starts
    std::size_t end = 0;        // before the line terminator
    std::size_t next = 0;       // the next line's first byte
    std::size_t equals = npos;  // the first "=" of the content
    int number = 1;             // the physical line it starts on, from 1
};

Line readLine(std::string_view data, std::size_t pos)
{
    Line line;
    while (pos < data.size() && isBlank(data[pos]))
        ++pos;
    line.begin = pos;
    std::size_t comment = npos;
    bool inQuotes = false;
    std::size_t i = pos;
    while (i < data.size() && !isLineEnd(data[i])) {
        const char ch = data[i++];
        if (comment != npos)
            continue;
        if (ch == '\\') {
            if (i < data.size()) {
                const char escaped = data[i++];
                if (isLineEnd(escaped) && i < data.size() && isLineEnd(data[i]) &&
                    data[i] != escaped)
                    ++i;
            }
        } else if (ch == '"') {
            inQuotes = !inQuotes;
        } else if (ch == '=' && line.equals == npos) {
            line.equals = i - 1;
        } else if (ch == ';' && !inQuotes) {
            comment = i - 1;
        }
    }
    line.end = i;
    line.contentEnd = comment == npos ? i : comment;
    if (i < data.size()) {
        const char ch = data[i++];
        if (ch == '\r' && i < data.size() && data[i] == '\n')
            ++i;
    }
    line.next = i;
    return line;
}

int lineEndsIn(std::string_view s)
{
    int count = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\n' || (s[i] == '\r' && (i + 1 == s.size() || s[i + 1] != '\n')))
            ++count;
    }
    return count;
}

// Group names and keys: "\" stands for "/", "%XX" and "%UXXXX" for a character.
std::string unescapeKey(std::string_view key)
{
    std::string out;
    std::size_t i = 0;
    while (i < key.size()) {
        const char ch = key[i];
        if (ch == '\\') {
            out += '/';
            ++i;
            continue;
        }
        if (ch == '%' && i + 1 < key.size()) {
            const std::size_t first = key[i + 1] == 'U' ? i + 2 : i + 1;
            const std::size_t digits = key[i + 1] == 'U' ? 4 : 2;
            if (first + digits <= key.size()) {
                char32_t code = 0;
                bool ok = true;
                for (std::size_t k = 0; k < digits && ok; ++k) {
                    const int v = hexValue(key[first + k]);
                    ok = v >= 0;
                    code = code * 16 + static_cast<char32_t>(std::max(v, 0));
                }
                if (ok) {
                    appendUtf8(out, code);
                    i = first + digits;
                    continue;
                }
            }
        }
        out += ch;
        ++i;
    }
    return out;
}

std::string escapeKey(std::string_view key)
{
    static const char* const digits = "0123456789ABCDEF";
    std::string out;
    for (const char ch : key) {
        const auto byte = static_cast<unsigned char>(ch);
        if (ch == '/') {
            out += '\\';
        } else if ((ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') ||
                   (ch >= '0' && ch <= '9') || ch == '-' || ch == '_' || ch == '.') {
            out += ch;
        } else {
            out += '%';
            out += digits[byte >> 4];
            out += digits[byte & 0xF];
        }
    }
    return out;
}

enum class Kind { Blank, Comment, Group, Setting, Other };

Kind kindOf(std::string_view data, const Line& line)
{
    if (line.begin == line.end)
        return Kind::Blank;
    const char first = data[line.begin];
    // "#" is no comment to QSettings, but people write it so; it is kept and ignored.
    if (first == ';' || first == '#')
        return Kind::Comment;
    if (first == '[')
        return Kind::Group;
    if (line.equals != npos && line.equals < line.contentEnd)
        return Kind::Setting;
    return Kind::Other;
}

std::string groupName(std::string_view data, const Line& line)
{
    std::size_t close = data.find(']', line.begin);
    if (close == npos || close > line.end)
        close = line.contentEnd;
    return unescapeKey(trimmed(data.substr(line.begin + 1, close - line.begin - 1)));
}

std::string keyOf(std::string_view data, const Line& line)
{
    return unescapeKey(trimmed(data.substr(line.begin, line.equals - line.begin)));
}

std::size_t bomLength(std::string_view data)
{
    return data.starts_with(Bom) ? Bom.size() : 0;
}

// Calls visit(line, kind, inGroup) for each line after an optional byte-order mark.
template <typename Visit>
void forEachLine(std::string_view data, std::string_view group, Visit&& visit)
{
    std::size_t pos = bomLength(data);
    int number = 1;
    bool inGroup = false;
    while (pos < data.size()) {
        Line line = readLine(data, pos);
        line.number = number;
        const Kind kind = kindOf(data, line);
        if (kind == Kind::Group)
            inGroup = groupName(data, line) == group;
        visit(line, kind, inGroup);
        number += lineEndsIn(data.substr(pos, line.next - pos));
        pos = line.next;
    }
}

// The forms QSettings gives special meaning to when it reads a value.
std::string textOfValue(std::string value)
{
    if (!value.starts_with('@'))
        return value;
    if (value.ends_with(')')) {
        for (const std::string_view wrapper : {"@ByteArray(", "@String("}) {
            if (value.starts_with(wrapper))
                return value.substr(wrapper.size(), value.size() - wrapper.size() - 1);
        }
        if (value == "@Invalid()")
            return {};
    }
    if (value.starts_with("@@"))
        return value.substr(1);
    return value;
}

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

namespace ini {

std::string escapeValue(std::string_view text)
{
    static const char* const digits = "0123456789abcdef";
    std::string out;
    if (text.starts_with('@'))
        out += '@';
    bool needsQuotes = false;
    bool escapeNextIfDigit = false;
    const auto hexEscape = [&out](unsigned char byte) {
        out += "\\x";
        if (byte >= 0x10)
            out += digits[byte >> 4];
        out += digits[byte & 0xF];
    };
    for (const char ch : text) {
        const auto byte = static_cast<unsigned char>(ch);
        if (ch == ';' || ch == ',' || ch == '=')
            needsQuotes = true;
        // After "\0" or "\x1f" a hex digit would join the escape.
        if (escapeNextIfDigit && hexValue(ch) >= 0) {
            hexEscape(byte);
            continue;
        }
        escapeNextIfDigit = false;
        switch (ch) {
        case '\0':
            out += "\\0";
            escapeNextIfDigit = true;
            break;
        case '\a':
            out += "\\a";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\v':
            out += "\\v";
            break;
        case '"':
        case '\\':
            out += '\\';
            out += ch;
            break;
        default:
            if (byte < 0x20 || byte == 0x7F) {
                hexEscape(byte);
                escapeNextIfDigit = true;
            } else {
                out += ch;
            }
        }
    }
    if (needsQuotes || (!out.empty() && (out.front() == ' ' || out.back() == ' ')))
        out = "\"" + out + "\"";
    return out;
}

std::string unescapeValue(std::string_view raw)
{
    static constexpr std::pair<char, char> codes[] = {
        {'a', '\a'}, {'b', '\b'}, {'f', '\f'}, {'n', '\n'},  {'r', '\r'},  {'t', '\t'},
        {'v', '\v'}, {'"', '"'},  {'?', '?'},  {'\'', '\''}, {'\\', '\\'},
    };
    std::string out;
    std::size_t i = 0;
    std::size_t chopLimit = 0;
    bool quoted = false;
    bool inQuotes = false;
    const auto skipBlanks = [&] {
        while (i < raw.size() && isBlank(raw[i]))
            ++i;
        chopLimit = out.size();
    };
    skipBlanks();
    while (i < raw.size()) {
        const char ch = raw[i];
        if (ch == '\\') {
            if (++i >= raw.size())
                break;
            const char code = raw[i++];
            const auto* known = std::find_if(std::begin(codes), std::end(codes),
                                             [code](const auto& c) { return c.first == code; });
            if (known != std::end(codes)) {
                out += known->second;
            } else if (code == 'x' || (code >= '0' && code <= '7')) {
                // "\x" takes hex digits, "\0".."\7" octal ones, to one UTF-16 unit.
                const bool hex = code == 'x';
                char32_t value = hex ? 0 : static_cast<char32_t>(code - '0');
                bool any = !hex;
                while (i < raw.size()) {
                    const int digit = hex ? hexValue(raw[i])
                                          : (raw[i] >= '0' && raw[i] <= '7' ? raw[i] - '0' : -1);
                    if (digit < 0)
                        break;
                    value = ((value << (hex ? 4 : 3)) + static_cast<char32_t>(digit)) & 0xFFFF;
                    any = true;
                    ++i;
                }
                if (any)
                    appendUtf8(out, value);
            } else if (isLineEnd(code)) {
                if (i < raw.size() && isLineEnd(raw[i]) && raw[i] != code)
                    ++i;
            }
            // Any other escaped character is dropped, as QSettings does.
            chopLimit = out.size();
        } else if (ch == '"') {
            ++i;
            quoted = true;
            inQuotes = !inQuotes;
            if (!inQuotes)
                skipBlanks();
        } else {
            // A comma is kept: a stored text is one text.
            std::size_t j = i + 1;
            while (j < raw.size() && raw[j] != '\\' && raw[j] != '"')
                ++j;
            out.append(raw.substr(i, j - i));
            i = j;
        }
    }
    if (!quoted) {
        std::size_t n = out.size();
        while (n > chopLimit && isBlank(out[n - 1]))
            --n;
        out.resize(n);
    }
    return out;
}

std::optional<std::string> find(std::string_view file, std::string_view group, std::string_view key,
                                std::vector<std::string>* problems)
{
    std::optional<std::string> found;
    int oddLines = 0;
    std::string firstOdd;
    forEachLine(file, group, [&](const Line& line, Kind kind, bool inGroup) {
        if (kind == Kind::Setting && inGroup && keyOf(file, line) == key) {
            found = textOfValue(
                unescapeValue(file.substr(line.equals + 1, line.contentEnd - line.equals - 1)));
        } else if (kind == Kind::Other && ++oddLines == 1) {
            const std::string_view text = file.substr(line.begin, line.end - line.begin);
            firstOdd = "line " + std::to_string(line.number) + " (" + quoted(text.substr(0, 40)) +
                       (text.size() > 40 ? "..." : "") + ")";
        }
    });
    if (problems && oddLines > 0) {
        problems->push_back(oddLines == 1
                                ? firstOdd + " is not a setting; it is kept and ignored"
                                : firstOdd + " and " + std::to_string(oddLines - 1) +
                                      " more lines are not settings; they are kept and ignored");
    }
    return found;
}

std::string assign(std::string_view file, std::string_view group, std::string_view key,
                   std::string_view text)
{
    const std::size_t crlf = file.find("\r\n");
    const std::size_t lf = file.find('\n');
    const std::string_view eol = crlf != npos && crlf + 1 == lf ? "\r\n" : "\n";

    bool groupSeen = false;
    std::size_t insertAt = 0;
    std::size_t matchBegin = npos;
    std::size_t matchEnd = npos;
    forEachLine(file, group, [&](const Line& line, Kind kind, bool inGroup) {
        if (!inGroup || (kind != Kind::Group && kind != Kind::Setting))
            return;
        groupSeen = true;
        insertAt = line.next;
        if (kind == Kind::Setting && keyOf(file, line) == key) {
            matchBegin = line.begin;
            matchEnd = line.contentEnd;
            // Blanks before a trailing comment stay with the comment.
            while (matchEnd > line.equals + 1 && isBlank(file[matchEnd - 1]))
                --matchEnd;
        }
    });

    const std::string setting = escapeKey(key) + "=" + escapeValue(text);
    std::string out;
    if (matchBegin != npos) {
        out.append(file.substr(0, matchBegin));
        out += setting;
        out.append(file.substr(matchEnd));
        return out;
    }
    const auto endsOpen = [](std::string_view s) { return !s.empty() && !isLineEnd(s.back()); };
    if (groupSeen) {
        out.append(file.substr(0, insertAt));
        if (endsOpen(out))
            out += eol;
        out += setting;
        out += eol;
        out.append(file.substr(insertAt));
        return out;
    }
    out.append(file);
    if (file.size() > bomLength(file)) {
        if (endsOpen(out))
            out += eol;
        out += eol; // groups are set apart by an empty line
    }
    out += "[";
    out += escapeKey(group);
    out += "]";
    out += eol;
    out += setting;
    out += eol;
    return out;
}

} // namespace ini

std::string IniFileStore::defaultPath()
{
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    if (configHome && configHome[0] == '/')
        return std::string(configHome) + "/Soramado.conf";
    std::string home;
    if (const char* variable = std::getenv("HOME"); variable && variable[0] == '/')
        home = variable;
    else if (const passwd* user = ::getpwuid(::getuid()); user && user->pw_dir)
        home = user->pw_dir;
    return home + "/.config/Soramado.conf";
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
