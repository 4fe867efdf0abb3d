// The recording paint engine: Qt's painting calls become the vector picture's fills,
// outlines, texts and pictures. Clipping is done here, so the picture needs none.
#include "plot/recording_engine.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPixmap>
#include <QTextItem>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace plot {

namespace {

exporter::VectorColour ColourOf(const QColor& colour) {
    return static_cast<exporter::VectorColour>(colour.red()) |
           static_cast<exporter::VectorColour>(colour.green()) << 8 |
           static_cast<exporter::VectorColour>(colour.blue()) << 16;
}

exporter::VectorPen PenOf(const QPen& pen) {
    exporter::VectorPen result;
    result.colour = ColourOf(pen.color());
    result.width = pen.isCosmetic() && pen.widthF() <= 1 ? 0 : pen.widthF();
    const QList<qreal> dashes =
        pen.style() == Qt::CustomDashLine ? pen.dashPattern() : QList<qreal>{};
    if (pen.style() == Qt::DashLine || (dashes.size() == 2 && dashes[0] > dashes[1])) {
        result.style = exporter::VectorLineStyle::Dash;
    } else if (pen.style() == Qt::DotLine || dashes.size() == 2) {
        result.style = exporter::VectorLineStyle::Dot;
    } else if (pen.style() == Qt::DashDotLine || dashes.size() == 4) {
        result.style = exporter::VectorLineStyle::DashDot;
    }
    return result;
}

exporter::VectorBrush BrushOf(const QBrush& brush) {
    exporter::VectorBrush result;
    result.colour = ColourOf(brush.color());
    switch (brush.style()) {
        case Qt::HorPattern:
            result.hatch = exporter::VectorHatch::Horizontal;
            break;
        case Qt::VerPattern:
            result.hatch = exporter::VectorHatch::Vertical;
            break;
        case Qt::FDiagPattern:
            result.hatch = exporter::VectorHatch::ForwardDiagonal;
            break;
        case Qt::BDiagPattern:
            result.hatch = exporter::VectorHatch::BackwardDiagonal;
            break;
        case Qt::CrossPattern:
            result.hatch = exporter::VectorHatch::Cross;
            break;
        case Qt::DiagCrossPattern:
            result.hatch = exporter::VectorHatch::DiagonalCross;
            break;
        default:
            break;
    }
    return result;
}

// The path's subpaths; a subpath with any curve becomes a chain of curves only.
exporter::VectorPath VectorPathOf(const QPainterPath& path) {
    exporter::VectorPath result;
    struct Piece {
        bool curve;
        QPointF a, b, c;
    };
    QPointF start;
    std::vector<Piece> pieces;
    auto flush = [&] {
        if (pieces.empty() && result.empty()) return;
        exporter::VectorSubpath sub;
        sub.curves =
            std::any_of(pieces.begin(), pieces.end(), [](const Piece& p) { return p.curve; });
        sub.points.push_back({start.x(), start.y()});
        QPointF from = start;
        for (const Piece& piece : pieces) {
            if (sub.curves && !piece.curve) {
                // A straight piece as a curve with its control points on the line.
                const QPointF d = (piece.a - from) / 3;
                sub.points.push_back({from.x() + d.x(), from.y() + d.y()});
                sub.points.push_back({from.x() + 2 * d.x(), from.y() + 2 * d.y()});
                sub.points.push_back({piece.a.x(), piece.a.y()});
                from = piece.a;
                continue;
            }
            sub.points.push_back({piece.a.x(), piece.a.y()});
            if (piece.curve) {
                sub.points.push_back({piece.b.x(), piece.b.y()});
                sub.points.push_back({piece.c.x(), piece.c.y()});
                from = piece.c;
            } else {
                from = piece.a;
            }
        }
        sub.closed = pieces.size() > 1 && from == start;
        result.push_back(std::move(sub));
        pieces.clear();
    };
    bool open = false;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (e.isMoveTo()) {
            if (open) flush();
            start = e;
            open = true;
        } else if (e.isLineTo()) {
            pieces.push_back({false, e, {}, {}});
        } else if (e.isCurveTo() && i + 2 < path.elementCount()) {
            pieces.push_back({true, e, path.elementAt(i + 1), path.elementAt(i + 2)});
            i += 2;
        }
    }
    if (open) flush();
    return result;
}

// Where the segment a-b crosses the segment c-d, as a fraction of a-b.
std::optional<double> Crossing(QPointF a, QPointF b, QPointF c, QPointF d) {
    const QPointF r = b - a, s = d - c;
    const double denominator = r.x() * s.y() - r.y() * s.x();
    if (std::fabs(denominator) < 1e-12) return std::nullopt;
    const QPointF q = c - a;
    const double t = (q.x() * s.y() - q.y() * s.x()) / denominator;
    const double u = (q.x() * r.y() - q.y() * r.x()) / denominator;
    if (t <= 0 || t >= 1 || u < 0 || u > 1) return std::nullopt;
    return t;
}

