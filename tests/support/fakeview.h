#pragma once

// A window without a toolkit for the form class: the controls' state in memory, the messages recorded
// and answered, posted events held until a test delivers them, the program's end recorded. Its user
// actions do what a toolkit does before it reports the action to the form.

#include "form/frmmain.h"
#include "form/hostkind.h"
#include "form/view.h"
#include "prefs/preferences.h"
#include "tests/support/prompter.h"
#include "word/messages.h"

#include <array>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace testsupport
{

/// The settings store in a map; get of an absent key is "".
class MemoryStore : public prefs::SettingsStore
{
public:
    std::string get(const std::string &key) override;
    void set(const std::string &key, const std::string &value) override;
    std::optional<std::string> commit() override
    {
        return commitProblem;
    }
    std::optional<std::string> unreadable() const override
    {
        return unreadableFile;
    }

    std::map<std::string, std::string> values;
    std::vector<std::string> written; ///< keys in the order written
    std::optional<std::string> commitProblem; ///< what commit says: a store that does not take a save
    std::optional<std::string> unreadableFile; ///< what unreadable says: a store not read in full at start
};

/// A host kind that attaches to host (null: none running) and cannot start one.
form::HostKind kindAttachingTo(std::shared_ptr<word::Application> host);

class FakeView : public form::View
{
public:
    /// The controls in the initial state a toolkit gives them from the table: all empty and enabled,
    /// "Use Sharps" selected.
    FakeView();

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
    void post(std::function<void()> event) override;
    void endProgram(int exitCode) override;

    // The user's actions, reported to form as a toolkit reports them.
    /// A mouse click: a check box toggles, an option button is selected (and its partner cleared), then
    /// the form hears of it; a disabled control does nothing.
    void click(form::Control control);
    /// Chooses entry index of a key list; the form hears of it when the choice changed.
    void choose(form::Control list, int index);
    /// Types text into a text box (replacing what it held); the form hears nothing.
    void type(form::Control box, const std::string &text);
    /// Runs the events posted so far, in order; the number run.
    int deliverPosted();
    /// A key list's entries.
    const std::vector<std::string> &items(form::Control list) const;

    /// Whom the user's actions reach.
    form::frmMain *form = nullptr;
    TestPrompter prompts; ///< answers No to a question unless a test says otherwise
    std::vector<int> programEnds; ///< every endProgram call
    bool visible = true; ///< false once the program was ended

private:
    struct State {
        int value = 0;
        std::string text;
        int index = -1;
        std::vector<std::string> items;
        bool enabled = true;
    };
    State &state(form::Control control);
    const State &state(form::Control control) const;

    std::array<State, form::controlCount> m_controls;
    std::mutex m_postedLock;
    std::deque<std::function<void()>> m_posted;
};

} // namespace testsupport
