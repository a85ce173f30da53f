#pragma once

// The message filter of the calling thread: a busy Word refuses calls ("retry later") while it shows
// a dialog or is still starting; the filter has COM retry them for a while instead of failing at once.

#include "dispatch.h"

#include <objidl.h>

namespace word::com
{

/// How long a refused call is retried before it fails, in milliseconds.
inline constexpr DWORD busyRetryLimit = 10000;
/// The pause between retries, in milliseconds.
inline constexpr DWORD busyRetryDelay = 100;

/// RetryRejectedCall's answer: the delay before the next try, or (DWORD)-1 to give up. A call Word
/// asks to retry later is retried until busyRetryLimit has passed; a call it rejects outright is not.
DWORD retryDelay(DWORD rejectType, DWORD elapsed);

class RetryFilter final : public IMessageFilter
{
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD callType,
                                               HTASK caller,
                                               DWORD tickCount,
                                               LPINTERFACEINFO info) override;
    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK callee, DWORD tickCount, DWORD rejectType) override;
    DWORD STDMETHODCALLTYPE MessagePending(HTASK callee, DWORD tickCount, DWORD pendingType) override;

private:
    LONG m_refs = 1;
};

/// Installs a RetryFilter on the calling thread for its lifetime and puts the previous filter back.
class MessageFilterScope
{
public:
    MessageFilterScope();
    ~MessageFilterScope();
    MessageFilterScope(const MessageFilterScope &) = delete;
    MessageFilterScope &operator=(const MessageFilterScope &) = delete;

private:
    ComPtr<RetryFilter> m_filter;
    ComPtr<IMessageFilter> m_previous;
    bool m_installed = false;
};

} // namespace word::com
