// Numerical solution of y' = f(x, y) and of the system x' = p(x, y), y' = q(x, y):
// one step of Euler, improved Euler or classical Runge-Kutta, and the walk of a
// solution curve with its stop rules.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace expr {

using Real = long double;

enum class OdeMethod { Euler, ImprovedEuler, RungeKutta };

// "euler", "impeuler" or "runge" (exactly).
std::optional<OdeMethod> OdeMethodNamed(const std::string& word);

// A right-hand side: false where it has no value.
using OdeFunction = std::function<bool(Real x, Real y, Real& value)>;

struct OdePoint {
    Real x = 0;
    Real y = 0;
};

// One step of size h from p for y' = f(x, y); false, with p unchanged, where f has
// no (finite) value.
bool OdeStep(OdeMethod method, const OdeFunction& f, Real h, OdePoint& p);
// One step of time h for x' = px(x, y), y' = py(x, y).
bool SystemStep(OdeMethod method, const OdeFunction& px, const OdeFunction& py, Real h,
                OdePoint& p);

// However many steps a program asks for, a curve never takes more than this, so a
// run always ends.
inline constexpr Real kMaxCurveSteps = 1'000'000;

// The window in which a solution curve goes on: the visible bounds each times 1.4
// (about the origin, not about the centre of the window).
struct StopWindow {
    Real x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    static StopWindow Around(Real xmin, Real xmax, Real ymin, Real ymax) {
        return {1.4L * xmin, 1.4L * xmax, 1.4L * ymin, 1.4L * ymax};
    }
    bool Contains(const OdePoint& p) const {
        return p.x >= x1 && p.x <= x2 && p.y >= y1 && p.y <= y2;
    }
};

// The points of a solution curve from `start`: a step at a time until the point
// comes back exactly to the start, leaves the stop window or count + 1 steps are
// made (at most kMaxCurveSteps), or a step fails. The start is the first point.
std::vector<OdePoint> SolutionCurve(const std::function<bool(OdePoint&)>& step, OdePoint start,
                                    Real count, const StopWindow& window);

// The grid of a direction field: from `from` in steps of `step` while at most
// to + 0.001. Empty when the step is not positive or gives more than `maxPoints`.
std::optional<std::vector<Real>> FieldGrid(Real from, Real to, Real step, size_t maxPoints);

// Half of the field segment at a point with direction (dx, dy), for a window of
// width w and height h: the segment is 1/30 of the window long, measured with the
// window as a unit square. False for a zero or non-finite direction.
bool FieldHalfSegment(Real dx, Real dy, Real w, Real h, Real& halfX, Real& halfY);

}  // namespace expr
