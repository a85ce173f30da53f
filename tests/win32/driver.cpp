#include "driver.h"

#include "app/win32/controlid.h"
#include "app/win32/mainwindow.h"

#include <knownfolders.h>
#include <objbase.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

namespace driver
{

namespace
{

using word::com::Variant;

// The test thread is a single-threaded apartment, as a Windows program's main thread usually is.
class ApartmentEnvironment : public testing::Environment
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

[[maybe_unused]] const auto *const apartment = testing::AddGlobalTestEnvironment(new ApartmentEnvironment);

constexpr UINT replyLimit = 60000; // milliseconds a command may take before the test gives up on it

std::wstring knownFolder(REFKNOWNFOLDERID id)
{
    PWSTR path = nullptr;
    std::wstring result;
    if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &path))) {
        result = path;
    }
    CoTaskMemFree(path);
    return result;
}

std::string textOf(const Variant &value)
{
    if (value.type() != VT_BSTR) {
        return {};
    }
    return word::com::toUtf8(std::wstring_view(value.value().bstrVal, SysStringLen(value.value().bstrVal)));
}

std::string windowText(HWND window)
{
    wchar_t text[1024] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, replyLimit, &copied);
    return word::com::toUtf8(std::wstring_view(text, copied));
}

LRESULT sendTo(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, replyLimit, &result)) {
        throw std::runtime_error("the window did not answer within a minute");
    }
    return static_cast<LRESULT>(result);
}

struct Search {
    DWORD process;
    const wchar_t *className;
    HWND found = nullptr;
};

HWND findTopLevel(DWORD process, const wchar_t *className)
{
    Search search{process, className};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto *search = reinterpret_cast<Search *>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            wchar_t name[64] = {};
            GetClassNameW(window, name, 64);
            if (owner == search->process && IsWindowVisible(window) && wcscmp(name, search->className) == 0) {
                search->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

} // namespace

std::wstring programFolder()
{
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring result = path;
    return result.substr(0, result.find_last_of(L"\\/") + 1);
}

std::wstring installFolder()
{
    return knownFolder(FOLDERID_LocalAppData) + L"\\Programs\\Tonvale";
}

std::wstring startMenuEntry()
{
    return knownFolder(FOLDERID_Programs) + L"\\Tonvale.lnk";
}

bool fileExists(const std::wstring &path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool waitFor(const std::function<bool()> &done, std::chrono::milliseconds limit)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(50ms);
    }
    return true;
}

Process::Process(const std::wstring &commandLine)
{
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    std::wstring line = commandLine;
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &m_info)) {
        throw std::runtime_error("cannot start " + word::com::toUtf8(commandLine));
    }
    CloseHandle(m_info.hThread);
}

Process::~Process()
{
    if (running()) {
        TerminateProcess(m_info.hProcess, 99);
        WaitForSingleObject(m_info.hProcess, 5000);
    }
    CloseHandle(m_info.hProcess);
}

