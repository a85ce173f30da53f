#include "documentwindow.h"

#include "htmlsheet.h"
#include "linkopener.h"
#include "textsheet.h"
#include "word/builtin/host.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QMessageBox>
#include <QScrollBar>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QToolBar>

#include <algorithm>

namespace app
{

using word::builtin::TextDocument;

namespace
{

/// The view counts UTF-16 units, the document code points: positions differ after a character
/// outside the Basic Multilingual Plane.
int toView(std::u32string_view text, std::size_t pos)
{
    pos = std::min(pos, text.size());
    const auto wide = std::count_if(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(pos), [](char32_t c) {
        return c > 0xFFFF;
    });
    return static_cast<int>(pos + static_cast<std::size_t>(wide));
}

std::size_t fromView(std::u32string_view text, int viewPos)
{
    std::size_t pos = 0;
    int units = 0;
    while (pos < text.size() && units < viewPos) {
        units += text[pos] > 0xFFFF ? 2 : 1;
        ++pos;
    }
    return pos;
}

bool sameRuns(const std::vector<word::builtin::Run> &a, const std::vector<word::builtin::Run> &b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto &x, const auto &y) {
        return x.start == y.start && x.length == y.length && x.format == y.format;
    });
}

} // namespace

DocumentWindow::DocumentWindow(std::shared_ptr<word::builtin::Host> host, QWidget *parent)
    : QMainWindow(parent)
    , m_host(std::move(host))
    , m_view(new QTextEdit(this))
{
    setObjectName(QStringLiteral("DocumentWindow"));
    m_view->setObjectName(QStringLiteral("DocumentView"));
    m_view->setReadOnly(true);
    m_view->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_view->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_view->setLineWrapMode(QTextEdit::NoWrap);
    m_view->setPlaceholderText(QStringLiteral("No song sheet is open. Choose Open... to open one."));
    setCentralWidget(m_view);

    QToolBar *tools = addToolBar(QStringLiteral("Document"));
    tools->setObjectName(QStringLiteral("DocumentTools"));
    tools->addAction(QStringLiteral("Open..."), QKeySequence::Open, this, &DocumentWindow::openClicked);
    tools->addAction(QStringLiteral("Save"), QKeySequence::Save, this, &DocumentWindow::saveClicked);
    tools->addAction(QStringLiteral("Save As..."), QKeySequence::SaveAs, this, &DocumentWindow::saveAsClicked);
    tools->addAction(QStringLiteral("Close"), QKeySequence::Close, this, &DocumentWindow::closeDocumentClicked);
    tools->addAction(QStringLiteral("Undo"), QKeySequence::Undo, this, &DocumentWindow::undoClicked);
    resize(720, 600);
    m_asker = [this](QMessageBox::Icon icon, const QString &text, QMessageBox::StandardButtons buttons) {
        QMessageBox box(icon, windowTitle(), text, buttons, this);
        return static_cast<QMessageBox::StandardButton>(box.exec());
    };

    connect(m_view, &QTextEdit::cursorPositionChanged, this, &DocumentWindow::takeSelection);
    connect(m_view, &QTextEdit::selectionChanged, this, &DocumentWindow::takeSelection);
    m_host->setChangeListener([this] {
        refresh();
    });
    m_host->setRefreshListener([this] {
        refresh();
    });
    // The word processor opens links in the user's browser.
    m_host->setLinkOpener([](const std::string &address) {
        return openInBrowser(address);
    });
    refresh();
}

DocumentWindow::~DocumentWindow()
{
    m_host->setChangeListener(nullptr);
    m_host->setRefreshListener(nullptr);
    m_host->setLinkOpener(nullptr);
}

QTextEdit *DocumentWindow::view() const
{
    return m_view;
}

bool DocumentWindow::isModified() const
{
    return m_modified;
}

void DocumentWindow::refresh()
{
    if (m_updating) {
        return; // the selection the user just made
    }
    const TextDocument *doc = m_host->activeText();
    const std::string name = doc ? m_host->activeName() : std::string();
    showDocument(doc);
    if (name != m_shownName) {
        m_shownName = name;
        takeAsSaved();
    }
    statusBar()->showMessage(
        doc ? QStringLiteral("Select a sample chord or place the insertion point here; Tonvale works on this document.")
            : QStringLiteral("No song sheet is open: choose Open... to open one for Tonvale to work on."));
    const QString shownName =
        name.empty() ? QStringLiteral("(no document)") : QFileInfo(QString::fromStdString(name)).fileName();
    setWindowTitle(
        QStringLiteral("%1%2 - Tonvale's word processor").arg(shownName, m_modified ? QStringLiteral("*") : QString()));
    showSelection();
}

