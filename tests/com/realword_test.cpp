// What real Word does that a plain stand-in hides: a Find scoped to the part of the document the
// selection is in, Find options kept from the user's Find dialog, a Word that registers late or not at
// all, an invisible Word started by automation, calls Word never answers, a Word that disconnects once
// it has raised Quit, custom undo records that nest, and documents in Protected View.

#include "bothhosts.h"

#include "chords/marking.h"
#include "music/transpose.h"
#include "prefs/sample.h"
#include "tests/support/prompter.h"
#include "word/replacetext.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <tlhelp32.h>

namespace
{

using fakeword::boldChords;
using fakeword::FakeWord;
using word::com::ConnectError;
using word::com::ConnectFailure;
using word::com::Host;

constexpr int32_t wdTextFrameStory = 5;
constexpr int32_t wdPrimaryHeaderStory = 7;

const char *const sheet = "{b|Am7}  {b|F#m}  {b|Bb/D}  {b|Ebmaj7}  {b|Cmaj7}\nAmazing grace, how sweet the sound";

void transposeUpTwo(word::Application &app)
{
    testsupport::TestPrompter prompter;
    music::ReplaceChords(app, prompter, boldChords(), music::PassOptions{.spelling = music::Spelling::Sharps}, 2);
}

using RealWord = fakeword::BothHostsTest;

// --- The whole sheet, whatever part the selection is in ------------------------------------

struct PartRow {
    const char *name;
    int32_t story; ///< where the selection is: -1 the main text, 0 the header, 1 and 2 the text boxes
    int32_t start;
    int32_t end;
};

void PrintTo(const PartRow &row, std::ostream *out)
{
    *out << row.name;
}

class WholeSheet : public RealWord, public testing::WithParamInterface<PartRow>
{
};

TEST_P(WholeSheet, MainTextAndTextBoxesChangeHeaderStaysSelectionStays)
{
    const PartRow &row = GetParam();
    open("{b|C}  {b|Cmaj7}  {b|G/C}\nCome thou fount");
    remote().addStory(wdPrimaryHeaderStory, "{b|C} Song in C");
    remote().addStory(wdTextFrameStory, "{b|C}  {b|G}");
    remote().addStory(wdTextFrameStory, "{b|Cm}");
    remote().selectStory(row.story, row.start, row.end);
    const std::string place = remote().selectionPlace();

    word::ReplaceText(m_local, boldChords(), "C", "D", false);
    word::ReplaceText(remote().host(), boldChords(), "C", "D", false);

    EXPECT_EQ(remote().text(), localText());
    EXPECT_EQ(remote().storyText(0), "{b|C} Song in C");
    EXPECT_EQ(remote().storyText(1), "{b|D}  {b|G}");
    EXPECT_EQ(remote().storyText(2), "{b|Dm}");
    EXPECT_EQ(remote().selectionPlace(), place);
}

const PartRow partRows[] = {
    {"InHeader", 0, 3, 3},
    {"InTextBox", 1, 0, 2},
    {"InSecondTextBox", 2, 1, 1},
    {"InMainText", -1, 5, 12},
};

INSTANTIATE_TEST_SUITE_P(Rows, WholeSheet, testing::ValuesIn(partRows), [](const auto &info) {
    return std::string(info.param.name);
});

// --- Find options the user's Find dialog leaves behind --------------------------------------

struct KeptRow {
    const char *option;
    const char *sheet;
    const char *find;
    const char *replace;
};

void PrintTo(const KeptRow &row, std::ostream *out)
{
    *out << row.option;
}

class KeptFindOption : public RealWord, public testing::WithParamInterface<KeptRow>
{
protected:
    void TearDown() override
    {
        remote().keepFindOption(GetParam().option, false);
    }
};

TEST_P(KeptFindOption, ChangesNoResult)
{
    const KeptRow &row = GetParam();
    open(row.sheet);
    remote().keepFindOption(row.option, true);
    word::ReplaceText(m_local, boldChords(), row.find, row.replace, false);
    word::ReplaceText(remote().host(), boldChords(), row.find, row.replace, false);
    EXPECT_NE(localText(), row.sheet);
    EXPECT_EQ(remote().text(), localText());
}

// IgnoreSpace is set too, but no search of Tonvale's has a blank for it to change.
const KeptRow keptRows[] = {
    {"MatchPrefix", "{b|*:3:*m7}  {b|*:3:*}", "*:3:*", "B"}, // a tone marker starts no word
    {"MatchSuffix", "{b|Cmaj7}  {b|C}", "C", "D"}, // nor does a root end one
    {"IgnorePunct", "{b|*:1:*}  {b|*:11:*m}", "*:1:*", "A"}, // "*:1:*" would match inside "*:11:*"
    {"MatchFuzzy", "{b|Bb}  {b|Eb}", "B", "C"}, // fuzzy matching ignores case: the flat's b
};

INSTANTIATE_TEST_SUITE_P(Options, KeptFindOption, testing::ValuesIn(keptRows), [](const auto &info) {
    return std::string(info.param.option);
});

// --- Protected View ---------------------------------------------------------------------------

struct CommandRow {
    const char *name;
    std::function<void(word::Application &, word::Prompter &)> run;
};

void PrintTo(const CommandRow &row, std::ostream *out)
{
    *out << row.name;
}

class ProtectedView : public testing::TestWithParam<CommandRow>
{
};

TEST_P(ProtectedView, AsksToEnableEditing)
{
    FakeWord word;
    word.setProtectedView(true);
    testsupport::TestPrompter prompter;
    GetParam().run(word.host(), prompter);
    const word::Message expected{
        "The Word document is open in Protected View.  Click Enable Editing in Word and try "
        "again.",
        "Error",
        word::Icon::Critical,
        word::Buttons::Ok};
    EXPECT_THAT(prompter.shown, testing::ElementsAre(expected));
}

const CommandRow commandRows[] = {
    {"Transpose",
     [](word::Application &app, word::Prompter &prompter) {
         music::TransposeControls controls;
         controls.font = boldChords();
         controls.currentKey = 0;
         controls.newKey = 2;
         controls.semiTones = "2";
         music::Transpose(app, prompter, controls);
     }},
    {"FindAndMark",
     [](word::Application &app, word::Prompter &prompter) {
         chords::MarkControls controls;
         controls.font = boldChords();
         chords::FindChords(app, prompter, controls);
     }},
    {"FontFromSample",
     [](word::Application &app, word::Prompter &prompter) {
         prefs::GetFontParameters(app, prompter);
     }},
};

INSTANTIATE_TEST_SUITE_P(Commands, ProtectedView, testing::ValuesIn(commandRows), [](const auto &info) {
    return std::string(info.param.name);
});

TEST(ProtectedViewOff, NoDocumentIsStillNoDocument)
{
    FakeWord word;
    testsupport::TestPrompter prompter;
    prefs::GetFontParameters(word.host(), prompter);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0], word::noDocumentMessage(word.host().names()));
}

