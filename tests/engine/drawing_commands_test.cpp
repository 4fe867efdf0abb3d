// Drawing commands run from program text, with the eepic and PDF saves.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>

#include "engine/text_file.h"
#include "program_fixture.h"
#include "test_folder.h"

namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

class DrawingCommandsTest : public ProgramTest {
protected:
    void SetUp() override { folder_ = MakeTestFolder(); }
    void TearDown() override { fs::remove_all(folder_); }

    // The eepic file of a program, one line per entry (after a normal run, as a save
    // from the window does).
    Lines Eepic(const Lines& source, bool runFirst = true) {
        runner.Program() = engine::CompileProgram(source);
        host.messages.clear();
        if (runFirst) runner.Run();
        const std::string path = (folder_ / "fig.tex").string();
        EXPECT_TRUE(runner.ExportEepic(path));
        return engine::ReadTextLines(path).value_or(Lines{});
    }
    std::string Pdf(const Lines& source) {
        runner.Program() = engine::CompileProgram(source);
        host.messages.clear();
        runner.Run();
        const std::string path = (folder_ / "fig.pdf").string();
        EXPECT_TRUE(runner.ExportPdf(path));
        return engine::ReadFileBytes(path).value_or("");
    }
    static bool Has(const Lines& lines, const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
    static size_t IndexOf(const Lines& lines, const std::string& line) {
        return static_cast<size_t>(std::find(lines.begin(), lines.end(), line) - lines.begin());
    }

    fs::path folder_;
};

TEST_F(DrawingCommandsTest, EepicHeaderScalesYToASquarePicture) {
    Lines eepic = Eepic({"assen=geen", "lijn(0;0;1;1)"});
    ASSERT_GE(eepic.size(), 5u);
    EXPECT_EQ(eepic[0], "\\setlength{\\unitlength}{5.00000mm}");
    EXPECT_EQ(eepic[1], "\\begin{picture}(10.000,10.000)(-5.000,-5.000)");
    EXPECT_EQ(eepic[2], "\\thinlines");
    EXPECT_EQ(eepic[3], "\\path(0.000,0.000)(1.000,1.000)");
    EXPECT_EQ(eepic.back(), "\\end{picture}");

    eepic = Eepic({"xmin=0", "xmax=4", "ymin=-1", "ymax=4", "assen=geen", "lijn(1;2;1;2)"});
    EXPECT_EQ(eepic[1], "\\begin{picture}(4.000,4.000)(0.000,-0.800)");
    EXPECT_TRUE(Has(eepic, "\\path(1.000,1.600)(1.000,1.600)"));
}

TEST_F(DrawingCommandsTest, CurvesAreSampledToTheirLastParameter) {
    const Lines eepic = Eepic({"assen=geen", "kromme(t;t;0;1;0.3)"});
    const size_t start = IndexOf(eepic, "\\path(0.000,0.000)");
    ASSERT_LT(start + 4, eepic.size());
    EXPECT_EQ(eepic[start + 1], "(0.300,0.300)");
    EXPECT_EQ(eepic[start + 3], "(0.900,0.900)");
    EXPECT_EQ(eepic[start + 4], "(1.000,1.000)");
}

TEST_F(DrawingCommandsTest, FillStateAndLineWidthLines) {
    Lines eepic =
        Eepic({"assen=geen", "lijndikte(1)", "vulstijl(0)", "vulkleur(255)", "rechthoek(0;0;1;1)",
               "vulkleur(16777215)", "rechthoek(0;0;2;2)", "vulstijl(1)", "vulkleur(255)",
               "ellips(0;0;1;1)", "lijndikte(3)", "lijn(0;0;1;0)"});
    EXPECT_EQ(std::count(eepic.begin(), eepic.end(), "\\shade"), 1);
    EXPECT_EQ(eepic[IndexOf(eepic, "\\shade") + 1],
              "\\path(0.000,0.000)(1.000,0.000)(1.000,1.000)(0.000,1.000)(0.000,0.000)");
    // lijndikte(1) at width 1 writes nothing; the end of the run goes back to thin lines.
    EXPECT_EQ(eepic[3], "\\shade");
    EXPECT_EQ(eepic[IndexOf(eepic, "\\Thicklines") + 1], "\\path(0.000,0.000)(1.000,0.000)");
    EXPECT_EQ(eepic[eepic.size() - 3], "\\thinlines");
}

TEST_F(DrawingCommandsTest, AlignedTextKeepsItsPointAndLetters) {
    const Lines eepic = Eepic({"assen=geen", "tekst2(0;0;A;rb)", "tekst(1;1;50\\% & #1)"});
    EXPECT_TRUE(Has(eepic, "\\put(0.000,0.000){\\makebox(0,0)[rb]{A}}"));
    EXPECT_TRUE(Has(eepic, "\\put(1.000,1.000){\\makebox(0,0)[lt]{50\\% \\& \\#1}}"));
}

TEST_F(DrawingCommandsTest, LineToStartsWhereTheLastRunLeftOff) {
    Lines eepic = Eepic({"assen=geen", "lijnNaar(1;1)"}, false);
    EXPECT_TRUE(Has(eepic, "\\path(0.000,0.000)(1.000,1.000)"));
    eepic = Eepic({"assen=geen", "lijnNaar(2;1)"}, false);
    EXPECT_TRUE(Has(eepic, "\\path(1.000,1.000)(2.000,1.000)"));
    eepic = Eepic({"assen=geen", "gaNaar(2;2)", "lijnNaar(3;2)"});
    EXPECT_TRUE(Has(eepic, "\\path(2.000,2.000)(3.000,2.000)"));
}

TEST_F(DrawingCommandsTest, AxesInTheMiddleAreSavedAfterTheProgramsFigures) {
    Lines eepic = Eepic({"lijn(0;0;1;1)"});
    const size_t figure = IndexOf(eepic, "\\path(0.000,0.000)(1.000,1.000)");
    const size_t axis = IndexOf(eepic, "\\path(-5.000,0.000)(5.000,0.000)");
    ASSERT_LT(axis, eepic.size());
    EXPECT_LT(figure, axis);
    EXPECT_TRUE(Has(eepic, "\\put(1.000,-0.100){\\makebox(0,0)[ct]{{\\footnotesize 1}}}"));
    EXPECT_FALSE(Has(eepic, "\\put(0.000,-0.100){\\makebox(0,0)[ct]{{\\footnotesize 0}}}"));

    // With the grid on, x numbers start at their grid line instead of being centred.
    eepic = Eepic({"asopties=RG", "lijn(0;0;1;1)"});
    EXPECT_TRUE(Has(eepic, "\\put(1.000,-0.100){\\makebox(0,0)[lt]{{\\footnotesize 1}}}"));
    EXPECT_TRUE(Has(eepic, "\\path(1.000,-5.000)(1.000,5.000)"));

    eepic = Eepic({"assen=zijden", "asopties=r", "lijn(0;0;1;1)"});
    EXPECT_FALSE(Has(eepic, "\\path(-5.000,0.000)(5.000,0.000)"));

    eepic = Eepic({"assen=geen", "eigenassen(2;2)"});
    EXPECT_TRUE(Has(eepic, "\\path(-5.000,0.000)(5.000,0.000)"));
    EXPECT_TRUE(Has(eepic, "\\put(2.000,-0.100){\\makebox(0,0)[ct]{{\\footnotesize 2}}}"));
    eepic = Eepic({"assen=geen", "eigenassenf(3.14159265358979;1;0.#p;0)"});
    EXPECT_TRUE(Has(eepic,
                    "\\put(3.142,-0.100){\\makebox(0,0)[ct]{{\\footnotesize "
                    "$\\pi\\mathstrut$}}}"));
}

TEST_F(DrawingCommandsTest, PdfPageCoordinatesAndColours) {
    surface.Resize(508, 381);
    const std::string pdf = Pdf(
        {"assen=geen", "lijn(0;0;5;5)", "lijn(1;0;2;0)", "tekenkleur(8421504)", "lijn(0;1;0;2)"});
    EXPECT_NE(pdf.find("/MediaBox [0 0 400.0000 300.0000]\r\n"), std::string::npos);
    EXPECT_NE(pdf.find("1 0 0 1 200.0000 150.0000 cm\r\n"), std::string::npos);
    EXPECT_NE(pdf.find("0 0 m\r\n200.0000 150.0000 l\r\n"), std::string::npos);
    EXPECT_NE(pdf.find("0.502 G\r\n"), std::string::npos);
    EXPECT_NE(pdf.find("0.5669 w\r\n"), std::string::npos);

    // Every xref offset is where its object starts; startxref is where "xref" starts.
    const size_t xref = pdf.rfind("\r\nxref\r\n") + 2;
    const size_t start = pdf.find("startxref\r\n") + 11;
    EXPECT_EQ(std::stoul(pdf.substr(start)), xref);
    size_t entry = pdf.find("0000000000 65535 f\r\n", xref) + 20;
    for (int object = 1; object <= 21; ++object, entry += 20) {
        const size_t offset = std::stoul(pdf.substr(entry, 10));
        EXPECT_EQ(pdf.compare(offset, std::to_string(object).size() + 6,
                              std::to_string(object) + " 0 obj"),
                  0)
            << object;
    }
}

TEST_F(DrawingCommandsTest, ListFormsAndBadListNames) {
    Run({"assen=geen", "L1(1):=-2", "L2(1):=-2", "L1(2):=2", "L2(2):=2", "pad(lijst;L1;L2;1;2)",
         "pad(lijst;L1;L9;1;2)", "L7(1):=5", "L1(0):=5"});
    EXPECT_TRUE(DarkAt(0, 0));
    EXPECT_TRUE(DarkAt(1, 1));
    EXPECT_EQ(MessageTexts(), (Lines{"ongeldige lijst: L1 en/of L9", "Ongeldige lijst: L7",
                                     "Ongeldige index: 0 of ongeldige lijst: L"}));
}

TEST_F(DrawingCommandsTest, FiguresLandWhereTheirCoordinatesSay) {
    Run({"assen=geen", "vulstijl(0)", "vulkleur(0)", "rechthoek(1;1;3;3)", "stip(-3;-3;4)",
         "grafiek(0-x-6)", "kromme(cos(t)-3;sin(t)+3;0;6.3;0.05)"});
    EXPECT_TRUE(host.messages.empty());
    EXPECT_TRUE(DarkAt(2, 2));
    EXPECT_TRUE(DarkAt(-3, -3));
    EXPECT_TRUE(DarkAt(-2, 3));
    EXPECT_TRUE(DarkAt(-2, -4));
    EXPECT_FALSE(DarkAt(2, -2));
}

TEST_F(DrawingCommandsTest, HardCurvesFinishAndBreakWhereUndefined) {
    const auto start = std::chrono::steady_clock::now();
    Run({"assen=geen", "kromme(t;t;0;1;1E-12)", "grafiek(sqrt(x))", "grafiek(ln(x*x-1))",
         "kromme(t;1/sin(100*t);0;3;0.001)"});
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_LT(elapsed.count(), 10.0);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_FALSE(runner.LastRunFailed());
    EXPECT_TRUE(DarkAt(4, 2));  // sqrt
}

TEST_F(DrawingCommandsTest, CurveExpressionErrorsNameTheExpression) {
    Run({"kromme(t;t+;0;1;0.1)"});
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text.rfind("Zorvat kan de uitdrukking: \nt+\n", 0), 0u);
}

}  // namespace
