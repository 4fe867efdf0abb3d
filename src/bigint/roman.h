// Roman numerals: whole numbers to text and back.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace bigint {

// 1 .. 3999 in the usual subtractive form; larger numbers repeat "M". Empty
// for numbers below 1.
std::string ToRoman(int64_t value);

// The value of a Roman numeral (case-insensitive, subtractive pairs allowed);
// empty when the text is no valid numeral.
std::optional<int64_t> FromRoman(const std::string& text);

inline constexpr int64_t kMaxRoman = 1000000;

}  // namespace bigint
