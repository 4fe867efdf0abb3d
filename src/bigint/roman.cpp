// Roman numerals.
#include "bigint/roman.h"

#include <cctype>

namespace bigint {

namespace {

struct Symbol {
    int value;
    const char* text;
};

constexpr Symbol kSymbols[] = {{1000, "M"}, {900, "CM"}, {500, "D"}, {400, "CD"}, {100, "C"},
                               {90, "XC"},  {50, "L"},   {40, "XL"}, {10, "X"},   {9, "IX"},
                               {5, "V"},    {4, "IV"},   {1, "I"}};

int DigitValue(char c) {
    switch (std::toupper(static_cast<unsigned char>(c))) {
        case 'I':
            return 1;
        case 'V':
            return 5;
        case 'X':
            return 10;
        case 'L':
            return 50;
        case 'C':
            return 100;
        case 'D':
            return 500;
        case 'M':
            return 1000;
        default:
            return 0;
    }
}

}  // namespace

std::string ToRoman(int64_t value) {
    std::string out;
    if (value < 1 || value > kMaxRoman) return out;
    for (const auto& symbol : kSymbols) {
        while (value >= symbol.value) {
            out += symbol.text;
            value -= symbol.value;
        }
    }
    return out;
}

std::optional<int64_t> FromRoman(const std::string& text) {
    if (text.empty() || text.size() > 2000) return std::nullopt;
    int64_t total = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const int value = DigitValue(text[i]);
        if (value == 0) return std::nullopt;
        const int next = i + 1 < text.size() ? DigitValue(text[i + 1]) : 0;
        total += next > value ? -value : value;
    }
    // Only the canonical spelling counts as valid (no "IIII", "VX" or "IC").
    std::string canonical = ToRoman(total);
    std::string upper;
    for (char c : text) upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (canonical != upper) return std::nullopt;
    return total;
}

}  // namespace bigint
