// Obtaining Word: attach to the running one, start one, or tell why neither works.

#include "fakeclient.h"

#include "word/com/messagefilter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace
{

using fakeword::FakeWord;
using testing::HasSubstr;
using word::com::ConnectError;
using word::com::ConnectFailure;
using word::com::Host;

ConnectFailure failureOf(const std::function<void()> &connect, std::string *description = nullptr)
{
    try {
        connect();
    } catch (const ConnectError &error) {
        if (description) {
            *description = error.what();
        }
        return error.reason();
    }
    ADD_FAILURE() << "connected";
    return ConnectFailure::Failed;
}

TEST(Connect, UnregisteredClassIsNotInstalled)
{
    std::string description;
    EXPECT_EQ(failureOf(
                  [] {
                      Host::connect("Tonvale.NoSuchWord");
                  },
                  &description),
              ConnectFailure::NotInstalled);
    EXPECT_THAT(description, HasSubstr("not installed"));
    EXPECT_THAT(description, HasSubstr("0x800401F3"));
}

TEST(Connect, AttachWithNoneRunningIsNotRunning)
{
    std::string description;
    EXPECT_EQ(failureOf(
                  [] {
                      Host::attach();
                  },
                  &description),
              ConnectFailure::NotRunning);
    EXPECT_THAT(description, HasSubstr("not running"));
}

TEST(Connect, ServerThatCannotStartFails)
{
    std::string description;
    EXPECT_EQ(failureOf(
                  [] {
                      Host::connect("Tonvale.BrokenWord");
                  },
                  &description),
              ConnectFailure::Failed);
    EXPECT_THAT(description, HasSubstr("could not be started"));
}

TEST(Connect, WithNoneRunningStartsOne)
{
    FakeWord word(Host::connect());
    EXPECT_TRUE(word.host().started());
    EXPECT_TRUE(word.embedded()); // launched by COM through its LocalServer32 registration
    EXPECT_TRUE(word.host().eventsConnected());
    EXPECT_EQ(word.host().DocumentsCount(), 0);
}

TEST(Connect, AttachesToTheRunningWord)
{
    std::wstring command = L"\"" + fakeword::serverPath() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(
        CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);

    // It registers itself as the running Word a moment after it starts.
    std::unique_ptr<Host> host;
    fakeword::pumpMessagesUntil([&host] {
        try {
            host = Host::attach();
            return true;
        } catch (const ConnectError &) {
            return false;
        }
    });
    ASSERT_TRUE(host);
    FakeWord word(std::move(host));
    EXPECT_FALSE(word.host().started());
    EXPECT_EQ(word.processId(), process.dwProcessId);
    EXPECT_FALSE(word.embedded());
}

TEST(Connect, PrefersTheRunningWordToStartingOne)
{
    FakeWord running;
    FakeWord word(Host::connect());
    EXPECT_FALSE(word.host().started());
    EXPECT_EQ(word.processId(), running.processId());
}

TEST(Connect, NamesTheProduct)
{
    FakeWord word;
    EXPECT_EQ(word.host().names().product, "Microsoft Word");
    EXPECT_EQ(word.host().names().document, "Word");
}

struct RetryRow {
    const char *name;
    DWORD rejectType;
    DWORD elapsed;
    bool retried;
};

class BusyRetry : public testing::TestWithParam<RetryRow>
{
};

TEST_P(BusyRetry, RetriesOnlyARetryLaterWithinTheLimit)
{
    const auto &row = GetParam();
    const DWORD delay = word::com::retryDelay(row.rejectType, row.elapsed);
    if (row.retried) {
        EXPECT_EQ(delay, word::com::busyRetryDelay);
    } else {
        EXPECT_EQ(delay, static_cast<DWORD>(-1));
    }
}

INSTANTIATE_TEST_SUITE_P(Rows,
                         BusyRetry,
                         testing::Values(RetryRow{"RetryLaterAtOnce", SERVERCALL_RETRYLATER, 0, true},
                                         RetryRow{"RetryLaterJustInTime", SERVERCALL_RETRYLATER, 9999, true},
                                         RetryRow{"RetryLaterTooLate", SERVERCALL_RETRYLATER, 10000, false},
                                         RetryRow{"Rejected", SERVERCALL_REJECTED, 0, false}),
                         [](const auto &info) {
                             return std::string(info.param.name);
                         });

TEST(Describe, NamesTheCodeAndAKnownMeaning)
{
    EXPECT_EQ(word::com::describeResult(RPC_E_DISCONNECTED), "Microsoft Word is no longer running. (0x80010108)");
    EXPECT_THAT(word::com::describeResult(E_OUTOFMEMORY), HasSubstr("(0x8007000E)"));
}

} // namespace
