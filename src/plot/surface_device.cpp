// Figures in device pixels on one target of the plot surface.
#include "plot/surface_device.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>
#include <cmath>
#include <numbers>

namespace plot {

namespace {

QPolygon ToPolygon(const std::vector<QPoint>& points) {
    return QPolygon(QList<QPoint>(points.begin(), points.end()));
}

// Counter-clockwise angle on screen (y grows downward) of the direction (dx, dy), in degrees.
double ScreenAngle(double dx, double dy) {
    return std::atan2(-dy, dx) * 180.0 / std::numbers::pi;
}

// A polygon that covers everything between two rays from `centre`, out to `reach`.
QPainterPath Wedge(QPointF centre, double startAngle, double sweep, double reach) {
    QPainterPath wedge(centre);
    const int steps = static_cast<int>(std::ceil(sweep / 30.0));
    for (int i = 0; i <= steps; ++i) {
        const double a = (startAngle + sweep * i / steps) * std::numbers::pi / 180.0;
        wedge.lineTo(centre.x() + reach * std::cos(a), centre.y() - reach * std::sin(a));
    }
    wedge.closeSubpath();
    return wedge;
}

// Everything on the side of the line through `a` and `b` where `side` lies, out to `reach`.
QPainterPath HalfPlane(QPointF a, QPointF b, QPointF side, double reach) {
    QPointF d = b - a;
    const double length = std::hypot(d.x(), d.y());
    d /= length;
    QPointF normal(-d.y(), d.x());
    if (QPointF::dotProduct(side - a, normal) < 0) normal = -normal;
    QPainterPath half(a - d * reach);
    half.lineTo(b + d * reach);
    half.lineTo(b + d * reach + normal * reach);
    half.lineTo(a - d * reach + normal * reach);
    half.closeSubpath();
    return half;
}

}  // namespace

int PixelMapping::ToPixel(Real v, int limit) {
    if (std::isnan(v)) return -limit;
    if (std::fabs(v) >= limit) return v >= 0 ? limit : -limit;
    // Nearest integer, halves to even, whatever the floating-point rounding mode.
    const Real below = std::floor(v);
    const Real fraction = v - below;
    int result = static_cast<int>(below);
    if (fraction > 0.5L || (fraction == 0.5L && result % 2 != 0)) ++result;
    return result;
}

SurfaceDevice::SurfaceDevice(QPaintDevice& target, int scale, const DrawingObjects& objects)
    : target_(target), scale_(scale), objects_(objects) {}

int SurfaceDevice::Width() const {
    return target_.width();
}

int SurfaceDevice::Height() const {
    return target_.height();
}

std::optional<PixelMapping> SurfaceDevice::Fit(Real x1, Real y1, Real x2, Real y2,
                                               const std::optional<LabelMargins>& margins) const {
    const Real dx = x2 - x1, dy = y1 - y2;
    if (dx == 0 || dy == 0) return std::nullopt;
    const Real w = Width(), h = Height(), s = scale_;
    PixelMapping m;
    m.limit = PixelMapping::kScreenLimit * scale_;
    if (!margins) {
        m.ax = (w - 1) / dx;
        m.bx = -x1 * m.ax;
        m.ay = (h - 1) / dy;
        m.by = -y2 * m.ay;
    } else {
        // Room for the y numbers left, half an x number right, the numbers and the
        // x label below and the y label above.
        const int halfXLabel = scale_ * margins->xLabelWidth / 2;
        m.ax = (w - 8 * s - 1 - s * margins->yLabelWidth - halfXLabel) / dx;
        m.bx = s * (margins->yLabelWidth + 8) - x1 * m.ax;
        m.ay = (h - 6 * s - 1 - 2 * s * margins->labelHeight) / dy;
        m.by = s * margins->labelHeight - y2 * m.ay;
    }
    if (!std::isfinite(m.ax) || !std::isfinite(m.bx) || !std::isfinite(m.ay) ||
        !std::isfinite(m.by))
        return std::nullopt;
    return m;
}

void SurfaceDevice::BeginPainter(QPainter& painter) const {
    painter.begin(&target_);
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (clip_) painter.setClipRect(*clip_);
}

// Fills `shape` with the brush (when `filled`), then outlines it with the pen. Wide pens
// are centred on the pixel centres; fills keep Qt's rule of leaving the right and
// bottom edge to the outline.
template <class Shape>
void SurfaceDevice::Figure(bool filled, const Shape& shape) {
    QPainter painter;
    BeginPainter(painter);
    if (filled && objects_.brush.style != BrushStyle::Clear) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(ToQBrush(objects_.brush));
        shape(painter);
    }
    if (objects_.pen.style != PenStyle::Clear) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(ToQPen(objects_.pen));
        if (objects_.pen.width > 1) painter.translate(0.5, 0.5);
        shape(painter);
    }
}

