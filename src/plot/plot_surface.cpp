// TPlotSurface: world coordinates in, figures out on every device the surface draws on.
#include "plot/plot_surface.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "export/emf_writer.h"
#include "export/svg_writer.h"
#include "export/whole_file.h"
#include "plot/drawing_objects.h"
#include "plot/flood_fill.h"
#include "plot/recording_device.h"
#include "plot/side_axes.h"
#include "plot/surface_device.h"

namespace plot {

namespace {

const char* const kInvalidBounds = "Invalid D2-world bounds";
const char* const kNoWorldX = "Can't convert to world-x";
const char* const kNoWorldY = "Can't convert to world-y";
const char* const kXWidth = "x-worldwidth must be positive";
const char* const kYWidth = "y-worldwidth must be positive";
const char* const kZWidth = "z-worldwidth must be positive";
const char* const kInvalidD3Bounds = "Invalid D3-world bounds";
const char* const kNoBitmap = "Can't create a bitmap of that size";

// Height of the tick numbers' margin: a typical number, measured in the full font.
const char* const kLabelHeightSample = "-1.234567";

QImage NewBitmap(int width, int height) {
    QImage bitmap(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
    if (bitmap.isNull()) throw EPlotSurfaceError(kNoBitmap);
    bitmap.fill(Qt::white);
    return bitmap;
}

// The smallest box holding both corner pixels.
QRect BoxOf(QPoint a, QPoint b) {
    return QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                 QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y())));
}

bool Defined(std::initializer_list<Real> values) {
    return std::none_of(values.begin(), values.end(), [](Real v) { return std::isnan(v); });
}

void CheckD3Width(Real v, const char* message) {
    if (!(v > 0)) throw EPlotSurfaceError(message);
    if (!std::isfinite(v)) throw EPlotSurfaceError(kInvalidD3Bounds);
}

}  // namespace

// A vector picture the surface draws on beside its bitmap.
struct Recording {
    Recording(std::unique_ptr<exporter::VectorPicture> picture, int scale,
              const DrawingObjects& objects)
        : device(std::move(picture)), surface(device, scale, objects) {}
    RecordingDevice device;
    SurfaceDevice surface;
};

struct TPlotSurface::Impl {
    Impl(int width, int height) : bitmap(NewBitmap(width, height)), screen(bitmap, 1, objects) {}

    // Every figure goes through here, once for each device the surface draws on.
    template <class F>
    void ForEachDevice(const F& draw) {
        draw(screen);
        if (metafile) draw(metafile->surface);
        if (svg) draw(svg->surface);
    }

    void ArcFigure(ArcKind kind, Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4,
                   Real y4) {
        if (!Defined({x1, y1, x2, y2, x3, y3, x4, y4})) return;
        ForEachDevice([&](SurfaceDevice& device) {
            const PixelMapping& m = device.Mapping();
            device.ArcFigure(kind, BoxOf(m.Map(x1, y2), m.Map(x2, y1)), m.Map(x3, y3),
                             m.Map(x4, y4));
        });
    }

    // The list's points, or nothing for a missing list or one with an undefined point.
    static const std::vector<FloatPoint>* DefinedPoints(const TFloatPointList* list) {
        if (list == nullptr) return nullptr;
        for (const FloatPoint& p : list->Points())
            if (!Defined({p.x, p.y})) return nullptr;
        return &list->Points();
    }

    static std::vector<QPoint> Mapped(const SurfaceDevice& device,
                                      const std::vector<FloatPoint>& points) {
        std::vector<QPoint> result;
        result.reserve(points.size());
        for (const FloatPoint& p : points) result.push_back(device.Mapping().Map(p.x, p.y));
        return result;
    }

    // Pictures put on the bitmap pixel by pixel reach the recordings at their scale.
    template <class F>
    void ForEachRecording(const F& draw) {
        for (Recording* recording : {metafile.get(), svg.get()}) {
            if (recording == nullptr) continue;
            QPainter painter(&recording->device);
            draw(painter, recording->surface.Scale());
        }
    }

    DrawingObjects objects;
    QImage bitmap;
    SurfaceDevice screen;
    std::unique_ptr<Recording> metafile;
    std::unique_ptr<Recording> svg;
};

