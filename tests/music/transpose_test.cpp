#include "music/transpose.h"
#include "tests/support/calllogs.h"
#include "tests/support/faultyhost.h"
#include "tests/support/prompter.h"
#include "tests/support/rows.h"
#include "word/builtin/host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <new>
#include <stdexcept>

namespace
{

using word::builtin::fromNotation;
using word::builtin::toNotation;

word::Message transposeError(const std::string &text)
{
    return {text, "Transpose Error", word::Icon::Critical, word::Buttons::Ok};
}

/// Bold chords, current key A, new key B, flats, shift 2.
music::TransposeControls boldControls()
{
    return {.font = {.useStyle = true, .bold = true},
            .color = {"255", "0", "0"},
            .currentKey = 0,
            .newKey = 2,
            .semiTones = "2"};
}

class TransposeTest : public testing::Test
{
protected:
    void open(const std::string &notation)
    {
        host.open(fromNotation(notation));
    }
    music::TransposeResult run(const music::TransposeControls &controls)
    {
        return music::Transpose(host, prompter, controls);
    }
    std::string sheet() const
    {
        return toNotation(*host.activeText());
    }

    word::builtin::Host host;
    testsupport::TestPrompter prompter;
};

TEST_F(TransposeTest, NoDocumentIsReportedBeforeTheKeys)
{
    auto controls = boldControls();
    controls.currentKey = -1;
    controls.newKey = -1;
    const auto result = run(controls);
    EXPECT_EQ(prompter.shown, std::vector<word::Message>{word::noDocumentMessage(host.names())});
    EXPECT_FALSE(result.lColor);
    EXPECT_FALSE(result.bUseSharps);
    EXPECT_FALSE(result.newCurrentKey);
}

// Controls the command refuses: one message, no result, no change, and no call after the document check.
struct RefusalRow {
    const char *name;
    int currentKey, newKey;
    prefs::ColorBoxes color;
    word::Message message;
};

class Refusals : public TransposeTest, public testing::WithParamInterface<RefusalRow>
{
};

TEST_P(Refusals, ShowOneMessageAndChangeNothing)
{
    const auto &row = GetParam();
    open("{b|C}");
    host.setLogging(true);
    auto controls = boldControls();
    controls.currentKey = row.currentKey;
    controls.newKey = row.newKey;
    controls.color = row.color;
    const auto result = run(controls);
    EXPECT_EQ(prompter.shown, std::vector<word::Message>{row.message});
    EXPECT_FALSE(result.lColor);
    EXPECT_FALSE(result.bUseSharps);
    EXPECT_FALSE(result.newCurrentKey);
    EXPECT_EQ(sheet(), "{b|C}");
    EXPECT_EQ(testsupport::operations(host.callLog()), testsupport::Log{"Documents.Count"});
}

INSTANTIATE_TEST_SUITE_P(
    Rows,
    Refusals,
    testing::Values(
        RefusalRow{"NeitherKeyReportsTheCurrentKeyOnly",
                   -1,
                   -1,
                   {"255", "0", "0"},
                   transposeError("You must set the current key")},
        RefusalRow{"MissingNewKey", 0, -1, {"255", "0", "0"}, transposeError("You must set the new key")},
        RefusalRow{
            "BadColourBox",
            0,
            2,
            {"0", "0", "256"},
            {"The Blue box must hold a number from 0 to 255.", "Error", word::Icon::Critical, word::Buttons::Ok}}),
    testsupport::RowName());

TEST_F(TransposeTest, CompletedPassMakesTheNewKeyCurrent)
{
    open("{b|Bbm7/F}");
    auto controls = boldControls();
    controls.color = {"255", "128", "0"};
    controls.useSharps = true;
    const auto result = run(controls);
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_EQ(sheet(), "{b|Cm7/G}");
    EXPECT_EQ(result.lColor, 33023);
    EXPECT_EQ(result.bUseSharps, true);
    EXPECT_EQ(result.newCurrentKey, 2);
}

TEST_F(TransposeTest, ColourCriterionUsesTheBoxesNotTheOldColour)
{
    open("{#FF8000|C} {#FF0000|C}");
    auto controls = boldControls();
    controls.font = {1, 0, 0, 0, 0, 255}; // the stale lColor in font is not used
    controls.color = {"255", "128", "0"};
    run(controls);
    EXPECT_EQ(sheet(), "{#FF8000|D} {#FF0000|C}");
}

struct ShiftRow {
    const char *name;
    std::string semiTones;
    std::string after; ///< "{b|A}" after the pass
};

class ShiftText : public TransposeTest, public testing::WithParamInterface<ShiftRow>
{
};

TEST_P(ShiftText, IsReadLenientlyAndRoundedHalfToEven)
{
    open("{b|A}");
    auto controls = boldControls();
    controls.semiTones = GetParam().semiTones;
    const auto result = run(controls);
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_EQ(sheet(), GetParam().after);
    EXPECT_EQ(result.newCurrentKey, 2);
}

INSTANTIATE_TEST_SUITE_P(Rows,
                         ShiftText,
                         testing::Values(ShiftRow{"Two", "2", "{b|B}"},
                                         ShiftRow{"TwoPointFiveIsTwo", "2.5", "{b|B}"},
                                         ShiftRow{"ThreePointFiveIsFour", "3.5", "{b|Db}"},
                                         ShiftRow{"MinusTwoPointFiveIsMinusTwo", "-2.5", "{b|G}"},
                                         ShiftRow{"EmptyIsZero", "", "{b|A}"},
                                         ShiftRow{"LettersAreZero", "abc", "{b|A}"},
                                         ShiftRow{"BlanksAndTrailingText", " - 1 semitone", "{b|Ab}"},
                                         ShiftRow{"FourteenActsAsTwo", "14", "{b|B}"},
                                         ShiftRow{"MinusThirteenActsAsMinusOne", "-13", "{b|Ab}"},
                                         ShiftRow{"Exponent", "1e1", "{b|G}"}),
                         testsupport::RowName());

class ShiftOverflow : public TransposeTest, public testing::WithParamInterface<std::string>
{
};

TEST_P(ShiftOverflow, IsATransposeErrorAndKeepsTheKey)
{
    open("{b|A}");
    auto controls = boldControls();
    controls.semiTones = GetParam();
    const auto result = run(controls);
    EXPECT_EQ(prompter.shown, std::vector<word::Message>{transposeError("Overflow")});
    EXPECT_FALSE(result.newCurrentKey);
    EXPECT_EQ(result.lColor, 255);
    EXPECT_EQ(sheet(), "{b|A}");
}

INSTANTIATE_TEST_SUITE_P(Texts,
                         ShiftOverflow,
                         testing::Values("2147483648", "-2147483649", "1e999", "-1e999", "&O" + std::string(40, '7')),
                         [](const auto &info) {
                             return "Row" + std::to_string(info.index);
                         });

TEST_F(TransposeTest, DeclinedConfirmationStillMovesTheKey)
{
    open("C Amazing G");
    auto controls = boldControls();
    controls.font = {};
    prompter.answers = {word::Answer::No};
    const auto result = run(controls);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].title, "Error");
    EXPECT_EQ(sheet(), "C Amazing G");
    EXPECT_EQ(result.newCurrentKey, 2);
}

