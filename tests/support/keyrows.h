#pragma once

// The shift in semitones shown for a pair of keys: the library computes it, the window shows it when a key
// is chosen. Both tests run the one table.

#include <cstdint>

namespace testsupport
{

struct SemiToneRow {
    const char *name;
    int16_t currentIndex, newIndex; ///< ListIndex of "Current Key" and "New Key", -1 = none
    const char *shown; ///< the text of "Semi Tones"
};

// clang-format off
inline constexpr SemiToneRow semiToneRows[] = {
    {"CToD", 3, 5, "2"},
    {"AToGSharp", 0, 11, "-1"},
    {"GToC", 10, 3, "5"},
    {"AToDSharpIsPlusSix", 0, 6, "6"},
    {"DSharpToAIsMinusSix", 6, 0, "-6"},
    {"SameKey", 7, 7, "0"},
    {"OnlyNewKeyC", -1, 3, "4"},
    {"OnlyCurrentKeyC", 3, -1, "-4"},
    {"UnsetToGSharpIsTwelve", -1, 11, "0"},
    {"NeitherKey", -1, -1, "0"},
};
// clang-format on

} // namespace testsupport
