// Long double elementary functions of our own: table-driven reductions and
// short polynomials, with the C library for the arguments outside their range.
#pragma once

namespace expr::math {

// Each gives the C library's value for special arguments (infinities, NaN,
// zero, out of domain, beyond the reduction range), with the same flags.
long double Sin(long double x);
long double Cos(long double x);
long double Tan(long double x);
long double Exp(long double x);
long double Ln(long double x);
long double Log10(long double x);
long double Log2(long double x);
long double Sinh(long double x);
long double Cosh(long double x);
long double Atan(long double x);
long double Asin(long double x);
long double Acos(long double x);
// x^y as e^(y ln x) with a logarithm of double length, so that large powers
// keep their last digits; for x <= 0, subnormal or special x and infinite y it
// is Exp(y * Ln(x)) as before; for |y| > 256 and beyond the exponential's range
// the C library's.
long double Power(long double x, long double y);

}  // namespace expr::math
