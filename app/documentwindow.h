#pragma once

// The built-in word processor's own window: it shows the host's active document with its formatting,
// follows every change, and makes the host's selection from the user's mouse and keyboard selection.
// Open, Save and Undo work on the host.

#include "word/builtin/textdocument.h"

#include <QMainWindow>

#include <cstddef>
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
    /// Whether the active document changed since it was opened or saved.
    bool isModified() const;
    /// At the program's end: offer to save a changed document (Save or Discard).
    void offerSave();

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

    std::shared_ptr<word::builtin::Host> m_host;
    QTextEdit *m_view = nullptr;
    std::u32string m_shownText;
    std::vector<word::builtin::Run> m_shownRuns;
    std::string m_shownName;
    bool m_modified = false;
    bool m_updating = false;
};

} // namespace app
