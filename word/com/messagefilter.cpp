#include "messagefilter.h"

namespace word::com
{

DWORD retryDelay(DWORD rejectType, DWORD elapsed)
{
    if (rejectType == SERVERCALL_RETRYLATER && elapsed < busyRetryLimit) {
        return busyRetryDelay;
    }
    return static_cast<DWORD>(-1);
}

HRESULT STDMETHODCALLTYPE RetryFilter::QueryInterface(REFIID iid, void **object)
{
    if (iid == IID_IUnknown || iid == IID_IMessageFilter) {
        *object = static_cast<IMessageFilter *>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE RetryFilter::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&m_refs));
}

ULONG STDMETHODCALLTYPE RetryFilter::Release()
{
    const LONG refs = InterlockedDecrement(&m_refs);
    if (refs == 0) {
        delete this;
    }
    return static_cast<ULONG>(refs);
}

DWORD STDMETHODCALLTYPE RetryFilter::HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO)
{
    return SERVERCALL_ISHANDLED;
}

DWORD STDMETHODCALLTYPE RetryFilter::RetryRejectedCall(HTASK, DWORD tickCount, DWORD rejectType)
{
    return retryDelay(rejectType, tickCount);
}

DWORD STDMETHODCALLTYPE RetryFilter::MessagePending(HTASK, DWORD, DWORD)
{
    return PENDINGMSG_WAITDEFPROCESS;
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
