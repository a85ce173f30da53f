#include "music/transpose.h"
#include "tests/support/calllogs.h"
#include "tests/support/prompter.h"
#include "tests/support/rows.h"
#include "word/builtin/host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <utility>

namespace
{

using testsupport::Log;
using word::builtin::fromNotation;
using word::builtin::toNotation;

/// The chord font of the sheets below: Use Font Style with Bold.
const word::ChordFont boldFont{.useStyle = true, .bold = true};

const word::Message notSetQuestion{"Chord font parameters are not set.\r\nDo you want to continue?",
                                   "Error",
                                   word::Icon::Question,
                                   word::Buttons::YesNoDefaultNo};

class ReplaceChordsTest : public testing::Test
{
protected:
    void open(const std::string &notation)
    {
        host.open(fromNotation(notation));
        host.setLogging(true);
    }
    void run(const word::ChordFont &font, int32_t lDelta, music::PassOptions options = {})
    {
        music::ReplaceChords(host, prompter, font, options, lDelta);
    }
    std::string sheet() const
    {
        return toNotation(*host.activeText());
    }
    Log log() const
    {
        return testsupport::operations(host.callLog());
    }

    word::builtin::Host host;
    testsupport::TestPrompter prompter;
};

// Phase 1 with a shift of +2: each name and the tone its marker holds.
const std::array<std::pair<const char *, const char *>, 21> phaseOneUpTwo{
    {{"Bb", "4"}, {"Db", "7"},  {"Eb", "9"}, {"Gb", "12"}, {"Ab", "2"},  {"A#", "4"},  {"C#", "7"},
     {"D#", "9"}, {"F#", "12"}, {"G#", "2"}, {"Cb", "5"},  {"Fb", "10"}, {"E#", "11"}, {"B#", "6"},
     {"A", "3"},  {"B", "5"},   {"C", "6"},  {"D", "8"},   {"E", "10"},  {"F", "11"},  {"G", "1"}}};

const std::array<std::pair<const char *, const char *>, 12> phaseTwoFlats{{{"2", "Bb"},
                                                                           {"5", "Db"},
                                                                           {"7", "Eb"},
                                                                           {"10", "Gb"},
                                                                           {"12", "Ab"},
                                                                           {"1", "A"},
                                                                           {"3", "B"},
                                                                           {"4", "C"},
                                                                           {"6", "D"},
                                                                           {"8", "E"},
                                                                           {"9", "F"},
                                                                           {"11", "G"}}};

// The no-chord marks stand aside before the notes move and come back after.
Log noChordMarksAside(const word::ChordFont &font)
{
    Log lines = testsupport::replaceTextLog(font, "<N.C>", "*:N.:*", true);
    testsupport::append(lines, testsupport::replaceTextLog(font, "<NC>", "*:N:*", true));
    return lines;
}

Log noChordMarksBack(const word::ChordFont &font)
{
    Log lines = testsupport::replaceTextLog(font, "*:N.:*", "N.C", false);
    testsupport::append(lines, testsupport::replaceTextLog(font, "*:N:*", "NC", false));
    return lines;
}

Log passLog(const word::ChordFont &font, bool sharps)
{
    Log expected = noChordMarksAside(font);
    for (const auto &[name, tone] : phaseOneUpTwo) {
        testsupport::append(expected, testsupport::replaceTextLog(font, name, std::string("*:") + tone + ":*", false));
    }
    const std::array<const char *, 5> sharpNames{"A#", "C#", "D#", "F#", "G#"};
    for (std::size_t i = 0; i < phaseTwoFlats.size(); ++i) {
        const auto &[tone, flat] = phaseTwoFlats[i];
        const std::string name = (sharps && i < 5) ? sharpNames[i] : flat;
        testsupport::append(expected, testsupport::replaceTextLog(font, std::string("*:") + tone + ":*", name, false));
    }
    testsupport::append(expected, noChordMarksBack(font));
    expected.push_back("Application.ScreenRefresh");
    return expected;
}

TEST_F(ReplaceChordsTest, NoteNamesThroughMarkersBetweenTheNoChordMarksThenOneRefresh)
{
    open("{b|Bbm7/F}");
    run(boldFont, 2);
    EXPECT_EQ(log(), passLog(boldFont, false));
    EXPECT_TRUE(prompter.shown.empty());
}

struct FontRow {
    const char *name;
    word::ChordFont font;
};

class FontCriteria : public ReplaceChordsTest, public testing::WithParamInterface<FontRow>
{
};

TEST_P(FontCriteria, GoOnTheFindSideOnly)
{
    const auto &font = GetParam().font;
    open("{b|C}");
    run(font, 2);
    EXPECT_EQ(log(), passLog(font, false));
    for (const auto &line : host.callLog()) {
        EXPECT_EQ(line.find("Replacement.Font"), std::string::npos) << line;
    }
}

INSTANTIATE_TEST_SUITE_P(Rows,
                         FontCriteria,
                         testing::Values(FontRow{"ColourOnly", {1, 0, 0, 0, 0, 255}},
                                         FontRow{"StyleWithoutBoxes", {0, 1, 0, 0, 0, 0}},
                                         FontRow{"BoldWithoutStyleIsIgnored", {1, 0, 1, 1, 1, 16711680}},
                                         FontRow{"BoldAndUnderlineWithColour", {1, 1, 1, 0, 1, 33023}},
                                         FontRow{"ItalicOnly", {0, 1, 0, 1, 0, 0}},
                                         FontRow{"EverythingSet", {1, 1, 1, 1, 1, 255}}),
                         testsupport::RowName());

TEST_F(ReplaceChordsTest, NashvilleOutputWritesDegreesWhateverTheAccidentals)
{
    open("{b|C}");
    run(boldFont, 2, {music::Notation::Letters, music::Notation::Nashville, music::Spelling::Sharps});
    Log expected = noChordMarksAside(boldFont);
    for (const auto &[name, tone] : phaseOneUpTwo) {
        testsupport::append(expected,
                            testsupport::replaceTextLog(boldFont, name, std::string("*:") + tone + ":*", false));
    }
    const std::array<const char *, 12> degrees{"1", "b2", "2", "b3", "3", "4", "b5", "5", "b6", "6", "b7", "7"};
    for (int tone = 1; tone <= 12; ++tone) {
        testsupport::append(
            expected,
            testsupport::replaceTextLog(boldFont, "*:" + std::to_string(tone) + ":*", degrees[tone - 1], false));
    }
    testsupport::append(expected, noChordMarksBack(boldFont));
    expected.push_back("Application.ScreenRefresh");
    EXPECT_EQ(log(), expected);
}

TEST_F(ReplaceChordsTest, NashvilleInputIsConvertedFirst)
{
    open("{b|1}");
    run(boldFont, 0, {.from = music::Notation::Nashville});
    const Log calls = log();
    ASSERT_GT(calls.size(), 0u);
    // The no-chord marks and the conversion's wildcard finds, then its refresh, then the letter pass.
    const auto firstLiteral = std::find(calls.begin(), calls.end(), "Find.MatchWildcards = False");
    EXPECT_EQ(std::count(calls.begin(), firstLiteral, "Find.MatchWildcards = True"), 2 + 29);
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "Find.MatchWildcards = False"), 21 + 12 + 2);
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "Application.ScreenRefresh"), 2);
    EXPECT_EQ(sheet(), "{b|A}");
}

