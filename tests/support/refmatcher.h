#pragma once

// A reference matcher for Word wildcard patterns, written apart from the host's engine to check it
// by comparison: it reads the pattern directly into a tree and matches recursively with
// continuations over code points. Slow and simple on purpose.

#include <optional>
#include <string>
#include <string_view>

namespace testsupport
{

/// Whether the pattern is valid by the reference rules.
bool refValid(std::u32string_view pattern);

/// Replace-All of pattern by replacement ("\1".."\9" groups, "\x" literal x) over text, with the
/// host's rules: left to right, no overlap, empty matches skipped, the search going on in the text as
/// it now stands. With keepLast the last character of text (a document's final mark) is never
/// replaced: it stays after a replacement that covers it. std::nullopt when the pattern or the
/// replacement is refused.
std::optional<std::u32string> refReplaceAll(std::u32string_view pattern,
                                            std::u32string_view replacement,
                                            std::u32string_view text,
                                            bool keepLast = true);

} // namespace testsupport
