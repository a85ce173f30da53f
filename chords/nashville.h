#pragma once

// Nashville numbers in the chord font rewritten as letter chords in the key of A.

#include "word/automation.h"
#include "word/replacetext.h"

#include <string_view>

namespace chords
{

/// Tags a pass writes right after a note name that came out one character longer or shorter than the
/// text it replaced, so that the blanks after the chord can be evened out later. Neither is a letter,
/// a digit or a note name, so no conversion or transposition step matches them.
inline constexpr std::string_view longerTag = "\u2191"; ///< one character more than the text it replaced
inline constexpr std::string_view shorterTag = "\u2193"; ///< one character less than the text it replaced

/// ConvertNNStoA: wildcard Replace-All calls that protect suffix digits, convert each degree at a word start
/// (1..7, each also with "b" or "#" in front) to its letter in A and restore the protected digits; then one
/// ScreenRefresh. A digit right after a degree belongs to its suffix ("37" -> "C#7", "#47" -> "Eb7"); a "#" and
/// digit after a word character belong to a suffix too ("7#5" stays). With tagLengths, each converted degree
/// whose letters are longer or shorter than the degree is followed by longerTag or shorterTag. Host failures
/// propagate.
void ConvertNNStoA(word::Application &app, const word::ChordFont &font, bool tagLengths = false);

} // namespace chords
