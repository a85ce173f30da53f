#include "wildcards.h"

#include "word/automation.h"
#include "word/wildcards/pattern.h"
#include "word/wildcards/utf8.h"

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

bool isAsciiAlnum(char32_t c)
{
    return (c >= U'0' && c <= U'9') || (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z');
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
        utf8::append(out, c);
    }
}

// The parse tree written as a regular expression.
class Translator
{
public:
    explicit Translator(const wildcards::Pattern &pattern)
        : m_pattern(pattern)
    {
    }

    std::string run()
    {
        sequence(m_pattern.items, true);
        return m_out;
    }

private:
    void sequence(const std::vector<wildcards::Node> &items, bool topLevel)
    {
        for (std::size_t i = 0; i < items.size(); ++i) {
            const wildcards::Node &node = items[i];
            if (node.paragraphCode) {
                // A paragraph mark can only end what is found: LibreOffice searches paragraph by
                // paragraph.
                if (!topLevel || i + 1 < items.size() || node.quantified) {
                    throw AutomationError("LibreOffice Writer cannot find a paragraph mark inside a wildcard pattern.");
                }
                m_out += '$';
                continue;
            }
            atom(node);
            count(node);
        }
    }

    void atom(const wildcards::Node &node)
    {
        switch (node.kind) {
        case wildcards::Node::Char:
            appendLiteral(m_out, node.c, false);
            break;
        case wildcards::Node::Any:
            m_out += '.';
            break;
        case wildcards::Node::Set:
            set(m_pattern.sets[node.set]);
            break;
        case wildcards::Node::WordStart:
            m_out += wordStart;
            break;
        case wildcards::Node::WordEnd:
            m_out += wordEnd;
            break;
        case wildcards::Node::Group:
            m_out += '(';
            sequence(node.children, false);
            m_out += ')';
            break;
        }
    }

    void set(const wildcards::CharSet &set)
    {
        m_out += set.negated ? "[^" : "[";
        for (const auto &[first, last] : set.ranges) {
            appendLiteral(m_out, first, true);
            if (last != first) {
                m_out += '-';
                appendLiteral(m_out, last, true);
            }
        }
        m_out += ']';
    }

    // "*", "@", "{n}", "{n,}", "{n,m}".
    void count(const wildcards::Node &node)
    {
        if (!node.quantified) {
            return;
        }
        if (node.lazy) {
            m_out += "*?";
        } else if (node.min == 1 && node.max == wildcards::unbounded) {
            m_out += '+';
        } else {
            m_out += '{' + std::to_string(node.min);
            if (node.max == wildcards::unbounded) {
                m_out += ',';
            } else if (node.max != node.min) {
                m_out += ',' + std::to_string(node.max);
            }
            m_out += '}';
        }
    }

    const wildcards::Pattern &m_pattern;
    std::string m_out;
};

} // namespace

std::string wildcardToRegex(std::string_view pattern)
{
    if (pattern.empty()) {
        invalid();
    }
    try {
        return Translator(wildcards::parse(pattern)).run();
    } catch (const wildcards::PatternError &) {
        invalid();
    }
}

std::string literalToRegex(std::string_view text)
{
    std::string out;
    for (std::size_t pos = 0; pos < text.size();) {
        appendLiteral(out, utf8::decode(text, pos), false);
    }
    return out;
}

void checkWildcardReplacement(std::string_view pattern, std::string_view replacement)
{
    try {
        wildcards::Replacement::parse(replacement, wildcards::parse(pattern).groups);
    } catch (const wildcards::PatternError &) {
        invalid();
    }
}

std::string wildcardReplacementToRegex(std::string_view replacement)
{
    wildcards::Replacement parsed;
    try {
        parsed = wildcards::Replacement::parse(replacement, wildcards::maxGroups);
    } catch (const wildcards::PatternError &) {
        invalid();
    }
    std::string out;
    for (const auto &piece : parsed.pieces) {
        if (piece.group == 0) {
            out += '&';
            continue;
        }
        if (piece.group > 0) {
            out += '$';
            out += static_cast<char>('0' + piece.group);
            continue;
        }
        for (std::size_t pos = 0; pos < piece.text.size();) {
            const std::size_t at = pos;
            const char32_t c = utf8::decode(piece.text, pos);
            if (c == U'&' || c == U'$' || c == U'\\') {
                out += '\\';
                out += static_cast<char>(c);
            } else if (c == U'\t') {
                out += "\\t";
            } else if (c == U'\r') {
                out += "\\n"; // a new paragraph
            } else if (c == U'\v') {
                throw AutomationError("LibreOffice Writer cannot put a line break into a wildcard replacement.");
            } else {
                out.append(piece.text, at, pos - at);
            }
        }
    }
    return out;
}

} // namespace word::uno
