// The commands wired to the window, end to end on the built-in host, with every message they show.

#include "windowfixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace
{

class CommandsTest : public WindowTest
{
protected:
    void SetUp() override
    {
        load();
    }
    static void click(QPushButton *button)
    {
        QTest::mouseClick(button, Qt::LeftButton);
    }
    void chooseKeys(int current, int target)
    {
        form->Combo1->setCurrentIndex(current);
        form->Combo2->setCurrentIndex(target);
    }
};

TEST_F(CommandsTest, TransposeCToDMovesEveryChordAndLeavesLyrics)
{
    openSheet("{b|C}    {b|G7}  {b|Am}  {b|F/C}\nChorus: Clear Grace Alone\n{b|Bb}");
    form->Check1->setChecked(true);
    chooseKeys(3, 5);
    ASSERT_EQ(form->Text4->text(), QStringLiteral("2"));
    click(form->Command2);
    EXPECT_EQ(sheet(), "{b|D}    {b|A7}  {b|Bm}  {b|G/D}\nChorus: Clear Grace Alone\n{b|C}");
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(form->Combo1->currentText(), QStringLiteral("D"));
    EXPECT_EQ(form->Text4->text(), QStringLiteral("0"));
}

TEST_F(CommandsTest, TransposeTakesColourAndSharpsFromTheControls)
{
    openSheet("{#FF0000|A}  {#FF0000|C}");
    form->Check3->setChecked(true);
    form->Text1->setText(QStringLiteral("255"));
    form->Text2->setText(QStringLiteral("0"));
    form->Text3->setText(QStringLiteral("0"));
    form->Option1->setChecked(true);
    chooseKeys(0, 1);
    click(form->Command2);
    EXPECT_EQ(sheet(), "{#FF0000|A#}  {#FF0000|C#}");
    EXPECT_EQ(form->chordColor(), 255);
    EXPECT_TRUE(form->useSharps());
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
    click(form->Command2);
    const word::Message noDocument = word::noDocumentMessage(host->names());
    const std::string expected = GetParam().expected ? GetParam().expected : noDocument.title + ": " + noDocument.text;
    EXPECT_EQ(shown(), std::vector<std::string>{expected});
    EXPECT_EQ(prompter.messages.at(0).icon, word::Icon::Critical);
    EXPECT_EQ(form->Combo1->currentIndex(), GetParam().current);
}

INSTANTIATE_TEST_SUITE_P(
    Checks,
    TransposeMessageTest,
    ::testing::Values(MessageRow{"no_document_no_keys", false, -1, -1, nullptr},
                      MessageRow{"no_keys", true, -1, -1, "Transpose Error: You must set the current key"},
                      MessageRow{"no_current_key", true, -1, 4, "Transpose Error: You must set the current key"},
                      MessageRow{"no_new_key", true, 4, -1, "Transpose Error: You must set the new key"}),
    [](const auto &info) {
        return std::string(info.param.name);
    });

TEST_F(CommandsTest, DecliningTheConfirmationChangesNothingButTheCurrentKey)
{
    openSheet("C G");
    chooseKeys(3, 5);
    prompter.answer = word::Answer::No;
    click(form->Command2);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].buttons, word::Buttons::YesNoDefaultNo);
    EXPECT_EQ(prompter.messages[0].icon, word::Icon::Question);
    EXPECT_EQ(sheet(), "C G");
    EXPECT_EQ(form->Combo1->currentIndex(), 5);
    EXPECT_EQ(form->Text4->text(), QStringLiteral("0"));
}

TEST_F(CommandsTest, AcceptingTheConfirmationTransposesEverything)
{
    openSheet("C G");
    chooseKeys(3, 5);
    prompter.answer = word::Answer::Yes;
    click(form->Command2);
    EXPECT_EQ(sheet(), "D A");
}

TEST_F(CommandsTest, ABadColourBoxIsAnErrorAndChangesNothing)
{
    openSheet("{b|C}");
    form->Check1->setChecked(true);
    form->Text1->setText(QStringLiteral("300"));
    chooseKeys(3, 5);
    click(form->Command2);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].title, "Error");
    EXPECT_NE(prompter.messages[0].text.find("Red"), std::string::npos);
    EXPECT_EQ(sheet(), "{b|C}");
    EXPECT_EQ(form->Combo1->currentIndex(), 3);
    EXPECT_TRUE(programEnds.empty());
}

TEST_F(CommandsTest, AHostFailureDuringThePassIsATransposeError)
{
    openSheet("{b|C}");
    form->Check1->setChecked(true);
    chooseKeys(3, 5);
    host->failOn("Find.Execute", "The document is locked.");
    click(form->Command2);
    EXPECT_EQ(shown(), std::vector<std::string>{"Transpose Error: The document is locked."});
    EXPECT_EQ(form->Combo1->currentIndex(), 3);
    EXPECT_TRUE(programEnds.empty());
}

TEST_F(CommandsTest, FindChordsMarksChordShapedText)
{
    openSheet("G  Am7  D/F#\nSweet grace");
    form->Check4->setChecked(true);
    form->Check1->setChecked(true);
    click(form->Command6);
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(sheet(), "{b|G}  {b|Am7}  {b|D}/{b|F#}\nSweet grace");
}

