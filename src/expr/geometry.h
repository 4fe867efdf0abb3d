// The computations of the geometric constructions, on plain coordinates: projections,
// mirror images, angles, the special points of a triangle, intersections and planes.
#pragma once

#include <utility>

namespace expr {

using Real = long double;

// The answer of a construction that has no point: parallel lines, a missed circle.
inline constexpr Real kNoSolution = 2147483647;

struct Point2 {
    Real x = 0;
    Real y = 0;
};

struct Point3 {
    Real x = 0;
    Real y = 0;
    Real z = 0;
};

// The plane a*x + b*y + c*z = d.
struct Plane {
    Real a = 0;
    Real b = 0;
    Real c = 0;
    Real d = 0;
};

// a1*x + b1*y = c1, a2*x + b2*y = c2 by Cramer's rule; both kNoSolution when the
// determinant is exactly 0.
Point2 SolveLinear2(Real a1, Real b1, Real c1, Real a2, Real b2, Real c2);

// The foot of the perpendicular from p on line ab, and the mirror image of p in it.
// Undefined (NaN) when a and b coincide; callers check Coincide first.
Point2 Projection(Point2 a, Point2 b, Point2 p);
Point2 MirrorImage(Point2 a, Point2 b, Point2 p);
bool Coincide(Point2 a, Point2 b);

// The angle at a between the rays to b and c, in degrees 0..180; NaN when a leg has
// length 0.
Real AngleDegrees(Point2 a, Point2 b, Point2 c);

// p turned about m by `degrees` (clockwise for a positive angle) and scaled by `factor`.
Point2 RotateScale(Point2 m, Point2 p, Real degrees, Real factor);

// The special points of triangle abc. A degenerate triangle gives kNoSolution for
// the circumcentre and incentre, and a for the orthocentre.
Point2 Circumcentre(Point2 a, Point2 b, Point2 c);
Point2 Incentre(Point2 a, Point2 b, Point2 c);
Point2 Orthocentre(Point2 a, Point2 b, Point2 c);

// The intersection of lines ab and cd; kNoSolution for parallel lines.
Point2 LineIntersection(Point2 a, Point2 b, Point2 c, Point2 d);

// The two intersections of line ab with the circle with centre m through p, and of
// the circles (m through p) and (k through q). Where there are none, or one (a
// tangent), both lie kNoSolution away along the chord's line; without a line at all
// (a = b, or concentric circles) every coordinate is kNoSolution.
std::pair<Point2, Point2> LineCircle(Point2 a, Point2 b, Point2 m, Point2 p);
std::pair<Point2, Point2> CircleCircle(Point2 m, Point2 p, Point2 k, Point2 q);

// The plane through a, b and c, normal e x f (not normalised) with e = b - a, f = c - a.
Plane PlaneThrough(Point3 a, Point3 b, Point3 c);
// The intersection of the plane with line pq; kNoSolution when they are parallel.
Point3 LinePlane(const Plane& plane, Point3 p, Point3 q);

// The point at equal distance from p and from an object whose normal direction at q
// is d: the solution of d.x = d.q and (q - p).x = (q - p).(p + q)/2.
Point2 ConflictPoint(Point2 p, Point2 q, Point2 d);

}  // namespace expr
