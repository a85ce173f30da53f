// What is Qt's in the window: the user's clicks and keys reaching the form, the form's own changes
// sending nothing back, the close box, the host's Quit event through the event loop, and the
// preferences kept in a QSettings file across two starts.

#include "prefs/qt/qsettingsstore.h"
#include "tests/support/rows.h"
#include "windowfixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

namespace
{

class ViewTest : public WindowTest
{
protected:
    void SetUp() override
    {
        load();
    }
    void click(const char *name)
    {
        QWidget *control = find(name);
        QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(5, control->height() / 2));
    }
};

TEST_F(ViewTest, StartUpFillsTheWidgets)
{
    EXPECT_EQ(find<QLabel>("Label8")->text(), QStringLiteral("Version: 2.0.12"));
    EXPECT_EQ(find<QComboBox>("Combo2")->count(), 12);
    EXPECT_EQ(find<QComboBox>("Combo2")->itemText(1), QStringLiteral("A#/Bb"));
    EXPECT_EQ(find<QComboBox>("Combo2")->currentIndex(), -1);
    EXPECT_TRUE(find<QRadioButton>("Option2")->isChecked()) << "no preferences: flats";
    EXPECT_FALSE(find<QRadioButton>("Option1")->isChecked());
}

TEST_F(ViewTest, MouseClicksOnCheckBoxesReachTheForm)
{
    click("Check6");
    EXPECT_FALSE(find("Combo2")->isEnabled());
    click("Check5");
    EXPECT_FALSE(find<QCheckBox>("Check6")->isChecked());
    EXPECT_FALSE(find("Combo1")->isEnabled());
    EXPECT_TRUE(find("Combo2")->isEnabled());
    click("Check7");
    EXPECT_TRUE(find<QCheckBox>("Check4")->isChecked());
}

TEST_F(ViewTest, ButtonClicksReachTheForm)
{
    openSheet("C   G\nfirst half\nD   A\nsecond half\nnext");
    click("Command7");
    EXPECT_EQ(sheet(), "C   GD   A\nfirst halfsecond half\nnext");
}

TEST_F(ViewTest, TheFormsOwnChangesSendNoClickBack)
{
    window->setValue(form::Control::Check5, 1);
    window->setListIndex(form::Control::Combo2, 3);
    EXPECT_TRUE(find<QCheckBox>("Check5")->isChecked());
    EXPECT_TRUE(find("Combo1")->isEnabled());
    EXPECT_EQ(find<QComboBox>("Combo2")->currentText(), QStringLiteral("C"));
    EXPECT_TRUE(find<QLineEdit>("Text4")->text().isEmpty());
}

struct LinkRow {
    const char *name;
    const char *control;
    const char *path; // after the home page
};

class LinkTest : public ViewTest, public ::testing::WithParamInterface<LinkRow>
{
};

