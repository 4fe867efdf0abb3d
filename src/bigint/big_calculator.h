// The operations of the big-integer calculator window: three operands as text in,
// the answer as the window shows it out. Plain C++, so batch mode and tests reach
// every button without a window.
#pragma once

#include <optional>
#include <string>

namespace bigint {

enum class CalculatorOperation {
    Add,
    Subtract,
    Multiply,
    Divide,
    Modulo,
    Factorial,
    Combinations,
    Permutations,
    Power,
    PowerModulo,
    SquareRoot,
    Square,
    Root,
    PrimeTest,
    Gcd,
    Inverse
};

// The batch names: add, sub, mul, div, mod, fac, ncr, npr, pow, powmod, sqrt, square,
// root, prime, gcd, inv.
std::optional<CalculatorOperation> OperationNamed(const std::string& name);

struct CalculatorAnswer {
    std::string answer;   // what the answer field shows; empty when refused
    std::string message;  // a note or the reason of a refusal (Dutch), may be empty
    bool refused = false;
};

// The largest factorial the window computes; a larger x is truncated to it.
inline constexpr long kFactorialLimit = 15000;
// Results longer than this many digits get the warning of nCr and nPr.
inline constexpr size_t kLongAnswerDigits = 20000;

// Operands as the fields hold them (separators and other characters ignored, empty
// is 0). Answers are grouped by thousands with ".", except a root.
CalculatorAnswer Calculate(CalculatorOperation operation, const std::string& x,
                           const std::string& y, const std::string& z);

// "1.234.567": the thousands separator of Dutch number writing.
std::string Grouped(const std::string& digits);

}  // namespace bigint
