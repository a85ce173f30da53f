#include "word/builtin/host.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <vector>

namespace
{

using word::builtin::fromNotation;
using word::builtin::Host;

TEST(UndoGroup, EndsTheGroupWhenTheCommandFails)
{
    Host host;
    host.open(fromNotation("C"));
    host.setLogging(true);
    try {
        word::UndoGroup group(host, "Transpose");
        throw std::runtime_error("the command failed");
    } catch (const std::runtime_error &) {
    }
    const std::vector<std::string> expected{"Application.StartUndoGroup Name:=Transpose", "Application.EndUndoGroup"};
    EXPECT_EQ(host.callLog(), expected);
}

TEST(UndoGroup, AFailureToEndTheGroupIsSwallowed)
{
    Host host;
    host.open(fromNotation("C"));
    host.failOn("Application.EndUndoGroup", "The host went away.");
    EXPECT_NO_THROW({ word::UndoGroup group(host, "Transpose"); });
}

TEST(QuitEvent, GoesThroughThePosterWhenOneIsSet)
{
    Host host;
    int handled = 0;
    std::vector<std::function<void()>> queue;
    host.setQuitHandler([&] {
        ++handled;
    });
    host.setEventPoster([&](std::function<void()> event) {
        queue.push_back(std::move(event));
    });

    host.simulateUserQuit();
    EXPECT_EQ(handled, 0) << "the event must wait for the window's thread";
    ASSERT_EQ(queue.size(), 1u);
    queue.front()();
    EXPECT_EQ(handled, 1);
}

TEST(QuitEvent, RunsAtOnceWithoutAPoster)
{
    Host host;
    int handled = 0;
    host.setQuitHandler([&] {
        ++handled;
    });
    host.simulateUserQuit();
    EXPECT_EQ(handled, 1);
}

} // namespace
