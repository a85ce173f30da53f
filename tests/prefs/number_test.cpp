#include "prefs/number.h"
#include "tests/support/rows.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace
{

constexpr double inf = std::numeric_limits<double>::infinity();

struct NumberRow {
    const char *name;
    std::string text;
    double expected;
};

class LeadingNumber : public testing::TestWithParam<NumberRow>
{
};

TEST_P(LeadingNumber, ReadsTheLeadingNumber)
{
    const auto &row = GetParam();
    EXPECT_EQ(prefs::leadingNumber(row.text), row.expected) << '"' << row.text << '"';
}

INSTANTIATE_TEST_SUITE_P(Rows,
                         LeadingNumber,
                         testing::Values(NumberRow{"Empty", "", 0},
                                         NumberRow{"Letters", "abc", 0},
                                         NumberRow{"Blanks", "   ", 0},
                                         NumberRow{"Whole", "255", 255},
                                         NumberRow{"Half", "12.5", 12.5},
                                         NumberRow{"LeadingPoint", ".5", 0.5},
                                         NumberRow{"TrailingText", "12abc", 12},
                                         NumberRow{"BlanksInside", " 1 2\t3 ", 123},
                                         NumberRow{"Negative", "-2.5", -2.5},
                                         NumberRow{"BlankAfterSign", "- 5", -5},
                                         NumberRow{"Plus", "+3", 3},
                                         NumberRow{"TwoSigns", "--5", 0},
                                         NumberRow{"SecondPointStops", "1.5.5", 1.5},
                                         NumberRow{"Exponent", "1e3", 1000},
                                         NumberRow{"ExponentD", "1D2", 100},
                                         NumberRow{"NegativeExponent", "25E-1", 2.5},
                                         NumberRow{"ExponentWithoutDigits", "7e", 7},
                                         NumberRow{"ExponentSignOnly", "7e+", 7},
                                         NumberRow{"SignOnly", "-", 0},
                                         NumberRow{"PointOnly", ".", 0},
                                         NumberRow{"Hex", "&H1F", 31},
                                         NumberRow{"HexLower", "&hff", 255},
                                         NumberRow{"Hex16BitNegative", "&HFFFF", -1},
                                         NumberRow{"Hex32Bit", "&H10000", 65536},
                                         NumberRow{"Hex32BitNegative", "&HFFFFFFFF", -1},
                                         NumberRow{"Octal", "&O17", 15},
                                         NumberRow{"AmpersandOnly", "&", 0},
                                         NumberRow{"HexWithoutDigits", "&HZ", 0},
                                         NumberRow{"HugeIsInfinite", "1e999", inf},
                                         NumberRow{"HugeNegative", "-1e999", -inf},
                                         NumberRow{"TinyIsZero", "1e-999", 0},
                                         NumberRow{"HugeExponentDigits", "1e999999999999999999999999", inf},
                                         NumberRow{"ZeroWithHugeExponent", "0e999999", 0},
                                         NumberRow{"ManyDigits", std::string(400, '9'), inf},
                                         NumberRow{"ManyFractionZeros", "0." + std::string(400, '0') + "1", 0},
                                         NumberRow{"ZeroPointHuge", "0.5e309", inf}),
                         testsupport::RowName());

struct RoundRow {
    const char *name;
    double value;
    std::optional<int16_t> to16;
    std::optional<int32_t> to32;
};

class Rounding : public testing::TestWithParam<RoundRow>
{
};

TEST_P(Rounding, HalfToEvenWithinRange)
{
    const auto &row = GetParam();
    EXPECT_EQ(prefs::roundToInt16(row.value), row.to16);
    EXPECT_EQ(prefs::roundToInt32(row.value), row.to32);
}

constexpr auto none16 = std::optional<int16_t>();
constexpr auto none32 = std::optional<int32_t>();

INSTANTIATE_TEST_SUITE_P(Rows,
                         Rounding,
                         testing::Values(RoundRow{"TwoPointFive", 2.5, 2, 2},
                                         RoundRow{"ThreePointFive", 3.5, 4, 4},
                                         RoundRow{"MinusTwoPointFive", -2.5, -2, -2},
                                         RoundRow{"MinusThreePointFive", -3.5, -4, -4},
                                         RoundRow{"PointFive", 0.5, 0, 0},
                                         RoundRow{"AboveHalf", 2.51, 3, 3},
                                         RoundRow{"BelowHalf", -2.49, -2, -2},
                                         RoundRow{"Int16Max", 32767.4, 32767, 32767},
                                         RoundRow{"Int16MaxHalfUp", 32767.5, none16, 32768},
                                         RoundRow{"Int16MinHalf", -32768.5, -32768, -32768},
                                         RoundRow{"BelowInt16", -32769, none16, -32769},
                                         RoundRow{"Int32MaxHalfUp", 2147483647.5, none16, none32},
                                         RoundRow{"Int32MaxHalfDown", 2147483646.5, none16, 2147483646},
                                         RoundRow{"Int32MinHalf", -2147483648.5, none16, -2147483647 - 1},
                                         RoundRow{"Infinite", inf, none16, none32},
                                         RoundRow{"NegativeInfinite", -inf, none16, none32},
                                         RoundRow{"NotANumber", std::nan(""), none16, none32}),
                         testsupport::RowName());

} // namespace
