// Conversion of the surface's pen, brush and font to Qt objects.
#include "plot/drawing_objects.h"

#include <algorithm>
#include <cmath>

namespace plot {

namespace {

// Dash lengths of a 1-pixel styled pen, in pixels (on, off, ...).
const QList<qreal> kDashPattern{18, 6};
const QList<qreal> kDotPattern{3, 3};
const QList<qreal> kDashDotPattern{9, 6, 3, 6};

constexpr int kMaxFontPixels = 5000;  // larger text cannot be shown anyway

}  // namespace

QColor ToQColor(Colour colour) {
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

QBrush ToQBrush(const Brush& brush) {
    const QColor colour = ToQColor(brush.color);
    switch (brush.style) {
        case BrushStyle::Solid:
            return QBrush(colour, Qt::SolidPattern);
        case BrushStyle::Clear:
            return QBrush(Qt::NoBrush);
        case BrushStyle::Horizontal:
            return QBrush(colour, Qt::HorPattern);
        case BrushStyle::Vertical:
            return QBrush(colour, Qt::VerPattern);
        case BrushStyle::ForwardDiagonal:
            return QBrush(colour, Qt::FDiagPattern);
        case BrushStyle::BackwardDiagonal:
            return QBrush(colour, Qt::BDiagPattern);
        case BrushStyle::Cross:
            return QBrush(colour, Qt::CrossPattern);
        case BrushStyle::DiagonalCross:
            return QBrush(colour, Qt::DiagCrossPattern);
    }
    return QBrush(Qt::NoBrush);
}

QPen ToQPen(const Pen& pen) {
    if (pen.style == PenStyle::Clear) return QPen(Qt::NoPen);
    const QColor colour = ToQColor(pen.color);
    if (pen.width > 1) return QPen(colour, pen.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    // Width 0 is Qt's cosmetic one-pixel pen; its square cap includes the last pixel.
    QPen result(colour, 0);
    switch (pen.style) {
        case PenStyle::Dash:
            result.setDashPattern(kDashPattern);
            break;
        case PenStyle::Dot:
            result.setDashPattern(kDotPattern);
            break;
        case PenStyle::DashDot:
            result.setDashPattern(kDashDotPattern);
            break;
        default:
            break;
    }
    return result;
}

QFont ToQFont(const Font& font, int scale) {
    QFont result(QString::fromStdString(font.name));
    // Sizes are points at 96 pixels per inch, so text measures the same on every screen.
    const long pixels = std::lround(font.size * 96.0 / 72.0 * scale);
    result.setPixelSize(static_cast<int>(std::clamp(pixels, 1L, long{kMaxFontPixels})));
    result.setBold(font.bold);
    result.setItalic(font.italic);
    result.setUnderline(font.underline);
    // Coloured fringes would not survive saving to a palette image.
    result.setStyleStrategy(QFont::NoSubpixelAntialias);
    return result;
}

}  // namespace plot
