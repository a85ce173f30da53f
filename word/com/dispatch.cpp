#include "dispatch.h"

#include "messagefilter.h"

#include <cstdio>

namespace word::com
{

std::wstring toWide(std::string_view utf8)
{
    if (utf8.empty()) {
        return {};
    }
    const int size = static_cast<int>(utf8.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring result(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, result.data(), length);
    return result;
}

std::string toUtf8(std::wstring_view text)
{
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, result.data(), length, nullptr, nullptr);
    return result;
}

namespace
{

// Meanings for the failures a Word client meets most, where the system's own text is missing or
// says little to a user.
const char *knownMeaning(HRESULT hr)
{
    switch (hr) {
    case RPC_E_CALL_REJECTED:
    case RPC_E_SERVERCALL_RETRYLATER:
        return "Microsoft Word is busy and did not accept the call.";
    case RPC_E_DISCONNECTED:
    case HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE):
    case HRESULT_FROM_WIN32(RPC_S_CALL_FAILED):
        return "Microsoft Word is no longer running.";
    case DISP_E_UNKNOWNNAME:
    case DISP_E_MEMBERNOTFOUND:
        return "This version of Microsoft Word does not support the operation.";
    case DISP_E_TYPEMISMATCH:
    case DISP_E_BADPARAMCOUNT:
    case DISP_E_PARAMNOTFOUND:
        return "Microsoft Word refused the arguments of the call.";
    case CO_E_CLASSSTRING:
    case REGDB_E_CLASSNOTREG:
        return "Microsoft Word is not installed.";
    case MK_E_UNAVAILABLE:
        return "Microsoft Word is not running.";
    default:
        return nullptr;
    }
}

std::string hex(HRESULT hr)
{
    char code[16];
    std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(hr));
    return code;
}

} // namespace

bool isDisconnected(HRESULT hr)
{
    return hr == RPC_E_DISCONNECTED || hr == HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE)
        || hr == HRESULT_FROM_WIN32(RPC_S_CALL_FAILED) || hr == RPC_E_SERVER_DIED || hr == RPC_E_SERVER_DIED_DNE
        || hr == CO_E_OBJNOTCONNECTED;
}

std::string describeResult(HRESULT hr)
{
    std::string text;
    if (const char *meaning = knownMeaning(hr)) {
        text = meaning;
    } else {
        wchar_t *buffer = nullptr;
        const DWORD length =
            FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr,
                           static_cast<DWORD>(hr),
                           0,
                           reinterpret_cast<wchar_t *>(&buffer),
                           0,
                           nullptr);
        if (length > 0 && buffer) {
            text = toUtf8(std::wstring_view(buffer, length));
            while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) {
                text.pop_back();
            }
        }
        LocalFree(buffer);
        if (text.empty()) {
            text = "The call failed.";
        }
    }
    return text + " (" + hex(hr) + ")";
}

Variant::Variant(const Variant &other)
{
    VariantInit(&m_v);
    VariantCopy(&m_v, const_cast<VARIANT *>(&other.m_v)); // mingw declares the source non-const
}

Variant::Variant(Variant &&other) noexcept
    : m_v(other.m_v)
{
    VariantInit(&other.m_v);
}

Variant &Variant::operator=(Variant other) noexcept
{
    std::swap(m_v, other.m_v);
    return *this;
}

Variant Variant::int32(int32_t value)
{
    Variant v;
    v.m_v.vt = VT_I4;
    v.m_v.lVal = value;
    return v;
}

Variant Variant::int16(int16_t value)
{
    Variant v;
    v.m_v.vt = VT_I2;
    v.m_v.iVal = value;
    return v;
}

Variant Variant::boolean(bool value)
{
    Variant v;
    v.m_v.vt = VT_BOOL;
    v.m_v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}

Variant Variant::string(std::string_view utf8)
{
    const std::wstring wide = toWide(utf8);
    Variant v;
    v.m_v.vt = VT_BSTR;
    v.m_v.bstrVal = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    return v;
}

