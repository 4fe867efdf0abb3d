// The calculator's operations on TInteger, with the limits that keep answers in reach.
#include "bigint/big_calculator.h"

#include <cmath>

#include "bigint/integer.h"
#include "bigint/integer_error.h"

namespace bigint {

namespace {

constexpr char kSeparator = '.';
// A result of more bits (some five million digits) is refused instead of computed.
constexpr double kMaxResultBits = 1 << 24;
constexpr const char* kTooLarge = "de uitkomst wordt te groot (meer dan vijf miljoen cijfers)";
constexpr const char* kDivisionByZero = "deling door nul";

CalculatorAnswer Refusal(const std::string& message) {
    return {"", message, true};
}

CalculatorAnswer Answer(const TInteger& value, bool grouped = true) {
    return {grouped ? value.ToText(true, kSeparator) : value.ToText(), "", false};
}

double Log2Abs(const TInteger& x) {
    const size_t bits = x.BitLength();
    if (bits < 16000) return static_cast<double>(std::log2(std::fabs(x.ToLongDouble())));
    return static_cast<double>(bits);
}

CalculatorAnswer WithLengthWarning(CalculatorAnswer answer, const TInteger& value) {
    if (value.BitLength() > kLongAnswerDigits * 3.33) {
        answer.message = "aantal cijfers kan te groot zijn om correct weer te geven";
    }
    return answer;
}

std::optional<int64_t> SmallOperand(const TInteger& value) {
    if (!value.FitsInt64()) return std::nullopt;
    return value.ToInt64();
}

CalculatorAnswer Combinations(const TInteger& x, const TInteger& y) {
    const auto n = SmallOperand(x), k0 = SmallOperand(y);
    if (!n || !k0) return Refusal("x en y moeten kleiner zijn dan 2^63");
    int64_t k = *k0;
    if (k > *n || k < 0) return Answer(TInteger(0));
    if (k > *n / 2) k = *n - k;
    if (static_cast<double>(k) * static_cast<double>(x.BitLength()) > kMaxResultBits) {
        return Refusal(kTooLarge);
    }
    TInteger result = FallingProduct(x, k);
    TInteger factorial(k);
    factorial.Factorial();
    result.DivideBy(factorial);
    return WithLengthWarning(Answer(result), result);
}

CalculatorAnswer Permutations(const TInteger& x, const TInteger& y) {
    const auto k = SmallOperand(y);
    if (!k) return Refusal("y moet kleiner zijn dan 2^63");
    if (*k <= 0) return Answer(TInteger(1));
    if (x.Sign() >= 0 && x.CompareInt64(*k) < 0) return Answer(TInteger(0));
    if (static_cast<double>(*k) * static_cast<double>(x.BitLength() + 1) > kMaxResultBits) {
        return Refusal(kTooLarge);
    }
    const TInteger result = FallingProduct(x, *k);
    return WithLengthWarning(Answer(result), result);
}

CalculatorAnswer Power(TInteger x, const TInteger& y) {
    const auto n = SmallOperand(y);
    if (!n) return Refusal("de exponent y is te groot");
    const bool unit = x.CompareAbs(TInteger(1)) <= 0;
    if (!unit && *n > 0 && static_cast<double>(*n) * Log2Abs(x) > kMaxResultBits) {
        return Refusal(kTooLarge);
    }
    x.Power(*n);
    return Answer(x);
}

}  // namespace

std::string Grouped(const std::string& digits) {
    TInteger value;
    value.AssignText(digits);
    return value.ToText(true, kSeparator);
}

std::optional<CalculatorOperation> OperationNamed(const std::string& name) {
    using Op = CalculatorOperation;
    static const std::pair<const char*, Op> names[] = {
        {"add", Op::Add},          {"sub", Op::Subtract},
        {"mul", Op::Multiply},     {"div", Op::Divide},
        {"mod", Op::Modulo},       {"fac", Op::Factorial},
        {"ncr", Op::Combinations}, {"npr", Op::Permutations},
        {"pow", Op::Power},        {"powmod", Op::PowerModulo},
        {"sqrt", Op::SquareRoot},  {"square", Op::Square},
        {"root", Op::Root},        {"prime", Op::PrimeTest},
        {"gcd", Op::Gcd},          {"inv", Op::Inverse},
    };
    for (const auto& [text, operation] : names) {
        if (name == text) return operation;
    }
    return std::nullopt;
}

CalculatorAnswer Calculate(CalculatorOperation operation, const std::string& xText,
                           const std::string& yText, const std::string& zText) {
    TInteger x, y, z;
    x.AssignText(xText);
    y.AssignText(yText);
    z.AssignText(zText);
    using Op = CalculatorOperation;
    switch (operation) {
        case Op::Add:
            x.Add(y);
            return Answer(x);
        case Op::Subtract:
            x.Subtract(y);
            return Answer(x);
        case Op::Multiply:
            x.Multiply(y);
            return Answer(x);
        case Op::Divide:
        case Op::Modulo: {
            if (y.IsZero()) return Refusal(kDivisionByZero);
            TInteger remainder;
            x.DivMod(y, remainder);
            return Answer(operation == Op::Divide ? x : remainder);
        }
        case Op::Factorial: {
            CalculatorAnswer answer;
            if (x.CompareInt64(kFactorialLimit) > 0) {
                x.AssignInt64(kFactorialLimit);
                answer.message = "Input truncated to 15000";
            }
            x.Factorial();
            const std::string note = answer.message;
            answer = Answer(x);
            answer.message = note;
            return answer;
        }
        case Op::Combinations:
            return Combinations(x, y);
        case Op::Permutations:
            return Permutations(x, y);
        case Op::Power:
            return Power(x, y);
        case Op::PowerModulo:
            if (z.IsZero()) return Refusal(kDivisionByZero);
            if (y.Sign() < 0) {
                TInteger inverse = x;
                inverse.InverseMod(z);
                if (inverse.IsZero() && z.CompareAbs(TInteger(1)) != 0) {
                    return Refusal("x heeft geen inverse modulo z, dus geen negatieve macht");
                }
            }
            x.ModPow(y, z);
            return Answer(x);
        case Op::SquareRoot:
            if (x.Sign() < 0) return Refusal("geen wortel uit een negatief getal");
            x.Sqrt();
            return Answer(x);
        case Op::Square:
            x.Square();
            return Answer(x);
        case Op::Root: {
            const auto n = SmallOperand(y);
            if (!n || *n < 1) return Refusal("y moet een positief geheel getal zijn");
            if (x.Sign() < 0) return Refusal("geen machtswortel uit een negatief getal");
            if (*n > 1) x.NthRoot(*n);
            return Answer(x, false);
        }
        case Op::PrimeTest:
            return {x.IsProbablePrime() ? "misschien priem" : "niet priem", "", false};
        case Op::Gcd:
            x.Gcd(y);
            return Answer(x);
        case Op::Inverse: {
            if (y.IsZero()) return Refusal(kDivisionByZero);
            TInteger inverse = x;
            inverse.InverseMod(y);
            if (inverse.IsZero() && y.CompareAbs(TInteger(1)) != 0) {
                return Refusal("x heeft geen inverse modulo y: ggd(x, y) is niet 1");
            }
            return Answer(inverse);
        }
    }
    return Refusal("onbekende bewerking");
}

}  // namespace bigint
