#include "chords/marking.h"
#include "tests/support/calllogs.h"
#include "tests/support/chordrows.h"
#include "tests/support/prompter.h"
#include "word/builtin/host.h"

#include <gtest/gtest.h>

namespace
{

using testsupport::Log;
using word::builtin::fromNotation;
using word::builtin::toNotation;

const word::Message notSelected{"Chord font parameters must be selected to use this function.",
                                "Error",
                                word::Icon::Critical,
                                word::Buttons::Ok};

chords::MarkControls boldControls()
{
    return {.font = {.useStyle = true, .bold = true}, .color = {}};
}

class MarkingTest : public testing::Test
{
protected:
    void open(const std::string &notation)
    {
        host.open(fromNotation(notation));
    }
    std::optional<int32_t> run(const chords::MarkControls &controls)
    {
        return chords::FindChords(host, prompter, controls);
    }
    std::string sheet() const
    {
        return toNotation(*host.activeText());
    }
    std::string plainText() const
    {
        const auto *doc = host.activeText();
        return doc->utf8(0, doc->length());
    }

    word::builtin::Host host;
    testsupport::TestPrompter prompter;
};

Log findChordLog(const word::ChordFont &font, const std::string &pattern)
{
    Log lines{"Find.ClearFormatting",
              "Find.Replacement.ClearFormatting",
              "Find.Text = " + pattern,
              "Find.Replacement.Text = ",
              "Find.Forward = True",
              "Find.Wrap = 1",
              "Find.Format = True",
              "Find.MatchCase = False",
              "Find.MatchWholeWord = False",
              "Find.MatchAllWordForms = False",
              "Find.MatchSoundsLike = False",
              "Find.MatchWildcards = True"};
    testsupport::append(lines, testsupport::fontCriteria(font, "Find.Replacement.Font."));
    lines.push_back("Find.Execute Replace:=2");
    return lines;
}

TEST_F(MarkingTest, TwentyPassesThenOneRefreshWithReplacementAttributesOnly)
{
    open("C");
    host.setLogging(true);
    auto controls = boldControls();
    controls.font = {1, 1, 1, 1, 1, 0};
    controls.color = {"255", "128", "0"};
    const auto lColor = run(controls);
    EXPECT_EQ(lColor, 33023);
    word::ChordFont applied = controls.font;
    applied.lColor = 33023;
    Log expected{"Documents.Count", "Application.StartUndoGroup Name:=Find and Mark Chords"};
    for (const auto pattern : chords::catalogue) {
        testsupport::append(expected, findChordLog(applied, std::string(pattern)));
    }
    expected.push_back("Application.ScreenRefresh");
    expected.push_back("Application.EndUndoGroup");
    EXPECT_EQ(testsupport::operations(host.callLog()), expected);
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(MarkingTest, NoDocumentIsTheOnlyMessage)
{
    const auto lColor = run({});
    EXPECT_EQ(prompter.shown, std::vector<word::Message>{word::noDocumentMessage(host.names())});
    EXPECT_FALSE(lColor);
}

TEST_F(MarkingTest, OneUndoTakesTheMarksAway)
{
    open("G  Am7  C/G\nAmazing grace");
    run(boldControls());
    ASSERT_TRUE(host.undo());
    EXPECT_EQ(sheet(), "G  Am7  C/G\nAmazing grace");
}

// Controls the command refuses: one message, no colour, no change, and no call after the document check.
struct RefusalRow {
    const char *name;
    word::ChordFont font;
    prefs::ColorBoxes color;
    word::Message message;
};

class Refusals : public MarkingTest, public testing::WithParamInterface<RefusalRow>
{
};

TEST_P(Refusals, ShowOneMessageAndChangeNothing)
{
    open("C G Am");
    host.setLogging(true);
    EXPECT_FALSE(run({GetParam().font, GetParam().color}));
    EXPECT_EQ(prompter.shown, std::vector<word::Message>{GetParam().message});
    EXPECT_EQ(sheet(), "C G Am");
    EXPECT_EQ(testsupport::operations(host.callLog()), Log{"Documents.Count"});
}

const RefusalRow refusals[] = {
    {"BothSwitchesClear", {0, 0, 1, 1, 1, 0}, {}, notSelected},
    {"BadColourBoxWithItsName",
     {.useColor = true},
     {"x", "-3", "0"},
     {"The Green box must hold a number from 0 to 255.", "Error", word::Icon::Critical, word::Buttons::Ok}},
};

INSTANTIATE_TEST_SUITE_P(Rows, Refusals, testing::ValuesIn(refusals), testsupport::RowName());

TEST_F(MarkingTest, StyleWithoutBoxesAndNoColourLeavesTheDocument)
{
    open("C G Am\nAmen");
    host.setLogging(true);
    chords::MarkControls controls;
    controls.font = {0, 1, 0, 0, 0, 0};
    EXPECT_EQ(run(controls), 0);
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_EQ(sheet(), "C G Am\nAmen");
    const Log calls = host.callLog();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "Find.Execute Replace:=2"), 0);
}

class Marks : public MarkingTest, public testing::WithParamInterface<testsupport::TextRow>
{
};

TEST_P(Marks, BoldChordShapesOnly)
{
    const auto &row = GetParam();
    open(row.before);
    const std::string text = plainText();
    run(boldControls());
    EXPECT_EQ(sheet(), row.after);
    EXPECT_EQ(plainText(), text); // characters never change
}

INSTANTIATE_TEST_SUITE_P(Rows, Marks, testing::ValuesIn(testsupport::markingRows()), testsupport::RowName());

TEST_F(MarkingTest, ColourOnlyKeepsTheStyles)
{
    open("{i|Am} {b|G} x");
    chords::MarkControls controls;
    controls.font = {1, 0, 1, 0, 0, 0}; // Bold is ignored without "Use Font Style:"
    controls.color = {"255", "0", "0"};
    EXPECT_EQ(run(controls), 255);
    EXPECT_EQ(sheet(), "{i#FF0000|Am} {b#FF0000|G} x");
}

TEST_F(MarkingTest, BoldOnlyKeepsTheColour)
{
    open("{#00FF00|Am} {i|G}");
    run(boldControls());
    EXPECT_EQ(sheet(), "{b#00FF00|Am} {bi|G}");
}

TEST_F(MarkingTest, HostFailureIsNotTrapped)
{
    open("C");
    host.failOn("Find.Execute", "Out of memory.");
    EXPECT_THROW(run(boldControls()), word::AutomationError);
    EXPECT_TRUE(prompter.shown.empty());
}

} // namespace
