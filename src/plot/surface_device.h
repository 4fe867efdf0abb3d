// One target the plot surface draws on: a paint device with its own world mapping, clip
// rectangle and pen position. The screen bitmap is one; a recording at another scale can be
// another.
#pragma once

#include <QPoint>
#include <QRect>
#include <optional>
#include <string>
#include <vector>

#include "plot/drawing_objects.h"

class QPainter;
class QPaintDevice;

namespace plot {

// pixel = a * world + b, one pair per axis.
struct PixelMapping {
    static constexpr int kScreenLimit = 16000;
    Real ax = 1, bx = 0, ay = 1, by = 0;
    int limit = kScreenLimit;  // grows with the device scale

    int X(Real x) const { return ToPixel(ax * x + bx, limit); }
    int Y(Real y) const { return ToPixel(ay * y + by, limit); }
    QPoint Map(Real x, Real y) const { return {X(x), Y(y)}; }

    // Clamped to +-limit so far-away points still give long segments toward them;
    // halves round to even. NaN has no place on the surface and lands far off it.
    static int ToPixel(Real v, int limit = kScreenLimit);
};

// The label margins (in screen pixels) that the mapping leaves when clipping to the world.
struct LabelMargins {
    int labelHeight = 0;
    int xLabelWidth = 0;
    int yLabelWidth = 0;
};

enum class ArcKind { Arc, Chord, Pie };

class SurfaceDevice {
public:
    // `scale` multiplies pixel distances and font sizes relative to the screen.
    SurfaceDevice(QPaintDevice& target, int scale, const DrawingObjects& objects);

    int Scale() const { return scale_; }
    int Width() const;
    int Height() const;

    const PixelMapping& Mapping() const { return mapping_; }
    // The mapping that puts the world (x1, y1)-(x2, y2) on this device; no margins when
    // `margins` is empty. Returns nothing when the numbers do not make a mapping.
    std::optional<PixelMapping> Fit(Real x1, Real y1, Real x2, Real y2,
                                    const std::optional<LabelMargins>& margins) const;
    void SetMapping(const PixelMapping& mapping) { mapping_ = mapping; }

    // Drawing outside the clip rectangle is dropped; none means the whole device.
    const std::optional<QRect>& Clip() const { return clip_; }
    void SetClip(const std::optional<QRect>& clip) { clip_ = clip; }

    QPoint PenPosition() const { return penPosition_; }
    void MoveTo(QPoint p) { penPosition_ = p; }

    // Figures in device pixels. Lines cover both end points; boxes are inclusive, so a
    // figure reaches every pixel its corners map to.
    void FillAll();  // the whole device with the brush, ignoring the clip
    void SetPixel(QPoint p, Colour colour);
    void LineTo(QPoint p);
    void Polyline(const std::vector<QPoint>& points);
    void Polygon(const std::vector<QPoint>& points);
    void PolyBezier(const std::vector<QPoint>& points);
    void Rectangle(const QRect& box);
    void Ellipse(const QRect& box);
    // From the ray through `start` to the ray through `end`, counter-clockwise on screen.
    void ArcFigure(ArcKind kind, const QRect& box, QPoint start, QPoint end);
    void Text(QPoint topLeft, const std::string& text, int angle);

    int TextWidth(const std::string& text) const;
    int TextHeight(const std::string& text) const;

private:
    template <class Shape>
    void Figure(bool filled, const Shape& shape);
    void BeginPainter(QPainter& painter) const;

    QPaintDevice& target_;
    int scale_;
    const DrawingObjects& objects_;
    PixelMapping mapping_;
    std::optional<QRect> clip_;
    QPoint penPosition_;
};

}  // namespace plot
