#pragma once

// frmMain as a native Windows window: standard controls made from form::layout(), placed in pixels for
// the window's DPI and placed again when it changes, the dialog font of that DPI, the layout's tab order,
// the pointing hand over the links. It forwards the controls' clicks and the close request, and does
// nothing else of its own.

#include "controlid.h"
#include "form/view.h"
#include "messagebox.h"

#include <windows.h>

struct IAccPropServices;

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace winui
{

/// What the window tells its owner (the form): a click on a control that handles clicks, a close request.
struct Handlers {
    /// A click on a button, check box, link or the logo, or a new choice in a key list.
    std::function<void(form::Control)> click;
    /// The close box, the system menu, Alt+F4 or the end of the Windows session.
    std::function<void()> close;
};

class MainWindow : public form::View
{
public:
    /// The window class's name, for FindWindow.
    static constexpr const wchar_t *className = L"TonvaleMainWindow";

    /// Makes the hidden window with its controls in their initial state.
    explicit MainWindow(HINSTANCE instance);
    ~MainWindow() override;
    MainWindow(const MainWindow &) = delete;
    MainWindow &operator=(const MainWindow &) = delete;

    void setHandlers(Handlers handlers);
    HWND handle() const
    {
        return m_window;
    }
    /// The control's own window.
    HWND control(form::Control control) const;
    /// The pointer over the links (Image1, Label11).
    HCURSOR linkPointer() const
    {
        return m_hand;
    }
    /// The window's dots per inch, 96 on a standard screen.
    UINT dpi() const
    {
        return m_dpi;
    }

    /// Shows the window and puts the focus on the first control of the tab order.
    void show(int showCommand);
    /// Runs the message loop until the program ends; returns its exit code.
    int run();

    int value(form::Control control) const override;
    void setValue(form::Control control, int value) override;
    std::string text(form::Control control) const override;
    void setText(form::Control control, const std::string &text) override;
    int listIndex(form::Control control) const override;
    void setListIndex(form::Control control, int index) override;
    void setListItems(form::Control control, const std::vector<std::string> &items) override;
    bool enabled(form::Control control) const override;
    void setEnabled(form::Control control, bool enabled) override;
    word::Prompter &prompter() override;
    void post(std::function<void()> event) override;
    void endProgram(int exitCode) override;

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void createControls();
    /// Sizes the window and places every control for m_dpi, with the dialog font of that DPI.
    void layOut();
    /// The dialog font at m_dpi, made smaller where the layout's captions would not fit.
    HFONT dialogFont() const;
    bool captionsFit(HDC dc, HFONT font) const;
    void command(int id, int code, HWND source);
    void drawLogo(const DRAWITEMSTRUCT &item) const;
    /// Runs a handler; an exception that escapes it is reported and ends the program.
    void guarded(const std::function<void()> &handler);

    HINSTANCE m_instance;
    HWND m_window = nullptr;
    std::array<HWND, controlCount> m_controls{};
    UINT m_dpi = USER_DEFAULT_SCREEN_DPI;
    HFONT m_font = nullptr;
    HBITMAP m_logo = nullptr;
    HCURSOR m_hand = nullptr;
    HWND m_lastFocus = nullptr;
    IAccPropServices *m_accessibility = nullptr; ///< the controls' accessible names, while the window lives
    Handlers m_handlers;
    MessageBoxPrompter m_prompter;
    int m_exitCode = 0;
    bool m_ending = false;
};

} // namespace winui
