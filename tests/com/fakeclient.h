#pragma once

// Test support: the stand-in Word server seen from the tests, through the Word host under test and
// a side channel to its test-only members (documents, call log, faults).

#include "word/com/dispatch.h"
#include "word/com/host.h"

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace fakeword
{

/// The stand-in's program, next to the test program.
std::wstring serverPath();

/// Process window and COM messages until done() or the time is up; returns done().
bool pumpMessagesUntil(const std::function<bool()> &done,
                       std::chrono::milliseconds limit = std::chrono::milliseconds(5000));

/// One stand-in Word process and the Word host connected to it. Ending it ends the process.
class FakeWord
{
public:
    /// Started through COM, as the Word host starts Word.
    FakeWord();
    /// Around a host that is already connected (attach tests).
    explicit FakeWord(std::unique_ptr<word::com::Host> host);
    ~FakeWord();
    FakeWord(const FakeWord &) = delete;
    FakeWord &operator=(const FakeWord &) = delete;

    word::com::Host &host()
    {
        return *m_host;
    }

    void open(const std::string &notation);
    std::string text();
    void select(int32_t start, int32_t end);
    int32_t selectionEnd();
    /// The server's call log since the last clearLog().
    std::vector<std::string> log();
    void clearLog();
    void failOn(const std::string &operation, const std::string &description);
    void clearFaults();
    void reject(int32_t calls);
    int32_t rejected();
    std::vector<std::string> links();
    void setLinksFail(bool fail);
    bool undo();
    bool embedded();
    /// Quit as when the user closes Word: the event comes, the documents stay.
    void userQuit();
    /// End the process without a Quit event, as a Word that crashed or was ended in Task Manager.
    void vanish();

    // The behaviours of real Word a test turns on (off in a new stand-in).
    /// Add a part of the document (WdStoryType: 5 a text box, 7 the primary header); returns its index.
    int32_t addStory(int32_t type, const std::string &notation);
    std::string storyText(int32_t index);
    /// Put the selection into a part (-1 the main text).
    void selectStory(int32_t index, int32_t start, int32_t end);
    /// Where the selection is: "<part> <start> <end>".
    std::string selectionPlace();
    /// Tick or clear one of the Find options Word keeps ("MatchPrefix", "MatchSuffix", "IgnorePunct",
    /// "IgnoreSpace", "MatchFuzzy"), as a user does in Word's Find dialog.
    void keepFindOption(const std::string &name, bool value);
    /// A document open in Protected View: not in Documents, one ProtectedViewWindow.
    void setProtectedView(bool on);
    /// After raising Quit, every call fails as disconnected.
    void setDisconnectOnQuit(bool on);
    /// Leave a custom undo record open, as a failed command or an add-in may.
    void openUndoRecord(const std::string &name);
    int32_t undoLevel();
    /// The next Word call blocks for milliseconds without an answer (Word on a hidden prompt).
    void hang(int32_t milliseconds);
    /// Application.Visible.
    bool visible();
    DWORD processId() const
    {
        return m_processId;
    }
    /// Wait for the process to end (after a Quit); true when it did.
    bool waitForExit(std::chrono::milliseconds limit = std::chrono::milliseconds(5000));

private:
    /// Take over a connected host and its process.
    void adopt(std::unique_ptr<word::com::Host> host);
    /// End the process (asked to exit, else killed) and let go of everything.
    void end();
    word::com::Variant control(const char *member, std::vector<word::com::Variant> args = {});

    std::unique_ptr<word::com::Host> m_host;
    word::com::DispidCache m_cache;
    std::optional<word::com::Dispatch> m_control;
    DWORD m_processId = 0;
    HANDLE m_process = nullptr;
};

} // namespace fakeword
