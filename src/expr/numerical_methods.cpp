// Integration rules with their stopping limits, the zero finder, slope and iteration.
#include "numerical_methods.h"

#include <array>
#include <cmath>
#include <vector>

namespace expr {

namespace {

// Central difference used by the end corrections.
Real Derivative(const RealFunction& f, Real x) {
    return (f(x + 1e-5L) - f(x - 1e-5L)) / 2e-5L;
}

bool Converged(Real next, Real previous, Real eps) {
    return std::fabs(next - previous) <= std::fabs(eps * next);
}

Real Trapezium(const RealFunction& f, Real a, Real b, Real eps) {
    const Real fa = f(a), fb = f(b);
    const Real correction = Derivative(f, b) - Derivative(f, a);
    Real h = b - a;
    Real t = (fa + fb) * h / 2;
    Real midpoints = 0;
    for (long n = 1; n < 100001;) {
        n *= 2;
        h = (b - a) / n;
        for (long i = 1; i <= n / 2; ++i) midpoints += f(a + (2 * i - 1) * h);
        const Real previous = t;
        t = (2 * midpoints + fa + fb) * h * 0.5L - h * h * correction / 12;
        if (Converged(t, previous, eps)) break;
    }
    return t;
}

Real Simpson(const RealFunction& f, Real a, Real b, Real eps) {
    const Real fa = f(a), fb = f(b);
    const Real correction = Derivative(f, a) - Derivative(f, b);
    long n = 2;
    Real h = (b - a) / 2;
    Real odd = f(a + h), even = 0;
    Real s = (fa + 4 * odd + fb) * h / 3;
    while (n < 100001) {
        n *= 2;
        h = (b - a) / n;
        even += odd;
        odd = 0;
        for (long i = 1; i <= n / 2; ++i) odd += f(a + (2 * i - 1) * h);
        const Real previous = s;
        s = (7 * (fa + fb) + 14 * even + 16 * odd + correction * h) * h / 15;
        if (s != previous && Converged(s, previous, eps)) break;
    }
    return s;
}

Real Romberg(const RealFunction& f, Real a, Real b, Real eps) {
    constexpr int kRows = 16;
    std::array<std::array<Real, kRows>, kRows> r{};
    Real h = b - a;
    Real sum = (f(a) + f(b)) * 0.5L;
    r[0][0] = sum * h;
    long panels = 1;
    int k = 1;
    for (; k < kRows; ++k) {
        panels *= 2;
        h /= 2;
        for (long i = 1; i <= panels / 2; ++i) sum += f(a + (2 * i - 1) * h);
        r[k][0] = sum * h;
        Real factor = 4;
        for (int j = 1; j <= k; ++j, factor *= 4) {
            r[k][j] = (r[k][j - 1] * factor - r[k - 1][j - 1]) / (factor - 1);
        }
        const Real last = r[k][k];
        if (k >= 4 && last != 0 &&
            (std::fabs(last - r[k - 1][k - 1]) <= std::fabs(eps * last) ||
             std::fabs(r[k][k - 1] - last) <= std::fabs(eps * last))) {
            return last;
        }
    }
    return r[kRows - 1][kRows - 1];
}

// Sum of a rule with nodes at centre + offsets[i] * h and weights[i], over `panels`
// panels of half-width h.
template <size_t N>
Real CompositeRule(const RealFunction& f, Real a, Real h, long panels,
                   const std::array<Real, N>& offsets, const std::array<Real, N>& weights) {
    Real total = 0;
    for (long i = 1; i <= panels; ++i) {
        const Real centre = a + (2 * i - 1) * h;
        for (size_t j = 0; j < N; ++j) total += weights[j] * f(centre + offsets[j] * h);
    }
    return total * h;
}

Real Gauss(const RealFunction& f, Real a, Real b, Real eps) {
    const Real d = std::sqrt(0.6L);
    const std::array<Real, 3> offsets = {-d, 0, d};
    const std::array<Real, 3> weights = {5.0L / 9, 8.0L / 9, 5.0L / 9};
    long panels = 1;
    Real h = (b - a) / 2;
    Real g = CompositeRule(f, a, h, panels, offsets, weights);
    while (panels < 140001) {
        panels *= 4;
        h /= 4;
        const Real previous = g;
        g = CompositeRule(f, a, h, panels, offsets, weights);
        if (Converged(g, previous, eps)) break;
    }
    return g;
}

Real Kronrod(const RealFunction& f, Real a, Real b, Real eps) {
    const Real k1 = 0.4342437493468026L, k2 = std::sqrt(0.6L), k3 = 0.9604912687080202L;
    const Real w0 = 0.4509165386584744L, w1 = 0.4013974147759622L, w2 = 0.2684880898683334L,
               w3 = 0.1046562260264672L;
    const std::array<Real, 7> offsets = {-k3, -k2, -k1, 0, k1, k2, k3};
    const std::array<Real, 7> weights = {w3, w2, w1, w0, w1, w2, w3};
    long panels = 1;
    Real h = (b - a) / 2;
    Real g = CompositeRule(f, a, h, panels, offsets, weights);
    while (panels < 50001) {
        const long factor = panels == 1 ? 2 : 4;
        panels *= factor;
        h /= factor;
        const Real previous = g;
        g = CompositeRule(f, a, h, panels, offsets, weights);
        if (Converged(g, previous, eps)) break;
    }
    return g;
}

bool SameSign(Real a, Real b) {
    return (a < 0) == (b < 0);
}

}  // namespace

std::optional<IntegrationMethod> IntegrationMethodNamed(const std::string& word) {
    if (word == "trapezium") return IntegrationMethod::Trapezium;
    if (word == "simpson") return IntegrationMethod::Simpson;
    if (word == "romberg") return IntegrationMethod::Romberg;
    if (word == "gauss") return IntegrationMethod::Gauss;
    if (word == "kronrod") return IntegrationMethod::Kronrod;
    return std::nullopt;
}

Real Integrate(IntegrationMethod method, const RealFunction& f, Real a, Real b, Real eps) {
    if (a == b) return 0;
    switch (method) {
        case IntegrationMethod::Trapezium:
            return Trapezium(f, a, b, eps);
        case IntegrationMethod::Simpson:
            return Simpson(f, a, b, eps);
        case IntegrationMethod::Romberg:
            return Romberg(f, a, b, eps);
        case IntegrationMethod::Gauss:
            return Gauss(f, a, b, eps);
        case IntegrationMethod::Kronrod:
            return Kronrod(f, a, b, eps);
    }
    return 0;
}

Real FindZero(const RealFunction& f, Real xmin, Real xmax, Real start, Real tol) {
    constexpr int kMaxSteps = 10000;
    const Real fStart = f(start);
    if (std::fabs(fStart) <= 1e-300L) return start;
    if (xmax < xmin) std::swap(xmin, xmax);

    // The secant step between an upper point p and a lower point q, kept inside [q, p].
    const auto secant = [&](Real p, Real q) {
        const Real fp = f(p), fq = f(q);
        const Real middle = (p + q) / 2;
        if (std::fabs(fp - fq) <= tol) return middle;
        const Real next = q + fq * (p - q) / (fq - fp);
        return next >= std::min(p, q) && next <= std::max(p, q) ? next : middle;
    };

    Real x = start >= xmin && start <= xmax ? start : secant(xmax, xmin);
    // Newton, with a central difference for the derivative.
    Real newton = x;
    Real halfStep = 1e-5L;
    for (int i = 0; i < kMaxSteps; ++i) {
        const Real fx = f(newton);
        if (std::fabs(fx) <= 1e-200L) break;
        const Real slope = (f(newton + halfStep) - f(newton - halfStep)) / (2 * halfStep);
        halfStep = 1e-6L;
        const Real step = slope == 0 ? 0 : fx / slope;
        if (!(std::fabs(step) > tol)) break;
        newton -= step;
    }
    if (newton > xmin && newton < xmax) x = newton;

    if (std::fabs(f(newton)) >= 1e-200L) {
        const Real fMin = f(xmin), fMax = f(xmax);
        Real fx = f(x);
        if (SameSign(fMin, fx) && SameSign(fMax, fx)) {
            x = (xmin + xmax) / 2;
            fx = f(x);
        }
        Real low = 0, high = 0;
        bool search = false;
        if (SameSign(fMin, fMax)) {
            if (SameSign(fMin, fx) && !SameSign(fx, fMax)) {
                low = x, high = xmax, search = true;
            } else if (!SameSign(fMin, fx)) {
                low = xmin, high = x, search = true;
            }
        } else {
            low = xmin, high = xmax, search = true;
        }
        if (search) {
            // Regula falsi with the midpoint as fallback.
            Real r = x;
            for (int i = 0; i < kMaxSteps; ++i) {
                const Real fr = f(r);
                if (std::fabs(fr) <= 1e-200L) break;
                if (SameSign(f(low), fr)) {
                    low = r;
                } else {
                    high = r;
                }
                const Real next = secant(high, low);
                if (next == r) break;  // no progress left in this precision
                r = next;
            }
            if (r > xmin && r < xmax && std::fabs(f(r)) < std::fabs(f(x))) x = r;
        }
    }
    if (x >= xmin && x <= xmax && std::fabs(f(x)) <= std::fabs(fStart)) return x;
    return start;
}

Real Slope(const RealFunction& f, Real x, Real dx) {
    return (f(x + dx) - f(x - dx)) / dx / 2;
}

Real Iterate(const RealFunction& f, Real start, Real count) {
    constexpr Real kMaxIterations = 10000000;  // seconds of work, not hours
    Real x = start;
    const Real n = std::min(std::trunc(count), kMaxIterations);
    for (Real i = 0; i < n; ++i) x = f(x);
    return x;
}

}  // namespace expr
