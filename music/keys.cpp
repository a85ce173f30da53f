#include "keys.h"

namespace music
{

std::optional<std::string> SemiToneAdjust(int32_t BaseTone, int32_t Delta)
{
    int32_t s = 0;
    if (__builtin_add_overflow(BaseTone, Delta, &s)) {
        return std::nullopt;
    }
    if (s > 12) {
        s -= 12;
    }
    if (s < 1) {
        s += 12;
    }
    return std::to_string(s);
}

std::string UpdateSemiTones(int16_t currentIndex, int16_t newIndex)
{
    int d = int{newIndex} - int{currentIndex};
    if (d > 6) {
        d -= 12;
    }
    if (d < -6) {
        d += 12;
    }
    return std::to_string(d);
}

} // namespace music
