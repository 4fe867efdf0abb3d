// The geometric constructions: computed points, angles and planes stored in program
// variables, constructed lines and marks drawn with the 2D figures, and free points.
#include <cmath>

#include "engine/runner.h"
#include "expr/geometry.h"
#include "plot/construction_marks.h"

namespace engine {

namespace {

using expr::Point2;
using expr::Point3;

// Steps of the symmetric difference quotient of rvraaklijn, and the most points an
// orbit of afbeelding2 gets.
constexpr Real kTangentStep = 0.0001L;
constexpr Real kMaxOrbitSteps = 1'000'000;

Point2 PointArgument(Runner& runner) {
    const Real x = runner.NumericArgument();
    return {x, runner.NumericArgument()};
}

Point3 SpacePointArgument(Runner& runner) {
    Point3 p;
    p.x = runner.NumericArgument();
    p.y = runner.NumericArgument();
    p.z = runner.NumericArgument();
    return p;
}

// The result arguments at the cursor get the values, in Parser1..Parser3, so that
// commands that evaluate in the other parsers see them too.
void StoreResults(Runner& runner, std::initializer_list<Real> values) {
    for (Real value : values) {
        runner.AssignNumericLine(runner.Cursor(), value);
        runner.SetCursor(runner.Cursor() + 1);
    }
}

// The point named `name`: the variables name1 and name2.
void StorePoint(Runner& runner, const std::string& name, Point2 p) {
    runner.SetNumeric(name + "1", p.x);
    runner.SetNumeric(name + "2", p.y);
}

// Ends the run when a and b coincide, for a command that needs the line through them.
bool LineExists(Runner& runner, const char* command, Point2 a, Point2 b) {
    if (!expr::Coincide(a, b)) return true;
    runner.EndRunWithMessage(std::string(command) +
                             ": de punten A en B vallen samen, dus er is geen lijn AB.");
    return false;
}

// --- Computed points ---

void Projection(Runner& runner) {
    const Point2 a = PointArgument(runner), b = PointArgument(runner), p = PointArgument(runner);
    if (!LineExists(runner, "projectie", a, b)) return;
    const Point2 foot = expr::Projection(a, b, p);
    StoreResults(runner, {foot.x, foot.y});
}

void Mirror(Runner& runner) {
    const Point2 a = PointArgument(runner), b = PointArgument(runner), p = PointArgument(runner);
    if (!LineExists(runner, "spiegelbeeld", a, b)) return;
    const Point2 image = expr::MirrorImage(a, b, p);
    StoreResults(runner, {image.x, image.y});
}

void Angle(Runner& runner) {
    const Point2 a = PointArgument(runner), b = PointArgument(runner), c = PointArgument(runner);
    if (expr::Coincide(a, b) || expr::Coincide(a, c)) {
        runner.EndRunWithMessage("hoek: een been heeft lengte 0, want B of C valt samen met A.");
        return;
    }
    StoreResults(runner, {expr::AngleDegrees(a, b, c)});
}

void RotateScale(Runner& runner) {
    const Point2 m = PointArgument(runner), p = PointArgument(runner);
    const Real degrees = runner.NumericArgument(), factor = runner.NumericArgument();
    const Point2 image = expr::RotateScale(m, p, degrees, factor);
    StoreResults(runner, {image.x, image.y});
}

template <Point2 (*Construct)(Point2, Point2, Point2)>
void TrianglePoint(Runner& runner) {
    const Point2 a = PointArgument(runner), b = PointArgument(runner), c = PointArgument(runner);
    const Point2 point = Construct(a, b, c);
    StoreResults(runner, {point.x, point.y});
}

void LineLine(Runner& runner) {
    const Point2 a = PointArgument(runner), b = PointArgument(runner);
    const Point2 c = PointArgument(runner), d = PointArgument(runner);
    const Point2 point = expr::LineIntersection(a, b, c, d);
    StoreResults(runner, {point.x, point.y});
}

template <std::pair<Point2, Point2> (*Construct)(Point2, Point2, Point2, Point2)>
void TwoPoints(Runner& runner) {
    const Point2 a = PointArgument(runner), b = PointArgument(runner);
    const Point2 c = PointArgument(runner), d = PointArgument(runner);
    const std::string first = runner.TextArgument();
    const std::string second = runner.TextArgument();
    const auto [s, t] = Construct(a, b, c, d);
    StorePoint(runner, first, s);
    StorePoint(runner, second, t);
}

void LinePlane(Runner& runner) {
    expr::Plane plane;
    plane.a = runner.NumericArgument();
    plane.b = runner.NumericArgument();
    plane.c = runner.NumericArgument();
    plane.d = runner.NumericArgument();
    const Point3 p = SpacePointArgument(runner), q = SpacePointArgument(runner);
    const Point3 s = expr::LinePlane(plane, p, q);
    StoreResults(runner, {s.x, s.y, s.z});
}

void PlaneEquation(Runner& runner) {
    const Point3 a = SpacePointArgument(runner), b = SpacePointArgument(runner);
    const Point3 c = SpacePointArgument(runner);
    const expr::Plane plane = expr::PlaneThrough(a, b, c);
    StoreResults(runner, {plane.a, plane.b, plane.c, plane.d});
}

// rvraaklijn(f(t);g(t);t;var rv1;var rv2): the curve's expressions go to Parser2 and
// Parser3, whose t is a copy, so the program's own t stays as it was.
void TangentVector(Runner& runner) {
    const std::string f = runner.Preprocess(runner.NextArgument());
    const std::string g = runner.Preprocess(runner.NextArgument());
    const Real t = runner.NumericArgument();
    std::array<Real, 2> slopes{};
    for (int i = 0; i < 2; ++i) {
        expr::TParser& parser = runner.Parser(i + 2);
        runner.CompileExpression(parser, i == 0 ? f : g);
        parser.T() = t + kTangentStep;
        const Real after = runner.EvaluateCompiled(parser, i == 0 ? f : g);
        parser.T() = t - kTangentStep;
        const Real before = runner.EvaluateCompiled(parser, i == 0 ? f : g);
        slopes[i] = (after - before) / 2 / kTangentStep;
    }
    StoreResults(runner, {slopes[0], slopes[1]});
}

// --- Drawn lines ---

void DrawRepresentation(Runner& runner, Point2 s, Point2 r, Real tmin, Real tmax) {
    runner.Draw().Line(s.x + tmin * r.x, s.y + tmin * r.y, s.x + tmax * r.x, s.y + tmax * r.y);
}

void VectorRepresentation(Runner& runner) {
    const Point2 s = PointArgument(runner), r = PointArgument(runner);
    const Real tmin = runner.NumericArgument(), tmax = runner.NumericArgument();
    DrawRepresentation(runner, s, r, tmin, tmax);
}

void PerpendicularBisector(Runner& runner) {
    const Point2 a = PointArgument(runner), b = PointArgument(runner);
    const Real tmin = runner.NumericArgument(), tmax = runner.NumericArgument();
    DrawRepresentation(runner, {(a.x + b.x) / 2, (a.y + b.y) / 2}, {a.y - b.y, b.x - a.x}, tmin,
                       tmax);
}

void AngleBisector(Runner& runner) {
    const Point2 a = PointArgument(runner), b = PointArgument(runner), c = PointArgument(runner);
    const Real tmin = runner.NumericArgument(), tmax = runner.NumericArgument();
    const Real ab = std::hypot(a.x - b.x, a.y - b.y), ac = std::hypot(a.x - c.x, a.y - c.y);
    if (!(ab > 0) || !(ac > 0)) return;  // no angle at a: nothing to draw
    DrawRepresentation(runner, a,
                       {(a.x - b.x) / ab + (a.x - c.x) / ac, (a.y - b.y) / ab + (a.y - c.y) / ac},
                       tmin, tmax);
}

void Perpendicular(Runner& runner) {
    const Point2 a = PointArgument(runner), b = PointArgument(runner), c = PointArgument(runner);
    const Real tmin = runner.NumericArgument(), tmax = runner.NumericArgument();
    DrawRepresentation(runner, c, {a.y - b.y, b.x - a.x}, tmin, tmax);
}

void Altitude(Runner& runner) {
    const Point2 a = PointArgument(runner), b = PointArgument(runner), c = PointArgument(runner);
    if (expr::Coincide(a, b)) return;  // no side to drop the altitude on
    const Point2 foot = expr::Projection(a, b, c);
    runner.Draw().Line(c.x, c.y, foot.x, foot.y);
}

void ConflictLine(Runner& runner) {
    const std::string kind = runner.TextArgument();
    const Point2 p = PointArgument(runner), x = PointArgument(runner), y = PointArgument(runner);
    plot::ConflictLine(runner.Draw(), kind, {p.x, p.y}, {x.x, x.y}, {y.x, y.y});
}

void AngleMark(Runner& runner) {
    const Point2 a = PointArgument(runner), b = PointArgument(runner), c = PointArgument(runner);
    const Real size = runner.NumericArgument(), count = runner.NumericArgument();
    plot::MarkAngle(runner.Draw(), {a.x, a.y}, {b.x, b.y}, {c.x, c.y}, size, count, true);
}

void SegmentMark(Runner& runner) {
    const Point2 p = PointArgument(runner), q = PointArgument(runner);
    const Real size = runner.NumericArgument(), count = runner.NumericArgument();
    plot::MarkSegment(runner.Draw(), {p.x, p.y}, {q.x, q.y}, size, count);
}

// afbeelding2(f(x,y);g(x,y);x0;y0;aantal;skip;grootte): the orbit of (x0, y0) as dots.
// f and g live in Parser2 and Parser3, so the program's x and y stay as they were.
void Orbit(Runner& runner) {
    const std::string f = runner.Preprocess(runner.NextArgument());
    const std::string g = runner.Preprocess(runner.NextArgument());
    Real x = runner.NumericArgument(), y = runner.NumericArgument();
    const Real steps = std::min(std::round(runner.NumericArgument()), kMaxOrbitSteps);
    const Real skip = runner.NumericArgument(), size = runner.NumericArgument();
    expr::TParser& fParser = runner.Parser(2);
    expr::TParser& gParser = runner.Parser(3);
    runner.CompileExpression(fParser, f);
    runner.CompileExpression(gParser, g);
    for (Real k = 1; k <= steps; ++k) {
        fParser.X() = gParser.X() = x;
        fParser.Y() = gParser.Y() = y;
        try {
            const Real nextX = fParser.Value(), nextY = gParser.Value();
            if (skip < k) runner.Draw().Dot(nextX, nextY, size);
            x = nextX;
            y = nextY;
        } catch (const expr::EMathError&) {
            // The step fails; the next one starts from the same point.
        }
    }
}

// --- Points as variables ---

void MakePoint(Runner& runner) {
    const std::string name = runner.TextArgument();
    const Real first = runner.NumericArgument(), second = runner.NumericArgument();
    StorePoint(runner, name, {first, second});
}

void MakeSpacePoint(Runner& runner) {
    const std::string name = runner.TextArgument();
    const Point3 p = SpacePointArgument(runner);
    StorePoint(runner, name, {p.x, p.y});
    runner.SetNumeric(name + "3", p.z);
}

// vrijpunt(var;x;y;delta): at (x, y) on every run while the setting reset is on;
// with reset=nee it stays where the user dragged it.
void FreePoint(Runner& runner) {
    const std::string name = runner.TextArgument();
    const Point2 start = PointArgument(runner);
    const Real delta = runner.NumericArgument();
    const std::string first = name + "1", second = name + "2";
    expr::TParser& parser = runner.Parser(1);
    if (runner.Settings().reset || !parser.HasVariable(first) || !parser.HasVariable(second)) {
        StorePoint(runner, name, start);
        return;
    }
    PointerState& pointer = runner.Pointer();
    if (!pointer.buttonDown) return;
    const Real distance =
        std::hypot(parser.ReadVariable(first) - pointer.x, parser.ReadVariable(second) - pointer.y);
    if (pointer.dragged.empty() && distance < delta) pointer.dragged = name;
    // The dragged point follows the mouse however fast it moves.
    if (pointer.dragged == name) StorePoint(runner, name, {pointer.x, pointer.y});
}

}  // namespace

void RegisterConstructionCommands(Runner& runner) {
    runner.RegisterCommand("projectie", Projection);
    runner.RegisterCommand("spiegelbeeld", Mirror);
    runner.RegisterCommand("hoek", Angle);
    runner.RegisterCommand("draaivermenigvuldig", RotateScale);
    runner.RegisterCommand("snijpuntmll", TrianglePoint<expr::Circumcentre>);
    runner.RegisterCommand("snijpuntbis", TrianglePoint<expr::Incentre>);
    runner.RegisterCommand("hoogtepunt", TrianglePoint<expr::Orthocentre>);
    runner.RegisterCommand("snijpuntlijnlijn", LineLine);
    runner.RegisterCommand("snijpuntlijncir", TwoPoints<expr::LineCircle>);
    runner.RegisterCommand("snijpuntcircir", TwoPoints<expr::CircleCircle>);
    runner.RegisterCommand("snijpuntlijnvlak", LinePlane);
    runner.RegisterCommand("vglvlak", PlaneEquation);
    runner.RegisterCommand("rvraaklijn", TangentVector);
    runner.RegisterCommand("vectorvoorstelling", VectorRepresentation);
    runner.RegisterCommand("middelloodlijn", PerpendicularBisector);
    runner.RegisterCommand("bissectrice", AngleBisector);
    runner.RegisterCommand("loodlijn", Perpendicular);
    runner.RegisterCommand("hoogtelijn", Altitude);
    runner.RegisterCommand("conflictlijn", ConflictLine);
    runner.RegisterCommand("hoekmarkering", AngleMark);
    runner.RegisterCommand("lijnstukmarkering", SegmentMark);
    runner.RegisterCommand("afbeelding2", Orbit);
    runner.RegisterCommand("maakpunt", MakePoint);
    runner.RegisterCommand("maakpunt3d", MakeSpacePoint);
    runner.RegisterCommand("vrijpunt", FreePoint);
}

}  // namespace engine
