// TInteger: the observable rules of text, signs, division, roots and the prime test.
#include <gtest/gtest.h>

#include <climits>

#include "bigint/integer.h"

namespace {

using bigint::EIntegerError;
using bigint::TInteger;

TInteger Of(const char* text) {
    TInteger x;
    x.AssignText(text);
    return x;
}

std::string Text(TInteger x) {
    return x.ToText();
}

TEST(IntegerTest, TextReadsOnlyDigitsAndMinus) {
    EXPECT_EQ(Of("-12,345,678,901").ToText(), "-12345678901");
    EXPECT_EQ(Of("-12,345,678,901").ToText(true), "-12,345,678,901");
    EXPECT_EQ(Of("12345678901").ToText(true, '.'), "12.345.678.901");
    EXPECT_EQ(Of("123").ToText(true), "123");
    EXPECT_EQ(Of("2^10").ToText(), "210");
    EXPECT_EQ(Of("00042").ToText(), "42");
    for (const char* empty : {"", "abc", "-", "-0", "000"}) {
        EXPECT_EQ(Of(empty).Sign(), 0) << empty;
        EXPECT_EQ(Of(empty).ToText(), "0") << empty;
    }
    // Chunk borders of the conversion: 19 digits to a chunk.
    const std::string nines(38, '9');
    EXPECT_EQ(Of(nines.c_str()).ToText(), nines);
    EXPECT_EQ(Of(("1" + std::string(19, '0')).c_str()).ToText(), "1" + std::string(19, '0'));
}

TEST(IntegerTest, MachineValues) {
    TInteger x(INT64_MIN);
    EXPECT_EQ(x.ToText(), "-9223372036854775808");
    EXPECT_TRUE(x.FitsInt64());
    EXPECT_EQ(x.ToInt64(), INT64_MIN);
    EXPECT_FALSE(Of("9223372036854775808").FitsInt64());
    EXPECT_EQ(Of("-123456789012").ToLongDouble(), -123456789012.0L);
    EXPECT_EQ(Of(("1" + std::string(30, '0')).c_str()).ToLongDouble(), 1e30L);
    EXPECT_EQ(TInteger(5).CompareInt64(7), -1);
    EXPECT_EQ(Of("-9").CompareAbs(TInteger(3)), 1);
}

TEST(IntegerTest, DivisionTruncatesAndRemainderFollowsTheDividend) {
    TInteger x = Of("100000000000000000000"), r;
    TInteger q = x;
    q.DivMod(TInteger(7), r);
    EXPECT_EQ(q.ToText(), "14285714285714285714");
    EXPECT_EQ(r.ToText(), "2");
    // x = q y + r for every sign combination (the remainder keeps x's sign).
    const int64_t table[][4] = {{7, 2, 3, 1}, {7, -2, -3, 1}, {-7, 2, -3, -1}, {-7, -2, 3, -1}};
    for (const auto& row : table) {
        TInteger quotient(row[0]), remainder;
        quotient.DivMod(TInteger(row[1]), remainder);
        EXPECT_EQ(quotient.ToInt64(), row[2]) << row[0] << " / " << row[1];
        EXPECT_EQ(remainder.ToInt64(), row[3]) << row[0] << " / " << row[1];
        TInteger m(row[0]);
        m.ModBy(TInteger(row[1]));
        EXPECT_EQ(m.ToInt64(), row[3]);
    }
    // Limbs (0, 0, 2^63, 2^63 - 1) / (1, 0, 2^63): the first quotient estimate is one
    // too large and the divisor must be added back.
    TInteger u =
        Of("57896044618658097708646941636650613544717097621216448811677614281724547563520");
    TInteger back;
    u.DivMod(Of("3138550867693340381917894711603833208051177722232017256449"), back);
    EXPECT_EQ(u.ToText(), "18446744073709551614");
    EXPECT_EQ(back.ToText(), "3138550867693340381917894711603833208032730978158307704834");

    // A zero divisor: quotient 0, remainder x, and the message.
    TInteger a(42), rest;
    try {
        a.DivMod(TInteger(0), rest);
        ADD_FAILURE() << "no error";
    } catch (const EIntegerError& e) {
        EXPECT_STREQ(e.what(), "Division Overflow");
    }
    EXPECT_EQ(a.ToText(), "0");
    EXPECT_EQ(rest.ToText(), "42");
    TInteger b(42);
    EXPECT_THROW(b.ModBy(TInteger(0)), EIntegerError);
    EXPECT_EQ(b.ToText(), "42");
}

TEST(IntegerTest, DivideByMachineInteger) {
    const int64_t table[][4] = {{-7, 0, -7, 0},  {-7, 1, -7, 0}, {-7, 2, -3, 1},
                                {-7, 3, -2, -1}, {7, -3, -2, 1}, {-7, -1, 7, 0}};
    for (const auto& row : table) {
        TInteger x(row[0]);
        int64_t remainder = 99;
        x.DivideInt64(row[1], remainder);
        EXPECT_EQ(x.ToInt64(), row[2]) << row[0] << " / " << row[1];
        EXPECT_EQ(remainder, row[3]) << row[0] << " / " << row[1];
    }
    TInteger big = Of("123456789012345678901234567890");
    int64_t remainder = 0;
    big.DivideInt64(1000000007, remainder);
    EXPECT_EQ(big.ToText(), "123456788148148161864");
    EXPECT_EQ(remainder, 197434842);
}

TEST(IntegerTest, Powers) {
    TInteger x(12345);
    x.Power(0);
    EXPECT_EQ(Text(x), "1");
    const int64_t negative[][3] = {{2, -1, 0}, {1, -5, 1}, {-1, -3, -1}, {-1, -2, 1}, {0, -1, 0}};
    for (const auto& row : negative) {
        TInteger y(row[0]);
        y.Power(row[1]);
        EXPECT_EQ(y.ToInt64(), row[2]) << row[0] << "^" << row[1];
    }
    TInteger minusTwo(-2);
    minusTwo.Power(63);
    EXPECT_EQ(Text(minusTwo), "-9223372036854775808");
    TInteger two(2);
    two.Power(200);
    EXPECT_EQ(Text(two), "1606938044258990275541962092341162602522202993782792835301376");

    // ModPow(3, 200, 1000007) against repeated multiplication.
    TInteger expected(1);
    for (int i = 0; i < 200; ++i) {
        expected.Multiply(TInteger(3));
        expected.ModBy(TInteger(1000007));
    }
    TInteger three(3);
    three.ModPow(TInteger(200), TInteger(1000007));
    EXPECT_EQ(three, expected);
    TInteger even(3);
    even.ModPow(TInteger(200), TInteger(1000000));
    EXPECT_EQ(Text(even), "44001");

    TInteger unchanged(5);
    EXPECT_THROW(unchanged.ModPow(TInteger(3), TInteger(0)), EIntegerError);
    EXPECT_EQ(Text(unchanged), "5");
    TInteger one(5);
    one.ModPow(TInteger(0), TInteger(1));
    EXPECT_EQ(Text(one), "0");
    TInteger inverse(3);
    inverse.ModPow(TInteger(-1), TInteger(7));
    EXPECT_EQ(Text(inverse), "5");
    TInteger none(2);
    none.ModPow(TInteger(-1), TInteger(4));
    EXPECT_EQ(Text(none), "0");
}

TEST(IntegerTest, RootsGcdAndInverses) {
    const struct {
        const char* x;
        int64_t n;
        const char* root;
    } roots[] = {{"100000000000000000000", 2, "10000000000"},
                 {"99999999999999999999", 2, "9999999999"},
                 {"1", 2, "1"},
                 {"-16", 2, "0"},
                 {"0", 3, "0"},
                 {"1000", 1, "0"},
                 {"1000", 0, "0"},
                 {"1023", 10, "1"},
                 {"1024", 10, "2"},
                 {"1000000000000000000000000000000", 3, "10000000000"},
                 {"999999999999999999999999999999", 3, "9999999999"}};
    for (const auto& row : roots) {
        TInteger x = Of(row.x);
        x.NthRoot(row.n);
        EXPECT_EQ(Text(x), row.root) << row.x << " root " << row.n;
    }
    TInteger g(-12);
    g.Gcd(TInteger(18));
    EXPECT_EQ(Text(g), "6");
    TInteger zero(-12);
    zero.Gcd(TInteger(0));
    EXPECT_EQ(Text(zero), "12");

    const int64_t inverses[][3] = {{3, 7, 5}, {-3, 7, 2}, {6, 9, 0},  {0, 7, 0},
                                   {5, 1, 0}, {5, 0, 0},  {3, -7, 5}, {10, 7, 5}};
    for (const auto& row : inverses) {
        TInteger x(row[0]);
        x.InverseMod(TInteger(row[1]));
        EXPECT_EQ(x.ToInt64(), row[2]) << row[0] << " mod " << row[1];
    }
}

TEST(IntegerTest, FactorialAndPrimes) {
    const struct {
        int64_t n;
        const char* value;
    } factorials[] = {{-3, "1"},
                      {0, "1"},
                      {1, "1"},
                      {20, "2432902008176640000"},
                      {25, "15511210043330985984000000"}};
    for (const auto& row : factorials) {
        TInteger x(row.n);
        x.Factorial();
        EXPECT_EQ(Text(x), row.value) << row.n;
    }
    for (const char* prime : {"2", "3", "5", "7", "11", "101", "1000003", "999983",
                              "170141183460469231731687303715884105727"}) {
        EXPECT_TRUE(Of(prime).IsProbablePrime()) << prime;
    }
    // 561 and 41041 are Carmichael numbers; negative numbers are never prime.
    for (const char* composite :
         {"0", "1", "121", "1000001", "561", "41041", "-7", "-2", "25", "1000000007000000063",
          "170141183460469231731687303715884105729"}) {
        EXPECT_FALSE(Of(composite).IsProbablePrime()) << composite;
    }
}

TEST(IntegerTest, EveryFaultHasItsText) {
    using bigint::IntegerFault;
    EXPECT_STREQ(EIntegerError(IntegerFault::Subtract).what(), "Subtract error");
    EXPECT_STREQ(EIntegerError(IntegerFault::Difference).what(), "Difference Overflow");
    EXPECT_STREQ(EIntegerError(IntegerFault::Division).what(), "Division Overflow");
}

}  // namespace
