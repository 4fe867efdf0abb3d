// GIF encoding next to giflib's encoder in the same binary: one line
// "NAME ratio_giflib=R" per measurement, R being our time over giflib's. We start
// from 24-bit pictures (colour lookup included); giflib gets our colour indices
// and codes them with EGifPutLine.
#include <gif_lib.h>
#include <sched.h>

#include <QGuiApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "app/batch_host.h"
#include "engine/compiler.h"
#include "engine/runner.h"
#include "engine/text_file.h"
#include "gif/animation_frame.h"
#include "gif/colour_table.h"
#include "gif/gif_writer.h"
#include "gif/qimage_frames.h"
#include "plot/plot_surface.h"

namespace {

// Best time of repeated runs within about a second.
double BestSeconds(const std::function<void()>& work) {
    double best = 1e30, total = 0;
    for (int round = 0; round < 200 && (round < 3 || total < 1.0); ++round) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        best = std::min(best, elapsed.count());
        total += elapsed.count();
    }
    return best;
}

// The pictures a program leaves: its film passes, or its final picture when it has none.
std::vector<gif::RgbImage> ProgramPictures(const std::vector<std::string>& source, int width,
                                           int height) {
    app::BatchHost host(std::cerr);
    plot::TPlotSurface surface(width, height);
    engine::Runner runner(host, surface);
    std::vector<gif::RgbImage> frames;
    runner.SavedPictures().SetFrameRecorder([&](const plot::TPlotSurface& picture) {
        frames.push_back(*gif::ToRgbImage(picture.Bitmap()));
    });
    runner.Program() = engine::CompileProgram(source);
    runner.Run();
    if (frames.empty()) frames.push_back(*gif::ToRgbImage(surface.Bitmap()));
    return frames;
}

std::vector<std::string> Example(const char* name) {
    const auto lines = engine::ReadTextLines(std::string(ZORVAT_EXAMPLES) + "/" + name);
    if (!lines) {
        std::cerr << "gif_bench: cannot read example " << name << "\n";
        std::exit(1);
    }
    return *lines;
}

int WriteToString(GifFileType* file, const GifByteType* bytes, int length) {
    static_cast<std::string*>(file->UserData)
        ->append(reinterpret_cast<const char*>(bytes), static_cast<size_t>(length));
    return length;
}

// The same file as ours, made by giflib from our indices: screen, global table,
// looping and control extensions, image descriptors, EGifPutLine row by row.
struct GiflibInput {
    int width = 0, height = 0;
    std::vector<GifColorType> colours;         // a power of two
    std::vector<std::vector<uint8_t>> frames;  // indices, rows in file order
    bool interlaced = false;
};

std::string EncodeWithGiflib(GiflibInput& input) {
    std::string out;
    int error = 0;
    GifFileType* file = EGifOpen(&out, WriteToString, &error);
    EGifSetGifVersion(file, true);
    ColorMapObject* map =
        GifMakeMapObject(static_cast<int>(input.colours.size()), input.colours.data());
    EGifPutScreenDesc(file, input.width, input.height, 8, 0, map);
    if (input.frames.size() > 1) {
        EGifPutExtensionLeader(file, APPLICATION_EXT_FUNC_CODE);
        EGifPutExtensionBlock(file, 11, "NETSCAPE2.0");
        const unsigned char loop[] = {1, 0, 0};
        EGifPutExtensionBlock(file, 3, loop);
        EGifPutExtensionTrailer(file);
    }
    for (const auto& indices : input.frames) {
        GraphicsControlBlock control{2, false, 10, 0};
        GifByteType extension[4];
        EGifGCBToExtension(&control, extension);
        EGifPutExtension(file, GRAPHICS_EXT_FUNC_CODE, 4, extension);
        EGifPutImageDesc(file, 0, 0, input.width, input.height, input.interlaced, nullptr);
        for (int row = 0; row < input.height; ++row) {
            EGifPutLine(file,
                        const_cast<GifPixelType*>(indices.data()) +
                            static_cast<size_t>(row) * static_cast<size_t>(input.width),
                        input.width);
        }
    }
    EGifCloseFile(file, &error);
    GifFreeMapObject(map);
    return out;
}

