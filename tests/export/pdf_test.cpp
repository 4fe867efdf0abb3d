// The PDF writer: page mapping, content operators, text, and a file whose offsets are
// right to the byte.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <numbers>
#include <regex>
#include <sstream>

#include "export/pdf.h"

namespace exporter {
namespace {

using Lines = std::vector<std::string>;
constexpr long double kPi = std::numbers::pi_v<long double>;
constexpr long double kUnit = 400 * 10 / 12.7L / 10;  // points per unit on Square()
constexpr uint32_t kRed = 255;
constexpr uint32_t kGrey = 128 + 256 * 128 + 65536 * 128;

// 400 x 300 points showing the world -5..5 x -5..5: 40 points per unit across, 30 up.
TPdf Page() {
    TPdf pdf;
    pdf.BeginDoc(508, 381, -5, 5, -5, 5);
    return pdf;
}

TPdf Square() {
    TPdf pdf;
    pdf.BeginDoc(400, 400, -5, 5, -5, 5);
    return pdf;
}

// The content lines after the opening "cm" and line width.
Lines Content(const TPdf& pdf) {
    const auto& lines = pdf.Lines();
    auto start = std::find(lines.begin(), lines.end(), "stream");
    auto end = std::find(lines.begin(), lines.end(), "endstream");
    if (start == lines.end() || start + 3 > end) return {};
    return {start + 3, end};
}

std::vector<long double> Numbers(const std::string& line) {
    std::istringstream in(line);
    std::vector<long double> numbers;
    long double value;
    while (in >> value) numbers.push_back(value);
    return numbers;
}

int CountEnding(const Lines& lines, const std::string& op) {
    return static_cast<int>(
        std::count_if(lines.begin(), lines.end(), [&](const auto& l) { return l.ends_with(op); }));
}

// Every sampled point of the curve pieces lies on the ellipse (page units, equal scale).
void ExpectOnEllipse(const Lines& content, long double cx, long double cy, long double rx,
                     long double ry, long double angle) {
    std::vector<long double> from;
    for (const std::string& line : content) {
        const std::vector<long double> n = Numbers(line);
        if (line.ends_with(" c")) {
            for (long double t = 0.125L; t < 1; t += 0.125L) {
                const long double u = 1 - t, a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t,
                                  d = t * t * t;
                const long double dx = a * from[0] + b * n[0] + c * n[2] + d * n[4] - cx;
                const long double dy = a * from[1] + b * n[1] + c * n[3] + d * n[5] - cy;
                const long double ux = dx * std::cos(angle) + dy * std::sin(angle);
                const long double uy = -dx * std::sin(angle) + dy * std::cos(angle);
                EXPECT_NEAR(static_cast<double>(std::hypot(ux / rx, uy / ry)), 1.0, 0.001);
            }
            from = {n[4], n[5]};
        } else if (line.ends_with(" m") || line.ends_with(" l")) {
            from = n;
        }
    }
    EXPECT_GT(CountEnding(content, " c"), 0);
}

TEST(PdfTest, WorldIsCentredOnThePage) {
    TPdf pdf = Page();
    pdf.MoveTo(0, 0);
    pdf.LineTo(-2.5L, 1e-7L);
    pdf.EndPath(false, false);
    EXPECT_EQ(Content(pdf), (Lines{"0 0 m", "-100.0000 0 l", "S"}));
    TPdf shifted;
    shifted.BeginDoc(400, 400, 0, 4, -1, 4);
    EXPECT_NEAR(static_cast<double>(shifted.PageX(2)), 0, 1e-9);
    EXPECT_NEAR(static_cast<double>(shifted.PageY(4)), 400 * 10 / 12.7 / 2, 1e-9);
}

TEST(PdfTest, ColourLinesAreWrittenOnlyWhenTheColourChanges) {
    TPdf pdf = Page();
    pdf.DrawLine(0, false, 0, 0, 1, 1);  // black, with the white fill of a line
    pdf.DrawLine(kGrey, false, 0, 0, 1, 1);
    pdf.DrawLine(kGrey, false, 1, 1, 2, 2);
    pdf.Rectangle(kRed, true, kGrey, 0, 0, 1, 1);
    pdf.Rectangle(kRed | 0xFF000000u, true, 65280, 0, 0, 1, 1);  // only three bytes count
    EXPECT_EQ(
        Content(pdf),
        (Lines{"1 g", "0 0 m", "40.0000 30.0000 l", "S", "0.502 G", "0 0 m", "40.0000 30.0000 l",
               "S", "40.0000 30.0000 m", "80.0000 60.0000 l", "S", "1 0 0 RG", "0.502 g",
               "0 0 40.0000 30.0000 re", "B", "0 1 0 rg", "0 0 40.0000 30.0000 re", "B"}));
}

TEST(PdfTest, PathsWidthsAndDashes) {
    TPdf pdf = Page();
    pdf.LineWidth(6);
    pdf.StartPath(0, TPdf::kWhite, 0, 0);
    pdf.AddLineToPath(1, 0, 1, 1);
    pdf.AddCurveToPath(1, 2, 2, 2, 2, 1);
    pdf.EndPath(true, true);
    pdf.DrawLine(0, true, 0, 0, 0, 1);
    pdf.StartPath(0, TPdf::kWhite, 0, 0);
    pdf.EndPath(true, false);
    // A path left open by MoveTo/LineTo is stroked before anything that may not stand in it.
    pdf.LineTo(1, 0);
    pdf.LineWidth(2);
    EXPECT_EQ(Content(pdf),
              (Lines{"1.7008 w", "1 g", "0 0 m", "40.0000 0 m", "40.0000 30.0000 l",
                     "40.0000 60.0000 80.0000 60.0000 80.0000 30.0000 c", "b", "[2 2] 0 d", "0 0 m",
                     "0 30.0000 l", "S", "[] 0 d", "0 0 m", "s", "40.0000 0 m", "S", "0.5669 w"}));
}

TEST(PdfTest, EllipsesAreFourBezierQuarters) {
    TPdf pdf = Square();
    pdf.Ellipse(0, false, TPdf::kWhite, 1, 3, -3, 1);
    Lines content = Content(pdf);
    ASSERT_EQ(content.size(), 7u);
    EXPECT_EQ(content[1], "31.4961 62.9921 m");  // the right-hand point (1, 2)
    EXPECT_EQ(content[6], "s");
    ExpectOnEllipse(content, -kUnit, 2 * kUnit, 2 * kUnit, kUnit, 0);

    // Turned clockwise by the angle given: -alpha turns the figure counter-clockwise.
    TPdf turned = Square();
    turned.RotatedEllipse(0, true, kRed, -2, -1, 2, 1, -kPi / 2);
    content = Content(turned);
    EXPECT_EQ(content.back(), "b");
    EXPECT_EQ(content[1], "0 62.9921 m");
    ExpectOnEllipse(content, 0, 0, 2 * kUnit, kUnit, kPi / 2);

    TPdf circle = Square();
    circle.CircleByRadius(0, false, TPdf::kWhite, 1, 1, -2);
    ExpectOnEllipse(Content(circle), kUnit, kUnit, 2 * kUnit, 2 * kUnit, 0);
}

TEST(PdfTest, ArcsRunCounterClockwiseBetweenTheRays) {
    TPdf pdf = Square();
    pdf.Arc(0, -2, -2, 2, 2, 0, kPi / 2);
    Lines content = Content(pdf);
    ASSERT_EQ(content.size(), 3u);
    EXPECT_EQ(content[0], "62.9921 0 m");
    EXPECT_TRUE(content[1].ends_with(" 0 62.9921 c"));
    EXPECT_EQ(content[2], "S");
    ExpectOnEllipse(content, 0, 0, 2 * kUnit, 2 * kUnit, 0);

    // From 3/4 of a turn on to 1/4: the right half, in two quarters.
    TPdf chord = Square();
    chord.Chord(0, true, kRed, -2, -2, 2, 2, 3 * kPi / 2, kPi / 2);
    content = Content(chord);
    EXPECT_EQ(content[1], "0 -62.9921 m");
    EXPECT_EQ(CountEnding(content, " c"), 2);
    EXPECT_EQ(content.back(), "b");

    // Equal rays give the whole ellipse; a pie starts at the centre.
    TPdf pie = Square();
    pie.Pie(0, false, kRed, -1, -3, 3, 1, 1, 1);
    content = Content(pie);
    EXPECT_EQ(content[1], "31.4961 -31.4961 m");
    EXPECT_EQ(CountEnding(content, " c"), 4);
    EXPECT_EQ(content.back(), "s");

    // On a flat ellipse the ray at 45 degrees ends the arc where y = x.
    TPdf ellipse = Square();
    ellipse.Arc(0, -4, -1, 4, 1, 0, kPi / 4);
    const auto last = Numbers(Content(ellipse)[1]);
    EXPECT_NEAR(static_cast<double>(last[4]), static_cast<double>(last[5]), 1e-3);
}

TEST(PdfTest, VectorHasAnEightPixelHeadAtFortyFiveDegrees) {
    TPdf pdf = Square();
    pdf.DrawVector(kRed, 0, 0, 2, 0);
    pdf.DrawVector(0, 0, 0, 0.001L, 0);  // shorter than a pixel: nothing, as on the surface
    const Lines content = Content(pdf);
    ASSERT_EQ(content.size(), 7u);
    const long double head = 8 * 10 / 12.7L / std::sqrt(2.0L);
    const auto left = Numbers(content[3]), right = Numbers(content[5]);
    EXPECT_NEAR(static_cast<double>(left[0] - (2 * kUnit - head)), 0, 1e-3);
    EXPECT_NEAR(static_cast<double>(left[1] - head), 0, 1e-3);
    EXPECT_NEAR(static_cast<double>(right[0] - (2 * kUnit - head)), 0, 1e-3);
    EXPECT_NEAR(static_cast<double>(right[1] + head), 0, 1e-3);
}

TEST(PdfTest, TextCommandChoosesFontRisesTurnsAndUnderlines) {
    EXPECT_EQ(TPdf::FontResource("Courier New", true, true), "F4");
    EXPECT_EQ(TPdf::FontResource("Arial", true, false), "F6");
    EXPECT_EQ(TPdf::FontResource("DejaVu Sans", false, true), "F7");
    EXPECT_EQ(TPdf::FontResource("Times New Roman", false, false), "F9");
    EXPECT_EQ(TPdf::FontResource("SYMBOL", true, true), "F13");

    TPdf pdf = Page();
    PdfFont font;
    font.name = "Times New Roman";
    font.colour = kRed;
    font.bold = true;
    font.underline = true;
    pdf.Text(font, "ab", 90, 20, 16, 0, 0);
    EXPECT_EQ(Content(pdf),
              (Lines{"1 0 0 rg", "BT", "/F10 12 Tf", "0 1.0000 -1.0000 0 0 0 Tm", "-9.6000 Ts",
                     "(ab) Tj", "ET",
                     // size / 6 + 2 for bold; a tenth of the size below the baseline, turned
                     "1.1339 w", "1 0 0 RG", "1 g", "10.8000 0 m", "10.8000 15.0000 l", "S",
                     "0.5669 w"}));
}

// Regression: a parenthesis or backslash in the text ended the string early and broke the
// content; the text is WinAnsi bytes, other characters become "?".
TEST(PdfTest, TextIsEscapedAndWrittenInWinAnsi) {
    TPdf pdf = Page();
    pdf.TextOut("F5", "f(x) = \\sqrt{x} (", 0, 0, 12, 0, 0);
    pdf.TextOut("F5", "\xC3\xA9\xE2\x82\xAC\xE2\x80\x94\xE4\xB8\xAD\xFF\tA", 0, 0, 12, 0, 0);
    const Lines content = Content(pdf);
    EXPECT_EQ(content[3], "(f\\(x\\) = \\\\sqrt{x} \\() Tj");
    EXPECT_EQ(content[8], "(\xE9\x80\x97??\\011A) Tj");
}

TEST(PdfTest, UndefinedCoordinatesLeaveTheFigureOut) {
    constexpr long double kNaN = std::numeric_limits<long double>::quiet_NaN();
    TPdf pdf = Page();
    pdf.DrawLine(kRed, true, 0, 0, kNaN, 1);
    pdf.Ellipse(kRed, true, kRed, 0, 0, 1e40L, 1);
    pdf.TextOut("F5", "x", 0, 0, 12, kNaN, 0);
    pdf.DrawVector(kRed, 0, 0, kNaN, 1);
    EXPECT_TRUE(Content(pdf).empty());
    // A polyline breaks at an undefined point and goes on from the next one.
    pdf.StartPath(0, 0, 0, 0);
    pdf.LineTo(kNaN, 1);
    pdf.LineTo(2, 2);
    pdf.LineTo(3, 3);
    pdf.EndPath(false, false);
    EXPECT_EQ(Content(pdf), (Lines{"0 0 m", "80.0000 60.0000 m", "120.0000 90.0000 l", "S"}));

    TPdf flat;  // a flat world has no usable coordinates at all
    flat.BeginDoc(100, 100, 1, 1, 0, 1);
    flat.DrawLine(0, false, 0, 0, 1, 1);
    flat.Rectangle(0, true, kRed, 0, 0, 1, 1);
    EXPECT_TRUE(Content(flat).empty());
}

TEST(PdfTest, DrawingOutsideAnOpenPageWritesNothing) {
    TPdf pdf;
    pdf.DrawLine(0, false, 0, 0, 1, 1);
    pdf.EndDoc();
    EXPECT_TRUE(pdf.Lines().empty());
    pdf = Page();
    pdf.EndDoc();
    const Lines finished = pdf.Lines();
    pdf.TextOut("F5", "late", 0, 0, 12, 0, 0);
    pdf.EndDoc();
    EXPECT_EQ(pdf.Lines(), finished);
}

// Offsets found by scanning the saved bytes, independent of how the writer counts.
void ExpectConsistentFile(const std::string& bytes) {
    const size_t xref = bytes.find("\r\nxref\r\n0 22\r\n0000000000 65535 f\r\n");
    ASSERT_NE(xref, std::string::npos);
    std::smatch match;
    ASSERT_TRUE(std::regex_search(bytes, match, std::regex("startxref\r\n(\\d+)\r\n%%EOF\r\n$")));
    EXPECT_EQ(std::stoul(match[1]), xref + 2);
    for (int number = 1; number <= 21; ++number) {
        const size_t entry = xref + 2 + 32 + (number - 1) * 20;  // 20 bytes per entry
        ASSERT_EQ(bytes.substr(entry + 10, 10), " 00000 n\r\n");
        const size_t offset = std::stoul(bytes.substr(entry, 10));
        const std::string header = "\n" + std::to_string(number) + " 0 obj\r\n";
        EXPECT_EQ(bytes.compare(offset - 1, header.size(), header), 0) << "object " << number;
    }
    const size_t streamStart = bytes.find("stream\r\n") + 8;
    const size_t streamEnd = bytes.find("endstream\r\n");
    ASSERT_TRUE(std::regex_search(bytes, match, std::regex("21 0 obj\r\n(\\d+)\r\nendobj")));
    EXPECT_EQ(std::stoul(match[1]), streamEnd - streamStart);
}

TEST(PdfTest, CrossReferenceOffsetsAndStreamLengthCountBytes) {
    TPdf pdf = Page();
    // Words with "obj" in them and bytes above 127 must not disturb the counting.
    pdf.TextOut("F5", "endobj 5 0 obj \xC3\xA9\xC3\xA9\xC3\xA9 ()", 0, 0, 12, 0, 0);
    pdf.DrawLine(kRed, true, -5, -5, 5, 5);
    pdf.EndDoc();
    const std::string bytes = pdf.FileText();
    ExpectConsistentFile(bytes);
    EXPECT_EQ(bytes.substr(0, 17), "%PDF-1.1\r\n%\xE2\xE3\xCF\xD3\r\n");
    EXPECT_TRUE(std::regex_search(bytes, std::regex("/CreationDate \\(D:20\\d{12}\\)\r\n")));
}

// Page head (508 x 381 pixels: a 400 x 300 point page), a line, a filled rectangle in a
// thick pen, an ellipse and a text, as a save writes them; the date is fixed for the test.
TEST(PdfTest, SmallPageMatchesTheGoldenFile) {
    TPdf pdf = Page();
    pdf.DrawLine(0, false, -5, -5, 5, 5);
    pdf.LineWidth(6);
    pdf.Rectangle(kRed, true, kGrey, -4, 1, 3, 2);
    pdf.LineWidth(2);
    pdf.Ellipse(16711680, false, TPdf::kWhite, 1, -4, 4, -1);
    pdf.TextOut2("F5", "Zorvat (1)", 0, 0, 12, -9.6L, -4, -1);
    pdf.EndDoc();
    const std::string bytes =
        std::regex_replace(pdf.FileText(), std::regex("D:\\d{14}"), "D:20240101120000");
    ExpectConsistentFile(bytes);
    if (std::getenv("ZORVAT_UPDATE_GOLDEN") != nullptr) {
        std::ofstream(ZORVAT_TEST_DATA "/export/small_page.pdf", std::ios::binary) << bytes;
    }
    std::ifstream in(ZORVAT_TEST_DATA "/export/small_page.pdf", std::ios::binary);
    ASSERT_TRUE(in) << "golden file missing";
    std::stringstream golden;
    golden << in.rdbuf();
    EXPECT_EQ(bytes, golden.str());
}

}  // namespace
}  // namespace exporter
