// Axes at the sides: bottom and left edge of the world rectangle, ticks pointing outward,
// every few ticks a number, arrow heads and the axis labels.
#include "plot/side_axes.h"

#include <algorithm>
#include <cmath>

#include "expr/number_format.h"

namespace plot {

namespace {

constexpr int kTickDigits = 3;
constexpr long kMaxSteps = 2000;  // more ticks than this would only make a thick line
constexpr int kShortTick = 4, kLongTick = 6, kTextGap = 6, kArrow = 6;
// A tick that misses a bound by rounding noise still counts as on it.
constexpr Real kTickTolerance = 1e-9L;

Real RoundHalfEven(Real v) {
    const Real below = std::floor(v);
    const Real fraction = v - below;
    if (fraction > 0.5L) return below + 1;
    if (fraction < 0.5L) return below;
    return std::fmod(below, 2.0L) == 0 ? below : below + 1;
}

// Calls f(value, numbered) for every tick of a..b.
template <class F>
void ForEachTick(Real a, Real b, const F& f) {
    const auto ticks = SideTicksFor(a, b);
    if (!ticks || ticks->stepsInRange > kMaxSteps) return;
    const long every = std::max(1L, ticks->labelEvery);
    for (long i = 0; i <= kMaxSteps + 1; ++i) {
        const Real value = (ticks->first + i) * ticks->step;
        if (value > b + kTickTolerance * ticks->step) break;
        f(value, i % every == 0);
    }
}

}  // namespace

std::optional<SideTicks> SideTicksFor(Real a, Real b) {
    const Real range = b - a;
    const Real d = std::fabs(range) / 8;
    if (!(d > 0) || !std::isfinite(d)) return std::nullopt;
    const Real logarithm = std::log10(d);
    Real k = std::trunc(logarithm);
    if (logarithm < 0) k -= 1;
    SideTicks ticks;
    ticks.step = std::pow(10.0L, k);
    if (!(ticks.step > 0) || !std::isfinite(ticks.step)) return std::nullopt;
    ticks.first = RoundHalfEven(a / ticks.step);
    // The first tick at or after a. Far from zero, adding 1 may not change the number any more.
    const Real start = a - kTickTolerance * ticks.step;
    for (int guard = 0; ticks.first * ticks.step < start && guard < 4; ++guard) ticks.first += 1;
    const Real steps = RoundHalfEven(range / ticks.step);
    if (!std::isfinite(steps) || std::fabs(steps) > 1e9L) return std::nullopt;
    ticks.stepsInRange = static_cast<long>(steps);
    ticks.labelEvery = ticks.stepsInRange / 4;
    return ticks;
}

std::string SideTickText(Real value) {
    return expr::FormatGeneral(value, kTickDigits);
}

std::optional<int> SideLabelWidth(Real a, Real b, const SurfaceDevice& device,
                                  DrawingObjects& objects) {
    const auto ticks = SideTicksFor(a, b);
    if (!ticks) return std::nullopt;
    const int size = objects.font.size;
    objects.font.size = size - 1;
    int width = device.TextWidth(SideTickText(ticks->first * ticks->step));
    for (int i = 1; i <= 4; ++i) {
        const Real value = (ticks->first + static_cast<Real>(ticks->labelEvery) * i) * ticks->step;
        width = std::max(width, device.TextWidth(SideTickText(value)));
    }
    objects.font.size = size;
    return width;
}

void DrawSideAxes(SurfaceDevice& device, DrawingObjects& objects, Real x1, Real y1, Real x2,
                  Real y2, const SideAxesText& text) {
    const PixelMapping& map = device.Mapping();
    const int s = device.Scale();
    const QPoint origin = map.Map(x1, y1);
    const QPoint xEnd(map.X(x2), origin.y());
    const QPoint yEnd(origin.x(), map.Y(y2));
    device.Polyline({origin, xEnd});
    device.Polyline({origin, yEnd});

    const int size = objects.font.size;
    objects.font.size = size - 1;
    const int numberHeight = device.TextHeight("0");
    ForEachTick(x1, x2, [&](Real value, bool numbered) {
        const int column = map.X(value);
        const int length = (numbered ? kLongTick : kShortTick) * s;
        device.Polyline({{column, origin.y()}, {column, origin.y() + length}});
        if (!numbered) return;
        // Centred on the tick, but never partly outside the picture.
        const std::string number = SideTickText(value);
        const int width = device.TextWidth(number);
        const int left = std::clamp(column - width / 2, 0, std::max(0, device.Width() - width));
        device.Text({left, origin.y() + kTextGap * s}, number, 0);
    });
    ForEachTick(y1, y2, [&](Real value, bool numbered) {
        const int row = map.Y(value);
        const int length = (numbered ? kLongTick : kShortTick) * s;
        device.Polyline({{origin.x(), row}, {origin.x() - length, row}});
        if (!numbered) return;
        const std::string number = SideTickText(value);
        device.Text({origin.x() - kTextGap * s - device.TextWidth(number),
                     std::max(0, row - numberHeight / 2)},
                    number, 0);
    });
    objects.font.size = size;

    const int arrow = kArrow * s;
    device.Polyline({{xEnd.x() - arrow, xEnd.y() - arrow}, xEnd});
    device.Polyline({{xEnd.x() - arrow, xEnd.y() + arrow}, xEnd});
    device.Polyline({{yEnd.x() + arrow, yEnd.y() + arrow}, yEnd});
    device.Polyline({{yEnd.x() - arrow, yEnd.y() + arrow}, yEnd});

    if (!text.xLabel.empty()) {
        const int left = std::min(xEnd.x() + 1, device.Width() - device.TextWidth(text.xLabel));
        const int top = xEnd.y() - device.TextHeight(text.xLabel) - kTextGap * s;
        device.Text({left, top}, text.xLabel, 0);
    }
    if (!text.yLabel.empty()) device.Text({origin.x() + kTextGap * s, 0}, text.yLabel, 0);
}

}  // namespace plot
