// The extra functions as programs call them.
#include "expr/function_library.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "expr/parser_errors.h"

namespace {

using expr::Real;

class FunctionLibraryTest : public ::testing::Test {
protected:
    FunctionLibraryTest() {
        lists.Set(2, 5, 7.5L);
        context.lists = &lists;
        expr::RegisterExtraFunctions(parser, 1, context);
    }
    Real Value(const std::string& text) {
        parser.SetExpression(text);
        return parser.Value();
    }

    expr::ListStore lists;
    expr::FunctionContext context;
    expr::TParser parser;
};

TEST_F(FunctionLibraryTest, ComparisonsAndRounding) {
    const std::pair<const char*, Real> cases[] = {
        {"GROTER(2,2)", 0},
        {"GROTERGELIJK(2,2)", 1},
        {"KLEINER(1,2)", 1},
        {"KLEINERGELIJK(3,2)", 0},
        {"ABSEPSGELIJK(1,1.05)", 1},
        {"ABSEPSGELIJK(1,1.06)", 0},
        {"ONGELIJK(1,1)", 0},
        {"ONGELIJK(1,1.001)", 1},
        {"NIET(0)", 1},
        {"NIET(3)", 0},
        {"FLOOR(-2.5)", -3},
        {"CEIL(-2.5)", -2},
        {"TRUNC(-2.5)", -2},
        {"INT(2.7)", 2},
        {"ROUND(2.5,0)", 2},
        {"ROUND(3.5,0)", 4},
        {"ROUND(1.2345,2)", 1.23L},
        {"BINOMCOEFF(10,3)", 120},
        {"BINOMCOEFF(10,7)", 120},
        {"FAC(5)", 120},
        {"FAC(-2)", 1},
        {"ggd(12,-18)", 6},
        {"kgv(4,6)", 12},
        {"kgv(0,5)", 0},
        {"oneven(7)", 1},
        {"oneven(-4)", 0},
        {"L2(5.9)", 7.5L},
        {"L2(0)", 0},
        {"L1(101)", 0},
        {"root(-8,3)", -2},
        {"root(27,3)", 3},
        {"ERF(0)", 0},
        {"normalcdf(0,1)", 0.5L},
        {"LOG(1000)", 3},
        {"HYPOT(3,4)", 5},
        {"LOGFAC(1)", 0},
    };
    for (const auto& [text, value] : cases) {
        EXPECT_NEAR(static_cast<double>(Value(text)), static_cast<double>(value), 1e-12) << text;
    }
    EXPECT_NEAR(static_cast<double>(Value("LOGBINOMCOEFF(10,3)")), std::log10(120.0), 1e-12);
    EXPECT_NEAR(static_cast<double>(Value("ARCTAN2(1,-1)")), 3 * M_PI / 4, 1e-15);
    EXPECT_NEAR(static_cast<double>(Value("DEGTORAD(180)")), M_PI, 1e-15);
    EXPECT_NEAR(static_cast<double>(Value("ERF(1)")), 0.8427008, 1e-12);  // seven digits
    EXPECT_NEAR(static_cast<double>(Value("INVNORM(0.975)")), 1.959964, 1e-6);
    EXPECT_NEAR(static_cast<double>(Value("INVNORM(0.01)")), -2.326348, 1e-6);
}

TEST_F(FunctionLibraryTest, UndefinedResults) {
    EXPECT_TRUE(std::isnan(Value("root(-8,2)")));
    EXPECT_TRUE(std::isnan(Value("root(8,2.5)")));
    EXPECT_THROW(Value("BINOMCOEFF(-1,2)"), expr::EMathError);
    try {
        Value("INVNORM(1)");
        FAIL();
    } catch (const expr::EMathError& error) {
        EXPECT_STREQ(error.what(), "Inverse Cum Norm argument must be in range 0<p<1");
    }
    EXPECT_THROW(Value("FAC(1E18)"), expr::EMathError);  // overflow, and no endless loop
    EXPECT_THROW(Value("BINOMCOEFF(1E18,5E17)"), expr::EMathError);
    EXPECT_GT(Value("LOGBINOMCOEFF(1E12,5E11)"), 3e11L);
}

TEST_F(FunctionLibraryTest, PrimesDivisorsAndPartitions) {
    std::vector<std::string> messages;
    context.showMessage = [&messages](const std::string& text) { messages.push_back(text); };
    const std::pair<const char*, Real> cases[] = {
        {"ispriem(1)", 0},
        {"ispriem(2)", 1},
        {"ispriem(1000003)", 1},
        {"ispriem(1000005)", 0},
        {"ispriem(-7)", 0},
        {"ispriem(999983.9)", 1},
        {"ispriem(1000000007)", 1},
        {"ispriem(1000000011)", 0},
        {"volgendepriem(10)", 11},
        {"volgendepriem(-5)", 2},
        {"volgendepriem(1999999)", 2000003},
        {"phi(36)", 12},
        {"number_of_divisors(36)", 9},
        {"sum_of_divisors(12)", 28},
        {"sum_of_proper_divisors(28)", 28},
        {"partitions(5)", 7},
        {"partitions_into_distinct_parts(10)", 10},
        {"partitions_into_prime_parts(10)", 5},
    };
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(Value(text), value) << text;
    }
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(Value("partitions(100000)"), 0);
    EXPECT_EQ(messages, std::vector<std::string>{"fout in partitions: argument moet kleiner zijn "
                                                 "dan 100000 en groter dan 0"});
    messages.clear();
    EXPECT_THROW(Value("ispriem(5E18)"), expr::EMathError);
    EXPECT_EQ(messages, std::vector<std::string>{"5E18 tegroot"});
}

TEST(FunctionLibraryParsers, SomeFunctionsOnSomeParsersOnly) {
    expr::FunctionContext context;
    expr::TParser third, fourth;
    expr::RegisterExtraFunctions(third, 3, context);
    expr::RegisterExtraFunctions(fourth, 4, context);
    third.SetExpression("ONEPSGELIJK(1,2)+ARCSIN(0)");
    EXPECT_EQ(third.Value(), 1);
    EXPECT_THROW(third.SetExpression("ONGELIJK(1,2)"), expr::ESyntaxError);
    EXPECT_THROW(fourth.SetExpression("ARCSIN(0)"), expr::ESyntaxError);
    fourth.SetExpression("ONGELIJK(1,2)+ASIN(0)");
    EXPECT_EQ(fourth.Value(), 1);
}

}  // namespace
