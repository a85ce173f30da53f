// The "vnd.tonvale:" requests without an office: what an address means, and how a request runs on
// the form (over controls in memory, on the built-in word processor).

#include "request.h"
#include "tests/support/fakeview.h"
#include "word/builtin/host.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <variant>

namespace
{

using form::Control;

struct ParseRow {
    const char *url;
    std::optional<Control> click; ///< expected click (none for open/state)
    std::vector<std::pair<Control, std::string>> settings;
    word::Answer answer = word::Answer::No;
};

class Parse : public ::testing::TestWithParam<ParseRow>
{
};

TEST_P(Parse, GivesTheRequest)
{
    const auto &row = GetParam();
    const auto parsed = oxt::parseRequest(row.url);
    ASSERT_TRUE(std::holds_alternative<oxt::Request>(parsed)) << std::get<std::string>(parsed);
    const auto &request = std::get<oxt::Request>(parsed);
    EXPECT_EQ(request.click, row.click);
    EXPECT_EQ(request.settings, row.settings);
    EXPECT_EQ(request.answer, row.answer);
}

INSTANTIATE_TEST_SUITE_P(
    Addresses,
    Parse,
    ::testing::Values(ParseRow{"vnd.tonvale:open", std::nullopt, {}},
                      ParseRow{"vnd.tonvale:state?Text4=3", std::nullopt, {{Control::Text4, "3"}}},
                      ParseRow{"vnd.tonvale:transpose", Control::Command2, {}},
                      ParseRow{"vnd.tonvale:Command2", Control::Command2, {}},
                      ParseRow{"vnd.tonvale:Label11", Control::Label11, {}},
                      ParseRow{"vnd.tonvale:logo", Control::Image1, {}},
                      // Settings keep their order; percent escapes decode to UTF-8; empty pairs are skipped.
                      ParseRow{"vnd.tonvale:transpose?Combo1=F%23%2FGb&&Check1=1&Text1=&answer=yes",
                               Control::Command2,
                               {{Control::Combo1, "F#/Gb"}, {Control::Check1, "1"}, {Control::Text1, ""}},
                               word::Answer::Yes},
                      ParseRow{"vnd.tonvale:save?Text2=%C3%A9", Control::Command8, {{Control::Text2, "\xC3\xA9"}}}));

TEST(Parse, RefusesWhatItCannotRun)
{
    for (const char *url : {"vnd.other:transpose",
                            "vnd.tonvale:",
                            "vnd.tonvale:exit",
                            "vnd.tonvale:Command3",
                            "vnd.tonvale:Label1",
                            "vnd.tonvale:Check1",
                            "vnd.tonvale:transpose?Label1=x",
                            "vnd.tonvale:transpose?Command2=1",
                            "vnd.tonvale:transpose?Check1",
                            "vnd.tonvale:transpose?Check1=yes",
                            "vnd.tonvale:transpose?Option1=2",
                            "vnd.tonvale:transpose?answer=maybe",
                            "vnd.tonvale:transpose?Text1=%2",
                            "vnd.tonvale:transpose?Text1=%zz"}) {
        const auto parsed = oxt::parseRequest(url);
        ASSERT_TRUE(std::holds_alternative<std::string>(parsed)) << url;
        EXPECT_FALSE(std::get<std::string>(parsed).empty()) << url;
    }
}

class Run : public ::testing::Test
{
protected:
    void SetUp() override
    {
        host->open(word::builtin::fromNotation("{b|C} la {b|G7}\nline"));
        ASSERT_TRUE(form.Form_Load(testsupport::kindAttachingTo(host)));
    }

    oxt::Outcome run(const std::string &url)
    {
        const auto parsed = oxt::parseRequest(url);
        EXPECT_TRUE(std::holds_alternative<oxt::Request>(parsed));
        return oxt::runRequest(std::get<oxt::Request>(parsed), form, view, prompter);
    }

    std::shared_ptr<word::builtin::Host> host = std::make_shared<word::builtin::Host>();
    testsupport::TestPrompter interactive;
    oxt::SwitchPrompter prompter{&interactive};
    oxt::MemoryView view{prompter};
    testsupport::MemoryStore store;
    form::frmMain form{view, store};
};

// Settings go through the form as the user's: choosing keys recomputes the semitones, ticking Bold
// ticks "Use Font Style:", the Nashville pair stays exclusive and locks its key list.
TEST_F(Run, SettingsBehaveAsTheUsers)
{
    auto outcome = run("vnd.tonvale:state?Combo1=C&Combo2=E&Check1=1");
    EXPECT_TRUE(outcome.ok);
    EXPECT_EQ(view.value(Control::Check4), 1);
    EXPECT_NE(outcome.result.find("Text4=4\n"), std::string::npos) << outcome.result;
    EXPECT_NE(outcome.result.find("Combo2=E\n"), std::string::npos) << outcome.result;

    outcome = run("vnd.tonvale:state?Check5=1&Check6=1");
    EXPECT_TRUE(outcome.ok);
    EXPECT_EQ(view.value(Control::Check5), 0);
    EXPECT_EQ(view.value(Control::Check6), 1);

    outcome = run("vnd.tonvale:state?Combo2=D");
    EXPECT_FALSE(outcome.ok) << "a locked key list cannot be chosen";
    EXPECT_NE(outcome.result.find("error=Combo2 is disabled"), std::string::npos) << outcome.result;
}

// While a request runs its messages are recorded and answered; afterwards they are shown again.
TEST_F(Run, MessagesOfARequestAreRecordedNotShown)
{
    const auto outcome = run("vnd.tonvale:transpose?Check4=0&Check1=0&Combo1=C&Combo2=D&answer=yes");
    EXPECT_TRUE(outcome.ok);
    EXPECT_TRUE(interactive.shown.empty());
    EXPECT_NE(outcome.result.find("message="), std::string::npos) << outcome.result;
    EXPECT_EQ(outcome.result.find('\r'), std::string::npos) << "line breaks are escaped";

    prompter.show(word::Message{"after", "t"});
    EXPECT_EQ(interactive.shown.size(), 1U);
}

TEST_F(Run, AnUnknownKeyStopsBeforeTheClick)
{
    const auto outcome = run("vnd.tonvale:transpose?Check1=1&Combo1=H&Combo2=D");
    EXPECT_FALSE(outcome.ok);
    EXPECT_NE(outcome.result.find("error=No entry H in Combo1"), std::string::npos) << outcome.result;
    EXPECT_EQ(view.text(Control::Combo2), "") << "settings after the bad one are not applied";
}

TEST_F(Run, ADisabledCommandIsNotClicked)
{
    view.setEnabled(Control::Command2, false);
    const auto outcome = run("vnd.tonvale:transpose?Check1=1&Combo1=C&Combo2=D");
    EXPECT_FALSE(outcome.ok);
    EXPECT_NE(outcome.result.find("Command2 is disabled"), std::string::npos);
}

} // namespace
