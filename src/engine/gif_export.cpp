// GIF files of the plot: the writer encodes in memory, the export layer writes the
// file whole.
#include "engine/gif_export.h"

#include "export/whole_file.h"
#include "gif/gif_writer.h"
#include "gif/qimage_frames.h"

namespace engine {

namespace {

std::optional<std::string> Write(gif::TGifWriter& writer, gif::TFrameList& frames,
                                 const std::string& path) {
    std::string bytes;
    if (!writer.WriteFrames(frames, bytes)) return gif::SaveFailedMessage(writer.LastError());
    if (!exporter::WriteWholeFile(path, bytes)) return "Kan " + path + " niet opslaan";
    return std::nullopt;
}

}  // namespace

std::optional<std::string> SavePictureAsGif(const plot::TPlotSurface& surface,
                                            const std::string& path, bool transparent) {
    auto picture = gif::ToRgbImage(surface.Bitmap());
    if (!picture) return gif::SaveFailedMessage(gif::GifError::PictureConversion);
    gif::TFrameList frames;
    gif::TFrameInfo frame;
    frame.picture = std::move(*picture);
    frame.interlaced = true;
    frame.transparent = transparent;
    frame.transparentColour = gif::kWhite;
    frames.frames.push_back(std::move(frame));
    gif::TGifWriter writer;
    return Write(writer, frames, path);
}

void AnimationRecorder::Record(const plot::TPlotSurface& surface) {
    // Past the most a GIF holds only the count is kept, for the message.
    if (++count_ > gif::kMaxFrames) return;
    auto picture = gif::ToRgbImage(surface.Bitmap());
    frames_.push_back(picture ? std::move(*picture) : gif::RgbImage());
}

std::optional<std::string> AnimationRecorder::Save(const std::string& path,
                                                   const gif::AnimationSettings& settings) {
    if (count_ == 0) {
        return "Geen beelden voor " + path +
               ": het programma heeft geen film-lus doorlopen en geen plaatje opgeslagen";
    }
    if (count_ > gif::kMaxFrames) {
        return "Een geanimeerde GIF heeft hoogstens " + std::to_string(gif::kMaxFrames) +
               " beelden; het programma maakte er " + std::to_string(count_) + ". " + path +
               " is niet geschreven";
    }
    gif::TFrameList frames;
    for (size_t i = 0; i < frames_.size(); ++i) {
        frames.frames.push_back(
            gif::AnimationFrame(std::move(frames_[i]), static_cast<int>(i + 1), settings));
    }
    frames_.clear();
    gif::TGifWriter writer;
    return Write(writer, frames, path);
}

}  // namespace engine
