#pragma once

// The find engine of the built-in host: one whole-document Replace-All (literal or wildcard), and
// the search for a single match, over a TextDocument.

#include "textdocument.h"

#include <cstddef>
#include <optional>
#include <string>

namespace word::builtin
{

/// The four font values of a find. As criteria (Find.Font), the attributes a character must carry
/// to be part of a match; as changes (Find.Replacement.Font), the attributes given to replaced
/// text. Unset: no criterion, or not changed.
struct FontValues {
    std::optional<bool> bold;
    std::optional<bool> italic;
    std::optional<int32_t> underline; ///< a WdUnderline style
    std::optional<int32_t> color;

    bool any() const;
    bool accepts(const CharFormat &format) const;
    CharFormat applyTo(CharFormat format) const;
};

/// What one Find.Execute looks for and what it puts in its place.
struct FindRequest {
    std::string text; ///< the find text or wildcard pattern, UTF-8
    std::string replacement; ///< UTF-8; with wildcards "\1".."\9" insert groups
    bool format = false; ///< Find.Format: criteria and changes apply
    bool matchCase = false; ///< ignored with wildcards (always case-exact)
    bool wholeWord = false; ///< literal search only
    bool wildcards = false;
    FontValues criteria;
    FontValues changes;
};

/// Replace every match in doc, left to right, without overlap; replaced text is never searched
/// again, and each following match is looked for in the document as it now stands. Returns
/// whether anything matched. When anything did and previous is given, it receives the document's
/// former content (for undo) at no extra cost; whatever previous held before lends its memory to
/// the new text. A malformed wildcard pattern or replacement throws
/// wildcards::PatternError and leaves doc unchanged.
bool replaceAll(TextDocument &doc, const FindRequest &request, TextDocument *previous = nullptr);

/// A match [start, end): character positions in the functions below, byte offsets inside the engine.
struct MatchRange {
    std::size_t start = 0;
    std::size_t end = 0;
};

/// The first match at or after character from (forward) or the last one ending at or before it
/// (backward); with wrap the search goes on from the other end. Throws like replaceAll.
std::optional<MatchRange>
findMatch(const TextDocument &doc, const FindRequest &request, std::size_t from, bool forward, bool wrap);

/// Replace the match range of doc (as replaceAll would replace that one match). Returns the
/// character position just after the inserted text.
std::size_t replaceOne(TextDocument &doc, const FindRequest &request, MatchRange match);

namespace detail
{
/// Replace-All by the general path only, without the fast literal one (they must agree).
bool replaceAllGeneral(TextDocument &doc, const FindRequest &request, TextDocument *previous = nullptr);
} // namespace detail

} // namespace word::builtin
