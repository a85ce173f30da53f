#pragma once

// A hand-written IDispatch: members and their parameter names in a table, GetIDsOfNames answered
// from it, and Invoke unpacking positional and named arguments into parameter order. Every call is
// written to the server's call log with its argument types as they arrived, so tests can check the
// shape of what a client sent.

#include <windows.h>

#include <oaidl.h>

#include <functional>
#include <string>
#include <vector>

namespace fakeword
{

/// How a member was invoked.
enum class Kind { Get, Put, Call };

/// One member: its name and parameter names (a parameter's DISPID is its index).
struct Member {
    const wchar_t *name;
    std::vector<const wchar_t *> parameters;
    bool logged = true; ///< false for the test-only members
};

/// The arguments of one call in parameter order; an omitted one is VT_ERROR / DISP_E_PARAMNOTFOUND.
class Arguments
{
public:
    Arguments(std::vector<VARIANT> values, const wchar_t *member)
        : m_values(std::move(values))
        , m_member(member)
    {
    }
    bool given(std::size_t index) const;
    int32_t int32(std::size_t index) const; ///< converted like Word does; throws if missing
    int32_t int32Or(std::size_t index, int32_t fallback) const;
    bool boolean(std::size_t index) const;
    std::string text(std::size_t index) const; ///< UTF-8
    std::size_t count() const
    {
        return m_values.size();
    }

private:
    const VARIANT &at(std::size_t index) const;
    std::vector<VARIANT> m_values;
    const wchar_t *m_member;
};

/// A failure to report as Word does: DISP_E_EXCEPTION with this description.
struct WordError {
    std::string description;
};

/// The owner of the call log: one line per call, "<Object>.<Member> <get|put|call> [<args>]" with
/// each argument "[Name:=]<type> <value>" (types I2, I4, BOOL, BSTR, ...), positional ones first.
std::vector<std::string> &callLog();

/// Asked before every logged (Word) member is carried out: S_OK lets the call through, anything else
/// is returned to the caller as the call's result. Unset: every call goes through.
std::function<HRESULT()> &callGate();

class AutomationObject : public IDispatch
{
public:
    /// label names the object in the log ("Selection", "Find.Replacement.Font").
    AutomationObject(std::string label, std::vector<Member> members);
    virtual ~AutomationObject() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo **info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR *names, UINT count, LCID, DISPID *ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member,
                                     REFIID,
                                     LCID,
                                     WORD flags,
                                     DISPPARAMS *params,
                                     VARIANT *result,
                                     EXCEPINFO *error,
                                     UINT *argError) override;

protected:
    /// Carries out member number index; returns the result (VT_EMPTY for none). Throws WordError or
    /// word::AutomationError for a failure Word would report, and HRESULT for a protocol error.
    virtual VARIANT handle(std::size_t index, Kind kind, const Arguments &args) = 0;

    const std::string &label() const
    {
        return m_label;
    }

private:
    LONG m_refs = 1;
    std::string m_label;
    std::vector<Member> m_members;
};

VARIANT int32Value(int32_t value);
VARIANT boolValue(bool value);
VARIANT textValue(const std::string &utf8);
/// Hands over one reference of object.
VARIANT objectValue(IDispatch *object);

std::wstring wide(const std::string &utf8);
std::string utf8(const wchar_t *text, std::size_t length);

} // namespace fakeword
