// Number text of the picture writers: fixed notation with a bounded number of
// significant digits, "." as separator whatever the locale.
#pragma once

#include <string>

namespace exporter {

// `value` rounded half away from zero to at most `precision` significant digits and
// at most `decimals` decimals, written with exactly `decimals` decimals: (12.5, 6, 4)
// gives "12.5000". When the integer part needs more than `precision` digits the text is
// "d.ddddd" (`precision` digits) + "E" + sign + at least three exponent digits, such
// as "1.23457E+007"; without `allowExponent` the digits beyond `precision` become
// zeros instead ("1234570.0000"). A value that rounds to zero carries no minus sign.
// Non-finite values are "NAN", "INF" and "-INF".
std::string FormatFixed(long double value, int precision, int decimals, bool allowExponent = true);

// FormatFixed without trailing zeros in the fraction and without a trailing ".":
// (0.5, 6, 3) gives "0.5", (1, 6, 3) gives "1".
std::string FormatShortest(long double value, int precision, int decimals);

}  // namespace exporter
