#pragma once

// The receiver of Word's application events: it answers IUnknown, IDispatch and Word's
// ApplicationEvents4 interface, and passes on Quit; every other event is ignored.

#include "comobject.h"
#include "dispatch.h"

#include <functional>

namespace word::com
{

/// ApplicationEvents4 {00020A01-0000-0000-C000-000000000046}, the source interface of Word's Application.
extern const IID DIID_ApplicationEvents4;
/// The DISPID of ApplicationEvents4.Quit.
inline constexpr DISPID dispidQuit = 2;

class QuitSink final : public ComObject<IDispatch>
{
public:
    explicit QuitSink(std::function<void()> onQuit);

    /// Stop passing events on (the host is going away; Word may still hold the sink).
    void detach();

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo **info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR *, UINT, LCID, DISPID *) override;
    HRESULT STDMETHODCALLTYPE
    Invoke(DISPID member, REFIID, LCID, WORD, DISPPARAMS *, VARIANT *, EXCEPINFO *, UINT *) override;

private:
    bool answers(REFIID iid) const override;

    std::function<void()> m_onQuit;
};

} // namespace word::com
