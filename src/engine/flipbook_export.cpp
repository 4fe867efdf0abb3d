// Frames of a flip-book, kept as GIF bytes until the run is over.
#include "engine/flipbook_export.h"

#include <filesystem>
#include <system_error>

#include "engine/flipbook_page.h"
#include "export/svg_writer.h"
#include "export/whole_file.h"
#include "gif/gif_writer.h"
#include "gif/qimage_frames.h"

namespace engine {

void FlipbookRecorder::Record(const plot::TPlotSurface& surface, bool transparent) {
    if (++count_ > kMaxFrames || failure_) return;
    width_ = surface.Width();
    height_ = surface.Height();
    auto picture = gif::ToRgbImage(surface.Bitmap());
    if (!picture) {
        failure_ = gif::SaveFailedMessage(gif::GifError::PictureConversion);
        return;
    }
    gif::TFrameList frames;
    gif::TFrameInfo frame;
    frame.picture = std::move(*picture);
    frame.transparent = transparent;
    frame.transparentColour = gif::kWhite;
    frames.frames.push_back(std::move(frame));
    gif::TGifWriter writer;
    std::string bytes;
    if (!writer.WriteFrames(frames, bytes)) {
        failure_ = gif::SaveFailedMessage(writer.LastError());
        return;
    }
    frames_.push_back(std::move(bytes));
}

std::optional<std::string> FlipbookRecorder::Save(const std::string& folder,
                                                  const std::string& title,
                                                  const std::string& script, int pause) const {
    if (count_ == 0) {
        return "Geen beelden voor het flipboek in " + folder +
               ": het programma heeft geen film-lus doorlopen en geen plaatje opgeslagen";
    }
    if (count_ > kMaxFrames) {
        return "Een flipboek heeft hoogstens " + std::to_string(kMaxFrames) +
               " beelden; het programma maakte er " + std::to_string(count_) + ". " + folder +
               " is niet geschreven";
    }
    if (failure_) return *failure_;
    namespace fs = std::filesystem;
    std::error_code error;
    fs::create_directories(fs::path(folder), error);
    if (!fs::is_directory(fs::path(folder), error)) return "Kan de map " + folder + " niet maken";

    const auto write = [&](const std::string& name, const std::string& bytes) {
        const std::string path = (fs::path(folder) / name).string();
        return exporter::WriteWholeFile(path, bytes) ? std::optional<std::string>()
                                                     : "Kan " + path + " niet opslaan";
    };
    for (size_t i = 0; i < frames_.size(); ++i) {
        const std::string name = kPictureStem + std::to_string(kFirstNumber + i) + ".gif";
        if (auto failure = write(name, frames_[i])) return failure;
    }
    if (auto failure = write("film.js", script)) return failure;

    FlipbookSettings settings;
    settings.pictures = kPictureStem;
    settings.extension = ".gif";
    settings.lowest = std::to_string(kFirstNumber);
    settings.highest = std::to_string(kFirstNumber + frames_.size() - 1);
    settings.start = kPictureStem + std::to_string(kFirstNumber) + ".gif";
    settings.pause = std::to_string(pause);
    settings.width = std::to_string(width_);
    settings.height = std::to_string(height_);
    settings.text = "<H3 align=center>" + exporter::SvgWriter::Escaped(title) + "</H3>\r\n";
    return write(kPageName, FlipbookFileText(MakeFlipbookPage(settings)));
}

}  // namespace engine
