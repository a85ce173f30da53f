#pragma once

// The Qt window over the built-in host, with a prompter that records and answers, a settings store in
// memory, and the program's end recorded instead of done.

#include "app/frmmain.h"
#include "tests/support/fakeview.h"
#include "word/builtin/host.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

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
    /// The widget of a control, found by its object name.
    template<typename Widget = QWidget> Widget *find(const char *name) const
    {
        auto *found = window->findChild<Widget *>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    /// Let posted events (the host's Quit event) run.
    static void deliverPostedEvents();

    testsupport::TestPrompter prompter;
    testsupport::MemoryStore store;
    std::shared_ptr<word::builtin::Host> host;
    std::unique_ptr<app::frmMain> window;
    std::vector<int> programEnds;
};
