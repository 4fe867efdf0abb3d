// The computations of the geometric constructions.
#include "expr/geometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace expr {

namespace {

constexpr Real kDegrees = 180 / std::numbers::pi_v<Real>;
constexpr Point2 kNoPoint{kNoSolution, kNoSolution};

Point2 Minus(Point2 a, Point2 b) {
    return {a.x - b.x, a.y - b.y};
}
Real Dot(Point2 a, Point2 b) {
    return a.x * b.x + a.y * b.y;
}
Real Length(Point2 a) {
    return std::hypot(a.x, a.y);
}
Point2 Unit(Point2 a) {
    const Real length = Length(a);
    return {a.x / length, a.y / length};
}

}  // namespace

Point2 SolveLinear2(Real a1, Real b1, Real c1, Real a2, Real b2, Real c2) {
    const Real det = a1 * b2 - b1 * a2;
    if (det == 0) return kNoPoint;
    return {(c1 * b2 - b1 * c2) / det, (a1 * c2 - c1 * a2) / det};
}

bool Coincide(Point2 a, Point2 b) {
    return a.x == b.x && a.y == b.y;
}

Point2 Projection(Point2 a, Point2 b, Point2 p) {
    const Point2 ab = Minus(b, a);
    const Real t = Dot(ab, Minus(p, a)) / Dot(ab, ab);
    return {a.x + t * ab.x, a.y + t * ab.y};
}

Point2 MirrorImage(Point2 a, Point2 b, Point2 p) {
    const Point2 foot = Projection(a, b, p);
    return {2 * foot.x - p.x, 2 * foot.y - p.y};
}

Real AngleDegrees(Point2 a, Point2 b, Point2 c) {
    const Point2 ab = Minus(b, a), ac = Minus(c, a);
    const Real cosine = Dot(ab, ac) / (Length(ab) * Length(ac));
    // Rounding can take the cosine of a straight or zero angle just past +-1.
    return std::fabs(std::acos(std::clamp<Real>(cosine, -1, 1)) * kDegrees);
}

Point2 RotateScale(Point2 m, Point2 p, Real degrees, Real factor) {
    const Real theta = degrees / kDegrees;
    const Real c = std::cos(theta), s = std::sin(theta);
    const Point2 d = Minus(p, m);
    return {m.x + factor * (d.x * c + d.y * s), m.y + factor * (d.y * c - d.x * s)};
}

Point2 Circumcentre(Point2 a, Point2 b, Point2 c) {
    const Point2 ab = Minus(b, a), ac = Minus(c, a);
    return SolveLinear2(ab.x, ab.y, Dot(ab, {(a.x + b.x) / 2, (a.y + b.y) / 2}), ac.x, ac.y,
                        Dot(ac, {(a.x + c.x) / 2, (a.y + c.y) / 2}));
}

Point2 Incentre(Point2 a, Point2 b, Point2 c) {
    // Two equal vertices leave a side without a direction.
    if (Coincide(a, b) || Coincide(b, c) || Coincide(a, c)) return kNoPoint;
    const Point2 ub = Unit(Minus(a, b)), vb = Unit(Minus(c, b));
    const Point2 uc = Unit(Minus(a, c)), vc = Unit(Minus(b, c));
    const Point2 atB{ub.x + vb.x, ub.y + vb.y}, atC{uc.x + vc.x, uc.y + vc.y};
    // Each bisector as normal . X = normal . vertex.
    const Point2 nB{-atB.y, atB.x}, nC{-atC.y, atC.x};
    return SolveLinear2(nC.x, nC.y, Dot(nC, c), nB.x, nB.y, Dot(nB, b));
}

Point2 Orthocentre(Point2 a, Point2 b, Point2 c) {
    const Point2 e = Minus(b, a), f = Minus(c, a);
    const Real denominator = e.x * f.y - f.x * e.y;
    const Real k = denominator == 0 ? 0 : (e.x * f.x + e.y * f.y) / denominator;
    return {a.x + k * (f.y - e.y), a.y + k * (e.x - f.x)};
}

Point2 LineIntersection(Point2 a, Point2 b, Point2 c, Point2 d) {
    const Point2 n1{-(a.y - b.y), a.x - b.x}, n2{-(c.y - d.y), c.x - d.x};
    return SolveLinear2(n1.x, n1.y, Dot(n1, a), n2.x, n2.y, Dot(n2, c));
}

namespace {

// S = F + h*u and T = F - h*u with u the unit direction.
std::pair<Point2, Point2> ChordEnds(Point2 foot, Point2 direction, Real h) {
    const Point2 u = Unit(direction);
    return {{foot.x + h * u.x, foot.y + h * u.y}, {foot.x - h * u.x, foot.y - h * u.y}};
}

}  // namespace

std::pair<Point2, Point2> LineCircle(Point2 a, Point2 b, Point2 m, Point2 p) {
    if (Coincide(a, b)) return {kNoPoint, kNoPoint};
    const Point2 ab = Minus(b, a);
    const Point2 normal{-ab.y, ab.x};
    const Point2 foot = SolveLinear2(normal.x, normal.y, Dot(normal, a), ab.x, ab.y, Dot(ab, m));
    const Real r = Length(Minus(p, m)), d = Length(Minus(foot, m));
    const Real h = r > d ? std::sqrt(r * r - d * d) : kNoSolution;
    return ChordEnds(foot, ab, h);
}

std::pair<Point2, Point2> CircleCircle(Point2 m, Point2 p, Point2 k, Point2 q) {
    const Real r1 = Length(Minus(p, m)), r2 = Length(Minus(q, k));
    const Point2 mk = Minus(k, m);
    const Real distance = Length(mk);
    if (distance == 0) return {kNoPoint, kNoPoint};
    const Real a = (r1 * r1 - r2 * r2 + distance * distance) / 2 / distance;
    const Point2 foot{m.x + a / distance * mk.x, m.y + a / distance * mk.y};
    // |a|: the chord may lie behind m, and r1 > a alone would take a negative root.
    const Real h = r1 > std::fabs(a) ? std::sqrt(r1 * r1 - a * a) : kNoSolution;
    return ChordEnds(foot, {-mk.y, mk.x}, h);
}

Plane PlaneThrough(Point3 a, Point3 b, Point3 c) {
    const Point3 e{b.x - a.x, b.y - a.y, b.z - a.z}, f{c.x - a.x, c.y - a.y, c.z - a.z};
    Plane plane{e.y * f.z - e.z * f.y, e.z * f.x - e.x * f.z, e.x * f.y - e.y * f.x, 0};
    plane.d = plane.a * a.x + plane.b * a.y + plane.c * a.z;
    return plane;
}

Point3 LinePlane(const Plane& plane, Point3 p, Point3 q) {
    const Real denominator = plane.a * (p.x - q.x) + plane.b * (p.y - q.y) + plane.c * (p.z - q.z);
    if (denominator == 0) return {kNoSolution, kNoSolution, kNoSolution};
    const Real t = -(plane.a * p.x + plane.b * p.y + plane.c * p.z - plane.d) / denominator;
    return {p.x + t * (p.x - q.x), p.y + t * (p.y - q.y), p.z + t * (p.z - q.z)};
}

Point2 ConflictPoint(Point2 p, Point2 q, Point2 d) {
    const Point2 qp = Minus(q, p);
    return SolveLinear2(d.x, d.y, Dot(d, q), qp.x, qp.y,
                        Dot(qp, {(p.x + q.x) / 2, (p.y + q.y) / 2}));
}

}  // namespace expr
