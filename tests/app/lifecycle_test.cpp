// Start-up's host connection and preferences, and the one close step at the end.

#include "prefs/qt/qsettingsstore.h"
#include "windowfixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include <algorithm>
#include <stdexcept>

namespace
{

long count(const std::vector<std::string> &log, const std::string &line)
{
    return std::count(log.begin(), log.end(), line);
}

TEST_F(WindowTest, StartUpAttachesToTheRunningHostWithoutStartingOne)
{
    int starts = 0;
    app::HostKind kind = kindAttachingTo(host);
    kind.start = [&starts]() -> std::shared_ptr<word::Application> {
        ++starts;
        return std::make_shared<word::builtin::Host>();
    };
    ASSERT_TRUE(form->Form_Load(kind));
    EXPECT_EQ(form->host(), host);
    EXPECT_EQ(starts, 0);
}

TEST_F(WindowTest, StartUpStartsAHostWhenNoneRuns)
{
    app::HostKind kind = kindAttachingTo(nullptr);
    kind.attach = []() -> std::shared_ptr<word::Application> {
        throw word::AutomationError("Operation unavailable");
    };
    kind.start = [this]() -> std::shared_ptr<word::Application> {
        return host;
    };
    ASSERT_TRUE(form->Form_Load(kind));
    EXPECT_EQ(form->host(), host);
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(WindowTest, NoHostAtAllIsFatalAndTheWindowIsNeverShown)
{
    app::HostKind kind = kindAttachingTo(nullptr);
    kind.start = []() -> std::shared_ptr<word::Application> {
        throw std::runtime_error("not installed");
    };
    store.values["Bold"] = "1";
    EXPECT_FALSE(form->Form_Load(kind));
    EXPECT_EQ(prompter.messages, std::vector<word::Message>{word::fatalMessage(kind.names)});
    EXPECT_EQ(form->exitCode(), 1);
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(form->Check1->isChecked()) << "start-up stops before the preferences";
    form->close();
    EXPECT_TRUE(programEnds.empty()) << "no close step";
}

TEST_F(WindowTest, BuiltinKindAttachesToTheOpenedInstanceAndStartsAFreshOne)
{
    app::BuiltinInstance instance;
    const app::HostKind kind = app::builtinHostKind(instance);
    EXPECT_EQ(kind.attach(), nullptr);
    const auto started = kind.start();
    ASSERT_NE(started, nullptr);
    EXPECT_EQ(started->DocumentsCount(), 0);
    EXPECT_EQ(kind.attach(), started);
}

class CloseTest : public WindowTest
{
protected:
    void SetUp() override
    {
        load();
        form->show();
        host->setLogging(true);
    }
};

TEST_F(CloseTest, ExitWithADocumentOpenLeavesTheHostRunning)
{
    openSheet("song");
    form->Command3->click();
    EXPECT_EQ(host->quitCount(), 0);
    EXPECT_EQ(host->DocumentsCount(), 1);
    EXPECT_EQ(programEnds, std::vector<int>{0});
    EXPECT_FALSE(form->isVisible());
}

TEST_F(CloseTest, ExitWithNoDocumentQuitsTheHost)
{
    form->Command3->click();
    EXPECT_EQ(host->quitCount(), 1);
    EXPECT_EQ(programEnds, std::vector<int>{0});
}

TEST_F(CloseTest, TheCloseBoxIsTheSameCloseStep)
{
    form->close();
    EXPECT_EQ(host->quitCount(), 1);
    EXPECT_EQ(programEnds, std::vector<int>{0});
}

TEST_F(CloseTest, TheQuitEventOfTheHostsOwnQuitRunsNoSecondCloseStep)
{
    form->close(); // quits the host, which raises its Quit event
    deliverPostedEvents();
    form->close();
    EXPECT_EQ(count(host->callLog(), "Documents.Count"), 1);
    EXPECT_EQ(host->quitCount(), 1);
    EXPECT_EQ(programEnds, std::vector<int>{0});
}

TEST_F(CloseTest, TheUserQuittingTheHostClosesTheWindow)
{
    openSheet("song");
    host->simulateUserQuit();
    EXPECT_TRUE(form->isVisible()) << "the event arrives through the event loop";
    deliverPostedEvents();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(count(host->callLog(), "Documents.Count"), 1);
    EXPECT_EQ(host->quitCount(), 0);
    EXPECT_EQ(programEnds, std::vector<int>{0});
}

TEST_F(CloseTest, AHostGoneAtCloseIsReportedAndStillEnds)
{
    host->failOn("Documents.Count", "The RPC server is unavailable.");
    form->close();
    EXPECT_EQ(shown(), std::vector<std::string>{"Tonvale: The RPC server is unavailable."});
    EXPECT_EQ(host->quitCount(), 0);
    EXPECT_EQ(programEnds, std::vector<int>{1});
    EXPECT_FALSE(form->isVisible());
}

TEST_F(CloseTest, NothingIsSavedAtExit)
{
    form->Check1->setChecked(true);
    form->Command3->click();
    EXPECT_TRUE(store.written.empty());
}

struct RestoreRow {
    const char *name;
    std::map<std::string, std::string> stored;
    std::vector<const char *> ticked; // check boxes ticked afterwards
    bool sharps;
};

class RestoreTest : public WindowTest, public ::testing::WithParamInterface<RestoreRow>
{
};

TEST_P(RestoreTest, AppliesEachStoredValueAsTheUserWould)
{
    store.values = GetParam().stored;
    load();
    std::vector<std::string> ticked;
    for (const QCheckBox *box : form->findChildren<QCheckBox *>()) {
        if (box->isChecked()) {
            ticked.push_back(box->objectName().toStdString());
        }
    }
    std::sort(ticked.begin(), ticked.end());
    EXPECT_EQ(ticked, std::vector<std::string>(GetParam().ticked.begin(), GetParam().ticked.end()));
    EXPECT_EQ(form->Option1->isChecked(), GetParam().sharps);
    EXPECT_EQ(form->Option2->isChecked(), !GetParam().sharps);
}

INSTANTIATE_TEST_SUITE_P(
    Stores,
    RestoreTest,
    ::testing::Values(
        RestoreRow{"empty", {}, {}, false},
        RestoreRow{"bold_ticks_use_style", {{"Use Font Style", "0"}, {"Bold", "1"}}, {"Check1", "Check4"}, false},
        RestoreRow{"only_exact_one_counts",
                   {{"Use Font Style", "-1"}, {"Italics", "true"}, {"Underline", "1"}},
                   {"Check4", "Check7"},
                   false},
        RestoreRow{"sharps", {{"Accidentals", "1"}}, {}, true},
        RestoreRow{"other_accidentals_are_flats", {{"Accidentals", "2"}}, {}, false}),
    [](const auto &info) {
        return std::string(info.param.name);
    });

TEST_F(WindowTest, RestoredColoursKeepTheirTextAndSelectNoKey)
{
    store.values = {{"Red", "abc"}, {"Green", "300"}, {"Blue", ""}};
    load();
    EXPECT_EQ(form->Text1->text(), QStringLiteral("abc"));
    EXPECT_EQ(form->Text2->text(), QStringLiteral("300"));
    EXPECT_TRUE(form->Text3->text().isEmpty());
    EXPECT_EQ(form->Combo1->currentIndex(), -1);
    EXPECT_TRUE(form->Text4->text().isEmpty());
}

TEST(PrivateSettings, SavedPreferencesComeBackAtTheNextStart)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("tonvale.ini"));
    auto host = std::make_shared<word::builtin::Host>();
    RecordingPrompter prompter;
    {
        prefs::QSettingsStore store(file);
        app::frmMain form(prompter, store);
        ASSERT_TRUE(form.Form_Load(kindAttachingTo(host)));
        form.Check2->setChecked(true);
        form.Check3->setChecked(true);
        form.Text3->setText(QStringLiteral("200"));
        form.Option1->setChecked(true);
        form.Command8->click();
        store.sync();
    }
    prefs::QSettingsStore store(file);
    app::frmMain form(prompter, store);
    ASSERT_TRUE(form.Form_Load(kindAttachingTo(host)));
    EXPECT_TRUE(form.Check2->isChecked());
    EXPECT_TRUE(form.Check4->isChecked());
    EXPECT_EQ(form.Text3->text(), QStringLiteral("200"));
    EXPECT_TRUE(form.Option1->isChecked());
    EXPECT_TRUE(prompter.messages.empty());
}

} // namespace
