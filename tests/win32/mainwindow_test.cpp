// The native window in this process under Wine (it needs a display): the controls the layout asks for, their
// places at two DPIs, the tab order, the keys, the clicks it forwards and the ones it must not.

#include "app/win32/mainwindow.h"
#include "app/win32/messagebox.h"
#include "form/layout.h"

#include <objbase.h>

#include <gtest/gtest.h>

#include <cwchar>
#include <vector>

namespace
{

using form::Control;
using form::Kind;
using winui::MainWindow;

// The window's thread is a single-threaded apartment, as in the program.
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

class MainWindowTest : public testing::Test
{
protected:
    void SetUp() override
    {
        if (GetEnvironmentVariableW(L"DISPLAY", nullptr, 0) == 0) {
            GTEST_SKIP() << "no display for Wine's windows (the Windows suite starts Xvfb)";
        }
        m_window = std::make_unique<MainWindow>(GetModuleHandleW(nullptr));
        m_window->setHandlers({[this](Control control) {
                                   m_clicks.push_back(control);
                               },
                               [this] {
                                   ++m_closes;
                               }});
    }

    HWND control(Control id) const
    {
        return m_window->control(id);
    }
    // Runs what is queued for the window, as its message loop would (with the dialog manager's keys).
    void pump()
    {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (!IsDialogMessageW(m_window->handle(), &message)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
    }
    void key(UINT virtualKey)
    {
        const HWND focus = GetFocus();
        PostMessageW(focus, WM_KEYDOWN, virtualKey, 1);
        PostMessageW(focus, WM_KEYUP, virtualKey, 0xC0000001);
        pump();
    }
    RECT placeOf(Control id) const
    {
        RECT rect;
        GetWindowRect(control(id), &rect);
        MapWindowPoints(nullptr, m_window->handle(), reinterpret_cast<POINT *>(&rect), 2);
        return rect;
    }

    std::unique_ptr<MainWindow> m_window;
    std::vector<Control> m_clicks;
    int m_closes = 0;
};

struct KindRow {
    Kind kind;
    const wchar_t *className;
    LONG style; // the style bits that make the kind
    LONG mask;
};

TEST_F(MainWindowTest, EveryControlIsTheStandardControlOfItsKind)
{
    const KindRow rows[] = {
        {Kind::Frame, L"Button", BS_GROUPBOX, BS_TYPEMASK},
        {Kind::Label, L"Static", SS_LEFT | SS_NOPREFIX, SS_TYPEMASK | SS_NOPREFIX | SS_NOTIFY},
        {Kind::Link, L"Static", SS_LEFT | SS_NOPREFIX | SS_NOTIFY, SS_TYPEMASK | SS_NOPREFIX | SS_NOTIFY},
        {Kind::Image, L"Static", SS_OWNERDRAW | SS_NOTIFY, SS_TYPEMASK | SS_NOTIFY},
        {Kind::CheckBox, L"Button", BS_AUTOCHECKBOX | WS_TABSTOP, BS_TYPEMASK | WS_TABSTOP},
        // (Only the selected option button is a tab stop: the button moves WS_TABSTOP itself.)
        {Kind::OptionButton, L"Button", BS_AUTORADIOBUTTON, BS_TYPEMASK},
        {Kind::TextBox, L"Edit", WS_TABSTOP, ES_MULTILINE | WS_TABSTOP},
        {Kind::ComboBox, L"ComboBox", CBS_DROPDOWNLIST | WS_TABSTOP, 3 | WS_TABSTOP},
        // Never a default button: Enter is the focused button's only.
        {Kind::Button, L"Button", BS_PUSHBUTTON | WS_TABSTOP, BS_TYPEMASK | WS_TABSTOP},
    };
    ASSERT_EQ(form::layout().size(), winui::controlCount);
    for (const form::ControlSpec &spec : form::layout()) {
        SCOPED_TRACE(std::string(spec.name));
        const HWND window = control(spec.id);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(GetDlgCtrlID(window), winui::controlId(spec.id));
        EXPECT_EQ(GetParent(window), m_window->handle()) << "every control is a child of the window itself";
        for (const KindRow &row : rows) {
            if (row.kind != spec.kind) {
                continue;
            }
            wchar_t name[64];
            GetClassNameW(window, name, 64);
            EXPECT_EQ(_wcsicmp(name, row.className), 0) << "class " << static_cast<const void *>(name);
            EXPECT_EQ(GetWindowLongW(window, GWL_STYLE) & row.mask, row.style);
        }
        if (spec.kind != Kind::TextBox && spec.kind != Kind::ComboBox && spec.kind != Kind::Image) {
            EXPECT_EQ(m_window->text(spec.id), spec.caption);
        }
    }
}

struct DpiRow {
    const char *name;
    UINT dpi;
    SIZE client; // the client area in pixels
    RECT text1; // Text1 (in the frame) in the window's client area
    RECT command7;
};

class MainWindowDpi : public MainWindowTest, public testing::WithParamInterface<DpiRow>
{
};

TEST_P(MainWindowDpi, PlacesTheLayoutInPixelsOfTheWindowsDpi)
{
    const DpiRow &row = GetParam();
    if (row.dpi != m_window->dpi()) {
        // Windows moves the window to another monitor: it suggests a place and the window sizes itself.
        RECT suggested{10, 10, 400, 600};
        SendMessageW(m_window->handle(),
                     WM_DPICHANGED,
                     MAKEWPARAM(row.dpi, row.dpi),
                     reinterpret_cast<LPARAM>(&suggested));
    }
    ASSERT_EQ(m_window->dpi(), row.dpi);
    RECT client;
    GetClientRect(m_window->handle(), &client);
    EXPECT_EQ(client.right, row.client.cx);
    EXPECT_EQ(client.bottom, row.client.cy);
    const RECT text1 = placeOf(Control::Text1);
    EXPECT_EQ(text1.left, row.text1.left);
    EXPECT_EQ(text1.top, row.text1.top);
    EXPECT_EQ(text1.right, row.text1.right);
    EXPECT_EQ(text1.bottom, row.text1.bottom);
    const RECT command7 = placeOf(Control::Command7);
    EXPECT_EQ(command7.left, row.command7.left);
    EXPECT_EQ(command7.top, row.command7.top);
    EXPECT_EQ(command7.right, row.command7.right);
    EXPECT_EQ(command7.bottom, row.command7.bottom);

    // The dialog font follows the DPI: a larger screen, a taller font.
    const HFONT font = reinterpret_cast<HFONT>(SendMessageW(control(Control::Command2), WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    LOGFONTW logical{};
    GetObjectW(font, sizeof(logical), &logical);
    EXPECT_GE(std::abs(logical.lfHeight), static_cast<LONG>(row.dpi / 10)) << "about 8 points or more";
}

// Text1 sits at 120 + 2160, 120 + 600 twips in the window (Frame1's place plus its own), 495 x 285.
INSTANTIATE_TEST_SUITE_P(
    Screens,
    MainWindowDpi,
    testing::Values(DpiRow{"Standard96", 96, {314, 515}, {152, 48, 185, 67}, {200, 456, 305, 481}},
                    DpiRow{"Large144", 144, {471, 773}, {228, 72, 278, 101}, {300, 684, 458, 722}}),
    [](const testing::TestParamInfo<DpiRow> &info) {
        return std::string(info.param.name);
    });

TEST_F(MainWindowTest, TabFollowsTheLayoutsTabOrder)
{
    m_window->show(SW_SHOWNOACTIVATE);
    std::vector<Control> visited;
    Control now;
    for (std::size_t i = 0; i < form::tabOrder().size() + 1; ++i) {
        ASSERT_TRUE(winui::controlOf(GetDlgCtrlID(GetFocus()), now));
        visited.push_back(now);
        key(VK_TAB);
    }
    std::vector<Control> expected(form::tabOrder().begin(), form::tabOrder().end());
    // The two option buttons are one group: Tab enters it at the selected one ("Use Sharps" at first).
    std::erase(expected, Control::Option2);
    expected.push_back(expected.front()); // and round again
    visited.resize(expected.size());
    EXPECT_EQ(visited, expected);
}

TEST_F(MainWindowTest, EnterRunsOnlyTheFocusedButtonAndEscapeNothing)
{
    m_window->show(SW_SHOWNOACTIVATE);
    SetFocus(control(Control::Text1));
    key(VK_RETURN);
    key(VK_ESCAPE);
    SetFocus(control(Control::Combo1));
    key(VK_RETURN);
    key(VK_ESCAPE);
    EXPECT_TRUE(m_clicks.empty());
    EXPECT_EQ(m_closes, 0);

    SetFocus(control(Control::Command2));
    key(VK_RETURN);
    key(VK_ESCAPE);
    EXPECT_EQ(m_clicks, std::vector<Control>{Control::Command2});
    EXPECT_EQ(m_closes, 0);
}

TEST_F(MainWindowTest, TypingInAKeyListChoosesNothingButTheArrowsDo)
{
    m_window->setListItems(Control::Combo1, {"A", "A#/Bb", "B", "C"});
    m_window->show(SW_SHOWNOACTIVATE);
    SetFocus(control(Control::Combo1));
    PostMessageW(control(Control::Combo1), WM_CHAR, L'C', 1);
    pump();
    EXPECT_EQ(m_window->listIndex(Control::Combo1), -1);
    EXPECT_TRUE(m_clicks.empty());
    key(VK_DOWN);
    EXPECT_EQ(m_window->listIndex(Control::Combo1), 0);
    EXPECT_EQ(m_clicks, std::vector<Control>{Control::Combo1});
}

TEST_F(MainWindowTest, ForwardsTheClicksOfControlsThatHandleThem)
{
    for (Control id : {Control::Command1, Control::Command3, Control::Check1, Control::Check5, Control::Option2}) {
        SendMessageW(control(id), BM_CLICK, 0, 0);
    }
    SendMessageW(control(Control::Image1), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    SendMessageW(control(Control::Image1), WM_LBUTTONUP, 0, 0);
    SendMessageW(control(Control::Label11), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    SendMessageW(control(Control::Label11), WM_LBUTTONUP, 0, 0);
    SendMessageW(control(Control::Label5), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    SendMessageW(control(Control::Label5), WM_LBUTTONUP, 0, 0);
    // Option buttons hold a value only; Label5 handles nothing.
    EXPECT_EQ(m_clicks,
              (std::vector<Control>{Control::Command1,
                                    Control::Command3,
                                    Control::Check1,
                                    Control::Check5,
                                    Control::Image1,
                                    Control::Label11}));
    EXPECT_EQ(m_window->value(Control::Check1), 1) << "the box is ticked before its click runs";
    EXPECT_EQ(m_window->value(Control::Option2), 1);
    EXPECT_EQ(m_window->value(Control::Option1), 0) << "one option button of the group at a time";
}

TEST_F(MainWindowTest, ValuesSetInCodeSendNoClicks)
{
    m_window->setListItems(Control::Combo1, {"A", "A#/Bb", "B"});
    EXPECT_EQ(m_window->listIndex(Control::Combo1), -1);
    EXPECT_EQ(m_window->text(Control::Combo1), "");
    m_window->setListIndex(Control::Combo1, 1);
    m_window->setValue(Control::Check7, 1);
    m_window->setValue(Control::Option2, 1);
    m_window->setText(Control::Text4, "-5");
    m_window->setEnabled(Control::Combo1, false);
    pump();
    EXPECT_TRUE(m_clicks.empty());
    EXPECT_EQ(m_window->text(Control::Combo1), "A#/Bb");
    EXPECT_EQ(m_window->value(Control::Check7), 1);
    EXPECT_EQ(m_window->value(Control::Option1), 0) << "selecting Option2 in code clears Option1";
    EXPECT_EQ(m_window->text(Control::Text4), "-5");
    EXPECT_FALSE(m_window->enabled(Control::Combo1));

    // A user's choice in a key list is a click.
    SendMessageW(control(Control::Combo2), CB_SETCURSEL, 0, 0);
    SendMessageW(m_window->handle(),
                 WM_COMMAND,
                 MAKEWPARAM(winui::controlId(Control::Combo2), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(control(Control::Combo2)));
    EXPECT_EQ(m_clicks, std::vector<Control>{Control::Combo2});
}

TEST_F(MainWindowTest, PointingHandOverTheLinksOnly)
{
    const HCURSOR hand = m_window->linkPointer();
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(hand, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 12u) << "at the fingertip";
    EXPECT_EQ(info.yHotspot, 1u);
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);

    for (Control id : {Control::Image1, Control::Label11, Control::Command4, Control::Label10}) {
        SetCursor(nullptr);
        SendMessageW(m_window->handle(),
                     WM_SETCURSOR,
                     reinterpret_cast<WPARAM>(control(id)),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        const bool link = id == Control::Image1 || id == Control::Label11;
        EXPECT_EQ(GetCursor() == hand, link) << static_cast<int>(id);
    }
}

TEST_F(MainWindowTest, CloseRequestsGoToTheFormAndEndProgramEndsTheLoop)
{
    SendMessageW(m_window->handle(), WM_CLOSE, 0, 0);
    SendMessageW(m_window->handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(m_closes, 2);
    EXPECT_TRUE(IsWindow(m_window->handle())) << "the window stays until the form ends the program";

    int ran = 0;
    m_window->post([&ran] {
        ++ran;
    });
    m_window->endProgram(3);
    m_window->post([&ran] {
        ran += 10;
    });
    EXPECT_EQ(m_window->run(), 3);
    EXPECT_EQ(ran, 0) << "once the program ends, no posted event runs";
    EXPECT_EQ(m_window->handle(), nullptr);
}

struct StyleRow {
    const char *name;
    word::Icon icon;
    word::Buttons buttons;
    UINT style;
};

class MessageBoxStyle : public testing::TestWithParam<StyleRow>
{
};

TEST_P(MessageBoxStyle, MatchesTheMessage)
{
    EXPECT_EQ(winui::messageBoxStyle({"text", "title", GetParam().icon, GetParam().buttons}), GetParam().style);
}

INSTANTIATE_TEST_SUITE_P(
    Messages,
    MessageBoxStyle,
    testing::Values(StyleRow{"FatalError", word::Icon::Critical, word::Buttons::Ok, MB_OK | MB_ICONSTOP},
                    StyleRow{"Warning", word::Icon::Exclamation, word::Buttons::Ok, MB_OK | MB_ICONEXCLAMATION},
                    StyleRow{"CannotOpen", word::Icon::None, word::Buttons::Ok, MB_OK},
                    StyleRow{"TransposeEverything",
                             word::Icon::Question,
                             word::Buttons::YesNoDefaultNo,
                             MB_YESNO | MB_DEFBUTTON2 | MB_ICONQUESTION}),
    [](const testing::TestParamInfo<StyleRow> &info) {
        return std::string(info.param.name);
    });

} // namespace
