// Eepic text: scaling, every line form, the buffer and the file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <numbers>
#include <sstream>

#include "export/eepic_writer.h"
#include "test_folder.h"

namespace exporter {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Regression: "y = 2^x" stopped LaTeX with "Missing $ inserted" and "<=" printed
// an inverted exclamation mark.
TEST(EepicWriterTest, TextsAreEscapedOutsideMaths) {
    const std::pair<const char*, const char*> cases[] = {
        {"y = 2^x", "y = 2\\^{}x"},
        {"a <= b > c", "a $<$= b $>$ c"},
        {"x_1 {a} ~ \\", "x\\_1 \\{a\\} \\~{} \\textbackslash{}"},
        {"50% & #1", "50\\% \\& \\#1"},
        {"50\\% blijft", "50\\% blijft"},
        {"$y = 2^x$ en $\\pi_1 < 4$", "$y = 2^x$ en $\\pi_1 < 4$"},
        {"kost $5", "kost \\$5"},
        {"$a$ en $b", "$a$ en \\$b"},
        // Regression: maths with a lone brace stopped LaTeX; it is plain text now.
        {"$x^{2$ en }", "\\$x\\^{}\\{2\\$ en \\}"},
    };
    for (const auto& [text, latex] : cases) EXPECT_EQ(EepicWriter::LatexText(text), latex) << text;
}

TEST(EepicWriterTest, HeaderScalesThePictureToFiftyMillimetres) {
    EepicWriter eepic;
    eepic.BeginPicture(-5, -5, 10, 10);
    EXPECT_EQ(eepic.FileText(),
              "\\setlength{\\unitlength}{5.00000mm}\n"
              "\\begin{picture}(10.000,10.000)(-5.000,-5.000)\n"
              "\\thinlines\n");

    // World x 0..4, y -1..4: y is scaled by K = 0.8 so that the picture is square.
    eepic.BeginPicture(0, -1, 4, 5);
    EXPECT_DOUBLE_EQ(static_cast<double>(eepic.Aspect()), 0.8);
    EXPECT_EQ(eepic.Entries().size(), 3u);
    EXPECT_EQ(eepic.Entries()[0], "\\setlength{\\unitlength}{12.50000mm}");
    EXPECT_EQ(eepic.Entries()[1], "\\begin{picture}(4.000,4.000)(0.000,-0.800)");
    EXPECT_EQ(eepic.Point(1, 2), "(1.000,1.600)");
    EXPECT_EQ(EepicWriter::UnitLength(3), "\\setlength{\\unitlength}{16.67000mm}");

    // A flat world cannot give a factor; y is then written unscaled.
    eepic.SetAspect(4, 0);
    EXPECT_EQ(eepic.Point(1, 2), "(1.000,2.000)");
}

TEST(EepicWriterTest, LineForms) {
    EepicWriter eepic;
    eepic.SetAspect(4, 2);  // K = 2
    EXPECT_EQ(eepic.YNumber(1.25L), "2.500");
    EXPECT_EQ(eepic.PointLine(1, 1), "(1.000,2.000)\n");
    EXPECT_EQ(eepic.DottedLine(0, 0, 1, 1),
              "\\drawline[-200](0.000,0.000)(1.000,2.000)\n"
              "%vervang eventueel door \\dashline of \\dottedline; zie eepichandleiding");
    EXPECT_EQ(eepic.Text(1, 1, "$x^2$"), "\\put(1.000,2.000){\\makebox(0,0)[lt]{$x^2$}}");
    EXPECT_EQ(EepicWriter::SmallText("-2"), "{\\footnotesize -2}");
    // The ellipse's height is a y-length and scaled; a diameter is not.
    EXPECT_EQ(eepic.Ellipse(3, 1, 1, 2), "\\put(2.000,3.000){\\ellipse{2.000}{2.000}}");
    EXPECT_EQ(eepic.Circle(1, 1, 0.75L), "\\put(1.000,2.000){\\circle{1.500}}");
    const auto arc = eepic.Arc(0, 0, 1, 0, std::numbers::pi_v<long double> / 2);
    EXPECT_EQ(arc[0], "\\put(0.000,0.000){\\arc{2.000}");
    EXPECT_EQ(arc[1], "{4.712}{6.283}}");
    EXPECT_EQ(EepicWriter::LineWidth(0), "");
    EXPECT_EQ(EepicWriter::LineWidth(1), "\\thinlines");
    EXPECT_EQ(EepicWriter::LineWidth(2), "\\thicklines");
    EXPECT_EQ(EepicWriter::LineWidth(5), "\\Thicklines");
}

TEST(EepicWriterTest, LineToStartsFromTheCurrentPointOfEarlierRuns) {
    EepicWriter eepic;
    EXPECT_EQ(eepic.LineTo(1, 1), "\\path(0.000,0.000)(1.000,1.000)");
    eepic.MoveTo(2, 3);
    eepic.BeginPicture(-5, -5, 10, 10);  // a new run keeps the point
    EXPECT_EQ(eepic.LineTo(4, 4), "\\path(2.000,3.000)(4.000,4.000)");
    EXPECT_EQ(eepic.LineTo(5, 4), "\\path(4.000,4.000)(5.000,4.000)");
}

TEST(EepicWriterTest, SplineLinesRepeatTheLastPointOfTheLineBefore) {
    EepicWriter eepic;
    std::vector<WorldPoint> points;
    for (int i = 1; i <= 10; ++i) points.push_back({static_cast<long double>(i), 0});
    EXPECT_EQ(eepic.Spline(points),
              "\\spline(1.000,0.000)(2.000,0.000)(3.000,0.000)(4.000,0.000)\n"
              "\\spline(4.000,0.000)(5.000,0.000)(6.000,0.000)(7.000,0.000)(8.000,0.000)\n"
              "\\spline(8.000,0.000)(9.000,0.000)(10.000,0.000)");
}

TEST(EepicWriterTest, PathTextBecomesOneEntryAndIsEmptied) {
    EepicWriter eepic;
    eepic.FlushPath();
    EXPECT_TRUE(eepic.Entries().empty()) << "an empty path adds nothing";
    eepic.AddPathPoint(0, 0);
    eepic.AddPathPoint(1, 0.5L);
    eepic.FlushPath();
    ASSERT_EQ(eepic.Entries().size(), 1u);
    EXPECT_EQ(eepic.Entries()[0], "\\path(0.000,0.000)\n(1.000,0.500)\n");
    EXPECT_TRUE(eepic.PathText().empty());
}

// A small figure as a save writes it.
TEST(EepicWriterTest, FigureFileText) {
    EepicWriter eepic;
    eepic.BeginPicture(0, -1, 4, 5);
    eepic.Add(eepic.Line(0, 0, 4, 4));
    eepic.Add(std::string(EepicWriter::kShade));
    eepic.Add(eepic.Rectangle(1, 1, 2, 2));
    eepic.Add(EepicWriter::LineWidth(2));
    eepic.Add(eepic.Circle(2, 2, 1));
    eepic.Add(eepic.AlignedText(0, 0, "O", "rt"));
    eepic.AddPathPoint(0, 0);
    eepic.AddPathPoint(0.5L, 0.25L);
    eepic.FlushPath();
    eepic.EndPicture();
    EXPECT_EQ(eepic.FileText(),
              "\\setlength{\\unitlength}{12.50000mm}\n"
              "\\begin{picture}(4.000,4.000)(0.000,-0.800)\n"
              "\\thinlines\n"
              "\\path(0.000,0.000)(4.000,3.200)\n"
              "\\shade\n"
              "\\path(1.000,0.800)(2.000,0.800)(2.000,1.600)(1.000,1.600)(1.000,0.800)\n"
              "\\thicklines\n"
              "\\put(2.000,1.600){\\circle{2.000}}\n"
              "\\put(0.000,0.000){\\makebox(0,0)[rt]{O}}\n"
              "\\path(0.000,0.000)\n(0.500,0.200)\n\n"
              "\\end{picture}\n");
}

TEST(EepicWriterTest, SaveWritesTheWholeFileOrNothing) {
    const fs::path folder = MakeTestFolder();
    fs::remove_all(folder);
    fs::create_directories(folder);
    EepicWriter eepic;
    eepic.BeginPicture(-5, -5, 10, 10);
    eepic.EndPicture();

    const fs::path file = folder / "eepic.tex";
    std::ofstream(file)
        << "old content that is longer than the new one ...........................";
    ASSERT_TRUE(eepic.SaveToFile(file.string()));
    EXPECT_EQ(ReadFile(file), eepic.FileText());

    EXPECT_FALSE(eepic.SaveToFile((folder / "missing" / "eepic.tex").string()));
    EXPECT_FALSE(eepic.SaveToFile(folder.string())) << "a folder is no file";
    int files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder)) ++files;
    EXPECT_EQ(files, 1) << "no temporary file is left behind";
    fs::remove_all(folder);
}

}  // namespace
}  // namespace exporter
