// Our PDF and eepic files checked by the outside tools that readers use: qpdf,
// poppler's pdftoppm and pdftotext, and LaTeX with the epic and eepic packages.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <sstream>

#include "export/eepic_writer.h"
#include "export/pdf.h"
#include "peer_tools.h"
#include "test_folder.h"

namespace exporter {
namespace {

namespace fs = std::filesystem;

constexpr long double kPi = std::numbers::pi_v<long double>;
constexpr uint32_t kRed = 255;
constexpr uint32_t kBlue = 16711680;
constexpr uint32_t kGrey = 128 + 256 * 128 + 65536 * 128;

using Result = ToolResult;

class ExportPeerTest : public testing::Test {
protected:
    void SetUp() override { folder_ = MakeTestFolder(); }
    void TearDown() override {
        if (!HasFailure()) fs::remove_all(folder_);
    }

    // qpdf finds no fault, and poppler renders the page without a complaint.
    void ExpectValidPdf(const fs::path& file) {
        const Result check = RunTool("qpdf --check '" + file.string() + "'");
        EXPECT_EQ(check.status, 0) << check.output;
        EXPECT_NE(check.output.find("No syntax or stream encoding errors found"), std::string::npos)
            << check.output;
        EXPECT_EQ(check.output.find("WARNING"), std::string::npos) << check.output;
        const Result render = RunTool("pdftoppm -gray -r 72 -singlefile '" + file.string() + "' '" +
                                      (folder_ / "page").string() + "'");
        EXPECT_EQ(render.status, 0) << render.output;
        EXPECT_EQ(render.output, "") << "poppler reported a problem";
    }

