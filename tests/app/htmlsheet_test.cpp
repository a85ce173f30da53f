// Song sheets to and from HTML.

#include "app/htmlsheet.h"
#include "tests/support/rows.h"

#include <gtest/gtest.h>

namespace
{

using word::builtin::fromNotation;
using word::builtin::toNotation;

struct RoundTripRow {
    const char *name;
    const char *notation;
};

class RoundTripTest : public ::testing::TestWithParam<RoundTripRow>
{
};

TEST_P(RoundTripTest, SavedAndOpenedAgainIsTheSameSheet)
{
    const auto doc = fromNotation(GetParam().notation);
    const QString html = app::sheetToHtml(doc, QStringLiteral("Song"));
    EXPECT_EQ(toNotation(app::sheetFromHtml(html)), GetParam().notation) << html.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Sheets,
    RoundTripTest,
    ::testing::Values(RoundTripRow{"empty", ""},
                      RoundTripRow{"plain", "Amazing grace"},
                      RoundTripRow{"chords_over_lyrics", "{b#8B0000|G}      {b#8B0000|C}\nAmazing grace"},
                      RoundTripRow{"leading_and_double_blanks", "   {b|Am7}   {b|D}  \n  two  blanks"},
                      RoundTripRow{"empty_paragraphs", "verse\n\n\nchorus"},
                      RoundTripRow{"line_break", "{b|G}\vline two\nnext"},
                      RoundTripRow{"markup_characters", "a < b & c > d \"quoted\""},
                      RoundTripRow{"italic_underline", "{i|Chorus:} {u|twice} {biu#0000FF|F#m7b5}"},
                      RoundTripRow{"unicode", "Dm\u00e9l\u00e9e \u266f \U0001F3B8"},
                      // Found by fuzzing: a blank after a blank of another format collapsed on saving.
                      RoundTripRow{"blanks_across_formats", "{b|G} {b| }  {i| }{b|C}\nG {u| }x"}),
    testsupport::RowName());

TEST(HtmlSheet, ReadsAWordProcessorsBlanksAndColours)
{
    const QString html = QStringLiteral(
        "<html><body><p class=MsoNormal><b><span style='color:#C00000'>G</span></b>&nbsp;&nbsp; "
        "<b><span style='color:#C00000'>C</span></b></p><p class=MsoNormal><o:p>&nbsp;</o:p></p>"
        "<p class=MsoNormal>Amazing grace</p></body></html>");
    EXPECT_EQ(toNotation(app::sheetFromHtml(html)), "{b#C00000|G}   {b#C00000|C}\n\nAmazing grace");
}

TEST(HtmlSheet, ControlCharactersAreNoTextOfASheet)
{
    // Found by fuzzing: a NUL in a broken file was read as text and lost blanks after it on saving.
    const QString html = QStringLiteral("<p>G\u0001 C") + QChar(0) + QStringLiteral("D</p>");
    EXPECT_EQ(toNotation(app::sheetFromHtml(html)), "G CD");
}

TEST(HtmlSheet, TheSampleSheetHasBoldDarkRedChordsInG)
{
    QString error;
    const auto sheet = app::loadSheet(QStringLiteral(TONVALE_SOURCE_DIR "/samples/amazing-grace.html"), &error);
    ASSERT_TRUE(sheet) << error.toStdString();
    const std::string notation = toNotation(*sheet);
    EXPECT_NE(notation.find("{b#8B0000|G}"), std::string::npos) << notation;
    EXPECT_NE(notation.find("\nAmazing grace! How sweet the sound\n"), std::string::npos) << notation;
}

TEST(HtmlSheet, AMissingFileIsAClearError)
{
    QString error;
    EXPECT_FALSE(app::loadSheet(QStringLiteral("/nonexistent/song.html"), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("/nonexistent/song.html")));
}

} // namespace
