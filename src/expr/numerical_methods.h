// Numerical analysis on a function of x: definite integrals, zeros, slopes and
// iteration. The function throws EMathError where it has no value; that ends the
// computation with the error.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "parser.h"

namespace expr {

using RealFunction = std::function<Real(Real)>;

enum class IntegrationMethod { Trapezium, Simpson, Romberg, Gauss, Kronrod };

// "trapezium", "simpson", "romberg", "gauss" or "kronrod" (exactly, lower case).
std::optional<IntegrationMethod> IntegrationMethodNamed(const std::string& word);

// The integral of f from a to b; eps is the relative tolerance.
Real Integrate(IntegrationMethod method, const RealFunction& f, Real a, Real b, Real eps);

// A zero of f in [xmin, xmax] from `start` (safeguarded Newton with a bracketing
// fallback); the start value when nothing better is found.
Real FindZero(const RealFunction& f, Real xmin, Real xmax, Real start, Real tolerance);

// (f(x + dx) - f(x - dx)) / dx / 2.
Real Slope(const RealFunction& f, Real x, Real dx);

// f applied `count` times to `start` (at most 10 000 000 times).
Real Iterate(const RealFunction& f, Real start, Real count);

}  // namespace expr
