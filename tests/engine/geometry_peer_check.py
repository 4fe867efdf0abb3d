"""Checks the construction results and 3D projections that geometry_peer_test wrote.

Each line is: KIND input... | result...; the constructions are compared with SymPy's
geometry module on the exact inputs, the projections with the formulas in NumPy.
Prints one line per disagreement and closes with 'N passed, M failed'.
"""
import math
import sys
from fractions import Fraction

import numpy as np
from sympy import Circle, Line, Line3D, Plane, Point, Point3D, Rational, Triangle, pi, sqrt

NONE = 2147483647
TOLERANCE = 1e-12


def close(ours, theirs):
    theirs = float(theirs)
    return abs(ours - theirs) <= TOLERANCE * max(1.0, abs(theirs))


def exact(text):
    return Rational(Fraction(text))


def points2(values):
    return [Point(values[i], values[i + 1]) for i in range(0, len(values), 2)]


def same_point(ours, point):
    return all(close(o, c.evalf(30)) for o, c in zip(ours, point.args))


def far(ours):
    return any(abs(v) > NONE / 2 for v in ours)


def check(kind, inputs, results):
    x = [exact(v) for v in inputs]
    if kind == "projectie":
        a, b, p = points2(x)
        return same_point(results, Line(a, b).projection(p))
    if kind == "spiegelbeeld":
        a, b, p = points2(x)
        foot = Line(a, b).projection(p)
        return same_point(results, 2 * foot - p)
    if kind == "hoek":
        a, b, c = points2(x)
        angle = Line(a, b).angle_between(Line(a, c)) * 180 / pi
        return close(results[0], angle.evalf(30))
    if kind == "draaivermenigvuldig":
        m, p = points2(x[:4])
        # A numeric angle: SymPy's exact cosines of multiples of pi/180 take long.
        image = p.rotate((-x[4] * pi / 180).evalf(40), m).scale(x[5], x[5], m)
        return same_point(results, image)
    if kind in ("snijpuntmll", "snijpuntbis", "hoogtepunt"):
        a, b, c = points2(x)
        triangle = Triangle(a, b, c)
        if not isinstance(triangle, Triangle):
            # Collinear corners: no circle through them, the altitudes meet at A.
            if kind == "hoogtepunt":
                return same_point(results, a)
            return results == [NONE, NONE]
        if kind == "snijpuntbis":
            # The corners weighted by the opposite sides, numerically: Triangle.incenter
            # simplifies the roots exactly and takes a second per triangle.
            sides = [q.distance(r).evalf(40) for q, r in ((b, c), (c, a), (a, b))]
            total = sum(sides)
            point = Point(*(sum(w * q.args[i] for w, q in zip(sides, (a, b, c))) / total
                            for i in range(2)), evaluate=False)
            return same_point(results, point)
        point = triangle.circumcenter if kind == "snijpuntmll" else triangle.orthocenter
        return same_point(results, point)
    if kind == "snijpuntlijnlijn":
        a, b, c, d = points2(x)
        found = Line(a, b).intersection(Line(c, d))
        if not found:
            return results == [NONE, NONE]
        return same_point(results, found[0])
    if kind in ("snijpuntlijncir", "snijpuntcircir"):
        p1, p2, p3, p4 = points2(x)
        if kind == "snijpuntlijncir":
            found = Line(p1, p2).intersection(Circle(p3, p3.distance(p4)))
        else:
            found = Circle(p1, p1.distance(p2)).intersection(Circle(p3, p3.distance(p4)))
        s, t = results[:2], results[2:]
        if len(found) < 2:
            return far(s) and far(t)
        u, v = found
        return (same_point(s, u) and same_point(t, v)) or (same_point(s, v) and same_point(t, u))
    if kind == "vglvlak":
        a, b, c = (Point3D(*x[i:i + 3]) for i in (0, 3, 6))
        normal = Plane(a, b, c).normal_vector
        d = sum(n * q for n, q in zip(normal, a.args))
        return all(close(o, e) for o, e in zip(results, list(normal) + [d]))
    if kind == "snijpuntlijnvlak":
        a, b, c, p, q = (Point3D(*x[i:i + 3]) for i in (0, 3, 6, 9, 12))
        found = Plane(a, b, c).intersection(Line3D(p, q))
        if not found:
            return all(v == NONE for v in results)
        return same_point(results, found[0])
    if kind == "set3d":
        alpha, f = math.radians(float(x[0])), float(x[1])
        matrix = np.array([float(v) for v in x[2:11]]).reshape(3, 3)
        tx, ty, tz = matrix @ np.array([float(v) for v in x[11:14]])
        expected = (ty - f * tx * math.cos(alpha), tz - f * tx * math.sin(alpha))
        return all(close(o, e) for o, e in zip(results, expected))
    if kind == "set3dcentraal":
        theta, phi = math.radians(float(x[0])), math.radians(float(x[1]))
        rho, d = float(x[2]), float(x[3])
        matrix = np.array([float(v) for v in x[4:13]]).reshape(3, 3)
        tx, ty, tz = matrix @ np.array([float(v) for v in x[13:16]])
        st, ct, sp, cp = np.sin(theta), np.cos(theta), np.sin(phi), np.cos(phi)
        xe = -st * tx + ct * ty
        ye = -cp * ct * tx - cp * st * ty + sp * tz
        ze = -sp * ct * tx - sp * st * ty - cp * tz + rho
        return all(close(o, e) for o, e in zip(results, (d * xe / ze, d * ye / ze)))
    raise ValueError("unknown kind " + kind)


def check_line(line):
    kind, rest = line.split(" ", 1)
    inputs, results = rest.split("|")
    return check(kind, inputs.split(), [float(v) for v in results.split()])


def main():
    with open(sys.argv[1]) as data:
        lines = [line.strip() for line in data if line.strip()]
    verdicts = [check_line(line) for line in lines]
    for line, agreed in zip(lines, verdicts):
        if not agreed:
            print("disagree:", line)
    failed = verdicts.count(False)
    print(f"{len(lines) - failed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