// --- Undo records -----------------------------------------------------------------------------

TEST_F(RealWord, ARecordLeftOpenIsClosedBeforeTheCommandsOwn)
{
    open(sheet);
    remote().openUndoRecord("Someone else's step");
    music::TransposeControls controls;
    controls.font = boldChords();
    controls.currentKey = 0;
    controls.newKey = 2;
    controls.semiTones = "2";
    testsupport::TestPrompter prompter;
    music::Transpose(remote().host(), prompter, controls);
    EXPECT_EQ(remote().undoLevel(), 0); // the user's next edit is a step of its own
    EXPECT_TRUE(remote().undo());
    EXPECT_EQ(remote().text(), sheet);
}

// --- Calls Word does not answer ---------------------------------------------------------------

TEST(Unanswered, ACallWordDoesNotAnswerEndsWithAClearMessage)
{
    FakeWord word;
    word.open(sheet);
    word.host().setCallTimeLimit(std::chrono::milliseconds(500));
    word.hang(3000);
    try {
        transposeUpTwo(word.host());
        ADD_FAILURE() << "no error";
    } catch (const word::AutomationError &error) {
        EXPECT_EQ(std::string(error.what()),
                  "Microsoft Word did not answer. It may be showing a dialog box: switch to Word, close the dialog "
                  "box, and try again.");
    }
    // Word answers again once it is free.
    word.host().setCallTimeLimit(word::com::callTimeLimit);
    EXPECT_EQ(word.host().DocumentsCount(), 1);
}

// --- Quitting ---------------------------------------------------------------------------------

/// The close step as the window runs it: quit Word only when it has no document open.
void closeStep(word::Application &app, std::string &failure)
{
    try {
        if (app.DocumentsCount() == 0) {
            app.Quit();
        }
    } catch (const std::exception &error) {
        failure = error.what();
    }
}

