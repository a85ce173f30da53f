#include "automationobject.h"

#include "word/automation.h"

#include <cwchar>

namespace fakeword
{

std::wstring wide(const std::string &utf8)
{
    if (utf8.empty()) {
        return {};
    }
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring result(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), result.data(), length);
    return result;
}

std::string utf8(const wchar_t *text, std::size_t length)
{
    if (length == 0) {
        return {};
    }
    const int size = static_cast<int>(length);
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, size, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, size, result.data(), bytes, nullptr, nullptr);
    return result;
}

std::vector<std::string> &callLog()
{
    static std::vector<std::string> log;
    return log;
}

std::function<HRESULT()> &callGate()
{
    static std::function<HRESULT()> gate;
    return gate;
}

namespace
{

std::string typeName(VARTYPE type)
{
    switch (type) {
    case VT_I2:
        return "I2";
    case VT_I4:
        return "I4";
    case VT_BOOL:
        return "BOOL";
    case VT_BSTR:
        return "BSTR";
    case VT_R8:
        return "R8";
    case VT_DISPATCH:
        return "DISPATCH";
    case VT_EMPTY:
        return "EMPTY";
    default:
        return "VT" + std::to_string(type);
    }
}

std::string describe(const VARIANT &value)
{
    std::string text = typeName(value.vt);
    switch (value.vt) {
    case VT_I2:
        return text + " " + std::to_string(value.iVal);
    case VT_I4:
        return text + " " + std::to_string(value.lVal);
    case VT_BOOL:
        return text + " " + std::to_string(value.boolVal);
    case VT_BSTR:
        return text + " " + utf8(value.bstrVal, SysStringLen(value.bstrVal));
    default:
        return text;
    }
}

VARIANT missing()
{
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_ERROR;
    value.scode = DISP_E_PARAMNOTFOUND;
    return value;
}

} // namespace

bool Arguments::given(std::size_t index) const
{
    return index < m_values.size()
        && !(m_values[index].vt == VT_ERROR && m_values[index].scode == DISP_E_PARAMNOTFOUND);
}

const VARIANT &Arguments::at(std::size_t index) const
{
    if (!given(index)) {
        throw static_cast<HRESULT>(DISP_E_PARAMNOTFOUND);
    }
    return m_values[index];
}

int32_t Arguments::int32(std::size_t index) const
{
    VARIANT converted;
    VariantInit(&converted);
    if (FAILED(VariantChangeType(&converted, const_cast<VARIANT *>(&at(index)), 0, VT_I4))) {
        throw static_cast<HRESULT>(DISP_E_TYPEMISMATCH);
    }
    return converted.lVal;
}

int32_t Arguments::int32Or(std::size_t index, int32_t fallback) const
{
    return given(index) ? int32(index) : fallback;
}

bool Arguments::boolean(std::size_t index) const
{
    return int32(index) != 0;
}

std::string Arguments::text(std::size_t index) const
{
    VARIANT converted;
    VariantInit(&converted);
    if (FAILED(VariantChangeType(&converted, const_cast<VARIANT *>(&at(index)), 0, VT_BSTR))) {
        throw static_cast<HRESULT>(DISP_E_TYPEMISMATCH);
    }
    std::string result = utf8(converted.bstrVal, SysStringLen(converted.bstrVal));
    VariantClear(&converted);
    return result;
}

AutomationObject::AutomationObject(std::string label, std::vector<Member> members)
    : m_label(std::move(label))
    , m_members(std::move(members))
{
}

HRESULT STDMETHODCALLTYPE AutomationObject::QueryInterface(REFIID iid, void **object)
{
    if (iid == IID_IUnknown || iid == IID_IDispatch) {
        *object = static_cast<IDispatch *>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE AutomationObject::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&m_refs));
}

ULONG STDMETHODCALLTYPE AutomationObject::Release()
{
    const LONG refs = InterlockedDecrement(&m_refs);
    if (refs == 0) {
        delete this;
    }
    return static_cast<ULONG>(refs);
}

