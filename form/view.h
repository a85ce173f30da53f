#pragma once

// What a window toolkit implements so that the form class can run frmMain: read and write its controls,
// show its messages, open links, end the program. Nothing of any toolkit appears here.

#include "layout.h"
#include "word/messages.h"

#include <functional>
#include <string>
#include <vector>

namespace form
{

/// A window made of the controls of layout(). Setting a value here never runs a click behaviour: the form
/// class runs it itself, so that a change made in code behaves like the user's action exactly once.
class View
{
public:
    virtual ~View() = default;

    /// A check box's value (0 clear, 1 set) or an option button's (1 selected, else 0).
    virtual int value(Control control) const = 0;
    /// Sets a check box (0 or 1) or selects an option button (1); the view sends no click event back.
    virtual void setValue(Control control, int value) = 0;

    /// The text of a text box, label, link or the chosen entry of a key list ("" when none).
    virtual std::string text(Control control) const = 0;
    /// Sets the text of a text box, label or link (UTF-8).
    virtual void setText(Control control, const std::string &text) = 0;

    /// A key list's chosen index, -1 for none.
    virtual int listIndex(Control control) const = 0;
    /// Chooses an entry of a key list (-1 for none); the view sends no click event back.
    virtual void setListIndex(Control control, int index) = 0;
    /// Replaces a key list's entries; nothing is chosen afterwards.
    virtual void setListItems(Control control, const std::vector<std::string> &items) = 0;

    /// Whether a control takes input.
    virtual bool enabled(Control control) const = 0;
    virtual void setEnabled(Control control, bool enabled) = 0;

    /// The modal message boxes of the window.
    virtual word::Prompter &prompter() = 0;

    /// Runs event later on the window's own thread, from its event loop (never inside the caller); used for
    /// a host's events that arrive on other threads or inside host calls. Must be safe to call from any thread.
    virtual void post(std::function<void()> event) = 0;

    /// Hides the window and ends the program with exitCode once the current event is done.
    virtual void endProgram(int exitCode) = 0;
};

} // namespace form
