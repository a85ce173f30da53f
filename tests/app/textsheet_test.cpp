// Song sheets as plain text, and the choice between plain text and HTML by the file's name.

#include "app/textsheet.h"
#include "tests/support/rows.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{

using word::builtin::fromNotation;
using word::builtin::toNotation;

struct ReadRow {
    const char *name;
    QByteArray bytes;
    const char *notation; // the document read (no formatting: no braces)
    QByteArray written; // the same document saved again
};

class TextReadTest : public ::testing::TestWithParam<ReadRow>
{
};

TEST_P(TextReadTest, ReadsLinesAsParagraphsAndWritesThemBack)
{
    const ReadRow &row = GetParam();
    const auto text = app::decodeText(row.bytes);
    ASSERT_TRUE(text);
    const auto doc = app::sheetFromText(*text);
    EXPECT_EQ(toNotation(doc), row.notation);
    EXPECT_EQ(app::sheetToText(doc).toUtf8(), row.written);
}

INSTANTIATE_TEST_SUITE_P(
    Sheets,
    TextReadTest,
    ::testing::Values(
        ReadRow{"empty", "", "", ""},
        ReadRow{"chords_over_lyrics",
                "G      C\nAmazing grace\n",
                "G      C\nAmazing grace",
                "G      C\nAmazing grace\n"},
        ReadRow{"no_final_line_end", "G\nAmazing", "G\nAmazing", "G\nAmazing\n"},
        ReadRow{"windows_line_ends", "G\r\nAmazing\r\n", "G\nAmazing", "G\nAmazing\n"},
        ReadRow{"old_mac_line_ends", "G\rAmazing\r", "G\nAmazing", "G\nAmazing\n"},
        ReadRow{"blank_lines_kept", "verse\n\n\nchorus\n\n", "verse\n\n\nchorus\n", "verse\n\n\nchorus\n\n"},
        ReadRow{"blanks_and_tabs_kept", "  Am7\t D  \n", "  Am7\t D  ", "  Am7\t D  \n"},
        ReadRow{"byte_order_mark_skipped", "\xEF\xBB\xBFG\n", "G", "G\n"},
        ReadRow{"utf8",
                "F\xE2\x99\xAF m\xC3\xA9l\xC3\xA9"
                "e \xF0\x9F\x8E\xB8\n",
                "F\u266f m\u00e9l\u00e9e \U0001F3B8",
                "F\xE2\x99\xAF m\xC3\xA9l\xC3\xA9"
                "e \xF0\x9F\x8E\xB8\n"},
        ReadRow{"windows_1252",
                "Caf\xE9 \x93quoted\x94\n",
                "Caf\u00e9 \u201cquoted\u201d",
                "Caf\xC3\xA9 \xE2\x80\x9Cquoted\xE2\x80\x9D\n"}),
    testsupport::RowName());

TEST(TextSheet, NothingReadIsInAChordFont)
{
    const auto doc = app::sheetFromText(QStringLiteral("G   C\nAmazing grace\n"));
    for (const word::builtin::Run &run : doc.runs()) {
        EXPECT_EQ(run.format, word::builtin::CharFormat{});
    }
}

TEST(TextSheet, WritingDropsTheFormattingAndEndsLineBreaksAsLines)
{
    const auto doc = fromNotation("{b#8B0000|G}   {biu|C}\vline two\nAmazing grace");
    EXPECT_EQ(app::sheetToText(doc), QStringLiteral("G   C\nline two\nAmazing grace\n"));
}

TEST(TextSheet, AZeroByteIsNoTextFile)
{
    EXPECT_FALSE(app::decodeText(QByteArray("G\0C\n", 4)));
}

struct FileRow {
    const char *name;
    const char *file;
    bool html; // the file holds HTML
};

class SheetFileTest : public ::testing::TestWithParam<FileRow>
{
};

TEST_P(SheetFileTest, TheNameChoosesTheForm)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QString::fromUtf8(GetParam().file));
    const auto doc = fromNotation("{b|G}   C\nAmazing grace");
    QString error;
    ASSERT_TRUE(app::saveSheetFile(path, doc, &error)) << error.toStdString();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_EQ(bytes.contains("<html>"), GetParam().html) << bytes.toStdString();
    const auto back = app::loadSheetFile(path, &error);
    ASSERT_TRUE(back) << error.toStdString();
    EXPECT_EQ(toNotation(*back), GetParam().html ? "{b|G}   C\nAmazing grace" : "G   C\nAmazing grace");
}

INSTANTIATE_TEST_SUITE_P(Names,
                         SheetFileTest,
                         ::testing::Values(FileRow{"html", "song.html", true},
                                           FileRow{"txt", "song.txt", false},
                                           FileRow{"txt_capitals", "SONG.TXT", false},
                                           FileRow{"txt_inside_the_name", "song.txt.htm", true}),
                         testsupport::RowName());

TEST(TextSheet, UnreadableFilesAreReported)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QString error;
    EXPECT_FALSE(app::loadSheetFile(dir.filePath(QStringLiteral("missing.txt")), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("missing.txt"))) << error.toStdString();

    const QString binary = dir.filePath(QStringLiteral("binary.txt"));
    QFile file(binary);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("\x89PNG\0\0", 6));
    file.close();
    error.clear();
    EXPECT_FALSE(app::loadSheetFile(binary, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("not a text file"))) << error.toStdString();
}

TEST(TextSheet, ThePlainTextSampleMatchesTheHtmlSample)
{
    QString error;
    const auto text = app::loadSheetFile(QStringLiteral(TONVALE_SOURCE_DIR "/samples/amazing-grace.txt"), &error);
    const auto html = app::loadSheetFile(QStringLiteral(TONVALE_SOURCE_DIR "/samples/amazing-grace.html"), &error);
    ASSERT_TRUE(text && html) << error.toStdString();
    EXPECT_EQ(app::sheetToText(*text), app::sheetToText(*html));
}

} // namespace
