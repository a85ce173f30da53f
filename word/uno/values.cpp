// Word's values and LibreOffice's: strings, colours, underline styles, weights and slants, and the
// character properties that stand for Word's font settings.

#include "hostimpl.h"

#include <com/sun/star/awt/FontUnderline.hpp>
#include <com/sun/star/awt/FontWeight.hpp>
#include <com/sun/star/beans/PropertyState.hpp>
#include <osl/file.hxx>

namespace word::uno
{

OUString ou(std::string_view utf8)
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

Sequence<css::beans::PropertyValue> properties(const PropertyValues &values)
{
    Sequence<css::beans::PropertyValue> seq(static_cast<sal_Int32>(values.size()));
    for (std::size_t i = 0; i < values.size(); ++i) {
        seq.getArray()[i] = values[i];
    }
    return seq;
}

Sequence<OUString> propertyNames(const PropertyValues &values)
{
    Sequence<OUString> names(static_cast<sal_Int32>(values.size()));
    for (std::size_t i = 0; i < values.size(); ++i) {
        names.getArray()[i] = values[i].Name;
    }
    return names;
}

OUString fileUrl(const std::string &path)
{
    OUString url;
    if (osl::FileBase::getFileURLFromSystemPath(ou(path), url) != osl::FileBase::E_None) {
        throw AutomationError("Not a valid file path: " + path);
    }
    return url;
}

namespace
{

// Word keeps red in the low byte, the office in the high one: the same swap both ways.
sal_Int32 swapRedBlue(sal_Int32 color)
{
    const uint32_t c = static_cast<uint32_t>(color) & 0xFFFFFF;
    return static_cast<sal_Int32>(((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF));
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

} // namespace

sal_Int32 officeColor(int32_t wordColor)
{
    if (wordColor == wdColorAutomatic) {
        return -1; // COL_AUTO
    }
    return swapRedBlue(wordColor);
}

int32_t wordColor(sal_Int32 officeColor)
{
    if (officeColor == -1) {
        return wdColorAutomatic;
    }
    return swapRedBlue(officeColor);
}

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

const char *officeName(FontProperty which)
{
    switch (which) {
    case FontProperty::Bold:
        return "CharWeight";
    case FontProperty::Italic:
        return "CharPosture";
    case FontProperty::Underline:
        return "CharUnderline";
    case FontProperty::Color:
        break;
    }
    return "CharColor";
}

int32_t wordValue(FontProperty which, const Any &value)
{
    switch (which) {
    case FontProperty::Bold: {
        float weight = css::awt::FontWeight::NORMAL;
        value >>= weight;
        return weight >= css::awt::FontWeight::BOLD ? wdTrue : 0;
    }
    case FontProperty::Italic: {
        css::awt::FontSlant slant = css::awt::FontSlant_NONE;
        value >>= slant;
        return slant == css::awt::FontSlant_ITALIC || slant == css::awt::FontSlant_OBLIQUE ? wdTrue : 0;
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
}

void FontSettings::set(FontProperty property, int32_t value)
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

PropertyValues officeAttributes(const FontSettings &font, bool asCriteria)
{
    PropertyValues values;
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
PropertyValues mergedAttributes(const PropertyValues &criteria, const PropertyValues &replacement)
{
    PropertyValues merged = replacement;
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

void setAttributes(const Reference<css::beans::XPropertySet> &props, const PropertyValues &values)
{
    for (const auto &value : values) {
        props->setPropertyValue(value.Name, value.Value);
    }
}

void resetAttributes(const Reference<css::beans::XPropertySet> &props,
                     const Reference<css::beans::XPropertyState> &states,
                     const PropertyValues &values)
{
    for (const char *name : characterAttributes) {
        states->setPropertyToDefault(ou(name));
    }
    setAttributes(props, values);
}

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

} // namespace word::uno
