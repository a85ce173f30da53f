#include "edit/combinelines.h"
#include "tests/support/calllogs.h"
#include "word/builtin/host.h"

#include <gtest/gtest.h>

namespace
{

using word::builtin::fromNotation;
using word::builtin::toNotation;

class CombineLinesTest : public testing::Test
{
protected:
    void open(const std::string &notation, int32_t caret = 0)
    {
        host.open(fromNotation(notation));
        host.setSelection(caret, caret);
    }
    std::string sheet() const
    {
        return toNotation(*host.activeText());
    }

    word::builtin::Host host;
};

TEST_F(CombineLinesTest, SeventeenStepsOnOneSelection)
{
    open("a\nb\nc\nd\ne");
    host.setLogging(true);
    edit::CombineLines(host);
    const testsupport::Log expected{"Application.StartUndoGroup Name:=Combine Lines",
                                    "Selection.MoveDown Unit:=5, Count:=2",
                                    "Selection.MoveDown Unit:=5, Count:=1, Extend:=1",
                                    "Selection.MoveLeft Unit:=1, Count:=1, Extend:=1",
                                    "Selection.Cut",
                                    "Selection.MoveUp Unit:=5, Count:=1",
                                    "Selection.MoveLeft Unit:=1, Count:=1",
                                    "Selection.PasteAndFormat Type:=0",
                                    "Selection.MoveRight Unit:=1, Count:=1",
                                    "Selection.MoveDown Unit:=5, Count:=1",
                                    "Selection.Delete Unit:=1, Count:=1",
                                    "Selection.MoveDown Unit:=5, Count:=1, Extend:=1",
                                    "Selection.MoveLeft Unit:=1, Count:=1, Extend:=1",
                                    "Selection.Cut",
                                    "Selection.MoveLeft Unit:=1, Count:=1",
                                    "Selection.PasteAndFormat Type:=0",
                                    "Selection.MoveRight Unit:=1, Count:=1",
                                    "Selection.Delete Unit:=1, Count:=1",
                                    "Application.EndUndoGroup"};
    EXPECT_EQ(testsupport::operations(host.callLog()), expected);
}

TEST_F(CombineLinesTest, OneUndoRestoresTheLines)
{
    open("C   G\nfirst half\nD   A\nsecond half\nnext");
    edit::CombineLines(host);
    ASSERT_TRUE(host.undo());
    EXPECT_EQ(sheet(), "C   G\nfirst half\nD   A\nsecond half\nnext");
}

TEST_F(CombineLinesTest, FiveLinesBecomeThree)
{
    open("C   G\nfirst half\nD   A\nsecond half\nnext");
    edit::CombineLines(host);
    EXPECT_EQ(sheet(), "C   GD   A\nfirst halfsecond half\nnext");
    const int32_t lineThree = static_cast<int32_t>(std::string("C   GD   A\nfirst halfsecond half\n").size());
    EXPECT_EQ(host.selectionStart(), lineThree);
    EXPECT_EQ(host.selectionEnd(), lineThree);
}

TEST_F(CombineLinesTest, MovedChordsKeepTheirFont)
{
    open("{b#FF0000|C}   {b|G}\nfirst half\n{b#FF0000|D}   {bu|A}\nsecond {i|half}\nnext");
    edit::CombineLines(host);
    EXPECT_EQ(sheet(), "{b#FF0000|C}   {b|G}{b#FF0000|D}   {bu|A}\nfirst halfsecond {i|half}\nnext");
}

TEST_F(CombineLinesTest, LineBreaksCountAsLineEnds)
{
    open("C\vwords\vD\vmore\nnext");
    edit::CombineLines(host);
    EXPECT_EQ(sheet(), "CD\vwordsmore\vnext");
}

TEST_F(CombineLinesTest, TwoClicksCombineEightLines)
{
    open("C\none\nD\ntwo\nE\nthree\nF\nfour\nend");
    edit::CombineLines(host);
    edit::CombineLines(host);
    EXPECT_EQ(sheet(), "CD\nonetwo\nEF\nthreefour\nend");
}

TEST_F(CombineLinesTest, ClipboardHoldsTheFormerLineFour)
{
    open("C\none\nD\n{b|two}\nnext");
    edit::CombineLines(host);
    host.selection()->PasteAndFormat(word::wdPasteDefault);
    EXPECT_EQ(sheet(), "CD\none{b|two}\n{b|two}next");
}

TEST_F(CombineLinesTest, NoDocumentFailsUntrapped)
{
    EXPECT_THROW(edit::CombineLines(host), word::AutomationError);
}

TEST_F(CombineLinesTest, FailureBetweenCutAndPasteTakesTheCutBack)
{
    open("a\nb\nc\nd\ne");
    host.failOn("Selection.PasteAndFormat", "Paste failed.");
    EXPECT_THROW(edit::CombineLines(host), word::AutomationError);
    EXPECT_EQ(sheet(), "a\nb\nc\nd\ne");
    host.clearFaults();
    host.setSelection(0, 0);
    host.selection()->PasteAndFormat(word::wdPasteDefault); // the cut text is still on the clipboard
    EXPECT_EQ(sheet(), "ca\nb\nc\nd\ne");
}

} // namespace
