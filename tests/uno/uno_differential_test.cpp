// The same song sheets and the same commands give the same text and formatting on the built-in
// host and on LibreOffice Writer.

#include "chords/marking.h"
#include "chords/nashville.h"
#include "edit/combinelines.h"
#include "music/transpose.h"
#include "prefs/sample.h"
#include "support/office.h"
#include "tests/support/automationerror.h"
#include "tests/support/printers.h"
#include "tests/support/prompter.h"
#include "tests/support/rows.h"
#include "word/builtin/host.h"
#include "word/replacetext.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace
{

using word::ChordFont;

std::vector<word::uno::TextRun> runsOf(const word::builtin::TextDocument &doc)
{
    std::vector<word::uno::TextRun> runs;
    for (const auto &run : doc.runs()) {
        word::uno::TextRun out;
        out.text = doc.utf8(run.start, run.start + run.length);
        out.bold = run.format.bold;
        out.italic = run.format.italic;
        out.underline = run.format.underline;
        out.color = run.format.color;
        runs.push_back(out);
    }
    // The final paragraph mark is implied on both sides.
    if (!runs.empty() && !runs.back().text.empty()) {
        runs.back().text.pop_back();
        if (runs.back().text.empty()) {
            runs.pop_back();
        }
    }
    return runs;
}

ChordFont font(bool useStyle, bool bold, bool italic, bool underline, bool useColor = false, int32_t lColor = 0)
{
    return {useColor, useStyle, bold, italic, underline, lColor};
}

const ChordFont bold = font(1, 1, 0, 0);
const ChordFont redChords = font(0, 0, 0, 0, 1, 255);

const std::string sheet =
    "{b|C}   {b|G/B}   {b|Am7}\nAmazing Grace how {i|sweet} the sound\n"
    "{b#FF0000|F#m7b5}  {bu|Bb/D}  {u|Ebmaj7}\n{#FF0000|That saved} a wretch like me\n"
    "{b|Dsus4} {b|Gadd9} {b|C7#5} {b|E7b9} {b|G#dim7}";
// Chord lines bold as a whole, blanks too, as a line made bold at once is stored.
const std::string boldLines =
    "{b|C   G/B   Am7}\nAmazing Grace how {i|sweet} the sound\n"
    "{b|F#m7b5  Bb/D  Ebmaj7  Db}\nThat saved a wretch like me\n{b|Dsus4 Gadd9 C7#5 G#dim7}";
const std::string numbers = "{b|1 4/5 6-7 b7 5sus4}\nverse 2 lyrics 4\n{b|2m7 b3 5+5 #4 b6 3 7}";
// Chords as musicians write them, over lyrics, with blanks between the chords in several formattings.
const std::string musicians =
    "{b|Em}        {b|D}   {b|N.C.}  {b|Cb/E#}\nAmazing grace, how  sweet the sound\n"
    "{b|F#}{u|   }{b|E/B}{#FF0000|  }{b|Bb}  {b|NC}\nThat saved  a wretch\n"
    "{b|E/G#  Bbmaj7 C    Fb   B#}\nIntro:  {b|E}  {b|F#}";
const std::string raisedNumbers = "{b|1}    {b|#4}  {b|5/#7}  {b|b1}\nverse 2\n{b|#4/#6 b4 3}  {b|N.C.}";

struct Row {
    const char *name;
    std::string doc;
    std::function<void(word::Application &, word::Prompter &)> command;
    /// How the office's copy of the document stores its formatting.
    word::uno::RunFormatting formatting = word::uno::RunFormatting::Defaults;
};

// The row with the office's document formatted differently (and named anew).
Row storedAs(const char *name, Row row, word::uno::RunFormatting formatting)
{
    row.name = name;
    row.formatting = formatting;
    return row;
}

void PrintTo(const Row &row, std::ostream *os)
{
    *os << row.name;
}

class SameResultOnBothHosts : public ::testing::TestWithParam<Row>
{
};

TEST_P(SameResultOnBothHosts, TextAndFormatting)
{
    const auto &row = GetParam();
    const auto doc = word::builtin::fromNotation(row.doc);

    word::builtin::Host builtin;
    builtin.open(doc);
    builtin.setSelection(0, 0);
    testsupport::TestPrompter builtinPrompter;
    row.command(builtin, builtinPrompter);

    auto &office = unotest::office();
    office.closeAllDocuments();
    office.newDocument(runsOf(doc), row.formatting);
    testsupport::TestPrompter officePrompter;
    row.command(office, officePrompter);

    EXPECT_EQ(unotest::notationOf(office.documentRuns()), unotest::notationOf(runsOf(*builtin.activeText())));
    EXPECT_EQ(officePrompter.shown.size(), builtinPrompter.shown.size());
    auto selection = office.selection();
    EXPECT_EQ(selection->Start(), builtin.selectionStart());
    EXPECT_EQ(selection->End(), builtin.selectionEnd());
}

Row transpose(const char *name,
              const std::string &doc,
              ChordFont f,
              bool in,
              bool out,
              bool sharps,
              int32_t delta,
              bool keepColumns = false)
{
    return {name, doc, [=](word::Application &app, word::Prompter &prompter) {
                music::ReplaceChords(app,
                                     prompter,
                                     f,
                                     music::PassOptions{in ? music::Notation::Nashville : music::Notation::Letters,
                                                        out ? music::Notation::Nashville : music::Notation::Letters,
                                                        sharps ? music::Spelling::Sharps : music::Spelling::Flats,
                                                        keepColumns},
                                     delta);
            }};
}

Row replaceText(const char *name,
                const std::string &doc,
                ChordFont f,
                std::string find,
                std::string replace,
                bool wildcards)
{
    return {name, doc, [=](word::Application &app, word::Prompter &) {
                word::ReplaceText(app, f, find, replace, wildcards);
            }};
}

Row mark(const char *name, const std::string &doc, ChordFont f, prefs::ColorBoxes boxes)
{
    return {name, doc, [=](word::Application &app, word::Prompter &prompter) {
                chords::FindChords(app, prompter, chords::MarkControls{f, boxes});
            }};
}

INSTANTIATE_TEST_SUITE_P(
    Commands,
    SameResultOnBothHosts,
    ::testing::Values(transpose("TransposeFlatsUpTwo", sheet, bold, 0, 0, false, 2),
                      transpose("TransposeSharpsDownThree", sheet, bold, 0, 0, true, -3),
                      transpose("TransposeByColour", sheet, redChords, 0, 0, false, 5),
                      transpose("TransposeUnderlinedOnly", sheet, font(1, 0, 0, 1), 0, 0, true, 1),
                      transpose("TransposeWithoutParametersTakesTheLyrics", sheet, ChordFont{}, 0, 0, false, 4),
                      transpose("TransposeToNashville", sheet, bold, 0, 1, false, -3),
                      transpose("TransposeFromNashville", numbers, bold, 1, 0, true, 7),
                      transpose("NashvilleBothWays", numbers, bold, 1, 1, false, 0),
                      transpose("MusiciansSheet", musicians, bold, 0, 0, true, 2),
                      transpose("MusiciansSheetKeepingColumns", musicians, bold, 0, 0, true, 2, true),
                      transpose("MusiciansSheetKeepingColumnsFlatsDown", musicians, bold, 0, 0, false, -1, true),
                      transpose("MusiciansSheetKeepingColumnsToNashville", musicians, bold, 0, 1, false, -7, true),
                      transpose("MusiciansSheetKeepingColumnsWithoutParameters", musicians, ChordFont{}, 0, 0, true, 1, true),
                      transpose("RaisedNumbers", raisedNumbers, bold, 1, 0, true, 3),
                      transpose("RaisedNumbersKeepingColumns", raisedNumbers, bold, 1, 0, false, 3, true),
                      storedAs("MusiciansSheetKeepingColumnsWholeLinesFormatted",
                               transpose("", musicians, bold, 0, 0, true, 2, true),
                               word::uno::RunFormatting::WholeLineFirst),
                      storedAs("MusiciansSheetKeepingColumnsEveryAttributeExplicit",
                               transpose("", musicians, redChords, 0, 0, false, 5, true),
                               word::uno::RunFormatting::Explicit),
                      Row{"ConvertNumbersToLetters",
                          numbers,
                          [](word::Application &app, word::Prompter &) {
                              chords::ConvertNNStoA(app, bold);
                          }},
                      mark("MarkChordsBold",
                           sheet + "\nAmen Embrace am ESus BDim C7sus4 Dm(maj7) Cm7b5b9b13 A man",
                           font(1, 1, 0, 0),
                           {"0", "0", "0"}),
                      mark("MarkChordsColourAndItalic", sheet, font(1, 0, 1, 0, 1), {"0", "128", "255"}),
                      mark("MarkChordsUnderline", sheet, font(1, 0, 0, 1), {"0", "0", "0"}),
                      mark("MarkChordsStyleWithoutBoxes", sheet, font(1, 0, 0, 0), {"0", "0", "0"}),
                      replaceText("LiteralBold", sheet, bold, "G", "*:11:*", false),
                      replaceText("LiteralItalic", sheet, font(1, 0, 1, 0), "sweet", "sour", false),
                      replaceText("LiteralColour", sheet, redChords, "saved", "kept", false),
                      replaceText("LiteralEverywhere", sheet, ChordFont{}, "a", "A", false),
                      replaceText("LiteralDeletesChordText", sheet, bold, "7", "", false),
                      replaceText("WildcardGroups", sheet, bold, "([A-G])(b)", "\\2\\1", true),
                      replaceText("WildcardWordEnd", sheet, ChordFont{}, "[a-z]@>", "w", true),
                      storedAs("TransposeWholeLinesFormatted",
                               transpose("", sheet, bold, 0, 0, false, 2),
                               word::uno::RunFormatting::WholeLineFirst),
                      storedAs("TransposeEveryAttributeExplicit",
                               transpose("", sheet, bold, 0, 0, true, -3),
                               word::uno::RunFormatting::Explicit),
                      storedAs("TransposeByColourWholeLinesFormatted",
                               transpose("", sheet, redChords, 0, 0, false, 5),
                               word::uno::RunFormatting::WholeLineFirst),
                      storedAs("TransposeUnderlinedWholeLinesFormatted",
                               transpose("", sheet, font(1, 0, 0, 1), 0, 0, true, 1),
                               word::uno::RunFormatting::WholeLineFirst),
                      storedAs("NashvilleWholeLinesFormatted",
                               transpose("", numbers, bold, 1, 1, false, 0),
                               word::uno::RunFormatting::WholeLineFirst),
                      storedAs("ConvertNumbersWholeLinesFormatted",
                               Row{"",
                                   numbers,
                                   [](word::Application &app, word::Prompter &) {
                                       chords::ConvertNNStoA(app, bold);
                                   }},
                               word::uno::RunFormatting::WholeLineFirst),
                      storedAs("WildcardGroupsWholeLinesFormatted",
                               replaceText("", sheet, bold, "([A-G])(b)", "\\2\\1", true),
                               word::uno::RunFormatting::WholeLineFirst),
                      storedAs("LiteralDeletesWholeLinesFormatted",
                               replaceText("", sheet, bold, "7", "", false),
                               word::uno::RunFormatting::WholeLineFirst),
                      storedAs("MarkChordsWholeLinesFormatted",
                               mark("", sheet, font(1, 1, 0, 0), {"0", "0", "0"}),
                               word::uno::RunFormatting::WholeLineFirst),
                      transpose("TransposeLinesBoldAsAWhole", boldLines, bold, 0, 0, false, 2),
                      storedAs("TransposeLinesBoldAsAWholeFormattedTwice",
                               transpose("", boldLines, bold, 0, 0, true, -3),
                               word::uno::RunFormatting::WholeLineFirst),
                      replaceText("LiteralDeletesInLinesBoldAsAWhole", boldLines, bold, "7", "", false),
                      replaceText("WildcardGroupsInLinesBoldAsAWhole", boldLines, bold, "([A-G])(b)", "\\2\\1", true),
                      storedAs("MarkChordsThenTransposeLinesBoldAsAWhole",
                               Row{"",
                                   boldLines,
                                   [](word::Application &app, word::Prompter &prompter) {
                                       chords::FindChords(app, prompter, chords::MarkControls{font(1, 1, 1, 0), {"0", "0", "0"}});
                                       music::ReplaceChords(app, prompter, font(true, true, true, false), {}, 2);
                                   }},
                               word::uno::RunFormatting::WholeLineFirst),
                      Row{"CombineLines",
                          sheet,
                          [](word::Application &app, word::Prompter &) {
                              edit::CombineLines(app);
                          }},
                      Row{"CombineLinesTwice",
                          "1\n{b|2}\n3\n{b#00FF00|4}\n5\n6\n7\n8\n9",
                          [](word::Application &app, word::Prompter &) {
                              edit::CombineLines(app);
                              edit::CombineLines(app);
                          }}),
    testsupport::RowName());

// The program runs each command as one undo step. In one, the LibreOffice host moves the chord font
// that paragraphs give their text onto its runs before the command's first search, and searches
// the office's own way from then on: the same sheets as above, as the program runs them.
Row inOneStep(Row row)
{
    row.command = [command = row.command](word::Application &app, word::Prompter &prompter) {
        word::UndoGroup group(app, "Command");
        command(app, prompter);
    };
    return row;
}

constexpr auto wholeLines = word::uno::RunFormatting::WholeLineFirst;

INSTANTIATE_TEST_SUITE_P(CommandsInOneStep,
                         SameResultOnBothHosts,
                         ::testing::Values(inOneStep(storedAs("TransposeWholeLinesFormatted",
                                                              transpose("", sheet, bold, 0, 0, false, 2),
                                                              wholeLines)),
                                           inOneStep(storedAs("TransposeLinesBoldAsAWhole",
                                                              transpose("", boldLines, bold, 0, 0, true, -3),
                                                              wholeLines)),
                                           inOneStep(storedAs("TransposeByColourWholeLinesFormatted",
                                                              transpose("", sheet, redChords, 0, 0, false, 5),
                                                              wholeLines)),
                                           inOneStep(storedAs("TransposeUnderlinedWholeLinesFormatted",
                                                              transpose("", sheet, font(1, 0, 0, 1), 0, 0, true, 1),
                                                              wholeLines)),
                                           inOneStep(storedAs(
                                               "TransposeBoldItalicWholeLinesFormatted",
                                               transpose(
                                                   "",
                                                   "{bi|C}  {b|D}  {bi|E}  {bi|F}\nla {i|la} la\n{bi|G  A}  {bi|Bb}",
                                                   font(1, 1, 1, 0),
                                                   0,
                                                   0,
                                                   false,
                                                   2),
                                               wholeLines)),
                                           inOneStep(storedAs("NashvilleWholeLinesFormatted",
                                                              transpose("", numbers, bold, 1, 1, false, 0),
                                                              wholeLines)),
                                           inOneStep(storedAs("MusiciansSheetKeepingColumnsWholeLinesFormatted",
                                                              transpose("", musicians, bold, 0, 0, true, 2, true),
                                                              wholeLines)),
                                           inOneStep(storedAs("LiteralDeletesWholeLinesFormatted",
                                                              replaceText("", sheet, bold, "7", "", false),
                                                              wholeLines)),
                                           inOneStep(storedAs("MarkChordsThenTransposeLinesBoldAsAWhole",
                                                              Row{"",
                                                                  boldLines,
                                                                  [](word::Application &app, word::Prompter &prompter) {
                                                                      chords::FindChords(
                                                                          app,
                                                                          prompter,
                                                                          chords::MarkControls{font(1, 1, 1, 0),
                                                                                               {"0", "0", "0"}});
                                                                      music::ReplaceChords(
                                                                          app,
                                                                          prompter,
                                                                          font(true, true, true, false),
                                                                          {},
                                                                          2);
                                                                  }},
                                                              wholeLines)),
                                           inOneStep(storedAs("CombineLinesWholeLinesFormatted",
                                                              Row{"",
                                                                  sheet,
                                                                  [](word::Application &app, word::Prompter &) {
                                                                      edit::CombineLines(app);
                                                                  }},
                                                              wholeLines))),
                         testsupport::RowName());

struct SampleRow {
    const char *name;
    int32_t start;
    int32_t end;
};

void PrintTo(const SampleRow &row, std::ostream *os)
{
    *os << row.name;
}

class SameFontParameters : public ::testing::TestWithParam<SampleRow>
{
};

TEST_P(SameFontParameters, FromTheSelectedSample)
{
    const auto doc = word::builtin::fromNotation(sheet);
    word::builtin::Host builtin;
    builtin.open(doc);
    builtin.setSelection(GetParam().start, GetParam().end);
    testsupport::TestPrompter builtinPrompter;
    const auto expected = prefs::GetFontParameters(builtin, builtinPrompter);

    auto &office = unotest::office();
    office.closeAllDocuments();
    office.newDocument(runsOf(doc));
    office.setSelection(GetParam().start, GetParam().end);
    testsupport::TestPrompter officePrompter;
    const auto actual = prefs::GetFontParameters(office, officePrompter);

    EXPECT_EQ(actual, expected);
    ASSERT_EQ(officePrompter.shown.size(), builtinPrompter.shown.size());
    for (std::size_t i = 0; i < officePrompter.shown.size(); ++i) {
        EXPECT_EQ(officePrompter.shown[i].text, builtinPrompter.shown[i].text);
        EXPECT_EQ(officePrompter.shown[i].title, builtinPrompter.shown[i].title);
    }
}

INSTANTIATE_TEST_SUITE_P(Samples,
                         SameFontParameters,
                         ::testing::Values(SampleRow{"BoldChord", 0, 1},
                                           SampleRow{"NothingSelected", 3, 3},
                                           SampleRow{"RedBoldChord", 58, 64},
                                           SampleRow{"UnderlinedChord", 66, 70},
                                           SampleRow{"MixedSelection", 0, 12},
                                           SampleRow{"ItalicLyric", 44, 49}),
                         testsupport::RowName());

TEST(SameRefusal, AGroupReferenceBeyondThePatternsGroups)
{
    const auto doc = word::builtin::fromNotation("{b|Am}");
    word::builtin::Host builtin;
    builtin.open(doc);
    auto &office = unotest::office();
    office.closeAllDocuments();
    office.newDocument(runsOf(doc));
    const auto refusal = [](word::Application &host) {
        return testsupport::automationError([&] {
            word::ReplaceText(host, ChordFont{}, "(A)", "\\2", true);
        });
    };
    const std::string officeMessage = refusal(office);
    EXPECT_EQ(officeMessage, refusal(builtin));
    EXPECT_NE(officeMessage, testsupport::noAutomationError);
    EXPECT_EQ(unotest::notationOf(office.documentRuns()), "{b|Am}");
}

} // namespace
