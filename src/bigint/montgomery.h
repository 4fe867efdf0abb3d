// Montgomery: products modulo an odd number without division, for modular
// powers, the prime test and Pollard's rho.
#pragma once

#include <functional>

#include "bigint/limbs.h"

namespace bigint::limbs {

// Counts work in limb products and asks a caller's keepGoing every few
// milliseconds of it, remembering a no: a prime test of a number of millions of
// digits must stop on request within one product.
class WorkCheck {
public:
    explicit WorkCheck(const std::function<bool()>& keepGoing) : keepGoing_(keepGoing) {}
    // After `work` more limb products: false once the work should stop.
    bool Done(size_t work) {
        if (!keepGoing_ || stopped_) return !stopped_;
        done_ += work;
        if (done_ >= kCheckWork) {
            done_ = 0;
            stopped_ = !keepGoing_();
        }
        return !stopped_;
    }
    bool Stopped() const { return stopped_; }

private:
    static constexpr size_t kCheckWork = size_t{1} << 22;  // a few milliseconds
    const std::function<bool()>& keepGoing_;
    size_t done_ = 0;
    bool stopped_ = false;
};

// Montgomery arithmetic modulo an odd m of n limbs (R = 2^(64 n)).
class Montgomery {
public:
    explicit Montgomery(const Limbs& modulus);
    size_t Size() const { return n_; }
    // r = a * b / R mod m; a, b and r hold n limbs (r may alias a or b). With a
    // check it counts its work as it goes and leaves r undefined once told to stop.
    void Multiply(Limb* r, const Limb* a, const Limb* b, WorkCheck* check = nullptr) const;
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
