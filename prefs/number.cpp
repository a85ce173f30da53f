#include "number.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace prefs
{

namespace
{

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n';
}

/// Reads text from pos, skipping blanks; returns '\0' at the end.
class Reader
{
public:
    explicit Reader(std::string_view text)
        : m_text(text)
    {
    }
    char peek()
    {
        while (m_pos < m_text.size() && isBlank(m_text[m_pos])) {
            ++m_pos;
        }
        return m_pos < m_text.size() ? m_text[m_pos] : '\0';
    }
    void next()
    {
        ++m_pos;
    }

private:
    std::string_view m_text;
    std::size_t m_pos = 0;
};

int digitValue(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return 99;
}

/// "&H..." or "&O..." after the '&': the digits as a 16-bit or 32-bit two's complement when they fit.
double radixNumber(Reader &in, int radix)
{
    uint64_t value = 0;
    bool big = false;
    double wide = 0; // the exact magnitude when it no longer fits 64 bits
    for (int digit = digitValue(in.peek()); digit < radix; digit = digitValue(in.peek())) {
        in.next();
        wide = wide * radix + digit;
        if (value
            > (std::numeric_limits<uint64_t>::max() - static_cast<uint64_t>(digit)) / static_cast<uint64_t>(radix)) {
            big = true;
        } else {
            value = value * static_cast<uint64_t>(radix) + static_cast<uint64_t>(digit);
        }
    }
    if (big) {
        return wide;
    }
    if (value <= 0xFFFF) {
        return static_cast<int16_t>(static_cast<uint16_t>(value));
    }
    if (value <= 0xFFFFFFFF) {
        return static_cast<int32_t>(static_cast<uint32_t>(value));
    }
    return static_cast<double>(value);
}

/// Saturating accumulation of the exponent's digits.
void addDigit(int64_t &value, char c)
{
    constexpr int64_t cap = int64_t{1} << 40;
    value = value > cap ? value : value * 10 + (c - '0');
}

} // namespace

double leadingNumber(std::string_view text)
{
    Reader in(text);
    if (in.peek() == '&') {
        in.next();
        const char kind = in.peek();
        if (kind == 'H' || kind == 'h') {
            in.next();
            return radixNumber(in, 16);
        }
        if (kind == 'O' || kind == 'o') {
            in.next();
            return radixNumber(in, 8);
        }
        return 0;
    }

    // Collect the number without its blanks, in the form from_chars reads.
    std::string number;
    bool negative = false;
    if (in.peek() == '+' || in.peek() == '-') {
        negative = in.peek() == '-';
        in.next();
    }
    bool anyDigit = false;
    bool point = false;
    int64_t leadingPlaces = 0; // digits before the point, from the first non-zero one
    int64_t zerosAfterPoint = 0; // zeros after the point before the first non-zero digit
    bool nonZeroSeen = false;
    for (char c = in.peek(); (c >= '0' && c <= '9') || (c == '.' && !point); c = in.peek()) {
        in.next();
        number += c;
        if (c == '.') {
            point = true;
            continue;
        }
        anyDigit = true;
        if (c != '0') {
            nonZeroSeen = true;
        }
        if (!point && nonZeroSeen) {
            ++leadingPlaces;
        } else if (point && !nonZeroSeen) {
            ++zerosAfterPoint;
        }
    }
    if (!anyDigit || !nonZeroSeen) {
        return 0;
    }
    int64_t exponent = 0;
    if (const char e = in.peek(); e == 'E' || e == 'e' || e == 'D' || e == 'd') {
        in.next();
        bool negativeExponent = false;
        if (in.peek() == '+' || in.peek() == '-') {
            negativeExponent = in.peek() == '-';
            in.next();
        }
        for (char c = in.peek(); c >= '0' && c <= '9'; c = in.peek()) {
            in.next();
            addDigit(exponent, c);
        }
        exponent = negativeExponent ? -exponent : exponent;
    }
    number += 'e';
    number += std::to_string(exponent);

    double value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error == std::errc::result_out_of_range) {
        // Beyond the double range: overflow when the number's decimal magnitude is large, else underflow.
        const int64_t magnitude = (leadingPlaces > 0 ? leadingPlaces : -zerosAfterPoint) + exponent;
        value = magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (error != std::errc()) {
        value = 0;
    }
    (void)end;
    return negative ? -value : value;
}

namespace
{

template<typename Int> std::optional<Int> roundTo(double value)
{
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    // Half to even, whatever the floating-point rounding mode.
    double rounded = std::floor(value);
    const double fraction = value - rounded;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(rounded, 2.0) != 0.0)) {
        rounded += 1.0;
    }
    if (rounded < static_cast<double>(std::numeric_limits<Int>::min())
        || rounded > static_cast<double>(std::numeric_limits<Int>::max())) {
        return std::nullopt;
    }
    return static_cast<Int>(rounded);
}

} // namespace

std::optional<int16_t> roundToInt16(double value)
{
    return roundTo<int16_t>(value);
}

std::optional<int32_t> roundToInt32(double value)
{
    return roundTo<int32_t>(value);
}

} // namespace prefs
