// Our GIFs read by others: giflib's tools giftext and gifbuild, and Pillow, which
// must give back every pixel as it went in.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <regex>

#include "gif/animation_frame.h"
#include "gif/gif_writer.h"
#include "peer_tools.h"
#include "test_folder.h"

namespace {

namespace fs = std::filesystem;
using gif::RgbImage;

std::string Quote(const fs::path& path) {
    return "'" + path.string() + "'";
}

// Noise of `colours` colours: little to compress, so the coder's table fills and
// is cleared many times.
RgbImage Noise(int width, int height, int colours, unsigned seed) {
    std::mt19937 random(seed);
    RgbImage picture(width, height);
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            picture.Set(column, row,
                        static_cast<gif::Colour>(random() % colours) * 0x010305 + seed);
        }
    }
    return picture;
}

// Bands of a few colours: long runs, long codes.
RgbImage Bands(int width, int height, int colours) {
    RgbImage picture(width, height);
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            picture.Set(column, row,
                        static_cast<gif::Colour>((column / 7 + row / 5) % colours) * 0x112233);
        }
    }
    return picture;
}

struct Sample {
    const char* name;
    std::vector<RgbImage> frames;
    bool interlaced;
};

std::vector<Sample> Samples() {
    std::vector<Sample> samples;
    samples.push_back({"one pixel", {RgbImage(1, 1, 0x123456)}, false});
    samples.push_back({"two colours interlaced", {Bands(37, 23, 2)}, true});
    samples.push_back({"noise of 256 colours", {Noise(300, 200, 256, 1)}, false});
    samples.push_back({"noise of 3 colours interlaced", {Noise(301, 117, 3, 2)}, true});
    samples.push_back({"wide bands", {Bands(1000, 3, 16)}, false});
    // 200 colours a frame, 400 together: one table per frame.
    samples.push_back({"animation, local tables",
                       {Noise(64, 48, 200, 3), Noise(64, 48, 200, 0x800000), Bands(64, 48, 9)},
                       false});
    samples.push_back({"animation, one table", {Bands(50, 40, 5), Bands(50, 40, 7)}, true});
    return samples;
}

std::string Encode(const Sample& sample, gif::TFrameList& list) {
    gif::AnimationSettings settings;
    settings.transparent = false;
    settings.delay = 70;
    for (size_t i = 0; i < sample.frames.size(); ++i) {
        list.frames.push_back(
            gif::AnimationFrame(sample.frames[i], static_cast<int>(i + 1), settings));
        list.frames.back().interlaced = sample.interlaced;
        list.frames.back().disposal = 1;
    }
    gif::TGifWriter writer;
    std::string bytes;
    EXPECT_TRUE(writer.WriteFrames(list, bytes)) << sample.name;
    return bytes;
}

// giftext's account of a file: frame count, and per frame the delay, disposal and
// transparency it read.
struct GiftextReport {
    int images = 0;
    std::vector<std::string> controls;
};

GiftextReport RunGiftext(const fs::path& file) {
    const ToolResult result = RunTool("giftext " + Quote(file));
    EXPECT_EQ(result.status, 0) << result.output;
    EXPECT_NE(result.output.find("GIF file terminated normally."), std::string::npos)
        << result.output;
    GiftextReport report;
    std::istringstream lines(result.output);
    std::string line, control;
    const std::regex field(
        R"(\s*(Disposal Mode|Transparency on|DelayTime|Transparent Index): (.*))");
    std::smatch match;
    while (std::getline(lines, line)) {
        if (line.rfind("Image #", 0) == 0) {
            ++report.images;
            report.controls.push_back(control);
            control.clear();
        } else if (std::regex_match(line, match, field)) {
            control += match[1].str() + "=" + match[2].str() + " ";
        }
    }
    return report;
}

