#include "fakeclient.h"

#include <gtest/gtest.h>

#include <sstream>

namespace fakeword
{

namespace
{

using word::com::Variant;

// The test thread is a single-threaded apartment for the whole run, as the window's thread is.
class ApartmentEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    }
    void TearDown() override
    {
        CoUninitialize();
    }
};

[[maybe_unused]] const auto *const apartment = ::testing::AddGlobalTestEnvironment(new ApartmentEnvironment);

std::string textOf(const Variant &value)
{
    if (value.type() != VT_BSTR) {
        return {};
    }
    return word::com::toUtf8(std::wstring_view(value.value().bstrVal, SysStringLen(value.value().bstrVal)));
}

std::vector<std::string> lines(const std::string &text)
{
    std::vector<std::string> result;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        result.push_back(line);
    }
    return result;
}

} // namespace

std::wstring serverPath()
{
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring result = path;
    return result.substr(0, result.find_last_of(L"\\/") + 1) + L"fakeword.exe";
}

bool pumpMessagesUntil(const std::function<bool()> &done, std::chrono::milliseconds limit)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return true;
}

FakeWord::FakeWord()
{
    // A stand-in that COM started but that went away before its first answer (seen under heavy load,
    // 0x800706BA) is ended and replaced: the tests are about the host, not about Wine's start-up.
    constexpr int attempts = 3;
    for (int attempt = 1;; ++attempt) {
        try {
            adopt(word::com::Host::start());
            return;
        } catch (const word::AutomationError &) {
            end();
            if (attempt == attempts) {
                throw;
            }
        }
    }
}

FakeWord::FakeWord(std::unique_ptr<word::com::Host> host)
{
    adopt(std::move(host));
}

void FakeWord::adopt(std::unique_ptr<word::com::Host> host)
{
    m_host = std::move(host);
    IDispatch *application = m_host->applicationObject();
    application->AddRef();
    m_control.emplace(word::com::ComPtr<IDispatch>(application), "Application", m_cache);
    m_processId = static_cast<DWORD>(word::com::toInt32(control("TonvaleProcessId"), "TonvaleProcessId"));
    m_process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, m_processId);
}

FakeWord::~FakeWord()
{
    end();
}

void FakeWord::end()
{
    m_host.reset();
    if (m_control) {
        try {
            control("TonvaleExit");
        } catch (const word::AutomationError &) {
            // Already gone (it quit).
        }
    }
    m_control.reset();
    // The next test may start or attach to a Word: this one must be gone by then.
    if (!waitForExit(std::chrono::milliseconds(15000)) && m_process) {
        TerminateProcess(m_process, 1);
        WaitForSingleObject(m_process, 5000);
    }
    if (m_process) {
        CloseHandle(m_process);
        m_process = nullptr;
    }
    m_processId = 0;
}

Variant FakeWord::control(const char *member, std::vector<Variant> args)
{
    return m_control->call(member, std::move(args));
}

void FakeWord::open(const std::string &notation)
{
    std::vector<Variant> args;
    args.push_back(Variant::string(notation));
    control("TonvaleOpen", std::move(args));
}

std::string FakeWord::text()
{
    return textOf(control("TonvaleText"));
}

void FakeWord::select(int32_t start, int32_t end)
{
    std::vector<Variant> args;
    args.push_back(Variant::int32(start));
    args.push_back(Variant::int32(end));
    control("TonvaleSelect", std::move(args));
}

int32_t FakeWord::selectionEnd()
{
    return word::com::toInt32(control("TonvaleSelectionEnd"), "TonvaleSelectionEnd");
}

std::vector<std::string> FakeWord::log()
{
    return lines(textOf(control("TonvaleLog")));
}

void FakeWord::clearLog()
{
    control("TonvaleClearLog");
}

void FakeWord::failOn(const std::string &operation, const std::string &description)
{
    std::vector<Variant> args;
    args.push_back(Variant::string(operation));
    args.push_back(Variant::string(description));
    control("TonvaleFailOn", std::move(args));
}

