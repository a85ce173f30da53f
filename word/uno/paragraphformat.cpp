// Formatted finds the office gets wrong.
//
// The office's attribute-restricted search keeps track of where the searched attributes hold by
// walking the paragraph's formatting runs. Where a searched value comes from the paragraph itself
// (its whole text was formatted, or its paragraph style gives it) and runs inside it override it
// (blanks explicitly not bold between bold chords), only the stretch at the search's starting point
// is found: after the first overriding run the rest of the paragraph is skipped. A Replace-All then
// silently leaves most of such a line alone. Runs formatted one by one are found correctly.

#include "hostimpl.h"
#include "wildcards.h"

#include <com/sun/star/beans/XMultiPropertySet.hpp>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/container/XNameAccess.hpp>
#include <com/sun/star/style/XAutoStyle.hpp>
#include <com/sun/star/style/XAutoStyles.hpp>
#include <com/sun/star/style/XAutoStylesSupplier.hpp>
#include <com/sun/star/style/XStyle.hpp>
#include <com/sun/star/style/XStyleFamiliesSupplier.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/util/XPropertyReplace.hpp>
#include <com/sun/star/util/XReplaceable.hpp>
#include <com/sun/star/util/XSearchable.hpp>

#include <algorithm>

namespace word::uno
{

namespace
{

bool anyCriterionHolds(const Sequence<Any> &values, const PropertyValues &criteria)
{
    for (std::size_t i = 0; i < criteria.size() && i < static_cast<std::size_t>(values.getLength()); ++i) {
        if (values[static_cast<sal_Int32>(i)] == criteria[i].Value) {
            return true;
        }
    }
    return false;
}

// The state over the whole text of a style property ("ParaStyleName", "CharStyleName"), and its
// value where it is one for all the text: one call where the loop over every style takes hundreds.
css::beans::PropertyState
wholeTextState(const Reference<css::text::XTextDocument> &doc, const char *name, OUString *value = nullptr)
{
    const auto cursor = doc->getText()->createTextCursor();
    cursor->gotoStart(false);
    cursor->gotoEnd(true);
    Reference<css::beans::XPropertyState> states(cursor, UNO_QUERY_THROW);
    const auto state = states->getPropertyState(ou(name));
    if (value && state != css::beans::PropertyState_AMBIGUOUS_VALUE) {
        Reference<css::beans::XPropertySet>(cursor, UNO_QUERY_THROW)->getPropertyValue(ou(name)) >>= *value;
    }
    return state;
}

} // namespace

std::optional<bool> anyAutoStyle(const Reference<css::text::XTextDocument> &doc,
                                 const char *family,
                                 const std::function<bool(const Reference<css::style::XAutoStyle> &)> &holds)
{
    Reference<css::style::XAutoStylesSupplier> supplier(doc, UNO_QUERY);
    const auto families = supplier.is() ? supplier->getAutoStyles() : nullptr;
    if (!families.is() || !families->hasByName(ou(family))) {
        return std::nullopt;
    }
    Reference<css::container::XEnumerationAccess> styles(families->getByName(ou(family)), UNO_QUERY);
    const auto each = styles.is() ? styles->createEnumeration() : nullptr;
    if (!each.is()) {
        return std::nullopt;
    }
    while (each->hasMoreElements()) {
        Reference<css::style::XAutoStyle> style(each->nextElement(), UNO_QUERY);
        if (!style.is()) {
            return std::nullopt;
        }
        if (holds(style)) {
            return true;
        }
    }
    return false;
}

std::optional<bool>
anyCharacterStyleInUse(const Reference<css::text::XTextDocument> &doc,
                       const std::function<bool(const Reference<css::beans::XMultiPropertySet> &)> &holds)
{
    if (wholeTextState(doc, "CharStyleName") == css::beans::PropertyState_DEFAULT_VALUE) {
        return false; // no text has a character style
    }
    Reference<css::style::XStyleFamiliesSupplier> supplier(doc, UNO_QUERY);
    Reference<css::container::XIndexAccess> styles(
        supplier.is() ? supplier->getStyleFamilies()->getByName(ou("CharacterStyles")) : Any(),
        UNO_QUERY);
    if (!styles.is()) {
        return std::nullopt;
    }
    for (sal_Int32 i = 0; i < styles->getCount(); ++i) {
        Reference<css::style::XStyle> style(styles->getByIndex(i), UNO_QUERY);
        if (!style.is() || !style->isInUse()) {
            continue;
        }
        Reference<css::beans::XMultiPropertySet> props(style, UNO_QUERY);
        if (!props.is()) {
            return std::nullopt;
        }
        if (holds(props)) {
            return true;
        }
    }
    return false;
}

bool criteriaFromParagraphs(const Reference<css::text::XTextDocument> &doc, const PropertyValues &criteria)
{
    const auto names = propertyNames(criteria);
    const auto given = anyAutoStyle(doc, "ParagraphStyles", [&](const Reference<css::style::XAutoStyle> &style) {
        return anyCriterionHolds(style->getPropertyValues(names), criteria);
    });
    if (given.value_or(false)) {
        return true;
    }
    Reference<css::style::XStyleFamiliesSupplier> styleSupplier(doc, UNO_QUERY);
    if (!styleSupplier.is()) {
        return true; // cannot tell: take the careful way
    }
    const auto family = styleSupplier->getStyleFamilies()->getByName(ou("ParagraphStyles"));
    OUString onlyStyle;
    if (wholeTextState(doc, "ParaStyleName", &onlyStyle) != css::beans::PropertyState_AMBIGUOUS_VALUE
        && !onlyStyle.isEmpty()) {
        // Every paragraph has the same style: only that one matters.
        Reference<css::container::XNameAccess> byName(family, UNO_QUERY);
        Reference<css::beans::XMultiPropertySet> props(byName.is() ? byName->getByName(onlyStyle) : Any(), UNO_QUERY);
        return !props.is() || anyCriterionHolds(props->getPropertyValues(names), criteria);
    }
    Reference<css::container::XIndexAccess> paragraphStyles(family, UNO_QUERY);
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

namespace
{

// Whether some run may override a searched value: an automatic character style (the formatting of
// runs) that sets a searched property to another value, or a character style in use that gives one
// another value (by itself or by inheritance).
bool runsMayOverride(const Reference<css::text::XTextDocument> &doc, const PropertyValues &criteria)
{
    const auto names = propertyNames(criteria);
    const auto overrides = [&](const Sequence<Any> &values, const Sequence<css::beans::PropertyState> *states) {
        for (std::size_t i = 0; i < criteria.size() && i < static_cast<std::size_t>(values.getLength()); ++i) {
            const auto k = static_cast<sal_Int32>(i);
            const bool set =
                !states || k >= states->getLength() || (*states)[k] != css::beans::PropertyState_DEFAULT_VALUE;
            if (set && values[k] != criteria[i].Value) {
                return true;
            }
        }
        return false;
    };
    const auto byRuns = anyAutoStyle(doc, "CharacterStyles", [&](const Reference<css::style::XAutoStyle> &style) {
        const auto states = style->getPropertyStates(names);
        return overrides(style->getPropertyValues(names), &states);
    });
    if (!byRuns || *byRuns) {
        return true; // a run's own formatting does, or cannot tell: take the careful way
    }
    return anyCharacterStyleInUse(doc,
                                  [&](const Reference<css::beans::XMultiPropertySet> &style) {
                                      return overrides(style->getPropertyValues(names), nullptr);
                                  })
        .value_or(true);
}

// A search of the same text as find's, with no attributes and no styles.
void setTextSettings(const FindSettings &find, const Reference<css::beans::XPropertySet> &textOnly)
{
    textOnly->setPropertyValue(ou("SearchRegularExpression"), Any(find.wildcards));
    textOnly->setPropertyValue(ou("SearchCaseSensitive"), Any(find.wildcards || find.matchCase));
    textOnly->setPropertyValue(ou("SearchWords"), Any(find.wholeWord));
    textOnly->setPropertyValue(ou("SearchStyles"), Any(false));
}

// The mark that stands in for the criteria while the office replaces the matches found by
// matchesCarrying: the match's own kerning (in 1/100 mm) moved by 79.19 mm, which no document uses,
// so that taking the mark off again gives each replacement the kerning its text had.
constexpr const char *tagName = "CharKerning";
constexpr sal_Int16 tagOffset = 7919;

sal_Int16 tagOf(sal_Int16 kerning)
{
    return static_cast<sal_Int16>(kerning > 20000 ? kerning - tagOffset : kerning + tagOffset);
}

struct Carrying {
    Reference<css::text::XTextRange> range;
    sal_Int16 kerning = 0;
};

// Every match of the text alone whose characters all carry the criteria, in document order, with
// its kerning (read only where the text's kerning is not known to be the same everywhere). With
// singleCharacters every match is one character long and cannot be of mixed formatting.
std::vector<Carrying> matchesCarrying(const Reference<css::util::XSearchable> &searchable,
                                      const FindSettings &find,
                                      const OUString &pattern,
                                      const PropertyValues &criteria,
                                      bool singleCharacters,
                                      std::optional<sal_Int16> kerning)
{
    const auto descriptor = searchable->createSearchDescriptor();
    descriptor->setSearchString(pattern);
    setTextSettings(find, Reference<css::beans::XPropertySet>(descriptor, UNO_QUERY_THROW));
    const auto found = searchable->findAll(descriptor);
    const sal_Int32 count = found.is() ? found->getCount() : 0;
    const auto names = propertyNames(criteria);
    std::vector<Carrying> matches;
    for (sal_Int32 i = 0; i < count; ++i) {
        Reference<css::text::XTextRange> range(found->getByIndex(i), UNO_QUERY);
        Reference<css::beans::XPropertySet> props(range, UNO_QUERY);
        if (!props.is()) {
            continue;
        }
        // A value over mixed formatting reads as its first character's.
        bool carries = true;
        for (std::size_t k = 0; carries && k < criteria.size(); ++k) {
            carries = props->getPropertyValue(criteria[k].Name) == criteria[k].Value;
        }
        if (carries && !singleCharacters) {
            Reference<css::beans::XPropertyState> states(range, UNO_QUERY);
            carries = states.is();
            for (const auto state :
                 carries ? states->getPropertyStates(names) : Sequence<css::beans::PropertyState>()) {
                carries = carries && state != css::beans::PropertyState_AMBIGUOUS_VALUE;
            }
        }
        if (carries) {
            Carrying match{range, kerning.value_or(0)};
            if (!kerning) {
                props->getPropertyValue(ou(tagName)) >>= match.kerning;
            }
            matches.push_back(match);
        }
    }
    return matches;
}

} // namespace

bool paragraphValuesMayBeMissed(const Reference<css::text::XTextDocument> &doc, const PropertyValues &criteria)
{
    // The office goes wrong only where a run overrides a value the paragraph gives: a line formatted
    // as a whole and left so is searched correctly.
    return runsMayOverride(doc, criteria) && criteriaFromParagraphs(doc, criteria);
}

bool Host::Impl::mayHoldParagraphCriteria(const Reference<css::text::XTextDocument> &doc,
                                          const PropertyValues &criteria)
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
    // Within an undo group (one command) nobody else formats whole paragraphs: the values move onto
    // the runs once, and the answer is kept. Outside one, ask each time and change nothing.
    const bool command = !groups.empty();
    bool possible = false;
    if (const auto inOffice = checkInOffice(doc, criteria, command)) {
        possible = *inOffice && !command;
    } else {
        possible = paragraphValuesMayBeMissed(doc, criteria);
        if (possible && command) {
            moveParagraphCriteriaToRuns(doc, criteria);
            possible = false;
        }
    }
    if (command) {
        paragraphCriteria = ParagraphCriteria{key, criteria, possible};
    }
    return possible;
}

// Replace-All of the find text restricted to the criteria, without the office's own
// attribute-restricted search: the matches carrying the criteria are found by their text and their
// formatting read, marked, and replaced by a Replace-All restricted to the mark. (Replaced one by one
// they would take the formatting of the text before them rather than their own.)
bool Host::Impl::replaceCarrying(const Reference<css::text::XTextDocument> &doc,
                                 const PropertyValues &criteria,
                                 const PropertyValues &formatting)
{
    Reference<css::util::XSearchable> searchable(doc, UNO_QUERY_THROW);
    const OUString pattern = ou(find.wildcards ? wildcardToRegex(find.text) : find.text);
    const Reference<css::uno::XInterface> key(doc, UNO_QUERY);
    if (!uniformKerning || uniformKerning->doc != key) {
        UniformKerning known{key, std::nullopt};
        const auto cursor = doc->getText()->createTextCursor();
        cursor->gotoEnd(true);
        if (Reference<css::beans::XPropertyState>(cursor, UNO_QUERY_THROW)->getPropertyState(ou(tagName))
            != css::beans::PropertyState_AMBIGUOUS_VALUE) {
            sal_Int16 kerning = 0;
            Reference<css::beans::XPropertySet>(cursor, UNO_QUERY_THROW)->getPropertyValue(ou(tagName)) >>= kerning;
            known.kerning = kerning;
        }
        uniformKerning = known;
    }
    const auto matches = matchesCarrying(searchable,
                                         find,
                                         pattern,
                                         criteria,
                                         !find.wildcards && pattern.getLength() == 1,
                                         uniformKerning->kerning);
    if (groups.empty()) {
        uniformKerning.reset(); // between commands anybody may change it
    }
    if (matches.empty()) {
        return false;
    }
    std::vector<Reference<css::text::XTextRange>> ranges;
    std::vector<sal_Int16> kernings;
    for (const auto &match : matches) {
        ranges.push_back(match.range);
        if (std::find(kernings.begin(), kernings.end(), match.kerning) == kernings.end()) {
            kernings.push_back(match.kerning);
        }
    }
    if (formatting.empty() && find.replacement.empty()) {
        deleteMatches(ranges);
        return true;
    }
    if (find.replacement.empty()) {
        formatMatches(ranges, formatting);
        return true;
    }
    for (const auto &match : matches) {
        setAttributes(Reference<css::beans::XPropertySet>(match.range, UNO_QUERY_THROW),
                      {property(tagName, Any(tagOf(match.kerning)))});
    }
    Reference<css::util::XReplaceable> replaceable(doc, UNO_QUERY_THROW);
    const auto marked = replaceable->createReplaceDescriptor();
    marked->setSearchString(pattern);
    marked->setReplaceString(ou(find.wildcards ? wildcardReplacementToRegex(find.replacement) : find.replacement));
    setTextSettings(find, Reference<css::beans::XPropertySet>(marked, UNO_QUERY_THROW));
    Reference<css::util::XPropertyReplace> markedAttributes(marked, UNO_QUERY_THROW);
    const auto cleanup = replaceable->createReplaceDescriptor();
    Reference<css::util::XPropertyReplace> cleanupAttributes(cleanup, UNO_QUERY_THROW);
    sal_Int32 replaced = 0;
    for (const sal_Int16 kerning : kernings) {
        markedAttributes->setSearchAttributes(properties({property(tagName, Any(tagOf(kerning)))}));
        if (!formatting.empty()) {
            markedAttributes->setReplaceAttributes(properties(mergedAttributes(criteria, formatting)));
        }
        replaced += replaceable->replaceAll(Reference<css::util::XSearchDescriptor>(marked.get()));
        // The replacements carry the mark of their first character: give them that kerning back,
        // in one attribute-only Replace-All (the mark comes from runs, which the office's search
        // gets right). Set, not reset: the office's undo of a reset inside a paragraph formatted as
        // a whole loses the paragraph's formatting.
        cleanupAttributes->setSearchAttributes(properties({property(tagName, Any(tagOf(kerning)))}));
        cleanupAttributes->setReplaceAttributes(properties({property(tagName, Any(kerning))}));
        replaceable->replaceAll(Reference<css::util::XSearchDescriptor>(cleanup.get()));
    }
    return replaced > 0;
}

} // namespace word::uno
