#include "word/findsettings.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace
{

using word::FontProperty;
using Values = std::vector<word::FontValues::Value>;

// A Find that only keeps its settings; Execute answers what a host's would not need here.
class Kept final : public word::KeptFind<word::FontValues>
{
public:
    using KeptFind::KeptFind;
    bool Execute(int32_t) override
    {
        return false;
    }
};

Values values(const word::FontValues &font)
{
    return {font.begin(), font.end()};
}

struct FontRow {
    const char *name;
    Values made; ///< setFont calls, in order
    Values kept; ///< what the settings hold afterwards
};

class FontOrder : public testing::TestWithParam<FontRow>
{
};

// Word applies the font settings in the order they were made: a host keeps that order, and a
// value set again changes in place instead of being applied twice.
TEST_P(FontOrder, KeepsTheFirstPlaceAndTheLastValue)
{
    word::FindSettings settings;
    Kept find(settings);
    for (const auto &[property, value] : GetParam().made) {
        find.setFont(property, value);
    }
    EXPECT_EQ(values(settings.font), GetParam().kept);
    EXPECT_TRUE(settings.replacementFont.empty());
}

INSTANTIATE_TEST_SUITE_P(
    FindSettings,
    FontOrder,
    testing::Values(FontRow{"None", {}, {}},
                    FontRow{"ColorThenBold",
                            {{FontProperty::Color, 255}, {FontProperty::Bold, -1}},
                            {{FontProperty::Color, 255}, {FontProperty::Bold, -1}}},
                    FontRow{"BoldSetAgainKeepsItsPlace",
                            {{FontProperty::Bold, -1}, {FontProperty::Italic, -1}, {FontProperty::Bold, 0}},
                            {{FontProperty::Bold, 0}, {FontProperty::Italic, -1}}}),
    [](const testing::TestParamInfo<FontRow> &info) {
        return std::string(info.param.name);
    });

TEST(FindSettings, OutliveTheFindThatMadeThemUntilCleared)
{
    word::FindSettings settings;
    {
        Kept find(settings);
        find.setText("C#");
        find.setReplacementText("D");
        find.setMatchWildcards(true);
        find.setFont(FontProperty::Bold, -1);
        find.setReplacementFont(FontProperty::Color, 255);
    }
    Kept next(settings);
    next.ClearFormatting();
    EXPECT_EQ(settings.text, "C#");
    EXPECT_EQ(settings.replacement, "D");
    EXPECT_TRUE(settings.wildcards);
    EXPECT_TRUE(settings.font.empty()) << "ClearFormatting clears the criteria";
    EXPECT_EQ(values(settings.replacementFont), (Values{{FontProperty::Color, 255}}))
        << "and leaves the replacement's formatting alone";
    next.ClearReplacementFormatting();
    EXPECT_TRUE(settings.replacementFont.empty());
}

} // namespace
