// Pollard's rho in Montgomery form and the trial division of factor#.
#include "bigint/factoring.h"

#include <algorithm>
#include <chrono>

#include "bigint/montgomery.h"

namespace bigint {

using limbs::Limb;
using limbs::Limbs;

namespace {

// Iterations between two gcds (and two calls of the step function).
constexpr size_t kBatch = 128;
constexpr Limb kTrialLimit = 40000;

class RhoMap {
public:
    explicit RhoMap(const Limbs& n) : mont_(n), three_(mont_.ToForm({3})), size_(n.size()) {}
    size_t Size() const { return size_; }
    const limbs::Montgomery& Mont() const { return mont_; }
    // x := x^2 + 3 (mod n), in Montgomery form; x is undefined once `check` stops.
    void Next(Limbs& x, limbs::WorkCheck& check) const {
        mont_.Multiply(x.data(), x.data(), x.data(), &check);
        AddModulo(x, three_);
    }
    // d := |x - y|
    void Difference(const Limbs& x, const Limbs& y, Limbs& d) const {
        if (limbs::CompareMagnitudes(x.data(), size_, y.data(), size_) >= 0) {
            limbs::Subtract(d.data(), x.data(), size_, y.data(), size_);
        } else {
            limbs::Subtract(d.data(), y.data(), size_, x.data(), size_);
        }
    }

private:
    void AddModulo(Limbs& x, const Limbs& y) const {
        const Limb carry = limbs::Add(x.data(), x.data(), size_, y.data(), size_);
        const Limbs& m = mont_.Modulus();
        if (carry != 0 || limbs::CompareMagnitudes(x.data(), size_, m.data(), size_) >= 0) {
            limbs::Subtract(x.data(), x.data(), size_, m.data(), size_);
        }
    }

    limbs::Montgomery mont_;
    Limbs three_;
    size_t size_;
};

TInteger GcdWith(const Limbs& value, const TInteger& n) {
    TInteger g = TInteger::FromMagnitude(value);
    g.Gcd(n);
    return g;
}

}  // namespace

bool PollardRho(TInteger& n, double seconds, const SearchStep& step) {
    const auto start = std::chrono::steady_clock::now();
    const auto inTime = [&start, seconds] {
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        return elapsed.count() < seconds;
    };
    if (!inTime()) return false;
    TInteger size = n;
    if (size.Sign() < 0) size.Negate();
    if (size.CompareInt64(4) < 0) return false;
    if (!size.IsOdd()) {
        n.AssignInt64(2);
        return true;
    }
    const RhoMap map(size.Magnitude());
    const size_t k = map.Size();
    // Products of numbers of millions of digits take seconds each: the time and
    // the caller are asked within them too.
    const std::function<bool()> goOn = [&inTime, &step] { return inTime() && step(); };
    limbs::WorkCheck check(goOn);
    Limbs y = map.Mont().ToForm({2}), x = y, saved = y, product = map.Mont().ToForm({1});
    Limbs difference(k);
    TInteger g(1);
    for (size_t r = 1; g.CompareInt64(1) == 0; r *= 2) {
        x = y;
        for (size_t i = 0; i < r; ++i) {
            map.Next(y, check);
            if (check.Stopped()) return false;
        }
        for (size_t done = 0; done < r && g.CompareInt64(1) == 0; done += kBatch) {
            if (!inTime() || !step()) return false;
            saved = y;
            for (size_t i = 0; i < std::min(kBatch, r - done); ++i) {
                map.Next(y, check);
                map.Difference(x, y, difference);
                map.Mont().Multiply(product.data(), product.data(), difference.data(), &check);
                if (check.Stopped()) return false;
            }
            g = GcdWith(product, size);
        }
    }
    if (g == size) {
        // The batch hid the divisor: walk it again one step at a time.
        do {
            map.Next(saved, check);
            if (check.Stopped()) return false;
            map.Difference(x, saved, difference);
            g = GcdWith(difference, size);
        } while (g.CompareInt64(1) == 0);
    }
    if (g == size) return false;  // the walk closed its cycle without a divisor
    n = g;
    return true;
}

void FindFactor(TInteger& x, double seconds, const SearchStep& step) {
    TInteger n = x;
    if (n.Sign() < 0) n.Negate();
    if (n.CompareInt64(1) <= 0) return;
    if (n.IsProbablePrime(step)) {
        x = n;
        return;
    }
    if (!step()) return;  // stopped during the prime test
    for (Limb d : {Limb{2}, Limb{3}}) {
        TInteger rest = n;
        int64_t remainder = 0;
        rest.DivideInt64(static_cast<int64_t>(d), remainder);
        if (remainder == 0) {
            x.AssignInt64(static_cast<int64_t>(d));
            return;
        }
    }
    for (Limb d = 5; d < kTrialLimit; d += 2) {
        if (d % 1024 == 1 && !step()) return;  // each division is long for long numbers
        TInteger rest = n;
        int64_t remainder = 0;
        rest.DivideInt64(static_cast<int64_t>(d), remainder);
        if (remainder == 0) {
            x.AssignInt64(static_cast<int64_t>(d));
            return;
        }
        if (rest.CompareInt64(static_cast<int64_t>(d)) < 0) break;  // past the square root
    }
    if (PollardRho(n, seconds, step)) x = n;
}

}  // namespace bigint
