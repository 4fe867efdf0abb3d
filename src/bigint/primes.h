// TPrimes: a sieve of the numbers 6k +- 1, prime walks, divisor sums, Euler's
// totient and the three partition counts, for the prime and divisor functions.
#pragma once

#include <cstdint>
#include <vector>

namespace bigint {

__extension__ typedef __int128 WideInteger;

// A partition count; `message` is set (and value 0) outside the defined range.
struct PartitionCount {
    long double value = 0;
    const char* message = nullptr;
};

class TPrimes {
public:
    // Larger requests are cut to this (a byte per six numbers).
    static constexpr int64_t kMaxLimit = 600000000;

    TPrimes() { BuildSieve(5); }
    // (Re)builds the sieve for 0 .. limit.
    void BuildSieve(int64_t limit);
    int64_t Limit() const { return limit_; }
    // Table lookup inside the sieve; beyond it trial division, or for numbers
    // from 10^12 on a Miller-Rabin test that is exact for 64-bit numbers. Below 2: false.
    bool IsPrimeSmall(int64_t n) const;
    // The smallest prime greater than n (2 for n < 2); 0 when it is beyond 2^63.
    int64_t NextPrimeAfter(int64_t n) const;

    // The divisor functions factor n up to this (the largest 64-bit number).
    static constexpr uint64_t kMaxFactored = UINT64_MAX;
    // By the factorisation of n (trial division, Pollard's rho for large factors),
    // exact: 128 bits hold every result. 0 for n < 1 and beyond kMaxFactored.
    static WideInteger NumberOfDivisors(WideInteger n);
    static WideInteger SumOfDivisors(WideInteger n);
    static WideInteger SumOfProperDivisors(WideInteger n);
    static WideInteger Totient(WideInteger n);

    // Defined for 0 < n < 100000 (Partitions) and 0 < n < 20000 (the others).
    static PartitionCount Partitions(int64_t n);
    static PartitionCount PartitionsDistinct(int64_t n);
    static PartitionCount PartitionsPrime(int64_t n);

private:
    bool Marked(int64_t n) const;

    int64_t limit_ = 0;
    // Block b covers 6b .. 6b+5: bit 2 marks 6b+1 and bit 32 marks 6b+5 as
    // prime; bits 4 and 8 of block 0 mark 2 and 3.
    std::vector<uint8_t> sieve_;
};

}  // namespace bigint
