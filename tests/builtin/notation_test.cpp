#include "tests/support/rows.h"
#include "word/builtin/textdocument.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace word::builtin;

namespace
{

struct RoundTrip {
    const char *name;
    const char *notation;
};

class NotationRoundTrip : public testing::TestWithParam<RoundTrip>
{
};

TEST_P(NotationRoundTrip, ComesBackAsWritten)
{
    const TextDocument doc = fromNotation(GetParam().notation);
    EXPECT_EQ(toNotation(doc), GetParam().notation);
    EXPECT_EQ(doc.text().back(), paragraphMark);
}

INSTANTIATE_TEST_SUITE_P(Rows,
                         NotationRoundTrip,
                         testing::Values(RoundTrip{"Empty", ""},
                                         RoundTrip{"Plain", "Amazing grace"},
                                         RoundTrip{"ChordAndLyric", "{b#FF0000|Am7}  {b|G}\nAmazing grace"},
                                         RoundTrip{"AllAttributes", "{biu#0000FF|x}{u3|y}{c-738131969|z}"},
                                         RoundTrip{"LineBreak", "G\vD\nlyric"},
                                         RoundTrip{"Escapes", "\\{ \\} \\\\ a|b {b|c\\|d}"},
                                         RoundTrip{"Unicode", "{i|Ré♯}  über 𝄞"},
                                         RoundTrip{"FormattedMark", "{b|G\n}lyric"}),
                         testsupport::RowName());

TEST(Notation, ColourIsRedFirst)
{
    const TextDocument doc = fromNotation("{#102030|x}");
    EXPECT_EQ(doc.format(0).color, 0x10 + 256 * 0x20 + 65536 * 0x30);
}

TEST(Notation, FinalMarkIsImpliedAndPlain)
{
    const TextDocument doc = fromNotation("{b|G}");
    ASSERT_EQ(doc.length(), 2u);
    EXPECT_TRUE(doc.format(0).bold);
    EXPECT_FALSE(doc.format(1).bold);
}

class NotationMalformed : public testing::TestWithParam<const char *>
{
};

TEST_P(NotationMalformed, Throws)
{
    EXPECT_THROW(fromNotation(GetParam()), std::invalid_argument);
}

INSTANTIATE_TEST_SUITE_P(Rows,
                         NotationMalformed,
                         testing::Values("{b|open",
                                         "close}",
                                         "{x|bad attribute}",
                                         "{#12345|short}",
                                         "\\q",
                                         "end\\",
                                         "{b|{nested}}",
                                         "{b|a|b}",
                                         "{b no bar}"));

TEST(TextDocument, EditsKeepTheFinalMark)
{
    TextDocument doc = fromNotation("ab{b|cd}ef");
    doc.erase(1, 100);
    EXPECT_EQ(toNotation(doc), "a");
    EXPECT_EQ(doc.length(), 2u);
    doc.insert(5, U"xy", CharFormat{true});
    EXPECT_EQ(toNotation(doc), "a{b|xy}");
    doc.setFormat(0, 2, CharFormat{false, true});
    EXPECT_EQ(toNotation(doc), "{i|ax}{b|y}");
}

TEST(TextDocument, PositionsCountCharactersNotBytes)
{
    TextDocument doc = fromNotation("é{b|𝄞}x");
    EXPECT_EQ(doc.length(), 4u);
    EXPECT_TRUE(doc.format(1).bold);
    EXPECT_EQ(doc.utf8(1, 3), "𝄞x");
    TextDocument fragment = fromNotation("{u|ü}");
    doc.insert(2, fragment, 0, 1);
    EXPECT_EQ(toNotation(doc), "é{b|𝄞}{u|ü}x");
    const auto runs = doc.runs();
    ASSERT_EQ(runs.size(), 4u);
    EXPECT_EQ(runs[2].start, 2u);
    EXPECT_EQ(runs[2].length, 1u);
}

} // namespace
