#include "columns.h"

#include "chords/nashville.h"

#include <array>
#include <string>
#include <string_view>

namespace music
{

namespace
{

// Stand-ins, letters (word characters) that song sheets do not hold: a blank, the first blank after a chord
// being evened out, and the end of that chord.
constexpr std::string_view blank = "\u01BF"; // ƿ
constexpr std::string_view firstBlank = "\u0222"; // Ȣ
constexpr std::string_view chordEnd = "\u01BB"; // ƻ

const std::string longer(chords::longerTag);
const std::string shorter(chords::shorterTag);

std::string repeat(std::string_view text, int count)
{
    std::string out;
    for (int i = 0; i < count; ++i) {
        out += text;
    }
    return out;
}

/// "<" (a word starts here) followed by text; built by appending, which also keeps GCC's -Wrestrict quiet in
/// optimised builds.
std::string afterWordStart(std::string_view text)
{
    std::string out("<");
    out += text;
    return out;
}

struct Round {
    std::string tags; ///< the chords this round evens out end in exactly these tags
    int growth; ///< characters the chord gained (negative: lost)
};

} // namespace

void KeepChordColumns(word::Application &app, const word::ChordFont &font)
{
    const word::ChordFont anywhere; // no criteria: blanks carry whatever formatting they have
    const auto chordText = [&](const std::string &find, const std::string &replace, bool wildcards) {
        word::ReplaceText(app, font, find, replace, wildcards);
    };
    const auto allText = [&](const std::string &find, const std::string &replace, bool wildcards) {
        word::ReplaceText(app, anywhere, find, replace, wildcards);
    };

    // Gather the tags at the chord's end: each round moves every run of tags past the chord text that follows
    // it, up to a blank, a tab, a line break or a paragraph mark; three rounds serve three note names.
    const std::string tagSet = longer + shorter;
    for (int i = 0; i < 3; ++i) {
        chordText("([" + tagSet + "]@)([!" + tagSet + " ^9^11^13]@)", "\\2\\1", true);
    }
    // A longer and a shorter note in one chord (E/Bb to F#/B) cancel out.
    for (int i = 0; i < 2; ++i) {
        chordText(longer + shorter, "", false);
        chordText(shorter + longer, "", false);
    }
    chordText("(" + longer + longer + ")" + longer + "@", "\\1", true);
    chordText("(" + shorter + shorter + ")" + shorter + "@", "\\1", true);

    // A replacement takes the formatting of the first character it replaces, so a blank is only ever
    // replaced by a find that starts at it. Which blank follows an evened-out chord is told by the one thing
    // a find can see before its start: whether the character there is a word character ("<"). Every blank
    // becomes a letter; those after a non-word character are marked; the chords of this round get a letter
    // for an end; the marks after any other non-word character go again. What is left marks exactly the first
    // blank after each chord of the round.
    allText(" ", std::string(blank), false);
    const std::array<Round, 4> rounds{{{longer + longer, 2}, {longer, 1}, {shorter + shorter, -2}, {shorter, -1}}};
    for (const auto &round : rounds) {
        allText(afterWordStart(blank), std::string(firstBlank), true);
        chordText(round.tags, std::string(chordEnd), false);
        allText(afterWordStart(firstBlank), std::string(blank), true);
        if (round.growth > 0) {
            // Take up to growth blanks, but leave one.
            for (int taken = round.growth; taken >= 0; --taken) {
                allText(std::string(firstBlank) + repeat(blank, taken), std::string(blank), false);
            }
        } else {
            allText(std::string(firstBlank), repeat(blank, 1 - round.growth), false);
        }
        chordText(std::string(chordEnd), "", false);
    }
    allText(std::string(blank), " ", false);
    // Tags of chords with more note names than the gathering serves.
    chordText(longer, "", false);
    chordText(shorter, "", false);
}

bool HoldsColumnStandIns(word::Application &app, const word::ChordFont &font)
{
    const word::ChordFont anywhere;
    bool found = false;
    for (const std::string_view letter : {blank, firstBlank, chordEnd}) {
        const std::string text(letter);
        found = word::ReplaceText(app, anywhere, text, text, false) || found;
    }
    for (const std::string &tag : {longer, shorter}) {
        found = word::ReplaceText(app, font, tag, tag, false) || found;
    }
    return found;
}

} // namespace music
