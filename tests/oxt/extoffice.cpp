#include "extoffice.h"

#include "word/uno/names.h"
#include "word/uno/strings.h"

#include <com/sun/star/beans/NamedValue.hpp>
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/bridge/BridgeFactory.hpp>
#include <com/sun/star/bridge/XBridge.hpp>
#include <com/sun/star/connection/Connector.hpp>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/deployment/ExtensionManager.hpp>
#include <com/sun/star/document/XUndoManager.hpp>
#include <com/sun/star/document/XUndoManagerSupplier.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/frame/DispatchHelper.hpp>
#include <com/sun/star/frame/DispatchResultEvent.hpp>
#include <com/sun/star/frame/DispatchResultState.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XDispatchProvider.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/task/XInteractionApprove.hpp>
#include <com/sun/star/task/XInteractionHandler.hpp>
#include <com/sun/star/text/XTextDocument.hpp>
#include <com/sun/star/ucb/XCommandEnvironment.hpp>
#include <com/sun/star/ucb/XProgressHandler.hpp>
#include <cppuhelper/bootstrap.hxx>
#include <cppuhelper/implbase1.hxx>
#include <cppuhelper/implbase2.hxx>
#include <rtl/ref.hxx>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace oxttest
{

using namespace word::uno::names;
using word::uno::ou;
using word::uno::utf8;

namespace
{

// Approves whatever the extension manager asks (the licence, the platform).
class Approver : public cppu::WeakImplHelper2<css::ucb::XCommandEnvironment, css::task::XInteractionHandler>
{
public:
    Reference<css::task::XInteractionHandler> SAL_CALL getInteractionHandler() override
    {
        return this;
    }
    Reference<css::ucb::XProgressHandler> SAL_CALL getProgressHandler() override
    {
        return nullptr;
    }
    void SAL_CALL handle(const Reference<css::task::XInteractionRequest> &request) override
    {
        for (const auto &continuation : request->getContinuations()) {
            Reference<css::task::XInteractionApprove> approve(continuation, UNO_QUERY);
            if (approve.is()) {
                approve->select();
                return;
            }
        }
    }
};

struct Office {
    word::uno::Options options;
    std::unique_ptr<word::uno::Host> host;
    Reference<css::uno::XComponentContext> local;
    Reference<css::lang::XComponent> bridge;
    Reference<css::uno::XComponentContext> remote;
    std::vector<int> groups;
    std::string root;

    ~Office()
    {
        stop();
    }

    void disconnect()
    {
        host.reset();
        if (bridge.is()) {
            try {
                bridge->dispose();
            } catch (...) {
            }
        }
        bridge.clear();
        remote.clear();
    }

    void killAll()
    {
        for (const int group : groups) {
            kill(-group, SIGKILL);
            for (int i = 0; i < 100 && kill(-group, 0) == 0; ++i) {
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
        }
        groups.clear();
    }

    void stop()
    {
        disconnect();
        killAll();
        if (!options.pipeName.empty()) {
            // The office's pipe leaves a socket file behind when the office is killed.
            std::error_code ignored;
            std::filesystem::remove("/tmp/OSL_PIPE_" + std::to_string(getuid()) + "_" + options.pipeName, ignored);
        }
        if (!root.empty()) {
            std::error_code ignored;
            std::filesystem::remove_all(root, ignored);
            root.clear();
        }
    }

    void connect()
    {
        if (!local.is()) {
            local = cppu::defaultBootstrap_InitialComponentContext();
        }
        const auto connection = css::connection::Connector::create(local)->connect(ou("pipe,name=" + options.pipeName));
        const auto made =
            css::bridge::BridgeFactory::create(local)->createBridge(OUString(), "urp", connection, nullptr);
        bridge.set(made, UNO_QUERY_THROW);
        remote.set(made->getInstance("StarOffice.ComponentContext"), UNO_QUERY_THROW);
    }
};

Office &state()
{
    static Office office;
    return office;
}

std::string display; // empty: headless

// Kills the office's process group when this program ends in any way (its pipe end closes then).
void guard(int group)
{
    int channel[2];
    if (pipe(channel) != 0) {
        return;
    }
    if (fork() == 0) {
        close(channel[1]);
        char byte;
        while (read(channel[0], &byte, 1) > 0) { }
        kill(-group, SIGKILL);
        _exit(0);
    }
    close(channel[0]);
}

void install(Office &o)
{
    const Reference<css::deployment::XExtensionManager> manager = css::deployment::ExtensionManager::get(o.remote);
    const rtl::Reference<Approver> approver = new Approver;
    const auto url = "file://" + std::string(TONVALE_OXT);
    manager->addExtension(ou(url),
                          Sequence<css::beans::NamedValue>(),
                          "user",
                          manager->createAbortChannel(),
                          Reference<css::ucb::XCommandEnvironment>(approver.get()));
}

void start()
{
    Office &o = state();
    char root[] = "/tmp/tonvale-oxt-XXXXXX";
    if (!mkdtemp(root)) {
        throw std::runtime_error("no scratch folder");
    }
    o.root = root;
    setenv("TONVALE_SETTINGS", (o.root + "/settings.ini").c_str(), 1);
    o.options.pipeName = "tonvale-oxt-" + std::to_string(getpid());
    o.options.headless = display.empty();
    if (!display.empty()) {
        setenv("DISPLAY", display.c_str(), 1);
        setenv("SAL_USE_VCLPLUGIN", "gen", 1);
    }
    o.options.profileDir = o.root + "/profile";
    o.options.startTimeout = std::chrono::seconds(90);
    o.options.launched = [&o](int group) {
        o.groups.push_back(group);
        guard(group);
    };
    // First start: install the package into the fresh profile.
    o.host = word::uno::start(o.options);
    o.connect();
    install(o);
    // The office loads a component's library once: start it again to run the one just installed.
    try {
        css::frame::Desktop::create(o.remote)->terminate();
    } catch (...) {
        // The bridge may go down before the answer.
    }
    o.disconnect();
    for (int i = 0; i < 100 && kill(-o.groups.back(), 0) == 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    o.killAll();
    std::filesystem::remove(o.options.profileDir + "/.lock");
    o.host = word::uno::start(o.options);
    o.connect();
}

Reference<css::text::XTextDocument> activeDocument()
{
    office();
    const auto desktop = css::frame::Desktop::create(state().remote);
    Reference<css::text::XTextDocument> doc(desktop->getCurrentComponent(), UNO_QUERY);
    if (doc.is()) {
        return doc;
    }
    const auto all = desktop->getComponents()->createEnumeration();
    while (all->hasMoreElements()) {
        doc.set(all->nextElement(), UNO_QUERY);
        if (doc.is()) {
            return doc;
        }
    }
    throw std::runtime_error("no Writer document");
}

} // namespace

void showWindowsOn(const std::string &name)
{
    display = name;
}

void stopOffice()
{
    state().stop();
}

css::uno::Reference<css::uno::XComponentContext> officeContext()
{
    office();
    return state().remote;
}

std::string Dispatched::value(const std::string &name) const
{
    const std::string key = name + "=";
    std::size_t at = 0;
    while (at < result.size()) {
        const auto end = result.find('\n', at);
        const std::string line = result.substr(at, end == std::string::npos ? std::string::npos : end - at);
        if (line.rfind(key, 0) == 0) {
            return line.substr(key.size());
        }
        if (end == std::string::npos) {
            break;
        }
        at = end + 1;
    }
    return {};
}

word::uno::Host &office()
{
    Office &o = state();
    if (!o.host) {
        start();
    }
    if (!o.remote.is()) {
        throw std::runtime_error("not connected to the office");
    }
    return *o.host;
}

Dispatched dispatch(const std::string &url)
{
    const Reference<css::frame::XModel> model(activeDocument(), UNO_QUERY_THROW);
    const Reference<css::frame::XDispatchProvider> frame(model->getCurrentController()->getFrame(), UNO_QUERY_THROW);
    const auto helper = css::frame::DispatchHelper::create(state().remote);
    const Any answer = helper->executeDispatch(frame, ou(url), "", 0, Sequence<css::beans::PropertyValue>());
    Dispatched out;
    css::frame::DispatchResultEvent event;
    OUString text;
    if (answer >>= event) {
        out.ok = event.State == css::frame::DispatchResultState::SUCCESS;
        event.Result >>= text;
    } else {
        answer >>= text;
    }
    out.result = utf8(text);
    return out;
}

int undoSteps()
{
    Reference<css::document::XUndoManagerSupplier> supplier(activeDocument(), UNO_QUERY_THROW);
    return supplier->getUndoManager()->getAllUndoActionTitles().getLength();
}

std::string lastUndoTitle()
{
    Reference<css::document::XUndoManagerSupplier> supplier(activeDocument(), UNO_QUERY_THROW);
    return utf8(supplier->getUndoManager()->getCurrentUndoActionTitle());
}

std::string settingsFile()
{
    office();
    return state().root + "/settings.ini";
}

} // namespace oxttest
