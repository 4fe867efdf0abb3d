// The general number format and the fixed-format number reader.
#include "expr/number_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace expr {
namespace {

TEST(NumberFormatTest, GeneralFormat) {
    constexpr long double kInfinity = std::numeric_limits<long double>::infinity();
    struct Case {
        long double value;
        int precision;
        const char* text;
    };
    const Case cases[] = {
        {0, 15, "0"},
        {-0.0L, 15, "0"},
        {1, 15, "1"},
        {-2.5L, 15, "-2.5"},
        {100, 15, "100"},
        {1e20L, 15, "1E20"},
        {1.5e-7L, 15, "1.5E-7"},
        {-2.5e30L, 15, "-2.5E30"},
        {1e100L, 18, "1E100"},
        {1.25e-300L, 15, "1.25E-300"},
        {0.00001L, 15, "0.00001"},  // the smallest fixed value
        {0.0000099999L, 15, "9.9999E-6"},
        {-0.00001L, 15, "-0.00001"},
        {1e15L, 15, "1E15"},  // 16 integer digits
        {999999999999999.0L, 15, "999999999999999"},
        {999999999999999.9L, 15, "1E15"},  // rounds up to 16 digits
        {1e15L, 18, "1000000000000000"},
        {123456789012345678.0L, 18, "123456789012345678"},
        {1234567890123456789.0L, 18, "1.23456789012345679E18"},
        {1.0L / 3, 18, "0.333333333333333333"},
        {1.0L / 3, 15, "0.333333333333333"},
        {2.0L / 3, 15, "0.666666666666667"},
        {-2.0L / 3, 18, "-0.666666666666666667"},
        {0.1L, 15, "0.1"},
        {0.1L, 18, "0.1"},
        {0.1234567890123456L, 15, "0.123456789012346"},
        {9.9999999999999999L, 15, "10"},
        {123456.789L, 15, "123456.789"},
        {3.14159265358979323846L, 18, "3.14159265358979324"},
        {std::nanl(""), 15, "NAN"},
        {kInfinity, 15, "INF"},
        {-kInfinity, 15, "-INF"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatGeneral(c.value, c.precision), c.text)
            << "precision " << c.precision << " for " << c.text;
    }
}

TEST(NumberFormatTest, FixedReaderAcceptsTheWholeTextOnly) {
    struct Accepted {
        const char* text;
        long double value;
    };
    const Accepted accepted[] = {
        {"1", 1},      {"-1.5", -1.5},      {"+2", 2},   {"1E3", 1000},
        {"1e3", 1000}, {"1.5E-3", 0.0015L}, {".5", 0.5}, {"5.", 5},
        {"1E+2", 100}, {"-0", 0},           {"007", 7},  {"1E-5000", 0},
        {"0.1", 0.1L},
    };
    for (const Accepted& a : accepted) {
        long double value = -99;
        EXPECT_TRUE(ParseFixedNumber(a.text, value)) << a.text;
        EXPECT_EQ(value, a.value) << a.text;
    }
    for (const char* text : {"", "+", "-", ".", "E5", "1E", "1E+", "1.2.3", "1,5", " 1", "1 ",
                             "0x10", "inf", "nan", "1E5000", "--1", "1E2.5", "PI"}) {
        long double value = -99;
        EXPECT_FALSE(ParseFixedNumber(text, value)) << text;
        EXPECT_EQ(value, -99) << text;
    }
}

}  // namespace
}  // namespace expr
