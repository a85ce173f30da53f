// A command that fails part-way through on LibreOffice Writer takes its own changes back: a sample of the
// calls of each command is made to fail, and the sheet is read back as it was.

#include "support/office.h"
#include "tests/support/commands.h"
#include "tests/support/faultyhost.h"
#include "tests/support/prompter.h"
#include "tests/support/rows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace
{

using unotest::office;

using testsupport::Command;
using testsupport::commandSheet;

class SampledCallsFail : public testing::TestWithParam<Command>
{
protected:
    /// A fresh sheet with the insertion point at its start.
    static void openSheet()
    {
        auto &host = office();
        host.closeAllDocuments();
        host.newDocument(unotest::runsFromNotation(commandSheet));
        host.setSelection(0, 0);
    }
};

TEST_P(SampledCallsFail, AndTheSheetIsAsItWas)
{
    const Command &command = GetParam();
    auto &host = office();
    testsupport::FaultyHost faulty(host);
    openSheet();
    testsupport::TestPrompter prompter;
    command.run(faulty, prompter);
    const std::size_t calls = faulty.calls();
    ASSERT_NE(unotest::notationOf(host.documentRuns()), commandSheet);
    ASSERT_GT(calls, 10u);

    // About a dozen calls spread over the command, the last (ending the undo step) left out: a host that
    // cannot end the step has gone away.
    const std::size_t stride = std::max<std::size_t>(calls / 12, 1);
    for (std::size_t failing = 2; failing < calls; failing += stride) {
        SCOPED_TRACE("failing call " + std::to_string(failing) + " of " + std::to_string(calls));
        openSheet();
        faulty.failAtCall(failing, "The document is locked.");
        testsupport::TestPrompter failed;
        try {
            command.run(faulty, failed);
        } catch (const word::AutomationError &error) {
            EXPECT_STREQ(error.what(), "The document is locked.");
        }
        faulty.failAtCall(0, std::string());
        EXPECT_EQ(unotest::notationOf(host.documentRuns()), commandSheet);
    }
}

INSTANTIATE_TEST_SUITE_P(OnOffice,
                         SampledCallsFail,
                         testing::ValuesIn(testsupport::sheetCommands()),
                         testsupport::RowName());

} // namespace
