#pragma once

// LibreOffice Writer as the word processor, reached through C++ UNO over a per-user pipe.
// The office's API is hidden behind word::Application: this header needs no UNO headers.

#include "word/automation.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace com::sun::star
{
namespace uno
{
template<class> class Reference;
class XComponentContext;
} // namespace uno
namespace lang
{
class XComponent;
} // namespace lang
} // namespace com::sun::star

namespace word::uno
{

/// How to find or start the office.
struct Options {
    std::string pipeName; ///< the pipe the office listens on; empty: defaultPipeName()
    std::string soffice; ///< the office's start command; empty: found on PATH or in its program folder
    bool headless = false; ///< start the office without a display (tests)
    std::string profileDir; ///< a private user profile folder for a started office; empty: the user's own
    std::chrono::milliseconds startTimeout{30000}; ///< how long a started office may take to answer
    std::function<void(int)> launched; ///< told the process group id of an office that start() launches
};

/// "tonvale-<uid>": one pipe per user, so no other local user can reach this user's office.
std::string defaultPipeName();

/// The office's start command, or "" when LibreOffice is not installed.
std::string findSoffice(const Options &options = {});

/// A run of text with one formatting, as the tests and tools exchange documents with the office.
/// "\r" separates paragraphs, "\v" is a line break; the values are Word's (Bold -1/0, Underline a
/// WdUnderline, Color R + 256 G + 65536 B or wdColorAutomatic).
struct TextRun {
    std::string text;
    bool bold = false;
    bool italic = false;
    int32_t underline = wdUnderlineNone;
    int32_t color = wdColorAutomatic;

    bool operator==(const TextRun &) const = default;
};

/// How a new document's runs are formatted.
enum class RunFormatting {
    Defaults, ///< only what differs from the default is set on a run, as typed text is stored
    Explicit, ///< every run carries all four attributes, the defaults too (explicitly not bold, ...)
    /// Each paragraph's whole text first takes its first run's formatting, then every run is set
    /// explicitly over it: a line formatted as a whole, then partly changed (its blanks made not
    /// bold). The office then keeps the first run's formatting as the paragraph's own.
    WholeLineFirst,
};

/// The office as word::Application, with a few extras for tests and tools. Once the office has said
/// that it terminates (its Quit event), it is asked nothing more: DocumentsCount is 0 and Quit does
/// nothing, so that the close step ends quietly; every other call fails.
class Host : public Application
{
public:
    ~Host() override;

    HostNames names() const override;
    int32_t DocumentsCount() override;
    std::unique_ptr<Selection> selection() override;
    std::unique_ptr<Document> activeDocument() override;
    void ScreenRefresh() override;
    void Quit() override;
    void StartUndoGroup(const std::string &name) override;
    void EndUndoGroup() override;
    void UndoLastGroup() override;

    // --- Documents for tests and tools ------------------------------------------------------
    /// Create a new Writer document holding runs (a final paragraph mark is implied) and make it the
    /// active one, with the insertion point at its start; formatting says how the runs get their
    /// formatting (the result reads the same in every case).
    void newDocument(const std::vector<TextRun> &runs, RunFormatting formatting = RunFormatting::Defaults);
    /// Open a document file (absolute path) and make it the active one.
    void openDocument(const std::string &path);
    /// The active document's text as runs of equal formatting, paragraphs joined by "\r", the
    /// final paragraph mark left out.
    std::vector<TextRun> documentRuns();
    /// Store the active document as .docx at path (absolute).
    void storeAsDocx(const std::string &path);
    /// Close every Writer document without saving.
    void closeAllDocuments();
    /// Select [start, end) of the active document, counted as Selection.Start / End count.
    void setSelection(int32_t start, int32_t end);
    /// Undo the last step of the active document; false when there is nothing to undo.
    bool undo();
    /// The plain text on the office's clipboard.
    std::string clipboardText();
    /// Whether the office runs the host's library in its own process for the work that would take
    /// many round trips over the pipe (loaded on the first call, and kept). Where it does not, that
    /// work goes over the pipe. TONVALE_OFFICE_LIBRARY names the library; set empty, none is used.
    bool officeJobLoaded();

    struct Impl;

private:
    friend std::unique_ptr<Host>
    hostOn(const ::com::sun::star::uno::Reference<::com::sun::star::uno::XComponentContext> &,
           const ::com::sun::star::uno::Reference<::com::sun::star::lang::XComponent> &);
    explicit Host(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> m_impl;
};

/// Attach to the office listening on the pipe. Throws AutomationError when none answers.
std::unique_ptr<Host> attach(const Options &options = {});

/// Attach, else start the office ("soffice --accept=pipe,name=...;urp;", which also makes an office
/// already running for this user listen) and wait until it answers, at most options.startTimeout.
/// Throws AutomationError when it cannot be reached.
std::unique_ptr<Host> start(const Options &options = {});

} // namespace word::uno
