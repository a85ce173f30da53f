#pragma once

#include "automation.h"

#include <string>

namespace word
{

/// The chord font parameters as the window's controls hold them at the moment of a call (a check box
/// counts as set only when its value is exactly 1; the window converts).
struct ChordFont {
    bool useColor = false; ///< Check3 "Use Font Color:"
    bool useStyle = false; ///< Check4 "Use Font Style:"
    bool bold = false; ///< Check1 "Bold"
    bool italic = false; ///< Check2 "Italics"
    bool underline = false; ///< Check7 "Underline"
    int32_t lColor = 0; ///< the chord colour, red + 256 * green + 65536 * blue
};

/// ReplaceText: one whole-document Replace-All of sFind by sReplace, case-exact, not restricted to
/// whole words, only where the text carries the chord font parameters set in font; the replacement
/// keeps the formatting of the text it replaces. With bWildcards sFind is a Word wildcard pattern.
/// The find settings are made in a fixed order (see the .cpp); font criteria go on the find side only.
/// Returns Execute's result: whether anything was found. A host failure propagates as AutomationError, with
/// the settings already made left in place.
bool ReplaceText(Application &app,
                 const ChordFont &font,
                 const std::string &sFind,
                 const std::string &sReplace,
                 bool bWildcards);

} // namespace word
