#include "faultyhost.h"

namespace testsupport
{

namespace
{

// A handle the inner host gave out, whose every call the faulty host counts (and fails in its turn) first.
template<class Handle> class Faulty : public Handle
{
public:
    Faulty(FaultyHost &host, std::unique_ptr<Handle> inner)
        : m_host(host)
        , m_inner(std::move(inner))
    {
    }

protected:
    /// The inner handle, for one call that has been counted.
    Handle &inner()
    {
        m_host.call();
        return *m_inner;
    }

    FaultyHost &m_host;

private:
    std::unique_ptr<Handle> m_inner;
};

class FaultyFind : public Faulty<word::Find>
{
public:
    using Faulty::Faulty;

    void ClearFormatting() override
    {
        inner().ClearFormatting();
    }
    void ClearReplacementFormatting() override
    {
        inner().ClearReplacementFormatting();
    }
    void setText(const std::string &text) override
    {
        inner().setText(text);
    }
    void setReplacementText(const std::string &text) override
    {
        inner().setReplacementText(text);
    }
    void setForward(bool forward) override
    {
        inner().setForward(forward);
    }
    void setWrap(int32_t wrap) override
    {
        inner().setWrap(wrap);
    }
    void setFormat(bool format) override
    {
        inner().setFormat(format);
    }
    void setMatchCase(bool matchCase) override
    {
        inner().setMatchCase(matchCase);
    }
    void setMatchWholeWord(bool wholeWord) override
    {
        inner().setMatchWholeWord(wholeWord);
    }
    void setMatchWildcards(bool wildcards) override
    {
        inner().setMatchWildcards(wildcards);
    }
    void setMatchSoundsLike(bool soundsLike) override
    {
        inner().setMatchSoundsLike(soundsLike);
    }
    void setMatchAllWordForms(bool allWordForms) override
    {
        inner().setMatchAllWordForms(allWordForms);
    }
    void setFont(word::FontProperty property, int32_t value) override
    {
        inner().setFont(property, value);
    }
    void setReplacementFont(word::FontProperty property, int32_t value) override
    {
        inner().setReplacementFont(property, value);
    }
    bool Execute(int32_t replace) override
    {
        return inner().Execute(replace);
    }
};

class FaultySelection : public Faulty<word::Selection>
{
public:
    using Faulty::Faulty;

    int32_t Start() override
    {
        return inner().Start();
    }
    int32_t End() override
    {
        return inner().End();
    }
    int32_t font(word::FontProperty property) override
    {
        return inner().font(property);
    }
    int32_t MoveLeft(int32_t unit, int16_t count, std::optional<int32_t> extend) override
    {
        return inner().MoveLeft(unit, count, extend);
    }
    int32_t MoveRight(int32_t unit, int16_t count, std::optional<int32_t> extend) override
    {
        return inner().MoveRight(unit, count, extend);
    }
    int32_t MoveUp(int32_t unit, int16_t count, std::optional<int32_t> extend) override
    {
        return inner().MoveUp(unit, count, extend);
    }
    int32_t MoveDown(int32_t unit, int16_t count, std::optional<int32_t> extend) override
    {
        return inner().MoveDown(unit, count, extend);
    }
    void Cut() override
    {
        inner().Cut();
    }
    void PasteAndFormat(int32_t type) override
    {
        inner().PasteAndFormat(type);
    }
    int32_t Delete(int32_t unit, int16_t count) override
    {
        return inner().Delete(unit, count);
    }
    std::unique_ptr<word::Find> find() override
    {
        return std::make_unique<FaultyFind>(m_host, inner().find());
    }
};

class FaultyDocument : public Faulty<word::Document>
{
public:
    using Faulty::Faulty;

    void FollowHyperlink(const std::string &address, bool newWindow) override
    {
        inner().FollowHyperlink(address, newWindow);
    }
};

} // namespace

FaultyHost::FaultyHost(word::Application &inner)
    : m_inner(inner)
{
}

void FaultyHost::failAtCall(std::size_t n, std::string description)
{
    failAtCall(n, std::make_exception_ptr(word::AutomationError(description)));
}

void FaultyHost::failAtCall(std::size_t n, std::exception_ptr error)
{
    m_failAt = n == 0 ? 0 : m_calls + n;
    m_error = std::move(error);
}

std::size_t FaultyHost::calls() const
{
    return m_calls;
}

void FaultyHost::call()
{
    if (++m_calls == m_failAt) {
        std::rethrow_exception(m_error);
    }
}

word::HostNames FaultyHost::names() const
{
    return m_inner.names();
}

int32_t FaultyHost::DocumentsCount()
{
    call();
    return m_inner.DocumentsCount();
}

std::unique_ptr<word::Selection> FaultyHost::selection()
{
    call();
    return std::make_unique<FaultySelection>(*this, m_inner.selection());
}

std::unique_ptr<word::Document> FaultyHost::activeDocument()
{
    call();
    return std::make_unique<FaultyDocument>(*this, m_inner.activeDocument());
}

void FaultyHost::ScreenRefresh()
{
    call();
    m_inner.ScreenRefresh();
}

void FaultyHost::Quit()
{
    call();
    m_inner.Quit();
}

void FaultyHost::StartUndoGroup(const std::string &name)
{
    call();
    m_inner.StartUndoGroup(name);
}

void FaultyHost::EndUndoGroup()
{
    call();
    m_inner.EndUndoGroup();
}

void FaultyHost::UndoLastGroup()
{
    call();
    m_inner.UndoLastGroup();
}

} // namespace testsupport
