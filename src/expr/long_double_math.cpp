// Long double sine, cosine, tangent, exponential, hyperbolic sine and cosine,
// logarithms and inverse sine, cosine and tangent. The final sum is formed from a high part and a
// small tail, so the result is within a hair of correctly rounded; tables and coefficients come
// from tools/make_long_double_tables.py.
#include "long_double_math.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "long_double_tables.h"

namespace expr::math {

namespace {

using Real = long double;
namespace t = tables;

// The bit tricks below assume the x87 format; elsewhere the C library does it all.
constexpr bool kExtended = std::numeric_limits<Real>::digits == 64;

// The helpers are forced inline: each is a few operations on the hot path.
struct Pair {
    Real hi, lo;
};

[[gnu::always_inline]] inline Pair TwoSum(Real a, Real b) {
    const Real s = a + b;
    const Real bb = s - a;
    return {s, (a - (s - bb)) + (b - bb)};
}

// Halves of 32 bits each, so that products of halves are exact.
[[gnu::always_inline]] inline Pair Split(Real a) {
    constexpr Real kSplitter = 4294967297.0L;  // 2^32 + 1
    const Real scaled = kSplitter * a;
    const Real hi = scaled - (scaled - a);
    return {hi, a - hi};
}

[[gnu::always_inline]] inline Pair TwoProduct(Real a, Real b) {
    const Real p = a * b;
    const Pair x = Split(a), y = Split(b);
    return {p, ((x.hi * y.hi - p) + x.hi * y.lo + x.lo * y.hi) + x.lo * y.lo};
}

struct Bits {
    uint64_t mantissa;
    uint16_t signExponent;
};

[[gnu::always_inline]] inline Bits BitsOf(Real x) {
    Bits b{};
    std::memcpy(&b, &x, 10);
    return b;
}

[[gnu::always_inline]] inline Real FromBits(uint64_t mantissa, unsigned signExponent) {
    Bits b{mantissa, static_cast<uint16_t>(signExponent)};
    Real x;
    std::memcpy(&x, &b, 10);
    return x;
}

// c[0] + c[1] x + ... in Estrin's form, whose parts evaluate side by side: x87
// latencies are long. The first coefficient is used in full, the others as
// doubles, whose loads are cheaper and whose terms are too small to need more.
template <size_t N>
[[gnu::always_inline]] inline Real Polynomial(const Real (&c)[N], Real x) {
    static_assert(N == 4 || N == 6 || N == 7);
    const auto d = [&c](size_t i) { return static_cast<Real>(static_cast<double>(c[i])); };
    const Real x2 = x * x;
    const Real low = c[0] + x * d(1);
    const Real middle = d(2) + x * d(3);
    if constexpr (N == 4) {
        return low + x2 * middle;
    } else {
        Real high = d(4) + x * d(5);
        if constexpr (N == 7) high += x2 * d(6);
        return low + x2 * (middle + x2 * high);
    }
}

[[gnu::always_inline]] inline bool Within(Real x, Real limit) {
    return __builtin_islessequal(std::fabs(x), limit);  // quiet for NaN
}

// Beyond this the two short parts of pi/128 no longer give exact products.
constexpr Real kReductionLimit = 0x1p16L;
// A remainder this small has lost too much to cancellation: the C library does it.
constexpr Real kTinyRemainder = 0x1p-60L;

// Adding 1.5 * 2^63 and taking it off again rounds to an integer in two
// additions; the integer itself is read off the critical path.
[[gnu::always_inline]] inline Real RoundToInteger(Real x) {
    constexpr Real kMagic = 0x1.8p63L;
    return (x + kMagic) - kMagic;
}

// x = k pi/128 + r with |r| <= pi/256 (a hair more): sin and cos of x come from
// quadrant k / 64, the table entry k mod 64 and short polynomials in r.
struct Reduced {
    const t::SinCosEntry* entry;
    int64_t quadrant;
    Real head, rest, sinTail, cosTail;
};

// False where the C library must do it.
[[gnu::always_inline]] inline bool Reduce(Real x, Reduced& p) {
    if (!Within(x, kReductionLimit)) return false;
    const Real kr = RoundToInteger(x * t::kInversePiOver128);
    const int64_t k = static_cast<int64_t>(static_cast<double>(kr));
    const Real first = x - kr * t::kPiOver128Part1;  // exact: the product is, and x is close
    const Real second = kr * t::kPiOver128Part2;     // exact
    const Real r = first - second;
    if (!(k == 0 || !Within(r, kTinyRemainder))) return false;
    const Real lo = ((first - r) - second) - kr * t::kPiOver128Part3;
    p.entry = &t::kSinCos[k & 63];
    p.quadrant = (k >> 6) & 3;
    // The head keeps 32 bits, so that its products with the 32-bit heads of the
    // table are exact; entry 0 multiplies by 1 and 0, exact for any head.
    constexpr Real kHeadRounder = 0x1.8p25L;  // rounds |r| < 2^-6 to 32 bits
    p.head = (k & 63) == 0 ? r : (r + kHeadRounder) - kHeadRounder;
    p.rest = (r - p.head) + lo;
    const Real z = r * r;
    p.sinTail = r * z * Polynomial(t::kSinPoly, z) + p.rest;  // sin(r + lo) - head
    p.cosTail = z * Polynomial(t::kCosPoly, z) - r * lo;      // cos(r + lo) - 1
    // The table values of 80 bits are loaded after this point: loaded before,
    // they would wait through all of the above and crowd the eight x87
    // registers until they go out to memory and back, the costliest part.
    asm volatile("" ::: "memory");
    return true;
}

// sin(a + e) = sin a + cos a sin e + sin a (cos e - 1). The large product is
// exact and the table value outweighs it, so one fast sum leaves a tail tiny
// next to the result.
[[gnu::always_inline]] inline Pair SinAt(const Reduced& p) {
    const t::SinCosEntry& e = *p.entry;
    const Real product = e.cosHead * p.head;
    const Real sum = e.sinHigh + product;
    const Real tail = (product - (sum - e.sinHigh)) + e.sinLow + e.cosRest * p.head +
                      (e.cosHigh * p.sinTail + e.sinHigh * p.cosTail);
    return {sum, tail};
}

// cos(a + e) = cos a - sin a sin e + cos a (cos e - 1).
[[gnu::always_inline]] inline Pair CosAt(const Reduced& p) {
    const t::SinCosEntry& e = *p.entry;
    const Real product = e.sinHead * p.head;
    const Real sum = e.cosHigh - product;
    const Real tail = ((e.cosHigh - sum) - product) + e.cosLow - e.sinRest * p.head +
                      (e.cosHigh * p.cosTail - e.sinHigh * p.sinTail);
    return {sum, tail};
}

// The kernels leave a tail of up to 2^-19 of the sum: fold it in.
[[gnu::always_inline]] inline Pair Normalized(Pair p) {
    const Real hi = p.hi + p.lo;
    return {hi, p.lo - (hi - p.hi)};
}

// sin(q pi/2 + y) = sin y, cos y, -sin y, -cos y for q = 0..3.
[[gnu::always_inline]] inline Real SinInQuadrant(const Reduced& p, int64_t quadrant) {
    const Pair v = (quadrant & 1) == 0 ? SinAt(p) : CosAt(p);
    const Real sum = v.hi + v.lo;
    return (quadrant & 2) == 0 ? sum : -sum;
}

// 2^e for |e| <= 16382; within the double range it is built as a double,
// which the x87 unit loads at once.
[[gnu::always_inline]] inline Real PowerOfTwo(int e) {
    if (e >= -1022 && e <= 1023) {
        const uint64_t bits = static_cast<uint64_t>(e + 1023) << 52;
        double p;
        std::memcpy(&p, &bits, sizeof p);
        return p;
    }
    return FromBits(0x8000000000000000ULL, static_cast<unsigned>(e + 16383));
}

// Arguments so small that the first term is the correctly rounded value.
constexpr Real kFirstTermOnly = 0x1p-33L;

// log(x) = e ln2 + y for a positive normal x, with y = -log(c_j) + log1p(r), |y| < 0.35.
struct LogParts {
    int exponent;
    Pair y;
};

[[gnu::always_inline]] inline bool SplitLog(Real x, LogParts& parts) {
    const Bits b = BitsOf(x);
    // Positive and normal only; the C library does zero, negatives, subnormals,
    // infinity and NaN.
    if (b.signExponent == 0 || b.signExponent >= 0x7FFF || (b.mantissa >> 63) == 0) return false;
    // j = round(256 (m - 1)) for the mantissa m in [1, 2).
    const unsigned j = static_cast<unsigned>(((b.mantissa - (1ULL << 63)) + (1ULL << 54)) >> 55);
    const t::LogEntry& e = t::kLog[j];
    // m in two parts of 33 and 31 bits, each exact as a double, and so are their
    // products with the 12-bit c_j: r = m c_j - 1 comes exactly from doubles,
    // without moving x through the x87 unit.
    const double mHigh = static_cast<double>(b.mantissa >> 31) * 0x1p-32;
    const double mLow = static_cast<double>(b.mantissa & 0x7FFFFFFFULL) * 0x1p-63;
    const double rHigh = mHigh * e.scale - 1;
    const double rLow = mLow * e.scale;
    const Real r = static_cast<Real>(rHigh) + rLow;        // exact: 64 bits suffice
    const Real tail = r * r * Polynomial(t::kLogPoly, r);  // log1p(r) - r
    // |log c_j| exceeds |r| unless it is 0: a fast sum is exact.
    const Real hi = e.logHigh + r;
    const Real lo = ((r - (hi - e.logHigh)) + e.logLow) + tail;
    const int halved = j >= static_cast<unsigned>(t::kLogFirstHalved) ? 1 : 0;
    parts = {b.signExponent - 16383 + halved, {hi, lo}};
    return true;
}

// (hi + lo) * (kHigh + kLow) as a pair.
[[gnu::always_inline]] inline Pair Scale(Pair v, Real kHigh, Real kLow) {
    const Pair p = TwoProduct(v.hi, kHigh);
    return {p.hi, p.lo + v.hi * kLow + v.lo * kHigh};
}

// Keeps 2^(k/128) a normal number; overflow and underflow are the C library's.
constexpr Real kExpLimit = 11350;

// e^x = (high + low) 2^scale for |x| <= kExpLimit, low within 1% of high.
struct ExpParts {
    Real high, low;
    int scale;
};

// e^(x + xLow) when kWithLow, for |xLow| <= 2^-50.
template <bool kWithLow = false>
[[gnu::always_inline]] inline ExpParts ExpReduced(Real x, Real xLow = 0) {
    const Real kr = RoundToInteger(x * t::kExpScale);
    const int64_t k = static_cast<int64_t>(static_cast<double>(kr));
    const Real first = x - kr * t::kLn2Over128Part1;  // exact
    const Real second = kr * t::kLn2Over128Part2;
    const Real r = first - second;
    const Real rLow = (first - r) - second;
    Real expm1;
    if constexpr (kWithLow) {
        // xLow may reach 2^-50 (2^-64 of y ln x): e^(r + d) - 1 = (e^r - 1) + d e^r.
        expm1 = r + ((r * r * Polynomial(t::kExpPoly, r) + rLow) + xLow * (1 + r));
    } else {
        expm1 = r + (r * r * Polynomial(t::kExpPoly, r) + rLow);
    }
    const t::ExpEntry& e = t::kExp2Fraction[k & 127];
    return {e.high, e.low + e.high * expm1, static_cast<int>(k >> 7)};
}

// e^a + e^-a, or e^a - e^-a when `difference`, for 0 <= a <= kExpLimit, as a
// pair. Both share the reduction a = k ln2/128 + r: e^-a is 2^(-k/128) e^-r,
// with its own table entry and polynomial, evaluated side by side with e^a's.
// Each keeps its low part, so the difference stays accurate down to a = 1/16.
[[gnu::always_inline]] inline Pair ExpAndInverse(Real a, bool difference) {
    const Real kr = RoundToInteger(a * t::kExpScale);
    const int64_t k = static_cast<int64_t>(static_cast<double>(kr));
    const Real first = a - kr * t::kLn2Over128Part1;  // exact
    const Real second = kr * t::kLn2Over128Part2;
    const Real r = first - second;
    const Real rLow = (first - r) - second;
    const Real z = r * r;
    const Real up = r + (z * Polynomial(t::kExpPoly, r) + rLow);      // e^r - 1
    const Real down = -r + (z * Polynomial(t::kExpPoly, -r) - rLow);  // e^-r - 1
    const t::ExpEntry& e = t::kExp2Fraction[k & 127];
    const t::ExpEntry& f = t::kExp2Fraction[(-k) & 127];
    const Real upScale = PowerOfTwo(static_cast<int>(k >> 7));
    const Real downScale = PowerOfTwo(static_cast<int>((-k) >> 7));
    // e^a = h + l, e^-a = g + m, with h = 2^(k/128) >= 1 >= g = 2^(-k/128) exact.
    const Real h = e.high * upScale, l = (e.low + e.high * up) * upScale;
    const Real g = f.high * downScale, m = (f.low + f.high * down) * downScale;
    const Real sum = difference ? h - g : h + g;  // a fast sum: h >= g
    const Real error = difference ? (h - sum) - g : g - (sum - h);
    return {sum, error + (difference ? l - m : l + m)};
}

// Below this sinh comes from its series.
constexpr Real kSinhSeriesLimit = 0x1p-4L;
// sinh x = x + x^3 (1/3! + z/5! + z^2/7! + ...), z = x^2 <= 2^-8: six terms
// leave a relative error below 2^-90.
constexpr Real kSinhSeries[] = {1.0L / 6,      1.0L / 120,      1.0L / 5040,
                                1.0L / 362880, 1.0L / 39916800, 1.0L / 6227020800};

}  // namespace

Real Sin(Real x) {
    if constexpr (!kExtended) return std::sin(x);
    if (Within(x, kFirstTermOnly)) return x;
    Reduced p;
    if (!Reduce(x, p)) return std::sin(x);
    return SinInQuadrant(p, p.quadrant);
}

Real Cos(Real x) {
    if constexpr (!kExtended) return std::cos(x);
    if (Within(x, kFirstTermOnly)) return 1;
    Reduced p;
    if (!Reduce(x, p)) return std::cos(x);
    return SinInQuadrant(p, p.quadrant + 1);  // cos y = sin(y + pi/2)
}

Real Tan(Real x) {
    if constexpr (!kExtended) return std::tan(x);
    if (Within(x, kFirstTermOnly)) return x;
    Reduced p;
    if (!Reduce(x, p)) return std::tan(x);
    // tan = sin y / cos y, or -cos y / sin y in the odd quadrants; one
    // correction step makes the quotient as good as its operands.
    const bool odd = (p.quadrant & 1) != 0;
    const Pair s = Normalized(SinAt(p)), c = Normalized(CosAt(p));
    const Pair n = odd ? c : s;
    const Pair d = odd ? s : c;
    const Real q = n.hi / d.hi;
    const Pair qd = TwoProduct(q, d.hi);
    const Real v = q + (((n.hi - qd.hi) - qd.lo) + n.lo - q * d.lo) / d.hi;
    return odd ? -v : v;
}

Real Exp(Real x) {
    if constexpr (!kExtended) return std::exp(x);
    if (!Within(x, kExpLimit)) return std::exp(x);
    const ExpParts p = ExpReduced(x);
    return (p.high + p.low) * PowerOfTwo(p.scale);
}

// See Power.
constexpr Real kPowerExponentLimit = 256;

Real Power(Real x, Real y) {
    if constexpr (!kExtended) return Exp(y * Ln(x));
    LogParts parts;
    if (!std::isfinite(y) || !SplitLog(x, parts)) return Exp(y * Ln(x));
    // The logarithm below is good to about 2^-74 absolute, and y multiplies
    // that: beyond 2^8 the C library's power is the more accurate one.
    if (!(std::fabs(y) <= kPowerExponentLimit)) return std::pow(x, y);
    // ln x = hi + lo, y ln x to about 2^-66 absolute.
    const Real e = parts.exponent;
    const Real eHigh = e * t::kLn2High;
    const Real sum = eHigh + parts.y.hi;
    const Real rest = ((parts.y.hi - (sum - eHigh)) + parts.y.lo) + e * t::kLn2Low;
    // The rest holds the logarithm's series, up to 2^-19 of it: fold it in, as
    // the reduction below adds the low part of y ln x to r unmultiplied.
    const Real hi = sum + rest, lo = rest - (hi - sum);
    const Real z = y * hi;
    // Overflow and underflow are the C library's, like the exponential's.
    if (!Within(z, kExpLimit)) return std::pow(x, y);
    const Pair product = TwoProduct(y, hi);
    const ExpParts p = ExpReduced<true>(product.hi, product.lo + y * lo);
    return (p.high + p.low) * PowerOfTwo(p.scale);
}

Real Cosh(Real x) {
    if constexpr (!kExtended) return (std::exp(x) + std::exp(-x)) * 0.5L;
    if (!Within(x, kExpLimit)) return std::cosh(x);
    const Pair e = ExpAndInverse(std::fabs(x), false);
    return (e.hi + e.lo) * 0.5L;
}

Real Sinh(Real x) {
    if constexpr (!kExtended) return (std::exp(x) - std::exp(-x)) * 0.5L;
    if (!Within(x, kExpLimit)) return std::sinh(x);
    const Real a = std::fabs(x);
    if (a < kSinhSeriesLimit) {
        // e^x - e^-x loses too many digits here: the series, whose terms fall fast.
        if (a < kFirstTermOnly) return x == 0 ? 0.0L : x;  // +0 for -0, as it was
        const Real z = x * x;
        return x + x * z * Polynomial(kSinhSeries, z);
    }
    const Pair e = ExpAndInverse(a, true);
    const Real v = (e.hi + e.lo) * 0.5L;
    return x < 0 ? -v : v;
}

Real Ln(Real x) {
    if constexpr (!kExtended) return std::log(x);
    LogParts parts;
    if (!SplitLog(x, parts)) return std::log(x);
    const Real e = parts.exponent;
    // e ln2_high is exact and, unless e = 0, larger than |y|: a fast sum is exact.
    const Real eHigh = e * t::kLn2High;
    const Real hi = eHigh + parts.y.hi;
    return hi + (((parts.y.hi - (hi - eHigh)) + parts.y.lo) + e * t::kLn2Low);
}

Real Log2(Real x) {
    if constexpr (!kExtended) return std::log2(x);
    LogParts parts;
    if (!SplitLog(x, parts)) return std::log2(x);
    const Pair y = Scale(parts.y, t::kLog2EHigh, t::kLog2ELow);
    const Pair a = TwoSum(static_cast<Real>(parts.exponent), y.hi);
    return a.hi + (a.lo + y.lo);
}

namespace {

// (a + aLow) / (b + bLow) as a pair, given inverse = 1/b: one correction step,
// so that one division serves (x87 divisions are slow).
[[gnu::always_inline]] inline Pair Quotient(Real a, Real aLow, Real b, Real bLow, Real inverse) {
    const Real q = a * inverse;
    const Pair qb = TwoProduct(q, b);  // q b is within a few ulp of a: a - q b is exact
    return {q, (((a - qb.hi) - qb.lo) + aLow - q * bLow) * inverse};
}

// atan(u + uLow) for 0 <= u <= 1 (a hair more), uLow tiny next to u: atan c_j
// from the table and atan r of the remainder r = (u - c_j) / (1 + u c_j).
[[gnu::always_inline]] inline Pair AtanCore(Real u, Real uLow) {
    // Through a double: converting a long double to an integer switches the x87
    // rounding mode, which costs more than the rest.
    const int j = static_cast<int>(static_cast<double>(u) * 64 + 0.5);
    const Real c = j * 0x1p-6L;
    const t::AtanEntry& e = t::kAtan[j];
    // u in a head of 56 bits, whose product with the 7-bit c is exact, and the rest.
    constexpr Real kHeadRounder = 0x1.8p8L;  // rounds u <= 2 to 56 bits
    const Real uHead = (u + kHeadRounder) - kHeadRounder;
    const Pair d = TwoSum(1, uHead * c);  // exact
    const Real dLow = d.lo + ((u - uHead) + uLow) * c;
    const Pair r = Quotient(u - c, uLow, d.hi, dLow, 1 / d.hi);  // u - c is exact
    const Real z = r.hi * r.hi;
    const Real tail = r.hi * z * Polynomial(t::kAtanPoly, z) + r.lo + e.low;
    // |r| <= atan c_j unless j = 0: the sum's error is the sum's own.
    const Pair sum = TwoSum(e.high, r.hi);
    return Normalized({sum.hi, sum.lo + tail});
}

// pi/2 - v, with v <= pi/4 or so: no digits cancel.
[[gnu::always_inline]] inline Real HalfPiMinus(Pair v) {
    const Pair d = TwoSum(t::kHalfPiHigh, -v.hi);
    return d.hi + ((d.lo - v.lo) + t::kHalfPiLow);
}

// sqrt(1 - x^2) as a pair, for |x| <= 1, and 1 / its high part (infinite at
// x = 1); 1 - x^2 is exact before the root.
struct Root {
    Pair value;
    Real inverse;
};

[[gnu::always_inline]] inline Root SqrtOneMinusSquare(Real x) {
    const Pair square = TwoProduct(x, x);
    const Pair d = TwoSum(1, -square.hi);
    const Real dLow = d.lo - square.lo;
    const Real root = std::sqrt(d.hi);
    if (root == 0) return {{0, 0}, 0};
    const Real inverse = 1 / root;
    const Pair rr = TwoProduct(root, root);
    return {{root, (((d.hi - rr.hi) - rr.lo) + dLow) * (0.5L * inverse)}, inverse};
}

// Beyond this atan x is pi/2 - 1/x to the last bit; the C library does it.
constexpr Real kAtanLimit = 0x1p64L;
constexpr Real kInverseSqrt2 = 0.707106781186547524400844362104849039L;

}  // namespace

Real Atan(Real x) {
    if constexpr (!kExtended) return std::atan(x);
    if (!Within(x, kAtanLimit)) return std::atan(x);  // NaN too, quietly
    const Real a = std::fabs(x);
    if (a < kFirstTermOnly) return x;
    Real v;
    if (a <= 1) {
        const Pair p = AtanCore(a, 0);
        v = p.hi + p.lo;
    } else {
        // pi/2 - atan(1/a), 1/a as a pair.
        const Real u = 1 / a;
        const Pair ua = TwoProduct(u, a);
        v = HalfPiMinus(AtanCore(u, ((1 - ua.hi) - ua.lo) * u));
    }
    return x < 0 ? -v : v;
}

Real Asin(Real x) {
    if constexpr (!kExtended) return std::asin(x);
    // Beyond 1 and NaN: the C library's NaN and flags.
    if (!Within(x, 1)) return std::asin(x);
    const Real a = std::fabs(x);
    if (a < kFirstTermOnly) return x;
    const Root s = SqrtOneMinusSquare(a);
    Real v;
    if (a <= kInverseSqrt2) {
        const Pair t = Quotient(a, 0, s.value.hi, s.value.lo, s.inverse);  // tan, <= 1
        const Pair p = AtanCore(t.hi, t.lo);
        v = p.hi + p.lo;
    } else {
        // tan of the complement, <= 1
        const Pair t = Quotient(s.value.hi, s.value.lo, a, 0, 1 / a);
        v = HalfPiMinus(AtanCore(t.hi, t.lo));
    }
    return x < 0 ? -v : v;
}

Real Acos(Real x) {
    if constexpr (!kExtended) return std::acos(x);
    if (!Within(x, 1)) return std::acos(x);
    const Real a = std::fabs(x);
    const Root s = SqrtOneMinusSquare(a);
    Pair angle;  // acos |x|, at most pi/2
    if (a <= kInverseSqrt2) {
        const Pair t = Quotient(a, 0, s.value.hi, s.value.lo, s.inverse);
        const Pair p = AtanCore(t.hi, t.lo);
        const Pair d = TwoSum(t::kHalfPiHigh, -p.hi);
        angle = {d.hi, (d.lo - p.lo) + t::kHalfPiLow};
    } else {
        const Pair t = Quotient(s.value.hi, s.value.lo, a, 0, 1 / a);
        angle = AtanCore(t.hi, t.lo);
    }
    if (x >= 0) return angle.hi + angle.lo;
    // pi - acos |x|: pi is twice pi/2, exactly in both parts.
    const Pair d = TwoSum(2 * t::kHalfPiHigh, -angle.hi);
    return d.hi + ((d.lo - angle.lo) + 2 * t::kHalfPiLow);
}

Real Log10(Real x) {
    if constexpr (!kExtended) return std::log10(x);
    LogParts parts;
    if (!SplitLog(x, parts)) return std::log10(x);
    // e log10(2) + y log10(e), the first from e ln2 so that both share one scale.
    const Real e = parts.exponent;
    const Real eHigh = e * t::kLn2High;
    const Real hi = eHigh + parts.y.hi;
    const Pair ln = {hi, ((parts.y.hi - (hi - eHigh)) + parts.y.lo) + e * t::kLn2Low};
    const Pair v = Scale(ln, t::kLog10EHigh, t::kLog10ELow);
    return v.hi + v.lo;
}

}  // namespace expr::math