TEST(QuitQuietly, WhenTonvaleQuitsWord)
{
    FakeWord word;
    word.setDisconnectOnQuit(true);
    std::string failure;
    int quits = 0;
    word.host().setQuitHandler([&] {
        ++quits;
        closeStep(word.host(), failure);
    });
    closeStep(word.host(), failure); // no document: Quit
    EXPECT_EQ(quits, 1);
    EXPECT_EQ(failure, "");
    EXPECT_TRUE(word.host().hasQuit());
    EXPECT_TRUE(word.waitForExit());
}

TEST(QuitQuietly, WhenTheUserQuitsWord)
{
    FakeWord word;
    word.open(sheet);
    word.setDisconnectOnQuit(true);
    std::string failure;
    int quits = 0;
    word.host().setQuitHandler([&] {
        ++quits;
        closeStep(word.host(), failure);
    });
    word.userQuit();
    EXPECT_TRUE(fakeword::pumpMessagesUntil([&] {
        return quits == 1;
    }));
    EXPECT_EQ(failure, "");
    EXPECT_TRUE(word.host().hasQuit());
    EXPECT_TRUE(word.waitForExit());
}

// --- Obtaining Word ---------------------------------------------------------------------------

/// A stand-in Word the user started (not through COM), with extra switches; ended with the test.
class UsersWord
{
public:
    explicit UsersWord(const std::wstring &switches)
    {
        std::wstring command = L"\"" + fakeword::serverPath() + L"\" " + switches;
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        if (CreateProcessW(nullptr,
                           command.data(),
                           nullptr,
                           nullptr,
                           FALSE,
                           0,
                           nullptr,
                           nullptr,
                           &startup,
                           &m_process)) {
            CloseHandle(m_process.hThread);
        }
    }
    ~UsersWord()
    {
        if (m_process.hProcess) {
            TerminateProcess(m_process.hProcess, 0);
            WaitForSingleObject(m_process.hProcess, 5000);
            CloseHandle(m_process.hProcess);
        }
    }
    UsersWord(const UsersWord &) = delete;
    UsersWord &operator=(const UsersWord &) = delete;

    DWORD processId() const
    {
        return m_process.dwProcessId;
    }

private:
    PROCESS_INFORMATION m_process{};
};

/// The stand-in's processes now running.
int standInsRunning()
{
    int count = 0;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
        if (_wcsicmp(entry.szExeFile, L"fakeword.exe") == 0) {
            ++count;
        }
    }
    CloseHandle(snapshot);
    return count;
}

TEST(Obtain, AWordThatRegistersLateIsAttachedNotDoubled)
{
    UsersWord users(L"/RegisterAfter:1500");
    // A generous wait: under load the stand-in itself may take seconds to start.
    FakeWord word(Host::connect(Host::wordClass, std::chrono::seconds(30)));
    EXPECT_FALSE(word.host().started());
    EXPECT_EQ(word.processId(), users.processId());
}

TEST(Obtain, AWordThatNeverAnswersIsSaidClearly)
{
    UsersWord users(L"/NeverRegister");
    ASSERT_TRUE(fakeword::pumpMessagesUntil([] {
        return standInsRunning() == 1;
    }));
    try {
        auto host = Host::connect(Host::wordClass, std::chrono::milliseconds(300));
        ADD_FAILURE() << "connected to a second Word";
    } catch (const ConnectError &error) {
        EXPECT_EQ(error.reason(), ConnectFailure::Unreachable);
        const word::Message message = word::com::connectMessage(error);
        EXPECT_EQ(message.title, "Fatal Error");
        EXPECT_EQ(message.text,
                  "Microsoft Word is running, but Tonvale cannot reach it.\r\n"
                  "If Word has just started, wait until its window shows and try again.\r\n"
                  "If Word runs as administrator, run Tonvale the same way, or neither.\r\n"
                  "If no Word window is open, end Microsoft Word in Task Manager and try again.");
    }
    EXPECT_EQ(standInsRunning(), 1);
}

TEST(Obtain, AWordTonvaleStartsIsVisible)
{
    FakeWord word(Host::connect());
    ASSERT_TRUE(word.host().started());
    EXPECT_TRUE(word.visible());
}

TEST(Obtain, OtherFailuresKeepTheFatalMessage)
{
    const ConnectError error(ConnectFailure::NotInstalled, "not installed");
    EXPECT_EQ(word::com::connectMessage(error), word::fatalMessage({"Microsoft Word", "Word"}));
}

} // namespace
