// Control-to-control behaviour: start-up's labels and key lists, the Nashville pair, the style box
// interlock, the semitone box, and what a change made in code runs.

#include "formfixture.h"
#include "tests/support/keyrows.h"
#include "tests/support/rows.h"

#include <algorithm>
#include <iterator>
#include <vector>

namespace
{

class ControlsTest : public FormTest
{
protected:
    void SetUp() override
    {
        load();
    }
};

TEST_F(ControlsTest, StartUpSetsLabelsAndFillsKeyListsWithoutSelecting)
{
    EXPECT_EQ(view.text(Control::Label8), "Version: 2.0.12");
    EXPECT_EQ(view.text(Control::Label9), "Released: January 1, 2014");
    EXPECT_EQ(view.text(Control::Label10), "Courtesy of Marrowick");
    EXPECT_FALSE(view.text(Control::Label11).empty());
    const std::vector<std::string> keys{"A", "A#/Bb", "B", "C", "C#/Db", "D", "D#/Eb", "E", "F", "F#/Gb", "G", "G#/Ab"};
    for (const Control list : {Control::Combo1, Control::Combo2}) {
        EXPECT_EQ(view.items(list), keys);
        EXPECT_EQ(view.listIndex(list), -1);
        EXPECT_EQ(view.text(list), "");
    }
    EXPECT_EQ(view.text(Control::Text4), "");
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(ControlsTest, TickingCheck5WhileCheck6IsTickedSwapsThePair)
{
    view.choose(Control::Combo1, 3);
    view.click(Control::Check6);
    ASSERT_EQ(view.value(Control::Check6), 1);
    ASSERT_FALSE(view.enabled(Control::Combo2));

    view.click(Control::Check5);
    EXPECT_EQ(view.value(Control::Check5), 1);
    EXPECT_EQ(view.value(Control::Check6), 0);
    EXPECT_TRUE(view.enabled(Control::Combo2));
    EXPECT_FALSE(view.enabled(Control::Combo1));
    EXPECT_EQ(view.text(Control::Combo1), "A");
    EXPECT_EQ(view.text(Control::Text4), "0"); // Combo2 stays at "A" from Check6
}

TEST_F(ControlsTest, TickingCheck5WithNoNewKeyShowsTheShiftToNoKey)
{
    view.click(Control::Check5);
    EXPECT_EQ(view.listIndex(Control::Combo1), 0);
    EXPECT_EQ(view.text(Control::Text4), "-1"); // -1 - 0
}

TEST_F(ControlsTest, UntickingCheck5EnablesCombo1AndKeepsA)
{
    view.click(Control::Check5);
    view.click(Control::Check5);
    EXPECT_EQ(view.value(Control::Check5), 0);
    EXPECT_TRUE(view.enabled(Control::Combo1));
    EXPECT_EQ(view.text(Control::Combo1), "A");
}

TEST_F(ControlsTest, TickingCheck6PinsTheNewKey)
{
    view.choose(Control::Combo1, 3); // C
    view.click(Control::Check6);
    EXPECT_FALSE(view.enabled(Control::Combo2));
    EXPECT_TRUE(view.enabled(Control::Combo1));
    EXPECT_EQ(view.text(Control::Combo2), "A");
    EXPECT_EQ(view.text(Control::Text4), "-3");
}

TEST_F(ControlsTest, NashvilleBoxesSetInCodeBehaveAsClicks)
{
    form.setValue(Control::Check6, 1);
    form.setValue(Control::Check5, 1);
    EXPECT_EQ(view.value(Control::Check6), 0);
    EXPECT_TRUE(view.enabled(Control::Combo2));
    EXPECT_FALSE(view.enabled(Control::Combo1));
}

TEST_F(ControlsTest, PinningAnAlreadySelectedARecomputesTheShift)
{
    chooseKeys(0, 5);
    view.type(Control::Text4, "9");
    view.click(Control::Check5);
    EXPECT_EQ(view.text(Control::Text4), "5");
}

TEST_F(ControlsTest, AKeyListSetInCodeRecomputesEvenWhenItStays)
{
    chooseKeys(3, 5);
    view.type(Control::Text4, "9");
    form.setListIndex(Control::Combo2, 5);
    EXPECT_EQ(view.text(Control::Text4), "2");
}

struct InterlockRow {
    const char *name;
    form::Control box;
};

class InterlockTest : public ControlsTest, public ::testing::WithParamInterface<InterlockRow>
{
};

TEST_P(InterlockTest, TickingTicksUseFontStyle)
{
    view.click(GetParam().box);
    EXPECT_EQ(view.value(Control::Check4), 1);
}

TEST_P(InterlockTest, UntickingLeavesUseFontStyle)
{
    view.click(GetParam().box);
    view.click(GetParam().box);
    EXPECT_EQ(view.value(GetParam().box), 0);
    EXPECT_EQ(view.value(Control::Check4), 1);
}

TEST_P(InterlockTest, SettingTheSameValueInCodeRunsNothing)
{
    view.click(GetParam().box);
    view.click(Control::Check4); // the user clears "Use Font Style:"
    form.setValue(GetParam().box, 1);
    EXPECT_EQ(view.value(Control::Check4), 0);
}

TEST_P(InterlockTest, SettingInCodeRunsTheInterlock)
{
    form.setValue(GetParam().box, 1);
    EXPECT_EQ(view.value(GetParam().box), 1);
    EXPECT_EQ(view.value(Control::Check4), 1);
}

INSTANTIATE_TEST_SUITE_P(StyleBoxes,
                         InterlockTest,
                         ::testing::Values(InterlockRow{"Check1", form::Control::Check1},
                                           InterlockRow{"Check2", form::Control::Check2},
                                           InterlockRow{"Check7", form::Control::Check7}),
                         testsupport::RowName());

TEST_F(ControlsTest, ControlsWithoutBehaviourRunNothing)
{
    for (const Control control : {Control::Check3,
                                  Control::Check4,
                                  Control::Option1,
                                  Control::Option2,
                                  Control::Text1,
                                  Control::Text4,
                                  Control::Label1,
                                  Control::Frame1}) {
        view.click(control);
    }
    EXPECT_EQ(view.value(Control::Check1), 0);
    EXPECT_EQ(view.text(Control::Text4), "");
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_TRUE(view.programEnds.empty());
}

// The rows that choose a key: choosing none in both lists is no selection, and the window shows nothing.
std::vector<testsupport::SemiToneRow> keySelections()
{
    std::vector<testsupport::SemiToneRow> rows;
    std::copy_if(std::begin(testsupport::semiToneRows),
                 std::end(testsupport::semiToneRows),
                 std::back_inserter(rows),
                 [](const auto &row) {
                     return row.currentIndex >= 0 || row.newIndex >= 0;
                 });
    return rows;
}

class SemiTonesTest : public ControlsTest, public ::testing::WithParamInterface<testsupport::SemiToneRow>
{
};

TEST_P(SemiTonesTest, EveryKeySelectionRecomputes)
{
    chooseKeys(GetParam().currentIndex, GetParam().newIndex);
    EXPECT_EQ(view.text(Control::Text4), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(KeyPairs, SemiTonesTest, ::testing::ValuesIn(keySelections()), testsupport::RowName());

TEST_F(FormTest, FirstStateSelectsSharpsAndEmptyPreferencesSelectFlats)
{
    EXPECT_EQ(view.value(Control::Option1), 1);
    load();
    EXPECT_EQ(view.value(Control::Option2), 1);
    EXPECT_EQ(view.value(Control::Option1), 0);
}

struct RestoreRow {
    const char *name;
    std::map<std::string, std::string> stored;
    std::vector<form::Control> ticked; // check boxes ticked afterwards
    bool sharps;
};

class RestoreTest : public FormTest, public ::testing::WithParamInterface<RestoreRow>
{
};

TEST_P(RestoreTest, AppliesEachStoredValueAsTheUserWould)
{
    store.values = GetParam().stored;
    load();
    std::vector<Control> ticked;
    for (const form::ControlSpec &spec : form::layout()) {
        if (spec.kind == form::Kind::CheckBox && view.value(spec.id) == 1) {
            ticked.push_back(spec.id);
        }
    }
    EXPECT_EQ(ticked, GetParam().ticked);
    EXPECT_EQ(view.value(Control::Option1), GetParam().sharps ? 1 : 0);
    EXPECT_EQ(view.value(Control::Option2), GetParam().sharps ? 0 : 1);
    EXPECT_TRUE(store.written.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Stores,
    RestoreTest,
    ::testing::Values(RestoreRow{"empty", {}, {}, false},
                      RestoreRow{"bold_ticks_use_style",
                                 {{"Use Font Style", "0"}, {"Bold", "1"}},
                                 {form::Control::Check4, form::Control::Check1},
                                 false},
                      RestoreRow{"only_exact_one_counts",
                                 {{"Use Font Style", "-1"}, {"Italics", "true"}, {"Underline", "1"}},
                                 {form::Control::Check4, form::Control::Check7},
                                 false},
                      RestoreRow{"colour", {{"Use Font Color", "1"}}, {form::Control::Check3}, false},
                      RestoreRow{"sharps", {{"Accidentals", "1"}}, {}, true},
                      RestoreRow{"other_accidentals_are_flats", {{"Accidentals", "2"}}, {}, false},
                      RestoreRow{"keep_columns", {{"Keep Columns", "1"}}, {form::Control::Check8}, false},
                      RestoreRow{"keep_columns_only_exact_one", {{"Keep Columns", "yes"}}, {}, false}),
    testsupport::RowName());

TEST_F(FormTest, RestoredColoursKeepTheirTextAndSelectNoKey)
{
    store.values = {{"Red", "abc"}, {"Green", "300"}, {"Blue", ""}};
    load();
    EXPECT_EQ(view.text(Control::Text1), "abc");
    EXPECT_EQ(view.text(Control::Text2), "300");
    EXPECT_EQ(view.text(Control::Text3), "");
    EXPECT_EQ(view.listIndex(Control::Combo1), -1);
    EXPECT_EQ(view.text(Control::Text4), "");
}

} // namespace