void SurfaceDevice::FillAll() {
    if (objects_.brush.style == BrushStyle::Clear) return;
    QPainter painter(&target_);
    painter.fillRect(QRect(0, 0, Width(), Height()), ToQBrush(objects_.brush));
}

void SurfaceDevice::SetPixel(QPoint p, Colour colour) {
    if (clip_ && !clip_->contains(p)) return;
    if (target_.devType() == QInternal::Image) {
        auto& image = static_cast<QImage&>(target_);
        if (image.rect().contains(p)) image.setPixel(p, ToQColor(colour).rgb());
        return;
    }
    QPainter painter;
    BeginPainter(painter);
    painter.setPen(QPen(ToQColor(colour), 0));
    painter.drawPoint(p);
}

void SurfaceDevice::LineTo(QPoint p) {
    Polyline({penPosition_, p});
    penPosition_ = p;
}

void SurfaceDevice::Polyline(const std::vector<QPoint>& points) {
    if (points.empty()) return;
    Figure(false, [&](QPainter& painter) {
        if (points.size() == 1)
            painter.drawPoint(points.front());
        else
            painter.drawPolyline(ToPolygon(points));
    });
}

void SurfaceDevice::Polygon(const std::vector<QPoint>& points) {
    if (points.empty()) return;
    const QPolygon polygon = ToPolygon(points);
    Figure(true, [&](QPainter& painter) { painter.drawPolygon(polygon); });
}

void SurfaceDevice::PolyBezier(const std::vector<QPoint>& points) {
    // A chain of 1 + 3k points; points that do not complete a segment are left out.
    if (points.size() < 4) return;
    QPainterPath path(points[0]);
    for (size_t i = 1; i + 2 < points.size(); i += 3)
        path.cubicTo(points[i], points[i + 1], points[i + 2]);
    Figure(false, [&](QPainter& painter) { painter.drawPath(path); });
}

void SurfaceDevice::Rectangle(const QRect& box) {
    // The outline runs through the box's edge pixels; Qt's rectangle covers one pixel
    // more than its size in both directions.
    const QRect outline(box.left(), box.top(), box.width() - 1, box.height() - 1);
    Figure(true, [&](QPainter& painter) { painter.drawRect(outline); });
}

void SurfaceDevice::Ellipse(const QRect& box) {
    const QRect outline(box.left(), box.top(), box.width() - 1, box.height() - 1);
    Figure(true, [&](QPainter& painter) { painter.drawEllipse(outline); });
}

