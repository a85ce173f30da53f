#include "mainwindow.h"

#include "prefs/registry/registrystore.h"
#include "resource.h"

#include <oleacc.h>

#include <memory>
#include <stdexcept>

namespace winui
{

namespace
{

using form::Control;
using form::Kind;

constexpr UINT postedEvent = WM_APP + 1; // lParam: a std::function<void()> * to run and delete
constexpr UINT endRequest = WM_APP + 2; // destroy the window: the program ends

constexpr DWORD windowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD windowExStyle = WS_EX_CONTROLPARENT;

std::size_t indexOf(Control control)
{
    return static_cast<std::size_t>(control);
}

std::wstring windowText(HWND window)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

} // namespace

MainWindow::MainWindow(HINSTANCE instance)
    : m_instance(instance)
{
    m_logo = static_cast<HBITMAP>(LoadImageW(instance, MAKEINTRESOURCEW(IDB_LOGO), IMAGE_BITMAP, 0, 0, 0));

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &MainWindow::windowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = static_cast<HICON>(LoadImageW(instance,
                                                      MAKEINTRESOURCEW(IDI_TONVALE),
                                                      IMAGE_ICON,
                                                      GetSystemMetrics(SM_CXICON),
                                                      GetSystemMetrics(SM_CYICON),
                                                      0));
    windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance,
                                                        MAKEINTRESOURCEW(IDI_TONVALE),
                                                        IMAGE_ICON,
                                                        GetSystemMetrics(SM_CXSMICON),
                                                        GetSystemMetrics(SM_CYSMICON),
                                                        0));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = className;
    RegisterClassExW(&windowClass);

    const std::wstring title = prefs::toWide(std::string(form::windowTitle));
    CreateWindowExW(windowExStyle,
                    className,
                    title.c_str(),
                    windowStyle,
                    CW_USEDEFAULT,
                    CW_USEDEFAULT,
                    CW_USEDEFAULT,
                    CW_USEDEFAULT,
                    nullptr,
                    nullptr,
                    instance,
                    this);
    if (!m_window) {
        throw std::runtime_error("The window cannot be created.");
    }
    m_prompter.setOwner(m_window);
}

MainWindow::~MainWindow()
{
    if (m_window) {
        DestroyWindow(m_window);
    }
    // Events posted but never run.
    MSG message;
    while (PeekMessageW(&message, nullptr, postedEvent, postedEvent, PM_REMOVE)) {
        delete reinterpret_cast<std::function<void()> *>(message.lParam);
    }
    if (m_font) {
        DeleteObject(m_font);
    }
    if (m_logo) {
        DeleteObject(m_logo);
    }
    if (m_hand) {
        DestroyCursor(m_hand);
    }
}

void MainWindow::setHandlers(Handlers handlers)
{
    m_handlers = std::move(handlers);
}

HWND MainWindow::control(Control control) const
{
    return m_controls[indexOf(control)];
}

void MainWindow::show(int showCommand)
{
    ShowWindow(m_window, showCommand);
    UpdateWindow(m_window);
    for (Control first : form::tabOrder()) {
        if (IsWindowEnabled(control(first))) {
            SetFocus(control(first));
            break;
        }
    }
}

int MainWindow::run()
{
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        // The dialog manager's keys: Tab and the arrow keys move the focus, Enter and Escape come as IDOK and
        // IDCANCEL (see command()).
        if (m_window && IsDialogMessageW(m_window, &message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return m_exitCode;
}

LRESULT CALLBACK MainWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto *self = static_cast<MainWindow *>(reinterpret_cast<CREATESTRUCTW *>(lParam)->lpCreateParams);
        self->m_window = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto *self = reinterpret_cast<MainWindow *>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    const LRESULT result = self->handleMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->m_window = nullptr;
    }
    return result;
}

