#pragma once

// The built-in word processor's own window: it shows the host's active document with its formatting,
// follows every change, and makes the host's selection from the user's mouse and keyboard selection.
// Open, Save and Undo work on the host.

#include "word/builtin/textdocument.h"

#include <QMainWindow>
#include <QMessageBox>

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QTextEdit;

namespace word::builtin
{
class Host;
}

namespace app
{

class DocumentWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit DocumentWindow(std::shared_ptr<word::builtin::Host> host, QWidget *parent = nullptr);
    ~DocumentWindow() override;

    /// The view of the document (read-only text with a selection).
    QTextEdit *view() const;
    /// Show the host's active document and selection as they are now.
    void refresh();
    /// Open the song sheet in path as the host's active document; false (with a message) when it cannot be read.
    bool openSheet(const QString &path);
    /// Save the active document to path; false (with a message) when it cannot be written.
    bool saveSheet(const QString &path);
    /// Whether the active document differs from what was opened or last saved (an Undo back to it is no change).
    bool isModified() const;
    /// Before Tonvale ends: a changed document is saved or discarded as the user chooses (Save, Discard,
    /// Cancel). False when the user cancels or the save fails: the program goes on.
    bool confirmEnd();
    /// At the program's end when it can no longer go on: a changed document is saved or discarded (Save or
    /// Discard, asked again while saving fails).
    void offerSave();

    /// How the window asks and warns: icon, text and buttons in, the button pressed out. By default a modal
    /// QMessageBox; tests answer themselves.
    using Asker =
        std::function<QMessageBox::StandardButton(QMessageBox::Icon, const QString &, QMessageBox::StandardButtons)>;
    void setAsker(Asker asker);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void showDocument(const word::builtin::TextDocument *doc);
    void showSelection();
    void takeSelection();
    void openClicked();
    bool saveClicked();
    bool saveAsClicked();
    void closeDocumentClicked();
    void undoClicked();
    void warn(const QString &text);
    QMessageBox::StandardButton askToSave(const QString &text, QMessageBox::StandardButtons buttons);
    void takeAsSaved();

    std::shared_ptr<word::builtin::Host> m_host;
    QTextEdit *m_view = nullptr;
    std::u32string m_shownText;
    std::vector<word::builtin::Run> m_shownRuns;
    std::string m_shownName;
    std::u32string m_savedText; ///< the active document as opened or last saved
    std::vector<word::builtin::Run> m_savedRuns;
    bool m_modified = false;
    Asker m_asker;
    bool m_updating = false;
};

} // namespace app
