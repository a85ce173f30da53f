// Finding, starting and reaching the office: the local UNO runtime, the bridge over the user's
// pipe, the listener for the office quitting, and how the office's exceptions reach the callers.

#include "hostimpl.h"
#include "office.h"

#include <com/sun/star/bridge/BridgeFactory.hpp>
#include <com/sun/star/bridge/XBridge.hpp>
#include <com/sun/star/connection/Connector.hpp>
#include <com/sun/star/connection/NoConnectException.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/lang/DisposedException.hpp>
#include <cppuhelper/bootstrap.hxx>
#include <cppuhelper/exc_hlp.hxx>
#include <rtl/bootstrap.hxx>

#include <cerrno>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace word::uno
{

namespace
{

Reference<css::uno::XComponentContext> localContext()
{
    static std::mutex mutex;
    static Reference<css::uno::XComponentContext> context;
    std::lock_guard lock(mutex);
    if (!context.is()) {
        // Without this the runtime finds no type library and the first office call crashes.
        rtl::Bootstrap::set(ou("URE_BOOTSTRAP"), ou("vnd.sun.star.pathname:" TONVALE_LO_PROGRAM "/fundamentalrc"));
        try {
            context = cppu::defaultBootstrap_InitialComponentContext();
        } catch (const cppu::BootstrapException &e) {
            throw AutomationError("The UNO runtime of LibreOffice could not start: " + utf8(e.getMessage()));
        } catch (const css::uno::Exception &e) {
            throw AutomationError("The UNO runtime of LibreOffice could not start: " + utf8(e.Message));
        }
    }
    return context;
}

// Whether an office exception says that the bridge is gone rather than a document or a call.
bool bridgeGone(const std::string &message)
{
    return message.find("URP") != std::string::npos || message.find("bridge") != std::string::npos;
}

// "LibreOffice Writer failed: " with the exception's message, or its type where it has none.
AutomationError failed(const std::string &message)
{
    return AutomationError("LibreOffice Writer failed: "
                           + (message.empty() ? utf8(cppu::getCaughtException().getValueTypeName()) : message));
}

} // namespace

void Host::Impl::rethrow()
{
    try {
        throw;
    } catch (const css::lang::DisposedException &e) {
        const std::string message = utf8(e.Message);
        if (lost || bridgeGone(message)) {
            lost = true;
            throw AutomationError(lostMessage);
        }
        throw AutomationError("The LibreOffice Writer document is no longer open.");
    } catch (const css::uno::RuntimeException &e) {
        const std::string message = utf8(e.Message);
        if (lost || bridgeGone(message)) {
            lost = true;
            throw AutomationError(lostMessage);
        }
        throw failed(message);
    } catch (const css::uno::Exception &e) {
        throw failed(utf8(e.Message));
    } catch (const std::bad_alloc &) {
        throw;
    } catch (const std::exception &e) {
        throw AutomationError(std::string("LibreOffice Writer failed: ") + e.what());
    }
}

std::string defaultPipeName()
{
    return "tonvale-" + std::to_string(getuid());
}

std::string findSoffice(const Options &options)
{
    if (!options.soffice.empty()) {
        return access(options.soffice.c_str(), X_OK) == 0 ? options.soffice : std::string();
    }
    if (const char *path = std::getenv("PATH")) {
        std::string dirs = path;
        std::size_t from = 0;
        while (from <= dirs.size()) {
            const std::size_t to = std::min(dirs.find(':', from), dirs.size());
            const std::string candidate = dirs.substr(from, to - from) + "/soffice";
            if (to > from && access(candidate.c_str(), X_OK) == 0) {
                return candidate;
            }
            from = to + 1;
        }
    }
    const std::string bundled = TONVALE_LO_PROGRAM "/soffice";
    return access(bundled.c_str(), X_OK) == 0 ? bundled : std::string();
}

PipeConnection connectPipe(const std::string &pipeName)
{
    const auto local = localContext();
    PipeConnection office;
    try {
        const auto connector = css::connection::Connector::create(local);
        const auto connection = connector->connect(ou("pipe,name=" + pipeName));
        const auto factory = css::bridge::BridgeFactory::create(local);
        const auto bridge = factory->createBridge(OUString(), ou("urp"), connection, nullptr);
        office.bridge.set(bridge, UNO_QUERY_THROW);
        office.remote.set(bridge->getInstance(ou("StarOffice.ComponentContext")), UNO_QUERY_THROW);
    } catch (const css::connection::NoConnectException &) {
        throw AutomationError("LibreOffice Writer is not running.");
    } catch (const css::uno::Exception &e) {
        throw AutomationError("Cannot reach LibreOffice Writer: " + utf8(e.Message));
    }
    return office;
}

std::unique_ptr<Host> attach(const Options &options)
{
    const auto office = connectPipe(options.pipeName.empty() ? defaultPipeName() : options.pipeName);
    return hostOn(office.remote, office.bridge);
}

namespace
{

// Start the office detached from this process: its own session, no terminal, stdio on /dev/null,
// not a child of ours. Returns the process group id of the started office.
pid_t launch(const std::string &soffice, const std::vector<std::string> &args)
{
    int channel[2];
    if (pipe(channel) != 0) {
        throw AutomationError("Cannot start LibreOffice Writer: no pipe.");
    }
    std::vector<char *> argv;
    argv.push_back(const_cast<char *>(soffice.c_str()));
    for (const auto &arg : args) {
        argv.push_back(const_cast<char *>(arg.c_str()));
    }
    argv.push_back(nullptr);
    const pid_t middle = fork();
    if (middle < 0) {
        close(channel[0]);
        close(channel[1]);
        throw AutomationError("Cannot start LibreOffice Writer: fork failed.");
    }
    if (middle == 0) {
        close(channel[0]);
        const pid_t office = fork();
        if (office == 0) {
            close(channel[1]);
            setsid();
            const int null = open("/dev/null", O_RDWR);
            if (null >= 0) {
                dup2(null, 0);
                dup2(null, 1);
                dup2(null, 2);
                if (null > 2) {
                    close(null);
                }
            }
            execv(soffice.c_str(), argv.data());
            _exit(127);
        }
        const ssize_t written = write(channel[1], &office, sizeof office);
        _exit(written == static_cast<ssize_t>(sizeof office) ? 0 : 1);
    }
    close(channel[1]);
    pid_t office = -1;
    const ssize_t got = read(channel[0], &office, sizeof office);
    close(channel[0]);
    int status = 0;
    waitpid(middle, &status, 0);
    if (got != static_cast<ssize_t>(sizeof office) || office <= 0) {
        throw AutomationError("Cannot start LibreOffice Writer.");
    }
    return office;
}

} // namespace

std::unique_ptr<Host> start(const Options &options)
{
    try {
        return attach(options);
    } catch (const AutomationError &) {
        // Nothing answers: start the office, or make the running one listen.
    }
    const std::string soffice = findSoffice(options);
    if (soffice.empty()) {
        throw AutomationError("LibreOffice Writer is not installed.");
    }
    const std::string pipe = options.pipeName.empty() ? defaultPipeName() : options.pipeName;
    std::vector<std::string> args{"--accept=pipe,name=" + pipe + ";urp;", "--norestore", "--nologo", "--nodefault"};
    if (options.headless) {
        args.insert(args.end(), {"--headless", "--invisible", "--nolockcheck"});
    }
    if (!options.profileDir.empty()) {
        args.push_back("-env:UserInstallation=" + utf8(fileUrl(options.profileDir)));
    }
    const pid_t office = launch(soffice, args);
    if (options.launched) {
        options.launched(office);
    }
    const auto deadline = std::chrono::steady_clock::now() + options.startTimeout;
    for (;;) {
        try {
            return attach(options);
        } catch (const AutomationError &) {
            if (std::chrono::steady_clock::now() >= deadline) {
                throw AutomationError("LibreOffice Writer did not answer in time.");
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

} // namespace word::uno
