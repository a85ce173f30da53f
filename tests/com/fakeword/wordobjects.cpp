#include "wordobjects.h"

#include "word/com/comobject.h"

#include <olectl.h>

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

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

void startRecord(const std::string &name)
{
    server().host.StartUndoGroup(name);
    ++server().undoLevel;
}

void endRecord()
{
    if (server().undoLevel == 0) {
        return;
    }
    --server().undoLevel;
    server().host.EndUndoGroup();
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
        return int32Value(selectedHost().selection()->font(fontProperty(index)));
    }
};

class FindFont final : public AutomationObject
{
public:
    FindFont(bool replacement, word::builtin::Host &target)
        : AutomationObject(replacement ? "Find.Replacement.Font" : "Find.Font", fontMembers())
        , m_replacement(replacement)
        , m_target(target)
    {
    }

protected:
    VARIANT handle(std::size_t index, Kind kind, const Arguments &args) override
    {
        expect(kind, Kind::Put);
        auto find = m_target.selection()->find();
        if (m_replacement) {
            find->setReplacementFont(fontProperty(index), args.int32(0));
        } else {
            find->setFont(fontProperty(index), args.int32(0));
        }
        return none();
    }

private:
    bool m_replacement;
    word::builtin::Host &m_target;
};

class Replacement final : public AutomationObject
{
public:
    explicit Replacement(word::builtin::Host &target)
        : AutomationObject("Find.Replacement", {{L"Text", {}}, {L"Font", {}}, {L"ClearFormatting", {}}})
        , m_target(target)
    {
    }

protected:
    VARIANT handle(std::size_t index, Kind kind, const Arguments &args) override
    {
        auto find = m_target.selection()->find();
        switch (index) {
        case 0:
            expect(kind, Kind::Put);
            find->setReplacementText(args.text(0));
            server().finds[&m_target].replacement = args.text(0);
            return none();
        case 1:
            expect(kind, Kind::Get);
            return objectValue(new FindFont(true, m_target));
        default:
            expect(kind, Kind::Call);
            find->ClearReplacementFormatting();
            return none();
        }
    }

private:
    word::builtin::Host &m_target;
};

// Word's wildcard specials, taken literally after a backslash.
bool isWildcardSpecial(char c)
{
    return std::string_view("[](){}*?<>!@\\").find(c) != std::string_view::npos;
}

bool isPunctuation(char c)
{
    return std::ispunct(static_cast<unsigned char>(c)) != 0;
}

/// A plain search as the kept options make it, as a wildcard pattern and replacement: ignored punctuation
/// and spaces drop out of the text, fuzzy matching ignores case, a prefix or suffix match must start or end
/// a word. Nothing when no kept option is on or the text keeps nothing.
std::optional<std::pair<std::string, std::string>> keptSearch(const FindMirror &mirror)
{
    const KeptOptions &kept = server().kept;
    if (mirror.wildcards
        || !(kept.matchPrefix || kept.matchSuffix || kept.ignorePunct || kept.ignoreSpace || kept.matchFuzzy)) {
        return std::nullopt;
    }
    std::string pattern = kept.matchPrefix ? "<" : "";
    for (const char c : mirror.text) {
        if ((kept.ignorePunct && isPunctuation(c)) || (kept.ignoreSpace && c == ' ')) {
            continue;
        }
        const auto byte = static_cast<unsigned char>(c);
        if (kept.matchFuzzy && std::isalpha(byte)) {
            pattern += '[';
            pattern += static_cast<char>(std::toupper(byte));
            pattern += static_cast<char>(std::tolower(byte));
            pattern += ']';
        } else {
            if (isWildcardSpecial(c)) {
                pattern += '\\';
            }
            pattern += c;
        }
    }
    if (pattern.empty() || pattern == "<") {
        return std::nullopt;
    }
    if (kept.matchSuffix) {
        pattern += '>';
    }
    std::string replacement;
    for (const char c : mirror.replacement) {
        if (c == '\\' || c == '^') {
            replacement += c;
        }
        replacement += c;
    }
    return std::make_pair(pattern, replacement);
}

class FindObject final : public AutomationObject
{
public:
    explicit FindObject(word::builtin::Host &target)
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
                              L"MatchControl"}},
                            {L"MatchPrefix", {}},
                            {L"MatchSuffix", {}},
                            {L"IgnorePunct", {}},
                            {L"IgnoreSpace", {}},
                            {L"MatchFuzzy", {}}})
        , m_target(target)
    {
    }

