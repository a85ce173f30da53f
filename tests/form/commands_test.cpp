// The commands run by the form, end to end on the built-in host, with every message they show.

#include "formfixture.h"
#include "tests/support/rows.h"

namespace
{

class CommandsTest : public FormTest
{
protected:
    void SetUp() override
    {
        load();
    }
};

TEST_F(CommandsTest, TransposeCToDMovesEveryChordAndLeavesLyrics)
{
    openSheet("{b|C}    {b|G7}  {b|Am}  {b|F/C}\nChorus: Clear Grace Alone\n{b|Bb}");
    view.click(Control::Check1);
    chooseKeys(3, 5);
    ASSERT_EQ(view.text(Control::Text4), "2");
    view.click(Control::Command2);
    EXPECT_EQ(sheet(), "{b|D}    {b|A7}  {b|Bm}  {b|G/D}\nChorus: Clear Grace Alone\n{b|C}");
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_EQ(view.text(Control::Combo1), "D");
    EXPECT_EQ(view.text(Control::Text4), "0");
}

TEST_F(CommandsTest, TransposeTakesColourSharpsAndATypedShiftFromTheControls)
{
    openSheet("{#FF0000|A}  {#FF0000|C}");
    view.click(Control::Check3);
    view.type(Control::Text1, "255");
    view.type(Control::Text2, "0");
    view.type(Control::Text3, "0");
    view.click(Control::Option1);
    chooseKeys(0, 2);
    view.type(Control::Text4, "1");
    view.click(Control::Command2);
    EXPECT_EQ(sheet(), "{#FF0000|A#}  {#FF0000|C#}");
    EXPECT_EQ(form.chordColor(), 255);
    EXPECT_TRUE(form.useSharps());
}

TEST_F(CommandsTest, KeepChordColumnsKeepsTheChordsOverTheirSyllables)
{
    const std::string before = "{b|Em}        {b|D}\nAmazing   grace";
    openSheet(before);
    view.click(Control::Check1);
    view.click(Control::Option1);
    chooseKeys(5, 7); // D to E: +2
    view.click(Control::Command2);
    EXPECT_EQ(sheet(), "{b|F#m}        {b|E}\nAmazing   grace"); // unchecked at first start: as before

    openSheet(before);
    view.click(Control::Check8);
    chooseKeys(5, 7);
    view.click(Control::Command2);
    EXPECT_EQ(sheet(), "{b|F#m}       {b|E}\nAmazing   grace");
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(CommandsTest, TransposeInAndOutOfNashvilleNumbers)
{
    openSheet("{b|1}  {b|4/5}  {b|6m}");
    view.click(Control::Check1);
    view.click(Control::Check5);
    view.choose(Control::Combo2, 10); // G
    view.click(Control::Command2);
    EXPECT_EQ(sheet(), "{b|G}  {b|C/D}  {b|Em}");
    EXPECT_TRUE(prompter.shown.empty());

    view.click(Control::Check6); // back to numbers of G
    view.choose(Control::Combo1, 10);
    view.click(Control::Command2);
    EXPECT_EQ(sheet(), "{b|1}  {b|4/5}  {b|6m}");
}

struct MessageRow {
    const char *name;
    bool document;
    int current, target;
    const char *expected; // "title: text"; nullptr: the host's no-document message
};

class TransposeMessageTest : public CommandsTest, public ::testing::WithParamInterface<MessageRow>
{
};

TEST_P(TransposeMessageTest, ShowsOnlyTheFirstFailingCheck)
{
    if (GetParam().document) {
        openSheet("{b|C}");
    }
    chooseKeys(GetParam().current, GetParam().target);
    view.click(Control::Command2);
    const word::Message noDocument = word::noDocumentMessage(host->names());
    const std::string expected = GetParam().expected ? GetParam().expected : noDocument.title + ": " + noDocument.text;
    EXPECT_EQ(shown(), std::vector<std::string>{expected});
    EXPECT_EQ(prompter.shown.at(0).icon, word::Icon::Critical);
    EXPECT_EQ(view.listIndex(Control::Combo1), GetParam().current);
}

INSTANTIATE_TEST_SUITE_P(
    Checks,
    TransposeMessageTest,
    ::testing::Values(MessageRow{"no_document_no_keys", false, -1, -1, nullptr},
                      MessageRow{"no_keys", true, -1, -1, "Transpose Error: You must set the current key"},
                      MessageRow{"no_current_key", true, -1, 4, "Transpose Error: You must set the current key"},
                      MessageRow{"no_new_key", true, 4, -1, "Transpose Error: You must set the new key"}),
    testsupport::RowName());

TEST_F(CommandsTest, DecliningTheConfirmationChangesNothingButTheCurrentKey)
{
    openSheet("C G");
    chooseKeys(3, 5);
    prompter.answer = word::Answer::No;
    view.click(Control::Command2);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].buttons, word::Buttons::YesNoDefaultNo);
    EXPECT_EQ(prompter.shown[0].icon, word::Icon::Question);
    EXPECT_EQ(sheet(), "C G");
    EXPECT_EQ(view.listIndex(Control::Combo1), 5);
    EXPECT_EQ(view.text(Control::Text4), "0");
}

