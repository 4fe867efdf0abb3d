// Recordings of the plot surface: every figure reaches the metafile and the SVG picture
// through the screen's own drawing path, clipped as the screen clips, at the device scale.
#include <gtest/gtest.h>

#include <QImage>
#include <regex>

#include "../export/emf_records.h"
#include "export/emf_writer.h"
#include "plot/plot_surface.h"

namespace plot {
namespace {

// The coordinates of the outlines (paths without fill) of the SVG, one list per path.
std::vector<std::vector<double>> Outlines(const std::string& svg) {
    std::vector<std::vector<double>> outlines;
    const std::regex path("<path d=\"([^\"]*)\" fill=\"none\"");
    const std::regex step("[ML](-?[0-9.]+) (-?[0-9.]+)");
    for (auto p = std::sregex_iterator(svg.begin(), svg.end(), path); p != std::sregex_iterator();
         ++p) {
        const std::string d = (*p)[1];
        outlines.emplace_back();
        for (auto it = std::sregex_iterator(d.begin(), d.end(), step); it != std::sregex_iterator();
             ++it) {
            outlines.back().push_back(std::stod((*it)[1]));
            outlines.back().push_back(std::stod((*it)[2]));
        }
    }
    return outlines;
}

TEST(RecordingTest, MetafileIsDoubleSizeAndClearStartsItAfresh) {
    TPlotSurface surface(100, 80);
    surface.SetWorld(-5, -5, 5, 5);
    EXPECT_EQ(surface.MetafileBytes(), "");
    EXPECT_FALSE(surface.SaveMetafile("/nonexistent/never"));
    surface.SetRecordMetafile(true);
    surface.DrawLine(-5, 5, 5, -5);
    auto records = ReadEmf(surface.MetafileBytes());
    ASSERT_FALSE(records.empty());
    EXPECT_EQ(records.front().U32(72), 200u);  // 2 x 100 pixels wide
    auto lines = OfType(records, exporter::EmfWriter::kPolyline16);
    ASSERT_EQ(lines.size(), 1u);
    // (-5, 5) and (5, -5) at double resolution: columns 0 and 199, rows 0 and 159.
    EXPECT_EQ(lines[0].I16(28), 0);
    EXPECT_EQ(lines[0].I16(32), 199);
    EXPECT_EQ(lines[0].I16(34), 159);

    surface.Clear();
    records = ReadEmf(surface.MetafileBytes());
    EXPECT_TRUE(OfType(records, exporter::EmfWriter::kPolyline16).empty());
    surface.SetRecordMetafile(true, 1);
    EXPECT_EQ(ReadEmf(surface.MetafileBytes()).front().U32(72), 100u);
    surface.SetRecordMetafile(false);
    EXPECT_EQ(surface.MetafileBytes(), "");
}

TEST(RecordingTest, SvgIsClippedWhereTheScreenIsAndHasRealText) {
    TPlotSurface surface(200, 200);
    surface.SetWorld(-5, -5, 5, 5);
    surface.SetClipToWorld(true);
    surface.SetRecordSvg(true);
    surface.Clear();
    // A line far beyond the world on both sides, and an arc (a clipped ellipse).
    surface.DrawLine(-100, 0, 100, 0);
    surface.DrawArc(-2, -2, 2, 2, 1, 0, 0, 1);
    surface.WorldTextOut(0, 0, "a<b & c", 0);
    const std::string svg = surface.SvgBytes();
    const int left = surface.WindowX(-5), right = surface.WindowX(5);
    const auto outlines = Outlines(svg);
    ASSERT_EQ(outlines.size(), 2u) << svg;
    for (size_t i = 0; i < outlines[0].size(); i += 2) {
        EXPECT_GE(outlines[0][i], left) << svg;
        EXPECT_LE(outlines[0][i], right + 1.0) << svg;
    }
    // The quarter arc: no point of its outline lies left of or below the centre.
    ASSERT_FALSE(outlines[1].empty()) << svg;
    for (size_t i = 0; i < outlines[1].size(); i += 2) {
        EXPECT_GE(outlines[1][i], surface.WindowX(0)) << svg;
        EXPECT_LE(outlines[1][i + 1], surface.WindowY(0) + 1.0) << svg;
    }
    EXPECT_NE(svg.find(">a&lt;b &amp; c</text>"), std::string::npos) << svg;
}

TEST(RecordingTest, PicturesAreCombinedByAndAtTheRecordingsScale) {
    TPlotSurface surface(100, 100);
    surface.SetRecordMetafile(true);
    surface.SetRecordSvg(true);
    QImage picture(4, 2, QImage::Format_RGB32);
    picture.fill(Qt::red);
    surface.CombineImageAnd(picture, 10, 20);
    const auto images =
        OfType(ReadEmf(surface.MetafileBytes()), exporter::EmfWriter::kStretchDiBits);
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].U32(24), 20u);          // left, at double size
    EXPECT_EQ(images[0].U32(28), 40u);          // top
    EXPECT_EQ(images[0].U32(68), 0x008800C6u);  // SRCAND: white leaves what is below
    EXPECT_EQ(images[0].U32(72), 8u);           // width at double size
    EXPECT_NE(surface.SvgBytes().find("<image x=\"10\" y=\"20\" width=\"4\" height=\"2\""),
              std::string::npos);
    EXPECT_NE(surface.SvgBytes().find("mix-blend-mode:multiply"), std::string::npos);
}

// Regression guard: the clamp of far points was the screen's 16000 on every device, so
// a 10 000-pixel picture recorded at double size lost its right part.
TEST(RecordingTest, FarPointsAreClampedAtTheDevicesOwnLimit) {
    TPlotSurface surface(10000, 10);
    surface.SetWorld(0, 0, 1, 1);
    surface.SetRecordMetafile(true);
    surface.DrawLine(0, 0.5, 1, 0.5);
    const auto lines = OfType(ReadEmf(surface.MetafileBytes()), exporter::EmfWriter::kPolyline16);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].I16(32), 19999);
}

}  // namespace
}  // namespace plot
