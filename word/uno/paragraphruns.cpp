// Moving the chord font's values from paragraphs onto their runs, once per command.
//
// Where a paragraph gives its text a searched value (its whole line was formatted, or its paragraph
// style gives it) and runs inside it override it, the office's formatted search finds only the
// first stretch of the line (see paragraphformat.cpp). Inside one command, before its first
// formatted Replace-All, the values go where the office's search finds them: such paragraphs give
// another value, and their text that showed the searched value carries it itself. The sheet looks
// as before, and the change is part of the command's undo step.

#include "hostimpl.h"

#include <com/sun/star/awt/FontSlant.hpp>
#include <com/sun/star/awt/FontUnderline.hpp>
#include <com/sun/star/awt/FontWeight.hpp>
#include <com/sun/star/beans/UnknownPropertyException.hpp>
#include <com/sun/star/beans/XMultiPropertySet.hpp>
#include <com/sun/star/container/NoSuchElementException.hpp>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/container/XNameAccess.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextFrame.hpp>
#include <com/sun/star/text/XTextFramesSupplier.hpp>
#include <com/sun/star/text/XTextTable.hpp>
#include <com/sun/star/util/XPropertyReplace.hpp>
#include <com/sun/star/util/XSearchable.hpp>

#include <algorithm>
#include <functional>
#include <optional>

