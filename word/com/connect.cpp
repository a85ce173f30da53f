// Obtaining Word: attaching to the running one or starting one, and hearing of its Quit.

#include "hoststate.h"

#include <tlhelp32.h>

#include <chrono>
#include <string>
#include <utility>

namespace word::com
{

namespace
{

bool isNotInstalled(HRESULT hr)
{
    return hr == CO_E_CLASSSTRING || hr == REGDB_E_CLASSNOTREG;
}

// A Word that is still starting up (or busy starting for another client) refuses for a moment.
bool isTransientStartFailure(HRESULT hr)
{
    return hr == CO_E_SERVER_EXEC_FAILURE || hr == RPC_E_CALL_REJECTED || hr == RPC_E_SERVERCALL_RETRYLATER
        || hr == CO_E_SERVER_STOPPING;
}

constexpr int startAttempts = 10;
constexpr DWORD startRetryPause = 300; // milliseconds
constexpr DWORD attachRetryPause = 100; // milliseconds

// Serves window and COM messages for a while: a pause that freezes nothing.
void pumpFor(DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    for (DWORD elapsed = 0; elapsed < milliseconds; elapsed = GetTickCount() - start) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - elapsed, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

// The file name of the program that serves the class ("WINWORD.EXE"), from its LocalServer32
// registration; empty when there is none.
std::wstring serverProgram(const CLSID &clsid)
{
    wchar_t clsidText[64];
    StringFromGUID2(clsid, clsidText, 64);
    const std::wstring key = std::wstring(L"CLSID\\") + clsidText + L"\\LocalServer32";
    wchar_t command[1024];
    DWORD size = sizeof command;
    if (RegGetValueW(HKEY_CLASSES_ROOT,
                     key.c_str(),
                     nullptr,
                     RRF_RT_REG_SZ, // a REG_EXPAND_SZ value comes expanded
                     nullptr,
                     command,
                     &size)
        != ERROR_SUCCESS) {
        return {};
    }
    std::wstring path = command;
    if (!path.empty() && path.front() == L'"') {
        path = path.substr(1, path.find(L'"', 1) - 1);
    } else if (const auto blank = path.find(L' '); blank != std::wstring::npos) {
        path.resize(blank);
    }
    if (const auto slash = path.find_last_of(L"\\/"); slash != std::wstring::npos) {
        path.erase(0, slash + 1);
    }
    return path;
}

// True when a process of the class's server program is running (whoever started it, at whatever
// integrity level: its name is visible to every user's programs).
bool serverRunning(const CLSID &clsid)
{
    const std::wstring program = serverProgram(clsid);
    if (program.empty()) {
        return false;
    }
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        return false;
    }
    bool running = false;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more && !running; more = Process32NextW(snapshot, &entry)) {
        running = entry.th32ProcessID != GetCurrentProcessId() && _wcsicmp(entry.szExeFile, program.c_str()) == 0;
    }
    CloseHandle(snapshot);
    return running;
}

const char *const unreachableText =
    "Microsoft Word is running, but Tonvale cannot reach it.\r\n"
    "If Word has just started, wait until its window shows and try again.\r\n"
    "If Word runs as administrator, run Tonvale the same way, or neither.\r\n"
    "If no Word window is open, end Microsoft Word in Task Manager and try again.";

CLSID classOf(const std::string &progId)
{
    CLSID clsid{};
    const HRESULT hr = CLSIDFromProgID(toWide(progId).c_str(), &clsid);
    if (FAILED(hr)) {
        throw ConnectError(isNotInstalled(hr) ? ConnectFailure::NotInstalled : ConnectFailure::Failed,
                           "Microsoft Word is not installed: the automation class " + progId + " is not registered. "
                               + describeResult(hr));
    }
    return clsid;
}

ComPtr<IDispatch> dispatchOf(IUnknown *object, const std::string &progId)
{
    ComPtr<IDispatch> dispatch;
    const HRESULT hr = object->QueryInterface(IID_IDispatch, reinterpret_cast<void **>(dispatch.put()));
    if (FAILED(hr)) {
        throw ConnectError(ConnectFailure::Failed,
                           "The automation object " + progId + " has no automation interface. " + describeResult(hr));
    }
    return dispatch;
}

} // namespace

