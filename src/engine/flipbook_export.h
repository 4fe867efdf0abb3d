// The flip-book of a run for the batch mode: every frame an animation would get, as
// numbered GIF pictures in one folder with the page that plays them and film.js.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "plot/plot_surface.h"

namespace engine {

class FlipbookRecorder {
public:
    static constexpr int kFirstNumber = 10;
    // A page of more pictures than this would take a browser long to load.
    static constexpr size_t kMaxFrames = 1000;
    static constexpr const char* kPageName = "mijnfilm.htm";
    static constexpr const char* kPictureStem = "tekening";

    // Keeps the picture, encoded as a GIF (white transparent when `transparent`).
    void Record(const plot::TPlotSurface& surface, bool transparent);
    size_t FrameCount() const { return count_; }
    // Writes tekening10.gif, tekening11.gif, ..., film.js (`script`) and mijnfilm.htm into
    // `folder`, made when it is not there; the page shows `title` and waits `pause`
    // milliseconds between pictures. Returns the message to show when it failed; the
    // page is written last, so a failure never leaves a page without its pictures.
    std::optional<std::string> Save(const std::string& folder, const std::string& title,
                                    const std::string& script, int pause) const;

private:
    std::vector<std::string> frames_;
    size_t count_ = 0;
    int width_ = 0;
    int height_ = 0;
    std::optional<std::string> failure_;
};

}  // namespace engine
