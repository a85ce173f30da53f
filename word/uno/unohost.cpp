#include "unohost.h"

#include "wildcards.h"

#include <com/sun/star/awt/FontSlant.hpp>
#include <com/sun/star/awt/FontUnderline.hpp>
#include <com/sun/star/awt/FontWeight.hpp>
#include <com/sun/star/awt/Point.hpp>
#include <com/sun/star/beans/PropertyState.hpp>
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/beans/XMultiPropertySet.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/beans/XPropertyState.hpp>
#include <com/sun/star/bridge/BridgeFactory.hpp>
#include <com/sun/star/bridge/XBridge.hpp>
#include <com/sun/star/connection/Connector.hpp>
#include <com/sun/star/connection/NoConnectException.hpp>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/datatransfer/DataFlavor.hpp>
#include <com/sun/star/datatransfer/XTransferable.hpp>
#include <com/sun/star/datatransfer/XTransferableSupplier.hpp>
#include <com/sun/star/datatransfer/clipboard/SystemClipboard.hpp>
#include <com/sun/star/datatransfer/clipboard/XClipboard.hpp>
#include <com/sun/star/document/XUndoManager.hpp>
#include <com/sun/star/document/XUndoManagerSupplier.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/frame/XTerminateListener.hpp>
#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/lang/XServiceInfo.hpp>
#include <com/sun/star/style/XAutoStyle.hpp>
#include <com/sun/star/style/XAutoStyles.hpp>
#include <com/sun/star/style/XAutoStylesSupplier.hpp>
#include <com/sun/star/style/XStyle.hpp>
#include <com/sun/star/style/XStyleFamiliesSupplier.hpp>
#include <com/sun/star/system/SystemShellExecute.hpp>
#include <com/sun/star/system/SystemShellExecuteFlags.hpp>
#include <com/sun/star/text/ControlCharacter.hpp>
#include <com/sun/star/text/XParagraphCursor.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextCursor.hpp>
#include <com/sun/star/text/XTextDocument.hpp>
#include <com/sun/star/text/XTextRange.hpp>
#include <com/sun/star/text/XTextRangeCompare.hpp>
#include <com/sun/star/text/XTextViewCursor.hpp>
#include <com/sun/star/text/XTextViewCursorSupplier.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <com/sun/star/util/XPropertyReplace.hpp>
#include <com/sun/star/util/XReplaceDescriptor.hpp>
#include <com/sun/star/util/XReplaceable.hpp>
#include <com/sun/star/util/XSearchable.hpp>
#include <com/sun/star/view/XLineCursor.hpp>
#include <com/sun/star/view/XViewCursor.hpp>
#include <cppuhelper/bootstrap.hxx>
#include <cppuhelper/exc_hlp.hxx>
#include <cppuhelper/implbase1.hxx>
#include <osl/file.hxx>
#include <rtl/bootstrap.hxx>
#include <rtl/ref.hxx>
#include <rtl/ustring.hxx>

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <mutex>
#include <optional>
#include <signal.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace css = ::com::sun::star;
using css::uno::Any;
using css::uno::Reference;
using css::uno::Sequence;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;
using rtl::OUString;

