// Start-up's host connection, the one close step at the end, and the host's Quit event.

#include "formfixture.h"
#include "tests/support/rows.h"

#include <algorithm>
#include <stdexcept>

namespace
{

long count(const std::vector<std::string> &log, const std::string &line)
{
    return std::count(log.begin(), log.end(), line);
}

TEST_F(FormTest, StartUpAttachesToTheRunningHostWithoutStartingOne)
{
    int starts = 0;
    form::HostKind kind = testsupport::kindAttachingTo(host);
    kind.start = [&starts]() -> std::shared_ptr<word::Application> {
        ++starts;
        return std::make_shared<word::builtin::Host>();
    };
    ASSERT_TRUE(form.Form_Load(kind));
    EXPECT_EQ(form.host(), host);
    EXPECT_EQ(starts, 0);
}

TEST_F(FormTest, StartUpStartsAHostWhenNoneRuns)
{
    form::HostKind kind = testsupport::kindAttachingTo(nullptr);
    kind.attach = []() -> std::shared_ptr<word::Application> {
        throw word::AutomationError("Operation unavailable");
    };
    kind.start = [this]() -> std::shared_ptr<word::Application> {
        return host;
    };
    ASSERT_TRUE(form.Form_Load(kind));
    EXPECT_EQ(form.host(), host);
    EXPECT_TRUE(prompter.shown.empty());
}

TEST(HostKind, ObtainingIsQuietAndNullWhenBothWaysFail)
{
    form::HostKind kind;
    kind.attach = []() -> std::shared_ptr<word::Application> {
        throw std::runtime_error("none running");
    };
    kind.start = []() -> std::shared_ptr<word::Application> {
        return nullptr;
    };
    EXPECT_EQ(form::obtainHost(kind), nullptr);
    kind.start = nullptr;
    EXPECT_EQ(form::obtainHost(kind), nullptr);
}

TEST_F(FormTest, NoHostAtAllIsFatalAndStartUpStopsThere)
{
    form::HostKind kind = testsupport::kindAttachingTo(nullptr);
    kind.start = []() -> std::shared_ptr<word::Application> {
        throw std::runtime_error("not installed");
    };
    store.values["Bold"] = "1";
    EXPECT_FALSE(form.Form_Load(kind));
    EXPECT_EQ(prompter.shown, std::vector<word::Message>{word::fatalMessage(kind.names)});
    EXPECT_EQ(form.exitCode(), 1);
    EXPECT_EQ(view.value(Control::Check1), 0) << "start-up stops before the preferences";
    EXPECT_TRUE(view.items(Control::Combo1).empty());
    form.closeRequested();
    view.click(Control::Command3);
    EXPECT_TRUE(view.programEnds.empty()) << "no close step";
}

/// A failure to start that the host can explain.
struct Unreachable : std::runtime_error {
    using std::runtime_error::runtime_error;
};

TEST_F(FormTest, AStartFailureTheHostCanExplainShowsItsOwnMessage)
{
    const word::Message unreachable{"Word is running, but cannot be reached.", "Fatal Error", word::Icon::Critical};
    form.setStartFailureMessage([&unreachable](const std::exception_ptr &failure) -> std::optional<word::Message> {
        try {
            std::rethrow_exception(failure);
        } catch (const Unreachable &) {
            return unreachable;
        } catch (...) {
            return std::nullopt;
        }
    });
    form::HostKind kind = testsupport::kindAttachingTo(nullptr);
    kind.start = []() -> std::shared_ptr<word::Application> {
        throw Unreachable("running, not registered");
    };
    EXPECT_FALSE(form.Form_Load(kind));
    EXPECT_EQ(prompter.shown, std::vector<word::Message>{unreachable});
    EXPECT_EQ(form.exitCode(), 1);
}

TEST_F(FormTest, OtherStartFailuresStayFatal)
{
    form.setStartFailureMessage([](const std::exception_ptr &) -> std::optional<word::Message> {
        return std::nullopt;
    });
    form::HostKind kind = testsupport::kindAttachingTo(nullptr);
    kind.start = []() -> std::shared_ptr<word::Application> {
        throw std::runtime_error("not installed");
    };
    EXPECT_FALSE(form.Form_Load(kind));
    EXPECT_EQ(prompter.shown, std::vector<word::Message>{word::fatalMessage(kind.names)});
}

/// A store that cannot be read.
class BrokenStore : public testsupport::MemoryStore
{
public:
    std::string get(const std::string &) override
    {
        throw std::runtime_error("The settings cannot be read.");
    }
};

TEST(FormStartUp, AFailureAfterTheConnectionIsReportedAndEndsTheProgram)
{
    auto host = std::make_shared<word::builtin::Host>();
    BrokenStore store;
    testsupport::FakeView view;
    form::frmMain form(view, store);
    view.form = &form;
    EXPECT_FALSE(form.Form_Load(testsupport::kindAttachingTo(host)));
    const std::vector<word::Message> expected{
        {"The settings cannot be read.", "Tonvale", word::Icon::Critical, word::Buttons::Ok}};
    EXPECT_EQ(view.prompts.shown, expected);
    EXPECT_EQ(form.exitCode(), 1);
    EXPECT_EQ(view.programEnds, std::vector<int>{1});
}

class CloseTest : public FormTest
{
protected:
    void SetUp() override
    {
        load();
        host->setLogging(true);
    }
};

TEST_F(CloseTest, ExitWithADocumentOpenLeavesTheHostRunning)
{
    openSheet("song");
    view.click(Control::Command3);
    EXPECT_EQ(host->quitCount(), 0);
    EXPECT_EQ(host->DocumentsCount(), 1);
    EXPECT_EQ(view.programEnds, std::vector<int>{0});
    EXPECT_EQ(form.exitCode(), 0);
}

TEST_F(CloseTest, ExitWithNoDocumentQuitsTheHost)
{
    view.click(Control::Command3);
    EXPECT_EQ(host->quitCount(), 1);
    EXPECT_EQ(view.programEnds, std::vector<int>{0});
}

TEST_F(CloseTest, TheCloseRequestIsTheSameCloseStep)
{
    form.closeRequested();
    EXPECT_EQ(host->quitCount(), 1);
    EXPECT_EQ(view.programEnds, std::vector<int>{0});
}

TEST_F(CloseTest, TheQuitEventOfTheHostsOwnQuitRunsNoSecondCloseStep)
{
    form.closeRequested(); // quits the host, which raises its Quit event
    EXPECT_EQ(view.deliverPosted(), 1);
    form.closeRequested();
    view.click(Control::Command3);
    EXPECT_EQ(count(host->callLog(), "Documents.Count"), 1);
    EXPECT_EQ(host->quitCount(), 1);
    EXPECT_EQ(view.programEnds, std::vector<int>{0});
}

struct UserQuitRow {
    const char *name;
    bool document; // the host still holds the song sheet when its Quit event arrives
    int quits; // Application.Quit calls made by the close step
};

class UserQuitTest : public CloseTest, public ::testing::WithParamInterface<UserQuitRow>
{
};

TEST_P(UserQuitTest, EndsTheProgramThroughThePostedEvent)
{
    if (GetParam().document) {
        openSheet("song");
    }
    host->simulateUserQuit();
    EXPECT_TRUE(view.programEnds.empty()) << "the event arrives through the event loop";
    // The user's Quit event, then the one of the close step's own Quit, which runs nothing more.
    EXPECT_EQ(view.deliverPosted(), 1 + GetParam().quits);
    EXPECT_EQ(count(host->callLog(), "Documents.Count"), 1);
    EXPECT_EQ(host->quitCount(), GetParam().quits);
    EXPECT_EQ(view.programEnds, std::vector<int>{0});
}

INSTANTIATE_TEST_SUITE_P(HostStates,
                         UserQuitTest,
                         ::testing::Values(UserQuitRow{"sheet_still_open", true, 0},
                                           UserQuitRow{"no_document_is_told_once_more", false, 1}),
                         testsupport::RowName());

TEST_F(CloseTest, AHostGoneAtCloseIsReportedAndStillEnds)
{
    host->failOn("Documents.Count", "The RPC server is unavailable.");
    form.closeRequested();
    EXPECT_EQ(shown(), std::vector<std::string>{"Tonvale: The RPC server is unavailable."});
    EXPECT_EQ(host->quitCount(), 0);
    EXPECT_EQ(view.programEnds, std::vector<int>{1});
    EXPECT_EQ(form.exitCode(), 1);
}

TEST_F(CloseTest, NothingIsSavedAtExit)
{
    view.click(Control::Check1);
    view.click(Control::Command3);
    EXPECT_TRUE(store.written.empty());
}

TEST(FormLifetime, AQuitEventPostedForAFormThatIsGoneRunsNothing)
{
    auto host = std::make_shared<word::builtin::Host>();
    testsupport::MemoryStore store;
    testsupport::FakeView view;
    {
        form::frmMain form(view, store);
        view.form = &form;
        ASSERT_TRUE(form.Form_Load(testsupport::kindAttachingTo(host)));
        host->simulateUserQuit();
    }
    EXPECT_EQ(view.deliverPosted(), 1);
    EXPECT_TRUE(view.programEnds.empty());
    host->simulateUserQuit(); // the host holds no handler of the form any more
    EXPECT_EQ(view.deliverPosted(), 0);
}

TEST_F(CloseTest, AnEndGuardThatSaysNoKeepsTheProgramRunning)
{
    openSheet("song");
    bool mayEnd = false;
    int asked = 0;
    form.setEndGuard([&] {
        ++asked;
        return mayEnd;
    });
    view.click(Control::Command3);
    EXPECT_FALSE(form.closeRequested()) << "the close box is refused as well";
    EXPECT_EQ(asked, 2);
    EXPECT_TRUE(view.programEnds.empty());
    EXPECT_TRUE(host->callLog().empty()) << "no close step";

    mayEnd = true;
    view.click(Control::Command3);
    EXPECT_EQ(view.programEnds, std::vector<int>{0});
}

TEST_F(FormTest, AStoreThatCouldNotBeReadIsNamedOnceAtStart)
{
    store.unreadableFile = "/home/me/.config/Tonvale/Tonvale.conf";
    store.values["Bold"] = "1";
    load();
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_NE(prompter.shown[0].text.find("/home/me/.config/Tonvale/Tonvale.conf"), std::string::npos);
    EXPECT_EQ(view.value(Control::Check1), 1) << "what could be read is restored";
    EXPECT_TRUE(store.written.empty()) << "the store is left as it is";
}

} // namespace
