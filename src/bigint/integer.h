// TInteger: an arbitrary-precision signed integer (sign and a magnitude of
// 64-bit limbs). Operations work in place: the receiver becomes the result.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "bigint/integer_error.h"
#include "bigint/limbs.h"

namespace bigint {

// Faults ("Division Overflow" and the internal "Subtract error" and "Difference
// Overflow") are thrown as EIntegerError after the receiver holds what the
// operation could compute; the caller shows the text and goes on.
class TInteger {
public:
    TInteger() = default;
    explicit TInteger(int64_t value) { AssignInt64(value); }

    void AssignInt64(int64_t value);
    // Reads the digits of `text` (every other character is ignored); a "-"
    // anywhere makes the number negative. No digits gives 0.
    void AssignText(const std::string& text);
    void AssignBig(const TInteger& other) { *this = other; }
    // Decimal text, "-" in front when negative; `grouped` puts `separator`
    // between groups of three digits from the right.
    std::string ToText(bool grouped = false, char separator = ',') const;
    std::string ToString() const { return ToText(); }
    bool FitsInt64() const;
    // The value as a 64-bit integer; the caller makes sure it fits.
    int64_t ToInt64() const;
    // The nearest extended value (infinite beyond its range).
    long double ToLongDouble() const;

    // -1, 0 or 1.
    int Compare(const TInteger& other) const;
    int CompareInt64(int64_t value) const { return Compare(TInteger(value)); }
    int CompareAbs(const TInteger& other) const;
    int Sign() const { return magnitude_.empty() ? 0 : (negative_ ? -1 : 1); }
    bool IsOdd() const { return !magnitude_.empty() && (magnitude_.front() & 1U) != 0; }
    bool IsZero() const { return magnitude_.empty(); }
    size_t BitLength() const { return limbs::BitLength(magnitude_); }
    const limbs::Limbs& Magnitude() const { return magnitude_; }

    void Negate() { negative_ = !negative_ && !magnitude_.empty(); }
    void Add(const TInteger& other);
    void Subtract(const TInteger& other);
    void Multiply(const TInteger& other);
    void Square();
    // Truncated division: the quotient rounds toward zero and the remainder
    // has the sign of the dividend, so x = q y + r always holds. A zero
    // divisor gives quotient 0 and remainder x, and throws "Division Overflow".
    void DivideBy(const TInteger& divisor);
    void ModBy(const TInteger& divisor);
    void DivMod(const TInteger& divisor, TInteger& remainder);
    // Division by a machine integer: by 0 or 1 nothing changes and the
    // remainder is 0; by 2 the remainder is the parity 0 or 1 whatever the
    // sign; otherwise truncated as DivMod.
    void DivideInt64(int64_t divisor, int64_t& remainder);
    // x^n; exponent 0 gives 1. A negative exponent gives the truncated value
    // of 1 / x^|n|: 1 or -1 for x = 1 or -1, otherwise 0.
    void Power(int64_t exponent);
    // x^e mod m with the sign of x^e (the remainder of DivMod). A negative e
    // uses the inverse of x (0 when there is none); m = 0 throws "Division
    // Overflow" and leaves x unchanged.
    void ModPow(const TInteger& exponent, const TInteger& modulus);
    // The integer n-th root; 0 when n < 2 or x <= 0.
    void NthRoot(int64_t n);
    void Sqrt() { NthRoot(2); }
    // The greatest common divisor, never negative; gcd(x, 0) = |x|.
    void Gcd(const TInteger& other);
    // The inverse of x modulo |m| in 0 .. |m|-1, or 0 when there is none.
    void InverseMod(const TInteger& modulus);
    // x! (1 for x <= 1). The caller limits x: the result has about x log2(x) bits.
    void Factorial();
    // Last digit and small-divisor checks, then 10 Miller-Rabin rounds.
    // Numbers below 2 are not prime. On long tests `keepGoing` is asked every few
    // milliseconds of work; when it says false the test ends at once, with false.
    bool IsProbablePrime(const std::function<bool()>& keepGoing = {}) const;

    friend bool operator==(const TInteger& a, const TInteger& b) { return a.Compare(b) == 0; }

    // For the kernels of this layer.
    static TInteger FromMagnitude(limbs::Limbs magnitude, bool negative = false);

private:
    void Normalize();

    limbs::Limbs magnitude_;  // least significant first; empty means zero
    bool negative_ = false;
};

// x (x - 1) ... (x - k + 1), multiplied as a balanced tree; 1 for k <= 0.
TInteger FallingProduct(const TInteger& x, int64_t k);

}  // namespace bigint
