// The built-in function table as expressions see it, and the shared power,
// rounding and random helpers.
#include "expr/builtin_functions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "near.h"

namespace expr {
namespace {

using testing::Near;

constexpr Real kPi = 3.14159265358979323846264338327950288L;

TEST(BuiltinFunctionsTest, OneAndTwoArgumentResults) {
    struct Case {
        const char* text;
        Real value;
    };
    const Case cases[] = {
        {"TAN(0.5)", 0.546302489843790513255L},
        {"SIN(PI/6)", 0.5L},
        {"COS(PI)", -1},
        {"SINH(1)", 1.17520119364380145688L},
        {"COSH(1)", 1.54308063481524377848L},
        {"ARCTAN(1)", kPi / 4},
        {"COTAN(0.5)", 1.83048772171245191927L},
        {"ARG(2)", 0},
        {"ARG(0)", 0},
        {"ARG(-2)", kPi},
        {"EXP(1)", 2.71828182845904523536L},
        {"LN(EXP(2))", 2},
        {"LOG10(1000)", 3},
        {"LOG2(0.125)", -3},
        {"SQR(-3)", 9},
        {"SQRT(2)", 1.41421356237309504880L},
        {"ABS(-2.5)", 2.5},
        {"TRUNC(-2.5)", -2},
        {"INT(2.7)", 2},
        {"CEIL(-2.5)", -2},
        {"CEIL(2.1)", 3},
        {"CEIL(3)", 3},
        {"FLOOR(-2.5)", -3},
        {"FLOOR(2.5)", 2},
        {"FLOOR(-3)", -3},
        {"HEAV(-0.1)", 0},
        {"HEAV(0)", 1},
        {"SIGN(-3)", -1},
        {"SIGN(0)", 0},
        {"SIGN(0.2)", 1},
        {"ZERO(0)", 0},
        {"ZERO(-4)", 1},
        {"PH(0)", 0},
        {"PH(1)", kPi * kPi - 4 * kPi},  // u = pi/2 rounds to 2
        {"PH(4)", 2 * kPi * (2 * kPi - 6)},
        {"MAX(1,2)", 2},
        {"MIN(1,2)", 1},
        {"MAX(-1,-2)", -1},
        {"POWER(2,10)", 1024},
        {"POWER(0,0.5)", 0},
        {"POWER(5,0)", 1},
        {"POWER(4,0.5)", 2},
        {"INTPOWER(2,3.9)", 8},
        {"INTPOWER(2,-2)", 0.25},
        {"LOGN(2,8)", 3},
        {"LOGN(10,0.01)", -2},
    };
    TParser parser;
    for (const Case& c : cases) {
        parser.SetExpression(c.text);
        EXPECT_TRUE(Near(parser.Value(), c.value, 1e-18L)) << c.text;
    }
}

TEST(BuiltinFunctionsTest, RandomValuesStayInRange) {
    TParser parser;
    SeedRandom(42);
    parser.SetExpression("RANDOM(123)");
    const Real first = parser.Value();
    for (int i = 0; i < 1000; ++i) {
        const Real value = parser.Value();
        ASSERT_GE(value, 0);
        ASSERT_LT(value, 1);
    }
    SeedRandom(42);
    EXPECT_EQ(parser.Value(), first);  // repeatable after seeding

    parser.SetExpression("RND(10.9)");
    Real largest = 0;
    for (int i = 0; i < 1000; ++i) {
        const Real value = parser.Value();
        ASSERT_GE(value, 0);
        ASSERT_LT(value, 10);  // scaled by trunc(10.9)
        largest = std::fmax(largest, value);
    }
    EXPECT_GT(largest, 9);
}

TEST(BuiltinFunctionsTest, RoundingSendsHalvesToTheEvenNeighbour) {
    const Real cases[][2] = {{2.5, 2}, {3.5, 4},     {-2.5, -2},   {-3.5, -4}, {0.5, 0},
                             {1.5, 2}, {2.4999L, 2}, {2.5001L, 3}, {-0.4L, 0}, {1e30L, 1e30L}};
    for (const auto& [x, rounded] : cases) EXPECT_EQ(RoundHalfEven(x), rounded) << x;
    EXPECT_TRUE(std::isnan(RoundHalfEven(std::nanl(""))));
}

TEST(BuiltinFunctionsTest, PowerHelpers) {
    EXPECT_EQ(IntegerPower(3, 0), 1);
    EXPECT_EQ(IntegerPower(-2, 63), -9223372036854775808.0L);
    EXPECT_EQ(IntegerPower(0.5L, -3), 8);
    // The last, unused square must not overflow.
    EXPECT_EQ(IntegerPower(1e3000L, 1), 1e3000L);
    EXPECT_EQ(RealPower(0, 0), 1);
    EXPECT_EQ(RealPower(-2, 3), -8);  // whole exponent: no logarithm of -2
    EXPECT_TRUE(Near(RealPower(2, 0.5L), 1.41421356237309504880L));
    EXPECT_EQ(TruncateToInt64(-7.9L), -7);
}

TEST(BuiltinFunctionsTest, TablesHoldEveryNameOnce) {
    std::vector<std::string> names;
    for (const auto& function : BuiltinFunctions1()) names.push_back(function.name);
    EXPECT_EQ(names.size(), 25u);
    EXPECT_EQ(names.front(), "TAN");
    EXPECT_EQ(names.back(), "RANDOM");
    EXPECT_EQ(BuiltinFunctions2().size(), 5u);
    // Registering the built-ins again on a parser is refused.
    TParser parser;
    EXPECT_THROW(parser.RegisterFunction2("max", BuiltinFunctions2()[0].routine), EBadName);
}

}  // namespace
}  // namespace expr
