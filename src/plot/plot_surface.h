// TPlotSurface: the off-screen picture every drawing goes to, with the mapping
// between world coordinates and pixels.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

class QImage;

namespace plot {

using Real = long double;

class EPlotSurfaceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Colours are red + 256*green + 65536*blue.
using Colour = uint32_t;
constexpr Colour kBlack = 0;
constexpr Colour kWhite = 16777215;

enum class PenStyle { Solid, Dash, Dot, DashDot, Clear };
enum class BrushStyle {
    Solid,
    Clear,
    Horizontal,
    Vertical,
    ForwardDiagonal,
    BackwardDiagonal,
    Cross,
    DiagonalCross
};
enum class FillStyle { Surface, Border };  // flood fill: same-colour area, or up to a border

struct Pen {
    Colour color = kBlack;
    int width = 1;
    PenStyle style = PenStyle::Solid;
};

struct Brush {
    Colour color = kWhite;
    BrushStyle style = BrushStyle::Solid;
};

struct Font {
    std::string name = "Arial";
    int size = 12;  // points, at 96 pixels per inch
    Colour color = kBlack;
    bool bold = false;
    bool italic = false;
    bool underline = false;
};

struct FloatPoint {
    Real x = 0;
    Real y = 0;
};

// The point list of the poly-operations.
class TFloatPointList {
public:
    void Add(Real x, Real y) { points_.push_back({x, y}); }
    void Assign(const TFloatPointList& other) {
        points_.insert(points_.end(), other.points_.begin(), other.points_.end());
    }
    void Clear() { points_.clear(); }
    int Count() const { return static_cast<int>(points_.size()); }
    const std::vector<FloatPoint>& Points() const { return points_; }

private:
    std::vector<FloatPoint> points_;
};

class TPlotSurface {
public:
    TPlotSurface(int width = 30, int height = 30);
    ~TPlotSurface();
    TPlotSurface(const TPlotSurface&) = delete;
    TPlotSurface& operator=(const TPlotSurface&) = delete;

    int Width() const;
    int Height() const;
    // Resizes the bitmap, keeping its content at the top left; the mapping and clip rectangle
    // are recomputed for the new size. At least 1 x 1 pixel; a bitmap too large to allocate
    // raises EPlotSurfaceError and keeps the old one.
    void Resize(int width, int height);

    // World <-> pixel mapping. Pixels are clamped to +-16000 and halves round to even; an
    // undefined (NaN) coordinate maps to -16000. With ClipToWorld the clip follows SetWorld.
    void SetWorld(Real x1, Real y1, Real x2, Real y2);
    int WindowX(Real x) const;
    int WindowY(Real y) const;
    Real WorldX(int column) const;
    Real WorldY(int row) const;

    Real D2WorldX1() const { return worldX1_; }
    Real D2WorldXW() const { return worldXW_; }
    Real D2WorldY1() const { return worldY1_; }
    Real D2WorldYW() const { return worldYW_; }
    void SetD2WorldX1(Real v);
    void SetD2WorldXW(Real v);
    void SetD2WorldY1(Real v);
    void SetD2WorldYW(Real v);

    bool ClipToWorld() const { return clipToWorld_; }
    void SetClipToWorld(bool on);

    // Drawing objects; changes apply to the next drawing operation.
    Pen& GetPen();
    Brush& GetBrush();
    Font& GetFont();

    // Text measured in the current font, in pixels.
    int TextWidth(const std::string& text) const;
    int TextHeight(const std::string& text) const;

    // Lines cover both end pixels, and boxes (x1, y1)-(x2, y2) cover the pixels of both
    // corners. A figure with an undefined coordinate is not drawn; a polyline breaks at an
    // undefined point. Clear fills the whole bitmap with the brush, also outside the clip.
    void Clear();
    void DrawPoint(Real x, Real y);
    void MoveToPoint(Real x, Real y);
    void DrawLine(Real x1, Real y1, Real x2, Real y2);
    void DrawLineTo(Real x, Real y);
    void WorldTextOut(Real x, Real y, const std::string& text, int angle = 0);
    void WorldFloodFill(Real x, Real y, Colour colour, FillStyle style);
    void DrawEllipse(Real x1, Real y1, Real x2, Real y2);
    void DrawArc(Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4);
    void DrawChord(Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4);
    void DrawPie(Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4);
    void DrawRectangle(Real x1, Real y1, Real x2, Real y2);
    void DrawVector(Real x, Real y, Real a, Real b);
    void DrawPolyline(const TFloatPointList* list);
    void DrawPolygon(const TFloatPointList* list);
    void DrawPolyBezier(const TFloatPointList* list);
    void DrawAxes(const std::string& xLabel, const std::string& yLabel, Colour axesColour,
                  Colour zeroLineColour, bool zeroLines);

    // The picture itself, for painting, saving and snapshots.
    const QImage& Bitmap() const;
    void SetBitmap(const QImage& image);  // copied in at (0,0), e.g. a snapshot
    // Combines `image` with the picture by bitwise AND, its top-left corner at the pixel
    // (left, top): white leaves the picture as it is.
    void CombineImageAnd(const QImage& image, int left, int top);
    // Paints a rectangle of pixels in one colour, without pen or brush.
    void FillPixels(int left, int top, int width, int height, Colour colour);
    bool SavePng(const std::string& path) const;    // false, and the old file kept, on failure
    Colour PixelColour(int column, int row) const;  // white outside the bitmap
    // The picture in an image format Qt knows ("PNG", "BMP"), saved as SavePng saves it.
    bool SaveImage(const std::string& path, const char* format) const;

    // Recordings: while one is on, every figure is also drawn, through the same path as on
    // the bitmap, into a vector picture of `scale` times the surface's size. Clear starts
    // it afresh; a resize starts it afresh at the new size. The metafile is an Enhanced
    // Metafile (EMF), the other recording an SVG picture.
    bool RecordMetafile() const;
    void SetRecordMetafile(bool on, int scale = 2);
    bool RecordSvg() const;
    void SetRecordSvg(bool on);
    // The recording as file bytes; empty when it is off.
    std::string MetafileBytes() const;
    std::string SvgBytes() const;
    // True when a recording grew past the largest file it may make (it keeps the memory
    // bounded and drops the rest); such a recording is not saved.
    bool RecordingFull() const;
    // Writes the recording whole; false (and nothing written) when it is off, full or fails.
    bool SaveMetafile(const std::string& path) const;
    bool SaveSvg(const std::string& path) const;

    // The 3D box and view values; only stored and validated.
    Real D3WorldX1 = -1, D3WorldY1 = -1, D3WorldZ1 = -1;
    Real D3WorldXW() const { return d3XW_; }
    Real D3WorldYW() const { return d3YW_; }
    Real D3WorldZW() const { return d3ZW_; }
    void SetD3WorldXW(Real v);
    void SetD3WorldYW(Real v);
    void SetD3WorldZW(Real v);
    Real D3Xscale = 1, D3Yscale = 1, D3Zscale = 1;
    Real D3Zrotation = 45, D3Yrotation = 45;
    Real D3ViewDist = 6.4L, D3ViewAngle = 6;
    bool D3AspectRatio = true;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    Real worldX1_ = -1, worldXW_ = 2, worldY1_ = -1, worldYW_ = 2;
    Real d3XW_ = 2, d3YW_ = 2, d3ZW_ = 2;
    bool clipToWorld_ = false;
};

}  // namespace plot
