// Find and Replace: the find settings as Word keeps them, and one Execute as the office's search
// and Replace-All, with Word's wildcards and formatting.

#include "hostimpl.h"
#include "wildcards.h"

#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/frame/DispatchHelper.hpp>
#include <com/sun/star/frame/XDispatchProvider.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextRangeCompare.hpp>
#include <com/sun/star/util/XPropertyReplace.hpp>
#include <com/sun/star/util/XReplaceable.hpp>
#include <com/sun/star/util/XSearchable.hpp>
#include <com/sun/star/view/XSelectionSupplier.hpp>

#include <algorithm>

namespace word::uno
{

std::vector<Reference<css::text::XTextRange>> allMatches(const Reference<css::text::XTextDocument> &doc,
                                                         const Reference<css::util::XSearchDescriptor> &search)
{
    Reference<css::util::XSearchable> searchable(doc, UNO_QUERY_THROW);
    const auto found = searchable->findAll(search);
    const sal_Int32 count = found.is() ? found->getCount() : 0;
    std::vector<Reference<css::text::XTextRange>> matches;
    for (sal_Int32 i = 0; i < count; ++i) {
        matches.emplace_back(found->getByIndex(i), UNO_QUERY_THROW);
    }
    return matches;
}

void deleteMatches(const std::vector<Reference<css::text::XTextRange>> &matches)
{
    for (auto it = matches.rbegin(); it != matches.rend(); ++it) {
        (*it)->setString(OUString());
    }
}

void formatMatches(const std::vector<Reference<css::text::XTextRange>> &matches, const PropertyValues &formatting)
{
    for (const auto &match : matches) {
        setAttributes(Reference<css::beans::XPropertySet>(match, UNO_QUERY_THROW), formatting);
    }
}

KeepSelection::KeepSelection(const Reference<css::text::XTextViewCursor> &view)
    : m_view(view)
{
    const auto text = m_view->getText();
    m_start = text->createTextCursorByRange(m_view->getStart());
    m_end = text->createTextCursorByRange(m_view->getEnd());
    Reference<css::text::XTextRangeCompare> compare(text, UNO_QUERY);
    m_atDocumentStart = compare.is() && compare->compareRegionStarts(text->getStart(), m_view->getStart()) == 0;
    if (m_atDocumentStart && m_view->isCollapsed()) {
        m_end.clear();
    }
}

KeepSelection::~KeepSelection()
{
    try {
        if (m_atDocumentStart) {
            // A match at the insertion point would push it past the replacement.
            m_view->gotoStart(false);
            if (m_end.is()) {
                m_view->gotoRange(Reference<css::text::XTextRange>(m_end.get()), true);
            }
        } else {
            m_view->gotoRange(Reference<css::text::XTextRange>(m_start.get()), false);
            m_view->gotoRange(Reference<css::text::XTextRange>(m_end.get()), true);
        }
    } catch (...) {
        // The selection is a courtesy; the replacement's own result matters.
    }
}

void SearchDescriptor::setSearch(const OUString &text)
{
    if (search != text) {
        descriptor->setSearchString(text);
        search = text;
    }
}

void SearchDescriptor::setReplace(const OUString &text)
{
    if (replace != text) {
        descriptor->setReplaceString(text);
        replace = text;
    }
}

void SearchDescriptor::setFlag(std::optional<bool> &known, const char *name, bool value)
{
    if (known != value) {
        settings->setPropertyValue(ou(name), Any(value));
        known = value;
    }
}

namespace
{

bool sameValues(const std::optional<PropertyValues> &known, const PropertyValues &values)
{
    return known && known->size() == values.size()
        && std::equal(values.begin(), values.end(), known->begin(), [](const auto &a, const auto &b) {
               return a.Name == b.Name && a.Value == b.Value;
           });
}

} // namespace

void SearchDescriptor::setSearchAttributes(const PropertyValues &values)
{
    if (!sameValues(searchAttributes, values)) {
        Reference<css::util::XPropertyReplace>(descriptor, UNO_QUERY_THROW)->setSearchAttributes(properties(values));
        searchAttributes = values;
    }
}

void SearchDescriptor::setReplaceAttributes(const PropertyValues &values)
{
    if (!sameValues(replaceAttributes, values)) {
        Reference<css::util::XPropertyReplace>(descriptor, UNO_QUERY_THROW)->setReplaceAttributes(properties(values));
        replaceAttributes = values;
    }
}

// Give every found range the formatting in one go: the ranges become the selection (the office
// selects many at once) and take each attribute as its formatting command gives it. False where the
// document has no view to do this in; nothing is changed then.
bool Host::Impl::formatSelected(const Reference<css::text::XTextDocument> &doc,
                                const Reference<css::container::XIndexAccess> &found,
                                const FontSettings &font)
{
    const auto controller = Reference<css::frame::XModel>(doc, UNO_QUERY_THROW)->getCurrentController();
    if (!controller.is()) {
        return false;
    }
    Reference<css::view::XSelectionSupplier> selection(controller, UNO_QUERY);
    Reference<css::frame::XDispatchProvider> provider(controller->getFrame(), UNO_QUERY);
    if (!selection.is() || !provider.is() || !selection->select(Any(found))) {
        return false;
    }
    if (!dispatcher.is()) {
        dispatcher = css::frame::DispatchHelper::create(remote);
    }
    const auto run = [&](const char *command, const char *argument, const Any &value) {
        dispatcher->executeDispatch(provider, ou(command), OUString(), 0, properties({property(argument, value)}));
    };
    if (font.bold) {
        run(".uno:Bold", "Bold", Any(*font.bold != 0));
    }
    if (font.italic) {
        run(".uno:Italic", "Italic", Any(*font.italic != 0));
    }
    if (font.underline) {
        run(".uno:Underline", "Underline.LineStyle", Any(officeUnderline(*font.underline)));
    }
    if (font.color) {
        run(".uno:Color", "Color", Any(officeColor(*font.color)));
    }
    // Back to a single range, which the selection can be put back from.
    selection->select(found->getByIndex(0));
    return true;
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
    const Reference<css::uno::XInterface> key(doc, UNO_QUERY);
    if (!search || search->doc != key) {
        search.reset();
        SearchDescriptor made;
        made.doc = key;
        made.replaceable.set(doc, UNO_QUERY_THROW);
        made.descriptor = made.replaceable->createReplaceDescriptor();
        made.settings.set(made.descriptor, UNO_QUERY_THROW);
        search = std::move(made);
    }
    SearchDescriptor &d = *search;
    const auto &replaceable = d.replaceable;
    const Reference<css::util::XSearchDescriptor> searchDescriptor(d.descriptor.get());
    if (find.wildcards) {
        checkWildcardReplacement(find.text, find.replacement);
    }
    const std::string replacement = find.wildcards ? wildcardReplacementToRegex(find.replacement) : find.replacement;
    d.setSearch(ou(pattern));
    d.setReplace(ou(replacement));

    PropertyValues criteria;
    PropertyValues formatting;
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

    d.setFlag(d.regex, "SearchRegularExpression", find.wildcards);
    // A wildcard search is case-exact whatever MatchCase says.
    d.setFlag(d.matchCase, "SearchCaseSensitive", find.wildcards || find.matchCase);
    d.setFlag(d.words, "SearchWords", find.wholeWord);
    d.setFlag(d.backwards, "SearchBackwards", !find.forward && replace != wdReplaceAll);
    // With attributes, SearchStyles makes formatting given by styles count (bold from a character or
    // paragraph style). Without attributes it would search for a paragraph style by name.
    d.setFlag(d.styles, "SearchStyles", !criteria.empty());
    d.setSearchAttributes(criteria);
    d.setReplaceAttributes(formatting.empty() ? PropertyValues() : mergedAttributes(criteria, formatting));

    if (replace == wdReplaceAll) {
        std::optional<KeepSelection> keep;
        if (groups.empty()) {
            if (Reference<css::frame::XModel>(doc, UNO_QUERY_THROW)->getCurrentController().is()) {
                keep.emplace(viewCursor(false));
            }
        } else if (!groups.back().selectionKept) {
            // One command: the selection goes back once, at its end.
            groups.back().selectionKept = true;
            if (Reference<css::frame::XModel>(doc, UNO_QUERY_THROW)->getCurrentController().is()) {
                keptSelection.emplace(viewCursor(false));
            }
        }
        // Within one command the paragraphs' values are moved onto their runs first (part of the
        // command's undo step, like its replacements), and its many Replace-Alls all go the office's
        // own way. A Replace-All on its own takes the careful way where it has to.
        if (!criteria.empty() && mayHoldParagraphCriteria(doc, criteria)) {
            return replaceCarrying(doc, criteria, formatting);
        }
        if (!criteria.empty() && formatting.empty() && find.replacement.empty()) {
            // The office keeps the text of an attribute-restricted match replaced by nothing: delete
            // every match itself.
            const auto matches = allMatches(doc, searchDescriptor);
            deleteMatches(matches);
            return !matches.empty();
        }
        if (!formatting.empty() && find.replacement.empty()) {
            // Formatting only. The office would delete the matches; replacing each by itself would
            // give it its first character's formatting throughout (a superscript 7 would be lost).
            // Format every match where it stands instead, all at once where the document has a view.
            if (!d.searchable.is()) {
                d.searchable.set(doc, UNO_QUERY_THROW);
            }
            const auto found = d.searchable->findAll(searchDescriptor);
            const sal_Int32 count = found.is() ? found->getCount() : 0;
            if (count == 0) {
                return false;
            }
            if (!formatSelected(doc, found, find.replacementFont)) {
                formatMatches(allMatches(doc, searchDescriptor), formatting);
            }
            return true;
        }
        return replaceable->replaceAll(searchDescriptor) > 0;
    }
    if (replace == wdReplaceNone) {
        Reference<css::util::XSearchable> searchable(doc, UNO_QUERY_THROW);
        const auto cursor = viewCursor();
        Reference<css::uno::XInterface> found = searchable->findNext(cursor->getEnd(), searchDescriptor);
        if (!found.is() && find.wrap == wdFindContinue) {
            found = searchable->findFirst(searchDescriptor);
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

namespace
{

class UnoFind : public KeptFind<FontSettings>
{
public:
    explicit UnoFind(Host::Impl &impl)
        : KeptFind(impl.find)
        , m(impl)
    {
    }

    void setFont(FontProperty property, int32_t value) override
    {
        KeptFind::setFont(property, value);
        m_settings.format = true; // as Word does when a criterion is set
    }
    void setReplacementFont(FontProperty property, int32_t value) override
    {
        KeptFind::setReplacementFont(property, value);
        m_settings.format = true;
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

} // namespace

std::unique_ptr<Find> makeFind(Host::Impl &impl)
{
    return std::make_unique<UnoFind>(impl);
}

} // namespace word::uno
