#pragma once

// The form's view made of the office's own controls (UNO AWT), in a window of the sidebar.

#include "request.h"
#include "unocommon.h"

#include <com/sun/star/awt/XControl.hpp>
#include <com/sun/star/awt/XWindow.hpp>
#include <com/sun/star/awt/XWindowPeer.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>

#include <functional>
#include <vector>

namespace oxt
{

class AwtView : public form::View
{
public:
    /// Builds every control of the form's table in a new child window of parent, placed as the table says.
    AwtView(const Reference<css::uno::XComponentContext> &context,
            const Reference<css::awt::XWindowPeer> &parent,
            SwitchPrompter &prompter);
    ~AwtView() override;

    /// The window holding the controls.
    Reference<css::awt::XWindow> window() const
    {
        return m_window;
    }
    /// Who hears of the user's actions (on the main thread).
    void onClick(std::function<void(form::Control)> handler)
    {
        m_onClick = std::move(handler);
    }
    /// Called by the controls' listeners: the user's action on control.
    void userAction(form::Control control);
    /// Disposes the window and its controls; the view does nothing afterwards.
    void dispose();

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

    /// The interactive message boxes, parented to the panel.
    word::Prompter &messageBoxes();

private:
    struct Item {
        Reference<css::awt::XControl> control;
        Reference<css::beans::XPropertySet> model;
        int known = 0; ///< the value or index last set or reported, to tell the user's changes from ours
        std::vector<std::string> items;
    };
    Item &item(form::Control control);
    const Item &item(form::Control control) const;

    Reference<css::uno::XComponentContext> m_context;
    Reference<css::awt::XWindow> m_window;
    Reference<css::awt::XWindowPeer> m_peer;
    std::vector<Item> m_items;
    SwitchPrompter &m_prompter;
    std::function<void(form::Control)> m_onClick;
    std::unique_ptr<word::Prompter> m_boxes;
    bool m_disposed = false;
};

} // namespace oxt
