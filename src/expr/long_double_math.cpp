// Long double sine, cosine, tangent, exponential, powers, hyperbolic sine and
// cosine, logarithms and inverse sine, cosine and tangent. The final sum is
// formed from a high part and a small tail, so the result is within a hair of
// correctly rounded; tables and coefficients come from
// tools/make_long_double_tables.py.
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

using detail::kExpLimit;
using detail::kExtended;
using detail::kFirstTermOnly;
using detail::Within;

// The helpers are forced inline: each is a few operations on the hot path.
struct Pair {
    Real hi, lo;
};

[[gnu::always_inline]] inline Pair TwoSum(Real a, Real b) {
    const Real s = a + b;
    const Real bb = s - a;
    return {s, (a - (s - bb)) + (b - bb)};
}

// Folds a tail of up to a few percent of the sum into it.
[[gnu::always_inline]] inline Pair Normalized(Pair p) {
    const Real hi = p.hi + p.lo;
    return {hi, p.lo - (hi - p.hi)};
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

// Below this sinh comes from its series.
constexpr Real kSinhSeriesLimit = 0x1p-4L;
// sinh x = x + x^3 (1/3! + z/5! + z^2/7! + ...), z = x^2 <= 2^-8: six terms
// leave a relative error below 2^-90.
constexpr Real kSinhSeries[] = {1.0L / 6,      1.0L / 120,      1.0L / 5040,
                                1.0L / 362880, 1.0L / 39916800, 1.0L / 6227020800};

}  // namespace

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

