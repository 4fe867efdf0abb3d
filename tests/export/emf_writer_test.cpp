// The metafile's records: a header that tells the truth about the file, objects around
// every figure, text as UTF-16 with its widths, and coordinates that fit 16 bits.
#include "export/emf_writer.h"

#include <gtest/gtest.h>

#include "emf_records.h"

namespace exporter {
namespace {

VectorPath Square() {
    return {{{{10, 10}, {30, 10}, {30, 30}, {10, 30}, {10, 10}}, false, true}};
}

TEST(EmfWriterTest, HeaderCountsBytesRecordsAndHandles) {
    EmfWriter emf(800, 600);
    emf.Fill(Square(), {255});
    emf.Stroke(Square(), {0, 3});
    const std::string bytes = emf.Bytes();
    const auto records = ReadEmf(bytes);
    ASSERT_GE(records.size(), 3u);
    const EmfRecord& header = records.front();
    EXPECT_EQ(header.type, EmfWriter::kHeader);
    EXPECT_EQ(header.U32(40), 0x464D4520u);  // " EMF"
    EXPECT_EQ(header.U32(48), bytes.size());
    EXPECT_EQ(header.U32(52), records.size());
    EXPECT_EQ(header.U32(16), 799u);  // bounds: the whole picture
    EXPECT_EQ(header.U32(20), 599u);
    EXPECT_EQ(header.U32(72), 800u);  // reference device in pixels
    EXPECT_EQ(records.back().type, EmfWriter::kEof);
    // A brush and a pen, one after the other in the same slot.
    EXPECT_EQ(header.U32(56) & 0xFFFF, 2u);
    const auto polygons = OfType(records, EmfWriter::kPolygon16);
    ASSERT_EQ(polygons.size(), 2u);  // the fill and the closed outline
    EXPECT_EQ(polygons[0].U32(24), 5u);
    EXPECT_EQ(polygons[0].I16(28), 10);
    EXPECT_EQ(polygons[0].I16(36), 30);
}

TEST(EmfWriterTest, ResetForgetsTheFigures) {
    EmfWriter emf(100, 100);
    const size_t empty = emf.Bytes().size();
    emf.Stroke(Square(), {});
    EXPECT_GT(emf.Bytes().size(), empty);
    emf.Reset();
    EXPECT_EQ(emf.Bytes().size(), empty);
}

TEST(EmfWriterTest, TextIsUtf16WithTheWidthOfEveryUnit) {
    EmfWriter emf(200, 200);
    VectorText text;
    text.baseline = {20, 40};
    text.angle = 90;
    text.text = "a\xCF\x80<";  // a, pi, <
    text.advances = {10.4, 10.4, 10.4};
    text.font.pixelSize = 32;
    text.font.bold = true;
    emf.Text(text);
    const auto records = ReadEmf(emf.Bytes());
    const auto fonts = OfType(records, EmfWriter::kExtCreateFontIndirectW);
    ASSERT_EQ(fonts.size(), 1u);
    EXPECT_EQ(static_cast<int32_t>(fonts[0].U32(12)), -32);  // the em height
    EXPECT_EQ(fonts[0].U32(20), 900u);                       // escapement in tenths
    EXPECT_EQ(fonts[0].U32(28), 700u);                       // bold
    const auto outs = OfType(records, EmfWriter::kExtTextOutW);
    ASSERT_EQ(outs.size(), 1u);
    const EmfRecord& out = outs[0];
    EXPECT_EQ(out.U32(36), 20u);  // reference point: the baseline
    EXPECT_EQ(out.U32(44), 3u);
    const uint32_t at = out.U32(48);
    EXPECT_EQ(out.I16(at), 'a');
    EXPECT_EQ(static_cast<uint16_t>(out.I16(at + 2)), 0x03C0);
    EXPECT_EQ(out.I16(at + 4), '<');
    // Rounded widths that add up to the exact 31.2.
    const uint32_t dx = out.U32(72);
    EXPECT_EQ(out.U32(dx) + out.U32(dx + 4) + out.U32(dx + 8), 31u);
}

TEST(EmfWriterTest, FarPointsStayWithinSixteenBitsAndCurvesUseAPath) {
    EmfWriter emf(100, 100);
    emf.Stroke({{{{0, 0}, {1e9, -1e9}}, false, false}}, {});
    emf.Stroke({{{{0, 0}, {10, 0}, {20, 10}, {20, 20}}, true, true}}, {});
    const auto records = ReadEmf(emf.Bytes());
    const auto lines = OfType(records, EmfWriter::kPolyline16);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].I16(32), 32767);
    EXPECT_EQ(lines[0].I16(34), -32767);
    EXPECT_EQ(OfType(records, EmfWriter::kStrokePath).size(), 1u);
}

}  // namespace
}  // namespace exporter
