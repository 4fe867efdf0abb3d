// The 3D commands: the view of the run (set3d, set3dcentraal, setmat3d, rot3d,
// spiegel3d) and the figures, each projected and drawn by its 2D command so that the
// surface, eepic and PDF agree.
#include <cmath>
#include <optional>

#include "engine/runner.h"
#include "expr/number_format.h"
#include "plot/construction_marks.h"

namespace engine {

namespace {

using plot::Drawing;
using plot::FloatPoint;

// However fine the grid, a surface gets at most this many lines in each direction.
constexpr Real kMaxGridLines = 1000;
// Room for rounding in counted steps, so that a step landing on the end still counts.
constexpr Real kStepSlack = 1e-9L;

struct Point3 {
    Real x = 0, y = 0, z = 0;
};

Point3 PointArgument(Runner& runner) {
    Point3 p;
    p.x = runner.NumericArgument();
    p.y = runner.NumericArgument();
    p.z = runner.NumericArgument();
    return p;
}

std::string BehindEyeMessage(const Point3& p) {
    return "Centrale projectie: het punt (" + expr::FormatGeneral(p.x) + "; " +
           expr::FormatGeneral(p.y) + "; " + expr::FormatGeneral(p.z) +
           ") ligt niet voor het oog en kan niet getekend worden. Kies een grotere oogafstand.";
}

// The world point of p; false, with the run ended, when the view cannot show it.
bool Project(Runner& runner, const Point3& p, FloatPoint& world) {
    if (runner.Draw().View().Project(p.x, p.y, p.z, world.x, world.y)) return true;
    runner.EndRunWithMessage(BehindEyeMessage(p));
    return false;
}

bool ProjectedArgument(Runner& runner, FloatPoint& world) {
    return Project(runner, PointArgument(runner), world);
}

bool ValueAt(expr::TParser& parser, Real& value) {
    try {
        value = parser.Value();
        return std::isfinite(value);
    } catch (const expr::EMathError&) {
        return false;
    }
}

// --- The view ---

void Parallel(Runner& runner) {
    const Real angle = runner.NumericArgument(), factor = runner.NumericArgument();
    runner.Draw().View().SetParallel(angle, factor);
}

void Central(Runner& runner) {
    const Real theta = runner.NumericArgument(), phi = runner.NumericArgument();
    const Real eye = runner.NumericArgument(), screen = runner.NumericArgument();
    runner.Draw().View().SetCentral(theta, phi, eye, screen);
}

void Matrix(Runner& runner) {
    std::array<Real, 9> rows{};
    for (Real& value : rows) value = runner.NumericArgument();
    runner.Draw().View().SetMatrix(rows);
}

void Rotation(Runner& runner) {
    const std::string axis = runner.TextArgument();
    runner.Draw().View().Rotate(axis, runner.NumericArgument());
}

void Reflection(Runner& runner) {
    const std::string axis = runner.TextArgument();
    runner.Draw().View().Mirror(axis, runner.NumericArgument());
}

// --- Figures ---

template <void (Drawing::*Draw)(Real, Real, Real, Real)>
void Segment3d(Runner& runner) {
    FloatPoint a, b;
    if (!ProjectedArgument(runner, a) || !ProjectedArgument(runner, b)) return;
    (runner.Draw().*Draw)(a.x, a.y, b.x, b.y);
}

template <void (Drawing::*Draw)(Real, Real)>
void Step3d(Runner& runner) {
    FloatPoint a;
    if (ProjectedArgument(runner, a)) (runner.Draw().*Draw)(a.x, a.y);
}

void Dot3d(Runner& runner) {
    FloatPoint a;
    if (!ProjectedArgument(runner, a)) return;
    runner.Draw().Dot(a.x, a.y, runner.NumericArgument());
}

void Text3d(Runner& runner) {
    FloatPoint a;
    if (!ProjectedArgument(runner, a)) return;
    const std::string text = runner.TextArgument();
    runner.Draw().AlignedText(a.x, a.y, text, runner.TextArgument());
}

void TextWithDot3d(Runner& runner) {
    FloatPoint a;
    if (!ProjectedArgument(runner, a)) return;
    const std::string text = runner.TextArgument();
    const std::string alignment = runner.TextArgument();
    const Real size = runner.NumericArgument();
    runner.Draw().AlignedText(a.x, a.y, text, alignment);
    runner.Draw().Dot(a.x, a.y, size);
}

void Number3d(Runner& runner) {
    FloatPoint a;
    if (!ProjectedArgument(runner, a)) return;
    const std::string text = expr::FormatGeneral(runner.NumericArgument(), 18);
    runner.Draw().AlignedText(a.x, a.y, text, runner.TextArgument());
}

// 3d->2d(x;y;z;var a;var b)
void ToPlane(Runner& runner) {
    FloatPoint a;
    if (!ProjectedArgument(runner, a)) return;
    runner.AssignNumericLine(runner.Cursor(), a.x);
    runner.AssignNumericLine(runner.Cursor() + 1, a.y);
    runner.SetCursor(runner.Cursor() + 2);
}

// The three expressions of a space curve, in Parser1..Parser3. The texts are read
// before the numbers and compiled after them: evaluating an argument may reuse
// Parser1.
// Parser1 holds the program's own variables: its t goes back to the program's value
// afterwards, so that a loop over t around a space curve keeps counting.
struct SpaceFunctions {
    std::array<std::string, 3> texts;
    std::array<expr::TParser*, 3> parsers{};
    Real* programT = nullptr;
    Real savedT = 0;