// The parts of the polyline that lie inside `clip`.
void ClipPolyline(const QPolygonF& line, const QPainterPath& clip, const QList<QPolygonF>& edges,
                  exporter::VectorPath& out) {
    exporter::VectorSubpath piece;
    auto end = [&] {
        if (!piece.points.empty()) out.push_back(piece);
        piece.points.clear();
    };
    auto add = [&](QPointF p) {
        if (piece.points.empty() || piece.points.back().x != p.x() ||
            piece.points.back().y != p.y())
            piece.points.push_back({p.x(), p.y()});
    };
    if (line.size() == 1) {
        if (clip.contains(line[0])) out.push_back({{{line[0].x(), line[0].y()}}, false, false});
        return;
    }
    for (int i = 0; i + 1 < line.size(); ++i) {
        const QPointF a = line[i], b = line[i + 1];
        std::vector<double> cuts{0, 1};
        for (const QPolygonF& polygon : edges) {
            for (int k = 0; k + 1 < polygon.size(); ++k) {
                if (const auto t = Crossing(a, b, polygon[k], polygon[k + 1])) cuts.push_back(*t);
            }
        }
        std::sort(cuts.begin(), cuts.end());
        for (size_t k = 0; k + 1 < cuts.size(); ++k) {
            const QPointF from = a + (b - a) * cuts[k], to = a + (b - a) * cuts[k + 1];
            if (clip.contains((from + to) / 2)) {
                add(from);
                add(to);
            } else {
                end();
            }
        }
    }
    end();
}

}  // namespace

RecordingEngine::RecordingEngine(exporter::VectorPicture& picture)
    : QPaintEngine(QPaintEngine::AllFeatures), picture_(picture) {}

bool RecordingEngine::begin(QPaintDevice*) {
    pen_ = QPen();
    brush_ = QBrush();
    transform_ = QTransform();
    composition_ = QPainter::CompositionMode_SourceOver;
    clip_.reset();
    return true;
}

bool RecordingEngine::end() {
    return true;
}

void RecordingEngine::updateState(const QPaintEngineState& state) {
    const DirtyFlags flags = state.state();
    if (flags & DirtyTransform) transform_ = state.transform();
    if (flags & DirtyPen) pen_ = state.pen();
    if (flags & DirtyBrush) brush_ = state.brush();
    if (flags & DirtyCompositionMode) composition_ = state.compositionMode();
    if (flags & (DirtyClipPath | DirtyClipRegion | DirtyClipEnabled)) ClipChanged(state);
}

void RecordingEngine::ClipChanged(const QPaintEngineState& state) {
    const DirtyFlags flags = state.state();
    if ((flags & DirtyClipEnabled) && !state.isClipEnabled()) {
        clip_.reset();
        return;
    }
    QPainterPath area;
    if (flags & DirtyClipPath) {
        area = transform_.map(state.clipPath());
    } else if (flags & DirtyClipRegion) {
        QPainterPath region;
        region.addRegion(state.clipRegion());
        area = transform_.map(region);
    } else {
        return;
    }
    switch (state.clipOperation()) {
        case Qt::NoClip:
            clip_.reset();
            break;
        case Qt::ReplaceClip:
            clip_ = area;
            break;
        case Qt::IntersectClip:
            clip_ = clip_ ? clip_->intersected(area) : area;
            break;
    }
}

void RecordingEngine::Figure(const QPainterPath& path, bool fill) {
    const QPainterPath mapped = transform_.map(path);
    if (fill && brush_.style() != Qt::NoBrush) {
        QPainterPath area = mapped;
        if (clip_ && !clip_->contains(area.controlPointRect())) area = area.intersected(*clip_);
        if (!area.isEmpty()) picture_.Fill(VectorPathOf(area), BrushOf(brush_));
    }
    if (pen_.style() == Qt::NoPen) return;
    exporter::VectorPath lines;
    // Lines run through pixel centres, so their clip lies half a pixel up and left of
    // the clip of areas.
    const std::optional<QPainterPath> clip =
        clip_ ? std::optional<QPainterPath>(clip_->translated(-0.5, -0.5)) : std::nullopt;
    if (!clip || clip->contains(mapped.controlPointRect())) {
        lines = VectorPathOf(mapped);
    } else {
        const QList<QPolygonF> edges = clip->toSubpathPolygons();
        for (const QPolygonF& polygon : mapped.toSubpathPolygons())
            ClipPolyline(polygon, *clip, edges, lines);
    }
    if (!lines.empty()) picture_.Stroke(lines, PenOf(pen_));
}

void RecordingEngine::drawPath(const QPainterPath& path) {
    Figure(path, true);
}

void RecordingEngine::drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) {
    if (count <= 0) return;
    QPainterPath path;
    path.addPolygon(QPolygonF(QList<QPointF>(points, points + count)));
    if (mode != PolylineMode) path.closeSubpath();
    path.setFillRule(mode == WindingMode ? Qt::WindingFill : Qt::OddEvenFill);
    if (count == 1) {
        drawPoints(points, 1);
        return;
    }
    Figure(path, mode != PolylineMode);
}

