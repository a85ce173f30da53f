#pragma once

// Word's wildcard patterns: parsed once into a small program, then run by a backtracking matcher.
//
//   ?            any one character
//   *            any run of characters, the shortest that lets the rest match
//   [abc] [a-c]  one character of the set; [!a-c] one character not in it; a final "-" is literal
//   x@           one or more of x, as many as possible
//   x{n} x{n,} x{n,m}   n, at least n, n to m of x, as many as possible
//   < >          the start / the end of a word (a word is a run of letters and digits)
//   ( )          a group, \1..\9 in the replacement
//   \x           x literally;  ^13 ^p paragraph mark, ^11 ^l line break, ^t tab, ^^ caret, ^nnn code
//
// Matching is case-exact. Positions are byte offsets into UTF-8 text, always at character starts.

#include <array>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace word::builtin::wildcard
{

/// Why a pattern or replacement was refused.
enum class ErrorCode {
    UnbalancedBracket, ///< "[" without "]", or a "]" without "["
    UnbalancedParen, ///< "(" without ")", or a ")" without "("
    UnbalancedBrace, ///< "{" without "}", or a "}" without "{"
    EmptySet, ///< "[]" or "[!]"
    DescendingRange, ///< a set range whose end comes before its start ("[z-a]")
    BadCount, ///< a count that is not n, n, or n,m with n <= m <= maxCount
    DanglingEscape, ///< "\" at the end
    NothingToRepeat, ///< "@" or "{" with no character or expression before it
    BadCaret, ///< "^" not followed by a known code
    TooManyGroups, ///< more than nine groups
    BadGroupReference, ///< "\n" in the replacement beyond the pattern's groups
    TooLarge, ///< the counts expand to an unreasonably large program
    TooComplex, ///< a match attempt needed too many steps (catastrophic backtracking)
};

/// A refused pattern or replacement: the code and the byte position where it was noticed.
class PatternError : public std::runtime_error
{
public:
    PatternError(ErrorCode code, std::size_t position);
    ErrorCode code() const;
    std::size_t position() const;

private:
    ErrorCode m_code;
    std::size_t m_position;
};

inline constexpr int maxGroups = 9;
inline constexpr int maxCount = 255;
inline constexpr uint32_t unbounded = UINT32_MAX;

/// One character set: ranges of code points, possibly negated.
struct CharSet {
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
    /// Parse and compile pattern (UTF-8). Throws PatternError.
    static Program compile(std::string_view pattern);

    int groupCount() const;
    const std::vector<Inst> &instructions() const;
    /// Whether a match can begin with a character whose first UTF-8 byte is b (inline: the
    /// search asks it of every byte it skips).
    bool canStartWith(unsigned char b) const
    {
        return m_first[b];
    }
    /// Match at byte position pos: on success true, with captures filled. Throws PatternError
    /// (TooComplex) when an attempt runs away.
    bool matchAt(const Subject &subject, std::size_t pos, Captures &captures) const;

private:
    std::vector<Inst> m_prog;
    std::vector<CharSet> m_sets;
    int m_groups = 0;
    uint32_t m_slots = 2;
    std::array<bool, 256> m_first{};
};

/// A parsed replacement text: literal pieces and group references (0 = the whole match).
struct Replacement {
    struct Piece {
        std::string text; ///< the literal text, when group < 0
        int group = -1;
    };
    std::vector<Piece> pieces;

    /// "\n" a group, "\\" a backslash, "\x" the character x; "^&" the whole match, "^13"/"^p" a
    /// paragraph mark, "^11"/"^l" a line break, "^t" a tab, "^^" a caret. Throws PatternError for a
    /// group beyond groups or a final "\".
    static Replacement parse(std::string_view text, int groups);
    /// The replacement for one match of text.
    void expand(std::string_view text, const Captures &captures, std::string &out) const;
};

} // namespace word::builtin::wildcard
