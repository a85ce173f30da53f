#include "host.h"

#include "dispatch.h"
#include "messagefilter.h"
#include "quitsink.h"

#include <ocidl.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cwctype>
#include <utility>

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

const char *const protectedViewText =
    "The Word document is open in Protected View.  Click Enable Editing in Word and try again.";

// Word's Find options that its Find dialog keeps and ClearFormatting leaves alone; each would change
// what a search finds. Not every Word has every one.
const char *const keptFindOptions[] = {"MatchPrefix", "MatchSuffix", "IgnorePunct", "IgnoreSpace", "MatchFuzzy"};

// The parts of the document a whole-sheet search covers: the main text and the text boxes (where
// sheets laid out in columns keep their chords). Headers and footers (titles, keys, page numbers),
// footnotes, endnotes and comments are left alone.
constexpr int32_t wdMainTextStory = 1;
constexpr int32_t wdTextFrameStory = 5;

// At most this many custom undo records left open are closed before a command opens its own.
constexpr int maxOpenRecords = 32;

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

/// One Find setting font attribute and its value, in the order set.
using FontSettings = std::vector<std::pair<FontProperty, int32_t>>;

void setFontValue(FontSettings &settings, FontProperty property, int32_t value)
{
    for (auto &setting : settings) {
        if (setting.first == property) {
            setting.second = value;
            return;
        }
    }
    settings.emplace_back(property, value);
}

} // namespace

/// Word's find settings as Tonvale last made them. A whole-sheet Replace-All applies them afresh to
/// the Find of every part it covers, so Selection.Find's scope (the part and the place the selection
/// is in) never limits it and no setting of the user's own is left to change its result.
struct FindSettings {
    std::string text;
    std::string replacement;
    bool forward = true;
    int32_t wrap = wdFindContinue;
    bool format = false;
    bool matchCase = false;
    bool wholeWord = false;
    bool wildcards = false;
    bool soundsLike = false;
    bool allWordForms = false;
    FontSettings font;
    FontSettings replacementFont;
};

namespace
{

// Sets a kept option False; a Word that refuses the call but reads False is fine.
void clearKeptOption(Dispatch &find, const char *name)
{
    if (!find.has(name)) {
        return;
    }
    try {
        find.put(name, Variant::boolean(false));
    } catch (const CallError &error) {
        if (isDisconnected(error.code()) || error.code() == RPC_E_CALL_CANCELED
            || toBool(find.get(name), std::string("Find.") + name)) {
            throw;
        }
    }
}

// Every setting onto find, in the order Tonvale's searches make them, then the kept options.
void applySettings(Dispatch &find, const FindSettings &settings)
{
    Dispatch replacement = find.object("Replacement", "Replacement");
    find.call("ClearFormatting");
    replacement.call("ClearFormatting");
    find.put("Text", Variant::string(settings.text));
    replacement.put("Text", Variant::string(settings.replacement));
    find.put("Forward", Variant::boolean(settings.forward));
    find.put("Wrap", Variant::int32(settings.wrap));
    find.put("Format", Variant::boolean(settings.format));
    find.put("MatchCase", Variant::boolean(settings.matchCase));
    if (!settings.font.empty()) {
        Dispatch font = find.object("Font", "Font");
        for (const auto &[property, value] : settings.font) {
            font.put(propertyName(property), Variant::int32(value));
        }
    }
    find.put("MatchWholeWord", Variant::boolean(settings.wholeWord));
    find.put("MatchWildcards", Variant::boolean(settings.wildcards));
    find.put("MatchSoundsLike", Variant::boolean(settings.soundsLike));
    find.put("MatchAllWordForms", Variant::boolean(settings.allWordForms));
    for (const char *option : keptFindOptions) {
        clearKeptOption(find, option);
    }
    if (!settings.replacementFont.empty()) {
        Dispatch font = replacement.object("Font", "Font");
        for (const auto &[property, value] : settings.replacementFont) {
            font.put(propertyName(property), Variant::int32(value));
        }
    }
}

bool execute(Dispatch &find, int32_t replace)
{
    // Only Replace:=, by name: every other argument is omitted so that the properties apply.
    std::vector<NamedArgument> named;
    named.push_back({"Replace", Variant::int32(replace)});
    return toBool(find.call("Execute", {}, std::move(named)), "Find.Execute");
}

// The whole ranges of the parts a whole-sheet search covers: the main text, then every text box.
std::vector<Dispatch> sheetParts(Dispatch &application)
{
    Dispatch stories = application.object("ActiveDocument", "Document").object("StoryRanges", "StoryRanges");
    std::vector<Dispatch> parts;
    for (Dispatch &story : stories.items("Range")) {
        const int32_t type = toInt32(story.get("StoryType"), "Range.StoryType");
        if (type == wdMainTextStory) {
            parts.insert(parts.begin(), std::move(story));
        } else if (type == wdTextFrameStory) {
            std::optional<Dispatch> next = std::move(story);
            // Each text box is a story of its own, chained by NextStoryRange.
            for (int i = 0; next && i < 10000; ++i) {
                std::optional<Dispatch> after = next->objectOrNothing("NextStoryRange", "Range");
                parts.push_back(std::move(*next));
                next = std::move(after);
            }
        }
    }
    return parts;
}

// changed: set when a call changed the document (kept by the host for undoing a failed command).
class ComFind final : public Find
{
public:
    ComFind(FindSettings &settings, Dispatch &application, Dispatch selection, bool &changed)
        : m_settings(settings)
        , m_application(application)
        , m_selection(std::move(selection))
        , m_changed(changed)
    {
    }

