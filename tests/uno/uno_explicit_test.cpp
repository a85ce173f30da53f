// Formatted Replace-Alls over documents whose text carries explicit formatting: a chord line
// formatted as a whole with its blanks explicitly not bold (not italic, not underlined, another
// colour), every run carrying all its attributes, bold from a paragraph style. Every chord in the
// chord font is found, however the document stores its formatting.

#include "edit/combinelines.h"
#include "support/office.h"
#include "tests/support/rows.h"
#include "word/replacetext.h"
#include "word/uno/office.h"

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextDocument.hpp>
#include <com/sun/star/text/XTextTable.hpp>
#include <com/sun/star/text/XTextTablesSupplier.hpp>

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace
{

using unotest::office;
using word::ChordFont;
using word::uno::RunFormatting;

constexpr int32_t red = 255; // lColor of pure red

ChordFont chordFont(int bold, int italic, int underline, int useColor = 0)
{
    return {useColor != 0, bold || italic || underline, bold != 0, italic != 0, underline != 0, red};
}

struct Row {
    const char *name;
    std::string doc;
    ChordFont font;
    std::string find;
    std::string replace;
    bool wildcards;
    std::string expected;
};

void PrintTo(const Row &row, std::ostream *os)
{
    *os << row.name;
}

class ReplaceOverExplicitFormatting : public ::testing::TestWithParam<Row>
{
};

TEST_P(ReplaceOverExplicitFormatting, FindsEveryMatchInTheChordFont)
{
    const auto &row = GetParam();
    for (const auto formatting : {RunFormatting::Defaults, RunFormatting::Explicit, RunFormatting::WholeLineFirst}) {
        SCOPED_TRACE(formatting == RunFormatting::Defaults       ? "defaults only"
                         : formatting == RunFormatting::Explicit ? "every attribute on every run"
                                                                 : "whole line formatted first");
        auto &host = office();
        host.closeAllDocuments();
        host.newDocument(unotest::runsFromNotation(row.doc), formatting);
        ASSERT_EQ(unotest::notationOf(host.documentRuns()), row.doc);
        word::ReplaceText(host, row.font, row.find, row.replace, row.wildcards);
        EXPECT_EQ(unotest::notationOf(host.documentRuns()), row.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows,
    ReplaceOverExplicitFormatting,
    ::testing::Values(
        Row{"BoldBetweenBlanksNotBold",
            "{b|D} {b|G} {b|G} {b|G}",
            chordFont(1, 0, 0),
            "G",
            "*:11:*",
            false,
            "{b|D} {b|*:11:*} {b|*:11:*} {b|*:11:*}"},
        Row{"ItalicBetweenBlanksNotItalic",
            "{i|D} {i|G} {i|G} {i|G}",
            chordFont(0, 1, 0),
            "G",
            "X",
            false,
            "{i|D} {i|X} {i|X} {i|X}"},
        Row{"UnderlinedBetweenBlanksNotUnderlined",
            "{u|D} {u|G} {u|G} {u|G}",
            chordFont(0, 0, 1),
            "G",
            "X",
            false,
            "{u|D} {u|X} {u|X} {u|X}"},
        Row{"ColourBetweenBlanksOfAnotherColour",
            "{#FF0000|D}{#0000FF| }{#FF0000|G}{#0000FF| }{#FF0000|G}{#0000FF| }{#FF0000|G}",
            chordFont(0, 0, 0, 1),
            "G",
            "X",
            false,
            "{#FF0000|D}{#0000FF| }{#FF0000|X}{#0000FF| }{#FF0000|X}{#0000FF| }{#FF0000|X}"},
        Row{"AllCriteriaTogether",
            "{bu#FF0000|D} {bu#FF0000|G} {b#FF0000|G} {bu|G} {bu#FF0000|G}",
            chordFont(1, 0, 1, 1),
            "G",
            "X",
            false,
            "{bu#FF0000|D} {bu#FF0000|X} {b#FF0000|G} {bu|G} {bu#FF0000|X}"},
        Row{"LyricsLeftAlone",
            "{b|D} {b|G} {b|G} {b|G}\nGod is Good {b|G}",
            chordFont(1, 0, 0),
            "G",
            "X",
            false,
            "{b|D} {b|X} {b|X} {b|X}\nGod is Good {b|X}"},
        Row{"LineBoldAsAWhole",
            "{b|D G G G}\nGod is Good {b|G}",
            chordFont(1, 0, 0),
            "G",
            "X",
            false,
            "{b|D X X X}\nGod is Good {b|X}"},
        Row{"ChordAfterChord",
            "{b|D}{bi|G} {b|G} {b|G} {b|G}",
            chordFont(1, 0, 0),
            "G",
            "X",
            false,
            "{b|D}{bi|X} {b|X} {b|X} {b|X}"},
        Row{"MatchMustCarryTheFontWhole",
            "{b|D} {b|A}# {b|A#} {b|A#} {b|A#}",
            chordFont(1, 0, 0),
            "A#",
            "X",
            false,
            "{b|D} {b|A}# {b|X} {b|X} {b|X}"},
        Row{"ReplacementHoldingTheFindTextIsNotReplacedAgain",
            "{b|D} {b|G} {b|G} {b|G}",
            chordFont(1, 0, 0),
            "G",
            "G7",
            false,
            "{b|D} {b|G7} {b|G7} {b|G7}"},
        Row{"EmptyReplacementDeletes", "{b|Am} {b|Am} x Am", chordFont(1, 0, 0), "Am", "", false, "  x Am"},
        Row{"WildcardBold",
            "{b|Dm} {b|G7} {b|Am} {b|Em}",
            chordFont(1, 0, 0),
            "<[A-G]",
            "X",
            true,
            "{b|Xm} {b|X7} {b|Xm} {b|Xm}"},
        Row{"WildcardGroupsItalic",
            "{i|Db} {i|Gb} {i|Eb} {i|Ab}",
            chordFont(0, 1, 0),
            "([A-G])(b)",
            "\\2\\1",
            true,
            "{i|bD} {i|bG} {i|bE} {i|bA}"},
        Row{"WildcardColourAndUnderline",
            "{u#FF0000|Bb}{#0000FF| }{u#FF0000|C}{#0000FF| }{u#FF0000|Bb}",
            chordFont(0, 0, 1, 1),
            "B[b#]",
            "A",
            true,
            "{u#FF0000|A}{#0000FF| }{u#FF0000|C}{#0000FF| }{u#FF0000|A}"}),
    testsupport::RowName());

// A flat ODF text file of body, with a paragraph style "Chords" that is bold, a text style T1 that
// is not, and textStyles.
std::string styledSheet(const std::string &textStyles, const std::string &body)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
           "<office:document xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\""
           " xmlns:style=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\""
           " xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\""
           " xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\""
           " xmlns:fo=\"urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0\""
           " office:version=\"1.2\" office:mimetype=\"application/vnd.oasis.opendocument.text\">"
           "<office:styles><style:style style:name=\"Chords\" style:family=\"paragraph\">"
           "<style:text-properties fo:font-weight=\"bold\"/></style:style></office:styles>"
           "<office:automatic-styles><style:style style:name=\"T1\" style:family=\"text\">"
           "<style:text-properties fo:font-weight=\"normal\"/></style:style>"
        + textStyles + "</office:automatic-styles><office:body><office:text>" + body
        + "</office:text></office:body></office:document>";
}

// A song sheet whose chord line is bold by its paragraph style "Chords", with the blanks made plain
// (text style T1) and the spans given, and the paragraphs after it.
std::string
chordsStyledSheet(const std::string &textStyles, const std::string &chordLine, const std::string &after = "")
{
    return styledSheet(textStyles, "<text:p text:style-name=\"Chords\">" + chordLine + "</text:p>" + after);
}

// Opens a flat ODF text file holding sheet in the office, as the only document.
void openSheet(const std::string &sheet)
{
    const std::string path = unotest::scratchDir() + "/styled.fodt";
    std::ofstream(path) << sheet;
    auto &host = office();
    host.closeAllDocuments();
    host.openDocument(path);
}

TEST(ReplaceOverExplicitFormatting, BoldFromAParagraphStyleWithBlanksNotBold)
{
    // A paragraph style gives the chord line its bold; its blanks are made not bold.
    openSheet(chordsStyledSheet("",
                                "D<text:span text:style-name=\"T1\"> </text:span>G"
                                "<text:span text:style-name=\"T1\"> </text:span>G"
                                "<text:span text:style-name=\"T1\"> </text:span>G",
                                "<text:p>Good</text:p>"));
    auto &host = office();
    word::ReplaceText(host, chordFont(1, 0, 0), "G", "X", false);
    EXPECT_EQ(unotest::notationOf(host.documentRuns()), "{b|D} {b|X} {b|X} {b|X}\nGood");
}

// The text and the value of a character property of each text portion of the active document.
template<class T> std::vector<std::pair<std::string, T>> portionValues(const char *property)
{
    namespace css = ::com::sun::star;
    using css::uno::UNO_QUERY_THROW;
    const auto desktop = css::frame::Desktop::create(word::uno::connectPipe(unotest::officeOptions().pipeName).remote);
    css::uno::Reference<css::text::XTextDocument> doc(desktop->getCurrentComponent(), UNO_QUERY_THROW);
    std::vector<std::pair<std::string, T>> portions;
    css::uno::Reference<css::container::XEnumerationAccess> text(doc->getText(), UNO_QUERY_THROW);
    const auto paragraphs = text->createEnumeration();
    while (paragraphs->hasMoreElements()) {
        css::uno::Reference<css::container::XEnumerationAccess> paragraph(paragraphs->nextElement(), UNO_QUERY_THROW);
        const auto runs = paragraph->createEnumeration();
        while (runs->hasMoreElements()) {
            css::uno::Reference<css::text::XTextRange> run(runs->nextElement(), UNO_QUERY_THROW);
            T value{};
            css::uno::Reference<css::beans::XPropertySet>(run, UNO_QUERY_THROW)
                ->getPropertyValue(rtl::OUString::createFromAscii(property)) >>= value;
            const auto utf8 = rtl::OUStringToOString(run->getString(), RTL_TEXTENCODING_UTF8);
            portions.emplace_back(std::string(utf8.getStr(), static_cast<std::size_t>(utf8.getLength())), value);
        }
    }
    return portions;
}

// The text and kerning (1/100 mm) of each text portion of the active document.
std::vector<std::pair<std::string, sal_Int16>> kernedPortions()
{
    return portionValues<sal_Int16>("CharKerning");
}

// Transposes G to A in a chord line bold by its paragraph style, in one undo step, and checks that
// every text portion keeps its value of the property (the portions reading "G" that are chords, by
// their value, reading "A").
template<class T>
void expectPortionsKeep(
    const char *property,
    const std::string &sheet,
    bool (*chord)(T) = [](T) {
        return true;
    })
{
    openSheet(sheet);
    auto &host = office();
    auto expected = portionValues<T>(property);
    for (auto &[text, value] : expected) {
        if (text == "G" && chord(value)) {
            text = "A";
        }
    }
    {
        word::UndoGroup group(host, "Transpose");
        word::ReplaceText(host, chordFont(1, 0, 0), "G", "*:11:*", false);
        word::ReplaceText(host, chordFont(1, 0, 0), "*:11:*", "A", false);
    }
    EXPECT_EQ(portionValues<T>(property), expected);
}

TEST(ReplaceOverExplicitFormatting, EachChordKeepsItsOwnKerning)
{
    // One chord is spaced out by 0.5 mm, the others are not.
    const auto sheet = chordsStyledSheet(
        "<style:style style:name=\"K\" style:family=\"text\">"
        "<style:text-properties fo:letter-spacing=\"0.05cm\"/></style:style>",
        "G<text:span text:style-name=\"T1\"> </text:span>"
        "<text:span text:style-name=\"K\">G</text:span>"
        "<text:span text:style-name=\"T1\"> </text:span>G");
    ASSERT_NO_FATAL_FAILURE(expectPortionsKeep<sal_Int16>("CharKerning", sheet));
    EXPECT_EQ(unotest::notationOf(office().documentRuns()), "{b|A} {b|A} {b|A}");
    ASSERT_NE(kernedPortions()[2].second, 0);
}

TEST(ReplaceOverExplicitFormatting, AThirdWeightStaysAsItWas)
{
    // A semibold blank and a semibold G between bold chords: not the chord font, and left so.
    const auto sheet = chordsStyledSheet(
        "<style:style style:name=\"S\" style:family=\"text\">"
        "<style:text-properties fo:font-weight=\"600\"/></style:style>",
        "G<text:span text:style-name=\"S\"> </text:span>G"
        "<text:span text:style-name=\"T1\"> </text:span>"
        "<text:span text:style-name=\"S\">G</text:span>"
        "<text:span text:style-name=\"T1\"> </text:span>G");
    expectPortionsKeep<float>("CharWeight", sheet, [](float weight) {
        return weight == 150.0f;
    });
}

TEST(ReplaceOverExplicitFormatting, ChordLinesInATableToo)
{
    namespace css = ::com::sun::star;
    using css::uno::UNO_QUERY_THROW;
    const std::string line =
        "<text:p text:style-name=\"Chords\">G<text:span text:style-name=\"T1\"> </text:span>G</text:p>";
    openSheet(styledSheet("",
                          "<table:table><table:table-column/><table:table-row><table:table-cell>" + line
                              + "</table:table-cell></table:table-row></table:table>" + line));
    auto &host = office();
    {
        word::UndoGroup group(host, "Transpose");
        word::ReplaceText(host, chordFont(1, 0, 0), "G", "A", false);
    }
    const auto desktop = css::frame::Desktop::create(word::uno::connectPipe(unotest::officeOptions().pipeName).remote);
    css::uno::Reference<css::text::XTextTablesSupplier> tables(desktop->getCurrentComponent(), UNO_QUERY_THROW);
    css::uno::Reference<css::container::XIndexAccess> all(tables->getTextTables(), UNO_QUERY_THROW);
    css::uno::Reference<css::text::XTextTable> table(all->getByIndex(0), UNO_QUERY_THROW);
    css::uno::Reference<css::text::XText> cell(table->getCellByName("A1"), UNO_QUERY_THROW);
    EXPECT_EQ(cell->getString(), "A A");
    EXPECT_EQ(unotest::notationOf(host.documentRuns()), "{b|A} {b|A}");
}

TEST(ReplaceOverExplicitFormatting, AWholePassMovesEveryChordOnceInsideAnUndoStep)
{
    const std::string sheet = "{b|C}   {b|G/B}   {b|Am7}  {b|F}\nAmazing Grace\n{b|F#m7b5}  {b|Bb}  {b|C}  {b|Eb}";
    auto &host = office();
    host.closeAllDocuments();
    host.newDocument(unotest::runsFromNotation(sheet), RunFormatting::WholeLineFirst);
    {
        word::UndoGroup group(host, "Transpose");
        unotest::transposePass(host, chordFont(1, 0, 0), 2, false, false);
    }
    EXPECT_EQ(unotest::notationOf(host.documentRuns()),
              "{b|D}   {b|A/Db}   {b|Bm7}  {b|G}\nAmazing Grace\n{b|Abm7b5}  {b|C}  {b|D}  {b|F}");
    EXPECT_TRUE(host.undo());
    EXPECT_EQ(unotest::notationOf(host.documentRuns()), sheet);
}

} // namespace

// Combine Lines cuts a chord line and pastes it at the end of the line above: the chords keep the
// chord font however their line stores it (as a whole with its blanks made plain, or run by run).
TEST(CombineLinesOverExplicitFormatting, TheMovedChordsKeepTheirFont)
{
    const std::pair<std::string, std::string> sheets[] = {
        {"C   G\nfirst half\n{b|D}   {b|A}\nsecond half\nnext", "C   G{b|D}   {b|A}\nfirst halfsecond half\nnext"},
        {"C\nfirst\n{i#FF0000|E}  {i|B}\nsecond\nnext", "C{i#FF0000|E}  {i|B}\nfirstsecond\nnext"},
    };
    for (const auto &[sheet, expected] : sheets) {
        for (const auto formatting :
             {RunFormatting::Defaults, RunFormatting::Explicit, RunFormatting::WholeLineFirst}) {
            SCOPED_TRACE(sheet + " formatting " + std::to_string(static_cast<int>(formatting)));
            auto &host = office();
            host.closeAllDocuments();
            host.newDocument(unotest::runsFromNotation(sheet), formatting);
            edit::CombineLines(host);
            EXPECT_EQ(unotest::notationOf(host.documentRuns()), expected);
        }
    }
}
