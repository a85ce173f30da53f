// The stand-in "Word.Application" automation server for the Word host's tests.
//   fakeword /RegServer     register it (and its event type library) in the machine's classes
//   fakeword /UnregServer   remove the registration
//   fakeword /NoServe       end at once (the registered class that cannot start)
//   fakeword [-Embedding]   serve: started by COM (-Embedding) or by a test, as the running Word
//   fakeword /RegisterAfter:MS   serve, but become the running Word only MS milliseconds after starting
//   fakeword /NeverRegister      serve, but never become the running Word (as a Word run as administrator
//                                looks to a program that is not)
// It ends on Application.Quit, on the test member TonvaleExit, or after a minute without calls.

#include "fakeword.h"
#include "wordobjects.h"

#include <objbase.h>
#include <oleauto.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace
{

using namespace fakeword;

constexpr DWORD idleLimit = 60000; // milliseconds without a call before the server gives up

const IID DIID_ApplicationEvents4 = {0x00020A01, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

std::wstring guidText(const GUID &guid)
{
    wchar_t text[64];
    StringFromGUID2(guid, text, 64);
    return text;
}

std::wstring exePath()
{
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

bool setValue(const std::wstring &key, const wchar_t *name, const std::wstring &value)
{
    const std::wstring full = L"Software\\Classes\\" + key;
    return RegSetKeyValueW(HKEY_LOCAL_MACHINE,
                           full.c_str(),
                           name,
                           REG_SZ,
                           value.c_str(),
                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)))
        == ERROR_SUCCESS;
}

void deleteKey(const std::wstring &key)
{
    const std::wstring full = L"Software\\Classes\\" + key;
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, full.c_str());
}

// A type library holding Word's event interface ApplicationEvents4 with its Quit event, as Word's
// own library does: COM needs it to carry the event interface between processes.
HRESULT writeEventLibrary(const std::wstring &path)
{
    ICreateTypeLib2 *library = nullptr;
    HRESULT hr = CreateTypeLib2(SYS_WIN64, path.c_str(), &library);
    if (FAILED(hr)) {
        return hr;
    }
    library->SetGuid(libraryId);
    library->SetName(const_cast<LPOLESTR>(L"TonvaleFakeWord"));
    library->SetVersion(1, 0);
    library->SetLcid(LOCALE_NEUTRAL);

    ICreateTypeInfo *events = nullptr;
    hr = library->CreateTypeInfo(const_cast<LPOLESTR>(L"ApplicationEvents4"), TKIND_DISPATCH, &events);
    ITypeLib *stdole = nullptr;
    ITypeInfo *dispatch = nullptr;
    if (SUCCEEDED(hr)) {
        events->SetGuid(DIID_ApplicationEvents4);
        hr = LoadTypeLib(L"stdole2.tlb", &stdole);
    }
    if (SUCCEEDED(hr)) {
        hr = stdole->GetTypeInfoOfGuid(IID_IDispatch, &dispatch);
    }
    if (SUCCEEDED(hr)) {
        HREFTYPE base = 0;
        hr = events->AddRefTypeInfo(dispatch, &base);
        if (SUCCEEDED(hr)) {
            hr = events->AddImplType(0, base);
        }
    }
    if (SUCCEEDED(hr)) {
        FUNCDESC quit{};
        quit.memid = 2;
        quit.funckind = FUNC_DISPATCH;
        quit.invkind = INVOKE_FUNC;
        quit.callconv = CC_STDCALL;
        quit.elemdescFunc.tdesc.vt = VT_VOID;
        hr = events->AddFuncDesc(0, &quit);
        LPOLESTR names[] = {const_cast<LPOLESTR>(L"Quit")};
        if (SUCCEEDED(hr)) {
            hr = events->SetFuncAndParamNames(0, names, 1);
        }
    }
    if (SUCCEEDED(hr)) {
        hr = events->LayOut();
    }
    if (SUCCEEDED(hr)) {
        hr = library->SaveAllChanges();
    }
    if (dispatch) {
        dispatch->Release();
    }
    if (stdole) {
        stdole->Release();
    }
    if (events) {
        events->Release();
    }
    library->Release();
    return hr;
}

int registerServer()
{
    const std::wstring exe = exePath();
    const std::wstring clsid = guidText(classId);
    bool ok = setValue(std::wstring(progId) + L"\\CLSID", nullptr, clsid);
    ok = ok && setValue(L"CLSID\\" + clsid, nullptr, L"Tonvale stand-in for Microsoft Word");
    ok = ok && setValue(L"CLSID\\" + clsid + L"\\LocalServer32", nullptr, L"\"" + exe + L"\"");
    ok = ok && setValue(L"CLSID\\" + clsid + L"\\ProgID", nullptr, progId);

    // Installed, but its server program ends at once without serving: starting it fails.
    const std::wstring broken = guidText(brokenClassId);
    ok = ok && setValue(std::wstring(brokenProgId) + L"\\CLSID", nullptr, broken);
    ok = ok && setValue(L"CLSID\\" + broken + L"\\LocalServer32", nullptr, L"\"" + exe + L"\" /NoServe");
    if (!ok) {
        std::fprintf(stderr, "fakeword: cannot write the class registration\n");
        return 1;
    }

    std::wstring library = exe.substr(0, exe.find_last_of(L"\\/") + 1) + L"fakeword.tlb";
    HRESULT hr = writeEventLibrary(library);
    ITypeLib *loaded = nullptr;
    if (SUCCEEDED(hr)) {
        hr = LoadTypeLibEx(library.c_str(), REGKIND_REGISTER, &loaded);
    }
    if (FAILED(hr)) {
        std::fprintf(stderr,
                     "fakeword: cannot register the event type library (0x%08lX)\n",
                     static_cast<unsigned long>(hr));
        return 1;
    }
    loaded->Release();
    std::printf("fakeword: registered %ls\n", exe.c_str());
    return 0;
}