void DocumentWindow::showDocument(const TextDocument *doc)
{
    const std::u32string text = doc ? std::u32string(doc->text()) : std::u32string();
    const std::vector<word::builtin::Run> runs = doc ? doc->runs() : std::vector<word::builtin::Run>();
    if (text == m_shownText && sameRuns(runs, m_shownRuns)) {
        return;
    }
    m_shownText = text;
    m_shownRuns = runs;
    if (doc && m_host->activeName() == m_shownName) {
        m_modified = text != m_savedText || !sameRuns(runs, m_savedRuns);
    }

    m_updating = true;
    const int scroll = m_view->verticalScrollBar()->value();
    QTextDocument *shown = m_view->document();
    shown->clear();
    QTextCursor cursor(shown);
    const std::size_t end = text.empty() ? 0 : text.size() - 1; // the final paragraph mark ends the last block
    for (const word::builtin::Run &run : runs) {
        const QTextCharFormat format = toQt(run.format);
        std::u32string chunk;
        const auto flush = [&] {
            if (!chunk.empty()) {
                cursor.insertText(QString::fromStdU32String(chunk), format);
                chunk.clear();
            }
        };
        for (std::size_t i = run.start; i < std::min(run.start + run.length, end); ++i) {
            if (text[i] == word::builtin::paragraphMark) {
                flush();
                cursor.insertBlock(QTextBlockFormat(), format);
            } else if (text[i] == word::builtin::lineBreak) {
                chunk += char32_t(QChar::LineSeparator);
            } else {
                chunk += text[i];
            }
        }
        flush();
    }
    m_view->verticalScrollBar()->setValue(scroll);
    m_updating = false;
}

void DocumentWindow::showSelection()
{
    if (!m_host->activeText()) {
        return;
    }
    const int start = toView(m_shownText, static_cast<std::size_t>(std::max(0, m_host->selectionStart())));
    const int end = toView(m_shownText, static_cast<std::size_t>(std::max(0, m_host->selectionEnd())));
    const int last = m_view->document()->characterCount() - 1;
    QTextCursor cursor(m_view->document());
    cursor.setPosition(std::min(start, last));
    cursor.setPosition(std::min(end, last), QTextCursor::KeepAnchor);
    m_updating = true;
    m_view->setTextCursor(cursor);
    m_view->ensureCursorVisible();
    m_updating = false;
}

void DocumentWindow::takeSelection()
{
    if (m_updating || !m_host->activeText()) {
        return;
    }
    const QTextCursor cursor = m_view->textCursor();
    const auto start = fromView(m_shownText, cursor.selectionStart());
    const auto end = fromView(m_shownText, cursor.selectionEnd());
    m_updating = true;
    try {
        m_host->setSelection(static_cast<int32_t>(start),
                             static_cast<int32_t>(end),
                             cursor.position() < cursor.anchor());
    } catch (const std::exception &error) {
        m_updating = false;
        warn(QString::fromUtf8(error.what()));
        return;
    }
    m_updating = false;
}

bool DocumentWindow::openSheet(const QString &path)
{
    QString error;
    auto sheet = loadSheetFile(path, &error);
    if (!sheet) {
        warn(error);
        return false;
    }
    m_host->open(std::move(*sheet), QFileInfo(path).absoluteFilePath().toStdString());
    takeAsSaved();
    refresh();
    return true;
}

bool DocumentWindow::saveSheet(const QString &path)
{
    const TextDocument *doc = m_host->activeText();
    if (!doc) {
        warn(QStringLiteral("There is no document to save."));
        return false;
    }
    QString error;
    if (!saveSheetFile(path, *doc, &error)) {
        warn(error);
        return false;
    }
    const std::string name = QFileInfo(path).absoluteFilePath().toStdString();
    if (name != m_host->activeName()) {
        // Saved under a new name: the host's document takes it, as "Save As" does in a word processor.
        TextDocument copy = *doc;
        const int32_t start = m_host->selectionStart();
        const int32_t end = m_host->selectionEnd();
        m_host->closeActive();
        m_host->open(std::move(copy), name);
        m_host->setSelection(start, end);
    }
    takeAsSaved();
    refresh();
    return true;
}

