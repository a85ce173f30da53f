// An office that goes away: killed in the middle of a transposition, the host reports it as an
// automation error without hanging, and every later call says the connection is lost.

#include "support/office.h"
#include "tests/support/automationerror.h"
#include "word/replacetext.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <unistd.h>

namespace
{

using unotest::office;

std::vector<word::uno::TextRun> bigSheet()
{
    std::vector<word::uno::TextRun> runs;
    for (int line = 0; line < 600; ++line) {
        word::uno::TextRun chord;
        chord.text = "C   G/B   Am7   F#m7b5";
        chord.bold = true;
        runs.push_back(chord);
        runs.push_back({"\rAmazing grace how sweet the sound\r"});
    }
    return runs;
}

TEST(NoOffice, AttachingToAPipeNobodyListensOnFails)
{
    word::uno::Options options;
    options.pipeName = "tonvale-nobody-listens-here";
    EXPECT_EQ(testsupport::automationError([&] {
                  word::uno::attach(options);
              }),
              "LibreOffice Writer is not running.");
}

TEST(NoOffice, StartingWithoutAnOfficeInstalledFails)
{
    word::uno::Options options;
    options.pipeName = "tonvale-nobody-listens-here";
    options.soffice = "/nonexistent/soffice";
    EXPECT_EQ(testsupport::automationError([&] {
                  word::uno::start(options);
              }),
              "LibreOffice Writer is not installed.");
}

TEST(KilledOffice, ATranspositionFailsWithTheLostConnectionAndLaterCallsToo)
{
    auto &host = office();
    std::atomic<int> quitEvents{0};
    host.setQuitHandler([&] {
        ++quitEvents;
    });
    host.newDocument(bigSheet());

    word::ChordFont font;
    font.useStyle = 1;
    font.bold = 1;
    const std::string pipe = "/tmp/OSL_PIPE_" + std::to_string(getuid()) + "_" + unotest::officeOptions().pipeName;
    ASSERT_TRUE(std::filesystem::exists(pipe));
    std::thread killer([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        unotest::killOffice();
    });
    std::string message;
    try {
        word::UndoGroup group(host, "Transpose");
        for (int pass = 0; pass < 1000; ++pass) {
            unotest::transposePass(host, font, 1, false, false);
        }
    } catch (const word::AutomationError &e) {
        message = e.what();
    }
    killer.join();
    EXPECT_EQ(message, "The connection to LibreOffice Writer was lost.");
    EXPECT_FALSE(std::filesystem::exists(pipe)) << "a killed office's pipes are removed";

    EXPECT_EQ(testsupport::automationError([&] {
                  host.DocumentsCount();
              }),
              "The connection to LibreOffice Writer was lost.");
    EXPECT_THROW(host.selection(), word::AutomationError);
    EXPECT_THROW(host.Quit(), word::AutomationError);
    // The bridge going away is the Quit event of a killed office.
    for (int wait = 0; wait < 50 && quitEvents == 0; ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    EXPECT_EQ(quitEvents, 1);
}

} // namespace
