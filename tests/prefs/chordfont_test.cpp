#include "prefs/chordfont.h"
#include "tests/support/rows.h"

#include <gtest/gtest.h>

namespace
{

struct ColorRow {
    const char *name;
    prefs::ColorBoxes boxes;
    std::optional<int32_t> lColor;
    const char *errorBox; ///< the box named in the error, or nullptr
};

class ChordColor : public testing::TestWithParam<ColorRow>
{
};

TEST_P(ChordColor, PacksOrNamesTheBadBox)
{
    const auto &row = GetParam();
    const auto result = prefs::chordColor(row.boxes);
    EXPECT_EQ(result.lColor, row.lColor);
    if (row.errorBox) {
        ASSERT_TRUE(result.error);
        const word::Message expected{std::string("The ") + row.errorBox + " box must hold a number from 0 to 255.",
                                     "Error",
                                     word::Icon::Critical,
                                     word::Buttons::Ok};
        EXPECT_EQ(*result.error, expected);
    } else {
        EXPECT_FALSE(result.error);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows,
                         ChordColor,
                         testing::Values(ColorRow{"RedGreenBlue", {"255", "128", "0"}, 33023, nullptr},
                                         ColorRow{"HalfLettersEmpty", {"12.5", "abc", ""}, 12, nullptr},
                                         ColorRow{"AllEmpty", {"", "", ""}, 0, nullptr},
                                         ColorRow{"WhiteIsLargest", {"255", "255", "255"}, 16777215, nullptr},
                                         ColorRow{"BlueOnly", {"0", "0", "255"}, 16711680, nullptr},
                                         ColorRow{"RoundsDownToRange", {"255.4", "0", "0"}, 255, nullptr},
                                         ColorRow{"SmallNegativeRoundsToZero", {"-0.4", "0", "0"}, 0, nullptr},
                                         ColorRow{"HexText", {"&HFF", "0", "0"}, 255, nullptr},
                                         ColorRow{"RedTooLarge", {"256", "0", "0"}, std::nullopt, "Red"},
                                         ColorRow{"RedHalfRoundsOut", {"255.5", "0", "0"}, std::nullopt, "Red"},
                                         ColorRow{"GreenNegative", {"0", "-1", "0"}, std::nullopt, "Green"},
                                         ColorRow{"BlueBeyond16Bits", {"0", "0", "99999"}, std::nullopt, "Blue"},
                                         ColorRow{"RedInfinite", {"1e999", "0", "0"}, std::nullopt, "Red"},
                                         ColorRow{"FirstBadBoxNamed", {"0", "300", "-5"}, std::nullopt, "Green"}),
                         testsupport::RowName());

struct InterlockRow {
    const char *name;
    int oldValue, newValue, useStyle, expected;
};

class Interlock : public testing::TestWithParam<InterlockRow>
{
};

TEST_P(Interlock, SetsUseStyleOnlyOnAChangeToOne)
{
    const auto &row = GetParam();
    EXPECT_EQ(prefs::interlockUseStyle(row.oldValue, row.newValue, row.useStyle), row.expected);
}

INSTANTIATE_TEST_SUITE_P(Rows,
                         Interlock,
                         testing::Values(InterlockRow{"CheckingChecksUseStyle", 0, 1, 0, 1},
                                         InterlockRow{"CheckingKeepsCheckedUseStyle", 0, 1, 1, 1},
                                         InterlockRow{"UncheckingKeepsUseStyle", 1, 0, 1, 1},
                                         InterlockRow{"UncheckingLeavesClearUseStyle", 1, 0, 0, 0},
                                         InterlockRow{"SettingSameValueIsNoChange", 1, 1, 0, 0},
                                         InterlockRow{"GreyValueIsNotSet", 0, 2, 0, 0}),
                         testsupport::RowName());

} // namespace
