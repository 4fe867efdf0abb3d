// The one "general" number format and the fixed-format number reader; both use
// std::to_chars/from_chars, which never look at the C locale.
#include "number_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace expr {

namespace {

constexpr int kMaxPrecision = 21;
// Below this decimal exponent the fixed notation would need more than four
// leading zeros after the point, so scientific notation is used instead.
constexpr int kSmallestFixedExponent = -5;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

std::string FormatGeneral(long double value, int precision) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    if (value == 0) return "0";  // also -0

    precision = std::clamp(precision, 1, kMaxPrecision);
    char buffer[64];
    const auto converted = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                         std::chars_format::scientific, precision - 1);
    // buffer holds "d.ddde+XX" (or "de+XX" for one digit).
    std::string digits;
    const char* p = buffer;
    for (; p < converted.ptr && *p != 'e'; ++p) {
        if (IsDigit(*p)) digits += *p;
    }
    int exponent = 0;
    std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), converted.ptr, exponent);
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

    std::string text = value < 0 ? "-" : "";
    if (exponent >= kSmallestFixedExponent && exponent < precision) {
        if (exponent < 0) {
            text += "0.";
            text.append(static_cast<size_t>(-exponent - 1), '0');
            text += digits;
        } else {
            const size_t integerDigits = static_cast<size_t>(exponent) + 1;
            if (digits.size() <= integerDigits) {
                text += digits;
                text.append(integerDigits - digits.size(), '0');
            } else {
                text.append(digits, 0, integerDigits);
                text += '.';
                text.append(digits, integerDigits);
            }
        }
    } else {
        text += digits[0];
        if (digits.size() > 1) {
            text += '.';
            text.append(digits, 1);
        }
        text += 'E';
        text += std::to_string(exponent);
    }
    return text;
}

bool ParseFixedNumber(const std::string& text, long double& value) {
    // [sign] (digits [. digits*] | . digits) [E [sign] digits], nothing else.
    size_t i = 0;
    const size_t n = text.size();
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    const size_t mantissaBegin = i;
    size_t integerDigits = 0;
    size_t leadingZeros = 0;  // zeros before the first non-zero mantissa digit
    bool seenNonZero = false;
    while (i < n && IsDigit(text[i])) {
        if (!seenNonZero && text[i] == '0') ++leadingZeros;
        seenNonZero = seenNonZero || text[i] != '0';
        ++integerDigits;
        ++i;
    }
    size_t fractionDigits = 0;
    if (i < n && text[i] == '.') {
        ++i;
        while (i < n && IsDigit(text[i])) {
            if (!seenNonZero && text[i] == '0') ++leadingZeros;
            seenNonZero = seenNonZero || text[i] != '0';
            ++fractionDigits;
            ++i;
        }
    }
    if (integerDigits + fractionDigits == 0) return false;
    const size_t mantissaEnd = i;
    long long exponent = 0;
    if (i < n && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        bool negativeExponent = false;
        if (i < n && (text[i] == '+' || text[i] == '-')) negativeExponent = text[i++] == '-';
        if (i == n || !IsDigit(text[i])) return false;
        for (; i < n && IsDigit(text[i]); ++i) {
            // Saturate: anything this large over- or underflows anyway.
            exponent = std::min(exponent * 10 + (text[i] - '0'), 1'000'000'000LL);
        }
        if (negativeExponent) exponent = -exponent;
    }
    if (i != n) return false;

    long double magnitude = 0;
    const char* first = text.data() + mantissaBegin;
    const auto result = std::from_chars(first, text.data() + n, magnitude);
    if (result.ec == std::errc::result_out_of_range) {
        // from_chars reports underflow and overflow alike; a tiny literal reads as 0.
        const long long decimalPosition =
            static_cast<long long>(integerDigits) - static_cast<long long>(leadingZeros) + exponent;
        if (decimalPosition > 0) return false;
        magnitude = 0;
    } else if (result.ec != std::errc() || result.ptr != text.data() + n ||
               first == text.data() + mantissaEnd) {
        return false;
    }
    if (std::isinf(magnitude)) return false;
    value = negative ? -magnitude : magnitude;
    return true;
}

}  // namespace expr
