#include "nashville.h"

#include <array>
#include <string_view>

namespace chords
{

namespace
{

struct Step {
    std::string_view find; ///< wildcard pattern
    std::string_view replace; ///< replacement, "\1" and "\2" the groups
};

// Protect, convert, restore. A digit 1-7 after "-", "+" or "#" is a suffix digit, yet it begins a word
// ("-", "+" and "#" are no word characters), so each such symbol is first spelled as a word of capitals.
// A digit right after a degree ("37", "67") is a suffix digit too, but converting 3 to C# or 6 to F# would
// put a "#" in front of it and make it begin a word; so it is parted from its degree by a word of capitals
// before any conversion, and joined back last.
constexpr std::array<Step, 20> steps{{
    {"-([1-7]{1})", "DASH\\1"},
    {"+([1-7]{1})", "PLUS\\1"},
    {"#([1-7]{1})", "SHARP\\1"},
    {"<([1-7]{1})([0-9]{1})", "\\1DIGIT\\2"},
    {"<1", "A"},
    {"<2", "B"},
    {"<3", "C#"},
    {"<4", "D"},
    {"<5", "E"},
    {"<6", "F#"},
    {"<7", "G#"},
    {"<b2", "Bb"},
    {"<b3", "C"},
    {"<b5", "Eb"},
    {"<b6", "F"},
    {"<b7", "G"},
    {"DASH([1-7]{1})", "-\\1"},
    {"PLUS([1-7]{1})", "+\\1"},
    {"SHARP([1-7]{1})", "#\\1"},
    {"DIGIT([0-9]{1})", "\\1"},
}};

} // namespace

void ConvertNNStoA(word::Application &app, const word::ChordFont &font)
{
    for (const auto &step : steps) {
        word::ReplaceText(app, font, std::string(step.find), std::string(step.replace), true);
    }
    app.ScreenRefresh();
}

} // namespace chords
