#pragma once

// The form of one document window: over the panel's controls while the panel is there, else over
// controls kept in memory, so that "vnd.tonvale:" requests work with or without the sidebar.
// Used on the office's main thread only.

#include "awtview.h"
#include "request.h"
#include "unocommon.h"

#include <com/sun/star/awt/XWindowPeer.hpp>
#include <com/sun/star/frame/XFrame.hpp>

#include <memory>

namespace prefs
{
class SettingsStore;
} // namespace prefs

namespace oxt
{

class Session
{
public:
    /// The session of frame, made over memory controls when it has none.
    static std::shared_ptr<Session> of(const Reference<css::uno::XComponentContext> &context,
                                       const Reference<css::frame::XFrame> &frame);
    /// A new session over the panel's controls in parent, replacing the frame's session.
    static std::shared_ptr<Session> forPanel(const Reference<css::uno::XComponentContext> &context,
                                             const Reference<css::frame::XFrame> &frame,
                                             const Reference<css::awt::XWindowPeer> &parent);
    /// Forget the frame's session (its panel went away): the next request makes a memory one.
    static void forget(const Session *session);

    ~Session();

    /// Runs a request on this session's form.
    Outcome run(const Request &request);

    /// The panel's view; null for a memory session.
    AwtView *panelView()
    {
        return m_awt;
    }

private:
    Session(const Reference<css::uno::XComponentContext> &context,
            const Reference<css::frame::XFrame> &frame,
            const Reference<css::awt::XWindowPeer> &parent);
    void load();

    Reference<css::uno::XComponentContext> m_context;
    Reference<css::frame::XFrame> m_frame;
    SwitchPrompter m_prompter;
    std::unique_ptr<form::View> m_view;
    AwtView *m_awt = nullptr;
    MemoryView *m_memory = nullptr;
    std::unique_ptr<prefs::SettingsStore> m_store;
    std::unique_ptr<form::frmMain> m_form;
    bool m_loaded = false;
    bool m_busy = false; ///< a command or request runs

    struct Busy {
        explicit Busy(bool &flag)
            : m_flag(flag)
        {
            m_flag = true;
        }
        ~Busy()
        {
            m_flag = false;
        }
        Busy(const Busy &) = delete;
        Busy &operator=(const Busy &) = delete;
        bool &m_flag;
    };
};

} // namespace oxt
