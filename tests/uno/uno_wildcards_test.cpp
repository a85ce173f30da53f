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

struct Row {
    const char *name;
    std::string word;
    std::string regex;
};

class WildcardTranslation : public ::testing::TestWithParam<Row>
{
};

TEST_P(WildcardTranslation, GivesTheRegex)
{
    EXPECT_EQ(wildcardToRegex(GetParam().word), GetParam().regex);
}

INSTANTIATE_TEST_SUITE_P(Rows,
                         WildcardTranslation,
                         ::testing::Values(Row{"WholeWordRoot", "<[A-G]{1}>", start + "[A-G]{1}" + end},
                                           Row{"SuffixSetWithTrailingDash",
                                               "<[A-G]{1}[#bMm1-79+-]{1,7}",
                                               start + "[A-G]{1}[\\#bMm1-79\\+\\-]{1,7}"},
                                           Row{"LowerBoundOnly", "a{2,}", "a{2,}"},
                                           Row{"AnyCharacter", "a?c", "a.c"},
                                           Row{"ShortestRun", "a*c", "a.*?c"},
                                           Row{"OneOrMore", "lo@", "lo+"},
                                           Row{"NegatedSet", "[!a-c]", "[^a-c]"},
                                           Row{"CaretCodesInASet", "[!^9^11^13^t^l^^ ]@", "[^\\t\\n\\x{D}\\t\\n\\^ ]+"},
                                           Row{"GroupWithLiteralSign", "-([1-7]{1})", "-([1-7]{1})"},
                                           Row{"RegexSpecialsLiteral", "a.b$c|d+e^^", "a\\.b\\$c\\|d\\+e\\^"},
                                           Row{"EscapedSpecials", "\\[\\*\\?\\<\\@", "\\[\\*\\?<@"},
                                           Row{"TabAndLineBreakCodes", "a^tb^11c", "a\\tb\\nc"},
                                           Row{"CharacterCode", "^65", "A"},
                                           Row{"ParagraphMarkAtTheEnd", "x^13", "x$"},
                                           Row{"NonAscii", "<Dür", start + "Dür"},
                                           Row{"GroupRepeated", "(ab)@", "(ab)+"},
                                           Row{"TextMarker", "*:1:*", ".*?:1:.*?"},
                                           Row{"CodeOfThreeDigitsAtMost", "^0651", "A1"},
                                           Row{"CodesInASet", "[^t^65-^67]", "[\\tA-C]"},
                                           Row{"RawCarriageReturn", "a\r", "a\\x{D}"}),
                         testsupport::RowName());

class InvalidPattern : public ::testing::TestWithParam<const char *>
{
};

TEST_P(InvalidPattern, IsRefusedWithWordsMessage)
{
    try {
        wildcardToRegex(GetParam());
        FAIL() << "accepted " << GetParam();
    } catch (const word::AutomationError &e) {
        EXPECT_STREQ(e.what(), word::uno::invalidPatternMessage);
    }
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
    try {
        wildcardToRegex(GetParam());
        FAIL() << "accepted " << GetParam();
    } catch (const word::AutomationError &e) {
        EXPECT_NE(std::string(e.what()).find("paragraph mark"), std::string::npos) << e.what();
    }
}

INSTANTIATE_TEST_SUITE_P(Patterns, ParagraphMarkInside, ::testing::Values("a^pb", "(a^p)", "a^13@", "^p{2}"));

struct ReplacementRow {
    const char *name;
    std::string word;
    std::string regex;
};

class ReplacementTranslation : public ::testing::TestWithParam<ReplacementRow>
{
};

TEST_P(ReplacementTranslation, GivesTheRegexReplacement)
{
    EXPECT_EQ(wildcardReplacementToRegex(GetParam().word), GetParam().regex);
}

INSTANTIATE_TEST_SUITE_P(Rows,
                         ReplacementTranslation,
                         ::testing::Values(ReplacementRow{"GroupReference", "DASH\\1", "DASH$1"},
                                           ReplacementRow{"LiteralAmpersandAndDollar", "a&b$c", "a\\&b\\$c"},
                                           ReplacementRow{"WholeMatch", "[^&]", "[&]"},
                                           ReplacementRow{"EscapedBackslash", "a\\\\b", "a\\\\b"},
                                           ReplacementRow{"TabAndParagraph", "^t^p", "\\t\\n"},
                                           ReplacementRow{"Plain", "-\\1", "-$1"},
                                           ReplacementRow{"CharacterCode", "^65^0", "A^"},
                                           ReplacementRow{"ParagraphCode", "^130^13", "\u0082\\n"}),
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
