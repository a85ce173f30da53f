#pragma once

// The search of the built-in host's find engine: the matches of one request in one text, literal
// or wildcard, with the font criteria, found in order.

#include "replaceall.h"
#include "spancursor.h"
#include "wildcard.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace word::builtin
{

/// The neighbour before a match position, as the document now stands (a replacement may have
/// been written before it).
struct Before {
    std::size_t resume = 0; ///< the position right after the last replacement
    char32_t c = 0; ///< the character before resume, if any
    bool has = false;
};

/// The character before byte pos of text, as the document now stands; has tells whether there is one.
char32_t charBefore(std::string_view text, std::size_t pos, const Before &before, bool &has);

/// Finds the matches of one request in one text, in order. Throws wildcards::PatternError for a
/// malformed wildcard pattern or replacement.
class Matcher
{
public:
    Matcher(const TextDocument &doc, const FindRequest &request);

    /// The next match (byte range, not empty) starting at or after byte from.
    std::optional<MatchRange> next(std::size_t from, const Before &before);

    /// The index of the span of the text holding all of match, else npos (cheap right after next()
    /// found it: the span cursor is there already).
    std::size_t spanHolding(const MatchRange &match)
    {
        const std::size_t k = m_cursor.at(match.start);
        return m_spans[k].end >= match.end ? k : std::string_view::npos;
    }

    /// Whether a match never depends on the text before it (literal, not whole words): then the
    /// matches of a Replace-All are those of the unchanged text, and can all be found first.
    bool independent() const
    {
        return !m_program && !m_request.wholeWord;
    }

    /// The replacement text of the last match.
    void replacement(std::string &out) const;

private:
    std::optional<MatchRange> nextWildcard(std::size_t p, const Before &before);
    std::optional<MatchRange> nextLiteral(std::size_t p, const Before &before);
    bool foldedAt(std::size_t p, std::size_t &end) const;
    bool wholeWordAt(std::size_t s, std::size_t e, const Before &before) const;

    std::string_view m_text;
    const FindRequest &m_request;
    bool m_criteria;
    const std::vector<Span> &m_spans;
    SpanCursor m_cursor;
    std::unique_ptr<wildcard::Program> m_program;
    wildcards::Replacement m_replacement;
    wildcard::Captures m_captures;
    std::vector<uint8_t> m_accepted; // per palette id, with criteria
    std::vector<uint8_t> m_allowed;
    std::string m_needle;
    std::u32string m_folded;
};

} // namespace word::builtin
