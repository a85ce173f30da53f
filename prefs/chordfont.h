#pragma once

// The chord font parameters: the chord colour computed from the colour boxes, and the style box interlock.

#include "word/messages.h"

#include <cstdint>
#include <optional>
#include <string>

namespace prefs
{

/// The texts of the colour boxes Text1 ("Red"), Text2 ("Green") and Text3 ("Blue").
struct ColorBoxes {
    std::string red; ///< Text1
    std::string green; ///< Text2
    std::string blue; ///< Text3
};

/// The outcome of the chord colour computation: either lColor or the message to show.
struct ColorResult {
    std::optional<int32_t> lColor; ///< red + 256 * green + 65536 * blue when every box is valid
    std::optional<word::Message> error; ///< "Error", critical, OK, naming the first invalid box
};

/// The chord colour: each box's leading number rounded half to even gives its component, and
/// lColor = red + 256 * green + 65536 * blue. A component that is not a whole number from 0 to 255 after
/// rounding (also one too large for 16 bits) gives an error such as "The Red box must hold a number from
/// 0 to 255." and no lColor; the caller then changes nothing.
ColorResult chordColor(const ColorBoxes &boxes);

/// The style box interlock: after "Bold", "Italics" or "Underline" changed from oldValue to newValue, the
/// new value of "Use Font Style:". It becomes 1 when the box really changed and is now 1; otherwise it
/// keeps useStyle (clearing a style box never clears it).
int interlockUseStyle(int oldValue, int newValue, int useStyle);

} // namespace prefs
