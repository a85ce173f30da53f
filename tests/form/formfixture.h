#pragma once

// The form class over a fake view and the built-in host, with the settings store in memory.

#include "form/frmmain.h"
#include "tests/support/fakeview.h"
#include "word/builtin/host.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

class FormTest : public ::testing::Test
{
protected:
    using Control = form::Control;

    FormTest();

    /// Runs the start-up against the built-in host; fails the test when it does not succeed.
    void load();
    /// Opens the document written in the test notation in the host, the insertion point at its start.
    void openSheet(const std::string &notation);
    std::string sheet() const;
    /// Messages shown so far, as "title: text".
    std::vector<std::string> shown() const;
    /// The user chooses both keys (indexes in the key list, -1 none).
    void chooseKeys(int current, int target);

    std::shared_ptr<word::builtin::Host> host;
    testsupport::MemoryStore store;
    testsupport::FakeView view;
    testsupport::TestPrompter &prompter;
    form::frmMain form;
};
