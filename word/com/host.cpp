#include "host.h"

#include "dispatch.h"
#include "messagefilter.h"
#include "quitsink.h"

#include <ocidl.h>

namespace word::com
{

namespace
{

/// COM for the calling thread, as a single-threaded apartment where it is not set up yet.
class ComInit
{
public:
    ComInit()
    {
        const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        // RPC_E_CHANGED_MODE: the thread is already a multithreaded apartment; COM works, only
        // the retry of refused calls does not.
        m_owned = SUCCEEDED(hr);
    }
    ~ComInit()
    {
        if (m_owned) {
            CoUninitialize();
        }
    }
    ComInit(const ComInit &) = delete;
    ComInit &operator=(const ComInit &) = delete;

private:
    bool m_owned = false;
};

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

class ComFind final : public Find
{
public:
    explicit ComFind(Dispatch find)
        : m_find(std::move(find))
    {
    }

    void ClearFormatting() override
    {
        m_find.call("ClearFormatting");
    }
    void ClearReplacementFormatting() override
    {
        replacement().call("ClearFormatting");
    }
    void setText(const std::string &text) override
    {
        m_find.put("Text", Variant::string(text));
    }
    void setReplacementText(const std::string &text) override
    {
        replacement().put("Text", Variant::string(text));
    }
    void setForward(bool forward) override
    {
        m_find.put("Forward", Variant::boolean(forward));
    }
    void setWrap(int32_t wrap) override
    {
        m_find.put("Wrap", Variant::int32(wrap));
    }
    void setFormat(bool format) override
    {
        m_find.put("Format", Variant::boolean(format));
    }
    void setMatchCase(bool matchCase) override
    {
        m_find.put("MatchCase", Variant::boolean(matchCase));
    }
    void setMatchWholeWord(bool wholeWord) override
    {
        m_find.put("MatchWholeWord", Variant::boolean(wholeWord));
    }
    void setMatchWildcards(bool wildcards) override
    {
        m_find.put("MatchWildcards", Variant::boolean(wildcards));
    }
    void setMatchSoundsLike(bool soundsLike) override
    {
        m_find.put("MatchSoundsLike", Variant::boolean(soundsLike));
    }
    void setMatchAllWordForms(bool allWordForms) override
    {
        m_find.put("MatchAllWordForms", Variant::boolean(allWordForms));
    }
    void setFont(FontProperty property, int32_t value) override
    {
        m_find.object("Font", "Font").put(propertyName(property), Variant::int32(value));
    }
    void setReplacementFont(FontProperty property, int32_t value) override
    {
        replacement().object("Font", "Font").put(propertyName(property), Variant::int32(value));
    }
    bool Execute(int32_t replace) override
    {
        // Only Replace:=, by name: every other argument is omitted so that the properties apply.
        std::vector<NamedArgument> named;
        named.push_back({"Replace", Variant::int32(replace)});
        return toBool(m_find.call("Execute", {}, std::move(named)), "Find.Execute");
    }

private:
    Dispatch replacement()
    {
        return m_find.object("Replacement", "Replacement");
    }

    Dispatch m_find;
};

class ComSelection final : public Selection
{
public:
    explicit ComSelection(Dispatch selection)
        : m_selection(std::move(selection))
    {
    }

    int32_t Start() override
    {
        return toInt32(m_selection.get("Start"), "Selection.Start");
    }
    int32_t End() override
    {
        return toInt32(m_selection.get("End"), "Selection.End");
    }
    int32_t font(FontProperty property) override
    {
        const char *name = propertyName(property);
        return toInt32(m_selection.object("Font", "Font").get(name), std::string("Selection.Font.") + name);
    }
    int32_t MoveLeft(int32_t unit, int16_t count, std::optional<int32_t> extend) override
    {
        return move("MoveLeft", unit, count, extend);
    }
    int32_t MoveRight(int32_t unit, int16_t count, std::optional<int32_t> extend) override
    {
        return move("MoveRight", unit, count, extend);
    }
    int32_t MoveUp(int32_t unit, int16_t count, std::optional<int32_t> extend) override
    {
        return move("MoveUp", unit, count, extend);
    }
    int32_t MoveDown(int32_t unit, int16_t count, std::optional<int32_t> extend) override
    {
        return move("MoveDown", unit, count, extend);
    }
    void Cut() override
    {
        m_selection.call("Cut");
    }
    void PasteAndFormat(int32_t type) override
    {
        std::vector<Variant> args;
        args.push_back(Variant::int32(type));
        m_selection.call("PasteAndFormat", std::move(args));
    }
    int32_t Delete(int32_t unit, int16_t count) override
    {
        std::vector<Variant> args;
        args.push_back(Variant::int32(unit));
        args.push_back(Variant::int16(count));
        return toInt32(m_selection.call("Delete", std::move(args)), "Selection.Delete");
    }
    std::unique_ptr<Find> find() override
    {
        return std::make_unique<ComFind>(m_selection.object("Find", "Find"));
    }

private:
    // Unit and Extend are Longs, Count an Integer; an omitted Extend is left out of the call.
    int32_t move(const char *method, int32_t unit, int16_t count, std::optional<int32_t> extend)
    {
        std::vector<Variant> args;
        args.push_back(Variant::int32(unit));
        args.push_back(Variant::int16(count));
        if (extend) {
            args.push_back(Variant::int32(*extend));
        }
        return toInt32(m_selection.call(method, std::move(args)), std::string("Selection.") + method);
    }

