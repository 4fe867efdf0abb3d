// Differential equations on the plot: the direction fields lijnelveld and
// lijnelveld2 and the solution curves oplossingskromme and oplossingskromme2.
#include <algorithm>
#include <cmath>
#include <memory>

#include "engine/list_commands.h"
#include "engine/runner.h"
#include "expr/compiled_expression.h"
#include "expr/number_format.h"
#include "expr/ode.h"

namespace engine {

namespace {

using expr::OdePoint;

// More grid points than this along one side would make a field of little dashes
// that takes minutes; it is almost always a mistyped step.
constexpr size_t kMaxFieldPoints = 1000;
// A solution curve goes to the outputs in pieces of this many points, so that no
// eepic line grows beyond what LaTeX reads.
constexpr size_t kPiecePoints = 500;

// The right-hand side `text`, compiled into Parser1 next to any other, as a
// function of x and y; a parse error is reported as for every argument.
class RightHandSide {
public:
    RightHandSide(Runner& runner, const std::string& text)
        : parser_(runner.Parser(1)), expression_(runner.Preprocess(text)) {
        try {
            if (expression_.empty()) throw expr::ESyntaxError("Error parsing expression:\r");
            Compile();
        } catch (const expr::EMathParserError&) {
            runner.CompileExpression(parser_, expression_);  // reports it
            throw;
        }
    }
    bool operator()(Real x, Real y, Real& value) const {
        // Compiling the second equation of a system may add a variable, which
        // invalidates the first one's compiled form.
        if (generation_ != parser_.Generation()) Compile();
        parser_.X() = x;
        parser_.Y() = y;
        try {
            value = compiled_->Evaluate();
            return true;
        } catch (const expr::EMathError&) {
            return false;
        }
    }

private:
    void Compile() const {
        compiled_ = parser_.Compile(expression_);
        generation_ = parser_.Generation();
    }

