#include "mainwindow.h"

#include "prefs/registry/registrystore.h"
#include "resource.h"

#include <commctrl.h>
#include <oleacc.h>

#include <algorithm>
#include <cstdlib>

// frmMain's controls made and placed: the layout's table turned into standard controls at the window's DPI.

namespace winui
{

namespace
{

using form::Control;
using form::Kind;

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

} // namespace

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

} // namespace winui