void FakeWord::clearFaults()
{
    control("TonvaleClearFaults");
}

void FakeWord::reject(int32_t calls)
{
    std::vector<Variant> args;
    args.push_back(Variant::int32(calls));
    control("TonvaleReject", std::move(args));
}

int32_t FakeWord::rejected()
{
    return word::com::toInt32(control("TonvaleRejected"), "TonvaleRejected");
}

std::vector<std::string> FakeWord::links()
{
    return lines(textOf(control("TonvaleLinks")));
}

void FakeWord::setLinksFail(bool fail)
{
    std::vector<Variant> args;
    args.push_back(Variant::boolean(fail));
    control("TonvaleLinksFail", std::move(args));
}

bool FakeWord::undo()
{
    return word::com::toBool(control("TonvaleUndo"), "TonvaleUndo");
}

bool FakeWord::embedded()
{
    return word::com::toBool(control("TonvaleEmbedded"), "TonvaleEmbedded");
}

void FakeWord::userQuit()
{
    control("TonvaleUserQuit");
}

int32_t FakeWord::addStory(int32_t type, const std::string &notation)
{
    std::vector<Variant> args;
    args.push_back(Variant::int32(type));
    args.push_back(Variant::string(notation));
    return word::com::toInt32(control("TonvaleAddStory", std::move(args)), "TonvaleAddStory");
}

std::string FakeWord::storyText(int32_t index)
{
    std::vector<Variant> args;
    args.push_back(Variant::int32(index));
    return textOf(control("TonvaleStoryText", std::move(args)));
}

void FakeWord::selectStory(int32_t index, int32_t start, int32_t end)
{
    std::vector<Variant> args;
    args.push_back(Variant::int32(index));
    args.push_back(Variant::int32(start));
    args.push_back(Variant::int32(end));
    control("TonvaleSelectStory", std::move(args));
}

std::string FakeWord::selectionPlace()
{
    return textOf(control("TonvaleSelectionPlace"));
}

void FakeWord::keepFindOption(const std::string &name, bool value)
{
    std::vector<Variant> args;
    args.push_back(Variant::string(name));
    args.push_back(Variant::boolean(value));
    control("TonvaleKeepFindOption", std::move(args));
}

void FakeWord::setProtectedView(bool on)
{
    std::vector<Variant> args;
    args.push_back(Variant::boolean(on));
    control("TonvaleProtectedView", std::move(args));
}

void FakeWord::setDisconnectOnQuit(bool on)
{
    std::vector<Variant> args;
    args.push_back(Variant::boolean(on));
    control("TonvaleDisconnectOnQuit", std::move(args));
}

void FakeWord::openUndoRecord(const std::string &name)
{
    std::vector<Variant> args;
    args.push_back(Variant::string(name));
    control("TonvaleOpenUndoRecord", std::move(args));
}

int32_t FakeWord::undoLevel()
{
    return word::com::toInt32(control("TonvaleUndoLevel"), "TonvaleUndoLevel");
}

void FakeWord::hang(int32_t milliseconds)
{
    std::vector<Variant> args;
    args.push_back(Variant::int32(milliseconds));
    control("TonvaleHang", std::move(args));
}

bool FakeWord::visible()
{
    return word::com::toBool(m_control->get("Visible"), "Visible");
}

void FakeWord::vanish()
{
    control("TonvaleExit");
}

bool FakeWord::waitForExit(std::chrono::milliseconds limit)
{
    if (!m_process) {
        return true;
    }
    const auto end = std::chrono::steady_clock::now() + limit;
    // Keep serving COM messages while waiting: the server may be calling us on its way out.
    return pumpMessagesUntil(
        [this] {
            return WaitForSingleObject(m_process, 0) == WAIT_OBJECT_0;
        },
        std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now()));
}

} // namespace fakeword