const std::vector<DISPID> &
DispidCache::lookup(IDispatch *object, const std::string &type, const std::vector<const char *> &names)
{
    std::string key = type;
    for (const char *name : names) {
        key += '.';
        key += name;
    }
    if (auto found = m_ids.find(key); found != m_ids.end()) {
        return found->second;
    }
    std::vector<std::wstring> wide;
    for (const char *name : names) {
        wide.push_back(toWide(name));
    }
    std::vector<LPOLESTR> pointers;
    for (auto &name : wide) {
        pointers.push_back(name.data());
    }
    std::vector<DISPID> ids(names.size(), DISPID_UNKNOWN);
    HRESULT hr = E_FAIL;
    {
        OutgoingCall watch;
        hr = object->GetIDsOfNames(IID_NULL,
                                   pointers.data(),
                                   static_cast<UINT>(pointers.size()),
                                   LOCALE_USER_DEFAULT,
                                   ids.data());
    }
    if (hr == DISP_E_UNKNOWNNAME || hr == DISP_E_MEMBERNOTFOUND) {
        ids.clear();
    } else if (hr == RPC_E_CALL_CANCELED) {
        throw CallError(hr, unansweredText);
    } else if (FAILED(hr)) {
        throw CallError(hr, key + ": " + describeResult(hr));
    }
    return m_ids.emplace(std::move(key), std::move(ids)).first->second;
}

Dispatch::Dispatch(ComPtr<IDispatch> object, std::string type, DispidCache &cache)
    : m_object(std::move(object))
    , m_type(std::move(type))
    , m_cache(&cache)
{
}

bool Dispatch::has(const char *member)
{
    return !m_cache->lookup(m_object.get(), m_type, {member}).empty();
}

Variant Dispatch::get(const char *member)
{
    std::vector<Variant> none;
    std::vector<NamedArgument> noNames;
    return invoke(member, DISPATCH_PROPERTYGET, none, noNames);
}

Dispatch Dispatch::object(const char *member, std::string type)
{
    Variant result = get(member);
    if (result.type() != VT_DISPATCH || !result.value().pdispVal) {
        fail(member, E_POINTER, "Microsoft Word returned no object.");
    }
    IDispatch *object = result.value().pdispVal;
    object->AddRef();
    return Dispatch(ComPtr<IDispatch>(object), std::move(type), *m_cache);
}

std::optional<Dispatch> Dispatch::objectOrNothing(const char *member, std::string type)
{
    Variant result = get(member);
    if ((result.type() != VT_DISPATCH && result.type() != VT_UNKNOWN) || !result.value().pdispVal) {
        return std::nullopt;
    }
    return dispatchIn(result, member, std::move(type));
}

std::vector<Dispatch> Dispatch::items(const std::string &type)
{
    static const char *const member = "_NewEnum";
    Variant result;
    DISPPARAMS none{};
    EXCEPINFO error{};
    HRESULT hr = E_FAIL;
    {
        OutgoingCall watch;
        hr = m_object->Invoke(DISPID_NEWENUM,
                              IID_NULL,
                              LOCALE_USER_DEFAULT,
                              DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                              &none,
                              result.get(),
                              &error,
                              nullptr);
    }
    SysFreeString(error.bstrDescription);
    SysFreeString(error.bstrSource);
    SysFreeString(error.bstrHelpFile);
    if (hr == RPC_E_CALL_CANCELED) {
        throw CallError(hr, unansweredText);
    }
    if (FAILED(hr)) {
        fail(member, hr, describeResult(hr));
    }
    if ((result.type() != VT_UNKNOWN && result.type() != VT_DISPATCH) || !result.value().punkVal) {
        fail(member, E_POINTER, "Microsoft Word returned no object.");
    }
    ComPtr<IEnumVARIANT> enumerator;
    hr = result.value().punkVal->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void **>(enumerator.put()));
    if (FAILED(hr)) {
        fail(member, hr, describeResult(hr));
    }
    std::vector<Dispatch> found;
    for (;;) {
        Variant item;
        ULONG fetched = 0;
        {
            OutgoingCall watch;
            hr = enumerator->Next(1, item.get(), &fetched);
        }
        if (hr == RPC_E_CALL_CANCELED) {
            throw CallError(hr, unansweredText);
        }
        if (FAILED(hr)) {
            fail(member, hr, describeResult(hr));
        }
        if (hr != S_OK || fetched == 0) {
            return found;
        }
        if ((item.type() == VT_DISPATCH || item.type() == VT_UNKNOWN) && item.value().punkVal) {
            found.push_back(dispatchIn(item, member, type));
        }
    }
}

