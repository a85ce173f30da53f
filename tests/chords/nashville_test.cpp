#include "chords/nashville.h"
#include "tests/support/calllogs.h"
#include "tests/support/chordrows.h"
#include "word/builtin/host.h"

#include <gtest/gtest.h>

#include <utility>

namespace
{

using testsupport::Log;
using word::builtin::fromNotation;
using word::builtin::toNotation;

/// The chord font of the sheets below: Use Font Style with Bold.
const word::ChordFont boldFont{.useStyle = true, .bold = true};

class ConvertTest : public testing::Test
{
protected:
    std::string convert(const std::string &notation, const word::ChordFont &font = boldFont)
    {
        host.open(fromNotation(notation));
        chords::ConvertNNStoA(host, font);
        return toNotation(*host.activeText());
    }

    word::builtin::Host host;
};

// Every pass is a wildcard Replace-All with the chord font as its criteria, and the screen is
// refreshed once, at the end. (What the passes do is in the rows below.)
TEST_F(ConvertTest, WildcardPassesWithTheCriteriaThenOneRefresh)
{
    host.open(fromNotation("{b|1}"));
    host.setLogging(true);
    chords::ConvertNNStoA(host, boldFont);
    const Log log = testsupport::operations(host.callLog());
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), "Application.ScreenRefresh");
    const std::size_t passLength = testsupport::replaceTextLog(boldFont, "", "", true).size();
    ASSERT_EQ((log.size() - 1) % passLength, 0u);
    EXPECT_GE((log.size() - 1) / passLength, 12u); // at least a pass per degree
    for (std::size_t at = 0; at + 1 < log.size(); at += passLength) {
        const std::string find = log[at + 2].substr(std::string("Find.Text = ").size());
        const std::string replace = log[at + 3].substr(std::string("Find.Replacement.Text = ").size());
        const Log pass(log.begin() + static_cast<std::ptrdiff_t>(at),
                       log.begin() + static_cast<std::ptrdiff_t>(at + passLength));
        EXPECT_EQ(pass, testsupport::replaceTextLog(boldFont, find, replace, true));
    }
}

class Converts : public ConvertTest, public testing::WithParamInterface<testsupport::TextRow>
{
};

TEST_P(Converts, DegreesBecomeLettersInA)
{
    const auto &row = GetParam();
    EXPECT_EQ(convert("{b|" + row.before + "}"), "{b|" + row.after + "}");
}

INSTANTIATE_TEST_SUITE_P(Rows, Converts, testing::ValuesIn(testsupport::nashvilleRows()), testsupport::RowName());

TEST_F(ConvertTest, TagsTheDegreesWhoseLettersChangeTheLength)
{
    host.open(fromNotation("{b|1 3 37 b3 b2 #4 #5/6}"));
    chords::ConvertNNStoA(host, boldFont, true);
    EXPECT_EQ(toNotation(*host.activeText()), "{b|A C#\u2191 C#\u21917 C\u2193 Bb Eb F\u2193/F#\u2191}");
}

TEST_F(ConvertTest, DigitsOutsideTheChordFontStay)
{
    EXPECT_EQ(convert("{b|1} {b|4}\nVerse 2, 3 times"), "{b|A} {b|D}\nVerse 2, 3 times");
}

TEST_F(ConvertTest, WithoutCriteriaEveryDegreeIsConverted)
{
    EXPECT_EQ(convert("1 4\nVerse 2", word::ChordFont{}), "A D\nVerse B");
}

TEST_F(ConvertTest, FailureAfterTheProtectStageLeavesTheProtectionWords)
{
    host.open(fromNotation("{b|6-7} {b|37}"));
    // Each ReplaceText with the bold criterion is 14 calls: fail at the Execute of the fifth step.
    host.failAtCall(14 * 5, "The document is locked.");
    EXPECT_THROW(chords::ConvertNNStoA(host, boldFont), word::AutomationError);
    EXPECT_EQ(toNotation(*host.activeText()), "{b|6DASH7} {b|3DIGIT7}");
}

} // namespace
