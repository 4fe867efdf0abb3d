// The drawing commands of the language: arguments evaluated here, figures drawn by
// plot::Drawing on the surface and, during a save, as eepic and PDF.
#include <cmath>
#include <cstdint>
#include <memory>

#include "engine/runner.h"
#include "expr/number_format.h"
#include "plot/axes.h"

namespace engine {

namespace {

using plot::Drawing;
using plot::FloatPoint;

long long Rounded(Real value) {
    if (!std::isfinite(value)) return 0;
    return static_cast<long long>(std::nearbyint(std::clamp(value, -9.0e18L, 9.0e18L)));
}

plot::Colour ColourArgument(Runner& runner) {
    return static_cast<plot::Colour>(Rounded(runner.NumericArgument()) & 0xFFFFFFFF);
}

// An expression of t, x or (x, y) for a command that evaluates it itself: compiled
// into `parser` (reported like any argument when it does not compile).
expr::TParser& CompileFunction(Runner& runner, int parserNumber, const std::string& line) {
    expr::TParser& parser = runner.Parser(parserNumber);
    runner.CompileExpression(parser, runner.Preprocess(line));
    return parser;
}

// A failed evaluation gives no point; the figure breaks there.
bool ValueAt(expr::TParser& parser, Real& value) {
    try {
        value = parser.Value();
        return true;
    } catch (const expr::EMathError&) {
        return false;
    }
}

Drawing::Function FunctionOfX(expr::TParser& parser) {
    return [&parser](Real x, Real& y) {
        parser.X() = x;
        return ValueAt(parser, y);
    };
}

void Line(Runner& runner) {
    const Real x1 = runner.NumericArgument(), y1 = runner.NumericArgument();
    const Real x2 = runner.NumericArgument(), y2 = runner.NumericArgument();
    runner.Draw().Line(x1, y1, x2, y2);
}

void DottedLine(Runner& runner) {
    const Real x1 = runner.NumericArgument(), y1 = runner.NumericArgument();
    const Real x2 = runner.NumericArgument(), y2 = runner.NumericArgument();
    runner.Draw().DottedLine(x1, y1, x2, y2);
}

void MoveTo(Runner& runner) {
    const Real x = runner.NumericArgument(), y = runner.NumericArgument();
    runner.Draw().MoveTo(x, y);
}

void LineTo(Runner& runner) {
    const Real x = runner.NumericArgument(), y = runner.NumericArgument();
    runner.Draw().LineTo(x, y);
}

void Rectangle(Runner& runner) {
    const Real x1 = runner.NumericArgument(), y1 = runner.NumericArgument();
    const Real x2 = runner.NumericArgument(), y2 = runner.NumericArgument();
    runner.Draw().Rectangle(x1, y1, x2, y2);
}

void Ellipse(Runner& runner) {
    const Real x1 = runner.NumericArgument(), y1 = runner.NumericArgument();
    const Real x2 = runner.NumericArgument(), y2 = runner.NumericArgument();
    runner.Draw().Ellipse(x1, y1, x2, y2);
}

void RotatedEllipse(Runner& runner) {
    const Real x1 = runner.NumericArgument(), y1 = runner.NumericArgument();
    const Real x2 = runner.NumericArgument(), y2 = runner.NumericArgument();
    const Real alpha = runner.NumericArgument();
    runner.Draw().RotatedEllipse(x1, y1, x2, y2, alpha);
}

void CircleThrough(Runner& runner) {
    const Real m1 = runner.NumericArgument(), m2 = runner.NumericArgument();
    const Real p1 = runner.NumericArgument(), p2 = runner.NumericArgument();
    runner.Draw().CircleThrough(m1, m2, p1, p2);
}

template <Drawing::ArcKind Kind>
void CircleArc(Runner& runner) {
    const Real m1 = runner.NumericArgument(), m2 = runner.NumericArgument();
    const Real r = runner.NumericArgument();
    const Real start = runner.NumericArgument(), end = runner.NumericArgument();
    runner.Draw().CircleArc(Kind, m1, m2, r, start, end);
}

void Vector(Runner& runner) {
    const Real x = runner.NumericArgument(), y = runner.NumericArgument();
    const Real a = runner.NumericArgument(), b = runner.NumericArgument();
    runner.Draw().Vector(x, y, a, b);
}

void Dot(Runner& runner) {
    const Real x = runner.NumericArgument(), y = runner.NumericArgument();
    const Real size = runner.NumericArgument();
    runner.Draw().Dot(x, y, size);
}

// pixel(var;x;y): the colour of the screen picture at (x, y).
void PixelColour(Runner& runner) {
    const std::string name = runner.TextArgument();
    const Real x = runner.NumericArgument(), y = runner.NumericArgument();
    plot::TPlotSurface& surface = runner.Surface();
    runner.SetNumericAll(name, surface.PixelColour(surface.WindowX(x), surface.WindowY(y)));
}

// The points of veelhoek, pad and bezier: pairs up to "#", or lijst;Lx;Ly;start;end.
std::vector<FloatPoint> PointArguments(Runner& runner) {
    std::vector<FloatPoint> points;
    if (runner.Line(runner.Cursor()) == "lijst") {
        runner.NextArgument();
        const std::string xs = runner.TextArgument();
        const std::string ys = runner.TextArgument();
        const long long start = Rounded(runner.NumericArgument());
        const long long end = Rounded(runner.NumericArgument());
        while (runner.Cursor() < runner.LineCount() && runner.Line(runner.Cursor()) != "#") {
            runner.NextArgument();
        }
        runner.NextArgument();
        const auto xList = expr::ListStore::ListNumber(xs);
        const auto yList = expr::ListStore::ListNumber(ys);
        if (!xList || !yList) {
            runner.ShowMessage(kAppCaption, "ongeldige lijst: " + xs + " en/of " + ys,
                               MessageIcon::None);
            return points;
        }
        for (long long i = std::max(start, 1LL); i <= std::min<long long>(end, 100); ++i) {
            points.push_back({runner.Lists().Get(*xList, i), runner.Lists().Get(*yList, i)});
        }
        return points;
    }
    while (runner.Cursor() < runner.LineCount() && runner.Line(runner.Cursor()) != "#") {
        const Real x = runner.NumericArgument();
        if (runner.Line(runner.Cursor()) == "#") break;  // an odd count: the last x has no y
        const Real y = runner.NumericArgument();
        points.push_back({x, y});
    }
    runner.NextArgument();  // the closing "#"
    return points;
}

void Polygon(Runner& runner) {
    runner.Draw().Polygon(PointArguments(runner));
}
void Path(Runner& runner) {
    runner.Draw().Path(PointArguments(runner));
}
void Bezier(Runner& runner) {
    runner.Draw().Bezier(PointArguments(runner));
}

template <Drawing::HalfPlaneKind Kind>
void HalfPlane(Runner& runner) {
    const Real a = runner.NumericArgument(), b = runner.NumericArgument();
    const Real c = runner.NumericArgument();
    runner.Draw().HalfPlane(Kind, a, b, c);
}

// kromme(f(t);g(t);tmin;tmax;dt)
Drawing::Curve CurveArguments(Runner& runner) {
    expr::TParser& f = CompileFunction(runner, 2, runner.NextArgument());
    expr::TParser& g = CompileFunction(runner, 3, runner.NextArgument());
    return [&f, &g](Real t, Real& x, Real& y) {
        f.T() = t;
        g.T() = t;
        return ValueAt(f, x) && ValueAt(g, y);
    };
}

void Curve(Runner& runner) {
    const Drawing::Curve curve = CurveArguments(runner);
    const Real tmin = runner.NumericArgument(), tmax = runner.NumericArgument();
    const Real dt = runner.NumericArgument();
    runner.Draw().CurveT(curve, tmin, tmax, dt);
}

void DashedCurve(Runner& runner) {
    const Drawing::Curve curve = CurveArguments(runner);
    const Real tmin = runner.NumericArgument(), tmax = runner.NumericArgument();
    const Real dt = runner.NumericArgument(), dash = runner.NumericArgument();
    const Real gap = runner.NumericArgument();
    runner.Draw().DashedCurve(curve, tmin, tmax, dt, dash, gap);
}

void Graph(Runner& runner) {
    expr::TParser& f = CompileFunction(runner, 2, runner.NextArgument());
    runner.Draw().Graph(FunctionOfX(f));
}

// gebied(a;b;f(x);...;#): the pieces are drawn one after the other, so each
// function is compiled into Parser2 when its piece starts.
void Area(Runner& runner) {
    auto compiled = std::make_shared<size_t>(SIZE_MAX);
    std::vector<plot::AreaPiece> pieces;
    while (runner.Cursor() < runner.LineCount() && runner.Line(runner.Cursor()) != "#") {
        const Real from = runner.NumericArgument();
        const Real to = runner.NumericArgument();
        const std::string text = runner.Preprocess(runner.NextArgument());
        const size_t index = pieces.size();
        expr::TParser& parser = runner.Parser(2);
        auto function = [&runner, &parser, compiled, index, text](Real x, Real& y) {
            if (*compiled != index) {
                runner.CompileExpression(parser, text);
                *compiled = index;
            }
            parser.X() = x;
            return ValueAt(parser, y);
        };
        pieces.push_back({from, to, function});
    }
    runner.NextArgument();  // "#"
    runner.Draw().Area(pieces);
}

void WebGraph(Runner& runner) {
    expr::TParser& f = CompileFunction(runner, 2, runner.NextArgument());
    const Real start = runner.NumericArgument();
    const Real iterations = runner.NumericArgument();
    const Real skip = runner.NumericArgument();
    runner.Draw().WebGraph(FunctionOfX(f), start, iterations, skip);
}

Drawing::Function2 ImplicitFunction(Runner& runner) {
    expr::TParser& f = CompileFunction(runner, 1, runner.NextArgument());
    return [&f](Real x, Real y, Real& value) {
        f.X() = x;
        f.Y() = y;
        return ValueAt(f, value);
    };
}

void Implicit(Runner& runner) {
    const Drawing::Function2 f = ImplicitFunction(runner);
    const plot::WorldBox& world = runner.RunWorld();
    runner.Draw().Implicit(f, world.x1, world.x2, world.y1, world.y2, 5);
}

void Implicit2(Runner& runner) {
    const Drawing::Function2 f = ImplicitFunction(runner);
    const Real minx = runner.NumericArgument(), maxx = runner.NumericArgument();
    const Real miny = runner.NumericArgument(), maxy = runner.NumericArgument();
    const Real pixels = runner.NumericArgument();
    runner.Draw().Implicit(f, minx, maxx, miny, maxy, pixels);
}

// --- Texts ---

void Text(Runner& runner) {
    const Real x = runner.NumericArgument(), y = runner.NumericArgument();
    runner.Draw().Text(x, y, runner.TextArgument());
}

void RotatedText(Runner& runner) {
    const Real x = runner.NumericArgument(), y = runner.NumericArgument();
    const std::string text = runner.TextArgument();
    runner.Draw().RotatedText(x, y, text, runner.NumericArgument());
}

template <char Horizontal>
void FixedAlignedText(Runner& runner) {
    const Real x = runner.NumericArgument(), y = runner.NumericArgument();
    runner.Draw().AlignedText(x, y, runner.TextArgument(), std::string(1, Horizontal) + "t");
}

void AlignedText(Runner& runner) {
    const Real x = runner.NumericArgument(), y = runner.NumericArgument();
    const std::string text = runner.TextArgument();
    runner.Draw().AlignedText(x, y, text, runner.TextArgument());
}

void AlignedTextWithDot(Runner& runner) {
    const Real x = runner.NumericArgument(), y = runner.NumericArgument();
    const std::string text = runner.TextArgument();
    const std::string alignment = runner.TextArgument();
    const Real size = runner.NumericArgument();
    runner.Draw().AlignedText(x, y, text, alignment);
    runner.Draw().Dot(x, y, size);
}

std::string NumberText(Runner& runner) {
    return expr::FormatGeneral(runner.NumericArgument(), 18);
}

void Number(Runner& runner) {
    const Real x = runner.NumericArgument(), y = runner.NumericArgument();
    runner.Draw().Text(x, y, NumberText(runner));
}

template <char Horizontal>
void FixedAlignedNumber(Runner& runner) {
    const Real x = runner.NumericArgument(), y = runner.NumericArgument();
    runner.Draw().AlignedText(x, y, NumberText(runner), std::string(1, Horizontal) + "t");
}

void AlignedNumber(Runner& runner) {
    const Real x = runner.NumericArgument(), y = runner.NumericArgument();
    const std::string text = NumberText(runner);
    runner.Draw().AlignedText(x, y, text, runner.TextArgument());
}

// --- Drawing state ---

void PenColour(Runner& runner) {
    runner.Draw().SetPenColour(ColourArgument(runner));
}
void FillColour(Runner& runner) {
    runner.Draw().SetFillColour(ColourArgument(runner));
}
void FontColour(Runner& runner) {
    runner.Draw().SetFontColour(ColourArgument(runner));
}

void LineWidth(Runner& runner) {
    runner.Draw().SetLineWidth(
        static_cast<int>(std::clamp(Rounded(runner.NumericArgument()), -1000LL, 1000LL)));
}

void FillStyle(Runner& runner) {
    runner.Draw().SetFillStyle(
        static_cast<int>(std::clamp(Rounded(runner.NumericArgument()), -1LL, 100LL)));
}

// lettergrootte(*factor): the argument completes an expression that starts with the
// current font size, so "*0.8" and "+2" both work.
void FontSize(Runner& runner) {
    const std::string size = expr::FormatGeneral(runner.Surface().GetFont().size, 15);
    runner.Draw().SetFontSize(runner.EvaluateNumeric(size + runner.TextArgument()));
}

void FontStyle(Runner& runner) {
    runner.Draw().AddFontStyle(runner.TextArgument());
}
void FontFace(Runner& runner) {
    runner.Draw().SetFontFace(runner.TextArgument());
}

// --- Axes of the program's own ---

void OwnAxes(Runner& runner) {
    const Real xStep = runner.NumericArgument(), yStep = runner.NumericArgument();
    plot::DrawOwnAxes(runner.Draw(), runner.AxesOptions(), xStep, yStep, "", "");
}

void OwnAxesWithFormats(Runner& runner) {
    const Real xStep = runner.NumericArgument(), yStep = runner.NumericArgument();
    const std::string xFormat = runner.TextArgument();
    const std::string yFormat = runner.TextArgument();
    plot::DrawOwnAxes(runner.Draw(), runner.AxesOptions(), xStep, yStep, xFormat, yFormat);
}

}  // namespace

void RegisterDrawingCommands(Runner& runner) {
    runner.RegisterCommand("lijn", Line);
    runner.RegisterCommand("stippellijn", DottedLine);
    runner.RegisterCommand("gaNaar", MoveTo);
    runner.RegisterCommand("lijnNaar", LineTo);
    runner.RegisterCommand("rechthoek", Rectangle);
    runner.RegisterCommand("ellips", Ellipse);
    runner.RegisterCommand("gedraaideellips", RotatedEllipse);
    runner.RegisterCommand("cirkelmppunt", CircleThrough);
    runner.RegisterCommand("cirkelboog", CircleArc<Drawing::ArcKind::Arc>);
    runner.RegisterCommand("cirkelsector", CircleArc<Drawing::ArcKind::Sector>);
    runner.RegisterCommand("cirkelsegment", CircleArc<Drawing::ArcKind::Segment>);
    runner.RegisterCommand("vector", Vector);
    runner.RegisterCommand("stip", Dot);
    runner.RegisterCommand("pixel", PixelColour);
    runner.RegisterCommand("veelhoek", Polygon);
    runner.RegisterCommand("pad", Path);
    runner.RegisterCommand("bezier", Bezier);
    runner.RegisterCommand("ax+by>c", HalfPlane<Drawing::HalfPlaneKind::Greater>);
    runner.RegisterCommand("ax+by<c", HalfPlane<Drawing::HalfPlaneKind::Less>);
    runner.RegisterCommand("ax+by=c", HalfPlane<Drawing::HalfPlaneKind::Equal>);
    runner.RegisterCommand("kromme", Curve);
    runner.RegisterCommand("stippelkromme", DashedCurve);
    runner.RegisterCommand("grafiek", Graph);
    runner.RegisterCommand("gebied", Area);
    runner.RegisterCommand("webgrafiek", WebGraph);
    runner.RegisterCommand("impliciet", Implicit);
    runner.RegisterCommand("impliciet2", Implicit2);
    runner.RegisterCommand("tekst", Text);
    runner.RegisterCommand("gedraaidetekst", RotatedText);
    runner.RegisterCommand("tekstc", FixedAlignedText<'c'>);
    runner.RegisterCommand("tekstr", FixedAlignedText<'r'>);
    runner.RegisterCommand("tekst2", AlignedText);
    runner.RegisterCommand("tekst2+stip", AlignedTextWithDot);
    runner.RegisterCommand("uitvoer", Number);
    runner.RegisterCommand("uitvoerc", FixedAlignedNumber<'c'>);
    runner.RegisterCommand("uitvoerr", FixedAlignedNumber<'r'>);
    runner.RegisterCommand("uitvoer2", AlignedNumber);
    runner.RegisterCommand("tekenkleur", PenColour);
    runner.RegisterCommand("lijndikte", LineWidth);
    runner.RegisterCommand("vulkleur", FillColour);
    runner.RegisterCommand("vulstijl", FillStyle);
    runner.RegisterCommand("lettergrootte", FontSize);
    runner.RegisterCommand("letterkleur", FontColour);
    runner.RegisterCommand("letterstijl", FontStyle);
    runner.RegisterCommand("lettertype", FontFace);
    runner.RegisterCommand("eigenassen", OwnAxes);
    runner.RegisterCommand("eigenassenf", OwnAxesWithFormats);
}

}  // namespace engine
