#pragma once

// The fast path of a literal Replace-All in the built-in host: the search for the find text, and
// the replacement of matches that leave the spans as they are, only moved.

#include "replaceall.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace word::builtin
{

/// The first occurrence of needle in text at or after from, or npos.
std::size_t findBytes(std::string_view text, std::string_view needle, std::size_t from);

/// Replace matches (byte ranges, in order, not overlapping, of the find text) by the request's
/// replacement, when that leaves the spans as they are, only moved: each match lies inside one span,
/// before the final paragraph mark, and the replacement is text in that span's format (not empty,
/// no replacement formatting). Returns false, leaving doc unchanged, when they do not.
bool replaceKeepingSpans(TextDocument &doc,
                         const FindRequest &request,
                         const std::vector<MatchRange> &matches,
                         TextDocument *previous);

} // namespace word::builtin
