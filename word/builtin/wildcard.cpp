#include "wildcard.h"

#include "utf8.h"

#include <algorithm>
#include <memory>

namespace word::builtin::wildcard
{

namespace
{

constexpr std::size_t maxInstructions = 20000;
constexpr std::size_t maxSteps = 20'000'000; // per match attempt

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

// The parsed pattern: a sequence of quantified items.
struct Node {
    enum Kind { Char, Any, Set, WordStart, WordEnd, Group } kind = Char;
    char32_t c = 0;
    uint32_t set = 0; // index into the set list
    int group = 0; // 1..9
    std::vector<Node> children; // a group's sequence
    uint32_t min = 1;
    uint32_t max = 1;
    bool lazy = false;
    bool quantified = false;
};

class Parser
{
public:
    Parser(std::string_view pattern, std::vector<CharSet> &sets)
        : m_s(pattern)
        , m_sets(sets)
    {
    }

    std::vector<Node> parse(int &groups)
    {
        auto seq = sequence(0);
        groups = m_groups;
        return seq;
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

    // "^" codes, m_pos just after the "^".
    char32_t caret(std::size_t at)
    {
        if (atEnd()) {
            throw PatternError(ErrorCode::BadCaret, at);
        }
        const char c = peekByte();
        if (c >= '0' && c <= '9') {
            uint32_t code = 0;
            for (int i = 0; i < 3 && !atEnd() && peekByte() >= '0' && peekByte() <= '9'; ++i) {
                code = code * 10 + static_cast<uint32_t>(peekByte() - '0');
                ++m_pos;
            }
            if (code == 0) {
                throw PatternError(ErrorCode::BadCaret, at);
            }
            return code;
        }
        ++m_pos;
        switch (c) {
        case 'p':
            return U'\r';
        case 'l':
            return U'\v';
        case 't':
            return U'\t';
        case '^':
            return U'^';
        default:
            throw PatternError(ErrorCode::BadCaret, at);
        }
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
        for (char32_t c = 0; c < 128; ++c) {
            const bool in = std::any_of(set.ranges.begin(), set.ranges.end(), [c](const auto &r) {
                return c >= r.first && c <= r.second;
            });
            set.ascii[c] = in != set.negated;
        }
        m_sets.push_back(std::move(set));
        Node node;
        node.kind = Node::Set;
        node.set = static_cast<uint32_t>(m_sets.size() - 1);
        return node;
    }

    uint32_t number(std::size_t open)
    {
        if (atEnd() || peekByte() < '0' || peekByte() > '9') {
            throw PatternError(atEnd() ? ErrorCode::UnbalancedBrace : ErrorCode::BadCount, atEnd() ? open : m_pos);
        }
        uint32_t value = 0;
        while (!atEnd() && peekByte() >= '0' && peekByte() <= '9') {
            value = value * 10 + static_cast<uint32_t>(peekByte() - '0');
            ++m_pos;
            if (value > static_cast<uint32_t>(maxCount)) {
                throw PatternError(ErrorCode::BadCount, m_pos - 1);
            }
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
                seq.back().min = 1;
                seq.back().max = unbounded;
                seq.back().quantified = true;
                continue;
            case U'?':
                node.kind = Node::Any;
                break;
            case U'*':
                node.kind = Node::Any;
                node.min = 0;
                node.max = unbounded;
                node.lazy = true;
                node.quantified = true;
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
    std::vector<CharSet> &m_sets;
    int m_groups = 0;
};

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

class Compiler
{
public:
    Compiler(std::vector<Inst> &prog, uint32_t &slots)
        : m_prog(prog)
        , m_slots(slots)
    {
    }

    void sequence(const std::vector<Node> &seq)
    {
        for (const Node &node : seq) {
            quantified(node);
        }
    }

private:
    uint32_t emit(Inst inst)
    {
        if (m_prog.size() >= maxInstructions) {
            throw PatternError(ErrorCode::TooLarge, 0);
        }
        m_prog.push_back(inst);
        return static_cast<uint32_t>(m_prog.size() - 1);
    }
    uint32_t here() const
    {
        return static_cast<uint32_t>(m_prog.size());
    }

    void atom(const Node &node)
    {
        switch (node.kind) {
        case Node::Char:
            emit({Inst::Char, node.c, 0, 0});
            break;
        case Node::Any:
            emit({Inst::Any, 0, 0, 0});
            break;
        case Node::Set:
            emit({Inst::Set, 0, node.set, 0});
            break;
        case Node::WordStart:
            emit({Inst::WordStart, 0, 0, 0});
            break;
        case Node::WordEnd:
            emit({Inst::WordEnd, 0, 0, 0});
            break;
        case Node::Group:
            emit({Inst::Save, 0, static_cast<uint32_t>(2 * node.group), 0});
            sequence(node.children);
            emit({Inst::Save, 0, static_cast<uint32_t>(2 * node.group + 1), 0});
            break;
        }
    }

    void quantified(const Node &node)
    {
        for (uint32_t i = 0; i < node.min; ++i) {
            atom(node);
        }
        if (node.max == unbounded) {
            // L: split body/exit (lazy: exit first); body; jmp L
            const bool guard = nullable(node) || node.kind == Node::Group;
            const uint32_t slot = guard ? m_slots++ : 0;
            const uint32_t split = emit({Inst::Split, 0, 0, 0});
            const uint32_t body = here();
            if (guard) {
                emit({Inst::Save, 0, slot, 0});
            }
            atom(node);
            if (guard) {
                emit({Inst::Progress, 0, slot, 0});
            }
            emit({Inst::Jmp, 0, split, 0});
            m_prog[split].arg = node.lazy ? here() : body;
            m_prog[split].arg2 = node.lazy ? body : here();
            return;
        }
        // Up to max - min more, each optional, as many as possible.
        std::vector<uint32_t> splits;
        for (uint32_t i = node.min; i < node.max; ++i) {
            splits.push_back(emit({Inst::Split, 0, 0, 0}));
            m_prog[splits.back()].arg = here();
            atom(node);
        }
        for (const uint32_t split : splits) {
            m_prog[split].arg2 = here();
        }
    }

    std::vector<Inst> &m_prog;
    uint32_t &m_slots;
};

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

bool CharSet::contains(char32_t c) const
{
    if (c < 128) {
        return ascii[c];
    }
    const bool in = std::any_of(ranges.begin(), ranges.end(), [c](const auto &r) {
        return c >= r.first && c <= r.second;
    });
    return in != negated;
}

Program Program::compile(std::string_view pattern)
{
    Program p;
    Parser parser(pattern, p.m_sets);
    const std::vector<Node> seq = parser.parse(p.m_groups);
    p.m_slots = 2 * (maxGroups + 1);
    Compiler compiler(p.m_prog, p.m_slots);
    p.m_prog.push_back({Inst::Save, 0, 0, 0});
    compiler.sequence(seq);
    p.m_prog.push_back({Inst::Save, 0, 1, 0});
    p.m_prog.push_back({Inst::Match, 0, 0, 0});

    // Which first bytes can begin a match: follow the program from the start through the
    // instructions that consume nothing.
    std::vector<bool> seen(p.m_prog.size());
    std::vector<uint32_t> work{0};
    auto all = [&p] {
        p.m_first.fill(true);
    };
    while (!work.empty()) {
        const uint32_t pc = work.back();
        work.pop_back();
        if (seen[pc]) {
            continue;
        }
        seen[pc] = true;
        const Inst &inst = p.m_prog[pc];
        switch (inst.op) {
        case Inst::Char: {
            std::string lead;
            utf8::append(lead, inst.c);
            p.m_first[static_cast<unsigned char>(lead[0])] = true;
            break;
        }
        case Inst::Set: {
            const CharSet &set = p.m_sets[inst.arg];
            for (int b = 0; b < 128; ++b) {
                p.m_first[b] = p.m_first[b] || set.ascii[b];
            }
            for (int b = 0xC0; b < 0x100; ++b) {
                p.m_first[b] = true; // any non-ASCII character may belong
            }
            break;
        }
        case Inst::Any:
        case Inst::Match:
            all();
            break;
        case Inst::Split:
            work.push_back(inst.arg);
            work.push_back(inst.arg2);
            break;
        case Inst::Jmp:
            work.push_back(inst.arg);
            break;
        default:
            work.push_back(pc + 1);
        }
    }
    // Matches begin at character starts only.
    for (int b = 0x80; b < 0xC0; ++b) {
        p.m_first[b] = false;
    }
    return p;
}

int Program::groupCount() const
{
    return m_groups;
}

const std::vector<Inst> &Program::instructions() const
{
    return m_prog;
}

bool Program::matchAt(const Subject &subject, std::size_t pos, Captures &captures) const
{
    const std::string_view text = subject.text;
    const std::size_t n = text.size();
    captures.assign(m_slots, notSet);

    auto prevChar = [&subject, text](std::size_t at, char32_t &c) {
        if (at == subject.resume) {
            c = subject.prevAtResume;
            return subject.hasPrevAtResume;
        }
        if (at == 0) {
            return false;
        }
        c = utf8::at(text, utf8::prev(text, at));
        return true;
    };
    auto isWordAt = [text, n](std::size_t at) {
        return at < n && utf8::isWordChar(utf8::at(text, at));
    };
    auto isWordBefore = [&prevChar](std::size_t at) {
        char32_t c = 0;
        return prevChar(at, c) && utf8::isWordChar(c);
    };

    struct Frame {
        uint32_t pc;
        bool restore; // restore slot pc to value
        std::size_t value;
    };
    thread_local std::vector<Frame> stack; // kept between attempts: no allocation per attempt
    stack.clear();
    stack.push_back({0, false, pos});
    std::size_t steps = 0;
    while (!stack.empty()) {
        const Frame frame = stack.back();
        stack.pop_back();
        if (frame.restore) {
            captures[frame.pc] = frame.value;
            continue;
        }
        uint32_t pc = frame.pc;
        std::size_t at = frame.value;
        for (bool alive = true; alive;) {
            if (++steps > maxSteps) {
                throw PatternError(ErrorCode::TooComplex, 0);
            }
            const Inst &inst = m_prog[pc];
            switch (inst.op) {
            case Inst::Char:
            case Inst::Any:
            case Inst::Set: {
                if (at >= n || (subject.allowed && !subject.allowed[at])) {
                    alive = false;
                    break;
                }
                std::size_t after = at;
                const char32_t c = utf8::decode(text, after);
                if ((inst.op == Inst::Char && c != inst.c) || (inst.op == Inst::Set && !m_sets[inst.arg].contains(c))) {
                    alive = false;
                    break;
                }
                at = after;
                ++pc;
                break;
            }
            case Inst::WordStart:
                alive = isWordAt(at) && !isWordBefore(at);
                ++pc;
                break;
            case Inst::WordEnd:
                alive = !isWordAt(at) && isWordBefore(at);
                ++pc;
                break;
            case Inst::Split:
                stack.push_back({inst.arg2, false, at});
                pc = inst.arg;
                break;
            case Inst::Jmp:
                pc = inst.arg;
                break;
            case Inst::Save:
                stack.push_back({inst.arg, true, captures[inst.arg]});
                captures[inst.arg] = at;
                ++pc;
                break;
            case Inst::Progress:
                alive = captures[inst.arg] != at;
                ++pc;
                break;
            case Inst::Match:
                return true;
            }
        }
    }
    return false;
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
        } else if (c == U'^' && pos < text.size()) {
            const char d = text[pos];
            if (d == '&') {
                ++pos;
                r.pieces.push_back({{}, 0});
            } else if (d == 'p' || d == 'l' || d == 't' || d == '^') {
                ++pos;
                literal(d == 'p' ? U'\r' : d == 'l' ? U'\v' : d == 't' ? U'\t' : U'^');
            } else if (d >= '0' && d <= '9') {
                uint32_t code = 0;
                for (int i = 0; i < 3 && pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++i) {
                    code = code * 10 + static_cast<uint32_t>(text[pos++] - '0');
                }
                literal(code == 0 ? U'^' : code);
            } else {
                literal(c);
            }
        } else {
            literal(c);
        }
    }
    return r;
}

void Replacement::expand(std::string_view text, const Captures &captures, std::string &out) const
{
    for (const Piece &piece : pieces) {
        if (piece.group < 0) {
            out += piece.text;
            continue;
        }
        const std::size_t start = captures[2 * piece.group];
        const std::size_t end = captures[2 * piece.group + 1];
        if (start != notSet && end != notSet && start <= end) {
            out.append(text.substr(start, end - start));
        }
    }
}

} // namespace word::builtin::wildcard
