// Chords as musicians write them through the transposition pass: no-chord marks, odd spellings, raised and
// lowered Nashville degrees, and chord columns kept. Then properties over generated sheets.

#include "music/transpose.h"
#include "tests/support/prompter.h"
#include "tests/support/rows.h"
#include "word/builtin/host.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace
{

using word::builtin::fromNotation;
using word::builtin::toNotation;

/// The chord font of the sheets below: Use Font Style with Bold.
const word::ChordFont boldFont{.useStyle = true, .bold = true};

struct Pass {
    int32_t lDelta = 0;
    bool sharps = false;
    bool nashvilleIn = false;
    bool nashvilleOut = false;
    bool keepColumns = false;
};

Pass up(int32_t lDelta, bool sharps)
{
    return {lDelta, sharps};
}

Pass fromNumbers(int32_t lDelta, bool sharps)
{
    return {lDelta, sharps, 1};
}

Pass columns(int32_t lDelta, bool sharps)
{
    return {lDelta, sharps, 0, 0, true};
}

std::string transpose(const std::string &notation, const Pass &pass)
{
    word::builtin::Host host;
    host.open(fromNotation(notation));
    testsupport::TestPrompter prompter;
    music::PassOptions options;
    options.from = pass.nashvilleIn ? music::Notation::Nashville : music::Notation::Letters;
    options.to = pass.nashvilleOut ? music::Notation::Nashville : music::Notation::Letters;
    options.spelling = pass.sharps ? music::Spelling::Sharps : music::Spelling::Flats;
    options.keepColumns = pass.keepColumns;
    music::ReplaceChords(host, prompter, boldFont, options, pass.lDelta);
    return toNotation(*host.activeText());
}

struct SheetRow {
    const char *name;
    std::string before;
    Pass pass;
    std::string after;
};

class MusiciansSheet : public testing::TestWithParam<SheetRow>
{
};

TEST_P(MusiciansSheet, ComesOutAsAMusicianExpects)
{
    const auto &row = GetParam();
    EXPECT_EQ(transpose(row.before, row.pass), row.after);
}

const SheetRow noChordRows[] = {
    {"NoChordSharpsUpOne", "{b|N.C.}", up(1, true), "{b|N.C.}"},
    {"NoChordFlatsUpThree", "{b|N.C.}", up(3, false), "{b|N.C.}"},
    {"NoChordWithoutFinalDot", "{b|N.C}", up(1, true), "{b|N.C}"},
    {"NoChordWithoutDots", "{b|NC}", up(1, true), "{b|NC}"},
    {"NoChordNextToChords",
     "{b|C}  {b|N.C.}  {b|G/C}  {b|(N.C.)}",
     up(2, false),
     "{b|D}  {b|N.C.}  {b|A/D}  {b|(N.C.)}"},
    {"NoChordLinesBoldAsAWhole", "{b|C N.C. NC C}", up(2, false), "{b|D N.C. NC D}"},
    {"NoChordIntoNumbers", "{b|D N.C.}", {-5, false, 0, 1}, "{b|1 N.C.}"},
    {"NoChordFromNumbers", "{b|1 NC 5}", fromNumbers(3, false), "{b|C NC G}"},
    // Not whole words: an N before a chord is text like any other, so the C moves ("NC7" is no mark).
    {"NCSevenIsNoMark", "{b|NC7}", up(1, true), "{b|NC#7}"},
    {"NCInsideAWordIsNoMark", "{b|ANC}", up(2, false), "{b|BND}"},
    {"NoChordInLyricsUntouched", "{b|C}\nN.C. and NC Cb", up(1, true), "{b|C#}\nN.C. and NC Cb"},
};

const SheetRow oddSpellingRows[] = {
    {"CFlatSharpsUpOne", "{b|Cb} {b|Cbmaj7}", up(1, true), "{b|C} {b|Cmaj7}"},
    {"CFlatFFlatFlatsUpThree", "{b|Cb} {b|Fb}", up(3, false), "{b|D} {b|G}"},
    {"ESharpBSharpFlatsUpThree", "{b|E#} {b|B#}", up(3, false), "{b|Ab} {b|Eb}"},
    {"OddBass", "{b|G/Cb} {b|Cb/Fb}", up(1, true), "{b|G#/C} {b|C/F}"},
    {"OddSpellingsRespelledInPlace", "{b|Cb} {b|Fbm} {b|E#7} {b|B#dim}", up(0, false), "{b|B} {b|Em} {b|F7} {b|Cdim}"},
    {"OddSpellingsIntoNumbers", "{b|Cb/E#}", {-2, false, 0, 1}, "{b|1/b5}"},
    {"SuffixFlatAfterOtherLettersStays", "{b|C7b9} {b|Dm7b5}", up(1, true), "{b|C#7b9} {b|D#m7b5}"},
};

// Nashville sheets in the key of C: from A, the key the numbers are read in, up three.
const SheetRow nashvilleRows[] = {
    {"RaisedFourAndFiveSharps", "{b|#4} {b|#5}", fromNumbers(3, true), "{b|F#} {b|G#}"},
    {"RaisedFourAndFiveFlats", "{b|#4} {b|#5}", fromNumbers(3, false), "{b|Gb} {b|Ab}"},
    {"RaisedSevenBass", "{b|5/#7}", fromNumbers(3, false), "{b|G/C}"},
    {"FlatOne", "{b|b1}", fromNumbers(3, false), "{b|B}"},
    {"RaisedOverRaised", "{b|#4/#6}", fromNumbers(3, true), "{b|F#/A#}"},
    {"FlatFourAndRaisedSuffixDigit", "{b|b4} {b|#47}", fromNumbers(3, true), "{b|E} {b|F#7}"},
    {"SuffixSharpIsNoDegree", "{b|1m7#5}", fromNumbers(3, true), "{b|Cm7#5}"},
};

INSTANTIATE_TEST_SUITE_P(NoChord, MusiciansSheet, testing::ValuesIn(noChordRows), testsupport::RowName());
INSTANTIATE_TEST_SUITE_P(OddSpellings, MusiciansSheet, testing::ValuesIn(oddSpellingRows), testsupport::RowName());
INSTANTIATE_TEST_SUITE_P(Nashville, MusiciansSheet, testing::ValuesIn(nashvilleRows), testsupport::RowName());

const SheetRow columnRows[] = {
    {"OffMovesLaterChords", "{b|Em}        {b|D}", up(2, true), "{b|F#m}        {b|E}"},
    {"GrowthTakesABlank", "{b|Em}        {b|D}", columns(2, true), "{b|F#m}       {b|E}"},
    {"OneBlankAlwaysStays", "{b|E} {b|D}  {b|E}", columns(2, true), "{b|F#} {b|E}  {b|F#}"},
    {"ShrinkGivesABlank", "{b|F#}  {b|G}", columns(1, true), "{b|G}   {b|G#}"},
    {"ChordAtTheEndOfItsLine", "{b|C}  {b|E}\n{b|F#}", columns(2, true), "{b|D}  {b|F#}\n{b|G#}"},
    {"GrowsByTwo", "{b|E/B}     {b|D}", columns(2, true), "{b|F#/C#}   {b|E}"},
    {"GrowsByTwoWithTwoBlanks", "{b|E/B}  {b|D}", columns(2, true), "{b|F#/C#} {b|E}"},
    {"ShrinksByTwo", "{b|Bb/Eb} {b|C}", columns(1, false), "{b|B/E}   {b|Db}"},
    {"LongerAndShorterCancel", "{b|E/Bb}  {b|C}", columns(2, true), "{b|F#/C}  {b|D}"},
    {"SuffixAfterTheNote", "{b|Em7sus4}  {b|Bbmaj7}  {b|C}", columns(2, true), "{b|F#m7sus4} {b|Cmaj7}   {b|D}"},
    {"BlanksInTheChordFont", "{b|Em    D    Bb  C}", columns(2, true), "{b|F#m   E    C   D}"},
    {"BlanksKeepTheirFormatting",
     "{b|Em}{u|    }{b|Bb}{#FF0000|  }{b|C}",
     columns(2, true),
     "{b|F#m}{u|   }{b|C}{#FF0000|   }{b|D}"},
    {"LyricsAndTheirBlanksUntouched",
     "{b|Em}    {b|D}\nThe  sky ,  so  blue  F#  ",
     columns(2, true),
     "{b|F#m}   {b|E}\nThe  sky ,  so  blue  F#  "},
    {"TextBeforeTheChords",
     "Intro:  {b|F#}  {b|G}\nVerse  {b|E}  {b|C}",
     columns(1, true),
     "Intro:  {b|G}   {b|G#}\nVerse  {b|F}  {b|C#}"},
    {"NoChordKeepsItsColumn", "{b|N.C.}  {b|E}  {b|C}", columns(2, true), "{b|N.C.}  {b|F#} {b|D}"},
    {"IntoNumbers", "{b|F#m}  {b|D}  {b|Bb}  {b|A}", {-5, false, 0, 1, true}, "{b|3m}   {b|1}  {b|b6}  {b|5}"},
    {"FromNumbers", "{b|3}  {b|b3}  {b|#4}  {b|1}", {0, true, 1, 0, true}, "{b|C#} {b|C}   {b|D#}  {b|A}"},
};

INSTANTIATE_TEST_SUITE_P(Columns, MusiciansSheet, testing::ValuesIn(columnRows), testsupport::RowName());

TEST(ChordColumns, LeaveNoStandInOrTagBehind)
{
    const std::string sheet = "{b|E/G#}  {b|Bb}  {b|C#m7}  {b|N.C.}  {b|Fb}\nwords, with  blanks\n{b|B#/Cb  Eb}";
    for (int32_t delta = -12; delta <= 12; ++delta) {
        for (bool sharps : {false, true}) {
            const std::string after = transpose(sheet, columns(delta, sharps));
            for (const char *left : {"*:", "\u2191", "\u2193", "\u01BF", "\u0222", "\u01BB"}) {
                EXPECT_EQ(after.find(left), std::string::npos) << left << " in " << after;
            }
            for (const char *doubled : {"#b", "b#", "bb", "##"}) {
                EXPECT_EQ(after.find(doubled), std::string::npos) << doubled << " in " << after;
            }
        }
    }
}

// Generated sheets: chord lines with blanks (plain or in the chord font) over lyric lines.
class SheetMaker
{
public:
    explicit SheetMaker(unsigned seed, bool sharps)
        : m_random(seed)
        , m_sharps(sharps)
    {
    }

    std::string note()
    {
        static const std::vector<std::string> naturals{"A", "B", "C", "D", "E", "F", "G"};
        static const std::vector<std::string> flats{"Bb", "Db", "Eb", "Gb", "Ab"};
        static const std::vector<std::string> sharps{"A#", "C#", "D#", "F#", "G#"};
        if (pick(3) == 0) {
            return m_sharps ? sharps[pick(5)] : flats[pick(5)];
        }
        return naturals[pick(7)];
    }

    std::string chord()
    {
        static const std::vector<std::string>
            suffixes{"", "", "m", "7", "m7", "maj7", "sus4", "dim", "add9", "6", "13", "m7b5"};
        std::string text = note() + suffixes[pick(suffixes.size())];
        if (pick(4) == 0) {
            text += '/';
            text += note();
        }
        return text;
    }

    /// A sheet of a few chord/lyric line pairs; minBlanks..maxBlanks blanks between chords.
    std::string sheet(int minBlanks, int maxBlanks)
    {
        std::string out;
        const int lines = 1 + static_cast<int>(pick(3));
        for (int l = 0; l < lines; ++l) {
            // Blanks in the chord font: the line is one bold run, as a line made bold at once is stored.
            const bool boldBlanks = pick(2) == 0;
            const int chords = 1 + static_cast<int>(pick(4));
            std::string line;
            for (int i = 0; i < chords; ++i) {
                if (i > 0) {
                    const std::string blanks(minBlanks + pick(maxBlanks - minBlanks + 1), ' ');
                    line += boldBlanks ? blanks : "}" + blanks + "{b|";
                }
                line += chord();
            }
            out += "{b|" + line + "}";
            out += "\nAmazing grace, how  sweet the sound\n";
        }
        out.pop_back();
        return out;
    }

private:
    std::size_t pick(std::size_t n)
    {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(m_random);
    }

    std::mt19937 m_random;
    bool m_sharps;
};

// The columns at which chords start, line by line, in the sheet's plain text.
std::vector<std::vector<std::size_t>> chordColumns(const std::string &notation)
{
    // In the notation a chord is "{b|" followed by a note letter; blanks in the chord font are "{b|  }".
    std::vector<std::vector<std::size_t>> columns(1);
    std::size_t column = 0;
    bool inChord = false;
    for (std::size_t i = 0; i < notation.size(); ++i) {
        const char c = notation[i];
        if (notation.compare(i, 3, "{b|") == 0) {
            i += 2;
            inChord = true;
            continue;
        }
        if (c == '}') {
            inChord = false;
            continue;
        }
        if (c == '\n') {
            columns.emplace_back();
            column = 0;
            continue;
        }
        if (inChord && c != ' ' && (column == 0 || notation[i - 1] == ' ' || notation[i - 1] == '|')) {
            columns.back().push_back(column);
        }
        ++column;
    }
    return columns;
}

TEST(GeneratedSheets, UpThenDownGivesTheSheetBack)
{
    for (unsigned seed = 1; seed <= 60; ++seed) {
        const bool sharps = seed % 2 == 0;
        const int32_t n = static_cast<int32_t>(seed % 12);
        const std::string sheet = SheetMaker(seed, sharps).sheet(1, 4);
        EXPECT_EQ(transpose(transpose(sheet, up(n, sharps)), up(-n, sharps)), sheet) << "seed " << seed;
        // With room for any change, the columns come back too.
        const std::string roomy = SheetMaker(seed, sharps).sheet(3, 6);
        EXPECT_EQ(transpose(transpose(roomy, columns(n, sharps)), columns(-n, sharps)), roomy) << "seed " << seed;
    }
}

TEST(GeneratedSheets, LettersToNumbersAndBackGiveTheSheetBack)
{
    for (unsigned seed = 1; seed <= 60; ++seed) {
        const bool sharps = seed % 2 == 0;
        const int32_t key = static_cast<int32_t>(seed % 12); // semitones from A up to the sheet's key
        const std::string sheet = SheetMaker(seed, sharps).sheet(3, 6);
        for (bool keep : {false, true}) {
            const std::string numbers = transpose(sheet, {-key, sharps, 0, 1, keep});
            EXPECT_EQ(transpose(numbers, {key, sharps, 1, 0, keep}), sheet) << "seed " << seed << " via " << numbers;
        }
    }
}

TEST(GeneratedSheets, ChordsWithRoomKeepTheirColumns)
{
    for (unsigned seed = 1; seed <= 60; ++seed) {
        const bool sharps = seed % 3 == 0;
        const int32_t n = static_cast<int32_t>(seed % 12) - 6;
        const std::string roomy = SheetMaker(seed, !sharps).sheet(3, 6);
        const std::string after = transpose(roomy, columns(n, sharps));
        EXPECT_EQ(chordColumns(after), chordColumns(roomy)) << "seed " << seed << ": " << roomy << " -> " << after;
        // Tight sheets: whatever happens to the columns, chords never run into each other.
        const std::string tight = SheetMaker(seed, !sharps).sheet(1, 2);
        const auto before = chordColumns(tight);
        const auto afterTight = chordColumns(transpose(tight, columns(n, sharps)));
        ASSERT_EQ(afterTight.size(), before.size());
        for (std::size_t line = 0; line < before.size(); ++line) {
            EXPECT_EQ(afterTight[line].size(), before[line].size()) << "seed " << seed;
        }
    }
}

} // namespace
