// TInteger: decimal text, comparison, addition and division.
#include "bigint/integer.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace bigint {

using limbs::Limb;
using limbs::Limbs;

namespace {

// Decimal text is cut into chunks of 19 digits, one limb each.
constexpr Limb kChunk = 10000000000000000000ULL;
constexpr size_t kChunkDigits = 19;
// Below this many limbs, text is read chunk by chunk.
constexpr size_t kTextBasecaseLimbs = 40;
// Below this many limbs, digits are written chunk by chunk: each chunk costs a
// pass over the whole number, so the splits pay off early (measured).
constexpr size_t kDigitsBasecaseLimbs = 8;

// 10^(19 * 2^j) and floor(2^(2 s) / 10^(19 * 2^j)) with s its bit length; each
// thread keeps its own, as they grow with the largest number converted.
struct PowerCache {
    std::vector<Limbs> powers;
    std::vector<Limbs> reciprocals;

    const Limbs& Power(size_t j) {
        if (powers.empty()) powers.push_back({kChunk});
        while (powers.size() <= j) powers.push_back(limbs::Square(powers.back()));
        return powers[j];
    }
    const Limbs& Reciprocal(size_t j) {
        if (reciprocals.size() <= j) reciprocals.resize(j + 1);
        if (reciprocals[j].empty()) {
            const Limbs& p = Power(j);
            reciprocals[j] = limbs::Reciprocal(p, 2 * limbs::BitLength(p));
        }
        return reciprocals[j];
    }
};

PowerCache& Cache() {
    thread_local PowerCache cache;
    return cache;
}

// x = q * 10^(19 * 2^j) + r for x below the square of that power.
void SplitAtPower(const Limbs& x, size_t j, Limbs& q, Limbs& r) {
    PowerCache& cache = Cache();
    const Limbs& p = cache.Power(j);
    const Limbs& inverse = cache.Reciprocal(j);
    const size_t s = limbs::BitLength(p);
    // q has at most t bits. Cutting both factors to about t bits keeps the
    // estimate below the quotient by less than two more units; for a short
    // quotient the product shrinks from t by s to t by t bits.
    const size_t bits = limbs::BitLength(x);
    const size_t t = bits > s ? bits - s + 1 : 1;
    const size_t cutX = s - 2, cutInverse = s > t + 1 ? s - t - 1 : 0;
    q = limbs::ShiftRight(
        limbs::Multiply(limbs::ShiftRight(x, cutX), limbs::ShiftRight(inverse, cutInverse)),
        2 * s - cutX - cutInverse);
    r = limbs::SubtractMagnitudes(x, limbs::Multiply(q, p));
    while (limbs::CompareMagnitudes(r, p) >= 0) {
        r = limbs::SubtractMagnitudes(r, p);
        q = limbs::AddMagnitudes(q, Limbs{1});
    }
}

void AppendChunk(std::string& out, Limb chunk, size_t width) {
    char buffer[24];
    size_t length = 0;
    while (chunk != 0) {
        buffer[length++] = static_cast<char>('0' + chunk % 10);
        chunk /= 10;
    }
    if (width > length) out.append(width - length, '0');
    while (length > 0) out += buffer[--length];
}

// Appends the digits of x, left-padded with zeros to `width` (0: no padding).
void AppendDigits(const Limbs& x, size_t level, size_t width, std::string& out) {
    if (x.size() <= kDigitsBasecaseLimbs || level == 0) {
        Limbs rest = x;
        std::vector<Limb> chunks;
        while (!rest.empty()) chunks.push_back(limbs::DivideSmall(rest, kChunk));
        std::string digits;
        for (size_t i = chunks.size(); i-- > 0;) {
            AppendChunk(digits, chunks[i], i + 1 == chunks.size() ? 0 : kChunkDigits);
        }
        if (width > digits.size()) out.append(width - digits.size(), '0');
        out += digits;
        return;
    }
    const size_t lowDigits = kChunkDigits << (level - 1);
    if (limbs::CompareMagnitudes(x, Cache().Power(level - 1)) < 0) {
        AppendDigits(x, level - 1, width, out);
        return;
    }
    Limbs q, r;
    SplitAtPower(x, level - 1, q, r);
    AppendDigits(q, level - 1, width > lowDigits ? width - lowDigits : 0, out);
    AppendDigits(r, level - 1, lowDigits, out);
}

// The value of a run of decimal digits.
Limbs FromDigits(const char* digits, size_t count) {
    if (count <= kChunkDigits * kTextBasecaseLimbs) {
        Limbs x;
        size_t i = 0;
        while (i < count) {
            const size_t take =
                i == 0 && count % kChunkDigits != 0 ? count % kChunkDigits : kChunkDigits;
            Limb chunk = 0, scale = 1;
            for (size_t k = 0; k < take; ++k) {
                chunk = chunk * 10 + static_cast<Limb>(digits[i + k] - '0');
                scale *= 10;
            }
            x = limbs::MultiplySmall(x, scale, chunk);
            i += take;
        }
        return x;
    }
    size_t level = 0;
    while ((kChunkDigits << (level + 1)) < count) ++level;
    const size_t low = kChunkDigits << level;
    const Limbs high = FromDigits(digits, count - low);
    return limbs::AddMagnitudes(limbs::Multiply(high, Cache().Power(level)),
                                FromDigits(digits + count - low, low));
}

}  // namespace

TInteger TInteger::FromMagnitude(Limbs magnitude, bool negative) {
    TInteger x;
    x.magnitude_ = std::move(magnitude);
    x.negative_ = negative;
    x.Normalize();
    return x;
}

void TInteger::Normalize() {
    limbs::Trim(magnitude_);
    if (magnitude_.empty()) negative_ = false;
}