Dispatch Dispatch::dispatchIn(const Variant &value, const char *member, std::string type) const
{
    ComPtr<IDispatch> object;
    const HRESULT hr = value.value().punkVal->QueryInterface(IID_IDispatch, reinterpret_cast<void **>(object.put()));
    if (FAILED(hr)) {
        fail(member, hr, describeResult(hr));
    }
    return Dispatch(std::move(object), std::move(type), *m_cache);
}

void Dispatch::put(const char *member, Variant value)
{
    std::vector<Variant> none;
    std::vector<NamedArgument> named;
    named.push_back({nullptr, std::move(value)});
    invoke(member, DISPATCH_PROPERTYPUT, none, named);
}

Variant Dispatch::call(const char *member, std::vector<Variant> positional, std::vector<NamedArgument> named)
{
    return invoke(member, DISPATCH_METHOD, positional, named);
}

Variant
Dispatch::invoke(const char *member, WORD flags, std::vector<Variant> &positional, std::vector<NamedArgument> &named)
{
    const bool isPut = flags == DISPATCH_PROPERTYPUT;
    std::vector<const char *> names{member};
    if (!isPut) {
        for (const auto &argument : named) {
            names.push_back(argument.name);
        }
    }
    const std::vector<DISPID> &ids = m_cache->lookup(m_object.get(), m_type, names);
    if (ids.empty()) {
        fail(member, DISP_E_UNKNOWNNAME, describeResult(DISP_E_UNKNOWNNAME));
    }

    // rgvarg holds the named arguments first, in the order of their DISPIDs, then the positional
    // ones from last to first.
    std::vector<VARIANT> args;
    std::vector<DISPID> namedIds;
    for (std::size_t i = 0; i < named.size(); ++i) {
        args.push_back(named[i].value.value());
        namedIds.push_back(isPut ? DISPID_PROPERTYPUT : ids[i + 1]);
    }
    for (auto it = positional.rbegin(); it != positional.rend(); ++it) {
        args.push_back(it->value());
    }
    DISPPARAMS params{};
    params.rgvarg = args.empty() ? nullptr : args.data();
    params.cArgs = static_cast<UINT>(args.size());
    params.rgdispidNamedArgs = namedIds.empty() ? nullptr : namedIds.data();
    params.cNamedArgs = static_cast<UINT>(namedIds.size());

    Variant result;
    EXCEPINFO error{};
    UINT argError = 0;
    HRESULT hr = E_FAIL;
    {
        OutgoingCall watch;
        hr = m_object->Invoke(ids[0],
                              IID_NULL,
                              LOCALE_USER_DEFAULT,
                              flags,
                              &params,
                              isPut ? nullptr : result.get(),
                              &error,
                              &argError);
    }
    if (hr == RPC_E_CALL_CANCELED) {
        throw CallError(hr, unansweredText);
    }
    if (hr == DISP_E_EXCEPTION) {
        if (error.pfnDeferredFillIn) {
            error.pfnDeferredFillIn(&error);
        }
        std::string description;
        if (error.bstrDescription) {
            description = toUtf8(std::wstring_view(error.bstrDescription, SysStringLen(error.bstrDescription)));
        }
        const HRESULT code = error.scode != 0 ? error.scode : static_cast<HRESULT>(error.wCode);
        SysFreeString(error.bstrDescription);
        SysFreeString(error.bstrSource);
        SysFreeString(error.bstrHelpFile);
        if (description.empty()) {
            fail(member, code, describeResult(code));
        }
        // Word's own text reaches the user as it stands.
        throw CallError(code, description);
    }
    if (FAILED(hr)) {
        fail(member, hr, describeResult(hr));
    }
    return result;
}

void Dispatch::fail(const char *member, HRESULT code, const std::string &description) const
{
    throw CallError(code, m_type + "." + member + ": " + description);
}

int32_t toInt32(const Variant &value, const std::string &what)
{
    if (value.type() == VT_I4) {
        return value.value().lVal;
    }
    if (value.type() == VT_EMPTY) {
        return 0;
    }
    Variant converted;
    if (FAILED(VariantChangeType(converted.get(), const_cast<VARIANT *>(&value.value()), 0, VT_I4))) {
        throw AutomationError(what + ": Microsoft Word returned a value that is not a number.");
    }
    return converted.value().lVal;
}

bool toBool(const Variant &value, const std::string &what)
{
    if (value.type() == VT_BOOL) {
        return value.value().boolVal != VARIANT_FALSE;
    }
    return toInt32(value, what) != 0;
}

} // namespace word::com
