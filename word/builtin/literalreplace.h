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

/// Whether the request's replacement is text in the format of what it replaces (not empty, no
/// replacement formatting): then matches inside single spans leave the spans as they are, only moved.
bool keepsSpans(const FindRequest &request);

/// Replace matches (byte ranges, in order, not overlapping, of the find text) by the request's
/// replacement, when keepsSpans(request) and each match lies inside the span spanOf gives it (by the
/// same index), before the final paragraph mark.
void replaceKeepingSpans(TextDocument &doc,
                         const FindRequest &request,
                         const std::vector<MatchRange> &matches,
                         const std::vector<std::size_t> &spanOf,
                         TextDocument *previous);

} // namespace word::builtin
