// Tonvale's commands through Microsoft Word's automation, across processes: each must leave the same
// document, selection and messages as on the built-in host directly.

#include "bothhosts.h"

#include "chords/marking.h"
#include "chords/nashville.h"
#include "edit/combinelines.h"
#include "music/transpose.h"
#include "prefs/sample.h"
#include "tests/support/printers.h"
#include "tests/support/prompter.h"
#include "word/builtin/host.h"

#include <gtest/gtest.h>

namespace
{

using fakeword::boldChords;
using fakeword::FakeWord;

class Commands : public fakeword::BothHostsTest
{
protected:
    /// Runs command on both hosts and checks they end alike.
    void runOnBoth(const std::function<void(word::Application &, word::Prompter &)> &command)
    {
        testsupport::TestPrompter localPrompter;
        testsupport::TestPrompter remotePrompter;
        command(m_local, localPrompter);
        command(remote().host(), remotePrompter);
        EXPECT_EQ(remote().text(), localText());
        EXPECT_EQ(remote().selectionEnd(), m_local.selectionEnd());
        EXPECT_EQ(remotePrompter.shown, localPrompter.shown);
    }
};

struct PassRow {
    const char *name;
    const char *sheet;
    word::ChordFont font;
    bool nashvilleIn;
    bool nashvilleOut;
    bool useSharps;
    int32_t lDelta;
    bool keepColumns = false;
};

class TranspositionModes : public Commands, public testing::WithParamInterface<PassRow>
{
};

TEST_P(TranspositionModes, MatchTheBuiltInHost)
{
    const PassRow &row = GetParam();
    open(row.sheet);
    runOnBoth([&row](word::Application &app, word::Prompter &prompter) {
        music::ReplaceChords(
            app,
            prompter,
            row.font,
            music::PassOptions{row.nashvilleIn ? music::Notation::Nashville : music::Notation::Letters,
                               row.nashvilleOut ? music::Notation::Nashville : music::Notation::Letters,
                               row.useSharps ? music::Spelling::Sharps : music::Spelling::Flats,
                               row.keepColumns},
            row.lDelta);
    });
    EXPECT_NE(localText(), row.sheet);
}

const char *const letterSheet = "{b|Am7}  {b|F#m}  {b|Bb/D}  {b|Ebmaj7}\nAmazing grace, how sweet the sound";
const char *const numberSheet = "{b|1}  {b|4/6}  {b|b7}  {b|5sus4}  {b|2m7}\n1 line of lyrics";
// No-chord marks, odd spellings and raised degrees; blanks between chords plain, underlined and bold.
const char *const musiciansSheet =
    "{b|Em}        {b|N.C.}  {b|Cb/E#}{u|   }{b|Bb}\nAmazing grace,  how sweet\n"
    "{b|E/G#  Fb   B#  NC}";
const char *const raisedSheet = "{b|1}    {b|#4}  {b|5/#7}  {b|b1}\n{b|#4/#6 b4}  {b|N.C.}";

const PassRow passRows[] = {
    {"SharpsUpTwo", letterSheet, boldChords(), 0, 0, true, 2},
    {"FlatsDownThree", letterSheet, boldChords(), 0, 0, false, -3},
    {"SharpsUpSix", letterSheet, boldChords(), 0, 0, true, 6},
    {"LettersToNumbers", letterSheet, boldChords(), 0, 1, false, 0},
    {"NumbersToLetters", numberSheet, boldChords(), 1, 0, true, 3},
    {"NumbersToNumbers", numberSheet, boldChords(), 1, 1, false, 5},
    {"NoFontParametersConfirmed", letterSheet, word::ChordFont{}, 0, 0, false, 1},
    {"MusiciansSheet", musiciansSheet, boldChords(), 0, 0, true, 2},
    {"MusiciansSheetKeepingColumns", musiciansSheet, boldChords(), 0, 0, true, 2, true},
    {"MusiciansSheetKeepingColumnsToNumbers", musiciansSheet, boldChords(), 0, 1, false, -7, true},
    {"RaisedNumbersKeepingColumns", raisedSheet, boldChords(), 1, 0, false, 3, true},
};

INSTANTIATE_TEST_SUITE_P(Rows, TranspositionModes, testing::ValuesIn(passRows), [](const auto &info) {
    return std::string(info.param.name);
});

TEST_F(Commands, TransposeCommandIsOneUndoStep)
{
    open(letterSheet);
    music::TransposeControls controls;
    controls.font = boldChords();
    controls.color = {"0", "0", "0"};
    controls.currentKey = 0;
    controls.newKey = 2;
    controls.useSharps = true;
    controls.semiTones = "2";
    runOnBoth([&controls](word::Application &app, word::Prompter &prompter) {
        music::Transpose(app, prompter, controls);
    });
    EXPECT_TRUE(remote().undo());
    EXPECT_EQ(remote().text(), letterSheet);
}

TEST_F(Commands, TransposeErrorShowsWordsText)
{
    open(letterSheet);
    remote().failOn("Find.Execute", "Word cannot do this now.");
    m_local.failOn("Find.Execute", "Word cannot do this now.");
    music::TransposeControls controls;
    controls.font = boldChords();
    controls.color = {"0", "0", "0"};
    controls.currentKey = 0;
    controls.newKey = 1;
    controls.semiTones = "1";
    runOnBoth([&controls](word::Application &app, word::Prompter &prompter) {
        music::Transpose(app, prompter, controls);
    });
    m_local.clearFaults();
    remote().clearFaults();
}

TEST_F(Commands, ConvertNumbersToLetters)
{
    open(numberSheet);
    runOnBoth([](word::Application &app, word::Prompter &) {
        chords::ConvertNNStoA(app, boldChords());
    });
}

TEST_F(Commands, FindAndMarkChords)
{
    open("Am7  F#m  Bb/D  Cmaj7  Dsus4\nAmazing grace, how sweet the sound\nG  D/F#  Em");
    chords::MarkControls controls;
    controls.font = boldChords();
    controls.font.useColor = 1;
    controls.color = {"255", "0", "0"};
    runOnBoth([&controls](word::Application &app, word::Prompter &prompter) {
        chords::FindChords(app, prompter, controls);
    });
}

struct SampleRow {
    const char *name;
    const char *sheet;
    int32_t start;
    int32_t end;
};

class FontSample : public Commands, public testing::WithParamInterface<SampleRow>
{
};

TEST_P(FontSample, ReadsTheSameParameters)
{
    const SampleRow &row = GetParam();
    open(row.sheet, row.start, row.end);
    prefs::SampleResult local;
    prefs::SampleResult com;
    runOnBoth([&](word::Application &app, word::Prompter &prompter) {
        (&app == &m_local ? local : com) = prefs::GetFontParameters(app, prompter);
    });
    EXPECT_EQ(com, local);
}

const SampleRow sampleRows[] = {
    {"BoldRedChord", "{b#FF0000|Am7} lyrics", 0, 3},
    {"ItalicUnderlinedBlue", "{iu#0000FF|G} lyrics", 0, 1},
    {"MixedSelection", "{b|A}m lyrics", 0, 2},
    {"NothingSelected", "{b|A} lyrics", 1, 1},
};

INSTANTIATE_TEST_SUITE_P(Rows, FontSample, testing::ValuesIn(sampleRows), [](const auto &info) {
    return std::string(info.param.name);
});

TEST_F(Commands, CombineLinesTwiceInARow)
{
    open("{b|C   G}\nfirst half\n{b#FF0000|D   A}\nsecond half\n{b|E}\nthird\n{b|F}\nfourth\nend");
    runOnBoth([](word::Application &app, word::Prompter &) {
        edit::CombineLines(app);
        edit::CombineLines(app);
    });
}

TEST_F(Commands, LinksOpenThroughTheActiveDocument)
{
    open("sheet");
    remote().setLinksFail(false);
    remote().host().activeDocument()->FollowHyperlink("http://www.tonvale.example/transposer.shtml", true);
    EXPECT_EQ(remote().links().back(), "http://www.tonvale.example/transposer.shtml");
    remote().setLinksFail(true);
    EXPECT_THROW(remote().host().activeDocument()->FollowHyperlink("http://www.tonvale.example", true),
                 word::AutomationError);
    remote().setLinksFail(false);
}

} // namespace
