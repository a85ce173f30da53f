// The built-in word processor's window: it follows the host and makes the host's selection.

#include "app/documentwindow.h"
#include "app/htmlsheet.h"
#include "windowfixture.h"
#include "word/replacetext.h"

#include <QAction>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QToolBar>

namespace
{

class DocumentWindowTest : public WindowTest
{
protected:
    void SetUp() override
    {
        openSheet("{b#8B0000|G}   {b#8B0000|C}\nAmazing grace");
        face = std::make_unique<app::DocumentWindow>(host);
    }
    void TearDown() override
    {
        face.reset();
    }
    void trigger(const QString &text)
    {
        for (QAction *action : face->findChild<QToolBar *>()->actions()) {
            if (action->text() == text) {
                action->trigger();
                return;
            }
        }
        FAIL() << "no action " << text.toStdString();
    }

    std::unique_ptr<app::DocumentWindow> face;
};

TEST_F(DocumentWindowTest, ShowsTheActiveDocumentWithItsFormatting)
{
    EXPECT_EQ(face->view()->toPlainText(), QStringLiteral("G   C\nAmazing grace"));
    QTextCursor cursor(face->view()->document());
    cursor.setPosition(1);
    EXPECT_EQ(cursor.charFormat().fontWeight(), QFont::Bold);
    EXPECT_EQ(cursor.charFormat().foreground().color(), QColor(0x8B, 0, 0));
    cursor.setPosition(8);
    EXPECT_EQ(cursor.charFormat().fontWeight(), QFont::Normal);
}

TEST_F(DocumentWindowTest, TheUsersSelectionIsTheHostsSelection)
{
    QTextCursor cursor(face->view()->document());
    cursor.setPosition(4);
    cursor.setPosition(5, QTextCursor::KeepAnchor);
    face->view()->setTextCursor(cursor);
    EXPECT_EQ(host->selectionStart(), 4);
    EXPECT_EQ(host->selectionEnd(), 5);
}

TEST_F(DocumentWindowTest, FollowsChangesMadeThroughTheHost)
{
    word::ChordFont font;
    font.useStyle = 1;
    font.bold = 1;
    word::ReplaceText(*host, font, "C", "D", false);
    EXPECT_EQ(face->view()->toPlainText(), QStringLiteral("G   D\nAmazing grace"));
    EXPECT_TRUE(face->isModified());

    trigger(QStringLiteral("Undo"));
    EXPECT_EQ(face->view()->toPlainText(), QStringLiteral("G   C\nAmazing grace"));
}

TEST_F(DocumentWindowTest, FollowsTheHostsSelectionMoves)
{
    host->selection()->MoveRight(word::wdCharacter, 2, word::wdExtend);
    const QTextCursor cursor = face->view()->textCursor();
    EXPECT_EQ(cursor.selectionStart(), 0);
    EXPECT_EQ(cursor.selectionEnd(), 2);
    EXPECT_FALSE(face->isModified());
}

TEST_F(DocumentWindowTest, SavesAndOpensSongSheets)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("song.html"));
    ASSERT_TRUE(face->saveSheet(path));
    EXPECT_EQ(host->activeName(), path.toStdString());
    ASSERT_TRUE(face->openSheet(path));
    EXPECT_EQ(host->DocumentsCount(), 2);
    EXPECT_EQ(sheet(), "{b#8B0000|G}   {b#8B0000|C}\nAmazing grace");
    EXPECT_EQ(face->view()->toPlainText(), QStringLiteral("G   C\nAmazing grace"));
}

TEST_F(DocumentWindowTest, SavesAndOpensPlainTextSheetsWithoutTheFormatting)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("song.txt"));
    ASSERT_TRUE(face->saveSheet(path));
    ASSERT_TRUE(face->openSheet(path));
    EXPECT_EQ(host->activeName(), path.toStdString());
    EXPECT_EQ(sheet(), "G   C\nAmazing grace");
    EXPECT_EQ(face->view()->toPlainText(), QStringLiteral("G   C\nAmazing grace"));
}

TEST_F(DocumentWindowTest, ClosingItQuitsTheWordProcessorAndTonvaleFollows)
{
    load();
    window->show();
    face->close();
    deliverPostedEvents();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(programEnds, std::vector<int>{0});
}

} // namespace
