// Our BMP, JPEG, metafile, SVG and TikZ pictures read by the programs people open them
// with (Pillow, LibreOffice, librsvg, pdflatex), and the flip-book page played by
// Chromium. The pictures of lines and dots must put their dark pixels where the screen
// picture has them.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>

#include "peer_tools.h"
#include "test_folder.h"

namespace {

namespace fs = std::filesystem;

std::string Quote(const fs::path& path) {
    return "'" + path.string() + "'";
}

const fs::path kExamples = fs::path(ZORVAT_TEST_DATA) / ".." / ".." / "examples";
const fs::path kScripts = fs::path(ZORVAT_TEST_DATA) / "export";
// Examples with lines, dots, fills and hatches: Pillow and librsvg read them all.
const char* const kExamplesToRead[] = {"lijnen",      "krommen",   "grafieken", "webgrafiek",
                                       "impliciet",   "stippen",   "parabool",  "figuren",
                                       "cirkelbogen", "veelhoeken"};
// LaTeX and LibreOffice fill hatches solid and draw dotted lines their own way, so
// their pictures are compared for the drawings of solid lines, dots and plain fills.
const std::set<std::string> kLineDrawings = {"krommen", "grafieken", "webgrafiek", "impliciet",
                                             "stippen", "parabool",  "cirkelbogen"};

Grey GreyOf(const QImage& image) {
    Grey grey;
    grey.width = image.width();
    grey.height = image.height();
    for (int r = 0; r < grey.height; ++r) {
        for (int c = 0; c < grey.width; ++c)
            grey.pixels += static_cast<char>(qGray(image.pixel(c, r)));
    }
    return grey;
}

Grey ReadImage(const fs::path& path) {
    return GreyOf(QImage(QString::fromStdString(path.string())));
}

// The box around the dark pixels.
struct Box {
    int left, top, right, bottom;
};
Box DarkBox(const Grey& grey, int threshold) {
    Box box{grey.width, grey.height, -1, -1};
    for (int r = 0; r < grey.height; ++r) {
        for (int c = 0; c < grey.width; ++c) {
            if (grey.At(c, r) >= threshold) continue;
            box = {std::min(box.left, c), std::min(box.top, r), std::max(box.right, c),
                   std::max(box.bottom, r)};
        }
    }
    return box;
}

class FormatPeerTest : public ::testing::Test {
protected:
    void SetUp() override { folder_ = MakeTestFolder(); }
    void TearDown() override {
        if (!HasFailure()) fs::remove_all(folder_);
    }
    // The example as PNG and in the formats of `options` ("--svg" ...), each file named
    // after the example with the option's name as its extension.
    void Render(const std::string& name, const std::vector<std::string>& options) {
        std::string command = Quote(ZORVAT_BINARY) + " --batch " +
                              Quote(kExamples / (name + ".txt")) +
                              " --size 400x400 --set assen=geen --png " + Quote(Out(name, "png"));
        for (const std::string& option : options)
            command += " " + option + " " + Quote(Out(name, option.substr(2)));
        const ToolResult run = RunTool(command);
        ASSERT_EQ(run.status, 0) << name << run.output;
    }
    fs::path Out(const std::string& name, const std::string& extension) const {
        return folder_ / (name + "." + extension);
    }
    Grey Screen(const std::string& name) const { return ReadImage(Out(name, "png")); }

    // Where the ink is on average, as fractions of the width and height: every pixel
    // counts by its darkness, so a smoothed line weighs what a sharp one does.
    static std::pair<double, double> InkCentre(const Grey& grey) {
        double sumX = 0, sumY = 0, ink = 0;
        for (int r = 0; r < grey.height; ++r) {
            for (int c = 0; c < grey.width; ++c) {
                const int weight = 255 - grey.At(c, r);
                if (weight <= 5) continue;  // paper
                sumX += weight * c;
                sumY += weight * r;
                ink += weight;
            }
        }
        if (ink == 0) return {-1, -1};
        return {sumX / ink / grey.width, sumY / ink / grey.height};
    }
    static void ExpectSameCentre(const Grey& ours, const Grey& theirs) {
        const auto [x1, y1] = InkCentre(ours);
        const auto [x2, y2] = InkCentre(theirs);
        ASSERT_GE(x1, 0) << "no ink in our picture";
        ASSERT_GE(x2, 0) << "no ink in their picture";
        EXPECT_NEAR(x2, x1, 0.03);
        EXPECT_NEAR(y2, y1, 0.03);
    }

