// Picture files: the picture slots (Qt's image reader) and the GIF loader, on a
// file that holds the input.
#include <unistd.h>

#include <QGuiApplication>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

#include "gif/gif_picture.h"
#include "plot/picture_slots.h"
#include "plot/plot_surface.h"

namespace {

std::string& FilePath() {
    static std::string path = "/tmp/zorvat_picture_fuzz_" + std::to_string(getpid());
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static QGuiApplication application(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::ofstream(FilePath(), std::ios::binary)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    plot::PictureSlots pictures;
    plot::TPlotSurface surface(64, 64);
    surface.SetWorld(-1, -1, 1, 1);
    if (pictures.Load(1, FilePath())) {
        pictures.Show(surface, 1, 0, 0);
        pictures.Erase(surface, 1, 0.5L, 0.5L);
    }
    gif::TGifPicture picture;
    picture.LoadFromFile(FilePath());
    return 0;
}
