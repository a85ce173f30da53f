// The wildcard engine checked against the reference matcher: every short pattern over a few
// tokens against every short text, generated rows, and refused patterns.

#include "tests/support/refmatcher.h"
#include "tests/support/rows.h"
#include "word/builtin/replaceall.h"
#include "word/builtin/wildcard.h"

#include <gtest/gtest.h>

#include <random>

using namespace word::builtin;
using word::wildcards::ErrorCode;

namespace
{

// The engine's Replace-All of pattern by replacement over text (a document: text and its final
// mark), as text without the mark; std::nullopt when refused.
std::optional<std::u32string>
engineReplaceAll(const std::string &pattern, const std::string &replacement, const std::u32string &text)
{
    TextDocument doc;
    doc.insert(0, text, CharFormat{});
    FindRequest request;
    request.text = pattern;
    request.replacement = replacement;
    request.wildcards = true;
    try {
        replaceAll(doc, request);
    } catch (const word::wildcards::PatternError &) {
        return std::nullopt;
    }
    std::u32string result(doc.text());
    return result;
}

std::string show(const std::optional<std::u32string> &text)
{
    return text ? toUtf8(*text) : std::string("(refused)");
}

// Compare engine and reference on one (pattern, text); false (with a message) when they differ.
testing::AssertionResult agree(const std::string &pattern, const std::u32string &text)
{
    const std::string replacement = pattern.find('(') != std::string::npos ? "[\\1]" : "[]";
    const auto engine = engineReplaceAll(pattern, replacement, text);
    const auto reference = testsupport::refReplaceAll(toU32(pattern), toU32(replacement), text + U"\r");
    if (engine == reference) {
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure() << "pattern \"" << pattern << "\" on \"" << toUtf8(text) << "\": engine "
                                       << show(engine) << ", reference " << show(reference);
}

// Every text over alphabet up to maxLength characters.
std::vector<std::u32string> allTexts(std::u32string_view alphabet, std::size_t maxLength)
{
    std::vector<std::u32string> texts{U""};
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (texts[i].size() < maxLength) {
            for (const char32_t c : alphabet) {
                texts.push_back(texts[i] + c);
            }
        }
    }
    return texts;
}

// Every concatenation of up to maxTokens tokens.
std::vector<std::string> allPatterns(const std::vector<std::string> &tokens, std::size_t maxTokens)
{
    std::vector<std::string> patterns;
    std::vector<std::string> level{""};
    for (std::size_t n = 1; n <= maxTokens; ++n) {
        std::vector<std::string> nextLevel;
        for (const std::string &prefix : level) {
            for (const std::string &token : tokens) {
                nextLevel.push_back(prefix + token);
            }
        }
        patterns.insert(patterns.end(), nextLevel.begin(), nextLevel.end());
        level = std::move(nextLevel);
    }
    return patterns;
}

struct ExhaustiveRow {
    const char *name;
    std::vector<std::string> tokens;
    std::size_t maxTokens;
    std::u32string alphabet;
    std::size_t maxText;
};

class Exhaustive : public testing::TestWithParam<ExhaustiveRow>
{
};

TEST_P(Exhaustive, EngineAgreesWithReference)
{
    const ExhaustiveRow &row = GetParam();
    const auto texts = allTexts(row.alphabet, row.maxText);
    int failures = 0;
    for (const std::string &pattern : allPatterns(row.tokens, row.maxTokens)) {
        for (const std::u32string &text : texts) {
            const auto result = agree(pattern, text);
            EXPECT_TRUE(result);
            if (!result && ++failures > 20) {
                FAIL() << "too many differences";
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Tokens,
    Exhaustive,
    testing::Values(
        ExhaustiveRow{
            "ThreeOfSixteen",
            {"a", "b", "?", "*", "[ab]", "[!a]", "<", ">", "@", "{2}", "{1,2}", "{0,}", "(", ")", "\\@", "^13"},
            3,
            U"ab ",
            3},
        ExhaustiveRow{"FourOfNine", {"a", "?", "*", "<", ">", "@", "{0,1}", "(", ")"}, 4, U"a ", 4},
        ExhaustiveRow{"FourOfGroups", {"a", "b", "(", ")", "@", "*", "{1,}"}, 4, U"ab", 4}),
    testsupport::RowName());

// Random patterns of up to a dozen tokens against random texts, one stream of rows per seed.
class Generated : public testing::TestWithParam<int>
{
};

TEST_P(Generated, EngineAgreesWithReference)
{
    std::mt19937 random(static_cast<unsigned>(GetParam()));
    const std::vector<std::string> tokens{"a", "b",   "c",     "A",    "#",     " ",     "?",     "*",
                                          "@", "{1}", "{2,3}", "{1,}", "{0,2}", "[a-c]", "[!b]",  "[#b-]",
                                          "<", ">",   "(",     ")",    "\\*",   "^t",    "[A-Ca]"};
    const std::u32string alphabet = U"abcA# -\t";
    auto pick = [&random](std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
    };
    for (int row = 0; row < 400; ++row) {
        std::string pattern;
        for (std::size_t n = 1 + pick(8); n > 0; --n) {
            pattern += tokens[pick(tokens.size())];
        }
        std::u32string text;
        for (std::size_t n = pick(14); n > 0; --n) {
            text += alphabet[pick(alphabet.size())];
        }
        EXPECT_TRUE(agree(pattern, text));
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, Generated, testing::Range(1, 21), [](const auto &info) {
    return "Seed" + std::to_string(info.param);
});

struct RefusedRow {
    const char *name;
    const char *pattern;
    ErrorCode code;
    std::size_t position;
};

class Refused : public testing::TestWithParam<RefusedRow>
{
};

TEST_P(Refused, CarriesCodeAndPosition)
{
    const RefusedRow &row = GetParam();
    try {
        wildcard::Program::compile(row.pattern);
        FAIL() << "accepted " << row.pattern;
    } catch (const word::wildcards::PatternError &e) {
        EXPECT_EQ(e.code(), row.code);
        EXPECT_EQ(e.position(), row.position);
    }
    EXPECT_FALSE(testsupport::refValid(toU32(row.pattern)));
}

INSTANTIATE_TEST_SUITE_P(
    Rows,
    Refused,
    testing::Values(RefusedRow{"OpenBracket", "ab[cd", ErrorCode::UnbalancedBracket, 2},
                    RefusedRow{"CloseBracket", "ab]", ErrorCode::UnbalancedBracket, 2},
                    RefusedRow{"OpenParen", "(ab", ErrorCode::UnbalancedParen, 0},
                    RefusedRow{"CloseParen", "a)b", ErrorCode::UnbalancedParen, 1},
                    RefusedRow{"OpenBrace", "a{2", ErrorCode::UnbalancedBrace, 1},
                    RefusedRow{"CloseBrace", "a}", ErrorCode::UnbalancedBrace, 1},
                    RefusedRow{"EmptySet", "[]", ErrorCode::EmptySet, 0},
                    RefusedRow{"EmptyNegatedSet", "x[!]", ErrorCode::EmptySet, 1},
                    RefusedRow{"DescendingRange", "[z-a]", ErrorCode::DescendingRange, 1},
                    RefusedRow{"CountDescending", "a{3,2}", ErrorCode::BadCount, 1},
                    RefusedRow{"CountNotANumber", "a{x}", ErrorCode::BadCount, 2},
                    RefusedRow{"CountMissingLow", "a{,2}", ErrorCode::BadCount, 2},
                    RefusedRow{"CountTooLarge", "a{256}", ErrorCode::BadCount, 4},
                    RefusedRow{"DanglingEscape", "ab\\", ErrorCode::DanglingEscape, 2},
                    RefusedRow{"AtAtStart", "@a", ErrorCode::NothingToRepeat, 0},
                    RefusedRow{"CountAtStart", "{2}", ErrorCode::NothingToRepeat, 0},
                    RefusedRow{"CountAfterCount", "a{2}{3}", ErrorCode::NothingToRepeat, 4},
                    RefusedRow{"AtAfterStar", "*@", ErrorCode::NothingToRepeat, 1},
                    RefusedRow{"CountAfterWordStart", "<{2}", ErrorCode::NothingToRepeat, 1},
                    RefusedRow{"AtInEmptyGroup", "(@)", ErrorCode::NothingToRepeat, 1},
                    RefusedRow{"UnknownCaret", "a^q", ErrorCode::BadCaret, 1},
                    RefusedRow{"CaretZero", "^0", ErrorCode::BadCaret, 0},
                    RefusedRow{"DanglingCaret", "a^", ErrorCode::BadCaret, 1},
                    RefusedRow{"TenGroups", "(a)(a)(a)(a)(a)(a)(a)(a)(a)(a)", ErrorCode::TooManyGroups, 27}),
    testsupport::RowName());

TEST(Refused, GroupReferenceBeyondGroups)
{
    EXPECT_NO_THROW(word::wildcards::Replacement::parse("\\2\\1", 2));
    try {
        word::wildcards::Replacement::parse("ab\\3", 2);
        FAIL();
    } catch (const word::wildcards::PatternError &e) {
        EXPECT_EQ(e.code(), ErrorCode::BadGroupReference);
        EXPECT_EQ(e.position(), 2u);
    }
}

TEST(Refused, RunawayBacktrackingIsStoppedNotHung)
{
    FindRequest request;
    request.text = "(?@)@(?@)@(?@)@x";
    request.wildcards = true;
    TextDocument doc;
    doc.insert(0, std::u32string(60, U'a'), CharFormat{});
    EXPECT_THROW(replaceAll(doc, request), word::wildcards::PatternError);
}

struct MatchRow {
    const char *name;
    const char *pattern;
    const char *replacement;
    const char *text;
    const char *expected;
};

class Semantics : public testing::TestWithParam<MatchRow>
{
};

// A few rules stated by hand besides the comparison, where the reference shares the reading.
TEST_P(Semantics, GivesTheExpectedText)
{
    const MatchRow &row = GetParam();
    const auto result = engineReplaceAll(row.pattern, row.replacement, toU32(row.text));
    ASSERT_TRUE(result);
    EXPECT_EQ(toUtf8(*result), std::string(row.expected) + "\r");
}

INSTANTIATE_TEST_SUITE_P(Rows,
                         Semantics,
                         testing::Values(MatchRow{"StarIsShortest", "a*b", "X", "aabab", "XX"},
                                         MatchRow{"AtIsLongest", "a@", "X", "baaab", "bXb"},
                                         MatchRow{"CountTakesAsManyAsPresent", "[0-9]{1,3}", "N", "12345", "NN"},
                                         MatchRow{"BacktrackingAfterGreedy", "a@ab", "X", "aaab", "X"},
                                         MatchRow{"CaseExactAlways", "a", "X", "aA", "XA"},
                                         MatchRow{"UnicodeLettersAreWordCharacters", "<r", "X", "ér r", "ér X"},
                                         MatchRow{"GroupsSwap", "(a)(b)", "\\2\\1", "abab", "baba"},
                                         MatchRow{"WholeMatchCaret", "b@", "[^&]", "abba", "a[bb]a"},
                                         MatchRow{"ParagraphMarkCode", "a^13b", "X", "a\rb", "X"},
                                         MatchRow{"EscapedSpecials", "\\*\\?", "X", "*?", "X"},
                                         MatchRow{"SetWithTrailingDash", "[+-]", "X", "a+b-c", "aXbXc"},
                                         MatchRow{"NegatedSetTakesTheMarkToo", "[!a-c]", "X", "abcd", "abcXX"},
                                         MatchRow{"CharacterCode", "^65", "B", "A", "B"},
                                         MatchRow{"WordStartSeesInsertedText", "<1", "C#", "11", "C#C#"}),
                         testsupport::RowName());

} // namespace
