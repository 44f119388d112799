#include "platform/posix/iniformat.h"

#include "common/quoting.h"

#include <algorithm>

namespace soramado {

namespace {

constexpr std::size_t npos = std::string_view::npos;
constexpr std::string_view Bom = "\xEF\xBB\xBF";

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
            firstOdd = "line " + std::to_string(line.number) + " (" +
                       quotedForMessage(text.substr(0, 40)) + (text.size() > 40 ? "..." : "") + ")";
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
    std::size_t insertAfter = 0; // where the line before insertAt starts
    std::size_t lastLine = 0;
    std::size_t matchBegin = npos;
    std::size_t matchEnd = npos;
    forEachLine(file, group, [&](const Line& line, Kind kind, bool inGroup) {
        lastLine = line.begin;
        if (!inGroup || (kind != Kind::Group && kind != Kind::Setting))
            return;
        groupSeen = true;
        insertAt = line.next;
        insertAfter = line.begin;
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
    // Ends the last line, which starts at begin, when it is still open: at the
    // end of a file without a final line end, or with a backslash that joins
    // the next line to it (then an empty line is what it joins).
    const auto closeLastLine = [&eol](std::string& s, std::size_t begin) {
        while (begin < s.size() && readLine(s, begin).end == s.size())
            s += eol;
    };
    if (groupSeen) {
        out.append(file.substr(0, insertAt));
        closeLastLine(out, insertAfter);
        out += setting;
        out += eol;
        out.append(file.substr(insertAt));
        return out;
    }
    out.append(file);
    if (file.size() > bomLength(file)) {
        closeLastLine(out, lastLine);
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

} // namespace soramado
