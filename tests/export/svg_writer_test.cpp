// SVG text: what XML reserves is escaped, what it forbids is left out, and the
// elements carry the figure's paint.
#include "export/svg_writer.h"

#include <gtest/gtest.h>

namespace exporter {
namespace {

TEST(SvgWriterTest, TextsAreEscapedAndKeepTheirFont) {
    EXPECT_EQ(SvgWriter::Escaped("a<b & \"c\" 'd' > e"),
              "a&lt;b &amp; &quot;c&quot; &apos;d&apos; &gt; e");
    EXPECT_EQ(SvgWriter::Escaped(std::string("x\x01y\nz\tw", 7)), "xyz\tw");
    EXPECT_EQ(SvgWriter::Escaped("% # { } \xCF\x80"), "% # { } \xCF\x80");

    SvgWriter svg(100, 50);
    VectorText text;
    text.baseline = {10, 20};
    text.angle = 30;
    text.text = "<b>&</b>";
    text.font.family = "Arial";
    text.font.pixelSize = 16;
    text.font.italic = true;
    text.colour = 255;
    text.clip = VectorRect{0, 0, 50, 50};
    svg.Text(text);
    const std::string file = svg.Bytes();
    EXPECT_NE(file.find("width=\"100\" height=\"50\" viewBox=\"0 0 100 50\""), std::string::npos);
    EXPECT_NE(file.find(">&lt;b&gt;&amp;&lt;/b&gt;</text>"), std::string::npos) << file;
    EXPECT_NE(file.find("font-size=\"16\" fill=\"#ff0000\" font-style=\"italic\" "
                        "transform=\"rotate(-30 10 20)\""),
              std::string::npos)
        << file;
    EXPECT_NE(file.find("<clipPath id=\"clip1\"><rect x=\"0\" y=\"0\" width=\"50\""),
              std::string::npos);
}

TEST(SvgWriterTest, FillsStrokesAndHatches) {
    SvgWriter svg(100, 100);
    const VectorPath square{{{{0, 0}, {10, 0}, {10, 10}}, false, true}};
    svg.Fill(square, {0x00FF00, VectorHatch::Cross});
    svg.Fill(square, {0x00FF00, VectorHatch::Cross});
    svg.Stroke(square, {0, 0, VectorLineStyle::Dot});
    svg.Stroke({{{{5, 5}}, false, false}}, {0xFF0000});
    const std::string file = svg.Bytes();
    // One pattern for both fills.
    EXPECT_EQ(file.find("<pattern id=\"hatch5_00ff00\""), file.rfind("<pattern"));
    EXPECT_NE(file.find("fill=\"url(#hatch5_00ff00)\""), std::string::npos);
    // Thin lines on the pixel centres, as the screen draws them.
    EXPECT_NE(file.find("d=\"M0.5 0.5L10.5 0.5L10.5 10.5Z\" fill=\"none\""), std::string::npos)
        << file;
    EXPECT_NE(file.find("stroke-dasharray=\"3 3\""), std::string::npos);
    EXPECT_NE(file.find("<rect x=\"5\" y=\"5\" width=\"1\" height=\"1\" fill=\"#0000ff\"/>"),
              std::string::npos);
    svg.Reset();
    EXPECT_EQ(svg.Bytes().find("<path"), std::string::npos);
}

}  // namespace
}  // namespace exporter