TPlotSurface::TPlotSurface(int width, int height) : impl_(std::make_unique<Impl>(width, height)) {
    SetWorld(worldX1_, worldY1_, worldX1_ + worldXW_, worldY1_ + worldYW_);
}

TPlotSurface::~TPlotSurface() = default;

int TPlotSurface::Width() const {
    return impl_->bitmap.width();
}

int TPlotSurface::Height() const {
    return impl_->bitmap.height();
}

void TPlotSurface::Resize(int width, int height) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (width == Width() && height == Height()) return;
    QImage bitmap = NewBitmap(width, height);
    {
        QPainter painter(&bitmap);
        painter.drawImage(0, 0, impl_->bitmap);
    }
    impl_->bitmap = bitmap;
    // Recordings start afresh at the new size.
    if (impl_->metafile) SetRecordMetafile(true, impl_->metafile->surface.Scale());
    if (impl_->svg) SetRecordSvg(true);
    SetClipToWorld(clipToWorld_);
}

// ---- Recordings ----

bool TPlotSurface::RecordMetafile() const {
    return impl_->metafile != nullptr;
}

void TPlotSurface::SetRecordMetafile(bool on, int scale) {
    impl_->metafile.reset();
    if (!on) return;
    scale = std::clamp(scale, 1, 2);
    impl_->metafile = std::make_unique<Recording>(
        std::make_unique<exporter::EmfWriter>(Width() * scale, Height() * scale), scale,
        impl_->objects);
    SetWorld(worldX1_, worldY1_, worldX1_ + worldXW_, worldY1_ + worldYW_);
}

bool TPlotSurface::RecordSvg() const {
    return impl_->svg != nullptr;
}

void TPlotSurface::SetRecordSvg(bool on) {
    impl_->svg.reset();
    if (!on) return;
    impl_->svg = std::make_unique<Recording>(
        std::make_unique<exporter::SvgWriter>(Width(), Height()), 1, impl_->objects);
    SetWorld(worldX1_, worldY1_, worldX1_ + worldXW_, worldY1_ + worldYW_);
}

std::string TPlotSurface::MetafileBytes() const {
    return impl_->metafile ? impl_->metafile->device.Picture().Bytes() : std::string();
}

std::string TPlotSurface::SvgBytes() const {
    return impl_->svg ? impl_->svg->device.Picture().Bytes() : std::string();
}

bool TPlotSurface::RecordingFull() const {
    return (impl_->metafile && impl_->metafile->device.Picture().Full()) ||
           (impl_->svg && impl_->svg->device.Picture().Full());
}

bool TPlotSurface::SaveMetafile(const std::string& path) const {
    return impl_->metafile && !impl_->metafile->device.Picture().Full() &&
           exporter::WriteWholeFile(path, MetafileBytes());
}

bool TPlotSurface::SaveSvg(const std::string& path) const {
    return impl_->svg && !impl_->svg->device.Picture().Full() &&
           exporter::WriteWholeFile(path, SvgBytes());
}

// ---- Mapping ----

void TPlotSurface::SetWorld(Real x1, Real y1, Real x2, Real y2) {
    std::optional<LabelMargins> margins;
    if (clipToWorld_) {
        const auto xWidth = SideLabelWidth(x1, x2, impl_->screen, impl_->objects);
        const auto yWidth = SideLabelWidth(y1, y2, impl_->screen, impl_->objects);
        if (!xWidth || !yWidth) throw EPlotSurfaceError(kInvalidBounds);
        margins = LabelMargins{impl_->screen.TextHeight(kLabelHeightSample), *xWidth, *yWidth};
    }
    // All devices get their mapping, or none does.
    std::vector<PixelMapping> mappings;
    impl_->ForEachDevice([&](SurfaceDevice& device) {
        const auto mapping = device.Fit(x1, y1, x2, y2, margins);
        if (!mapping) throw EPlotSurfaceError(kInvalidBounds);
        mappings.push_back(*mapping);
    });
    const Real xw = x2 - x1, yw = y2 - y1;
    if (!std::isfinite(xw) || !std::isfinite(yw)) throw EPlotSurfaceError(kInvalidBounds);

    size_t next = 0;
    impl_->ForEachDevice([&](SurfaceDevice& device) { device.SetMapping(mappings[next++]); });
    worldX1_ = x1;
    worldXW_ = xw;
    worldY1_ = y1;
    worldYW_ = yw;
    // The clip follows the world, so drawing never escapes into the margins of an old one.
    impl_->ForEachDevice([&](SurfaceDevice& device) {
        if (!clipToWorld_) {
            device.SetClip(std::nullopt);
            return;
        }
        // The left column and bottom row of the world rectangle hold the axes and stay outside.
        const PixelMapping& m = device.Mapping();
        const int left = m.X(x1) + 1, right = m.X(x2) + 1, top = m.Y(y2), bottom = m.Y(y1);
        device.SetClip(QRect(QPoint(std::min(left, right), std::min(top, bottom)),
                             QPoint(std::max(left, right) - 1, std::max(top, bottom) - 1)));
    });
}

