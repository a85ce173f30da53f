#include "music/keys.h"
#include "tests/support/keyrows.h"
#include "tests/support/rows.h"

#include <gtest/gtest.h>

#include <limits>

namespace
{

struct AdjustRow {
    const char *name;
    int32_t baseTone, delta;
    std::optional<std::string> expected;
};

class SemiToneAdjust : public testing::TestWithParam<AdjustRow>
{
};

TEST_P(SemiToneAdjust, MovesAndWrapsOnce)
{
    const auto &row = GetParam();
    EXPECT_EQ(music::SemiToneAdjust(row.baseTone, row.delta), row.expected);
}

constexpr int32_t int32Max = std::numeric_limits<int32_t>::max();
constexpr int32_t int32Min = std::numeric_limits<int32_t>::min();

INSTANTIATE_TEST_SUITE_P(
    Rows,
    SemiToneAdjust,
    testing::Values(AdjustRow{"AUnmoved", 1, 0, "1"},
                    AdjustRow{"TwelveUpOneWraps", 12, 1, "1"},
                    AdjustRow{"OneDownOneWraps", 1, -1, "12"},
                    AdjustRow{"ElevenUpThree", 11, 3, "2"},
                    AdjustRow{"ThreeDownSix", 3, -6, "9"},
                    AdjustRow{"TwoUpOctave", 2, 12, "2"},
                    AdjustRow{"TwoDownOctave", 2, -12, "2"},
                    AdjustRow{"TwelveUpOctave", 12, 12, "12"},
                    AdjustRow{"OneDownOctave", 1, -12, "1"},
                    AdjustRow{"BeyondOctaveCorrectsOnlyOnce", 12, 13, "13"},
                    AdjustRow{"FarBelowCorrectsOnlyOnce", 1, -30, "-17"},
                    AdjustRow{"OverflowUp", int32Max, 1, std::nullopt},
                    AdjustRow{"OverflowDown", int32Min, -1, std::nullopt},
                    AdjustRow{"LargeWithoutOverflow", int32Max - 12, 12, std::to_string(int32Max - 12)}),
    testsupport::RowName());

TEST(SemiToneAdjustSweep, ShiftsWithinAnOctaveGiveToneNumbers)
{
    for (int32_t tone = 1; tone <= 12; ++tone) {
        for (int32_t delta = -12; delta <= 12; ++delta) {
            const int expected = ((tone - 1 + delta) % 12 + 12) % 12 + 1;
            EXPECT_EQ(music::SemiToneAdjust(tone, delta), std::to_string(expected)) << tone << " " << delta;
        }
    }
}

class UpdateSemiTones : public testing::TestWithParam<testsupport::SemiToneRow>
{
};

TEST_P(UpdateSemiTones, ShowsTheShortestShift)
{
    const auto &row = GetParam();
    EXPECT_EQ(music::UpdateSemiTones(row.currentIndex, row.newIndex), row.shown);
}

INSTANTIATE_TEST_SUITE_P(Rows, UpdateSemiTones, testing::ValuesIn(testsupport::semiToneRows), testsupport::RowName());

TEST(UpdateSemiTonesSweep, EveryPairGivesTheSamePitchClassWithinSix)
{
    for (int16_t current = 0; current < 12; ++current) {
        for (int16_t next = 0; next < 12; ++next) {
            const int shown = std::stoi(music::UpdateSemiTones(current, next));
            EXPECT_GE(shown, -6);
            EXPECT_LE(shown, 6);
            EXPECT_EQ(((next - current - shown) % 12 + 12) % 12, 0) << current << " " << next;
        }
    }
}

} // namespace
