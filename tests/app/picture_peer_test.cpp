// The example programs saved as PNG, PDF and eepic: the files pass the outside
// tools, and the three pictures agree in where the figures are.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <filesystem>
#include <fstream>

#include "peer_tools.h"
#include "test_folder.h"

namespace {

namespace fs = std::filesystem;

std::string Quote(const fs::path& path) {
    return "'" + path.string() + "'";
}

class PicturePeerTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override { folder_ = MakeTestFolder(); }
    void TearDown() override {
        if (!HasFailure()) fs::remove_all(folder_);
    }

    // Runs the example with all three outputs; `extra` are more batch options.
    void Save(const std::string& extra) {
        std::string name = GetParam();
        std::replace(name.begin(), name.end(), '-', '/');
        const fs::path program =
            fs::path(ZORVAT_TEST_DATA) / ".." / ".." / "examples" / (name + ".txt");
        const ToolResult run =
            RunTool(Quote(ZORVAT_BINARY) + " --batch " + Quote(program) + " --size 400x400" +
                    extra + " --png " + Quote(folder_ / "fig.png") + " --pdf " +
                    Quote(folder_ / "fig.pdf") + " --eepic " + Quote(folder_ / "fig.tex"));
        ASSERT_EQ(run.status, 0) << run.output;
    }

    Grey PngPicture() {
        QImage image(QString::fromStdString((folder_ / "fig.png").string()));
        Grey grey;
        grey.width = image.width();
        grey.height = image.height();
        for (int r = 0; r < grey.height; ++r) {
            for (int c = 0; c < grey.width; ++c)
                grey.pixels += static_cast<char>(qGray(image.pixel(c, r)));
        }
        return grey;
    }

    Grey PdfPicture() {
        const ToolResult check = RunTool("qpdf --check " + Quote(folder_ / "fig.pdf"));
        EXPECT_EQ(check.status, 0) << check.output;
        EXPECT_EQ(check.output.find("WARNING"), std::string::npos) << check.output;
        const ToolResult render =
            RunTool("pdftoppm -gray -scale-to-x 400 -scale-to-y 400 -singlefile " +
                    Quote(folder_ / "fig.pdf") + " " + Quote(folder_ / "pdf"));
        EXPECT_EQ(render.status, 0) << render.output;
        EXPECT_EQ(render.output, "");
        return ReadPgm(folder_ / "pdf.pgm");
    }

    // The eepic picture is 50 mm square; on a page of exactly that size it fills the
    // page. Its lower-left corner is its reference point, hence the box lowered by
    // 50 mm; line ends read as nothing, so no space moves the picture.
    Grey EepicPicture() {
        std::ofstream(folder_ / "doc.tex")
            << "\\documentclass{article}\n"
               "\\usepackage[paperwidth=50mm,paperheight=50mm,margin=0mm]{geometry}\n"
               "\\usepackage{epic}\\usepackage{eepic}\n"
               "\\pagestyle{empty}\\setlength{\\parindent}{0pt}\\setlength{\\topskip}{0pt}\n"
               "\\begin{document}\\raisebox{-50mm}[0pt][0pt]{\\endlinechar=-1 \\input{fig}}"
               "\\end{document}\n";
        const std::string in = "cd " + Quote(folder_) + " && ";
        const ToolResult latex =
            RunTool(in + "latex -interaction=nonstopmode -halt-on-error doc.tex");
        EXPECT_EQ(latex.status, 0) << latex.output;
        EXPECT_EQ(ReadWholeFile(folder_ / "doc.log").find("! "), std::string::npos);
        const ToolResult dvips =
            RunTool(in + "dvips -q -o doc.ps doc.dvi && ps2pdf doc.ps doc.pdf");
        EXPECT_EQ(dvips.status, 0) << dvips.output;
        const ToolResult render = RunTool(
            in + "pdftoppm -gray -scale-to-x 400 -scale-to-y 400 -singlefile doc.pdf eepic");
        EXPECT_EQ(render.status, 0) << render.output;
        return ReadPgm(folder_ / "eepic.pgm");
    }

    fs::path folder_;
};

// Every example and library program gives files that the outside tools accept.
TEST_P(PicturePeerTest, FilesPassTheOutsideTools) {
    Save("");
    EXPECT_EQ(PdfPicture().width, 400);
    EXPECT_EQ(EepicPicture().width, 400);
}

