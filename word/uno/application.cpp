// The office as word::Application: its Writer documents, the active one, undo groups, Quit and
// the Document object.

#include "hostimpl.h"
#include "office.h"

#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/document/XUndoManagerSupplier.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/system/SystemShellExecute.hpp>
#include <com/sun/star/system/SystemShellExecuteFlags.hpp>

namespace word::uno
{

std::vector<Reference<css::text::XTextDocument>> Host::Impl::writerDocuments()
{
    std::vector<Reference<css::text::XTextDocument>> docs;
    const auto components = desktop->getComponents();
    if (!components.is()) {
        return docs;
    }
    const auto enumeration = components->createEnumeration();
    while (enumeration->hasMoreElements()) {
        Reference<css::text::XTextDocument> doc(enumeration->nextElement(), UNO_QUERY);
        if (doc.is()) {
            docs.push_back(doc);
        }
    }
    return docs;
}

Reference<css::text::XTextDocument> Host::Impl::activeDocument(bool required)
{
    if (pinned.is()) {
        return pinned;
    }
    if (!groups.empty() && groups.back().doc.is()) {
        // Within one command the document stays the one it began on.
        return groups.back().doc;
    }
    Reference<css::text::XTextDocument> doc(desktop->getCurrentComponent(), UNO_QUERY);
    if (!doc.is()) {
        // The current component is none when the office shows no window, and can be another
        // application's document: take an open Writer document then.
        const auto docs = writerDocuments();
        if (!docs.empty()) {
            doc = docs.front();
        }
    }
    if (!doc.is() && required) {
        throw AutomationError(noDocumentText);
    }
    return doc;
}

Reference<css::frame::XController> Host::Impl::controller(const Reference<css::text::XTextDocument> &doc)
{
    Reference<css::frame::XModel> model(doc, UNO_QUERY_THROW);
    auto result = model->getCurrentController();
    if (!result.is()) {
        throw AutomationError("The LibreOffice Writer document has no window.");
    }
    return result;
}

void Host::Impl::closeGroup(const OpenGroup &group)
{
    if (group.locked) {
        group.model->unlockControllers();
    }
    group.undo->leaveUndoContext();
}

namespace
{

class UnoDocument : public Document
{
public:
    explicit UnoDocument(Host::Impl &impl)
        : m(impl)
    {
    }

