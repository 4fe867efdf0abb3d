// Coordinate axes through the origin or along the sides, with ticks, numbers and grid.
#pragma once

#include <string>

#include "plot/drawing.h"
#include "plot/plot_surface.h"

namespace plot {

enum class AxesPlacement { Sides, Middle, None };

struct AxesOptions {
    AxesPlacement placement = AxesPlacement::Middle;
    bool grid = false;
    bool ticks = true;
    bool numbers = true;
    Colour axesColour = kBlack;
    Colour gridColour = 15132390;
    int axesWidth = 1;
    std::string xLabel;  // empty: no label
    std::string yLabel;
};

// A step that puts between 4 and 10 ticks on a range d > 0 (1, 2 or 5 times a power of ten).
Real NiceStep(Real range);

// The number pattern for tick numbers at distance `step`: "" (general), "#.#E-" or "0E-".
std::string StepNumberFormat(Real step);

// Formats with a picture pattern: "#" optional digit, "0" required digit, "." decimal
// point, "E-"/"E+" exponent (sign only when negative / always). Empty: general format.
std::string FormatWithPattern(Real value, const std::string& pattern);

// Draws the axes for the chosen placement; the surface's font colour is the axes
// colour while drawing. Axes in the middle also go to the eepic and PDF outputs
// that are switched on; axes at the sides only to the surface.
void DrawPlotAxes(Drawing& drawing, const AxesOptions& options);

// Axes through the origin with the program's own tick distances (eigenassen) and
// number patterns (eigenassenf; a pattern with "p" writes multiples of pi). A step
// of 0 draws no ticks, numbers or grid lines on that axis.
void DrawOwnAxes(Drawing& drawing, const AxesOptions& options, Real xStep, Real yStep,
                 const std::string& xFormat, const std::string& yFormat);

// A tick number in `pattern`; with "p" in it the value is written as a multiple of
// pi ("p", "-p", "2p", "0.5p"), the "p" standing for the pi sign.
std::string FormatTickNumber(Real value, const std::string& pattern);

}  // namespace plot
