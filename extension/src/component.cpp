// The extension's UNO component: the sidebar panel and its factory, the "vnd.tonvale:" protocol
// handler, and the entry point the office loads.

#include "session.h"
#include "unocommon.h"

#include <com/sun/star/awt/XWindowPeer.hpp>
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/container/XNameAccess.hpp>
#include <com/sun/star/frame/DispatchResultState.hpp>
#include <com/sun/star/frame/XController2.hpp>
#include <com/sun/star/frame/XDispatchProvider.hpp>
#include <com/sun/star/frame/XNotifyingDispatch.hpp>
#include <com/sun/star/lang/IllegalArgumentException.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/lang/XInitialization.hpp>
#include <com/sun/star/lang/XServiceInfo.hpp>
#include <com/sun/star/lang/XSingleComponentFactory.hpp>
#include <com/sun/star/registry/XRegistryKey.hpp>
#include <com/sun/star/ui/LayoutSize.hpp>
#include <com/sun/star/ui/UIElementType.hpp>
#include <com/sun/star/ui/XDeck.hpp>
#include <com/sun/star/ui/XDecks.hpp>
#include <com/sun/star/ui/XSidebarPanel.hpp>
#include <com/sun/star/ui/XSidebarProvider.hpp>
#include <com/sun/star/ui/XToolPanel.hpp>
#include <com/sun/star/ui/XUIElement.hpp>
#include <com/sun/star/ui/XUIElementFactory.hpp>
#include <cppuhelper/factory.hxx>
#include <cppuhelper/implbase2.hxx>
#include <cppuhelper/implbase3.hxx>
#include <cppuhelper/implbase4.hxx>
#include <cppuhelper/implementationentry.hxx>
#include <cppuhelper/supportsservice.hxx>

#include <cstdio>
#include <cstdlib>
#include <rtl/ref.hxx>

