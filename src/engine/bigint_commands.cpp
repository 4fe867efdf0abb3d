// Big-integer commands: the "#" words that compute with the registers #a .. #z.
#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <vector>

#include "bigint/factoring.h"
#include "bigint/integer.h"
#include "engine/outside_factoring.h"
#include "engine/runner.h"

namespace engine {

namespace {

using bigint::TInteger;

// faculteit# refuses larger numbers (100000! has 456574 digits).
constexpr int64_t kMaxFactorial = 100000;
// nPr#, nCr# and macht# refuse results longer than this (about five million digits).
constexpr size_t kMaxResultBits = size_t{1} << 24;
// Seconds Pollard's rho may search for factor#.
constexpr double kFactorSeconds = 20;

// The register named in an argument: the letter after its first "#".
TInteger& RegisterNamed(Runner& runner, const std::string& text) {
    const size_t hash = text.find('#');
    if (hash == std::string::npos || hash + 1 >= text.size()) {
        throw std::runtime_error("Geen register: " + text);
    }
    return runner.Register(text[hash + 1]);
}

TInteger& Target(Runner& runner) {
    return RegisterNamed(runner, runner.NextArgument());
}

// A register, or a number text of which only the digits and "-" count.
TInteger Operand(Runner& runner) {
    const std::string& text = runner.NextArgument();
    if (text.find('#') != std::string::npos) return RegisterNamed(runner, text);
    TInteger value;
    value.AssignText(runner.Preprocess(text));
    return value;
}

// The whole part of a finite value, exactly (also beyond 64 bits).
TInteger WholePart(long double value) {
    value = std::trunc(value);
    if (value == 0) return TInteger(0);
    int exponent = 0;
    const long double mantissa = std::frexp(std::fabs(value), &exponent);
    TInteger result(static_cast<int64_t>(std::ldexp(mantissa, 63)));
    if (exponent > 63) {
        TInteger scale(2);
        scale.Power(exponent - 63);
        result.Multiply(scale);
    } else {
        int64_t remainder = 0;
        for (int shift = 63 - exponent; shift > 0; --shift) result.DivideInt64(2, remainder);
    }
    if (value < 0) result.Negate();
    return result;
}

// A numeric argument, truncated toward zero (clamped to 64 bits).
int64_t WholeArgument(Runner& runner) {
    const long double value = std::trunc(runner.NumericArgument());
    if (std::isnan(value)) return 0;
    if (value >= 9.2e18L) return INT64_MAX;
    if (value <= -9.2e18L) return INT64_MIN;
    return static_cast<int64_t>(value);
}

// log2 |x| for |x| >= 1, closely enough to judge the size of a power.
double Log2Abs(const TInteger& x) {
    const size_t bits = x.BitLength();
    if (bits < 16000) return static_cast<double>(std::log2(std::fabs(x.ToLongDouble())));
    return static_cast<double>(bits);
}

bool Refuse(Runner& runner, const std::string& command, const std::string& reason) {
    runner.EndRunWithMessage(command + ": " + reason);
    return true;
}

bool TooLong(Runner& runner, const std::string& command, double bits) {
    if (bits <= static_cast<double>(kMaxResultBits)) return false;
    return Refuse(runner, command, "de uitkomst wordt te groot (meer dan vijf miljoen cijfers)");
}

// maak#(#x;y)
void Assign(Runner& runner) {
    TInteger& x = Target(runner);
    x = Operand(runner);
}

// vergelijk#(#x;y;var r)
void CompareCommand(Runner& runner) {
    const TInteger& x = Target(runner);
    const std::string& operand = runner.Line(runner.Cursor());
    TInteger y;
    if (operand.find('#') != std::string::npos) {
        y = Operand(runner);
    } else {
        const long double value = runner.NumericArgument();
        if (std::isfinite(value)) y = WholePart(value);
    }
    const std::string name = runner.TextArgument();
    runner.SetNumericAll(name, x.Compare(y));
}

// getalnaar#(#x;uitdrukking)
void FromNumber(Runner& runner) {
    TInteger& x = Target(runner);
    const long double value = runner.NumericArgument();
    if (!std::isfinite(value)) {
        Refuse(runner, "getalnaar#", "de waarde is geen eindig getal");
        return;
    }
    x = WholePart(value);
}

// naargetal#(#x;var r)
void ToNumber(Runner& runner) {
    const TInteger& x = Target(runner);
    const std::string name = runner.TextArgument();
    runner.SetNumericAll(name, x.ToLongDouble());
}

template <void (TInteger::*Operation)(const TInteger&)>
void Binary(Runner& runner) {
    TInteger& x = Target(runner);
    const TInteger y = Operand(runner);
    (x.*Operation)(y);
}

// divmod#(#x;y;#r)
void DivMod(Runner& runner) {
    TInteger& x = Target(runner);
    const TInteger y = Operand(runner);
    TInteger& r = Target(runner);
    TInteger remainder;
    try {
        x.DivMod(y, remainder);
    } catch (const bigint::EIntegerError&) {
        r = remainder;
        throw;
    }
    r = remainder;
}

// modpow#(#x;e;m)
void ModPow(Runner& runner) {
    TInteger& x = Target(runner);
    const TInteger e = Operand(runner);
    const TInteger m = Operand(runner);
    x.ModPow(e, m);
}

// nPr#(#x;k)
void Permutations(Runner& runner) {
    TInteger& x = Target(runner);
    const int64_t k = WholeArgument(runner);
    if (k <= 0) {
        x.AssignInt64(1);
        return;
    }
    // Once a factor is 0 the product is 0.
    if (x.Sign() >= 0 && x.CompareInt64(k) < 0) {
        x.AssignInt64(0);
        return;
    }
    if (TooLong(runner, "nPr#", static_cast<double>(k) * static_cast<double>(x.BitLength() + 1))) {
        return;
    }
    x = bigint::FallingProduct(x, k);
}

// nCr#(#x;k)
void Combinations(Runner& runner) {
    TInteger& x = Target(runner);
    int64_t k = WholeArgument(runner);
    if (!x.FitsInt64()) {
        Refuse(runner, "nCr#", "het getal past niet in 64 bits");
        return;
    }
    const int64_t n = x.ToInt64();
    if (k > n || k < 0) {
        x.AssignInt64(0);
        return;
    }
    if (k == 0 || k == n) {
        x.AssignInt64(1);
        return;
    }
    if (k > n / 2) k = n - k;
    if (TooLong(runner, "nCr#", static_cast<double>(k) * static_cast<double>(x.BitLength()))) {
        return;
    }
    TInteger falling = bigint::FallingProduct(x, k);
    TInteger factorial(k);
    factorial.Factorial();
    falling.DivideBy(factorial);
    x = falling;
}

// macht#(#x;n)
void PowerCommand(Runner& runner) {
    TInteger& x = Target(runner);
    const int64_t n = WholeArgument(runner);
    const bool unit = x.CompareAbs(TInteger(1)) <= 0;
    if (!unit && n > 0 && TooLong(runner, "macht#", static_cast<double>(n) * Log2Abs(x))) return;
    x.Power(n);
}

// invmod#(#x;m)
void InverseMod(Runner& runner) {
    TInteger& x = Target(runner);
    x.InverseMod(Operand(runner));
}

// kwadraat#(#x)
void SquareCommand(Runner& runner) {
    Target(runner).Square();
}

// wortel#(#x)
void SquareRoot(Runner& runner) {
    Target(runner).Sqrt();
}

// nwortel#(#x;n)
void Root(Runner& runner) {
    TInteger& x = Target(runner);
    x.NthRoot(WholeArgument(runner));
}

// factor#(#x): the window stays responsive and Escape ends the search.
void Factor(Runner& runner) {
    TInteger& x = Target(runner);
    const TInteger before = x;
    const auto keepGoing = [&runner] {
        runner.ProcessEvents();
        return !runner.StopRequested();
    };
    bigint::FindFactor(x, kFactorSeconds, keepGoing);
    // What rho cannot split in its time goes to the outside program.
    if (runner.StopRequested() || !(x == before) || x.CompareAbs(TInteger(1)) <= 0 ||
        x.IsProbablePrime(keepGoing) || runner.StopRequested()) {
        return;
    }
    const bigint::OutsideFactors found = FactorWithGp(x, keepGoing);
    if (found.factors.empty()) return;
    x = *std::min_element(found.factors.begin(), found.factors.end(),
                          [](const TInteger& a, const TInteger& b) { return a.Compare(b) < 0; });
}

// volgendepriem#(#x)
void NextPrime(Runner& runner) {
    TInteger& x = Target(runner);
    if (x.CompareInt64(2) < 0) {
        x.AssignInt64(2);
        return;
    }
    if (x.CompareInt64(2) == 0) {
        x.AssignInt64(3);
        return;
    }
    // Long searches among numbers of thousands of digits can be stopped with Escape.
    TInteger candidate = x;
    candidate.Add(TInteger(candidate.IsOdd() ? 2 : 1));
    const auto keepGoing = [&runner] {
        runner.ProcessEvents();
        return !runner.StopRequested();
    };
    while (!candidate.IsProbablePrime(keepGoing)) {
        runner.ProcessEvents();
        if (runner.StopRequested()) return;
        candidate.Add(TInteger(2));
    }
    x = candidate;
}

// faculteit#(#x)
void FactorialCommand(Runner& runner) {
    TInteger& x = Target(runner);
    if (x.Sign() < 0 || x.CompareInt64(kMaxFactorial) > 0) {
        Refuse(runner, "faculteit#",
               "het getal moet tussen 0 en " + std::to_string(kMaxFactorial) + " liggen");
        return;
    }
    x.Factorial();
}

// The faults of the arithmetic are shown and the program goes on with what
// the operation left behind.
template <void (*Handler)(Runner&)>
void Guarded(Runner& runner) {
    try {
        Handler(runner);
    } catch (const bigint::EIntegerError& error) {
        runner.ShowMessage(kAppCaption, error.what(), MessageIcon::None);
    }
}

}  // namespace

void RegisterBigIntCommands(Runner& runner) {
    runner.RegisterCommand("maak#", Guarded<Assign>);
    runner.RegisterCommand("vergelijk#", Guarded<CompareCommand>);
    runner.RegisterCommand("getalnaar#", Guarded<FromNumber>);
    runner.RegisterCommand("naargetal#", Guarded<ToNumber>);
    runner.RegisterCommand("maal#", Guarded<Binary<&TInteger::Multiply>>);
    runner.RegisterCommand("div#", Guarded<Binary<&TInteger::DivideBy>>);
    runner.RegisterCommand("mod#", Guarded<Binary<&TInteger::ModBy>>);
    runner.RegisterCommand("divmod#", Guarded<DivMod>);
    runner.RegisterCommand("telop#", Guarded<Binary<&TInteger::Add>>);
    runner.RegisterCommand("trekaf#", Guarded<Binary<&TInteger::Subtract>>);
    runner.RegisterCommand("ggd#", Guarded<Binary<&TInteger::Gcd>>);
    runner.RegisterCommand("modpow#", Guarded<ModPow>);
    runner.RegisterCommand("nPr#", Guarded<Permutations>);
    runner.RegisterCommand("nCr#", Guarded<Combinations>);
    runner.RegisterCommand("macht#", Guarded<PowerCommand>);
    runner.RegisterCommand("invmod#", Guarded<InverseMod>);
    runner.RegisterCommand("kwadraat#", Guarded<SquareCommand>);
    runner.RegisterCommand("wortel#", Guarded<SquareRoot>);
    runner.RegisterCommand("nwortel#", Guarded<Root>);
    runner.RegisterCommand("factor#", Guarded<Factor>);
    runner.RegisterCommand("volgendepriem#", Guarded<NextPrime>);
    runner.RegisterCommand("faculteit#", Guarded<FactorialCommand>);
}

}  // namespace engine
