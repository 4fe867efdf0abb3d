// A copy of the screen picture, taken and shown again by programs (animations).
#pragma once

#include <memory>

#include "plot/plot_surface.h"

namespace plot {

class Snapshot {
public:
    Snapshot();
    ~Snapshot();
    // Copies the surface's bitmap.
    void Take(const TPlotSurface& surface);
    // Draws the copy back at (0, 0); nothing when no copy was taken.
    void ShowOn(TPlotSurface& surface) const;

private:
    std::unique_ptr<QImage> image_;
};

}  // namespace plot
