#pragma once

// A main window over the built-in host, with a prompter that records and answers, a settings store in
// memory, and the program's end recorded instead of done.

#include "app/clicklabel.h"
#include "app/frmmain.h"
#include "app/hostchoice.h"
#include "prefs/preferences.h"
#include "word/builtin/host.h"
#include "word/messages.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

/// Records every message; answers a question with answer.
class RecordingPrompter : public word::Prompter
{
public:
    word::Answer show(const word::Message &message) override;

    std::vector<word::Message> messages;
    word::Answer answer = word::Answer::No;
};

/// The settings store in a map; get of an absent key is "".
class MemoryStore : public prefs::SettingsStore
{
public:
    std::string get(const std::string &key) override;
    void set(const std::string &key, const std::string &value) override;

    std::map<std::string, std::string> values;
    std::vector<std::string> written; ///< keys in the order written
};

/// A host kind that attaches to host (null: none running) and cannot start one.
app::HostKind kindAttachingTo(std::shared_ptr<word::Application> host);

class WindowTest : public ::testing::Test
{
protected:
    WindowTest();
    ~WindowTest() override;

    /// Run the start-up against the built-in host; fails the test when it does not succeed.
    void load();
    /// Open the document written in the test notation in the host, the insertion point at its start.
    void openSheet(const std::string &notation);
    std::string sheet() const;
    /// Messages shown so far, as "title: text".
    std::vector<std::string> shown() const;
    /// Let posted events (the host's Quit event) run.
    static void deliverPostedEvents();

    RecordingPrompter prompter;
    MemoryStore store;
    std::shared_ptr<word::builtin::Host> host;
    std::unique_ptr<app::frmMain> form;
    std::vector<int> programEnds;
};