TEST_F(CommandsTest, AMarkedPlainSheetTransposesAndItsLyricsStay)
{
    openSheet("G  Am7  D/F#\nSweet grace, how sweet");
    form->Check1->setChecked(true);
    click(form->Command6);
    chooseKeys(10, 0); // G to A
    click(form->Command2);
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(sheet(), "{b|A}  {b|Bm7}  {b|E}/{b|Ab}\nSweet grace, how sweet");
}

TEST_F(CommandsTest, CommandsOnNoDocumentSaySo)
{
    for (QPushButton *button : {form->Command1, form->Command2, form->Command6}) {
        prompter.messages.clear();
        click(button);
        EXPECT_EQ(prompter.messages, std::vector<word::Message>{word::noDocumentMessage(host->names())})
            << button->objectName().toStdString();
    }
}

TEST_F(CommandsTest, FontParametersFromASampleTickTheStyleBoxThroughTheInterlock)
{
    openSheet("{bu#563412|Am7} lyrics");
    host->setSelection(0, 3);
    click(form->Command1);
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_TRUE(form->Check1->isChecked());
    EXPECT_FALSE(form->Check2->isChecked());
    EXPECT_TRUE(form->Check7->isChecked());
    EXPECT_TRUE(form->Check4->isChecked());
    EXPECT_FALSE(form->Check3->isChecked());
    EXPECT_EQ(form->Text1->text(), QStringLiteral("86"));
    EXPECT_EQ(form->Text2->text(), QStringLiteral("52"));
    EXPECT_EQ(form->Text3->text(), QStringLiteral("18"));
}

TEST_F(CommandsTest, FontParametersNeedASelection)
{
    openSheet("{b|Am7} lyrics");
    click(form->Command1);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].title, "Warning");
    EXPECT_FALSE(form->Check1->isChecked());
}

TEST_F(CommandsTest, CombineLinesJoinsTheNextFourLines)
{
    openSheet("C   G\nfirst half\nD   A\nsecond half\nnext");
    click(form->Command7);
    EXPECT_EQ(sheet(), "C   GD   A\nfirst halfsecond half\nnext");
}

TEST_F(CommandsTest, SavePreferencesWritesTheNineKeys)
{
    form->Check1->setChecked(true);
    form->Text1->setText(QStringLiteral("12"));
    form->Option1->setChecked(true);
    click(form->Command8);
    EXPECT_EQ(store.written,
              (std::vector<std::string>{"Use Font Style",
                                        "Bold",
                                        "Italics",
                                        "Underline",
                                        "Use Font Color",
                                        "Red",
                                        "Green",
                                        "Blue",
                                        "Accidentals"}));
    EXPECT_EQ(store.values["Bold"], "1");
    EXPECT_EQ(store.values["Use Font Style"], "1");
    EXPECT_EQ(store.values["Red"], "12");
    EXPECT_EQ(store.values["Accidentals"], "1");
    EXPECT_TRUE(prompter.messages.empty());
}

struct LinkRow {
    const char *name;
    const char *control;
    const char *path; // after the home page
};

class LinkTest : public CommandsTest, public ::testing::WithParamInterface<LinkRow>
{
protected:
    void clickControl()
    {
        auto *control = form->findChild<QWidget *>(QLatin1String(GetParam().control));
        ASSERT_NE(control, nullptr);
        QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(5, 5));
    }
    std::string address() const
    {
        return form->Label11->text().toStdString() + GetParam().path;
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
    clickControl();
    EXPECT_EQ(opened, std::vector<std::string>{address()});
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_P(LinkTest, WithoutADocumentSaysCannotOpen)
{
    clickControl();
    ASSERT_EQ(prompter.messages.size(), 1u);
    const word::Message expected{"Cannot open " + address(), "Tonvale", word::Icon::None, word::Buttons::Ok};
    EXPECT_EQ(prompter.messages[0], expected);
    EXPECT_TRUE(programEnds.empty());
}

TEST_P(LinkTest, ABrowserThatFailsSaysCannotOpen)
{
    openSheet("text");
    host->setLinkOpener([](const std::string &) {
        return false;
    });
    clickControl();
    EXPECT_EQ(shown(), std::vector<std::string>{"Tonvale: Cannot open " + address()});
}

INSTANTIATE_TEST_SUITE_P(Links,
                         LinkTest,
                         ::testing::Values(LinkRow{"logo", "Image1", ""},
                                           LinkRow{"address", "Label11", ""},
                                           LinkRow{"help", "Command4", "/transposer.shtml#help"},
                                           LinkRow{"about", "Command5", "/transposer.shtml"}),
                         [](const auto &info) {
                             return std::string(info.param.name);
                         });

TEST_F(CommandsTest, AnUntrappedHostFailureIsReportedAndEndsTheProgram)
{
    openSheet("{b|C}");
    form->show();
    host->failOn("Documents.Count", "The remote procedure call failed.");
    click(form->Command1);
    const std::vector<word::Message> expected{
        {"The remote procedure call failed.", "Tonvale", word::Icon::Critical, word::Buttons::Ok}};
    EXPECT_EQ(prompter.messages, expected);
    EXPECT_EQ(programEnds, std::vector<int>{1});
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->exitCode(), 1);

    form->Command7->click(); // nothing runs any more
    form->close();
    EXPECT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(programEnds, std::vector<int>{1});
}

} // namespace
