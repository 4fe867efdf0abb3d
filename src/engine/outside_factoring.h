// The outside factoring program: PARI/GP's gp, for numbers that Pollard's rho does
// not split in its time.
#pragma once

#include <functional>

#include "bigint/factorisation.h"

namespace engine {

// How long gp may work on one number.
inline constexpr int kOutsideSeconds = 120;

// The prime factors of n from gp, started without a shell, the number passed as data.
// `keepGoing` is asked several times a second while gp works; false ends gp at once.
bigint::OutsideFactors FactorWithGp(const bigint::TInteger& n,
                                    const std::function<bool()>& keepGoing);

}  // namespace engine
