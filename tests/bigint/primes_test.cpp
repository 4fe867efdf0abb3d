// TPrimes and the factoring helpers: sieve, divisor functions, partitions, factor#.
#include <gtest/gtest.h>

#include <climits>

#include "bigint/factoring.h"
#include "bigint/primes.h"

namespace {

using bigint::TInteger;
using bigint::TPrimes;

TEST(PrimesTest, SieveAgreesWithTrialDivision) {
    TPrimes sieve;
    sieve.BuildSieve(300000);
    TPrimes small;  // limit 5: everything beyond is trial division
    EXPECT_EQ(small.Limit(), 5);
    int count = 0;
    for (int64_t n = -5; n <= 300000; ++n) {
        ASSERT_EQ(sieve.IsPrimeSmall(n), small.IsPrimeSmall(n)) << n;
        if (sieve.IsPrimeSmall(n)) ++count;
    }
    EXPECT_EQ(count, 25997);  // pi(300000)
    EXPECT_TRUE(sieve.IsPrimeSmall(1000003));
    EXPECT_TRUE(sieve.IsPrimeSmall(9223372036854775783));
    EXPECT_FALSE(sieve.IsPrimeSmall(3825123056546413051));  // a strong pseudoprime to bases 2..23
    EXPECT_EQ(sieve.NextPrimeAfter(1000000000000000000), 1000000000000000003);
    EXPECT_EQ(sieve.NextPrimeAfter(9223372036854775782), 9223372036854775783);
    EXPECT_EQ(sieve.NextPrimeAfter(9223372036854775783), 0);
    EXPECT_EQ(sieve.NextPrimeAfter(INT64_MAX), 0);
    EXPECT_FALSE(sieve.IsPrimeSmall(1000005));
    for (const TPrimes* primes : {&sieve, &small}) {
        EXPECT_EQ(primes->NextPrimeAfter(-10), 2);
        EXPECT_EQ(primes->NextPrimeAfter(2), 3);
        EXPECT_EQ(primes->NextPrimeAfter(3), 5);
        EXPECT_EQ(primes->NextPrimeAfter(13), 17);
        EXPECT_EQ(primes->NextPrimeAfter(299993), 300007);
        EXPECT_EQ(primes->NextPrimeAfter(1000000), 1000003);
    }
}

TEST(PrimesTest, DivisorFunctions) {
    EXPECT_EQ(TPrimes::NumberOfDivisors(360), 24);
    EXPECT_EQ(TPrimes::SumOfDivisors(360), 1170);
    EXPECT_EQ(TPrimes::SumOfProperDivisors(28), 28);
    EXPECT_EQ(TPrimes::Totient(36), 12);
    EXPECT_EQ(TPrimes::Totient(1), 1);
    EXPECT_EQ(TPrimes::Totient(999983), 999982);
    EXPECT_EQ(TPrimes::SumOfDivisors(1), 1);
    // Large arguments are factored in microseconds, not by a billion trial divisions.
    const int64_t twoPrimes = 998244359987710471;  // 1000000007 * 998244353
    EXPECT_EQ(TPrimes::NumberOfDivisors(twoPrimes), 4);
    EXPECT_EQ(TPrimes::SumOfDivisors(twoPrimes), 998244361985954832);
    EXPECT_EQ(TPrimes::Totient(twoPrimes), 998244357989466112);
    EXPECT_EQ(TPrimes::Totient(9223372036854775783), 9223372036854775782);
    EXPECT_EQ(TPrimes::NumberOfDivisors(4611686014132420609), 3);  // (2^31 - 1)^2
    EXPECT_EQ(TPrimes::SumOfProperDivisors(4611686014132420609), 2147483648);
    for (int64_t bad : {0, -12}) {
        EXPECT_EQ(TPrimes::NumberOfDivisors(bad), 0);
        EXPECT_EQ(TPrimes::Totient(bad), 0);
    }
}

TEST(PrimesTest, PartitionCountsAndTheirLimits) {
    EXPECT_EQ(TPrimes::Partitions(5).value, 7);
    EXPECT_EQ(TPrimes::Partitions(100).value, 190569292);
    // The alternating sums cancel: extended precision keeps about eight digits here.
    EXPECT_NEAR(TPrimes::Partitions(1000).value / 2.4061467864032622473692149727991e31L, 1, 1e-7);
    EXPECT_EQ(TPrimes::PartitionsDistinct(10).value, 10);
    EXPECT_EQ(TPrimes::PartitionsDistinct(100).value, 444793);
    EXPECT_EQ(TPrimes::PartitionsPrime(10).value, 5);
    EXPECT_EQ(TPrimes::PartitionsPrime(100).value, 40899);
    EXPECT_EQ(TPrimes::Partitions(1).message, nullptr);

    const auto partitions = TPrimes::Partitions(100000);
    EXPECT_EQ(partitions.value, 0);
    EXPECT_STREQ(partitions.message,
                 "fout in partitions: argument moet kleiner zijn dan 100000 en groter dan 0");
    // A huge argument is refused at once rather than filling the memory.
    EXPECT_STREQ(TPrimes::Partitions(1000000000).message, partitions.message);
    EXPECT_STREQ(TPrimes::PartitionsDistinct(0).message,
                 "fout in partitions_into_distinct_parts: argument moet kleiner zijn dan 20000 en "
                 "groter dan 0");
    EXPECT_STREQ(TPrimes::PartitionsPrime(1000000000).message,
                 "fout in partitions_into_prime_parts: argument moet kleiner zijn dan 20000 en "
                 "groter dan 0");
}

std::string FactorOf(const char* text, double seconds = 20) {
    TInteger x;
    x.AssignText(text);
    bigint::FindFactor(x, seconds, [] { return true; });
    return x.ToText();
}

TEST(FactoringTest, FactorSteps) {
    EXPECT_EQ(FactorOf("91"), "7");
    EXPECT_EQ(FactorOf("97"), "97");
    EXPECT_EQ(FactorOf("-97"), "97");
    EXPECT_EQ(FactorOf("-91"), "7");
    EXPECT_EQ(FactorOf("1000000"), "2");
    EXPECT_EQ(FactorOf("0"), "0");
    EXPECT_EQ(FactorOf("1"), "1");
    EXPECT_EQ(FactorOf("-1"), "-1");
    EXPECT_EQ(FactorOf("39997"), "23");                        // 23 * 37 * 47
    EXPECT_EQ(FactorOf("1600000009"), "1600000009");           // prime
    EXPECT_EQ(FactorOf("2560000028800000081"), "1600000009");  // its square
}

TEST(FactoringTest, RhoSplitsAProductOfTwelveDigitPrimes) {
    const std::string factor = FactorOf("1000000000100000000002379");  // (10^12+39)(10^12+61)
    EXPECT_TRUE(factor == "1000000000039" || factor == "1000000000061") << factor;
}

TEST(FactoringTest, RhoKeepsToItsBudget) {
    TInteger n;
    n.AssignText("1000000000100000000002379");
    EXPECT_FALSE(bigint::PollardRho(n, 0, [] { return true; }));
    EXPECT_FALSE(bigint::PollardRho(n, 20, [] { return false; }));  // a stop request
    EXPECT_EQ(n.ToText(), "1000000000100000000002379");
    int steps = 0;
    EXPECT_TRUE(bigint::PollardRho(n, 20, [&steps] { return ++steps > 0; }));
    EXPECT_GT(steps, 1);
}

}  // namespace