protected:
    VARIANT handle(std::size_t index, Kind kind, const Arguments &args) override
    {
        auto find = m_target.selection()->find();
        FindMirror &mirror = server().finds[&m_target];
        if (index <= 8) {
            expect(kind, Kind::Put);
        }
        switch (index) {
        case 0:
            find->setText(args.text(0));
            mirror.text = args.text(0);
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
            mirror.wildcards = args.boolean(0);
            return none();
        case 7:
            find->setMatchSoundsLike(args.boolean(0));
            return none();
        case 8:
            find->setMatchAllWordForms(args.boolean(0));
            return none();
        case 9:
            expect(kind, Kind::Get);
            return objectValue(new FindFont(false, m_target));
        case 10:
            expect(kind, Kind::Get);
            return objectValue(new Replacement(m_target));
        case 11:
            expect(kind, Kind::Call);
            find->ClearFormatting();
            return none();
        case 12: {
            expect(kind, Kind::Call);
            constexpr std::size_t replace = 10;
            for (std::size_t i = 0; i < args.count(); ++i) {
                if (i != replace && args.given(i)) {
                    throw WordError{"The stand-in takes only the Replace argument of Find.Execute."};
                }
            }
            const int32_t how = args.int32Or(replace, word::wdReplaceNone);
            const auto kept = keptSearch(mirror);
            if (!kept) {
                return boolValue(find->Execute(how));
            }
            // The kept options change what this search finds; the settings stay as the client made them.
            find->setMatchWildcards(true);
            find->setText(kept->first);
            find->setReplacementText(kept->second);
            bool found = false;
            try {
                found = find->Execute(how);
            } catch (...) {
                restore(*find, mirror);
                throw;
            }
            restore(*find, mirror);
            return boolValue(found);
        }
        default:
            return keptOption(index - 13, kind, args);
        }
    }

private:
    static void restore(word::Find &find, const FindMirror &mirror)
    {
        find.setMatchWildcards(mirror.wildcards);
        find.setText(mirror.text);
        find.setReplacementText(mirror.replacement);
    }

    static VARIANT keptOption(std::size_t which, Kind kind, const Arguments &args)
    {
        KeptOptions &kept = server().kept;
        bool *const options[] = {&kept.matchPrefix,
                                 &kept.matchSuffix,
                                 &kept.ignorePunct,
                                 &kept.ignoreSpace,
                                 &kept.matchFuzzy};
        bool &option = *options[which];
        if (kind == Kind::Put) {
            option = args.boolean(0);
            return none();
        }
        expect(kind, Kind::Get);
        return boolValue(option);
    }

    word::builtin::Host &m_target;
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
        auto selection = selectedHost().selection();
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
            return objectValue(new FindObject(selectedHost()));
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

/// A story's whole range: its type, the next story of the same type, and its own Find.
class RangeObject final : public AutomationObject
{
public:
    /// story: -1 the main text, else an index into the server's stories.
    explicit RangeObject(int story)
        : AutomationObject("Range", {{L"StoryType", {}}, {L"NextStoryRange", {}}, {L"Find", {}}})
        , m_story(story)
    {
    }

protected:
    VARIANT handle(std::size_t index, Kind kind, const Arguments &) override
    {
        expect(kind, Kind::Get);
        Server &s = server();
        switch (index) {
        case 0:
            return int32Value(m_story < 0 ? 1 : s.stories[static_cast<std::size_t>(m_story)]->type);
        case 1:
            if (m_story >= 0) {
                const int32_t type = s.stories[static_cast<std::size_t>(m_story)]->type;
                for (std::size_t i = static_cast<std::size_t>(m_story) + 1; i < s.stories.size(); ++i) {
                    if (s.stories[i]->type == type) {
                        return objectValue(new RangeObject(static_cast<int>(i)));
                    }
                }
            }
            return objectValue(nullptr); // Nothing
        default:
            return objectValue(
                new FindObject(m_story < 0 ? s.host : s.stories[static_cast<std::size_t>(m_story)]->host));
        }
    }

private:
    int m_story;
};

/// For Each over StoryRanges: the first story of each type present, the main text first.
class StoryEnumerator final : public word::com::ComObject<IEnumVARIANT>
{
public:
    explicit StoryEnumerator(std::vector<int> stories, std::size_t next = 0)
        : m_stories(std::move(stories))
        , m_next(next)
    {
    }

    HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT *items, ULONG *fetched) override
    {
        ULONG given = 0;
        while (given < count && m_next < m_stories.size()) {
            items[given++] = objectValue(new RangeObject(m_stories[m_next++]));
        }
        if (fetched) {
            *fetched = given;
        }
        return given == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override
    {
        m_next = std::min(m_stories.size(), m_next + count);
        return m_next < m_stories.size() ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override
    {
        m_next = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT **copy) override
    {
        *copy = new StoryEnumerator(m_stories, m_next);
        return S_OK;
    }

private:
    bool answers(REFIID iid) const override
    {
        return iid == IID_IEnumVARIANT;
    }

    std::vector<int> m_stories;
    std::size_t m_next;
};

class StoryRangesObject final : public AutomationObject
{
public:
    StoryRangesObject()
        : AutomationObject("StoryRanges", {{L"_NewEnum", {}}, {L"Count", {}}})
    {
    }

protected:
    VARIANT handle(std::size_t index, Kind, const Arguments &) override
    {
        std::vector<int> first{-1};
        std::vector<int32_t> types{1};
        const auto &stories = server().stories;
        for (std::size_t i = 0; i < stories.size(); ++i) {
            if (std::find(types.begin(), types.end(), stories[i]->type) == types.end()) {
                types.push_back(stories[i]->type);
                first.push_back(static_cast<int>(i));
            }
        }
        if (index == 1) {
            return int32Value(static_cast<int32_t>(first.size()));
        }
        VARIANT v;
        VariantInit(&v);
        v.vt = VT_UNKNOWN;
        v.punkVal = new StoryEnumerator(std::move(first));
        return v;
    }
};

class DocumentObject final : public AutomationObject
{
public:
    DocumentObject()
        : AutomationObject(
            "Document",
            {{L"FollowHyperlink",
              {L"Address", L"SubAddress", L"NewWindow", L"AddHistory", L"ExtraInfo", L"Method", L"HeaderInfo"}},
             {L"StoryRanges", {}},
             {L"Content", {}},
             {L"Undo", {L"Times"}}})
    {
    }

protected:
    VARIANT handle(std::size_t index, Kind kind, const Arguments &args) override
    {
        if (index == 1) {
            expect(kind, Kind::Get);
            return objectValue(new StoryRangesObject);
        }
        if (index == 2) {
            expect(kind, Kind::Get);
            return objectValue(new RangeObject(-1));
        }
        expect(kind, Kind::Call);
        if (index == 3) {
            return boolValue(server().host.undo());
        }
        server().host.activeDocument()->FollowHyperlink(args.text(0), args.given(2) && args.boolean(2));
        return none();
    }
};

class ProtectedViewWindowsObject final : public AutomationObject
{
public:
    ProtectedViewWindowsObject()
        : AutomationObject("ProtectedViewWindows", {{L"Count", {}}})
    {
    }

protected:
    VARIANT handle(std::size_t, Kind kind, const Arguments &) override
    {
        expect(kind, Kind::Get);
        return int32Value(server().protectedView ? 1 : 0);
    }
};

/// Custom undo records nest: only ending the outermost one makes the changes one undo step.
class UndoRecordObject final : public AutomationObject
{
public:
    UndoRecordObject()
        : AutomationObject("UndoRecord",
                           {{L"StartCustomRecord", {L"Name"}},
                            {L"EndCustomRecord", {}},
                            {L"IsRecordingCustomRecord", {}},
                            {L"CustomRecordLevel", {}}})
    {
    }

protected:
    VARIANT handle(std::size_t index, Kind kind, const Arguments &args) override
    {
        Server &s = server();
        switch (index) {
        case 0:
            expect(kind, Kind::Call);
            startRecord(args.text(0));
            return none();
        case 1:
            expect(kind, Kind::Call);
            endRecord();
            return none();
        case 2:
            expect(kind, Kind::Get);
            return boolValue(s.undoLevel > 0);
        default:
            expect(kind, Kind::Get);
            return int32Value(s.undoLevel);
        }
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
                            {L"TonvaleClearFaults", {}, false},
                            {L"ProtectedViewWindows", {}},
                            {L"TonvaleAddStory", {L"Type", L"Notation"}, false},
                            {L"TonvaleStoryText", {L"Index"}, false},
                            {L"TonvaleSelectStory", {L"Index", L"Start", L"End"}, false},
                            {L"TonvaleSelectionPlace", {}, false},
                            {L"TonvaleKeepFindOption", {L"Name", L"Value"}, false},
                            {L"TonvaleProtectedView", {L"On"}, false},
                            {L"TonvaleDisconnectOnQuit", {L"On"}, false},
                            {L"TonvaleOpenUndoRecord", {L"Name"}, false},
                            {L"TonvaleUndoLevel", {}, false},
                            {L"TonvaleHang", {L"Milliseconds"}, false}})
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
                s.disconnected = s.disconnectOnQuit;
                fireQuit();
                PostQuitMessage(0);
            }
            return none();
        case 5:
            expect(kind, Kind::Get);
            return objectValue(new UndoRecordObject);
        case 6:
            if (kind == Kind::Put) {
                s.visible = args.boolean(0);
                return none();
            }
            return boolValue(s.visible);
        case 7:
            s.host.open(word::builtin::fromNotation(args.text(0)));
            s.stories.clear();
            s.finds.clear();
            s.selectedStory = -1;
            return none();
        case 8: {
            const auto *doc = s.host.activeText();
            return textValue(doc ? word::builtin::toNotation(*doc) : std::string());
        }
        case 9:
            s.host.setSelection(args.int32(0), args.int32(1));
            s.selectedStory = -1;
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
        case 23:
            s.host.clearFaults();
            return none();
        default:
            return handleMore(index, kind, args);
        }
    }

