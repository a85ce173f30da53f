#pragma once

// The message filter of the calling thread: a busy Word refuses calls ("retry later") while it shows
// a dialog or is still starting; the filter has COM retry them for a while instead of failing at once.
// A Word waiting on a prompt no one can see does not refuse calls but leaves them unanswered; the
// filter gives such a call up after a time limit. COM asks the filter only when a message arrives
// during the call, so while a call is out a watch thread posts one to the calling thread now and then.

#include "comobject.h"
#include "dispatch.h"

#include <objidl.h>

#include <condition_variable>
#include <mutex>
#include <thread>

namespace word::com
{

/// How long a refused call is retried before it fails, in milliseconds.
inline constexpr DWORD busyRetryLimit = 10000;
/// The pause between retries, in milliseconds.
inline constexpr DWORD busyRetryDelay = 100;

/// RetryRejectedCall's answer: the delay before the next try, or (DWORD)-1 to give up. A call Word
/// asks to retry later is retried until busyRetryLimit has passed; a call it rejects outright is not.
DWORD retryDelay(DWORD rejectType, DWORD elapsed);

/// MessagePending's answer for a call out for elapsed milliseconds: wait on, or cancel it at limit.
DWORD pendingAnswer(DWORD elapsed, DWORD limit);

/// Wakes the thread it was made on every wakePeriod milliseconds while a call is out (begin..end).
class CallWatch
{
public:
    static constexpr DWORD wakePeriod = 200;

    CallWatch();
    ~CallWatch();
    CallWatch(const CallWatch &) = delete;
    CallWatch &operator=(const CallWatch &) = delete;

    void begin();
    void end();

    /// The watch of the calling thread, if a MessageFilterScope made one.
    static CallWatch *current();

private:
    void run();

    DWORD m_thread;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_calls = 0;
    bool m_stop = false;
    std::thread m_waker;
};

/// Marks one outgoing call for the calling thread's watch, if any.
class OutgoingCall
{
public:
    OutgoingCall()
        : m_watch(CallWatch::current())
    {
        if (m_watch) {
            m_watch->begin();
        }
    }
    ~OutgoingCall()
    {
        if (m_watch) {
            m_watch->end();
        }
    }
    OutgoingCall(const OutgoingCall &) = delete;
    OutgoingCall &operator=(const OutgoingCall &) = delete;

private:
    CallWatch *m_watch;
};

class RetryFilter final : public ComObject<IMessageFilter>
{
public:
    /// How long an outgoing call may wait for its answer, in milliseconds.
    void setCallLimit(DWORD limit)
    {
        m_callLimit = limit;
    }

    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD callType,
                                               HTASK caller,
                                               DWORD tickCount,
                                               LPINTERFACEINFO info) override;
    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK callee, DWORD tickCount, DWORD rejectType) override;
    DWORD STDMETHODCALLTYPE MessagePending(HTASK callee, DWORD tickCount, DWORD pendingType) override;

private:
    bool answers(REFIID iid) const override;

    DWORD m_callLimit = 20000;
};

/// Installs a RetryFilter on the calling thread for its lifetime and puts the previous filter back.
class MessageFilterScope
{
public:
    MessageFilterScope();
    ~MessageFilterScope();
    MessageFilterScope(const MessageFilterScope &) = delete;
    MessageFilterScope &operator=(const MessageFilterScope &) = delete;

    void setCallLimit(DWORD limit)
    {
        m_filter->setCallLimit(limit);
    }

private:
    CallWatch m_watch;
    ComPtr<RetryFilter> m_filter;
    ComPtr<IMessageFilter> m_previous;
    bool m_installed = false;
};

} // namespace word::com
