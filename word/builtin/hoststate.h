#pragma once

// The built-in host's state, shared by the Host and its short-lived Selection, Find and Document
// handles (internal to the library).

#include "host.h"
#include "replaceall.h"

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace word::builtin
{

inline constexpr const char *noDocumentText = "This command is not available because no document is open.";
inline constexpr const char *badPatternText =
    "The Find What text contains a Pattern Match expression which is not valid.";
inline constexpr const char *complexPatternText =
    "The Find What text contains a Pattern Match expression which is too complex.";
inline constexpr const char *badParameterText = "Bad parameter.";
inline constexpr const char *cannotOpenText = "Cannot open the specified file.";

/// One undoable step: the document and the selection as they were before it.
struct UndoStep {
    TextDocument doc;
    std::size_t anchor = 0;
    std::size_t active = 0;
};

/// One open document with its selection (anchor: the fixed end, active: the moving end).
struct DocEntry {
    TextDocument doc;
    std::string name;
    std::size_t anchor = 0;
    std::size_t active = 0;
    std::optional<std::size_t> preferredColumn; ///< kept across consecutive vertical moves
    std::vector<UndoStep> undo;
    bool groupSnapshot = false; ///< the open undo group already holds this document's step
    bool lastGroupOnTop = false; ///< the newest undo step is the one the last undo group recorded

    std::size_t start() const
    {
        return std::min(anchor, active);
    }
    std::size_t end() const
    {
        return std::max(anchor, active);
    }
    void collapse(std::size_t pos)
    {
        anchor = active = pos;
    }
};

/// Word's find settings: kept between calls until set again or cleared.
struct FindSettings {
    FindRequest request;
    bool forward = true;
    int32_t wrap = wdFindStop;
    bool soundsLike = false;
    bool allWordForms = false;
};

struct Host::State {
    Host *host = nullptr;
    std::vector<DocEntry> documents;
    std::size_t active = 0; ///< index into documents when not empty
    FindSettings find;
    TextDocument spare; ///< memory left by a Replace-All, lent to the next one
    TextDocument clipboard; ///< its text without its own final mark
    std::size_t clipboardLength = 0;
    int undoDepth = 0;
    int quits = 0;

    bool logging = false;
    std::vector<std::string> log;
    std::size_t failCountdown = 0; ///< 0: off
    std::string failCountdownText;
    std::map<std::string, std::string> failOps;

    std::function<void()> changeListener;
    std::function<void()> refreshListener;
    std::function<bool(const std::string &)> linkOpener;

    /// One automation call: logged (line) and failed when a fault is set for it (op).
    void call(const std::string &op, const std::string &line);
    /// The active document; AutomationError when none is open.
    DocEntry &doc();
    void changed();
    /// Record the undo step of a change about to be made to d (unless the open group has one).
    void recordUndo(DocEntry &d);
    /// Take prev (the content before a change already made) as d's undo step.
    void recordUndo(DocEntry &d, TextDocument &&prev, std::size_t anchor, std::size_t moving);
};

/// "True" / "False".
inline const char *boolText(bool value)
{
    return value ? "True" : "False";
}

std::unique_ptr<Selection> makeSelection(Host::State &state);
std::unique_ptr<Document> makeDocument(Host::State &state);
std::unique_ptr<Find> makeFind(Host::State &state);

} // namespace word::builtin
