// Least-squares fits on list data: the straight line through transformed data
// (linreg, expreg, pwrreg, lnreg) with its equation text, and polynomials.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "analysis_error.h"

namespace expr {

using Real = long double;

enum class RegressionForm { Linear, Exponential, Power, Logarithmic };

// "linreg", "expreg", "pwrreg" or "lnreg" (exactly).
std::optional<RegressionForm> RegressionFormNamed(const std::string& word);

struct RegressionFit {
    Real slope = 0;        // a of the transformed line
    Real intercept = 0;    // b
    Real correlation = 0;  // r, with the sign of a; 0 when all y are equal
    std::string equation;  // an expression of x, as a plot takes it
};

// The fit of ys against xs. Throws EAnalysisError when a logarithm of the form has
// no value (naming element `firstElement` + i) or when all x are equal.
RegressionFit Regression(RegressionForm form, const std::vector<Real>& xs,
                         const std::vector<Real>& ys, long long firstElement = 1);

// Coefficients c0 .. cg of the least-squares polynomial of degree g through the
// points, from the normal equations. Throws EAnalysisError for a negative degree
// or when the equations have no usable solution (too few different x, or a degree
// so high that the rounding swamps the answer).
std::vector<Real> PolynomialFit(const std::vector<Real>& xs, const std::vector<Real>& ys,
                                int degree);

}  // namespace expr
