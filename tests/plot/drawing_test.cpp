// Figures on the plot surface, checked pixel by pixel.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "plot/plot_surface.h"

namespace plot {
namespace {

constexpr Colour kRed = 255;
constexpr Colour kGreen = 65280;
constexpr Colour kBlue = 16711680;

// 40 x 40 pixels with one world unit per pixel: column = x, row = 39 - y.
class DrawingTest : public testing::Test {
  protected:
    DrawingTest() : surface(40, 40) { surface.SetWorld(0, 0, 39, 39); }

    Colour At(int column, int row) const { return surface.PixelColour(column, row); }
    Colour AtWorld(int x, int y) const { return At(x, 39 - y); }

    int CountWhere(const std::function<bool(int, int, Colour)>& test) const {
        int count = 0;
        for (int row = 0; row < surface.Height(); ++row)
            for (int column = 0; column < surface.Width(); ++column)
                if (test(column, row, At(column, row))) ++count;
        return count;
    }
    int CountOf(Colour colour) const {
        return CountWhere([&](int, int, Colour c) { return c == colour; });
    }

    TPlotSurface surface;
};

// Black text with its antialiased edge.
bool Dark(Colour c) {
    return (c & 0xFF) < 128 && ((c >> 8) & 0xFF) < 128 && (c >> 16) < 128;
}

TEST_F(DrawingTest, LinesCoverBothEndPoints) {
    surface.DrawLine(3, 4, 20, 9);
    EXPECT_EQ(AtWorld(3, 4), kBlack);
    EXPECT_EQ(AtWorld(20, 9), kBlack);
    EXPECT_EQ(AtWorld(21, 9), kWhite);
    EXPECT_EQ(AtWorld(2, 4), kWhite);

    // DrawLineTo continues from the last pixel reached.
    surface.MoveToPoint(30, 30);
    surface.DrawLineTo(30, 35);
    surface.DrawLineTo(35, 35);
    for (int y = 30; y <= 35; ++y) EXPECT_EQ(AtWorld(30, y), kBlack) << y;
    EXPECT_EQ(AtWorld(35, 35), kBlack);

    // A wide pen is centred on the line; a dotted one leaves gaps.
    surface.GetPen() = Pen{kRed, 3, PenStyle::Solid};
    surface.DrawLine(5, 20, 15, 20);
    EXPECT_EQ(AtWorld(10, 19), kRed);
    EXPECT_EQ(AtWorld(10, 21), kRed);
    EXPECT_EQ(AtWorld(10, 22), kWhite);
    surface.GetPen() = Pen{kBlue, 1, PenStyle::Dot};
    surface.DrawLine(0, 0, 39, 0);
    const int dots = CountOf(kBlue);
    EXPECT_GT(dots, 10);
    EXPECT_LT(dots, 30);
}

TEST_F(DrawingTest, RectangleIncludesItsRightAndBottomEdge) {
    surface.GetBrush() = Brush{kGreen, BrushStyle::Solid};
    surface.DrawRectangle(2, 3, 8, 10);
    for (auto [x, y] : {std::pair{2, 3}, {8, 3}, {2, 10}, {8, 10}, {5, 3}, {8, 6}})
        EXPECT_EQ(AtWorld(x, y), kBlack) << x << "," << y;
    EXPECT_EQ(AtWorld(5, 6), kGreen);
    EXPECT_EQ(AtWorld(9, 6), kWhite);
    EXPECT_EQ(AtWorld(5, 2), kWhite);
    EXPECT_EQ(CountOf(kBlack) + CountOf(kGreen), 7 * 8);

    // A box given the other way round is the same figure.
    surface.GetPen().color = kRed;
    surface.DrawRectangle(8, 10, 2, 3);
    EXPECT_EQ(CountOf(kRed), 2 * 7 + 2 * 6);
}

TEST_F(DrawingTest, VectorHeadAndZeroLengthVector) {
    surface.DrawVector(2, 20, 10, 0);
    EXPECT_EQ(AtWorld(12, 20), kBlack);
    // Strokes of 8 pixels at 45 degrees: round(8 * 10 / sqrt(200)) = 6 back and 6 aside.
    EXPECT_EQ(AtWorld(6, 26), kBlack);
    EXPECT_EQ(AtWorld(6, 14), kBlack);
    EXPECT_EQ(AtWorld(5, 26), kWhite);

    surface.Clear();
    surface.DrawVector(20, 20, 0.2L, 0.1L);  // start and end on the same pixel
    EXPECT_EQ(CountOf(kWhite), 40 * 40);
}

TEST_F(DrawingTest, ClearPaintsOutsideTheClipAndLaterDrawingIsClipped) {
    surface.Resize(200, 150);
    surface.SetWorld(-5, -5, 5, 5);
    surface.SetClipToWorld(true);
    surface.GetBrush() = Brush{kRed, BrushStyle::Solid};
    surface.Clear();
    EXPECT_EQ(CountOf(kRed), 200 * 150);

    surface.GetBrush().color = kGreen;
    surface.GetPen().color = kGreen;
    surface.DrawRectangle(-100, -100, 100, 100);
    const int left = surface.WindowX(-5), right = surface.WindowX(5);
    const int top = surface.WindowY(5), bottom = surface.WindowY(-5);
    EXPECT_EQ(At(left, 50), kRed);  // the axis column stays outside
    EXPECT_EQ(At(left + 1, 50), kGreen);
    EXPECT_EQ(At(right, 50), kGreen);
    EXPECT_EQ(At(right + 1, 50), kRed);
    EXPECT_EQ(At(60, top), kGreen);
    EXPECT_EQ(At(60, top - 1), kRed);
    EXPECT_EQ(At(60, bottom - 1), kGreen);
    EXPECT_EQ(At(60, bottom), kRed);
    EXPECT_EQ(CountOf(kGreen), (right - left) * (bottom - top));
}

TEST_F(DrawingTest, FloodFillFillsTheConnectedAreaOnly) {
    surface.DrawRectangle(5, 5, 20, 20);
    surface.GetBrush() = Brush{kRed, BrushStyle::Solid};
    surface.WorldFloodFill(10, 10, kWhite, FillStyle::Surface);
    EXPECT_EQ(CountOf(kRed), 14 * 14);
    EXPECT_EQ(AtWorld(30, 30), kWhite);

    // Up to a border colour, across everything else (here the red area).
    surface.GetBrush().color = kBlue;
    surface.WorldFloodFill(12, 12, kBlack, FillStyle::Border);
    EXPECT_EQ(CountOf(kBlue), 14 * 14);
    // Starting on the border, or on another colour than asked, fills nothing; filling an
    // area with its own colour ends.
    surface.WorldFloodFill(5, 5, kBlack, FillStyle::Border);
    surface.WorldFloodFill(30, 30, kBlack, FillStyle::Surface);
    surface.GetBrush().color = kWhite;
    surface.WorldFloodFill(30, 30, kWhite, FillStyle::Surface);
    EXPECT_EQ(CountOf(kBlue), 14 * 14);

    // A hatch fills only its lines; the clip stops the fill.
    surface.Resize(200, 150);
    surface.SetWorld(-5, -5, 5, 5);
    surface.Clear();
    surface.SetClipToWorld(true);
    surface.GetBrush() = Brush{kGreen, BrushStyle::Cross};
    surface.WorldFloodFill(0, 0, kWhite, FillStyle::Surface);
    const int left = surface.WindowX(-5), bottom = surface.WindowY(-5);
    const int hatched = CountOf(kGreen);
    EXPECT_GT(hatched, 1000);
    EXPECT_LT(hatched, (surface.WindowX(5) - left) * (bottom - surface.WindowY(5)));
    EXPECT_EQ(CountWhere([&](int column, int row, Colour c) {
                  return c == kGreen && (column <= left || row >= bottom);
              }),
              0);
}

TEST_F(DrawingTest, EllipsesAndArcsReachTheirBox) {
    surface.DrawEllipse(10, 10, 30, 30);
    EXPECT_EQ(AtWorld(10, 20), kBlack);
    EXPECT_EQ(AtWorld(30, 20), kBlack);
    EXPECT_EQ(AtWorld(20, 10), kBlack);
    EXPECT_EQ(AtWorld(20, 30), kBlack);
    const int circle = CountOf(kBlack);

    // From the ray to the right counter-clockwise to the ray upward: the upper right quarter.
    surface.GetPen().color = kRed;
    surface.DrawArc(10, 10, 30, 30, 35, 20, 20, 35);
    EXPECT_EQ(CountWhere([](int column, int row, Colour c) {
                  return c == kRed && (column < 20 || row > 19);
              }),
              0);
    const int quarter = CountOf(kRed);
    EXPECT_GT(quarter, circle / 5);
    EXPECT_EQ(CountOf(kBlack) + quarter, circle);  // on the circle's own pixels

    // The other way round is the rest of the circle; a pie is filled.
    surface.GetPen().color = kBlue;
    surface.GetBrush() = Brush{kGreen, BrushStyle::Solid};
    surface.DrawPie(10, 10, 30, 30, 20, 35, 35, 20);
    EXPECT_EQ(AtWorld(15, 15), kGreen);
    EXPECT_EQ(AtWorld(25, 25), kWhite);
    EXPECT_EQ(AtWorld(20, 20), kBlue);  // the centre, where the radii meet

    surface.GetBrush().color = kWhite;
    surface.Clear();
    surface.GetBrush().color = kGreen;
    surface.DrawChord(10, 10, 30, 30, 35, 20, 20, 35);
    EXPECT_EQ(AtWorld(26, 26), kGreen);
    EXPECT_EQ(AtWorld(18, 18), kWhite);
    EXPECT_EQ(AtWorld(25, 25), kBlue);  // on the chord
}

TEST_F(DrawingTest, PointListFigures) {
    surface.DrawPolyline(nullptr);
    surface.DrawPolygon(nullptr);
    surface.DrawPolyBezier(nullptr);
    EXPECT_EQ(CountOf(kWhite), 40 * 40);

    TFloatPointList list;
    list.Add(5, 5);
    list.Add(30, 5);
    list.Add(5, 30);
    surface.GetBrush() = Brush{kGreen, BrushStyle::Solid};
    surface.DrawPolygon(&list);
    EXPECT_EQ(AtWorld(10, 10), kGreen);
    EXPECT_EQ(AtWorld(5, 30), kBlack);
    EXPECT_EQ(AtWorld(25, 25), kWhite);

    // An undefined point breaks a polyline instead of reaching into a corner.
    surface.GetBrush().color = kWhite;
    surface.Clear();
    TFloatPointList broken;
    broken.Add(2, 35);
    broken.Add(10, 35);
    broken.Add(NAN, 0);
    broken.Add(20, 35);
    broken.Add(30, 35);
    surface.DrawPolyline(&broken);
    EXPECT_EQ(AtWorld(12, 35), kWhite);
    EXPECT_EQ(AtWorld(25, 35), kBlack);
    EXPECT_EQ(CountOf(kBlack), 9 + 11);

    TFloatPointList curve;
    for (auto [x, y] : {std::pair{2, 2}, {2, 20}, {20, 20}, {20, 2}}) curve.Add(x, y);
    surface.DrawPolyBezier(&curve);
    EXPECT_EQ(AtWorld(2, 2), kBlack);
    EXPECT_EQ(AtWorld(20, 2), kBlack);
    EXPECT_EQ(AtWorld(11, 20), kWhite);  // a control point is not on the curve
}

TEST_F(DrawingTest, TextStandsBelowAndRightOfItsCorner) {
    surface.Resize(200, 100);
    surface.SetWorld(0, 0, 199, 99);  // column x, row 99 - y
    EXPECT_EQ(surface.TextHeight("x"), surface.TextHeight("Xg"));
    const int width = surface.TextWidth("Zorvat"), height = surface.TextHeight("Zorvat");
    EXPECT_GT(width, 30);
    EXPECT_GE(height, 16);

    surface.GetBrush() = Brush{kRed, BrushStyle::Clear};
    surface.WorldTextOut(50, 79, "Zorvat");  // top-left corner at column 50, row 20
    auto darkIn = [&](int left, int top, int right, int bottom) {
        return CountWhere([&](int column, int row, Colour c) {
            return Dark(c) && column >= left && column < right && row >= top && row < bottom;
        });
    };
    EXPECT_GT(darkIn(50, 20, 50 + width, 20 + height), 20);
    EXPECT_EQ(darkIn(0, 0, 200, 100), darkIn(50, 20, 50 + width, 20 + height));
    EXPECT_EQ(CountOf(kRed), 0);

    // Turned a quarter counter-clockwise the text runs upward from the corner; a solid brush
    // gives it a background.
    surface.GetBrush() = Brush{kWhite, BrushStyle::Solid};
    surface.Clear();
    surface.GetBrush() = Brush{kRed, BrushStyle::Solid};
    surface.WorldTextOut(100, 10, "Zorvat", 90);  // corner at row 89
    EXPECT_GT(darkIn(100, 89 - width, 100 + height, 90), 20);
    EXPECT_GT(darkIn(100, 89 - width, 100 + height, 89 - width / 2), 5);
    EXPECT_EQ(darkIn(0, 0, 99, 100) + darkIn(0, 90, 200, 100), 0);
    EXPECT_GT(CountOf(kRed), width * height / 3);
}

TEST_F(DrawingTest, SideAxesRunAlongTheLeftAndBottomEdge) {
    surface.Resize(358, 350);
    surface.SetWorld(-5, -5, 5, 5);
    surface.GetPen() = Pen{kRed, 4, PenStyle::Dash};
    surface.SetClipToWorld(true);
    surface.Clear();
    surface.DrawAxes("x", "y", kBlue, kGreen, true);

    const int left = surface.WindowX(-5), bottom = surface.WindowY(-5);
    const int right = surface.WindowX(5), top = surface.WindowY(5);
    for (int row = top; row <= bottom; row += 7) EXPECT_EQ(At(left, row), kBlue) << row;
    for (int column = left; column <= right; column += 7) EXPECT_EQ(At(column, bottom), kBlue);
    // Ticks point outward; numbers stand in the margins.
    EXPECT_EQ(At(surface.WindowX(1), bottom + 4), kBlue);
    EXPECT_EQ(At(left - 4, surface.WindowY(1)), kBlue);
    EXPECT_GT(CountWhere([&](int column, int row, Colour c) {
                  return Dark(c) && row > bottom + 6 && column > left;
              }),
              20);
    EXPECT_GT(CountWhere([&](int column, int, Colour c) { return Dark(c) && column < left - 6; }),
              20);
    // Zero lines inside the world, then everything is clipped to it; the pen is back.
    EXPECT_EQ(At(surface.WindowX(0), 100), kGreen);
    EXPECT_EQ(surface.GetPen().color, kRed);
    EXPECT_EQ(surface.GetPen().width, 4);
    surface.GetPen() = Pen{kRed, 1, PenStyle::Solid};
    surface.DrawLine(-100, 2, 100, 2);
    EXPECT_EQ(At(left, surface.WindowY(2)), kBlue);
    EXPECT_EQ(At(left + 1, surface.WindowY(2)), kRed);
    EXPECT_EQ(At(right + 1, surface.WindowY(2)), kWhite);

    // Bounds on a tick get it, numbered, despite rounding of the step.
    surface.SetWorld(-1500, 0.001L, 1500, 0.002L);
    surface.Clear();
    surface.DrawAxes("", "", kBlue, kBlue, false);
    const int axisRow = surface.WindowY(0.001L), axisColumn = surface.WindowX(-1500);
    EXPECT_EQ(At(axisColumn, axisRow + 6), kBlue);
    EXPECT_EQ(At(axisColumn - 6, axisRow), kBlue);
    EXPECT_EQ(At(surface.WindowX(1500), axisRow + 4), kBlue);
}

}  // namespace
}  // namespace plot
