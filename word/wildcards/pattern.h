#pragma once

// Word's wildcard patterns and replacements, read into a parse tree that each host turns into its
// own search: the built-in host compiles it for its matcher, the LibreOffice host writes it as a
// regular expression. The syntax is read here only, so both refuse the same patterns.
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
// Positions are byte offsets into the UTF-8 pattern.

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace word::wildcards
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
/// The most instructions the counts of a pattern may expand to (see programSize).
inline constexpr std::size_t maxInstructions = 20000;

/// One character set: ranges of code points in the order written, possibly negated.
struct CharSet {
    std::vector<std::pair<char32_t, char32_t>> ranges;
    bool negated = false;
};

/// One item of a pattern with its count.
struct Node {
    enum Kind : uint8_t {
        Char, ///< the character c
        Any, ///< "?" or, lazy and unbounded, "*"
        Set, ///< sets[set]
        WordStart, ///< "<"
        WordEnd, ///< ">"
        Group, ///< "( )": children, numbered group
    };
    Kind kind = Char;
    /// A Char written as "^p" or "^13" (c is U'\r'), rather than as the character itself.
    bool paragraphCode = false;
    bool lazy = false; ///< "*": as few as possible
    bool quantified = false; ///< has a count ("@", "{ }", or "*" itself)
    char32_t c = 0;
    uint32_t set = 0;
    int group = 0; ///< 1..9
    uint32_t min = 1;
    uint32_t max = 1; ///< unbounded: no upper limit
    std::vector<Node> children;
};

/// A parsed pattern: its items, the character sets they refer to and the number of groups.
struct Pattern {
    std::vector<Node> items;
    std::vector<CharSet> sets;
    int groups = 0;
};

/// Parse a pattern (UTF-8; a bad byte reads as U+FFFD). Throws PatternError, also (TooLarge) when
/// the counts expand past maxInstructions.
Pattern parse(std::string_view pattern);

/// Whether an item may match nothing (a zero count, a word boundary, a group of such items).
bool nullable(const Node &node);

/// How many instructions a backtracking program needs for these items: each item spelt out as
/// often as its count says, unbounded counts as loops. Saturates at maxInstructions.
std::size_t programSize(const std::vector<Node> &items);

/// A parsed replacement text: literal pieces and group references (0 = the whole match).
struct Replacement {
    struct Piece {
        std::string text; ///< the literal text (UTF-8), when group < 0
        int group = -1;
    };
    std::vector<Piece> pieces;

    /// "\n" a group, "\\" a backslash, "\x" the character x; "^&" the whole match, "^13"/"^p" a
    /// paragraph mark, "^11"/"^l" a line break, "^t" a tab, "^^" a caret, "^nnn" a character code.
    /// Throws PatternError for a group beyond groups or a final "\".
    static Replacement parse(std::string_view text, int groups);
    /// The replacement for one match of text; captures holds the start and end of group n at 2n and
    /// 2n + 1 (a group that took part in no match has an end before its start, or SIZE_MAX).
    void expand(std::string_view text, const std::vector<std::size_t> &captures, std::string &out) const;
};

} // namespace word::wildcards
