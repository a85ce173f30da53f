// The LibreOffice Writer host gives Word's results: every test builds a document in a headless
// office, runs the operations the commands use and reads the text and formatting back.

#include "chords/marking.h"
#include "chords/nashville.h"
#include "edit/combinelines.h"
#include "support/office.h"
#include "tests/support/automationerror.h"
#include "tests/support/chordrows.h"
#include "word/messages.h"
#include "word/replacetext.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>

namespace
{

using unotest::office;
using word::ChordFont;

constexpr int32_t red = 255; // lColor of pure red

std::string onDocument(const std::string &doc, const std::function<void(word::uno::Host &)> &operation)
{
    auto &host = office();
    host.closeAllDocuments();
    host.newDocument(unotest::runsFromNotation(doc));
    operation(host);
    return unotest::notationOf(host.documentRuns());
}

ChordFont styleFont(int bold, int italic, int underline)
{
    return {.useStyle = true, .bold = bold != 0, .italic = italic != 0, .underline = underline != 0};
}

ChordFont colorFont(int32_t lColor)
{
    return {.useColor = true, .lColor = lColor};
}

// --- ReplaceText ---------------------------------------------------------------------------------

// The rows are the built-in host's: both hosts must give the same sheets.
class ReplaceTextOnOffice : public ::testing::TestWithParam<testsupport::ReplaceTextRow>
{
};

TEST_P(ReplaceTextOnOffice, ReplacesOnlyTextInTheChordFont)
{
    const auto &row = GetParam();
    EXPECT_EQ(onDocument(row.before,
                         [&](auto &host) {
                             word::ReplaceText(host, row.font, row.find, row.replacement, false);
                         }),
              row.after);
}

INSTANTIATE_TEST_SUITE_P(Rows,
                         ReplaceTextOnOffice,
                         ::testing::ValuesIn(testsupport::replaceTextRows()),
                         testsupport::RowName());

TEST(ReplaceTextOnOffice, BoldFromACharacterStyleCounts)
{
    // <strong> arrives as the "Strong Emphasis" character style, bold by its style only.
    const std::string path = unotest::scratchDir() + "/styled.html";
    std::ofstream(path) << "<html><body><p><strong>Am</strong> Am <b>Am</b></p></body></html>";
    auto &host = office();
    host.closeAllDocuments();
    host.openDocument(path);
    word::ReplaceText(host, styleFont(1, 0, 0), "Am", "X", false);
    EXPECT_EQ(unotest::notationOf(host.documentRuns()), "{b|X} Am {b|X}");
}

// --- Wildcard Replace-Alls ------------------------------------------------------------------------

// The rows are the built-in host's: both hosts must give the same sheets.
class ChordMarking : public ::testing::TestWithParam<testsupport::TextRow>
{
};

TEST_P(ChordMarking, MarksChordShapedText)
{
    EXPECT_EQ(onDocument(GetParam().before,
                         [](auto &host) {
                             unotest::markChords(host, styleFont(1, 0, 0));
                         }),
              GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(Rows, ChordMarking, ::testing::ValuesIn(testsupport::markingRows()), testsupport::RowName());

TEST(ChordMarkingOnOffice, WithoutReplacementFormattingTheMatchesAreDeletedAsInWord)
{
    EXPECT_EQ(onDocument("G/B Am lyric",
                         [](auto &host) {
                             unotest::markChords(host, styleFont(0, 0, 0));
                         }),
              "/  lyric");
}

TEST(ChordMarkingOnOffice, ColorOnlyKeepsTheStyle)
{
    EXPECT_EQ(onDocument("{u|Am} G",
                         [](auto &host) {
                             unotest::markChords(host, colorFont(red));
                         }),
              "{u#FF0000|Am} {#FF0000|G}");
}

TEST(FormattingOnlyOnOffice, ALiteralFindWithAnEmptyReplacementKeepsTheText)
{
    EXPECT_EQ(onDocument("{i|A}m Am",
                         [](auto &host) {
                             auto find = host.selection()->find();
                             find->ClearFormatting();
                             find->ClearReplacementFormatting();
                             find->setText("Am");
                             find->setReplacementText("");
                             find->setMatchWildcards(false);
                             find->setReplacementFont(word::FontProperty::Underline, word::wdTrue);
                             EXPECT_TRUE(find->Execute(word::wdReplaceAll));
                         }),
              "{iu|A}{u|m} {u|Am}");
}

std::string convertNNStoA(const std::string &doc)
{
    return onDocument(doc, [](auto &host) {
        chords::ConvertNNStoA(host, styleFont(1, 0, 0));
    });
}

class NashvilleConversion : public ::testing::TestWithParam<testsupport::TextRow>
{
};

TEST_P(NashvilleConversion, GivesLettersInA)
{
    EXPECT_EQ(convertNNStoA("{b|" + GetParam().before + "}"), "{b|" + GetParam().after + "}");
}

INSTANTIATE_TEST_SUITE_P(Rows,
                         NashvilleConversion,
                         ::testing::ValuesIn(testsupport::nashvilleRows()),
                         testsupport::RowName());

TEST(NashvilleConversionOnOffice, LyricDigitsUntouched)
{
    EXPECT_EQ(convertNNStoA("{b|1} verse 2"), "{b|A} verse 2");
}

TEST(WildcardOnOffice, MalformedPatternIsRefusedAndChangesNothing)
{
    std::string message;
    const std::string result = onDocument("{b|Am}", [&](auto &host) {
        message = testsupport::automationError([&] {
            word::ReplaceText(host, ChordFont{}, "[A-", "X", true);
        });
    });
    EXPECT_EQ(message, "The Find What text contains a Pattern Match expression which is not valid.");
    EXPECT_EQ(result, "{b|Am}");
}

// --- Transposition --------------------------------------------------------------------------------

struct PassRow {
    const char *name;
    std::string doc;
    int delta;
    bool sharps;
    bool nashville;
    std::string expected;
};

void PrintTo(const PassRow &row, std::ostream *os)
{
    *os << row.name;
}

class TranspositionPass : public ::testing::TestWithParam<PassRow>
{
};

TEST_P(TranspositionPass, MovesEveryChordOnce)
{
    const auto &row = GetParam();
    EXPECT_EQ(onDocument(row.doc,
                         [&](auto &host) {
                             word::UndoGroup group(host, "Transpose");
                             unotest::transposePass(host, styleFont(1, 0, 0), row.delta, row.sharps, row.nashville);
                         }),
              row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows,
    TranspositionPass,
    ::testing::Values(
        PassRow{"FlatsUpTwo", "{b|Bbm7/F} Bb lyric", 2, false, false, "{b|Cm7/G} Bb lyric"},
        PassRow{"ZeroRespells", "{b|A# G# C}", 0, false, false, "{b|Bb Ab C}"},
        PassRow{"SharpsDownOne", "{b|Db Eb\nAb}", -1, true, false, "{b|C D}\n{b|G}"},
        PassRow{"OddSpellingsRespelled", "{b|Cb Fbmaj7 E#/B#}", 1, false, false, "{b|C Fmaj7 Gb/Db}"},
        PassRow{"NoChordMarksStay", "{b|N.C. C NC (N.C) NC7}", 1, true, false, "{b|N.C. C# NC (N.C) NC#7}"},
        PassRow{"NashvilleOutInD", "{b|D G A Bm F#m}", -5, false, true, "{b|1 4 5 6m 3m}"},
        PassRow{"CapitalInsideTheSuffix", "{b|CAdd9}", 2, false, false, "{b|DBdd9}"}),
    testsupport::RowName());

TEST(UndoOnOffice, AWholePassUndoesAsOneStep)
{
    auto &host = office();
    onDocument("{b|C G Am F}", [](auto &h) {
        word::UndoGroup group(h, "Transpose");
        unotest::transposePass(h, styleFont(1, 0, 0), 2, false, false);
    });
    EXPECT_EQ(unotest::notationOf(host.documentRuns()), "{b|D A Bm G}");
    EXPECT_TRUE(host.undo());
    EXPECT_EQ(unotest::notationOf(host.documentRuns()), "{b|C G Am F}");
}

// Within one command the host sends the office only the find settings that change: a search keeps
// nothing of the one before it (wildcards, criteria, replacement formatting), and the selection
// stays where the command found it.
TEST(UndoOnOffice, SearchesInOneStepKeepNothingOfEachOther)
{
    auto &host = office();
    const std::string result = onDocument("{i|C} Am [A] *:1:*\nAmen", [](auto &h) {
        h.setSelection(2, 4);
        word::UndoGroup group(h, "Several");
        chords::FindChord(h, styleFont(1, 0, 0), "<[A-G]{1}>"); // wildcards, bold given: marks C
        word::ReplaceText(h, styleFont(1, 0, 0), "*:1:*", "X", false); // literal, bold only: none
        word::ReplaceText(h, styleFont(0, 1, 0), "C", "D", false); // italic only
        word::ReplaceText(h, ChordFont{}, "[A]", "[B]", false); // no criterion: literal brackets
    });
    EXPECT_EQ(result, "{bi|D} Am [B] *:1:*\nAmen");
    auto selection = host.selection();
    EXPECT_EQ(selection->Start(), 2);
    EXPECT_EQ(selection->End(), 4);
}

TEST(DocxOnOffice, ATransposedSheetKeepsItsOtherFormattingThroughDocx)
{
    const std::string sheet = "{b#0000FF|Am7}   {bu|G/B}\n{i|Amazing} grace {u3|how} sweet\n{b|F#m7b5}";
    const std::string path = unotest::scratchDir() + "/sheet.docx";
    auto &host = office();
    onDocument(sheet, [](auto &h) {
        unotest::transposePass(h, styleFont(1, 0, 0), 2, false, false);
    });
    host.storeAsDocx(path);
    host.closeAllDocuments();
    host.openDocument(path);
    EXPECT_EQ(unotest::notationOf(host.documentRuns()),
              "{b#0000FF|Bm7}   {bu|A/Db}\n{i|Amazing} grace {u3|how} sweet\n{b|Abm7b5}");
}

// --- Selection ------------------------------------------------------------------------------------

TEST(SelectionOnOffice, CombineLinesJoinsTwoPairs)
{
    auto &host = office();
    const std::string result = onDocument("C   G\nfirst half\n{b#FF0000|D}   A\nsecond half\nnext", [](auto &h) {
        edit::CombineLines(h);
    });
    EXPECT_EQ(result, "C   G{b#FF0000|D}   A\nfirst halfsecond half\nnext");
    auto selection = host.selection();
    EXPECT_EQ(selection->Start(), 33); // the start of "next"
    EXPECT_EQ(selection->End(), 33);
    EXPECT_EQ(host.clipboardText(), "second half");
}

TEST(SelectionOnOffice, CombineLinesUndoesAtOnce)
{
    auto &host = office();
    EXPECT_EQ(onDocument("C\nfirst\nD\nsecond\nnext",
                         [](auto &h) {
                             edit::CombineLines(h);
                         }),
              "CD\nfirstsecond\nnext");
    EXPECT_TRUE(host.undo());
    EXPECT_EQ(unotest::notationOf(host.documentRuns()), "C\nfirst\nD\nsecond\nnext");
}

TEST(SelectionOnOffice, TwoCombinesInARowTakeEightLines)
{
    EXPECT_EQ(onDocument("1\n2\n3\n4\n5\n6\n7\n8\n9",
                         [](auto &h) {
                             edit::CombineLines(h);
                             edit::CombineLines(h);
                         }),
              "13\n24\n57\n68\n9");
}

TEST(SelectionOnOffice, VerticalMovesRememberTheColumn)
{
    auto &host = office();
    onDocument("abcdef\nab\nabcdef", [](auto &) {});
    host.setSelection(5, 5);
    auto selection = host.selection();
    EXPECT_EQ(selection->MoveDown(word::wdLine, 1, std::nullopt), 1);
    EXPECT_EQ(selection->Start(), 9); // the end of the short line
    EXPECT_EQ(selection->MoveDown(word::wdLine, 1, std::nullopt), 1);
    EXPECT_EQ(selection->Start(), 15); // back in the fifth column
    EXPECT_EQ(selection->MoveDown(word::wdLine, 1, std::nullopt), 0);
}

TEST(SelectionOnOffice, MovesCountAndExtend)
{
    auto &host = office();
    onDocument("abc\ndef", [](auto &) {});
    auto selection = host.selection();
    EXPECT_EQ(selection->MoveRight(word::wdCharacter, 5, word::wdExtend), 5);
    EXPECT_EQ(selection->Start(), 0);
    EXPECT_EQ(selection->End(), 5);
    EXPECT_EQ(selection->MoveLeft(word::wdCharacter, 1, std::nullopt), 1); // collapses to the start
    EXPECT_EQ(selection->End(), 0);
    EXPECT_EQ(selection->MoveLeft(word::wdCharacter, 1, std::nullopt), 0);
    EXPECT_EQ(selection->MoveUp(word::wdLine, 1, std::nullopt), 0);
}

TEST(SelectionOnOffice, DeleteTakesTheNextCharacterOrTheSelection)
{
    auto &host = office();
    EXPECT_EQ(onDocument("ab\ncd",
                         [](auto &h) {
                             h.setSelection(2, 2);
                             EXPECT_EQ(h.selection()->Delete(word::wdCharacter, 1), 1);
                             h.setSelection(0, 1);
                             EXPECT_EQ(h.selection()->Delete(word::wdCharacter, 1), 1);
                         }),
              "bcd");
    host.setSelection(3, 3);
    EXPECT_EQ(host.selection()->Delete(word::wdCharacter, 1), 0); // the final paragraph mark stays
}

struct FontRow {
    const char *name;
    int32_t start;
    int32_t end;
    word::FontProperty property;
    int32_t expected;
};

void PrintTo(const FontRow &row, std::ostream *os)
{
    *os << row.name;
}

class FontReading : public ::testing::TestWithParam<FontRow>
{
};

TEST_P(FontReading, ReadsWordsValues)
{
    auto &host = office();
    onDocument("{bi#FF8000|Am7} {u|G}{u3|D} plain", [](auto &) {});
    host.setSelection(GetParam().start, GetParam().end);
    EXPECT_EQ(host.selection()->font(GetParam().property), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows,
    FontReading,
    ::testing::Values(FontRow{"Bold", 0, 3, word::FontProperty::Bold, word::wdTrue},
                      FontRow{"NotBold", 7, 12, word::FontProperty::Bold, 0},
                      FontRow{"MixedBold", 0, 5, word::FontProperty::Bold, word::wdUndefined},
                      FontRow{"Italic", 1, 2, word::FontProperty::Italic, word::wdTrue},
                      FontRow{"Color", 0, 3, word::FontProperty::Color, 0x0080FF},
                      FontRow{"AutomaticColor", 4, 6, word::FontProperty::Color, word::wdColorAutomatic},
                      FontRow{"MixedColor", 2, 5, word::FontProperty::Color, word::wdUndefined},
                      FontRow{"SingleUnderline", 4, 5, word::FontProperty::Underline, 1},
                      FontRow{"DoubleUnderline", 5, 6, word::FontProperty::Underline, 3},
                      FontRow{"MixedUnderline", 4, 6, word::FontProperty::Underline, word::wdUndefined}),
    testsupport::RowName());

// --- Application ----------------------------------------------------------------------------------

TEST(ApplicationOnOffice, NamesGiveTheLibreOfficeMessages)
{
    const auto names = office().names();
    EXPECT_EQ(word::noDocumentMessage(names).text,
              "No LibreOffice Writer document found.  Open a LibreOffice Writer document and try again.");
    EXPECT_NE(word::fatalMessage(names).text.find("Unable to start LibreOffice Writer."), std::string::npos);
}

TEST(ApplicationOnOffice, CountsWriterDocuments)
{
    auto &host = office();
    host.closeAllDocuments();
    EXPECT_EQ(host.DocumentsCount(), 0);
    host.newDocument({});
    host.newDocument({});
    EXPECT_EQ(host.DocumentsCount(), 2);
    host.closeAllDocuments();
    EXPECT_EQ(host.DocumentsCount(), 0);
}

TEST(ApplicationOnOffice, WithoutADocumentEveryDocumentCallFails)
{
    auto &host = office();
    host.closeAllDocuments();
    EXPECT_THROW(host.selection(), word::AutomationError);
    EXPECT_THROW(host.activeDocument(), word::AutomationError);
    EXPECT_THROW(word::ReplaceText(host, ChordFont{}, "A", "B", false), word::AutomationError);
    host.StartUndoGroup("Transpose"); // no document: no undo step, and no error
    host.EndUndoGroup();
    host.ScreenRefresh();
}

TEST(ApplicationOnOffice, FollowHyperlinkRefusesWhatIsNoAddress)
{
    auto &host = office();
    host.closeAllDocuments();
    host.newDocument({});
    auto document = host.activeDocument();
    EXPECT_THROW(document->FollowHyperlink("no address at all", true), word::AutomationError);
}

} // namespace