namespace word::uno
{

namespace
{

// A value of the property that differs from the searched one, for a paragraph to give its text
// instead: the chord font is never searched for by it.
Any otherValue(const css::beans::PropertyValue &criterion)
{
    if (criterion.Name == "CharWeight") {
        float weight = 0;
        criterion.Value >>= weight;
        return Any(weight == css::awt::FontWeight::NORMAL ? css::awt::FontWeight::BOLD : css::awt::FontWeight::NORMAL);
    }
    if (criterion.Name == "CharPosture") {
        css::awt::FontSlant slant = css::awt::FontSlant_NONE;
        criterion.Value >>= slant;
        return Any(slant == css::awt::FontSlant_NONE ? css::awt::FontSlant_ITALIC : css::awt::FontSlant_NONE);
    }
    if (criterion.Name == "CharUnderline") {
        sal_Int16 underline = 0;
        criterion.Value >>= underline;
        return Any(underline == css::awt::FontUnderline::NONE ? css::awt::FontUnderline::SINGLE
                                                              : css::awt::FontUnderline::NONE);
    }
    sal_Int32 color = -1; // CharColor; -1 is automatic
    criterion.Value >>= color;
    return Any(color == -1 ? sal_Int32(0) : sal_Int32(-1));
}

// The next element of an enumeration, or nothing at its end: one round trip where asking
// hasMoreElements first would take two.
Any nextOf(const Reference<css::container::XEnumeration> &elements)
{
    try {
        return elements->nextElement();
    } catch (const css::container::NoSuchElementException &) {
        return Any();
    }
}

// A paragraph, the text it stands in, and the values it gives its text of the properties asked for.
struct Paragraph {
    Reference<css::text::XText> text;
    Reference<css::beans::XMultiPropertySet> props;
    Sequence<Any> given;
};
using ParagraphVisitor = std::function<void(const Paragraph &)>;

// Every paragraph of a text, those of its tables too, with the values of names it gives.
void forEachParagraph(const Reference<css::text::XText> &text,
                      const Sequence<OUString> &names,
                      const ParagraphVisitor &visit)
{
    Reference<css::container::XEnumerationAccess> access(text, UNO_QUERY);
    const auto elements = access.is() ? access->createEnumeration() : nullptr;
    if (!elements.is()) {
        return;
    }
    for (Any element = nextOf(elements); element.hasValue(); element = nextOf(elements)) {
        Reference<css::beans::XMultiPropertySet> props(element, UNO_QUERY);
        std::optional<Sequence<Any>> given;
        try {
            if (props.is()) {
                given = props->getPropertyValues(names);
            }
        } catch (const css::beans::UnknownPropertyException &) {
            // not a paragraph
        }
        if (given) {
            visit(Paragraph{text, props, *given});
            continue;
        }
        Reference<css::text::XTextTable> table(element, UNO_QUERY);
        if (table.is()) {
            for (const auto &name : table->getCellNames()) {
                forEachParagraph(Reference<css::text::XText>(table->getCellByName(name), UNO_QUERY), names, visit);
            }
        }
    }
}

// Every paragraph of the document's main text and its text frames.
void forEachParagraph(const Reference<css::text::XTextDocument> &doc,
                      const Sequence<OUString> &names,
                      const ParagraphVisitor &visit)
{
    forEachParagraph(doc->getText(), names, visit);
    Reference<css::text::XTextFramesSupplier> framesSupplier(doc, UNO_QUERY);
    const auto frames = framesSupplier.is() ? framesSupplier->getTextFrames() : nullptr;
    if (!frames.is()) {
        return;
    }
    for (const auto &name : frames->getElementNames()) {
        Reference<css::text::XTextFrame> frame(frames->getByName(name), UNO_QUERY);
        if (frame.is()) {
            forEachParagraph(frame->getText(), names, visit);
        }
    }
}

// The font property a criterion searches for bold, italic or single underline: of these a song
// sheet uses the value searched for and none (0) only.
std::optional<FontProperty> twoValued(const css::beans::PropertyValue &criterion)
{
    using On = std::pair<FontProperty, int32_t>;
    for (const auto &[property, on] : {On{FontProperty::Bold, wdTrue},
                                       On{FontProperty::Italic, wdTrue},
                                       On{FontProperty::Underline, wdUnderlineSingle}}) {
        FontSettings font;
        font.set(property, on);
        if (criterion.Name.equalsAscii(officeName(property))
            && criterion.Value == officeAttributes(font, true).front().Value) {
            return property;
        }
    }
    return std::nullopt;
}

// Whether runs show the property with no value but the two: none set on a run itself (its
// automatic style) or given by a character style in use has a third (semibold, double underline).
bool runsShowOnly(const Reference<css::text::XTextDocument> &doc,
                  const OUString &name,
                  const Any &one,
                  const Any &other)
{
    const Sequence<OUString> names(&name, 1);
    const auto third = [&](const Any &value) {
        return value != one && value != other;
    };
    const auto byRuns = anyAutoStyle(doc, "CharacterStyles", [&](const Reference<css::style::XAutoStyle> &style) {
        return style->getPropertyStates(names)[0] != css::beans::PropertyState_DEFAULT_VALUE
            && third(style->getPropertyValues(names)[0]);
    });
    if (!byRuns || *byRuns) {
        return false;
    }
    const auto byStyles = anyCharacterStyleInUse(doc, [&](const Reference<css::beans::XMultiPropertySet> &style) {
        return third(style->getPropertyValues(names)[0]);
    });
    return byStyles && !*byStyles;
}

// All text showing the value, by the office's own search. Where a paragraph gives the searched
// value and runs override it with this one, they are found correctly.
Reference<css::container::XIndexAccess> textShowing(const Reference<css::util::XSearchable> &searchable,
                                                    const css::beans::PropertyValue &value)
{
    const auto descriptor = searchable->createSearchDescriptor();
    descriptor->setSearchString(ou("[^\\n]+|\\n"));
    Reference<css::beans::XPropertySet> settings(descriptor, UNO_QUERY_THROW);
    settings->setPropertyValue(ou("SearchRegularExpression"), Any(true));
    settings->setPropertyValue(ou("SearchStyles"), Any(true));
    Reference<css::util::XPropertyReplace>(descriptor, UNO_QUERY_THROW)->setSearchAttributes(properties({value}));
    return searchable->findAll(descriptor);
}

// Where the paragraph gives its text a searched value and some run overrides it, the office's
// formatted search would miss most of the line. The paragraph then gives another value, and every
// run gets the value it showed as its own (the office may drop a run's value where a whole
// paragraph is formatted, so the overriding runs too where theirs is not the paragraph's new one):
// the line looks as before and is found run by run. Where nothing overrides, nothing changes.
void moveToRuns(const Reference<css::beans::XMultiPropertySet> &paragraph,
                const PropertyValues &criteria,
                const Sequence<OUString> &names,
                const Sequence<Any> &given)
{
    std::vector<std::size_t> fromParagraph; // the criteria the paragraph gives
    for (std::size_t i = 0; i < criteria.size() && i < static_cast<std::size_t>(given.getLength()); ++i) {
        if (given[static_cast<sal_Int32>(i)] == criteria[i].Value) {
            fromParagraph.push_back(i);
        }
    }
    if (fromParagraph.empty()) {
        return;
    }
    Reference<css::container::XEnumerationAccess> access(paragraph, UNO_QUERY);
    const auto portions = access.is() ? access->createEnumeration() : nullptr;
    if (!portions.is()) {
        return;
    }
    Sequence<OUString> paragraphNames(static_cast<sal_Int32>(fromParagraph.size()));
    Sequence<Any> paragraphValues(static_cast<sal_Int32>(fromParagraph.size()));
    for (std::size_t j = 0; j < fromParagraph.size(); ++j) {
        paragraphNames.getArray()[static_cast<sal_Int32>(j)] = criteria[fromParagraph[j]].Name;
        paragraphValues.getArray()[static_cast<sal_Int32>(j)] = otherValue(criteria[fromParagraph[j]]);
    }
    struct Run {
        Reference<css::beans::XMultiPropertySet> portion;
        Sequence<OUString> names;
        Sequence<Any> values;
    };
    std::vector<Run> runs;
    bool overridden = false;
    for (Any element = nextOf(portions); element.hasValue(); element = nextOf(portions)) {
        Reference<css::beans::XMultiPropertySet> portion(element, UNO_QUERY);
        if (!portion.is()) {
            continue;
        }
        const auto values = portion->getPropertyValues(names);
        Run run{portion, {}, {}};
        for (std::size_t j = 0; j < fromParagraph.size(); ++j) {
            const auto k = static_cast<sal_Int32>(fromParagraph[j]);
            if (k >= values.getLength()) {
                continue;
            }
            overridden = overridden || values[k] != given[k];
            if (values[k] != paragraphValues[static_cast<sal_Int32>(j)]) {
                const sal_Int32 n = run.names.getLength();
                run.names.realloc(n + 1);
                run.values.realloc(n + 1);
                run.names.getArray()[n] = names[k];
                run.values.getArray()[n] = values[k];
            }
        }
        if (run.names.hasElements()) {
            runs.push_back(std::move(run));
        }
    }
    if (!overridden) {
        return;
    }
    // The paragraph first: while it gives the value, the office would not keep it on a run.
    paragraph->setPropertyValues(paragraphNames, paragraphValues);
    for (const auto &run : runs) {
        run.portion->setPropertyValues(run.names, run.values);
    }
}

} // namespace

void Host::Impl::moveParagraphCriteriaToRuns(const Reference<css::text::XTextDocument> &doc,
                                             const PropertyValues &criteria)
{
    const auto names = propertyNames(criteria);
    if (pinned.is()) {
        // Inside the office every call is cheap: each such paragraph run by run.
        forEachParagraph(doc, names, [&](const Paragraph &paragraph) {
            moveToRuns(paragraph.props, criteria, names, paragraph.given);
        });
        return;
    }
    // Bold, italic and underline go the quick way where runs show only the two values: the text
    // showing the other value is found before anything changes (within a paragraph that gives the
    // searched value, the office finds it correctly); each paragraph that gives the searched value
    // then gives the other, and its whole text takes the searched value run by run; at the end the
    // text found takes the other value again, all at once. Other criteria (a colour, a third value
    // in use) are read run by run.
    // A criterion that goes the quick way, and the text showing its other value.
    struct Quick {
        std::size_t criterion;
        FontSettings other; // Word's setting of that other value
        Reference<css::container::XIndexAccess> showingOther;
    };
    std::vector<Quick> quick;
    const bool haveView = Reference<css::frame::XModel>(doc, UNO_QUERY_THROW)->getCurrentController().is();
    if (haveView) {
        Reference<css::util::XSearchable> searchable(doc, UNO_QUERY_THROW);
        for (std::size_t i = 0; i < criteria.size(); ++i) {
            const auto property = twoValued(criteria[i]);
            css::beans::PropertyValue showing = criteria[i];
            showing.Value = otherValue(criteria[i]);
            if (property && runsShowOnly(doc, criteria[i].Name, criteria[i].Value, showing.Value)) {
                Quick one{i, {}, textShowing(searchable, showing)};
                one.other.set(*property, 0);
                quick.push_back(one);
            }
        }
    }
    const auto isQuick = [&](std::size_t i) {
        return std::any_of(quick.begin(), quick.end(), [i](const Quick &one) {
            return one.criterion == i;
        });
    };
    forEachParagraph(doc, names, [&](const Paragraph &paragraph) {
        const auto &given = paragraph.given;
        Sequence<OUString> quickNames;
        Sequence<Any> quickValues, otherValues;
        for (std::size_t i = 0; i < criteria.size() && i < static_cast<std::size_t>(given.getLength()); ++i) {
            if (given[static_cast<sal_Int32>(i)] != criteria[i].Value) {
                continue;
            }
            if (!isQuick(i)) {
                moveToRuns(paragraph.props, criteria, names, given);
                return;
            }
            const sal_Int32 n = quickNames.getLength();
            quickNames.realloc(n + 1);
            quickValues.realloc(n + 1);
            otherValues.realloc(n + 1);
            quickNames.getArray()[n] = criteria[i].Name;
            quickValues.getArray()[n] = criteria[i].Value;
            otherValues.getArray()[n] = otherValue(criteria[i]);
        }
        if (!quickNames.hasElements()) {
            return;
        }
        // The paragraph first: while it gives the value, the office would not keep it on a run.
        paragraph.props->setPropertyValues(quickNames, otherValues);
        // A cursor that sets values on runs even over the whole paragraph, one by one
        // (setPropertyValues would not heed NoFormatAttr).
        const Reference<css::beans::XPropertySet> runs(
            paragraph.text->createTextCursorByRange(Reference<css::text::XTextRange>(paragraph.props, UNO_QUERY_THROW)),
            UNO_QUERY_THROW);
        runs->setPropertyValue(ou("NoFormatAttr"), Any(true));
        for (sal_Int32 k = 0; k < quickNames.getLength(); ++k) {
            runs->setPropertyValue(quickNames[k], quickValues[k]);
        }
    });
    for (const auto &one : quick) {
        const auto &found = one.showingOther;
        const sal_Int32 count = found.is() ? found->getCount() : 0;
        if (count > 0 && !formatSelected(doc, found, one.other)) {
            std::vector<Reference<css::text::XTextRange>> ranges;
            for (sal_Int32 k = 0; k < count; ++k) {
                ranges.emplace_back(found->getByIndex(k), UNO_QUERY_THROW);
            }
            formatMatches(ranges, officeAttributes(one.other, false));
        }
    }
}

} // namespace word::uno
