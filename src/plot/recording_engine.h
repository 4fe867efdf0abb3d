// RecordingEngine: a Qt paint engine that hands every figure painted on it, in device
// coordinates and already clipped, to a vector picture (metafile, SVG).
#pragma once

#include <QPaintEngine>
#include <QPainterPath>
#include <QPen>
#include <QTransform>
#include <optional>

#include "export/vector_picture.h"

namespace plot {

class RecordingEngine : public QPaintEngine {
public:
    explicit RecordingEngine(exporter::VectorPicture& picture);

    bool begin(QPaintDevice* device) override;
    bool end() override;
    Type type() const override { return QPaintEngine::User; }
    void updateState(const QPaintEngineState& state) override;

    void drawPath(const QPainterPath& path) override;
    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override;
    void drawPolygon(const QPoint* points, int count, PolygonDrawMode mode) override;
    void drawLines(const QLineF* lines, int count) override;
    void drawLines(const QLine* lines, int count) override;
    void drawRects(const QRectF* rects, int count) override;
    void drawRects(const QRect* rects, int count) override;
    void drawEllipse(const QRectF& rect) override;
    void drawEllipse(const QRect& rect) override;
    void drawPoints(const QPointF* points, int count) override;
    void drawPoints(const QPoint* points, int count) override;
    void drawTextItem(const QPointF& position, const QTextItem& item) override;
    void drawPixmap(const QRectF& target, const QPixmap& pixmap, const QRectF& source) override;
    void drawImage(const QRectF& target, const QImage& image, const QRectF& source,
                   Qt::ImageConversionFlags flags) override;

private:
    // Fills with the brush, then outlines with the pen, the path in logical coordinates.
    void Figure(const QPainterPath& path, bool fill);
    void ClipChanged(const QPaintEngineState& state);

    exporter::VectorPicture& picture_;
    QPen pen_;
    QBrush brush_;
    QTransform transform_;
    QPainter::CompositionMode composition_ = QPainter::CompositionMode_SourceOver;
    std::optional<QPainterPath> clip_;  // in device coordinates
};

}  // namespace plot
