// The shape of every call the Word host makes, as the server receives it: member, kind, argument
// types (Long I4, Integer I2, Boolean BOOL -1) and named arguments in their order.

#include "fakeclient.h"

#include "word/replacetext.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace
{

using fakeword::FakeWord;
using testing::ElementsAre;
using testing::ElementsAreArray;

class CallShape : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_word = new FakeWord;
    }
    static void TearDownTestSuite()
    {
        delete s_word;
        s_word = nullptr;
    }
    void SetUp() override
    {
        word().open("C   G\nfirst half\nD   A\nsecond half\nnext");
        word().select(0, 0);
        word().clearLog();
    }
    static FakeWord &word()
    {
        return *s_word;
    }
    static word::Application &host()
    {
        return s_word->host();
    }

    static FakeWord *s_word;
};

FakeWord *CallShape::s_word = nullptr;

/// What a Replace-All sends to the Find of one part, after "Range.Find get".
std::vector<std::string> findSettings(const std::vector<std::string> &fonts,
                                      const char *wildcards,
                                      const std::vector<std::string> &replacementFonts)
{
    std::vector<std::string> shape = {"Find.Replacement get",
                                      "Find.ClearFormatting call",
                                      "Find.Replacement.ClearFormatting call",
                                      "Find.Text put BSTR Bb",
                                      "Find.Replacement.Text put BSTR *:2:*",
                                      "Find.Forward put BOOL -1",
                                      "Find.Wrap put I4 1",
                                      "Find.Format put BOOL -1",
                                      "Find.MatchCase put BOOL -1"};
    if (!fonts.empty()) {
        shape.push_back("Find.Font get");
    }
    shape.insert(shape.end(), fonts.begin(), fonts.end());
    for (const std::string &line : {std::string("Find.MatchWholeWord put BOOL 0"),
                                    std::string("Find.MatchWildcards put BOOL ") + wildcards,
                                    std::string("Find.MatchSoundsLike put BOOL 0"),
                                    std::string("Find.MatchAllWordForms put BOOL 0"),
                                    // the options Word's Find dialog keeps, whatever the user left there
                                    std::string("Find.MatchPrefix put BOOL 0"),
                                    std::string("Find.MatchSuffix put BOOL 0"),
                                    std::string("Find.IgnorePunct put BOOL 0"),
                                    std::string("Find.IgnoreSpace put BOOL 0"),
                                    std::string("Find.MatchFuzzy put BOOL 0")}) {
        shape.push_back(line);
    }
    if (!replacementFonts.empty()) {
        shape.push_back("Find.Replacement.Font get");
    }
    shape.insert(shape.end(), replacementFonts.begin(), replacementFonts.end());
    shape.push_back("Find.Execute call Replace:=I4 2");
    return shape;
}

TEST_F(CallShape, ReplaceTextSetsEveryFindOptionOnEachPartAndReplacesAllByName)
{
    word().addStory(5, "{b|C}"); // a text box: a part of its own
    word().clearLog();
    word::ChordFont font;
    font.useColor = 1;
    font.useStyle = 1;
    font.bold = 1;
    font.underline = 1;
    font.lColor = 255;
    word::ReplaceText(host(), font, "Bb", "*:2:*", false);
    std::vector<std::string> expected = {"Application.Selection get",
                                         "Application.ActiveDocument get",
                                         "Document.StoryRanges get",
                                         "StoryRanges._NewEnum call",
                                         "Range.StoryType get",
                                         "Range.StoryType get",
                                         "Range.NextStoryRange get"};
    const auto part =
        findSettings({"Find.Font.Color put I4 255", "Find.Font.Bold put I4 -1", "Find.Font.Underline put I4 -1"},
                     "0",
                     {});
    for (int i = 0; i < 2; ++i) {
        expected.push_back("Range.Find get");
        expected.insert(expected.end(), part.begin(), part.end());
    }
    EXPECT_THAT(word().log(), ElementsAreArray(expected));
}

TEST_F(CallShape, ReplacementFontAndWildcardsAreTyped)
{
    auto find = host().selection()->find();
    find->ClearFormatting();
    find->ClearReplacementFormatting();
    find->setText("Bb");
    find->setReplacementText("*:2:*");
    find->setForward(true);
    find->setWrap(word::wdFindContinue);
    find->setFormat(true);
    find->setMatchCase(true);
    find->setReplacementFont(word::FontProperty::Italic, word::wdTrue);
    find->setMatchWildcards(true);
    word().clearLog();
    find->Execute(word::wdReplaceAll);
    auto log = word().log();
    ASSERT_GE(log.size(), 5u);
    log.erase(log.begin(), log.begin() + 5); // up to the main text's Find
    EXPECT_THAT(log, ElementsAreArray(findSettings({}, "-1", {"Find.Replacement.Font.Italic put I4 -1"})));
}

