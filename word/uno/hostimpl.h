#pragma once

// What the files of the LibreOffice Writer host share: the host's state behind Host, the office's
// values for Word's, and a few helpers around UNO strings and property values. Private to word/uno.

#include "names.h"
#include "strings.h"
#include "unohost.h"
#include "word/findsettings.h"

#include <com/sun/star/awt/FontSlant.hpp>
#include <com/sun/star/awt/Point.hpp>
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/beans/XMultiPropertySet.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/beans/XPropertyState.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/datatransfer/XTransferable.hpp>
#include <com/sun/star/datatransfer/clipboard/XClipboard.hpp>
#include <com/sun/star/document/XUndoManager.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/frame/XDispatchHelper.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/frame/XTerminateListener.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/style/XAutoStyle.hpp>
#include <com/sun/star/task/XJob.hpp>
#include <com/sun/star/text/XTextCursor.hpp>
#include <com/sun/star/text/XTextDocument.hpp>
#include <com/sun/star/text/XTextRange.hpp>
#include <com/sun/star/text/XTextViewCursor.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <com/sun/star/util/XReplaceDescriptor.hpp>
#include <com/sun/star/util/XReplaceable.hpp>
#include <com/sun/star/util/XSearchable.hpp>
#include <cppuhelper/implbase1.hxx>
#include <rtl/ref.hxx>
#include <rtl/ustring.hxx>