void TInteger::AssignInt64(int64_t value) {
    magnitude_.clear();
    negative_ = value < 0;
    const uint64_t size =
        negative_ ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    if (size != 0) magnitude_.push_back(size);
}

void TInteger::AssignText(const std::string& text) {
    std::string digits;
    bool negative = false;
    for (char c : text) {
        if (c == '-') negative = true;
        if (c >= '0' && c <= '9') digits += c;
    }
    const size_t first = std::min(digits.find_first_not_of('0'), digits.size());
    magnitude_ = FromDigits(digits.data() + first, digits.size() - first);
    negative_ = negative;
    Normalize();
}

std::string TInteger::ToText(bool grouped, char separator) const {
    if (magnitude_.empty()) return "0";
    size_t level = 0;
    while (limbs::CompareMagnitudes(Cache().Power(level), magnitude_) <= 0) ++level;
    std::string digits;
    AppendDigits(magnitude_, level, 0, digits);
    std::string out = negative_ ? "-" : "";
    if (!grouped) return out + digits;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i != 0 && (digits.size() - i) % 3 == 0) out += separator;
        out += digits[i];
    }
    return out;
}

bool TInteger::FitsInt64() const {
    if (magnitude_.size() > 1) return false;
    if (magnitude_.empty()) return true;
    const Limb limit = negative_ ? Limb{1} << 63 : (Limb{1} << 63) - 1;
    return magnitude_[0] <= limit;
}

int64_t TInteger::ToInt64() const {
    if (magnitude_.empty()) return 0;
    const Limb low = magnitude_[0];
    return static_cast<int64_t>(negative_ ? 0 - low : low);
}

long double TInteger::ToLongDouble() const {
    if (magnitude_.empty()) return 0;
    const size_t bits = BitLength();
    // The leading 128 bits decide the 64-bit mantissa.
    const size_t drop = bits > 128 ? bits - 128 : 0;
    const Limbs top = limbs::ShiftRight(magnitude_, drop);
    long double value = 0;
    for (size_t i = top.size(); i-- > 0;) value = value * 18446744073709551616.0L + top[i];
    if (drop > 20000) value = HUGE_VALL;
    value = std::ldexp(value, static_cast<int>(std::min<size_t>(drop, 20000)));
    return negative_ ? -value : value;
}

int TInteger::Compare(const TInteger& other) const {
    if (Sign() != other.Sign()) return Sign() < other.Sign() ? -1 : 1;
    const int magnitude = limbs::CompareMagnitudes(magnitude_, other.magnitude_);
    return negative_ ? -magnitude : magnitude;
}

int TInteger::CompareAbs(const TInteger& other) const {
    return limbs::CompareMagnitudes(magnitude_, other.magnitude_);
}

void TInteger::Add(const TInteger& other) {
    if (other.IsZero()) return;
    if (negative_ == other.negative_ || IsZero()) {
        if (IsZero()) negative_ = other.negative_;
        magnitude_ = limbs::AddMagnitudes(magnitude_, other.magnitude_);
        return;
    }
    // Different signs: the larger magnitude gives the sign.
    if (limbs::CompareMagnitudes(magnitude_, other.magnitude_) >= 0) {
        magnitude_ = limbs::SubtractMagnitudes(magnitude_, other.magnitude_);
    } else {
        magnitude_ = limbs::SubtractMagnitudes(other.magnitude_, magnitude_);
        negative_ = other.negative_;
    }
    Normalize();
}

void TInteger::Subtract(const TInteger& other) {
    TInteger negated = other;
    negated.Negate();
    Add(negated);
}

void TInteger::Multiply(const TInteger& other) {
    const bool negative = negative_ != other.negative_;
    magnitude_ =
        &other == this ? limbs::Square(magnitude_) : limbs::Multiply(magnitude_, other.magnitude_);
    negative_ = negative && &other != this;
    Normalize();
}

void TInteger::Square() {
    magnitude_ = limbs::Square(magnitude_);
    negative_ = false;
}

void TInteger::DivMod(const TInteger& divisor, TInteger& remainder) {
    if (divisor.IsZero()) {
        remainder = *this;
        AssignInt64(0);
        throw EIntegerError(IntegerFault::Division);
    }
    const bool quotientNegative = negative_ != divisor.negative_;
    const bool remainderNegative = negative_;
    Limbs q, r;
    limbs::DivideMagnitudes(magnitude_, divisor.magnitude_, &q, &r);
    TInteger rest = FromMagnitude(std::move(r), remainderNegative);
    *this = FromMagnitude(std::move(q), quotientNegative);
    remainder = std::move(rest);
}

void TInteger::DivideBy(const TInteger& divisor) {
    TInteger remainder;
    DivMod(divisor, remainder);
}

void TInteger::ModBy(const TInteger& divisor) {
    if (divisor.IsZero()) throw EIntegerError(IntegerFault::Division);  // x stays as remainder
    TInteger quotient = *this;
    quotient.DivMod(divisor, *this);
}

void TInteger::DivideInt64(int64_t divisor, int64_t& remainder) {
    remainder = 0;
    if (divisor == 0 || divisor == 1) return;
    if (divisor == 2) {
        remainder = IsOdd() ? 1 : 0;
        magnitude_ = limbs::ShiftRight(magnitude_, 1);
        Normalize();
        return;
    }
    const Limb size = divisor < 0 ? 0 - static_cast<Limb>(divisor) : static_cast<Limb>(divisor);
    const Limb rest = limbs::DivideSmall(magnitude_, size);
    remainder = negative_ ? -static_cast<int64_t>(rest) : static_cast<int64_t>(rest);
    negative_ = negative_ != (divisor < 0);
    Normalize();
}

}  // namespace bigint
