// The functions every TParser knows from birth (SIN ... RANDOM, MAX ... LOGN), and
// the helpers that other function tables reuse to add routines of the same shape.
#pragma once

#include <cmath>
#include <cstdint>
#include <span>

#include "parser.h"

namespace expr {

struct FunctionDefinition {
    const char* name;
    OperationRoutine routine;
    // Same arguments give the same result and touch no outside state, so a call
    // with constant arguments may be computed once at compile time.
    bool pure;
};

// In registration order; the TParser constructor registers all of them.
std::span<const FunctionDefinition> BuiltinFunctions1();
std::span<const FunctionDefinition> BuiltinFunctions2();

// Adapts a plain function to the operation-routine shape.
template <Real (*F)(Real)>
void Routine1(ParserOperation& op) {
    *op.result = F(*op.op1);
}
template <Real (*F)(Real, Real)>
void Routine2(ParserOperation& op) {
    *op.result = F(*op.op1, *op.op2);
}

// True for built-in routines that compute with x87 comparisons and arithmetic
// only, so that their faults show in the x87 status word alone.
bool UsesOnlyX87Flags(OperationRoutine routine);
// True for built-in routines that only compare and copy (HEAV, SIGN, ZERO, ABS,
// MAX, MIN): they cannot raise an arithmetic fault.
bool NeverFaults(OperationRoutine routine);
// True for built-in routines whose value is infinite or NaN whenever their
// argument is or they fault themselves (COTAN, TRUNC, CEIL, FLOOR; not ARCTAN,
// whose arctan(inf) is finite): after them a fault still shows in the value.
bool KeepsFaultsInSight(OperationRoutine routine);

// HEAV, SIGN and ZERO; NaN stays NaN. The evaluator also does them in place.
inline Real Heaviside(Real x) {
    if (std::isnan(x)) return x;
    return std::isless(x, 0.0L) ? 0.0L : 1.0L;
}
inline Real Sign(Real x) {
    if (std::isnan(x)) return x;
    return std::isless(x, 0.0L) ? -1.0L : (std::isgreater(x, 0.0L) ? 1.0L : 0.0L);
}
inline Real Zero(Real x) {
    if (std::isnan(x)) return x;
    return x == 0 ? 0.0L : 1.0L;
}

// Nearest integer; exact halves go to the even neighbour whatever the rounding mode.
Real RoundHalfEven(Real x);

// base^exponent by repeated squaring; a negative exponent gives the reciprocal.
Real IntegerPower(Real base, int64_t exponent);

// The general power of "^" and POWER: exponent 0 gives 1, base 0 gives 0 for a
// positive exponent, whole exponents within 32 bits use IntegerPower, anything
// else exp(exponent * ln(base)) (which fails for a negative base).
Real RealPower(Real base, Real exponent);

// Truncates toward zero to a 64-bit integer for DIV, MOD and INTPOWER. Raises the
// invalid-operation flag and gives 0 when the value does not fit (NaN included).
int64_t TruncateToInt64(Real x);

// The generator behind RND and RANDOM: uniform in [0, 1).
Real RandomFraction();
// Makes the sequence of RND/RANDOM repeatable (tests, or a program that asks for it).
void SeedRandom(uint64_t seed);

}  // namespace expr
