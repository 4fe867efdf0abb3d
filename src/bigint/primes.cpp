// TPrimes: the 6k +- 1 sieve, divisor functions and partition counts.
#include "bigint/primes.h"

#include <algorithm>
#include <cmath>

namespace bigint {

namespace {

__extension__ typedef __int128 Wide;

constexpr uint8_t kMaskOfResidue[6] = {0, 2, 4, 8, 0, 32};

// Prime factors with their exponents, by trial division 2, 3, 5, 7, 11, ...
template <typename Visit>
void Factorise(int64_t n, Visit visit) {
    const auto take = [&n, &visit](int64_t p) {
        int exponent = 0;
        while (n % p == 0) {
            n /= p;
            ++exponent;
        }
        if (exponent > 0) visit(p, exponent);
    };
    take(2);
    take(3);
    int64_t step = 2;
    for (int64_t p = 5; p <= n / p; p += step, step = 6 - step) take(p);
    if (n > 1) visit(n, 1);
}

int64_t Saturate(Wide value) {
    constexpr Wide kMax = INT64_MAX;
    return static_cast<int64_t>(std::min(value, kMax));
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
    if (n % 2 == 0 || n % 3 == 0) return false;
    int64_t step = 2;
    for (int64_t d = 5; d <= n / d; d += step, step = 6 - step) {
        if (n % d == 0) return false;
    }
    return true;
}

int64_t TPrimes::NextPrimeAfter(int64_t n) const {
    if (n < 2) return 2;
    if (n == 2) return 3;
    for (int64_t candidate = n + 1; candidate <= limit_; ++candidate) {
        if (Marked(candidate)) return candidate;
    }
    int64_t candidate = std::max(n, limit_);
    candidate += candidate % 2 == 0 ? 1 : 2;
    while (!IsPrimeSmall(candidate)) candidate += 2;
    return candidate;
}

int64_t TPrimes::NumberOfDivisors(int64_t n) {
    if (n < 1) return 0;
    int64_t count = 1;
    Factorise(n, [&count](int64_t, int exponent) { count *= exponent + 1; });
    return count;
}

int64_t TPrimes::SumOfDivisors(int64_t n) {
    if (n < 1) return 0;
    Wide sum = 1;
    Factorise(n, [&sum](int64_t p, int exponent) {
        // (p^(e+1) - 1) / (p - 1) as 1 + p + ... + p^e
        Wide term = 1, power = 1;
        for (int i = 0; i < exponent; ++i) {
            power *= p;
            term += power;
        }
        sum *= term;
    });
    return Saturate(sum);
}

int64_t TPrimes::SumOfProperDivisors(int64_t n) {
    return n < 1 ? 0 : SumOfDivisors(n) - n;
}

int64_t TPrimes::Totient(int64_t n) {
    if (n < 1) return 0;
    int64_t result = n;
    Factorise(n, [&result](int64_t p, int) { result = result / p * (p - 1); });
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
