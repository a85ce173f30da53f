#pragma once

// The built-in host's document: text as Word presents it (paragraph mark U+000D, line break
// U+000B, any Unicode character), each character with bold, italic, an underline style and a
// colour. The text always ends with a paragraph mark that cannot be deleted.

#include "word/automation.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace word::builtin {

inline constexpr char32_t paragraphMark = U'\r'; ///< Chr(13)
inline constexpr char32_t lineBreak = U'\v'; ///< Chr(11)

/// The formatting of one character.
struct CharFormat {
    bool bold = false;
    bool italic = false;
    int32_t underline = wdUnderlineNone; ///< a WdUnderline style
    int32_t color = wdColorAutomatic; ///< red + 256 * green + 65536 * blue, or wdColorAutomatic

    bool operator==(const CharFormat &) const = default;
};

/// A run of characters [start, start + length) sharing one format.
struct Run {
    std::size_t start = 0;
    std::size_t length = 0;
    CharFormat format;
};

class TextDocument
{
public:
    /// An empty document: the final paragraph mark alone.
    TextDocument();

    /// Number of characters, the final paragraph mark included.
    std::size_t length() const;
    /// The whole text as code points.
    std::u32string_view text() const;
    /// The text of [from, to) as UTF-8.
    std::string utf8(std::size_t from, std::size_t to) const;
    /// The format of the character at pos (pos < length()).
    CharFormat format(std::size_t pos) const;
    /// Maximal runs of equal format covering the whole text, in order.
    std::vector<Run> runs() const;

    /// Insert text at pos (pos < length(): never after the final mark), every character in fmt.
    void insert(std::size_t pos, std::u32string_view text, const CharFormat &fmt);
    /// Insert a formatted fragment (text and per-character formats) at pos.
    void insert(std::size_t pos, const TextDocument &fragment, std::size_t from, std::size_t to);
    /// Erase [from, to); the final paragraph mark is kept whatever the range.
    void erase(std::size_t from, std::size_t to);
    /// Give every character of [from, to) the format fmt.
    void setFormat(std::size_t from, std::size_t to, const CharFormat &fmt);

private:
    std::u32string m_text;
    std::vector<Run> m_runs; // FIXME: the implementation may choose its own representation
};

/// The test notation: text with formatted runs written as {attrs|text}. attrs is a sequence of
/// "b" (bold), "i" (italic), "u" (single underline) or "uN" (underline style N), "#RRGGBB" (colour,
/// red first, as in HTML). "\n" in the notation is a paragraph mark, "\v" a line break; "\{", "\}",
/// "\|" and "\\" stand for themselves. The final paragraph mark is implied: fromNotation appends it
/// and toNotation leaves it out. Example: "{b#FF0000|Am7}  {b|G}\nAmazing grace".
/// A malformed notation throws std::invalid_argument (test input only).
TextDocument fromNotation(std::string_view notation);
std::string toNotation(const TextDocument &doc);

/// UTF-8 <-> code points; invalid UTF-8 becomes U+FFFD.
std::u32string toU32(std::string_view utf8);
std::string toUtf8(std::u32string_view text);

} // namespace word::builtin
