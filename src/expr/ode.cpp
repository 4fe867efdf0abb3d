// Euler, improved Euler and Runge-Kutta steps, solution curves and the grid of a
// direction field.
#include "ode.h"

#include <cmath>

namespace expr {

namespace {

bool Slope(const OdeFunction& f, Real x, Real y, Real& value) {
    return f(x, y, value) && std::isfinite(value);
}

}  // namespace

std::optional<OdeMethod> OdeMethodNamed(const std::string& word) {
    if (word == "euler") return OdeMethod::Euler;
    if (word == "impeuler") return OdeMethod::ImprovedEuler;
    if (word == "runge") return OdeMethod::RungeKutta;
    return std::nullopt;
}

bool OdeStep(OdeMethod method, const OdeFunction& f, Real h, OdePoint& p) {
    Real s1 = 0, s2 = 0, s3 = 0, s4 = 0;
    if (!Slope(f, p.x, p.y, s1)) return false;
    const Real k1 = h * s1;
    switch (method) {
        case OdeMethod::Euler:
            p.y += k1;
            break;
        case OdeMethod::ImprovedEuler: {
            if (!Slope(f, p.x + h, p.y + k1, s2)) return false;
            p.y += (k1 + h * s2) / 2;
            break;
        }
        case OdeMethod::RungeKutta: {
            if (!Slope(f, p.x + h / 2, p.y + k1 / 2, s2)) return false;
            const Real k2 = h * s2;
            if (!Slope(f, p.x + h / 2, p.y + k2 / 2, s3)) return false;
            const Real k3 = h * s3;
            if (!Slope(f, p.x + h, p.y + k3, s4)) return false;
            p.y += (k1 + 2 * k2 + 2 * k3 + h * s4) / 6;
            break;
        }
    }
    p.x += h;
    return true;
}

bool SystemStep(OdeMethod method, const OdeFunction& px, const OdeFunction& py, Real h,
                OdePoint& p) {
    const auto increments = [&](Real x, Real y, Real& dx, Real& dy) {
        Real vx = 0, vy = 0;
        if (!Slope(px, x, y, vx) || !Slope(py, x, y, vy)) return false;
        dx = h * vx;
        dy = h * vy;
        return true;
    };
    Real dx1 = 0, dy1 = 0;
    if (!increments(p.x, p.y, dx1, dy1)) return false;
    switch (method) {
        case OdeMethod::Euler:
            p.x += dx1;
            p.y += dy1;
            return true;
        case OdeMethod::ImprovedEuler: {
            Real dx2 = 0, dy2 = 0;
            if (!increments(p.x + dx1, p.y + dy1, dx2, dy2)) return false;
            p.x += (dx1 + dx2) / 2;
            p.y += (dy1 + dy2) / 2;
            return true;
        }
        case OdeMethod::RungeKutta: {
            Real dx2 = 0, dy2 = 0, dx3 = 0, dy3 = 0, dx4 = 0, dy4 = 0;
            if (!increments(p.x + dx1 / 2, p.y + dy1 / 2, dx2, dy2) ||
                !increments(p.x + dx2 / 2, p.y + dy2 / 2, dx3, dy3) ||
                !increments(p.x + dx3, p.y + dy3, dx4, dy4)) {
                return false;
            }
            p.x += (dx1 + 2 * dx2 + 2 * dx3 + dx4) / 6;
            p.y += (dy1 + 2 * dy2 + 2 * dy3 + dy4) / 6;
            return true;
        }
    }
    return false;
}

std::vector<OdePoint> SolutionCurve(const std::function<bool(OdePoint&)>& step, OdePoint start,
                                    Real count, const StopWindow& window) {
    std::vector<OdePoint> points{start};
    if (!std::isfinite(start.x) || !std::isfinite(start.y) || std::isnan(count)) return points;
    const Real limit = std::fmin(count, kMaxCurveSteps - 1);
    OdePoint p = start;
    for (Real steps = 0;;) {
        if (!step(p) || !std::isfinite(p.x) || !std::isfinite(p.y)) break;
        points.push_back(p);
        ++steps;
        if ((p.x == start.x && p.y == start.y) || !window.Contains(p) || steps > limit) break;
    }
    return points;
}

std::optional<std::vector<Real>> FieldGrid(Real from, Real to, Real step, size_t maxPoints) {
    if (!(step > 0) || !std::isfinite(from) || !std::isfinite(to) || !std::isfinite(step)) {
        return std::nullopt;
    }
    const Real end = to + 0.001L;
    if (from > end) return std::vector<Real>{};
    if ((end - from) / step >= static_cast<Real>(maxPoints)) return std::nullopt;
    std::vector<Real> grid;
    // The count also ends a grid where adding the step no longer changes the value.
    for (Real value = from; value <= end && grid.size() < maxPoints; value += step) {
        grid.push_back(value);
    }
    return grid;
}

bool FieldHalfSegment(Real dx, Real dy, Real w, Real h, Real& halfX, Real& halfY) {
    const Real length = 60 * std::sqrt((dx / w) * (dx / w) + (dy / h) * (dy / h));
    if (!(length > 0) || !std::isfinite(length)) return false;
    halfX = dx / length;
    halfY = dy / length;
    return std::isfinite(halfX) && std::isfinite(halfY);
}

}  // namespace expr
