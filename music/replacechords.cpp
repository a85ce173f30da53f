#include "transpose.h"

#include "chords/nashville.h"
#include "keys.h"

#include <array>
#include <string_view>

namespace music
{

namespace
{

struct NoteName {
    std::string_view name; ///< as written in the chord text
    int32_t tone; ///< its tone number
};

// Two-letter names first: a find for "B" would also hit the B of "Bb".
constexpr std::array<NoteName, 17> noteNames{{{"Bb", 2},
                                              {"Db", 5},
                                              {"Eb", 7},
                                              {"Gb", 10},
                                              {"Ab", 12},
                                              {"A#", 2},
                                              {"C#", 5},
                                              {"D#", 7},
                                              {"F#", 10},
                                              {"G#", 12},
                                              {"A", 1},
                                              {"B", 3},
                                              {"C", 4},
                                              {"D", 6},
                                              {"E", 8},
                                              {"F", 9},
                                              {"G", 11}}};

struct FinalName {
    int tone;
    std::string_view flat;
    std::string_view sharp;
};

// The accidental tones first, then the naturals.
constexpr std::array<FinalName, 12> letterNames{{{2, "Bb", "A#"},
                                                 {5, "Db", "C#"},
                                                 {7, "Eb", "D#"},
                                                 {10, "Gb", "F#"},
                                                 {12, "Ab", "G#"},
                                                 {1, "A", "A"},
                                                 {3, "B", "B"},
                                                 {4, "C", "C"},
                                                 {6, "D", "D"},
                                                 {8, "E", "E"},
                                                 {9, "F", "F"},
                                                 {11, "G", "G"}}};

constexpr std::array<std::string_view, 12>
    nashvilleDegrees{"1", "b2", "2", "b3", "3", "4", "b5", "5", "b6", "6", "b7", "7"};

std::string toneMarker(std::string_view tone)
{
    return "*:" + std::string(tone) + ":*";
}

} // namespace

void ReplaceChords(word::Application &app,
                   word::Prompter &prompter,
                   const word::ChordFont &font,
                   const PassOptions &options,
                   int32_t lDelta)
{
    if (!font.useStyle && !font.useColor) {
        const word::Message question{"Chord font parameters are not set.\r\nDo you want to continue?",
                                     "Error",
                                     word::Icon::Question,
                                     word::Buttons::YesNoDefaultNo};
        if (prompter.show(question) == word::Answer::No) {
            return;
        }
    }
    if (options.from == Notation::Nashville) {
        chords::ConvertNNStoA(app, font);
    }

    // A shift beyond an octave would give tone numbers no marker name exists for; the pitch class is
    // all that matters, so take it modulo 12 (14 acts as 2, -13 as -1).
    const int32_t delta = lDelta % 12;
    for (const auto &note : noteNames) {
        const auto tone = SemiToneAdjust(note.tone, delta); // a tone of 1..12 moved by -11..11: no overflow
        word::ReplaceText(app, font, std::string(note.name), toneMarker(*tone), false);
    }

    if (options.to == Notation::Nashville) {
        for (int tone = 1; tone <= 12; ++tone) {
            word::ReplaceText(app,
                              font,
                              toneMarker(std::to_string(tone)),
                              std::string(nashvilleDegrees[static_cast<std::size_t>(tone - 1)]),
                              false);
        }
    } else {
        for (const auto &name : letterNames) {
            word::ReplaceText(app,
                              font,
                              toneMarker(std::to_string(name.tone)),
                              std::string(options.spelling == Spelling::Sharps ? name.sharp : name.flat),
                              false);
        }
    }
    app.ScreenRefresh();
}

} // namespace music
