#include "transpose.h"

#include "chords/nashville.h"
#include "columns.h"
#include "keys.h"

#include <array>
#include <stdexcept>
#include <string_view>

namespace music
{

namespace
{

struct NoteName {
    std::string_view name; ///< as written in the chord text
    int32_t tone; ///< its tone number
};

// Two-letter names first: a find for "B" would also hit the B of "Bb". The odd spellings come with them, so that
// Cb is read as B and never as a C followed by a flat sign.
constexpr std::array<NoteName, 21> noteNames{{{"Bb", 2}, {"Db", 5}, {"Eb", 7},  {"Gb", 10}, {"Ab", 12}, {"A#", 2},
                                              {"C#", 5}, {"D#", 7}, {"F#", 10}, {"G#", 12}, {"Cb", 3},  {"Fb", 8},
                                              {"E#", 9}, {"B#", 4}, {"A", 1},   {"B", 3},   {"C", 4},   {"D", 6},
                                              {"E", 8},  {"F", 9},  {"G", 11}}};

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

struct NoChordMark {
    std::string_view find; ///< wildcard pattern: the mark as a whole word
    std::string_view stand; ///< what stands for it during the pass: no note letter, no digit
    std::string_view mark; ///< the mark as written back
};

// "N.C" also covers the first three characters of "N.C.", whose final dot simply stays.
constexpr std::array<NoChordMark, 2> noChordMarks{{{"<N.C>", "*:N.:*", "N.C"}, {"<NC>", "*:N:*", "NC"}}};

// The name written for a final tone, tagged when it is two characters long (every original counts as one).
std::string withLengthTag(std::string_view name, bool keepColumns)
{
    std::string text(name);
    if (keepColumns && name.size() == 2) {
        text += chords::longerTag;
    }
    return text;
}

} // namespace

bool confirmPass(word::Prompter &prompter, const word::ChordFont &font)
{
    if (!font.useStyle && !font.useColor) {
        const word::Message question{"Chord font parameters are not set.\r\nDo you want to continue?",
                                     "Error",
                                     word::Icon::Question,
                                     word::Buttons::YesNoDefaultNo};
        return prompter.show(question) != word::Answer::No;
    }
    return true;
}

void ReplaceChords(word::Application &app,
                   word::Prompter &prompter,
                   const word::ChordFont &font,
                   const PassOptions &options,
                   int32_t lDelta)
{
    if (confirmPass(prompter, font)) {
        replaceConfirmed(app, font, options, lDelta);
    }
}

void replaceConfirmed(word::Application &app, const word::ChordFont &font, const PassOptions &options, int32_t lDelta)
{
    const bool keepColumns = options.keepColumns;
    if (keepColumns && HoldsColumnStandIns(app, font)) {
        // Keeping the columns would turn these characters into blanks or take them out.
        throw std::runtime_error(
            "The sheet holds one of the characters \u01BF \u0222 \u01BB \u2191 \u2193, which "
            "Keep Chord Columns uses for itself. Clear Keep Chord Columns to transpose it.");
    }
    // No-chord marks hold a C: they stand aside while the notes move.
    for (const auto &mark : noChordMarks) {
        word::ReplaceText(app, font, std::string(mark.find), std::string(mark.stand), true);
    }
    if (options.from == Notation::Nashville) {
        chords::ConvertNNStoA(app, font, keepColumns);
    }

    // A shift beyond an octave would give tone numbers no marker name exists for; the pitch class is
    // all that matters, so take it modulo 12 (14 acts as 2, -13 as -1).
    const int32_t delta = lDelta % 12;
    for (const auto &note : noteNames) {
        const auto tone = SemiToneAdjust(note.tone, delta); // a tone of 1..12 moved by -11..11: no overflow
        // Counting lengths for the columns: a two-letter name leaves a shorter tag, as its marker stands for a
        // one-letter name, and phase 2 tags every two-letter name it writes; a note's tags sum to its change.
        std::string marker = toneMarker(*tone);
        if (keepColumns && note.name.size() == 2) {
            marker += chords::shorterTag;
        }
        word::ReplaceText(app, font, std::string(note.name), marker, false);
    }

    if (options.to == Notation::Nashville) {
        for (int tone = 1; tone <= 12; ++tone) {
            word::ReplaceText(app,
                              font,
                              toneMarker(std::to_string(tone)),
                              withLengthTag(nashvilleDegrees[static_cast<std::size_t>(tone - 1)], keepColumns),
                              false);
        }
    } else {
        for (const auto &name : letterNames) {
            word::ReplaceText(app,
                              font,
                              toneMarker(std::to_string(name.tone)),
                              withLengthTag(options.spelling == Spelling::Sharps ? name.sharp : name.flat, keepColumns),
                              false);
        }
    }
    for (const auto &mark : noChordMarks) {
        word::ReplaceText(app, font, std::string(mark.stand), std::string(mark.mark), false);
    }
    if (keepColumns) {
        KeepChordColumns(app, font);
    }
    app.ScreenRefresh();
}

} // namespace music
