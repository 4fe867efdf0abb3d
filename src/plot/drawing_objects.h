// The pen, brush and font of the plot surface, and how they become Qt drawing objects.
#pragma once

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QPen>

#include "plot/plot_surface.h"

namespace plot {

struct DrawingObjects {
    Pen pen;
    Brush brush;
    Font font;
};

QColor ToQColor(Colour colour);

// Hatches are transparent between their lines, as are the gaps of a styled pen.
QBrush ToQBrush(const Brush& brush);

// Width 1 is a cosmetic pen that covers both end points of a line; wider pens have
// round caps and joins and are always solid. Qt::NoPen for a clear pen.
QPen ToQPen(const Pen& pen);

// `scale` enlarges the font for devices with more pixels than the screen.
QFont ToQFont(const Font& font, int scale = 1);

}  // namespace plot
