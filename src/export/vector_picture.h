// VectorPicture: what a recording of the plot surface receives - filled and stroked
// paths, texts and pictures in device units - written out as one file format.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "export/output_limit.h"

namespace exporter {

// Colours are red + 256*green + 65536*blue, as everywhere in the program.
using VectorColour = uint32_t;

struct VectorPoint {
    double x = 0;
    double y = 0;
};

struct VectorRect {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
};

// One connected piece of a path: a polyline, or (when `curves`) a chain of cubic Bezier
// pieces of 1 + 3k points. Closed pieces return to their first point.
struct VectorSubpath {
    std::vector<VectorPoint> points;
    bool curves = false;
    bool closed = false;
};
using VectorPath = std::vector<VectorSubpath>;

enum class VectorLineStyle { Solid, Dash, Dot, DashDot };

// Width 0 is the thinnest line the device shows (one device pixel).
struct VectorPen {
    VectorColour colour = 0;
    double width = 0;
    VectorLineStyle style = VectorLineStyle::Solid;
};

enum class VectorHatch {
    Solid,
    Horizontal,
    Vertical,
    ForwardDiagonal,
    BackwardDiagonal,
    Cross,
    DiagonalCross
};

struct VectorBrush {
    VectorColour colour = 0;
    VectorHatch hatch = VectorHatch::Solid;
};

struct VectorFont {
    std::string family = "Arial";
    double pixelSize = 16;  // the em height
    bool bold = false;
    bool italic = false;
    bool underline = false;
};

// A line of text with its baseline starting at `baseline`, turned counter-clockwise by
// `angle` degrees; `advances` holds the width of every UTF-16 unit of the text.
struct VectorText {
    VectorPoint baseline;
    double angle = 0;
    std::string text;  // UTF-8
    std::vector<double> advances;
    VectorFont font;
    VectorColour colour = 0;
    std::optional<VectorRect> clip;
};

// A picture of width x height pixels (colours as above, rows from the top) stretched over
// `target`. With `combineAnd` it is combined with what lies below by bitwise AND, so
// its white leaves the picture as it was.
struct VectorImage {
    VectorRect target;
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
    bool combineAnd = false;
};

class VectorPicture {
public:
    VectorPicture(int width, int height) : width_(width), height_(height) {}
    virtual ~VectorPicture() = default;
    VectorPicture(const VectorPicture&) = delete;
    VectorPicture& operator=(const VectorPicture&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }

    // Forgets everything drawn so far.
    virtual void Reset() = 0;
    virtual void Fill(const VectorPath& path, const VectorBrush& brush) = 0;
    // A subpath of one point sets that pixel in the pen colour.
    virtual void Stroke(const VectorPath& path, const VectorPen& pen) = 0;
    virtual void Text(const VectorText& text) = 0;
    virtual void Image(const VectorImage& image) = 0;
    // The whole file.
    virtual std::string Bytes() const = 0;

    // True once the file would have passed kMaxPictureTextBytes: what came after was
    // dropped, so the file must not be saved. Reset clears it.
    bool Full() const { return full_; }

protected:
    // Whether `more` bytes fit beside `now`; when not, the picture is full from here on.
    bool Fits(size_t now, size_t more) {
        if (!full_ && now + more > kMaxPictureTextBytes) full_ = true;
        return !full_;
    }
    void ClearFull() { full_ = false; }

private:
    int width_;
    int height_;
    bool full_ = false;
};

}  // namespace exporter
