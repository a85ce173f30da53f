// Literal Replace-All through the automation interface: case, font criteria, formatting rules.

#include "tests/support/hostfixture.h"
#include "tests/support/rows.h"
#include "word/replacetext.h"

#include <gtest/gtest.h>

using testsupport::SheetHost;
using word::ChordFont;
using word::FontProperty;

namespace
{

constexpr int32_t red = 0x0000FF;

ChordFont chordFont(bool useColor, bool useStyle, bool bold, bool italic, bool underline)
{
    return ChordFont{useColor, useStyle, bold, italic, underline, red};
}

struct LiteralRow {
    const char *name;
    const char *sheet;
    ChordFont font;
    const char *find;
    const char *replacement;
    const char *expected;
};

class LiteralReplace : public testing::TestWithParam<LiteralRow>
{
};

TEST_P(LiteralReplace, GivesTheExpectedSheet)
{
    const LiteralRow &row = GetParam();
    SheetHost h(row.sheet);
    word::ReplaceText(h.host, row.font, row.find, row.replacement, false);
    EXPECT_EQ(h.sheet(), row.expected);
}

const ChordFont none = chordFont(0, 0, 0, 0, 0);
const ChordFont boldFont = chordFont(0, 1, 1, 0, 0);
const ChordFont redFont = chordFont(1, 0, 0, 0, 0);

INSTANTIATE_TEST_SUITE_P(
    Rows,
    LiteralReplace,
    testing::Values(
        LiteralRow{"NoCriteriaReplacesLyricsToo", "{b|D}  A\nDear Dad", none, "D", "X", "{b|X}  A\nXear Xad"},
        LiteralRow{"StyleWithoutBoxesAddsNothing", "{b|D} D", chordFont(0, 1, 0, 0, 0), "D", "E", "{b|E} E"},
        LiteralRow{"StyleOffIgnoresBold", "{b|D} {#FF0000|D}", chordFont(1, 0, 1, 0, 0), "D", "E", "{b|D} {#FF0000|E}"},
        LiteralRow{"BoldUnderlineAndColourAllNeeded",
                   "{bu#FF0000|D} {b#FF0000|D} {bu|D} {biu#FF0000|D}",
                   chordFont(1, 1, 1, 0, 1),
                   "D",
                   "E",
                   "{bu#FF0000|E} {b#FF0000|D} {bu|D} {biu#FF0000|E}"},
        LiteralRow{"OnlyInLyricsLeavesSheet",
                   "{b|G}\nDown by the river",
                   boldFont,
                   "D",
                   "X",
                   "{b|G}\nDown by the river"},
        LiteralRow{"CaseIsExact", "{b|Ebm B b}", boldFont, "B", "C", "{b|Ebm C b}"},
        LiteralRow{"InsideLongerWords", "{b|Dm7 Dsus4}", boldFont, "D", "E", "{b|Em7 Esus4}"},
        LiteralRow{"MarkerIsLiteral", "{b|*:11:* *:1:*}", boldFont, "*:1:*", "A", "{b|*:11:* A}"},
        LiteralRow{"ReplacementKeepsFormat",
                   "{b#FF0000|Bb}m {b|Bb}",
                   boldFont,
                   "Bb",
                   "*:2:*",
                   "{b#FF0000|*:2:*}m {b|*:2:*}"},
        LiteralRow{"MixedMatchNeedsEveryCharacter", "{b|B}b {b|Bb}", boldFont, "Bb", "X", "{b|B}b {b|X}"},
        LiteralRow{"ColourCriterion", "{#FF0000|C} {#00FF00|C} C", redFont, "C", "D", "{#FF0000|D} {#00FF00|C} C"},
        LiteralRow{"NoOverlapLeftToRight", "{b|aaaa}", boldFont, "aa", "b", "{b|bb}"},
        LiteralRow{"ReplacedTextNotSearchedAgain", "{b|A}", boldFont, "A", "AA", "{b|AA}"},
        LiteralRow{"EmptyReplacementDeletes", "{b|G7} x", boldFont, "7", "", "{b|G} x"},
        LiteralRow{"UnicodeText", "{b|Ré♯ ré♯}", boldFont, "é♯", "e#", "{b|Re# re#}"}),
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
