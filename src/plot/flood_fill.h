// Flood fill of a connected area of the bitmap with a brush.
#pragma once

#include <QPoint>
#include <QRect>

#include "plot/plot_surface.h"

class QImage;

namespace plot {

// Fills the 4-connected area around `start` with `brush`. Surface: the area of pixels of
// `colour`; Border: the area of pixels of any other colour. Pixels outside `clip` are
// neither filled nor crossed. A clear brush fills nothing.
void FloodFill(QImage& image, const QRect& clip, QPoint start, Colour colour, FillStyle style,
               const Brush& brush);

}  // namespace plot