struct MoveRow {
    const char *name;
    std::function<void(word::Selection &)> call;
    const char *shape;
};

class SelectionShape : public CallShape, public testing::WithParamInterface<MoveRow>
{
};

TEST_P(SelectionShape, ArgumentsArePositionalWithTheirTypes)
{
    auto selection = host().selection();
    word().clearLog();
    GetParam().call(*selection);
    EXPECT_THAT(word().log(), ElementsAre(GetParam().shape));
}

const MoveRow moveRows[] = {
    {"MoveDownWithoutExtend",
     [](word::Selection &s) {
         s.MoveDown(word::wdLine, 2, std::nullopt);
     },
     "Selection.MoveDown call I4 5, I2 2"},
    {"MoveDownExtend",
     [](word::Selection &s) {
         s.MoveDown(word::wdLine, 1, word::wdExtend);
     },
     "Selection.MoveDown call I4 5, I2 1, I4 1"},
    {"MoveUp",
     [](word::Selection &s) {
         s.MoveUp(word::wdLine, 1, std::nullopt);
     },
     "Selection.MoveUp call I4 5, I2 1"},
    {"MoveLeftExtend",
     [](word::Selection &s) {
         s.MoveLeft(word::wdCharacter, 1, word::wdExtend);
     },
     "Selection.MoveLeft call I4 1, I2 1, I4 1"},
    {"MoveRight",
     [](word::Selection &s) {
         s.MoveRight(word::wdCharacter, 1, std::nullopt);
     },
     "Selection.MoveRight call I4 1, I2 1"},
    {"Cut",
     [](word::Selection &s) {
         s.Cut();
     },
     "Selection.Cut call"},
    {"PasteAndFormat",
     [](word::Selection &s) {
         s.PasteAndFormat(word::wdPasteDefault);
     },
     "Selection.PasteAndFormat call I4 0"},
    {"Delete",
     [](word::Selection &s) {
         s.Delete(word::wdCharacter, 1);
     },
     "Selection.Delete call I4 1, I2 1"},
    {"Start",
     [](word::Selection &s) {
         s.Start();
     },
     "Selection.Start get"},
    {"End",
     [](word::Selection &s) {
         s.End();
     },
     "Selection.End get"},
};

INSTANTIATE_TEST_SUITE_P(Rows, SelectionShape, testing::ValuesIn(moveRows), [](const auto &info) {
    return std::string(info.param.name);
});

TEST_F(CallShape, FontIsReadThroughAFreshFontObject)
{
    auto selection = host().selection();
    selection->font(word::FontProperty::Bold);
    selection->font(word::FontProperty::Color);
    EXPECT_THAT(word().log(),
                ElementsAre("Application.Selection get",
                            "Selection.Font get",
                            "Selection.Font.Bold get",
                            "Selection.Font get",
                            "Selection.Font.Color get"));
}

TEST_F(CallShape, FollowHyperlinkNamesAddressAndNewWindow)
{
    host().activeDocument()->FollowHyperlink("http://www.tonvale.example/transposer.shtml#help", true);
    EXPECT_THAT(word().log(),
                ElementsAre("Application.ActiveDocument get",
                            "Document.FollowHyperlink call Address:=BSTR "
                            "http://www.tonvale.example/transposer.shtml#help, NewWindow:=BOOL -1"));
}

TEST_F(CallShape, ApplicationCalls)
{
    host().DocumentsCount();
    host().ScreenRefresh();
    {
        word::UndoGroup group(host(), "Transpose");
    }
    EXPECT_THAT(word().log(),
                ElementsAreArray({"Application.Documents get",
                                  "Documents.Count get",
                                  "Application.ScreenRefresh call",
                                  "Application.UndoRecord get",
                                  "UndoRecord.IsRecordingCustomRecord get",
                                  "UndoRecord.StartCustomRecord call BSTR Transpose",
                                  "Application.UndoRecord get",
                                  "UndoRecord.EndCustomRecord call"}));
}

} // namespace
