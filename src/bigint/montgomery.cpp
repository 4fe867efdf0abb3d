// Montgomery products (operand scanning, one reduction step per limb).
#include "bigint/montgomery.h"

#include <algorithm>
#include <cstring>

namespace bigint::limbs {

namespace {

__extension__ typedef unsigned __int128 Wide;

bool Below(const Limb* a, const Limb* b, size_t n) {
    for (size_t i = n; i-- > 0;) {
        if (a[i] != b[i]) return a[i] < b[i];
    }
    return false;
}

}  // namespace

Montgomery::Montgomery(const Limbs& modulus) : modulus_(modulus), n_(modulus.size()) {
    const Limb m0 = modulus_[0];
    Limb inverse = m0;  // right in the lowest 3 bits for odd m0
    for (int i = 0; i < 5; ++i) inverse *= 2 - m0 * inverse;
    inverse_ = 0 - inverse;
    scratch_.assign(n_ + 1, 0);
}

void Montgomery::Multiply(Limb* r, const Limb* a, const Limb* b, WorkCheck* check) const {
    constexpr size_t kRowsPerCheck = 32;
    Limb* t = scratch_.data();
    const Limb* m = modulus_.data();
    const size_t n = n_;
    std::fill(t, t + n + 1, 0);
    // t = (t + a b[i] + q m) / 2^64 in one pass per limb of b; t stays below 2m.
    for (size_t i = 0; i < n; ++i) {
        const Limb bi = b[i];
        Wide product = static_cast<Wide>(a[0]) * bi + t[0];
        Limb carryProduct = static_cast<Limb>(product >> 64);
        const Limb low = static_cast<Limb>(product);
        const Limb q = low * inverse_;
        Wide reduction = static_cast<Wide>(q) * m[0] + low;
        Limb carryReduction = static_cast<Limb>(reduction >> 64);
        for (size_t j = 1; j < n; ++j) {
            product = static_cast<Wide>(a[j]) * bi + t[j] + carryProduct;
            carryProduct = static_cast<Limb>(product >> 64);
            reduction = static_cast<Wide>(q) * m[j] + static_cast<Limb>(product) + carryReduction;
            carryReduction = static_cast<Limb>(reduction >> 64);
            t[j - 1] = static_cast<Limb>(reduction);
        }
        const Wide top = static_cast<Wide>(t[n]) + carryProduct + carryReduction;
        t[n - 1] = static_cast<Limb>(top);
        t[n] = static_cast<Limb>(top >> 64);
        const size_t rows = i % kRowsPerCheck + 1;
        if (check != nullptr && (rows == kRowsPerCheck || i + 1 == n) &&
            !check->Done(2 * n * rows)) {
            return;
        }
    }
    if (t[n] != 0 || !Below(t, m, n)) {
        Limb borrow = 0;
        for (size_t j = 0; j < n; ++j) {
            const Limb x = t[j], d = x - m[j];
            t[j] = d - borrow;
            borrow = static_cast<Limb>(x < m[j]) + static_cast<Limb>(d < borrow);
        }
    }
    std::memcpy(r, t, n * sizeof(Limb));
}

Limbs Montgomery::ToForm(const Limbs& a) const {
    Limbs shifted(n_, 0);
    shifted.insert(shifted.end(), a.begin(), a.end());
    Trim(shifted);
    Limbs r;
    DivideMagnitudes(shifted, modulus_, nullptr, &r);
    r.resize(n_, 0);
    return r;
}

Limbs Montgomery::FromForm(const Limb* a) const {
    Limbs one(n_, 0), r(n_);
    one[0] = 1;
    Multiply(r.data(), a, one.data());
    Trim(r);
    return r;
}

}  // namespace bigint::limbs