// Regression: pi in the axis numbers was declared in WinAnsiEncoding, under which
// viewers find no glyph for it and show nothing.
TEST(PiInPdf, AxisMultiplesOfPiShowTheSign) {
    const fs::path folder = MakeTestFolder();
    const fs::path program =
        fs::path(ZORVAT_TEST_DATA) / ".." / ".." / "examples" / "eigen_assen.txt";
    ASSERT_EQ(RunTool(Quote(ZORVAT_BINARY) + " --batch " + Quote(program) + " --pdf " +
                      Quote(folder / "fig.pdf"))
                  .status,
              0);
    const ToolResult text = RunTool("pdftotext " + Quote(folder / "fig.pdf") + " -");
    EXPECT_NE(text.output.find("\u03c0"), std::string::npos) << text.output;
    fs::remove_all(folder);
}

// Without axes (whose numbers LaTeX sets in another size) the dark pixels of the
// three pictures have their centre in the same place, within 3 % of the size. Only
// for pictures of lines and dots: fills differ by design (eepic shades in grey,
// PDF fills hatched areas solid).
class PictureAgreementTest : public PicturePeerTest {};

TEST_P(PictureAgreementTest, ThreePicturesAgree) {
    Save(" --set assen=geen");
    double pngX, pngY, pdfX, pdfY, eepicX, eepicY;
    ASSERT_TRUE(PngPicture().DarkCentroid(pngX, pngY, 100));
    ASSERT_TRUE(PdfPicture().DarkCentroid(pdfX, pdfY, 100));
    ASSERT_TRUE(EepicPicture().DarkCentroid(eepicX, eepicY, 100));
    EXPECT_NEAR(pdfX, pngX, 0.03);
    EXPECT_NEAR(pdfY, pngY, 0.03);
    EXPECT_NEAR(eepicX, pngX, 0.03);
    EXPECT_NEAR(eepicY, pngY, 0.03);
}

INSTANTIATE_TEST_SUITE_P(Examples, PicturePeerTest,
                         ::testing::Values("lijnen", "figuren", "cirkelbogen", "veelhoeken",
                                           "krommen", "grafieken", "halfvlakken", "teksten",
                                           "webgrafiek", "impliciet", "eigen_assen", "stippen",
                                           "parabool", "sinus", "lijnelveld", "roofdier_prooi",
                                           "driehoek_punten", "vlieger", "thales",
                                           "conflict_parabool", "conflict_cirkel",
                                           "kubus_piramide", "kubus_centraal", "oppervlak",
                                           "draaiende_kubus", "henon"));
// "bibliotheek-x" is the library program bibliotheek/x.txt.
INSTANTIATE_TEST_SUITE_P(
    Library, PicturePeerTest,
    ::testing::Values("bibliotheek-driehoek_hzh", "bibliotheek-driehoek_zhh",
                      "bibliotheek-driehoek_zhz", "bibliotheek-driehoek_zzz",
                      "bibliotheek-stippelrooster", "bibliotheek-streepjesrooster",
                      "bibliotheek-logaritmisch_papier", "bibliotheek-zaagtand",
                      "bibliotheek-getallen_y_as_links", "bibliotheek-sinus",
                      "bibliotheek-sinus_cosinus", "bibliotheek-fibonacci", "bibliotheek-faculteit",
                      "bibliotheek-100priem", "bibliotheek-priemfactoren", "bibliotheek-factor",
                      "bibliotheek-factor2", "bibliotheek-fermat1", "bibliotheek-fermat2",
                      "bibliotheek-pythagorasboom", "bibliotheek-hanoi_tekst",
                      "bibliotheek-hanoi_grafisch", "bibliotheek-binomcdf",
                      "bibliotheek-kubus_balk", "bibliotheek-kubus_diagonalen",
                      "bibliotheek-driezijdige_piramide", "bibliotheek-vierzijdige_piramide",
                      "bibliotheek-achtvlak", "bibliotheek-twaalfvlak", "bibliotheek-twintigvlak",
                      "bibliotheek-rhombisch_twaalfvlak"),
    [](const ::testing::TestParamInfo<std::string>& info) {
        return info.param.substr(info.param.find('-') + 1);
    });
INSTANTIATE_TEST_SUITE_P(Examples, PictureAgreementTest,
                         ::testing::Values("lijnen", "krommen", "grafieken", "webgrafiek",
                                           "impliciet", "stippen", "parabool"));

}  // namespace
