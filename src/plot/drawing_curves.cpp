// Drawing: sampled curves (kromme, stippelkromme, grafiek, gebied), the cobweb of
// webgrafiek and implicit curves, collected in pieces and flushed to all three outputs.
#include <algorithm>
#include <cmath>

#include "plot/drawing.h"

namespace plot {
namespace {

// However small a step the program asks for, one curve never takes more samples than
// this, so a run always ends.
constexpr Real kMaxSamples = 1'000'000;
constexpr Real kMaxIterations = 1'000'000;
constexpr Real kAreaStepsPerWidth = 1000;
constexpr int kGraphMargin = 10;  // samples beyond each side of the window
constexpr Real kFailedCorner = 99999;
constexpr Real kPoleLimit = 10;  // a crossing where |f| is larger is a pole, not the curve
constexpr Real kDefaultCellPixels = 5;

bool ValueAt(const Drawing::Function& f, Real x, Real& y) {
    y = 0;
    return f(x, y) && std::isfinite(y);
}

}  // namespace

// ---- Curve pieces ----

bool Drawing::Accepted(Real x, Real y) const {
    return x >= box_.x1 - std::fabs(box_.x1) && x <= box_.x2 + std::fabs(box_.x2) &&
           y >= box_.y1 - std::fabs(box_.y1) && y <= box_.y2 + std::fabs(box_.y2);
}

void Drawing::AddCurvePoint(Real x, Real y) {
    piece_.Add(x, y);
    if (eepicOn_) eepic_.AddPathPoint(x, y);
    if (tikzOn_) tikz_.AddPathPoint(x, y);
}

void Drawing::FlushCurve() {
    if (piece_.Count() > 0) {
        surface_.DrawPolyline(&piece_);
        if (pdfOn_) PdfPath(piece_.Points(), false, false);
        if (eepicOn_) eepic_.FlushPath();
        if (exporter::TikzWriter* tikz = TikzOut()) tikz->FlushPath();
    }
    piece_.Clear();
    eepic_.ClearPath();
    tikz_.ClearPath();
}

void Drawing::DiscardCurve() {
    piece_.Clear();
    eepic_.ClearPath();
    tikz_.ClearPath();
}

void Drawing::SampleCurve(const Curve& curve, Real tmin, Real tmax, Real dt, Real maxSamples) {
    if (!(dt > 0) || !Finite({tmin, tmax, dt, tmax - tmin})) return;
    if ((tmax - tmin) / dt > maxSamples) dt = (tmax - tmin) / maxSamples;
    // The count also ends the loop where t + dt no longer changes t.
    Real samples = 0;
    try {
        for (Real t = tmin; t < tmax + dt && samples <= maxSamples + 1; ++samples) {
            const Real value = t > tmax ? tmax : t;  // the last sample is exactly tmax
            Real x = 0, y = 0;
            if (curve(value, x, y) && Accepted(x, y)) {
                AddCurvePoint(x, y);
                t += dt;
            } else {
                FlushCurve();
                t += 2 * dt;  // the sample after a rejected one is skipped
            }
        }
    } catch (...) {
        DiscardCurve();
        throw;
    }
    FlushCurve();
}

void Drawing::SweepCurve(const Curve& curve, Real from, Real to, Real step) {
    if (!(step > 0) || !Finite({from, to, step, to - from})) return;
    if ((to - from) / step > kMaxSamples) step = (to - from) / kMaxSamples;
    try {
        // Counted, so that long sweeps do not drift from their end.
        for (Real k = 0; from + k * step <= to && k <= kMaxSamples + 1;) {
            Real x = 0, y = 0;
            if (curve(from + k * step, x, y) && Accepted(x, y)) {
                AddCurvePoint(x, y);
                k += 1;
            } else {
                FlushCurve();
                k += 2;
            }
        }
    } catch (...) {
        DiscardCurve();
        throw;
    }
    FlushCurve();
}

void Drawing::CurveT(const Curve& curve, Real tmin, Real tmax, Real dt) {
    SampleCurve(curve, tmin, tmax, dt, kMaxSamples);
}

void Drawing::DashedCurve(const Curve& curve, Real tmin, Real tmax, Real dt, Real dash, Real gap) {
    if (!Finite({tmin, tmax, dt, dash, gap})) return;
    const Real period = dash + gap;
    // A bound only, one dash above the count so that rounding never cuts the last one;
    // dashes that do not move on (period <= 0) would repeat the first one for ever.
    const Real dashes =
        period > 0 ? std::clamp<Real>(std::floor((tmax - tmin) / period) + 2, 1, kMaxSamples) : 1;
    const Real samplesPerDash = std::max<Real>(2, std::floor(kMaxSamples / dashes));
    Real s = tmin;
    Real drawn = 0;
    do {
        SampleCurve(curve, s, s + dash, dt, samplesPerDash);
        s += period;
        ++drawn;
    } while (s <= tmax && drawn < dashes);
}

void Drawing::Graph(const Function& f) {
    Real h = surface_.D2WorldXW() / surface_.Width();
    const Real span = box_.x2 - box_.x1 + 2 * kGraphMargin * h;
    if (!(h > 0) || !Finite({h, span})) return;
    if (span / h > kMaxSamples) h = span / kMaxSamples;
    const Real top = box_.y2 + std::fabs(box_.y2);
    const Real bottom = box_.y1 - std::fabs(box_.y1);
    const Real last = box_.x2 + kGraphMargin * h;
    Real samples = 0;
    try {
        for (Real x = box_.x1 - kGraphMargin * h; !(x > last) && samples <= kMaxSamples + 1;
             ++samples) {
            x += h;
            Real y = 0;
            // Only y is tested: x stays within the window by construction.
            if (ValueAt(f, x, y) && y <= top && y >= bottom) {
                AddCurvePoint(x, y);
            } else {
                FlushCurve();
                x += h;
            }
        }
    } catch (...) {
        DiscardCurve();
        throw;
    }
    FlushCurve();
}

// ---- gebied ----

void Drawing::Area(const std::vector<AreaPiece>& pieces) {
    std::vector<FloatPoint> outline;
    std::string pathText;
    const Real worldWidth = surface_.D2WorldXW();
    for (const AreaPiece& piece : pieces) {
        if (!piece.function || !Finite({piece.from, piece.to})) continue;
        const Real a = piece.from, b = piece.to;
        const Real d = b > a ? 1 : (b < a ? -1 : 0);
        Real step = d * worldWidth / kAreaStepsPerWidth;
        if (std::fabs(b - a) / kMaxSamples > std::fabs(step)) step = (b - a) / kMaxSamples;
        Real x = a;
        Real samples = 0;
        do {
            Real y = 0;
            // A point without a value is left out of the outline.
            if (ValueAt(piece.function, x, y)) {
                outline.push_back({x, y});
                if (eepicOn_) pathText += eepic_.PointLine(x, y);
            }
            if (d == 0) break;  // equal bounds: the piece is its first point
            x += step;
        } while (d * (b - x) >= 0 && ++samples <= kMaxSamples + 1);
    }
    if (outline.empty()) return;

    TFloatPointList list;
    for (const FloatPoint& p : outline) list.Add(p.x, p.y);
    ApplyFillState();
    surface_.DrawPolygon(&list);
    if (pdfOn_) PdfPath(outline, true, PdfFill());
    if (eepicOn_) eepic_.Add("\\path" + pathText + eepic_.Point(outline[0].x, outline[0].y));
    if (exporter::TikzWriter* tikz = TikzOut()) {
        std::vector<exporter::WorldPoint> world;
        for (const FloatPoint& p : outline) world.push_back({p.x, p.y});
        tikz->Add(tikz->Path(world, true));
    }
    RestoreObjects();
}

// ---- webgrafiek ----

void Drawing::WebGraph(const Function& f, Real xstart, Real iterations, Real skip) {
    if (!f || !Finite({xstart, iterations, skip})) return;
    Pen& pen = surface_.GetPen();
    pen.color = kBlack;
    try {
        Graph([](Real x, Real& y) {
            y = x;
            return true;
        });
        Graph(f);
    } catch (...) {
        pen.color = state_.penColour;
        pen.width = state_.lineWidth;
        throw;
    }
    pen.color = state_.penColour;
    pen.width = state_.lineWidth;

    const Real passes = std::min(std::round(iterations), kMaxIterations);
    const Real firstDrawn = std::round(skip);
    Real x = xstart, y = 0;
    if (!ValueAt(f, x, y)) return;
    if (skip < 1) PlainLine(x, 0, x, y);  // from the x-axis to the graph

    // The moves of gaNaar and lijnNaar, with one PDF subpath per drawn pass.
    auto moveTo = [&](Real px, Real py) {
        surface_.MoveToPoint(px, py);
        eepic_.MoveTo(px, py);
        tikz_.MoveTo(px, py);
        if (pdfOn_) pdf_.StartPath(pen.color, surface_.GetBrush().color, px, py);
        currentX_ = px;
        currentY_ = py;
    };
    auto lineTo = [&](Real px, Real py) {
        surface_.DrawLineTo(px, py);
        ForEachText([&](auto& out) { out.Add(out.LineTo(px, py)); });
        if (!eepicOn_) eepic_.MoveTo(px, py);
        if (!tikzOn_) tikz_.MoveTo(px, py);
        if (pdfOn_) pdf_.LineTo(px, py);
        currentX_ = px;
        currentY_ = py;
    };
    if (pdfOn_) WidePenBegin();
    bool lastDrawn = false;
    for (Real k = 1; k <= passes; ++k) {
        const bool drawn = firstDrawn <= k;
        lastDrawn = drawn;
        if (drawn) {
            moveTo(x, y);
            lineTo(y, y);  // across to the line y = x
        }
        x = y;
        if (!ValueAt(f, x, y)) break;  // the orbit has no next value
        if (drawn) lineTo(x, y);       // up or down to the graph
    }
    if (pdfOn_) {
        if (lastDrawn) pdf_.EndPath(false, false);
        WidePenEnd();
    }
}

// ---- impliciet2 ----

void Drawing::CellCurve(const std::vector<FloatPoint>& points) {
    const bool polygon = points.size() > 2;
    TFloatPointList list;
    for (const FloatPoint& p : points) list.Add(p.x, p.y);
    // A curve, not a filled figure: whatever brush is set stays out of the cell.
    Brush& brush = surface_.GetBrush();
    const BrushStyle brushStyle = brush.style;
    brush.style = BrushStyle::Clear;
    if (polygon)
        surface_.DrawPolygon(&list);
    else
        surface_.DrawPolyline(&list);
    if (pdfOn_) PdfPath(points, polygon, false);
    brush.style = brushStyle;
    TextPath(points, polygon);
}

void Drawing::Implicit(const Function2& f, Real minx, Real maxx, Real miny, Real maxy,
                       Real pixels) {
    if (!f || !Finite({minx, maxx, miny, maxy, pixels})) return;
    const Real p = pixels < 0.5L ? kDefaultCellPixels : pixels;
    const Real dx = p * (maxx - minx) / surface_.Width();
    const Real dy = p * (maxy - miny) / surface_.Height();
    // Equal bounds give a zero cell, which would never get past the far bound.
    if (!(dx > 0) || !(dy > 0) || !Finite({dx, dy})) return;
    const Real maxColumns = std::floor((maxx - minx) / dx) + 2;
    const Real maxRows = std::floor((maxy - miny) / dy) + 2;

    auto value = [&](Real x, Real y) {
        Real v = 0;
        return f(x, y, v) && std::isfinite(v) ? v : kFailedCorner;
    };
    std::vector<FloatPoint> points;
    Real rows = 0;
    for (Real y = miny; y <= maxy && rows < maxRows; y += dy, ++rows) {
        Real columns = 0;
        for (Real x = minx; x <= maxx && columns < maxColumns; x += dx, ++columns) {
            const FloatPoint corner[4] = {{x, y}, {x + dx, y}, {x + dx, y + dy}, {x, y + dy}};
            Real v[4];
            for (int i = 0; i < 4; ++i) v[i] = value(corner[i].x, corner[i].y);
            points.clear();
            for (int i = 0; i < 4; ++i) {
                const int j = (i + 1) % 4;
                if (v[i] == 0) points.push_back(corner[i]);
                // A zero end is already a point of its own.
                if (v[i] == kFailedCorner || v[j] == kFailedCorner || v[i] == 0 || v[j] == 0 ||
                    v[i] * v[j] > 0)
                    continue;
                const Real t = v[i] / (v[i] - v[j]);
                const FloatPoint crossing{corner[i].x + t * (corner[j].x - corner[i].x),
                                          corner[i].y + t * (corner[j].y - corner[i].y)};
                Real at = 0;
                if (f(crossing.x, crossing.y, at) && std::fabs(at) < kPoleLimit)
                    points.push_back(crossing);
            }
            if (!points.empty()) CellCurve(points);
        }
    }
}

// ---- impliciet3 ----

namespace {

constexpr Real kTraceTolerance = 0.00001L;
constexpr int kStartCorrections = 21;

// Newton along one coordinate towards f = 0; true when |f| ends below the tolerance.
bool CorrectStart(const Drawing::Function2& f, const Drawing::Function2& derivative, Real& x,
                  Real& y, bool alongY) {
    Real value = 0, slope = 0;
    for (int i = 0; i < kStartCorrections; ++i) {
        if (!f(x, y, value) || std::fabs(value) < kTraceTolerance) break;
        if (!derivative(x, y, slope) || slope == 0) break;
        (alongY ? y : x) -= value / slope;
    }
    return f(x, y, value) && std::fabs(value) < kTraceTolerance;
}

}  // namespace

void Drawing::ImplicitTrace(const Function2& f, const Function2& fx, const Function2& fy, Real x0,
                            Real y0, Real step, Real maxSteps) {
    if (!Finite({x0, y0, step, maxSteps})) return;
    Real x = x0, y = y0;
    if (!CorrectStart(f, fy, x, y, true)) {
        x = x0;
        y = y0;
        if (!CorrectStart(f, fx, x, y, false)) return;  // no point of the curve near: nothing
    }
    const Real steps = std::min(maxSteps, kMaxIterations);
    TraceBranch(fx, fy, {x, y}, step, steps);
    TraceBranch(fx, fy, {x, y}, -step, steps);
}

// Heun's method on the tangent field, until the branch comes back to its start, leaves
// the world enlarged 1.4 times from the origin, or has taken maxSteps + 1 steps.
void Drawing::TraceBranch(const Function2& fx, const Function2& fy, FloatPoint start, Real h,
                          Real maxSteps) {
    const Real x1 = surface_.D2WorldX1(), x2 = x1 + surface_.D2WorldXW();
    const Real y1 = surface_.D2WorldY1(), y2 = y1 + surface_.D2WorldYW();
    if (eepicOn_) eepic_.FlushPath();
    if (exporter::TikzWriter* tikz = TikzOut()) tikz->FlushPath();
    TFloatPointList trace;
    trace.Add(start.x, start.y);
    if (eepicOn_) eepic_.AddPathPoint(start.x, start.y);
    if (tikzOn_) tikz_.AddPathPoint(start.x, start.y);
    Real x = start.x, y = start.y;
    for (Real count = 0;; ++count) {
        Real gx1, gy1, gx2, gy2;
        if (!fx(x, y, gx1) || !fy(x, y, gy1)) break;
        const Real dx1 = -h * gy1, dy1 = h * gx1;
        if (!fx(x + dx1, y + dy1, gx2) || !fy(x + dx1, y + dy1, gy2)) break;
        const Real dx2 = -h * gy2, dy2 = h * gx2;
        x += (dx1 + dx2) / 2;
        y += (dy1 + dy2) / 2;
        if (!std::isfinite(x) || !std::isfinite(y)) break;
        trace.Add(x, y);
        if (eepicOn_) eepic_.AddPathPoint(x, y);
        if (tikzOn_) tikz_.AddPathPoint(x, y);
        if ((x == start.x && y == start.y) || x > 1.4L * x2 || x < 1.4L * x1 || y > 1.4L * y2 ||
            y < 1.4L * y1 || count >= maxSteps) {
            break;
        }
    }
    surface_.DrawPolyline(&trace);
    if (pdfOn_) PdfPath(trace.Points(), false, false);
    if (eepicOn_) eepic_.FlushPath();
    if (exporter::TikzWriter* tikz = TikzOut()) tikz->FlushPath();
}

}  // namespace plot
