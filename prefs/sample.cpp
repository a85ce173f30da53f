#include "sample.h"

#include <cstdio>

namespace prefs
{

namespace
{

/// The colour as uppercase hexadecimal without leading zeros; a negative value as its 32-bit two's complement.
std::string hexText(int32_t value)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%X", static_cast<unsigned>(static_cast<uint32_t>(value)));
    return buffer;
}

/// The decimal value of two hexadecimal digits.
std::string byteText(const std::string &hex, std::size_t pos)
{
    return std::to_string(std::stoi(hex.substr(pos, 2), nullptr, 16));
}

} // namespace

SampleResult GetFontParameters(word::Application &app, word::Prompter &prompter)
{
    SampleResult result;
    if (app.DocumentsCount() == 0) {
        prompter.show(word::noDocumentMessage(app));
        return result;
    }
    auto selection = app.selection();
    if (selection->Start() == selection->End()) {
        prompter.show({"You must select a sample chord font before you can get the font parameters.",
                       "Warning",
                       word::Icon::Exclamation,
                       word::Buttons::Ok});
        return result;
    }
    result.bold = selection->font(word::FontProperty::Bold) == word::wdTrue ? 1 : 0;
    result.italic = selection->font(word::FontProperty::Italic) == word::wdTrue ? 1 : 0;
    result.underline = selection->font(word::FontProperty::Underline) == word::wdUnderlineSingle ? 1 : 0;

    std::string hex = hexText(selection->font(word::FontProperty::Color));
    if (hex == "98967F") {
        prompter.show({"Could not determine color.  Multiple colors detected.",
                       "Selection Error",
                       word::Icon::Critical,
                       word::Buttons::Ok});
        return result;
    }
    // The automatic colour, and any other value that is no plain RGB colour (a theme colour is negative,
    // and nothing above 16777215 has three bytes): no colour to take.
    if (hex.size() > 6) {
        prompter.show({"Could not determine color.", "Warning", word::Icon::Exclamation, word::Buttons::Ok});
        return result;
    }
    hex.insert(0, 6 - hex.size(), '0'); // blue, green, red
    result.red = byteText(hex, 4);
    result.green = byteText(hex, 2);
    result.blue = byteText(hex, 0);
    return result;
}

} // namespace prefs
