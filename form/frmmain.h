#pragma once

// The main window's behaviour, written once for every toolkit: start-up, every event handler of the
// controls, the Nashville pair, the style box interlock, the key lists and the semitone box, the close
// step and the untrapped-error path. It reads and writes the controls only through a View and shows
// its messages through the view's prompter. The controls keep their names (Check1, Combo2, Text4 ...)
// and the check boxes their 0/1 values.

#include "hostkind.h"
#include "layout.h"
#include "prefs/chordfont.h"
#include "view.h"
#include "word/automation.h"
#include "word/messages.h"
#include "word/replacetext.h"

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace prefs
{
class SettingsStore;
} // namespace prefs

namespace form
{

class frmMain
{
public:
    /// The form over view, whose controls are in their initial state; nothing is connected to a host yet.
    /// view and store must outlive the form.
    frmMain(View &view, prefs::SettingsStore &store);
    ~frmMain();
    frmMain(const frmMain &) = delete;
    frmMain &operator=(const frmMain &) = delete;

    /// Says what to show when start-up obtains no host and starting one threw failure: a message of its own
    /// for a failure the host can explain (Word running but out of reach), or none for "Fatal Error".
    using StartFailureMessage = std::function<std::optional<word::Message>(const std::exception_ptr &failure)>;
    void setStartFailureMessage(StartFailureMessage message);

    /// The start-up before the window is first shown: obtain the host (attach, else start; both failing
    /// shows the fatal message), set the information labels, fill the key lists, restore the preferences.
    /// Returns false when the program must end instead of showing the window (exitCode() then says how).
    bool Form_Load(const HostKind &kind);

    /// The user's action on control, reported by the view once the toolkit has applied it: a button or
    /// link pressed, a check box's value changed, a key list's choice changed. Controls without a
    /// behaviour (Check3, Check4, the option buttons, the text boxes, the plain labels) are ignored.
    void click(Control control);
    /// A request to close the window (the close box, the system); Exit and the host's Quit event come
    /// the same way. Asks the end guard first; then runs the close step once per run and ends the program
    /// through the view. False when the end guard kept the program running (the window stays).
    bool closeRequested();
    /// Asked before the close step: false keeps the program running, for work that would otherwise be lost
    /// (the built-in word processor's unsaved sheet). Without a guard every close goes ahead.
    void setEndGuard(std::function<bool()> mayEnd);

    /// Sets a check box (0 or 1) or selects an option button in code, as the user would: a check box's
    /// click behaviour runs when its value changes.
    void setValue(Control control, int value);
    /// Sets the text of each colour box a command gave a value for, Text1 to Text3.
    void setColorTexts(const std::optional<std::string> &red,
                       const std::optional<std::string> &green,
                       const std::optional<std::string> &blue);
    /// Chooses a key list's entry in code, as the user would: its click behaviour runs even when the
    /// index stays the same.
    void setListIndex(Control control, int index);

    /// The host held for the whole run (WDapp); null before start-up.
    const std::shared_ptr<word::Application> &host() const;
    /// The exit code the program ends with: 0 after a normal close, 1 after an error report or a
    /// failed start-up.
    int exitCode() const;
    /// The chord font as the check boxes hold it now, with lColor.
    word::ChordFont chordFont() const;
    /// The chord colour of the last Transpose or chord marking (0 at first).
    int32_t chordColor() const;
    /// The sharps flag of the last Transpose (false at first).
    bool useSharps() const;

private:
    // Event handlers.
    void Command1_Click();
    void Command2_Click();
    void Command6_Click();
    void Command7_Click();
    void Command8_Click();
    void Check5_Click();
    void Check6_Click();
    void styleBoxClick(Control box);
    /// A Nashville Numbers box's click: ticked, it clears the other box, and its key list shows the first key
    /// and takes no choice while the other list does.
    void nashvilleClick(Control box, Control list, Control otherBox, Control otherList);
    void WDapp_Quit();
    void followLink(const std::string &address);
    void UpdateSemiTones();

    /// A control's click behaviour, without the guard: a change made inside a handler runs nested in it.
    void runClick(Control control);
    /// Sets a check box; its click behaviour runs when the value changes.
    void setCheck(Control box, int value);
    /// Chooses a key list's entry; its click behaviour runs always.
    void chooseListIndex(Control list, int index);
    /// Selects option and clears the other option button.
    void selectOption(Control option);
    void restorePreferences();
    word::Application &application();
    int value(Control control) const;
    /// Whether a check box or option button is set: its value is exactly 1 (the libraries take bools).
    bool ticked(Control control) const;
    std::string text(Control control) const;
    prefs::ColorBoxes colorBoxes() const;
    /// Runs handler; an exception escaping it is reported and ends the program.
    void guarded(const std::function<void()> &handler);
    void reportUntrapped(const std::string &description);

    View &m_view;
    prefs::SettingsStore &m_store;
    StartFailureMessage m_startFailureMessage;
    std::shared_ptr<word::Application> WDapp;
    /// Held while the form lives: an event posted to the view runs only if the form is still there.
    std::shared_ptr<frmMain *> m_alive;

    enum class Phase {
        Created, ///< controls exist, no start-up yet
        Running, ///< start-up done
        Closing, ///< the close step runs
        Ended, ///< closed, or ended by an error report
    };
    Phase m_phase = Phase::Created;
    int m_exitCode = 0;
    std::function<bool()> m_mayEnd;

    int32_t lColor = 0;
    bool bUseSharps = false;
};

} // namespace form
