// Schoolbook arithmetic on digit strings; products and quotients go through base-10^9 limbs.
#include "decimal_arithmetic.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "symbolic_error.h"

namespace symbolic {

namespace {

constexpr uint64_t kLimbBase = 1'000'000'000ULL;
constexpr size_t kLimbDigits = 9;
constexpr size_t kMaxRootDigits = 1000;

std::string Trimmed(std::string digits) {
    const size_t first = digits.find_first_not_of('0');
    return first == std::string::npos ? "0" : digits.substr(first);
}

using Limbs = std::vector<uint64_t>;

// Least significant limb first; zero is one zero limb.
Limbs ToLimbs(const std::string& digits) {
    Limbs limbs;
    for (size_t end = digits.size(); end > 0;) {
        const size_t start = end >= kLimbDigits ? end - kLimbDigits : 0;
        limbs.push_back(std::stoull(digits.substr(start, end - start)));
        end = start;
    }
    return limbs;
}

std::string FromLimbs(const Limbs& limbs) {
    std::string digits;
    for (size_t i = limbs.size(); i-- > 0;) {
        std::string part = std::to_string(limbs[i]);
        if (!digits.empty()) part.insert(0, kLimbDigits - part.size(), '0');
        digits += part;
    }
    return Trimmed(digits);
}

void DropLeadingZeros(Limbs& limbs) {
    while (limbs.size() > 1 && limbs.back() == 0) limbs.pop_back();
}

// Quotient of a / small, remainder in remainder; small < kLimbBase.
Limbs ShortDivision(const Limbs& a, uint64_t small, uint64_t& remainder) {
    Limbs quotient(a.size(), 0);
    remainder = 0;
    for (size_t i = a.size(); i-- > 0;) {
        const uint64_t value = remainder * kLimbBase + a[i];
        quotient[i] = value / small;
        remainder = value % small;
    }
    DropLeadingZeros(quotient);
    return quotient;
}

Limbs MultiplySmall(const Limbs& a, uint64_t small) {
    Limbs product(a.size() + 1, 0);
    uint64_t carry = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        const uint64_t value = a[i] * small + carry;
        product[i] = value % kLimbBase;
        carry = value / kLimbBase;
    }
    product[a.size()] = carry;
    return product;
}

// Schoolbook long division on limbs (Knuth's algorithm D): each quotient limb is estimated from
// the leading limbs and corrected at most twice. b must not be zero.
Limbs LongDivision(const Limbs& a, const Limbs& b, Limbs& remainder) {
    if (b.size() == 1) {
        uint64_t rest = 0;
        Limbs quotient = ShortDivision(a, b[0], rest);
        remainder = {rest};
        return quotient;
    }
    if (a.size() < b.size()) {
        remainder = a;
        return {0};
    }
    // Scaling both makes the divisor's top limb at least half the base, which keeps the
    // estimates close.
    const uint64_t scale = kLimbBase / (b.back() + 1);
    Limbs u = MultiplySmall(a, scale);
    Limbs v = MultiplySmall(b, scale);
    v.pop_back();
    const size_t n = v.size();
    const size_t m = a.size() - n;
    Limbs quotient(m + 1, 0);
    for (size_t j = m + 1; j-- > 0;) {
        const uint64_t top = u[j + n] * kLimbBase + u[j + n - 1];
        uint64_t estimate = top / v[n - 1];
        uint64_t rest = top % v[n - 1];
        while (estimate >= kLimbBase || estimate * v[n - 2] > rest * kLimbBase + u[j + n - 2]) {
            --estimate;
            rest += v[n - 1];
            if (rest >= kLimbBase) break;
        }
        // u[j..j+n] -= estimate * v
        int64_t borrow = 0;
        uint64_t carry = 0;
        for (size_t i = 0; i < n; ++i) {
            const uint64_t product = estimate * v[i] + carry;
            carry = product / kLimbBase;
            int64_t digit =
                static_cast<int64_t>(u[i + j]) - static_cast<int64_t>(product % kLimbBase) - borrow;
            borrow = digit < 0 ? 1 : 0;
            u[i + j] = static_cast<uint64_t>(digit + borrow * static_cast<int64_t>(kLimbBase));
        }
        int64_t topDigit = static_cast<int64_t>(u[j + n]) - static_cast<int64_t>(carry) - borrow;
        if (topDigit < 0) {
            // The estimate was one too large: add v back.
            --estimate;
            uint64_t sumCarry = 0;
            for (size_t i = 0; i < n; ++i) {
                const uint64_t sum = u[i + j] + v[i] + sumCarry;
                u[i + j] = sum % kLimbBase;
                sumCarry = sum / kLimbBase;
            }
            topDigit += static_cast<int64_t>(kLimbBase) + static_cast<int64_t>(sumCarry);
            topDigit %= static_cast<int64_t>(kLimbBase);
        }
        u[j + n] = static_cast<uint64_t>(topDigit);
        quotient[j] = estimate;
    }
    u.resize(n);
    DropLeadingZeros(u);
    uint64_t unused = 0;
    remainder = ShortDivision(u, scale, unused);
    DropLeadingZeros(quotient);
    return quotient;
}

}  // namespace

