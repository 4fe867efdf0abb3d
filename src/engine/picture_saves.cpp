// Numbering of saved pictures and the frames of a recorded animation.
#include "engine/picture_saves.h"

namespace engine {

std::optional<std::string> PictureSaves::NextFileName(const std::string& base,
                                                      const std::string& extension) {
    if (counter_ >= kEndNumber) return std::nullopt;
    return base + std::to_string(counter_++) + extension;
}

void PictureSaves::FilmPassEnded(const plot::TPlotSurface& surface) {
    if (recorder_ && !savedThisPass_) recorder_(surface);
    savedThisPass_ = false;
}

void PictureSaves::PictureSaved(const plot::TPlotSurface& surface, bool insideFilm) {
    if (recorder_) recorder_(surface);
    savedThisPass_ = insideFilm;
}

}  // namespace engine
