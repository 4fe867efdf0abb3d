// Magnitude kernels: addition, Karatsuba and Toom-3 products and squares
// (transforms beyond), long division and Newton reciprocals on 64-bit limbs.
#include "bigint/limbs.h"

#include <algorithm>
#include <cstring>

#include "bigint/integer_error.h"
#include "bigint/number_theoretic_transform.h"

namespace bigint::limbs {

namespace {

__extension__ typedef unsigned __int128 Wide;

// Below this quotient size (in bits) a reciprocal comes from long division.
constexpr size_t kNewtonBits = 64 * 48;
// Long division is used while the divisor or the quotient is shorter than this.
constexpr size_t kNewtonDivisionLimbs = 64;

// Division of a two-limb number by a fixed limb with its top bit set, through a
// precomputed reciprocal (Moller and Granlund): two products instead of a
// 128-bit division, which the compiler leaves to a slow library call.
class NormalizedDivisor {
public:
    explicit NormalizedDivisor(Limb d)
        : d_(d), reciprocal_(static_cast<Limb>(~Wide{0} / d)) {}  // floor((2^128 - 1) / d) - 2^64

    // (high low) = q d + r for high < d; returns q.
    Limb Divide(Limb high, Limb low, Limb& r) const {
        const Wide estimate =
            static_cast<Wide>(reciprocal_) * high + ((static_cast<Wide>(high) << 64) | low);
        Limb q = static_cast<Limb>(estimate >> 64) + 1;
        Limb rest = low - q * d_;
        if (rest > static_cast<Limb>(estimate)) {
            --q;
            rest += d_;
        }
        if (rest >= d_) [[unlikely]] {
            ++q;
            rest -= d_;
        }
        r = rest;
        return q;
    }

private:
    Limb d_, reciprocal_;
};

size_t TrimmedSize(const Limb* a, size_t n) {
    while (n > 0 && a[n - 1] == 0) --n;
    return n;
}

// r[0..n) += a (m0 + m1 2^64), writing the two limbs r[n] and r[n + 1]. Two
// rows per pass load and store r half as often as one. The carries are kept
// in single limbs: 128-bit sums make the compiler spill registers.
void MultiplyAddTwoRows(Limb* r, const Limb* a, size_t n, Limb m0, Limb m1) {
    Limb carry0 = 0, carry1 = 0, previous = 0;
    for (size_t i = 0; i < n; ++i) {
        const Limb x = a[i], y = r[i];
        const Wide p0 = static_cast<Wide>(x) * m0;
        const Wide p1 = static_cast<Wide>(previous) * m1;
        Limb low0 = static_cast<Limb>(p0), high0 = static_cast<Limb>(p0 >> 64);
        Limb low1 = static_cast<Limb>(p1), high1 = static_cast<Limb>(p1 >> 64);
        low0 += carry0;
        high0 += low0 < carry0;
        low0 += y;
        high0 += low0 < y;
        low1 += carry1;
        high1 += low1 < carry1;
        low1 += low0;
        high1 += low1 < low0;
        r[i] = low1;
        carry0 = high0;
        carry1 = high1;
        previous = x;
    }
    const Wide top = static_cast<Wide>(previous) * m1 + carry0 + carry1;
    r[n] = static_cast<Limb>(top);
    r[n + 1] = static_cast<Limb>(top >> 64);
}

void MultiplyBasecase(Limb* r, const Limb* a, size_t an, const Limb* b, size_t bn) {
    std::fill(r, r + an, 0);
    size_t j = 0;
    for (; j + 1 < bn; j += 2) MultiplyAddTwoRows(r + j, a, an, b[j], b[j + 1]);
    if (j < bn) r[j + an] = MultiplyAdd(r + j, a, an, b[j]);
}

void SquareBasecase(Limb* r, const Limb* a, size_t n) {
    std::fill(r, r + 2 * n, 0);
    // Each cross product once, then doubled, then the squares on the diagonal.
    for (size_t i = 0; i + 1 < n; ++i)
        r[i + n] = MultiplyAdd(r + 2 * i + 1, a + i + 1, n - i - 1, a[i]);
    Limb top = 0;
    for (size_t i = 0; i < 2 * n; ++i) {
        const Limb next = r[i] >> 63;
        r[i] = (r[i] << 1) | top;
        top = next;
    }
    Limb carry = 0;
    for (size_t i = 0; i < n; ++i) {
        const Wide square = static_cast<Wide>(a[i]) * a[i];
        Wide sum = static_cast<Wide>(r[2 * i]) + static_cast<Limb>(square) + carry;
        r[2 * i] = static_cast<Limb>(sum);
        sum = static_cast<Wide>(r[2 * i + 1]) + static_cast<Limb>(square >> 64) + (sum >> 64);
        r[2 * i + 1] = static_cast<Limb>(sum);
        carry = static_cast<Limb>(sum >> 64);
    }
}

// d = |x - y| for x of xn and y of yn limbs, written as `size` limbs; true when x < y.
bool AbsoluteDifference(Limb* d, const Limb* x, size_t xn, const Limb* y, size_t yn, size_t size) {
    xn = TrimmedSize(x, xn);
    yn = TrimmedSize(y, yn);
    const bool less = CompareMagnitudes(x, xn, y, yn) < 0;
    if (less) std::swap(x, y), std::swap(xn, yn);
    std::fill(d, d + size, 0);
    if (xn > 0) Subtract(d, x, xn, y, yn);
    return less;
}

// r += t at the given length, the carry running up to the end of r.
void AddInto(Limb* r, size_t rn, const Limb* t, size_t tn) {
    tn = TrimmedSize(t, tn);
    if (tn == 0) return;
    if (tn > rn) throw EIntegerError(IntegerFault::Difference);
    Add(r, r, rn, t, tn);
}

void Karatsuba(Limb* r, const Limb* a, size_t an, const Limb* b, size_t bn) {
    const size_t h = (an + 1) / 2;
    const size_t a1n = an - h, b1n = bn - h;
    Limbs da(h), db(h), z1(2 * h), t(2 * h + 1, 0);
    const bool negativeA = AbsoluteDifference(da.data(), a, h, a + h, a1n, h);
    const bool negativeB = AbsoluteDifference(db.data(), b, h, b + h, b1n, h);
    Multiply(r, a, h, b, h);
    Multiply(r + 2 * h, a + h, a1n, b + h, b1n);
    Multiply(z1.data(), da.data(), h, db.data(), h);
    // middle = z0 + z2 - (a0 - a1)(b0 - b1)
    std::copy(r, r + 2 * h, t.begin());
    t[2 * h] = Add(t.data(), t.data(), 2 * h, r + 2 * h, a1n + b1n);
    if (negativeA == negativeB) {
        if (Subtract(t.data(), t.data(), 2 * h + 1, z1.data(), 2 * h) != 0) {
            throw EIntegerError(IntegerFault::Subtract);
        }
    } else {
        Add(t.data(), t.data(), 2 * h + 1, z1.data(), 2 * h);
    }
    AddInto(r + h, an + bn - h, t.data(), t.size());
}

// A signed magnitude: the values of Toom-3 at -1 and -2 and its interpolation
// steps can be negative.
struct SignedLimbs {
    Limbs magnitude;
    bool negative = false;
};

SignedLimbs Plus(const SignedLimbs& a, const SignedLimbs& b) {
    if (a.negative == b.negative) return {AddMagnitudes(a.magnitude, b.magnitude), a.negative};
    const int order = CompareMagnitudes(a.magnitude, b.magnitude);
    if (order >= 0) return {SubtractMagnitudes(a.magnitude, b.magnitude), a.negative && order != 0};
    return {SubtractMagnitudes(b.magnitude, a.magnitude), b.negative};
}

SignedLimbs Minus(const SignedLimbs& a, SignedLimbs b) {
    b.negative = !b.negative && !b.magnitude.empty();
    return Plus(a, b);
}

SignedLimbs Twice(const SignedLimbs& a) {
    return {ShiftLeft(a.magnitude, 1), a.negative};
}

// Exact divisions, as the interpolation needs them.
SignedLimbs Half(const SignedLimbs& a) {
    return {ShiftRight(a.magnitude, 1), a.negative};
}
SignedLimbs Third(SignedLimbs a) {
    if (DivideSmall(a.magnitude, 3) != 0) throw EIntegerError(IntegerFault::Subtract);
    return a;
}

SignedLimbs Times(const SignedLimbs& a, const SignedLimbs& b, bool square) {
    Limbs product = square ? Square(a.magnitude) : Multiply(a.magnitude, b.magnitude);
    const bool negative = !square && a.negative != b.negative && !product.empty();
    return {std::move(product), negative};
}

// a(x) = a0 + a1 x + a2 x^2 with x = 2^(64 k) at 0, 1, -1, -2 and infinity.
void EvaluateToom3(const Limb* a, size_t n, size_t k, SignedLimbs (&v)[5]) {
    SignedLimbs part[3];
    for (size_t i = 0; i < 3; ++i) {
        const size_t from = std::min(n, i * k), to = std::min(n, (i + 1) * k);
        part[i].magnitude.assign(a + from, a + to);
        Trim(part[i].magnitude);
    }
    const SignedLimbs even = Plus(part[0], part[2]);
    v[0] = part[0];
    v[1] = Plus(even, part[1]);
    v[2] = Minus(even, part[1]);
    v[3] = Minus(Twice(Plus(v[2], part[2])), part[0]);  // a0 - 2 a1 + 4 a2
    v[4] = part[2];
}

// Toom-3 with Bodrato's interpolation: five products of a third of the size.
void Toom3(Limb* r, const Limb* a, size_t an, const Limb* b, size_t bn, bool square) {
    const size_t k = (std::max(an, bn) + 2) / 3;
    SignedLimbs va[5], vb[5], w[5];
    EvaluateToom3(a, an, k, va);
    if (!square) EvaluateToom3(b, bn, k, vb);
    for (size_t i = 0; i < 5; ++i) w[i] = Times(va[i], square ? va[i] : vb[i], square);
    // w: the product at 0, 1, -1, -2, infinity.
    SignedLimbs c3 = Third(Minus(w[3], w[1]));
    SignedLimbs c1 = Half(Minus(w[1], w[2]));
    SignedLimbs c2 = Minus(w[2], w[0]);
    c3 = Plus(Half(Minus(c2, c3)), Twice(w[4]));
    c2 = Minus(Plus(c2, c1), w[4]);
    c1 = Minus(c1, c3);
    const SignedLimbs* coefficients[5] = {&w[0], &c1, &c2, &c3, &w[4]};
    std::fill(r, r + an + bn, 0);
    for (size_t i = 0; i < 5; ++i) {
        const SignedLimbs& c = *coefficients[i];
        if (c.negative) throw EIntegerError(IntegerFault::Subtract);
        if (!c.magnitude.empty()) {
            AddInto(r + i * k, an + bn - i * k, c.magnitude.data(), c.magnitude.size());
        }
    }
}

// The transform's cost steps up at each power of two of the product length
// while Toom-3's grows smoothly: just above a step Toom-3 is faster, up to
// about 16384 coefficients (measured against each other).
bool UsesTransform(size_t an, size_t bn) {
    if (bn < kTransformThreshold || 2 * bn <= an + 1) return false;
    size_t length = 1;
    while (length < an + bn - 1) length *= 2;
    return length >= 16384 || 4 * (an + bn) >= 3 * length;
}

void SquareInto(Limb* r, const Limb* a, size_t n) {
    if (n < kSquareThreshold) {
        SquareBasecase(r, a, n);
        return;
    }
    if (UsesTransform(n, n)) {
        MultiplyByTransform(r, a, n, a, n);
        return;
    }
    if (n >= kToom3SquareThreshold) {
        Toom3(r, a, n, a, n, true);
        return;
    }
    const size_t h = (n + 1) / 2;
    const size_t a1n = n - h;
    Limbs da(h), z1(2 * h), t(2 * h + 1, 0);
    AbsoluteDifference(da.data(), a, h, a + h, a1n, h);
    SquareInto(r, a, h);
    SquareInto(r + 2 * h, a + h, a1n);
    SquareInto(z1.data(), da.data(), h);
    std::copy(r, r + 2 * h, t.begin());
    t[2 * h] = Add(t.data(), t.data(), 2 * h, r + 2 * h, 2 * a1n);
    if (Subtract(t.data(), t.data(), 2 * h + 1, z1.data(), 2 * h) != 0) {
        throw EIntegerError(IntegerFault::Subtract);
    }
    AddInto(r + h, 2 * n - h, t.data(), t.size());
}

}  // namespace

void DivideNormalized(Limb* u, size_t un, const Limb* v, size_t vn, Limb* q) {
    const Limb top = v[vn - 1], next = v[vn - 2];
    const NormalizedDivisor topDivisor(top);
    for (size_t j = un - vn + 1; j-- > 0;) {
        Wide qhat, rhat;
        if (u[j + vn] >= top) {
            qhat = ~Limb{0};  // the top limbs are equal: the estimate is capped
            rhat = ((static_cast<Wide>(u[j + vn]) << 64) | u[j + vn - 1]) - qhat * top;
        } else {
            Limb rest;
            qhat = topDivisor.Divide(u[j + vn], u[j + vn - 1], rest);
            rhat = rest;
        }
        // Once rhat has a second limb the test cannot fail (and rhat << 64 would
        // drop it); the capped estimate starts there when u[j + vn - 1] + top carries.
        while (rhat >> 64 == 0 && qhat * next > ((rhat << 64) | u[j + vn - 2])) {
            --qhat;
            rhat += top;
        }
        const Limb borrow = MultiplySubtract(u + j, v, vn, static_cast<Limb>(qhat));
        const Wide last = static_cast<Wide>(u[j + vn]) - borrow;
        u[j + vn] = static_cast<Limb>(last);
        Limb digit = static_cast<Limb>(qhat);
        if (last >> 127 != 0) {
            // The estimate was one too large: add the divisor back once.
            --digit;
            const Limb back = Add(u + j, u + j, vn, v, vn);
            u[j + vn] += back;
            if (u[j + vn] != 0) throw EIntegerError(IntegerFault::Subtract);
        }
        q[j] = digit;
    }
}

namespace {

// Knuth's algorithm D for a divisor of at least two limbs and a >= b.
void DivideLong(const Limbs& a, const Limbs& b, Limbs* quotient, Limbs* remainder) {
    const size_t bn = b.size(), an = a.size();
    const int shift = __builtin_clzll(b.back());
    Limbs v = ShiftLeft(b, static_cast<size_t>(shift));
    Limbs u = ShiftLeft(a, static_cast<size_t>(shift));
    u.resize(an + 1, 0);
    Limbs q(an - bn + 1, 0);
    DivideNormalized(u.data(), an, v.data(), bn, q.data());
    Trim(q);
    if (quotient != nullptr) *quotient = std::move(q);
    if (remainder != nullptr) {
        u.resize(bn);
        *remainder = ShiftRight(u, static_cast<size_t>(shift));
    }
}

Limbs PowerOfTwo(size_t k) {
    Limbs p(k / 64 + 1, 0);
    p.back() = Limb{1} << (k % 64);
    return p;
}

void Increment(Limbs& a) {
    for (auto& limb : a) {
        if (++limb != 0) return;
    }
    a.push_back(1);
}

void Decrement(Limbs& a) {
    for (auto& limb : a) {
        if (limb-- != 0) break;
    }
    Trim(a);
}

// Moves x to floor(2^k / d) when it is already close.
void CorrectReciprocal(const Limbs& d, size_t k, Limbs& x) {
    const Limbs power = PowerOfTwo(k);
    Limbs product = Multiply(d, x);
    int steps = 0;
    while (CompareMagnitudes(product, power) > 0) {
        if (++steps > 16) {
            DivideLong(power, d, &x, nullptr);
            return;
        }
        Decrement(x);
        product = SubtractMagnitudes(product, d);
    }
    Limbs rest = SubtractMagnitudes(power, product);
    while (CompareMagnitudes(rest, d) >= 0) {
        if (++steps > 16) {
            DivideLong(power, d, &x, nullptr);
            return;
        }
        Increment(x);
        rest = SubtractMagnitudes(rest, d);
    }
}

}  // namespace

void Trim(Limbs& a) {
    while (!a.empty() && a.back() == 0) a.pop_back();
}

size_t BitLength(const Limbs& a) {
    if (a.empty()) return 0;
    return 64 * a.size() - static_cast<size_t>(__builtin_clzll(a.back()));
}

int CompareMagnitudes(const Limb* a, size_t an, const Limb* b, size_t bn) {
    an = TrimmedSize(a, an);
    bn = TrimmedSize(b, bn);
    if (an != bn) return an < bn ? -1 : 1;
    for (size_t i = an; i-- > 0;) {
        if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
    }
    return 0;
}

Limb Add(Limb* r, const Limb* a, size_t an, const Limb* b, size_t bn) {
    Limb carry = 0;
    size_t i = 0;
    for (; i < bn; ++i) {
        const Wide sum = static_cast<Wide>(a[i]) + b[i] + carry;
        r[i] = static_cast<Limb>(sum);
        carry = static_cast<Limb>(sum >> 64);
    }
    for (; i < an; ++i) {
        const Limb sum = a[i] + carry;
        carry = sum < carry ? 1 : 0;
        r[i] = sum;
        if (carry == 0 && r == a) return 0;
    }
    return carry;
}

Limb Subtract(Limb* r, const Limb* a, size_t an, const Limb* b, size_t bn) {
    Limb borrow = 0;
    size_t i = 0;
    for (; i < bn; ++i) {
        const Limb x = a[i], y = b[i];
        const Limb d = x - y;
        r[i] = d - borrow;
        borrow = static_cast<Limb>(x < y) + static_cast<Limb>(d < borrow);
    }
    for (; i < an; ++i) {
        const Limb x = a[i];
        r[i] = x - borrow;
        borrow = x < borrow ? 1 : 0;
        if (borrow == 0 && r == a) return 0;
    }
    return borrow;
}

Limb MultiplyAdd(Limb* r, const Limb* a, size_t n, Limb m) {
    // The high half of a product is at most 2^64 - 2: neither carry overflows it.
    Limb carry = 0;
    for (size_t i = 0; i < n; ++i) {
        const Wide p = static_cast<Wide>(a[i]) * m;
        Limb low = static_cast<Limb>(p), high = static_cast<Limb>(p >> 64);
        const Limb x = r[i];
        low += carry;
        high += low < carry;
        low += x;
        high += low < x;
        r[i] = low;
        carry = high;
    }
    return carry;
}

Limb MultiplySubtract(Limb* r, const Limb* a, size_t n, Limb m) {
    // One running borrow: the high half of a product is at most 2^64 - 2, so
    // adding the borrow of the subtraction cannot overflow.
    Limb borrow = 0;
    for (size_t i = 0; i < n; ++i) {
        const Wide t = static_cast<Wide>(a[i]) * m + borrow;
        const Limb low = static_cast<Limb>(t), x = r[i];
        r[i] = x - low;
        borrow = static_cast<Limb>(t >> 64) + static_cast<Limb>(x < low);
    }
    return borrow;
}

Limbs AddMagnitudes(const Limbs& a, const Limbs& b) {
    const Limbs& longer = a.size() >= b.size() ? a : b;
    const Limbs& shorter = a.size() >= b.size() ? b : a;
    Limbs r(longer.size() + 1);
    r.back() = Add(r.data(), longer.data(), longer.size(), shorter.data(), shorter.size());
    Trim(r);
    return r;
}

Limbs SubtractMagnitudes(const Limbs& a, const Limbs& b) {
    if (CompareMagnitudes(a, b) < 0) throw EIntegerError(IntegerFault::Difference);
    Limbs r(a.size());
    Subtract(r.data(), a.data(), a.size(), b.data(), b.size());
    Trim(r);
    return r;
}

void Multiply(Limb* r, const Limb* a, size_t an, const Limb* b, size_t bn) {
    if (an < bn) std::swap(a, b), std::swap(an, bn);
    if (bn == 0) {
        std::fill(r, r + an, 0);
        return;
    }
    if (bn < kKaratsubaThreshold) {
        MultiplyBasecase(r, a, an, b, bn);
        return;
    }
    if (UsesTransform(an, bn)) {
        MultiplyByTransform(r, a, an, b, bn);
        return;
    }
    if (bn >= kToom3Threshold && 3 * bn > 2 * an + 6) {
        Toom3(r, a, an, b, bn, false);
        return;
    }
    if (2 * bn > an + 1) {
        Karatsuba(r, a, an, b, bn);
        return;
    }
    // Unbalanced: slices of a as long as b.
    std::fill(r, r + an + bn, 0);
    Limbs piece(2 * bn);
    for (size_t i = 0; i < an; i += bn) {
        const size_t length = std::min(bn, an - i);
        Multiply(piece.data(), a + i, length, b, bn);
        AddInto(r + i, an + bn - i, piece.data(), length + bn);
    }
}

Limbs Multiply(const Limbs& a, const Limbs& b) {
    if (a.empty() || b.empty()) return {};
    if (&a == &b) return Square(a);
    Limbs r(a.size() + b.size());
    Multiply(r.data(), a.data(), a.size(), b.data(), b.size());
    Trim(r);
    return r;
}

void Square(Limb* r, const Limb* a, size_t n) {
    SquareInto(r, a, n);
}

Limbs Square(const Limbs& a) {
    if (a.empty()) return {};
    Limbs r(2 * a.size());
    SquareInto(r.data(), a.data(), a.size());
    Trim(r);
    return r;
}

Limbs ShiftLeft(const Limbs& a, size_t bits) {
    if (a.empty()) return {};
    const size_t whole = bits / 64, part = bits % 64, n = a.size();
    Limbs r(n + whole + 1, 0);
    if (part == 0) {
        std::copy(a.begin(), a.end(), r.begin() + static_cast<std::ptrdiff_t>(whole));
    } else {
        Limb* out = r.data() + whole;
        out[n] = a[n - 1] >> (64 - part);
        for (size_t i = n - 1; i > 0; --i) out[i] = (a[i] << part) | (a[i - 1] >> (64 - part));
        out[0] = a[0] << part;
    }
    Trim(r);
    return r;
}

Limbs ShiftRight(const Limbs& a, size_t bits) {
    const size_t whole = bits / 64, part = bits % 64;
    if (whole >= a.size()) return {};
    const size_t n = a.size() - whole;
    const Limb* in = a.data() + whole;
    Limbs r(n);
    if (part == 0) {
        std::copy(in, in + n, r.begin());
    } else {
        for (size_t i = 0; i + 1 < n; ++i) r[i] = (in[i] >> part) | (in[i + 1] << (64 - part));
        r[n - 1] = in[n - 1] >> part;
    }
    Trim(r);
    return r;
}

Limbs MultiplySmall(const Limbs& a, Limb m, Limb add) {
    Limbs r(a.size() + 1, 0);
    Limb carry = add;
    for (size_t i = 0; i < a.size(); ++i) {
        const Wide t = static_cast<Wide>(a[i]) * m + carry;
        r[i] = static_cast<Limb>(t);
        carry = static_cast<Limb>(t >> 64);
    }
    r.back() = carry;
    Trim(r);
    return r;
}

Limb DivideSmall(Limbs& a, Limb d) {
    // a 2^s divided by d 2^s: the same quotient, the remainder scaled by 2^s.
    const int shift = __builtin_clzll(d);
    const NormalizedDivisor divisor(d << shift);
    const size_t n = a.size();
    Limb rest = 0;
    if (shift != 0 && n > 0) rest = a[n - 1] >> (64 - shift);
    for (size_t i = n; i-- > 0;) {
        const Limb below = shift != 0 && i > 0 ? a[i - 1] >> (64 - shift) : 0;
        a[i] = divisor.Divide(rest, (a[i] << shift) | below, rest);
    }
    Trim(a);
    return rest >> shift;
}

namespace {

// floor(2^k / d) when exact, else within a few units of it: the inner steps
// of Newton's iteration need no correction of their own, the last one fixes
// the result (one product of d and x less per step).
Limbs NewtonReciprocal(const Limbs& d, size_t k, bool exact) {
    const size_t s = BitLength(d);
    if (k < s) return {};
    const size_t p = k - s;
    Limbs x;
    if (p <= kNewtonBits || d.size() < 2) {
        if (d.size() < 2) {
            x = PowerOfTwo(k);
            DivideSmall(x, d[0]);
        } else {
            DivideLong(PowerOfTwo(k), d, &x, nullptr);
        }
        return x;
    }
    if (s > p + 64) {
        // Only the leading p + 64 bits of d matter for the answer.
        const size_t drop = s - p - 64;
        x = NewtonReciprocal(ShiftRight(d, drop), k - drop, exact);
    } else {
        // Newton: a half-precision reciprocal, then x += x (2^k - d x) / 2^k.
        const size_t h = p / 2 + 32;
        const size_t drop = s > h + 64 ? s - h - 64 : 0;
        x = ShiftLeft(NewtonReciprocal(ShiftRight(d, drop), h + s - drop, false), p - h);
        const Limbs power = PowerOfTwo(k);
        const Limbs product = Multiply(d, x);
        const bool below = CompareMagnitudes(product, power) <= 0;
        const Limbs error =
            below ? SubtractMagnitudes(power, product) : SubtractMagnitudes(product, power);
        const size_t cut = s - 2;
        const Limbs step = ShiftRight(Multiply(x, ShiftRight(error, cut)), k - cut);
        x = below ? AddMagnitudes(x, step) : SubtractMagnitudes(x, step);
    }
    if (exact) CorrectReciprocal(d, k, x);
    return x;
}

}  // namespace

Limbs Reciprocal(const Limbs& d, size_t k) {
    return NewtonReciprocal(d, k, true);
}

void DivideMagnitudes(const Limbs& a, const Limbs& b, Limbs* quotient, Limbs* remainder) {
    if (b.empty()) throw EIntegerError(IntegerFault::Division);
    if (CompareMagnitudes(a, b) < 0) {
        if (quotient != nullptr) quotient->clear();
        if (remainder != nullptr) *remainder = a;
        return;
    }
    if (b.size() == 1) {
        Limbs q = a;
        const Limb r = DivideSmall(q, b[0]);
        if (quotient != nullptr) *quotient = std::move(q);
        if (remainder != nullptr) *remainder = r == 0 ? Limbs{} : Limbs{r};
        return;
    }
    if (b.size() < kNewtonDivisionLimbs || a.size() - b.size() < kNewtonDivisionLimbs) {
        DivideLong(a, b, quotient, remainder);
        return;
    }
    // q = ((a >> (s - 1)) * floor(2^k / b)) >> (k - s + 1) is at most 3 too small.
    const size_t s = BitLength(b), k = BitLength(a);
    const Limbs inverse = Reciprocal(b, k);
    Limbs q = ShiftRight(Multiply(ShiftRight(a, s - 1), inverse), k - s + 1);
    Limbs r = SubtractMagnitudes(a, Multiply(q, b));
    while (CompareMagnitudes(r, b) >= 0) {
        r = SubtractMagnitudes(r, b);
        Increment(q);
    }
    if (quotient != nullptr) *quotient = std::move(q);
    if (remainder != nullptr) *remainder = std::move(r);
}

}  // namespace bigint::limbs
