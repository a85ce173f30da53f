#include "prefs/chordfont.h"
#include "prefs/sample.h"
#include "tests/support/printers.h"
#include "tests/support/prompter.h"
#include "tests/support/rows.h"
#include "word/builtin/host.h"

#include <gtest/gtest.h>

namespace
{

using word::builtin::fromNotation;

const word::Message noSelection{"You must select a sample chord font before you can get the font parameters.",
                                "Warning",
                                word::Icon::Exclamation,
                                word::Buttons::Ok};
const word::Message multipleColors{"Could not determine color.  Multiple colors detected.",
                                   "Selection Error",
                                   word::Icon::Critical,
                                   word::Buttons::Ok};
const word::Message noColor{"Could not determine color.", "Warning", word::Icon::Exclamation, word::Buttons::Ok};

class GetFontParametersTest : public testing::Test
{
protected:
    /// Open notation and select [start, end).
    void open(const std::string &notation, int32_t start, int32_t end)
    {
        host.open(fromNotation(notation));
        host.setSelection(start, end);
    }
    prefs::SampleResult run()
    {
        return prefs::GetFontParameters(host, prompter);
    }

    word::builtin::Host host;
    testsupport::TestPrompter prompter;
};

TEST_F(GetFontParametersTest, NoDocumentShowsTheMessageOnly)
{
    host.setLogging(true);
    const auto result = run();
    EXPECT_EQ(prompter.shown, std::vector<word::Message>{word::noDocumentMessage(host.names())});
    EXPECT_EQ(result, prefs::SampleResult{});
    EXPECT_EQ(host.callLog(), std::vector<std::string>{"Documents.Count"});
}

TEST_F(GetFontParametersTest, InsertionPointWarnsAndChangesNothing)
{
    open("{b#FF0000|Am7}", 1, 1);
    const auto result = run();
    EXPECT_EQ(prompter.shown, std::vector<word::Message>{noSelection});
    EXPECT_EQ(result, prefs::SampleResult{});
}

TEST_F(GetFontParametersTest, ReadsInTheCommandsOrder)
{
    open("{b#FF0000|Am7}", 0, 3);
    host.setLogging(true);
    run();
    const std::vector<std::string> expected{"Documents.Count",
                                            "Selection.Start",
                                            "Selection.End",
                                            "Selection.Font.Bold",
                                            "Selection.Font.Italic",
                                            "Selection.Font.Underline",
                                            "Selection.Font.Color"};
    EXPECT_EQ(host.callLog(), expected);
}

struct SampleRow {
    const char *name;
    std::string notation; ///< the sample is the first three characters
    prefs::SampleResult expected;
};

class Sample : public GetFontParametersTest, public testing::WithParamInterface<SampleRow>
{
};

TEST_P(Sample, TakesStyleAndColour)
{
    const auto &row = GetParam();
    open(row.notation, 0, 3);
    const auto result = run();
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_EQ(result, row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows,
    Sample,
    testing::Values(SampleRow{"Red255", "{b#FF0000|Am7} la", {1, 0, 0, "255", "0", "0"}},
                    SampleRow{"Green255", "{i#00FF00|Am7} la", {0, 1, 0, "0", "255", "0"}},
                    SampleRow{"Blue255", "{u#0000FF|Am7} la", {0, 0, 1, "0", "0", "255"}},
                    SampleRow{"EachBoxItsByte", "{#563412|Am7} la", {0, 0, 0, "86", "52", "18"}},
                    SampleRow{"Black", "{bu#000000|Am7}", {1, 0, 1, "0", "0", "0"}},
                    SampleRow{"White", "{#FFFFFF|Am7}", {0, 0, 0, "255", "255", "255"}},
                    SampleRow{"PartlyBold", "{b#FF0000|Am}{#FF0000|7}", {0, 0, 0, "255", "0", "0"}},
                    SampleRow{"DoubleUnderline", "{u3#FF0000|Am7}", {0, 0, 0, "255", "0", "0"}},
                    SampleRow{"AllThree", "{biu#102030|Am7}", {1, 1, 1, "16", "32", "48"}}),
    testsupport::RowName());

TEST_F(GetFontParametersTest, AutomaticColourWarnsAfterTheStyleBoxes)
{
    open("{b|Am7}", 0, 3);
    const auto result = run();
    EXPECT_EQ(prompter.shown, std::vector<word::Message>{noColor});
    EXPECT_EQ(result, (prefs::SampleResult{1, 0, 0, {}, {}, {}}));
}

TEST_F(GetFontParametersTest, SeveralColoursAreASelectionError)
{
    open("{i#FF0000|Am}{i#00FF00|7}", 0, 3);
    const auto result = run();
    EXPECT_EQ(prompter.shown, std::vector<word::Message>{multipleColors});
    EXPECT_EQ(result.italic, 1);
    EXPECT_FALSE(result.red);
}

class ColourWithoutRgb : public GetFontParametersTest, public testing::WithParamInterface<int32_t>
{
};

TEST_P(ColourWithoutRgb, WarnsAndLeavesTheColourBoxes)
{
    open("{b|Am7}", 0, 3);
    word::builtin::CharFormat format;
    format.bold = true;
    format.color = GetParam();
    host.activeText()->setFormat(0, 3, format);
    const auto result = run();
    EXPECT_EQ(prompter.shown, std::vector<word::Message>{noColor});
    EXPECT_EQ(result, (prefs::SampleResult{1, 0, 0, {}, {}, {}}));
}

INSTANTIATE_TEST_SUITE_P(Values,
                         ColourWithoutRgb,
                         testing::Values(-738131969, -1, 16777216, 2147483647),
                         [](const auto &info) {
                             return info.param < 0 ? "Minus" + std::to_string(-static_cast<int64_t>(info.param))
                                                   : std::to_string(info.param);
                         });

TEST_F(GetFontParametersTest, BoldSampleChecksUseFontStyleThroughTheInterlock)
{
    open("{b#FF0000|Am7}", 0, 3);
    const auto result = run();
    ASSERT_TRUE(result.bold);
    // The window sets Bold as a click would: a change from 0 to 1 checks "Use Font Style:",
    // while Bold already checked is no change.
    EXPECT_EQ(prefs::interlockUseStyle(0, *result.bold, 0), 1);
    EXPECT_EQ(prefs::interlockUseStyle(1, *result.bold, 0), 0);
}

TEST_F(GetFontParametersTest, HostFailurePropagates)
{
    open("{b#FF0000|Am7}", 0, 3);
    host.failOn("Selection.Font.Color", "The object is gone.");
    EXPECT_THROW(run(), word::AutomationError);
    EXPECT_TRUE(prompter.shown.empty());
}

} // namespace
