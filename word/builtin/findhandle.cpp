// Selection.Find of the built-in host: the shared find settings and Execute.

#include "hoststate.h"
#include "wildcard.h"

namespace word::builtin
{

namespace
{

std::optional<bool> flag(int32_t value)
{
    if (value == wdUndefined) {
        return std::nullopt;
    }
    return value != 0;
}

std::optional<int32_t> underlineStyle(int32_t value)
{
    if (value == wdUndefined) {
        return std::nullopt;
    }
    return value == wdTrue ? wdUnderlineSingle : value;
}

std::optional<int32_t> colorValue(int32_t value)
{
    if (value == wdUndefined) {
        return std::nullopt;
    }
    return value;
}

/// Word's value for one font property, kept on a find criterion or a replacement change alike.
void setAttribute(FontValues &attributes, FontProperty property, int32_t value)
{
    switch (property) {
    case FontProperty::Bold:
        attributes.bold = flag(value);
        break;
    case FontProperty::Italic:
        attributes.italic = flag(value);
        break;
    case FontProperty::Underline:
        attributes.underline = underlineStyle(value);
        break;
    case FontProperty::Color:
        attributes.color = colorValue(value);
        break;
    }
}

class FindHandle : public Find
{
public:
    explicit FindHandle(Host::State &state)
        : m_state(state)
        , m_settings(state.find)
    {
    }

    void ClearFormatting() override
    {
        m_state.call("Find.ClearFormatting", "Find.ClearFormatting");
        m_settings.request.criteria = {};
    }
    void ClearReplacementFormatting() override
    {
        m_state.call("Find.Replacement.ClearFormatting", "Find.Replacement.ClearFormatting");
        m_settings.request.changes = {};
    }
    void setText(const std::string &text) override
    {
        m_state.call("Find.Text", "Find.Text = " + text);
        m_settings.request.text = text;
    }
    void setReplacementText(const std::string &text) override
    {
        m_state.call("Find.Replacement.Text", "Find.Replacement.Text = " + text);
        m_settings.request.replacement = text;
    }
    void setForward(bool forward) override
    {
        setFlag("Find.Forward", forward, m_settings.forward);
    }
    void setWrap(int32_t wrap) override
    {
        m_state.call("Find.Wrap", "Find.Wrap = " + std::to_string(wrap));
        m_settings.wrap = wrap;
    }
    void setFormat(bool format) override
    {
        setFlag("Find.Format", format, m_settings.request.format);
    }
    void setMatchCase(bool matchCase) override
    {
        setFlag("Find.MatchCase", matchCase, m_settings.request.matchCase);
    }
    void setMatchWholeWord(bool wholeWord) override
    {
        setFlag("Find.MatchWholeWord", wholeWord, m_settings.request.wholeWord);
    }
    void setMatchWildcards(bool wildcards) override
    {
        setFlag("Find.MatchWildcards", wildcards, m_settings.request.wildcards);
    }
    void setMatchSoundsLike(bool soundsLike) override
    {
        // Kept, but sounds-like matching is not implemented: the search stays literal.
        setFlag("Find.MatchSoundsLike", soundsLike, m_settings.soundsLike);
    }
    void setMatchAllWordForms(bool allWordForms) override
    {
        // Kept, but word forms are not implemented: the search stays literal.
        setFlag("Find.MatchAllWordForms", allWordForms, m_settings.allWordForms);
    }
    void setFont(FontProperty property, int32_t value) override
    {
        const std::string name = std::string("Find.Font.") + propertyName(property);
        m_state.call(name, name + " = " + std::to_string(value));
        setAttribute(m_settings.request.criteria, property, value);
    }
    void setReplacementFont(FontProperty property, int32_t value) override
    {
        const std::string name = std::string("Find.Replacement.Font.") + propertyName(property);
        m_state.call(name, name + " = " + std::to_string(value));
        setAttribute(m_settings.request.changes, property, value);
    }

    bool Execute(int32_t replace) override
    {
        m_state.call("Find.Execute", "Find.Execute Replace:=" + std::to_string(replace));
        DocEntry &d = m_state.doc();
        if (replace != wdReplaceNone && replace != wdReplaceOne && replace != wdReplaceAll) {
            throw AutomationError(badParameterText);
        }
        try {
            return run(d, replace);
        } catch (const wildcards::PatternError &e) {
            throw AutomationError(e.code() == wildcards::ErrorCode::TooComplex ? complexPatternText : badPatternText);
        }
    }

private:
    // Log "<property> = True/False" and keep the value.
    void setFlag(const std::string &property, bool value, bool &field)
    {
        m_state.call(property, property + " = " + boolText(value));
        field = value;
    }

    bool run(DocEntry &d, int32_t replace)
    {
        const FindRequest &request = m_settings.request;
        if (replace == wdReplaceAll) {
            TextDocument previous = std::move(m_state.spare);
            if (!replaceAll(d.doc, request, &previous)) {
                m_state.spare = std::move(previous);
                return false;
            }
            m_state.recordUndo(d, std::move(previous), d.anchor, d.active);
            clampSelection(d);
            m_state.changed();
            return true;
        }
        const bool forward = m_settings.forward;
        const std::size_t from = forward ? (replace == wdReplaceOne ? d.start() : d.end()) : d.start();
        const auto match = findMatch(d.doc, request, from, forward, m_settings.wrap == wdFindContinue);
        if (!match) {
            return false;
        }
        if (replace == wdReplaceOne) {
            TextDocument previous = d.doc;
            const std::size_t after = replaceOne(d.doc, request, *match);
            m_state.recordUndo(d, std::move(previous), d.anchor, d.active);
            d.collapse(after);
        } else {
            d.anchor = match->start;
            d.active = match->end;
        }
        d.preferredColumn.reset();
        m_state.changed();
        return true;
    }

    static void clampSelection(DocEntry &d)
    {
        const std::size_t length = d.doc.length();
        d.anchor = std::min(d.anchor, length);
        d.active = std::min(d.active, length);
        if (d.anchor == d.active) {
            d.collapse(std::min(d.anchor, length - 1));
        }
        d.preferredColumn.reset();
    }

    Host::State &m_state;
    FindSettings &m_settings;
};

} // namespace

std::unique_ptr<Find> makeFind(Host::State &state)
{
    return std::make_unique<FindHandle>(state);
}

} // namespace word::builtin
