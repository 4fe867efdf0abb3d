// The plot surface's mapping, world validation, clip, size and files.
#include "plot/plot_surface.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <cmath>
#include <string>

namespace plot {
namespace {

// The main window's surface: world -5..5 on both axes.
void UseMainWindowWorld(TPlotSurface& surface) {
    surface.Resize(358, 350);
    surface.SetWorld(-5, -5, 5, 5);
}

template <class F>
std::string ErrorOf(F f) {
    try {
        f();
    } catch (const EPlotSurfaceError& e) {
        return e.what();
    }
    return "no error";
}

TEST(PlotSurfaceMapping, CornersOfTheWorldAreTheCornerPixels) {
    TPlotSurface surface;
    UseMainWindowWorld(surface);
    EXPECT_EQ(surface.WindowX(-5), 0);
    EXPECT_EQ(surface.WindowX(5), 357);
    EXPECT_EQ(surface.WindowY(5), 0);
    EXPECT_EQ(surface.WindowY(-5), 349);
    EXPECT_NEAR(static_cast<double>(surface.WorldX(357)), 5.0, 1e-12);
    EXPECT_NEAR(static_cast<double>(surface.WorldY(349)), -5.0, 1e-12);
}

TEST(PlotSurfaceMapping, FarPointsClampAndHalvesRoundToEven) {
    TPlotSurface surface;
    UseMainWindowWorld(surface);
    EXPECT_EQ(surface.WindowX(1e6L), 16000);
    EXPECT_EQ(surface.WindowX(-1e6L), -16000);
    EXPECT_EQ(surface.WindowY(INFINITY), -16000);  // y grows upward

    // One world unit per pixel: world x is the column.
    surface.Resize(11, 11);
    surface.SetWorld(0, 0, 10, 10);
    EXPECT_EQ(surface.WindowX(2.5L), 2);
    EXPECT_EQ(surface.WindowX(3.5L), 4);
    EXPECT_EQ(surface.WindowX(-2.5L), -2);
    EXPECT_EQ(surface.WindowX(2.5000001L), 3);
    EXPECT_EQ(surface.WindowY(7.5L), 2);  // row 10 - 7.5 = 2.5
}

TEST(PlotSurfaceWorld, InvalidWidthsAreRefusedAndChangeNothing) {
    TPlotSurface surface;
    UseMainWindowWorld(surface);
    for (Real bad : {Real{0}, Real{-3}, Real{NAN}}) {
        EXPECT_EQ(ErrorOf([&] { surface.SetD2WorldXW(bad); }), "x-worldwidth must be positive");
        EXPECT_EQ(ErrorOf([&] { surface.SetD2WorldYW(bad); }), "y-worldwidth must be positive");
        EXPECT_EQ(ErrorOf([&] { surface.SetD3WorldXW(bad); }), "x-worldwidth must be positive");
        EXPECT_EQ(ErrorOf([&] { surface.SetD3WorldYW(bad); }), "y-worldwidth must be positive");
        EXPECT_EQ(ErrorOf([&] { surface.SetD3WorldZW(bad); }), "z-worldwidth must be positive");
    }
    EXPECT_EQ(surface.D2WorldXW(), 10);
    EXPECT_EQ(surface.D2WorldYW(), 10);
    EXPECT_EQ(surface.D3WorldXW(), 2);
    EXPECT_EQ(surface.WindowX(5), 357);

    // The setters keep the other bound's distance.
    surface.SetD2WorldX1(0);
    EXPECT_EQ(surface.D2WorldXW(), 10);
    EXPECT_EQ(surface.WindowX(10), 357);
    surface.SetD2WorldYW(20);
    EXPECT_EQ(surface.WindowY(15), 0);
    surface.SetD3WorldZW(4);
    EXPECT_EQ(surface.D3WorldZW(), 4);
}

TEST(PlotSurfaceWorld, FailedSetWorldKeepsThePreviousMapping) {
    TPlotSurface surface;
    UseMainWindowWorld(surface);
    EXPECT_EQ(ErrorOf([&] { surface.SetWorld(1, -5, 1, 5); }), "Invalid D2-world bounds");
    EXPECT_EQ(ErrorOf([&] { surface.SetWorld(-5, 2, 5, 2); }), "Invalid D2-world bounds");
    EXPECT_EQ(ErrorOf([&] { surface.SetWorld(-5, -5, INFINITY, 5); }), "Invalid D2-world bounds");
    EXPECT_EQ(surface.D2WorldX1(), -5);
    EXPECT_EQ(surface.D2WorldXW(), 10);
    EXPECT_EQ(surface.WindowX(5), 357);
    EXPECT_EQ(surface.WindowY(-5), 349);

    // With the label margins the same holds.
    surface.SetClipToWorld(true);
    const int left = surface.WindowX(-5);
    EXPECT_EQ(ErrorOf([&] { surface.SetWorld(3, -5, 3, 5); }), "Invalid D2-world bounds");
    EXPECT_EQ(surface.WindowX(-5), left);
}

TEST(PlotSurfaceWorld, PixelsWithoutWorldPositionAreReported) {
    TPlotSurface surface(1, 1);  // one column and row: every world x is column 0
    EXPECT_EQ(ErrorOf([&] { surface.WorldX(0); }), "Can't convert to world-x");
    EXPECT_EQ(ErrorOf([&] { surface.WorldY(0); }), "Can't convert to world-y");
}

TEST(PlotSurfaceWorld, ClipToWorldLeavesMarginsForTheNumbers) {
    TPlotSurface surface;
    UseMainWindowWorld(surface);
    surface.SetClipToWorld(true);
    const int numberHeight = surface.TextHeight("-1.234567");
    EXPECT_GT(surface.WindowX(-5), 8);  // room for "-5" left of the y-axis
    EXPECT_LT(surface.WindowX(5), 357);
    EXPECT_EQ(surface.WindowY(5), numberHeight);
    EXPECT_EQ(surface.WindowY(-5), 350 - 7 - numberHeight);
    surface.SetClipToWorld(false);
    EXPECT_EQ(surface.WindowX(-5), 0);
}

TEST(PlotSurfaceSize, ResizeKeepsThePictureAndRefitsTheWorld) {
    TPlotSurface surface;
    UseMainWindowWorld(surface);
    surface.GetPen().color = 255;
    surface.DrawPoint(-5, 5);
    surface.Resize(200, 100);
    EXPECT_EQ(surface.Width(), 200);
    EXPECT_EQ(surface.Height(), 100);
    EXPECT_EQ(surface.PixelColour(0, 0), 255u);
    EXPECT_EQ(surface.WindowX(5), 199);
    EXPECT_EQ(surface.WindowY(-5), 99);

    surface.Resize(0, -4);  // a picture keeps at least one pixel
    EXPECT_EQ(surface.Width(), 1);
    EXPECT_EQ(surface.Height(), 1);
}

TEST(PlotSurfaceFiles, SavePngWritesTheWholePictureOrNothing) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    TPlotSurface surface(40, 30);
    surface.GetBrush().color = 65280;
    surface.Clear();
    const std::string path = dir.filePath("picture.png").toStdString();
    ASSERT_TRUE(surface.SavePng(path));
    QImage saved(QString::fromStdString(path));
    ASSERT_EQ(saved.size(), QSize(40, 30));
    EXPECT_EQ(saved.pixel(39, 29) & 0xFFFFFF, 0x00FF00u);

    const std::string missingFolder = dir.filePath("no/such/folder/picture.png").toStdString();
    EXPECT_FALSE(surface.SavePng(missingFolder));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"picture.png"});

    // A snapshot put back replaces the picture.
    QImage snapshot = surface.Bitmap().copy();
    surface.GetBrush().color = kWhite;
    surface.Clear();
    surface.SetBitmap(snapshot);
    EXPECT_EQ(surface.PixelColour(20, 15), 65280u);
}

}  // namespace
}  // namespace plot
