// The host's application side: documents, call log, fault injection, quit, undo, listeners.

#include "tests/support/hostfixture.h"
#include "word/replacetext.h"

#include <gtest/gtest.h>

using testsupport::SheetHost;
using word::AutomationError;
using word::builtin::Host;

namespace
{

const std::string noDocument = "This command is not available because no document is open.";

template<typename F> std::string errorOf(F &&f)
{
    try {
        f();
    } catch (const AutomationError &e) {
        return e.what();
    }
    return "no error";
}

TEST(Documents, CountOpenAndClose)
{
    Host host;
    EXPECT_EQ(host.DocumentsCount(), 0);
    host.open(word::builtin::fromNotation("one"), "first");
    host.open(word::builtin::fromNotation("two"), "second");
    EXPECT_EQ(host.DocumentsCount(), 2);
    EXPECT_EQ(host.activeName(), "second");
    host.closeActive();
    EXPECT_EQ(host.activeName(), "first");
    host.closeActive();
    host.closeActive();
    EXPECT_EQ(host.activeText(), nullptr);
}

TEST(Documents, NoDocumentErrors)
{
    Host host;
    EXPECT_EQ(errorOf([&] {
                  host.selection();
              }),
              noDocument);
    EXPECT_EQ(errorOf([&] {
                  host.activeDocument();
              }),
              noDocument);
}

TEST(Documents, HandleOutlivingItsDocumentFailsCleanly)
{
    SheetHost h("text");
    auto selection = h.host.selection();
    h.host.closeActive();
    EXPECT_EQ(errorOf([&] {
                  selection->Start();
              }),
              noDocument);
    EXPECT_EQ(errorOf([&] {
                  selection->find()->Execute(word::wdReplaceAll);
              }),
              noDocument);
}

TEST(CallLog, ReplaceTextWritesItsSettingsInOrder)
{
    SheetHost h("{#0000FF|Bb}");
    h.host.setLogging(true);
    word::ReplaceText(h.host, word::ChordFont{1, 1, 1, 0, 1, 255}, "Bb", "*:4:*", false);
    const std::vector<std::string> expected{
        "Find.ClearFormatting",
        "Find.Replacement.ClearFormatting",
        "Find.Text = Bb",
        "Find.Replacement.Text = *:4:*",
        "Find.Forward = True",
        "Find.Wrap = 1",
        "Find.Format = True",
        "Find.MatchCase = True",
        "Find.Font.Color = 255",
        "Find.Font.Bold = -1",
        "Find.Font.Underline = -1",
        "Find.MatchWholeWord = False",
        "Find.MatchWildcards = False",
        "Find.MatchSoundsLike = False",
        "Find.MatchAllWordForms = False",
        "Find.Execute Replace:=2",
    };
    EXPECT_EQ(h.host.callLog(), expected);
}

TEST(CallLog, ApplicationAndSelectionCalls)
{
    SheetHost h("a\nb\nc");
    h.host.setLogging(true);
    h.host.DocumentsCount();
    h.host.StartUndoGroup("Transpose");
    auto selection = h.host.selection();
    selection->MoveDown(word::wdLine, 1, word::wdExtend);
    selection->MoveLeft(word::wdCharacter, 1, std::nullopt);
    selection->Delete(word::wdCharacter, 1);
    selection->font(word::FontProperty::Color);
    h.host.EndUndoGroup();
    h.host.activeDocument()->FollowHyperlink("http://www.tonvale.example", true);
    h.host.ScreenRefresh();
    const std::vector<std::string> expected{
        "Documents.Count",
        "Application.StartUndoGroup Name:=Transpose",
        "Selection.MoveDown Unit:=5, Count:=1, Extend:=1",
        "Selection.MoveLeft Unit:=1, Count:=1",
        "Selection.Delete Unit:=1, Count:=1",
        "Selection.Font.Color",
        "Application.EndUndoGroup",
        "ActiveDocument.FollowHyperlink Address:=http://www.tonvale.example, NewWindow:=True",
        "Application.ScreenRefresh",
    };
    EXPECT_EQ(h.host.callLog(), expected);
}

TEST(Faults, FailOnNamedOperationLeavesEarlierSettings)
{
    SheetHost h("{b|A}");
    h.host.failOn("Find.Execute", "Word is busy.");
    EXPECT_EQ(errorOf([&] {
                  word::ReplaceText(h.host, word::ChordFont{}, "A", "B", false);
              }),
              "Word is busy.");
    EXPECT_EQ(h.sheet(), "{b|A}");
    h.host.clearFaults();
    h.host.selection()->find()->Execute(word::wdReplaceAll); // the settings made before the failure stay
    EXPECT_EQ(h.sheet(), "{b|B}");
}

TEST(Faults, FailAtTheNthCall)
{
    SheetHost h("A");
    h.host.failAtCall(3, "The remote procedure call failed.");
    EXPECT_NO_THROW(h.host.DocumentsCount());
    EXPECT_NO_THROW(h.host.ScreenRefresh());
    EXPECT_EQ(errorOf([&] {
                  h.host.DocumentsCount();
              }),
              "The remote procedure call failed.");
    EXPECT_NO_THROW(h.host.DocumentsCount());
}

TEST(Faults, FailingLinkOpener)
{
    SheetHost h("A");
    std::string opened;
    h.host.setLinkOpener([&](const std::string &address) {
        opened = address;
        return false;
    });
    EXPECT_NE(errorOf([&] {
                  h.host.activeDocument()->FollowHyperlink("http://x.example", true);
              }),
              "no error");
    EXPECT_EQ(opened, "http://x.example");
}

TEST(Quit, ClosesEveryDocumentAndRaisesTheEvent)
{
    SheetHost h("A");
    h.host.open(word::builtin::fromNotation("B"));
    int raised = 0;
    h.host.setQuitHandler([&] {
        ++raised;
    });
    h.host.Quit();
    EXPECT_EQ(h.host.quitCount(), 1);
    EXPECT_EQ(h.host.DocumentsCount(), 0);
    EXPECT_EQ(raised, 1);
}

TEST(Quit, UserQuitKeepsDocuments)
{
    SheetHost h("A");
    int raised = 0;
    h.host.setQuitHandler([&] {
        ++raised;
    });
    h.host.simulateUserQuit();
    EXPECT_EQ(raised, 1);
    EXPECT_EQ(h.host.quitCount(), 0);
    EXPECT_EQ(h.host.DocumentsCount(), 1);
}

TEST(Undo, OneStepPerReplaceAllOrGroup)
{
    SheetHost h("{b|A B}");
    const word::ChordFont bold{0, 1, 1, 0, 0, 0};
    word::ReplaceText(h.host, bold, "A", "C", false);
    word::ReplaceText(h.host, bold, "Z", "Y", false); // no match: no step
    {
        word::UndoGroup group(h.host, "Transpose");
        word::ReplaceText(h.host, bold, "B", "D", false);
        h.host.StartUndoGroup("inner");
        word::ReplaceText(h.host, bold, "C", "E", false);
        h.host.EndUndoGroup();
    }
    EXPECT_EQ(h.sheet(), "{b|E D}");
    EXPECT_TRUE(h.host.undo());
    EXPECT_EQ(h.sheet(), "{b|C B}");
    EXPECT_TRUE(h.host.undo());
    EXPECT_EQ(h.sheet(), "{b|A B}");
    EXPECT_FALSE(h.host.undo());
}

TEST(Listeners, ChangeFiresOncePerReplaceAll)
{
    SheetHost h("A A A");
    int changes = 0;
    h.host.setChangeListener([&] {
        ++changes;
    });
    word::ReplaceText(h.host, word::ChordFont{}, "A", "B", false);
    EXPECT_EQ(changes, 1);
}

} // namespace
