#include "geometry/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>

namespace geometry {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

NumberRead readNumberText(std::string_view word, double& value) {
    std::size_t i = 0;
    const std::size_t n = word.size();
    bool negative = false;
    if (i < n && (word[i] == '+' || word[i] == '-')) negative = word[i++] == '-';
    const std::size_t mantissa = i;
    // Decimal exponent of the first non-zero digit, counted from the point: decides whether an
    // out-of-range value overflowed or underflowed.
    std::int64_t intDigits = 0, leadingZeros = 0;
    bool point = false, nonZero = false;
    std::size_t digits = 0;
    for (; i < n; ++i) {
        const char c = word[i];
        if (isDigit(c)) {
            ++digits;
            if (c != '0') nonZero = true;
            if (!nonZero) ++leadingZeros;
            if (!point) ++intDigits;
        } else if ((c == '.' || c == ',') && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (digits == 0) return NumberRead::NotANumber;
    std::int64_t exponent = 0;
    if (i < n && (word[i] == 'e' || word[i] == 'E')) {
        ++i;
        bool expNegative = false;
        if (i < n && (word[i] == '+' || word[i] == '-')) expNegative = word[i++] == '-';
        const std::size_t expStart = i;
        for (; i < n && isDigit(word[i]); ++i)
            if (exponent < 1'000'000'000) exponent = exponent * 10 + (word[i] - '0');
        if (i == expStart) return NumberRead::NotANumber;
        if (expNegative) exponent = -exponent;
    }
    if (i != n) return NumberRead::NotANumber;

    std::string copy(word.substr(mantissa));
    for (char& c : copy)
        if (c == ',') c = '.';
    double v = 0;
    const std::from_chars_result r = std::from_chars(copy.data(), copy.data() + copy.size(), v);
    if (r.ec == std::errc::result_out_of_range) {
        // The value is 0.d... x 10^magnitude; below 1 it can only have underflowed.
        const std::int64_t magnitude = intDigits - leadingZeros + exponent;
        if (!nonZero || magnitude <= 0) {
            value = negative ? -0.0 : 0.0;
            return NumberRead::Ok;
        }
        return NumberRead::OutOfRange;
    }
    if (r.ec != std::errc() || r.ptr != copy.data() + copy.size()) return NumberRead::NotANumber;
    if (!std::isfinite(v)) return NumberRead::OutOfRange;
    value = negative ? -v : v;
    return NumberRead::Ok;
}

std::string numberText(double v) {
    char buf[400];
    // Plain digits for the sizes people write; the exponent only for the very large or small.
    const double a = std::abs(v);
    const std::to_chars_result r =
        a == 0 || (a >= 1e-4 && a < 1e15)
            ? std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed)
            : std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

}  // namespace geometry
