#pragma once

// Chord marking: chord-shaped text found by a fixed catalogue of wildcard patterns gets the chord font.

#include "prefs/chordfont.h"
#include "word/automation.h"
#include "word/messages.h"
#include "word/replacetext.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace chords
{

/// The twenty wildcard patterns of letter chords, in the order of the passes.
extern const std::array<std::string_view, 20> catalogue;

/// FindChord: one whole-document pass giving every match of the wildcard pattern Exp the replacement font
/// (the colour when "Use Font Color:" is 1; Bold, Italic, Underline when "Use Font Style:" and their box are 1).
/// No find criteria; the matched characters stay as they are.
void FindChord(word::Application &app, const word::ChordFont &font, const std::string &Exp);

/// The controls FindChords reads.
struct MarkControls {
    word::ChordFont font; ///< the check boxes; font.lColor is ignored (recomputed from color)
    prefs::ColorBoxes color; ///< Text1..Text3
};

/// FindChords: the document check, the font parameter check, lColor from the colour boxes, the twenty
/// passes and one ScreenRefresh; no message on success. When the parameters switch on no attribute to apply,
/// no pass runs. Returns the new lColor when it was computed. A host failure during the passes undoes the
/// passes made so far and then propagates (see word::runAsOneStep); other host failures propagate.
std::optional<int32_t> FindChords(word::Application &app, word::Prompter &prompter, const MarkControls &controls);

} // namespace chords