int unregisterServer()
{
    deleteKey(progId);
    deleteKey(brokenProgId);
    deleteKey(L"CLSID\\" + guidText(classId));
    deleteKey(L"CLSID\\" + guidText(brokenClassId));
    UnRegisterTypeLib(libraryId, 1, 0, LOCALE_NEUTRAL, SYS_WIN64);
    return 0;
}

class ClassFactory final : public IClassFactory
{
public:
    explicit ClassFactory(IDispatch *application)
        : m_application(application)
    {
    }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **object) override
    {
        if (iid == IID_IUnknown || iid == IID_IClassFactory) {
            *object = static_cast<IClassFactory *>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override
    {
        return 2;
    }
    ULONG STDMETHODCALLTYPE Release() override
    {
        return 1;
    }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown *outer, REFIID iid, void **object) override
    {
        if (outer) {
            *object = nullptr;
            return CLASS_E_NOAGGREGATION;
        }
        return m_application->QueryInterface(iid, object);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override
    {
        return S_OK;
    }

private:
    IDispatch *m_application;
};

// Refuses incoming calls with "retry later" while the tests ask for it, as a busy Word does.
class BusyFilter final : public IMessageFilter
{
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **object) override
    {
        if (iid == IID_IUnknown || iid == IID_IMessageFilter) {
            *object = static_cast<IMessageFilter *>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override
    {
        return 2;
    }
    ULONG STDMETHODCALLTYPE Release() override
    {
        return 1;
    }
    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) override
    {
        server().lastActivity = GetTickCount();
        if (server().rejectCalls > 0) {
            --server().rejectCalls;
            ++server().rejected;
            return SERVERCALL_RETRYLATER;
        }
        return SERVERCALL_ISHANDLED;
    }
    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD, DWORD) override
    {
        return static_cast<DWORD>(-1);
    }
    DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD, DWORD) override
    {
        return PENDINGMSG_WAITDEFPROCESS;
    }
};

// Keeps serving window and COM messages for a while, as a Word still starting up does.
void pumpFor(DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

constexpr DWORD neverRegister = static_cast<DWORD>(-1);

int serve(bool embedded, DWORD registerAfter)
{
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
        return 1;
    }
    Server &s = server();
    s.embedded = embedded;
    s.visible = !embedded; // a Word started by automation stays hidden until told otherwise
    s.thread = GetCurrentThreadId();
    s.lastActivity = GetTickCount();
    BusyFilter filter;
    IMessageFilter *previous = nullptr;
    CoRegisterMessageFilter(&filter, &previous);

    IDispatch *application = newApplication();
    ClassFactory factory(application);
    DWORD classCookie = 0;
    DWORD activeCookie = 0;
    HRESULT hr = S_OK;
    if (registerAfter != neverRegister) {
        pumpFor(registerAfter);
        hr = CoRegisterClassObject(classId, &factory, CLSCTX_LOCAL_SERVER, REGCLS_SINGLEUSE, &classCookie);
        if (SUCCEEDED(hr)) {
            hr = RegisterActiveObject(application, classId, ACTIVEOBJECT_STRONG, &activeCookie);
        }
    }
    if (FAILED(hr)) {
        std::fprintf(stderr, "fakeword: cannot register (0x%08lX)\n", static_cast<unsigned long>(hr));
        return 1;
    }

    SetTimer(nullptr, 0, 1000, nullptr);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.hwnd == nullptr && message.message == userQuitMessage) {
            s.disconnected = s.disconnectOnQuit;
            fireQuit();
            break;
        }
        if (message.hwnd == nullptr && message.message == WM_TIMER && GetTickCount() - s.lastActivity > idleLimit) {
            break;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }

    if (activeCookie) {
        RevokeActiveObject(activeCookie, nullptr);
    }
    if (classCookie) {
        CoRevokeClassObject(classCookie);
    }
    CoDisconnectObject(application, 0);
    for (auto &[cookie, sink] : s.sinks) {
        sink->Release();
    }
    s.sinks.clear();
    application->Release();
    CoRegisterMessageFilter(previous, nullptr);
    CoUninitialize();
    return 0;
}

} // namespace

int wmain(int argc, wchar_t **argv)
{
    bool embedded = false;
    DWORD registerAfter = 0;
    for (int i = 1; i < argc; ++i) {
        const wchar_t *arg = argv[i];
        if (*arg == L'-' || *arg == L'/') {
            ++arg;
        }
        if (_wcsicmp(arg, L"RegServer") == 0) {
            return registerServer();
        }
        if (_wcsicmp(arg, L"NoServe") == 0) {
            return 0;
        }
        if (_wcsicmp(arg, L"UnregServer") == 0) {
            return unregisterServer();
        }
        if (_wcsicmp(arg, L"Embedding") == 0 || _wcsicmp(arg, L"Automation") == 0) {
            embedded = true;
        }
        if (_wcsicmp(arg, L"NeverRegister") == 0) {
            registerAfter = neverRegister;
        }
        if (_wcsnicmp(arg, L"RegisterAfter:", 14) == 0) {
            registerAfter = static_cast<DWORD>(_wtoi(arg + 14));
        }
    }
    return serve(embedded, registerAfter);
}
