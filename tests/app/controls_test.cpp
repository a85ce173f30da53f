// Control-to-control behaviour: start-up's labels and key lists, the Nashville pair, the style box
// interlock, the semitone box, and keys that must run no command.

#include "windowfixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

namespace
{

class ControlsTest : public WindowTest
{
protected:
    void SetUp() override
    {
        load();
    }
    void click(QWidget *control)
    {
        QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(4, control->height() / 2));
    }
};

TEST_F(ControlsTest, StartUpSetsLabelsAndFillsKeyListsWithoutSelecting)
{
    EXPECT_EQ(form->Label8->text(), QStringLiteral("Version: 2.0.12"));
    EXPECT_EQ(form->Label9->text(), QStringLiteral("Released: January 1, 2014"));
    EXPECT_EQ(form->Label10->text(), QStringLiteral("Courtesy of Marrowick"));
    EXPECT_FALSE(form->Label11->text().isEmpty());
    const QStringList keys{QStringLiteral("A"),
                           QStringLiteral("A#/Bb"),
                           QStringLiteral("B"),
                           QStringLiteral("C"),
                           QStringLiteral("C#/Db"),
                           QStringLiteral("D"),
                           QStringLiteral("D#/Eb"),
                           QStringLiteral("E"),
                           QStringLiteral("F"),
                           QStringLiteral("F#/Gb"),
                           QStringLiteral("G"),
                           QStringLiteral("G#/Ab")};
    for (const QComboBox *list : {form->Combo1, form->Combo2}) {
        QStringList entries;
        for (int i = 0; i < list->count(); ++i) {
            entries << list->itemText(i);
        }
        EXPECT_EQ(entries, keys);
        EXPECT_EQ(list->currentIndex(), -1);
        EXPECT_TRUE(list->currentText().isEmpty());
    }
    EXPECT_TRUE(form->Text4->text().isEmpty());
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(ControlsTest, EmptyPreferencesSelectFlats)
{
    EXPECT_TRUE(form->Option2->isChecked());
    EXPECT_FALSE(form->Option1->isChecked());
}

TEST_F(ControlsTest, TickingCheck5WhileCheck6IsTickedSwapsThePair)
{
    form->Combo1->setCurrentIndex(3);
    click(form->Check6);
    ASSERT_TRUE(form->Check6->isChecked());
    ASSERT_FALSE(form->Combo2->isEnabled());

    click(form->Check5);
    EXPECT_TRUE(form->Check5->isChecked());
    EXPECT_FALSE(form->Check6->isChecked());
    EXPECT_TRUE(form->Combo2->isEnabled());
    EXPECT_FALSE(form->Combo1->isEnabled());
    EXPECT_EQ(form->Combo1->currentText(), QStringLiteral("A"));
    EXPECT_EQ(form->Text4->text(), QStringLiteral("0")); // Combo2 stays at "A" from Check6
}

TEST_F(ControlsTest, TickingCheck5WithNoNewKeyShowsTheShiftToNoKey)
{
    click(form->Check5);
    EXPECT_EQ(form->Combo1->currentIndex(), 0);
    EXPECT_EQ(form->Text4->text(), QStringLiteral("-1")); // -1 - 0
}

TEST_F(ControlsTest, UntickingCheck5EnablesCombo1AndKeepsA)
{
    click(form->Check5);
    click(form->Check5);
    EXPECT_FALSE(form->Check5->isChecked());
    EXPECT_TRUE(form->Combo1->isEnabled());
    EXPECT_EQ(form->Combo1->currentText(), QStringLiteral("A"));
}

TEST_F(ControlsTest, TickingCheck6PinsTheNewKey)
{
    form->Combo1->setCurrentIndex(3); // C
    click(form->Check6);
    EXPECT_FALSE(form->Combo2->isEnabled());
    EXPECT_TRUE(form->Combo1->isEnabled());
    EXPECT_EQ(form->Combo2->currentText(), QStringLiteral("A"));
    EXPECT_EQ(form->Text4->text(), QStringLiteral("-3"));
}

TEST_F(ControlsTest, NashvilleBoxesSetInCodeBehaveAsClicks)
{
    form->Check6->setChecked(true);
    form->Check5->setChecked(true);
    EXPECT_FALSE(form->Check6->isChecked());
    EXPECT_TRUE(form->Combo2->isEnabled());
    EXPECT_FALSE(form->Combo1->isEnabled());
}

TEST_F(ControlsTest, PinningAnAlreadySelectedARecomputesTheShift)
{
    form->Combo1->setCurrentIndex(0);
    form->Combo2->setCurrentIndex(5);
    form->Text4->setText(QStringLiteral("9")); // typed by the user
    click(form->Check5);
    EXPECT_EQ(form->Text4->text(), QStringLiteral("5"));
}

struct InterlockRow {
    const char *name;
    QCheckBox *frmMainBox(const app::frmMain &form) const
    {
        return form.findChild<QCheckBox *>(QLatin1String(name));
    }
};

class InterlockTest : public ControlsTest, public ::testing::WithParamInterface<InterlockRow>
{
};

TEST_P(InterlockTest, TickingTicksUseFontStyle)
{
    click(GetParam().frmMainBox(*form));
    EXPECT_TRUE(form->Check4->isChecked());
}

TEST_P(InterlockTest, UntickingLeavesUseFontStyle)
{
    QCheckBox *box = GetParam().frmMainBox(*form);
    click(box);
    click(box);
    EXPECT_FALSE(box->isChecked());
    EXPECT_TRUE(form->Check4->isChecked());
}

TEST_P(InterlockTest, SettingTheSameValueRunsNothing)
{
    QCheckBox *box = GetParam().frmMainBox(*form);
    click(box);
    click(form->Check4); // the user clears "Use Font Style:"
    box->setChecked(true);
    EXPECT_FALSE(form->Check4->isChecked());
}

INSTANTIATE_TEST_SUITE_P(StyleBoxes,
                         InterlockTest,
                         ::testing::Values(InterlockRow{"Check1"}, InterlockRow{"Check2"}, InterlockRow{"Check7"}),
                         [](const auto &info) {
                             return std::string(info.param.name);
                         });

TEST_F(ControlsTest, UseFontColorAndUseFontStyleHaveNoBehaviour)
{
    click(form->Check3);
    click(form->Check4);
    EXPECT_FALSE(form->Check1->isChecked());
    EXPECT_TRUE(form->Text4->text().isEmpty());
}

struct ShiftRow {
    const char *name;
    int current, target;
    const char *shown;
};

class SemiTonesTest : public ControlsTest, public ::testing::WithParamInterface<ShiftRow>
{
};

TEST_P(SemiTonesTest, EveryKeySelectionRecomputes)
{
    form->Combo1->setCurrentIndex(GetParam().current);
    form->Combo2->setCurrentIndex(GetParam().target);
    EXPECT_EQ(form->Text4->text().toStdString(), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(KeyPairs,
                         SemiTonesTest,
                         ::testing::Values(ShiftRow{"C_to_D", 3, 5, "2"},
                                           ShiftRow{"G_to_C", 10, 3, "5"},
                                           ShiftRow{"A_to_Ab", 0, 11, "-1"},
                                           ShiftRow{"A_to_Eb", 0, 6, "6"},
                                           ShiftRow{"Eb_to_A", 6, 0, "-6"},
                                           ShiftRow{"only_new_C", -1, 3, "4"},
                                           ShiftRow{"only_current_C", 3, -1, "-4"},
                                           ShiftRow{"only_new_Ab", -1, 11, "0"}),
                         [](const auto &info) {
                             return std::string(info.param.name);
                         });

TEST_F(ControlsTest, TypingRecomputesNothing)
{
    form->Combo1->setCurrentIndex(3);
    form->Combo2->setCurrentIndex(5);
    QTest::keyClicks(form->Text4, QStringLiteral("7"));
    EXPECT_EQ(form->Text4->text(), QStringLiteral("27"));
    QTest::keyClicks(form->Combo1, QStringLiteral("E"));
    EXPECT_EQ(form->Combo1->currentIndex(), 3);
    EXPECT_EQ(form->Text4->text(), QStringLiteral("27"));
}

TEST_F(ControlsTest, ArrowKeysInAKeyListAreASelectionChange)
{
    form->Combo1->setCurrentIndex(3);
    form->Combo2->setCurrentIndex(3);
    QTest::keyClick(form->Combo2, Qt::Key_Down);
    EXPECT_EQ(form->Combo2->currentIndex(), 4);
    EXPECT_EQ(form->Text4->text(), QStringLiteral("1"));
}

TEST_F(ControlsTest, EscapeAndEnterRunNoCommand)
{
    openSheet("{b|C}\nlyrics");
    host->setLogging(true);
    form->show();
    for (QWidget *control : std::initializer_list<QWidget *>{form->Text1, form->Text4, form->Combo1, form->Combo2}) {
        control->setFocus();
        QTest::keyClick(control, Qt::Key_Return);
        QTest::keyClick(control, Qt::Key_Enter);
        QTest::keyClick(control, Qt::Key_Escape);
    }
    deliverPostedEvents();
    EXPECT_TRUE(host->callLog().empty());
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_TRUE(programEnds.empty());
    EXPECT_TRUE(form->isVisible());
}

} // namespace