// Sine, cosine, tangent and the exponential (and through it powers and the
// hyperbolic functions) work in pairs of doubles: SSE arithmetic is several
// times cheaper than the x87 unit's, and a pair holds a long double argument
// exactly. Each result is the long double sum of a high double and a tail
// good to about 2^-70 of it.
namespace {

struct Twin {
    double hi, lo;
};

// a b exactly as a pair: a fused multiply-add where the processor has one,
// else Dekker's product of halves. Both give the same bits.
template <bool kFma>
[[gnu::always_inline]] inline Twin ExactProduct(double a, double b) {
    const double p = a * b;
    if constexpr (kFma) {
        return {p, __builtin_fma(a, b, -p)};
    } else {
        constexpr double kSplitter = 134217729.0;  // 2^27 + 1
        const double sa = kSplitter * a, sb = kSplitter * b;
        const double ah = sa - (sa - a), bh = sb - (sb - b);
        const double al = a - ah, bl = b - bh;
        return {p, ((ah * bh - p) + ah * bl + al * bh) + al * bl};
    }
}

// x rounded to a whole number, as a double and as an integer, for |x| < 2^51.
// The integer is read off the bits of x + 1.5 * 2^52, sooner than from the double.
struct Whole {
    double value;
    int64_t integer;
};

[[gnu::always_inline]] inline Whole RoundDouble(double x) {
    constexpr double kMagic = 0x1.8p52;
    constexpr int64_t kMagicBits = 0x4338000000000000;
    const double shifted = x + kMagic;
    int64_t bits;
    std::memcpy(&bits, &shifted, sizeof bits);
    return {shifted - kMagic, bits - kMagicBits};
}

// (hi + lo) - k (part1 + part2 + part3) as a pair, k a whole number. k part1
// is short enough that hi - k part1 is a double (see the table script): a
// fused multiply-add gives it at once, and so does taking off both halves of
// the exact product one after the other.
template <bool kFma>
[[gnu::always_inline]] inline Twin Remainder(double hi, double lo, double k, double part1,
                                             double part2, double part3) {
    double first;
    if constexpr (kFma) {
        first = __builtin_fma(-k, part1, hi);
    } else {
        const Twin p = ExactProduct<false>(k, part1);
        first = (hi - p.hi) - p.lo;
    }
    // Fast sums: the larger operand comes first, or the sum cancels so far
    // that it is exact, or the remainder is too small to be used.
    const Twin second = ExactProduct<kFma>(k, part2);
    const double a = first - second.hi;
    const double aLow = (first - a) - second.hi;
    const double b = a + lo;
    const double bLow = lo - (b - a);
    // The low part is within about 2^-50 of b; no need to normalize the pair.
    return {b, ((aLow + bLow) - second.lo) - k * part3};
}

// Below this a remainder has lost too many bits to cancellation for the
// pairs: the C library does it (about once in 2^30 arguments).
constexpr double kTinyAngle = 0x1p-40;

// x = k pi/512 + r + rLow: sin and cos of x come from quadrant k / 256, the
// table entry k mod 256 and, for r + rLow, sin = r + sinTail and
// cos = 1 - halfSquare + cosRest, with halfSquare = r^2/2 rounded, up to 2^-18,
// and the rest up to 2^-37.
struct Angle {
    const t::SinCosEntry* entry;
    int quadrant;
    double r, sinTail, halfSquare, cosRest;
};

// False where the C library must do it.
template <bool kFma>
[[gnu::always_inline]] inline bool ReduceAngle(double hi, double lo, Angle& a) {
    const auto [k, n] = RoundDouble(hi * t::kInversePiOver512);
    const Twin r =
        Remainder<kFma>(hi, lo, k, t::kPiOver512Part1, t::kPiOver512Part2, t::kPiOver512Part3);
    if (n != 0 && !(std::fabs(r.hi) >= kTinyAngle)) return false;
    a.entry = &t::kSinCos[n & 255];
    a.quadrant = static_cast<int>((n >> 8) & 3);
    a.r = r.hi;
    const Twin z = ExactProduct<kFma>(r.hi, r.hi);
    const double z2 = z.hi * z.hi;
    a.sinTail =
        r.hi * z.hi * ((t::kSinPoly[0] + z.hi * t::kSinPoly[1]) + z2 * t::kSinPoly[2]) + r.lo;
    a.halfSquare = 0.5 * z.hi;
    a.cosRest = z2 * (t::kCosPoly[0] + z.hi * t::kCosPoly[1]) - (0.5 * z.lo + r.hi * r.lo);
    return true;
}

// u + v sin(r) + u (cos r - 1), with (u, v) = (sin a, cos a) for the sine of
// a + r and (cos a, -sin a) for its cosine. The two large products are exact
// and u outweighs v r (or is 0), so that the tail, up to 2^-8 of the sum, is
// rounded only where it is below 2^-70 of it.
template <bool kFma>
[[gnu::always_inline]] inline Twin Rotated(const Angle& a, double uHigh, double uLow, double vHigh,
                                           double vLow) {
    const Twin p = ExactProduct<kFma>(vHigh, a.r);
    const Twin h = ExactProduct<kFma>(uHigh, a.halfSquare);
    const double sum = uHigh + p.hi;
    // The terms in the order they become known.
    const double small = (((uLow + vLow * a.r) + (p.lo - h.lo)) + (p.hi - (sum - uHigh))) +
                         (vHigh * a.sinTail + uHigh * a.cosRest);
    return {sum, small - h.hi};
}

template <bool kFma>
[[gnu::always_inline]] inline Twin SinAt(const Angle& a) {
    const t::SinCosEntry& e = *a.entry;
    return Rotated<kFma>(a, e.sinHigh, e.sinLow, e.cosHigh, e.cosLow);
}

template <bool kFma>
[[gnu::always_inline]] inline Twin CosAt(const Angle& a) {
    const t::SinCosEntry& e = *a.entry;
    return Rotated<kFma>(a, e.cosHigh, e.cosLow, -e.sinHigh, -e.sinLow);
}

// sin(q pi/2 + y) = sin y, cos y, -sin y, -cos y for q = 0..3.
template <bool kFma>
[[gnu::always_inline]] inline Real SinInQuadrant(const Angle& a, int quadrant) {
    const Twin v = (quadrant & 1) == 0 ? SinAt<kFma>(a) : CosAt<kFma>(a);
    const Real sum = static_cast<Real>(v.hi) + v.lo;
    return (quadrant & 2) == 0 ? sum : -sum;
}

[[gnu::always_inline]] inline Real Joined(double hi, double lo) {
    return static_cast<Real>(hi) + lo;  // exact for a split long double
}

template <bool kFma>
[[gnu::always_inline]] inline Real SinBody(double hi, double lo) {
    Angle a;
    if (!ReduceAngle<kFma>(hi, lo, a)) return std::sin(Joined(hi, lo));
    return SinInQuadrant<kFma>(a, a.quadrant);
}

template <bool kFma>
[[gnu::always_inline]] inline Real CosBody(double hi, double lo) {
    Angle a;
    if (!ReduceAngle<kFma>(hi, lo, a)) return std::cos(Joined(hi, lo));
    return SinInQuadrant<kFma>(a, a.quadrant + 1);  // cos y = sin(y + pi/2)
}

[[gnu::always_inline]] inline Twin NormalizedTwin(Twin p) {
    const double hi = p.hi + p.lo;
    return {hi, p.lo - (hi - p.hi)};
}

template <bool kFma>
[[gnu::always_inline]] inline Real TanBody(double hi, double lo) {
    Angle a;
    if (!ReduceAngle<kFma>(hi, lo, a)) return std::tan(Joined(hi, lo));
    // tan = sin y / cos y, or -cos y / sin y in the odd quadrants; one
    // correction step makes the quotient as good as its operands.
    const bool odd = (a.quadrant & 1) != 0;
    const Twin s = NormalizedTwin(SinAt<kFma>(a)), c = NormalizedTwin(CosAt<kFma>(a));
    const Twin n = odd ? c : s;
    const Twin d = odd ? s : c;
    const double q = n.hi / d.hi;
    const Twin qd = ExactProduct<kFma>(q, d.hi);
    const double correction = (((n.hi - qd.hi) - qd.lo) + n.lo - q * d.lo) / d.hi;
    const Real v = static_cast<Real>(q) + correction;
    return odd ? -v : v;
}

// e^(hi + lo) = (sum + tail) 2^scale, the tail up to 2^-8 of the sum.
struct ScaledTwin {
    double sum, tail;
    int64_t scale;
};

// e^(hi + lo) = 2^(k/128) e^r, 2^(j/128) from the table for j = k mod 128.
template <bool kFma>
[[gnu::always_inline]] inline ScaledTwin ExpParts(double hi, double lo) {
    const auto [k, n] = RoundDouble(hi * t::kExpScale);
    const Twin r =
        Remainder<kFma>(hi, lo, k, t::kLn2Over128Part1, t::kLn2Over128Part2, t::kLn2Over128Part3);
    const t::ExpEntry& e = t::kExp2Fraction[n & 127];
    // 2^(j/128) (1 + r + r^2/2 + r^3 Q(r) + rLow (1 + r)): the products of
    // 2^(j/128) >= 1 with r and r^2/2 are exact, and it outweighs them.
    const Twin z = ExactProduct<kFma>(r.hi, r.hi);
    const double* c = t::kExpPoly;
    const double cube = r.hi * z.hi * ((c[0] + r.hi * c[1]) + z.hi * (c[2] + r.hi * c[3]));
    const Twin p = ExactProduct<kFma>(e.high, r.hi);
    const Twin h = ExactProduct<kFma>(e.high, 0.5 * z.hi);
    const double sum = e.high + p.hi;
    const double small = (((e.low + e.low * r.hi) + (p.lo + h.lo)) + (p.hi - (sum - e.high))) +
                         e.high * ((r.lo * (1 + r.hi) + 0.5 * z.lo) + cube);
    return {sum, small + h.hi, n >> 7};
}

template <bool kFma>
[[gnu::always_inline]] inline Real ExpBody(double hi, double lo) {
    const auto [sum, tail, scale] = ExpParts<kFma>(hi, lo);
    if (scale > -960 && scale < 1000) {
        // Scaled as doubles, exactly: the tail stays a normal number.
        const uint64_t bits = static_cast<uint64_t>(scale + 1023) << 52;
        double power;
        std::memcpy(&power, &bits, sizeof power);
        return static_cast<Real>(sum * power) + tail * power;
    }
    return (static_cast<Real>(sum) + tail) * PowerOfTwo(static_cast<int>(scale));
}

// e^a + e^-a, or e^a - e^-a when `difference`, for a = hi + lo >= 0 within
// the exponential's range. Each keeps its tail, so the difference stays
// accurate down to a = 1/16.
template <bool kFma>
[[gnu::always_inline]] inline Real ExpAndInverse(double hi, double lo, bool difference) {
    const ScaledTwin up = ExpParts<kFma>(hi, lo), down = ExpParts<kFma>(-hi, -lo);
    const Real upScale = PowerOfTwo(static_cast<int>(up.scale));
    const Real downScale = PowerOfTwo(static_cast<int>(down.scale));
    // e^a = h + l >= e^-a = g + m, each scaled exactly.
    const Real h = up.sum * upScale, l = up.tail * upScale;
    const Real g = down.sum * downScale, m = down.tail * downScale;
    const Real sum = difference ? h - g : h + g;  // a fast sum: h >= g
    const Real error = difference ? (h - sum) - g : g - (sum - h);
    return sum + (error + (difference ? l - m : l + m));
}

// log x = e ln2 + y for a positive normal x, with y = -log(c_j) + log1p(r) as a
// pair, |y| < 0.35, for the mantissa m of x in [1, 2), j = round(256 (m - 1))
// and r = m c_j - 1, |r| < 0.00205.
struct LogParts {
    int exponent;
    Twin y;
};

template <bool kFma>
[[gnu::always_inline]] inline bool SplitLog(Real x, LogParts& parts) {
    const Bits b = BitsOf(x);
    // Positive and normal only; the C library does zero, negatives, subnormals,
    // infinity and NaN.
    if (b.signExponent == 0 || b.signExponent >= 0x7FFF || (b.mantissa >> 63) == 0) return false;
    const unsigned j = static_cast<unsigned>(((b.mantissa - (1ULL << 63)) + (1ULL << 54)) >> 55);
    const t::LogEntry& e = t::kLog[j];
    // m in two parts of 33 and 31 bits, each exact as a double, and so are their
    // products with the 12-bit c_j: r = m c_j - 1 = rHigh + rLow exactly.
    const double mHigh = static_cast<double>(b.mantissa >> 31) * 0x1p-32;
    const double mLow = static_cast<double>(b.mantissa & 0x7FFFFFFFULL) * 0x1p-63;
    const double rHigh = mHigh * e.scale - 1;
    const double rLow = mLow * e.scale;
    const double r = rHigh + rLow;
    const double back = r - rHigh;
    const double rest = (rHigh - (r - back)) + (rLow - back);
    // log1p(r + rest) = r - r^2/2 + r^3 L(r) + rest (1 - r); r^2/2 exactly.
    const Twin z = ExactProduct<kFma>(r, r);
    const double* c = t::kLogPoly;
    const double z2 = z.hi * z.hi;
    const double cube =
        r * z.hi * (((c[0] + r * c[1]) + z.hi * (c[2] + r * c[3])) + z2 * (c[4] + r * c[5]));
    // Fast sums: |log c_j| exceeds |r| unless it is 0, and the sum exceeds r^2/2.
    const double half = 0.5 * z.hi;
    const double s1 = e.logHigh + r;
    const double s2 = s1 - half;
    const double low = ((r - (s1 - e.logHigh)) + ((s1 - s2) - half)) + e.logLow +
                       ((rest - r * rest) - 0.5 * z.lo + cube);
    const int halved = j >= static_cast<unsigned>(t::kLogFirstHalved) ? 1 : 0;
    parts = {b.signExponent - 16383 + halved, {s2, low}};
    return true;
}

// e ln2 + y as a pair: e times the first part of ln2 is exact and, unless e = 0,
// larger than |y|, so that a fast sum is exact.
template <bool kFma>
[[gnu::always_inline]] inline Twin NaturalLog(const LogParts& parts) {
    const double e = parts.exponent;
    const double eHigh = e * t::kLn2High;
    const Twin eMid = ExactProduct<kFma>(e, t::kLn2Mid);
    const double hi = eHigh + parts.y.hi;
    return {hi,
            ((parts.y.hi - (hi - eHigh)) + parts.y.lo) + (eMid.hi + (eMid.lo + e * t::kLn2Low))};
}

template <bool kFma>
[[gnu::always_inline]] inline Real LnBody(Real x) {
    LogParts parts;
    if (!SplitLog<kFma>(x, parts)) return std::log(x);
    const Twin v = NaturalLog<kFma>(parts);
    return static_cast<Real>(v.hi) + v.lo;
}

template <bool kFma>
[[gnu::always_inline]] inline Real Log2Body(Real x) {
    LogParts parts;
    if (!SplitLog<kFma>(x, parts)) return std::log2(x);
    // e + y log2(e); |y log2 e| < 0.51 < 1 <= |e| unless e = 0.
    const Twin p = ExactProduct<kFma>(parts.y.hi, t::kLog2EHigh);
    const double low = p.lo + (parts.y.hi * t::kLog2ELow + parts.y.lo * t::kLog2EHigh);
    const double e = parts.exponent;
    const double hi = e + p.hi;
    return static_cast<Real>(hi) + ((p.hi - (hi - e)) + low);
}

template <bool kFma>
[[gnu::always_inline]] inline Real Log10Body(Real x) {
    LogParts parts;
    if (!SplitLog<kFma>(x, parts)) return std::log10(x);
    const Twin ln = NaturalLog<kFma>(parts);
    const Twin p = ExactProduct<kFma>(ln.hi, t::kLog10EHigh);
    return static_cast<Real>(p.hi) + (p.lo + (ln.hi * t::kLog10ELow + ln.lo * t::kLog10EHigh));
}

// The logarithm is good to about 2^-78 absolute, and y multiplies that: beyond
// 2^8 the C library's power is the more accurate one.
constexpr Real kPowerExponentLimit = 256;

// x^y as e^(y ln x) with both in pairs; for x <= 0, subnormal or special x and
// infinite y it is Exp(y * Ln(x)) as before.
template <bool kFma>
[[gnu::always_inline]] inline Real PowerBody(Real x, Real y) {
    LogParts parts;
    if (!std::isfinite(y) || !SplitLog<kFma>(x, parts)) return Exp(y * Ln(x));
    if (!(std::fabs(y) <= kPowerExponentLimit)) return std::pow(x, y);
    const Twin ln = NaturalLog<kFma>(parts);
    const double lnHigh = ln.hi + ln.lo;
    const double lnLow = ln.lo - (lnHigh - ln.hi);
    const double yHigh = static_cast<double>(y);
    const double yLow = static_cast<double>(y - yHigh);
    // Overflow and underflow are the C library's, like the exponential's.
    if (!(std::fabs(yHigh * lnHigh) <= static_cast<double>(kExpLimit))) return std::pow(x, y);
    const Twin p = ExactProduct<kFma>(yHigh, lnHigh);
    const double low = p.lo + (yHigh * lnLow + yLow * lnHigh);
    const double hi = p.hi + low;
    const double lo = low - (hi - p.hi);
    if (std::fabs(hi) < detail::kExpFirstTermOnly) return 1 + Joined(hi, lo);
    return ExpBody<kFma>(hi, lo);
}

#if defined(__x86_64__) || defined(__i386__)
#define ZORVAT_FMA_TARGET [[gnu::target("fma")]]
bool ProcessorHasFma() {
    __builtin_cpu_init();  // this may run before the constructors
    // AVX too: its registers must be enabled by the system for the VEX encoding.
    return __builtin_cpu_supports("avx") != 0 && __builtin_cpu_supports("fma") != 0;
}
#else
#define ZORVAT_FMA_TARGET
bool ProcessorHasFma() {
    return false;
}
#endif
// Until this is set the kernels without it run, with the same results.
bool useFma = ProcessorHasFma();

ZORVAT_FMA_TARGET Real SinFma(double hi, double lo) {
    return SinBody<true>(hi, lo);
}
ZORVAT_FMA_TARGET Real CosFma(double hi, double lo) {
    return CosBody<true>(hi, lo);
}
ZORVAT_FMA_TARGET Real TanFma(double hi, double lo) {
    return TanBody<true>(hi, lo);
}
ZORVAT_FMA_TARGET Real ExpFma(double hi, double lo) {
    return ExpBody<true>(hi, lo);
}
ZORVAT_FMA_TARGET Real LnFma(Real x) {
    return LnBody<true>(x);
}
ZORVAT_FMA_TARGET Real Log2Fma(Real x) {
    return Log2Body<true>(x);
}
ZORVAT_FMA_TARGET Real Log10Fma(Real x) {
    return Log10Body<true>(x);
}
ZORVAT_FMA_TARGET Real PowerFma(Real x, Real y) {
    return PowerBody<true>(x, y);
}
ZORVAT_FMA_TARGET Real ExpAndInverseFma(double hi, double lo, bool difference) {
    return ExpAndInverse<true>(hi, lo, difference);
}

// ExpAndInverse of a long double, split into a pair as the header's functions do.
[[gnu::always_inline]] inline Real ExpAndInverseOf(Real x, bool difference) {
    const double hi = static_cast<double>(x);
    const double lo = static_cast<double>(x - hi);
    return useFma ? ExpAndInverseFma(hi, lo, difference) : ExpAndInverse<false>(hi, lo, difference);
}

}  // namespace

