#include "nashville.h"

#include <array>
#include <string>

namespace chords
{

namespace
{

struct Step {
    std::string_view find; ///< wildcard pattern
    std::string_view replace; ///< replacement, "\1" and "\2" the groups
    int lengthChange = 0; ///< characters the replacement adds to what it replaces (convert steps only)
};

// Protect, convert, restore. A digit 1-7 after "-", "+" or "#" is a suffix digit, yet it begins a word
// ("-", "+" and "#" are no word characters), so each such symbol is first spelled as a word of capitals.
// A "#" that began a word is a raised degree: its SHARP still begins a word, while the SHARP of a suffix
// ("7#5") follows a word character. A digit right after a degree ("37", "67") is a suffix digit too, but
// converting 3 to C# or 6 to F# would put a "#" in front of it and make it begin a word; so it is parted from
// its degree by a word of capitals before any conversion, and joined back last. Lowered and raised degrees are
// written without "#" (the spelling is the transposition's business), so nothing after them begins a word.
constexpr std::array<Step, 29> steps{{
    {"-([1-7]{1})", "DASH\\1"},
    {"+([1-7]{1})", "PLUS\\1"},
    {"#([1-7]{1})", "SHARP\\1"},
    {"<([1-7]{1})([0-9]{1})", "\\1DIGIT\\2"},
    {"<1", "A"},
    {"<2", "B"},
    {"<3", "C#", 1},
    {"<4", "D"},
    {"<5", "E"},
    {"<6", "F#", 1},
    {"<7", "G#", 1},
    {"<b1", "Ab"},
    {"<b2", "Bb"},
    {"<b3", "C", -1},
    {"<b4", "Db"},
    {"<b5", "Eb"},
    {"<b6", "F", -1},
    {"<b7", "G", -1},
    {"<SHARP1", "Bb"},
    {"<SHARP2", "C", -1},
    {"<SHARP3", "D", -1},
    {"<SHARP4", "Eb"},
    {"<SHARP5", "F", -1},
    {"<SHARP6", "G", -1},
    {"<SHARP7", "A", -1},
    {"DASH([1-7]{1})", "-\\1"},
    {"PLUS([1-7]{1})", "+\\1"},
    {"SHARP([1-7]{1})", "#\\1"},
    {"DIGIT([0-9]{1})", "\\1"},
}};

} // namespace

void ConvertNNStoA(word::Application &app, const word::ChordFont &font, bool tagLengths)
{
    for (const auto &step : steps) {
        std::string replace(step.replace);
        if (tagLengths && step.lengthChange != 0) {
            replace += step.lengthChange > 0 ? longerTag : shorterTag;
        }
        word::ReplaceText(app, font, std::string(step.find), replace, true);
    }
    app.ScreenRefresh();
}

} // namespace chords