TEST_F(ReplaceChordsTest, DecliningTheConfirmationChangesNothing)
{
    open("C Amazing G");
    prompter.answers = {word::Answer::No};
    run(word::ChordFont{}, 2);
    EXPECT_EQ(prompter.shown, std::vector<word::Message>{notSetQuestion});
    EXPECT_EQ(sheet(), "C Amazing G");
    EXPECT_TRUE(log().empty());
}

TEST_F(ReplaceChordsTest, ConfirmedWithoutParametersTransposesLyricsToo)
{
    open("C Amazing G");
    prompter.answers = {word::Answer::Yes};
    run(word::ChordFont{}, 2);
    EXPECT_EQ(prompter.shown, std::vector<word::Message>{notSetQuestion});
    EXPECT_EQ(sheet(), "D Bmazing A");
}

struct QuestionRow {
    const char *name;
    word::ChordFont font;
    bool asked;
};

class Confirmation : public ReplaceChordsTest, public testing::WithParamInterface<QuestionRow>
{
};

TEST_P(Confirmation, AskedOnlyWhenBothSwitchesAreZero)
{
    open("C");
    prompter.answers = {word::Answer::No};
    run(GetParam().font, 2);
    EXPECT_EQ(prompter.shown.size(), GetParam().asked ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Rows,
                         Confirmation,
                         testing::Values(QuestionRow{"BothClear", {0, 0, 1, 1, 1, 0}, true},
                                         QuestionRow{"ColourSet", {1, 0, 0, 0, 0, 0}, false},
                                         QuestionRow{"StyleSetWithoutBoxes", {0, 1, 0, 0, 0, 0}, false}),
                         testsupport::RowName());

TEST_F(ReplaceChordsTest, StyleWithoutBoxesTransposesEverything)
{
    open("C Amazing {b|G}");
    run({0, 1, 0, 0, 0, 0}, 2);
    EXPECT_EQ(sheet(), "D Bmazing {b|A}");
}

struct SheetRow {
    const char *name;
    std::string before;
    int32_t lDelta;
    bool sharps;
    std::string after;
};

class Sheet : public ReplaceChordsTest, public testing::WithParamInterface<SheetRow>
{
};

TEST_P(Sheet, TransposesTheChordFontOnly)
{
    const auto &row = GetParam();
    open(row.before);
    run(boldFont, row.lDelta, {.spelling = row.sharps ? music::Spelling::Sharps : music::Spelling::Flats});
    EXPECT_EQ(sheet(), row.after);
    EXPECT_TRUE(prompter.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Rows,
    Sheet,
    testing::Values(SheetRow{"FlatMinorSlashUpTwo", "{b|Bbm7/F}", 2, false, "{b|Cm7/G}"},
                    SheetRow{"ZeroRenamesToFlats", "{b|A#} {b|G#m} {b|C}", 0, false, "{b|Bb} {b|Abm} {b|C}"},
                    SheetRow{"ZeroRenamesToSharps", "{b|Bb} {b|Db7} {b|E}", 0, true, "{b|A#} {b|C#7} {b|E}"},
                    SheetRow{"SlashBassMoves", "{b|Bb/D}", 1, false, "{b|B/Eb}"},
                    SheetRow{"CapitalsInSuffixMove", "{b|CAdd9} {b|EAug}", 2, false, "{b|DBdd9} {b|GbBug}"},
                    SheetRow{"SmallLettersStay",
                             "{b|Ebm} {b|Cdim} {b|Dsus4} {b|Eaug}",
                             1,
                             false,
                             "{b|Em} {b|Dbdim} {b|Ebsus4} {b|Faug}"},
                    SheetRow{"CFlatIsB", "{b|Cb}", 1, false, "{b|C}"},
                    SheetRow{"ESharpIsF", "{b|E#}", 1, true, "{b|F#}"},
                    SheetRow{"LyricsUntouched", "{b|C}\nAmazing Grace", 2, false, "{b|D}\nAmazing Grace"},
                    SheetRow{"NoChordFontNoChange", "C G Am", 5, false, "C G Am"},
                    SheetRow{"DownWrapsBelowA", "{b|A} {b|Bb}", -2, false, "{b|G} {b|Ab}"},
                    SheetRow{"UpWrapsAboveGSharp", "{b|G#} {b|G}", 3, true, "{b|B} {b|A#}"},
                    SheetRow{"OctaveLeavesNames", "{b|C} {b|F#}", 12, false, "{b|C} {b|Gb}"},
                    SheetRow{"MinusOctaveLeavesNames", "{b|C} {b|F#}", -12, true, "{b|C} {b|F#}"},
                    // A shift beyond an octave acts as its pitch class and leaves no tone marker.
                    SheetRow{"FourteenActsAsTwo", "{b|Bbm7/F} {b|G#}", 14, false, "{b|Cm7/G} {b|Bb}"},
                    SheetRow{"MinusThirteenActsAsMinusOne", "{b|A} {b|C}", -13, false, "{b|Ab} {b|B}"},
                    SheetRow{"TwentyFiveActsAsOne", "{b|G#}", 25, false, "{b|A}"},
                    SheetRow{"LargestShift", "{b|A}", 2147483647, false, "{b|E}"},
                    SheetRow{"SmallestShift", "{b|A}", -2147483647 - 1, false, "{b|Db}"}),
    testsupport::RowName());

TEST_F(ReplaceChordsTest, KeyOfDToNashvilleNumbers)
{
    open("{b|D} {b|G} {b|A} {b|Bm} {b|F#m}");
    run(boldFont, -5, {.to = music::Notation::Nashville});
    EXPECT_EQ(sheet(), "{b|1} {b|4} {b|5} {b|6m} {b|3m}");
}

TEST_F(ReplaceChordsTest, ColourCriterionSelectsTheColouredChords)
{
    open("{#FF0000|C} {b|C} {b#FF0000|C}");
    run({1, 0, 0, 0, 0, 255}, 2);
    EXPECT_EQ(sheet(), "{#FF0000|D} {b|C} {b#FF0000|D}");
}

TEST_F(ReplaceChordsTest, AllCriteriaMustHold)
{
    open("{bu#FF0000|C} {b#FF0000|C} {bu|C} {u#FF0000|C}");
    run({1, 1, 1, 0, 1, 255}, 2);
    EXPECT_EQ(sheet(), "{bu#FF0000|D} {b#FF0000|C} {bu|C} {u#FF0000|C}");
}

TEST_F(ReplaceChordsTest, HostFailureLeavesTheMarkersAndPropagates)
{
    open("{b|A} {b|G}");
    // Each ReplaceText with the bold criterion is 14 calls: fail at the Execute of the nineteenth ("C", after
    // the two no-chord marks and eighteen names), after "A" has become a tone marker.
    host.failAtCall(14 * 19, "The document is locked.");
    EXPECT_THROW(run(boldFont, 2), word::AutomationError);
    EXPECT_EQ(sheet(), "{b|*:3:*} {b|G}");
}

} // namespace
