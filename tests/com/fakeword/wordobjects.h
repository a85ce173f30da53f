#pragma once

// Word's object model as far as Tonvale uses it, served from the built-in host, plus the
// test-only members (named "Tonvale...") through which tests set up documents and read results.

#include "automationobject.h"

#include "word/builtin/host.h"

#include <ocidl.h>

#include <string>
#include <utility>
#include <vector>

namespace fakeword
{

/// The state of the stand-in process.
struct Server {
    word::builtin::Host host;
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

/// Thread message: raise Quit as when the user closes Word (documents stay open), then end.
inline constexpr UINT userQuitMessage = WM_APP + 1;

/// Word's Application object (also the event source); one reference handed to the caller.
IDispatch *newApplication();

/// ApplicationEvents4.Quit to every connected receiver.
void fireQuit();

} // namespace fakeword