TEST_F(TransposeTest, HostFailureInThePassIsReportedAndKeepsTheKey)
{
    open("{b|C} {b|G}");
    host.failOn("Find.Execute", "Word cannot complete the search.");
    const auto result = run(boldControls());
    EXPECT_EQ(prompter.shown, std::vector<word::Message>{transposeError("Word cannot complete the search.")});
    EXPECT_FALSE(result.newCurrentKey);
    EXPECT_EQ(result.lColor, 255);
    EXPECT_EQ(result.bUseSharps, false);
}

TEST_F(TransposeTest, FailingDocumentCountIsNotTrapped)
{
    open("{b|C}");
    host.failOn("Documents.Count", "The remote server machine does not exist or is unavailable");
    EXPECT_THROW(run(boldControls()), word::AutomationError);
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(TransposeTest, ThePassIsOneUndoStep)
{
    open("{b|Bbm7/F} {b|C}");
    host.setLogging(true);
    run(boldControls());
    const auto calls = testsupport::operations(host.callLog());
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls[0], "Documents.Count");
    EXPECT_EQ(calls[1], "Application.StartUndoGroup Name:=Transpose");
    EXPECT_EQ(calls[calls.size() - 2], "Application.ScreenRefresh");
    EXPECT_EQ(calls.back(), "Application.EndUndoGroup");
    EXPECT_EQ(sheet(), "{b|Cm7/G} {b|D}");
    EXPECT_TRUE(host.undo());
    EXPECT_EQ(sheet(), "{b|Bbm7/F} {b|C}");
}

TEST_F(TransposeTest, KeepingChordColumnsIsStillOneUndoStep)
{
    open("{b|Em}    {b|Bb}  {b|G}");
    auto controls = boldControls();
    controls.keepColumns = true;
    controls.useSharps = true;
    run(controls);
    EXPECT_EQ(sheet(), "{b|F#m}   {b|C}   {b|A}");
    EXPECT_TRUE(host.undo());
    EXPECT_EQ(sheet(), "{b|Em}    {b|Bb}  {b|G}");
}

struct StandInRow {
    const char *name;
    const char *sheet; ///< holds a character the columns step writes for a while
};

class ColumnStandIns : public TransposeTest, public testing::WithParamInterface<StandInRow>
{
};