private:
    // The members for the behaviours a test turns on.
    static VARIANT handleMore(std::size_t index, Kind kind, const Arguments &args)
    {
        Server &s = server();
        switch (index) {
        case 24:
            expect(kind, Kind::Get);
            return objectValue(new ProtectedViewWindowsObject);
        case 25: {
            auto story = std::make_unique<Story>();
            story->type = args.int32(0);
            story->host.open(word::builtin::fromNotation(args.text(1)));
            s.stories.push_back(std::move(story));
            return int32Value(static_cast<int32_t>(s.stories.size() - 1));
        }
        case 26: {
            const auto *doc = s.stories.at(static_cast<std::size_t>(args.int32(0)))->host.activeText();
            return textValue(doc ? word::builtin::toNotation(*doc) : std::string());
        }
        case 27: {
            const int story = args.int32(0);
            (story < 0 ? s.host : s.stories.at(static_cast<std::size_t>(story))->host)
                .setSelection(args.int32(1), args.int32(2));
            s.selectedStory = story;
            return none();
        }
        case 28: {
            word::builtin::Host &host = selectedHost();
            return textValue(std::to_string(s.selectedStory) + " " + std::to_string(host.selectionStart()) + " "
                             + std::to_string(host.selectionEnd()));
        }
        case 29: {
            const std::string name = args.text(0);
            KeptOptions &kept = s.kept;
            bool *option = name == "MatchPrefix" ? &kept.matchPrefix
                : name == "MatchSuffix"          ? &kept.matchSuffix
                : name == "IgnorePunct"          ? &kept.ignorePunct
                : name == "IgnoreSpace"          ? &kept.ignoreSpace
                : name == "MatchFuzzy"           ? &kept.matchFuzzy
                                                 : nullptr;
            if (!option) {
                throw WordError{"No kept Find option " + name + "."};
            }
            *option = args.boolean(1);
            return none();
        }
        case 30:
            s.protectedView = args.boolean(0);
            return none();
        case 31:
            s.disconnectOnQuit = args.boolean(0);
            return none();
        case 32:
            startRecord(args.text(0));
            return none();
        case 33:
            return int32Value(s.undoLevel);
        default:
            s.hang = static_cast<DWORD>(args.int32(0));
            return none();
        }
    }

    EventContainer m_events;
};

} // namespace

Server &server()
{
    static Server instance;
    return instance;
}

word::builtin::Host &selectedHost()
{
    Server &s = server();
    return s.selectedStory < 0 ? s.host : s.stories.at(static_cast<std::size_t>(s.selectedStory))->host;
}

IDispatch *newApplication()
{
    static bool ready = false;
    if (!ready) {
        ready = true;
        // Word after raising Quit answers nothing any more; Word on a hidden prompt does not answer yet.
        callGate() = [] {
            Server &s = server();
            if (s.disconnected) {
                return static_cast<HRESULT>(RPC_E_DISCONNECTED);
            }
            if (s.hang > 0) {
                Sleep(std::exchange(s.hang, 0));
            }
            return S_OK;
        };
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
