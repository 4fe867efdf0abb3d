// Montgomery: products modulo an odd number without division, for modular
// powers, the prime test and Pollard's rho.
#pragma once

#include "bigint/limbs.h"

namespace bigint::limbs {

// Montgomery arithmetic modulo an odd m of n limbs (R = 2^(64 n)).
class Montgomery {
public:
    explicit Montgomery(const Limbs& modulus);
    size_t Size() const { return n_; }
    // r = a * b / R mod m; a, b and r hold n limbs (r may alias a or b).
    void Multiply(Limb* r, const Limb* a, const Limb* b) const;
    // a * R mod m for any a; back to an ordinary number.
    Limbs ToForm(const Limbs& a) const;
    Limbs FromForm(const Limb* a) const;
    const Limbs& Modulus() const { return modulus_; }

private:
    Limbs modulus_;
    size_t n_;
    Limb inverse_;  // -m^-1 mod 2^64
    mutable Limbs scratch_;
};

}  // namespace bigint::limbs