void SurfaceDevice::ArcFigure(ArcKind kind, const QRect& box, QPoint start, QPoint end) {
    const QRect outline(box.left(), box.top(), box.width() - 1, box.height() - 1);
    const QPointF centre = QRectF(outline).center();
    const double rx = outline.width() / 2.0, ry = outline.height() / 2.0;

    const double startAngle = ScreenAngle(start.x() - centre.x(), start.y() - centre.y());
    double sweep = ScreenAngle(end.x() - centre.x(), end.y() - centre.y()) - startAngle;
    while (sweep <= 0) sweep += 360;  // equal rays: the whole ellipse

    // Where the rays meet the ellipse.
    auto onEllipse = [&](QPoint p) {
        const double dx = p.x() - centre.x(), dy = p.y() - centre.y();
        const double t = std::atan2(ry > 0 ? -dy / ry : -dy, rx > 0 ? dx / rx : dx);
        return QPoint(static_cast<int>(std::lround(centre.x() + rx * std::cos(t))),
                      static_cast<int>(std::lround(centre.y() - ry * std::sin(t))));
    };
    const QPoint from = onEllipse(start), to = onEllipse(end);
    const QPoint middle(static_cast<int>(std::floor(centre.x())),
                        static_cast<int>(std::floor(centre.y())));

    // The arc is the ellipse's own outline seen through the wedge between the rays, so
    // arcs and ellipses in the same box share their pixels.
    const double reach = 2.0 * (outline.width() + outline.height()) + 16;
    const bool whole = sweep >= 360;
    const QPainterPath wedge = Wedge(centre, startAngle, sweep, reach);
    QPainterPath fillArea = wedge;
    if (kind == ArcKind::Chord && from != to) {
        const double a = (startAngle + sweep / 2) * std::numbers::pi / 180.0;
        const QPointF side(centre.x() + reach * std::cos(a), centre.y() - reach * std::sin(a));
        fillArea = HalfPlane(from, to, side, reach);
    }

    QPainter painter;
    BeginPainter(painter);
    if (kind != ArcKind::Arc && objects_.brush.style != BrushStyle::Clear) {
        painter.save();
        if (!whole) painter.setClipPath(fillArea, Qt::IntersectClip);
        painter.setPen(Qt::NoPen);
        painter.setBrush(ToQBrush(objects_.brush));
        painter.drawEllipse(outline);
        painter.restore();
    }
    if (objects_.pen.style == PenStyle::Clear) return;
    painter.setBrush(Qt::NoBrush);
    painter.setPen(ToQPen(objects_.pen));
    painter.save();
    if (!whole) painter.setClipPath(wedge, Qt::IntersectClip);
    if (objects_.pen.width > 1) painter.translate(0.5, 0.5);
    painter.drawEllipse(outline);
    painter.restore();
    if (objects_.pen.width > 1) painter.translate(0.5, 0.5);
    if (kind == ArcKind::Pie) painter.drawPolyline(QPolygon({from, middle, to}));
    if (kind == ArcKind::Chord) painter.drawLine(from, to);
}

void SurfaceDevice::Text(QPoint topLeft, const std::string& text, int angle) {
    if (text.empty()) return;
    const QString string = QString::fromStdString(text);
    const QFont font = ToQFont(objects_.font, scale_);
    const QFontMetrics metrics(font);
    QPainter painter;
    BeginPainter(painter);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.translate(topLeft);
    // The angle turns counter-clockwise around the top-left corner.
    if (angle % 360 != 0) painter.rotate(-angle);
    // A solid brush gives the text an opaque background; any other brush leaves it transparent.
    if (objects_.brush.style == BrushStyle::Solid)
        painter.fillRect(QRect(0, 0, metrics.horizontalAdvance(string), metrics.height()),
                         ToQColor(objects_.brush.color));
    painter.setFont(font);
    painter.setPen(ToQColor(objects_.font.color));
    painter.drawText(QPoint(0, metrics.ascent()), string);
}

int SurfaceDevice::TextWidth(const std::string& text) const {
    return QFontMetrics(ToQFont(objects_.font, scale_))
        .horizontalAdvance(QString::fromStdString(text));
}

int SurfaceDevice::TextHeight(const std::string& /*text*/) const {
    // Every text is a full line high, whatever its letters.
    return QFontMetrics(ToQFont(objects_.font, scale_)).height();
}

}  // namespace plot