TEST(GifPeerTest, GiflibToolsReadOurFramesAndControls) {
    const fs::path folder = MakeTestFolder();
    gif::TFrameList list;
    gif::AnimationSettings settings{250, true, 0x00FF00};
    list.frames.push_back(gif::AnimationFrame(Bands(40, 30, 4), 1, settings));
    list.frames.push_back(gif::AnimationFrame(Bands(40, 30, 4), 2, settings));
    list.frames.back().picture.Set(3, 3, 0x00FF00);
    list.frames.back().delay = 1000;
    list.frames.back().disposal = 3;
    gif::TGifWriter writer;
    ASSERT_TRUE(writer.SaveFramesToFile((folder / "twee.gif").string(), list));

    const GiftextReport report = RunGiftext(folder / "twee.gif");
    EXPECT_EQ(report.images, 2);
    const std::vector<std::string> expected = {
        "Disposal Mode=2 Transparency on=no DelayTime=25 Transparent Index=-1 ",
        "Disposal Mode=3 Transparency on=yes DelayTime=100 Transparent Index=4 ",
    };
    EXPECT_EQ(report.controls, expected);

    const ToolResult dump = RunTool("gifbuild -d " + Quote(folder / "twee.gif"));
    EXPECT_EQ(dump.status, 0) << dump.output;
    EXPECT_EQ(dump.output.find("error"), std::string::npos) << dump.output;
    EXPECT_NE(dump.output.find("comment\nFrame #2"), std::string::npos) << dump.output;
    fs::remove_all(folder);
}

// Pillow compares every frame with a PPM of its source picture.
TEST(GifPeerTest, PillowDecodesEveryPixel) {
    const fs::path folder = MakeTestFolder();
    const char* const script =
        "import sys\n"
        "from PIL import Image\n"
        "gif = Image.open(sys.argv[1])\n"
        "for i, name in enumerate(sys.argv[2:]):\n"
        "    gif.seek(i)\n"
        "    ours = gif.convert('RGB').tobytes()\n"
        "    theirs = Image.open(name).convert('RGB').tobytes()\n"
        "    print('ok' if ours == theirs else 'verschil in beeld %d' % i)\n"
        "print('beelden', gif.n_frames)\n";
    std::ofstream(folder / "check.py") << script;
    for (const Sample& sample : Samples()) {
        gif::TFrameList list;
        std::ofstream(folder / "sample.gif", std::ios::binary) << Encode(sample, list);
        std::string arguments, expected;
        for (size_t i = 0; i < sample.frames.size(); ++i) {
            const RgbImage& frame = sample.frames[i];
            const fs::path ppm = folder / ("frame" + std::to_string(i) + ".ppm");
            std::ofstream(ppm, std::ios::binary)
                << "P6\n"
                << frame.width << " " << frame.height << "\n255\n"
                << std::string(frame.pixels.begin(), frame.pixels.end());
            arguments += " " + Quote(ppm);
            expected += "ok\n";
        }
        // Debian's Pillow belongs to Debian's Python, whatever else is on the path.
        const ToolResult result = RunTool("/usr/bin/python3 " + Quote(folder / "check.py") + " " +
                                          Quote(folder / "sample.gif") + arguments);
        EXPECT_EQ(result.status, 0) << result.output;
        EXPECT_EQ(result.output,
                  expected + "beelden " + std::to_string(sample.frames.size()) + "\n")
            << sample.name;
    }
    fs::remove_all(folder);
}

TEST(GifPeerTest, AnimateMakesOneFramePerFilmPass) {
    const fs::path folder = MakeTestFolder();
    std::ofstream(folder / "punt.txt") << "film(k;1;7;1)\nstip(k-4;0;5)\nvolgende\n";
    const fs::path example = fs::path(ZORVAT_TEST_DATA) / ".." / ".." / "examples" / "golf.txt";
    const std::pair<fs::path, int> programs[] = {{folder / "punt.txt", 7}, {example, 24}};
    for (const auto& [program, passes] : programs) {
        const ToolResult run =
            RunTool(Quote(ZORVAT_BINARY) + " --batch " + Quote(program) +
                    " --size 120x90 --animate " + Quote(folder / "film.gif") + " --delay 40");
        ASSERT_EQ(run.status, 0) << run.output;
        const GiftextReport report = RunGiftext(folder / "film.gif");
        EXPECT_EQ(report.images, passes) << program;
        ASSERT_FALSE(report.controls.empty());
        EXPECT_EQ(report.controls.back(),
                  "Disposal Mode=2 Transparency on=yes DelayTime=4 Transparent Index=0 ")
            << program;
    }
    fs::remove_all(folder);
}

}  // namespace
