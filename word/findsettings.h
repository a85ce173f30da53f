#pragma once

// Word's find settings as a host keeps them itself, for a host whose word processor has no find
// object that keeps them between calls (or whose own must be set afresh for each search).

#include "word/automation.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace word
{

/// Find.Font or Find.Replacement.Font settings in the order they were first made; setting an
/// attribute again changes its value and keeps its place.
class FontValues
{
public:
    using Value = std::pair<FontProperty, int32_t>;

    void set(FontProperty property, int32_t value)
    {
        for (auto &setting : m_values) {
            if (setting.first == property) {
                setting.second = value;
                return;
            }
        }
        m_values.emplace_back(property, value);
    }
    bool empty() const
    {
        return m_values.empty();
    }
    auto begin() const
    {
        return m_values.begin();
    }
    auto end() const
    {
        return m_values.end();
    }

private:
    std::vector<Value> m_values;
};

/// Every setting of Find and its Replacement, as last made, with the font settings in Font (a type
/// with set(FontProperty, int32_t), made empty by assigning Font{}).
template<typename Font> struct BasicFindSettings {
    std::string text;
    std::string replacement;
    bool forward = true;
    int32_t wrap = wdFindStop; ///< a WdFindWrap
    bool format = false;
    bool matchCase = false;
    bool wholeWord = false;
    bool wildcards = false;
    bool soundsLike = false;
    bool allWordForms = false;
    Font font; ///< Find.Font: criteria
    Font replacementFont; ///< Find.Replacement.Font: given to the replaced text
};

using FindSettings = BasicFindSettings<FontValues>;

/// A Find whose setters only keep the settings (in settings, which outlives it); the host's Execute
/// applies them.
template<typename Font> class KeptFind : public Find
{
public:
    explicit KeptFind(BasicFindSettings<Font> &settings)
        : m_settings(settings)
    {
    }

    void ClearFormatting() override
    {
        m_settings.font = {};
    }
    void ClearReplacementFormatting() override
    {
        m_settings.replacementFont = {};
    }
    void setText(const std::string &text) override
    {
        m_settings.text = text;
    }
    void setReplacementText(const std::string &text) override
    {
        m_settings.replacement = text;
    }
    void setForward(bool forward) override
    {
        m_settings.forward = forward;
    }
    void setWrap(int32_t wrap) override
    {
        m_settings.wrap = wrap;
    }
    void setFormat(bool format) override
    {
        m_settings.format = format;
    }
    void setMatchCase(bool matchCase) override
    {
        m_settings.matchCase = matchCase;
    }
    void setMatchWholeWord(bool wholeWord) override
    {
        m_settings.wholeWord = wholeWord;
    }
    void setMatchWildcards(bool wildcards) override
    {
        m_settings.wildcards = wildcards;
    }
    void setMatchSoundsLike(bool soundsLike) override
    {
        m_settings.soundsLike = soundsLike;
    }
    void setMatchAllWordForms(bool allWordForms) override
    {
        m_settings.allWordForms = allWordForms;
    }
    void setFont(FontProperty property, int32_t value) override
    {
        m_settings.font.set(property, value);
    }
    void setReplacementFont(FontProperty property, int32_t value) override
    {
        m_settings.replacementFont.set(property, value);
    }

protected:
    BasicFindSettings<Font> &m_settings;
};

} // namespace word
