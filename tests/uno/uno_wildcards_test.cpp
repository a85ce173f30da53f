#include "tests/support/automationerror.h"
#include "tests/support/rows.h"
#include "word/automation.h"
#include "word/uno/wildcards.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

using word::uno::wildcardReplacementToRegex;
using word::uno::wildcardToRegex;

const std::string wordChar = "[\\p{L}\\p{Nd}\\p{Mn}\\p{Mc}]";
const std::string start = "(?<!" + wordChar + ")(?=" + wordChar + ")";
const std::string end = "(?<=" + wordChar + ")(?!" + wordChar + ")";

using testsupport::TextRow; // a Word pattern and the regular expression it becomes

class WildcardTranslation : public ::testing::TestWithParam<TextRow>
{
};

TEST_P(WildcardTranslation, GivesTheRegex)
{
    EXPECT_EQ(wildcardToRegex(GetParam().before), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Rows,
    WildcardTranslation,
    ::testing::Values(
        TextRow{"WholeWordRoot", "<[A-G]{1}>", start + "[A-G]{1}" + end},
        TextRow{"SuffixSetWithTrailingDash", "<[A-G]{1}[#bMm1-79+-]{1,7}", start + "[A-G]{1}[\\#bMm1-79\\+\\-]{1,7}"},
        TextRow{"LowerBoundOnly", "a{2,}", "a{2,}"},
        TextRow{"AnyCharacter", "a?c", "a.c"},
        TextRow{"ShortestRun", "a*c", "a.*?c"},
        TextRow{"OneOrMore", "lo@", "lo+"},
        TextRow{"NegatedSet", "[!a-c]", "[^a-c]"},
        TextRow{"CaretCodesInASet", "[!^9^11^13^t^l^^ ]@", "[^\\t\\n\\x{D}\\t\\n\\^ ]+"},
        TextRow{"GroupWithLiteralSign", "-([1-7]{1})", "-([1-7]{1})"},
        TextRow{"RegexSpecialsLiteral", "a.b$c|d+e^^", "a\\.b\\$c\\|d\\+e\\^"},
        TextRow{"EscapedSpecials", "\\[\\*\\?\\<\\@", "\\[\\*\\?<@"},
        TextRow{"TabAndLineBreakCodes", "a^tb^11c", "a\\tb\\nc"},
        TextRow{"CharacterCode", "^65", "A"},
        TextRow{"ParagraphMarkAtTheEnd", "x^13", "x$"},
        TextRow{"NonAscii", "<Dür", start + "Dür"},
        TextRow{"GroupRepeated", "(ab)@", "(ab)+"},
        TextRow{"TextMarker", "*:1:*", ".*?:1:.*?"},
        TextRow{"CodeOfThreeDigitsAtMost", "^0651", "A1"},
        TextRow{"CodesInASet", "[^t^65-^67]", "[\\tA-C]"},
        TextRow{"RawCarriageReturn", "a\r", "a\\x{D}"}),
    testsupport::RowName());

/// What the translation of pattern says when it refuses it.
std::string refusal(const std::string &pattern)
{
    return testsupport::automationError([&] {
        wildcardToRegex(pattern);
    });
}

class InvalidPattern : public ::testing::TestWithParam<const char *>
{
};

TEST_P(InvalidPattern, IsRefusedWithWordsMessage)
{
    EXPECT_EQ(refusal(GetParam()), word::uno::invalidPatternMessage) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Patterns,
                         InvalidPattern,
                         ::testing::Values("",
                                           "[a-",
                                           "[]",
                                           "[z-a]",
                                           "(ab",
                                           "ab)",
                                           "a{2",
                                           "a{x}",
                                           "a{3,1}",
                                           "{2}",
                                           "@",
                                           "a@@",
                                           "a{1}{2}",
                                           "<@",
                                           "*{2}",
                                           "\\",
                                           "a^",
                                           "^x",
                                           "]",
                                           "}",
                                           "^0",
                                           "a{256}",
                                           "(?{255}){255}"));

class ParagraphMarkInside : public ::testing::TestWithParam<const char *>
{
};

TEST_P(ParagraphMarkInside, IsRefusedAsLibreOfficeCannotFindIt)
{
    EXPECT_NE(refusal(GetParam()).find("paragraph mark"), std::string::npos) << refusal(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Patterns, ParagraphMarkInside, ::testing::Values("a^pb", "(a^p)", "a^13@", "^p{2}"));

class ReplacementTranslation : public ::testing::TestWithParam<TextRow>
{
};

TEST_P(ReplacementTranslation, GivesTheRegexReplacement)
{
    EXPECT_EQ(wildcardReplacementToRegex(GetParam().before), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(Rows,
                         ReplacementTranslation,
                         ::testing::Values(TextRow{"GroupReference", "DASH\\1", "DASH$1"},
                                           TextRow{"LiteralAmpersandAndDollar", "a&b$c", "a\\&b\\$c"},
                                           TextRow{"WholeMatch", "[^&]", "[&]"},
                                           TextRow{"EscapedBackslash", "a\\\\b", "a\\\\b"},
                                           TextRow{"TabAndParagraph", "^t^p", "\\t\\n"},
                                           TextRow{"Plain", "-\\1", "-$1"},
                                           TextRow{"CharacterCode", "^65^0", "A^"},
                                           TextRow{"ParagraphCode", "^130^13", "\u0082\\n"}),
                         testsupport::RowName());

TEST(ReplacementTranslation, LineBreakIsRefusedHoweverWritten)
{
    for (const char *text : {"a^l", "^11", "a\vb"}) {
        EXPECT_THROW(wildcardReplacementToRegex(text), word::AutomationError) << text;
    }
}

TEST(LiteralRegex, MatchesTheTextAsWritten)
{
    EXPECT_EQ(word::uno::literalToRegex("*:1:*"), "\\*:1:\\*");
    EXPECT_EQ(word::uno::literalToRegex("a<b>(c)"), "a<b>\\(c\\)");
}

} // namespace
