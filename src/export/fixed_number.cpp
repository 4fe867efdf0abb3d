// Decimal rounding on the exact digits of the value, so that ties round away from
// zero as a person expects, and no C locale is involved.
#include "export/fixed_number.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string_view>

namespace exporter {
namespace {

// value = digits[0].digits[1]digits[2]... x 10^exponent
struct Decimal {
    bool negative = false;
    std::string digits;
    int exponent = 0;
};

// A long double has a 64-bit mantissa: neighbouring values differ in about the 20th
// significant digit, so 24 digits never mistake a value for a tie, and the conversion
// stays fast (the PDF of a busy picture writes millions of numbers).
constexpr int kExactDigits = 24;
constexpr int kMinExponentDigits = 3;

Decimal Decompose(long double value) {
    char buffer[96];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::scientific, kExactDigits - 1);
    const std::string_view text(buffer, static_cast<size_t>(result.ptr - buffer));
    Decimal decimal;
    size_t i = 0;
    if (i < text.size() && text[i] == '-') {
        decimal.negative = true;
        ++i;
    }
    for (; i < text.size() && text[i] != 'e'; ++i)
        if (text[i] >= '0' && text[i] <= '9') decimal.digits += text[i];
    if (i < text.size()) {
        const std::string_view exponent = text.substr(i + 1);
        const size_t start = !exponent.empty() && exponent[0] == '+' ? 1 : 0;
        std::from_chars(exponent.data() + start, exponent.data() + exponent.size(),
                        decimal.exponent);
    }
    return decimal;
}

// Keeps `keep` leading digits, rounding half away from zero; a carry out of the first
// digit raises the exponent. Returns false when the value rounds to zero.
bool RoundTo(Decimal& decimal, int keep) {
    if (keep < 0) return false;
    const bool up = keep < static_cast<int>(decimal.digits.size()) && decimal.digits[keep] >= '5';
    decimal.digits.resize(static_cast<size_t>(keep));
    if (up) {
        int i = keep - 1;
        while (i >= 0 && decimal.digits[i] == '9') decimal.digits[i--] = '0';
        if (i >= 0) {
            ++decimal.digits[i];
        } else {
            decimal.digits.insert(decimal.digits.begin(), '1');
            ++decimal.exponent;
        }
    }
    return decimal.digits.find_first_not_of('0') != std::string::npos;
}

std::string Zero(int decimals) {
    return decimals > 0 ? "0." + std::string(static_cast<size_t>(decimals), '0') : "0";
}

std::string ExponentForm(const Decimal& decimal, int precision) {
    std::string digits = decimal.digits;
    digits.resize(static_cast<size_t>(precision), '0');
    std::string text = decimal.negative ? "-" : "";
    text += digits[0];
    if (precision > 1) text += "." + digits.substr(1);
    std::string exponent = std::to_string(std::abs(decimal.exponent));
    if (exponent.size() < kMinExponentDigits)
        exponent.insert(0, kMinExponentDigits - exponent.size(), '0');
    return text + "E" + (decimal.exponent < 0 ? "-" : "+") + exponent;
}

std::string FixedForm(const Decimal& decimal, int decimals) {
    auto digitAt = [&](int power) {
        const int index = decimal.exponent - power;
        return index >= 0 && index < static_cast<int>(decimal.digits.size())
                   ? decimal.digits[static_cast<size_t>(index)]
                   : '0';
    };
    std::string text = decimal.negative ? "-" : "";
    for (int power = std::max(decimal.exponent, 0); power >= 0; --power) text += digitAt(power);
    if (decimals > 0) text += '.';
    for (int power = -1; power >= -decimals; --power) text += digitAt(power);
    return text;
}

// The common case without the exact decimal expansion: a value of moderate size that
// is not close to a tie at its last kept digit. False when the slow path must decide.
bool FastFixed(long double value, int precision, int decimals, std::string& text) {
    const long double magnitude = std::fabs(value);
    if (!(magnitude >= 1e-4L && magnitude < 1e15L) || decimals > 9) return false;
    static constexpr long double kPowers[] = {1,    10,   1e2L,  1e3L,  1e4L,  1e5L,  1e6L,  1e7L,
                                              1e8L, 1e9L, 1e10L, 1e11L, 1e12L, 1e13L, 1e14L, 1e15L};
    // The decimal exponent, counted instead of a logarithm.
    int exponent = 0;
    long double scaledDown = magnitude;
    while (scaledDown < 1) {
        scaledDown *= 10;
        --exponent;
    }
    // Below 1 the count above is the exponent; the table starts at 10^0.
    while (exponent >= 0 && exponent < 15 && magnitude >= kPowers[exponent + 1]) ++exponent;
    const int places = std::min(decimals, precision - exponent - 1);
    if (places < 0 || places > 9) return false;
    const long double scaled = magnitude * kPowers[places];
    const long double fraction = scaled - std::floor(scaled);
    if (std::fabs(fraction - 0.5L) < 1e-6L || scaled >= 9e17L) return false;
    const auto rounded = static_cast<unsigned long long>(std::floor(scaled + 0.5L));
    if (rounded == 0) return false;
    std::string digits = std::to_string(rounded);
    if (static_cast<int>(digits.size()) <= places) {
        digits.insert(0, static_cast<size_t>(places) + 1 - digits.size(), '0');
    }
    // A carry into a new leading digit may call for the exponent form.
    if (static_cast<int>(digits.size()) - places > precision) return false;
    text = value < 0 ? "-" : "";
    text.append(digits, 0, digits.size() - static_cast<size_t>(places));
    if (decimals > 0) {
        text += '.';
        text.append(digits, digits.size() - static_cast<size_t>(places));
        text.append(static_cast<size_t>(decimals - places), '0');
    }
    return true;
}

}  // namespace

std::string FormatFixed(long double value, int precision, int decimals, bool allowExponent) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    if (value == 0) return Zero(decimals);
    if (std::string text; FastFixed(value, precision, decimals, text)) return text;
    Decimal decimal = Decompose(value);
    const int keep = std::min(precision, decimal.exponent + 1 + decimals);
    if (!RoundTo(decimal, keep)) return Zero(decimals);
    if (decimal.exponent + 1 > precision && allowExponent) return ExponentForm(decimal, precision);
    return FixedForm(decimal, decimals);
}

std::string FormatShortest(long double value, int precision, int decimals) {
    std::string text = FormatFixed(value, precision, decimals);
    if (text.find('.') == std::string::npos || text.find('E') != std::string::npos) return text;
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') text.pop_back();
    return text;
}

}  // namespace exporter
