#include "session.h"

#include "prefs/qt/qsettingsstore.h"
#include "word/uno/inprocess.h"

#include <com/sun/star/awt/AsyncCallback.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/lang/XEventListener.hpp>
#include <com/sun/star/text/XTextDocument.hpp>

#include <cstdlib>
#include <map>
#include <sys/syscall.h>
#include <unistd.h>

namespace oxt
{

bool onMainThread()
{
    // The office runs its windows and event loop on the process's first thread.
    return static_cast<pid_t>(syscall(SYS_gettid)) == getpid();
}

namespace
{

class Callback : public cppu::WeakImplHelper1<css::awt::XCallback>
{
public:
    explicit Callback(std::function<void()> work)
        : m_work(std::move(work))
    {
    }
    void SAL_CALL notify(const Any &) override
    {
        auto work = std::move(m_work);
        if (work) {
            work();
        }
    }

private:
    std::function<void()> m_work;
};

// Sessions by frame; a frame's session ends with the frame.
std::map<css::uno::XInterface *, std::shared_ptr<Session>> &sessions()
{
    static std::map<css::uno::XInterface *, std::shared_ptr<Session>> all;
    return all;
}

class FrameWatcher : public cppu::WeakImplHelper1<css::lang::XEventListener>
{
public:
    void SAL_CALL disposing(const css::lang::EventObject &event) override
    {
        const Reference<css::uno::XInterface> frame(event.Source, UNO_QUERY);
        sessions().erase(frame.get());
    }
};

css::uno::XInterface *keyOf(const Reference<css::frame::XFrame> &frame)
{
    return Reference<css::uno::XInterface>(frame, UNO_QUERY).get();
}

void watch(const Reference<css::frame::XFrame> &frame)
{
    frame->addEventListener(Reference<css::lang::XEventListener>(new FrameWatcher));
}

std::unique_ptr<prefs::SettingsStore> userStore()
{
    // The program's own store; TONVALE_SETTINGS names a file instead, as for the program.
    const char *file = std::getenv("TONVALE_SETTINGS");
    if (file && *file) {
        return std::make_unique<prefs::QSettingsStore>(QString::fromLocal8Bit(file));
    }
    return std::make_unique<prefs::QSettingsStore>();
}

} // namespace

void postToMainThread(const Reference<css::uno::XComponentContext> &context, std::function<void()> work)
{
    css::awt::AsyncCallback::create(context)->addCallback(Reference<css::awt::XCallback>(new Callback(std::move(work))),
                                                          Any());
}

Session::Session(const Reference<css::uno::XComponentContext> &context,
                 const Reference<css::frame::XFrame> &frame,
                 const Reference<css::awt::XWindowPeer> &parent)
    : m_context(context)
    , m_frame(frame)
    , m_store(userStore())
{
    if (parent.is()) {
        auto view = std::make_unique<AwtView>(context, parent, m_prompter);
        m_awt = view.get();
        m_prompter.setInteractive(&view->messageBoxes());
        m_view = std::move(view);
    } else {
        auto view = std::make_unique<MemoryView>(m_prompter);
        m_memory = view.get();
        m_view = std::move(view);
    }
    m_form = std::make_unique<form::frmMain>(*m_view, *m_store);
    if (m_awt) {
        // The panel closes with its window: Exit has nothing to do there.
        m_view->setEnabled(form::Control::Command3, false);
        m_awt->onClick([this](form::Control control) {
            if (m_busy) {
                return; // a message box of a request is open: its nested event loop runs this
            }
            const Busy busy(m_busy);
            m_form->click(control);
            if (control == form::Control::Command8) {
                static_cast<prefs::QSettingsStore &>(*m_store).sync();
            }
        });
    }
}

Session::~Session()
{
    if (m_awt) {
        m_awt->onClick(nullptr);
    }
    m_form.reset();
}

void Session::load()
{
    if (m_loaded) {
        return;
    }
    m_loaded = true;
    form::HostKind kind;
    kind.name = "libreoffice";
    kind.names = {"LibreOffice Writer", "LibreOffice Writer"};
    const auto context = m_context;
    const auto frame = m_frame;
    kind.attach = [context, frame]() -> std::shared_ptr<word::Application> {
        const auto controller = frame->getController();
        Reference<css::text::XTextDocument> document(controller.is() ? controller->getModel() : nullptr, UNO_QUERY);
        return word::uno::inProcessHost(context, document);
    };
    kind.start = kind.attach;
    m_form->Form_Load(kind);
    if (m_awt) {
        m_view->setEnabled(form::Control::Command3, false);
    }
}

Outcome Session::run(const Request &request)
{
    if (m_busy) {
        // A request that arrives while a command runs (from the event loop of a message box it shows)
        // waits for nothing: it is refused.
        return {false, "status=error\nerror=Tonvale is busy with another command.\n"};
    }
    const Busy busy(m_busy);
    load();
    if (m_memory && m_memory->ended()) {
        return {false, "status=error\nerror=The form ended after an error; reopen the document.\n"};
    }
    auto outcome = runRequest(request, *m_form, *m_view, m_prompter);
    outcome.result += m_awt ? "view=panel\n" : "view=memory\n";
    if (request.click == form::Control::Command8) {
        static_cast<prefs::QSettingsStore &>(*m_store).sync();
    }
    if (m_memory) {
        m_memory->runPosted();
    }
    return outcome;
}

std::shared_ptr<Session> Session::of(const Reference<css::uno::XComponentContext> &context,
                                     const Reference<css::frame::XFrame> &frame)
{
    auto &all = sessions();
    const auto found = all.find(keyOf(frame));
    if (found != all.end()) {
        return found->second;
    }
    std::shared_ptr<Session> session(new Session(context, frame, nullptr));
    all[keyOf(frame)] = session;
    watch(frame);
    return session;
}

std::shared_ptr<Session> Session::forPanel(const Reference<css::uno::XComponentContext> &context,
                                           const Reference<css::frame::XFrame> &frame,
                                           const Reference<css::awt::XWindowPeer> &parent)
{
    std::shared_ptr<Session> session(new Session(context, frame, parent));
    auto &all = sessions();
    const bool watched = all.count(keyOf(frame)) > 0;
    all[keyOf(frame)] = session;
    if (!watched) {
        watch(frame);
    }
    session->load();
    return session;
}

void Session::forget(const Session *session)
{
    auto &all = sessions();
    for (auto it = all.begin(); it != all.end(); ++it) {
        if (it->second.get() == session) {
            all.erase(it);
            return;
        }
    }
}

} // namespace oxt