    SpaceFunctions() = default;
    SpaceFunctions(const SpaceFunctions&) = delete;
    SpaceFunctions& operator=(const SpaceFunctions&) = delete;
    ~SpaceFunctions() {
        if (programT != nullptr) *programT = savedT;
    }

    void Read(Runner& runner) {
        for (std::string& text : texts) text = runner.Preprocess(runner.NextArgument());
    }
    void Compile(Runner& runner) {
        programT = &runner.Parser(1).T();
        savedT = *programT;
        for (int i = 0; i < 3; ++i) {
            parsers[i] = &runner.Parser(i + 1);
            runner.CompileExpression(*parsers[i], texts[i]);
        }
    }
    // The projected point of the current variables; false where a value fails or the
    // view cannot show it, which breaks the curve there.
    bool Point(const plot::View3d& view, Real& u, Real& v) const {
        Real x = 0, y = 0, z = 0;
        return ValueAt(*parsers[0], x) && ValueAt(*parsers[1], y) && ValueAt(*parsers[2], z) &&
               view.Project(x, y, z, u, v);
    }
    Drawing::Curve CurveOfT(const plot::View3d& view) const {
        return [this, &view](Real t, Real& u, Real& v) {
            for (expr::TParser* parser : parsers) parser->T() = t;
            return Point(view, u, v);
        };
    }
};

void Curve3d(Runner& runner) {
    SpaceFunctions functions;
    functions.Read(runner);
    const Real tmin = runner.NumericArgument(), tmax = runner.NumericArgument();
    const Real dt = runner.NumericArgument();
    functions.Compile(runner);
    runner.Draw().CurveT(functions.CurveOfT(runner.Draw().View()), tmin, tmax, dt);
}

void DashedCurve3d(Runner& runner) {
    SpaceFunctions functions;
    functions.Read(runner);
    const Real tmin = runner.NumericArgument(), tmax = runner.NumericArgument();
    const Real dt = runner.NumericArgument(), dash = runner.NumericArgument();
    const Real gap = runner.NumericArgument();
    functions.Compile(runner);
    runner.Draw().DashedCurve(functions.CurveOfT(runner.Draw().View()), tmin, tmax, dt, dash, gap);
}

// oppervlak3d(x(u,v);y(u,v);z(u,v);umin;umax;vmin;vmax;du;dv): the curves of constant u,
// then those of constant v.
void Surface3d(Runner& runner) {
    SpaceFunctions functions;
    functions.Read(runner);
    const Real umin = runner.NumericArgument(), umax = runner.NumericArgument();
    const Real vmin = runner.NumericArgument(), vmax = runner.NumericArgument();
    Real du = runner.NumericArgument(), dv = runner.NumericArgument();
    // Like kromme with dt <= 0: a grid that does not move on draws nothing.
    if (!(du > 0) || !(dv > 0) || !std::isfinite(umax - umin) || !std::isfinite(vmax - vmin)) {
        return;
    }
    du = std::max(du, (umax - umin) / kMaxGridLines);
    dv = std::max(dv, (vmax - vmin) / kMaxGridLines);
    // The program's own u and v (in Parser1) come back afterwards.
    expr::TParser& program = runner.Parser(1);
    const std::optional<Real> savedU =
        program.HasVariable("u") ? std::optional(program.ReadVariable("u")) : std::nullopt;
    const std::optional<Real> savedV =
        program.HasVariable("v") ? std::optional(program.ReadVariable("v")) : std::nullopt;
    std::array<Real*, 3> u{}, v{};
    for (int i = 0; i < 3; ++i) {
        u[i] = runner.Parser(i + 1).AssignVariable("u", umin);
        v[i] = runner.Parser(i + 1).AssignVariable("v", vmin);
    }
    struct Restore {
        Real* u;
        Real* v;
        std::optional<Real> savedU, savedV;
        ~Restore() {
            if (savedU) *u = *savedU;
            if (savedV) *v = *savedV;
        }
    } restore{u[0], v[0], savedU, savedV};
    functions.Compile(runner);
    const plot::View3d& view = runner.Draw().View();
    const auto along = [&](std::array<Real*, 3>& moving) {
        return [&functions, &view, &moving](Real value, Real& x, Real& y) {
            for (Real* cell : moving) *cell = value;
            return functions.Point(view, x, y);
        };
    };
    Drawing& drawing = runner.Draw();
    for (Real k = 0; umin + k * du <= umax + kStepSlack * du; ++k) {
        for (Real* cell : u) *cell = umin + k * du;
        drawing.CurveT(along(v), vmin, vmax, dv);
    }
    for (Real k = 0; vmin + k * dv <= vmax + kStepSlack * dv; ++k) {
        for (Real* cell : v) *cell = vmin + k * dv;
        drawing.CurveT(along(u), umin, umax, du);
    }
}

// The points of veelhoek3d and pad3d: triples up to "#", or the list form
// lijst;Lx;Ly;Lz;begin;eind. False when the run has ended.
bool SpacePoints(Runner& runner, std::vector<FloatPoint>& points) {
    const auto skipToEnd = [&runner] {
        while (runner.Cursor() < runner.LineCount() && runner.Line(runner.Cursor()) != "#") {
            runner.NextArgument();
        }
        runner.NextArgument();  // "#"
    };
    if (runner.Line(runner.Cursor()) == "lijst") {
        runner.NextArgument();
        std::array<std::string, 3> names;
        std::array<std::optional<int>, 3> lists;
        for (int i = 0; i < 3; ++i) {
            names[i] = runner.TextArgument();
            lists[i] = expr::ListStore::ListNumber(names[i]);
        }
        const Real first = runner.NumericArgument(), last = runner.NumericArgument();
        skipToEnd();
        if (!lists[0] || !lists[1] || !lists[2]) {
            runner.ShowMessage(
                kAppCaption,
                "ongeldige lijst: " + names[0] + ", " + names[1] + " en/of " + names[2],
                MessageIcon::None);
            return true;
        }
        const Real from = std::max<Real>(std::ceil(first - 0.5L), 1);
        const Real to = std::min<Real>(std::floor(last + 0.5L), 100);
        for (Real i = from; i <= to; ++i) {
            const auto index = static_cast<long long>(i);
            const Point3 p{runner.Lists().Get(*lists[0], index),
                           runner.Lists().Get(*lists[1], index),
                           runner.Lists().Get(*lists[2], index)};
            FloatPoint world;
            if (!Project(runner, p, world)) return false;
            points.push_back(world);
        }
        return true;
    }
    while (runner.Cursor() < runner.LineCount() && runner.Line(runner.Cursor()) != "#") {
        Point3 p;
        p.x = runner.NumericArgument();
        if (runner.Line(runner.Cursor()) == "#") break;  // an incomplete last point
        p.y = runner.NumericArgument();
        if (runner.Line(runner.Cursor()) == "#") break;
        p.z = runner.NumericArgument();
        FloatPoint world;
        if (!Project(runner, p, world)) return false;
        points.push_back(world);
    }
    runner.NextArgument();  // "#"
    return true;
}

void Polygon3d(Runner& runner) {
    std::vector<FloatPoint> points;
    if (SpacePoints(runner, points)) runner.Draw().Polygon(points);
}

void Path3d(Runner& runner) {
    std::vector<FloatPoint> points;
    if (SpacePoints(runner, points)) runner.Draw().Path(points);
}

// --- Marks in space ---

// hoekmarkering3d(a1;a2;a3;b1;b2;b3;c1;c2;c3;grootte;aantal): always arcs, as the
// projected angle is seldom the true one.
void AngleMark3d(Runner& runner) {
    FloatPoint a, b, c;
    if (!ProjectedArgument(runner, a) || !ProjectedArgument(runner, b) ||
        !ProjectedArgument(runner, c)) {
        return;
    }
    const Real size = runner.NumericArgument(), count = runner.NumericArgument();
    plot::MarkAngle(runner.Draw(), a, b, c, size, count, false);
}

void SegmentMark3d(Runner& runner) {
    FloatPoint p, q;
    if (!ProjectedArgument(runner, p) || !ProjectedArgument(runner, q)) return;
    const Real size = runner.NumericArgument(), count = runner.NumericArgument();
    plot::MarkSegment(runner.Draw(), p, q, size, count);
}

}  // namespace

void RegisterSpaceCommands(Runner& runner) {
    runner.RegisterCommand("set3d", Parallel);
    runner.RegisterCommand("set3dcentraal", Central);
    runner.RegisterCommand("setmat3d", Matrix);
    runner.RegisterCommand("rot3d", Rotation);
    runner.RegisterCommand("spiegel3d", Reflection);
    runner.RegisterCommand("lijn3d", Segment3d<&Drawing::Line>);
    runner.RegisterCommand("stippellijn3d", Segment3d<&Drawing::DottedLine>);
    runner.RegisterCommand("gaNaar3d", Step3d<&Drawing::MoveTo>);
    runner.RegisterCommand("lijnNaar3d", Step3d<&Drawing::LineTo>);
    runner.RegisterCommand("stip3d", Dot3d);
    runner.RegisterCommand("tekst3d2", Text3d);
    runner.RegisterCommand("tekst3d2+stip", TextWithDot3d);
    runner.RegisterCommand("uitvoer3d2", Number3d);
    runner.RegisterCommand("3d->2d", ToPlane);
    runner.RegisterCommand("kromme3d", Curve3d);
    runner.RegisterCommand("stippelkromme3d", DashedCurve3d);
    runner.RegisterCommand("oppervlak3d", Surface3d);
    runner.RegisterCommand("veelhoek3d", Polygon3d);
    runner.RegisterCommand("pad3d", Path3d);
    runner.RegisterCommand("hoekmarkering3d", AngleMark3d);
    runner.RegisterCommand("lijnstukmarkering3d", SegmentMark3d);
    RegisterConstructionCommands(runner);
}

}  // namespace engine
