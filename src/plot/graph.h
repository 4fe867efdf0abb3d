// Sampling of function graphs y = f(x) across the visible x-range.
#pragma once

#include "expr/parser.h"
#include "plot/plot_surface.h"

namespace plot {

// The world rectangle at the start of a run; curve points are accepted within
// x1 - |x1| .. x2 + |x2| and y1 - |y1| .. y2 + |y2|.
struct WorldBox {
    Real x1 = -1, x2 = 1, y1 = -1, y2 = 1;
    static WorldBox Of(const TPlotSurface& surface) {
        return {surface.D2WorldX1(), surface.D2WorldX1() + surface.D2WorldXW(), surface.D2WorldY1(),
                surface.D2WorldY1() + surface.D2WorldYW()};
    }
};

// Draws the graph of the expression compiled in `parser` (variable X), one sample
// per pixel column. Points outside the box, and points where the expression has
// no value, break the graph into pieces.
void DrawGraph(TPlotSurface& surface, expr::TParser& parser, const WorldBox& box);

}  // namespace plot