#include <atomic>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace word::uno
{

using namespace names;
using PropertyValues = std::vector<css::beans::PropertyValue>;

inline constexpr const char *productName = "LibreOffice Writer";
inline constexpr const char *lostMessage = "The connection to LibreOffice Writer was lost.";
inline constexpr const char *quitMessage = "LibreOffice Writer has quit.";
inline constexpr const char *noDocumentText = "No LibreOffice Writer document is open.";

// --- Strings, property values, files (values.cpp) ---------------------------------------------------

css::beans::PropertyValue property(const char *name, const Any &value);
Sequence<css::beans::PropertyValue> properties(const PropertyValues &values);
Sequence<OUString> propertyNames(const PropertyValues &values);
/// The file URL of an absolute path; throws AutomationError for a path that is none.
OUString fileUrl(const std::string &path);

// --- Word's values and LibreOffice's (values.cpp) ---------------------------------------------------

/// The four character properties the host reads and writes, by name order: colour, posture,
/// underline, weight.
inline constexpr const char *characterAttributes[] = {"CharColor", "CharPosture", "CharUnderline", "CharWeight"};

sal_Int32 officeColor(int32_t wordColor);
int32_t wordColor(sal_Int32 officeColor);
/// LibreOffice's FontUnderline for a WdUnderline (wdTrue and wdUnderlineWords are single); throws
/// AutomationError for a style the office does not have.
sal_Int16 officeUnderline(int32_t word);
int32_t wordUnderline(sal_Int16 office);
/// The office's property behind a font property of Word's.
const char *officeName(FontProperty which);
/// Word's value (wdTrue/0, a WdUnderline, a colour) of the office's value of the property; an
/// empty value reads as the default (not bold, no underline, automatic colour).
int32_t wordValue(FontProperty which, const Any &value);

/// Find.Font or Find.Replacement.Font as far as set.
struct FontSettings {
    std::optional<int32_t> bold, italic, underline, color;

    bool any() const
    {
        return bold || italic || underline || color;
    }
    void set(FontProperty property, int32_t value);
};

/// The office's character properties for Word's font settings; used both as search criteria and as
/// replacement formatting (criteria that the office cannot search for throw AutomationError).
PropertyValues officeAttributes(const FontSettings &font, bool asCriteria);
/// The replacement side of a formatted Replace-All: the criteria, overridden by the formatting.
PropertyValues mergedAttributes(const PropertyValues &criteria, const PropertyValues &replacement);
/// Set each value on props, in order.
void setAttributes(const Reference<css::beans::XPropertySet> &props, const PropertyValues &values);
/// Reset the four character attributes of a range (its props and states) to their defaults, then set values.
void resetAttributes(const Reference<css::beans::XPropertySet> &props,
                     const Reference<css::beans::XPropertyState> &states,
                     const PropertyValues &values);
/// Character count of a range's string as Word counts it: a paragraph break is one character.
int32_t wordLength(const OUString &text);

// --- Formatted finds the office gets wrong (paragraphformat.cpp, paragraphruns.cpp) -----------------

/// Whether some searched value may come from the paragraph level: a paragraph's own character
/// attributes (the paragraphs' automatic styles) or a paragraph style in use.
bool criteriaFromParagraphs(const Reference<css::text::XTextDocument> &doc, const PropertyValues &criteria);
/// Whether the office's own formatted search may miss matches of criteria: some paragraph gives a
/// searched value and some run may override it.
bool paragraphValuesMayBeMissed(const Reference<css::text::XTextDocument> &doc, const PropertyValues &criteria);
/// Whether holds for some automatic style of the family ("CharacterStyles", the formatting runs have
/// of their own; "ParagraphStyles", that paragraphs have); nothing where the office cannot list them.
std::optional<bool> anyAutoStyle(const Reference<css::text::XTextDocument> &doc,
                                 const char *family,
                                 const std::function<bool(const Reference<css::style::XAutoStyle> &)> &holds);
/// Whether holds for some character style that text of the document uses; nothing where the office
/// cannot tell.
std::optional<bool>
anyCharacterStyleInUse(const Reference<css::text::XTextDocument> &doc,
                       const std::function<bool(const Reference<css::beans::XMultiPropertySet> &)> &holds);

// --- Find (find.cpp) --------------------------------------------------------------------------------

using FindSettings = word::BasicFindSettings<FontSettings>;

/// Every match of a search, in document order.
std::vector<Reference<css::text::XTextRange>> allMatches(const Reference<css::text::XTextDocument> &doc,
                                                         const Reference<css::util::XSearchDescriptor> &search);
/// Delete every match, last first so that the earlier ranges stay where they are.
void deleteMatches(const std::vector<Reference<css::text::XTextRange>> &matches);
/// Give every match the formatting where it stands.
void formatMatches(const std::vector<Reference<css::text::XTextRange>> &matches, const PropertyValues &formatting);

// --- One command's calls (find.cpp) ------------------------------------------------------------------

// The office moves the selection to where it replaced; Word leaves it on its text. Remembers the
// selection and puts it back when it goes.
class KeepSelection
{
public:
    explicit KeepSelection(const Reference<css::text::XTextViewCursor> &view);
    KeepSelection(const KeepSelection &) = delete;
    KeepSelection &operator=(const KeepSelection &) = delete;
    ~KeepSelection();

private:
    Reference<css::text::XTextViewCursor> m_view;
    Reference<css::text::XTextCursor> m_start, m_end;
    bool m_atDocumentStart = false;
};

// The search descriptor of a document, made once and told only what changes between searches: a
// Replace-All then costs the office's work and hardly more.
struct SearchDescriptor {
    Reference<css::uno::XInterface> doc;
    Reference<css::util::XReplaceable> replaceable;
    Reference<css::util::XSearchable> searchable; // once needed
    Reference<css::util::XReplaceDescriptor> descriptor;
    Reference<css::beans::XPropertySet> settings;
    std::optional<OUString> search, replace;
    std::optional<bool> regex, matchCase, words, backwards, styles;
    std::optional<PropertyValues> searchAttributes, replaceAttributes;

    void setSearch(const OUString &text);
    void setReplace(const OUString &text);
    void setFlag(std::optional<bool> &known, const char *name, bool value);
    void setSearchAttributes(const PropertyValues &values);
    void setReplaceAttributes(const PropertyValues &values);
};

// --- The connection (connection.cpp) ----------------------------------------------------------------

// Tells the host about the office quitting (a normal quit) and the bridge going away (a killed office).
class QuitListener : public cppu::WeakImplHelper1<css::frame::XTerminateListener>
{
public:
    explicit QuitListener(std::function<void(bool)> onQuit);

    void detach();
    void setBridge(const Reference<css::uno::XInterface> &bridge);

    void SAL_CALL queryTermination(const css::lang::EventObject &) override;
    void SAL_CALL notifyTermination(const css::lang::EventObject &) override;
    void SAL_CALL disposing(const css::lang::EventObject &event) override;

private:
    void fire(bool bridgeGone);

    std::mutex m_mutex;
    std::function<void(bool)> m_onQuit;
    Reference<css::uno::XInterface> m_bridge;
};

// --- The host's state -------------------------------------------------------------------------------

struct Host::Impl {
    /// A host over impl, for ways of reaching the office other than hostOn's (inprocess.cpp).
    static std::unique_ptr<Host> adopt(std::unique_ptr<Impl> impl);
    /// When set, the one document every call works on, whichever window is active (a host inside the
    /// office for the document of one window).
    Reference<css::text::XTextDocument> pinned;

    Reference<css::lang::XComponent> bridge;
    Reference<css::uno::XComponentContext> remote;
    Reference<css::frame::XDesktop2> desktop;
    rtl::Reference<QuitListener> listener;
    std::atomic<bool> lost{false}; // the bridge went away (a killed office)
    // The office has told us it terminates (a normal quit): from then on it is asked nothing, it
    // counts no documents and needs no Quit.
    std::atomic<bool> terminated{false};
    std::atomic<bool> quitRaised{false};
    std::function<void()> quit; // raises the Quit event

    FindSettings find;

    // Whether the active document may hold searched values on the paragraph level that runs
    // override, for the criteria last asked about; kept for the length of an undo group.
    struct ParagraphCriteria {
        Reference<css::uno::XInterface> doc;
        PropertyValues criteria;
        bool possible = true;
    };
    std::optional<ParagraphCriteria> paragraphCriteria;
    // The kerning all the text has, where it is the same everywhere; kept for the length of an
    // undo group, as the careful way leaves every kerning as it found it.
    struct UniformKerning {
        Reference<css::uno::XInterface> doc;
        std::optional<sal_Int16> kerning;
    };
    std::optional<UniformKerning> uniformKerning;
    /// Whether the office's own formatted search may miss matches of criteria, because paragraphs
    /// give searched values that runs override. Within one command (an undo group) such values are
    /// first moved onto their runs, once, and the answer is then no.
    bool mayHoldParagraphCriteria(const Reference<css::text::XTextDocument> &doc, const PropertyValues &criteria);
    /// Moves the searched values that paragraphs give their text, where runs override them, onto
    /// the runs, so that the office's own formatted search finds every match (paragraphruns.cpp).
    void moveParagraphCriteriaToRuns(const Reference<css::text::XTextDocument> &doc, const PropertyValues &criteria);
    /// paragraphValuesMayBeMissed asked of the host's job inside the office, which then moves the
    /// values onto the runs where move says so (officehelper.cpp): one round trip against dozens,
    /// and a few microseconds a paragraph against a few round trips. Nothing where the office could
    /// not load the job.
    std::optional<bool>
    checkInOffice(const Reference<css::text::XTextDocument> &doc, const PropertyValues &criteria, bool move);
    /// The job, loaded once; none where the office could not load it, or inside the office.
    Reference<css::task::XJob> officeJob();
    std::optional<Reference<css::task::XJob>> loadedJob;
    Reference<css::task::XJob> loadOfficeJob();
    bool replaceCarrying(const Reference<css::text::XTextDocument> &doc,
                         const PropertyValues &criteria,
                         const PropertyValues &formatting);

    struct OpenGroup {
        Reference<css::text::XTextDocument> doc; // the document of the whole command
        Reference<css::document::XUndoManager> undo;
        Reference<css::frame::XModel> model;
        bool locked = false;
        bool selectionKept = false; // the selection to put back at the end is remembered
        css::uno::Sequence<OUString> titlesBefore; ///< the undo steps before the group (outermost only)
    };
    std::vector<OpenGroup> groups;
    std::optional<OpenGroup> lastGroup; ///< the outermost group last opened, for UndoLastGroup
    static void closeGroup(const OpenGroup &group);

    std::optional<SearchDescriptor> search; // of the document last searched
    Reference<css::frame::XDispatchHelper> dispatcher; // once needed
    bool formatSelected(const Reference<css::text::XTextDocument> &doc,
                        const Reference<css::container::XIndexAccess> &found,
                        const FontSettings &font);
    // Within an undo group the selection is put back once, when the group ends or the selection is
    // next used, rather than after every Replace-All.
    std::optional<KeepSelection> keptSelection;
    void restoreSelection()
    {
        keptSelection.reset();
        if (!groups.empty()) {
            groups.back().selectionKept = false;
        }
    }

    // The remembered column of consecutive vertical moves.
    bool haveColumn = false;
    css::awt::Point columnLeftAt;
    sal_Int32 column = 0;

    Reference<css::datatransfer::XTransferable> cut; // when the office has no clipboard
    // The formatting of the cut text, piece by piece: pasted at the end of formatted text, the office
    // would extend that formatting over the pasted characters that carry none of their own.
    struct CutPiece {
        sal_Int32 length = 0; // in the office's characters; a paragraph break counts one
        bool paragraphBreak = false;
        PropertyValues attributes;
    };
    std::vector<CutPiece> cutPieces;

    /// Turns the exception being handled into AutomationError (marking the office lost where the
    /// bridge went away); std::bad_alloc passes.
    [[noreturn]] void rethrow();

    template<class F> auto guarded(F &&f) -> decltype(f())
    {
        if (terminated) {
            throw AutomationError(quitMessage);
        }
        if (lost) {
            throw AutomationError(lostMessage);
        }
        try {
            return f();
        } catch (const AutomationError &) {
            throw;
        } catch (...) {
            rethrow();
        }
    }

    Reference<css::text::XTextDocument> activeDocument(bool required = true);
    Reference<css::frame::XController> controller(const Reference<css::text::XTextDocument> &doc);
    Reference<css::text::XTextViewCursor> viewCursor(bool unlock = true);
    void unlockForView();
    int32_t offset(const Reference<css::text::XTextRange> &position);
    std::vector<Reference<css::text::XTextDocument>> writerDocuments();
    Reference<css::datatransfer::clipboard::XClipboard> clipboard();
    bool execute(int32_t replace);
    void recordCutFormatting(const Reference<css::text::XTextViewCursor> &selection);
    void restoreCutFormatting();
};

/// Move cursor n characters right (or left), in steps the office takes; false where it stops short.
/// Nothing moves for n <= 0.
bool moveBy(const Reference<css::text::XTextCursor> &cursor, sal_Int32 n, bool right, bool expand);

/// The objects the host hands out, all working on its state (find.cpp, selection.cpp).
std::unique_ptr<Find> makeFind(Host::Impl &impl);
std::unique_ptr<Selection> makeSelection(Host::Impl &impl);

} // namespace word::uno
