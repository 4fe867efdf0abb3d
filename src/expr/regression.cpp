// Linear regression on transformed data and polynomial least squares.
#include "regression.h"

#include <cmath>

#include "number_format.h"

namespace expr {

namespace {

// Below this, a pivot of the normal equations is rounding noise next to its
// diagonal element: the equations are singular for our precision.
constexpr Real kSmallestPivotRatio = 1e-16L;

const char* WordOf(RegressionForm form) {
    switch (form) {
        case RegressionForm::Linear:
            return "linreg";
        case RegressionForm::Exponential:
            return "expreg";
        case RegressionForm::Power:
            return "pwrreg";
        case RegressionForm::Logarithmic:
            return "lnreg";
    }
    return "";
}

Real Logarithm(RegressionForm form, char axis, Real value, long long element) {
    if (!(value > 0)) {
        throw EAnalysisError(std::string(WordOf(form)) + ": ln(" + axis +
                             ") bestaat niet voor element " + std::to_string(element) + " (" +
                             axis + " = " + FormatGeneral(value, 15) + ").");
    }
    return std::log(value);
}

std::string Number(Real value) {
    return FormatGeneral(value, 15);
}

// x^k for a whole k >= 0, with 0^0 = 1.
Real Power(Real x, int k) {
    Real result = 1;
    for (int i = 0; i < k; ++i) result *= x;
    return result;
}

}  // namespace

std::optional<RegressionForm> RegressionFormNamed(const std::string& word) {
    if (word == "linreg") return RegressionForm::Linear;
    if (word == "expreg") return RegressionForm::Exponential;
    if (word == "pwrreg") return RegressionForm::Power;
    if (word == "lnreg") return RegressionForm::Logarithmic;
    return std::nullopt;
}

RegressionFit Regression(RegressionForm form, const std::vector<Real>& xs,
                         const std::vector<Real>& ys, long long firstElement) {
    const bool logX = form == RegressionForm::Power || form == RegressionForm::Logarithmic;
    const bool logY = form == RegressionForm::Power || form == RegressionForm::Exponential;
    const size_t count = std::min(xs.size(), ys.size());
    Real n = 0, sx = 0, sy = 0, sxx = 0, syy = 0, sxy = 0;
    for (size_t i = 0; i < count; ++i) {
        const long long element = firstElement + static_cast<long long>(i);
        const Real x = logX ? Logarithm(form, 'x', xs[i], element) : xs[i];
        const Real y = logY ? Logarithm(form, 'y', ys[i], element) : ys[i];
        n += 1;
        sx += x;
        sy += y;
        sxx += x * x;
        syy += y * y;
        sxy += x * y;
    }
    const Real spreadX = n * sxx - sx * sx;
    if (!(spreadX > 0)) {
        throw EAnalysisError(std::string(WordOf(form)) +
                             ": alle x-waarden zijn gelijk, dus er is geen regressielijn.");
    }
    RegressionFit fit;
    const Real covariance = n * sxy - sx * sy;
    fit.slope = covariance / spreadX;
    fit.intercept = sy / n - fit.slope * sx / n;
    const Real spreadY = n * syy - sy * sy;
    // All y equal: a horizontal line fits exactly and r has no meaning; 0 as the
    // statistics packages give it.
    if (spreadY > 0) {
        fit.correlation = std::sqrt(std::fmax(covariance * fit.slope / spreadY, Real{0}));
        if (fit.correlation > 1) fit.correlation = 1;
        if (fit.slope < 0) fit.correlation = -fit.correlation;
    }
    const Real a = fit.slope, b = fit.intercept;
    switch (form) {
        case RegressionForm::Linear:
            fit.equation = "(" + Number(a) + ")*x+(" + Number(b) + ")";
            break;
        case RegressionForm::Exponential:
            fit.equation = "(" + Number(std::exp(b)) + ")*" + Number(std::exp(a)) + "^x";
            break;
        case RegressionForm::Power:
            fit.equation = "(" + Number(std::exp(b)) + ")*x^(" + Number(a) + ")";
            break;
        case RegressionForm::Logarithmic:
            fit.equation = "(" + Number(a) + ")*ln(x)+(" + Number(b) + ")";
            break;
    }
    return fit;
}

std::vector<Real> PolynomialFit(const std::vector<Real>& xs, const std::vector<Real>& ys,
                                int degree) {
    if (degree < 0) throw EAnalysisError("polyreg: de graad moet 0 of meer zijn.");
    const size_t size = static_cast<size_t>(degree) + 1;
    const size_t count = std::min(xs.size(), ys.size());
    std::vector<Real> powerSums(2 * size - 1, 0), rightSums(size, 0);
    for (size_t i = 0; i < count; ++i) {
        for (size_t k = 0; k < powerSums.size(); ++k)
            powerSums[k] += Power(xs[i], static_cast<int>(k));
        for (size_t k = 0; k < size; ++k) rightSums[k] += ys[i] * Power(xs[i], static_cast<int>(k));
    }
    // The augmented matrix [sum x^(r+c) | sum y x^r].
    std::vector<std::vector<Real>> m(size, std::vector<Real>(size + 1));
    for (size_t r = 0; r < size; ++r) {
        for (size_t c = 0; c < size; ++c) m[r][c] = powerSums[r + c];
        m[r][size] = rightSums[r];
    }
    const std::string tooHigh = "polyreg: graad " + std::to_string(degree) +
                                " is te hoog voor deze punten; kies een lagere graad.";
    // Gauss-Jordan in order: the matrix is symmetric positive definite when the data
    // allow the fit, so no row exchanges are needed.
    for (size_t p = 0; p < size; ++p) {
        const Real pivot = m[p][p];
        if (!std::isfinite(pivot) || !(std::fabs(pivot) > kSmallestPivotRatio * powerSums[2 * p])) {
            throw EAnalysisError(tooHigh);
        }
        for (size_t c = p; c <= size; ++c) m[p][c] /= pivot;
        for (size_t r = 0; r < size; ++r) {
            if (r == p) continue;
            const Real factor = m[r][p];
            for (size_t c = p; c <= size; ++c) m[r][c] -= factor * m[p][c];
        }
    }
    std::vector<Real> coefficients(size);
    for (size_t r = 0; r < size; ++r) {
        coefficients[r] = m[r][size];
        if (!std::isfinite(coefficients[r])) throw EAnalysisError(tooHigh);
    }
    return coefficients;
}

}  // namespace expr
