// Scanline flood fill on the bitmap: first find the area, then paint it, so filling an
// area with its own colour ends like any other fill.
#include "plot/flood_fill.h"

#include <QImage>
#include <QPainter>
#include <cstdint>
#include <vector>

#include "plot/drawing_objects.h"

namespace plot {

namespace {

// The pixels of the area, as a mask over the clip rectangle.
class AreaMask {
public:
    explicit AreaMask(const QRect& area)
        : area_(area), marks_(static_cast<size_t>(area.width()) * area.height(), 0) {}

    bool Marked(int x, int y) const { return marks_[Index(x, y)] != 0; }
    void Mark(int x, int y) {
        marks_[Index(x, y)] = 1;
        bounds_ |= QRect(x, y, 1, 1);
    }
    const QRect& Bounds() const { return bounds_; }

private:
    size_t Index(int x, int y) const {
        return static_cast<size_t>(y - area_.top()) * area_.width() + (x - area_.left());
    }

    QRect area_;
    std::vector<uint8_t> marks_;
    QRect bounds_;
};

}  // namespace

void FloodFill(QImage& image, const QRect& clip, QPoint start, Colour colour, FillStyle style,
               const Brush& brush) {
    const QRect area = clip.normalized() & image.rect();
    if (brush.style == BrushStyle::Clear || !area.contains(start)) return;

    const QRgb target = ToQColor(colour).rgb() & 0xFFFFFF;
    auto belongs = [&](int x, int y) {
        const bool same = (image.pixel(x, y) & 0xFFFFFF) == target;
        return style == FillStyle::Surface ? same : !same;
    };
    if (!belongs(start.x(), start.y())) return;

    AreaMask mask(area);
    auto open = [&](int x, int y) { return !mask.Marked(x, y) && belongs(x, y); };
    std::vector<QPoint> seeds{start};
    while (!seeds.empty()) {
        const QPoint seed = seeds.back();
        seeds.pop_back();
        const int y = seed.y();
        if (!open(seed.x(), y)) continue;
        int left = seed.x(), right = seed.x();
        while (left > area.left() && open(left - 1, y)) --left;
        while (right < area.right() && open(right + 1, y)) ++right;
        for (int x = left; x <= right; ++x) mask.Mark(x, y);
        // One seed per run of open pixels in the rows above and below.
        for (int row : {y - 1, y + 1}) {
            if (row < area.top() || row > area.bottom()) continue;
            bool inRun = false;
            for (int x = left; x <= right; ++x) {
                const bool isOpen = open(x, row);
                if (isOpen && !inRun) seeds.emplace_back(x, row);
                inRun = isOpen;
            }
        }
    }

    // Paint the brush on a transparent layer of the area's size, aligned with the bitmap so
    // hatches continue across neighbouring fills, and copy it through the mask.
    const QRect bounds = mask.Bounds();
    QImage layer(bounds.size(), QImage::Format_ARGB32);
    layer.fill(Qt::transparent);
    {
        QPainter painter(&layer);
        painter.setBrushOrigin(-bounds.topLeft());
        painter.fillRect(layer.rect(), ToQBrush(brush));
    }
    for (int y = bounds.top(); y <= bounds.bottom(); ++y) {
        for (int x = bounds.left(); x <= bounds.right(); ++x) {
            if (!mask.Marked(x, y)) continue;
            const QRgb paint = layer.pixel(x - bounds.left(), y - bounds.top());
            if (qAlpha(paint) != 0) image.setPixel(x, y, paint | 0xFF000000);
        }
    }
}

}  // namespace plot