bool Process::running() const
{
    return WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> Process::wait(std::chrono::milliseconds limit)
{
    if (WaitForSingleObject(m_info.hProcess, static_cast<DWORD>(limit.count())) != WAIT_OBJECT_0) {
        return std::nullopt;
    }
    DWORD code = 0;
    GetExitCodeProcess(m_info.hProcess, &code);
    return code;
}

long run(const std::wstring &commandLine, std::chrono::milliseconds limit)
{
    try {
        Process process(commandLine);
        const auto code = process.wait(limit);
        return code ? static_cast<long>(*code) : -1;
    } catch (const std::runtime_error &) {
        return -1;
    }
}

StandInWord::StandInWord()
    : m_process(L"\"" + programFolder() + L"..\\com\\fakeword.exe\"")
{
    CLSID word{};
    if (FAILED(CLSIDFromProgID(L"Word.Application", &word))) {
        throw std::runtime_error("the stand-in Word is not registered");
    }
    // Running once it has registered itself as the active Word.
    IUnknown *active = nullptr;
    waitFor(
        [&] {
            return SUCCEEDED(GetActiveObject(word, nullptr, &active));
        },
        30s);
    if (!active) {
        throw std::runtime_error("the stand-in Word does not run");
    }
    IDispatch *application = nullptr;
    active->QueryInterface(IID_IDispatch, reinterpret_cast<void **>(&application));
    active->Release();
    m_application.emplace(word::com::ComPtr<IDispatch>(application), "Application", m_cache);
}

StandInWord::~StandInWord()
{
    try {
        call("TonvaleExit");
    } catch (const word::AutomationError &) {
        // Already gone (it quit).
    }
    m_application.reset();
    m_process.wait(15s); // before the next test looks for the running Word
}

Variant StandInWord::call(const char *member, std::vector<Variant> args)
{
    return m_application->call(member, std::move(args));
}

void StandInWord::open(const std::string &notation)
{
    std::vector<Variant> args;
    args.push_back(Variant::string(notation));
    call("TonvaleOpen", std::move(args));
}

std::string StandInWord::text()
{
    return textOf(call("TonvaleText"));
}

void StandInWord::select(int32_t start, int32_t end)
{
    std::vector<Variant> args;
    args.push_back(Variant::int32(start));
    args.push_back(Variant::int32(end));
    call("TonvaleSelect", std::move(args));
}

int32_t StandInWord::documentsCount()
{
    return word::com::toInt32(m_application->object("Documents", "Documents").get("Count"), "Documents.Count");
}

void StandInWord::userQuit()
{
    call("TonvaleUserQuit");
}

std::vector<std::string> StandInWord::links()
{
    std::vector<std::string> result;
    const std::string all = textOf(call("TonvaleLinks"));
    std::size_t start = 0;
    for (std::size_t end; (end = all.find('\n', start)) != std::string::npos; start = end + 1) {
        result.push_back(all.substr(start, end - start));
    }
    return result;
}

HWND Window::find(DWORD process)
{
    return findTopLevel(process, winui::MainWindow::className);
}

Window::Window(HWND window)
    : m_window(window)
{
}

HWND Window::control(form::Control control) const
{
    return GetDlgItem(m_window, winui::controlId(control));
}

void Window::click(form::Control control)
{
    sendTo(this->control(control), BM_CLICK);
}

void Window::clickLater(form::Control control)
{
    PostMessageW(this->control(control), BM_CLICK, 0, 0);
}

void Window::clickStatic(form::Control control)
{
    sendTo(this->control(control), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    sendTo(this->control(control), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}

void Window::choose(form::Control list, int index)
{
    const HWND box = control(list);
    sendTo(box, CB_SETCURSEL, static_cast<WPARAM>(index));
    sendTo(m_window, WM_COMMAND, MAKEWPARAM(winui::controlId(list), CBN_SELCHANGE), reinterpret_cast<LPARAM>(box));
}

HWND Window::focus() const
{
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(GetWindowThreadProcessId(m_window, nullptr), &info);
    return info.hwndFocus;
}

void Window::key(UINT virtualKey)
{
    const HWND target = focus() ? focus() : m_window;
    const UINT scan = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
    PostMessageW(target, WM_KEYDOWN, virtualKey, MAKELPARAM(1, scan));
    PostMessageW(target, WM_KEYUP, virtualKey, MAKELPARAM(1, scan) | 0xC0000000);
}

int Window::value(form::Control control) const
{
    return sendTo(this->control(control), BM_GETCHECK) == BST_CHECKED ? 1 : 0;
}

std::string Window::text(form::Control control) const
{
    const HWND box = this->control(control);
    if (form::spec(control).kind != form::Kind::ComboBox) {
        return windowText(box);
    }
    const LRESULT chosen = sendTo(box, CB_GETCURSEL);
    if (chosen == CB_ERR) {
        return {};
    }
    wchar_t entry[256] = {};
    const LRESULT length = sendTo(box, CB_GETLBTEXT, static_cast<WPARAM>(chosen), reinterpret_cast<LPARAM>(entry));
    return word::com::toUtf8(std::wstring_view(entry, static_cast<std::size_t>(length)));
}

void Window::setText(form::Control control, const std::string &text)
{
    const std::wstring wide = word::com::toWide(text);
    sendTo(this->control(control), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

int Window::listIndex(form::Control control) const
{
    const LRESULT chosen = sendTo(this->control(control), CB_GETCURSEL);
    return chosen == CB_ERR ? -1 : static_cast<int>(chosen);
}

bool Window::enabled(form::Control control) const
{
    return IsWindowEnabled(this->control(control)) != FALSE;
}

Box waitForMessageBox(DWORD process, std::chrono::milliseconds limit)
{
    Box box;
    waitFor(
        [&] {
            box.window = findTopLevel(process, L"#32770");
            return box.window != nullptr;
        },
        limit);
    if (!box.window) {
        return box;
    }
    box.title = windowText(box.window);
    // The prompt is the box's one static control with text (the icon is another, without).
    EnumChildWindows(
        box.window,
        [](HWND child, LPARAM data) -> BOOL {
            wchar_t name[64] = {};
            GetClassNameW(child, name, 64);
            auto *box = reinterpret_cast<Box *>(data);
            if (_wcsicmp(name, L"Static") == 0) {
                const std::string text = windowText(child);
                if (!text.empty()) {
                    box->text = text;
                    return FALSE;
                }
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&box));
    return box;
}

void answer(const Box &box, int button)
{
    PostMessageW(box.window,
                 WM_COMMAND,
                 MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box.window, button)));
    waitFor([&] {
        return !IsWindow(box.window);
    });
}

} // namespace driver
