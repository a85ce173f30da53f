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

namespace word::builtin
{

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

/// The index of a format in a document's palette.
using FormatId = uint32_t;

/// A stretch of the stored text sharing one format: bytes up to end (exclusive) of the UTF-8 text.
/// The format is an index into the palette of the text the span belongs to: a span is 8 bytes,
/// so a Replace-All copies and compares little beside the text itself.
struct Span {
    uint32_t end = 0;
    FormatId format = 0;
};

/// A document's stored form: the text as UTF-8, the spans over its bytes (in order, maximal:
/// neighbours differ, the last ending at bytes.size()), and the palette their formats index. The
/// palette holds each format once, so equal ids mean equal formats; it may hold unused entries.
struct StoredText {
    std::string bytes;
    std::vector<Span> spans;
    std::vector<CharFormat> palette;

    /// The id of format, added to the palette when new.
    FormatId formatId(const CharFormat &format);
    /// Append text in format, continuing the last span when the formats agree.
    void append(std::string_view text, const CharFormat &format);
    /// Empty all three, keeping their memory.
    void clear();
};

/// Positions in the public functions count characters (code points). The text is stored as UTF-8
/// with the formats as spans over its bytes, so that a whole-document Replace-All scans and copies
/// as little memory as possible; bytes(), spans() and assign() give the engine that form directly.
class TextDocument
{
public:
    /// An empty document: the final paragraph mark alone.
    TextDocument();

    /// Number of characters, the final paragraph mark included.
    std::size_t length() const;
    /// The whole text as code points (a view valid until the next change).
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

    // --- The stored form ---------------------------------------------------------------------
    /// The text as UTF-8, the final paragraph mark included.
    const std::string &bytes() const;
    /// The formats: spans in order, maximal (neighbours differ), the last ending at bytes().size().
    const std::vector<Span> &spans() const;
    /// The formats the spans' ids index.
    const std::vector<CharFormat> &palette() const;
    /// The format of a span's id.
    const CharFormat &formatOf(FormatId id) const;
    /// Take over a new stored form (see StoredText; the bytes end with a paragraph mark).
    void assign(StoredText text);
    /// The same, with its number of characters already known.
    void assign(StoredText text, std::size_t length);
    /// Hand over the stored form (for reuse of its memory); the document becomes empty.
    void release(StoredText &text);
    /// Swap the stored form with another document's (cheap; used for undo snapshots).
    void swap(TextDocument &other) noexcept;
    /// The byte offset of character pos (pos <= length()).
    std::size_t byteOffset(std::size_t pos) const;
    /// The character index of byte offset byte (at a character start, byte <= bytes().size()).
    std::size_t charIndex(std::size_t byte) const;
    /// The index of the span holding byte offset byte (< bytes().size()).
    std::size_t spanAt(std::size_t byte) const;

private:
    void invalidate();
    void countCharacters() const;
    void buildIndex() const;

    StoredText m_store;

    // Lazily built: character count, byte offsets of every 64th character, the code point text.
    mutable bool m_lengthKnown = false;
    mutable bool m_ascii = false;
    mutable std::size_t m_length = 0;
    mutable bool m_indexed = false;
    mutable std::vector<uint32_t> m_checkpoints;
    mutable bool m_textCached = false;
    mutable std::u32string m_text;
};

/// Appends stretches to a span list, merging a stretch into the last span when formats agree.
void appendSpan(std::vector<Span> &spans, uint32_t end, FormatId format);

/// The test notation: text with formatted runs written as {attrs|text}. attrs is a sequence of
/// "b" (bold), "i" (italic), "u" (single underline) or "uN" (underline style N), "#RRGGBB" (colour,
/// red first, as in HTML) or "cN" (any other colour value N, decimal). A newline in the notation is
/// a paragraph mark, a vertical tab a line break; "\{", "\}", "\|" and "\\" stand for themselves
/// (a bare "|" outside braces is literal too). The final paragraph mark is implied: fromNotation
/// appends it and toNotation leaves it out. Example: "{b#FF0000|Am7}  {b|G}\nAmazing grace".
/// A malformed notation throws std::invalid_argument (test input only).
TextDocument fromNotation(std::string_view notation);
std::string toNotation(const TextDocument &doc);

/// UTF-8 <-> code points; invalid UTF-8 becomes U+FFFD.
std::u32string toU32(std::string_view utf8);
std::string toUtf8(std::u32string_view text);

} // namespace word::builtin
