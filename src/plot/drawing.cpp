// Drawing: state commands, lines, figures and texts, each on the surface, the PDF page
// and the eepic text.
#include "plot/drawing.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cmath>
#include <numbers>

namespace plot {
namespace {

constexpr int kNoFill = 1;
constexpr int kSolidFill = 0;
constexpr int kLastFillStyle = 7;
constexpr int kPdfDefaultWidth = 2;
constexpr Real kSmallestExportDot = 0.1L;
constexpr int kRotatedEllipsePoints = 72;
// Control points of a quarter ellipse: 4/3 (sqrt 2 - 1) times the half-axis.
constexpr Real kBezierQuarter = 0.5522847L;

// makebox takes only position letters; anything else would break the picture.
std::string EepicAlignment(const std::string& alignment) {
    std::string letters;
    for (const char c : alignment)
        if (std::isalpha(static_cast<unsigned char>(c))) letters += c;
    return letters;
}

FloatPoint Turned(FloatPoint p, Real cx, Real cy, Real cosine, Real sine) {
    const Real dx = p.x - cx, dy = p.y - cy;
    return {cx + dx * cosine - dy * sine, cy + dx * sine + dy * cosine};
}

}  // namespace

BrushStyle BrushStyleOf(int fillStyle) {
    switch (fillStyle) {
        case 0:
            return BrushStyle::Solid;
        case 2:
            return BrushStyle::Horizontal;
        case 3:
            return BrushStyle::Vertical;
        case 4:
            return BrushStyle::ForwardDiagonal;
        case 5:
            return BrushStyle::BackwardDiagonal;
        case 6:
            return BrushStyle::Cross;
        case 7:
            return BrushStyle::DiagonalCross;
        default:
            return BrushStyle::Clear;
    }
}

Drawing::Drawing(TPlotSurface& surface)
    : surface_(surface), startFace_(surface.GetFont().name), box_(WorldBox::Of(surface)) {}

bool Drawing::Finite(std::initializer_list<Real> values) {
    return std::all_of(values.begin(), values.end(), [](Real v) { return std::isfinite(v); });
}

bool Drawing::Finite(const std::vector<FloatPoint>& points) {
    return std::all_of(points.begin(), points.end(), [](const FloatPoint& p) {
        return Finite({p.x, p.y});
    });
}

void Drawing::BeginRun(Colour fontColour) {
    Font& font = surface_.GetFont();
    font.color = fontColour;
    state_ = DrawingState{};
    state_.fontHalfPoints = 2 * font.size;
    state_.fontFace = font.name;
    startFace_ = font.name;
    savedPen_ = surface_.GetPen();
    savedBrush_ = surface_.GetBrush();
    savedFont_ = font;
    // Restoring after a filled figure must not leave a brush that fills the next one.
    surface_.GetBrush().style = BrushStyle::Clear;
    savedBrush_.style = BrushStyle::Clear;
    box_ = WorldBox::Of(surface_);
    view_.Reset();
    piece_.Clear();
    eepic_.ClearPath();
    tikz_.ClearPath();
}

// ---- Helpers shared by the figures ----

bool Drawing::Filled() const {
    return state_.fillStyle != kNoFill;
}

bool Drawing::PdfFill() {
    return surface_.GetBrush().style != BrushStyle::Clear;
}

void Drawing::ApplyFillState() {
    Brush& brush = surface_.GetBrush();
    brush.color = state_.fillColour;
    brush.style = BrushStyleOf(state_.fillStyle);
    if (Filled() && state_.fillColour != kWhite) {
        if (eepicOn_) eepic_.Add(std::string(exporter::EepicWriter::kShade));
        if (tikzOn_) tikz_.Shade();
    }
}

exporter::TikzWriter* Drawing::TikzOut() {
    if (!tikzOn_) return nullptr;
    tikz_.SetColours(surface_.GetPen().color, surface_.GetBrush().color, surface_.GetFont().color);
    return &tikz_;
}

void Drawing::TextPath(const std::vector<FloatPoint>& points, bool close) {
    if (eepicOn_) eepic_.Add(EepicPath(points, close));
    if (exporter::TikzWriter* tikz = TikzOut()) {
        std::vector<exporter::WorldPoint> world;
        world.reserve(points.size());
        for (const FloatPoint& p : points) world.push_back({p.x, p.y});
        tikz->Add(tikz->Path(world, close));
    }
}

void Drawing::RestoreObjects() {
    surface_.GetPen() = savedPen_;
    surface_.GetBrush() = savedBrush_;
    surface_.GetFont() = savedFont_;
    surface_.GetPen().color = state_.penColour;
    surface_.GetPen().width = state_.lineWidth;
}

void Drawing::WidePenBegin() {
    const int width = surface_.GetPen().width;
    if (width > 1) pdf_.LineWidth(2 * static_cast<Real>(width));
}

void Drawing::WidePenEnd() {
    if (surface_.GetPen().width > 1) pdf_.LineWidth(kPdfDefaultWidth);
}

void Drawing::PdfPath(const std::vector<FloatPoint>& points, bool close, bool fill) {
    if (points.empty()) return;
    WidePenBegin();
    pdf_.StartPath(surface_.GetPen().color, surface_.GetBrush().color, points[0].x, points[0].y);
    for (size_t i = 1; i < points.size(); ++i) pdf_.LineTo(points[i].x, points[i].y);
    pdf_.EndPath(close, fill);
    WidePenEnd();
}

std::string Drawing::EepicPath(const std::vector<FloatPoint>& points, bool close) const {
    std::string entry = "\\path";
    for (const FloatPoint& p : points) entry += eepic_.Point(p.x, p.y);
    // A closed outline returns to its first point, or LaTeX would leave the last edge out.
    const bool open = points.size() > 2 &&
                      (points.front().x != points.back().x || points.front().y != points.back().y);
    if (close && open) entry += eepic_.Point(points.front().x, points.front().y);
    return entry;
}

void Drawing::FilledPolygon(const std::vector<FloatPoint>& points) {
    if (points.empty() || !Finite(points)) return;
    TFloatPointList list;
    for (const FloatPoint& p : points) list.Add(p.x, p.y);
    ApplyFillState();
    surface_.DrawPolygon(&list);
    if (pdfOn_) PdfPath(points, true, PdfFill());
    TextPath(points, true);
    RestoreObjects();
}

// ---- State commands ----

void Drawing::SetPenColour(Colour colour) {
    state_.penColour = colour;
    surface_.GetPen().color = colour;
}

void Drawing::SetLineWidth(int width) {
    if (width == state_.lineWidth) return;
    ForEachText([&](auto& out) {
        std::string line = out.LineWidth(width);
        if (!line.empty()) out.Add(std::move(line));
    });
    state_.lineWidth = width;
    surface_.GetPen().color = state_.penColour;
    surface_.GetPen().width = width;
}

void Drawing::SetFillColour(Colour colour) {
    state_.fillColour = colour;
}

void Drawing::SetFillStyle(int style) {
    if (style >= kSolidFill && style <= kLastFillStyle) state_.fillStyle = style;
}

void Drawing::SetFontSize(Real points) {
    const Real halfPoints = std::round(2 * points);
    if (!std::isfinite(halfPoints)) return;
    state_.fontHalfPoints = static_cast<int>(std::clamp<Real>(halfPoints, INT_MIN, INT_MAX));
}

void Drawing::SetFontColour(Colour colour) {
    surface_.GetFont().color = colour;
    savedFont_.color = colour;
}

void Drawing::AddFontStyle(const std::string& style) {
    if (style.empty()) {
        state_.bold = state_.italic = state_.underline = false;
    } else if (style == "vet") {
        state_.bold = true;
    } else if (style == "cursief") {
        state_.italic = true;
    } else if (style == "onderstreept") {
        state_.underline = true;
    }
}

void Drawing::SetFontFace(const std::string& face) {
    state_.fontFace = face.empty() ? startFace_ : face;
}

// ---- Lines ----

void Drawing::PlainLine(Real x1, Real y1, Real x2, Real y2) {
    if (!Finite({x1, y1, x2, y2})) return;
    surface_.DrawLine(x1, y1, x2, y2);
    if (pdfOn_) PdfPath({{x1, y1}, {x2, y2}}, false, false);
    ForEachText([&](auto& out) { out.Add(out.Line(x1, y1, x2, y2)); });
}

void Drawing::Line(Real x1, Real y1, Real x2, Real y2) {
    PlainLine(x1, y1, x2, y2);
}

void Drawing::DottedLine(Real x1, Real y1, Real x2, Real y2) {
    if (!Finite({x1, y1, x2, y2})) return;
    Pen& pen = surface_.GetPen();
    pen.style = PenStyle::Dot;
    surface_.DrawLine(x1, y1, x2, y2);
    pen.style = PenStyle::Solid;
    if (pdfOn_) {
        WidePenBegin();
        pdf_.DrawLine(pen.color, true, x1, y1, x2, y2);
        WidePenEnd();
    }
    ForEachText([&](auto& out) { out.Add(out.DottedLine(x1, y1, x2, y2)); });
}

void Drawing::MoveTo(Real x, Real y) {
    if (!Finite({x, y})) return;
    surface_.MoveToPoint(x, y);
    if (pdfOn_) pdf_.MoveTo(x, y);
    eepic_.MoveTo(x, y);
    tikz_.MoveTo(x, y);
    currentX_ = x;
    currentY_ = y;
}

void Drawing::LineTo(Real x, Real y) {
    if (!Finite({x, y})) return;
    surface_.DrawLineTo(x, y);
    // A path of its own, so the line has the pen colour of this moment.
    if (pdfOn_) PdfPath({{currentX_, currentY_}, {x, y}}, false, false);
    ForEachText([&](auto& out) { out.Add(out.LineTo(x, y)); });
    if (!eepicOn_) eepic_.MoveTo(x, y);
    if (!tikzOn_) tikz_.MoveTo(x, y);
    currentX_ = x;
    currentY_ = y;
}

void Drawing::Vector(Real x, Real y, Real a, Real b) {
    if (!Finite({x, y, a, b})) return;
    surface_.DrawVector(x, y, a, b);
    if (pdfOn_) {
        WidePenBegin();
        pdf_.DrawVector(surface_.GetPen().color, x, y, a, b);
        WidePenEnd();
    }
    if (exporter::TikzWriter* tikz = TikzOut()) tikz->Add(tikz->Arrow(x, y, a, b));
}

void Drawing::Path(const std::vector<FloatPoint>& points) {
    if (points.empty() || !Finite(points)) return;
    TFloatPointList list;
    for (const FloatPoint& p : points) list.Add(p.x, p.y);
    surface_.DrawPolyline(&list);
    if (pdfOn_) PdfPath(points, false, false);
    TextPath(points, false);
}

void Drawing::Polygon(const std::vector<FloatPoint>& points) {
    FilledPolygon(points);
}

void Drawing::Bezier(const std::vector<FloatPoint>& points) {
    if (points.empty() || !Finite(points)) return;
    TFloatPointList list;
    for (const FloatPoint& p : points) list.Add(p.x, p.y);
    surface_.DrawPolyBezier(&list);
    if (pdfOn_ && points.size() >= 4) {
        WidePenBegin();
        pdf_.StartPath(surface_.GetPen().color, surface_.GetBrush().color, points[0].x,
                       points[0].y);
        for (size_t i = 1; i + 2 < points.size(); i += 3)
            pdf_.AddCurveToPath(points[i].x, points[i].y, points[i + 1].x, points[i + 1].y,
                                points[i + 2].x, points[i + 2].y);
        pdf_.EndPath(false, false);
        WidePenEnd();
    }
    if (eepicOn_ || tikzOn_) {
        std::vector<exporter::WorldPoint> world;
        world.reserve(points.size());
        for (const FloatPoint& p : points) world.push_back({p.x, p.y});
        ForEachText([&](auto& out) { out.Add(out.Spline(world)); });
    }
}

// ---- Figures with a fill ----

void Drawing::Rectangle(Real x1, Real y1, Real x2, Real y2) {
    if (!Finite({x1, y1, x2, y2})) return;
    ApplyFillState();
    surface_.DrawRectangle(x1, y1, x2, y2);
    if (pdfOn_) {
        WidePenBegin();
        pdf_.Rectangle(surface_.GetPen().color, PdfFill(), surface_.GetBrush().color,
                       std::min(x1, x2), std::min(y1, y2), std::fabs(x2 - x1), std::fabs(y2 - y1));
        WidePenEnd();
    }
    ForEachText([&](auto& out) { out.Add(out.Rectangle(x1, y1, x2, y2)); });
    RestoreObjects();
}

void Drawing::Ellipse(Real x1, Real y1, Real x2, Real y2) {
    if (!Finite({x1, y1, x2, y2})) return;
    ApplyFillState();
    surface_.DrawEllipse(x1, y1, x2, y2);
    if (pdfOn_) {
        WidePenBegin();
        pdf_.Ellipse(surface_.GetPen().color, PdfFill(), surface_.GetBrush().color, x1, y1, x2, y2);
        WidePenEnd();
    }
    ForEachText([&](auto& out) { out.Add(out.Ellipse(x1, y1, x2, y2)); });
    RestoreObjects();
}

void Drawing::CircleThrough(Real m1, Real m2, Real p1, Real p2) {
    const Real r = std::hypot(p1 - m1, p2 - m2);
    if (!Finite({m1, m2, r})) return;
    ApplyFillState();
    surface_.DrawEllipse(m1 - r, m2 - r, m1 + r, m2 + r);
    if (pdfOn_) {
        WidePenBegin();
        pdf_.Ellipse(surface_.GetPen().color, PdfFill(), surface_.GetBrush().color, m1 - r, m2 - r,
                     m1 + r, m2 + r);
        WidePenEnd();
    }
    ForEachText([&](auto& out) { out.Add(out.Circle(m1, m2, r)); });
    RestoreObjects();
}

void Drawing::CircleArc(ArcKind kind, Real m1, Real m2, Real r, Real startAngle, Real endAngle) {
    if (!Finite({m1, m2, r, startAngle, endAngle})) return;
    const Real sx = m1 + r * std::cos(startAngle), sy = m2 + r * std::sin(startAngle);
    const Real ex = m1 + r * std::cos(endAngle), ey = m2 + r * std::sin(endAngle);
    const Real x1 = m1 - r, y1 = m2 - r, x2 = m1 + r, y2 = m2 + r;
    const bool closed = kind != ArcKind::Arc;
    if (closed) ApplyFillState();

    if (kind == ArcKind::Arc) surface_.DrawArc(x1, y1, x2, y2, sx, sy, ex, ey);
    if (kind == ArcKind::Sector) surface_.DrawPie(x1, y1, x2, y2, sx, sy, ex, ey);
    if (kind == ArcKind::Segment) surface_.DrawChord(x1, y1, x2, y2, sx, sy, ex, ey);

    if (pdfOn_) {
        const Colour pen = surface_.GetPen().color, fill = surface_.GetBrush().color;
        // The start and end points, not the bare angles, fix the rays, as on the surface.
        const Real from = std::atan2(sy - m2, sx - m1), to = std::atan2(ey - m2, ex - m1);
        WidePenBegin();
        if (kind == ArcKind::Arc) pdf_.Arc(pen, x1, y1, x2, y2, from, to);
        if (kind == ArcKind::Sector) pdf_.Pie(pen, PdfFill(), fill, x1, y1, x2, y2, from, to);
        if (kind == ArcKind::Segment) pdf_.Chord(pen, PdfFill(), fill, x1, y1, x2, y2, from, to);
        WidePenEnd();
    }
    if (eepicOn_) {
        for (std::string& entry : eepic_.Arc(m1, m2, r, startAngle, endAngle))
            eepic_.Add(std::move(entry));
        if (kind == ArcKind::Sector)
            eepic_.Add("\\path" + eepic_.Point(sx, sy) + eepic_.Point(m1, m2) +
                       eepic_.Point(ex, ey));
        if (kind == ArcKind::Segment) eepic_.Add(eepic_.Line(sx, sy, ex, ey));
    }
    if (exporter::TikzWriter* tikz = TikzOut()) {
        // One closed figure, so that a sector or segment fills as on the screen.
        const auto shape = kind == ArcKind::Arc      ? exporter::TikzWriter::ArcShape::Arc
                           : kind == ArcKind::Sector ? exporter::TikzWriter::ArcShape::Sector
                                                     : exporter::TikzWriter::ArcShape::Segment;
        for (std::string& entry : tikz->Arc(m1, m2, r, startAngle, endAngle, shape))
            tikz->Add(std::move(entry));
    }
    if (closed) RestoreObjects();
}

void Drawing::RotatedEllipse(Real x1, Real y1, Real x2, Real y2, Real alpha) {
    if (!Finite({x1, y1, x2, y2, alpha})) return;
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    const Real cx = (x1 + x2) / 2, cy = (y1 + y2) / 2;
    const Real a = (x2 - x1) / 2, b = (y2 - y1) / 2;
    const Real cosine = std::cos(alpha), sine = std::sin(alpha);
    auto turn = [&](FloatPoint p) { return alpha == 0 ? p : Turned(p, cx, cy, cosine, sine); };

    ApplyFillState();
    if (pdfOn_) {
        // The PDF page gets the exact curve; the surface is not drawn in this run.
        WidePenBegin();
        pdf_.RotatedEllipse(surface_.GetPen().color, PdfFill(), surface_.GetBrush().color, x1, y1,
                            x2, y2, -alpha);
        WidePenEnd();
    } else if (!Filled() && !eepicOn_ && !tikzOn_) {
        const Real ka = kBezierQuarter * a, kb = kBezierQuarter * b;
        const FloatPoint unit[13] = {{cx + a, cy}, {cx + a, cy + kb}, {cx + ka, cy + b},
                                     {cx, cy + b}, {cx - ka, cy + b}, {cx - a, cy + kb},
                                     {cx - a, cy}, {cx - a, cy - kb}, {cx - ka, cy - b},
                                     {cx, cy - b}, {cx + ka, cy - b}, {cx + a, cy - kb},
                                     {cx + a, cy}};
        TFloatPointList list;
        for (const FloatPoint& p : unit) {
            const FloatPoint q = turn(p);
            list.Add(q.x, q.y);
        }
        surface_.DrawPolyBezier(&list);
    } else {
        std::vector<FloatPoint> points;
        TFloatPointList list;
        for (int i = 0; i < kRotatedEllipsePoints; ++i) {
            const Real phi = i * 2 * std::numbers::pi_v<Real> / kRotatedEllipsePoints;
            const FloatPoint q = turn({a * std::cos(phi) + cx, b * std::sin(phi) + cy});
            points.push_back(q);
            list.Add(q.x, q.y);
        }
        surface_.DrawPolygon(&list);
        TextPath(points, true);
    }
    RestoreObjects();
}

void Drawing::Dot(Real x, Real y, Real size) {
    if (!Finite({x, y, size})) return;
    const bool exporting = eepicOn_ || pdfOn_ || tikzOn_;
    if (size == 0 && !exporting) {
        surface_.DrawPoint(x, y);
        return;
    }
    if (exporting && size < kSmallestExportDot) size = kSmallestExportDot;
    const Real rx = size * surface_.D2WorldXW() / surface_.Width();
    const Real ry = size * surface_.D2WorldYW() / surface_.Height();
    const Colour fillColour = state_.fillColour;
    const int fillStyle = state_.fillStyle;
    state_.fillColour = state_.penColour;
    state_.fillStyle = kSolidFill;
    ApplyFillState();
    if (!exporting) surface_.DrawEllipse(x - rx, y - ry, x + rx, y + ry);
    if (pdfOn_) {
        const Colour pen = surface_.GetPen().color, fill = surface_.GetBrush().color;
        WidePenBegin();
        if (size >= 1)
            pdf_.Ellipse(pen, PdfFill(), fill, x - rx, y - ry, x + rx, y + ry);
        else
            pdf_.Rectangle(pen, PdfFill(), fill, x - std::fabs(rx), y - std::fabs(ry),
                           2 * std::fabs(rx), 2 * std::fabs(ry));
        WidePenEnd();
    }
    ForEachText([&](auto& out) { out.Add(out.Ellipse(x - rx, y - ry, x + rx, y + ry)); });
    state_.fillColour = fillColour;
    state_.fillStyle = fillStyle;
    RestoreObjects();
}

void Drawing::HalfPlane(HalfPlaneKind kind, Real a, Real b, Real c) {
    if (!Finite({a, b, c})) return;
    const Real x1 = surface_.D2WorldX1(), y1 = surface_.D2WorldY1();
    const Real x2 = x1 + surface_.D2WorldXW(), y2 = y1 + surface_.D2WorldYW();
    const FloatPoint corners[4] = {{x1, y1}, {x2, y1}, {x2, y2}, {x1, y2}};
    auto value = [&](FloatPoint p) { return a * p.x + b * p.y - c; };
    auto inside = [&](Real v) { return kind == HalfPlaneKind::Greater ? v > 0 : v <= 0; };

    std::vector<FloatPoint> polygon;
    for (int i = 0; i < 4; ++i) {
        const FloatPoint p = corners[i], q = corners[(i + 1) % 4];
        const Real vp = value(p), vq = value(q);
        if (inside(vp)) polygon.push_back(p);
        if (inside(vp) != inside(vq)) {
            // Where a x + b y = c cuts the edge.
            const Real t = vp / (vp - vq);
            polygon.push_back({p.x + t * (q.x - p.x), p.y + t * (q.y - p.y)});
        }
    }
    FilledPolygon(polygon);
}

// ---- Texts ----

void Drawing::TextCommand(Real x, Real y, const std::string& text, const std::string& alignment,
                          int angle, bool aligned) {
    if (!Finite({x, y})) return;
    Font& font = surface_.GetFont();
    Brush& brush = surface_.GetBrush();
    const BrushStyle brushStyle = brush.style;
    const bool bold = font.bold, italic = font.italic, underline = font.underline;
    auto restore = [&] {
        font.size = savedFont_.size;
        font.name = startFace_;
        brush.style = brushStyle;
        font.bold = bold;
        font.italic = italic;
        font.underline = underline;
    };
    font.bold = state_.bold;
    font.italic = state_.italic;
    font.underline = state_.underline;
    brush.style = BrushStyle::Clear;  // text is drawn transparently
    font.size = state_.fontHalfPoints / 2;
    font.name = state_.fontFace;
    try {
        const int w = surface_.TextWidth(text), h = surface_.TextHeight(text);
        Real left = x, top = y;
        if (aligned) AlignText(surface_, text, alignment, left, top);
        surface_.WorldTextOut(left, top, text, angle);
        if (pdfOn_) {
            const exporter::PdfFont pdfFont = PdfFontOf(font);
            pdf_.Text(pdfFont, text, angle, w, h, left, top);
        }
        // LaTeX aligns the box itself, so the picture texts keep the given point.
        tikz_.SetTextAngle(angle);
        ForEachText([&](auto& out) {
            const std::string latex = exporter::EepicWriter::LatexText(text);
            out.Add(aligned ? out.AlignedText(x, y, latex, EepicAlignment(alignment))
                            : out.Text(x, y, latex));
        });
    } catch (...) {
        restore();
        throw;
    }
    restore();
}

void Drawing::Text(Real x, Real y, const std::string& text) {
    TextCommand(x, y, text, "", 0, false);
}

void Drawing::AlignedText(Real x, Real y, const std::string& text, const std::string& alignment) {
    TextCommand(x, y, text, alignment, 0, true);
}

void Drawing::RotatedText(Real x, Real y, const std::string& text, Real angleDegrees) {
    if (!std::isfinite(angleDegrees)) return;
    const int angle = static_cast<int>(std::fmod(std::round(angleDegrees), 360.0L));
    TextCommand(x, y, text, "", angle, false);
}

void AlignText(const TPlotSurface& surface, const std::string& text, const std::string& alignment,
               Real& x, Real& y) {
    const int px = surface.WindowX(x), py = surface.WindowY(y);
    const int w = surface.TextWidth(text), h = surface.TextHeight(text);
    const char horizontal = alignment.size() > 0 ? alignment[0] : 'l';
    const char vertical = alignment.size() > 1 ? alignment[1] : 't';
    if (horizontal == 'r') x = surface.WorldX(px - w);
    if (horizontal == 'c') x = surface.WorldX(px - w / 2);
    if (vertical == 'b') y = surface.WorldY(py - h);
    if (vertical == 'c') y = surface.WorldY(py - h / 2);
}

exporter::PdfFont PdfFontOf(const Font& font) {
    return {font.name,     static_cast<Real>(font.size), font.color, font.bold, font.italic,
            font.underline};
}

}  // namespace plot
