// Whole-sheet wildcard passes at the host level: the chord pattern catalogue with replacement
// formatting, and the eighteen Nashville conversion steps with the chord font criteria.

#include "chords/marking.h"
#include "tests/support/hostfixture.h"
#include "word/replacetext.h"

#include <gtest/gtest.h>

using testsupport::SheetHost;
using word::FontProperty;

namespace
{

// The twenty marking passes, each giving the matched text the attributes in changes.
void markChords(word::Application &app, const std::vector<std::pair<FontProperty, int32_t>> &changes)
{
    for (const auto pattern : chords::catalogue) {
        testsupport::runReplace(app, {std::string(pattern), "", true, false, true, {}, changes});
    }
}

struct MarkRow {
    const char *name;
    const char *sheet;
    const char *expected;
};

class ChordMarking : public testing::TestWithParam<MarkRow>
{
};

TEST_P(ChordMarking, MarksBold)
{
    SheetHost h(GetParam().sheet);
    markChords(h.host, {{FontProperty::Bold, word::wdTrue}});
    EXPECT_EQ(h.sheet(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows,
    ChordMarking,
    testing::Values(MarkRow{"SlashChord", "G/B", "{b|G}/{b|B}"},
                    MarkRow{"SharpWhole", "F# Bb", "{b|F#} {b|Bb}"},
                    MarkRow{"ArticleA", "A man", "{b|A} man"},
                    MarkRow{"LyricPrefixes", "Amen Embrace", "{b|Am}en {b|Emb}race"},
                    MarkRow{"SmallRootsNever", "am f# e", "am f# e"},
                    MarkRow{"CapitalSusDimDefeat", "ESus BDim", "ESus BDim"},
                    MarkRow{"StopsOutsideSuffixSet", "C7sus4 Dm(maj7)", "{b|C7}sus4 {b|Dm}(maj7)"},
                    MarkRow{"MajWhole", "Gmaj7 F#maj13 EbMaj", "{b|Gmaj7} {b|F#maj13} {b|EbMaj}"},
                    MarkRow{"SuffixSet", "F#m7b5 G7+ A6-9", "{b|F#m7b5} {b|G7+} {b|A6-9}"},
                    MarkRow{"SevenSuffixCharactersAtMost", "Cm7b5b9#11", "{b|Cm7b5b9#}11"},
                    MarkRow{"SusForms", "F#sus Absus4 Dsus Dsus2", "{b|F#sus} {b|Absus4} {b|Dsus} {b|Dsus2}"},
                    MarkRow{"DimForms", "F#dim Bdim G#dim7 Edim7", "{b|F#dim} {b|Bdim} {b|G#dim7} {b|Edim7}"},
                    MarkRow{"AugAddForms",
                            "Abaug EAug Ebadd9 Gadd2 F#7add4 A7add9",
                            "{b|Abaug} {b|EAug} {b|Ebadd9} {b|Gadd2} {b|F#7add4} {b|A7add9}"},
                    MarkRow{"NashvilleNever", "1 b3 5m", "1 b3 5m"},
                    MarkRow{"AlreadyMarked", "{b|G} C", "{b|G} {b|C}"},
                    MarkRow{"AcrossLines", "G\vD\nEm", "{b|G}\v{b|D}\n{b|Em}"}),
    [](const auto &info) {
        return std::string(info.param.name);
    });

TEST(ChordMarking, OnlyTheAttributesSetChange)
{
    SheetHost h("{iu|G} {b|x} Am");
    markChords(h.host, {{FontProperty::Color, 0x0000FF}});
    EXPECT_EQ(h.sheet(), "{iu#FF0000|G} {b|x} {#FF0000|Am}");
}

TEST(ChordMarking, EmptyReplacementWithoutAttributesDeletes)
{
    SheetHost h("G Am lyric");
    markChords(h.host, {});
    // Empty replacement and no formatting would delete: the caller must not run the passes then;
    // here the host deletes, as Word does, which is why chord marking skips them.
    EXPECT_EQ(h.sheet(), "  lyric");
}

const char *const nashville[][2] = {
    {"-([1-7]{1})", "DASH\\1"},
    {"+([1-7]{1})", "PLUS\\1"},
    {"#([1-7]{1})", "SHARP\\1"},
    {"<1", "A"},
    {"<2", "B"},
    {"<3", "C#"},
    {"<4", "D"},
    {"<5", "E"},
    {"<6", "F#"},
    {"<7", "G#"},
    {"<b2", "Bb"},
    {"<b3", "C"},
    {"<b5", "Eb"},
    {"<b6", "F"},
    {"<b7", "G"},
    {"DASH([1-7]{1})", "-\\1"},
    {"PLUS([1-7]{1})", "+\\1"},
    {"SHARP([1-7]{1})", "#\\1"},
};

class NashvilleConversion : public testing::TestWithParam<MarkRow>
{
};

TEST_P(NashvilleConversion, GivesLetterChordsInA)
{
    SheetHost h(GetParam().sheet);
    const word::ChordFont bold{0, 1, 1, 0, 0, 0};
    for (const auto &step : nashville) {
        word::ReplaceText(h.host, bold, step[0], step[1], true);
    }
    EXPECT_EQ(h.sheet(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Rows,
                         NashvilleConversion,
                         testing::Values(MarkRow{"WorkedExample", "{b|1 4/5 6-7 b7 5sus4}", "{b|A D/E F#-7 G Esus4}"},
                                         MarkRow{"PlainDegrees", "{b|1 4 5 6m}", "{b|A D E F#m}"},
                                         MarkRow{"ProtectedSuffixDigits", "{b|2-7 5+5}", "{b|B-7 E+5}"},
                                         MarkRow{"SlashBass", "{b|4/5 2/4}", "{b|D/E B/D}"},
                                         MarkRow{"LoweredDegrees", "{b|b7 b3m b2 b5 b6}", "{b|G Cm Bb Eb F}"},
                                         MarkRow{"OutsideTheTable", "{b|#4 b4 b1 8 9}", "{b|#4 b4 b1 8 9}"},
                                         MarkRow{"LetterChordsPassThrough", "{b|F#m7-5 C7#5}", "{b|F#m7-5 C7#5}"},
                                         MarkRow{"ProtectionWordsInTheSheet", "{b|DASH3 PLUS4 SHARP5}", "{b|-3 +4 #5}"},
                                         MarkRow{"LyricDigitsUntouched", "{b|1}\nverse 2 of 4", "{b|A}\nverse 2 of 4"},
                                         MarkRow{"DigitAfterWrittenSharpBeginsAWord", "{b|34}", "{b|C#D}"}),
                         [](const auto &info) {
                             return std::string(info.param.name);
                         });

TEST(NashvilleConversion, WithoutCriteriaLyricsConvertToo)
{
    SheetHost h("{b|1}\nverse 2");
    for (const auto &step : nashville) {
        word::ReplaceText(h.host, word::ChordFont{}, step[0], step[1], true);
    }
    EXPECT_EQ(h.sheet(), "{b|A}\nverse B");
}

TEST(WildcardErrors, MalformedPatternChangesNothing)
{
    SheetHost h("{b|G} (x");
    try {
        testsupport::runReplace(h.host, {"(x", "y", true, true, true, {}, {}});
        FAIL();
    } catch (const word::AutomationError &e) {
        EXPECT_STREQ(e.what(), "The Find What text contains a Pattern Match expression which is not valid.");
    }
    EXPECT_THROW(testsupport::runReplace(h.host, {"(x)", "\\2", true, true, true, {}, {}}), word::AutomationError);
    EXPECT_EQ(h.sheet(), "{b|G} (x");
    EXPECT_FALSE(h.host.canUndo());
}

TEST(WildcardCriteria, CharactersWithoutTheCriterionCannotBeConsumed)
{
    SheetHost h("{b|Am}7 {b|A}m{b|7}");
    testsupport::runReplace(h.host, {"A?@", "X", true, true, true, {{FontProperty::Bold, word::wdTrue}}, {}});
    EXPECT_EQ(h.sheet(), "{b|X}7 {b|A}m{b|7}");
}

} // namespace
