// The built-in word processor's window: it follows the host and makes the host's selection.

#include "app/documentwindow.h"
#include "app/htmlsheet.h"
#include "tests/support/rows.h"
#include "windowfixture.h"
#include "word/replacetext.h"

#include <QAction>
#include <QDir>
#include <QStatusBar>
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
        face->setAsker([this](QMessageBox::Icon icon, const QString &text, QMessageBox::StandardButtons) {
            asked.push_back(text.toStdString());
            if (icon == QMessageBox::Warning) {
                return QMessageBox::Ok;
            }
            const auto answer = answers.empty() ? QMessageBox::Cancel : answers.front();
            if (!answers.empty()) {
                answers.erase(answers.begin());
            }
            return answer;
        });
    }
    /// A change made through the host, as a command makes it.
    void change()
    {
        word::ChordFont font;
        font.useStyle = 1;
        font.bold = 1;
        word::ReplaceText(*host, font, "C", "D", false);
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
    std::vector<std::string> asked; ///< every question and warning, in order
    std::vector<QMessageBox::StandardButton> answers; ///< the next answers; Cancel when none is left
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
    EXPECT_FALSE(face->isModified()) << "Undo back to the text as opened is no change";
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

struct EndRow {
    const char *name;
    std::vector<QMessageBox::StandardButton> answers;
    bool saveFails;
    bool ends; ///< Tonvale's window closes and the program ends
    std::size_t questions; ///< how often the user is asked
};

class EndWithUnsavedWork : public DocumentWindowTest, public testing::WithParamInterface<EndRow>
{
};

TEST_P(EndWithUnsavedWork, OffersSaveDiscardAndCancel)
{
    const EndRow &row = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // A sheet saved once, so that Save writes without a dialog; a failing save writes into a folder since gone.
    const QString folder = dir.filePath(QStringLiteral("songs"));
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(face->saveSheet(folder + QStringLiteral("/song.html")));
    if (row.saveFails) {
        ASSERT_TRUE(QDir(folder).removeRecursively());
    }
    load();
    window->logic().setEndGuard([this] {
        return face->confirmEnd();
    });
    window->show();
    change();
    answers = row.answers;

    window->close();
    deliverPostedEvents();
    EXPECT_EQ(window->isVisible(), !row.ends);
    EXPECT_EQ(programEnds, row.ends ? std::vector<int>{0} : std::vector<int>{});
    std::size_t questions = 0;
    for (const auto &text : asked) {
        questions += text == "Save the changes to the song sheet before Tonvale ends?" ? 1 : 0;
    }
    EXPECT_EQ(questions, row.questions);
    if (!row.ends) {
        EXPECT_TRUE(face->isModified()) << "the changes are still there to be saved";
    }
}

INSTANTIATE_TEST_SUITE_P(Answers,
                         EndWithUnsavedWork,
                         testing::Values(EndRow{"Save", {QMessageBox::Save}, false, true, 1},
                                         EndRow{"Discard", {QMessageBox::Discard}, false, true, 1},
                                         EndRow{"Cancel", {QMessageBox::Cancel}, false, false, 1},
                                         EndRow{"FailedSaveGoesOn", {QMessageBox::Save}, true, false, 1}),
                         testsupport::RowName());

TEST_F(DocumentWindowTest, AFailedSaveAtTheForcedEndAsksAgain)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString folder = dir.filePath(QStringLiteral("songs"));
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(face->saveSheet(folder + QStringLiteral("/song.html")));
    ASSERT_TRUE(QDir(folder).removeRecursively());
    change();
    answers = {QMessageBox::Save, QMessageBox::Discard};
    face->offerSave();
    EXPECT_EQ(asked.size(), 3u) << "the question, the failed save's warning, the question again";
    EXPECT_TRUE(answers.empty());
}

TEST_F(DocumentWindowTest, WithNoSheetOpenItSaysToOpenOne)
{
    host->closeActive();
    EXPECT_TRUE(face->view()->toPlainText().isEmpty());
    EXPECT_TRUE(face->view()->placeholderText().contains(QStringLiteral("Open...")));
    EXPECT_TRUE(face->statusBar()->currentMessage().contains(QStringLiteral("Open...")));
}

} // namespace
