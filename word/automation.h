#pragma once

// The word processor as the rest of Tonvale sees it: the handful of Word automation
// operations the commands use, with Word's names, constants and value conventions.
// Every host (Microsoft Word over COM, LibreOffice Writer over UNO, the built-in host)
// implements these interfaces with Word's semantics.
//
// Objects other than the Application are obtained for one use and released at once:
// a Selection or Find object is a short-lived handle, never kept across commands.
// Any call may fail; a failure always arrives as AutomationError.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

namespace word
{

inline constexpr int32_t wdTrue = -1; ///< Word's True; False is 0
inline constexpr int32_t wdUndefined = 9999999; ///< a font reading over mixed formatting
inline constexpr int32_t wdColorAutomatic = -16777216; ///< the automatic colour (0xFF000000)

enum WdUnits : int32_t {
    wdCharacter = 1, ///< one character
    wdLine = 5, ///< one display line
};

enum WdMovementType : int32_t {
    wdMove = 0, ///< the selection collapses and moves
    wdExtend = 1, ///< only the active end moves
};

enum WdFindWrap : int32_t {
    wdFindStop = 0, ///< stop at the end of the document
    wdFindContinue = 1, ///< go on from the start
};

enum WdReplace : int32_t {
    wdReplaceNone = 0, ///< find only
    wdReplaceOne = 1, ///< replace the first match
    wdReplaceAll = 2, ///< replace every match in the document
};

enum WdUnderline : int32_t {
    wdUnderlineNone = 0, ///< no underline
    wdUnderlineSingle = 1, ///< single underline, the chord font's
    wdUnderlineWords = 2, ///< words only
    wdUnderlineDouble = 3, ///< double
    wdUnderlineDotted = 4, ///< dotted
    wdUnderlineThick = 6, ///< thick
    wdUnderlineDash = 7, ///< dashed
    wdUnderlineWavy = 11, ///< wavy
};

enum WdPasteDataType : int32_t {
    wdPasteDefault = 0, ///< paste with the clipboard text's own formatting
};

/// A host call that failed. what() is the host's own description of the failure, shown to the
/// user as it stands (the Transpose command's error message).
class AutomationError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

/// The four font attributes Tonvale reads and writes.
enum class FontProperty {
    Bold, ///< -1 bold, 0 not bold
    Italic, ///< -1 italic, 0 not italic
    Underline, ///< a WdUnderline style; written only as -1 (True) meaning single underline
    Color, ///< red + 256 * green + 65536 * blue, or wdColorAutomatic
};

/// Word's name of a font property ("Bold", "Italic", "Underline", "Color").
const char *propertyName(FontProperty property);

/// Selection.Find with its Replacement: Word's find settings, shared by every search. A host
/// keeps these settings between calls (Word does; a host without a persistent find object keeps
/// them itself) until they are set again or cleared.
class Find
{
public:
    virtual ~Find() = default;
    /// Find.ClearFormatting: every Find.Font criterion becomes unset (no criterion).
    virtual void ClearFormatting() = 0;
    /// Find.Replacement.ClearFormatting: every Replacement.Font attribute becomes unset (not changed).
    virtual void ClearReplacementFormatting() = 0;
    /// Find.Text: the text or wildcard pattern to find, UTF-8.
    virtual void setText(const std::string &text) = 0;
    /// Find.Replacement.Text: the replacement, UTF-8; with wildcards "\1".."\9" insert groups.
    virtual void setReplacementText(const std::string &text) = 0;
    virtual void setForward(bool forward) = 0; ///< Find.Forward
    virtual void setWrap(int32_t wrap) = 0; ///< Find.Wrap, a WdFindWrap
    virtual void setFormat(bool format) = 0; ///< Find.Format: font criteria and replacement formatting apply
    virtual void setMatchCase(bool matchCase) = 0; ///< Find.MatchCase (a wildcard find is case-exact anyway)
    virtual void setMatchWholeWord(bool wholeWord) = 0; ///< Find.MatchWholeWord
    virtual void setMatchWildcards(bool wildcards) = 0; ///< Find.MatchWildcards
    virtual void setMatchSoundsLike(bool soundsLike) = 0; ///< Find.MatchSoundsLike
    virtual void setMatchAllWordForms(bool allWordForms) = 0; ///< Find.MatchAllWordForms
    /// Find.Font.<property> = value: a criterion; only text carrying it matches.
    virtual void setFont(FontProperty property, int32_t value) = 0;
    /// Find.Replacement.Font.<property> = value: given to every replaced text.
    virtual void setReplacementFont(FontProperty property, int32_t value) = 0;
    /// Find.Execute Replace:=replace, every other argument omitted. With wdReplaceAll every match
    /// in the whole document is replaced in this one call. Returns Execute's Boolean result.
    virtual bool Execute(int32_t replace) = 0;
};

/// The active document's selection (Word's global Selection, the same as WDapp.Selection).
/// Positions count characters from the start of the document, [Start, End).
class Selection
{
public:
    virtual ~Selection() = default;
    virtual int32_t Start() = 0; ///< Selection.Start
    virtual int32_t End() = 0; ///< Selection.End; equal to Start when nothing is selected
    /// Selection.Font.<property>: Bold and Italic -1 / 0 / wdUndefined (mixed); Underline the
    /// style or wdUndefined; Color the RGB value, wdColorAutomatic, or wdUndefined (mixed).
    virtual int32_t font(FontProperty property) = 0;
    /// Selection.MoveLeft Unit, Count[, Extend] (Extend omitted: std::nullopt). Returns the units moved.
    virtual int32_t MoveLeft(int32_t unit, int16_t count, std::optional<int32_t> extend) = 0;
    virtual int32_t MoveRight(int32_t unit, int16_t count, std::optional<int32_t> extend) = 0;
    virtual int32_t MoveUp(int32_t unit, int16_t count, std::optional<int32_t> extend) = 0;
    virtual int32_t MoveDown(int32_t unit, int16_t count, std::optional<int32_t> extend) = 0;
    /// Selection.Cut: the selected text, with its formatting, goes to the clipboard.
    virtual void Cut() = 0;
    /// Selection.PasteAndFormat Type: the clipboard's text inserted at the selection.
    virtual void PasteAndFormat(int32_t type) = 0;
    /// Selection.Delete Unit, Count: on an insertion point deletes the next character. Returns the units deleted.
    virtual int32_t Delete(int32_t unit, int16_t count) = 0;
    /// Selection.Find: the shared find settings.
    virtual std::unique_ptr<Find> find() = 0;
};

/// The active document (Word's global ActiveDocument).
class Document
{
public:
    virtual ~Document() = default;
    /// Document.FollowHyperlink Address:=address, NewWindow:=newWindow; fails when the page cannot be opened.
    virtual void FollowHyperlink(const std::string &address, bool newWindow) = 0;
};

/// How a host names itself in the messages the user reads.
struct HostNames {
    std::string product; ///< "Microsoft Word": "Unable to start Microsoft Word."
    std::string document; ///< "Word": "No Word document found."; empty: "No document found in <product>."
};

/// Word's Application object, held as WDapp for the whole run.
class Application
{
public:
    virtual ~Application() = default;