GiflibInput IndicesOf(const std::vector<gif::RgbImage>& pictures, bool interlaced) {
    GiflibInput input;
    input.width = pictures.front().width;
    input.height = pictures.front().height;
    input.interlaced = interlaced;
    gif::ColourTable table;
    for (const auto& picture : pictures) {
        input.frames.emplace_back();
        int transparent = -1;
        if (!table.BuildIndices(picture, interlaced, std::nullopt, input.frames.back(),
                                transparent)) {
            std::cerr << "gif_bench: more than 256 colours\n";
            std::exit(1);
        }
    }
    const int entries = 1 << gif::BitsForColourCount(table.Count());
    for (int i = 0; i < entries; ++i) {
        const gif::Colour c = i < table.Count() ? table.At(i) : 0;
        input.colours.push_back({static_cast<GifByteType>(c & 0xFF),
                                 static_cast<GifByteType>(c >> 8 & 0xFF),
                                 static_cast<GifByteType>(c >> 16 & 0xFF)});
    }
    return input;
}

void Compare(const char* name, const std::vector<gif::RgbImage>& pictures, bool interlaced,
             const gif::AnimationSettings& settings) {
    gif::TFrameList list;
    for (size_t i = 0; i < pictures.size(); ++i) {
        list.frames.push_back(gif::AnimationFrame(pictures[i], static_cast<int>(i + 1), settings));
        list.frames.back().interlaced = interlaced;
    }
    size_t ourSize = 0;
    bool shared = true;
    const double ours = BestSeconds([&] {
        list.globalPalette = true;
        gif::TGifWriter writer;
        std::string bytes;
        if (!writer.WriteFrames(list, bytes)) std::exit(1);
        ourSize = bytes.size();
        shared = list.globalPalette;
    });
    // Our time split: the colour lookup alone, the rest is mostly the LZW coder.
    const double lookup = BestSeconds([&] { IndicesOf(pictures, interlaced); });
    GiflibInput input = IndicesOf(pictures, interlaced);
    size_t theirSize = 0;
    const double theirs = BestSeconds([&] { theirSize = EncodeWithGiflib(input).size(); });
    std::fprintf(stderr,
                 "gif_bench: %s: ours %.2f ms (colour lookup %.2f ms; %zu bytes, %s), giflib "
                 "%.2f ms (%zu bytes)\n",
                 name, ours * 1e3, lookup * 1e3, ourSize,
                 shared ? "one colour table" : "a table per frame", theirs * 1e3, theirSize);
    std::printf("%s ratio_giflib=%.2f\n", name, ours / theirs);
}

}  // namespace

int main(int argc, char** argv) {
    // Both encoders on the same core: the cores of a shared machine differ in speed.
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(sched_getcpu(), &one);
    sched_setaffinity(0, sizeof one, &one);
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication application(argc, argv);

    // The plot as "Opslaan als &Gif" saves it: one interlaced frame, white transparent.
    const auto plot = ProgramPictures(Example("sinus.txt"), 1000, 1000);
    Compare("plot_1000x1000", plot, true, {0, true, gif::kWhite});

    // 30 passes of a film loop, as --animate saves them.
    const std::vector<std::string> wave = {
        "xmin=-7",
        "xmax=7",
        "ymin=-2",
        "ymax=2",
        "film(k;0;29;1)",
        "lijndikte(2)",
        "grafiek(sin(x-k*pi/15))",
        "stip(0;sin(-k*pi/15);8)",
        "volgende",
    };
    const auto frames = ProgramPictures(wave, 500, 500);
    if (frames.size() != 30) {
        std::cerr << "gif_bench: expected 30 frames, got " << frames.size() << "\n";
        return 1;
    }
    Compare("animation_30x500x500", frames, false, {100, true, gif::kWhite});
    return 0;
}
