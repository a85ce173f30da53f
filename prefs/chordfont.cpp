#include "chordfont.h"

#include "number.h"

namespace prefs
{

namespace
{

/// One colour component from its box, or std::nullopt when it is not a whole number 0..255 after rounding.
std::optional<int32_t> component(const std::string &text)
{
    const auto value = roundToInt16(leadingNumber(text));
    if (!value || *value < 0 || *value > 255) {
        return std::nullopt;
    }
    return *value;
}

word::Message boxError(const char *box)
{
    return {std::string("The ") + box + " box must hold a number from 0 to 255.",
            "Error",
            word::Icon::Critical,
            word::Buttons::Ok};
}

} // namespace

ColorResult chordColor(const ColorBoxes &boxes)
{
    const auto red = component(boxes.red);
    if (!red) {
        return {std::nullopt, boxError("Red")};
    }
    const auto green = component(boxes.green);
    if (!green) {
        return {std::nullopt, boxError("Green")};
    }
    const auto blue = component(boxes.blue);
    if (!blue) {
        return {std::nullopt, boxError("Blue")};
    }
    return {*red + 256 * *green + 65536 * *blue, std::nullopt};
}

int interlockUseStyle(int oldValue, int newValue, int useStyle)
{
    return (newValue != oldValue && newValue == 1) ? 1 : useStyle;
}

} // namespace prefs
