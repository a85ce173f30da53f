#pragma once

// Test support: a suite with one stand-in Word for all its tests, beside the built-in host run
// directly, so that each test can compare the two.

#include "fakeclient.h"

#include "word/builtin/host.h"
#include "word/replacetext.h"

#include <gtest/gtest.h>

#include <string>

namespace fakeword
{

/// Chords in bold.
inline word::ChordFont boldChords()
{
    word::ChordFont font;
    font.useStyle = 1;
    font.bold = 1;
    return font;
}

class BothHostsTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_word = new FakeWord;
    }
    static void TearDownTestSuite()
    {
        delete s_word;
        s_word = nullptr;
    }
    static FakeWord &remote()
    {
        return *s_word;
    }

    /// The same sheet in both hosts, with the selection [start, end).
    void open(const std::string &sheet, int32_t start = 0, int32_t end = 0)
    {
        m_local.open(word::builtin::fromNotation(sheet));
        m_local.setSelection(start, end);
        remote().open(sheet);
        remote().select(start, end);
    }
    std::string localText()
    {
        return word::builtin::toNotation(*m_local.activeText());
    }

    word::builtin::Host m_local;

private:
    static inline FakeWord *s_word = nullptr;
};

} // namespace fakeword
