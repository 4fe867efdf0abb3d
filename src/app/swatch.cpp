// Colour swatches.
#include "app/swatch.h"

#include <QMouseEvent>
#include <QPainter>

namespace app {

QColor ToQColor(uint32_t colour) {
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

uint32_t FromQColor(const QColor& colour) {
    return static_cast<uint32_t>(colour.red()) + 256u * static_cast<uint32_t>(colour.green()) +
           65536u * static_cast<uint32_t>(colour.blue());
}

Qt::BrushStyle ToQtBrush(plot::BrushStyle style) {
    switch (style) {
        case plot::BrushStyle::Solid:
            return Qt::SolidPattern;
        case plot::BrushStyle::Clear:
            return Qt::NoBrush;
        case plot::BrushStyle::Horizontal:
            return Qt::HorPattern;
        case plot::BrushStyle::Vertical:
            return Qt::VerPattern;
        case plot::BrushStyle::ForwardDiagonal:
            return Qt::FDiagPattern;
        case plot::BrushStyle::BackwardDiagonal:
            return Qt::BDiagPattern;
        case plot::BrushStyle::Cross:
            return Qt::CrossPattern;
        case plot::BrushStyle::DiagonalCross:
            return Qt::DiagCrossPattern;
    }
    return Qt::SolidPattern;
}

Swatch::Swatch(QWidget* parent) : QWidget(parent) {
    setMinimumSize(28, 16);
    setCursor(Qt::PointingHandCursor);
}

void Swatch::SetColour(const QColor& colour) {
    colour_ = colour;
    update();
}

void Swatch::SetLineWidth(int width) {
    lineWidth_ = width;
    update();
}

void Swatch::SetPattern(plot::BrushStyle pattern) {
    pattern_ = pattern;
    update();
}

void Swatch::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect box = rect().adjusted(0, 0, -1, -1);
    painter.fillRect(box, Qt::white);
    const QColor shown = isEnabled() ? colour_ : colour_.lighter(160);
    if (lineWidth_ > 0) {
        // A graph or axis swatch: the line as it will be drawn.
        painter.setPen(QPen(shown, lineWidth_ + 1));
        painter.drawLine(3, height() / 2, width() - 4, height() / 2);
    } else {
        painter.fillRect(box, QBrush(shown, ToQtBrush(pattern_)));
    }
    painter.setPen(isEnabled() ? Qt::black : Qt::gray);
    painter.drawRect(box);
}

void Swatch::mouseReleaseEvent(QMouseEvent* event) {
    if (!rect().contains(event->position().toPoint())) return;
    if (event->button() == Qt::LeftButton) emit LeftClicked();
    if (event->button() == Qt::RightButton) emit RightClicked();
}

}  // namespace app
