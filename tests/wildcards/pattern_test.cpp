// The wildcard front end: how "^" codes and digit runs read in patterns and replacements, and the
// size limit it sets for the programs compiled from its trees.

#include "tests/support/rows.h"
#include "word/builtin/wildcard.h"
#include "word/wildcards/pattern.h"
#include "word/wildcards/utf8.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace word::wildcards;

namespace
{

// The characters of a pattern made of Char items only.
std::u32string chars(const Pattern &pattern)
{
    std::u32string out;
    for (const Node &node : pattern.items) {
        EXPECT_EQ(node.kind, Node::Char);
        out += node.c;
    }
    return out;
}

struct CodeRow {
    const char *name;
    const char *pattern;
    std::u32string chars;
};

class CaretCodes : public testing::TestWithParam<CodeRow>
{
};

TEST_P(CaretCodes, ReadTheSameInPatternAndReplacement)
{
    const CodeRow &row = GetParam();
    EXPECT_EQ(chars(parse(row.pattern)), row.chars);
    std::string expanded;
    Replacement::parse(row.pattern, 0).expand("", {}, expanded);
    std::string expected;
    for (const char32_t c : row.chars) {
        word::utf8::append(expected, c);
    }
    EXPECT_EQ(expanded, expected);
}

INSTANTIATE_TEST_SUITE_P(Rows,
                         CaretCodes,
                         testing::Values(CodeRow{"Letters", "^p^l^t^^", U"\r\v\t^"},
                                         CodeRow{"CodesForTheLetters", "^13^11^9", U"\r\v\t"},
                                         CodeRow{"ThreeDigitsAtMost", "^0651", U"A1"},
                                         CodeRow{"ShortCodeThenText", "^65x", U"Ax"},
                                         CodeRow{"CodeAboveAscii", "^130", U"\u0082"},
                                         CodeRow{"EscapedCaret", "\\^p", U"^p"}),
                         testsupport::RowName());

TEST(CaretCodes, ParagraphMarkIsKnownFromItsCode)
{
    const Pattern pattern = parse("^p^13\r");
    ASSERT_EQ(pattern.items.size(), 3u);
    EXPECT_TRUE(pattern.items[0].paragraphCode);
    EXPECT_TRUE(pattern.items[1].paragraphCode);
    EXPECT_FALSE(pattern.items[2].paragraphCode);
}

TEST(CaretCodes, CountInSetsToo)
{
    const Pattern pattern = parse("[^t^65-^67]");
    ASSERT_EQ(pattern.sets.size(), 1u);
    const std::vector<std::pair<char32_t, char32_t>> ranges{{U'\t', U'\t'}, {U'A', U'C'}};
    EXPECT_EQ(pattern.sets[0].ranges, ranges);
}

struct ReplacementRow {
    const char *name;
    const char *replacement;
    std::string expanded; // over the text "abc" with group 1 = "b"
};

class Replacements : public testing::TestWithParam<ReplacementRow>
{
};

TEST_P(Replacements, Expand)
{
    const ReplacementRow &row = GetParam();
    std::string out;
    Replacement::parse(row.replacement, 1).expand("abc", {0, 3, 1, 2}, out);
    EXPECT_EQ(out, row.expanded);
}

INSTANTIATE_TEST_SUITE_P(Rows,
                         Replacements,
                         testing::Values(ReplacementRow{"GroupAndWhole", "\\1-^&", "b-abc"},
                                         ReplacementRow{"UnknownCodeKeepsCaret", "^q^", "^q^"},
                                         ReplacementRow{"ZeroCodeIsACaret", "^0x", "^x"},
                                         ReplacementRow{"EscapedDigitZero", "\\0\\\\", "0\\"}),
                         testsupport::RowName());

// The front end refuses a pattern whose program would be too large: the size it reckons must be
// the size the built-in host compiles.
TEST(ProgramSize, IsTheCompiledSize)
{
    for (const char *text :
         {"a", "a*b", "(ab)@", "(a*)@", "<a{2,5}>", "[a-c]{3,}", "((a?){2}b@){1,3}", "(<)@", "a{0,}", "(){3}"}) {
        const auto program = word::builtin::wildcard::Program::compile(text);
        EXPECT_EQ(programSize(parse(text).items) + 3, program.instructions().size()) << text;
    }
}

TEST(ProgramSize, LimitIsExact)
{
    // "?{n}" costs n instructions; with the program's first save, maxInstructions - 1 is the most.
    std::string fits;
    std::size_t total = 0;
    for (; total + 255 < maxInstructions; total += 255) {
        fits += "?{255}";
    }
    fits += "?{" + std::to_string(maxInstructions - 1 - total) + "}";
    EXPECT_NO_THROW(parse(fits));
    try {
        parse(fits + "?");
        FAIL() << "accepted a program of " << maxInstructions << " instructions";
    } catch (const PatternError &e) {
        EXPECT_EQ(e.code(), ErrorCode::TooLarge);
    }
}

TEST(ProgramSize, NestedCountsDoNotOverflow)
{
    EXPECT_THROW(parse("((((((((?{255}){255}){255}){255}){255}){255}){255}){255})"), PatternError);
}

} // namespace
