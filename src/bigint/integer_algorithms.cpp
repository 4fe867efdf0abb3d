// TInteger: powers, modular powers, roots, gcd, inverses, factorials and the
// probable-prime test.
#include <array>
#include <cmath>
#include <random>

#include "bigint/integer.h"
#include "bigint/montgomery.h"

namespace bigint {

using limbs::Limb;
using limbs::Limbs;

namespace {

bool IsPowerOfTwo(const Limbs& a) {
    if (a.empty()) return false;
    for (size_t i = 0; i + 1 < a.size(); ++i) {
        if (a[i] != 0) return false;
    }
    return (a.back() & (a.back() - 1)) == 0;
}

bool Bit(const Limbs& a, size_t index) {
    return ((a[index / 64] >> (index % 64)) & 1U) != 0;
}

Limb ModSmall(const Limbs& a, Limb d) {
    __extension__ typedef unsigned __int128 Wide;
    Wide rest = 0;
    for (size_t i = a.size(); i-- > 0;) rest = ((rest << 64) | a[i]) % d;
    return static_cast<Limb>(rest);
}

Limbs Remainder(const Limbs& a, const Limbs& m) {
    Limbs r;
    limbs::DivideMagnitudes(a, m, nullptr, &r);
    return r;
}

// base^exponent mod m for an odd m and base < m, with 4-bit windows; with a
// check, it stops early when told to (the result is then empty).
Limbs PowerModOdd(const Limbs& base, const Limbs& exponent, const limbs::Montgomery& mont,
                  limbs::WorkCheck* check = nullptr) {
    const size_t n = mont.Size();
    std::array<Limbs, 16> table;
    Limbs oneForm = mont.ToForm(Limbs{1});
    table[0] = oneForm;
    table[1] = mont.ToForm(base);
    for (size_t i = 2; i < 16; ++i) {
        table[i].resize(n);
        mont.Multiply(table[i].data(), table[i - 1].data(), table[1].data(), check);
    }
    if (check != nullptr && check->Stopped()) return {};
    Limbs acc = oneForm;
    const size_t bits = limbs::BitLength(exponent);
    const size_t windows = (bits + 3) / 4;
    for (size_t w = windows; w-- > 0;) {
        if (w + 1 != windows) {
            for (int k = 0; k < 4; ++k) mont.Multiply(acc.data(), acc.data(), acc.data(), check);
        }
        unsigned nibble = 0;
        for (int k = 3; k >= 0; --k) {
            const size_t index = 4 * w + static_cast<size_t>(k);
            nibble = (nibble << 1) | (index < bits && Bit(exponent, index) ? 1U : 0U);
        }
        if (nibble != 0) mont.Multiply(acc.data(), acc.data(), table[nibble].data(), check);
        if (check != nullptr && check->Stopped()) return {};
    }
    return mont.FromForm(acc.data());
}

// base^exponent mod m for any m >= 2.
Limbs PowerMod(const Limbs& base, const Limbs& exponent, const Limbs& m) {
    const Limbs reduced = Remainder(base, m);
    if ((m[0] & 1U) != 0) return PowerModOdd(reduced, exponent, limbs::Montgomery(m));
    Limbs acc{1};
    for (size_t i = limbs::BitLength(exponent); i-- > 0;) {
        acc = Remainder(limbs::Square(acc), m);
        if (Bit(exponent, i)) acc = Remainder(limbs::Multiply(acc, reduced), m);
    }
    return Remainder(acc, m);
}

__extension__ typedef unsigned __int128 Wide;

// floor(sqrt(v)) for 2^126 <= v < 2^128, and the remainder v - s^2.
Limb SquareRootTwoLimbs(Limb high, Limb low, Wide& remainder) {
    const Wide v = (static_cast<Wide>(high) << 64) | low;
    // A double estimate is within 2^12 of the root, one integer Newton step
    // within one: exact arithmetic, whatever the precision of long double.
    Wide s = static_cast<Wide>(std::sqrt(static_cast<double>(high) * 18446744073709551616.0));
    s = (s + v / s) / 2;
    if (s > ~Limb{0}) s = ~Limb{0};
    while (s * s > v) --s;
    while (s < ~Limb{0} && (s + 1) * (s + 1) <= v) ++s;
    remainder = v - s * s;
    return static_cast<Limb>(s);
}

// Limbs of scratch space SquareRootRemainder needs for n.
size_t SquareRootScratch(size_t n) {
    if (n == 1) return 0;
    const size_t l = n / 2, h = n - l;
    return (n + 2) + (l + 2) + std::max(SquareRootScratch(h), 2 * l + 2);
}

// Divides the n + 1 limbs at numerator (numerator[n + 1] is zero) by the h
// limbs at divisor, top bit set: the l + 2 limbs of the quotient go to
// quotient, the remainder to numerator[0..h).
void DivideForRoot(Limb* numerator, size_t n, const Limb* divisor, size_t h, Limb* quotient) {
    const size_t l = n - h;
    if (h == 1) {
        Limb rest = 0;
        for (size_t i = n + 1; i-- > 0;) {
            const Wide current = (static_cast<Wide>(rest) << 64) | numerator[i];
            quotient[i] = static_cast<Limb>(current / divisor[0]);
            rest = static_cast<Limb>(current % divisor[0]);
        }
        std::fill(numerator, numerator + n + 1, 0);
        numerator[0] = rest;
        return;
    }
    if (h < 64) {
        limbs::DivideNormalized(numerator, n + 1, divisor, h, quotient);
        return;
    }
    // Large: the Newton division of the general routine.
    Limbs q, u;
    Limbs a(numerator, numerator + n + 1), b(divisor, divisor + h);
    limbs::Trim(a);
    limbs::DivideMagnitudes(a, b, &q, &u);
    std::fill(quotient, quotient + l + 2, 0);
    std::copy(q.begin(), q.end(), quotient);
    std::fill(numerator, numerator + n + 1, 0);
    std::copy(u.begin(), u.end(), numerator);
}

// Zimmermann's recursive square root with remainder of the 2n limbs at a,
// whose top limb is at least 2^62: the root of the top half, one division for
// the next quarter of the digits and one square to correct the remainder.
// s gets the n limbs of the root, r the low n limbs of the remainder; the bit
// above them is returned (the remainder is at most 2 s). Works in scratch: the
// small levels would otherwise spend most of their time allocating.
Limb SquareRootRemainder(Limb* s, Limb* r, const Limb* a, size_t n, Limb* scratch) {
    if (n == 1) {
        Wide remainder;
        s[0] = SquareRootTwoLimbs(a[1], a[0], remainder);
        r[0] = static_cast<Limb>(remainder);
        return static_cast<Limb>(remainder >> 64);
    }
    const size_t l = n / 2, h = n - l;
    Limb* numerator = scratch;         // n + 2 limbs
    Limb* quotient = scratch + n + 2;  // l + 2 limbs
    Limb* rest = quotient + l + 2;     // the top level's scratch, then q^2
    // numerator = (remainder of the top) 2^(64 l) + a[l..2l), the top root in s[l..n).
    std::copy(a + l, a + 2 * l, numerator);
    numerator[n] = SquareRootRemainder(s + l, numerator + l, a + 2 * l, h, rest);
    numerator[n + 1] = 0;
    // q = numerator / (2 top root): the top root has its top bit set, so divide
    // by it and halve, moving an odd quotient's half divisor into the remainder.
    DivideForRoot(numerator, n, s + l, h, quotient);
    const bool odd = (quotient[0] & 1) != 0;
    for (size_t i = 0; i + 1 < l + 2; ++i)
        quotient[i] = (quotient[i] >> 1) | (quotient[i + 1] << 63);
    quotient[l + 1] >>= 1;
    Limb remainderTop = odd ? limbs::Add(numerator, numerator, h, s + l, h) : 0;
    // root = top root 2^(64 l) + q, where q is at most 2^(64 l).
    std::copy(quotient, quotient + l, s);
    const bool qIsPower = quotient[l] != 0;
    if (qIsPower) {
        for (size_t i = l; i < n && ++s[i] == 0; ++i) {
        }
    }
    // remainder = u 2^(64 l) + a[0..l) - q^2.
    std::copy(a, a + l, r);
    std::copy(numerator, numerator + h, r + l);
    Limb borrow;
    if (qIsPower) {
        const Limb one = 1;
        borrow = 2 * l < n ? limbs::Subtract(r + 2 * l, r + 2 * l, n - 2 * l, &one, 1) : 1;
    } else {
        limbs::Square(rest, s, l);
        borrow = limbs::Subtract(r, r, n, rest, 2 * l);
    }
    int64_t top = static_cast<int64_t>(remainderTop) - static_cast<int64_t>(borrow);
    while (top < 0) {
        // One too large: (s - 1)^2 = s^2 - 2 (s - 1) - 1.
        for (size_t i = 0; i < n && s[i]-- == 0; ++i) {
        }
        const Limb one = 1;
        top += static_cast<int64_t>(limbs::Add(r, r, n, s, n));
        top += static_cast<int64_t>(limbs::Add(r, r, n, s, n));
        top += static_cast<int64_t>(limbs::Add(r, r, n, &one, 1));
    }
    return static_cast<Limb>(top);
}

// Integer square root: n scaled by 4^t to an even number of limbs with a full
// top limb, Zimmermann's recursion, and the root scaled back by 2^t.
Limbs SquareRoot(const Limbs& n) {
    const size_t bits = limbs::BitLength(n);
    const size_t size = 2 * ((bits + 127) / 128), half = size / 2;
    size_t shift = 64 * size - bits;
    shift -= shift % 2;
    Limbs scaled = limbs::ShiftLeft(n, shift);
    scaled.resize(size, 0);
    Limbs root(half), remainder(half), scratch(SquareRootScratch(half));
    SquareRootRemainder(root.data(), remainder.data(), scaled.data(), half, scratch.data());
    limbs::Trim(root);
    return limbs::ShiftRight(root, shift / 2);
}

Limbs Power(const Limbs& a, uint64_t n) {
    Limbs acc{1};
    for (int i = 63; i >= 0; --i) {
        acc = limbs::Square(acc);
        if (((n >> i) & 1U) != 0) acc = limbs::Multiply(acc, a);
    }
    return acc;
}

// n-th root for n >= 3 by Newton's method from above.
Limbs Root(const Limbs& x, uint64_t n) {
    const size_t bits = limbs::BitLength(x);
    Limbs g = limbs::ShiftLeft(Limbs{1}, (bits + n - 1) / n);
    while (true) {
        Limbs q;
        limbs::DivideMagnitudes(x, Power(g, n - 1), &q, nullptr);
        Limbs y = limbs::AddMagnitudes(limbs::MultiplySmall(g, n - 1), q);
        limbs::DivideSmall(y, n);
        if (limbs::CompareMagnitudes(y, g) >= 0) return g;
        g = std::move(y);
    }
}

Limbs ProductTree(std::vector<Limbs> factors) {
    if (factors.empty()) return {1};
    while (factors.size() > 1) {
        std::vector<Limbs> next;
        for (size_t i = 0; i + 1 < factors.size(); i += 2) {
            next.push_back(limbs::Multiply(factors[i], factors[i + 1]));
        }
        if (factors.size() % 2 == 1) next.push_back(std::move(factors.back()));
        factors = std::move(next);
    }
    return factors.front();
}

// Beyond this the sieve would be large; the product tree needs none.
constexpr uint64_t kSwingFactorialLimit = uint64_t{1} << 32;

std::vector<uint32_t> OddPrimesUpTo(uint64_t n) {
    // composite[i] stands for 2 i + 1.
    std::vector<bool> composite(n / 2 + 1, false);
    std::vector<uint32_t> primes;
    for (uint64_t i = 1; 2 * i + 1 <= n; ++i) {
        if (composite[i]) continue;
        const uint64_t p = 2 * i + 1;
        primes.push_back(static_cast<uint32_t>(p));
        for (uint64_t m = p * p; m <= n; m += 2 * p) composite[m / 2] = true;
    }
    return primes;
}

// The odd part of n! / (floor(n/2)!)^2: an odd prime p occurs to the power
// sum over k of (floor(n / p^k) mod 2), so every factor is at most n.
Limbs OddSwing(uint64_t n, const std::vector<uint32_t>& oddPrimes) {
    std::vector<Limbs> factors;
    Limb current = 1;
    for (const uint32_t p : oddPrimes) {
        if (p > n) break;
        Limb power = 1;
        for (uint64_t q = n / p; q > 0; q /= p) {
            if (q % 2 == 1) power *= p;
        }
        if (power == 1) continue;
        if (current > ~Limb{0} / power) {
            factors.push_back({current});
            current = 1;
        }
        current *= power;
    }
    factors.push_back({current});
    return ProductTree(std::move(factors));
}

// The odd part of n!, as the square of that of floor(n/2)! times the odd
// swing: squares and one product of unequal sizes instead of a full tree.
Limbs OddFactorial(uint64_t n, const std::vector<uint32_t>& oddPrimes) {
    if (n < 3) return {1};
    return limbs::Multiply(limbs::Square(OddFactorial(n / 2, oddPrimes)), OddSwing(n, oddPrimes));
}

// False also when `check` says stop.
bool MillerRabinRound(const Limbs& n, const Limbs& oddPart, size_t twos, Limb base,
                      const limbs::Montgomery& mont, limbs::WorkCheck& check) {
    const Limbs minusOne = limbs::SubtractMagnitudes(n, {1});
    Limbs x = PowerModOdd({base}, oddPart, mont, &check);
    if (check.Stopped()) return false;
    if (x == Limbs{1} || x == minusOne) return true;
    for (size_t i = 1; i < twos; ++i) {
        x = Remainder(limbs::Square(x), n);
        if (!check.Done(2 * n.size() * n.size())) return false;
        if (x == minusOne) return true;
        if (x == Limbs{1}) return false;
    }
    return false;
}

}  // namespace

void TInteger::Power(int64_t exponent) {
    if (exponent < 0) {
        const bool unit = magnitude_ == Limbs{1};
        const bool odd = (exponent & 1) != 0;
        AssignInt64(!unit ? 0 : (negative_ && odd ? -1 : 1));
        return;
    }
    const bool negative = negative_ && (exponent & 1) != 0;
    if (exponent == 0) {
        AssignInt64(1);
        return;
    }
    if (IsPowerOfTwo(magnitude_)) {
        const size_t shift = (BitLength() - 1) * static_cast<size_t>(exponent);
        magnitude_ = limbs::ShiftLeft({1}, shift);
    } else if (!IsZero()) {
        magnitude_ = bigint::Power(magnitude_, static_cast<uint64_t>(exponent));
    }
    negative_ = negative;
    Normalize();
}

void TInteger::ModPow(const TInteger& exponent, const TInteger& modulus) {
    if (modulus.IsZero()) throw EIntegerError(IntegerFault::Division);
    const Limbs& m = modulus.magnitude_;
    if (m == Limbs{1}) {
        AssignInt64(0);
        return;
    }
    if (exponent.IsZero()) {
        AssignInt64(1);
        return;
    }
    bool negative = negative_ && exponent.IsOdd();
    Limbs base = magnitude_;
    if (exponent.negative_) {
        TInteger inverse = *this;
        inverse.InverseMod(modulus);
        if (inverse.IsZero()) {
            AssignInt64(0);
            return;
        }
        base = inverse.magnitude_;
        negative = false;
    }
    magnitude_ = PowerMod(base, exponent.magnitude_, m);
    negative_ = negative;
    Normalize();
}

void TInteger::NthRoot(int64_t n) {
    if (n < 2 || Sign() <= 0) {
        AssignInt64(0);
        return;
    }
    const size_t bits = BitLength();
    if (static_cast<uint64_t>(n) >= bits) {
        AssignInt64(1);  // x < 2^n
        return;
    }
    magnitude_ = n == 2 ? SquareRoot(magnitude_) : Root(magnitude_, static_cast<uint64_t>(n));
    Normalize();
}

void TInteger::Gcd(const TInteger& other) {
    Limbs a = magnitude_, b = other.magnitude_;
    while (!b.empty()) {
        Limbs r = Remainder(a, b);
        a = std::move(b);
        b = std::move(r);
    }
    magnitude_ = std::move(a);
    negative_ = false;
}

void TInteger::InverseMod(const TInteger& modulus) {
    TInteger m = modulus;
    m.negative_ = false;
    if (IsZero() || m.CompareInt64(1) <= 0) {
        AssignInt64(0);
        return;
    }
    // Extended Euclid on (m, x mod m), following the coefficient of x.
    TInteger a = m, b = *this;
    b.ModBy(m);
    if (b.Sign() < 0) b.Add(m);
    TInteger before(0), coefficient(1);
    while (!b.IsZero()) {
        TInteger rest;
        TInteger q = a;
        q.DivMod(b, rest);
        a = std::move(b);
        b = std::move(rest);
        q.Multiply(coefficient);
        TInteger next = before;
        next.Subtract(q);
        before = std::move(coefficient);
        coefficient = std::move(next);
    }
    if (a.CompareInt64(1) != 0) {
        AssignInt64(0);
        return;
    }
    before.ModBy(m);
    if (before.Sign() < 0) before.Add(m);
    *this = std::move(before);
}

void TInteger::Factorial() {
    if (CompareInt64(2) < 0) {
        AssignInt64(1);
        return;
    }
    const uint64_t n = magnitude_[0];
    if (n > kSwingFactorialLimit) {
        // Machine-word products of consecutive numbers are the leaves of the tree.
        std::vector<Limbs> factors;
        Limb current = 1;
        for (uint64_t i = 2; i <= n; ++i) {
            if (current > ~Limb{0} / i) {
                factors.push_back({current});
                current = 1;
            }
            current *= i;
        }
        factors.push_back({current});
        magnitude_ = ProductTree(std::move(factors));
    } else {
        // n! has n - popcount(n) factors 2.
        const size_t twos = n - static_cast<size_t>(__builtin_popcountll(n));
        magnitude_ = limbs::ShiftLeft(OddFactorial(n, OddPrimesUpTo(n)), twos);
    }
    negative_ = false;
}

bool TInteger::IsProbablePrime(const std::function<bool()>& keepGoing) const {
    if (CompareInt64(2) < 0) return false;
    const Limb lastDigit = ModSmall(magnitude_, 10);
    if (CompareInt64(10) < 0) {
        return lastDigit == 2 || lastDigit == 3 || lastDigit == 5 || lastDigit == 7;
    }
    if (lastDigit != 1 && lastDigit != 3 && lastDigit != 7 && lastDigit != 9) return false;
    if (ModSmall(magnitude_, 3) == 0 || ModSmall(magnitude_, 7) == 0) return false;
    if (CompareInt64(120) <= 0) return true;
    constexpr Limb kTrialBound = 200;
    if (CompareInt64(1000000) < 0) {
        const Limb n = magnitude_[0];
        Limb step = 2;
        for (Limb d = 11; d * d <= n; d += step, step = 6 - step) {
            if (n % d == 0) return false;
        }
        return true;
    }
    Limb step = 2;
    for (Limb d = 11; d < kTrialBound; d += step, step = 6 - step) {
        if (ModSmall(magnitude_, d) == 0) return false;
    }
    const Limbs minusOne = limbs::SubtractMagnitudes(magnitude_, {1});
    size_t twos = 0;
    while (!Bit(minusOne, twos)) ++twos;
    const Limbs oddPart = limbs::ShiftRight(minusOne, twos);
    const limbs::Montgomery mont(magnitude_);
    thread_local std::mt19937_64 random(20260101);
    std::uniform_int_distribution<Limb> pick(2, 999998);
    limbs::WorkCheck check(keepGoing);
    for (int round = 0; round < 10; ++round) {
        if (!MillerRabinRound(magnitude_, oddPart, twos, pick(random), mont, check)) return false;
    }
    return true;
}

TInteger FallingProduct(const TInteger& x, int64_t k) {
    std::vector<TInteger> factors;
    TInteger factor = x;
    for (int64_t i = 0; i < k; ++i) {
        factors.push_back(factor);
        factor.Subtract(TInteger(1));
    }
    if (factors.empty()) return TInteger(1);
    while (factors.size() > 1) {
        std::vector<TInteger> next;
        for (size_t i = 0; i + 1 < factors.size(); i += 2) {
            next.push_back(factors[i]);
            next.back().Multiply(factors[i + 1]);
        }
        if (factors.size() % 2 == 1) next.push_back(factors.back());
        factors = std::move(next);
    }
    return factors.front();
}

}  // namespace bigint