    void ClearFormatting() override
    {
        m_settings.font.clear();
    }
    void ClearReplacementFormatting() override
    {
        m_settings.replacementFont.clear();
    }
    void setText(const std::string &text) override
    {
        m_settings.text = text;
    }
    void setReplacementText(const std::string &text) override
    {
        m_settings.replacement = text;
    }
    void setForward(bool forward) override
    {
        m_settings.forward = forward;
    }
    void setWrap(int32_t wrap) override
    {
        m_settings.wrap = wrap;
    }
    void setFormat(bool format) override
    {
        m_settings.format = format;
    }
    void setMatchCase(bool matchCase) override
    {
        m_settings.matchCase = matchCase;
    }
    void setMatchWholeWord(bool wholeWord) override
    {
        m_settings.wholeWord = wholeWord;
    }
    void setMatchWildcards(bool wildcards) override
    {
        m_settings.wildcards = wildcards;
    }
    void setMatchSoundsLike(bool soundsLike) override
    {
        m_settings.soundsLike = soundsLike;
    }
    void setMatchAllWordForms(bool allWordForms) override
    {
        m_settings.allWordForms = allWordForms;
    }
    void setFont(FontProperty property, int32_t value) override
    {
        setFontValue(m_settings.font, property, value);
    }
    void setReplacementFont(FontProperty property, int32_t value) override
    {
        setFontValue(m_settings.replacementFont, property, value);
    }
    bool Execute(int32_t replace) override
    {
        if (replace != wdReplaceAll) {
            Dispatch find = m_selection.object("Find", "Find");
            applySettings(find, m_settings);
            const bool found = execute(find, replace);
            m_changed = m_changed || (found && replace != wdReplaceNone);
            return found;
        }
        // Range.Find, not Selection.Find: the whole of each part, and the selection stays where it is.
        bool found = false;
        for (Dispatch &part : sheetParts(m_application)) {
            Dispatch find = part.object("Find", "Find");
            applySettings(find, m_settings);
            found = execute(find, replace) || found;
            m_changed = m_changed || found;
        }
        return found;
    }

private:
    FindSettings &m_settings;
    Dispatch &m_application;
    Dispatch m_selection;
    bool &m_changed;
};

class ComSelection final : public Selection
{
public:
    ComSelection(FindSettings &settings, Dispatch &application, Dispatch selection, bool &changed)
        : m_settings(settings)
        , m_application(application)
        , m_selection(std::move(selection))
        , m_changed(changed)
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
        m_changed = true;
    }
    void PasteAndFormat(int32_t type) override
    {
        std::vector<Variant> args;
        args.push_back(Variant::int32(type));
        m_selection.call("PasteAndFormat", std::move(args));
        m_changed = true;
    }
    int32_t Delete(int32_t unit, int16_t count) override
    {
        std::vector<Variant> args;
        args.push_back(Variant::int32(unit));
        args.push_back(Variant::int16(count));
        const int32_t deleted = toInt32(m_selection.call("Delete", std::move(args)), "Selection.Delete");
        m_changed = m_changed || deleted != 0;
        return deleted;
    }
    std::unique_ptr<Find> find() override
    {
        return std::make_unique<ComFind>(m_settings, m_application, m_selection, m_changed);
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

    FindSettings &m_settings;
    Dispatch &m_application;
    Dispatch m_selection;
    bool &m_changed;
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
    bool undoRecorded = false; ///< the last group was a custom undo record
    bool changed = false; ///< a call changed the document since the last group began
    FindSettings find;
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

    auto state = newState();
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

bool Host::hasQuit() const
{
    return m_state->quitSeen;
}

void Host::setCallTimeLimit(std::chrono::milliseconds limit)
{
    m_state->filter.setCallLimit(static_cast<DWORD>(limit.count()));
}

int32_t Host::DocumentsCount()
{
    // A Word that has quit holds no document; while it shuts down it answers nothing.
    if (m_state->quitSeen) {
        return 0;
    }
    return toInt32(m_state->application->object("Documents", "Documents").get("Count"), "Documents.Count");
}

std::unique_ptr<Selection> Host::selection()
{
    return std::make_unique<ComSelection>(m_state->find,
                                          *m_state->application,
                                          m_state->application->object("Selection", "Selection"),
                                          m_state->changed);
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
    if (m_state->quitSeen) {
        return;
    }
    try {
        m_state->application->call("Quit");
    } catch (const CallError &error) {
        // Word went away while answering: it has quit.
        if (!isDisconnected(error.code())) {
            throw;
        }
    }
}

void Host::StartUndoGroup(const std::string &name)
{
    m_state->changed = false;
    m_state->undoRecorded = false;
    // Application.UndoRecord came with Word 2010; an older Word simply keeps separate undo steps.
    if (!m_state->application->has("UndoRecord")) {
        return;
    }
    Dispatch undo = m_state->application->object("UndoRecord", "UndoRecord");
    // Records nest: one left open (by a command whose end failed, or by anyone else) would take this
    // command's step and every later edit of the user's into it. Close them first.
    if (undo.has("IsRecordingCustomRecord")) {
        for (int i = 0; i < maxOpenRecords && toBool(undo.get("IsRecordingCustomRecord"), "IsRecordingCustomRecord");
             ++i) {
            undo.call("EndCustomRecord");
        }
    }
    std::vector<Variant> args;
    args.push_back(Variant::string(name));
    undo.call("StartCustomRecord", std::move(args));
    m_state->undoOpen = true;
    m_state->undoRecorded = true;
}

void Host::EndUndoGroup()
{
    if (!m_state->undoOpen) {
        return;
    }
    m_state->undoOpen = false;
    m_state->application->object("UndoRecord", "UndoRecord").call("EndCustomRecord");
}

void Host::UndoLastGroup()
{
    EndUndoGroup();
    // Word keeps no empty custom record, so undoing without a change would take back the user's own last step.
    if (!m_state->changed) {
        return;
    }
    if (!m_state->undoRecorded) {
        throw AutomationError("This version of Word keeps each change of a command as an undo step of its own.");
    }
    std::vector<Variant> args;
    args.push_back(Variant::int32(1));
    if (!toBool(m_state->application->object("ActiveDocument", "Document").call("Undo", std::move(args)),
                "Document.Undo")) {
        throw AutomationError("Word could not undo the command.");
    }
    m_state->changed = false;
}

std::string Host::noDocumentReason()
{
    if (m_state->quitSeen) {
        return {};
    }
    // A document in Protected View is not among Documents (Application.ProtectedViewWindows: Word 2010).
    try {
        if (m_state->application->has("ProtectedViewWindows")
            && toInt32(m_state->application->object("ProtectedViewWindows", "ProtectedViewWindows").get("Count"),
                       "ProtectedViewWindows.Count")
                > 0) {
            return protectedViewText;
        }
    } catch (const AutomationError &) {
        // No reason known: the plain message.
    }
    return {};
}

void Host::onQuit()
{
    m_state->quitSeen = true;
    raiseQuit();
}

} // namespace word::com