std::string DecimalArithmetic::Checked(std::string digits) {
    if (digits.size() > kMaxDigits) throw ESymbolicError("number too large");
    return digits;
}

int DecimalArithmetic::Compare(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    const int c = a.compare(b);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

std::string DecimalArithmetic::Add(const std::string& a, const std::string& b) {
    std::string sum;
    int carry = 0;
    for (size_t i = 0; i < std::max(a.size(), b.size()) || carry != 0; ++i) {
        int digit = carry;
        if (i < a.size()) digit += a[a.size() - 1 - i] - '0';
        if (i < b.size()) digit += b[b.size() - 1 - i] - '0';
        sum.push_back(static_cast<char>('0' + digit % 10));
        carry = digit / 10;
    }
    std::reverse(sum.begin(), sum.end());
    return Checked(Trimmed(sum));
}

std::string DecimalArithmetic::Subtract(const std::string& a, const std::string& b) {
    std::string difference;
    int borrow = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        int digit = a[a.size() - 1 - i] - '0' - borrow;
        if (i < b.size()) digit -= b[b.size() - 1 - i] - '0';
        borrow = digit < 0 ? 1 : 0;
        difference.push_back(static_cast<char>('0' + digit + 10 * borrow));
    }
    std::reverse(difference.begin(), difference.end());
    return Trimmed(difference);
}

std::string DecimalArithmetic::Multiply(const std::string& a, const std::string& b) {
    if (a == "0" || b == "0") return "0";
    if (a.size() + b.size() > kMaxDigits + 1) throw ESymbolicError("number too large");
    const std::vector<uint64_t> x = ToLimbs(a);
    const std::vector<uint64_t> y = ToLimbs(b);
    std::vector<uint64_t> product(x.size() + y.size() + 1, 0);
    for (size_t i = 0; i < x.size(); ++i) {
        uint64_t carry = 0;
        for (size_t j = 0; j < y.size(); ++j) {
            const uint64_t value = product[i + j] + x[i] * y[j] + carry;
            product[i + j] = value % kLimbBase;
            carry = value / kLimbBase;
        }
        for (size_t k = i + y.size(); carry != 0; ++k) {
            const uint64_t value = product[k] + carry;
            product[k] = value % kLimbBase;
            carry = value / kLimbBase;
        }
    }
    return Checked(FromLimbs(product));
}

std::pair<std::string, std::string> DecimalArithmetic::Divide(const std::string& a,
                                                              const std::string& b) {
    Limbs remainder;
    const Limbs quotient = LongDivision(ToLimbs(a), ToLimbs(b), remainder);
    return {FromLimbs(quotient), FromLimbs(remainder)};
}

// Euclid on limbs: converting to digits and back at every step would cost more than the step.
std::string DecimalArithmetic::Gcd(std::string a, std::string b) {
    Limbs x = ToLimbs(a);
    Limbs y = ToLimbs(b);
    while (!(y.size() == 1 && y[0] == 0)) {
        Limbs remainder;
        LongDivision(x, y, remainder);
        x = std::move(y);
        y = std::move(remainder);
    }
    return FromLimbs(x);
}

std::string DecimalArithmetic::Power(const std::string& base, const std::string& exponent) {
    if (exponent == "0") return "1";
    if (base == "0" || base == "1") return base;
    // The result has more than (digits of base - 1) * exponent digits.
    if (exponent.size() > 7 || (base.size() - 1) * std::stoull(exponent) > kMaxDigits ||
        (base.size() == 1 && std::stoull(exponent) > kMaxDigits * 4))
        throw ESymbolicError("number too large");
    uint64_t e = std::stoull(exponent);
    std::string result = "1";
    std::string square = base;
    while (true) {
        if (e & 1) result = Multiply(result, square);
        e >>= 1;
        if (e == 0) break;
        square = Multiply(square, square);
    }
    return result;
}

std::optional<std::string> DecimalArithmetic::SquareRoot(const std::string& n) {
    if (n == "0" || n == "1") return n;
    if (n.size() > kMaxRootDigits) return std::nullopt;
    // Newton's iteration from above: x' = (x + n/x) / 2 until it stops decreasing.
    std::string x = "1" + std::string((n.size() + 1) / 2, '0');
    while (true) {
        const std::string next = Divide(Add(x, Divide(n, x).first), "2").first;
        if (Compare(next, x) >= 0) break;
        x = next;
    }
    if (Multiply(x, x) == n) return x;
    return std::nullopt;
}

}  // namespace symbolic
