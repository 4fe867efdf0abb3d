// The extra function table: each routine reads its operands and writes the result
// cell; faults show in the floating-point flags or as EMathError, as for the
// built-in functions.
#include "function_library.h"

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <limits>
#include <numbers>
#include <numeric>

#include "bigint/integer.h"
#include "builtin_functions.h"
#include "long_double_math.h"
#include "number_format.h"
#include "parser_errors.h"

namespace expr {

namespace {

constexpr Real kPi = std::numbers::pi_v<Real>;
constexpr const char* kInvalidArgument = "Invalid argument";

// Above this many factors a product or sum is not worth the loop: the exact
// result is beyond the long double range anyway, or the logarithm comes from lgamma.
constexpr Real kLoopLimit = 1000000;

Real Truth(bool value) {
    return value ? 1.0L : 0.0L;
}

Real Overflow() {
    std::feraiseexcept(FE_OVERFLOW);
    return std::numeric_limits<Real>::infinity();
}

Real ArcSin(Real x) {
    return math::Asin(x);
}
Real ArcCos(Real x) {
    return math::Acos(x);
}
Real ArcTan(Real x) {
    return math::Atan(x);
}
Real Not(Real x) {
    return Truth(x == 0);
}
Real Cotangent(Real x) {
    return math::Cos(x) / math::Sin(x);
}
Real Greater(Real a, Real b) {
    return Truth(a > b);
}
Real Less(Real a, Real b) {
    return Truth(a < b);
}
Real GreaterEqual(Real a, Real b) {
    return Truth(a >= b);
}
Real LessEqual(Real a, Real b) {
    return Truth(a <= b);
}
Real DegreesToRadians(Real x) {
    return x * kPi / 180;
}
Real Hypotenuse(Real a, Real b) {
    return std::sqrt(a * a + b * b);
}
Real Log10(Real x) {
    return math::Log10(x);
}
Real NearlyEqual(Real a, Real b) {
    return Truth(std::fabs(a - b) <= 0.05L);
}
Real Unequal(Real a, Real b) {
    return Truth(std::fabs(a - b) > 1e-30L);
}

Real Factorial(Real x) {
    const Real n = std::trunc(x);
    if (n > 2000) return Overflow();  // 1755! is already beyond the range
    Real result = 1;
    for (Real i = 2; i <= n; ++i) result *= i;
    return result;
}

Real NormalDensity(Real x, Real sigma) {
    return math::Exp(-x * x / (2 * sigma * sigma)) / (sigma * std::sqrt(2 * kPi));
}

Real LogFactorial(Real x) {
    const Real n = std::trunc(x);
    if (n > kLoopLimit) return std::lgamma(n + 1) / std::log(10.0L);
    Real sum = 0;
    for (Real i = 2; i <= n; ++i) sum += std::log10(i);
    return sum;
}

Real RoundTo(Real x, Real decimals) {
    const Real scale = std::pow(10.0L, decimals);
    return RoundHalfEven(x * scale) / scale;
}

// The Chebyshev fit of erfc.
Real Erfc(Real x) {
    const Real z = std::fabs(x);
    const Real t = 1 / (1 + 0.5L * z);
    const Real r =
        t *
        math::Exp(-z * z - 1.26551223L +
                  t * (1.00002368L +
                       t * (0.37409196L +
                            t * (0.09678418L +
                                 t * (-0.18628806L +
                                      t * (0.27886807L +
                                           t * (-1.13520398L +
                                                t * (1.48851587L +
                                                     t * (-0.82215223L + t * 0.17087277L)))))))));
    return x >= 0 ? r : 2 - r;
}

// About seven significant digits: the fit is no better than that.
Real RoundToSevenDigits(Real v) {
    const Real d = v > 0 ? std::trunc(std::log10(v)) : 0;
    const Real s = std::pow(10.0L, 7 - d);
    return RoundHalfEven(v * s) / s;
}

Real Odd(Real x) {
    const Real n = std::trunc(x);
    return Truth(std::isfinite(n) && std::fmod(n, 2) != 0);
}

Real ArcTan2(Real y, Real x) {
    return std::atan2(y, x);
}

Real InverseNormalRoutine(Real p) {
    return InverseNormal(p);
}

FunctionContext& ContextOf(const ParserOperation& op) {
    return *static_cast<FunctionContext*>(op.context);
}

void Show(const FunctionContext& context, const std::string& text) {
    if (context.showMessage) context.showMessage(text);
}

// ispriem and volgendepriem refuse numbers from 2^62 on.
void RefuseHuge(const FunctionContext& context, Real x) {
    if (x >= 4611686018427387904.0L) {
        Show(context, FormatGeneral(x, 15) + " tegroot");
        throw EMathError("too big");
    }
}

bool ProbablePrime(int64_t n) {
    bigint::TInteger big;
    big.AssignInt64(n);
    return big.IsProbablePrime();
}

void IsPrime(ParserOperation& op) {
    FunctionContext& context = ContextOf(op);
    RefuseHuge(context, *op.op1);
    const Real truncated = std::trunc(*op.op1);
    if (!(truncated >= 2)) {  // below 2, and NaN: not prime
        *op.result = 0;
        return;
    }
    const auto n = static_cast<int64_t>(truncated);
    if (n < 1000000) {
        if (context.primes.Limit() < 300000) context.primes.BuildSieve(300000);
        *op.result = Truth(context.primes.IsPrimeSmall(n));
        return;
    }
    *op.result = Truth(n % 2 != 0 && n % 3 != 0 && n % 5 != 0 && ProbablePrime(n));
}

void NextPrime(ParserOperation& op) {
    FunctionContext& context = ContextOf(op);
    RefuseHuge(context, *op.op1);
    const Real truncated = std::trunc(*op.op1);
    if (std::isnan(truncated)) {
        *op.result = truncated;
        return;
    }
    const auto n = static_cast<int64_t>(std::max(truncated, -1.0L));
    if (n < 1500000) {
        *op.result = static_cast<Real>(context.primes.NextPrimeAfter(n));
        return;
    }
    int64_t candidate = n % 2 == 0 ? n + 1 : n + 2;
    while (!ProbablePrime(candidate)) candidate += 2;
    *op.result = static_cast<Real>(candidate);
}

// Below 2^64 every integer is exact in a long double; beyond, the value may not
// be the integer that was meant, so the integer functions refuse it.
constexpr Real kTwoTo64 = 18446744073709551616.0L;

[[noreturn]] void RefuseBeyond64Bits(const ParserOperation& op, const std::string& text) {
    if (op.context != nullptr) Show(ContextOf(op), text);
    throw EMathError("too big");
}

constexpr char kTotientName[] = "phi";
constexpr char kProperDivisorsName[] = "sum_of_proper_divisors";
constexpr char kDivisorSumName[] = "sum_of_divisors";
constexpr char kDivisorCountName[] = "number_of_divisors";

// The divisor functions take the argument truncated to an integer below 2^64.
template <bigint::WideInteger (*F)(bigint::WideInteger), const char* Name>
void DivisorRoutine(ParserOperation& op) {
    const Real n = std::trunc(*op.op1);
    if (!std::isfinite(n)) {
        std::feraiseexcept(FE_INVALID);
        *op.result = std::numeric_limits<Real>::quiet_NaN();
        return;
    }
    if (n >= kTwoTo64) {
        RefuseBeyond64Bits(
            op, std::string("fout in ") + Name + ": argument moet kleiner zijn dan 2^64");
    }
    *op.result = n < 1 ? 0 : static_cast<Real>(F(static_cast<bigint::WideInteger>(n)));
}

// |x| truncated, for ggd and kgv.
uint64_t Magnitude(const ParserOperation& op, Real x, const char* name) {
    const Real magnitude = std::fabs(std::trunc(x));
    if (!(magnitude < kTwoTo64)) {
        RefuseBeyond64Bits(
            op, std::string("fout in ") + name + ": argumenten moeten tussen -2^64 en 2^64 liggen");
    }
    return static_cast<uint64_t>(magnitude);
}

void Gcd(ParserOperation& op) {
    if (std::isnan(*op.op1) || std::isnan(*op.op2)) {
        *op.result = std::numeric_limits<Real>::quiet_NaN();
        return;
    }
    *op.result =
        static_cast<Real>(std::gcd(Magnitude(op, *op.op1, "ggd"), Magnitude(op, *op.op2, "ggd")));
}

void Lcm(ParserOperation& op) {
    if (std::isnan(*op.op1) || std::isnan(*op.op2)) {
        *op.result = std::numeric_limits<Real>::quiet_NaN();
        return;
    }
    const uint64_t a = Magnitude(op, *op.op1, "kgv"), b = Magnitude(op, *op.op2, "kgv");
    if (a == 0 || b == 0) {
        *op.result = 0;
        return;
    }
    // Up to 128 bits; the long double keeps its first 64.
    __extension__ typedef unsigned __int128 UnsignedWide;
    *op.result = static_cast<Real>(static_cast<UnsignedWide>(a / std::gcd(a, b)) * b);
}

template <bigint::PartitionCount (*F)(int64_t)>
void PartitionRoutine(ParserOperation& op) {
    const Real n = std::trunc(*op.op1);
    const bigint::PartitionCount count =
        F(std::isfinite(n) ? static_cast<int64_t>(std::clamp(n, -1.0L, 1.0e9L)) : -1);
    if (count.message != nullptr) Show(ContextOf(op), count.message);
    *op.result = count.value;
}

template <int List>
void ListValue(ParserOperation& op) {
    const auto* context = static_cast<const FunctionContext*>(op.context);
    const Real index = std::trunc(*op.op1);
    const bool inRange = index >= 1 && index <= ListStore::kSize;
    *op.result = context != nullptr && context->lists != nullptr && inRange
                     ? context->lists->Get(List, static_cast<long long>(index))
                     : 0;
}

}  // namespace

Real BinomialCoefficient(Real n, Real k) {
    if (k > n / 2) k = n - k;
    if (n < 0 || k < 0) throw EMathError(kInvalidArgument);
    if (k > kLoopLimit) return Overflow();
    Real result = 1;
    for (Real i = 1; i <= k; ++i) {
        result = n * (result / i);
        n -= 1;
    }
    return result;
}

Real LogBinomialCoefficient(Real n, Real k) {
    if (k > n / 2) k = n - k;
    if (n < 0 || k < 0) throw EMathError(kInvalidArgument);
    if (k > kLoopLimit) {
        return (std::lgamma(n + 1) - std::lgamma(k + 1) - std::lgamma(n - k + 1)) / std::log(10.0L);
    }
    Real sum = 0;
    for (Real i = 1; i <= k; ++i) {
        sum += std::log10(n) - std::log10(i);
        n -= 1;
    }
    return sum;
}

Real ErrorFunction(Real x) {
    return RoundToSevenDigits(1 - Erfc(x));
}

Real NormalCdf(Real x, Real sigma) {
    return RoundToSevenDigits(1 - 0.5L * Erfc(x / sigma / std::sqrt(2.0L)));
}

Real InverseNormal(Real argument) {
    const double p = static_cast<double>(argument);
    if (!(p > 0 && p < 1)) throw EMathError("Inverse Cum Norm argument must be in range 0<p<1");
    static constexpr double a[] = {-3.969683028665376e+01, 2.209460984245205e+02,
                                   -2.759285104469687e+02, 1.383577518672690e+02,
                                   -3.066479806614716e+01, 2.506628277459239e+00};
    static constexpr double b[] = {-5.447609879822406e+01, 1.615858368580409e+02,
                                   -1.556989798598866e+02, 6.680131188771972e+01,
                                   -1.328068155288572e+01};
    static constexpr double c[] = {-7.784894002430293e-03, -3.223964580411365e-01,
                                   -2.400758277161838e+00, -2.549732539343734e+00,
                                   4.374664141464968e+00,  2.938163982698783e+00};
    static constexpr double d[] = {7.784695709041462e-03, 3.224671290700398e-01,
                                   2.445134137142996e+00, 3.754408661907416e+00};
    const auto tail = [&](double q) {
        return (((((c[0] * q + c[1]) * q + c[2]) * q + c[3]) * q + c[4]) * q + c[5]) /
               ((((d[0] * q + d[1]) * q + d[2]) * q + d[3]) * q + 1);
    };
    constexpr double kLow = 0.02425, kHigh = 0.97575;
    if (p < kLow) return tail(std::sqrt(-2 * std::log(p)));
    if (p > kHigh) return -tail(std::sqrt(-2 * std::log(1 - p)));
    const double q = p - 0.5, r = q * q;
    return (((((a[0] * r + a[1]) * r + a[2]) * r + a[3]) * r + a[4]) * r + a[5]) * q /
           (((((b[0] * r + b[1]) * r + b[2]) * r + b[3]) * r + b[4]) * r + 1);
}

Real Root(Real x, Real argument) {
    const Real n = std::trunc(argument);
    const Real nan = std::numeric_limits<Real>::quiet_NaN();
    if (n != argument || n == 0) return nan;  // not a whole number: no root
    if (x > 0) return math::Exp(math::Ln(x) / n);
    if (x == 0) return 0;
    if (std::fmod(n, 2) != 0) return -math::Exp(math::Ln(-x) / n);
    return nan;
}

void RegisterExtraFunctions(TParser& parser, int parserNumber, FunctionContext& context) {
    if (parserNumber != 4) parser.RegisterFunction1("ARCSIN", Routine1<ArcSin>);
    parser.RegisterFunction1("ASIN", Routine1<ArcSin>);
    parser.RegisterFunction1("ACOS", Routine1<ArcCos>);
    parser.RegisterFunction1("ATAN", Routine1<ArcTan>);
    parser.RegisterFunction1("NIET", Routine1<Not>);
    if (parserNumber != 4) parser.RegisterFunction1("ARCCOS", Routine1<ArcCos>);
    parser.RegisterFunction1("COT", Routine1<Cotangent>);
    parser.RegisterFunction2("GROTER", Routine2<Greater>);
    parser.RegisterFunction2("KLEINER", Routine2<Less>);
    parser.RegisterFunction2("GROTERGELIJK", Routine2<GreaterEqual>);
    parser.RegisterFunction2("KLEINERGELIJK", Routine2<LessEqual>);
    parser.RegisterFunction1("DEGTORAD", Routine1<DegreesToRadians>);
    parser.RegisterFunction2("HYPOT", Routine2<Hypotenuse>);
    parser.RegisterFunction1("LOG", Routine1<Log10>);
    parser.RegisterFunction2("ABSEPSGELIJK", Routine2<NearlyEqual>);
    if (parserNumber == 3) {
        parser.RegisterFunction2("ONEPSGELIJK", Routine2<Unequal>);
    } else {
        parser.RegisterFunction2("ONGELIJK", Routine2<Unequal>);
    }
    parser.RegisterFunction1("FAC", Routine1<Factorial>);
    parser.RegisterFunction2("NORMALPDF", Routine2<NormalDensity>);
    parser.RegisterFunction2("BINOMCOEFF", Routine2<BinomialCoefficient>);
    parser.RegisterFunction2("LOGBINOMCOEFF", Routine2<LogBinomialCoefficient>);
    parser.RegisterFunction1("LOGFAC", Routine1<LogFactorial>);
    parser.RegisterFunction2("ROUND", Routine2<RoundTo>);
    parser.RegisterFunction1("ERF", Routine1<ErrorFunction>);
    parser.RegisterFunction2("normalcdf", Routine2<NormalCdf>);
    parser.RegisterFunction2("root", Routine2<Root>);
    parser.RegisterFunction1("L1", ListValue<1>, &context);
    parser.RegisterFunction1("L2", ListValue<2>, &context);
    parser.RegisterFunction1("L3", ListValue<3>, &context);
    parser.RegisterFunction1("L4", ListValue<4>, &context);
    parser.RegisterFunction1("L5", ListValue<5>, &context);
    parser.RegisterFunction1("L6", ListValue<6>, &context);
    parser.RegisterFunction1("ispriem", IsPrime, &context);
    parser.RegisterFunction1("volgendepriem", NextPrime, &context);
    parser.RegisterFunction1("oneven", Routine1<Odd>);
    parser.RegisterFunction1("INVNORM", Routine1<InverseNormalRoutine>);
    parser.RegisterFunction2("ARCTAN2", Routine2<ArcTan2>);
    parser.RegisterFunction1("phi", DivisorRoutine<bigint::TPrimes::Totient, kTotientName>,
                             &context);
    parser.RegisterFunction1(
        "sum_of_proper_divisors",
        DivisorRoutine<bigint::TPrimes::SumOfProperDivisors, kProperDivisorsName>, &context);
    parser.RegisterFunction1("sum_of_divisors",
                             DivisorRoutine<bigint::TPrimes::SumOfDivisors, kDivisorSumName>,
                             &context);
    parser.RegisterFunction1("number_of_divisors",
                             DivisorRoutine<bigint::TPrimes::NumberOfDivisors, kDivisorCountName>,
                             &context);
    parser.RegisterFunction1("partitions", PartitionRoutine<bigint::TPrimes::Partitions>, &context);
    parser.RegisterFunction1("partitions_into_distinct_parts",
                             PartitionRoutine<bigint::TPrimes::PartitionsDistinct>, &context);
    parser.RegisterFunction1("partitions_into_prime_parts",
                             PartitionRoutine<bigint::TPrimes::PartitionsPrime>, &context);
    parser.RegisterFunction2("ggd", Gcd, &context);
    parser.RegisterFunction2("kgv", Lcm, &context);
}

}  // namespace expr
