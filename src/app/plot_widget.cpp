// The plot surface widget.
#include "app/plot_widget.h"

#include <QMouseEvent>
#include <QPainter>

namespace app {

namespace {

// The corner that redraws when clicked, in pixels.
constexpr int kCornerSize = 10;

}  // namespace

PlotWidget::PlotWidget(plot::TPlotSurface& surface, QWidget* parent)
    : QWidget(parent), surface_(surface) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(60, 60);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void PlotWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.drawImage(0, 0, surface_.Bitmap());
}

void PlotWidget::mousePressEvent(QMouseEvent* event) {
    const QPoint pixel = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        if (pixel.x() >= width() - kCornerSize && pixel.y() >= height() - kCornerSize) {
            emit CornerClicked();
            return;
        }
        emit LeftPressed();
        emit LeftDragged(pixel);
    }
}

void PlotWidget::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton) emit LeftDragged(event->position().toPoint());
}

void PlotWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) emit RightReleased(event->position().toPoint());
    if (event->button() == Qt::LeftButton) emit LeftReleased();
}

void PlotWidget::resizeEvent(QResizeEvent*) {
    emit Resized(size());
}

}  // namespace app
