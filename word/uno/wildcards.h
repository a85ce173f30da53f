#pragma once

// Word's wildcard syntax translated into the regular expressions of LibreOffice Writer's search
// (ICU syntax). Word's word boundaries are written as look-arounds over letters and digits, so
// that "#", "/", "+", "-" and "_" all end a word, as Word's rule wants.

#include <string>
#include <string_view>

namespace word::uno
{

/// The error Word raises for a malformed wildcard pattern.
inline constexpr const char *invalidPatternMessage =
    "The Find What text contains a Pattern Match expression which is not valid.";

/// A Word wildcard pattern (UTF-8) as an ICU regular expression (UTF-8). A malformed pattern throws
/// word::AutomationError with invalidPatternMessage.
std::string wildcardToRegex(std::string_view pattern);

/// A literal text (UTF-8) as a regular expression that matches exactly it.
std::string literalToRegex(std::string_view text);

/// Refuse a replacement that the pattern cannot fill (a group beyond its groups, a final "\") with
/// invalidPatternMessage.
void checkWildcardReplacement(std::string_view pattern, std::string_view replacement);

/// A wildcard replacement text (UTF-8): "\1".."\9" become group references, "^&" the whole match,
/// "^t" a tab, "^p" / "^13" a new paragraph; every other character is literal.
std::string wildcardReplacementToRegex(std::string_view replacement);

} // namespace word::uno
