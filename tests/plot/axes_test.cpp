// Tick steps and tick number formats of the axes.
#include "plot/axes.h"

#include <gtest/gtest.h>

#include <numbers>

#include "plot/drawing.h"

namespace {

using plot::Real;

TEST(Axes, NiceStepsGiveFourToTenTicks) {
    const std::pair<Real, Real> cases[] = {
        {10, 1},       {4, 0.5L}, {1.5L, 0.2L}, {3000, 500},
        {30000, 5000}, {1, 0.1L}, {100, 10},    {0.07L, 0.01L},
    };
    for (const auto& [range, step] : cases) {
        EXPECT_NEAR(static_cast<double>(plot::NiceStep(range) / step), 1.0, 1e-12) << range;
    }
}

TEST(Axes, NumberFormatsFollowTheStep) {
    EXPECT_EQ(plot::StepNumberFormat(1), "");
    EXPECT_EQ(plot::StepNumberFormat(500), "");
    EXPECT_EQ(plot::StepNumberFormat(5000), "#.#E-");
    EXPECT_EQ(plot::StepNumberFormat(0.001L), "0E-");

    const std::tuple<Real, const char*, const char*> cases[] = {
        {5000, "#.#E-", "5E3"},  {15000, "#.#E-", "1.5E4"}, {-20000, "#.#E-", "-2E4"},
        {0.001L, "0E-", "1E-3"}, {-0.002L, "0E-", "-2E-3"}, {0.6000000000000001L, "", "0.6"},
        {-1500, "", "-1500"},    {0.5L, "#.#", ".5"},       {0.5L, "0.#", "0.5"},
        {2, "0.00", "2.00"},     {1234.4L, "0", "1234"},    {2.26L, "0.0", "2.3"},
    };
    for (const auto& [value, pattern, text] : cases) {
        EXPECT_EQ(plot::FormatWithPattern(value, pattern), text) << pattern;
    }
}

TEST(Axes, MultiplesOfPi) {
    constexpr Real pi = std::numbers::pi_v<Real>;
    EXPECT_EQ(plot::FormatTickNumber(pi, "0.#p"), "p");
    EXPECT_EQ(plot::FormatTickNumber(-pi, "0.#p"), "-p");
    EXPECT_EQ(plot::FormatTickNumber(pi / 2, "0.#p"), "0.5p");
    EXPECT_EQ(plot::FormatTickNumber(2 * pi, "0.#p"), "2p");
    EXPECT_EQ(plot::FormatTickNumber(-1.5L * pi, "0.#p"), "-1.5p");
    EXPECT_EQ(plot::FormatTickNumber(2.5L, "0.0"), "2.5");
}

int DarkPixels(const plot::TPlotSurface& surface, int left, int top, int right, int bottom) {
    int count = 0;
    for (int row = std::max(top, 0); row < std::min(bottom, surface.Height()); ++row) {
        for (int column = std::max(left, 0); column < std::min(right, surface.Width()); ++column) {
            count += (surface.PixelColour(column, row) & 0xFF) < 128;
        }
    }
    return count;
}

// Regression: the numbers at the ends of the axes stood half outside the picture.
TEST(Axes, NumbersAtTheEdgesAreWhole) {
    plot::TPlotSurface surface(200, 200);
    surface.SetWorld(-5, -5, 5, 5);
    surface.Clear();
    plot::Drawing drawing(surface);
    plot::AxesOptions options;
    options.ticks = false;
    plot::DrawPlotAxes(drawing, options);
    const int axisRow = surface.WindowY(0), axisColumn = surface.WindowX(0);

    plot::TPlotSurface alone(200, 200);
    alone.SetWorld(-5, -5, 5, 5);
    alone.Clear();
    alone.GetFont().size -= 1;
    alone.WorldTextOut(0, 0, "5");
    const int whole = DarkPixels(alone, 0, 0, 200, 200);
    const int width = alone.TextWidth("5"), height = alone.TextHeight("5");
    ASSERT_GT(whole, 10);
    // x = 5 at the right edge, y = 5 at the top.
    EXPECT_GE(DarkPixels(surface, 200 - 2 * width, axisRow + 1, 200, axisRow + 2 * height),
              whole * 9 / 10);
    EXPECT_GE(DarkPixels(surface, axisColumn + 1, 0, axisColumn + 3 * width, height + 2),
              whole * 9 / 10);
}

}  // namespace