namespace word::uno
{

namespace
{

constexpr const char *productName = "LibreOffice Writer";
constexpr const char *lostMessage = "The connection to LibreOffice Writer was lost.";
constexpr const char *noDocumentText = "No LibreOffice Writer document is open.";
constexpr const char *docxFilter = "MS Word 2007 XML";

OUString ou(const std::string &utf8)
{
    return OUString(utf8.data(), static_cast<sal_Int32>(utf8.size()), RTL_TEXTENCODING_UTF8);
}

OUString ou(const char *ascii)
{
    return OUString::createFromAscii(ascii);
}

std::string utf8(const OUString &text)
{
    const rtl::OString bytes = rtl::OUStringToOString(text, RTL_TEXTENCODING_UTF8);
    return std::string(bytes.getStr(), static_cast<std::size_t>(bytes.getLength()));
}

css::beans::PropertyValue property(const char *name, const Any &value)
{
    return css::beans::PropertyValue(ou(name), 0, value, css::beans::PropertyState_DIRECT_VALUE);
}

Sequence<css::beans::PropertyValue> properties(const std::vector<css::beans::PropertyValue> &values)
{
    Sequence<css::beans::PropertyValue> seq(static_cast<sal_Int32>(values.size()));
    for (std::size_t i = 0; i < values.size(); ++i) {
        seq.getArray()[i] = values[i];
    }
    return seq;
}

OUString fileUrl(const std::string &path)
{
    OUString url;
    if (osl::FileBase::getFileURLFromSystemPath(ou(path), url) != osl::FileBase::E_None) {
        throw AutomationError("Not a valid file path: " + path);
    }
    return url;
}

// --- Word's values and LibreOffice's ---------------------------------------------------------------

sal_Int32 officeColor(int32_t wordColor)
{
    if (wordColor == wdColorAutomatic) {
        return -1; // COL_AUTO
    }
    const uint32_t c = static_cast<uint32_t>(wordColor) & 0xFFFFFF;
    return static_cast<sal_Int32>(((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF));
}

int32_t wordColor(sal_Int32 officeColor)
{
    if (officeColor == -1) {
        return wdColorAutomatic;
    }
    const uint32_t c = static_cast<uint32_t>(officeColor) & 0xFFFFFF;
    return static_cast<int32_t>(((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF));
}

struct UnderlinePair {
    int32_t word;
    sal_Int16 office;
};

// Word's underline styles and LibreOffice's FontUnderline values; the first row for a value wins.
constexpr UnderlinePair underlines[] = {
    {wdUnderlineNone, css::awt::FontUnderline::NONE},
    {wdUnderlineSingle, css::awt::FontUnderline::SINGLE},
    {wdUnderlineDouble, css::awt::FontUnderline::DOUBLE},
    {wdUnderlineDotted, css::awt::FontUnderline::DOTTED},
    {wdUnderlineThick, css::awt::FontUnderline::BOLD},
    {wdUnderlineDash, css::awt::FontUnderline::DASH},
    {9, css::awt::FontUnderline::DASHDOT},
    {10, css::awt::FontUnderline::DASHDOTDOT},
    {wdUnderlineWavy, css::awt::FontUnderline::WAVE},
    {20, css::awt::FontUnderline::BOLDDOTTED},
    {23, css::awt::FontUnderline::BOLDDASH},
    {25, css::awt::FontUnderline::BOLDDASHDOT},
    {26, css::awt::FontUnderline::BOLDDASHDOTDOT},
    {27, css::awt::FontUnderline::BOLDWAVE},
    {39, css::awt::FontUnderline::LONGDASH},
    {43, css::awt::FontUnderline::DOUBLEWAVE},
    {55, css::awt::FontUnderline::BOLDLONGDASH},
    {wdUnderlineWavy, css::awt::FontUnderline::SMALLWAVE},
    {wdUnderlineSingle, css::awt::FontUnderline::DONTKNOW},
};

sal_Int16 officeUnderline(int32_t word)
{
    if (word == wdTrue || word == wdUnderlineWords) {
        return css::awt::FontUnderline::SINGLE;
    }
    for (const auto &pair : underlines) {
        if (pair.word == word) {
            return pair.office;
        }
    }
    throw AutomationError("LibreOffice Writer has no underline style " + std::to_string(word) + ".");
}

int32_t wordUnderline(sal_Int16 office)
{
    for (const auto &pair : underlines) {
        if (pair.office == office) {
            return pair.word;
        }
    }
    return wdUnderlineSingle;
}

bool isBold(float weight)
{
    return weight >= css::awt::FontWeight::BOLD;
}

bool isItalic(css::awt::FontSlant slant)
{
    return slant == css::awt::FontSlant_ITALIC || slant == css::awt::FontSlant_OBLIQUE;
}

// --- The local UNO runtime ---------------------------------------------------------------------

Reference<css::uno::XComponentContext> localContext()
{
    static std::mutex mutex;
    static Reference<css::uno::XComponentContext> context;
    std::lock_guard lock(mutex);
    if (!context.is()) {
        // Without this the runtime finds no type library and the first office call crashes.
        rtl::Bootstrap::set(ou("URE_BOOTSTRAP"), ou("vnd.sun.star.pathname:" TONVALE_LO_PROGRAM "/fundamentalrc"));
        try {
            context = cppu::defaultBootstrap_InitialComponentContext();
        } catch (const cppu::BootstrapException &e) {
            throw AutomationError("The UNO runtime of LibreOffice could not start: " + utf8(e.getMessage()));
        } catch (const css::uno::Exception &e) {
            throw AutomationError("The UNO runtime of LibreOffice could not start: " + utf8(e.Message));
        }
    }
    return context;
}

// Tells the host about the office quitting (a normal quit) and the bridge going away (a killed office).
class QuitListener : public cppu::WeakImplHelper1<css::frame::XTerminateListener>
{
public:
    explicit QuitListener(std::function<void(bool)> onQuit)
        : m_onQuit(std::move(onQuit))
    {
    }

    void detach()
    {
        std::lock_guard lock(m_mutex);
        m_onQuit = nullptr;
    }

    void SAL_CALL queryTermination(const css::lang::EventObject &) override
    {
    }
    // Never call the office from here: it is busy terminating.
    void SAL_CALL notifyTermination(const css::lang::EventObject &) override
    {
        fire(false);
    }
    void SAL_CALL disposing(const css::lang::EventObject &event) override
    {
        fire(event.Source.is() && event.Source == m_bridge);
    }

    void setBridge(const Reference<css::uno::XInterface> &bridge)
    {
        m_bridge = bridge;
    }

private:
    void fire(bool bridgeGone)
    {
        std::lock_guard lock(m_mutex);
        if (m_onQuit) {
            m_onQuit(bridgeGone);
        }
    }

    std::mutex m_mutex;
    std::function<void(bool)> m_onQuit;
    Reference<css::uno::XInterface> m_bridge;
};

struct FontSettings {
    std::optional<int32_t> bold, italic, underline, color;

    bool any() const
    {
        return bold || italic || underline || color;
    }
    void set(FontProperty property, int32_t value)
    {
        switch (property) {
        case FontProperty::Bold:
            bold = value;
            break;
        case FontProperty::Italic:
            italic = value;
            break;
        case FontProperty::Underline:
            underline = value;
            break;
        case FontProperty::Color:
            color = value;
            break;
        }
    }
};

struct FindSettings {
    std::string text;
    std::string replacement;
    bool forward = true;
    int32_t wrap = wdFindStop;
    bool format = false;
    bool matchCase = false;
    bool wholeWord = false;
    bool wildcards = false;
    bool soundsLike = false;
    bool allWordForms = false;
    FontSettings font;
    FontSettings replacementFont;
};

// The office's character properties for Word's font settings; used both as search criteria and as
// replacement formatting.
std::vector<css::beans::PropertyValue> officeAttributes(const FontSettings &font, bool asCriteria)
{
    std::vector<css::beans::PropertyValue> values;
    if (font.bold) {
        if (*font.bold == 0 && asCriteria) {
            throw AutomationError("LibreOffice Writer cannot search for text that is not bold.");
        }
        values.push_back(
            property("CharWeight", Any(*font.bold == 0 ? css::awt::FontWeight::NORMAL : css::awt::FontWeight::BOLD)));
    }
    if (font.italic) {
        if (*font.italic == 0 && asCriteria) {
            throw AutomationError("LibreOffice Writer cannot search for text that is not italic.");
        }
        values.push_back(
            property("CharPosture", Any(*font.italic == 0 ? css::awt::FontSlant_NONE : css::awt::FontSlant_ITALIC)));
    }
    if (font.underline) {
        values.push_back(property("CharUnderline", Any(officeUnderline(*font.underline))));
    }
    if (font.color) {
        values.push_back(property("CharColor", Any(officeColor(*font.color))));
    }
    return values;
}

// Replacement attributes drop the searched ones unless they are repeated: the replacement side
// carries the criteria, overridden by the replacement formatting.
std::vector<css::beans::PropertyValue> mergedAttributes(const std::vector<css::beans::PropertyValue> &criteria,
                                                        const std::vector<css::beans::PropertyValue> &replacement)
{
    std::vector<css::beans::PropertyValue> merged = replacement;
    for (const auto &criterion : criteria) {
        bool overridden = false;
        for (const auto &value : replacement) {
            overridden = overridden || value.Name == criterion.Name;
        }
        if (!overridden) {
            merged.push_back(criterion);
        }
    }
    return merged;
}

// Character count of a range's string as Word counts it: a paragraph break is one character.
int32_t wordLength(const OUString &text)
{
    int32_t length = 0;
    for (sal_Int32 i = 0; i < text.getLength(); ++i) {
        if (text[i] == '\r' && i + 1 < text.getLength() && text[i + 1] == '\n') {
            ++i;
        }
        ++length;
    }
    return length;
}

// --- Formatted finds the office gets wrong -----------------------------------------------------------
//
// The office's attribute-restricted search keeps track of where the searched attributes hold by
// walking the paragraph's formatting runs. Where a searched value comes from the paragraph itself
// (its whole text was formatted, or its paragraph style gives it) and runs inside it override it
// (blanks explicitly not bold between bold chords), only the stretch at the search's starting point
// is found: after the first overriding run the rest of the paragraph is skipped. A Replace-All then
// silently leaves most of such a line alone. Runs formatted one by one are found correctly.

Sequence<OUString> propertyNames(const std::vector<css::beans::PropertyValue> &values)
{
    Sequence<OUString> names(static_cast<sal_Int32>(values.size()));
    for (std::size_t i = 0; i < values.size(); ++i) {
        names.getArray()[i] = values[i].Name;
    }
    return names;
}

bool anyCriterionHolds(const Sequence<Any> &values, const std::vector<css::beans::PropertyValue> &criteria)
{
    for (std::size_t i = 0; i < criteria.size() && i < static_cast<std::size_t>(values.getLength()); ++i) {
        if (values[static_cast<sal_Int32>(i)] == criteria[i].Value) {
            return true;
        }
    }
    return false;
}

// Whether some paragraph may take a searched value from the paragraph level: its own character
// attributes (the paragraphs' automatic styles) or a paragraph style in use.
bool criteriaFromParagraphs(const Reference<css::text::XTextDocument> &doc,
                            const std::vector<css::beans::PropertyValue> &criteria)
{
    const auto names = propertyNames(criteria);
    Reference<css::style::XAutoStylesSupplier> autoSupplier(doc, UNO_QUERY);
    if (autoSupplier.is()) {
        const auto families = autoSupplier->getAutoStyles();
        if (families.is() && families->hasByName(ou("ParagraphStyles"))) {
            Reference<css::container::XEnumerationAccess> family(families->getByName(ou("ParagraphStyles")), UNO_QUERY);
            const auto styles = family.is() ? family->createEnumeration() : nullptr;
            while (styles.is() && styles->hasMoreElements()) {
                Reference<css::style::XAutoStyle> style(styles->nextElement(), UNO_QUERY);
                if (style.is() && anyCriterionHolds(style->getPropertyValues(names), criteria)) {
                    return true;
                }
            }
        }
    }
    Reference<css::style::XStyleFamiliesSupplier> styleSupplier(doc, UNO_QUERY);
    if (!styleSupplier.is()) {
        return true; // cannot tell: take the careful way
    }
    Reference<css::container::XIndexAccess> paragraphStyles(
        styleSupplier->getStyleFamilies()->getByName(ou("ParagraphStyles")),
        UNO_QUERY);
    const sal_Int32 count = paragraphStyles.is() ? paragraphStyles->getCount() : 0;
    for (sal_Int32 i = 0; i < count; ++i) {
        Reference<css::style::XStyle> style(paragraphStyles->getByIndex(i), UNO_QUERY);
        if (!style.is() || !style->isInUse()) {
            continue;
        }
        Reference<css::beans::XMultiPropertySet> props(style, UNO_QUERY);
        if (props.is() && anyCriterionHolds(props->getPropertyValues(names), criteria)) {
            return true;
        }
    }
    return false;
}

// Every match of the text alone whose characters all carry the criteria, in document order.
std::vector<Reference<css::text::XTextRange>> matchesCarrying(const Reference<css::util::XSearchable> &searchable,
                                                              const Reference<css::beans::XPropertySet> &settings,
                                                              const OUString &pattern,
                                                              const std::vector<css::beans::PropertyValue> &criteria)
{
    const auto descriptor = searchable->createSearchDescriptor();
    descriptor->setSearchString(pattern);
    Reference<css::beans::XPropertySet> textOnly(descriptor, UNO_QUERY_THROW);
    for (const char *name : {"SearchRegularExpression", "SearchCaseSensitive", "SearchWords"}) {
        textOnly->setPropertyValue(ou(name), settings->getPropertyValue(ou(name)));
    }
    textOnly->setPropertyValue(ou("SearchStyles"), Any(false));
    const auto found = searchable->findAll(descriptor);
    const sal_Int32 count = found.is() ? found->getCount() : 0;
    const auto names = propertyNames(criteria);
    std::vector<Reference<css::text::XTextRange>> matches;
    for (sal_Int32 i = 0; i < count; ++i) {
        Reference<css::text::XTextRange> range(found->getByIndex(i), UNO_QUERY);
        Reference<css::beans::XPropertySet> props(range, UNO_QUERY);
        Reference<css::beans::XPropertyState> states(range, UNO_QUERY);
        if (!props.is() || !states.is()) {
            continue;
        }
        bool carries = true;
        for (std::size_t k = 0; carries && k < criteria.size(); ++k) {
            carries = props->getPropertyValue(criteria[k].Name) == criteria[k].Value;
        }
        if (carries) {
            // A value over mixed formatting reads as its first character's.
            for (const auto state : states->getPropertyStates(names)) {
                carries = carries && state != css::beans::PropertyState_AMBIGUOUS_VALUE;
            }
        }
        if (carries) {
            matches.push_back(range);
        }
    }
    return matches;
}

// The mark that stands in for the criteria while the office replaces the matches found by
// matchesCarrying: a kerning of 0.13 mm, which no document uses, set on the matches only.
constexpr const char *tagName = "CharKerning";
constexpr sal_Int16 tagValue = 13;

} // namespace

// --- The host's state --------------------------------------------------------------------------

struct Host::Impl {
    Reference<css::uno::XComponentContext> local;
    Reference<css::lang::XComponent> bridge;
    Reference<css::uno::XComponentContext> remote;
    Reference<css::frame::XDesktop2> desktop;
    rtl::Reference<QuitListener> listener;
    std::atomic<bool> lost{false};
    std::atomic<bool> quitRaised{false};
    std::function<void()> quit; // raises the Quit event

    FindSettings find;

    // Whether the active document may hold searched values on the paragraph level, for the
    // criteria last asked about; kept for the length of an undo group.
    struct ParagraphCriteria {
        Reference<css::uno::XInterface> doc;
        std::vector<css::beans::PropertyValue> criteria;
        bool possible = true;
    };
    std::optional<ParagraphCriteria> paragraphCriteria;
    bool mayHoldParagraphCriteria(const Reference<css::text::XTextDocument> &doc,
                                  const std::vector<css::beans::PropertyValue> &criteria);
    bool replaceCarrying(const Reference<css::text::XTextDocument> &doc,
                         const Reference<css::util::XReplaceDescriptor> &descriptor,
                         const std::vector<css::beans::PropertyValue> &criteria,
                         const std::vector<css::beans::PropertyValue> &formatting);

    struct OpenGroup {
        Reference<css::document::XUndoManager> undo;
        Reference<css::frame::XModel> model;
        bool locked = false;
    };
    std::vector<OpenGroup> groups;

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
        std::vector<css::beans::PropertyValue> attributes;
    };
    std::vector<CutPiece> cutPieces;

    [[noreturn]] void rethrow();

    template<class F> auto guarded(F &&f) -> decltype(f())
    {
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

void Host::Impl::rethrow()
{
    try {
        throw;
    } catch (const css::lang::DisposedException &e) {
        const std::string message = utf8(e.Message);
        if (lost || message.find("URP") != std::string::npos || message.find("bridge") != std::string::npos) {
            lost = true;
            throw AutomationError(lostMessage);
        }
        throw AutomationError("The LibreOffice Writer document is no longer open.");
    } catch (const css::uno::RuntimeException &e) {
        const std::string message = utf8(e.Message);
        if (lost || message.find("URP") != std::string::npos || message.find("bridge") != std::string::npos) {
            lost = true;
            throw AutomationError(lostMessage);
        }
        throw AutomationError("LibreOffice Writer failed: "
                              + (message.empty() ? utf8(cppu::getCaughtException().getValueTypeName()) : message));
    } catch (const css::uno::Exception &e) {
        const std::string message = utf8(e.Message);
        throw AutomationError("LibreOffice Writer failed: "
                              + (message.empty() ? utf8(cppu::getCaughtException().getValueTypeName()) : message));
    } catch (const std::bad_alloc &) {
        throw;
    } catch (const std::exception &e) {
        throw AutomationError(std::string("LibreOffice Writer failed: ") + e.what());
    }
}

std::vector<Reference<css::text::XTextDocument>> Host::Impl::writerDocuments()
{
    std::vector<Reference<css::text::XTextDocument>> docs;
    const auto components = desktop->getComponents();
    if (!components.is()) {
        return docs;
    }
    const auto enumeration = components->createEnumeration();
    while (enumeration->hasMoreElements()) {
        Reference<css::text::XTextDocument> doc(enumeration->nextElement(), UNO_QUERY);
        if (doc.is()) {
            docs.push_back(doc);
        }
    }
    return docs;
}

Reference<css::text::XTextDocument> Host::Impl::activeDocument(bool required)
{
    Reference<css::text::XTextDocument> doc(desktop->getCurrentComponent(), UNO_QUERY);
    if (!doc.is()) {
        // The current component is none when the office shows no window, and can be another
        // application's document: take an open Writer document then.
        const auto docs = writerDocuments();
        if (!docs.empty()) {
            doc = docs.front();
        }
    }
    if (!doc.is() && required) {
        throw AutomationError(noDocumentText);
    }
    return doc;
}

Reference<css::frame::XController> Host::Impl::controller(const Reference<css::text::XTextDocument> &doc)
{
    Reference<css::frame::XModel> model(doc, UNO_QUERY_THROW);
    auto result = model->getCurrentController();
    if (!result.is()) {
        throw AutomationError("The LibreOffice Writer document has no window.");
    }
    return result;
}

void Host::Impl::unlockForView()
{
    // The selection moves by the layout, which a locked model does not keep up to date.
    for (auto &group : groups) {
        if (group.locked) {
            group.model->unlockControllers();
            group.locked = false;
        }
    }
}

Reference<css::text::XTextViewCursor> Host::Impl::viewCursor(bool unlock)
{
    if (unlock) {
        unlockForView();
    }
    const auto doc = activeDocument();
    Reference<css::text::XTextViewCursorSupplier> supplier(controller(doc), UNO_QUERY_THROW);
    return supplier->getViewCursor();
}

int32_t Host::Impl::offset(const Reference<css::text::XTextRange> &position)
{
    const auto text = position->getText();
    const auto cursor = text->createTextCursor();
    cursor->gotoStart(false);
    cursor->gotoRange(position, true);
    return wordLength(cursor->getString());
}

Reference<css::datatransfer::clipboard::XClipboard> Host::Impl::clipboard()
{
    try {
        return Reference<css::datatransfer::clipboard::XClipboard>(
            css::datatransfer::clipboard::SystemClipboard::create(remote),
            UNO_QUERY);
    } catch (const css::uno::RuntimeException &) {
        throw;
    } catch (const css::uno::Exception &) {
        return {};
    }
}

namespace
{

constexpr const char *cutAttributes[] = {"CharColor", "CharPosture", "CharUnderline", "CharWeight"};

} // namespace

void Host::Impl::recordCutFormatting(const Reference<css::text::XTextViewCursor> &selection)
{
    cutPieces.clear();
    const auto text = selection->getText();
    const auto range = text->createTextCursorByRange(Reference<css::text::XTextRange>(selection.get()));
    Reference<css::container::XEnumerationAccess> paragraphs(range, UNO_QUERY);
    if (!paragraphs.is()) {
        return;
    }
    bool first = true;
    const auto paragraphEnum = paragraphs->createEnumeration();
    while (paragraphEnum->hasMoreElements()) {
        Reference<css::container::XEnumerationAccess> portions(paragraphEnum->nextElement(), UNO_QUERY);
        if (!portions.is()) {
            continue;
        }
        if (!first) {
            CutPiece mark;
            mark.length = 1;
            mark.paragraphBreak = true;
            cutPieces.push_back(mark);
        }
        first = false;
        const auto portionEnum = portions->createEnumeration();
        while (portionEnum->hasMoreElements()) {
            Reference<css::text::XTextRange> portion(portionEnum->nextElement(), UNO_QUERY);
            Reference<css::beans::XPropertySet> props(portion, UNO_QUERY);
            Reference<css::beans::XPropertyState> states(portion, UNO_QUERY);
            if (!portion.is() || !props.is() || !states.is()) {
                continue;
            }
            CutPiece piece;
            piece.length = portion->getString().getLength();
            if (piece.length == 0) {
                continue;
            }
            for (const char *name : cutAttributes) {
                if (states->getPropertyState(ou(name)) != css::beans::PropertyState_DEFAULT_VALUE) {
                    piece.attributes.push_back(property(name, props->getPropertyValue(ou(name))));
                }
            }
            cutPieces.push_back(piece);
        }
    }
}

void Host::Impl::restoreCutFormatting()
{
    sal_Int32 total = 0;
    for (const auto &piece : cutPieces) {
        total += piece.length;
    }
    if (total == 0) {
        return;
    }
    const auto view = viewCursor();
    const auto text = view->getText();
    const auto cursor = text->createTextCursorByRange(view->getEnd());
    for (sal_Int32 left = total; left > 0;) {
        const auto step = static_cast<sal_Int16>(std::min<sal_Int32>(left, 32767));
        if (!cursor->goLeft(step, false)) {
            return;
        }
        left -= step;
    }
    Reference<css::beans::XPropertySet> props(cursor, UNO_QUERY_THROW);
    Reference<css::beans::XPropertyState> states(cursor, UNO_QUERY_THROW);
    for (const auto &piece : cutPieces) {
        cursor->collapseToEnd();
        cursor->goRight(static_cast<sal_Int16>(std::min<sal_Int32>(piece.length, 32767)), true);
        if (piece.paragraphBreak) {
            continue;
        }
        for (const char *name : cutAttributes) {
            states->setPropertyToDefault(ou(name));
        }
        for (const auto &value : piece.attributes) {
            props->setPropertyValue(value.Name, value.Value);
        }
    }
}

bool Host::Impl::mayHoldParagraphCriteria(const Reference<css::text::XTextDocument> &doc,
                                          const std::vector<css::beans::PropertyValue> &criteria)
{
    const Reference<css::uno::XInterface> key(doc, UNO_QUERY);
    if (paragraphCriteria && paragraphCriteria->doc == key && paragraphCriteria->criteria.size() == criteria.size()
        && std::equal(criteria.begin(),
                      criteria.end(),
                      paragraphCriteria->criteria.begin(),
                      [](const auto &a, const auto &b) {
                          return a.Name == b.Name && a.Value == b.Value;
                      })) {
        return paragraphCriteria->possible;
    }
    const bool possible = criteriaFromParagraphs(doc, criteria);
    // Within an undo group (one command) nobody else formats whole paragraphs; outside ask each time.
    if (!groups.empty()) {
        paragraphCriteria = ParagraphCriteria{key, criteria, possible};
    }
    return possible;
}

// Replace-All of the descriptor's text restricted to the criteria, without the office's own
// attribute-restricted search: the matches carrying the criteria are found by their text and their
// formatting read, marked, and replaced by a Replace-All restricted to the mark.
bool Host::Impl::replaceCarrying(const Reference<css::text::XTextDocument> &doc,
                                 const Reference<css::util::XReplaceDescriptor> &descriptor,
                                 const std::vector<css::beans::PropertyValue> &criteria,
                                 const std::vector<css::beans::PropertyValue> &formatting)
{
    Reference<css::util::XSearchable> searchable(doc, UNO_QUERY_THROW);
    Reference<css::beans::XPropertySet> settings(descriptor, UNO_QUERY_THROW);
    const OUString pattern = descriptor->getSearchString();
    const auto matches = matchesCarrying(searchable, settings, pattern, criteria);
    if (matches.empty()) {
        return false;
    }
    if (formatting.empty() && find.replacement.empty()) {
        for (auto it = matches.rbegin(); it != matches.rend(); ++it) {
            (*it)->setString(OUString());
        }
        return true;
    }
    if (find.replacement.empty()) {
        for (const auto &match : matches) {
            Reference<css::beans::XPropertySet> range(match, UNO_QUERY_THROW);
            for (const auto &value : formatting) {
                range->setPropertyValue(value.Name, value.Value);
            }
        }
        return true;
    }
    for (const auto &match : matches) {
        Reference<css::beans::XPropertySet>(match, UNO_QUERY_THROW)->setPropertyValue(ou(tagName), Any(tagValue));
    }
    Reference<css::util::XReplaceable> replaceable(doc, UNO_QUERY_THROW);
    const auto marked = replaceable->createReplaceDescriptor();
    marked->setSearchString(pattern);
    marked->setReplaceString(descriptor->getReplaceString());
    Reference<css::beans::XPropertySet> markedSettings(marked, UNO_QUERY_THROW);
    for (const char *name : {"SearchRegularExpression", "SearchCaseSensitive", "SearchWords"}) {
        markedSettings->setPropertyValue(ou(name), settings->getPropertyValue(ou(name)));
    }
    markedSettings->setPropertyValue(ou("SearchStyles"), Any(false));
    Reference<css::util::XPropertyReplace> markedAttributes(marked, UNO_QUERY_THROW);
    markedAttributes->setSearchAttributes(properties({property(tagName, Any(tagValue))}));
    if (!formatting.empty()) {
        markedAttributes->setReplaceAttributes(properties(mergedAttributes(criteria, formatting)));
    }
    const sal_Int32 replaced = replaceable->replaceAll(Reference<css::util::XSearchDescriptor>(marked.get()));

    // The replacements carry the mark of their first character: take it off again, in one
    // attribute-only Replace-All (the mark comes from runs, which the office's search gets right).
    // Set to no kerning, not reset: the office's undo of a reset inside a paragraph formatted as a
    // whole loses the paragraph's formatting.
    const auto cleanup = replaceable->createReplaceDescriptor();
    Reference<css::util::XPropertyReplace> cleanupAttributes(cleanup, UNO_QUERY_THROW);
    cleanupAttributes->setSearchAttributes(properties({property(tagName, Any(tagValue))}));
    cleanupAttributes->setReplaceAttributes(properties({property(tagName, Any(sal_Int16(0)))}));
    replaceable->replaceAll(Reference<css::util::XSearchDescriptor>(cleanup.get()));
    return replaced > 0;
}

bool Host::Impl::execute(int32_t replace)
{
    if (find.soundsLike || find.allWordForms) {
        throw AutomationError("LibreOffice Writer cannot find by sound or word form.");
    }
    const std::string pattern = find.wildcards ? wildcardToRegex(find.text) : find.text;
    if (pattern.empty()) {
        throw AutomationError("The Find What text is empty.");
    }
    const auto doc = activeDocument();
    Reference<css::util::XReplaceable> replaceable(doc, UNO_QUERY_THROW);
    const auto descriptor = replaceable->createReplaceDescriptor();
    const Reference<css::util::XSearchDescriptor> search(descriptor.get());
    descriptor->setSearchString(ou(pattern));
    if (find.wildcards) {
        checkWildcardReplacement(find.text, find.replacement);
    }
    const std::string replacement = find.wildcards ? wildcardReplacementToRegex(find.replacement) : find.replacement;
    descriptor->setReplaceString(ou(replacement));

    std::vector<css::beans::PropertyValue> criteria;
    std::vector<css::beans::PropertyValue> formatting;
    if (find.format) {
        criteria = officeAttributes(find.font, true);
        formatting = officeAttributes(find.replacementFont, false);
    }
    // Formatting a match that fills a whole paragraph gives the paragraph that formatting.
    struct ForgetParagraphCriteria {
        std::optional<ParagraphCriteria> &known;
        bool formats;
        ~ForgetParagraphCriteria()
        {
            if (formats) {
                known.reset();
            }
        }
    } forget{paragraphCriteria, !formatting.empty()};

    Reference<css::beans::XPropertySet> settings(descriptor, UNO_QUERY_THROW);
    settings->setPropertyValue(ou("SearchRegularExpression"), Any(find.wildcards));
    // A wildcard search is case-exact whatever MatchCase says.
    settings->setPropertyValue(ou("SearchCaseSensitive"), Any(find.wildcards || find.matchCase));
    settings->setPropertyValue(ou("SearchWords"), Any(find.wholeWord));
    settings->setPropertyValue(ou("SearchBackwards"), Any(!find.forward && replace != wdReplaceAll));
    // With attributes, SearchStyles makes formatting given by styles count (bold from a character or
    // paragraph style). Without attributes it would search for a paragraph style by name.
    settings->setPropertyValue(ou("SearchStyles"), Any(!criteria.empty()));

    Reference<css::util::XPropertyReplace> attributeReplace(descriptor, UNO_QUERY_THROW);
    if (!criteria.empty()) {
        attributeReplace->setSearchAttributes(properties(criteria));
    }
    if (!formatting.empty()) {
        attributeReplace->setReplaceAttributes(properties(mergedAttributes(criteria, formatting)));
    }

    Reference<css::util::XSearchable> searchable(doc, UNO_QUERY_THROW);
    if (replace == wdReplaceAll) {
        // The office moves the selection to where it replaced; Word leaves it on its text.
        struct KeepSelection {
            Reference<css::text::XTextViewCursor> view;
            Reference<css::text::XTextCursor> start, end;
            bool atDocumentStart = false;
            ~KeepSelection()
            {
                try {
                    if (view.is() && atDocumentStart) {
                        // A match at the insertion point would push it past the replacement.
                        view->gotoStart(false);
                        if (end.is()) {
                            view->gotoRange(Reference<css::text::XTextRange>(end.get()), true);
                        }
                    } else if (view.is()) {
                        view->gotoRange(Reference<css::text::XTextRange>(start.get()), false);
                        view->gotoRange(Reference<css::text::XTextRange>(end.get()), true);
                    }
                } catch (...) {
                    // The selection is a courtesy; the replacement's own result matters.
                }
            }
        } keep;
        if (Reference<css::frame::XModel>(doc, UNO_QUERY_THROW)->getCurrentController().is()) {
            keep.view = viewCursor(false);
            const auto text = keep.view->getText();
            keep.start = text->createTextCursorByRange(keep.view->getStart());
            keep.end = text->createTextCursorByRange(keep.view->getEnd());
            Reference<css::text::XTextRangeCompare> compare(text, UNO_QUERY);
            keep.atDocumentStart =
                compare.is() && compare->compareRegionStarts(text->getStart(), keep.view->getStart()) == 0;
            if (keep.atDocumentStart && keep.view->isCollapsed()) {
                keep.end.clear();
            }
        }
        if (!criteria.empty() && mayHoldParagraphCriteria(doc, criteria)) {
            return replaceCarrying(doc, descriptor, criteria, formatting);
        }
        if (!criteria.empty() && formatting.empty() && find.replacement.empty()) {
            // The office keeps the text of an attribute-restricted match replaced by nothing: delete
            // every match itself, last first so that the earlier ranges stay where they are.
            const auto found = searchable->findAll(search);
            const sal_Int32 count = found.is() ? found->getCount() : 0;
            for (sal_Int32 i = count - 1; i >= 0; --i) {
                Reference<css::text::XTextRange> range(found->getByIndex(i), UNO_QUERY_THROW);
                range->setString(OUString());
            }
            return count > 0;
        }
        if (!formatting.empty() && find.replacement.empty()) {
            // Formatting only. The office would delete the matches; replacing each by itself would
            // give it its first character's formatting throughout (a superscript 7 would be lost).
            // Format every match where it stands instead.
            const auto found = searchable->findAll(search);
            const sal_Int32 count = found.is() ? found->getCount() : 0;
            for (sal_Int32 i = 0; i < count; ++i) {
                Reference<css::beans::XPropertySet> range(found->getByIndex(i), UNO_QUERY_THROW);
                for (const auto &value : formatting) {
                    range->setPropertyValue(value.Name, value.Value);
                }
            }
            return count > 0;
        }
        return replaceable->replaceAll(search) > 0;
    }
    if (replace == wdReplaceNone) {
        const auto cursor = viewCursor();
        Reference<css::uno::XInterface> found = searchable->findNext(cursor->getEnd(), search);
        if (!found.is() && find.wrap == wdFindContinue) {
            found = searchable->findFirst(search);
        }
        Reference<css::text::XTextRange> range(found, UNO_QUERY);
        if (!range.is()) {
            return false;
        }
        cursor->gotoRange(range->getStart(), false);
        cursor->gotoRange(range->getEnd(), true);
        return true;
    }
    throw AutomationError("LibreOffice Writer's host replaces all matches or none.");
}

// --- Find --------------------------------------------------------------------------------------

namespace
{

class UnoFind : public Find
{
public:
    explicit UnoFind(Host::Impl &impl)
        : m(impl)
    {
    }

    void ClearFormatting() override
    {
        m.find.font = {};
    }
    void ClearReplacementFormatting() override
    {
        m.find.replacementFont = {};
    }
    void setText(const std::string &text) override
    {
        m.find.text = text;
    }
    void setReplacementText(const std::string &text) override
    {
        m.find.replacement = text;
    }
    void setForward(bool forward) override
    {
        m.find.forward = forward;
    }
    void setWrap(int32_t wrap) override
    {
        m.find.wrap = wrap;
    }
    void setFormat(bool format) override
    {
        m.find.format = format;
    }
    void setMatchCase(bool matchCase) override
    {
        m.find.matchCase = matchCase;
    }
    void setMatchWholeWord(bool wholeWord) override
    {
        m.find.wholeWord = wholeWord;
    }
    void setMatchWildcards(bool wildcards) override
    {
        m.find.wildcards = wildcards;
    }
    void setMatchSoundsLike(bool soundsLike) override
    {
        m.find.soundsLike = soundsLike;
    }
    void setMatchAllWordForms(bool allWordForms) override
    {
        m.find.allWordForms = allWordForms;
    }
    void setFont(FontProperty property, int32_t value) override
    {
        m.find.font.set(property, value);
        m.find.format = true; // as Word does when a criterion is set
    }
    void setReplacementFont(FontProperty property, int32_t value) override
    {
        m.find.replacementFont.set(property, value);
        m.find.format = true;
    }
    bool Execute(int32_t replace) override
    {
        return m.guarded([&] {
            return m.execute(replace);
        });
    }

private:
    Host::Impl &m;
};

// --- Selection ---------------------------------------------------------------------------------

class UnoSelection : public Selection
{
public:
    explicit UnoSelection(Host::Impl &impl)
        : m(impl)
    {
    }

    int32_t Start() override
    {
        return m.guarded([&] {
            const auto cursor = m.viewCursor();
            return std::min(m.offset(cursor->getStart()), m.offset(cursor->getEnd()));
        });
    }

    int32_t End() override
    {
        return m.guarded([&] {
            const auto cursor = m.viewCursor();
            return std::max(m.offset(cursor->getStart()), m.offset(cursor->getEnd()));
        });
    }

    int32_t font(FontProperty which) override
    {
        return m.guarded([&]() -> int32_t {
            const auto cursor = m.viewCursor();
            Reference<css::beans::XPropertySet> props(cursor, UNO_QUERY_THROW);
            Reference<css::beans::XPropertyState> state(cursor, UNO_QUERY_THROW);
            const char *name = which == FontProperty::Bold ? "CharWeight"
                : which == FontProperty::Italic            ? "CharPosture"
                : which == FontProperty::Underline         ? "CharUnderline"
                                                           : "CharColor";
            if (state->getPropertyState(ou(name)) == css::beans::PropertyState_AMBIGUOUS_VALUE) {
                return wdUndefined;
            }
            const Any value = props->getPropertyValue(ou(name));
            if (!value.hasValue()) {
                return wdUndefined;
            }
            switch (which) {
            case FontProperty::Bold: {
                float weight = css::awt::FontWeight::NORMAL;
                value >>= weight;
                return isBold(weight) ? wdTrue : 0;
            }
            case FontProperty::Italic: {
                css::awt::FontSlant slant = css::awt::FontSlant_NONE;
                value >>= slant;
                return isItalic(slant) ? wdTrue : 0;
            }
            case FontProperty::Underline: {
                sal_Int16 underline = css::awt::FontUnderline::NONE;
                value >>= underline;
                return wordUnderline(underline);
            }
            case FontProperty::Color: {
                sal_Int32 color = -1;
                value >>= color;
                return wordColor(color);
            }
            }
            return wdUndefined;
        });
    }

    int32_t MoveLeft(int32_t unit, int16_t count, std::optional<int32_t> extend) override
    {
        return horizontal(unit, count, extend, false);
    }

    int32_t MoveRight(int32_t unit, int16_t count, std::optional<int32_t> extend) override
    {
        return horizontal(unit, count, extend, true);
    }

    int32_t MoveUp(int32_t unit, int16_t count, std::optional<int32_t> extend) override
    {
        return vertical(unit, count, extend, false);
    }

    int32_t MoveDown(int32_t unit, int16_t count, std::optional<int32_t> extend) override
    {
        return vertical(unit, count, extend, true);
    }

    void Cut() override
    {
        m.guarded([&] {
            m.haveColumn = false;
            const auto cursor = m.viewCursor();
            if (cursor->isCollapsed()) {
                return;
            }
            Reference<css::datatransfer::XTransferableSupplier> supplier(m.controller(m.activeDocument()),
                                                                         UNO_QUERY_THROW);
            const auto transferable = supplier->getTransferable();
            m.cut = transferable;
            m.recordCutFormatting(cursor);
            if (const auto clipboard = m.clipboard(); clipboard.is()) {
                clipboard->setContents(transferable, nullptr);
            }
            cursor->setString(OUString());
        });
    }

    void PasteAndFormat(int32_t) override
    {
        m.guarded([&] {
            m.haveColumn = false;
            m.viewCursor();
            Reference<css::datatransfer::XTransferable> transferable;
            if (const auto clipboard = m.clipboard(); clipboard.is()) {
                transferable = clipboard->getContents();
            }
            if (!transferable.is()) {
                transferable = m.cut;
            }
            if (!transferable.is()) {
                throw AutomationError("The clipboard is empty.");
            }
            Reference<css::datatransfer::XTransferableSupplier> supplier(m.controller(m.activeDocument()),
                                                                         UNO_QUERY_THROW);
            supplier->insertTransferable(transferable);
            if (transferable == m.cut) {
                m.restoreCutFormatting();
            }
        });
    }

    int32_t Delete(int32_t unit, int16_t count) override
    {
        return m.guarded([&]() -> int32_t {
            checkCharacterUnit(unit);
            m.haveColumn = false;
            const auto cursor = m.viewCursor();
            if (!cursor->isCollapsed()) {
                cursor->setString(OUString());
                return 1;
            }
            int32_t deleted = 0;
            for (int32_t i = 0; i < count && cursor->goRight(1, true); ++i) {
                ++deleted;
            }
            if (deleted > 0) {
                cursor->setString(OUString());
            }
            return deleted;
        });
    }

    std::unique_ptr<Find> find() override
    {
        if (m.lost) {
            throw AutomationError(lostMessage);
        }
        return std::make_unique<UnoFind>(m);
    }

private:
    static void checkCharacterUnit(int32_t unit)
    {
        if (unit != wdCharacter) {
            throw AutomationError("LibreOffice Writer's host moves by characters here, not by unit "
                                  + std::to_string(unit) + ".");
        }
    }

    int32_t horizontal(int32_t unit, int16_t count, std::optional<int32_t> extend, bool right)
    {
        return m.guarded([&]() -> int32_t {
            checkCharacterUnit(unit);
            m.haveColumn = false;
            if (count < 0) {
                right = !right;
                count = static_cast<int16_t>(-count);
            }
            const bool expand = extend.value_or(wdMove) == wdExtend;
            const auto cursor = m.viewCursor();
            int32_t moved = 0;
            if (!expand && !cursor->isCollapsed() && count > 0) {
                // A selection collapses towards the move; that counts as one unit.
                const int32_t start = m.offset(cursor->getStart());
                const int32_t end = m.offset(cursor->getEnd());
                const bool startFirst = start <= end;
                if (right == startFirst) {
                    cursor->collapseToEnd();
                } else {
                    cursor->collapseToStart();
                }
                ++moved;
            }
            for (; moved < count; ++moved) {
                if (!(right ? cursor->goRight(1, expand) : cursor->goLeft(1, expand))) {
                    break;
                }
            }
            return moved;
        });
    }

    int32_t vertical(int32_t unit, int16_t count, std::optional<int32_t> extend, bool down)
    {
        return m.guarded([&]() -> int32_t {
            if (unit != wdLine) {
                throw AutomationError("LibreOffice Writer's host moves up and down by lines only.");
            }
            if (count < 0) {
                down = !down;
                count = static_cast<int16_t>(-count);
            }
            const bool expand = extend.value_or(wdMove) == wdExtend;
            const auto cursor = m.viewCursor();
            Reference<css::view::XViewCursor> lines(cursor, UNO_QUERY_THROW);
            const css::awt::Point before = cursor->getPosition();
            // Consecutive vertical moves keep the column they started from, as the editing keys do.
            const bool continuing = m.haveColumn && before.X == m.columnLeftAt.X && before.Y == m.columnLeftAt.Y;
            const sal_Int32 column = continuing ? m.column : before.X;
            int32_t moved = 0;
            for (; moved < count; ++moved) {
                // At the first or last line the office may still move along the line: no line moved.
                const sal_Int32 y = cursor->getPosition().Y;
                if (!(down ? lines->goDown(1, expand) : lines->goUp(1, expand)) || cursor->getPosition().Y == y) {
                    break;
                }
            }
            if (moved > 0 && continuing) {
                Reference<css::view::XLineCursor> line(cursor, UNO_QUERY);
                while (line.is() && cursor->getPosition().X < column && !line->isAtEndOfLine()) {
                    const sal_Int32 y = cursor->getPosition().Y;
                    if (!cursor->goRight(1, expand) || cursor->getPosition().Y != y) {
                        cursor->goLeft(1, expand);
                        break;
                    }
                }
            }
            m.haveColumn = true;
            m.column = column;
            m.columnLeftAt = cursor->getPosition();
            return moved;
        });
    }

    Host::Impl &m;
};

class UnoDocument : public Document
{
public:
    explicit UnoDocument(Host::Impl &impl)
        : m(impl)
    {
    }

    void FollowHyperlink(const std::string &address, bool) override
    {
        m.guarded([&] {
            m.activeDocument();
            const auto shell = css::system::SystemShellExecute::create(m.remote);
            try {
                shell->execute(ou(address), OUString(), css::system::SystemShellExecuteFlags::URIS_ONLY);
            } catch (const css::uno::RuntimeException &) {
                throw;
            } catch (const css::uno::Exception &e) {
                throw AutomationError("Cannot open " + address + ": " + utf8(e.Message));
            }
        });
    }

private:
    Host::Impl &m;
};

} // namespace

// --- Host --------------------------------------------------------------------------------------

Host::Host(std::unique_ptr<Impl> impl)
    : m_impl(std::move(impl))
{
    m_impl->quit = [this] {
        raiseQuit();
    };
}

Host::~Host()
{
    Impl &m = *m_impl;
    if (m.listener.is()) {
        m.listener->detach();
    }
    if (!m.lost) {
        try {
            for (auto it = m.groups.rbegin(); it != m.groups.rend(); ++it) {
                if (it->locked) {
                    it->model->unlockControllers();
                }
                it->undo->leaveUndoContext();
            }
            m.desktop->removeTerminateListener(Reference<css::frame::XTerminateListener>(m.listener.get()));
        } catch (...) {
            // The office may be gone already.
        }
    }
    try {
        if (m.bridge.is()) {
            m.bridge->dispose();
        }
    } catch (...) {
    }
}

HostNames Host::names() const
{
    return {productName, productName};
}

int32_t Host::DocumentsCount()
{
    return m_impl->guarded([&] {
        return static_cast<int32_t>(m_impl->writerDocuments().size());
    });
}

std::unique_ptr<Selection> Host::selection()
{
    return m_impl->guarded([&]() -> std::unique_ptr<Selection> {
        m_impl->activeDocument();
        return std::make_unique<UnoSelection>(*m_impl);
    });
}

std::unique_ptr<Document> Host::activeDocument()
{
    return m_impl->guarded([&]() -> std::unique_ptr<Document> {
        m_impl->activeDocument();
        return std::make_unique<UnoDocument>(*m_impl);
    });
}

void Host::ScreenRefresh()
{
    // The office redraws by itself once the controllers are unlocked; only check that it is there.
    m_impl->guarded([&] {
        m_impl->desktop->getCurrentComponent();
    });
}

void Host::Quit()
{
    m_impl->guarded([&] {
        try {
            m_impl->desktop->terminate();
        } catch (const css::lang::DisposedException &) {
            // The office went away while answering: it has quit.
        }
    });
}

void Host::StartUndoGroup(const std::string &name)
{
    m_impl->guarded([&] {
        const auto doc = m_impl->activeDocument(false);
        if (!doc.is()) {
            return;
        }
        Reference<css::document::XUndoManagerSupplier> supplier(doc, UNO_QUERY_THROW);
        Impl::OpenGroup group;
        group.undo = supplier->getUndoManager();
        group.model.set(doc, UNO_QUERY_THROW);
        group.undo->enterUndoContext(ou(name));
        m_impl->paragraphCriteria.reset();
        // Without redrawing after every change a whole pass runs about three times faster.
        group.model->lockControllers();
        group.locked = true;
        m_impl->groups.push_back(group);
    });
}

void Host::EndUndoGroup()
{
    m_impl->guarded([&] {
        if (m_impl->groups.empty()) {
            return;
        }
        const Impl::OpenGroup group = m_impl->groups.back();
        m_impl->groups.pop_back();
        m_impl->paragraphCriteria.reset();
        if (group.locked) {
            group.model->unlockControllers();
        }
        group.undo->leaveUndoContext();
    });
}

void Host::newDocument(const std::vector<TextRun> &runs, RunFormatting formatting)
{
    m_impl->guarded([&] {
        Reference<css::frame::XComponentLoader> loader(m_impl->desktop, UNO_QUERY_THROW);
        const auto component = loader->loadComponentFromURL(ou("private:factory/swriter"),
                                                            ou("_blank"),
                                                            0,
                                                            Sequence<css::beans::PropertyValue>());
        Reference<css::text::XTextDocument> doc(component, UNO_QUERY_THROW);
        Reference<css::frame::XModel> model(doc, UNO_QUERY_THROW);
        model->lockControllers();
        const auto text = doc->getText();
        const auto cursor = text->createTextCursor();
        const Reference<css::text::XTextRange> at(cursor.get());
        Reference<css::beans::XPropertySet> props(cursor, UNO_QUERY_THROW);
        Reference<css::beans::XPropertyState> states(cursor, UNO_QUERY_THROW);
        Reference<css::text::XParagraphCursor> paragraphCursor(cursor, UNO_QUERY_THROW);
        const bool explicitDefaults = formatting != RunFormatting::Defaults;
        const auto setFormatting = [&](const std::vector<css::beans::PropertyValue> &values) {
            for (const char *name : {"CharColor", "CharPosture", "CharUnderline", "CharWeight"}) {
                states->setPropertyToDefault(ou(name));
            }
            for (const auto &value : values) {
                props->setPropertyValue(value.Name, value.Value);
            }
        };
        // The pieces of the paragraph being written: their length and formatting (none for a line break).
        std::vector<std::pair<sal_Int32, std::optional<std::vector<css::beans::PropertyValue>>>> paragraph;
        const auto endParagraph = [&] {
            if (formatting == RunFormatting::WholeLineFirst && !paragraph.empty() && paragraph.front().second) {
                // The whole line takes its first piece's formatting, then each piece its own.
                paragraphCursor->gotoStartOfParagraph(true);
                setFormatting(*paragraph.front().second);
                cursor->collapseToStart();
                for (const auto &[length, values] : paragraph) {
                    cursor->goRight(static_cast<sal_Int16>(length), values.has_value());
                    // Set over the line's formatting, not reset first: a reset of part of the line
                    // would hand the line's formatting back to its runs.
                    for (const auto &value : values.value_or(std::vector<css::beans::PropertyValue>{})) {
                        props->setPropertyValue(value.Name, value.Value);
                    }
                    cursor->collapseToEnd();
                }
            }
            paragraph.clear();
        };
        for (const auto &run : runs) {
            // Only what differs from the default is set, as a word processor stores typed text:
            // the default attributes are left to the paragraph style.
            std::vector<css::beans::PropertyValue> values;
            if (run.color != wdColorAutomatic || explicitDefaults) {
                values.push_back(property("CharColor", Any(officeColor(run.color))));
            }
            if (run.italic || explicitDefaults) {
                values.push_back(
                    property("CharPosture", Any(run.italic ? css::awt::FontSlant_ITALIC : css::awt::FontSlant_NONE)));
            }
            if (run.underline != wdUnderlineNone || explicitDefaults) {
                values.push_back(property("CharUnderline", Any(officeUnderline(run.underline))));
            }
            if (run.bold || explicitDefaults) {
                values.push_back(
                    property("CharWeight", Any(run.bold ? css::awt::FontWeight::BOLD : css::awt::FontWeight::NORMAL)));
            }
            std::string piece;
            const auto flush = [&] {
                if (piece.empty()) {
                    return;
                }
                const OUString s = ou(piece);
                text->insertString(at, s, false);
                cursor->goLeft(static_cast<sal_Int16>(s.getLength()), true);
                setFormatting(values);
                cursor->collapseToEnd();
                paragraph.emplace_back(s.getLength(), values);
                piece.clear();
            };
            for (const char c : run.text) {
                if (c == '\r' || c == '\v') {
                    flush();
                    if (c == '\r') {
                        endParagraph();
                    } else {
                        paragraph.emplace_back(1, std::nullopt);
                    }
                    text->insertControlCharacter(at,
                                                 c == '\r' ? css::text::ControlCharacter::PARAGRAPH_BREAK
                                                           : css::text::ControlCharacter::LINE_BREAK,
                                                 false);
                } else {
                    piece += c;
                    if (piece.size() > 8000) {
                        flush();
                    }
                }
            }
            flush();
        }
        endParagraph();
        model->unlockControllers();
        Reference<css::text::XTextViewCursorSupplier> supplier(model->getCurrentController(), UNO_QUERY);
        if (supplier.is()) {
            supplier->getViewCursor()->gotoStart(false);
        }
    });
}

void Host::openDocument(const std::string &path)
{
    m_impl->guarded([&] {
        Reference<css::frame::XComponentLoader> loader(m_impl->desktop, UNO_QUERY_THROW);
        const auto component =
            loader->loadComponentFromURL(fileUrl(path), ou("_blank"), 0, Sequence<css::beans::PropertyValue>());
        Reference<css::text::XTextDocument> doc(component, UNO_QUERY);
        if (!doc.is()) {
            throw AutomationError("Not a text document: " + path);
        }
    });
}

std::vector<TextRun> Host::documentRuns()
{
    return m_impl->guarded([&] {
        std::vector<TextRun> runs;
        const auto doc = m_impl->activeDocument();
        Reference<css::container::XEnumerationAccess> paragraphs(doc->getText(), UNO_QUERY_THROW);
        Sequence<OUString> names(4);
        names.getArray()[0] = ou("CharColor");
        names.getArray()[1] = ou("CharPosture");
        names.getArray()[2] = ou("CharUnderline");
        names.getArray()[3] = ou("CharWeight");
        const auto add = [&runs](TextRun run) {
            if (!runs.empty()) {
                TextRun &last = runs.back();
                if (last.bold == run.bold && last.italic == run.italic && last.underline == run.underline
                    && last.color == run.color) {
                    last.text += run.text;
                    return;
                }
            }
            runs.push_back(std::move(run));
        };
        bool first = true;
        const auto paragraphEnum = paragraphs->createEnumeration();
        while (paragraphEnum->hasMoreElements()) {
            Reference<css::lang::XServiceInfo> info(paragraphEnum->nextElement(), UNO_QUERY);
            if (!info.is() || !info->supportsService(ou("com.sun.star.text.Paragraph"))) {
                continue;
            }
            if (!first) {
                // The paragraph mark: it carries the formatting of the text before it.
                TextRun mark;
                mark.text.push_back('\r');
                if (!runs.empty()) {
                    mark.bold = runs.back().bold;
                    mark.italic = runs.back().italic;
                    mark.underline = runs.back().underline;
                    mark.color = runs.back().color;
                }
                add(std::move(mark));
            }
            first = false;
            Reference<css::container::XEnumerationAccess> portions(info, UNO_QUERY_THROW);
            const auto portionEnum = portions->createEnumeration();
            while (portionEnum->hasMoreElements()) {
                Reference<css::text::XTextRange> portion(portionEnum->nextElement(), UNO_QUERY_THROW);
                Reference<css::beans::XPropertySet> portionProps(portion, UNO_QUERY_THROW);
                OUString type;
                portionProps->getPropertyValue(ou("TextPortionType")) >>= type;
                if (type != "Text") {
                    continue;
                }
                TextRun run;
                for (const char c : utf8(portion->getString())) {
                    run.text += c == '\n' ? '\v' : c;
                }
                if (run.text.empty()) {
                    continue;
                }
                Reference<css::beans::XMultiPropertySet> multi(portion, UNO_QUERY_THROW);
                const auto values = multi->getPropertyValues(names);
                sal_Int32 color = -1;
                css::awt::FontSlant slant = css::awt::FontSlant_NONE;
                sal_Int16 underline = 0;
                float weight = css::awt::FontWeight::NORMAL;
                values[0] >>= color;
                values[1] >>= slant;
                values[2] >>= underline;
                values[3] >>= weight;
                run.color = wordColor(color);
                run.italic = isItalic(slant);
                run.underline = wordUnderline(underline);
                run.bold = isBold(weight);
                add(std::move(run));
            }
        }
        return runs;
    });
}

void Host::storeAsDocx(const std::string &path)
{
    m_impl->guarded([&] {
        Reference<css::frame::XStorable> storable(m_impl->activeDocument(), UNO_QUERY_THROW);
        storable->storeToURL(fileUrl(path), properties({property("FilterName", Any(ou(docxFilter)))}));
    });
}

void Host::closeAllDocuments()
{
    m_impl->guarded([&] {
        for (const auto &doc : m_impl->writerDocuments()) {
            Reference<css::util::XCloseable> closeable(doc, UNO_QUERY);
            if (closeable.is()) {
                closeable->close(true);
            }
        }
    });
}

void Host::setSelection(int32_t start, int32_t end)
{
    m_impl->guarded([&] {
        const auto view = m_impl->viewCursor();
        const auto text = m_impl->activeDocument()->getText();
        const auto cursor = text->createTextCursor();
        cursor->gotoStart(false);
        const auto advance = [&cursor](int32_t n, bool expand) {
            while (n > 0) {
                const auto step = static_cast<sal_Int16>(std::min<int32_t>(n, 32767));
                if (!cursor->goRight(step, expand)) {
                    break;
                }
                n -= step;
            }
        };
        advance(start, false);
        view->gotoRange(cursor->getStart(), false);
        advance(end - start, true);
        view->gotoRange(cursor->getEnd(), true);
        m_impl->haveColumn = false;
    });
}

bool Host::undo()
{
    return m_impl->guarded([&] {
        Reference<css::document::XUndoManagerSupplier> supplier(m_impl->activeDocument(), UNO_QUERY_THROW);
        const auto manager = supplier->getUndoManager();
        if (!manager->isUndoPossible()) {
            return false;
        }
        manager->undo();
        return true;
    });
}

std::string Host::clipboardText()
{
    return m_impl->guarded([&] {
        const auto clipboard = m_impl->clipboard();
        Reference<css::datatransfer::XTransferable> contents = clipboard.is() ? clipboard->getContents() : m_impl->cut;
        if (!contents.is()) {
            return std::string();
        }
        css::datatransfer::DataFlavor flavor(ou("text/plain;charset=utf-16"),
                                             ou("Unicode-Text"),
                                             cppu::UnoType<OUString>::get());
        OUString text;
        contents->getTransferData(flavor) >>= text;
        return utf8(text);
    });
}

// --- Finding and starting the office -----------------------------------------------------------

std::string defaultPipeName()
{
    return "tonvale-" + std::to_string(getuid());
}

std::string findSoffice(const Options &options)
{
    if (!options.soffice.empty()) {
        return access(options.soffice.c_str(), X_OK) == 0 ? options.soffice : std::string();
    }
    if (const char *path = std::getenv("PATH")) {
        std::string dirs = path;
        std::size_t from = 0;
        while (from <= dirs.size()) {
            const std::size_t to = std::min(dirs.find(':', from), dirs.size());
            const std::string candidate = dirs.substr(from, to - from) + "/soffice";
            if (to > from && access(candidate.c_str(), X_OK) == 0) {
                return candidate;
            }
            from = to + 1;
        }
    }
    const std::string bundled = TONVALE_LO_PROGRAM "/soffice";
    return access(bundled.c_str(), X_OK) == 0 ? bundled : std::string();
}

std::unique_ptr<Host> attach(const Options &options)
{
    const std::string pipe = options.pipeName.empty() ? defaultPipeName() : options.pipeName;
    auto impl = std::make_unique<Host::Impl>();
    impl->local = localContext();
    try {
        const auto connector = css::connection::Connector::create(impl->local);
        const auto connection = connector->connect(ou("pipe,name=" + pipe));
        const auto factory = css::bridge::BridgeFactory::create(impl->local);
        const auto bridge = factory->createBridge(OUString(), ou("urp"), connection, nullptr);
        impl->bridge.set(bridge, UNO_QUERY_THROW);
        impl->remote.set(bridge->getInstance(ou("StarOffice.ComponentContext")), UNO_QUERY_THROW);
        impl->desktop = css::frame::Desktop::create(impl->remote);
    } catch (const css::connection::NoConnectException &) {
        throw AutomationError("LibreOffice Writer is not running.");
    } catch (const css::uno::Exception &e) {
        throw AutomationError("Cannot reach LibreOffice Writer: " + utf8(e.Message));
    }
    Host::Impl *raw = impl.get();
    impl->listener = new QuitListener([raw](bool bridgeGone) {
        if (bridgeGone) {
            raw->lost = true;
        }
        if (!raw->quitRaised.exchange(true) && raw->quit) {
            raw->quit();
        }
    });
    impl->listener->setBridge(Reference<css::uno::XInterface>(impl->bridge, UNO_QUERY));
    try {
        impl->bridge->addEventListener(
            Reference<css::lang::XEventListener>(static_cast<css::lang::XEventListener *>(impl->listener.get())));
        impl->desktop->addTerminateListener(Reference<css::frame::XTerminateListener>(impl->listener.get()));
    } catch (const css::uno::Exception &e) {
        throw AutomationError("Cannot reach LibreOffice Writer: " + utf8(e.Message));
    }
    return std::unique_ptr<Host>(new Host(std::move(impl)));
}

namespace
{

// Start the office detached from this process: its own session, no terminal, stdio on /dev/null,
// not a child of ours. Returns the process group id of the started office.
pid_t launch(const std::string &soffice, const std::vector<std::string> &args)
{
    int channel[2];
    if (pipe(channel) != 0) {
        throw AutomationError("Cannot start LibreOffice Writer: no pipe.");
    }
    std::vector<char *> argv;
    argv.push_back(const_cast<char *>(soffice.c_str()));
    for (const auto &arg : args) {
        argv.push_back(const_cast<char *>(arg.c_str()));
    }
    argv.push_back(nullptr);
    const pid_t middle = fork();
    if (middle < 0) {
        close(channel[0]);
        close(channel[1]);
        throw AutomationError("Cannot start LibreOffice Writer: fork failed.");
    }
    if (middle == 0) {
        close(channel[0]);
        const pid_t office = fork();
        if (office == 0) {
            close(channel[1]);
            setsid();
            const int null = open("/dev/null", O_RDWR);
            if (null >= 0) {
                dup2(null, 0);
                dup2(null, 1);
                dup2(null, 2);
                if (null > 2) {
                    close(null);
                }
            }
            execv(soffice.c_str(), argv.data());
            _exit(127);
        }
        const ssize_t written = write(channel[1], &office, sizeof office);
        _exit(written == static_cast<ssize_t>(sizeof office) ? 0 : 1);
    }
    close(channel[1]);
    pid_t office = -1;
    const ssize_t got = read(channel[0], &office, sizeof office);
    close(channel[0]);
    int status = 0;
    waitpid(middle, &status, 0);
    if (got != static_cast<ssize_t>(sizeof office) || office <= 0) {
        throw AutomationError("Cannot start LibreOffice Writer.");
    }
    return office;
}

} // namespace

std::unique_ptr<Host> start(const Options &options)
{
    try {
        return attach(options);
    } catch (const AutomationError &) {
        // Nothing answers: start the office, or make the running one listen.
    }
    const std::string soffice = findSoffice(options);
    if (soffice.empty()) {
        throw AutomationError("LibreOffice Writer is not installed.");
    }
    const std::string pipe = options.pipeName.empty() ? defaultPipeName() : options.pipeName;
    std::vector<std::string> args{"--accept=pipe,name=" + pipe + ";urp;", "--norestore", "--nologo", "--nodefault"};
    if (options.headless) {
        args.insert(args.end(), {"--headless", "--invisible", "--nolockcheck"});
    }
    if (!options.profileDir.empty()) {
        args.push_back("-env:UserInstallation=" + utf8(fileUrl(options.profileDir)));
    }
    const pid_t office = launch(soffice, args);
    if (options.launched) {
        options.launched(office);
    }
    const auto deadline = std::chrono::steady_clock::now() + options.startTimeout;
    for (;;) {
        try {
            return attach(options);
        } catch (const AutomationError &) {
            if (std::chrono::steady_clock::now() >= deadline) {
                throw AutomationError("LibreOffice Writer did not answer in time.");
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

} // namespace word::uno