void DocumentWindow::openClicked()
{
    const QString path =
        QFileDialog::getOpenFileName(this,
                                     QStringLiteral("Open a song sheet"),
                                     QString(),
                                     QStringLiteral("Song sheets (*.html *.htm *.txt);;All files (*)"));
    if (!path.isEmpty()) {
        openSheet(path);
    }
}

bool DocumentWindow::saveClicked()
{
    const std::string name = m_host->activeName();
    if (name.empty()) {
        return saveAsClicked();
    }
    return saveSheet(QString::fromStdString(name));
}

bool DocumentWindow::saveAsClicked()
{
    if (!m_host->activeText()) {
        warn(QStringLiteral("There is no document to save."));
        return false;
    }
    const QString html = QStringLiteral("HTML song sheets (*.html *.htm)");
    const QString text = QStringLiteral("Plain text, without the formatting (*.txt)");
    const QString current = QString::fromStdString(m_host->activeName());
    QString filter = isTextSheet(current) ? text : html;
    QString path = QFileDialog::getSaveFileName(this,
                                                QStringLiteral("Save the song sheet"),
                                                current,
                                                html + QStringLiteral(";;") + text,
                                                &filter);
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty()) {
        path += filter == text ? QStringLiteral(".txt") : QStringLiteral(".html");
    }
    return !path.isEmpty() && saveSheet(path);
}

void DocumentWindow::closeDocumentClicked()
{
    if (!m_host->activeText()) {
        return;
    }
    if (m_modified) {
        const auto answer = askToSave(QStringLiteral("Save the changes to the song sheet?"),
                                      QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        if (answer == QMessageBox::Cancel || (answer == QMessageBox::Save && !saveClicked())) {
            return;
        }
    }
    m_host->closeActive();
    refresh();
}

void DocumentWindow::undoClicked()
{
    try {
        if (!m_host->undo()) {
            statusBar()->showMessage(QStringLiteral("Nothing to undo."), 3000);
        }
    } catch (const std::exception &error) {
        warn(QString::fromUtf8(error.what()));
    }
}

bool DocumentWindow::confirmEnd()
{
    if (!m_modified || !m_host->activeText()) {
        return true;
    }
    const auto answer = askToSave(QStringLiteral("Save the changes to the song sheet before Tonvale ends?"),
                                  QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    if (answer == QMessageBox::Discard) {
        m_modified = false; // asked once: the end goes ahead without asking again
        return true;
    }
    // A save that fails has said why; the program goes on so that the sheet can be saved elsewhere.
    return answer == QMessageBox::Save && saveClicked();
}

void DocumentWindow::offerSave()
{
    while (m_modified && m_host->activeText()) {
        const auto answer = askToSave(QStringLiteral("Save the changes to the song sheet before Tonvale ends?"),
                                      QMessageBox::Save | QMessageBox::Discard);
        if (answer != QMessageBox::Save || saveClicked()) {
            return;
        }
    }
}

void DocumentWindow::setAsker(Asker asker)
{
    m_asker = std::move(asker);
}

QMessageBox::StandardButton DocumentWindow::askToSave(const QString &text, QMessageBox::StandardButtons buttons)
{
    return m_asker(QMessageBox::Question, text, buttons);
}

void DocumentWindow::takeAsSaved()
{
    const TextDocument *doc = m_host->activeText();
    m_savedText = doc ? std::u32string(doc->text()) : std::u32string();
    m_savedRuns = doc ? doc->runs() : std::vector<word::builtin::Run>();
    m_modified = false;
}

void DocumentWindow::closeEvent(QCloseEvent *event)
{
    // Closing this window is quitting the word processor: Tonvale's window follows through the Quit event.
    if (m_modified && m_host->activeText()) {
        const auto answer = askToSave(QStringLiteral("Save the changes to the song sheet?"),
                                      QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        if (answer == QMessageBox::Cancel || (answer == QMessageBox::Save && !saveClicked())) {
            event->ignore();
            return;
        }
        m_modified = false;
    }
    event->accept();
    m_host->simulateUserQuit();
}

void DocumentWindow::warn(const QString &text)
{
    m_asker(QMessageBox::Warning, text, QMessageBox::Ok);
}

} // namespace app
