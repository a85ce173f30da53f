// The Word host end to end, across processes: the same operations through COM and directly on the
// built-in host must leave the same documents and selections. Then the events and the failures.

#include "bothhosts.h"

#include "word/builtin/host.h"
#include "word/replacetext.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace
{

using fakeword::boldChords;
using fakeword::FakeWord;
using testing::HasSubstr;

struct Replace {
    const char *find;
    const char *replace;
    bool wildcards;
};

struct ReplaceRow {
    const char *name;
    const char *sheet;
    word::ChordFont font;
    std::vector<Replace> calls;
};

word::ChordFont redChords()
{
    word::ChordFont font;
    font.useColor = 1;
    font.lColor = 255;
    return font;
}

using EndToEnd = fakeword::BothHostsTest;

class ReplaceSequences : public EndToEnd, public testing::WithParamInterface<ReplaceRow>
{
};

TEST_P(ReplaceSequences, LeaveTheSameDocument)
{
    const ReplaceRow &row = GetParam();
    open(row.sheet);
    for (const Replace &call : row.calls) {
        word::ReplaceText(m_local, row.font, call.find, call.replace, call.wildcards);
        word::ReplaceText(remote().host(), row.font, call.find, call.replace, call.wildcards);
    }
    EXPECT_NE(localText(), row.sheet);
    EXPECT_EQ(remote().text(), localText());
}

const ReplaceRow replaceRows[] = {
    {"BoldNoteNamesThroughMarkers",
     "{b|Bb}  {b|F#m7}  {b|C/E}\nBb is not a chord here",
     boldChords(),
     {{"Bb", "*:2:*", false},
      {"F#", "*:10:*", false},
      {"C", "*:4:*", false},
      {"E", "*:8:*", false},
      {"*:2:*", "C", false},
      {"*:10:*", "G#", false},
      {"*:4:*", "D", false},
      {"*:8:*", "F#", false}}},
    {"RedChordsOnly",
     "{#FF0000|G}  {#0000FF|G}  G\n{#FF0000|Em7}",
     redChords(),
     {{"G", "A", false}, {"E", "F#", false}}},
    {"NoFontParametersReplaceEverywhere", "Am  Dm\nAmazing", word::ChordFont{}, {{"A", "B", false}}},
    {"WildcardNashvilleDegrees",
     "{b|1}  {b|4}  {b|5/7}  {b|b7}\n1 and 4 in the lyrics",
     boldChords(),
     {{"<([1-7])>", "*:\\1:*", true}, {"b\\*:7:\\*", "G", true}}},
    {"WildcardWithCountsAndSets",
     "{b|Asus4}  {b|Cmaj7}  {b|Dm}",
     boldChords(),
     {{"([A-G])([m]{1,2})", "\\1min", true}, {"maj[0-9]", "M7", true}}},
    {"UnicodeText", "{b|C}  añoranza ☺ {b|C}", boldChords(), {{"C", "Ré", false}}},
};

INSTANTIATE_TEST_SUITE_P(Rows, ReplaceSequences, testing::ValuesIn(replaceRows), [](const auto &info) {
    return std::string(info.param.name);
});

TEST_F(EndToEnd, SelectionMovesEditAlike)
{
    open("{b|C   G}\nfirst half\n{b#FF0000|D   A}\nsecond half\nnext");
    auto local = m_local.selection();
    auto com = remote().host().selection();
    using Step = std::function<int32_t(word::Selection &)>;
    const std::vector<Step> steps = {
        [](word::Selection &s) {
            return s.MoveDown(word::wdLine, 2, std::nullopt);
        },
        [](word::Selection &s) {
            return s.MoveDown(word::wdLine, 1, word::wdExtend);
        },
        [](word::Selection &s) {
            return s.MoveLeft(word::wdCharacter, 1, word::wdExtend);
        },
        [](word::Selection &s) {
            return s.font(word::FontProperty::Color);
        },
        [](word::Selection &s) {
            return s.font(word::FontProperty::Bold);
        },
        [](word::Selection &s) {
            s.Cut();
            return s.Start();
        },
        [](word::Selection &s) {
            return s.MoveUp(word::wdLine, 1, std::nullopt);
        },
        [](word::Selection &s) {
            return s.MoveLeft(word::wdCharacter, 1, std::nullopt);
        },
        [](word::Selection &s) {
            s.PasteAndFormat(word::wdPasteDefault);
            return s.End();
        },
        [](word::Selection &s) {
            return s.MoveRight(word::wdCharacter, 1, std::nullopt);
        },
        [](word::Selection &s) {
            return s.MoveDown(word::wdLine, 1, std::nullopt);
        },
        [](word::Selection &s) {
            return s.Delete(word::wdCharacter, 1);
        },
        [](word::Selection &s) {
            return s.MoveUp(word::wdLine, 5, std::nullopt);
        },
        [](word::Selection &s) {
            return s.MoveRight(word::wdCharacter, 3, word::wdExtend);
        },
        [](word::Selection &s) {
            return s.font(word::FontProperty::Bold);
        },
    };
    for (std::size_t i = 0; i < steps.size(); ++i) {
        SCOPED_TRACE("step " + std::to_string(i + 1));
        EXPECT_EQ(steps[i](*com), steps[i](*local));
        EXPECT_EQ(com->Start(), local->Start());
        EXPECT_EQ(com->End(), local->End());
    }
    EXPECT_EQ(remote().text(), localText());
}

TEST_F(EndToEnd, OneUndoStepUndoesTheWholeGroup)
{
    const std::string sheet = "{b|C}  {b|G}\nlyrics";
    open(sheet);
    {
        word::UndoGroup group(remote().host(), "Transpose");
        word::ReplaceText(remote().host(), boldChords(), "C", "D", false);
        word::ReplaceText(remote().host(), boldChords(), "G", "A", false);
    }
    EXPECT_EQ(remote().text(), "{b|D}  {b|A}\nlyrics");
    EXPECT_TRUE(remote().undo());
    EXPECT_EQ(remote().text(), sheet);
}

TEST_F(EndToEnd, FollowHyperlinkOpensTheAddressOnce)
{
    open("sheet");
    remote().host().activeDocument()->FollowHyperlink("http://www.tonvale.example", true);
    EXPECT_THAT(remote().links(), testing::Contains("http://www.tonvale.example"));
}

TEST_F(EndToEnd, WordsOwnErrorTextReachesTheCaller)
{
    open("{b|C}");
    const std::string text = "The Find What text contains a Pattern Match expression which is not valid.";
    remote().failOn("Find.Execute", text);
    try {
        word::ReplaceText(remote().host(), boldChords(), "C", "D", false);
        FAIL() << "no error";
    } catch (const word::AutomationError &error) {
        EXPECT_EQ(std::string(error.what()), text);
    }
    remote().clearFaults();
}

TEST_F(EndToEnd, ErrorTextKeepsNonAsciiCharacters)
{
    open("{b|C}");
    remote().failOn("Selection.Cut", "Le presse-papiers est indisponible — réessayez.");
    try {
        remote().host().selection()->Cut();
        FAIL() << "no error";
    } catch (const word::AutomationError &error) {
        EXPECT_EQ(std::string(error.what()), "Le presse-papiers est indisponible — réessayez.");
    }
    remote().clearFaults();
}

TEST_F(EndToEnd, ErrorWithoutTextNamesTheCallAndCode)
{
    open("{b|C}");
    remote().failOn("Selection.Cut", "");
    try {
        remote().host().selection()->Cut();
        FAIL() << "no error";
    } catch (const word::AutomationError &error) {
        EXPECT_THAT(std::string(error.what()), HasSubstr("Selection.Cut: "));
        EXPECT_THAT(std::string(error.what()), HasSubstr("(0x80020009)"));
    }
    remote().clearFaults();
}

TEST_F(EndToEnd, BusyWordIsRetried)
{
    open("sheet");
    remote().reject(3);
    EXPECT_GE(remote().host().DocumentsCount(), 1);
    EXPECT_EQ(remote().rejected(), 3);
}

// Each of these ends its own Word.
TEST(Events, QuitRaisesTheQuitEventDuringTheCall)
{
    FakeWord word;
    int quits = 0;
    int documentsSeen = -1;
    word.host().setQuitHandler([&] {
        ++quits;
        documentsSeen = word.host().DocumentsCount(); // the close step asks Word while it quits
    });
    word.host().Quit();
    EXPECT_EQ(quits, 1);
    EXPECT_EQ(documentsSeen, 0);
    EXPECT_TRUE(word.waitForExit());
}

TEST(Events, UserClosingWordRaisesTheQuitEvent)
{
    FakeWord word;
    word.open("sheet");
    int quits = 0;
    word.host().setQuitHandler([&] {
        ++quits;
    });
    word.userQuit();
    EXPECT_TRUE(fakeword::pumpMessagesUntil([&] {
        return quits == 1;
    }));
    EXPECT_TRUE(word.waitForExit());
}

TEST(Events, ACallToAWordThatHasGoneFailsWithADescription)
{
    FakeWord word;
    word.vanish(); // no Quit event
    ASSERT_TRUE(word.waitForExit());
    try {
        word.host().DocumentsCount();
        FAIL() << "no error";
    } catch (const word::AutomationError &error) {
        EXPECT_THAT(std::string(error.what()), HasSubstr("0x8"));
    }
}

TEST(Events, NoDocumentMakesSelectionFail)
{
    FakeWord word;
    EXPECT_THROW(word.host().selection(), word::AutomationError);
    EXPECT_THROW(word.host().activeDocument(), word::AutomationError);
}

} // namespace
