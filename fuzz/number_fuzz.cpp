// The lenient number reader never throws, and what it reads survives the rounding the commands apply.

#include "prefs/number.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const double value = prefs::leadingNumber(text);
    const auto rounded = prefs::roundToInt32(value);
    if (rounded && std::fabs(static_cast<double>(*rounded) - value) > 0.5) {
        std::abort();
    }
    prefs::roundToInt16(value);
    // Blanks before the number are ignored.
    const double padded = prefs::leadingNumber(" \t" + std::string(text));
    if (!(padded == value || (std::isnan(padded) && std::isnan(value)))) {
        std::abort();
    }
    return 0;
}
