#include "mainwindow.h"

#include "prefs/registry/registrystore.h"
#include "resource.h"

#include <commctrl.h>
#include <oleacc.h>

#include <algorithm>
#include <cstdlib>
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

// Logo picture size in pixels at 96 dpi.
constexpr int logoWidth = 280;
constexpr int logoHeight = 36;
// The accessibility runtime's annotation service (mingw's headers and libraries name it differently).
constexpr CLSID accPropServices = {0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
// Entries a key list shows when it drops down.
constexpr int listRows = 12;

std::size_t indexOf(Control control)
{
    return static_cast<std::size_t>(control);
}

struct ControlClass {
    const wchar_t *className;
    DWORD style;
    DWORD exStyle;
};

// Standard controls for each kind. WS_GROUP on every control that takes the focus, except the second option
// button, keeps the two option buttons one group for the arrow keys and every other control a group of its own.
ControlClass controlClass(Kind kind)
{
    switch (kind) {
    case Kind::Frame:
        return {L"BUTTON", BS_GROUPBOX | WS_CLIPSIBLINGS, 0};
    case Kind::Label:
        return {L"STATIC", SS_LEFT | SS_NOPREFIX, 0};
    case Kind::Link:
        return {L"STATIC", SS_LEFT | SS_NOPREFIX | SS_NOTIFY, 0};
    case Kind::Image:
        return {L"STATIC", SS_OWNERDRAW | SS_NOTIFY, 0};
    case Kind::CheckBox:
        return {L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, 0};
    case Kind::OptionButton:
        return {L"BUTTON", BS_AUTORADIOBUTTON | WS_TABSTOP, 0};
    case Kind::TextBox:
        return {L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP, WS_EX_CLIENTEDGE};
    case Kind::ComboBox:
        return {L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP, 0};
    case Kind::Button:
        return {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, 0};
    }
    return {L"STATIC", 0, 0};
}

// Typing in a key list chooses nothing, and so recomputes nothing; the arrow keys still move the choice.
LRESULT CALLBACK keyListProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    if (message == WM_CHAR) {
        return 0;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

// The order the controls are made in, which is their Z order and so the order Tab follows: first the
// controls of the tab order, then the rest, the frame last so that it lies below the controls inside it.
std::vector<Control> creationOrder()
{
    std::vector<Control> order(form::tabOrder().begin(), form::tabOrder().end());
    for (const form::ControlSpec &spec : form::layout()) {
        if (spec.kind != Kind::Frame && std::find(order.begin(), order.end(), spec.id) == order.end()) {
            order.push_back(spec.id);
        }
    }
    for (const form::ControlSpec &spec : form::layout()) {
        if (spec.kind == Kind::Frame) {
            order.push_back(spec.id);
        }
    }
    return order;
}

// The control's place in the window's client area, in twips.
form::Place windowPlace(const form::ControlSpec &spec)
{
    form::Place place = spec.place;
    if (spec.container) {
        const form::Place &outer = form::spec(*spec.container).place;
        place.left += outer.left;
        place.top += outer.top;
    }
    return place;
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

void MainWindow::createControls()
{
    for (Control id : creationOrder()) {
        const form::ControlSpec &spec = form::spec(id);
        ControlClass kind = controlClass(spec.kind);
        if (id == Control::Option1) {
            kind.style |= WS_GROUP; // the first option button starts the group
        }
        const std::wstring caption = prefs::toWide(std::string(spec.caption));
        m_controls[indexOf(id)] = CreateWindowExW(kind.exStyle,
                                                  kind.className,
                                                  caption.c_str(),
                                                  kind.style | WS_CHILD | WS_VISIBLE,
                                                  0,
                                                  0,
                                                  0,
                                                  0,
                                                  m_window,
                                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId(id))),
                                                  m_instance,
                                                  nullptr);
    }
    setValue(Control::Option1, 1); // "Use Sharps" until start-up chooses
    SetWindowSubclass(control(Control::Combo1), keyListProc, 0, 0);
    SetWindowSubclass(control(Control::Combo2), keyListProc, 0, 0);

    // Screen readers name a box by the text before it in the Z order, which here is the tab order: give
    // every control the layout's accessible name instead. Without the accessibility runtime, they go without.
    if (SUCCEEDED(CoCreateInstance(accPropServices,
                                   nullptr,
                                   CLSCTX_INPROC_SERVER,
                                   IID_IAccPropServices,
                                   reinterpret_cast<void **>(&m_accessibility)))) {
        for (const form::ControlSpec &spec : form::layout()) {
            m_accessibility->SetHwndPropStr(control(spec.id),
                                            static_cast<DWORD>(OBJID_CLIENT),
                                            CHILDID_SELF,
                                            PROPID_ACC_NAME,
                                            prefs::toWide(std::string(spec.accessibleName)).c_str());
        }
    }
}

void MainWindow::layOut()
{
    const double dpi = m_dpi;
    // The client area is fixed; the frame around it is whatever the system draws at this DPI.
    RECT outer;
    RECT inner;
    GetWindowRect(m_window, &outer);
    GetClientRect(m_window, &inner);
    SetWindowPos(m_window,
                 nullptr,
                 0,
                 0,
                 form::twipsToPixels(form::windowWidth, dpi) + (outer.right - outer.left) - inner.right,
                 form::twipsToPixels(form::windowHeight, dpi) + (outer.bottom - outer.top) - inner.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    const HFONT font = dialogFont();

    // The pointing hand: 32 x 32 pixels at 96 dpi, larger in proportion on a larger screen.
    const int pointer = MulDiv(32, static_cast<int>(m_dpi), USER_DEFAULT_SCREEN_DPI);
    if (const auto hand = static_cast<HCURSOR>(
            LoadImageW(m_instance, MAKEINTRESOURCEW(IDC_POINTER), IMAGE_CURSOR, pointer, pointer, 0))) {
        if (m_hand) {
            DestroyCursor(m_hand);
        }
        m_hand = hand;
    }
    for (const form::ControlSpec &spec : form::layout()) {
        const form::Place place = windowPlace(spec);
        int height = form::twipsToPixels(place.height, dpi);
        if (spec.kind == Kind::ComboBox) {
            height += listRows * form::twipsToPixels(240, dpi); // the drop-down list below the box
        }
        HWND window = control(spec.id);
        SetWindowPos(window,
                     nullptr,
                     form::twipsToPixels(place.left, dpi),
                     form::twipsToPixels(place.top, dpi),
                     form::twipsToPixels(place.width, dpi),
                     height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
    if (m_font) {
        DeleteObject(m_font);
    }
    m_font = font;
}

HFONT MainWindow::dialogFont() const
{
    LOGFONTW logical{};
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, m_dpi)) {
        logical = metrics.lfMessageFont;
    } else {
        GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(logical), &logical);
        logical.lfHeight = MulDiv(logical.lfHeight, static_cast<int>(m_dpi), USER_DEFAULT_SCREEN_DPI);
    }
    // The layout's boxes were made for a small font: where the system's font is wider, it is made a little
    // smaller (down to 7 points) until every caption fits its box whole.
    const int smallest = MulDiv(7, static_cast<int>(m_dpi), 72);
    const HDC dc = GetDC(m_window);
    HFONT font = CreateFontIndirectW(&logical);
    while (!captionsFit(dc, font) && std::abs(logical.lfHeight) > smallest) {
        logical.lfHeight += logical.lfHeight < 0 ? 1 : -1;
        DeleteObject(font);
        font = CreateFontIndirectW(&logical);
    }
    ReleaseDC(m_window, dc);
    return font;
}

bool MainWindow::captionsFit(HDC dc, HFONT font) const
{
    const HGDIOBJ previous = SelectObject(dc, font);
    // Room a check box's or option button's box takes, and a button's margins.
    const int box = MulDiv(20, static_cast<int>(m_dpi), USER_DEFAULT_SCREEN_DPI);
    const int margins = MulDiv(8, static_cast<int>(m_dpi), USER_DEFAULT_SCREEN_DPI);
    bool fit = true;
    for (const form::ControlSpec &spec : form::layout()) {
        int room = form::twipsToPixels(spec.place.width, m_dpi);
        switch (spec.kind) {
        case Kind::CheckBox:
        case Kind::OptionButton:
            room -= box;
            break;
        case Kind::Button:
            room -= margins;
            break;
        case Kind::Label:
            break;
        default:
            continue;
        }
        const std::wstring caption = prefs::toWide(std::string(spec.caption));
        SIZE size{};
        GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &size);
        if (size.cx > room) {
            fit = false;
            break;
        }
    }
    SelectObject(dc, previous);
    return fit;
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

void MainWindow::drawLogo(const DRAWITEMSTRUCT &item) const
{
    const RECT &area = item.rcItem;
    if (!m_logo) {
        FillRect(item.hDC, &area, GetSysColorBrush(COLOR_BTNFACE));
        return;
    }
    const HDC source = CreateCompatibleDC(item.hDC);
    const HGDIOBJ previous = SelectObject(source, m_logo);
    SetStretchBltMode(item.hDC, HALFTONE);
    SetBrushOrgEx(item.hDC, 0, 0, nullptr);
    StretchBlt(item.hDC,
               area.left,
               area.top,
               area.right - area.left,
               area.bottom - area.top,
               source,
               0,
               0,
               logoWidth,
               logoHeight,
               SRCCOPY);
    SelectObject(source, previous);
    DeleteDC(source);
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