int TPlotSurface::WindowX(Real x) const {
    return impl_->screen.Mapping().X(x);
}

int TPlotSurface::WindowY(Real y) const {
    return impl_->screen.Mapping().Y(y);
}

Real TPlotSurface::WorldX(int column) const {
    const PixelMapping& m = impl_->screen.Mapping();
    const Real x = m.ax == 0 ? NAN : (column - m.bx) / m.ax;
    if (!std::isfinite(x)) throw EPlotSurfaceError(kNoWorldX);
    return x;
}

Real TPlotSurface::WorldY(int row) const {
    const PixelMapping& m = impl_->screen.Mapping();
    const Real y = m.ay == 0 ? NAN : (row - m.by) / m.ay;
    if (!std::isfinite(y)) throw EPlotSurfaceError(kNoWorldY);
    return y;
}

void TPlotSurface::SetD2WorldX1(Real v) {
    SetWorld(v, worldY1_, v + worldXW_, worldY1_ + worldYW_);
}

void TPlotSurface::SetD2WorldXW(Real v) {
    if (!(v > 0)) throw EPlotSurfaceError(kXWidth);
    SetWorld(worldX1_, worldY1_, worldX1_ + v, worldY1_ + worldYW_);
}

void TPlotSurface::SetD2WorldY1(Real v) {
    SetWorld(worldX1_, v, worldX1_ + worldXW_, v + worldYW_);
}

void TPlotSurface::SetD2WorldYW(Real v) {
    if (!(v > 0)) throw EPlotSurfaceError(kYWidth);
    SetWorld(worldX1_, worldY1_, worldX1_ + worldXW_, worldY1_ + v);
}

void TPlotSurface::SetClipToWorld(bool on) {
    const bool before = clipToWorld_;
    clipToWorld_ = on;
    try {
        SetWorld(worldX1_, worldY1_, worldX1_ + worldXW_, worldY1_ + worldYW_);
    } catch (const EPlotSurfaceError&) {
        clipToWorld_ = before;
        throw;
    }
}

void TPlotSurface::SetD3WorldXW(Real v) {
    CheckD3Width(v, kXWidth);
    d3XW_ = v;
}

void TPlotSurface::SetD3WorldYW(Real v) {
    CheckD3Width(v, kYWidth);
    d3YW_ = v;
}

void TPlotSurface::SetD3WorldZW(Real v) {
    CheckD3Width(v, kZWidth);
    d3ZW_ = v;
}

// ---- Drawing objects and text ----

Pen& TPlotSurface::GetPen() {
    return impl_->objects.pen;
}

Brush& TPlotSurface::GetBrush() {
    return impl_->objects.brush;
}

Font& TPlotSurface::GetFont() {
    return impl_->objects.font;
}

int TPlotSurface::TextWidth(const std::string& text) const {
    return impl_->screen.TextWidth(text);
}

int TPlotSurface::TextHeight(const std::string& text) const {
    return impl_->screen.TextHeight(text);
}

// ---- Figures ----

void TPlotSurface::Clear() {
    // A cleared picture has nothing of what was drawn before in its recordings either.
    if (impl_->metafile) impl_->metafile->device.Picture().Reset();
    if (impl_->svg) impl_->svg->device.Picture().Reset();
    impl_->ForEachDevice([](SurfaceDevice& device) { device.FillAll(); });
}

