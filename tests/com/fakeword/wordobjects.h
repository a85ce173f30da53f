#pragma once

// Word's object model as far as Tonvale uses it, served from the built-in host, plus the
// test-only members (named "Tonvale...") through which tests set up documents and read results.

#include "automationobject.h"

#include "word/builtin/host.h"

#include <ocidl.h>

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace fakeword
{

/// A part of the document other than its main text (a header, a text box, ...): a Word story.
struct Story {
    int32_t type; ///< Word's WdStoryType: 5 a text box, 7 the primary header, ...
    word::builtin::Host host; ///< the part's text, selection and find settings
};

/// The Find options Word keeps from its Find dialog, which ClearFormatting does not reset.
struct KeptOptions {
    bool matchPrefix = false;
    bool matchSuffix = false;
    bool ignorePunct = false;
    bool ignoreSpace = false;
    bool matchFuzzy = false;
};

/// What the stand-in remembers of a find object's settings, to apply the kept options.
struct FindMirror {
    std::string text;
    std::string replacement;
    bool wildcards = false;
};

/// The state of the stand-in process. The behaviours after "host" are off until a test turns them on.
struct Server {
    word::builtin::Host host; ///< the main text (the active document), Documents, undo
    std::vector<std::unique_ptr<Story>> stories; ///< the other parts, in the order added
    int selectedStory = -1; ///< where the selection is: -1 the main text, else an index into stories
    KeptOptions kept; ///< shared by every Find object, as Word's are
    std::map<const word::builtin::Host *, FindMirror> finds;
    bool visible = true; ///< Application.Visible; a Word started by COM starts invisible
    bool protectedView = false; ///< a document is open in Protected View (not in Documents)
    bool disconnectOnQuit = false; ///< after raising Quit every call fails as disconnected
    bool disconnected = false;
    int undoLevel = 0; ///< custom undo records open (they nest)
    DWORD hang = 0; ///< the next Word call blocks this long (milliseconds) without answering
    std::vector<std::pair<DWORD, IDispatch *>> sinks; ///< Quit event receivers by cookie
    DWORD nextCookie = 1;
    bool embedded = false; ///< started by COM (-Embedding)
    bool quitting = false;
    int rejectCalls = 0; ///< incoming calls still to refuse with "retry later"
    int rejected = 0; ///< incoming calls refused so far
    bool linksFail = false;
    std::vector<std::string> links; ///< addresses followed
    DWORD lastActivity = 0; ///< tick of the last incoming call
    DWORD thread = 0; ///< the server's thread
};

Server &server();

/// The part of the document the selection is in.
word::builtin::Host &selectedHost();

/// Thread message: raise Quit as when the user closes Word (documents stay open), then end.
inline constexpr UINT userQuitMessage = WM_APP + 1;

/// Word's Application object (also the event source); one reference handed to the caller.
IDispatch *newApplication();

/// ApplicationEvents4.Quit to every connected receiver.
void fireQuit();

} // namespace fakeword
