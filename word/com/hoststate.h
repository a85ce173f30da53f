#pragma once

// The host's COM objects and its own state, shared by the files of the host (not part of its interface).

#include "host.h"

#include "dispatch.h"
#include "messagefilter.h"
#include "quitsink.h"
#include "word/findsettings.h"

#include <ocidl.h>

#include <memory>
#include <optional>

namespace word::com
{

/// COM for the calling thread, as a single-threaded apartment where it is not set up yet.
class ComInit
{
public:
    ComInit()
    {
        const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        // RPC_E_CHANGED_MODE: the thread is already a multithreaded apartment; COM works, only
        // the retry of refused calls does not.
        m_owned = SUCCEEDED(hr);
    }
    ~ComInit()
    {
        if (m_owned) {
            CoUninitialize();
        }
    }
    ComInit(const ComInit &) = delete;
    ComInit &operator=(const ComInit &) = delete;

private:
    bool m_owned = false;
};

struct Host::State {
    // Declared first, so destroyed last: every COM object below is released before COM goes.
    ComInit com;
    MessageFilterScope filter;
    DispidCache cache;
    std::optional<Dispatch> application;
    bool started = false;
    ComPtr<IConnectionPoint> events;
    DWORD cookie = 0;
    ComPtr<QuitSink> sink;
    bool quitSeen = false;
    bool undoOpen = false;
    bool undoRecorded = false; ///< the last group was a custom undo record
    bool changed = false; ///< a call changed the document since the last group began
    /// Word's find settings as Tonvale last made them. A whole-sheet Replace-All applies them afresh to
    /// the Find of every part it covers, so Selection.Find's scope (the part and the place the selection
    /// is in) never limits it and no setting of the user's own is left to change its result.
    /// Wrap starts as wdFindContinue, as Tonvale's searches set it.
    FindSettings find = [] {
        FindSettings settings;
        settings.wrap = wdFindContinue;
        return settings;
    }();
};

/// Selection.Find over the host's kept settings (selection: Word's Selection object).
std::unique_ptr<Find> makeFind(Host::State &state, Dispatch selection);
/// Word's Selection object as the interface's Selection.
std::unique_ptr<Selection> makeSelection(Host::State &state, Dispatch selection);
/// A Word document as the interface's Document.
std::unique_ptr<Document> makeDocument(Dispatch document);

} // namespace word::com
