#pragma once

// The built-in host: an in-process word processor that does what Tonvale relies on Word to do
// (formatted find and Replace-All with Word's wildcard syntax, selection moves, cut and paste,
// font readings, undo). It is the backend of every logic test and benchmark, and with its
// document window (app/) the default host where no other word processor is at hand.

#include "textdocument.h"
#include "word/automation.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace word::builtin
{

/// The built-in Word stand-in. Single-threaded: every call on the caller's thread.
class Host : public Application
{
public:
    Host();
    ~Host() override;

    // --- Documents -------------------------------------------------------------------------
    /// Open doc as a new document and make it the active one; returns its index.
    int open(TextDocument doc, std::string name = {});
    /// Close the active document (the previous one, if any, becomes active). No-op without one.
    void closeActive();
    /// The active document, or nullptr when none is open.
    TextDocument *activeText();
    const TextDocument *activeText() const;
    /// The active document's name as given to open().
    std::string activeName() const;
    /// Selection of the active document as [start, end), with the active (moving) end.
    void setSelection(int32_t start, int32_t end, bool activeAtStart = false);
    int32_t selectionStart() const;
    int32_t selectionEnd() const;

    // --- Observers (the document window) ------------------------------------------------
    /// Called after every change of the active document's text, formatting or selection, and
    /// after open/close. Not called during a Replace-All until it has finished.
    void setChangeListener(std::function<void()> listener);
    /// Called by ScreenRefresh.
    void setRefreshListener(std::function<void()> listener);
    /// Called by FollowHyperlink with the address; returns false when the page cannot be opened.
    /// Without an opener every FollowHyperlink with a document succeeds.
    void setLinkOpener(std::function<bool(const std::string &)> opener);

    // --- Undo -------------------------------------------------------------------------------
    /// Undo the last change (an undo group counts as one); false when there is nothing to undo.
    bool undo();
    bool canUndo() const;

    // --- Test support -----------------------------------------------------------------------
    /// Record every automation call as one line (see calllog.md in this folder for the form):
    /// "Find.Text = Bb", "Find.Execute Replace:=2", "Selection.MoveDown Unit:=5, Count:=1, Extend:=1".
    void setLogging(bool on);
    const std::vector<std::string> &callLog() const;
    void clearCallLog();
    /// Make the n-th automation call from now (1 = the next) fail with description.
    void failAtCall(std::size_t n, std::string description);
    /// Make every call of the named operation ("Find.Execute", "Selection.Cut", "Documents.Count",
    /// the part of a log line before " = " or the first blank) fail with description.
    void failOn(std::string operation, std::string description);
    void clearFaults();
    /// Number of Quit calls received; Quit also closes every document and raises the Quit event.
    int quitCount() const;
    /// Raise the Quit event as if the user had closed the word processor (documents stay).
    void simulateUserQuit();

    // --- Application --------------------------------------------------------------------
    HostNames names() const override;
    int32_t DocumentsCount() override;
    std::unique_ptr<Selection> selection() override;
    std::unique_ptr<Document> activeDocument() override;
    void ScreenRefresh() override;
    void Quit() override;
    void StartUndoGroup(const std::string &name) override;
    void EndUndoGroup() override;
    void UndoLastGroup() override;

    struct State; ///< the engine's state, shared with its short-lived Selection and Find handles

private:
    std::unique_ptr<State> m_state;
};

} // namespace word::builtin
