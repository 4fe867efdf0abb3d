// TPrimes: the 6k +- 1 sieve, divisor functions and partition counts.
#include "bigint/primes.h"

#include <algorithm>
#include <cmath>

namespace bigint {

namespace {

constexpr uint8_t kMaskOfResidue[6] = {0, 2, 4, 8, 0, 32};

__extension__ typedef unsigned __int128 UnsignedWide;

// Trial division is used below this; beyond it a prime test and Pollard's rho
// give the same answers in microseconds instead of seconds.
constexpr uint64_t kTrialDivisionLimit = 1000000000000ULL;
// The largest prime below 2^63.
constexpr int64_t kLargestPrime64 = 9223372036854775783;

uint64_t MultiplyModulo(uint64_t a, uint64_t b, uint64_t n) {
    return static_cast<uint64_t>(static_cast<UnsignedWide>(a) * b % n);
}

// (a + b) mod n without overflow, for a, b < n up to 2^64 - 1.
uint64_t AddModulo(uint64_t a, uint64_t b, uint64_t n) {
    return static_cast<uint64_t>((static_cast<UnsignedWide>(a) + b) % n);
}

uint64_t PowerModulo(uint64_t base, uint64_t exponent, uint64_t n) {
    uint64_t result = 1;
    base %= n;
    for (; exponent != 0; exponent >>= 1) {
        if ((exponent & 1U) != 0) result = MultiplyModulo(result, base, n);
        base = MultiplyModulo(base, base, n);
    }
    return result;
}

bool TrialDivisionPrime(uint64_t n) {
    if (n < 2) return false;
    if (n < 4) return true;
    if (n % 2 == 0 || n % 3 == 0) return false;
    uint64_t step = 2;
    for (uint64_t d = 5; d <= n / d; d += step, step = 6 - step) {
        if (n % d == 0) return false;
    }
    return true;
}

// Miller-Rabin with the first twelve primes as bases: exact below 3.3 * 10^24.
bool IsPrime64(uint64_t n) {
    if (n < kTrialDivisionLimit) return TrialDivisionPrime(n);
    if (n % 2 == 0) return false;
    uint64_t odd = n - 1;
    int twos = 0;
    while (odd % 2 == 0) {
        odd /= 2;
        ++twos;
    }
    for (uint64_t base : {2, 3, 5, 7, 11, 13, 17, 19, 23, 29, 31, 37}) {
        if (n % base == 0) return false;
        uint64_t x = PowerModulo(base, odd, n);
        if (x == 1 || x == n - 1) continue;
        bool composite = true;
        for (int i = 1; i < twos && composite; ++i) {
            x = MultiplyModulo(x, x, n);
            composite = x != n - 1;
        }
        if (composite) return false;
    }
    return true;
}

uint64_t Gcd(uint64_t a, uint64_t b) {
    while (b != 0) {
        const uint64_t r = a % b;
        a = b;
        b = r;
    }
    return a;
}

// A proper divisor of an odd composite n (Brent's rho, x^2 + c for c = 1, 2, ...).
uint64_t SplitOff(uint64_t n) {
    for (uint64_t c = 1;; ++c) {
        uint64_t y = 2, x = 2, saved = 2, product = 1, g = 1;
        for (uint64_t r = 1; g == 1; r *= 2) {
            x = y;
            for (uint64_t i = 0; i < r; ++i) y = AddModulo(MultiplyModulo(y, y, n), c, n);
            for (uint64_t done = 0; done < r && g == 1; done += 64) {
                saved = y;
                for (uint64_t i = 0; i < 64 && done + i < r; ++i) {
                    y = AddModulo(MultiplyModulo(y, y, n), c, n);
                    product = MultiplyModulo(product, x > y ? x - y : y - x, n);
                }
                g = Gcd(product, n);
            }
        }
        if (g == n) {
            do {
                saved = AddModulo(MultiplyModulo(saved, saved, n), c, n);
                g = Gcd(x > saved ? x - saved : saved - x, n);
            } while (g == 1);
        }
        if (g != n) return g;
    }
}

void CollectPrimes(uint64_t n, std::vector<uint64_t>& primes) {
    if (n == 1) return;
    if (IsPrime64(n)) {
        primes.push_back(n);
        return;
    }
    const uint64_t d = SplitOff(n);
    CollectPrimes(d, primes);
    CollectPrimes(n / d, primes);
}

// Prime factors with their exponents, in increasing order.
template <typename Visit>
void Factorise(uint64_t n, Visit visit) {
    std::vector<uint64_t> primes;
    for (uint64_t p : {2, 3, 5, 7, 11, 13, 17, 19, 23, 29, 31, 37}) {
        while (n % p == 0) {
            n /= p;
            primes.push_back(p);
        }
    }
    if (n < kTrialDivisionLimit) {
        uint64_t step = 2;
        for (uint64_t p = 41; p <= n / p; p += step, step = 6 - step) {
            while (n % p == 0) {
                n /= p;
                primes.push_back(p);
            }
        }
        if (n > 1) primes.push_back(n);
    } else {
        CollectPrimes(n, primes);
    }
    std::sort(primes.begin(), primes.end());
    for (size_t i = 0; i < primes.size();) {
        size_t j = i;
        while (j < primes.size() && primes[j] == primes[i]) ++j;
        visit(primes[i], static_cast<int>(j - i));
        i = j;
    }
}

bool Factorable(WideInteger n) {
    return n >= 1 && n <= static_cast<WideInteger>(TPrimes::kMaxFactored);
}

}  // namespace

void TPrimes::BuildSieve(int64_t limit) {
    limit_ = std::clamp<int64_t>(limit, 5, kMaxLimit);
    const size_t blocks = static_cast<size_t>(limit_ / 6 + 1);
    sieve_.assign(blocks, 2 + 32);
    sieve_[0] = 4 + 8 + 32;
    int64_t step = 2;
    for (int64_t p = 5; p <= limit_ / p; p += step, step = 6 - step) {
        if (!Marked(p)) continue;
        // p q for q = p, p + 2, ... of the form 6k +- 1.
        for (int64_t m = p * p; m <= limit_; m += 2 * p) {
            const int residue = static_cast<int>(m % 6);
            if (residue == 1 || residue == 5)
                sieve_[static_cast<size_t>(m / 6)] &= ~kMaskOfResidue[residue];
        }
    }
}

bool TPrimes::Marked(int64_t n) const {
    return (sieve_[static_cast<size_t>(n / 6)] & kMaskOfResidue[n % 6]) != 0;
}

bool TPrimes::IsPrimeSmall(int64_t n) const {
    if (n < 2) return false;
    if (n <= limit_) return Marked(n);
    return IsPrime64(static_cast<uint64_t>(n));
}

int64_t TPrimes::NextPrimeAfter(int64_t n) const {
    if (n < 2) return 2;
    if (n == 2) return 3;
    if (n >= kLargestPrime64) return 0;  // the next prime does not fit
    for (int64_t candidate = n + 1; candidate <= limit_; ++candidate) {
        if (Marked(candidate)) return candidate;
    }
    int64_t candidate = std::max(n, limit_);
    candidate += candidate % 2 == 0 ? 1 : 2;
    while (!IsPrimeSmall(candidate)) candidate += 2;
    return candidate;
}

WideInteger TPrimes::NumberOfDivisors(WideInteger n) {
    if (!Factorable(n)) return 0;
    WideInteger count = 1;
    Factorise(static_cast<uint64_t>(n),
              [&count](uint64_t, int exponent) { count *= exponent + 1; });
    return count;
}

WideInteger TPrimes::SumOfDivisors(WideInteger n) {
    if (!Factorable(n)) return 0;
    // Below 2^64 the sum stays below 2^67.
    WideInteger sum = 1;
    Factorise(static_cast<uint64_t>(n), [&sum](uint64_t p, int exponent) {
        // (p^(e+1) - 1) / (p - 1) as 1 + p + ... + p^e
        WideInteger term = 1, power = 1;
        for (int i = 0; i < exponent; ++i) {
            power *= p;
            term += power;
        }
        sum *= term;
    });
    return sum;
}

WideInteger TPrimes::SumOfProperDivisors(WideInteger n) {
    return Factorable(n) ? SumOfDivisors(n) - n : 0;
}

WideInteger TPrimes::Totient(WideInteger n) {
    if (!Factorable(n)) return 0;
    uint64_t result = static_cast<uint64_t>(n);
    Factorise(result, [&result](uint64_t p, int) { result = result / p * (p - 1); });
    return result;
}

PartitionCount TPrimes::Partitions(int64_t n) {
    if (n <= 0 || n >= 100000) {
        return {0, "fout in partitions: argument moet kleiner zijn dan 100000 en groter dan 0"};
    }
    // Euler's pentagonal-number recurrence.
    std::vector<long double> p(static_cast<size_t>(n) + 1, 0);
    p[0] = 1;
    for (int64_t m = 1; m <= n; ++m) {
        long double sum = 0;
        for (int64_t k = 1;; ++k) {
            const int64_t first = m - k * (3 * k - 1) / 2;
            if (first < 0) break;
            const int64_t second = m - k * (3 * k + 1) / 2;
            long double term = p[static_cast<size_t>(first)];
            if (second >= 0) term += p[static_cast<size_t>(second)];
            sum += k % 2 == 1 ? term : -term;
        }
        p[static_cast<size_t>(m)] = sum;
    }
    return {p[static_cast<size_t>(n)], nullptr};
}

PartitionCount TPrimes::PartitionsDistinct(int64_t n) {
    if (n <= 0 || n >= 20000) {
        return {0,
                "fout in partitions_into_distinct_parts: argument moet kleiner zijn dan 20000 en "
                "groter dan 0"};
    }
    // s(j): the sum of the odd divisors of j; q(m) = (1/m) sum s(j) q(m - j).
    const size_t size = static_cast<size_t>(n) + 1;
    std::vector<int64_t> odd(size, 0);
    for (size_t d = 1; d < size; d += 2) {
        for (size_t j = d; j < size; j += d) odd[j] += static_cast<int64_t>(d);
    }
    std::vector<long double> q(size, 0);
    q[0] = 1;
    for (size_t m = 1; m < size; ++m) {
        long double sum = 0;
        for (size_t j = 1; j <= m; ++j) sum += static_cast<long double>(odd[j]) * q[m - j];
        q[m] = sum / static_cast<long double>(m);
    }
    return {q[static_cast<size_t>(n)], nullptr};
}

PartitionCount TPrimes::PartitionsPrime(int64_t n) {
    if (n <= 0 || n >= 20000) {
        return {0,
                "fout in partitions_into_prime_parts: argument moet kleiner zijn dan 20000 en "
                "groter dan 0"};
    }
    // Ways to write m with the primes seen so far, one prime at a time.
    const size_t size = static_cast<size_t>(n) + 1;
    TPrimes primes;
    primes.BuildSieve(n);
    std::vector<long double> ways(size, 0);
    ways[0] = 1;
    for (int64_t p = 2; p <= n; p = primes.NextPrimeAfter(p)) {
        for (size_t m = static_cast<size_t>(p); m < size; ++m)
            ways[m] += ways[m - static_cast<size_t>(p)];
    }
    return {ways[static_cast<size_t>(n)], nullptr};
}

}  // namespace bigint
