// The plot surface on screen: paints the surface's bitmap and reports mouse work
// in pixels; the main window turns it into world coordinates and runs.
#pragma once

#include <QWidget>

#include "plot/plot_surface.h"

namespace app {

class PlotWidget : public QWidget {
    Q_OBJECT

public:
    PlotWidget(plot::TPlotSurface& surface, QWidget* parent = nullptr);

signals:
    void LeftPressed();  // before the LeftDragged of the press
    void LeftDragged(QPoint pixel);
    void LeftReleased();
    void RightReleased(QPoint pixel);
    void CornerClicked();
    void Resized(QSize size);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    plot::TPlotSurface& surface_;
};

}  // namespace app