LRESULT MainWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        m_dpi = GetDpiForWindow(m_window);
        if (m_dpi == 0) {
            m_dpi = USER_DEFAULT_SCREEN_DPI;
        }
        createControls();
        layOut();
        return 0;
    case WM_DPICHANGED: {
        // Take the place Windows suggests on the new monitor, then size everything for its DPI.
        m_dpi = HIWORD(wParam);
        const RECT *suggested = reinterpret_cast<const RECT *>(lParam);
        SetWindowPos(m_window,
                     nullptr,
                     suggested->left,
                     suggested->top,
                     suggested->right - suggested->left,
                     suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        layOut();
        return 0;
    }
    case WM_COMMAND:
        command(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_CTLCOLORSTATIC:
        if (reinterpret_cast<HWND>(lParam) == control(Control::Label11)) {
            // The address is blue, as a link usually is.
            const HDC dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, RGB(0, 0, 255));
            SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
        break;
    case WM_SETCURSOR: {
        const HWND over = reinterpret_cast<HWND>(wParam);
        if (m_hand && LOWORD(lParam) == HTCLIENT
            && (over == control(Control::Image1) || over == control(Control::Label11))) {
            SetCursor(m_hand);
            return TRUE;
        }
        break;
    }
    case WM_DRAWITEM: {
        const auto *item = reinterpret_cast<const DRAWITEMSTRUCT *>(lParam);
        if (item->hwndItem == control(Control::Image1)) {
            drawLogo(*item);
            return TRUE;
        }
        break;
    }
    case WM_ACTIVATE:
        // Give the focus back to the control that had it when the window was last left.
        if (LOWORD(wParam) == WA_INACTIVE) {
            const HWND focus = GetFocus();
            if (focus && IsChild(m_window, focus)) {
                m_lastFocus = focus;
            }
        } else if (m_lastFocus && IsWindow(m_lastFocus)) {
            SetFocus(m_lastFocus);
            return 0;
        }
        break;
    case postedEvent: {
        std::unique_ptr<std::function<void()>> event(reinterpret_cast<std::function<void()> *>(lParam));
        if (!m_ending) {
            guarded(*event);
        }
        return 0;
    }
    case endRequest: {
        // Events posted but not yet run never run now.
        MSG pending;
        while (PeekMessageW(&pending, m_window, postedEvent, postedEvent, PM_REMOVE)) {
            delete reinterpret_cast<std::function<void()> *>(pending.lParam);
        }
        DestroyWindow(m_window);
        return 0;
    }
    case WM_CLOSE:
        // The close box, the system menu and Alt+F4: the form runs its close step and ends the program.
        if (m_ending) {
            return 0;
        }
        if (m_handlers.close) {
            guarded(m_handlers.close);
        } else {
            endProgram(0);
        }
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        if (wParam && !m_ending && m_handlers.close) {
            guarded(m_handlers.close);
        }
        return 0;
    case WM_DESTROY:
        if (m_accessibility) {
            MSAAPROPID name = PROPID_ACC_NAME;
            for (HWND window : m_controls) {
                m_accessibility->ClearHwndProps(window, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, &name, 1);
            }
            m_accessibility->Release();
            m_accessibility = nullptr;
        }
        PostQuitMessage(m_exitCode);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(m_window, message, wParam, lParam);
}

void MainWindow::command(int id, int code, HWND)
{
    if (m_ending || !m_handlers.click) {
        return;
    }
    if (id == IDOK) {
        // Enter: runs the button that has the focus, and nothing in any other control.
        Control focused;
        if (controlOf(GetDlgCtrlID(GetFocus()), focused) && form::spec(focused).kind == Kind::Button
            && IsWindowEnabled(control(focused))) {
            guarded([this, focused] {
                m_handlers.click(focused);
            });
        }
        return;
    }
    Control source;
    if (!controlOf(id, source)) {
        return; // IDCANCEL (Escape) and anything else: no command
    }
    bool click = false;
    switch (form::spec(source).kind) {
    case Kind::Button:
    case Kind::CheckBox:
        click = code == BN_CLICKED;
        break;
    case Kind::ComboBox:
        click = code == CBN_SELCHANGE;
        break;
    case Kind::Link:
    case Kind::Image:
        click = code == STN_CLICKED;
        break;
    case Kind::Frame:
    case Kind::Label:
    case Kind::OptionButton:
    case Kind::TextBox:
        break;
    }
    if (click) {
        guarded([this, source] {
            m_handlers.click(source);
        });
    }
}

void MainWindow::guarded(const std::function<void()> &handler)
{
    try {
        handler();
    } catch (const std::exception &error) {
        m_prompter.show({error.what(), std::string(form::windowTitle), word::Icon::Critical, word::Buttons::Ok});
        endProgram(1);
    } catch (...) {
        m_prompter.show({"Unknown error", std::string(form::windowTitle), word::Icon::Critical, word::Buttons::Ok});
        endProgram(1);
    }
}

int MainWindow::value(Control control) const
{
    return SendMessageW(this->control(control), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

void MainWindow::setValue(Control control, int value)
{
    SendMessageW(this->control(control), BM_SETCHECK, value == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
    const form::ControlSpec &spec = form::spec(control);
    if (spec.kind == Kind::OptionButton && value == 1) {
        // Selecting one option button clears the others of its container.
        for (const form::ControlSpec &other : form::layout()) {
            if (other.kind == Kind::OptionButton && other.id != control && other.container == spec.container) {
                SendMessageW(this->control(other.id), BM_SETCHECK, BST_UNCHECKED, 0);
            }
        }
    }
}

std::string MainWindow::text(Control control) const
{
    const HWND window = this->control(control);
    if (form::spec(control).kind != Kind::ComboBox) {
        return prefs::toUtf8(windowText(window));
    }
    const LRESULT chosen = SendMessageW(window, CB_GETCURSEL, 0, 0);
    if (chosen == CB_ERR) {
        return {};
    }
    std::wstring entry(static_cast<std::size_t>(SendMessageW(window, CB_GETLBTEXTLEN, chosen, 0)) + 1, L'\0');
    entry.resize(
        static_cast<std::size_t>(SendMessageW(window, CB_GETLBTEXT, chosen, reinterpret_cast<LPARAM>(entry.data()))));
    return prefs::toUtf8(entry);
}

void MainWindow::setText(Control control, const std::string &text)
{
    SetWindowTextW(this->control(control), prefs::toWide(text).c_str());
}

int MainWindow::listIndex(Control control) const
{
    const LRESULT chosen = SendMessageW(this->control(control), CB_GETCURSEL, 0, 0);
    return chosen == CB_ERR ? -1 : static_cast<int>(chosen);
}

void MainWindow::setListIndex(Control control, int index)
{
    SendMessageW(this->control(control), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void MainWindow::setListItems(Control control, const std::vector<std::string> &items)
{
    const HWND window = this->control(control);
    SendMessageW(window, CB_RESETCONTENT, 0, 0);
    for (const std::string &item : items) {
        SendMessageW(window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(prefs::toWide(item).c_str()));
    }
}

bool MainWindow::enabled(Control control) const
{
    return IsWindowEnabled(this->control(control)) != FALSE;
}

void MainWindow::setEnabled(Control control, bool enabled)
{
    EnableWindow(this->control(control), enabled ? TRUE : FALSE);
}

word::Prompter &MainWindow::prompter()
{
    return m_prompter;
}

void MainWindow::post(std::function<void()> event)
{
    auto *posted = new std::function<void()>(std::move(event));
    if (!m_window || !PostMessageW(m_window, postedEvent, 0, reinterpret_cast<LPARAM>(posted))) {
        delete posted; // the window is gone: nothing is left to run it
    }
}

void MainWindow::endProgram(int exitCode)
{
    if (m_ending) {
        return;
    }
    m_ending = true;
    m_exitCode = exitCode;
    if (m_window) {
        ShowWindow(m_window, SW_HIDE);
        PostMessageW(m_window, endRequest, 0, 0);
    } else {
        PostQuitMessage(exitCode);
    }
}

} // namespace winui
