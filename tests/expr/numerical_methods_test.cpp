// Integration rules, the zero finder, slope and iteration.
#include "expr/numerical_methods.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using expr::Real;

TEST(NumericalMethods, EveryRuleIntegratesASquare) {
    const auto square = [](Real x) { return x * x; };
    for (const char* word : {"trapezium", "simpson", "romberg", "gauss", "kronrod"}) {
        const auto method = expr::IntegrationMethodNamed(word);
        ASSERT_TRUE(method) << word;
        EXPECT_NEAR(static_cast<double>(expr::Integrate(*method, square, 0, 1, 1e-10L)), 1.0 / 3,
                    1e-9)
            << word;
        EXPECT_EQ(expr::Integrate(*method, square, 2, 2, 1e-10L), 0) << word;
    }
    EXPECT_FALSE(expr::IntegrationMethodNamed("Simpson"));
    const auto sine = [](Real x) { return std::sin(x); };
    EXPECT_NEAR(static_cast<double>(
                    expr::Integrate(expr::IntegrationMethod::Romberg, sine, 0, M_PI, 1e-12L)),
                2.0, 1e-9);
}

TEST(NumericalMethods, ZerosSlopesAndIteration) {
    const auto f = [](Real x) { return x * x - 2; };
    EXPECT_NEAR(static_cast<double>(expr::FindZero(f, 0, 2, 1, 1e-12L)), std::sqrt(2.0), 1e-12);
    EXPECT_NEAR(static_cast<double>(expr::FindZero(f, 2, 0, 1, 1e-12L)), std::sqrt(2.0), 1e-12);
    // Start outside the interval: the secant step between the bounds starts it.
    EXPECT_NEAR(static_cast<double>(expr::FindZero(f, 0, 2, 5, 1e-12L)), std::sqrt(2.0), 1e-12);
    // No zero: the steps end at the midpoint, which is better than the start.
    const auto g = [](Real x) { return x * x + 1; };
    EXPECT_EQ(expr::FindZero(g, -1, 1, 0.5L, 1e-10L), 0);

    const auto cube = [](Real x) { return x * x * x; };
    EXPECT_NEAR(static_cast<double>(expr::Slope(cube, 2, 0.001L)), 12.000001, 1e-9);
    const auto cosine = [](Real x) { return std::cos(x); };
    EXPECT_NEAR(static_cast<double>(expr::Iterate(cosine, 1, 100)), 0.739085, 1e-6);
    EXPECT_EQ(expr::Iterate(cosine, 1, 0), 1);
    EXPECT_EQ(expr::Iterate(cosine, 1, -3), 1);
}

}  // namespace
