#include "chords/nashville.h"
#include "tests/support/calllogs.h"
#include "tests/support/rows.h"
#include "word/builtin/host.h"

#include <gtest/gtest.h>

#include <utility>

namespace
{

using testsupport::Log;
using word::builtin::fromNotation;
using word::builtin::toNotation;

word::ChordFont boldFont()
{
    word::ChordFont font;
    font.useStyle = 1;
    font.bold = 1;
    return font;
}

class ConvertTest : public testing::Test
{
protected:
    std::string convert(const std::string &notation, const word::ChordFont &font = boldFont())
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
    chords::ConvertNNStoA(host, boldFont());
    const Log log = testsupport::operations(host.callLog());
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), "Application.ScreenRefresh");
    const std::size_t passLength = testsupport::replaceTextLog(boldFont(), "", "", true).size();
    ASSERT_EQ((log.size() - 1) % passLength, 0u);
    EXPECT_GE((log.size() - 1) / passLength, 12u); // at least a pass per degree
    for (std::size_t at = 0; at + 1 < log.size(); at += passLength) {
        const std::string find = log[at + 2].substr(std::string("Find.Text = ").size());
        const std::string replace = log[at + 3].substr(std::string("Find.Replacement.Text = ").size());
        const Log pass(log.begin() + static_cast<std::ptrdiff_t>(at),
                       log.begin() + static_cast<std::ptrdiff_t>(at + passLength));
        EXPECT_EQ(pass, testsupport::replaceTextLog(boldFont(), find, replace, true));
    }
}

struct ConvertRow {
    const char *name;
    std::string numbers, letters; ///< bold text before and after
};

class Converts : public ConvertTest, public testing::WithParamInterface<ConvertRow>
{
};

TEST_P(Converts, DegreesBecomeLettersInA)
{
    const auto &row = GetParam();
    EXPECT_EQ(convert("{b|" + row.numbers + "}"), "{b|" + row.letters + "}");
}

INSTANTIATE_TEST_SUITE_P(
    Rows,
    Converts,
    testing::Values(ConvertRow{"WorkedExample", "1 4/5 6-7 b7 5sus4", "A D/E F#-7 G Esus4"},
                    ConvertRow{"PlainDegrees", "1 2 3 4 5 6 7", "A B C# D E F# G#"},
                    ConvertRow{"LoweredDegrees", "b2 b3 b5 b6 b7", "Bb C Eb F G"},
                    ConvertRow{"Minor", "6m", "F#m"},
                    ConvertRow{"DashSuffix", "2-7", "B-7"},
                    ConvertRow{"PlusSuffix", "5+5", "E+5"},
                    ConvertRow{"SlashBass", "4/5 2/4", "D/E B/D"},
                    ConvertRow{"LoweredMinor", "b3m", "Cm"},
                    ConvertRow{"RaisedDegrees", "#1 #2 #3 #4 #5 #6 #7", "Bb C D Eb F G A"},
                    ConvertRow{"FlatOneAndFour", "b1 b4", "Ab Db"},
                    ConvertRow{"RaisedBass", "5/#7", "E/A"},
                    ConvertRow{"RaisedOverRaised", "#4/#6", "Eb/G"},
                    ConvertRow{"LoweredBass", "1/b7 (b6)", "A/G (F)"},
                    ConvertRow{"RaisedWithSuffixDigit", "#47 #5m7", "Eb7 Fm7"},
                    // A "#" after a word character is a suffix, not a raised degree.
                    ConvertRow{"SuffixSharpStays", "1m7#5 47#9", "Am7#5 D7#9"},
                    ConvertRow{"EightAndNineStay", "8 9", "8 9"},
                    ConvertRow{"LetterChordsPassThrough", "F#m7-5 C7#5", "F#m7-5 C7#5"},
                    // A SHARP at a word start reads as the raised degree it protects.
                    ConvertRow{"ProtectionWordsBecomeSymbols", "DASH5 PLUS3 mSHARP7 SHARP7", "-5 +3 m#7 A"},
                    // A digit right after a degree belongs to its suffix.
                    ConvertRow{"ThreeSeven", "37", "C#7"},
                    ConvertRow{"SixSeven", "67", "F#7"},
                    ConvertRow{"ThreeSix", "36", "C#6"},
                    ConvertRow{"SevenSeven", "77", "G#7"},
                    ConvertRow{"TwoSeven", "27", "B7"},
                    ConvertRow{"OneThirteen", "113", "A13"},
                    ConvertRow{"ThreeNine", "39", "C#9"},
                    ConvertRow{"ThreeFour", "34", "C#4"},
                    ConvertRow{"SuffixDigitWithSlashBass", "37/5", "C#7/E"},
                    ConvertRow{"SixMinorSeven", "6m7", "F#m7"},
                    ConvertRow{"ThreeSusFour", "3sus4", "C#sus4"},
                    ConvertRow{"SharpBassAfterSlash", "3/7", "C#/G#"},
                    ConvertRow{"LoweredWithSuffixDigit", "b37 b67", "C7 F7"}),
    testsupport::RowName());

TEST_F(ConvertTest, TagsTheDegreesWhoseLettersChangeTheLength)
{
    host.open(fromNotation("{b|1 3 37 b3 b2 #4 #5/6}"));
    chords::ConvertNNStoA(host, boldFont(), true);
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
    EXPECT_THROW(chords::ConvertNNStoA(host, boldFont()), word::AutomationError);
    EXPECT_EQ(toNotation(*host.activeText()), "{b|6DASH7} {b|3DIGIT7}");
}

} // namespace
