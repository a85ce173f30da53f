#pragma once

// The transposition pass and the Transpose command.

#include "prefs/chordfont.h"
#include "word/automation.h"
#include "word/messages.h"
#include "word/replacetext.h"

#include <cstdint>
#include <optional>
#include <string>

namespace music
{

/// How chords are written.
enum class Notation {
    Letters, ///< letter chords (A to G, sharps and flats)
    Nashville, ///< Nashville numbers (degrees 1 to 7 of the key)
};

/// How the pass spells the accidentals it writes.
enum class Spelling {
    Flats, ///< Bb, Db, Eb, Gb, Ab
    Sharps, ///< A#, C#, D#, F#, G#
};

/// The settings of one transposition pass besides the chord font and the shift.
struct PassOptions {
    Notation from = Notation::Letters; ///< how the sheet is written (Check5)
    Notation to = Notation::Letters; ///< how the result is written (Check6)
    Spelling spelling = Spelling::Flats; ///< Option1 "Use Sharps" / Option2 "Use Flats"
    bool keepColumns = false; ///< Check8 "Keep Chord Columns": blanks after a chord even out its change of length
};

/// The controls the Transpose command reads.
struct TransposeControls {
    word::ChordFont font; ///< the check boxes; font.lColor is ignored (recomputed from color)
    prefs::ColorBoxes color; ///< Text1..Text3
    bool nashvilleIn = false; ///< Check5: the sheet is written in Nashville numbers
    bool nashvilleOut = false; ///< Check6: write the result as Nashville numbers
    int currentKey = -1; ///< Combo1's ListIndex, -1 = none
    int newKey = -1; ///< Combo2's ListIndex, -1 = none
    bool useSharps = false; ///< Option1 "Use Sharps" selected
    std::string semiTones; ///< Text4 "Semi Tones"
    bool keepColumns = false; ///< Check8 "Keep Chord Columns"
};

/// What the window updates after the command; absent members leave things as they are.
struct TransposeResult {
    std::optional<int32_t> lColor; ///< the window's lColor, when it was computed
    std::optional<bool> bUseSharps; ///< the window's bUseSharps, when it was set
    std::optional<int> newCurrentKey; ///< select this in Combo1 (which runs UpdateSemiTones)
};

/// The Transpose command: the document and key checks, lColor, bUseSharps, the shift read from the Semi Tones
/// text (rounded half to even), and ReplaceChords: its question first, then the pass as one undo step
/// "Transpose" (the question never waits inside an open step). Any failure during the pass (a host failure,
/// memory running out, a library's own error) undoes the pass's partial step, is shown as "Transpose Error"
/// with its description and leaves the current key, as does a shift beyond the 32-bit range; otherwise the new
/// key becomes the current key (also when the confirmation was declined). Messages and the confirmation go
/// through prompter. Failures before the pass (the document count) propagate.
TransposeResult Transpose(word::Application &app, word::Prompter &prompter, const TransposeControls &controls);

/// The question "Chord font parameters are not set" when no chord font parameter is switched on; false when
/// the user answers No (true without a question).
bool confirmPass(word::Prompter &prompter, const word::ChordFont &font);

/// The transposition pass after its question (confirmPass): everything ReplaceChords does but ask.
void replaceConfirmed(word::Application &app, const word::ChordFont &font, const PassOptions &options, int32_t lDelta);

/// The transposition pass: the confirmation when no chord font parameter is switched on, the no-chord marks
/// set aside, the Nashville input conversion, the twenty-one note names to tone markers, the twelve markers to
/// names (or Nashville degrees), the no-chord marks back, one ScreenRefresh. lDelta is taken modulo 12, so any
/// shift leaves no marker behind. The odd spellings Cb, Fb, E# and B# are read as the notes they sound; the
/// no-chord marks "N.C.", "N.C" and "NC" (whole words) stay as they are. With options.keepColumns, the blanks
/// after a chord that came out longer or shorter even out the difference (see KeepChordColumns). Host failures
/// propagate as word::AutomationError.
void ReplaceChords(word::Application &app,
                   word::Prompter &prompter,
                   const word::ChordFont &font,
                   const PassOptions &options,
                   int32_t lDelta);

} // namespace music
