#pragma once

// Test support: Tonvale as its user gets it, seen from another process. The installed tonvale.exe and the
// stand-in Word as processes, the window driven through window messages, message boxes read and answered.

#include "form/layout.h"
#include "word/com/dispatch.h"

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace driver
{

using namespace std::chrono_literals;

/// The folder of this test program, with a trailing backslash.
std::wstring programFolder();
/// Where the installer puts Tonvale for this user, and its Start-menu entry.
std::wstring installFolder();
std::wstring startMenuEntry();
bool fileExists(const std::wstring &path);

/// Polls done every 50 ms until it holds or the time is up; returns done().
bool waitFor(const std::function<bool()> &done, std::chrono::milliseconds limit = 10s);

/// A program started with a command line; ended by force if it still runs at destruction.
class Process
{
public:
    explicit Process(const std::wstring &commandLine);
    ~Process();
    Process(const Process &) = delete;
    Process &operator=(const Process &) = delete;

    DWORD id() const
    {
        return m_info.dwProcessId;
    }
    bool running() const;
    /// Waits for the end; the exit code, or nothing when it still runs after limit.
    std::optional<DWORD> wait(std::chrono::milliseconds limit = 10s);

private:
    PROCESS_INFORMATION m_info{};
};

/// Runs a program to its end and returns its exit code (-1 when it cannot start or does not end in time).
long run(const std::wstring &commandLine, std::chrono::milliseconds limit = 30s);

/// The stand-in "Word.Application" started as the user's running Word, and its test-only members.
class StandInWord
{
public:
    StandInWord();
    ~StandInWord();

    bool running() const
    {
        return m_process.running();
    }
    std::optional<DWORD> wait(std::chrono::milliseconds limit)
    {
        return m_process.wait(limit);
    }
    /// Opens a song sheet in the test notation (see the built-in host) as the active document.
    void open(const std::string &notation);
    std::string text();
    void select(int32_t start, int32_t end);
    int32_t documentsCount();
    /// Quits as when the user closes Word: the Quit event comes, the documents stay.
    void userQuit();
    /// The addresses followed as hyperlinks, oldest first.
    std::vector<std::string> links();

private:
    word::com::Variant call(const char *member, std::vector<word::com::Variant> args = {});

    Process m_process;
    word::com::DispidCache m_cache;
    std::optional<word::com::Dispatch> m_application;
};

/// A message box shown by a process.
struct Box {
    HWND window = nullptr;
    std::string title;
    std::string text;
};

/// Tonvale's window in another process, driven through window messages.
class Window
{
public:
    /// The visible main window of process, or nullptr.
    static HWND find(DWORD process);

    explicit Window(HWND window);

    HWND handle() const
    {
        return m_window;
    }
    HWND control(form::Control control) const;

    /// Clicks a button or check box and returns once its handler has run.
    void click(form::Control control);
    /// Clicks without waiting (the handler may show a message box).
    void clickLater(form::Control control);
    /// A mouse click on a label or the logo.
    void clickStatic(form::Control control);
    /// Chooses an entry of a key list as the user does (the list tells the window of the new choice).
    void choose(form::Control list, int index);
    /// Presses and releases a key where the window's focus is; returns at once (wait for the key's effect).
    void key(UINT virtualKey);
    /// The control that has the focus.
    HWND focus() const;

    int value(form::Control control) const;
    std::string text(form::Control control) const;
    void setText(form::Control control, const std::string &text);
    int listIndex(form::Control control) const;
    bool enabled(form::Control control) const;

private:
    HWND m_window;
};

/// The first visible message box of process within limit, else an empty one.
Box waitForMessageBox(DWORD process, std::chrono::milliseconds limit = 10s);
/// Presses a button of a message box (IDOK, IDYES, IDNO).
void answer(const Box &box, int button);

} // namespace driver