namespace oxt
{

namespace
{

Sequence<OUString> names(std::initializer_list<const char *> list)
{
    Sequence<OUString> out(static_cast<sal_Int32>(list.size()));
    sal_Int32 i = 0;
    for (const char *name : list) {
        out.getArray()[i++] = OUString::createFromAscii(name);
    }
    return out;
}

// Writes a failure the office does not show to stderr, and to the file TONVALE_OXT_LOG names.
void report(const std::string &text)
{
    std::fprintf(stderr, "%s\n", text.c_str());
    if (const char *log = std::getenv("TONVALE_OXT_LOG"); log && *log) {
        if (FILE *file = std::fopen(log, "a")) {
            std::fprintf(file, "%s\n", text.c_str());
            std::fclose(file);
        }
    }
}

// --- The panel -----------------------------------------------------------------------------------

class Panel
    : public cppu::
          WeakImplHelper4<css::ui::XUIElement, css::ui::XToolPanel, css::ui::XSidebarPanel, css::lang::XComponent>
{
public:
    Panel(const Reference<css::uno::XComponentContext> &context,
          const OUString &url,
          const Reference<css::frame::XFrame> &frame,
          const Reference<css::awt::XWindowPeer> &parent)
        : m_url(url)
        , m_frame(frame)
        , m_session(Session::forPanel(context, frame, parent))
    {
    }

    // XUIElement
    Reference<css::frame::XFrame> SAL_CALL getFrame() override
    {
        return m_frame;
    }
    OUString SAL_CALL getResourceURL() override
    {
        return m_url;
    }
    sal_Int16 SAL_CALL getType() override
    {
        return css::ui::UIElementType::TOOLPANEL;
    }
    Reference<css::uno::XInterface> SAL_CALL getRealInterface() override
    {
        return Reference<css::uno::XInterface>(static_cast<css::ui::XToolPanel *>(this));
    }

    // XToolPanel
    Reference<css::awt::XWindow> SAL_CALL getWindow() override
    {
        return m_session && m_session->panelView() ? m_session->panelView()->window() : nullptr;
    }
    Reference<css::accessibility::XAccessible>
        SAL_CALL createAccessible(const Reference<css::accessibility::XAccessible> &) override
    {
        return Reference<css::accessibility::XAccessible>(getWindow(), UNO_QUERY);
    }

    // XSidebarPanel
    css::ui::LayoutSize SAL_CALL getHeightForWidth(sal_Int32) override
    {
        const sal_Int32 height = form::twipsToPixels(form::windowHeight, 96.0);
        return css::ui::LayoutSize(height, height, height);
    }
    sal_Int32 SAL_CALL getMinimalWidth() override
    {
        return form::twipsToPixels(form::windowWidth, 96.0);
    }

    // XComponent
    void SAL_CALL dispose() override
    {
        if (!m_session) {
            return;
        }
        auto session = std::move(m_session);
        Session::forget(session.get());
        if (session->panelView()) {
            session->panelView()->dispose();
        }
    }
    void SAL_CALL addEventListener(const Reference<css::lang::XEventListener> &) override
    {
    }
    void SAL_CALL removeEventListener(const Reference<css::lang::XEventListener> &) override
    {
    }

private:
    OUString m_url;
    Reference<css::frame::XFrame> m_frame;
    std::shared_ptr<Session> m_session;
};

OUString SAL_CALL handlerName()
{
    return ou(handlerImplementation);
}

Sequence<OUString> SAL_CALL handlerServices()
{
    return names({"com.sun.star.frame.ProtocolHandler"});
}

OUString SAL_CALL panelFactoryName()
{
    return ou(panelFactoryImplementation);
}

Sequence<OUString> SAL_CALL panelFactoryServices()
{
    return names({"com.sun.star.ui.UIElementFactory"});
}

// XServiceInfo of one of the extension's implementations, answered from the functions of its entry in the
// component's table (below).
template<typename Helper, OUString(SAL_CALL *implementationName)(), Sequence<OUString>(SAL_CALL *serviceNames)()>
class ServiceInfo : public Helper
{
public:
    OUString SAL_CALL getImplementationName() override
    {
        return implementationName();
    }
    sal_Bool SAL_CALL supportsService(const OUString &name) override
    {
        return cppu::supportsService(this, name);
    }
    Sequence<OUString> SAL_CALL getSupportedServiceNames() override
    {
        return serviceNames();
    }
};

class PanelFactory : public ServiceInfo<cppu::WeakImplHelper2<css::ui::XUIElementFactory, css::lang::XServiceInfo>,
                                        panelFactoryName,
                                        panelFactoryServices>
{
public:
    explicit PanelFactory(const Reference<css::uno::XComponentContext> &context)
        : m_context(context)
    {
    }

    Reference<css::ui::XUIElement>
        SAL_CALL createUIElement(const OUString &url, const Sequence<css::beans::PropertyValue> &arguments) override
    {
        Reference<css::frame::XFrame> frame;
        Reference<css::awt::XWindowPeer> parent;
        for (const auto &argument : arguments) {
            if (argument.Name == "Frame") {
                argument.Value >>= frame;
            } else if (argument.Name == "ParentWindow") {
                parent.set(argument.Value, UNO_QUERY);
            }
        }
        if (!frame.is() || !parent.is()) {
            throw css::lang::IllegalArgumentException("The Tonvale panel needs a frame and a parent window",
                                                      static_cast<cppu::OWeakObject *>(this),
                                                      1);
        }
        try {
            return new Panel(m_context, url, frame, parent);
        } catch (const css::uno::Exception &e) {
            // The office reports a failed panel as an unknown error: say what failed.
            report("Tonvale panel: " + utf8(e.Message));
            throw;
        }
    }

private:
    Reference<css::uno::XComponentContext> m_context;
};

// --- The protocol handler --------------------------------------------------------------------------

class Handler : public ServiceInfo<cppu::WeakImplHelper4<css::frame::XDispatchProvider,
                                                         css::frame::XNotifyingDispatch,
                                                         css::lang::XInitialization,
                                                         css::lang::XServiceInfo>,
                                   handlerName,
                                   handlerServices>
{
public:
    explicit Handler(const Reference<css::uno::XComponentContext> &context)
        : m_context(context)
    {
    }

    // XInitialization: the frame the handler serves.
    void SAL_CALL initialize(const Sequence<Any> &arguments) override
    {
        for (const auto &argument : arguments) {
            Reference<css::frame::XFrame> frame(argument, UNO_QUERY);
            if (frame.is()) {
                m_frame = frame;
            }
        }
    }

    // XDispatchProvider
    Reference<css::frame::XDispatch>
        SAL_CALL queryDispatch(const css::util::URL &url, const OUString &, sal_Int32) override
    {
        if (url.Complete.startsWith(ou(protocol))) {
            return this;
        }
        return nullptr;
    }
    Sequence<Reference<css::frame::XDispatch>>
        SAL_CALL queryDispatches(const Sequence<css::frame::DispatchDescriptor> &requests) override
    {
        Sequence<Reference<css::frame::XDispatch>> out(requests.getLength());
        for (sal_Int32 i = 0; i < requests.getLength(); ++i) {
            out.getArray()[i] = queryDispatch(requests[i].FeatureURL, requests[i].FrameName, requests[i].SearchFlags);
        }
        return out;
    }

    // XDispatch
    void SAL_CALL dispatch(const css::util::URL &url, const Sequence<css::beans::PropertyValue> &arguments) override
    {
        dispatchWithNotification(url, arguments, nullptr);
    }
    void SAL_CALL addStatusListener(const Reference<css::frame::XStatusListener> &, const css::util::URL &) override
    {
    }
    void SAL_CALL removeStatusListener(const Reference<css::frame::XStatusListener> &, const css::util::URL &) override
    {
    }

    // XNotifyingDispatch: the work runs on the office's main thread, where the windows live; the
    // listener always hears the result, also of a failure.
    void SAL_CALL dispatchWithNotification(const css::util::URL &url,
                                           const Sequence<css::beans::PropertyValue> &,
                                           const Reference<css::frame::XDispatchResultListener> &listener) override
    {
        rtl::Reference<Handler> self(this);
        const std::string address = utf8(url.Complete);
        auto work = [self, address, listener] {
            const Outcome outcome = self->perform(address);
            if (listener.is()) {
                css::frame::DispatchResultEvent event;
                event.Source = static_cast<cppu::OWeakObject *>(self.get());
                event.State =
                    outcome.ok ? css::frame::DispatchResultState::SUCCESS : css::frame::DispatchResultState::FAILURE;
                event.Result <<= ou(outcome.result);
                listener->dispatchFinished(event);
            }
        };
        if (onMainThread()) {
            work();
        } else {
            postToMainThread(m_context, std::move(work));
        }
    }

private:
    Outcome perform(const std::string &address)
    {
        try {
            const auto parsed = parseRequest(address);
            if (const auto *error = std::get_if<std::string>(&parsed)) {
                return {false, "status=error\nerror=" + *error + "\n"};
            }
            const Request &request = std::get<Request>(parsed);
            if (!m_frame.is()) {
                return {false, "status=error\nerror=No window to work in.\n"};
            }
            if (request.command == "open") {
                return openDeck();
            }
            return Session::of(m_context, m_frame)->run(request);
        } catch (const css::uno::Exception &e) {
            return {false, "status=error\nerror=" + utf8(e.Message) + "\n"};
        } catch (const std::exception &e) {
            return {false, "status=error\nerror=" + std::string(e.what()) + "\n"};
        }
    }

    // Shows the sidebar with the Tonvale deck.
    Outcome openDeck()
    {
        Reference<css::frame::XController2> controller(m_frame->getController(), UNO_QUERY);
        const auto provider = controller.is() ? controller->getSidebar() : nullptr;
        if (!provider.is()) {
            return {false, "status=error\nerror=This window has no sidebar.\n"};
        }
        provider->setVisible(true);
        provider->showDecks(true);
        const auto decks = provider->getDecks();
        Reference<css::ui::XDeck> deck;
        if (decks.is() && decks->hasByName(ou(deckId))) {
            decks->getByName(ou(deckId)) >>= deck;
        }
        if (!deck.is()) {
            return {false, "status=error\nerror=The Tonvale deck is not available here.\n"};
        }
        deck->activate(true);
        return {true, "status=ok\n"};
    }

    Reference<css::uno::XComponentContext> m_context;
    Reference<css::frame::XFrame> m_frame;
};

Reference<css::uno::XInterface> SAL_CALL createHandler(const Reference<css::uno::XComponentContext> &context)
{
    return static_cast<cppu::OWeakObject *>(new Handler(context));
}

Reference<css::uno::XInterface> SAL_CALL createPanelFactory(const Reference<css::uno::XComponentContext> &context)
{
    return static_cast<cppu::OWeakObject *>(new PanelFactory(context));
}

const cppu::ImplementationEntry entries[] = {
    {createHandler, handlerName, handlerServices, cppu::createSingleComponentFactory, nullptr, 0},
    {createPanelFactory, panelFactoryName, panelFactoryServices, cppu::createSingleComponentFactory, nullptr, 0},
    {nullptr, nullptr, nullptr, nullptr, nullptr, 0},
};

} // namespace

} // namespace oxt

extern "C" SAL_DLLPUBLIC_EXPORT void *SAL_CALL component_getFactory(const char *implementation,
                                                                    void *serviceManager,
                                                                    void *registryKey)
{
    return cppu::component_getFactoryHelper(implementation, serviceManager, registryKey, oxt::entries);
}
