// Products of very long magnitudes by number-theoretic transforms modulo three
// primes below 2^62, joined again by the Chinese remainder theorem.
#pragma once

#include <cstddef>
#include <cstdint>

namespace bigint::limbs {

// r (an + bn limbs) = a * b; a may be b (with an == bn) for a square. Sizes up
// to 2^31 limbs; meant for operands of thousands of limbs and more.
void MultiplyByTransform(uint64_t* r, const uint64_t* a, size_t an, const uint64_t* b, size_t bn);

}  // namespace bigint::limbs
