#include "wordobjects.h"

#include <olectl.h>

#include <string>

namespace fakeword
{

namespace
{

const IID DIID_ApplicationEvents4 = {0x00020A01, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

constexpr DISPID dispidQuit = 2;

[[noreturn]] void notSupported()
{
    throw static_cast<HRESULT>(DISP_E_MEMBERNOTFOUND);
}

void expect(Kind actual, Kind wanted)
{
    if (actual != wanted) {
        notSupported();
    }
}

VARIANT none()
{
    VARIANT v;
    VariantInit(&v);
    return v;
}

std::optional<int32_t> optionalInt(const Arguments &args, std::size_t index)
{
    if (args.given(index)) {
        return args.int32(index);
    }
    return std::nullopt;
}

word::FontProperty fontProperty(std::size_t index)
{
    static const word::FontProperty properties[] = {word::FontProperty::Bold,
                                                    word::FontProperty::Italic,
                                                    word::FontProperty::Underline,
                                                    word::FontProperty::Color};
    return properties[index];
}

std::vector<Member> fontMembers()
{
    return {{L"Bold", {}}, {L"Italic", {}}, {L"Underline", {}}, {L"Color", {}}};
}

class SelectionFont final : public AutomationObject
{
public:
    SelectionFont()
        : AutomationObject("Selection.Font", fontMembers())
    {
    }

protected:
    VARIANT handle(std::size_t index, Kind kind, const Arguments &) override
    {
        expect(kind, Kind::Get);
        return int32Value(server().host.selection()->font(fontProperty(index)));
    }
};

class FindFont final : public AutomationObject
{
public:
    explicit FindFont(bool replacement)
        : AutomationObject(replacement ? "Find.Replacement.Font" : "Find.Font", fontMembers())
        , m_replacement(replacement)
    {
    }

protected:
    VARIANT handle(std::size_t index, Kind kind, const Arguments &args) override
    {
        expect(kind, Kind::Put);
        auto find = server().host.selection()->find();
        if (m_replacement) {
            find->setReplacementFont(fontProperty(index), args.int32(0));
        } else {
            find->setFont(fontProperty(index), args.int32(0));
        }
        return none();
    }

private:
    bool m_replacement;
};

class Replacement final : public AutomationObject
{
public:
    Replacement()
        : AutomationObject("Find.Replacement", {{L"Text", {}}, {L"Font", {}}, {L"ClearFormatting", {}}})
    {
    }

protected:
    VARIANT handle(std::size_t index, Kind kind, const Arguments &args) override
    {
        auto find = server().host.selection()->find();
        switch (index) {
        case 0:
            expect(kind, Kind::Put);
            find->setReplacementText(args.text(0));
            return none();
        case 1:
            expect(kind, Kind::Get);
            return objectValue(new FindFont(true));
        default:
            expect(kind, Kind::Call);
            find->ClearReplacementFormatting();
            return none();
        }
    }
};

class FindObject final : public AutomationObject
{
public:
    FindObject()
        : AutomationObject("Find",
                           {{L"Text", {}},
                            {L"Forward", {}},
                            {L"Wrap", {}},
                            {L"Format", {}},
                            {L"MatchCase", {}},
                            {L"MatchWholeWord", {}},
                            {L"MatchWildcards", {}},
                            {L"MatchSoundsLike", {}},
                            {L"MatchAllWordForms", {}},
                            {L"Font", {}},
                            {L"Replacement", {}},
                            {L"ClearFormatting", {}},
                            {L"Execute",
                             {L"FindText",
                              L"MatchCase",
                              L"MatchWholeWord",
                              L"MatchWildcards",
                              L"MatchSoundsLike",
                              L"MatchAllWordForms",
                              L"Forward",
                              L"Wrap",
                              L"Format",
                              L"ReplaceWith",
                              L"Replace",
                              L"MatchKashida",
                              L"MatchDiacritics",
                              L"MatchAlefHamza",
                              L"MatchControl"}}})
    {
    }

protected:
    VARIANT handle(std::size_t index, Kind kind, const Arguments &args) override
    {
        auto find = server().host.selection()->find();
        if (index <= 8) {
            expect(kind, Kind::Put);
        }
        switch (index) {
        case 0:
            find->setText(args.text(0));
            return none();
        case 1:
            find->setForward(args.boolean(0));
            return none();
        case 2:
            find->setWrap(args.int32(0));
            return none();
        case 3:
            find->setFormat(args.boolean(0));
            return none();
        case 4:
            find->setMatchCase(args.boolean(0));
            return none();
        case 5:
            find->setMatchWholeWord(args.boolean(0));
            return none();
        case 6:
            find->setMatchWildcards(args.boolean(0));
            return none();
        case 7:
            find->setMatchSoundsLike(args.boolean(0));
            return none();
        case 8:
            find->setMatchAllWordForms(args.boolean(0));
            return none();
        case 9:
            expect(kind, Kind::Get);
            return objectValue(new FindFont(false));
        case 10:
            expect(kind, Kind::Get);
            return objectValue(new Replacement);
        case 11:
            expect(kind, Kind::Call);
            find->ClearFormatting();
            return none();
        default: {
            expect(kind, Kind::Call);
            constexpr std::size_t replace = 10;
            for (std::size_t i = 0; i < args.count(); ++i) {
                if (i != replace && args.given(i)) {
                    throw WordError{"The stand-in takes only the Replace argument of Find.Execute."};
                }
            }
            return boolValue(find->Execute(args.int32Or(replace, word::wdReplaceNone)));
        }
        }
    }
};

class SelectionObject final : public AutomationObject
{
public:
    SelectionObject()
        : AutomationObject("Selection",
                           {{L"Start", {}},
                            {L"End", {}},
                            {L"Font", {}},
                            {L"MoveLeft", {L"Unit", L"Count", L"Extend"}},
                            {L"MoveRight", {L"Unit", L"Count", L"Extend"}},
                            {L"MoveUp", {L"Unit", L"Count", L"Extend"}},
                            {L"MoveDown", {L"Unit", L"Count", L"Extend"}},
                            {L"Cut", {}},
                            {L"PasteAndFormat", {L"Type"}},
                            {L"Delete", {L"Unit", L"Count"}},
                            {L"Find", {}}})
    {
    }

protected:
    VARIANT handle(std::size_t index, Kind kind, const Arguments &args) override
    {
        auto selection = server().host.selection();
        if (index <= 2 || index == 10) {
            expect(kind, Kind::Get);
        } else {
            expect(kind, Kind::Call);
        }
        const auto count = [&args] {
            return static_cast<int16_t>(args.int32Or(1, 1));
        };
        switch (index) {
        case 0:
            return int32Value(selection->Start());
        case 1:
            return int32Value(selection->End());
        case 2:
            return objectValue(new SelectionFont);
        case 3:
            return int32Value(selection->MoveLeft(args.int32Or(0, word::wdCharacter), count(), optionalInt(args, 2)));
        case 4:
            return int32Value(selection->MoveRight(args.int32Or(0, word::wdCharacter), count(), optionalInt(args, 2)));
        case 5:
            return int32Value(selection->MoveUp(args.int32Or(0, word::wdLine), count(), optionalInt(args, 2)));
        case 6:
            return int32Value(selection->MoveDown(args.int32Or(0, word::wdLine), count(), optionalInt(args, 2)));
        case 7:
            selection->Cut();
            return none();
        case 8:
            selection->PasteAndFormat(args.int32Or(0, word::wdPasteDefault));
            return none();
        case 9:
            return int32Value(selection->Delete(args.int32Or(0, word::wdCharacter), count()));
        default:
            return objectValue(new FindObject);
        }
    }
};

class DocumentsObject final : public AutomationObject
{
public:
    DocumentsObject()
        : AutomationObject("Documents", {{L"Count", {}}})
    {
    }

protected:
    VARIANT handle(std::size_t, Kind kind, const Arguments &) override
    {
        expect(kind, Kind::Get);
        return int32Value(server().host.DocumentsCount());
    }
};

class DocumentObject final : public AutomationObject
{
public:
    DocumentObject()
        : AutomationObject(
            "Document",
            {{L"FollowHyperlink",
              {L"Address", L"SubAddress", L"NewWindow", L"AddHistory", L"ExtraInfo", L"Method", L"HeaderInfo"}}})
    {
    }

protected:
    VARIANT handle(std::size_t, Kind kind, const Arguments &args) override
    {
        expect(kind, Kind::Call);
        server().host.activeDocument()->FollowHyperlink(args.text(0), args.given(2) && args.boolean(2));
        return none();
    }
};

class UndoRecordObject final : public AutomationObject
{
public:
    UndoRecordObject()
        : AutomationObject("UndoRecord", {{L"StartCustomRecord", {L"Name"}}, {L"EndCustomRecord", {}}})
    {
    }

protected:
    VARIANT handle(std::size_t index, Kind kind, const Arguments &args) override
    {
        expect(kind, Kind::Call);
        if (index == 0) {
            server().host.StartUndoGroup(args.text(0));
        } else {
            server().host.EndUndoGroup();
        }
        return none();
    }
};

/// The Application's connection point for ApplicationEvents4: an object of its own.
class EventPoint final : public IConnectionPoint
{
public:
    explicit EventPoint(IConnectionPointContainer *container)
        : m_container(container)
    {
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **object) override
    {
        if (iid == IID_IUnknown || iid == IID_IConnectionPoint) {
            *object = static_cast<IConnectionPoint *>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    // Lives as long as the server.
    ULONG STDMETHODCALLTYPE AddRef() override
    {
        return 2;
    }
    ULONG STDMETHODCALLTYPE Release() override
    {
        return 1;
    }

    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID *iid) override
    {
        *iid = DIID_ApplicationEvents4;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer **container) override
    {
        *container = m_container;
        m_container->AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Advise(IUnknown *sink, DWORD *cookie) override
    {
        // As Word does: the receiver must answer the event interface itself.
        IDispatch *events = nullptr;
        const HRESULT hr = sink->QueryInterface(DIID_ApplicationEvents4, reinterpret_cast<void **>(&events));
        callLog().push_back(std::string("Application.Advise ApplicationEvents4 ") + (SUCCEEDED(hr) ? "ok" : "refused"));
        if (FAILED(hr)) {
            return CONNECT_E_CANNOTCONNECT;
        }
        *cookie = server().nextCookie++;
        server().sinks.emplace_back(*cookie, events);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override
    {
        auto &sinks = server().sinks;
        for (auto it = sinks.begin(); it != sinks.end(); ++it) {
            if (it->first == cookie) {
                it->second->Release();
                sinks.erase(it);
                callLog().push_back("Application.Unadvise");
                return S_OK;
            }
        }
        return CONNECT_E_NOCONNECTION;
    }
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections **connections) override
    {
        *connections = nullptr;
        return E_NOTIMPL;
    }

private:
    IConnectionPointContainer *m_container;
};

/// The Application's IConnectionPointContainer: part of the Application object (same identity).
class EventContainer final : public IConnectionPointContainer
{
public:
    explicit EventContainer(IDispatch *application)
        : m_application(application)
        , m_point(this)
    {
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **object) override
    {
        if (iid == IID_IConnectionPointContainer) {
            *object = static_cast<IConnectionPointContainer *>(this);
            AddRef();
            return S_OK;
        }
        return m_application->QueryInterface(iid, object);
    }
    ULONG STDMETHODCALLTYPE AddRef() override
    {
        return m_application->AddRef();
    }
    ULONG STDMETHODCALLTYPE Release() override
    {
        return m_application->Release();
    }

    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints **points) override
    {
        *points = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint **point) override
    {
        if (iid != DIID_ApplicationEvents4) {
            *point = nullptr;
            return CONNECT_E_NOCONNECTION;
        }
        *point = &m_point;
        return S_OK;
    }

private:
    IDispatch *m_application;
    EventPoint m_point;
};

class ApplicationObject final : public AutomationObject
{
public:
    ApplicationObject()
        : AutomationObject("Application",
                           {{L"Documents", {}},
                            {L"Selection", {}},
                            {L"ActiveDocument", {}},
                            {L"ScreenRefresh", {}},
                            {L"Quit", {L"SaveChanges", L"OriginalFormat", L"RouteDocument"}},
                            {L"UndoRecord", {}},
                            {L"Visible", {}},
                            {L"TonvaleOpen", {L"Notation"}, false},
                            {L"TonvaleText", {}, false},
                            {L"TonvaleSelect", {L"Start", L"End"}, false},
                            {L"TonvaleLog", {}, false},
                            {L"TonvaleClearLog", {}, false},
                            {L"TonvaleFailOn", {L"Operation", L"Description"}, false},
                            {L"TonvaleReject", {L"Count"}, false},
                            {L"TonvaleUserQuit", {}, false},
                            {L"TonvaleProcessId", {}, false},
                            {L"TonvaleExit", {}, false},
                            {L"TonvaleLinks", {}, false},
                            {L"TonvaleUndo", {}, false},
                            {L"TonvaleEmbedded", {}, false},
                            {L"TonvaleRejected", {}, false},
                            {L"TonvaleLinksFail", {L"Fail"}, false},
                            {L"TonvaleSelectionEnd", {}, false},
                            {L"TonvaleClearFaults", {}, false}})
        , m_events(this)
    {
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **object) override
    {
        if (iid == IID_IConnectionPointContainer) {
            return m_events.QueryInterface(iid, object);
        }
        return AutomationObject::QueryInterface(iid, object);
    }

protected:
    VARIANT handle(std::size_t index, Kind kind, const Arguments &args) override
    {
        Server &s = server();
        switch (index) {
        case 0:
            expect(kind, Kind::Get);
            return objectValue(new DocumentsObject);
        case 1:
            expect(kind, Kind::Get);
            s.host.selection(); // fails as Word does when no document is open
            return objectValue(new SelectionObject);
        case 2:
            expect(kind, Kind::Get);
            s.host.activeDocument();
            return objectValue(new DocumentObject);
        case 3:
            expect(kind, Kind::Call);
            s.host.ScreenRefresh();
            return none();
        case 4:
            expect(kind, Kind::Call);
            if (!s.quitting) {
                s.quitting = true;
                s.host.Quit();
                fireQuit();
                PostQuitMessage(0);
            }
            return none();
        case 5:
            expect(kind, Kind::Get);
            return objectValue(new UndoRecordObject);
        case 6:
            return boolValue(false);
        case 7:
            s.host.open(word::builtin::fromNotation(args.text(0)));
            return none();
        case 8: {
            const auto *doc = s.host.activeText();
            return textValue(doc ? word::builtin::toNotation(*doc) : std::string());
        }
        case 9:
            s.host.setSelection(args.int32(0), args.int32(1));
            return none();
        case 10: {
            std::string text;
            for (const auto &line : callLog()) {
                text += line;
                text += '\n';
            }
            return textValue(text);
        }
        case 11:
            callLog().clear();
            return none();
        case 12:
            s.host.failOn(args.text(0), args.text(1));
            return none();
        case 13:
            s.rejectCalls = args.int32(0);
            return none();
        case 14:
            PostThreadMessageW(s.thread, userQuitMessage, 0, 0);
            return none();
        case 15:
            return int32Value(static_cast<int32_t>(GetCurrentProcessId()));
        case 16:
            PostQuitMessage(0);
            return none();
        case 17: {
            std::string text;
            for (const auto &link : s.links) {
                text += link;
                text += '\n';
            }
            return textValue(text);
        }
        case 18:
            return boolValue(s.host.undo());
        case 19:
            return boolValue(s.embedded);
        case 20:
            return int32Value(s.rejected);
        case 21:
            s.linksFail = args.boolean(0);
            return none();
        case 22:
            return int32Value(s.host.selectionEnd());
        default:
            s.host.clearFaults();
            return none();
        }
    }

private:
    EventContainer m_events;
};

} // namespace

Server &server()
{
    static Server instance;
    return instance;
}

IDispatch *newApplication()
{
    static bool ready = false;
    if (!ready) {
        ready = true;
        server().host.setLinkOpener([](const std::string &address) {
            server().links.push_back(address);
            return !server().linksFail;
        });
    }
    return new ApplicationObject;
}

void fireQuit()
{
    auto sinks = server().sinks;
    callLog().push_back("Application.Quit event to " + std::to_string(sinks.size()));
    for (auto &[cookie, sink] : sinks) {
        sink->AddRef();
        DISPPARAMS noArguments{};
        sink->Invoke(dispidQuit,
                     IID_NULL,
                     LOCALE_USER_DEFAULT,
                     DISPATCH_METHOD,
                     &noArguments,
                     nullptr,
                     nullptr,
                     nullptr);
        sink->Release();
    }
}

} // namespace fakeword
