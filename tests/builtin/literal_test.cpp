// Literal Replace-All through the automation interface: case, font criteria, formatting rules.

#include "tests/support/chordrows.h"
#include "tests/support/hostfixture.h"
#include "word/replacetext.h"

#include <gtest/gtest.h>

using testsupport::SheetHost;
using word::FontProperty;

namespace
{

constexpr int32_t red = 0x0000FF;

// The rows are the LibreOffice Writer host's too: both hosts must give the same sheets.
class LiteralReplace : public testing::TestWithParam<testsupport::ReplaceTextRow>
{
};

TEST_P(LiteralReplace, GivesTheExpectedSheet)
{
    const auto &row = GetParam();
    SheetHost h(row.before);
    word::ReplaceText(h.host, row.font, row.find, row.replacement, false);
    EXPECT_EQ(h.sheet(), row.after);
}

INSTANTIATE_TEST_SUITE_P(Rows,
                         LiteralReplace,
                         testing::ValuesIn(testsupport::replaceTextRows()),
                         testsupport::RowName());

TEST(LiteralReplace, MatchCaseFalseIgnoresCase)
{
    SheetHost h("Dm dm DM");
    testsupport::runReplace(h.host, {"dm", "X", false, false, true, {}, {}});
    EXPECT_EQ(h.sheet(), "X X X");
}

TEST(LiteralReplace, ExecuteTellsWhetherAnythingMatched)
{
    SheetHost h("{b|G} C");
    EXPECT_TRUE(testsupport::runReplace(h.host, {"C", "D", false, true, true, {}, {}}));
    EXPECT_FALSE(testsupport::runReplace(h.host, {"F#", "G", false, true, true, {}, {}}));
}

TEST(LiteralReplace, FinalParagraphMarkIsNeverDeleted)
{
    SheetHost h("a\nb");
    testsupport::runReplace(h.host, {"\r", "", false, true, true, {}, {}});
    EXPECT_EQ(h.sheet(), "ab");
    EXPECT_EQ(h.host.activeText()->length(), 3u);
    testsupport::runReplace(h.host, {"b\r", "", false, true, true, {}, {}});
    EXPECT_EQ(h.sheet(), "a");
    EXPECT_EQ(h.host.activeText()->text(), U"a\r");
}

struct FormatRow {
    const char *name;
    const char *sheet;
    testsupport::ReplaceCall call;
    const char *expected;
};

class FormattingRules : public testing::TestWithParam<FormatRow>
{
};

TEST_P(FormattingRules, GivesTheExpectedSheet)
{
    SheetHost h(GetParam().sheet);
    testsupport::runReplace(h.host, GetParam().call);
    EXPECT_EQ(h.sheet(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows,
    FormattingRules,
    testing::Values(
        FormatRow{"EmptyWithFormattingChangesFormatOnly",
                  "{i|Am}{u|7} Am",
                  {"Am7", "", false, true, true, {}, {{FontProperty::Bold, -1}}},
                  "{bi|Am}{bu|7} Am"},
        FormatRow{"ReplacementFontOnTopOfFirstCharacter",
                  "{i|A}{u|m} x",
                  {"Am", "Bm", false, true, true, {}, {{FontProperty::Color, red}}},
                  "{i#FF0000|Bm} x"},
        FormatRow{"FormatFalseIgnoresCriteriaAndChanges",
                  "{b|A} A",
                  {"A", "B", false, true, false, {{FontProperty::Bold, -1}}, {{FontProperty::Italic, -1}}},
                  "{b|B} B"},
        FormatRow{"FormatFalseEmptyReplacementDeletes",
                  "{b|A}x",
                  {"A", "", false, true, false, {}, {{FontProperty::Italic, -1}}},
                  "x"},
        FormatRow{"BoldFalseCriterion",
                  "{b|A} A",
                  {"A", "B", false, true, true, {{FontProperty::Bold, 0}}, {}},
                  "{b|A} B"},
        FormatRow{"UnderlineTrueIsSingle",
                  "{u|A} {u3|A}",
                  {"A", "B", false, true, true, {{FontProperty::Underline, -1}}, {}},
                  "{u|B} {u3|A}"},
        FormatRow{"ReplacementUnderlineTrueIsSingle",
                  "A",
                  {"A", "", false, true, true, {}, {{FontProperty::Underline, -1}}},
                  "{u|A}"},
        FormatRow{"ReplacementNotBold", "{b|A}", {"A", "", false, true, true, {}, {{FontProperty::Bold, 0}}}, "A"}),
    testsupport::RowName());

TEST(FindSettings, ClearFormattingLeavesNoCriterion)
{
    SheetHost h("{b|A} A");
    auto find = h.host.selection()->find();
    find->setFont(FontProperty::Bold, -1);
    find->ClearFormatting();
    find->setText("A");
    find->setReplacementText("B");
    find->setFormat(true);
    find->setMatchCase(true);
    find->Execute(word::wdReplaceAll);
    EXPECT_EQ(h.sheet(), "{b|B} B");
}

TEST(FindSettings, SettingsOutliveTheHandle)
{
    SheetHost h("{b|A} A");
    {
        auto find = h.host.selection()->find();
        find->setText("A");
        find->setReplacementText("C");
        find->setFormat(true);
        find->setFont(FontProperty::Bold, -1);
    }
    h.host.selection()->find()->Execute(word::wdReplaceAll);
    EXPECT_EQ(h.sheet(), "{b|C} A");
}

} // namespace
