#pragma once

// Lenient reading of the numbers users type into the colour boxes and the Semi Tones box.

#include <cstdint>
#include <optional>
#include <string_view>

namespace prefs
{

/// The leading number of text as a lenient parse reads it: blanks (space, tab, line feed) are ignored
/// anywhere before or inside it; then an optional sign, digits, one decimal point and an optional exponent
/// (E/e/D/d, optional sign, digits). Reading stops at the first character that cannot continue the number;
/// text without a number gives 0. "&H1F" and "&O17" read hexadecimal and octal digits (a value that fits
/// 16 bits is taken as a 16-bit two's complement, one that fits 32 bits as a 32-bit one, as "&HFFFF" is -1).
/// Never throws: a decimal number beyond the double range gives +/-infinity ("1e999").
double leadingNumber(std::string_view text);

/// Round half to even ("2.5" -> 2, "3.5" -> 4); std::nullopt for NaN, infinity or a result out of range.
std::optional<int16_t> roundToInt16(double value);
std::optional<int32_t> roundToInt32(double value);

} // namespace prefs
