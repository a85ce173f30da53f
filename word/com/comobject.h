#pragma once

// IUnknown for Tonvale's own COM objects (the event sink, the message filter).

#include <windows.h>

#include <unknwn.h>

namespace word::com
{

/// A COM object made with new that implements Interface: it holds one reference when made (its maker's)
/// and deletes itself at its last Release. QueryInterface answers IUnknown and whatever answers() accepts.
template<typename Interface> class ComObject : public Interface
{
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **object) override
    {
        if (iid == IID_IUnknown || answers(iid)) {
            *object = static_cast<Interface *>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override
    {
        return static_cast<ULONG>(InterlockedIncrement(&m_refs));
    }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG refs = InterlockedDecrement(&m_refs);
        if (refs == 0) {
            delete this;
        }
        return static_cast<ULONG>(refs);
    }

protected:
    ComObject() = default;
    virtual ~ComObject() = default;
    /// Whether the object answers the interface iid (IUnknown aside).
    virtual bool answers(REFIID iid) const = 0;

private:
    LONG m_refs = 1;
};

} // namespace word::com