Host::Host(std::unique_ptr<State> state)
    : m_state(std::move(state))
{
    // Word's Quit event. Without it the host still works; the window just does not hear of Word closing.
    ComPtr<IConnectionPointContainer> container;
    if (FAILED(m_state->application->get()->QueryInterface(IID_IConnectionPointContainer,
                                                           reinterpret_cast<void **>(container.put())))) {
        return;
    }
    ComPtr<IConnectionPoint> point;
    if (FAILED(container->FindConnectionPoint(DIID_ApplicationEvents4, point.put()))) {
        return;
    }
    ComPtr<QuitSink> sink(new QuitSink([this] {
        onQuit();
    }));
    DWORD cookie = 0;
    if (SUCCEEDED(point->Advise(sink.get(), &cookie))) {
        m_state->events = std::move(point);
        m_state->cookie = cookie;
        m_state->sink = std::move(sink);
    } else {
        sink->detach();
    }
}

Host::~Host()
{
    if (m_state->sink) {
        m_state->sink->detach();
        // A Word that has quit cannot be told anything any more.
        if (!m_state->quitSeen) {
            m_state->events->Unadvise(m_state->cookie);
        }
    }
}

std::unique_ptr<Host> Host::attach(const std::string &progId)
{
    auto state = std::make_unique<State>();
    const CLSID clsid = classOf(progId);
    ComPtr<IUnknown> running;
    const HRESULT hr = GetActiveObject(clsid, nullptr, running.put());
    if (FAILED(hr)) {
        if (hr == MK_E_UNAVAILABLE) {
            throw ConnectError(ConnectFailure::NotRunning, "Microsoft Word is not running. " + describeResult(hr));
        }
        throw ConnectError(ConnectFailure::Failed,
                           "The running Microsoft Word cannot be reached. " + describeResult(hr));
    }
    state->application.emplace(dispatchOf(running.get(), progId), "Application", state->cache);
    return std::unique_ptr<Host>(new Host(std::move(state)));
}

std::unique_ptr<Host> Host::start(const std::string &progId, std::chrono::milliseconds wait)
{
    CLSID clsid{};
    {
        ComInit com;
        clsid = classOf(progId);
    }
    if (serverRunning(clsid)) {
        // Word is running but was not attached: it may register in a moment (Word registers once it
        // has started, and after its window has lost the focus). A second Word would be hidden from
        // the user and from the next attach, so none is started while this one runs.
        const auto deadline = std::chrono::steady_clock::now() + wait;
        for (;;) {
            try {
                return attach(progId);
            } catch (const ConnectError &error) {
                if (error.reason() != ConnectFailure::NotRunning || std::chrono::steady_clock::now() >= deadline) {
                    throw ConnectError(ConnectFailure::Unreachable,
                                       std::string(unreachableText) + "\r\n" + error.what());
                }
            }
            pumpFor(attachRetryPause);
            if (!serverRunning(clsid)) {
                break; // it has ended (it was closing): start one
            }
        }
    }

    auto state = std::make_unique<State>();
    ComPtr<IUnknown> created;
    HRESULT hr = E_FAIL;
    for (int attempt = 0; attempt < startAttempts; ++attempt) {
        hr = CoCreateInstance(clsid,
                              nullptr,
                              CLSCTX_LOCAL_SERVER,
                              IID_IUnknown,
                              reinterpret_cast<void **>(created.put()));
        if (!isTransientStartFailure(hr)) {
            break;
        }
        pumpFor(startRetryPause);
    }
    if (FAILED(hr)) {
        if (isNotInstalled(hr)) {
            throw ConnectError(ConnectFailure::NotInstalled,
                               "Microsoft Word is not installed: the automation class " + progId
                                   + " is not registered. " + describeResult(hr));
        }
        throw ConnectError(ConnectFailure::Failed, "Microsoft Word could not be started. " + describeResult(hr));
    }
    state->application.emplace(dispatchOf(created.get(), progId), "Application", state->cache);
    state->started = true;
    std::unique_ptr<Host> host(new Host(std::move(state)));
    // A Word started by automation stays hidden; the user is to open a sheet in it.
    try {
        host->m_state->application->put("Visible", Variant::boolean(true));
    } catch (const AutomationError &error) {
        throw ConnectError(ConnectFailure::Failed, std::string("Microsoft Word could not be shown. ") + error.what());
    }
    return host;
}

std::unique_ptr<Host> Host::connect(const std::string &progId, std::chrono::milliseconds wait)
{
    try {
        return attach(progId);
    } catch (const ConnectError &error) {
        if (error.reason() == ConnectFailure::NotInstalled) {
            throw;
        }
    }
    return start(progId, wait);
}

Message connectMessage(const ConnectError &error)
{
    if (error.reason() == ConnectFailure::Unreachable) {
        return {unreachableText, "Fatal Error", Icon::Critical, Buttons::Ok};
    }
    return fatalMessage({"Microsoft Word", "Word"});
}

} // namespace word::com
