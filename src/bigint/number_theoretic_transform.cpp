// Number-theoretic transforms of length 2^k modulo three primes p = c 2^32 + 1
// below 2^62, in Montgomery form with lazy reduction: values stay below 2p.
// Each limb is one coefficient; a coefficient of the product is below
// min(an, bn) 2^128, well under the product of the three primes (about 2^186).
#include "bigint/number_theoretic_transform.h"

#include <algorithm>
#include <array>
#include <vector>

namespace bigint::limbs {

namespace {

__extension__ typedef unsigned __int128 Wide;

struct Prime {
    uint64_t p;
    uint64_t generator;  // of the whole multiplicative group
};

constexpr std::array<Prime, 3> kPrimes = {{
    {0x3fffffee00000001ULL, 3},
    {0x3fffffb400000001ULL, 19},
    {0x3fffffa000000001ULL, 3},
}};

// Arithmetic modulo one prime, values in Montgomery form x R mod p, R = 2^64.
class Field {
public:
    explicit Field(uint64_t p) : p_(p), twoP_(2 * p) {
        // -p^-1 mod 2^64 by Newton's iteration: each step doubles the correct bits.
        uint64_t inverse = p;
        for (int i = 0; i < 6; ++i) inverse *= 2 - p * inverse;
        minusInverse_ = 0 - inverse;
        const uint64_t r = static_cast<uint64_t>((Wide{1} << 64) % p);
        r2_ = static_cast<uint64_t>(static_cast<Wide>(r) * r % p);
    }

    uint64_t P() const { return p_; }

    // a b / R for a b < p 2^64; the result is below 2p.
    uint64_t Multiply(uint64_t a, uint64_t b) const {
        const Wide t = static_cast<Wide>(a) * b;
        const uint64_t m = static_cast<uint64_t>(t) * minusInverse_;
        return static_cast<uint64_t>((t + static_cast<Wide>(m) * p_) >> 64);
    }
    // Any 64-bit x into Montgomery form, below 2p.
    uint64_t ToForm(uint64_t x) const { return Multiply(x, r2_); }
    uint64_t Reduce(uint64_t x) const { return x >= p_ ? x - p_ : x; }
    // Sum and difference of values below 2p, again below 2p.
    uint64_t Add(uint64_t a, uint64_t b) const {
        const uint64_t s = a + b;
        return s >= twoP_ ? s - twoP_ : s;
    }
    uint64_t Subtract(uint64_t a, uint64_t b) const {
        const uint64_t d = a + twoP_ - b;
        return d >= twoP_ ? d - twoP_ : d;
    }
    // Plain x^e mod p for plain x.
    uint64_t Power(uint64_t x, uint64_t e) const {
        Wide result = 1, base = x % p_;
        for (; e != 0; e >>= 1) {
            if (e & 1) result = result * base % p_;
            base = base * base % p_;
        }
        return static_cast<uint64_t>(result);
    }

private:
    uint64_t p_, twoP_, minusInverse_, r2_;
};

// Multiplication by a constant w < p with Shoup's precomputed quotient
// floor(w 2^64 / p): one high and two low products, the result below 2p for
// any 64-bit x. The form of x (plain or Montgomery) carries over.
struct Constant {
    uint64_t w, quotient;

    Constant() = default;
    Constant(uint64_t value, uint64_t p)
        : w(value), quotient(static_cast<uint64_t>((static_cast<Wide>(value) << 64) / p)) {}