TEST_F(CommandsTest, AcceptingTheConfirmationTransposesEverything)
{
    openSheet("C G");
    chooseKeys(3, 5);
    prompter.answer = word::Answer::Yes;
    view.click(Control::Command2);
    EXPECT_EQ(sheet(), "D A");
}

TEST_F(CommandsTest, ABadColourBoxIsAnErrorAndChangesNothing)
{
    openSheet("{b|C}");
    view.click(Control::Check1);
    view.type(Control::Text1, "300");
    chooseKeys(3, 5);
    view.click(Control::Command2);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].title, "Error");
    EXPECT_NE(prompter.shown[0].text.find("Red"), std::string::npos);
    EXPECT_EQ(sheet(), "{b|C}");
    EXPECT_EQ(view.listIndex(Control::Combo1), 3);
    EXPECT_TRUE(view.programEnds.empty());
}

TEST_F(CommandsTest, AHostFailureDuringThePassIsATransposeError)
{
    openSheet("{b|C}");
    view.click(Control::Check1);
    chooseKeys(3, 5);
    host->failOn("Find.Execute", "The document is locked.");
    view.click(Control::Command2);
    EXPECT_EQ(shown(), std::vector<std::string>{"Transpose Error: The document is locked."});
    EXPECT_EQ(view.listIndex(Control::Combo1), 3);
    EXPECT_TRUE(view.programEnds.empty());
}

TEST_F(CommandsTest, FindChordsMarksChordShapedText)
{
    openSheet("G  Am7  D/F#\nSweet grace");
    view.click(Control::Check1);
    view.click(Control::Command6);
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_EQ(sheet(), "{b|G}  {b|Am7}  {b|D}/{b|F#}\nSweet grace");
}

TEST_F(CommandsTest, AMarkedPlainSheetTransposesAndItsLyricsStay)
{
    openSheet("G  Am7  D/F#\nSweet grace, how sweet");
    view.click(Control::Check1);
    view.click(Control::Command6);
    chooseKeys(10, 0); // G to A
    view.click(Control::Command2);
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_EQ(sheet(), "{b|A}  {b|Bm7}  {b|E}/{b|Ab}\nSweet grace, how sweet");
}

TEST_F(CommandsTest, CommandsOnNoDocumentSaySo)
{
    for (const Control button : {Control::Command1, Control::Command2, Control::Command6}) {
        prompter.shown.clear();
        view.click(button);
        EXPECT_EQ(prompter.shown, std::vector<word::Message>{word::noDocumentMessage(host->names())})
            << form::spec(button).name;
    }
}

TEST_F(CommandsTest, FontParametersFromASampleTickTheStyleBoxThroughTheInterlock)
{
    openSheet("{bu#563412|Am7} lyrics");
    host->setSelection(0, 3);
    view.click(Control::Command1);
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_EQ(view.value(Control::Check1), 1);
    EXPECT_EQ(view.value(Control::Check2), 0);
    EXPECT_EQ(view.value(Control::Check7), 1);
    EXPECT_EQ(view.value(Control::Check4), 1);
    EXPECT_EQ(view.value(Control::Check3), 0);
    EXPECT_EQ(view.text(Control::Text1), "86");
    EXPECT_EQ(view.text(Control::Text2), "52");
    EXPECT_EQ(view.text(Control::Text3), "18");
}

TEST_F(CommandsTest, FontParametersNeedASelection)
{
    openSheet("{b|Am7} lyrics");
    view.click(Control::Command1);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].title, "Warning");
    EXPECT_EQ(view.value(Control::Check1), 0);
}

