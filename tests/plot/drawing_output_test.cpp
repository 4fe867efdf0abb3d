// The drawing commands on their three outputs: eepic entries, PDF content and surface pixels.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "plot/drawing.h"

namespace plot {
namespace {

constexpr Colour kRed = 255;
constexpr Colour kGreen = 65280;
constexpr Real kPi = std::numbers::pi_v<Real>;

bool Dark(Colour c) {
    return (c & 0xFF) < 128 && ((c >> 8) & 0xFF) < 128 && (c >> 16) < 128;
}

// 101 x 101 pixels showing -5..5: ten pixels a unit, the origin at pixel (50, 50).
class DrawingOutputTest : public testing::Test {
protected:
    DrawingOutputTest() : surface(101, 101), drawing(surface) {
        surface.SetWorld(-5, -5, 5, 5);
        drawing.BeginRun(kBlack);
    }

    void StartEepic() {
        drawing.Eepic().BeginPicture(-5, -5, 10, 10);
        drawing.SetEepicOn(true);
    }
    // The entries the commands added, after the three header lines.
    std::vector<std::string> Entries() {
        const auto& all = drawing.Eepic().Entries();
        return {all.begin() + 3, all.end()};
    }
    void StartPdf() {
        drawing.Pdf().BeginDoc(101, 101, -5, 5, -5, 5);
        drawing.SetPdfOn(true);
        contentStart = drawing.Pdf().Lines().size();
    }
    std::vector<std::string> Content() {
        const auto& all = drawing.Pdf().Lines();
        return {all.begin() + static_cast<long>(contentStart), all.end()};
    }
    // The brush of a run is clear, so the picture is wiped with a white one.
    void Wipe() {
        const Brush brush = surface.GetBrush();
        surface.GetBrush() = Brush{kWhite, BrushStyle::Solid};
        surface.Clear();
        surface.GetBrush() = brush;
    }
    Colour AtWorld(Real x, Real y) {
        return surface.PixelColour(surface.WindowX(x), surface.WindowY(y));
    }
    int Count(bool (*test)(Colour)) const {
        int count = 0;
        for (int row = 0; row < surface.Height(); ++row)
            for (int column = 0; column < surface.Width(); ++column)
                if (test(surface.PixelColour(column, row))) ++count;
        return count;
    }

