#include "wildcards.h"

#include "word/automation.h"
#include "word/builtin/wildcard.h"

#include <cstdint>
#include <cstdio>
#include <string>

namespace word::uno
{

namespace
{

// A word is a run of letters and digits (with the marks written on them); everything else ends one.
constexpr const char *wordStart = "(?<![\\p{L}\\p{Nd}\\p{Mn}\\p{Mc}])(?=[\\p{L}\\p{Nd}\\p{Mn}\\p{Mc}])";
constexpr const char *wordEnd = "(?<=[\\p{L}\\p{Nd}\\p{Mn}\\p{Mc}])(?![\\p{L}\\p{Nd}\\p{Mn}\\p{Mc}])";

[[noreturn]] void invalid()
{
    throw AutomationError(invalidPatternMessage);
}

std::u32string decode(std::string_view utf8)
{
    std::u32string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        int extra = 0;
        char32_t cp = byte;
        if (byte >= 0xF0) {
            extra = 3;
            cp = byte & 0x07;
        } else if (byte >= 0xE0) {
            extra = 2;
            cp = byte & 0x0F;
        } else if (byte >= 0xC0) {
            extra = 1;
            cp = byte & 0x1F;
        } else if (byte >= 0x80) {
            cp = 0xFFFD;
        }
        ++i;
        for (int k = 0; k < extra; ++k, ++i) {
            if (i >= utf8.size() || (static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80) {
                cp = 0xFFFD;
                break;
            }
            cp = (cp << 6) | (static_cast<unsigned char>(utf8[i]) & 0x3F);
        }
        out += cp;
    }
    return out;
}

void append(std::string &out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

bool isAsciiAlnum(char32_t c)
{
    return (c >= U'0' && c <= U'9') || (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z');
}

bool isDigit(char32_t c)
{
    return c >= U'0' && c <= U'9';
}

// One character as a literal of the regular expression. Control characters and LibreOffice's own
// escapes ("\<", "\n", ...) are avoided by writing the code point.
void appendLiteral(std::string &out, char32_t c, bool inSet)
{
    if (c == U'\t') {
        out += "\\t";
    } else if (c == U'\v') {
        out += "\\n"; // a manual line break
    } else if (c < 0x20) {
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "\\x{%X}", static_cast<unsigned>(c));
        out += buffer;
    } else if (c < 0x80 && !isAsciiAlnum(c) && c != U' ' && c != U'<' && c != U'>'
               && (inSet || std::u32string_view(U"\\^$.|?*+()[]{}").find(c) != std::u32string_view::npos)) {
        out += '\\';
        out += static_cast<char>(c);
    } else {
        append(out, c);
    }
}

class Translator
{
public:
    explicit Translator(std::string_view pattern)
        : m_p(decode(pattern))
    {
    }

    std::string run()
    {
        sequence(0);
        if (m_i != m_p.size()) {
            invalid(); // an unmatched ")"
        }
        return m_out;
    }

private:
    bool more() const
    {
        return m_i < m_p.size();
    }
    char32_t peek() const
    {
        return m_p[m_i];
    }

    void sequence(int depth)
    {
        while (more()) {
            const char32_t c = peek();
            if (c == U')') {
                if (depth == 0) {
                    invalid();
                }
                return;
            }
            const bool quantifiable = atom(depth);
            quantifier(quantifiable);
        }
    }

    // One item of the pattern; returns whether a count may follow it.
    bool atom(int depth)
    {
        const char32_t c = m_p[m_i++];
        switch (c) {
        case U'(':
            m_out += '(';
            sequence(depth + 1);
            if (!more() || peek() != U')') {
                invalid();
            }
            ++m_i;
            m_out += ')';
            return true;
        case U'[':
            set();
            return true;
        case U'?':
            m_out += '.';
            return true;
        case U'*':
            m_out += ".*?";
            return false;
        case U'<':
            m_out += wordStart;
            return false;
        case U'>':
            m_out += wordEnd;
            return false;
        case U'\\':
            if (!more()) {
                invalid();
            }
            appendLiteral(m_out, m_p[m_i++], false);
            return true;
        case U'^':
            caretCode();
            return true;
        case U'{':
        case U'}':
        case U']':
        case U'@':
            invalid();
        default:
            appendLiteral(m_out, c, false);
            return true;
        }
    }

    // "^t", "^^", "^11" (a line break), "^nnn" (a character code).
    void caretCode()
    {
        if (!more()) {
            invalid();
        }
        const char32_t c = m_p[m_i++];
        if (c == U't') {
            m_out += "\\t";
        } else if (c == U'l') {
            m_out += "\\n";
        } else if (c == U'p') {
            paragraphMark();
        } else if (c == U'^') {
            m_out += "\\^";
        } else if (isDigit(c)) {
            uint32_t code = c - U'0';
            while (more() && isDigit(peek()) && code < 100000) {
                code = code * 10 + (m_p[m_i++] - U'0');
            }
            if (code == 0 || code > 0x10FFFF) {
                invalid();
            }
            if (code == 13) {
                paragraphMark();
                return;
            }
            appendLiteral(m_out, code == 11 ? U'\v' : static_cast<char32_t>(code), false);
        } else {
            invalid();
        }
    }

    void paragraphMark()
    {
        // A paragraph mark can only end what is found: LibreOffice searches paragraph by paragraph.
        if (more()) {
            throw AutomationError("LibreOffice Writer cannot find a paragraph mark inside a wildcard pattern.");
        }
        m_out += '$';
    }

    void set()
    {
        std::string body;
        bool negated = false;
        if (more() && peek() == U'!') {
            negated = true;
            ++m_i;
        }
        bool empty = true;
        for (;;) {
            if (!more()) {
                invalid(); // no closing "]"
            }
            char32_t c = m_p[m_i++];
            if (c == U']') {
                if (empty) {
                    invalid();
                }
                break;
            }
            if (c == U'\\') {
                if (!more()) {
                    invalid();
                }
                c = m_p[m_i++];
            }
            empty = false;
            if (m_i + 1 < m_p.size() && peek() == U'-' && m_p[m_i + 1] != U']') {
                ++m_i;
                char32_t last = m_p[m_i++];
                if (last == U'\\') {
                    if (!more()) {
                        invalid();
                    }
                    last = m_p[m_i++];
                }
                if (last < c) {
                    invalid(); // ranges must ascend
                }
                appendLiteral(body, c, true);
                body += '-';
                appendLiteral(body, last, true);
            } else {
                appendLiteral(body, c, true);
            }
        }
        m_out += negated ? "[^" : "[";
        m_out += body;
        m_out += ']';
    }

    // "{n}", "{n,}", "{n,m}" or "@" after an item.
    void quantifier(bool quantifiable)
    {
        if (!more()) {
            return;
        }
        const char32_t c = peek();
        if (c != U'{' && c != U'@') {
            return;
        }
        if (!quantifiable) {
            invalid();
        }
        ++m_i;
        if (c == U'@') {
            m_out += '+';
        } else {
            const auto readNumber = [this]() -> long {
                long value = -1;
                while (more() && isDigit(peek())) {
                    value = (value < 0 ? 0 : value * 10) + (m_p[m_i++] - U'0');
                    if (value > 65535) {
                        invalid();
                    }
                }
                return value;
            };
            const long low = readNumber();
            long high = low;
            bool open = false;
            if (low < 0 || !more()) {
                invalid();
            }
            if (peek() == U',') {
                ++m_i;
                high = readNumber();
                open = high < 0;
            }
            if (!more() || peek() != U'}' || (!open && high < low)) {
                invalid();
            }
            ++m_i;
            m_out += '{' + std::to_string(low);
            if (open) {
                m_out += ',';
            } else if (high != low) {
                m_out += ',' + std::to_string(high);
            }
            m_out += '}';
        }
        if (more() && (peek() == U'{' || peek() == U'@')) {
            invalid(); // a count of a count
        }
    }

    std::u32string m_p;
    std::size_t m_i = 0;
    std::string m_out;
};

} // namespace

std::string wildcardToRegex(std::string_view pattern)
{
    if (pattern.empty()) {
        invalid();
    }
    // The built-in host decides what is a valid pattern, so both hosts refuse the same ones.
    try {
        builtin::wildcard::Program::compile(pattern);
    } catch (const builtin::wildcard::PatternError &) {
        invalid();
    }
    return Translator(pattern).run();
}

std::string literalToRegex(std::string_view text)
{
    std::string out;
    for (const char32_t c : decode(text)) {
        appendLiteral(out, c, false);
    }
    return out;
}

void checkWildcardReplacement(std::string_view pattern, std::string_view replacement)
{
    try {
        const auto program = builtin::wildcard::Program::compile(pattern);
        builtin::wildcard::Replacement::parse(replacement, program.groupCount());
    } catch (const builtin::wildcard::PatternError &) {
        invalid();
    }
}

std::string wildcardReplacementToRegex(std::string_view replacement)
{
    const std::u32string r = decode(replacement);
    std::string out;
    for (std::size_t i = 0; i < r.size(); ++i) {
        const char32_t c = r[i];
        const bool hasNext = i + 1 < r.size();
        if (c == U'\\' && hasNext && r[i + 1] >= U'1' && r[i + 1] <= U'9') {
            out += '$';
            out += static_cast<char>(r[++i]);
        } else if (c == U'\\' && hasNext) {
            const char32_t next = r[++i];
            if (next == U'\\' || next == U'&' || next == U'$') {
                out += '\\';
            }
            append(out, next);
        } else if (c == U'^' && hasNext && r[i + 1] == U'&') {
            out += '&';
            ++i;
        } else if (c == U'^' && hasNext && r[i + 1] == U't') {
            out += "\\t";
            ++i;
        } else if (c == U'^' && hasNext && (r[i + 1] == U'p' || r.compare(i + 1, 2, U"13") == 0)) {
            out += "\\n";
            i += r[i + 1] == U'p' ? 1 : 2;
        } else if (c == U'^' && hasNext && (r[i + 1] == U'l' || r.compare(i + 1, 2, U"11") == 0)) {
            throw AutomationError("LibreOffice Writer cannot put a line break into a wildcard replacement.");
        } else if (c == U'^' && hasNext && r[i + 1] == U'^') {
            out += '^';
            ++i;
        } else if (c == U'&' || c == U'$' || c == U'\\') {
            out += '\\';
            append(out, c);
        } else if (c == U'\t') {
            out += "\\t";
        } else if (c == U'\r') {
            out += "\\n";
        } else {
            append(out, c);
        }
    }
    return out;
}

} // namespace word::uno