TEST_P(LinkTest, AClickOpensItsAddress)
{
    openSheet("text");
    std::vector<std::string> opened;
    host->setLinkOpener([&opened](const std::string &address) {
        opened.push_back(address);
        return true;
    });
    click(GetParam().control);
    EXPECT_EQ(opened, std::vector<std::string>{find<QLabel>("Label11")->text().toStdString() + GetParam().path});
    EXPECT_TRUE(prompter.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(Links,
                         LinkTest,
                         ::testing::Values(LinkRow{"logo", "Image1", ""},
                                           LinkRow{"address", "Label11", ""},
                                           LinkRow{"help", "Command4", "/transposer.shtml#help"},
                                           LinkRow{"about", "Command5", "/transposer.shtml"}),
                         testsupport::RowName());

TEST_F(ViewTest, ChoosingAKeyRecomputesAndTypingRecomputesNothing)
{
    find<QComboBox>("Combo1")->setCurrentIndex(3); // as the drop-down list does
    find<QComboBox>("Combo2")->setCurrentIndex(5);
    EXPECT_EQ(find<QLineEdit>("Text4")->text(), QStringLiteral("2"));
    QTest::keyClicks(find("Text4"), QStringLiteral("7"));
    EXPECT_EQ(find<QLineEdit>("Text4")->text(), QStringLiteral("27"));
    QTest::keyClicks(find("Combo1"), QStringLiteral("E"));
    EXPECT_EQ(find<QComboBox>("Combo1")->currentIndex(), 3);
    EXPECT_EQ(find<QLineEdit>("Text4")->text(), QStringLiteral("27"));
}

TEST_F(ViewTest, ArrowKeysInAKeyListAreASelectionChange)
{
    find<QComboBox>("Combo1")->setCurrentIndex(3);
    find<QComboBox>("Combo2")->setCurrentIndex(3);
    QTest::keyClick(find("Combo2"), Qt::Key_Down);
    EXPECT_EQ(find<QComboBox>("Combo2")->currentIndex(), 4);
    EXPECT_EQ(find<QLineEdit>("Text4")->text(), QStringLiteral("1"));
}

TEST_F(ViewTest, EscapeAndEnterRunNoCommand)
{
    openSheet("{b|C}\nlyrics");
    host->setLogging(true);
    window->show();
    for (const char *name : {"Text1", "Text4", "Combo1", "Combo2"}) {
        QWidget *control = find(name);
        control->setFocus();
        QTest::keyClick(control, Qt::Key_Return);
        QTest::keyClick(control, Qt::Key_Enter);
        QTest::keyClick(control, Qt::Key_Escape);
    }
    deliverPostedEvents();
    EXPECT_TRUE(host->callLog().empty());
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_TRUE(programEnds.empty());
    EXPECT_TRUE(window->isVisible());
}

TEST_F(ViewTest, EnterOnAFocusedButtonRunsIt)
{
    openSheet("{b|C}\nlyrics");
    window->show();
    find<QCheckBox>("Check1")->setChecked(true); // bold chords
    find<QComboBox>("Combo1")->setCurrentIndex(3); // C
    find<QComboBox>("Combo2")->setCurrentIndex(5); // D
    for (const auto key : {Qt::Key_Return, Qt::Key_Enter}) {
        QWidget *transpose = find("Command2");
        transpose->setFocus();
        QTest::keyClick(transpose, key);
        find<QComboBox>("Combo2")->setCurrentIndex(7); // E: the next press moves D to E
    }
    EXPECT_EQ(sheet(), "{b|E}\nlyrics");
}

TEST_F(ViewTest, TheCloseBoxAndExitRunOneCloseStep)
{
    window->show();
    window->close();
    EXPECT_EQ(host->quitCount(), 1);
    EXPECT_EQ(programEnds, std::vector<int>{0});
    EXPECT_FALSE(window->isVisible());
    deliverPostedEvents(); // the Quit event of the host's own Quit
    click("Command3");
    EXPECT_EQ(host->quitCount(), 1);
    EXPECT_EQ(programEnds, std::vector<int>{0});
}

TEST_F(ViewTest, TheUserQuittingTheHostClosesTheWindowThroughTheEventLoop)
{
    openSheet("song");
    window->show();
    host->simulateUserQuit();
    EXPECT_TRUE(window->isVisible()) << "the event arrives through the event loop";
    deliverPostedEvents();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(host->quitCount(), 0);
    EXPECT_EQ(programEnds, std::vector<int>{0});
}

TEST_F(ViewTest, AnUntrappedErrorHidesTheWindow)
{
    openSheet("{b|C}");
    window->show();
    host->failOn("Documents.Count", "The remote procedure call failed.");
    click("Command1");
    EXPECT_EQ(programEnds, std::vector<int>{1});
    EXPECT_FALSE(window->isVisible());
}

TEST(PrivateSettings, SavedPreferencesComeBackAtTheNextStart)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("tonvale.ini"));
    auto host = std::make_shared<word::builtin::Host>();
    testsupport::TestPrompter prompter;
    {
        prefs::QSettingsStore store(file);
        app::frmMain window(prompter, store);
        ASSERT_TRUE(window.logic().Form_Load(testsupport::kindAttachingTo(host)));
        window.findChild<QCheckBox *>(QStringLiteral("Check2"))->setChecked(true);
        window.findChild<QCheckBox *>(QStringLiteral("Check3"))->setChecked(true);
        window.findChild<QLineEdit *>(QStringLiteral("Text3"))->setText(QStringLiteral("200"));
        window.findChild<QRadioButton *>(QStringLiteral("Option1"))->setChecked(true);
        window.findChild<QPushButton *>(QStringLiteral("Command8"))->click();
        store.sync();
    }
    prefs::QSettingsStore store(file);
    app::frmMain window(prompter, store);
    ASSERT_TRUE(window.logic().Form_Load(testsupport::kindAttachingTo(host)));
    EXPECT_TRUE(window.findChild<QCheckBox *>(QStringLiteral("Check2"))->isChecked());
    EXPECT_TRUE(window.findChild<QCheckBox *>(QStringLiteral("Check4"))->isChecked());
    EXPECT_EQ(window.findChild<QLineEdit *>(QStringLiteral("Text3"))->text(), QStringLiteral("200"));
    EXPECT_TRUE(window.findChild<QRadioButton *>(QStringLiteral("Option1"))->isChecked());
    EXPECT_TRUE(prompter.shown.empty());
}

} // namespace