void TPlotSurface::DrawPoint(Real x, Real y) {
    if (!Defined({x, y})) return;
    const Colour colour = impl_->objects.pen.color;
    impl_->ForEachDevice(
        [&](SurfaceDevice& device) { device.SetPixel(device.Mapping().Map(x, y), colour); });
}

void TPlotSurface::MoveToPoint(Real x, Real y) {
    if (!Defined({x, y})) return;
    impl_->ForEachDevice([&](SurfaceDevice& device) { device.MoveTo(device.Mapping().Map(x, y)); });
}

void TPlotSurface::DrawLine(Real x1, Real y1, Real x2, Real y2) {
    if (!Defined({x1, y1, x2, y2})) return;
    impl_->ForEachDevice([&](SurfaceDevice& device) {
        const PixelMapping& m = device.Mapping();
        device.Polyline({m.Map(x1, y1), m.Map(x2, y2)});
    });
}

void TPlotSurface::DrawLineTo(Real x, Real y) {
    if (!Defined({x, y})) return;
    impl_->ForEachDevice([&](SurfaceDevice& device) { device.LineTo(device.Mapping().Map(x, y)); });
}

void TPlotSurface::WorldTextOut(Real x, Real y, const std::string& text, int angle) {
    if (!Defined({x, y})) return;
    impl_->ForEachDevice(
        [&](SurfaceDevice& device) { device.Text(device.Mapping().Map(x, y), text, angle); });
}

void TPlotSurface::WorldFloodFill(Real x, Real y, Colour colour, FillStyle style) {
    if (!Defined({x, y})) return;
    const SurfaceDevice& screen = impl_->screen;
    FloodFill(impl_->bitmap, screen.Clip().value_or(impl_->bitmap.rect()),
              screen.Mapping().Map(x, y), colour, style, impl_->objects.brush);
}

void TPlotSurface::DrawEllipse(Real x1, Real y1, Real x2, Real y2) {
    if (!Defined({x1, y1, x2, y2})) return;
    impl_->ForEachDevice([&](SurfaceDevice& device) {
        const PixelMapping& m = device.Mapping();
        device.Ellipse(BoxOf(m.Map(x1, y2), m.Map(x2, y1)));
    });
}

void TPlotSurface::DrawArc(Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4) {
    impl_->ArcFigure(ArcKind::Arc, x1, y1, x2, y2, x3, y3, x4, y4);
}

void TPlotSurface::DrawChord(Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4,
                             Real y4) {
    impl_->ArcFigure(ArcKind::Chord, x1, y1, x2, y2, x3, y3, x4, y4);
}

void TPlotSurface::DrawPie(Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4) {
    impl_->ArcFigure(ArcKind::Pie, x1, y1, x2, y2, x3, y3, x4, y4);
}

void TPlotSurface::DrawRectangle(Real x1, Real y1, Real x2, Real y2) {
    if (!Defined({x1, y1, x2, y2})) return;
    // Right and bottom edge belong to the figure: the box includes both corner pixels.
    impl_->ForEachDevice([&](SurfaceDevice& device) {
        const PixelMapping& m = device.Mapping();
        device.Rectangle(BoxOf(m.Map(x1, y2), m.Map(x2, y1)));
    });
}

void TPlotSurface::DrawVector(Real x, Real y, Real a, Real b) {
    if (!Defined({x, y, a, b})) return;
    constexpr Real kHead = 8;
    impl_->ForEachDevice([&](SurfaceDevice& device) {
        const PixelMapping& m = device.Mapping();
        const QPoint start = m.Map(x, y), end = m.Map(x + a, y + b);
        const Real dx = end.x() - start.x(), dy = end.y() - start.y();
        // sqrt(2) times the length: the head strokes point back at 45 degrees.
        const Real r = std::sqrt((dx + dy) * (dx + dy) + (dy - dx) * (dy - dx));
        if (!(r > 0)) return;
        auto offset = [&](Real u, Real v) {
            return end + QPoint(PixelMapping::ToPixel(kHead * u / r),
                                PixelMapping::ToPixel(kHead * v / r));
        };
        device.Polyline({start, end});
        device.Polyline({end, offset(dy - dx, -dx - dy)});
        device.Polyline({end, offset(-dx - dy, dx - dy)});
    });
}

