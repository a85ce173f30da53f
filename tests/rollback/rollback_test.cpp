// A command that fails at any of its calls leaves the sheet exactly as it was: each command is run once to
// count its calls, then once per call with that call failing.

#include "edit/combinelines.h"
#include "tests/support/commands.h"
#include "tests/support/prompter.h"
#include "tests/support/rows.h"
#include "word/builtin/host.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

using word::builtin::fromNotation;
using word::builtin::toNotation;

using testsupport::Command;
using testsupport::commandSheet;
using testsupport::transposeControls;

class EveryCallFails : public testing::TestWithParam<Command>
{
};

TEST_P(EveryCallFails, AndTheSheetIsAsItWas)
{
    const Command &command = GetParam();
    std::vector<std::string> calls;
    std::string done;
    {
        word::builtin::Host host;
        host.open(fromNotation(commandSheet));
        host.setSelection(0, 0);
        host.setLogging(true);
        testsupport::TestPrompter prompter;
        command.run(host, prompter);
        calls = host.callLog();
        done = toNotation(*host.activeText());
        ASSERT_TRUE(prompter.shown.empty()) << prompter.shown.front().text;
    }
    ASSERT_NE(done, commandSheet) << "the command must change the sheet for the test to mean anything";
    ASSERT_GT(calls.size(), 10u);

    for (std::size_t failing = 1; failing <= calls.size(); ++failing) {
        const std::string &call = calls[failing - 1];
        SCOPED_TRACE("failing call " + std::to_string(failing) + " of " + std::to_string(calls.size()) + ": " + call);
        word::builtin::Host host;
        host.open(fromNotation(commandSheet));
        host.setSelection(0, 0);
        host.failAtCall(failing, "The document is locked.");
        testsupport::TestPrompter prompter;
        try {
            command.run(host, prompter);
        } catch (const word::AutomationError &error) {
            EXPECT_STREQ(error.what(), "The document is locked."); // not the undo's failure
        }
        if (call == "Application.EndUndoGroup") {
            // Every change was made; only closing the step failed, which the command does not report.
            ASSERT_EQ(toNotation(*host.activeText()), done);
            EXPECT_TRUE(prompter.shown.empty());
            continue;
        }
        ASSERT_EQ(toNotation(*host.activeText()), commandSheet);
        for (const auto &message : prompter.shown) {
            EXPECT_EQ(message.text, "The document is locked.");
        }
        // The failed command left no step of its own: Undo takes back nothing (the sheet was opened fresh).
        EXPECT_FALSE(host.canUndo());
    }
}

INSTANTIATE_TEST_SUITE_P(Commands,
                         EveryCallFails,
                         testing::ValuesIn(testsupport::sheetCommands()),
                         testsupport::RowName());

TEST(Rollback, AnUndoThatFailsTooSaysHowToRestoreTheSheet)
{
    // Fail at the pass's last Replace-All, when every earlier one has made its changes.
    std::size_t lastExecute = 0;
    {
        word::builtin::Host counting;
        counting.open(fromNotation(commandSheet));
        counting.setLogging(true);
        testsupport::TestPrompter prompter;
        music::Transpose(counting, prompter, transposeControls(0, 0));
        const auto &calls = counting.callLog();
        for (std::size_t i = 0; i < calls.size(); ++i) {
            lastExecute = calls[i].rfind("Find.Execute", 0) == 0 ? i + 1 : lastExecute;
        }
    }
    word::builtin::Host host;
    host.open(fromNotation(commandSheet));
    host.failAtCall(lastExecute, "The document is locked.");
    host.failOn("Document.Undo", "Word is busy.");
    testsupport::TestPrompter prompter;
    music::Transpose(host, prompter, transposeControls(0, 0));
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].title, "Transpose Error");
    EXPECT_EQ(prompter.shown[0].text,
              "The document is locked.\r\n\r\nThe document may hold unfinished changes of \"Transpose\". Undo in "
                  + host.names().product + " takes them back.");
    ASSERT_TRUE(host.undo()) << "the partial pass is one step of the host's Undo";
    EXPECT_EQ(toNotation(*host.activeText()), commandSheet);
}

TEST(Rollback, AFailureBeforeAnyChangeLeavesTheEarlierStepsAlone)
{
    // The user's own last step is on top of the undo stack; a command failing before it changed anything
    // must not undo it.
    word::builtin::Host host;
    host.open(fromNotation(commandSheet));
    host.setSelection(0, 0);
    edit::CombineLines(host);
    const std::string combined = toNotation(*host.activeText());
    host.failOn("Find.Execute", "The document is locked.");
    testsupport::TestPrompter prompter;
    music::Transpose(host, prompter, transposeControls(0, 0));
    EXPECT_EQ(toNotation(*host.activeText()), combined);
    ASSERT_TRUE(host.undo());
    EXPECT_EQ(toNotation(*host.activeText()), commandSheet);
}

} // namespace
