#include "host.h"

#include "hoststate.h"

namespace word::builtin
{

namespace
{

constexpr std::size_t maxUndoSteps = 100;
constexpr std::size_t maxUndoBytes = 64u << 20;

} // namespace

void Host::State::call(const std::string &op, const std::string &line)
{
    if (logging) {
        log.push_back(line);
    }
    if (failCountdown > 0 && --failCountdown == 0) {
        throw AutomationError(failCountdownText);
    }
    if (const auto it = failOps.find(op); it != failOps.end()) {
        throw AutomationError(it->second);
    }
}

DocEntry &Host::State::doc()
{
    if (documents.empty()) {
        throw AutomationError(noDocumentText);
    }
    return documents[active];
}

void Host::State::changed()
{
    if (changeListener) {
        changeListener();
    }
}

void Host::State::recordUndo(DocEntry &d)
{
    TextDocument copy = d.doc;
    recordUndo(d, std::move(copy), d.anchor, d.active);
}

void Host::State::recordUndo(DocEntry &d, TextDocument &&prev, std::size_t anchor, std::size_t moving)
{
    if (undoDepth > 0 && d.groupSnapshot) {
        spare = std::move(prev); // the group's step already holds the state before its first change
        return;
    }
    d.groupSnapshot = undoDepth > 0;
    d.lastGroupOnTop = undoDepth > 0;
    d.undo.push_back({std::move(prev), anchor, moving});
    // Keep the last steps within a count and a memory budget (always the newest one).
    std::size_t bytes = 0;
    std::size_t keep = 0;
    for (auto it = d.undo.rbegin(); it != d.undo.rend(); ++it, ++keep) {
        bytes += it->doc.bytes().size() + it->doc.spans().size() * sizeof(Span);
        if (keep > 0 && (keep >= maxUndoSteps || bytes > maxUndoBytes)) {
            break;
        }
    }
    d.undo.erase(d.undo.begin(), d.undo.end() - static_cast<std::ptrdiff_t>(std::max<std::size_t>(keep, 1)));
}

Host::Host()
    : m_state(std::make_unique<State>())
{
    m_state->host = this;
}

Host::~Host() = default;

int Host::open(TextDocument doc, std::string name)
{
    DocEntry entry;
    entry.doc = std::move(doc);
    entry.name = std::move(name);
    m_state->documents.push_back(std::move(entry));
    m_state->active = m_state->documents.size() - 1;
    m_state->changed();
    return static_cast<int>(m_state->active);
}

void Host::closeActive()
{
    auto &docs = m_state->documents;
    if (docs.empty()) {
        return;
    }
    docs.erase(docs.begin() + static_cast<std::ptrdiff_t>(m_state->active));
    m_state->active = m_state->active > 0 ? m_state->active - 1 : 0;
    m_state->changed();
}

TextDocument *Host::activeText()
{
    return m_state->documents.empty() ? nullptr : &m_state->documents[m_state->active].doc;
}

const TextDocument *Host::activeText() const
{
    return m_state->documents.empty() ? nullptr : &m_state->documents[m_state->active].doc;
}

std::string Host::activeName() const
{
    return m_state->documents.empty() ? std::string() : m_state->documents[m_state->active].name;
}

void Host::setSelection(int32_t start, int32_t end, bool activeAtStart)
{
    if (m_state->documents.empty()) {
        return;
    }
    DocEntry &d = m_state->doc();
    const std::size_t length = d.doc.length();
    std::size_t s = static_cast<std::size_t>(std::max<int32_t>(start, 0));
    std::size_t e = static_cast<std::size_t>(std::max<int32_t>(end, 0));
    s = std::min(s, length);
    e = std::min(std::max(e, s), length);
    if (s == e) {
        s = e = std::min(s, length - 1); // an insertion point stands before the final mark
    }
    d.anchor = activeAtStart ? e : s;
    d.active = activeAtStart ? s : e;
    d.preferredColumn.reset();
    m_state->changed();
}

int32_t Host::selectionStart() const
{
    return m_state->documents.empty() ? 0 : static_cast<int32_t>(m_state->documents[m_state->active].start());
}

int32_t Host::selectionEnd() const
{
    return m_state->documents.empty() ? 0 : static_cast<int32_t>(m_state->documents[m_state->active].end());
}

void Host::setChangeListener(std::function<void()> listener)
{
    m_state->changeListener = std::move(listener);
}

void Host::setRefreshListener(std::function<void()> listener)
{
    m_state->refreshListener = std::move(listener);
}

void Host::setLinkOpener(std::function<bool(const std::string &)> opener)
{
    m_state->linkOpener = std::move(opener);
}

bool Host::undo()
{
    if (!canUndo()) {
        return false;
    }
    DocEntry &d = m_state->doc();
    UndoStep step = std::move(d.undo.back());
    d.undo.pop_back();
    d.doc.swap(step.doc);
    d.anchor = step.anchor;
    d.active = step.active;
    d.preferredColumn.reset();
    d.groupSnapshot = false;
    d.lastGroupOnTop = false;
    m_state->changed();
    return true;
}

bool Host::canUndo() const
{
    return !m_state->documents.empty() && !m_state->documents[m_state->active].undo.empty();
}

void Host::setLogging(bool on)
{
    m_state->logging = on;
}

const std::vector<std::string> &Host::callLog() const
{
    return m_state->log;
}

void Host::clearCallLog()
{
    m_state->log.clear();
}

void Host::failAtCall(std::size_t n, std::string description)
{
    m_state->failCountdown = n;
    m_state->failCountdownText = std::move(description);
}

void Host::failOn(std::string operation, std::string description)
{
    m_state->failOps[std::move(operation)] = std::move(description);
}

void Host::clearFaults()
{
    m_state->failCountdown = 0;
    m_state->failOps.clear();
}

int Host::quitCount() const
{
    return m_state->quits;
}

void Host::simulateUserQuit()
{
    raiseQuit();
}

HostNames Host::names() const
{
    // The messages name the built-in word processor itself, never a word processor the machine may not have.
    return {"Tonvale's word processor", ""};
}

int32_t Host::DocumentsCount()
{
    m_state->call("Documents.Count", "Documents.Count");
    return static_cast<int32_t>(m_state->documents.size());
}

std::unique_ptr<Selection> Host::selection()
{
    m_state->doc();
    return makeSelection(*m_state);
}

std::unique_ptr<Document> Host::activeDocument()
{
    m_state->doc();
    return makeDocument(*m_state);
}

void Host::ScreenRefresh()
{
    m_state->call("Application.ScreenRefresh", "Application.ScreenRefresh");
    if (m_state->refreshListener) {
        m_state->refreshListener();
    }
}

void Host::Quit()
{
    m_state->call("Application.Quit", "Application.Quit");
    ++m_state->quits;
    m_state->documents.clear();
    m_state->active = 0;
    m_state->undoDepth = 0;
    m_state->changed();
    raiseQuit();
}

void Host::StartUndoGroup(const std::string &name)
{
    m_state->call("Application.StartUndoGroup", "Application.StartUndoGroup Name:=" + name);
    if (m_state->undoDepth++ == 0) {
        for (DocEntry &d : m_state->documents) {
            d.lastGroupOnTop = false;
        }
    }
}

void Host::EndUndoGroup()
{
    m_state->call("Application.EndUndoGroup", "Application.EndUndoGroup");
    if (m_state->undoDepth > 0 && --m_state->undoDepth == 0) {
        for (DocEntry &d : m_state->documents) {
            d.groupSnapshot = false;
        }
    }
}

void Host::UndoLastGroup()
{
    // The step is closed whether or not the undo goes through.
    m_state->undoDepth = 0;
    for (DocEntry &d : m_state->documents) {
        d.groupSnapshot = false;
    }
    m_state->call("Document.Undo", "Document.Undo");
    if (!m_state->documents.empty() && m_state->doc().lastGroupOnTop) {
        undo();
    }
}

} // namespace word::builtin
