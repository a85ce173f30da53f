#include "pattern.h"

#include "utf8.h"

#include <algorithm>
#include <limits>

namespace word::wildcards
{

namespace
{

const char *describe(ErrorCode code)
{
    switch (code) {
    case ErrorCode::UnbalancedBracket:
        return "unbalanced [ ]";
    case ErrorCode::UnbalancedParen:
        return "unbalanced ( )";
    case ErrorCode::UnbalancedBrace:
        return "unbalanced { }";
    case ErrorCode::EmptySet:
        return "empty set";
    case ErrorCode::DescendingRange:
        return "descending range";
    case ErrorCode::BadCount:
        return "bad count";
    case ErrorCode::DanglingEscape:
        return "\\ at the end";
    case ErrorCode::NothingToRepeat:
        return "nothing to repeat";
    case ErrorCode::BadCaret:
        return "unknown ^ code";
    case ErrorCode::TooManyGroups:
        return "too many groups";
    case ErrorCode::BadGroupReference:
        return "reference to a missing group";
    case ErrorCode::TooLarge:
        return "pattern too large";
    case ErrorCode::TooComplex:
        return "pattern too complex";
    }
    return "?";
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// A run of decimal digits at text[pos], at most maxDigits of them, stopping before a digit that
// would take the value past ceiling; pos advances past what was read.
uint32_t digitRun(std::string_view text, std::size_t &pos, std::size_t maxDigits, uint32_t ceiling)
{
    uint32_t value = 0;
    for (std::size_t read = 0; read < maxDigits && pos < text.size() && isDigit(text[pos]); ++read) {
        const uint32_t next = value * 10 + static_cast<uint32_t>(text[pos] - '0');
        if (next > ceiling) {
            break;
        }
        value = next;
        ++pos;
    }
    return value;
}

// The character a "^" code stands for, text[pos] just after the "^": "p" "l" "t" "^", or a
// character code of up to three digits. 0 when there is no known code there (pos unmoved) and for
// a zero code (pos past its digits).
char32_t caretCode(std::string_view text, std::size_t &pos)
{
    if (pos >= text.size()) {
        return 0;
    }
    const char c = text[pos];
    if (isDigit(c)) {
        return digitRun(text, pos, 3, std::numeric_limits<uint32_t>::max());
    }
    char32_t code = 0;
    switch (c) {
    case 'p':
        code = U'\r';
        break;
    case 'l':
        code = U'\v';
        break;
    case 't':
        code = U'\t';
        break;
    case '^':
        code = U'^';
        break;
    default:
        return 0;
    }
    ++pos;
    return code;
}

class Parser
{
public:
    explicit Parser(std::string_view pattern)
        : m_s(pattern)
    {
    }

    Pattern parse()
    {
        m_result.items = sequence(0);
        m_result.groups = m_groups;
        return std::move(m_result);
    }

private:
    bool atEnd() const
    {
        return m_pos >= m_s.size();
    }
    char32_t next()
    {
        return utf8::decode(m_s, m_pos);
    }
    char peekByte() const
    {
        return m_s[m_pos];
    }

    // A "^" code, m_pos just after the "^" at at.
    char32_t caret(std::size_t at)
    {
        const char32_t c = caretCode(m_s, m_pos);
        if (c == 0) {
            throw PatternError(ErrorCode::BadCaret, at);
        }
        return c;
    }

    // One character of a set, m_pos at it.
    char32_t setChar()
    {
        const std::size_t at = m_pos;
        const char32_t c = next();
        if (c == U'\\') {
            if (atEnd()) {
                throw PatternError(ErrorCode::DanglingEscape, at);
            }
            return next();
        }
        if (c == U'^') {
            return caret(at);
        }
        return c;
    }

    Node charSet(std::size_t open)
    {
        CharSet set;
        if (!atEnd() && peekByte() == '!') {
            set.negated = true;
            ++m_pos;
        }
        for (;;) {
            if (atEnd()) {
                throw PatternError(ErrorCode::UnbalancedBracket, open);
            }
            if (peekByte() == ']') {
                ++m_pos;
                break;
            }
            const std::size_t at = m_pos;
            const char32_t lo = setChar();
            char32_t hi = lo;
            if (!atEnd() && peekByte() == '-' && m_pos + 1 < m_s.size() && m_s[m_pos + 1] != ']') {
                ++m_pos;
                hi = setChar();
                if (hi < lo) {
                    throw PatternError(ErrorCode::DescendingRange, at);
                }
            }
            set.ranges.emplace_back(lo, hi);
        }
        if (set.ranges.empty()) {
            throw PatternError(ErrorCode::EmptySet, open);
        }
        m_result.sets.push_back(std::move(set));
        Node node;
        node.kind = Node::Set;
        node.set = static_cast<uint32_t>(m_result.sets.size() - 1);
        return node;
    }

    uint32_t number(std::size_t open)
    {
        if (atEnd()) {
            throw PatternError(ErrorCode::UnbalancedBrace, open);
        }
        if (!isDigit(peekByte())) {
            throw PatternError(ErrorCode::BadCount, m_pos);
        }
        const uint32_t value = digitRun(m_s, m_pos, std::string_view::npos, maxCount);
        if (!atEnd() && isDigit(peekByte())) {
            throw PatternError(ErrorCode::BadCount, m_pos); // the digit that makes it too large
        }
        return value;
    }

    void count(std::size_t open, Node &node)
    {
        const uint32_t min = number(open);
        uint32_t max = min;
        if (!atEnd() && peekByte() == ',') {
            ++m_pos;
            max = (!atEnd() && peekByte() == '}') ? unbounded : number(open);
        }
        if (atEnd()) {
            throw PatternError(ErrorCode::UnbalancedBrace, open);
        }
        if (peekByte() != '}') {
            throw PatternError(ErrorCode::BadCount, m_pos);
        }
        ++m_pos;
        if (max < min) {
            throw PatternError(ErrorCode::BadCount, open);
        }
        quantify(node, min, max);
    }

    /// Gives node its count: from min to max times (max may be unbounded).
    static void quantify(Node &node, uint32_t min, uint32_t max)
    {
        node.min = min;
        node.max = max;
        node.quantified = true;
    }

    static bool repeatable(const std::vector<Node> &seq)
    {
        return !seq.empty() && !seq.back().quantified && seq.back().kind != Node::WordStart
            && seq.back().kind != Node::WordEnd;
    }

    std::vector<Node> sequence(int depth)
    {
        std::vector<Node> seq;
        while (!atEnd()) {
            const std::size_t at = m_pos;
            const char32_t c = next();
            Node node;
            switch (c) {
            case U'(':
                if (++m_groups > maxGroups) {
                    throw PatternError(ErrorCode::TooManyGroups, at);
                }
                node.kind = Node::Group;
                node.group = m_groups;
                node.children = sequence(depth + 1);
                if (atEnd()) {
                    throw PatternError(ErrorCode::UnbalancedParen, at);
                }
                ++m_pos; // the ")"
                break;
            case U')':
                if (depth == 0) {
                    throw PatternError(ErrorCode::UnbalancedParen, at);
                }
                m_pos = at;
                return seq;
            case U'[':
                node = charSet(at);
                break;
            case U']':
                throw PatternError(ErrorCode::UnbalancedBracket, at);
            case U'}':
                throw PatternError(ErrorCode::UnbalancedBrace, at);
            case U'{':
                if (!repeatable(seq)) {
                    throw PatternError(ErrorCode::NothingToRepeat, at);
                }
                count(at, seq.back());
                continue;
            case U'@':
                if (!repeatable(seq)) {
                    throw PatternError(ErrorCode::NothingToRepeat, at);
                }
                quantify(seq.back(), 1, unbounded);
                continue;
            case U'?':
                node.kind = Node::Any;
                break;
            case U'*':
                node.kind = Node::Any;
                quantify(node, 0, unbounded);
                node.lazy = true;
                break;
            case U'<':
                node.kind = Node::WordStart;
                break;
            case U'>':
                node.kind = Node::WordEnd;
                break;
            case U'\\':
                if (atEnd()) {
                    throw PatternError(ErrorCode::DanglingEscape, at);
                }
                node.c = next();
                break;
            case U'^':
                node.c = caret(at);
                node.paragraphCode = node.c == U'\r';
                break;
            default:
                node.c = c;
            }
            seq.push_back(std::move(node));
        }
        return seq;
    }

    std::string_view m_s;
    std::size_t m_pos = 0;
    Pattern m_result;
    int m_groups = 0;
};

// a + b and a * b, saturating at maxInstructions.
std::size_t plus(std::size_t a, std::size_t b)
{
    return std::min(a + b, maxInstructions);
}
std::size_t times(std::size_t a, std::size_t b)
{
    return (a != 0 && b > maxInstructions / a) ? maxInstructions : std::min(a * b, maxInstructions);
}

std::size_t itemSize(const Node &node);

std::size_t atomSize(const Node &node)
{
    return node.kind == Node::Group ? plus(2, programSize(node.children)) : 1; // a group saves its ends
}

std::size_t itemSize(const Node &node)
{
    const std::size_t atom = atomSize(node);
    const std::size_t required = times(node.min, atom);
    if (node.max == unbounded) {
        // split, [save], body, [progress], jump back
        const bool guarded = nullable(node) || node.kind == Node::Group;
        return plus(required, plus(atom, guarded ? 4 : 2));
    }
    return plus(required, times(node.max - node.min, plus(atom, 1))); // each optional one: split, body
}

} // namespace

PatternError::PatternError(ErrorCode code, std::size_t position)
    : std::runtime_error(std::string("invalid pattern: ") + describe(code) + " at " + std::to_string(position))
    , m_code(code)
    , m_position(position)
{
}

ErrorCode PatternError::code() const
{
    return m_code;
}

std::size_t PatternError::position() const
{
    return m_position;
}

Pattern parse(std::string_view pattern)
{
    Pattern result = Parser(pattern).parse();
    // With the first "save" of a program, a program this long is refused.
    if (programSize(result.items) + 1 > maxInstructions) {
        throw PatternError(ErrorCode::TooLarge, 0);
    }
    return result;
}

bool nullable(const Node &node)
{
    if (node.min == 0 || node.kind == Node::WordStart || node.kind == Node::WordEnd) {
        return true;
    }
    if (node.kind == Node::Group) {
        return std::all_of(node.children.begin(), node.children.end(), nullable);
    }
    return false;
}

std::size_t programSize(const std::vector<Node> &items)
{
    std::size_t size = 0;
    for (const Node &node : items) {
        size = plus(size, itemSize(node));
    }
    return size;
}

Replacement Replacement::parse(std::string_view text, int groups)
{
    Replacement r;
    auto literal = [&r](char32_t c) {
        if (r.pieces.empty() || r.pieces.back().group >= 0) {
            r.pieces.push_back({});
        }
        utf8::append(r.pieces.back().text, c);
    };
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t at = pos;
        const char32_t c = utf8::decode(text, pos);
        if (c == U'\\') {
            if (pos >= text.size()) {
                throw PatternError(ErrorCode::DanglingEscape, at);
            }
            const char32_t d = utf8::decode(text, pos);
            if (d >= U'1' && d <= U'9') {
                const int group = static_cast<int>(d - U'0');
                if (group > groups) {
                    throw PatternError(ErrorCode::BadGroupReference, at);
                }
                r.pieces.push_back({{}, group});
            } else {
                literal(d);
            }
        } else if (c == U'^' && pos < text.size() && text[pos] == '&') {
            ++pos;
            r.pieces.push_back({{}, 0});
        } else if (c == U'^') {
            // An unknown code leaves the caret as written ("^0" too, without its digits).
            const char32_t code = caretCode(text, pos);
            literal(code != 0 ? code : U'^');
        } else {
            literal(c);
        }
    }
    return r;
}

void Replacement::expand(std::string_view text, const std::vector<std::size_t> &captures, std::string &out) const
{
    for (const Piece &piece : pieces) {
        if (piece.group < 0) {
            out += piece.text;
            continue;
        }
        const std::size_t start = captures[2 * static_cast<std::size_t>(piece.group)];
        const std::size_t end = captures[2 * static_cast<std::size_t>(piece.group) + 1];
        if (start <= end && end != SIZE_MAX) {
            out.append(text.substr(start, end - start));
        }
    }
}

} // namespace word::wildcards
