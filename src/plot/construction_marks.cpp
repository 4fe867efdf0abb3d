// Angle and segment marks and conflict lines.
#include "plot/construction_marks.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "expr/geometry.h"

namespace plot {

namespace {

constexpr Real kPi = std::numbers::pi_v<Real>;
constexpr Real kRightAngleDot = 1e-8L;
constexpr Real kArcGrowth = 0.2L;       // each further arc 0.2 R wider
constexpr Real kMarkPerDiagonal = 90;   // a mark's unit is 1/90 of the window's diagonal
constexpr Real kVHalfWidth = 0.7L;      // the legs of the "v" in mark units
constexpr Real kConflictSamples = 100;  // steps over the object's range
constexpr Real kConflictOvershoot = 0.05L;
constexpr int kMaxMarks = 1000;  // arcs or strokes; more would only blacken

long long Rounded(Real value) {
    if (!std::isfinite(value)) return 0;
    return static_cast<long long>(std::nearbyint(std::clamp<Real>(value, -1e9L, 1e9L)));
}

Real Direction(FloatPoint from, FloatPoint to) {
    const Real angle = std::atan2(to.y - from.y, to.x - from.x);
    return angle < 0 ? angle + 2 * kPi : angle;
}

}  // namespace

void MarkAngle(Drawing& drawing, FloatPoint a, FloatPoint b, FloatPoint c, Real size, Real count,
               bool squareForRightAngle) {
    const Real abx = b.x - a.x, aby = b.y - a.y, acx = c.x - a.x, acy = c.y - a.y;
    const Real ab = std::hypot(abx, aby), ac = std::hypot(acx, acy);
    // A leg of length 0 has no ray to mark.
    if (!(ab > 0) || !(ac > 0) || !std::isfinite(ab * ac * size)) return;
    const Real radius = size * std::min(ab, ac);
    if (squareForRightAngle && std::fabs(abx * acx + aby * acy) <= kRightAngleDot) {
        const FloatPoint q{a.x + radius * abx / ab, a.y + radius * aby / ab};
        const FloatPoint s{a.x + radius * acx / ac, a.y + radius * acy / ac};
        const FloatPoint corner{q.x + s.x - a.x, q.y + s.y - a.y};
        drawing.Line(q.x, q.y, corner.x, corner.y);
        drawing.Line(corner.x, corner.y, s.x, s.y);
        return;
    }
    Real from = Direction(a, b), to = Direction(a, c);
    // The arcs run counter-clockwise; starting at the other ray keeps them inside the
    // angle when that ray is the first one counter-clockwise.
    const Real sweep = to >= from ? to - from : to - from + 2 * kPi;
    if (sweep > kPi) std::swap(from, to);
    const long long arcs = std::min<long long>(Rounded(count), kMaxMarks);
    Real factor = 1;
    for (long long k = 0; k < arcs; ++k, factor += kArcGrowth) {
        drawing.CircleArc(Drawing::ArcKind::Arc, a.x, a.y, factor * radius, from, to);
    }
}

void MarkSegment(Drawing& drawing, FloatPoint p, FloatPoint q, Real size, Real count) {
    const TPlotSurface& surface = drawing.Surface();
    const Real diagonal = std::hypot(surface.D2WorldXW(), surface.D2WorldYW());
    const Real length = std::hypot(q.x - p.x, q.y - p.y);
    if (!(length > 0) || !std::isfinite(length * size)) return;
    const FloatPoint t{(q.x - p.x) * diagonal / (kMarkPerDiagonal * length),
                       (q.y - p.y) * diagonal / (kMarkPerDiagonal * length)};
    const FloatPoint across{-size * t.y, size * t.x};
    const FloatPoint m{(p.x + q.x) / 2, (p.y + q.y) / 2};
    const long long n = Rounded(count);
    if (n >= 5) {
        const FloatPoint tip{m.x + across.x, m.y + across.y};
        drawing.Line(m.x - kVHalfWidth * t.x - across.x, m.y - kVHalfWidth * t.y - across.y, tip.x,
                     tip.y);
        drawing.Line(tip.x, tip.y, m.x + kVHalfWidth * t.x - across.x,
                     m.y + kVHalfWidth * t.y - across.y);
    } else if (n >= 1) {
        for (long long k = 1; k <= n; ++k) {
            const Real shift = static_cast<Real>(2 * k - n - 1) / 4;
            const FloatPoint centre{m.x - shift * t.x, m.y - shift * t.y};
            drawing.Line(centre.x - across.x, centre.y - across.y, centre.x + across.x,
                         centre.y + across.y);
        }
    } else {
        drawing.CircleThrough(m.x, m.y, m.x + size * t.x, m.y + size * t.y);
    }
}

void ConflictLine(Drawing& drawing, const std::string& kind, FloatPoint p, FloatPoint x,
                  FloatPoint y) {
    // Where the swept point q lies for s, and the object's direction there.
    std::function<void(Real s, FloatPoint & q, FloatPoint & d)> object;
    Real from = 0, to = 0;
    if (kind == "lijnstuk") {
        object = [x, y](Real s, FloatPoint& q, FloatPoint& d) {
            q = {x.x + s * (y.x - x.x), x.y + s * (y.y - x.y)};
            d = {y.x - x.x, y.y - x.y};
        };
        to = 1;
    } else if (kind == "lijn") {
        if (y.x == 0 && y.y == 0) return;
        object = [x, y](Real s, FloatPoint& q, FloatPoint& d) {
            q = {x.x + s * y.x, x.y + s * y.y};
            d = y;
        };
        const WorldBox& world = drawing.Box();
        if (y.x != 0) {
            from = 2 * (world.x1 - x.x) / y.x;
            to = 2 * (world.x2 - x.x) / y.x;
        } else {
            from = 2 * (world.y1 - x.y) / y.y;
            to = 2 * (world.y2 - x.y) / y.y;
        }
        if (from > to) std::swap(from, to);
    } else if (kind == "cirkel") {
        const Real r = std::hypot(y.x - x.x, y.y - x.y);
        object = [x, r](Real s, FloatPoint& q, FloatPoint& d) {
            q = {x.x + r * std::cos(s), x.y + r * std::sin(s)};
            d = {-(q.y - x.y), q.x - x.x};
        };
        to = 2 * kPi;
    } else {
        return;
    }
    const auto curve = [&object, p](Real s, Real& u, Real& v) {
        FloatPoint q, d;
        object(s, q, d);
        const expr::Point2 point = expr::ConflictPoint({p.x, p.y}, {q.x, q.y}, {d.x, d.y});
        u = point.x;
        v = point.y;
        return true;
    };
    drawing.SweepCurve(curve, from, to + kConflictOvershoot, (to - from) / kConflictSamples);
}

}  // namespace plot
