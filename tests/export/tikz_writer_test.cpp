// TikZ text: millimetres from the world's corner, colours defined once, anchors from
// the eepic alignment letters, and nothing TeX cannot read.
#include "export/tikz_writer.h"

#include <gtest/gtest.h>

#include <numbers>

namespace exporter {
namespace {

class TikzWriterTest : public ::testing::Test {
protected:
    // World -5..5 x 0..4 on a picture of 50 x 20 mm.
    void SetUp() override { tikz.BeginPicture(-5, 0, 10, 4, 50, 20); }
    TikzWriter tikz;
};

TEST_F(TikzWriterTest, PictureIsInMillimetresFromTheLowerLeftCorner) {
    tikz.EndPicture();
    const auto& entries = tikz.Entries();
    ASSERT_EQ(entries.size(), 5u);
    EXPECT_EQ(entries[1], "\\begin{tikzpicture}[x=1mm,y=1mm,line cap=round,line join=round]");
    EXPECT_EQ(entries[2], "\\useasboundingbox (0,0) rectangle (50,20);");
    EXPECT_EQ(entries[4], "\\end{tikzpicture}");
    EXPECT_EQ(tikz.Point(0, 2), "(25,10)");
    EXPECT_EQ(tikz.Point(-5.5, 0.001), "(-2.5,0.005)");
    // TeX lengths end near 5.7 m: far points come to within one metre.
    EXPECT_EQ(tikz.Point(1e30, -1e30), "(1000,-1000)");
}

TEST_F(TikzWriterTest, ColoursAreDefinedOnFirstUseAndFillsFollowShade) {
    tikz.SetColours(255, 65280, 0);
    EXPECT_EQ(tikz.Line(-5, 0, 5, 4),
              "\\definecolor{zorvat1}{RGB}{255,0,0}\n\\draw[draw=zorvat1] (0,0) -- (50,20);");
    EXPECT_EQ(tikz.Shade(), "");
    EXPECT_EQ(tikz.Rectangle(-5, 0, 0, 2),
              "\\definecolor{zorvat2}{RGB}{0,255,0}\n"
              "\\filldraw[draw=zorvat1,fill=zorvat2] (0,0) rectangle (25,10);");
    // The shade is used up by one figure.
    EXPECT_EQ(tikz.Rectangle(-5, 0, 0, 2), "\\draw[draw=zorvat1] (0,0) rectangle (25,10);");
}

TEST_F(TikzWriterTest, TextsTakeTheAnchorOfTheirAlignment) {
    const std::pair<const char*, const char*> cases[] = {
        {"lt", "north west"}, {"rb", "south east"}, {"cc", "center"},
        {"c", "center"},      {"r", "east"},        {"ct", "north"},
    };
    for (const auto& [alignment, anchor] : cases) {
        EXPECT_NE(tikz.AlignedText(0, 0, "x", alignment)
                      .find(std::string("anchor=") + anchor + ",inner sep=0pt"),
                  std::string::npos)
            << alignment;
    }
    tikz.SetTextAngle(90);
    EXPECT_NE(tikz.Text(0, 0, TikzWriter::LatexText("50% {#}"))
                  .find(",rotate=90] at (25,0) {50\\% \\{\\#\\}};"),
              std::string::npos);
}

TEST_F(TikzWriterTest, ArcsRunCounterClockwiseAndSectorsClose) {
    const auto arc = tikz.Arc(0, 0, 2, 0, std::numbers::pi_v<long double> / 2);
    EXPECT_NE(arc[0].find("(35,0) arc [start angle=0,delta angle=90,x radius=10,y radius=10];"),
              std::string::npos)
        << arc[0];
    EXPECT_EQ(arc[1], "");
    // From 270 to 90 degrees: on through 0, half a turn.
    tikz.Shade();
    const auto sector = tikz.Arc(0, 0, 2, 1.5L * std::numbers::pi_v<long double>,
                                 std::numbers::pi_v<long double> / 2, TikzWriter::ArcShape::Sector);
    EXPECT_NE(sector[0].find("\\filldraw"), std::string::npos);
    EXPECT_NE(sector[0].find("(25,0) -- (25,-10) arc [start angle=270,delta angle=180"),
              std::string::npos)
        << sector[0];
    EXPECT_NE(sector[0].find("-- cycle;"), std::string::npos);
}

// Regression guard: one \draw of a million points exhausts TeX's memory.
TEST_F(TikzWriterTest, LongCurvesAreDrawnInPiecesThatShareTheirEnds) {
    for (int i = 0; i < 450; ++i) tikz.AddPathPoint(-5 + i * 0.01L, 1);
    tikz.FlushPath();
    const std::string& curve = tikz.Entries().back();
    size_t draws = 0;
    for (size_t at = 0; (at = curve.find("\\draw", at)) != std::string::npos; ++at) ++draws;
    EXPECT_EQ(draws, 3u);
    // The second piece starts where the first ended.
    EXPECT_NE(curve.find("(9.95,5);\n\\draw[draw=zorvat1] (9.95,5) --"), std::string::npos);
}

}  // namespace
}  // namespace exporter
