// Quitting the office: Quit ends it and the Quit event arrives once, through the event poster. Once
// the office has quit, by our Quit or by the user's, the close step (count the documents, quit when
// there are none) asks it nothing and fails nowhere, with documents open at the quit or without.

#include "support/office.h"
#include "tests/support/automationerror.h"
#include "word/uno/office.h"

#include <com/sun/star/frame/Desktop.hpp>

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <unistd.h>
#include <vector>

namespace
{

namespace css = ::com::sun::star;

// Events posted by the host, run when the test takes them (as the window's thread would).
struct PostedEvents {
    std::mutex mutex;
    std::vector<std::function<void()>> events;
    std::atomic<int> quitEvents{0};

    void watch(word::Application &host)
    {
        host.setEventPoster([this](std::function<void()> event) {
            std::lock_guard lock(mutex);
            events.push_back(std::move(event));
        });
        host.setQuitHandler([this] {
            ++quitEvents;
        });
    }

    std::size_t waitForOne()
    {
        for (int wait = 0; wait < 150; ++wait) {
            {
                std::lock_guard lock(mutex);
                if (!events.empty()) {
                    break;
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        std::lock_guard lock(mutex);
        return events.size();
    }

    void runAll()
    {
        std::lock_guard lock(mutex);
        for (auto &event : events) {
            event();
        }
    }
};

// The window's close step on the host.
void closeStep(word::Application &host)
{
    if (host.DocumentsCount() == 0) {
        host.Quit();
    }
}

bool processGroupAlive(int group)
{
    return kill(-group, 0) == 0 || errno != ESRCH;
}

void waitUntilGone(int group)
{
    for (int wait = 0; wait < 100 && processGroupAlive(group); ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

TEST(QuitOffice, QuitEndsTheOfficeAndRaisesTheQuitEventOnce)
{
    auto &host = unotest::office();
    PostedEvents posted;
    posted.watch(host);

    EXPECT_EQ(host.DocumentsCount(), 0);
    host.Quit();
    ASSERT_EQ(posted.waitForOne(), 1u);
    // Not run on the office's thread: the window runs it when it takes the posted event.
    EXPECT_EQ(posted.quitEvents, 0);
    posted.runAll();
    EXPECT_EQ(posted.quitEvents, 1);

    // The close step that the Quit event starts is quiet; the office is gone and other calls fail
    // with a description instead of hanging.
    EXPECT_NO_THROW(closeStep(host));
    waitUntilGone(unotest::officeProcessGroup());
    EXPECT_FALSE(processGroupAlive(unotest::officeProcessGroup()));
    EXPECT_NO_THROW(closeStep(host));
    EXPECT_THROW(host.selection(), word::AutomationError);
    std::lock_guard lock(posted.mutex);
    EXPECT_EQ(posted.events.size(), 1u);
}

// An office of this test's own, which the user (another client on its pipe) quits.
struct OwnOffice {
    std::string root;
    int group = -1;
    word::uno::Options options;
    std::unique_ptr<word::uno::Host> host;

    OwnOffice()
    {
        char dir[] = "/tmp/tonvale-uno-quit-XXXXXX";
        if (!mkdtemp(dir)) {
            throw std::runtime_error("no scratch folder");
        }
        root = dir;
        options.pipeName =
            "tonvale-quit-" + std::to_string(getpid()) + "-" + std::filesystem::path(root).filename().string();
        options.headless = true;
        options.profileDir = root + "/profile";
        options.startTimeout = std::chrono::seconds(90);
        options.launched = [this](int g) {
            group = g;
        };
        host = word::uno::start(options);
    }
    ~OwnOffice()
    {
        host.reset();
        if (group > 0) {
            kill(-group, SIGKILL);
        }
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }
};

class UserQuitsTheOffice : public ::testing::TestWithParam<int>
{
};

TEST_P(UserQuitsTheOffice, TheCloseStepAsksNothingAndFailsNowhere)
{
    const int documents = GetParam();
    OwnOffice office;
    auto &host = *office.host;
    for (int k = 0; k < documents; ++k) {
        host.newDocument({{"C   G\r"}, {"Amazing grace"}});
    }
    ASSERT_EQ(host.DocumentsCount(), documents);
    PostedEvents posted;
    posted.watch(host);

    // File > Exit in the office: the desktop told to terminate from outside the host.
    css::frame::Desktop::create(word::uno::connectPipe(office.options.pipeName).remote)->terminate();
    ASSERT_EQ(posted.waitForOne(), 1u);
    posted.runAll();
    EXPECT_EQ(posted.quitEvents, 1);
    waitUntilGone(office.group);
    EXPECT_FALSE(processGroupAlive(office.group));

    EXPECT_EQ(host.DocumentsCount(), 0);
    EXPECT_NO_THROW(closeStep(host));
    EXPECT_EQ(testsupport::automationError([&] {
                  host.activeDocument();
              }),
              "LibreOffice Writer has quit.");
}

INSTANTIATE_TEST_SUITE_P(OpenDocuments, UserQuitsTheOffice, ::testing::Values(0, 1, 2));

} // namespace
