// Axes along the left and bottom edge of the world rectangle, with their numbers in the
// margins that the surface leaves when it clips to the world.
#pragma once

#include <optional>
#include <string>

#include "plot/drawing_objects.h"
#include "plot/surface_device.h"

namespace plot {

// The ticks of one side axis over a..b: at (first + i) * step, every `labelEvery`-th one
// (counting from the first) long and numbered.
struct SideTicks {
    Real step = 1;
    Real first = 0;
    long stepsInRange = 0;  // round((b - a) / step)
    long labelEvery = 0;    // stepsInRange div 4
};

// Step 10^k, k = trunc(log10(|b - a| / 8)), less 1 when that logarithm is negative; nothing
// when the range gives no such step (empty or not finite).
std::optional<SideTicks> SideTicksFor(Real a, Real b);

// The tick number text.
std::string SideTickText(Real value);

// The widest number the side axes write for a..b, measured on `device` in the font one
// point smaller than `objects.font` (which is changed for the measurement and restored).
std::optional<int> SideLabelWidth(Real a, Real b, const SurfaceDevice& device,
                                  DrawingObjects& objects);

struct SideAxesText {
    std::string xLabel;
    std::string yLabel;
};

// Draws the axes of the world (x1, y1)-(x2, y2) on `device`, unclipped, with the current
// pen, brush and font; numbers one point smaller. Pixel distances grow with the device scale.
void DrawSideAxes(SurfaceDevice& device, DrawingObjects& objects, Real x1, Real y1, Real x2,
                  Real y2, const SideAxesText& text);

}  // namespace plot
