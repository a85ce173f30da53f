// Find and Replace: the find settings as Word keeps them, and one Execute as the office's search
// and Replace-All, with Word's wildcards and formatting.

#include "hostimpl.h"
#include "wildcards.h"

#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextRangeCompare.hpp>
#include <com/sun/star/util/XPropertyReplace.hpp>
#include <com/sun/star/util/XReplaceable.hpp>
#include <com/sun/star/util/XSearchable.hpp>

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

namespace
{

// The office moves the selection to where it replaced; Word leaves it on its text. Remembers the
// selection and puts it back when it goes.
class KeepSelection
{
public:
    explicit KeepSelection(const Reference<css::text::XTextViewCursor> &view)
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
    KeepSelection(const KeepSelection &) = delete;
    KeepSelection &operator=(const KeepSelection &) = delete;

    ~KeepSelection()
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

private:
    Reference<css::text::XTextViewCursor> m_view;
    Reference<css::text::XTextCursor> m_start, m_end;
    bool m_atDocumentStart = false;
};

} // namespace

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

    if (replace == wdReplaceAll) {
        std::optional<KeepSelection> keep;
        if (Reference<css::frame::XModel>(doc, UNO_QUERY_THROW)->getCurrentController().is()) {
            keep.emplace(viewCursor(false));
        }
        if (!criteria.empty() && mayHoldParagraphCriteria(doc, criteria)) {
            return replaceCarrying(doc, descriptor, criteria, formatting);
        }
        if (!criteria.empty() && formatting.empty() && find.replacement.empty()) {
            // The office keeps the text of an attribute-restricted match replaced by nothing: delete
            // every match itself.
            const auto matches = allMatches(doc, search);
            deleteMatches(matches);
            return !matches.empty();
        }
        if (!formatting.empty() && find.replacement.empty()) {
            // Formatting only. The office would delete the matches; replacing each by itself would
            // give it its first character's formatting throughout (a superscript 7 would be lost).
            // Format every match where it stands instead.
            const auto matches = allMatches(doc, search);
            formatMatches(matches, formatting);
            return !matches.empty();
        }
        return replaceable->replaceAll(search) > 0;
    }
    if (replace == wdReplaceNone) {
        Reference<css::util::XSearchable> searchable(doc, UNO_QUERY_THROW);
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

} // namespace

std::unique_ptr<Find> makeFind(Host::Impl &impl)
{
    return std::make_unique<UnoFind>(impl);
}

} // namespace word::uno
