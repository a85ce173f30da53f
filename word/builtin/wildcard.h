#pragma once

// The built-in host's wildcard matcher: a pattern (see word/wildcards/pattern.h for the syntax)
// compiled into a small program, run by a backtracking matcher. Matching is case-exact. Positions
// are byte offsets into UTF-8 text, always at character starts.

#include "word/wildcards/pattern.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

namespace word::builtin::wildcard
{

/// One character set of a compiled pattern, with a table for ASCII.
struct CharSet {
    explicit CharSet(wildcards::CharSet set);

    std::vector<std::pair<char32_t, char32_t>> ranges;
    bool negated = false;
    std::array<bool, 128> ascii{}; ///< membership of each ASCII character (negation applied)

    bool contains(char32_t c) const;
};

/// One instruction of a compiled pattern.
struct Inst {
    enum Op : uint8_t {
        Char, ///< one character equal to c
        Any, ///< any one character
        Set, ///< one character of sets[arg]
        WordStart, ///< "<"
        WordEnd, ///< ">"
        Split, ///< go on at arg, on failure at arg2
        Jmp, ///< go on at arg
        Save, ///< slot arg = position
        Progress, ///< fail unless position differs from slot arg (no empty loop iterations)
        Match, ///< success
    };
    Op op = Match;
    char32_t c = 0;
    uint32_t arg = 0;
    uint32_t arg2 = 0;
};

/// What a match attempt reads besides the pattern.
struct Subject {
    std::string_view text; ///< UTF-8
    /// The character before position resume as the text now stands, which may differ from the
    /// one in text (a replacement was written there); hasPrevAtResume false: nothing before it.
    std::size_t resume = 0;
    char32_t prevAtResume = 0;
    bool hasPrevAtResume = false;
    /// Per byte: whether that character may be consumed (the format criteria); null: all may.
    const uint8_t *allowed = nullptr;
};

/// Capture slots of a match: 2n and 2n+1 are the start and end of group n (0: the whole match).
using Captures = std::vector<std::size_t>;
inline constexpr std::size_t notSet = SIZE_MAX;

class Program
{
public:
    /// Parse and compile pattern (UTF-8). Throws wildcards::PatternError.
    static Program compile(std::string_view pattern);

    int groupCount() const;
    const std::vector<Inst> &instructions() const;
    /// Whether a match can begin with a character whose first UTF-8 byte is b (inline: the
    /// search asks it of every byte it skips).
    bool canStartWith(unsigned char b) const
    {
        return m_first[b];
    }
    /// Match at byte position pos: on success true, with captures filled. Throws wildcards::PatternError
    /// (TooComplex) when an attempt runs away.
    bool matchAt(const Subject &subject, std::size_t pos, Captures &captures) const;

private:
    std::vector<Inst> m_prog;
    std::vector<CharSet> m_sets;
    int m_groups = 0;
    uint32_t m_slots = 2;
    std::array<bool, 256> m_first{};
};

} // namespace word::builtin::wildcard
