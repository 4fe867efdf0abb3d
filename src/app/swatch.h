// A small coloured field of the main window that answers the left and the right
// mouse button separately (colour, line width, fill pattern).
#pragma once

#include <QWidget>

#include "plot/plot_surface.h"

namespace app {

class Swatch : public QWidget {
    Q_OBJECT

public:
    explicit Swatch(QWidget* parent = nullptr);

    QColor Colour() const { return colour_; }
    void SetColour(const QColor& colour);
    // Shown as a line of this width across the field (0: a plain field).
    void SetLineWidth(int width);
    // Shown as the fill pattern of the field.
    void SetPattern(plot::BrushStyle pattern);

    QSize sizeHint() const override { return {36, 18}; }

signals:
    void LeftClicked();
    void RightClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QColor colour_ = Qt::black;
    int lineWidth_ = 0;
    plot::BrushStyle pattern_ = plot::BrushStyle::Solid;
};

// Conversions between our colour integers (red + 256*green + 65536*blue) and Qt's.
QColor ToQColor(uint32_t colour);
uint32_t FromQColor(const QColor& colour);
Qt::BrushStyle ToQtBrush(plot::BrushStyle style);

}  // namespace app
