// Number text of the picture writers.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "export/fixed_number.h"

namespace exporter {
namespace {

struct FixedCase {
    long double value;
    int precision;
    int decimals;
    const char* text;
};

TEST(FixedNumberTest, RoundsToSignificantDigitsAndDecimals) {
    const FixedCase cases[] = {
        {0, 6, 3, "0.000"},
        {1, 6, 3, "1.000"},
        {-5, 6, 3, "-5.000"},
        {12.5L, 6, 4, "12.5000"},
        {-3, 6, 4, "-3.0000"},
        {1.6L, 6, 3, "1.600"},
        {1234.5678L, 6, 3, "1234.570"},  // six significant digits win over three decimals
        {123456.7L, 6, 3, "123457.000"},
        {0.12345678L, 6, 3, "0.123"},
        {0.9996L, 6, 3, "1.000"},  // carry into the integer part
        {-0.9996L, 6, 3, "-1.000"},
        {0.0006L, 6, 3, "0.001"},
        {-0.0004L, 6, 3, "0.000"},  // rounds to zero: no minus sign
        {1e-30L, 6, 3, "0.000"},
        {0.0625L, 6, 3, "0.063"},  // an exact tie rounds away from zero
        {-0.0625L, 6, 3, "-0.063"},
        {2.5L, 1, 0, "3"},
        {0.566929L, 6, 4, "0.5669"},
        {5, 4, 5, "5.00000"},
        {50.0L / 3, 4, 5, "16.67000"},
        {50.0L / 7, 4, 5, "7.14300"},
    };
    for (const FixedCase& c : cases)
        EXPECT_EQ(FormatFixed(c.value, c.precision, c.decimals), c.text) << c.text;
}

TEST(FixedNumberTest, LargeIntegerPartsUseExponentFormUnlessForbidden) {
    EXPECT_EQ(FormatFixed(999999.4L, 6, 3), "999999.000");
    EXPECT_EQ(FormatFixed(999999.6L, 6, 3), "1.00000E+006");
    EXPECT_EQ(FormatFixed(1234567, 6, 3), "1.23457E+006");
    EXPECT_EQ(FormatFixed(-1e20L, 6, 3), "-1.00000E+020");
    EXPECT_EQ(FormatFixed(1.5e1234L, 6, 3), "1.50000E+1234");
    EXPECT_EQ(FormatFixed(5e7L, 4, 5), "5.000E+007");
    // PDF numbers have no exponent form.
    EXPECT_EQ(FormatFixed(1234567, 6, 4, false), "1234570.0000");
    EXPECT_EQ(FormatFixed(-1e20L, 6, 4, false), "-100000000000000000000.0000");
}

TEST(FixedNumberTest, NonFiniteAndShortestForms) {
    EXPECT_EQ(FormatFixed(std::numeric_limits<long double>::quiet_NaN(), 6, 3), "NAN");
    EXPECT_EQ(FormatFixed(std::numeric_limits<long double>::infinity(), 6, 3), "INF");
    EXPECT_EQ(FormatFixed(-std::numeric_limits<long double>::infinity(), 6, 3), "-INF");
    EXPECT_EQ(FormatShortest(1, 6, 3), "1");
    EXPECT_EQ(FormatShortest(0, 6, 3), "0");
    EXPECT_EQ(FormatShortest(128.0L / 255, 6, 3), "0.502");
    EXPECT_EQ(FormatShortest(51.0L / 255, 6, 3), "0.2");
    EXPECT_EQ(FormatShortest(10, 6, 4), "10");
    EXPECT_EQ(FormatShortest(10.5L, 6, 4), "10.5");
}

}  // namespace
}  // namespace exporter