// Keeping the columns would turn these characters into blanks or take them out: the command refuses
// and the sheet stays exactly as it was; without the option the sheet transposes as ever.
TEST_P(ColumnStandIns, RefuseKeepingColumnsAndChangeNothing)
{
    const std::string before = GetParam().sheet;
    open(before);
    auto controls = boldControls();
    controls.keepColumns = true;
    const auto result = run(controls);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].title, "Transpose Error");
    EXPECT_NE(prompter.shown[0].text.find("Keep Chord Columns"), std::string::npos);
    EXPECT_FALSE(result.newCurrentKey);
    EXPECT_EQ(sheet(), before);

    controls.keepColumns = false;
    run(controls);
    EXPECT_NE(sheet(), before);
}

INSTANTIATE_TEST_SUITE_P(Rows,
                         ColumnStandIns,
                         testing::Values(StandInRow{"WynnInALyric", "{b|Em}    {b|G}\nHw\u01BFt"},
                                         StandInRow{"YoghInAChordLine", "{b|Em} \u0222  {b|G}"},
                                         StandInRow{"StopInTheChordFont", "{b|Em\u01BB}  {b|G}"},
                                         StandInRow{"ArrowInTheChordFont", "{b|Em\u2191}  {b|G}"},
                                         StandInRow{"DownArrowInTheChordFont", "{b|G\u2193}  {b|D}"}),
                         testsupport::RowName());

TEST_F(TransposeTest, AFailedPassEndsItsUndoStepAndTakesItBack)
{
    open("{b|C} {b|Bb}");
    host.setLogging(true);
    host.failOn("Application.ScreenRefresh", "Disk full.");
    run(boldControls());
    const auto &calls = host.callLog();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[calls.size() - 2], "Application.EndUndoGroup");
    EXPECT_EQ(calls.back(), "Document.Undo");
    EXPECT_EQ(sheet(), "{b|C} {b|Bb}");
    EXPECT_EQ(prompter.shown, std::vector<word::Message>{transposeError("Disk full.")});
}

struct FailureRow {
    const char *name;
    std::exception_ptr error;
    std::string description; ///< as the Transpose Error shows it
};

class AnyFailureInThePass : public testing::TestWithParam<FailureRow>
{
};

TEST_P(AnyFailureInThePass, IsATransposeErrorAndTakesThePassBack)
{
    word::builtin::Host host;
    host.open(fromNotation("{b|C} {b|Bb}"));
    testsupport::FaultyHost faulty(host);
    testsupport::TestPrompter prompter;
    faulty.failAtCall(60, GetParam().error); // inside the third replacement, after "Bb" became a marker
    const auto result = music::Transpose(faulty, prompter, boldControls());
    EXPECT_EQ(prompter.shown, std::vector<word::Message>{transposeError(GetParam().description)});
    EXPECT_FALSE(result.newCurrentKey);
    EXPECT_EQ(toNotation(*host.activeText()), "{b|C} {b|Bb}");
}

INSTANTIATE_TEST_SUITE_P(
    Failures,
    AnyFailureInThePass,
    testing::Values(
        FailureRow{"Host", std::make_exception_ptr(word::AutomationError("Disk full.")), "Disk full."},
        FailureRow{"OutOfMemory", std::make_exception_ptr(std::bad_alloc()), "Out of memory."},
        FailureRow{"Library", std::make_exception_ptr(std::length_error("pattern too long")), "pattern too long"},
        FailureRow{"NotAStandardException", std::make_exception_ptr(42), "Unknown error"}),
    testsupport::RowName());

TEST_F(TransposeTest, TheQuestionComesBeforeTheUndoStepOpens)
{
    open("A");
    host.setLogging(true);
    std::size_t callsWhenAsked = 0;
    prompter.onShow = [&](const word::Message &) {
        callsWhenAsked = host.callLog().size();
    };
    auto controls = boldControls();
    controls.font = {};
    run(controls);
    EXPECT_EQ(callsWhenAsked, 1u) << "only Documents.Count before the question";
    EXPECT_EQ(host.callLog().at(1), "Application.StartUndoGroup Name:=Transpose");
    EXPECT_EQ(sheet(), "B");
}

TEST_F(TransposeTest, NashvilleSheetToLetters)
{
    open("{b|1} {b|4/5} {b|6-7} {b|b7} {b|5sus4}");
    auto controls = boldControls();
    controls.nashvilleIn = 1;
    controls.currentKey = 0;
    controls.newKey = 10;
    controls.semiTones = "-2";
    const auto result = run(controls);
    EXPECT_EQ(sheet(), "{b|G} {b|C/D} {b|E-7} {b|F} {b|Dsus4}");
    EXPECT_EQ(result.newCurrentKey, 10);
}

} // namespace
