#pragma once

// The twelve keys, tone numbers (1 = A to 12 = G#/Ab) and the semitone arithmetic.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace music
{

/// The entries of both key lists, in index order; the tone number is the index plus one.
inline constexpr std::array<std::string_view, 12>
    keyList{"A", "A#/Bb", "B", "C", "C#/Db", "D", "D#/Eb", "E", "F", "F#/Gb", "G", "G#/Ab"};

/// The tone number BaseTone moved by Delta semitones, as decimal text: one correction of 12 each way
/// (a result above 12 loses 12, then one below 1 gains 12), so Delta in -12..+12 always gives "1".."12".
/// std::nullopt when BaseTone + Delta overflows 32 bits.
std::optional<std::string> SemiToneAdjust(int32_t BaseTone, int32_t Delta);

/// The text the Semi Tones box shows for the two key lists' selected indexes (-1 = nothing selected):
/// the difference new - current, brought once into -6..+6 from either side ("-6" keeps its sign).
std::string UpdateSemiTones(int16_t currentIndex, int16_t newIndex);

} // namespace music
