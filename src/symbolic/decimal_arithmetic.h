// Exact arithmetic on non-negative integers written as decimal digit strings.
#pragma once

#include <optional>
#include <string>

namespace symbolic {

// Integers longer than this are refused: an answer of that size helps no one and the
// arithmetic on it would take minutes.
constexpr size_t kMaxDigits = 5000;

class DecimalArithmetic {
public:
    // -1, 0 or 1.
    static int Compare(const std::string& a, const std::string& b);
    static std::string Add(const std::string& a, const std::string& b);
    // a - b for a >= b.
    static std::string Subtract(const std::string& a, const std::string& b);
    static std::string Multiply(const std::string& a, const std::string& b);
    // Quotient and remainder of a / b for b > 0.
    static std::pair<std::string, std::string> Divide(const std::string& a, const std::string& b);
    static std::string Gcd(std::string a, std::string b);
    static std::string Power(const std::string& base, const std::string& exponent);
    // The exact root of a perfect square, nothing otherwise (or when the number is very long).
    static std::optional<std::string> SquareRoot(const std::string& n);

private:
    static std::string Checked(std::string digits);
};

}  // namespace symbolic