void TPlotSurface::DrawPolyline(const TFloatPointList* list) {
    if (list == nullptr) return;
    impl_->ForEachDevice([&](SurfaceDevice& device) {
        // An undefined point breaks the line instead of sending it off the surface.
        std::vector<QPoint> piece;
        for (const FloatPoint& p : list->Points()) {
            if (Defined({p.x, p.y})) {
                piece.push_back(device.Mapping().Map(p.x, p.y));
                continue;
            }
            device.Polyline(piece);
            piece.clear();
        }
        device.Polyline(piece);
    });
}

void TPlotSurface::DrawPolygon(const TFloatPointList* list) {
    if (const auto points = impl_->DefinedPoints(list))
        impl_->ForEachDevice(
            [&](SurfaceDevice& device) { device.Polygon(Impl::Mapped(device, *points)); });
}

void TPlotSurface::DrawPolyBezier(const TFloatPointList* list) {
    if (const auto points = impl_->DefinedPoints(list))
        impl_->ForEachDevice(
            [&](SurfaceDevice& device) { device.PolyBezier(Impl::Mapped(device, *points)); });
}

void TPlotSurface::DrawAxes(const std::string& xLabel, const std::string& yLabel, Colour axesColour,
                            Colour zeroLineColour, bool zeroLines) {
    DrawingObjects& objects = impl_->objects;
    const DrawingObjects saved = objects;
    objects.pen = Pen{axesColour, 1, PenStyle::Solid};
    objects.brush.style = BrushStyle::Clear;
    const Real x1 = worldX1_, y1 = worldY1_, x2 = x1 + worldXW_, y2 = y1 + worldYW_;
    // The axes and their numbers lie in the margins, outside the clip.
    impl_->ForEachDevice([&](SurfaceDevice& device) {
        const auto clip = device.Clip();
        device.SetClip(std::nullopt);
        DrawSideAxes(device, objects, x1, y1, x2, y2, {xLabel, yLabel});
        device.SetClip(clip);
    });
    if (zeroLines) {
        objects.pen.color = zeroLineColour;
        DrawLine(x1, 0, x2, 0);
        DrawLine(0, y1, 0, y2);
    }
    objects = saved;
}

// ---- The picture ----

const QImage& TPlotSurface::Bitmap() const {
    return impl_->bitmap;
}

void TPlotSurface::SetBitmap(const QImage& image) {
    QPainter painter(&impl_->bitmap);
    painter.drawImage(0, 0, image);
}

void TPlotSurface::CombineImageAnd(const QImage& image, int left, int top) {
    {
        QPainter painter(&impl_->bitmap);
        painter.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
        painter.drawImage(left, top, image);
    }
    impl_->ForEachRecording([&](QPainter& painter, int scale) {
        painter.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
        painter.drawImage(
            QRect(left * scale, top * scale, image.width() * scale, image.height() * scale), image);
    });
}

void TPlotSurface::FillPixels(int left, int top, int width, int height, Colour colour) {
    {
        QPainter painter(&impl_->bitmap);
        painter.fillRect(left, top, width, height, ToQColor(colour));
    }
    impl_->ForEachRecording([&](QPainter& painter, int scale) {
        painter.fillRect(left * scale, top * scale, width * scale, height * scale,
                         ToQColor(colour));
    });
}

bool TPlotSurface::SavePng(const std::string& path) const {
    return SaveImage(path, "PNG");
}

bool TPlotSurface::SaveImage(const std::string& path, const char* format) const {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !impl_->bitmap.save(&buffer, format)) return false;
    return exporter::WriteWholeFile(path, bytes.toStdString());
}

Colour TPlotSurface::PixelColour(int column, int row) const {
    // Outside the bitmap is the colour of an empty picture.
    if (!impl_->bitmap.valid(column, row)) return kWhite;
    const QRgb pixel = impl_->bitmap.pixel(column, row);
    return static_cast<Colour>(qRed(pixel)) | static_cast<Colour>(qGreen(pixel)) << 8 |
           static_cast<Colour>(qBlue(pixel)) << 16;
}

}  // namespace plot
