#pragma once

// Nashville numbers in the chord font rewritten as letter chords in the key of A.

#include "word/automation.h"
#include "word/replacetext.h"

namespace chords
{

/// ConvertNNStoA: wildcard Replace-All calls that protect suffix digits, convert each degree at a word start
/// (1..7, b2, b3, b5, b6, b7) to its letter in A and restore the protected digits; then one ScreenRefresh.
/// A digit right after a degree belongs to its suffix ("37" -> "C#7"). Host failures propagate.
void ConvertNNStoA(word::Application &app, const word::ChordFont &font);

} // namespace chords