namespace detail {

Real SinOfPair(double hi, double lo) {
    return useFma ? SinFma(hi, lo) : SinBody<false>(hi, lo);
}
Real CosOfPair(double hi, double lo) {
    return useFma ? CosFma(hi, lo) : CosBody<false>(hi, lo);
}
Real TanOfPair(double hi, double lo) {
    return useFma ? TanFma(hi, lo) : TanBody<false>(hi, lo);
}
Real ExpOfPair(double hi, double lo) {
    return useFma ? ExpFma(hi, lo) : ExpBody<false>(hi, lo);
}

bool UseFusedMultiplyAdd(bool on) {
    useFma = on && ProcessorHasFma();
    return useFma;
}

}  // namespace detail

Real Ln(Real x) {
    if constexpr (!kExtended) return std::log(x);
    return useFma ? LnFma(x) : LnBody<false>(x);
}

Real Log2(Real x) {
    if constexpr (!kExtended) return std::log2(x);
    return useFma ? Log2Fma(x) : Log2Body<false>(x);
}

Real Log10(Real x) {
    if constexpr (!kExtended) return std::log10(x);
    return useFma ? Log10Fma(x) : Log10Body<false>(x);
}

Real Power(Real x, Real y) {
    if constexpr (!kExtended) return Exp(y * Ln(x));
    return useFma ? PowerFma(x, y) : PowerBody<false>(x, y);
}

Real Cosh(Real x) {
    if constexpr (!kExtended) return (std::exp(x) + std::exp(-x)) * 0.5L;
    if (!Within(x, kExpLimit)) return std::cosh(x);
    return ExpAndInverseOf(std::fabs(x), false) * 0.5L;
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
    const Real v = ExpAndInverseOf(a, true) * 0.5L;
    return x < 0 ? -v : v;
}

}  // namespace expr::math
