// Word's Application as the host: its documents, the screen, undo groups and Quit.

#include "host.h"

#include "hoststate.h"

#include <string>
#include <utility>
#include <vector>

namespace word::com
{

namespace
{

const char *const protectedViewText =
    "The Word document is open in Protected View.  Click Enable Editing in Word and try again.";

// At most this many custom undo records left open are closed before a command opens its own.
constexpr int maxOpenRecords = 32;

} // namespace

bool Host::started() const
{
    return m_state->started;
}

bool Host::eventsConnected() const
{
    return static_cast<bool>(m_state->sink);
}

IDispatch *Host::applicationObject() const
{
    return m_state->application->get();
}

HostNames Host::names() const
{
    return {"Microsoft Word", "Word"};
}

bool Host::hasQuit() const
{
    return m_state->quitSeen;
}

void Host::setCallTimeLimit(std::chrono::milliseconds limit)
{
    m_state->filter.setCallLimit(static_cast<DWORD>(limit.count()));
}

int32_t Host::DocumentsCount()
{
    // A Word that has quit holds no document; while it shuts down it answers nothing.
    if (m_state->quitSeen) {
        return 0;
    }
    return toInt32(m_state->application->object("Documents", "Documents").get("Count"), "Documents.Count");
}
std::unique_ptr<Selection> Host::selection()
{
    return makeSelection(*m_state, m_state->application->object("Selection", "Selection"));
}

std::unique_ptr<Document> Host::activeDocument()
{
    return makeDocument(m_state->application->object("ActiveDocument", "Document"));
}

void Host::ScreenRefresh()
{
    m_state->application->call("ScreenRefresh");
}

void Host::Quit()
{
    if (m_state->quitSeen) {
        return;
    }
    try {
        m_state->application->call("Quit");
    } catch (const CallError &error) {
        // Word went away while answering: it has quit.
        if (!isDisconnected(error.code())) {
            throw;
        }
    }
}

void Host::StartUndoGroup(const std::string &name)
{
    m_state->changed = false;
    m_state->undoRecorded = false;
    // Application.UndoRecord came with Word 2010; an older Word simply keeps separate undo steps.
    if (!m_state->application->has("UndoRecord")) {
        return;
    }
    Dispatch undo = m_state->application->object("UndoRecord", "UndoRecord");
    // Records nest: one left open (by a command whose end failed, or by anyone else) would take this
    // command's step and every later edit of the user's into it. Close them first.
    if (undo.has("IsRecordingCustomRecord")) {
        for (int i = 0; i < maxOpenRecords && toBool(undo.get("IsRecordingCustomRecord"), "IsRecordingCustomRecord");
             ++i) {
            undo.call("EndCustomRecord");
        }
    }
    std::vector<Variant> args;
    args.push_back(Variant::string(name));
    undo.call("StartCustomRecord", std::move(args));
    m_state->undoOpen = true;
    m_state->undoRecorded = true;
}

void Host::EndUndoGroup()
{
    if (!m_state->undoOpen) {
        return;
    }
    m_state->undoOpen = false;
    m_state->application->object("UndoRecord", "UndoRecord").call("EndCustomRecord");
}

void Host::UndoLastGroup()
{
    EndUndoGroup();
    // Word keeps no empty custom record, so undoing without a change would take back the user's own last step.
    if (!m_state->changed) {
        return;
    }
    if (!m_state->undoRecorded) {
        throw AutomationError("This version of Word keeps each change of a command as an undo step of its own.");
    }
    std::vector<Variant> args;
    args.push_back(Variant::int32(1));
    if (!toBool(m_state->application->object("ActiveDocument", "Document").call("Undo", std::move(args)),
                "Document.Undo")) {
        throw AutomationError("Word could not undo the command.");
    }
    m_state->changed = false;
}

std::string Host::noDocumentReason()
{
    if (m_state->quitSeen) {
        return {};
    }
    // A document in Protected View is not among Documents (Application.ProtectedViewWindows: Word 2010).
    try {
        if (m_state->application->has("ProtectedViewWindows")
            && toInt32(m_state->application->object("ProtectedViewWindows", "ProtectedViewWindows").get("Count"),
                       "ProtectedViewWindows.Count")
                > 0) {
            return protectedViewText;
        }
    } catch (const AutomationError &) {
        // No reason known: the plain message.
    }
    return {};
}

void Host::onQuit()
{
    m_state->quitSeen = true;
    raiseQuit();
}

} // namespace word::com