    TPlotSurface surface;
    Drawing drawing;
    size_t contentStart = 0;
};

TEST_F(DrawingOutputTest, EepicFiguresAndShade) {
    StartEepic();
    drawing.Line(0, 0, 1, 2);
    drawing.SetFillStyle(0);
    drawing.SetFillColour(kRed);
    drawing.Rectangle(0, 0, 1, 1);
    drawing.SetFillColour(kWhite);  // white fill: no shade
    drawing.Rectangle(0, 0, 1, 1);
    drawing.SetFillColour(kRed);
    drawing.SetFillStyle(1);  // no fill: no shade
    drawing.Ellipse(0, 0, 1, 1);
    drawing.CircleThrough(0, 0, 3, 4);
    drawing.SetFillStyle(9);  // not a style: unchanged
    EXPECT_EQ(drawing.State().fillStyle, 1);
    const std::string square =
        "\\path(0.000,0.000)(1.000,0.000)(1.000,1.000)(0.000,1.000)(0.000,0.000)";
    EXPECT_EQ(Entries(),
              (std::vector<std::string>{"\\path(0.000,0.000)(1.000,2.000)", "\\shade", square,
                                        square, "\\put(0.500,0.500){\\ellipse{1.000}{1.000}}",
                                        "\\put(0.000,0.000){\\circle{10.000}}"}));
}

TEST_F(DrawingOutputTest, EepicArcsLinesAndPolygons) {
    StartEepic();
    drawing.SetFillStyle(0);
    drawing.SetFillColour(kRed);
    drawing.CircleArc(Drawing::ArcKind::Arc, 0, 0, 1, 0, kPi / 2);  // not filled
    drawing.CircleArc(Drawing::ArcKind::Sector, 0, 0, 1, 0, kPi / 2);
    drawing.CircleArc(Drawing::ArcKind::Segment, 0, 0, 1, 0, kPi / 2);
    drawing.MoveTo(1, 1);
    drawing.LineTo(2, 3);
    drawing.SetFillStyle(1);
    drawing.Polygon({{0, 0}, {1, 0}, {0, 1}});          // closed in the text
    drawing.Polygon({{0, 0}, {1, 0}, {0, 1}, {0, 0}});  // already closed
    drawing.Bezier({{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {4, 1}, {4, 2}});
    const std::string arc = "\\put(0.000,0.000){\\arc{2.000}", angles = "{4.712}{6.283}}";
    const std::string triangle = "\\path(0.000,0.000)(1.000,0.000)(0.000,1.000)(0.000,0.000)";
    EXPECT_EQ(Entries(), (std::vector<std::string>{
                             arc, angles, "\\shade", arc, angles,
                             "\\path(1.000,0.000)(0.000,0.000)(0.000,1.000)", "\\shade", arc,
                             angles, "\\path(1.000,0.000)(0.000,1.000)",
                             "\\path(1.000,1.000)(2.000,3.000)", triangle, triangle,
                             "\\spline(0.000,0.000)(1.000,0.000)(2.000,0.000)(3.000,0.000)\n"
                             "\\spline(3.000,0.000)(4.000,0.000)(4.000,1.000)(4.000,2.000)"}));
}

TEST_F(DrawingOutputTest, LineWidthAndDottedLine) {
    StartEepic();
    drawing.SetLineWidth(1);  // already 1
    drawing.SetLineWidth(2);
    drawing.SetLineWidth(3);
    drawing.SetLineWidth(0);
    drawing.SetLineWidth(1);
    drawing.DottedLine(0, 0, 1, 1);
    EXPECT_EQ(Entries(), (std::vector<std::string>{
                             "\\thicklines", "\\Thicklines", "\\thinlines",
                             "\\drawline[-200](0.000,0.000)(1.000,1.000)\n%vervang eventueel door "
                             "\\dashline of \\dottedline; zie eepichandleiding"}));
    EXPECT_EQ(surface.GetPen().style, PenStyle::Solid);
}

TEST_F(DrawingOutputTest, CurveSamplesPiecesAndDashes) {
    StartEepic();
    const Drawing::Curve diagonal = [](Real t, Real& x, Real& y) { return x = y = t, true; };
    drawing.CurveT(diagonal, 0, 1, 0.3L);  // the sample after 0.9 is exactly tmax
    drawing.CurveT(diagonal, 0, 1, 0);     // dt <= 0 draws nothing
    EXPECT_EQ(Entries(), std::vector<std::string>{"\\path(0.000,0.000)\n(0.300,0.300)\n"
                                                  "(0.600,0.600)\n(0.900,0.900)\n(1.000,1.000)\n"});

    // Leaves the box (|y| <= 10) around t = 0.4 and fails to evaluate around t = 1.2:
    // three pieces, each break skipping the following sample.
    StartEepic();
    drawing.CurveT(
        [](Real t, Real& x, Real& y) {
            x = t;
            y = std::fabs(t - 0.4L) < 0.05L ? 100 : 0;
            return std::fabs(t - 1.2L) > 0.05L;
        },
        0, 2, 0.1L);
    std::vector<std::string> pieces = Entries();
    ASSERT_EQ(pieces.size(), 3u);
    EXPECT_EQ(pieces[0], "\\path(0.000,0.000)\n(0.100,0.000)\n(0.200,0.000)\n(0.300,0.000)\n");
    EXPECT_EQ(pieces[1].substr(0, 19), "\\path(0.600,0.000)\n");
    EXPECT_EQ(pieces[2].substr(0, 19), "\\path(1.400,0.000)\n");

    // Dashes of length 1 every 2 from 0; the last one runs past tmax.
    StartEepic();
    drawing.DashedCurve([](Real t, Real& x, Real& y) { return x = t / 4, y = 0, true; }, 0, 10,
                        0.1L, 1, 1);
    pieces = Entries();
    ASSERT_EQ(pieces.size(), 6u);
    for (int i = 0; i < 6; ++i) {
        const std::string& dash = pieces[static_cast<size_t>(i)];
        EXPECT_TRUE(dash.starts_with("\\path" + drawing.Eepic().PointLine(i * 0.5L, 0))) << dash;
        EXPECT_TRUE(dash.ends_with(drawing.Eepic().PointLine(i * 0.5L + 0.25L, 0))) << dash;
    }
}

TEST_F(DrawingOutputTest, TextsAlignFontStylesAndEscapes) {
    StartEepic();
    StartPdf();
    drawing.AlignedText(0, 0, "A", "rb");
    drawing.AddFontStyle("vet");
    drawing.AddFontStyle("cursief");
    drawing.Text(1, 1, "50% & #1 $\\pi$");
    drawing.AddFontStyle("");
    drawing.Text(1, 1, "x");
    EXPECT_EQ(Entries(), (std::vector<std::string>{
                             "\\put(0.000,0.000){\\makebox(0,0)[rb]{A}}",
                             "\\put(1.000,1.000){\\makebox(0,0)[lt]{50\\% \\& \\#1 $\\pi$}}",
                             "\\put(1.000,1.000){\\makebox(0,0)[lt]{x}}"}));
    std::vector<std::string> fonts;
    for (const std::string& line : Content())
        if (line.ends_with(" Tf")) fonts.push_back(line);
    EXPECT_EQ(fonts, (std::vector<std::string>{"/F5 12 Tf", "/F8 12 Tf", "/F5 12 Tf"}));
    // The surface font is back as it was.
    EXPECT_FALSE(surface.GetFont().bold);
    EXPECT_EQ(surface.GetBrush().style, BrushStyle::Clear);

    // "rb": the text's bottom-right corner lies at the origin, pixel (50, 50).
    drawing.SetEepicOn(false);
    drawing.SetPdfOn(false);
    Wipe();
    drawing.AlignedText(0, 0, "A", "rb");
    int right = -1, bottom = -1;
    for (int row = 0; row < 101; ++row)
        for (int column = 0; column < 101; ++column)
            if (Dark(surface.PixelColour(column, row))) {
                right = std::max(right, column);
                bottom = std::max(bottom, row);
            }
    EXPECT_LE(right, 50);
    EXPECT_GE(right, 44);
    EXPECT_LE(bottom, 50);
    EXPECT_GE(bottom, 40);
}

TEST_F(DrawingOutputTest, PdfColoursWidthsAndFills) {
    StartPdf();
    drawing.SetPenColour(kRed);
    drawing.Line(0, 0, 5, 5);
    drawing.SetLineWidth(3);
    drawing.Line(0, 0, 5, 5);
    drawing.SetLineWidth(1);
    drawing.SetFillStyle(0);
    drawing.SetFillColour(kGreen);
    drawing.Rectangle(2, 1, 0, 0);  // lower-left corner and positive sizes
    drawing.SetFillStyle(1);
    drawing.Rectangle(0, 0, 2, 1);
    drawing.CurveT([](Real t, Real& x, Real& y) { return x = y = t, true; }, 0, 1, 0.5L);
    // clang-format off
    const std::vector<std::string> expected = {
        "1 0 0 RG", "1 g", "0 0 m", "39.7638 39.7638 l", "S",                     // lijn
        "1.7008 w", "0 0 m", "39.7638 39.7638 l", "S", "0.5669 w",                // wide pen
        "0 1 0 rg", "0 0 15.9055 7.9528 re", "B", "0 0 15.9055 7.9528 re", "S",  // rechthoek
        "1 g", "0 0 m", "3.9764 3.9764 l", "7.9528 7.9528 l", "S"};              // kromme
    // clang-format on
    EXPECT_EQ(Content(), expected);
}

TEST_F(DrawingOutputTest, ExportRunsDrawDotsAndTurnedEllipsesOnlyInTheExport) {
    StartPdf();
    drawing.Dot(1, 1, 0.5L);  // below 1: a square
    drawing.Dot(1, 1, 3);
    drawing.RotatedEllipse(0, 0, 2, 1, 0.5L);
    int squares = 0, closedCurves = 0;
    for (const std::string& line : Content()) {
        squares += line.ends_with(" re");
        closedCurves += line == "b" || line == "s";
    }
    EXPECT_EQ(squares, 1);
    EXPECT_EQ(closedCurves, 2);
    EXPECT_EQ(Count([](Colour c) { return c != kWhite; }), 0);

    drawing.SetPdfOn(false);
    StartEepic();
    drawing.Dot(1, 1, 2);
    EXPECT_EQ(Entries(),
              (std::vector<std::string>{"\\shade", "\\put(1.000,1.000){\\ellipse{0.396}{0.396}}"}));
    EXPECT_EQ(drawing.State().fillStyle, 1);
}

TEST_F(DrawingOutputTest, FilledFiguresOnTheSurface) {
    drawing.SetFillStyle(0);
    drawing.SetFillColour(kRed);
    drawing.SetLineWidth(2);
    drawing.Rectangle(-4, -4, -2, -2);
    EXPECT_EQ(AtWorld(-3, -3), kRed);
    EXPECT_EQ(AtWorld(-4, -3), kBlack);
    // The saved objects came back, with the state's pen.
    EXPECT_EQ(surface.GetBrush().style, BrushStyle::Clear);
    EXPECT_EQ(surface.GetPen().width, 2);

    Wipe();
    drawing.HalfPlane(Drawing::HalfPlaneKind::Greater, 1, 0, 0);  // x > 0
    EXPECT_EQ(AtWorld(3, 2), kRed);
    EXPECT_EQ(AtWorld(-3, 2), kWhite);
    Wipe();
    drawing.HalfPlane(Drawing::HalfPlaneKind::Less, 0, 1, 1);  // y < 1
    EXPECT_EQ(AtWorld(-3, 0), kRed);
    EXPECT_EQ(AtWorld(-3, 2), kWhite);

    // Between the parabola y = x^2 on 0..2 and the x-axis back.
    Wipe();
    drawing.SetLineWidth(1);
    drawing.Area({{0, 2, [](Real x, Real& y) { return y = x * x, true; }},
                  {2, 0, [](Real, Real& y) { return y = 0, true; }}});
    EXPECT_EQ(AtWorld(1, 0.5L), kRed);
    EXPECT_EQ(AtWorld(1.5L, 2), kRed);
    EXPECT_EQ(AtWorld(0.5L, 1), kWhite);
    EXPECT_EQ(AtWorld(1, 1.5L), kWhite);

    Wipe();
    drawing.DottedLine(-5, 0, 5, 0);
    const int dots = Count(Dark);
    EXPECT_GT(dots, 30);
    EXPECT_LT(dots, 70);
}

TEST_F(DrawingOutputTest, ImplicitCircle) {
    drawing.Implicit([](Real x, Real y, Real& v) { return v = x * x + y * y - 4, true; }, -5, 5, -5,
                     5, 2);
    int onCircle = 0, elsewhere = 0;
    for (int row = 0; row < 101; ++row)
        for (int column = 0; column < 101; ++column) {
            if (!Dark(surface.PixelColour(column, row))) continue;
            const Real r = std::hypot(column - 50.0L, row - 50.0L);
            (std::fabs(r - 20) <= 2 ? onCircle : elsewhere)++;
        }
    EXPECT_GT(onCircle, 100);
    EXPECT_EQ(elsewhere, 0);
}

// Requests that would never end are cut short, and functions without a value break curves.
TEST_F(DrawingOutputTest, BoundsKeepEveryCommandFinite) {
    const auto start = std::chrono::steady_clock::now();
    drawing.CurveT([](Real t, Real& x, Real& y) { return x = t, y = 0, true; }, 0, 1, 1e-12L);
    drawing.DashedCurve([](Real t, Real& x, Real& y) { return x = t, y = t, true; }, 0, 1, 0.1L, 1,
                        -1);  // dashes that do not move on
    drawing.Area({{-1e12L, 1e12L, [](Real, Real& y) { return y = 0, true; }}});
    drawing.WebGraph([](Real x, Real& y) { return y = x / 2, true; }, 1, 1e15L, 1e15L);
    drawing.Implicit([](Real x, Real, Real& v) { return v = x, true; }, 1, 1, -1, 1, 1);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 60);  // a hang guard, not a speed goal

    // NaN or infinite arguments draw nothing.
    Wipe();
    drawing.Line(0, 0, NAN, 1);
    drawing.Rectangle(0, 0, INFINITY, 1);
    drawing.Text(NAN, 0, "x");
    EXPECT_EQ(Count(Dark), 0);

    // A graph whose function fails on every other stretch of x draws separate pieces.
    StartEepic();
    drawing.Graph([](Real x, Real& y) { return y = 1, std::fmod(x + 10, 2) < 1; });
    EXPECT_GE(Entries().size(), 5u);
    EXPECT_GT(Count(Dark), 40);
}

TEST_F(DrawingOutputTest, StateResetsPerRun) {
    drawing.SetFontSize(7.3L);
    drawing.SetFontFace("Times");
    drawing.SetFontColour(kRed);
    drawing.SetFillStyle(0);
    drawing.Rectangle(0, 0, 1, 1);
    EXPECT_EQ(drawing.State().fontHalfPoints, 15);
    EXPECT_EQ(surface.GetFont().color, kRed);  // letterkleur survives the restore
    drawing.SetFontFace("");
    EXPECT_EQ(drawing.State().fontFace, "Arial");

    drawing.SetPenColour(kGreen);
    drawing.BeginRun(kBlack);
    EXPECT_EQ(drawing.State().penColour, kBlack);
    EXPECT_EQ(drawing.State().fillStyle, 1);
    EXPECT_EQ(drawing.State().fontHalfPoints, 24);
    EXPECT_EQ(surface.GetFont().color, kBlack);
}

}  // namespace
}  // namespace plot
