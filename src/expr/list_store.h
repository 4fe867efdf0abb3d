// The six numeric lists L1 .. L6 of programs, 100 values each (indices 1 .. 100).
#pragma once

#include <array>
#include <optional>
#include <string>

namespace expr {

using Real = long double;

class ListStore {
public:
    static constexpr int kLists = 6;
    static constexpr int kSize = 100;

    // The list number 1 .. 6 of a name "L1" .. "L6"; empty for any other name.
    static std::optional<int> ListNumber(const std::string& name);

    // Index 1 .. kSize; other indices read as 0 and are not written.
    Real Get(int list, long long index) const;
    void Set(int list, long long index, Real value);
    void Clear() { values_ = {}; }

private:
    std::array<std::array<Real, kSize>, kLists> values_{};
};

}  // namespace expr