HRESULT STDMETHODCALLTYPE AutomationObject::GetTypeInfoCount(UINT *count)
{
    *count = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE AutomationObject::GetTypeInfo(UINT, LCID, ITypeInfo **info)
{
    *info = nullptr;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE AutomationObject::GetIDsOfNames(REFIID, LPOLESTR *names, UINT count, LCID, DISPID *ids)
{
    for (UINT i = 0; i < count; ++i) {
        ids[i] = DISPID_UNKNOWN;
    }
    const Member *found = nullptr;
    for (std::size_t m = 0; m < m_members.size(); ++m) {
        if (_wcsicmp(m_members[m].name, names[0]) == 0) {
            found = &m_members[m];
            ids[0] = static_cast<DISPID>(m + 1);
        }
    }
    if (!found) {
        callLog().push_back(m_label + " unknown " + utf8(names[0], wcslen(names[0])));
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT hr = S_OK;
    for (UINT i = 1; i < count; ++i) {
        for (std::size_t p = 0; p < found->parameters.size(); ++p) {
            if (_wcsicmp(found->parameters[p], names[i]) == 0) {
                ids[i] = static_cast<DISPID>(p);
            }
        }
        if (ids[i] == DISPID_UNKNOWN) {
            hr = DISP_E_UNKNOWNNAME;
        }
    }
    return hr;
}

HRESULT STDMETHODCALLTYPE AutomationObject::Invoke(DISPID id,
                                                   REFIID,
                                                   LCID,
                                                   WORD flags,
                                                   DISPPARAMS *params,
                                                   VARIANT *result,
                                                   EXCEPINFO *error,
                                                   UINT *)
{
    if (id == DISPID_NEWENUM) {
        // For Each asks for the enumerator by its fixed DISPID, not by name.
        for (std::size_t m = 0; m < m_members.size(); ++m) {
            if (_wcsicmp(m_members[m].name, L"_NewEnum") == 0) {
                id = static_cast<DISPID>(m + 1);
            }
        }
    }
    if (id < 1 || static_cast<std::size_t>(id) > m_members.size()) {
        return DISP_E_MEMBERNOTFOUND;
    }
    const std::size_t index = static_cast<std::size_t>(id - 1);
    const Member &member = m_members[index];
    const Kind kind = (flags & DISPATCH_PROPERTYPUT) ? Kind::Put : (flags & DISPATCH_METHOD) ? Kind::Call : Kind::Get;

    // Unpack: named arguments come first in rgvarg, positional ones after them, last to first.
    const UINT named = params->cNamedArgs;
    const UINT positional = params->cArgs - named;
    std::vector<VARIANT> values(kind == Kind::Put ? 1 : std::max<std::size_t>(member.parameters.size(), positional),
                                missing());
    std::string shape;
    auto append = [&shape](const std::string &part) {
        shape += shape.empty() ? " " : ", ";
        shape += part;
    };
    for (UINT i = 0; i < positional; ++i) {
        const VARIANT &value = params->rgvarg[params->cArgs - 1 - i];
        if (i < values.size()) {
            values[i] = value;
        }
        append(describe(value));
    }
    for (UINT i = 0; i < named; ++i) {
        const DISPID parameter = params->rgdispidNamedArgs[i];
        const VARIANT &value = params->rgvarg[i];
        if (parameter == DISPID_PROPERTYPUT) {
            values[0] = value;
            append(describe(value));
        } else if (parameter >= 0 && static_cast<std::size_t>(parameter) < values.size()) {
            values[static_cast<std::size_t>(parameter)] = value;
            const wchar_t *name = member.parameters[static_cast<std::size_t>(parameter)];
            append(utf8(name, wcslen(name)) + ":=" + describe(value));
        } else {
            return DISP_E_PARAMNOTFOUND;
        }
    }
    if (member.logged) {
        static const char *const kinds[] = {"get", "put", "call"};
        callLog().push_back(m_label + "." + utf8(member.name, wcslen(member.name)) + " " + kinds[static_cast<int>(kind)]
                            + shape);
    }

    if (member.logged && callGate()) {
        if (const HRESULT hr = callGate()(); hr != S_OK) {
            return hr;
        }
    }
    try {
        VARIANT value = handle(index, kind, Arguments(std::move(values), member.name));
        if (result) {
            *result = value;
        } else {
            VariantClear(&value);
        }
        return S_OK;
    } catch (HRESULT hr) {
        return hr;
    } catch (const WordError &failure) {
        if (error) {
            *error = EXCEPINFO{};
            error->scode = DISP_E_EXCEPTION;
            error->bstrSource = SysAllocString(L"Microsoft Word");
            error->bstrDescription = SysAllocString(wide(failure.description).c_str());
        }
        return DISP_E_EXCEPTION;
    } catch (const word::AutomationError &failure) {
        if (error) {
            *error = EXCEPINFO{};
            error->scode = DISP_E_EXCEPTION;
            error->bstrSource = SysAllocString(L"Microsoft Word");
            error->bstrDescription = SysAllocString(wide(failure.what()).c_str());
        }
        return DISP_E_EXCEPTION;
    }
}

VARIANT int32Value(int32_t value)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = value;
    return v;
}

VARIANT boolValue(bool value)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BOOL;
    v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}

VARIANT textValue(const std::string &utf8Text)
{
    const std::wstring text = wide(utf8Text);
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return v;
}

VARIANT objectValue(IDispatch *object)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_DISPATCH;
    v.pdispVal = object;
    return v;
}

} // namespace fakeword