    void FollowHyperlink(const std::string &address, bool) override
    {
        m.guarded([&] {
            m.activeDocument();
            const auto shell = css::system::SystemShellExecute::create(m.remote);
            try {
                shell->execute(ou(address), OUString(), css::system::SystemShellExecuteFlags::URIS_ONLY);
            } catch (const css::uno::RuntimeException &) {
                throw;
            } catch (const css::uno::Exception &e) {
                throw AutomationError("Cannot open " + address + ": " + utf8(e.Message));
            }
        });
    }

private:
    Host::Impl &m;
};

} // namespace

QuitListener::QuitListener(std::function<void(bool)> onQuit)
    : m_onQuit(std::move(onQuit))
{
}

void QuitListener::detach()
{
    std::lock_guard lock(m_mutex);
    m_onQuit = nullptr;
}

void QuitListener::setBridge(const Reference<css::uno::XInterface> &bridge)
{
    m_bridge = bridge;
}

void SAL_CALL QuitListener::queryTermination(const css::lang::EventObject &)
{
}

// Never call the office from here: it is busy terminating.
void SAL_CALL QuitListener::notifyTermination(const css::lang::EventObject &)
{
    fire(false);
}

void SAL_CALL QuitListener::disposing(const css::lang::EventObject &event)
{
    fire(event.Source.is() && event.Source == m_bridge);
}

void QuitListener::fire(bool bridgeGone)
{
    std::lock_guard lock(m_mutex);
    if (m_onQuit) {
        m_onQuit(bridgeGone);
    }
}

std::unique_ptr<Host> hostOn(const Reference<css::uno::XComponentContext> &context,
                             const Reference<css::lang::XComponent> &bridge)
{
    auto impl = std::make_unique<Host::Impl>();
    impl->bridge = bridge;
    impl->remote = context;
    Host::Impl *raw = impl.get();
    impl->listener = new QuitListener([raw](bool bridgeGone) {
        if (bridgeGone) {
            raw->lost = true;
        } else {
            raw->terminated = true;
        }
        if (!raw->quitRaised.exchange(true) && raw->quit) {
            raw->quit();
        }
    });
    try {
        impl->desktop = css::frame::Desktop::create(context);
        if (bridge.is()) {
            impl->listener->setBridge(Reference<css::uno::XInterface>(bridge, UNO_QUERY));
            bridge->addEventListener(
                Reference<css::lang::XEventListener>(static_cast<css::lang::XEventListener *>(impl->listener.get())));
        }
        impl->desktop->addTerminateListener(Reference<css::frame::XTerminateListener>(impl->listener.get()));
    } catch (const css::uno::Exception &e) {
        throw AutomationError("Cannot reach LibreOffice Writer: " + utf8(e.Message));
    }
    if (impl->lost) {
        // The connection ended while the host was being made (an office still starting, or a second
        // connection of this process to the same office, which the first one stands in for).
        impl->listener->detach();
        throw AutomationError("Cannot reach LibreOffice Writer: the connection ended.");
    }
    return std::unique_ptr<Host>(new Host(std::move(impl)));
}

std::unique_ptr<Host> Host::Impl::adopt(std::unique_ptr<Impl> impl)
{
    return std::unique_ptr<Host>(new Host(std::move(impl)));
}

Host::Host(std::unique_ptr<Impl> impl)
    : m_impl(std::move(impl))
{
    m_impl->quit = [this] {
        raiseQuit();
    };
}

Host::~Host()
{
    Impl &m = *m_impl;
    if (m.listener.is()) {
        m.listener->detach();
    }
    if (!m.lost && !m.terminated) {
        try {
            m.restoreSelection();
            for (auto it = m.groups.rbegin(); it != m.groups.rend(); ++it) {
                Impl::closeGroup(*it);
            }
            m.desktop->removeTerminateListener(Reference<css::frame::XTerminateListener>(m.listener.get()));
        } catch (...) {
            // The office may be gone already.
        }
    }
    try {
        if (m.bridge.is()) {
            m.bridge->dispose();
        }
    } catch (...) {
    }
}

HostNames Host::names() const
{
    return {productName, productName};
}

int32_t Host::DocumentsCount()
{
    if (m_impl->terminated) {
        return 0; // a terminating office closes its documents and may be asked nothing
    }
    return m_impl->guarded([&] {
        return static_cast<int32_t>(m_impl->writerDocuments().size());
    });
}

std::unique_ptr<Selection> Host::selection()
{
    return m_impl->guarded([&]() -> std::unique_ptr<Selection> {
        m_impl->activeDocument();
        return makeSelection(*m_impl);
    });
}

std::unique_ptr<Document> Host::activeDocument()
{
    return m_impl->guarded([&]() -> std::unique_ptr<Document> {
        m_impl->activeDocument();
        return std::make_unique<UnoDocument>(*m_impl);
    });
}

void Host::ScreenRefresh()
{
    // The office redraws by itself once the controllers are unlocked; only check that it is there
    // (within a command its last call did).
    m_impl->guarded([&] {
        if (m_impl->groups.empty()) {
            m_impl->desktop->getCurrentComponent();
        }
    });
}

void Host::Quit()
{
    if (m_impl->terminated) {
        return; // it is quitting already
    }
    try {
        m_impl->guarded([&] {
            try {
                m_impl->desktop->terminate();
            } catch (const css::lang::DisposedException &) {
                // The office went away while answering: it has quit.
            }
        });
    } catch (const AutomationError &) {
        // The connection may end before the answer comes; the office said it terminates.
        if (!m_impl->terminated) {
            throw;
        }
    }
}

void Host::StartUndoGroup(const std::string &name)
{
    m_impl->guarded([&] {
        const auto doc = m_impl->activeDocument(false);
        if (!doc.is()) {
            return;
        }
        Reference<css::document::XUndoManagerSupplier> supplier(doc, UNO_QUERY_THROW);
        Impl::OpenGroup group;
        group.doc = doc;
        group.undo = supplier->getUndoManager();
        group.model.set(doc, UNO_QUERY_THROW);
        if (m_impl->groups.empty()) {
            // An empty step leaves no action behind: comparing the steps tells whether the group holds one.
            group.titlesBefore = group.undo->getAllUndoActionTitles();
            m_impl->lastGroup.reset();
        }
        group.undo->enterUndoContext(ou(name));
        if (m_impl->groups.empty()) {
            m_impl->lastGroup = group;
        }
        m_impl->paragraphCriteria.reset();
        m_impl->uniformKerning.reset();
        // Without redrawing after every change a whole pass runs about three times faster.
        group.model->lockControllers();
        group.locked = true;
        m_impl->groups.push_back(group);
    });
}

void Host::EndUndoGroup()
{
    m_impl->guarded([&] {
        if (m_impl->groups.empty()) {
            return;
        }
        if (m_impl->groups.size() == 1) {
            m_impl->restoreSelection();
        }
        const Impl::OpenGroup group = m_impl->groups.back();
        m_impl->groups.pop_back();
        m_impl->paragraphCriteria.reset();
        m_impl->uniformKerning.reset();
        Impl::closeGroup(group);
    });
}

void Host::UndoLastGroup()
{
    m_impl->guarded([&] {
        while (!m_impl->groups.empty()) {
            const Impl::OpenGroup group = m_impl->groups.back();
            m_impl->groups.pop_back();
            m_impl->paragraphCriteria.reset();
            Impl::closeGroup(group);
        }
        if (!m_impl->lastGroup) {
            return;
        }
        const Impl::OpenGroup group = *m_impl->lastGroup;
        m_impl->lastGroup.reset();
        if (group.undo->getAllUndoActionTitles() != group.titlesBefore) {
            group.undo->undo();
        }
    });
}

} // namespace word::uno
