#include "messagefilter.h"

#include <algorithm>
#include <vector>

namespace word::com
{

DWORD retryDelay(DWORD rejectType, DWORD elapsed)
{
    if (rejectType == SERVERCALL_RETRYLATER && elapsed < busyRetryLimit) {
        return busyRetryDelay;
    }
    return static_cast<DWORD>(-1);
}

DWORD pendingAnswer(DWORD elapsed, DWORD limit)
{
    return elapsed >= limit ? PENDINGMSG_CANCELCALL : PENDINGMSG_WAITDEFPROCESS;
}

namespace
{

// The watches of this thread, newest last (a thread normally has one host, and so one watch).
thread_local std::vector<CallWatch *> t_watches;

} // namespace

CallWatch::CallWatch()
    : m_thread(GetCurrentThreadId())
    , m_waker([this] {
        run();
    })
{
    t_watches.push_back(this);
}

CallWatch::~CallWatch()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_changed.notify_all();
    m_waker.join();
    t_watches.erase(std::find(t_watches.begin(), t_watches.end(), this));
}

CallWatch *CallWatch::current()
{
    return t_watches.empty() ? nullptr : t_watches.back();
}

void CallWatch::begin()
{
    {
        std::lock_guard lock(m_mutex);
        ++m_calls;
    }
    m_changed.notify_all();
}

void CallWatch::end()
{
    std::lock_guard lock(m_mutex);
    --m_calls;
}

void CallWatch::run()
{
    std::unique_lock lock(m_mutex);
    while (!m_stop) {
        if (m_calls == 0) {
            m_changed.wait(lock);
            continue;
        }
        m_changed.wait_for(lock, std::chrono::milliseconds(wakePeriod));
        if (m_calls > 0 && !m_stop) {
            PostThreadMessageW(m_thread, WM_NULL, 0, 0);
        }
    }
}

bool RetryFilter::answers(REFIID iid) const
{
    return iid == IID_IMessageFilter;
}

DWORD STDMETHODCALLTYPE RetryFilter::HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO)
{
    return SERVERCALL_ISHANDLED;
}

DWORD STDMETHODCALLTYPE RetryFilter::RetryRejectedCall(HTASK, DWORD tickCount, DWORD rejectType)
{
    return retryDelay(rejectType, tickCount);
}

DWORD STDMETHODCALLTYPE RetryFilter::MessagePending(HTASK, DWORD tickCount, DWORD)
{
    return pendingAnswer(tickCount, m_callLimit);
}

MessageFilterScope::MessageFilterScope()
    : m_filter(new RetryFilter)
{
    // Fails outside a single-threaded apartment: then there is no filter, and a refused call fails.
    m_installed = SUCCEEDED(CoRegisterMessageFilter(m_filter.get(), m_previous.put()));
}

MessageFilterScope::~MessageFilterScope()
{
    if (m_installed) {
        IMessageFilter *ours = nullptr;
        CoRegisterMessageFilter(m_previous.get(), &ours);
        if (ours) {
            ours->Release();
        }
    }
}

} // namespace word::com
