// Magnitude kernels on little-endian arrays of 64-bit limbs: the arithmetic
// under TInteger (schoolbook, Karatsuba, Toom-3, transforms, long division,
// Newton reciprocals).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace bigint::limbs {

using Limb = uint64_t;
using Limbs = std::vector<Limb>;

// Below these sizes (in limbs) the quadratic methods are faster; from the
// next ones on Toom-3 beats Karatsuba. Measured against each other.
inline constexpr size_t kKaratsubaThreshold = 32;
inline constexpr size_t kSquareThreshold = 48;
inline constexpr size_t kToom3Threshold = 300;
inline constexpr size_t kToom3SquareThreshold = 450;
// Transforms start here, but only where their power-of-two length is not
// mostly padding (see UsesTransform in limbs.cpp).
inline constexpr size_t kTransformThreshold = 1800;

// Drops leading zero limbs; an empty array is zero.
void Trim(Limbs& a);
size_t BitLength(const Limbs& a);
int CompareMagnitudes(const Limb* a, size_t an, const Limb* b, size_t bn);
inline int CompareMagnitudes(const Limbs& a, const Limbs& b) {
    return CompareMagnitudes(a.data(), a.size(), b.data(), b.size());
}

// r[0..an] = a + b with an >= bn; returns the carry out of the top limb.
Limb Add(Limb* r, const Limb* a, size_t an, const Limb* b, size_t bn);
// r[0..an] = a - b with an >= bn; returns the borrow (1 when a < b).
Limb Subtract(Limb* r, const Limb* a, size_t an, const Limb* b, size_t bn);
// r[0..n] += a * m; returns the carry.
Limb MultiplyAdd(Limb* r, const Limb* a, size_t n, Limb m);
// r[0..n] -= a * m; returns the borrow.
Limb MultiplySubtract(Limb* r, const Limb* a, size_t n, Limb m);

Limbs AddMagnitudes(const Limbs& a, const Limbs& b);
// a - b for a >= b.
Limbs SubtractMagnitudes(const Limbs& a, const Limbs& b);
Limbs Multiply(const Limbs& a, const Limbs& b);
Limbs Square(const Limbs& a);
// r (an + bn limbs, zeroed by the caller or not: it is overwritten) = a * b.
void Multiply(Limb* r, const Limb* a, size_t an, const Limb* b, size_t bn);
// r (2 n limbs, overwritten) = a * a.
void Square(Limb* r, const Limb* a, size_t n);
// Knuth's algorithm D in place: u (un + 1 limbs, the top one may be zero) by v
// (vn >= 2 limbs, top bit set, un >= vn); q gets un - vn + 1 limbs and u keeps
// the remainder in its low vn limbs.
void DivideNormalized(Limb* u, size_t un, const Limb* v, size_t vn, Limb* q);
Limbs ShiftLeft(const Limbs& a, size_t bits);
Limbs ShiftRight(const Limbs& a, size_t bits);
// a * m + add for one-limb m and add.
Limbs MultiplySmall(const Limbs& a, Limb m, Limb add = 0);
// a := a div d; returns a mod d.
Limb DivideSmall(Limbs& a, Limb d);

// Quotient and remainder of a / b for a nonzero b: long division (Knuth's
// algorithm D) for small operands, a Newton reciprocal for large ones.
void DivideMagnitudes(const Limbs& a, const Limbs& b, Limbs* quotient, Limbs* remainder);
// floor(2^k / d) for a nonzero d.
Limbs Reciprocal(const Limbs& d, size_t k);

}  // namespace bigint::limbs
