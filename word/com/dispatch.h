#pragma once

// Late binding over IDispatch: names resolved with GetIDsOfNames at run time, arguments as VARIANTs,
// failures turned into word::AutomationError with the automation server's own description.

#include "word/automation.h"

#include <windows.h>

#include <oaidl.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace word::com
{

/// UTF-8 <-> UTF-16 (invalid sequences become U+FFFD).
std::wstring toWide(std::string_view utf8);
std::string toUtf8(std::wstring_view text);

/// A failed call with the code it failed with (the server's own code for an error it described).
class CallError : public AutomationError
{
public:
    CallError(HRESULT code, const std::string &description)
        : AutomationError(description)
        , m_code(code)
    {
    }
    HRESULT code() const
    {
        return m_code;
    }

private:
    HRESULT m_code;
};

/// The text of a call given up because Word did not answer it in time.
inline constexpr const char *unansweredText =
    "Microsoft Word did not answer. It may be showing a dialog box: switch to Word, close the dialog box, and try "
    "again.";

/// True for the codes of a server that has gone away (it quit, or its process ended).
bool isDisconnected(HRESULT hr);

/// A readable description of an HRESULT: the system's text (or a known meaning) and the code, e.g.
/// "The RPC server is unavailable. (0x800706BA)".
std::string describeResult(HRESULT hr);

/// An owning COM interface pointer.
template<class T> class ComPtr
{
public:
    ComPtr() = default;
    /// Takes over a reference the caller owns.
    explicit ComPtr(T *p)
        : m_p(p)
    {
    }
    ComPtr(const ComPtr &other)
        : m_p(other.m_p)
    {
        if (m_p) {
            m_p->AddRef();
        }
    }
    ComPtr(ComPtr &&other) noexcept
        : m_p(std::exchange(other.m_p, nullptr))
    {
    }
    ComPtr &operator=(ComPtr other) noexcept
    {
        std::swap(m_p, other.m_p);
        return *this;
    }
    ~ComPtr()
    {
        reset();
    }

    void reset()
    {
        if (m_p) {
            std::exchange(m_p, nullptr)->Release();
        }
    }
    T *get() const
    {
        return m_p;
    }
    T *operator->() const
    {
        return m_p;
    }
    explicit operator bool() const
    {
        return m_p != nullptr;
    }
    /// For out parameters: releases what is held and hands out the slot.
    T **put()
    {
        reset();
        return &m_p;
    }

private:
    T *m_p = nullptr;
};

/// An owning VARIANT.
class Variant
{
public:
    Variant()
    {
        VariantInit(&m_v);
    }
    Variant(const Variant &other);
    Variant(Variant &&other) noexcept;
    Variant &operator=(Variant other) noexcept;
    ~Variant()
    {
        VariantClear(&m_v);
    }

    static Variant int32(int32_t value); ///< VT_I4: Word's Long, its enums and font values
    static Variant int16(int16_t value); ///< VT_I2: an Integer argument
    static Variant boolean(bool value); ///< VT_BOOL: VARIANT_TRUE (-1) or VARIANT_FALSE
    static Variant string(std::string_view utf8); ///< VT_BSTR

    VARIANT *get()
    {
        return &m_v;
    }
    const VARIANT &value() const
    {
        return m_v;
    }
    VARTYPE type() const
    {
        return m_v.vt;
    }

private:
    VARIANT m_v;
};

/// One named argument of a method call, e.g. Replace:=2.
struct NamedArgument {
    const char *name;
    Variant value;
};

/// DISPIDs already resolved, by object type and member (and argument names): a type's DISPIDs are
/// fixed, so each name is asked for once.
class DispidCache
{
public:
    /// The DISPIDs of names on object (member first, then argument names); an empty vector when the
    /// object has no such member. Throws AutomationError on any other failure.
    const std::vector<DISPID> &
    lookup(IDispatch *object, const std::string &type, const std::vector<const char *> &names);

private:
    std::map<std::string, std::vector<DISPID>> m_ids;
};

/// An automation object of a known type ("Application", "Selection", "Find", ...) called late-bound.
/// Every failure throws AutomationError naming the call ("Selection.MoveDown: ...") unless the server
/// gave its own description, which is passed on as it stands.
class Dispatch
{
public:
    Dispatch(ComPtr<IDispatch> object, std::string type, DispidCache &cache);

    const std::string &type() const
    {
        return m_type;
    }
    IDispatch *get() const
    {
        return m_object.get();
    }

    /// True when the object has the member (GetIDsOfNames knows it).
    bool has(const char *member);
    /// Property get.
    Variant get(const char *member);
    /// Property get of an object-valued property: a new Dispatch of type type.
    Dispatch object(const char *member, std::string type);
    /// The same where Word may answer Nothing: then no Dispatch.
    std::optional<Dispatch> objectOrNothing(const char *member, std::string type);
    /// For Each over a collection (its _NewEnum): every item, as objects of type type.
    std::vector<Dispatch> items(const std::string &type);
    /// Property put: one argument named DISPID_PROPERTYPUT.
    void put(const char *member, Variant value);
    /// Method call with positional arguments (first to last) and then named arguments (in order).
    Variant call(const char *member, std::vector<Variant> positional = {}, std::vector<NamedArgument> named = {});

private:
    Variant invoke(const char *member, WORD flags, std::vector<Variant> &positional, std::vector<NamedArgument> &named);
    [[noreturn]] void fail(const char *member, HRESULT code, const std::string &description) const;
    /// The object in value (VT_DISPATCH or VT_UNKNOWN, not null) as a Dispatch of type type.
    Dispatch dispatchIn(const Variant &value, const char *member, std::string type) const;

    ComPtr<IDispatch> m_object;
    std::string m_type;
    DispidCache *m_cache;
};

/// The value as a 32-bit integer (converted if the server answered another numeric type); what names
/// the call for the error message.
int32_t toInt32(const Variant &value, const std::string &what);
/// The value as a Boolean (anything non-zero is True).
bool toBool(const Variant &value, const std::string &what);

} // namespace word::com
