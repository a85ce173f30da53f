// Quitting the office: Quit ends it, the Quit event arrives once through the event poster, and the
// host then reports the office as gone.

#include "support/office.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace
{

TEST(QuitOffice, QuitEndsTheOfficeAndRaisesTheQuitEventOnce)
{
    auto &host = unotest::office();
    std::mutex mutex;
    std::vector<std::function<void()>> posted;
    std::atomic<int> quitEvents{0};
    host.setEventPoster([&](std::function<void()> event) {
        std::lock_guard lock(mutex);
        posted.push_back(std::move(event));
    });
    host.setQuitHandler([&] {
        ++quitEvents;
    });

    EXPECT_EQ(host.DocumentsCount(), 0);
    host.Quit();
    for (int wait = 0; wait < 100; ++wait) {
        std::lock_guard lock(mutex);
        if (!posted.empty()) {
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    // Not run on the office's thread: the window runs it when it takes the posted event.
    EXPECT_EQ(quitEvents, 0);
    {
        std::lock_guard lock(mutex);
        ASSERT_EQ(posted.size(), 1u);
        posted.front()();
    }
    EXPECT_EQ(quitEvents, 1);

    // The office is gone; calls fail with a description instead of hanging.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_THROW(host.DocumentsCount(), word::AutomationError);
    std::lock_guard lock(mutex);
    EXPECT_EQ(posted.size(), 1u);
}

} // namespace