    fs::path folder_;
};

TEST_F(FormatPeerTest, PillowReadsTheBitmapExactlyAndTheJpegWithinItsError) {
    for (const std::string name : kExamplesToRead) {
        SCOPED_TRACE(name);
        Render(name, {"--bmp", "--jpg"});
        const ToolResult check = RunTool("/usr/bin/python3 " + Quote(kScripts / "pillow_check.py") +
                                         " " + Quote(Out(name, "png")) + " " +
                                         Quote(Out(name, "bmp")) + " " + Quote(Out(name, "jpg")));
        EXPECT_EQ(check.status, 0) << check.output;
    }
}

TEST_F(FormatPeerTest, RsvgDrawsTheSvgWhereTheScreenIs) {
    for (const std::string name : kExamplesToRead) {
        SCOPED_TRACE(name);
        Render(name, {"--svg"});
        const ToolResult render =
            RunTool("rsvg-convert -w 400 -h 400 -b white -o " + Quote(Out(name, "svg.png")) + " " +
                    Quote(Out(name, "svg")));
        ASSERT_EQ(render.status, 0) << render.output;
        ExpectSameCentre(Screen(name), ReadImage(Out(name, "svg.png")));
    }
}

TEST_F(FormatPeerTest, PdflatexSetsTheTikzPictureWhereTheScreenIs) {
    for (const std::string& name : kLineDrawings) {
        SCOPED_TRACE(name);
        Render(name, {"--tikz"});
        std::ofstream(folder_ / ("doc_" + name + ".tex"))
            << "\\documentclass{article}\n"
               "\\usepackage[paperwidth=50mm,paperheight=50mm,margin=0mm]{geometry}\n"
               "\\usepackage{tikz}\n"
               "\\pagestyle{empty}\\setlength{\\parindent}{0pt}\n"
               "\\begin{document}\\input{"
            << name << ".tikz}\\end{document}\n";
        const std::string in = "cd " + Quote(folder_) + " && ";
        const ToolResult latex =
            RunTool(in + "pdflatex -interaction=nonstopmode -halt-on-error doc_" + name + ".tex");
        ASSERT_EQ(latex.status, 0) << latex.output;
        const ToolResult render =
            RunTool(in + "pdftoppm -gray -scale-to-x 400 -scale-to-y 400 -singlefile doc_" + name +
                    ".pdf tikz_" + name);
        ASSERT_EQ(render.status, 0) << render.output;
        ExpectSameCentre(Screen(name), ReadPgm(folder_ / ("tikz_" + name + ".pgm")));
    }
}

// LibreOffice sets the metafile on a page of its own, so both pictures are measured
// within the box of their ink: the figures must keep their places in it. One start of
// LibreOffice converts them all.
TEST_F(FormatPeerTest, LibreOfficeDrawsTheMetafileAsTheScreen) {
    for (const std::string& name : kLineDrawings) Render(name, {"--emf"});
    const ToolResult convert =
        RunTool("cd " + Quote(folder_) +
                " && timeout 600 soffice --headless --norestore -env:UserInstallation=file://" +
                (folder_ / "office").string() + " --convert-to png --outdir office_png *.emf");
    ASSERT_EQ(convert.status, 0) << convert.output;
    const auto cropped = [](const Grey& grey) {
        const Box box = DarkBox(grey, 250);
        Grey part;
        part.width = box.right - box.left + 1;
        part.height = box.bottom - box.top + 1;
        for (int r = box.top; r <= box.bottom; ++r)
            part.pixels += grey.pixels.substr(static_cast<size_t>(r * grey.width + box.left),
                                              static_cast<size_t>(part.width));
        return part;
    };
    for (const std::string& name : kLineDrawings) {
        SCOPED_TRACE(name);
        const Grey office = ReadImage(folder_ / "office_png" / (name + ".png"));
        ASSERT_GT(office.width, 0) << "no picture from LibreOffice";
        const Grey ours = cropped(Screen(name)), theirs = cropped(office);
        ASSERT_GT(ours.width, 1);
        ASSERT_GT(theirs.width, 1);
        EXPECT_NEAR(static_cast<double>(theirs.height) / theirs.width,
                    static_cast<double>(ours.height) / ours.width, 0.03);
        ExpectSameCentre(ours, theirs);
    }
}

TEST(FlipbookPeerTest, ChromiumPlaysThePage) {
    const fs::path folder = MakeTestFolder();
    std::ofstream(folder / "film.txt") << "film(k;1;4;1)\nstip(k;0;6)\nvolgende\n";
    const ToolResult make =
        RunTool(Quote(ZORVAT_BINARY) + " --batch " + Quote(folder / "film.txt") + " --flipbook " +
                Quote(folder / "boek") + " --delay 30");
    ASSERT_EQ(make.status, 0) << make.output;
    const ToolResult play =
        RunTool("timeout 300 /usr/bin/python3 " + Quote(kScripts / "flipbook_check.py") + " " +
                Quote(folder / "boek" / "mijnfilm.htm") + " " + Quote(folder / "profiel"));
    EXPECT_EQ(play.status, 0) << play.output;
    if (!::testing::Test::HasFailure()) fs::remove_all(folder);
}

}  // namespace
