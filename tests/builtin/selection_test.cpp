// The selection: font readings, moves, cut, paste, delete and undo, and the line-joining sequence
// of moves that the Combine Lines command makes.

#include "tests/support/hostfixture.h"
#include "tests/support/rows.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

using testsupport::SheetHost;
using word::FontProperty;
using word::wdCharacter;
using word::wdExtend;
using word::wdLine;

namespace
{

struct FontRow {
    const char *name;
    const char *sheet;
    int32_t start;
    int32_t end;
    FontProperty property;
    int32_t expected;
};

class FontReading : public testing::TestWithParam<FontRow>
{
};

TEST_P(FontReading, ReadsTheSelection)
{
    const FontRow &row = GetParam();
    SheetHost h(row.sheet);
    h.host.setSelection(row.start, row.end);
    EXPECT_EQ(h.host.selection()->font(row.property), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows,
    FontReading,
    testing::Values(FontRow{"AllBold", "{b|Am7} x", 0, 3, FontProperty::Bold, -1},
                    FontRow{"NoneBold", "{i|Am7} x", 0, 3, FontProperty::Bold, 0},
                    FontRow{"MixedBold", "{b|Am}7", 0, 3, FontProperty::Bold, word::wdUndefined},
                    FontRow{"ItalicAll", "{i|G}", 0, 1, FontProperty::Italic, -1},
                    FontRow{"UnderlineStyle", "{u3|G}", 0, 1, FontProperty::Underline, 3},
                    FontRow{"UnderlineMixed", "{u|G}{u3|D}", 0, 2, FontProperty::Underline, word::wdUndefined},
                    FontRow{"ColourRgb", "{#FF8000|G}", 0, 1, FontProperty::Color, 0x0080FF},
                    FontRow{"ColourAutomatic", "G", 0, 1, FontProperty::Color, word::wdColorAutomatic},
                    FontRow{"ColourMixed", "{#FF0000|G}D", 0, 2, FontProperty::Color, word::wdUndefined},
                    FontRow{"InsertionPointReadsBefore", "{b|G}D", 1, 1, FontProperty::Bold, -1},
                    FontRow{"InsertionPointAtStartReadsAfter", "{b|G}D", 0, 0, FontProperty::Bold, -1}),
    testsupport::RowName());

// One Move call and what it gives: the count it reports and the selection after it.
struct Step {
    int32_t (word::Selection::*move)(int32_t, int16_t, std::optional<int32_t>);
    int32_t unit;
    int16_t count;
    std::optional<int32_t> extend;
    int32_t moved;
    int32_t start, end;
};

constexpr auto left = &word::Selection::MoveLeft;
constexpr auto right = &word::Selection::MoveRight;
constexpr auto up = &word::Selection::MoveUp;
constexpr auto down = &word::Selection::MoveDown;

struct MoveRow {
    const char *name;
    const char *sheet;
    int32_t start, end; ///< the selection before the first step
    std::vector<Step> steps;
};

class Moves : public testing::TestWithParam<MoveRow>
{
};

TEST_P(Moves, EachStepMovesAndCounts)
{
    const MoveRow &row = GetParam();
    SheetHost h(row.sheet);
    h.host.setSelection(row.start, row.end);
    auto s = h.host.selection();
    for (std::size_t i = 0; i < row.steps.size(); ++i) {
        const Step &step = row.steps[i];
        SCOPED_TRACE("step " + std::to_string(i + 1));
        EXPECT_EQ(((*s).*step.move)(step.unit, step.count, step.extend), step.moved);
        EXPECT_EQ(s->Start(), step.start);
        EXPECT_EQ(s->End(), step.end);
    }
}

const auto none = std::nullopt;

INSTANTIATE_TEST_SUITE_P(
    Rows,
    Moves,
    testing::Values(MoveRow{"CharactersStopAtTheEdges",
                            "ab",
                            0,
                            0,
                            {{left, wdCharacter, 1, none, 0, 0, 0},
                             {right, wdCharacter, 5, none, 2, 2, 2}, // not past the final mark
                             {right, wdCharacter, 1, none, 0, 2, 2},
                             {left, wdCharacter, 1, wdExtend, 1, 1, 2}}},
                    // A selection collapses first: to its start going left, to its end going right.
                    MoveRow{"LeftCollapsesToTheStart", "abcdef", 2, 4, {{left, wdCharacter, 1, none, 1, 2, 2}}},
                    MoveRow{"RightCollapsesToTheEnd", "abcdef", 2, 4, {{right, wdCharacter, 2, none, 2, 5, 5}}},
                    MoveRow{"ExtendMovesOnlyTheActiveEnd",
                            "abcdef",
                            3,
                            3,
                            {{right, wdCharacter, 2, wdExtend, 2, 3, 5},
                             {left, wdCharacter, 4, wdExtend, 4, 1, 3}}}, // crosses the anchor
                    MoveRow{"LinesKeepThePreferredColumn",
                            "abcdef\nab\vabcdef\nxyz",
                            5,
                            5,
                            {{down, wdLine, 1, none, 1, 9, 9}, // the end of "ab"
                             {down, wdLine, 1, none, 1, 15, 15}, // column 5 again, after the line break
                             {down, wdLine, 5, none, 1, 20, 20}, // the end of the last line
                             {down, wdLine, 1, none, 0, 20, 20},
                             {up, wdLine, 9, none, 3, 5, 5},
                             {up, wdLine, 1, none, 0, 5, 5}}}),
    testsupport::RowName());

TEST(Moves, BadUnitIsRefused)
{
    SheetHost h("ab");
    EXPECT_THROW(h.host.selection()->MoveDown(wdCharacter, 1, std::nullopt), word::AutomationError);
    EXPECT_THROW(h.host.selection()->MoveLeft(wdCharacter, 1, 7), word::AutomationError);
}

TEST(Editing, CutAndPasteKeepFormatting)
{
    SheetHost h("{b#FF0000|G}  D\nlyric");
    h.host.setSelection(0, 3);
    auto s = h.host.selection();
    s->Cut();
    EXPECT_EQ(h.sheet(), "D\nlyric");
    EXPECT_EQ(s->Start(), 0);
    h.host.setSelection(7, 7);
    s->PasteAndFormat(word::wdPasteDefault);
    EXPECT_EQ(h.sheet(), "D\nlyric{b#FF0000|G}  ");
    EXPECT_EQ(s->Start(), 10);
}

TEST(Editing, PasteReplacesTheSelection)
{
    SheetHost h("abc xyz");
    h.host.setSelection(0, 1);
    h.host.selection()->Cut();
    h.host.setSelection(3, 6);
    h.host.selection()->PasteAndFormat(0);
    EXPECT_EQ(h.sheet(), "bc a");
}

TEST(Editing, DeleteNeverTakesTheFinalMark)
{
    SheetHost h("ab");
    h.host.setSelection(1, 1);
    auto s = h.host.selection();
    EXPECT_EQ(s->Delete(wdCharacter, 1), 1);
    EXPECT_EQ(s->Delete(wdCharacter, 1), 0);
    EXPECT_EQ(h.sheet(), "a");
    h.host.setSelection(0, 2);
    EXPECT_EQ(s->Delete(wdCharacter, 1), 1);
    EXPECT_EQ(h.sheet(), "");
    EXPECT_EQ(h.host.activeText()->length(), 1u);
}

TEST(Editing, UndoRestoresTextAndSelection)
{
    SheetHost h("{b|G} lyric");
    h.host.setSelection(0, 2);
    h.host.selection()->Cut();
    EXPECT_TRUE(h.host.undo());
    EXPECT_EQ(h.sheet(), "{b|G} lyric");
    EXPECT_EQ(h.host.selectionStart(), 0);
    EXPECT_EQ(h.host.selectionEnd(), 2);
}

// The seventeen selection steps of one Combine Lines click.
void combineLines(word::Application &app)
{
    auto s = app.selection();
    s->MoveDown(wdLine, 2, std::nullopt);
    s->MoveDown(wdLine, 1, wdExtend);
    s->MoveLeft(wdCharacter, 1, wdExtend);
    s->Cut();
    s->MoveUp(wdLine, 1, std::nullopt);
    s->MoveLeft(wdCharacter, 1, std::nullopt);
    s->PasteAndFormat(0);
    s->MoveRight(wdCharacter, 1, std::nullopt);
    s->MoveDown(wdLine, 1, std::nullopt);
    s->Delete(wdCharacter, 1);
    s->MoveDown(wdLine, 1, wdExtend);
    s->MoveLeft(wdCharacter, 1, wdExtend);
    s->Cut();
    s->MoveLeft(wdCharacter, 1, std::nullopt);
    s->PasteAndFormat(0);
    s->MoveRight(wdCharacter, 1, std::nullopt);
    s->Delete(wdCharacter, 1);
}

TEST(CombineLines, FiveLines)
{
    SheetHost h("C   G\nfirst half\nD   A\nsecond half\nnext");
    combineLines(h.host);
    EXPECT_EQ(h.sheet(), "C   GD   A\nfirst halfsecond half\nnext");
    EXPECT_EQ(h.host.selectionStart(), 33); // the start of "next"
    EXPECT_EQ(h.host.selectionEnd(), 33);
}

TEST(CombineLines, FormattingTravelsAndClicksRepeat)
{
    SheetHost h("{b|C}\none\n{b#FF0000|D}\vtwo\n{b|E}\nthree\n{b|F}\nfour\nend");
    combineLines(h.host);
    combineLines(h.host);
    EXPECT_EQ(h.sheet(), "{b|C}{b#FF0000|D}\nonetwo\n{b|EF}\nthreefour\nend");
    h.host.setSelection(0, 0);
    h.host.selection()->PasteAndFormat(0);
    EXPECT_EQ(h.sheet(), "four{b|C}{b#FF0000|D}\nonetwo\n{b|EF}\nthreefour\nend"); // line 4 on the clipboard
}

TEST(CombineLines, FourthLineIsTheLast)
{
    SheetHost h("C\none\nD\ntwo");
    combineLines(h.host);
    // Extending down from the last line takes it whole; its final mark stays as an empty paragraph.
    EXPECT_EQ(h.sheet(), "CD\nonetwo\n");
}

TEST(Moves, ExtendingPastTheLastLineReachesTheEnd)
{
    SheetHost h("ab\ncd");
    h.host.setSelection(4, 4);
    auto s = h.host.selection();
    EXPECT_EQ(s->MoveDown(wdLine, 1, wdExtend), 0);
    EXPECT_EQ(s->End(), 6);
    EXPECT_EQ(s->MoveUp(wdLine, 3, wdExtend), 1);
    EXPECT_EQ(s->Start(), 0);
    EXPECT_EQ(s->End(), 4);
}

} // namespace
