#include "inprocess.h"

#include "hostimpl.h"

#include <com/sun/star/frame/Desktop.hpp>

namespace word::uno
{

namespace
{

// The host with Quit taken away; everything else passes through.
class InProcess : public Application
{
public:
    explicit InProcess(std::unique_ptr<Host> host)
        : m_host(std::move(host))
    {
    }

    HostNames names() const override
    {
        return m_host->names();
    }
    int32_t DocumentsCount() override
    {
        return m_host->DocumentsCount();
    }
    std::unique_ptr<Selection> selection() override
    {
        return m_host->selection();
    }
    std::unique_ptr<Document> activeDocument() override
    {
        return m_host->activeDocument();
    }
    void ScreenRefresh() override
    {
        m_host->ScreenRefresh();
    }
    void Quit() override
    {
    }
    void StartUndoGroup(const std::string &name) override
    {
        m_host->StartUndoGroup(name);
    }
    void EndUndoGroup() override
    {
        m_host->EndUndoGroup();
    }
    void UndoLastGroup() override
    {
        m_host->UndoLastGroup();
    }
    std::string noDocumentReason() override
    {
        return m_host->noDocumentReason();
    }

private:
    std::unique_ptr<Host> m_host;
};

} // namespace

std::unique_ptr<Application> inProcessHost(const Reference<css::uno::XComponentContext> &context,
                                           const Reference<css::text::XTextDocument> &document)
{
    if (!context.is() || !document.is()) {
        throw AutomationError(noDocumentText);
    }
    auto impl = std::make_unique<Host::Impl>();
    impl->remote = context;
    impl->pinned = document;
    try {
        impl->desktop = css::frame::Desktop::create(context);
    } catch (const css::uno::Exception &e) {
        throw AutomationError("Cannot reach LibreOffice Writer: " + utf8(e.Message));
    }
    return std::make_unique<InProcess>(Host::Impl::adopt(std::move(impl)));
}

} // namespace word::uno
