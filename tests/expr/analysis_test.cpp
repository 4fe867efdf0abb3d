// ODE steps and solution curves, statistics, regression and list text.
#include <gtest/gtest.h>

#include <cmath>

#include "expr/list_text.h"
#include "expr/ode.h"
#include "expr/regression.h"
#include "expr/statistics.h"
#include "near.h"

namespace expr {
namespace {

using testing::Near;

OdeFunction Slope(Real (*f)(Real, Real)) {
    return [f](Real x, Real y, Real& value) {
        value = f(x, y);
        return true;
    };
}

// The curve of y' = f from (x0, y0) in a -5..5 window; returns its last point.
std::vector<OdePoint> Curve(OdeMethod method, const OdeFunction& f, Real x0, Real y0, Real h,
                            Real count, Real size = 5) {
    return SolutionCurve([&](OdePoint& p) { return OdeStep(method, f, h, p); }, {x0, y0}, count,
                         StopWindow::Around(-size, size, -size, size));
}

TEST(Ode, StepsAndStopRules) {
    const OdeFunction grow = Slope([](Real, Real y) { return y; });
    // Euler on y' = y: 10 steps of 0.1 end at 1.1^10.
    auto points = Curve(OdeMethod::Euler, grow, 0, 1, 0.1L, 9);
    ASSERT_EQ(points.size(), 11u);
    EXPECT_TRUE(Near(points.back().x, 1, 1e-17L));
    EXPECT_TRUE(Near(points.back().y, std::pow(1.1L, 10), 1e-15L));
    EXPECT_TRUE(
        Near(Curve(OdeMethod::RungeKutta, grow, 0, 1, 0.1L, 9).back().y, std::exp(1.0L), 3e-6L));
    // Backwards to x = -1, near 1/e.
    points = Curve(OdeMethod::RungeKutta, grow, 0, 1, -0.1L, 9);
    EXPECT_TRUE(Near(points.back().x, -1, 1e-17L));
    EXPECT_TRUE(Near(points.back().y, std::exp(-1.0L), 1e-6L));
    // Improved Euler: one step of y' = y from 1 is 1 + h + h^2/2.
    points = Curve(OdeMethod::ImprovedEuler, grow, 0, 1, 0.1L, 0);
    EXPECT_TRUE(Near(points.back().y, 1.105L, 1e-17L));

    // y' = 0: a horizontal line that ends after 101 steps, or once x passes 1.4 * 5.
    const OdeFunction flat = Slope([](Real, Real) { return Real{0}; });
    EXPECT_EQ(Curve(OdeMethod::Euler, flat, 0, 1, 0.3L, 100).size(), 25u);  // x = 7.2 is out
    EXPECT_EQ(Curve(OdeMethod::Euler, flat, 0, 1, 0.01L, 100).size(), 102u);
    // Step 0 comes back to the start at once; a huge count is capped.
    EXPECT_EQ(Curve(OdeMethod::Euler, flat, 0, 1, 0, 100).size(), 2u);
    EXPECT_EQ(Curve(OdeMethod::Euler, flat, 0, 1, 1e-12L, 1e12L).size(),
              static_cast<size_t>(kMaxCurveSteps) + 1);
    // A right-hand side without a value gives only the start; one that fails later ends there.
    const OdeFunction never = [](Real, Real, Real&) { return false; };
    EXPECT_EQ(Curve(OdeMethod::RungeKutta, never, 0, 1, 0.1L, 100).size(), 1u);
    const OdeFunction root = [](Real x, Real, Real& value) {
        value = std::sqrt(1 - x);
        return x <= 1;
    };
    EXPECT_EQ(Curve(OdeMethod::Euler, root, 0, 0, 0.25L, 100).size(), 6u);  // x = 0 .. 1.25
}

// Runge-Kutta has global error O(h^4): halving h divides it by about 16.
TEST(Ode, RungeKuttaMatchesExactSolutions) {
    struct Case {
        const char* name;
        Real (*f)(Real, Real);
        Real (*exact)(Real);
    };
    const Case cases[] = {
        {"y'=y", [](Real, Real y) { return y; }, [](Real x) { return std::exp(x); }},
        {"y'=-2xy", [](Real x, Real y) { return -2 * x * y; },
         [](Real x) { return std::exp(-x * x); }},
        {"y'=cos(x)", [](Real x, Real) { return std::cos(x); }, [](Real x) { return std::sin(x); }},
    };
    for (const Case& c : cases) {
        Real previous = 0;
        for (const Real h : {0.1L, 0.05L, 0.025L}) {
            const auto points = Curve(OdeMethod::RungeKutta, Slope(c.f), 0, c.exact(0), h,
                                      std::round(2 / h) - 1, 10);
            ASSERT_TRUE(Near(points.back().x, 2, 1e-15L)) << c.name;
            const Real error = std::fabs(points.back().y - c.exact(2));
            EXPECT_LT(error, h * h * h * h) << c.name << " h=" << static_cast<double>(h);
            if (previous > 1e-15L) {
                EXPECT_GT(previous / error, 12) << c.name;
            }
            previous = error;
        }
    }
}

TEST(Ode, SystemStepsAndFieldGrid) {
    // x' = -y, y' = x: a circle; improved Euler keeps the radius to O(h^2) per turn.
    const OdeFunction px = [](Real, Real y, Real& v) {
        v = -y;
        return true;
    };
    const OdeFunction py = [](Real x, Real, Real& v) {
        v = x;
        return true;
    };
    OdePoint p{1, 0};
    for (int i = 0; i < 628; ++i)
        ASSERT_TRUE(SystemStep(OdeMethod::ImprovedEuler, px, py, 0.01L, p));
    EXPECT_NEAR(static_cast<double>(std::hypot(p.x, p.y)), 1.0, 1e-4);
    p = {1, 0};
    ASSERT_TRUE(SystemStep(OdeMethod::Euler, px, py, 0.5L, p));
    EXPECT_TRUE(Near(p.x, 1, 0) && Near(p.y, 0.5L, 0));

    // The 0.001 allowance keeps the far edge: -5 .. 5 in steps of 1 is 11 points.
    EXPECT_EQ(FieldGrid(-5, 5, 1, 1000)->size(), 11u);
    EXPECT_EQ(FieldGrid(-5, 5, 0.1L, 1000)->size(), 101u);
    EXPECT_FALSE(FieldGrid(-5, 5, 0, 1000));
    EXPECT_FALSE(FieldGrid(-5, 5, -1, 1000));
    EXPECT_FALSE(FieldGrid(-5, 5, 1e-9L, 1000));
    EXPECT_FALSE(FieldGrid(-5, 5, NAN, 1000));
    // Half a segment is 1/60 of the window: in a 10 x 10 window a flat one is 1/6 long.
    Real hx = 0, hy = 0;
    ASSERT_TRUE(FieldHalfSegment(1, 0, 10, 10, hx, hy));
    EXPECT_TRUE(Near(hx, 10.0L / 60, 1e-18L) && hy == 0);
    ASSERT_TRUE(FieldHalfSegment(1, 1, 10, 20, hx, hy));
    EXPECT_TRUE(Near(std::hypot(hx / 10, hy / 20), 1.0L / 60, 1e-18L));
    EXPECT_FALSE(FieldHalfSegment(0, 0, 10, 10, hx, hy));
    EXPECT_TRUE(OdeMethodNamed("runge") && !OdeMethodNamed("Runge") && !OdeMethodNamed("rk4"));
}

TEST(Statistics, MeanDeviationAndErrors) {
    auto s = Statistics({2, 4, 6}, {});
    EXPECT_TRUE(Near(s.mean, 4) && Near(s.deviation, std::sqrt(8.0L / 3)));
    s = Statistics({1, 3}, {1, 3});
    EXPECT_TRUE(Near(s.mean, 2.5L));
    EXPECT_TRUE(Near(s.deviation, std::sqrt(0.75L)));
    // Equal values: 0, never the NaN of a rounding-negative variance.
    s = Statistics({0.1L, 0.1L, 0.1L}, {});
    EXPECT_LT(s.deviation, 1e-18L);
    EXPECT_THROW(Statistics({1, 2}, {0, 0}), EAnalysisError);
    EXPECT_THROW(Statistics({}, {}), EAnalysisError);
}

TEST(Statistics, PointInPolygon) {
    const std::vector<Real> xs = {0, 4, 4, 0}, ys = {0, 0, 4, 4};
    struct Case {
        Real x, y;
        bool inside;
    };
    for (const Case& c :
         {Case{2, 2, true}, Case{5, 2, false}, Case{-1, 2, false}, Case{2, 5, false},
          Case{0, 2, true}, Case{4, 2, false}, Case{2, 0, true}, Case{2, 4, false}}) {
        EXPECT_EQ(PointInPolygon(c.x, c.y, xs, ys), c.inside) << c.x << "," << c.y;
    }
    // A concave polygon (a "U"): the notch is outside.
    const std::vector<Real> ux = {0, 3, 3, 2, 2, 1, 1, 0}, uy = {0, 0, 3, 3, 1, 1, 3, 3};
    EXPECT_FALSE(PointInPolygon(1.5L, 2, ux, uy));
    EXPECT_TRUE(PointInPolygon(0.5L, 2, ux, uy));
    // Fewer than three vertices hold nothing.
    EXPECT_FALSE(PointInPolygon(0, 0, {}, {}));
    EXPECT_FALSE(PointInPolygon(1, 1, {1}, {1}));
    EXPECT_FALSE(PointInPolygon(1, 1, {0, 2}, {0, 2}));
}

TEST(Regression, FormsAndEquations) {
    auto fit = Regression(RegressionForm::Linear, {1, 2, 3}, {3, 5, 7});
    EXPECT_EQ(fit.equation, "(2)*x+(1)");
    EXPECT_TRUE(Near(fit.correlation, 1, 1e-18L));
    fit = Regression(RegressionForm::Linear, {1, 2, 3}, {7, 5, 3});
    EXPECT_TRUE(Near(fit.correlation, -1, 1e-18L));
    // y = 3 * 2^x, y = 2 x^3 and y = 4 ln x + 1 come back exactly.
    fit = Regression(RegressionForm::Exponential, {0, 1, 2, 3}, {3, 6, 12, 24});
    EXPECT_EQ(fit.equation, "(3)*2^x");
    fit = Regression(RegressionForm::Power, {1, 2, 4}, {2, 16, 128});
    EXPECT_EQ(fit.equation, "(2)*x^(3)");
    fit = Regression(RegressionForm::Logarithmic, {1, std::exp(1.0L), std::exp(2.0L)}, {1, 5, 9});
    EXPECT_EQ(fit.equation, "(4)*ln(x)+(1)");
    // All y equal: a horizontal line, r = 0 (not NaN).
    fit = Regression(RegressionForm::Linear, {1, 2, 3}, {2, 2, 2});
    EXPECT_EQ(fit.equation, "(0)*x+(2)");
    EXPECT_EQ(fit.correlation, 0);
}

TEST(Regression, BadDataGivesMessages) {
    const auto message = [](auto call) {
        try {
            call();
        } catch (const EAnalysisError& error) {
            return std::string(error.what());
        }
        return std::string("(geen fout)");
    };
    EXPECT_EQ(message([] {
                  Regression(RegressionForm::Exponential, {1, 2, 3}, {1, 0, 2}, 5);
              }),
              "expreg: ln(y) bestaat niet voor element 6 (y = 0).");
    EXPECT_EQ(message([] {
                  Regression(RegressionForm::Power, {1, -2}, {1, 2});
              }),
              "pwrreg: ln(x) bestaat niet voor element 2 (x = -2).");
    EXPECT_EQ(message([] {
                  Regression(RegressionForm::Linear, {2, 2, 2}, {1, 2, 3});
              }),
              "linreg: alle x-waarden zijn gelijk, dus er is geen regressielijn.");
    EXPECT_EQ(message([] { Regression(RegressionForm::Linear, {2}, {1}); }),
              "linreg: alle x-waarden zijn gelijk, dus er is geen regressielijn.");
    EXPECT_EQ(message([] {
                  PolynomialFit({1, 1, 1}, {1, 2, 3}, 2);
              }),
              "polyreg: graad 2 is te hoog voor deze punten; kies een lagere graad.");
    std::vector<Real> xs, ys;
    for (int i = 1; i <= 100; ++i) {
        xs.push_back(i);
        ys.push_back(std::sin(i));
    }
    EXPECT_EQ(message([&] { PolynomialFit(xs, ys, 50); }),
              "polyreg: graad 50 is te hoog voor deze punten; kies een lagere graad.");
    EXPECT_EQ(message([] {
                  PolynomialFit({1, 2}, {1, 2}, -1);
              }),
              "polyreg: de graad moet 0 of meer zijn.");
}

TEST(Regression, PolynomialFit) {
    // y = 1 - 2x + 3x^2 through five points comes back; degree 0 is the mean.
    std::vector<Real> xs = {-2, -1, 0, 1, 2}, ys;
    for (const Real x : xs) ys.push_back(1 - 2 * x + 3 * x * x);
    const auto c = PolynomialFit(xs, ys, 2);
    ASSERT_EQ(c.size(), 3u);
    EXPECT_TRUE(Near(c[0], 1, 1e-15L) && Near(c[1], -2, 1e-15L) && Near(c[2], 3, 1e-15L));
    EXPECT_TRUE(Near(PolynomialFit(xs, ys, 0)[0], 7, 1e-15L));
}

TEST(ListText, ReadingBlocksAndNumbers) {
    struct Case {
        const char* text;
        std::optional<Real> value;
    };
    for (const Case& c :
         {Case{"1,5", 1.5L}, Case{" 2.25 ", 2.25L}, Case{"-3e2", -300}, Case{"1,5E-3", 0.0015L},
          Case{"abc", std::nullopt}, Case{"", std::nullopt}, Case{"1.234,5", std::nullopt}}) {
        EXPECT_EQ(ReadListNumber(c.text), c.value) << c.text;
    }
    // A spreadsheet block: CRLF lines, tabs, an empty cell, a closing line break.
    NumberTable table = ReadNumberTable("1\t2,5\r\n3\t\t7\r\n", 100, 6);
    ASSERT_EQ(table.rows.size(), 2u);
    EXPECT_EQ(table.rows[0][1], 2.5L);
    EXPECT_FALSE(table.rows[1][1]);
    EXPECT_EQ(table.rows[1][2], 7);
    EXPECT_FALSE(table.cut);
    EXPECT_TRUE(ReadNumberTable("1\t2\t3", 5, 2).cut);
    EXPECT_THROW(ReadNumberTable("1\tx", 5, 5), EAnalysisError);

    // A million values: only the first 100 are read.
    std::string many;
    for (int i = 0; i < 1'000'000; ++i) many += "1\n";
    bool more = false;
    EXPECT_EQ(ReadNumberSequence(many, 100, more).size(), 100u);
    EXPECT_TRUE(more);
    EXPECT_TRUE(ReadNumberSequence("", 100, more).empty());
    try {
        ReadNumberSequence("1\n2\nhallo", 100, more);
        ADD_FAILURE();
    } catch (const EAnalysisError& error) {
        EXPECT_STREQ(error.what(), "'hallo' is geen getal (regel 3, kolom 1).");
    }

    // The lists table round-trips with 18 digits.
    ListStore lists;
    lists.Set(1, 1, 1.0L / 3);
    lists.Set(6, 100, -2.5e-30L);
    ListStore back;
    ReadListTable(ListTableText(lists, 18), back);
    EXPECT_TRUE(Near(back.Get(1, 1), 1.0L / 3, 1e-17L));
    EXPECT_TRUE(Near(back.Get(6, 100), -2.5e-30L, 1e-17L));
    EXPECT_THROW(ReadListTable("1\t2\t3\t4\t5\t6\t7", back), EAnalysisError);
}

}  // namespace
}  // namespace expr