    Dispatch m_selection;
};

class ComDocument final : public Document
{
public:
    explicit ComDocument(Dispatch document)
        : m_document(std::move(document))
    {
    }

    void FollowHyperlink(const std::string &address, bool newWindow) override
    {
        std::vector<NamedArgument> named;
        named.push_back({"Address", Variant::string(address)});
        named.push_back({"NewWindow", Variant::boolean(newWindow)});
        m_document.call("FollowHyperlink", {}, std::move(named));
    }

private:
    Dispatch m_document;
};

} // namespace

struct Host::State {
    // Declared first, so destroyed last: every COM object below is released before COM goes.
    ComInit com;
    MessageFilterScope filter;
    DispidCache cache;
    std::optional<Dispatch> application;
    bool started = false;
    ComPtr<IConnectionPoint> events;
    DWORD cookie = 0;
    ComPtr<QuitSink> sink;
    bool quitSeen = false;
    bool undoOpen = false;
};

namespace
{

std::unique_ptr<Host::State> newState()
{
    return std::make_unique<Host::State>();
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
    auto state = newState();
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

std::unique_ptr<Host> Host::start(const std::string &progId)
{
    auto state = newState();
    const CLSID clsid = classOf(progId);
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
        Sleep(startRetryPause);
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
    return std::unique_ptr<Host>(new Host(std::move(state)));
}

std::unique_ptr<Host> Host::connect(const std::string &progId)
{
    try {
        return attach(progId);
    } catch (const ConnectError &error) {
        if (error.reason() == ConnectFailure::NotInstalled) {
            throw;
        }
    }
    return start(progId);
}

bool Host::started() const
{
    return m_state->started;
}

bool Host::eventsConnected() const
{
    return static_cast<bool>(m_state->sink);
}

IDispatch *Host::applicationObject() const
{
    return m_state->application->get();
}

HostNames Host::names() const
{
    return {"Microsoft Word", "Word"};
}

int32_t Host::DocumentsCount()
{
    return toInt32(m_state->application->object("Documents", "Documents").get("Count"), "Documents.Count");
}

std::unique_ptr<Selection> Host::selection()
{
    return std::make_unique<ComSelection>(m_state->application->object("Selection", "Selection"));
}

std::unique_ptr<Document> Host::activeDocument()
{
    return std::make_unique<ComDocument>(m_state->application->object("ActiveDocument", "Document"));
}

void Host::ScreenRefresh()
{
    m_state->application->call("ScreenRefresh");
}

void Host::Quit()
{
    m_state->application->call("Quit");
}

void Host::StartUndoGroup(const std::string &name)
{
    // Application.UndoRecord came with Word 2010; an older Word simply keeps separate undo steps.
    if (!m_state->application->has("UndoRecord")) {
        return;
    }
    std::vector<Variant> args;
    args.push_back(Variant::string(name));
    m_state->application->object("UndoRecord", "UndoRecord").call("StartCustomRecord", std::move(args));
    m_state->undoOpen = true;
}

void Host::EndUndoGroup()
{
    if (!m_state->undoOpen) {
        return;
    }
    m_state->undoOpen = false;
    m_state->application->object("UndoRecord", "UndoRecord").call("EndCustomRecord");
}

void Host::onQuit()
{
    m_state->quitSeen = true;
    raiseQuit();
}

} // namespace word::com