    expr::TParser& parser_;
    std::string expression_;
    mutable std::shared_ptr<expr::CompiledExpression> compiled_;
    mutable uint64_t generation_ = 0;
};

// The commands write Parser1's x and y for every point; a program's own x and y
// (a loop variable, say) get their values back afterwards.
class KeepXY {
public:
    explicit KeepXY(Runner& runner) : parser_(runner.Parser(1)), x_(parser_.X()), y_(parser_.Y()) {}
    ~KeepXY() {
        parser_.X() = x_;
        parser_.Y() = y_;
    }
    KeepXY(const KeepXY&) = delete;
    KeepXY& operator=(const KeepXY&) = delete;

private:
    expr::TParser& parser_;
    Real x_, y_;
};

// The direction at (x, y): (1, f) for one equation, (p, q) for a system.
using Direction = std::function<bool(Real x, Real y, Real& dx, Real& dy)>;

void DirectionField(Runner& runner, const char* word, const Direction& direction, Real xStep,
                    Real yStep) {
    const plot::WorldBox& world = runner.RunWorld();
    const auto columns = expr::FieldGrid(world.x1, world.x2, xStep, kMaxFieldPoints);
    const auto rows = expr::FieldGrid(world.y1, world.y2, yStep, kMaxFieldPoints);
    if (!columns || !rows) {
        const bool positive = xStep > 0 && yStep > 0;
        runner.EndRunWithMessage(
            std::string(word) +
            (positive ? ": met xstep " + expr::FormatGeneral(xStep, 15) + " en ystep " +
                            expr::FormatGeneral(yStep, 15) +
                            " komen er meer dan 1000 lijnstukjes naast of boven elkaar. Kies "
                            "grotere stappen."
                      : std::string(": xstep en ystep moeten groter dan 0 zijn.")));
        return;
    }
    const Real w = world.x2 - world.x1, h = world.y2 - world.y1;
    plot::Drawing& drawing = runner.Draw();
    for (const Real x : *columns) {
        for (const Real y : *rows) {
            Real dx = 0, dy = 0, halfX = 0, halfY = 0;
            // A point where the equation has no value is left out.
            if (!direction(x, y, dx, dy) || !expr::FieldHalfSegment(dx, dy, w, h, halfX, halfY)) {
                continue;
            }
            drawing.Line(x - halfX, y - halfY, x + halfX, y + halfY);
        }
    }
}

// lijnelveld(d.v.;xstep;ystep)
void SlopeField(Runner& runner) {
    const std::string text = runner.NextArgument();
    const Real xStep = runner.NumericArgument(), yStep = runner.NumericArgument();
    KeepXY keep(runner);
    const RightHandSide f(runner, text);
    DirectionField(
        runner, "lijnelveld",
        [&f](Real x, Real y, Real& dx, Real& dy) {
            dx = 1;
            return f(x, y, dy);
        },
        xStep, yStep);
}

// lijnelveld2(x';y';xstep;ystep)
void SystemField(Runner& runner) {
    const std::string pText = runner.NextArgument(), qText = runner.NextArgument();
    const Real xStep = runner.NumericArgument(), yStep = runner.NumericArgument();
    KeepXY keep(runner);
    const RightHandSide p(runner, pText), q(runner, qText);
    DirectionField(
        runner, "lijnelveld2",
        [&p, &q](Real x, Real y, Real& dx, Real& dy) { return p(x, y, dx) && q(x, y, dy); }, xStep,
        yStep);
}

void DrawCurve(Runner& runner, const std::vector<OdePoint>& points) {
    for (size_t first = 0; first + 1 < points.size(); first += kPiecePoints - 1) {
        const size_t last = std::min(points.size(), first + kPiecePoints);
        std::vector<plot::FloatPoint> piece;
        piece.reserve(last - first);
        for (size_t i = first; i < last; ++i) piece.push_back({points[i].x, points[i].y});
        runner.Draw().Path(piece);
    }
}

// Draws the curve, or says why there is none: the equation has no value at the start.
void Solve(Runner& runner, const char* word, const std::string& equation,
           const std::function<bool(OdePoint&)>& step, OdePoint start, Real count) {
    const plot::WorldBox& world = runner.RunWorld();
    const auto window = expr::StopWindow::Around(world.x1, world.x2, world.y1, world.y2);
    const auto points = expr::SolutionCurve(step, start, count, window);
    if (points.size() == 1 && std::isfinite(start.x) && std::isfinite(start.y) &&
        !std::isnan(count)) {
        OdePoint probe = start;
        if (!step(probe)) {
            runner.ShowMessage(kAppCaption,
                               std::string(word) + ": " + equation + " heeft geen waarde bij x = " +
                                   expr::FormatGeneral(start.x, 15) +
                                   ", y = " + expr::FormatGeneral(start.y, 15) + ".",
                               MessageIcon::None);
        }
        return;
    }
    DrawCurve(runner, points);
}

// oplossingskromme(d.v.;x0;y0;stap;aantal;euler|impeuler|runge)
void SolutionCurve(Runner& runner) {
    const std::string text = runner.NextArgument();
    const Real x0 = runner.NumericArgument(), y0 = runner.NumericArgument();
    const Real h = runner.NumericArgument(), count = runner.NumericArgument();
    const std::string word = runner.TextArgument();
    const auto method = expr::OdeMethodNamed(word);
    if (!method) {
        runner.EndRunWithMessage("Onbekende methode: " + word + ". Kies euler, impeuler of runge.");
        return;
    }
    KeepXY keep(runner);
    const RightHandSide f(runner, text);
    const expr::OdeFunction function = std::cref(f);
    Solve(
        runner, "oplossingskromme", "y' = " + text,
        [&](OdePoint& p) { return expr::OdeStep(*method, function, h, p); }, {x0, y0}, count);
}

// oplossingskromme2(x';y';x0;y0;stap;aantal;euler|impeuler)
void SystemCurve(Runner& runner) {
    const std::string pText = runner.NextArgument(), qText = runner.NextArgument();
    const Real x0 = runner.NumericArgument(), y0 = runner.NumericArgument();
    const Real h = runner.NumericArgument(), count = runner.NumericArgument();
    const std::string word = runner.TextArgument();
    const auto method = expr::OdeMethodNamed(word);
    if (!method || *method == expr::OdeMethod::RungeKutta) {
        runner.EndRunWithMessage("Onbekende methode: " + word + ". Kies euler of impeuler.");
        return;
    }
    KeepXY keep(runner);
    const RightHandSide p(runner, pText), q(runner, qText);
    const expr::OdeFunction pf = std::cref(p), qf = std::cref(q);
    Solve(
        runner, "oplossingskromme2", "x' = " + pText + ", y' = " + qText,
        [&](OdePoint& point) { return expr::SystemStep(*method, pf, qf, h, point); }, {x0, y0},
        count);
}

}  // namespace

void RegisterAnalysisCommands(Runner& runner) {
    runner.RegisterCommand("lijnelveld", SlopeField);
    runner.RegisterCommand("lijnelveld2", SystemField);
    runner.RegisterCommand("oplossingskromme", SolutionCurve);
    runner.RegisterCommand("oplossingskromme2", SystemCurve);
    RegisterListCommands(runner);
}

}  // namespace engine