TEST_F(CommandsTest, CombineLinesJoinsTheNextFourLines)
{
    openSheet("C   G\nfirst half\nD   A\nsecond half\nnext");
    view.click(Control::Command7);
    EXPECT_EQ(sheet(), "C   GD   A\nfirst halfsecond half\nnext");
}

TEST_F(CommandsTest, SavePreferencesWritesTheTenKeys)
{
    view.click(Control::Check1);
    view.type(Control::Text1, "12");
    view.click(Control::Option1);
    view.click(Control::Check8);
    view.click(Control::Command8);
    EXPECT_EQ(store.written,
              (std::vector<std::string>{"Use Font Style",
                                        "Bold",
                                        "Italics",
                                        "Underline",
                                        "Use Font Color",
                                        "Red",
                                        "Green",
                                        "Blue",
                                        "Accidentals",
                                        "Keep Columns"}));
    EXPECT_EQ(store.values["Bold"], "1");
    EXPECT_EQ(store.values["Use Font Style"], "1");
    EXPECT_EQ(store.values["Red"], "12");
    EXPECT_EQ(store.values["Accidentals"], "1");
    EXPECT_EQ(store.values["Keep Columns"], "1");
    EXPECT_TRUE(prompter.shown.empty());
}

struct LinkRow {
    const char *name;
    form::Control control;
    const char *path; // after the home page
};

class LinkTest : public CommandsTest, public ::testing::WithParamInterface<LinkRow>
{
protected:
    std::string address() const
    {
        return view.text(Control::Label11) + GetParam().path;
    }
};

TEST_P(LinkTest, OpensItsAddressThroughTheDocument)
{
    openSheet("text");
    std::vector<std::string> opened;
    host->setLinkOpener([&opened](const std::string &address) {
        opened.push_back(address);
        return true;
    });
    view.click(GetParam().control);
    EXPECT_EQ(opened, std::vector<std::string>{address()});
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_EQ(sheet(), "text");
}

TEST_P(LinkTest, WithoutADocumentSaysCannotOpen)
{
    view.click(GetParam().control);
    const word::Message expected{"Cannot open " + address(), "Tonvale", word::Icon::None, word::Buttons::Ok};
    EXPECT_EQ(prompter.shown, std::vector<word::Message>{expected});
    EXPECT_TRUE(view.programEnds.empty());
}

TEST_P(LinkTest, ABrowserThatFailsSaysCannotOpen)
{
    openSheet("text");
    host->setLinkOpener([](const std::string &) {
        return false;
    });
    view.click(GetParam().control);
    EXPECT_EQ(shown(), std::vector<std::string>{"Tonvale: Cannot open " + address()});
}

INSTANTIATE_TEST_SUITE_P(Links,
                         LinkTest,
                         ::testing::Values(LinkRow{"logo", form::Control::Image1, ""},
                                           LinkRow{"address", form::Control::Label11, ""},
                                           LinkRow{"help", form::Control::Command4, "/transposer.shtml#help"},
                                           LinkRow{"about", form::Control::Command5, "/transposer.shtml"}),
                         testsupport::RowName());

TEST_F(CommandsTest, APreferencesSaveThatFailsIsReportedAndTheProgramGoesOn)
{
    store.commitProblem = "/home/me/.config/Tonvale/Tonvale.conf cannot be written.";
    view.click(Control::Command8);
    EXPECT_EQ(shown(),
              std::vector<std::string>{
                  "Tonvale: Could not save the preferences: /home/me/.config/Tonvale/Tonvale.conf cannot be written."});
    EXPECT_TRUE(view.programEnds.empty());
}

TEST_F(CommandsTest, AnUntrappedHostFailureIsReportedAndEndsTheProgram)
{
    openSheet("{b|C}");
    host->failOn("Documents.Count", "The remote procedure call failed.");
    view.click(Control::Command1);
    const std::vector<word::Message> expected{
        {"The remote procedure call failed.", "Tonvale", word::Icon::Critical, word::Buttons::Ok}};
    EXPECT_EQ(prompter.shown, expected);
    EXPECT_EQ(view.programEnds, std::vector<int>{1});
    EXPECT_FALSE(view.visible);
    EXPECT_EQ(form.exitCode(), 1);

    view.click(Control::Command7); // nothing runs any more
    form.closeRequested();
    EXPECT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(view.programEnds, std::vector<int>{1});
}

} // namespace