    uint64_t Times(uint64_t x, uint64_t p) const {
        const uint64_t q = static_cast<uint64_t>((static_cast<Wide>(x) * quotient) >> 64);
        return x * w - q * p;
    }
};

// Powers of a primitive n-th root w in Montgomery form, below p, laid out per
// level: for a block of length m the m/2 powers of w^(n/m) start at index m/2,
// so that every level reads its twiddles in order. Montgomery steps, not
// 128-bit remainders: building the table must stay cheap next to the transform.
std::vector<uint64_t> Twiddles(const Field& f, uint64_t generator, size_t n, bool inverse) {
    uint64_t w = f.Power(generator, (f.P() - 1) / n);
    if (inverse) w = f.Power(w, f.P() - 2);
    const uint64_t step = f.Reduce(f.ToForm(w));
    std::vector<uint64_t> table(std::max<size_t>(n, 2));
    // Top level (m = n) first, then each lower level takes every other power.
    uint64_t current = f.Reduce(f.ToForm(1));
    for (size_t i = 0; i < n / 2; ++i) {
        table[n / 2 + i] = current;
        current = f.Reduce(f.Multiply(current, step));
    }
    for (size_t m = n / 2; m >= 2; m /= 2) {
        for (size_t i = 0; i < m / 2; ++i) table[m / 2 + i] = table[m + 2 * i];
    }
    return table;
}

// Decimation in frequency: natural order in, bit-reversed order out.
// a + 2p - b < 4p and a twiddle below p keep the product under p 2^64.
void Forward(const Field& f, uint64_t* x, size_t n, const std::vector<uint64_t>& w) {
    const uint64_t p = f.P();
    for (size_t m = n; m >= 2; m /= 2) {
        const size_t half = m / 2;
        const uint64_t* tw = w.data() + half;
        for (size_t start = 0; start < n; start += m) {
            uint64_t* lo = x + start;
            uint64_t* hi = lo + half;
            for (size_t i = 0; i < half; ++i) {
                const uint64_t a = lo[i], b = hi[i];
                lo[i] = f.Add(a, b);
                hi[i] = f.Multiply(a + 2 * p - b, tw[i]);
            }
        }
    }
}

// Decimation in time with the inverse root: bit-reversed order in, natural
// order out, scaled by n.
void Inverse(const Field& f, uint64_t* x, size_t n, const std::vector<uint64_t>& w) {
    for (size_t m = 2; m <= n; m *= 2) {
        const size_t half = m / 2;
        const uint64_t* tw = w.data() + half;
        for (size_t start = 0; start < n; start += m) {
            uint64_t* lo = x + start;
            uint64_t* hi = lo + half;
            for (size_t i = 0; i < half; ++i) {
                const uint64_t a = lo[i], t = f.Multiply(hi[i], tw[i]);
                lo[i] = f.Add(a, t);
                hi[i] = f.Subtract(a, t);
            }
        }
    }
}

// The product's coefficients modulo one prime, plain and below p.
std::vector<uint64_t> ProductModulo(const Prime& prime, const uint64_t* a, size_t an,
                                    const uint64_t* b, size_t bn, size_t n) {
    const Field f(prime.p);
    const std::vector<uint64_t> forward = Twiddles(f, prime.generator, n, false);
    std::vector<uint64_t> x(n, 0);
    for (size_t i = 0; i < an; ++i) x[i] = f.ToForm(a[i]);
    Forward(f, x.data(), n, forward);
    if (a == b && an == bn) {
        for (size_t i = 0; i < n; ++i) x[i] = f.Multiply(x[i], x[i]);
    } else {
        std::vector<uint64_t> y(n, 0);
        for (size_t i = 0; i < bn; ++i) y[i] = f.ToForm(b[i]);
        Forward(f, y.data(), n, forward);
        for (size_t i = 0; i < n; ++i) x[i] = f.Multiply(x[i], y[i]);
    }
    Inverse(f, x.data(), n, Twiddles(f, prime.generator, n, true));
    // Multiplying by the plain 1/n both leaves the Montgomery form and undoes the scale.
    const uint64_t scale = f.Power(n % prime.p, prime.p - 2);
    for (size_t i = 0; i < n; ++i) x[i] = f.Reduce(f.Multiply(x[i], scale));
    return x;
}

}  // namespace

void MultiplyByTransform(uint64_t* r, const uint64_t* a, size_t an, const uint64_t* b, size_t bn) {
    const size_t length = an + bn - 1;
    size_t n = 1;
    while (n < length) n *= 2;
    std::array<std::vector<uint64_t>, 3> residues;
    for (size_t k = 0; k < 3; ++k) residues[k] = ProductModulo(kPrimes[k], a, an, b, bn, n);

    // Garner: c = r0 + p0 t1 + p0 p1 t2 with t1, t2 reduced modulo p1, p2.
    // p0 > p1 > p2 > p0 / 2, so one subtraction reduces a residue modulo a smaller prime.
    const uint64_t p0 = kPrimes[0].p, p1 = kPrimes[1].p, p2 = kPrimes[2].p;
    const Field f1(p1), f2(p2);
    const Constant inv01(f1.Power(p0 - p1, p1 - 2), p1);
    const Constant p0Mod2(p0 - p2, p2);
    const Constant inv012(
        f2.Power(static_cast<uint64_t>(static_cast<Wide>(p0 - p2) * (p1 - p2) % p2), p2 - 2), p2);
    const auto below = [](uint64_t x, uint64_t p) { return x >= p ? x - p : x; };
    const uint64_t p0p1Low = static_cast<uint64_t>(static_cast<Wide>(p0) * p1);
    const uint64_t p0p1High = static_cast<uint64_t>((static_cast<Wide>(p0) * p1) >> 64);
    std::fill(r, r + an + bn, 0);
    // Carry of up to three limbs runs along the result.
    uint64_t carry0 = 0, carry1 = 0, carry2 = 0;
    for (size_t i = 0; i < an + bn; ++i) {
        uint64_t c0 = 0, c1 = 0, c2 = 0;
        if (i < length) {
            const uint64_t r0 = residues[0][i], r1 = residues[1][i], r2 = residues[2][i];
            // t1 = (r1 - r0) / p0 mod p1
            const uint64_t d1 = below(r1 + p1 - below(r0, p1), p1);
            const uint64_t t1 = below(inv01.Times(d1, p1), p1);
            // t2 = (r2 - r0 - p0 t1) / (p0 p1) mod p2
            const uint64_t partial = below(below(r0, p2) + below(p0Mod2.Times(t1, p2), p2), p2);
            const uint64_t d2 = below(r2 + p2 - partial, p2);
            const uint64_t t2 = below(inv012.Times(d2, p2), p2);
            // c = r0 + p0 t1 + p0 p1 t2, three limbs.
            const Wide low = static_cast<Wide>(r0) + static_cast<Wide>(p0) * t1;
            const Wide a2 = static_cast<Wide>(p0p1Low) * t2;
            const Wide b2 = static_cast<Wide>(p0p1High) * t2;
            const Wide s0 =
                static_cast<Wide>(static_cast<uint64_t>(low)) + static_cast<uint64_t>(a2);
            c0 = static_cast<uint64_t>(s0);
            const Wide s1 = (s0 >> 64) + (low >> 64) + (a2 >> 64) + static_cast<uint64_t>(b2);
            c1 = static_cast<uint64_t>(s1);
            c2 = static_cast<uint64_t>((s1 >> 64) + (b2 >> 64));
        }
        // r[i] = c0 + carry0; the rest moves up.
        const Wide t0 = static_cast<Wide>(c0) + carry0;
        r[i] = static_cast<uint64_t>(t0);
        const Wide t1 = static_cast<Wide>(c1) + carry1 + (t0 >> 64);
        carry0 = static_cast<uint64_t>(t1);
        const Wide t2 = static_cast<Wide>(c2) + carry2 + (t1 >> 64);
        carry1 = static_cast<uint64_t>(t2);
        carry2 = static_cast<uint64_t>(t2 >> 64);
    }
}

}  // namespace bigint::limbs
