#include "wildcard.h"

#include "word/wildcards/utf8.h"

#include <algorithm>
#include <memory>

namespace word::builtin::wildcard
{

namespace
{

constexpr std::size_t maxSteps = 20'000'000; // per match attempt

using wildcards::ErrorCode;
using wildcards::Node;
using wildcards::PatternError;

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
    // The front end has refused patterns whose program would pass wildcards::maxInstructions.
    uint32_t emit(Inst inst)
    {
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
        if (node.max == wildcards::unbounded) {
            // L: split body/exit (lazy: exit first); body; jmp L
            const bool guard = wildcards::nullable(node) || node.kind == Node::Group;
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

CharSet::CharSet(wildcards::CharSet set)
    : ranges(std::move(set.ranges))
    , negated(set.negated)
{
    for (char32_t c = 0; c < 128; ++c) {
        const bool in = std::any_of(ranges.begin(), ranges.end(), [c](const auto &r) {
            return c >= r.first && c <= r.second;
        });
        ascii[c] = in != negated;
    }
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
    wildcards::Pattern parsed = wildcards::parse(pattern);
    p.m_groups = parsed.groups;
    for (wildcards::CharSet &set : parsed.sets) {
        p.m_sets.emplace_back(std::move(set));
    }
    p.m_slots = 2 * (wildcards::maxGroups + 1);
    p.m_prog.reserve(wildcards::programSize(parsed.items) + 3);
    Compiler compiler(p.m_prog, p.m_slots);
    p.m_prog.push_back({Inst::Save, 0, 0, 0});
    compiler.sequence(parsed.items);
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
            for (std::size_t b = 0; b < 128; ++b) {
                p.m_first[b] = p.m_first[b] || set.ascii[b];
            }
            for (std::size_t b = 0xC0; b < 0x100; ++b) {
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
    for (std::size_t b = 0x80; b < 0xC0; ++b) {
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

} // namespace word::builtin::wildcard