    fs::path folder_;
};

// 400 x 300 points: world -5..5 both ways, 40 points per unit across and 30 up.
TEST_F(ExportPeerTest, PdfPageIsValidAndShowsWhatWasDrawn) {
    TPdf pdf;
    pdf.BeginDoc(508, 381, -5, 5, -5, 5);
    pdf.LineWidth(4);
    pdf.DrawLine(0, false, -5, -5, 5, 5);
    pdf.LineWidth(2);
    pdf.Rectangle(kRed, true, kGrey, 1, -4, 3, 2);
    PdfFont font;
    font.name = "Arial";
    pdf.Text(font, "f(x) = \\sqrt{x} \xC3\xA9\xE2\x82\xAC", 0, 120, 16, -4.5L, 4.5L);
    pdf.EndDoc();
    const fs::path file = folder_ / "page.pdf";
    ASSERT_TRUE(pdf.SaveToFile(file.string()));
    ExpectValidPdf(file);

    const Grey page = ReadPgm(folder_ / "page.pgm");
    ASSERT_EQ(page.width, 400);
    ASSERT_EQ(page.height, 300);
    // The diagonal runs from the bottom-left to the top-right corner.
    for (int column : {50, 100, 200, 300, 350})
        EXPECT_LT(page.DarkestNear(column, 300 - column * 3 / 4), 100) << "column " << column;
    EXPECT_GT(page.At(300, 150), 240) << "beside the line the page is white";
    EXPECT_GT(page.At(100, 100), 240);
    // Grey 128 inside the rectangle x 1..4, y -4..-2, i.e. columns 240..360, rows 210..270.
    EXPECT_NEAR(page.At(300, 240), 128, 20);
    EXPECT_LT(page.DarkestNear(240, 240), 100) << "its red outline";
    // The text hangs below its top-left corner at (20, 15).
    EXPECT_GT(page.DarkCount(20, 12, 160, 32), 50);

    const Result text = RunTool("pdftotext '" + file.string() + "' -");
    EXPECT_EQ(text.status, 0);
    EXPECT_NE(text.output.find("f(x) = \\sqrt{x} \xC3\xA9\xE2\x82\xAC"), std::string::npos)
        << text.output;
}

TEST_F(ExportPeerTest, EveryFigureAndFontGivesAValidPdf) {
    TPdf pdf;
    pdf.BeginDoc(400, 400, -5, 5, -5, 5);
    pdf.DrawLine(kBlue, true, -5, 0, 5, 0);
    pdf.StartPath(kRed, 65280, -4, -4);
    pdf.LineTo(-3, -2);
    pdf.AddCurveToPath(-2, 0, -1, 0, 0, -2);
    pdf.AddLineToPath(0, -3, -1, -4);
    pdf.EndPath(true, true);
    pdf.LineWidth(6);
    pdf.Ellipse(0, true, kGrey, 1, 1, 4, 3);
    pdf.LineWidth(2);
    pdf.RotatedEllipse(kRed, false, kGrey, 1, -4, 4, -2, -0.5L);
    pdf.CircleByRadius(0, false, TPdf::kWhite, -3, 3, 1);
    pdf.Arc(kBlue, -2, 2, 0, 4, 0, 3 * kPi / 2);
    pdf.Chord(0, true, kRed, 2, -1, 4, 1, kPi / 4, kPi);
    pdf.Pie(0, true, 65280, -1, -1, 1, 1, 0, kPi / 3);
    pdf.DrawVector(0, 0, 0, 2, 3);
    pdf.MoveTo(-5, 5);
    pdf.LineTo(5, -5);  // left open: stroked before the next text object
    const char* names[] = {"Courier New", "Arial", "Times New Roman"};
    int row = 0;
    for (const char* name : names) {
        for (int style = 0; style < 4; ++style) {
            PdfFont font;
            font.name = name;
            font.bold = style & 1;
            font.italic = style & 2;
            font.underline = style == 3;
            font.size = 9;
            pdf.Text(font, "Aa (b) \\ c", style * 20, 60, 12, -4.8L + style * 2.4L,
                     4.9L - row * 0.6L);
        }
        ++row;
    }
    pdf.TextOut(TPdf::FontResource("Symbol", false, false), "abg", 0, kBlue, 14, 3, 4);
    pdf.TextOut("F14", "a", 0, 0, 14, 4, 4);
    pdf.EndDoc();
    const fs::path file = folder_ / "figures.pdf";
    ASSERT_TRUE(pdf.SaveToFile(file.string()));
    ExpectValidPdf(file);
    const Grey page = ReadPgm(folder_ / "page.pgm");
    ASSERT_GT(page.width, 0);
    // The open MoveTo/LineTo path was stroked: the anti-diagonal is there.
    EXPECT_LT(page.DarkestNear(100, 100), 100);
}

TEST_F(ExportPeerTest, EepicFigureCompilesWithLatex) {
    EepicWriter eepic;
    eepic.BeginPicture(0, -1, 4, 5);
    eepic.Add(eepic.Line(0, 0, 4, 4));
    eepic.Add(eepic.DottedLine(0, 4, 4, 0));
    eepic.Add(EepicWriter::LineWidth(2));
    eepic.Add(std::string(EepicWriter::kShade));
    eepic.Add(eepic.Rectangle(1, 1, 2, 2));
    eepic.Add(EepicWriter::LineWidth(3));
    eepic.Add(eepic.Ellipse(0, 0, 2, 1));
    eepic.Add(EepicWriter::LineWidth(1));
    eepic.Add(eepic.Circle(3, 3, 0.5L));
    for (const std::string& entry : eepic.Arc(2, 2, 1, 0, kPi / 2)) eepic.Add(entry);
    eepic.MoveTo(0, -1);
    eepic.Add(eepic.LineTo(4, -1));
    eepic.Add(eepic.Text(0, 4, "$y = x^2$"));
    eepic.Add(eepic.AlignedText(4, 0, EepicWriter::SmallText("4"), "rb"));
    eepic.Add(eepic.Spline({{0, 0}, {1, 2}, {2, 2}, {3, 0}, {3.5L, 1}, {4, 1}, {4, 3}}));
    for (int i = 0; i <= 20; ++i) {
        const long double x = i / 5.0L;
        eepic.AddPathPoint(x, x * x / 4);
    }
    eepic.FlushPath();
    eepic.EndPicture();
    const fs::path figure = folder_ / "fig.tex";
    ASSERT_TRUE(eepic.SaveToFile(figure.string()));
    std::ofstream(folder_ / "doc.tex") << "\\documentclass{article}\n"
                                          "\\usepackage{epic}\n"
                                          "\\usepackage{eepic}\n"
                                          "\\begin{document}\n"
                                          "\\input{fig}\n"
                                          "\\end{document}\n";
    const Result latex = RunTool("cd '" + folder_.string() +
                                 "' && latex -interaction=nonstopmode -halt-on-error doc.tex");
    EXPECT_EQ(latex.status, 0) << latex.output;
    EXPECT_TRUE(fs::exists(folder_ / "doc.dvi"));
    const std::string log = ReadWholeFile(folder_ / "doc.log");
    EXPECT_EQ(log.find("! "), std::string::npos) << log;
}

}  // namespace
}  // namespace exporter
