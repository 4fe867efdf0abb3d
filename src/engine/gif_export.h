// The plot picture as a GIF file, and the frames of a run as an animated GIF.
// "Opslaan als &Gif", opslaangif, --gif and --animate all save through here.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "gif/animation_frame.h"
#include "gif/rgb_image.h"
#include "plot/plot_surface.h"

namespace engine {

// The picture as one interlaced GIF, white transparent when `transparent`. Returns
// the message to show when it failed; no file is written then.
std::optional<std::string> SavePictureAsGif(const plot::TPlotSurface& surface,
                                            const std::string& path, bool transparent);

// Collects the pictures of a run and saves them as one animated GIF.
class AnimationRecorder {
public:
    void Record(const plot::TPlotSurface& surface);
    // Every picture recorded, also those past the most a GIF can hold.
    size_t FrameCount() const { return count_; }
    // The message to show when it failed (no frames, too many, the writer's error);
    // no file is written then.
    std::optional<std::string> Save(const std::string& path,
                                    const gif::AnimationSettings& settings);

private:
    std::vector<gif::RgbImage> frames_;
    size_t count_ = 0;
};

}  // namespace engine
