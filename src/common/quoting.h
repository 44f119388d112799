#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace soramado {

namespace quoting_detail {

// Appends `text` with every control character, stray byte, backslash and
// double quote written as an escape.
inline void appendEscaped(std::string& out, std::string_view text)
{
    const auto hex = [&out](const char* format, unsigned value) {
        char buffer[12];
        std::snprintf(buffer, sizeof buffer, format, value);
        out += buffer;
    };
    std::size_t i = 0;
    while (i < text.size()) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            switch (byte) {
            case '\\':
                out += "\\\\";
                break;
            case '"':
                out += "\\\"";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                if (byte < 0x20 || byte == 0x7F)
                    hex("\\x%02x", byte);
                else
                    out += static_cast<char>(byte);
            }
            ++i;
            continue;
        }
        // The length and the smallest code point of a well-formed sequence.
        std::size_t length = 0;
        char32_t code = 0;
        char32_t least = 0;
        if ((byte & 0xE0) == 0xC0) {
            length = 2, code = byte & 0x1F, least = 0x80;
        } else if ((byte & 0xF0) == 0xE0) {
            length = 3, code = byte & 0x0F, least = 0x800;
        } else if ((byte & 0xF8) == 0xF0) {
            length = 4, code = byte & 0x07, least = 0x10000;
        }
        bool wellFormed = length != 0 && i + length <= text.size();
        for (std::size_t k = 1; wellFormed && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            wellFormed = (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3F);
        }
        wellFormed =
            wellFormed && code >= least && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF);
        if (!wellFormed) {
            hex("\\x%02x", byte);
            ++i;
        } else if (code <= 0x9F) {
            hex("\\u%04x", static_cast<unsigned>(code)); // C1 controls such as CSI
            i += length;
        } else {
            out.append(text.substr(i, length));
            i += length;
        }
    }
}

// Where a cut may fall: not inside a UTF-8 sequence, so that the kept ends
// still read as the characters they were. Moves back (or on) over at most
// three continuation bytes.
inline std::size_t characterStart(std::string_view text, std::size_t at, bool forward)
{
    for (int step = 0; step < 3 && at > 0 && at < text.size(); ++step) {
        if ((static_cast<unsigned char>(text[at]) & 0xC0) != 0x80)
            break;
        forward ? ++at : --at;
    }
    return at;
}

} // namespace quoting_detail

// How much of a long text a message keeps: its start and its end, in bytes.
inline constexpr std::size_t QuotedHead = 160;
inline constexpr std::size_t QuotedTail = 60;

// A text from outside (a stored value, a path, a line of input) made safe to
// print inside double quotes on one line: control characters (C0, DEL and
// C1), bytes that are not UTF-8, the backslash and the double quote come out
// as escapes, so a NUL cannot cut the message short and an ESC cannot reach
// the terminal. Printable UTF-8 stays as it is. A longer text keeps its first
// QuotedHead and last QuotedTail bytes around a "…", so a megabyte of junk
// still makes one short line.
inline std::string quoteForMessage(std::string_view text)
{
    using namespace quoting_detail;
    std::string out;
    if (text.size() <= QuotedHead + QuotedTail) {
        appendEscaped(out, text);
        return out;
    }
    appendEscaped(out, text.substr(0, characterStart(text, QuotedHead, false)));
    out += "\u2026"; // …
    appendEscaped(out, text.substr(characterStart(text, text.size() - QuotedTail, true)));
    return out;
}

// quoteForMessage inside double quotes, as every message shows such a text.
inline std::string quotedForMessage(std::string_view text)
{
    std::string out = "\"";
    out += quoteForMessage(text);
    out += '"';
    return out;
}

} // namespace soramado
