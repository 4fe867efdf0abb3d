// The one "general" number format of the program: shortest text, "." always.
#pragma once

#include <string>

namespace expr {

// Zero is "0"; fixed notation when the integer part has at most `precision`
// digits and |v| >= 0.00001, otherwise scientific such as "1E20" or "1.5E-7";
// `precision` significant digits, trailing zeros removed. Never locale-dependent.
std::string FormatGeneral(long double value, int precision = 15);

// Reads a number in the fixed format: optional sign, digits, optional "." and
// fraction, optional "E" with optional sign and digits. The whole text must match.
bool ParseFixedNumber(const std::string& text, long double& value);

}  // namespace expr
