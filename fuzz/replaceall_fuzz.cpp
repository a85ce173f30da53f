// Replace-All through the built-in host with any find text, replacement, font criteria and replacement
// formatting, literal or wildcard, on any sheet: a refused request leaves the sheet as it was, and the
// host's Undo restores the sheet exactly (text, formatting and all) after one that changed it.
//
// Input: one byte of switches, one of criteria, one of changes, then the find text, the replacement and the
// sheet in the test notation, separated by the byte 0x1F.

#include "word/builtin/host.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <string_view>

using namespace word::builtin;

namespace
{

constexpr std::array<word::FontProperty, 4> properties{word::FontProperty::Bold,
                                                       word::FontProperty::Italic,
                                                       word::FontProperty::Underline,
                                                       word::FontProperty::Color};
constexpr std::array<int32_t, 4> colors{0, 255, 0x00FF00, word::wdColorAutomatic};

/// The value a bit pair asks for: True or False for Bold and Italic, a style for Underline, a colour.
int32_t valueOf(word::FontProperty property, unsigned bits)
{
    switch (property) {
    case word::FontProperty::Bold:
    case word::FontProperty::Italic:
        return bits & 1 ? word::wdTrue : 0;
    case word::FontProperty::Underline:
        return bits & 1 ? word::wdUnderlineSingle : (bits & 2 ? word::wdUnderlineWavy : word::wdUnderlineNone);
    case word::FontProperty::Color:
        return colors[bits & 3];
    }
    return 0;
}

std::string_view field(std::string_view &rest)
{
    const auto cut = rest.find('\x1f');
    const std::string_view value = rest.substr(0, cut);
    rest = cut == std::string_view::npos ? std::string_view() : rest.substr(cut + 1);
    return value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    if (size < 3) {
        return 0;
    }
    const unsigned switches = data[0];
    const unsigned criteria = data[1];
    const unsigned changes = data[2];
    std::string_view rest(reinterpret_cast<const char *>(data) + 3, size - 3);
    const std::string find(field(rest));
    const std::string replacement(field(rest));
    Host host;
    try {
        host.open(fromNotation(rest));
    } catch (const std::invalid_argument &) {
        return 0;
    }
    const std::string before = toNotation(*host.activeText());
    const std::string beforeBytes = host.activeText()->bytes();

    bool changed = false;
    try {
        auto finder = host.selection()->find();
        finder->ClearFormatting();
        finder->ClearReplacementFormatting();
        finder->setText(find);
        finder->setReplacementText(replacement);
        finder->setForward(true);
        finder->setWrap(word::wdFindContinue);
        finder->setFormat(switches & 1);
        finder->setMatchCase(switches & 2);
        finder->setMatchWholeWord(switches & 4);
        finder->setMatchWildcards(switches & 8);
        for (std::size_t i = 0; i < properties.size(); ++i) {
            if (criteria >> (2 * i) & 3) {
                finder->setFont(properties[i], valueOf(properties[i], criteria >> (2 * i) & 3));
            }
            if (changes >> (2 * i) & 3) {
                finder->setReplacementFont(properties[i], valueOf(properties[i], changes >> (2 * i) & 3));
            }
        }
        finder->Execute(word::wdReplaceAll);
        changed = host.canUndo();
    } catch (const word::AutomationError &) {
        if (toNotation(*host.activeText()) != before || host.canUndo()) {
            std::abort(); // a refused request changed the sheet
        }
        return 0;
    }
    if (changed) {
        if (!host.undo() || toNotation(*host.activeText()) != before || host.activeText()->bytes() != beforeBytes) {
            std::abort(); // Undo did not restore the sheet exactly
        }
    } else if (toNotation(*host.activeText()) != before) {
        std::abort(); // a change without an undo step
    }
    return 0;
}
