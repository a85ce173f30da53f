#include "faultyhost.h"

namespace testsupport
{

namespace
{

class FaultyFind : public word::Find
{
public:
    FaultyFind(FaultyHost &host, std::unique_ptr<word::Find> inner)
        : m_host(host)
        , m_inner(std::move(inner))
    {
    }

    void ClearFormatting() override
    {
        m_host.call();
        m_inner->ClearFormatting();
    }
    void ClearReplacementFormatting() override
    {
        m_host.call();
        m_inner->ClearReplacementFormatting();
    }
    void setText(const std::string &text) override
    {
        m_host.call();
        m_inner->setText(text);
    }
    void setReplacementText(const std::string &text) override
    {
        m_host.call();
        m_inner->setReplacementText(text);
    }
    void setForward(bool forward) override
    {
        m_host.call();
        m_inner->setForward(forward);
    }
    void setWrap(int32_t wrap) override
    {
        m_host.call();
        m_inner->setWrap(wrap);
    }
    void setFormat(bool format) override
    {
        m_host.call();
        m_inner->setFormat(format);
    }
    void setMatchCase(bool matchCase) override
    {
        m_host.call();
        m_inner->setMatchCase(matchCase);
    }
    void setMatchWholeWord(bool wholeWord) override
    {
        m_host.call();
        m_inner->setMatchWholeWord(wholeWord);
    }
    void setMatchWildcards(bool wildcards) override
    {
        m_host.call();
        m_inner->setMatchWildcards(wildcards);
    }
    void setMatchSoundsLike(bool soundsLike) override
    {
        m_host.call();
        m_inner->setMatchSoundsLike(soundsLike);
    }
    void setMatchAllWordForms(bool allWordForms) override
    {
        m_host.call();
        m_inner->setMatchAllWordForms(allWordForms);
    }
    void setFont(word::FontProperty property, int32_t value) override
    {
        m_host.call();
        m_inner->setFont(property, value);
    }
    void setReplacementFont(word::FontProperty property, int32_t value) override
    {
        m_host.call();
        m_inner->setReplacementFont(property, value);
    }
    bool Execute(int32_t replace) override
    {
        m_host.call();
        return m_inner->Execute(replace);
    }

private:
    FaultyHost &m_host;
    std::unique_ptr<word::Find> m_inner;
};

class FaultySelection : public word::Selection
{
public:
    FaultySelection(FaultyHost &host, std::unique_ptr<word::Selection> inner)
        : m_host(host)
        , m_inner(std::move(inner))
    {
    }

    int32_t Start() override
    {
        m_host.call();
        return m_inner->Start();
    }
    int32_t End() override
    {
        m_host.call();
        return m_inner->End();
    }
    int32_t font(word::FontProperty property) override
    {
        m_host.call();
        return m_inner->font(property);
    }
    int32_t MoveLeft(int32_t unit, int16_t count, std::optional<int32_t> extend) override
    {
        m_host.call();
        return m_inner->MoveLeft(unit, count, extend);
    }
    int32_t MoveRight(int32_t unit, int16_t count, std::optional<int32_t> extend) override
    {
        m_host.call();
        return m_inner->MoveRight(unit, count, extend);
    }
    int32_t MoveUp(int32_t unit, int16_t count, std::optional<int32_t> extend) override
    {
        m_host.call();
        return m_inner->MoveUp(unit, count, extend);
    }
    int32_t MoveDown(int32_t unit, int16_t count, std::optional<int32_t> extend) override
    {
        m_host.call();
        return m_inner->MoveDown(unit, count, extend);
    }
    void Cut() override
    {
        m_host.call();
        m_inner->Cut();
    }
    void PasteAndFormat(int32_t type) override
    {
        m_host.call();
        m_inner->PasteAndFormat(type);
    }
    int32_t Delete(int32_t unit, int16_t count) override
    {
        m_host.call();
        return m_inner->Delete(unit, count);
    }
    std::unique_ptr<word::Find> find() override
    {
        m_host.call();
        return std::make_unique<FaultyFind>(m_host, m_inner->find());
    }

private:
    FaultyHost &m_host;
    std::unique_ptr<word::Selection> m_inner;
};

class FaultyDocument : public word::Document
{
public:
    FaultyDocument(FaultyHost &host, std::unique_ptr<word::Document> inner)
        : m_host(host)
        , m_inner(std::move(inner))
    {
    }

    void FollowHyperlink(const std::string &address, bool newWindow) override
    {
        m_host.call();
        m_inner->FollowHyperlink(address, newWindow);
    }

private:
    FaultyHost &m_host;
    std::unique_ptr<word::Document> m_inner;
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
