#include "textdocument.h"
#include "word/wildcards/utf8.h"

#include <cstdio>
#include <stdexcept>

namespace word::builtin
{

namespace
{

[[noreturn]] void malformed(std::string_view notation, std::size_t pos, const char *what)
{
    throw std::invalid_argument("notation: " + std::string(what) + " at byte " + std::to_string(pos) + " of \""
                                + std::string(notation) + "\"");
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

// Reads a decimal number (with an optional minus sign) at pos; false when there is none.
bool readNumber(std::string_view s, std::size_t &pos, int64_t &value)
{
    const std::size_t start = pos;
    bool negative = false;
    if (pos < s.size() && s[pos] == '-') {
        negative = true;
        ++pos;
    }
    const std::size_t digits = pos;
    value = 0;
    while (pos < s.size() && s[pos] >= '0' && s[pos] <= '9' && pos - digits < 10) {
        value = value * 10 + (s[pos] - '0');
        ++pos;
    }
    if (pos == digits) {
        pos = start;
        return false;
    }
    value = negative ? -value : value;
    return true;
}

CharFormat parseAttributes(std::string_view notation, std::size_t begin, std::size_t end)
{
    CharFormat fmt;
    std::size_t pos = begin;
    while (pos < end) {
        const char c = notation[pos++];
        int64_t number = 0;
        switch (c) {
        case 'b':
            fmt.bold = true;
            break;
        case 'i':
            fmt.italic = true;
            break;
        case 'u':
            fmt.underline =
                readNumber(notation.substr(0, end), pos, number) ? static_cast<int32_t>(number) : wdUnderlineSingle;
            break;
        case 'c':
            if (!readNumber(notation.substr(0, end), pos, number)) {
                malformed(notation, pos, "colour number expected");
            }
            fmt.color = static_cast<int32_t>(number);
            break;
        case '#': {
            int rgb[3] = {0, 0, 0};
            for (int &component : rgb) {
                const int hi = pos < end ? hexValue(notation[pos]) : -1;
                const int lo = pos + 1 < end ? hexValue(notation[pos + 1]) : -1;
                if (hi < 0 || lo < 0) {
                    malformed(notation, pos, "six hex digits expected after #");
                }
                component = hi * 16 + lo;
                pos += 2;
            }
            fmt.color = rgb[0] + 256 * rgb[1] + 65536 * rgb[2];
            break;
        }
        default:
            malformed(notation, pos - 1, "unknown attribute");
        }
    }
    return fmt;
}

void appendEscaped(std::string &out, std::string_view text, bool inRun)
{
    for (const char c : text) {
        switch (c) {
        case '\r':
            out.push_back('\n');
            break;
        case '{':
        case '}':
        case '\\':
            out.push_back('\\');
            out.push_back(c);
            break;
        case '|':
            if (inRun) {
                out.push_back('\\');
            }
            out.push_back(c);
            break;
        default:
            out.push_back(c);
        }
    }
}

} // namespace

TextDocument fromNotation(std::string_view notation)
{
    StoredText stored;
    const CharFormat plain;
    CharFormat current = plain;
    bool inRun = false;
    auto put = [&](char c) {
        const char byte = c == '\n' ? '\r' : c;
        stored.append(std::string_view(&byte, 1), current);
    };
    for (std::size_t pos = 0; pos < notation.size();) {
        const char c = notation[pos];
        if (c == '\\') {
            if (pos + 1 >= notation.size()) {
                malformed(notation, pos, "dangling backslash");
            }
            const char next = notation[pos + 1];
            if (next != '{' && next != '}' && next != '|' && next != '\\') {
                malformed(notation, pos, "unknown escape");
            }
            put(next);
            pos += 2;
        } else if (c == '{') {
            if (inRun) {
                malformed(notation, pos, "nested run");
            }
            const std::size_t bar = notation.find('|', pos + 1);
            if (bar == std::string_view::npos) {
                malformed(notation, pos, "run without |");
            }
            current = parseAttributes(notation, pos + 1, bar);
            inRun = true;
            pos = bar + 1;
        } else if (c == '}') {
            if (!inRun) {
                malformed(notation, pos, "unbalanced }");
            }
            current = plain;
            inRun = false;
            ++pos;
        } else if (c == '|' && inRun) {
            malformed(notation, pos, "unescaped | in a run");
        } else {
            const std::size_t start = pos;
            utf8::decode(notation, pos);
            if (pos - start == 1) {
                put(c);
            } else {
                // Keep only valid UTF-8 in the document.
                const std::string encoded = toUtf8(toU32(notation.substr(start, pos - start)));
                for (const char byte : encoded) {
                    put(byte);
                }
            }
        }
    }
    if (inRun) {
        malformed(notation, notation.size(), "run not closed");
    }
    current = plain;
    put('\r');
    TextDocument doc;
    doc.assign(std::move(stored));
    return doc;
}

std::string toNotation(const TextDocument &doc)
{
    const std::string &bytes = doc.bytes();
    const std::size_t textEnd = bytes.size() - 1; // the final mark is implied
    const CharFormat plain;
    std::string out;
    std::size_t start = 0;
    for (const Span &span : doc.spans()) {
        const std::size_t end = std::min<std::size_t>(span.end, textEnd);
        if (start >= end) {
            break;
        }
        const std::string_view text(bytes.data() + start, end - start);
        const CharFormat &f = doc.formatOf(span.format);
        if (f == plain) {
            appendEscaped(out, text, false);
        } else {
            out.push_back('{');
            if (f.bold) {
                out.push_back('b');
            }
            if (f.italic) {
                out.push_back('i');
            }
            if (f.underline == wdUnderlineSingle) {
                out.push_back('u');
            } else if (f.underline != wdUnderlineNone) {
                out.push_back('u');
                out.append(std::to_string(f.underline));
            }
            if (f.color >= 0 && f.color <= 0xFFFFFF) {
                char hex[8];
                std::snprintf(hex,
                              sizeof hex,
                              "#%02X%02X%02X",
                              f.color & 0xFF,
                              (f.color >> 8) & 0xFF,
                              (f.color >> 16) & 0xFF);
                out += hex;
            } else if (f.color != wdColorAutomatic) {
                out.push_back('c');
                out.append(std::to_string(f.color));
            }
            out.push_back('|');
            appendEscaped(out, text, true);
            out.push_back('}');
        }
        start = end;
    }
    return out;
}

} // namespace word::builtin
