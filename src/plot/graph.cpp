// Function graphs: one sample per pixel column, broken where the curve leaves the box.
#include "plot/graph.h"

#include <cmath>

namespace plot {

void DrawGraph(TPlotSurface& surface, expr::TParser& parser, const WorldBox& box) {
    const Real h = surface.D2WorldXW() / surface.Width();
    const Real top = box.y2 + std::fabs(box.y2);
    const Real bottom = box.y1 - std::fabs(box.y1);
    TFloatPointList piece;
    auto flush = [&] {
        if (piece.Count() > 0) surface.DrawPolyline(&piece);
        piece.Clear();
    };
    Real x = box.x1 - 10 * h;
    while (x <= box.x2 + 10 * h) {
        x += h;
        parser.X() = x;
        Real y;
        try {
            y = parser.Value();
        } catch (const expr::EMathError&) {
            // No value here (a pole, a logarithm left of 0): a gap, as outside the box.
            y = NAN;
        }
        if (!(y <= top && y >= bottom)) {
            flush();
            x += h;
        } else {
            piece.Add(x, y);
        }
    }
    flush();
}

}  // namespace plot
