// Factoring helpers: Pollard's rho search under a time budget and the
// prime-factor step of factor#.
#pragma once

#include <functional>

#include "bigint/integer.h"

namespace bigint {

// Called after every step of a search; false abandons it (a stop request).
using SearchStep = std::function<bool()>;

// Pollard's rho with x^2 + 3 from 2 (Brent's cycle search, gcds of batched
// products). On success n becomes the divisor found (possibly n itself) and
// the result is true; on failure, when the budget of `seconds` runs out or
// `step` says stop, n is unchanged. Budgets of 0 or less return at once.
bool PollardRho(TInteger& n, double seconds, const SearchStep& step);

// factor#: x becomes a prime factor of |x| when one is found: |x| itself when
// it is a probable prime, 2, 3, a divisor below 40000, or what Pollard's rho
// finds within `seconds`. 0, 1 and -1 have none and stay.
void FindFactor(TInteger& x, double seconds, const SearchStep& step);

}  // namespace bigint