    /// The names used in the messages about this host.
    virtual HostNames names() const = 0;
    /// Documents.Count: the number of open documents; 0 means none.
    virtual int32_t DocumentsCount() = 0;
    /// When DocumentsCount() is 0 although the user sees a document (Word's Protected View), what the
    /// user must do, as a message; empty otherwise. Never fails.
    virtual std::string noDocumentReason()
    {
        return {};
    }
    /// The active document's selection; fails when no document is open.
    virtual std::unique_ptr<Selection> selection() = 0;
    /// The active document; fails when no document is open.
    virtual std::unique_ptr<Document> activeDocument() = 0;
    /// Application.ScreenRefresh: redraw the document window.
    virtual void ScreenRefresh() = 0;
    /// Application.Quit with no arguments.
    virtual void Quit() = 0;
    /// Begin one undo step named name: every change until EndUndoGroup undoes together.
    /// (Word's UndoRecord.StartCustomRecord; not every host supports it, which is no error.)
    virtual void StartUndoGroup(const std::string &name) = 0;
    /// End the undo step begun by StartUndoGroup.
    virtual void EndUndoGroup() = 0;
    /// Take back a failed command's partial changes: end the undo step of the last StartUndoGroup if it is
    /// still open, then undo that step when it holds a change (nothing when it holds none). Throws
    /// AutomationError when the host cannot undo it; the document then may hold the partial changes.
    virtual void UndoLastGroup() = 0;

    /// The handler of Word's Quit event. It always runs through the event poster (below).
    void setQuitHandler(std::function<void()> handler);
    /// How events reach the window's thread: a host may notice an event on another thread and
    /// hands it to poster, which must run it later on the window's thread. Without a poster the
    /// event runs where it is raised.
    void setEventPoster(std::function<void(std::function<void()>)> poster);

protected:
    /// Raise the Quit event; any thread.
    void raiseQuit();

private:
    std::function<void()> m_quitHandler;
    std::function<void(std::function<void()>)> m_poster;
};

/// One undo step around a whole command: StartUndoGroup now, EndUndoGroup when it goes out of
/// scope, also when the command fails. A failure to end the group is swallowed: the command's own
/// error matters more.
class UndoGroup
{
public:
    UndoGroup(Application &app, const std::string &name);
    ~UndoGroup();
    UndoGroup(const UndoGroup &) = delete;
    UndoGroup &operator=(const UndoGroup &) = delete;

    /// The command failed: end the step and undo it (UndoLastGroup), so that the document is as it was
    /// before the command. False when the host could not undo it.
    bool rollBack() noexcept;

private:
    Application &m_app;
    bool m_started = false;
};

/// The description of the exception being handled, for the user: what() of a std::exception, "Out of
/// memory." for std::bad_alloc, "Unknown error" for anything else. Call only inside a catch block.
std::string currentFailure();

/// Run command as one undo step named name. When it fails (any exception) its partial step is undone before
/// the failure goes on to the caller, so that the document is as it was. When that undo fails too, the
/// failure goes on as an AutomationError whose description adds that the document may hold unfinished
/// changes and that the word processor's own Undo takes them back.
void runAsOneStep(Application &app, const std::string &name, const std::function<void()> &command);

} // namespace word
