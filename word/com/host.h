#pragma once

// Microsoft Word as the host, over late-bound COM automation (IDispatch). Windows only.
//
// The host is made on the thread that will make every call: the window's thread, a single-threaded
// apartment with a message loop, which also receives Word's Quit event and lets a busy Word's
// refusals be retried.

#include "word/automation.h"
#include "word/messages.h"

#include <chrono>
#include <memory>
#include <string>

struct IDispatch;

namespace word::com
{

/// Why no Word could be obtained.
enum class ConnectFailure {
    NotInstalled, ///< no automation class of that name is registered
    NotRunning, ///< (attach only) none is running
    Unreachable, ///< (start) Word is running but cannot be attached: not registered yet, or at another integrity level
    Failed, ///< any other failure: it could not be reached or started
};

/// The failure to attach to or start Word; what() says which and why.
class ConnectError : public AutomationError
{
public:
    ConnectError(ConnectFailure reason, const std::string &description)
        : AutomationError(description)
        , m_reason(reason)
    {
    }
    ConnectFailure reason() const
    {
        return m_reason;
    }

private:
    ConnectFailure m_reason;
};

/// What the user reads when Word cannot be obtained: for a Word that runs but cannot be reached, what
/// to do about it; else the "Fatal Error" message.
Message connectMessage(const ConnectError &error);

/// How long start waits for a running Word to become reachable.
inline constexpr std::chrono::milliseconds registrationWait{5000};
/// How long a call may go unanswered before it is given up.
inline constexpr std::chrono::milliseconds callTimeLimit{20000};

/// Word's Application object held for the whole run, with its Quit event connected.
class Host : public Application
{
public:
    /// The automation class of Microsoft Word.
    static constexpr const char *wordClass = "Word.Application";

    /// The running Word (the active object of progId). Throws ConnectError.
    static std::unique_ptr<Host> attach(const std::string &progId = wordClass);
    /// A new Word, made visible so that the user can open a sheet in it. When Word's program is running
    /// already but could not be attached, no second one is started: start waits up to wait for it to
    /// become reachable (serving messages meanwhile), and throws ConnectError Unreachable if it does not.
    /// Throws ConnectError.
    static std::unique_ptr<Host> start(const std::string &progId = wordClass,
                                       std::chrono::milliseconds wait = registrationWait);
    /// attach, else start. Throws ConnectError (NotInstalled, Unreachable or Failed).
    static std::unique_ptr<Host> connect(const std::string &progId = wordClass,
                                         std::chrono::milliseconds wait = registrationWait);

    ~Host() override;
    Host(const Host &) = delete;
    Host &operator=(const Host &) = delete;

    /// True when this host started Word, false when it attached to a running one.
    bool started() const;
    /// True when Word's Quit event is connected.
    bool eventsConnected() const;
    /// True once Word has raised its Quit event: from then on the host asks Word nothing;
    /// DocumentsCount answers 0 and Quit does nothing.
    bool hasQuit() const;
    /// Give up a call that Word has not answered after limit (Word on a prompt no one can see).
    void setCallTimeLimit(std::chrono::milliseconds limit);
    /// Word's Application object itself (owned by the host), for calls beyond the interface.
    IDispatch *applicationObject() const;

    HostNames names() const override;
    int32_t DocumentsCount() override;
    std::unique_ptr<Selection> selection() override;
    std::unique_ptr<Document> activeDocument() override;
    void ScreenRefresh() override;
    void Quit() override;
    void StartUndoGroup(const std::string &name) override;
    void EndUndoGroup() override;
    std::string noDocumentReason() override;
    void UndoLastGroup() override;

    struct State; ///< the COM objects, hidden from the header

private:
    explicit Host(std::unique_ptr<State> state);
    void onQuit();

    std::unique_ptr<State> m_state;
};

} // namespace word::com
