#pragma once

// What a "vnd.tonvale:" address asks of the panel's form, and the answer it gets back: plain C++,
// without the office, so that the same requests run against any view.

#include "form/frmmain.h"
#include "form/layout.h"
#include "form/view.h"
#include "word/messages.h"

#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace oxt
{

inline constexpr std::string_view protocol = "vnd.tonvale:";

/// One request: "vnd.tonvale:<command>[?<name>=<value>&...]".
/// command: "open" (show the deck), "state" (change and click nothing), a button's or link's control
/// name (Command1, Command2, Command4 ... Command8, Label11, Image1) or its alias (getfont, transpose,
/// help, about, mark, combine, save, home, logo). Names: a control (Check1, Option2, Combo1, Text4 ...)
/// set before the click, or "answer" (yes or no) for the questions the command asks. Values are
/// percent-encoded UTF-8 ("F%23" for F#); a key list takes an entry's text, or -1 for none.
struct Request {
    std::string command;
    std::optional<form::Control> click; ///< the control clicked, if any
    std::vector<std::pair<form::Control, std::string>> settings; ///< in the order given
    word::Answer answer = word::Answer::No;

    bool operator==(const Request &) const = default;
};

/// The request of url, or the reason it is none.
std::variant<Request, std::string> parseRequest(std::string_view url);

/// The message boxes of a view: shown by an interactive prompter, or, while a request runs, recorded
/// and answered with the request's answer.
class SwitchPrompter : public word::Prompter
{
public:
    explicit SwitchPrompter(word::Prompter *interactive = nullptr)
        : m_interactive(interactive)
    {
    }

    word::Answer show(const word::Message &message) override;

    void setInteractive(word::Prompter *interactive)
    {
        m_interactive = interactive;
    }
    /// Record from now on, answering questions with answer (OK boxes with OK).
    void record(word::Answer answer);
    /// Back to the interactive prompter; the messages recorded since record().
    std::vector<word::Message> stopRecording();

private:
    word::Prompter *m_interactive;
    bool m_recording = false;
    word::Answer m_answer = word::Answer::No;
    std::vector<word::Message> m_recorded;
};

/// The outcome of a request: whether it ran, and the lines of its result.
struct Outcome {
    bool ok = false;
    std::string result;
};

/// Applies the request's settings as the user would make them (a check box or option button set, a
/// key list's entry chosen through the form, so that their click behaviour runs; a text box typed),
/// then clicks its control. Messages shown meanwhile are recorded and answered. The result lists
/// "status=ok" (or "status=error" and "error=..."), every message ("message=<title>|<text>", line
/// breaks as "\n"), then the state of the controls ("Check1=1", "Combo1=C", "Text4=2", ...).
Outcome runRequest(const Request &request, form::frmMain &form, form::View &view, SwitchPrompter &prompter);

/// The controls' state lines of a view.
std::string describe(const form::View &view);

/// A view that keeps the controls in memory: the form of a window that has no panel on show.
class MemoryView : public form::View
{
public:
    explicit MemoryView(SwitchPrompter &prompter);

    int value(form::Control control) const override;
    void setValue(form::Control control, int value) override;
    std::string text(form::Control control) const override;
    void setText(form::Control control, const std::string &text) override;
    int listIndex(form::Control control) const override;
    void setListIndex(form::Control control, int index) override;
    void setListItems(form::Control control, const std::vector<std::string> &items) override;
    bool enabled(form::Control control) const override;
    void setEnabled(form::Control control, bool enabled) override;
    word::Prompter &prompter() override;
    /// Keeps event for runPosted (call it from the office's main thread).
    void post(std::function<void()> event) override;
    /// Runs the events posted so far, in order.
    void runPosted();
    void endProgram(int exitCode) override;

    bool ended() const
    {
        return m_ended;
    }

private:
    struct State {
        int value = 0;
        std::string text;
        int index = -1;
        std::vector<std::string> items;
        bool enabled = true;
    };
    std::vector<State> m_controls;
    SwitchPrompter &m_prompter;
    bool m_ended = false;
    std::mutex m_postedLock;
    std::vector<std::function<void()>> m_posted;
};

} // namespace oxt
