#include "quitsink.h"

namespace word::com
{

const IID DIID_ApplicationEvents4 = {0x00020A01, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

QuitSink::QuitSink(std::function<void()> onQuit)
    : m_onQuit(std::move(onQuit))
{
}

void QuitSink::detach()
{
    m_onQuit = nullptr;
}

bool QuitSink::answers(REFIID iid) const
{
    return iid == IID_IDispatch || iid == DIID_ApplicationEvents4;
}

HRESULT STDMETHODCALLTYPE QuitSink::GetTypeInfoCount(UINT *count)
{
    *count = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE QuitSink::GetTypeInfo(UINT, LCID, ITypeInfo **info)
{
    *info = nullptr;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE QuitSink::GetIDsOfNames(REFIID, LPOLESTR *, UINT, LCID, DISPID *)
{
    return DISP_E_UNKNOWNNAME;
}

HRESULT STDMETHODCALLTYPE
QuitSink::Invoke(DISPID member, REFIID, LCID, WORD, DISPPARAMS *, VARIANT *result, EXCEPINFO *, UINT *)
{
    if (result) {
        VariantInit(result);
    }
    if (member == dispidQuit && m_onQuit) {
        // Keep the handler alive even if it detaches this sink while it runs.
        const auto onQuit = m_onQuit;
        onQuit();
    }
    return S_OK;
}

} // namespace word::com
