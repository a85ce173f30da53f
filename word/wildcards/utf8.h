#pragma once

// UTF-8 helpers shared by the hosts. The built-in document keeps its text as UTF-8, always valid
// there; texts from callers may not be, and decode() turns a bad byte into U+FFFD.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace word::utf8
{

inline constexpr char32_t replacementChar = 0xFFFD;

/// Decode the code point starting at s[pos] and advance pos past it (one byte when invalid).
inline char32_t decode(std::string_view s, std::size_t &pos)
{
    const auto b0 = static_cast<unsigned char>(s[pos]);
    if (b0 < 0x80) {
        ++pos;
        return b0;
    }
    std::size_t extra = 0;
    char32_t c = 0;
    char32_t min = 0;
    if ((b0 & 0xE0) == 0xC0) {
        extra = 1;
        c = b0 & 0x1F;
        min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        extra = 2;
        c = b0 & 0x0F;
        min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        extra = 3;
        c = b0 & 0x07;
        min = 0x10000;
    } else {
        ++pos;
        return replacementChar;
    }
    if (pos + extra >= s.size()) {
        ++pos;
        return replacementChar;
    }
    for (std::size_t i = 1; i <= extra; ++i) {
        const auto b = static_cast<unsigned char>(s[pos + i]);
        if ((b & 0xC0) != 0x80) {
            ++pos;
            return replacementChar;
        }
        c = (c << 6) | (b & 0x3F);
    }
    if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        ++pos;
        return replacementChar;
    }
    pos += extra + 1;
    return c;
}

/// The code point at s[pos], without advancing.
inline char32_t at(std::string_view s, std::size_t pos)
{
    return decode(s, pos);
}

/// The start of the code point before pos (pos > 0) in valid UTF-8.
inline std::size_t prev(std::string_view s, std::size_t pos)
{
    do {
        --pos;
    } while (pos > 0 && (static_cast<unsigned char>(s[pos]) & 0xC0) == 0x80);
    return pos;
}

/// Append c to out as UTF-8 (surrogates and values past U+10FFFF become U+FFFD).
inline void append(std::string &out, char32_t c)
{
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
        return;
    }
    if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) {
        c = replacementChar;
    }
    if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    }
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
}

/// Whether the byte starts a code point (is not a continuation byte).
inline bool isLead(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
}

/// The non-ASCII part of isWordChar (a table lookup).
bool isWordCharSlow(char32_t c);

/// A word character: a letter or a digit (any script), or a combining mark written on one.
/// Everything else (spaces, paragraph and line ends, punctuation, symbols) is a word boundary.
inline bool isWordChar(char32_t c)
{
    if (c < 0x80) {
        return (c >= '0' && c <= '9') || ((c | 0x20) >= 'a' && (c | 0x20) <= 'z');
    }
    return isWordCharSlow(c);
}

/// A simple case fold (to lower case) for case-blind literal search: ASCII, Latin-1, Latin
/// Extended-A, Greek and Cyrillic.
char32_t foldCase(char32_t c);

} // namespace word::utf8