void RecordingEngine::drawPolygon(const QPoint* points, int count, PolygonDrawMode mode) {
    QList<QPointF> converted;
    for (int i = 0; i < count; ++i) converted.append(points[i]);
    drawPolygon(converted.constData(), count, mode);
}

void RecordingEngine::drawLines(const QLineF* lines, int count) {
    QPainterPath path;
    for (int i = 0; i < count; ++i) {
        path.moveTo(lines[i].p1());
        path.lineTo(lines[i].p2());
    }
    Figure(path, false);
}

void RecordingEngine::drawLines(const QLine* lines, int count) {
    QList<QLineF> converted;
    for (int i = 0; i < count; ++i) converted.append(QLineF(lines[i]));
    drawLines(converted.constData(), count);
}

void RecordingEngine::drawRects(const QRectF* rects, int count) {
    for (int i = 0; i < count; ++i) {
        QPainterPath path;
        path.addRect(rects[i]);
        Figure(path, true);
    }
}

void RecordingEngine::drawRects(const QRect* rects, int count) {
    for (int i = 0; i < count; ++i) {
        const QRectF rect(rects[i]);
        drawRects(&rect, 1);
    }
}

void RecordingEngine::drawEllipse(const QRectF& rect) {
    QPainterPath path;
    path.addEllipse(rect);
    Figure(path, true);
}

void RecordingEngine::drawEllipse(const QRect& rect) {
    drawEllipse(QRectF(rect));
}

void RecordingEngine::drawPoints(const QPointF* points, int count) {
    if (pen_.style() == Qt::NoPen) return;
    const std::optional<QPainterPath> clip =
        clip_ ? std::optional<QPainterPath>(clip_->translated(-0.5, -0.5)) : std::nullopt;
    exporter::VectorPath dots;
    QPainterPath wide;
    for (int i = 0; i < count; ++i) {
        const QPointF p = transform_.map(points[i]);
        if (clip && !clip->contains(p)) continue;
        if (pen_.widthF() > 1) {
            wide.addEllipse(p, pen_.widthF() / 2, pen_.widthF() / 2);
        } else {
            dots.push_back({{{p.x(), p.y()}}, false, false});
        }
    }
    if (!dots.empty()) picture_.Stroke(dots, PenOf(pen_));
    if (!wide.isEmpty()) picture_.Fill(VectorPathOf(wide), {ColourOf(pen_.color())});
}

void RecordingEngine::drawPoints(const QPoint* points, int count) {
    QList<QPointF> converted;
    for (int i = 0; i < count; ++i) converted.append(points[i]);
    drawPoints(converted.constData(), count);
}

void RecordingEngine::drawTextItem(const QPointF& position, const QTextItem& item) {
    const QString text = item.text();
    if (text.isEmpty()) return;
    const QFont font = item.font();
    exporter::VectorText out;
    const QPointF baseline = transform_.map(position);
    out.baseline = {baseline.x(), baseline.y()};
    // Counter-clockwise on the screen, where y grows downward.
    out.angle = -std::atan2(transform_.m12(), transform_.m11()) * 180 / std::numbers::pi;
    out.text = text.toStdString();
    const QFontMetricsF metrics(font);
    double before = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const double upTo = metrics.horizontalAdvance(text.left(i + 1));
        out.advances.push_back(upTo - before);
        before = upTo;
    }
    out.font.family = font.family().toStdString();
    out.font.pixelSize = font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF() * 96 / 72;
    out.font.bold = font.bold();
    out.font.italic = font.italic();
    out.font.underline = font.underline();
    out.colour = ColourOf(pen_.color());
    if (clip_) {
        const QRectF box = clip_->boundingRect();
        out.clip = exporter::VectorRect{box.left(), box.top(), box.right(), box.bottom()};
    }
    picture_.Text(out);
}

void RecordingEngine::drawPixmap(const QRectF& target, const QPixmap& pixmap,
                                 const QRectF& source) {
    drawImage(target, pixmap.toImage(), source, Qt::AutoColor);
}

void RecordingEngine::drawImage(const QRectF& target, const QImage& image, const QRectF& source,
                                Qt::ImageConversionFlags) {
    const QImage part = image.copy(source.toAlignedRect()).convertToFormat(QImage::Format_RGB32);
    if (part.isNull()) return;
    exporter::VectorImage out;
    const QRectF box = transform_.mapRect(target);
    out.target = {box.left(), box.top(), box.right(), box.bottom()};
    out.width = part.width();
    out.height = part.height();
    out.pixels.reserve(static_cast<size_t>(part.width()) * part.height());
    for (int row = 0; row < part.height(); ++row) {
        const auto* line = reinterpret_cast<const QRgb*>(part.constScanLine(row));
        for (int column = 0; column < part.width(); ++column)
            out.pixels.push_back(ColourOf(QColor(line[column])));
    }
    out.combineAnd = composition_ == QPainter::RasterOp_SourceAndDestination;
    picture_.Image(out);
}

}  // namespace plot
