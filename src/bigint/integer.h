// TInteger: an arbitrary-precision signed integer (magnitude in base 10^9 limbs).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace bigint {

class TInteger {
public:
    TInteger() = default;
    explicit TInteger(int64_t value) { AssignInt64(value); }

    void AssignInt64(int64_t value);
    // Reads the digits of `text` (every other character is ignored); a "-"
    // anywhere makes the number negative. No digits gives 0.
    void AssignText(const std::string& text);
    std::string ToString() const;

    // -1, 0 or 1.
    int Compare(const TInteger& other) const;
    int Sign() const { return limbs_.empty() ? 0 : (negative_ ? -1 : 1); }
    bool IsOdd() const { return !limbs_.empty() && (limbs_.front() & 1U) != 0; }
    bool IsZero() const { return limbs_.empty(); }

    friend bool operator==(const TInteger& a, const TInteger& b) { return a.Compare(b) == 0; }

private:
    void Normalize();
    static constexpr uint32_t kBase = 1000000000U;
    std::vector<uint32_t> limbs_;  // least significant first; empty means zero
    bool negative_ = false;
};

}  // namespace bigint
