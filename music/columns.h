#pragma once

// Keeping chord columns: the blanks after a chord that came out longer or shorter give or take the difference.

#include "word/automation.h"
#include "word/replacetext.h"

namespace music
{

/// After a pass that left chords::longerTag / chords::shorterTag after the note names that changed length:
/// gathers each chord's tags at its end (a chord is a run of chord-font text without blanks), lets them cancel,
/// and evens out the blanks after the chord so that what follows keeps its column: one or two blanks fewer
/// after a chord that grew (one blank always stays), one or two more after one that shrank (none after a chord
/// that ends its line). Only whole-document Replace-All requests: with the chord font criteria for chord text,
/// without criteria for the blanks, which may carry any formatting and keep it. Leaves no tag behind, and
/// changes nothing else: every blank of the document is stood in for by a letter for a while and written back.
/// A chord that changed by three or more characters is evened out by two. Host failures propagate.
void KeepChordColumns(word::Application &app, const word::ChordFont &font);

/// Whether the sheet already holds what KeepChordColumns writes for a while and takes out again: its stand-in
/// letters (ƿ, Ȣ, ƻ) anywhere, or its tags (chords::longerTag, chords::shorterTag) in the chord font. Such a
/// sheet cannot keep its columns without losing those characters. Changes nothing (each find is replaced by
/// itself). Host failures propagate.
bool HoldsColumnStandIns(word::Application &app, const word::ChordFont &font);

} // namespace music
