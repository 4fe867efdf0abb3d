// EMF records: a header, drawing objects created, selected and deleted around each
// figure, and the end-of-file record.
#include "export/emf_writer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>

namespace exporter {

namespace {

constexpr uint32_t kSetMapMode = 17;
constexpr uint32_t kSetBkMode = 18;
constexpr uint32_t kSetPolyFillMode = 19;
constexpr uint32_t kSetTextAlign = 22;
constexpr uint32_t kSetTextColor = 24;
constexpr uint32_t kMoveToEx = 27;
constexpr uint32_t kIntersectClipRect = 30;
constexpr uint32_t kSaveDc = 33;
constexpr uint32_t kRestoreDc = 34;
constexpr uint32_t kSelectObject = 37;
constexpr uint32_t kCreatePen = 38;
constexpr uint32_t kCreateBrushIndirect = 39;
constexpr uint32_t kDeleteObject = 40;
constexpr uint32_t kBeginPath = 59;
constexpr uint32_t kEndPath = 60;
constexpr uint32_t kCloseFigure = 61;
constexpr uint32_t kPolyBezierTo16 = 88;
constexpr uint32_t kPolylineTo16 = 89;
constexpr uint32_t kExtCreatePen = 95;

constexpr uint32_t kNullBrush = 0x80000005;
constexpr uint32_t kNullPen = 0x80000008;
constexpr uint32_t kMmText = 1;
constexpr uint32_t kTransparent = 1;
constexpr uint32_t kAlternate = 1;
constexpr uint32_t kTaBaseline = 24;
constexpr uint32_t kSignature = 0x464D4520;  // " EMF"
constexpr uint32_t kSrcCopy = 0x00CC0020;
constexpr uint32_t kSrcAnd = 0x008800C6;
constexpr int kDpi = 96;
constexpr int kFaceNameUnits = 32;
constexpr int kCoordinateLimit = 32767;

int16_t Short(double v) {
    if (!std::isfinite(v)) return 0;
    return static_cast<int16_t>(
        std::clamp<long>(std::lround(v), -kCoordinateLimit, kCoordinateLimit));
}

int32_t Long(double v) {
    if (!std::isfinite(v)) return 0;
    return static_cast<int32_t>(std::clamp<double>(std::round(v), -2e9, 2e9));
}

std::u16string Utf16(const std::string& text) {
    std::u16string result;
    for (size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        uint32_t code = c;
        int extra = 0;
        if (c >= 0xF0) {
            code = c & 0x07;
            extra = 3;
        } else if (c >= 0xE0) {
            code = c & 0x0F;
            extra = 2;
        } else if (c >= 0xC0) {
            code = c & 0x1F;
            extra = 1;
        }
        ++i;
        for (int k = 0; k < extra && i < text.size(); ++k, ++i)
            code = (code << 6) | (static_cast<unsigned char>(text[i]) & 0x3F);
        if (code >= 0x10000) {
            code -= 0x10000;
            result += static_cast<char16_t>(0xD800 + (code >> 10));
            result += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
        } else {
            result += static_cast<char16_t>(code);
        }
    }
    return result;
}

}  // namespace

// One record: type, size, then little-endian fields; the size is filled in at the end.
class EmfWriter::Record {
public:
    explicit Record(uint32_t type) {
        U32(type);
        U32(0);
    }
    Record& U32(uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes_ += static_cast<char>((v >> (8 * i)) & 0xFF);
        return *this;
    }
    Record& I32(int32_t v) { return U32(static_cast<uint32_t>(v)); }
    Record& I16(int16_t v) {
        const auto u = static_cast<uint16_t>(v);
        bytes_ += static_cast<char>(u & 0xFF);
        bytes_ += static_cast<char>(u >> 8);
        return *this;
    }
    Record& U8(uint8_t v) {
        bytes_ += static_cast<char>(v);
        return *this;
    }
    Record& F32(float v) {
        uint32_t u;
        std::memcpy(&u, &v, sizeof u);
        return U32(u);
    }
    Record& Rect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
        return I32(left).I32(top).I32(right).I32(bottom);
    }
    Record& Bytes(const std::string& more) {
        bytes_ += more;
        return *this;
    }
    size_t Size() const { return bytes_.size(); }
    // Pads to whole 32-bit units and writes the size field.
    std::string Finished() const {
        std::string result = bytes_;
        while (result.size() % 4 != 0) result += '\0';
        const auto size = static_cast<uint32_t>(result.size());
        for (int i = 0; i < 4; ++i) result[4 + i] = static_cast<char>((size >> (8 * i)) & 0xFF);
        return result;
    }

private:
    std::string bytes_;
};

EmfWriter::EmfWriter(int width, int height) : VectorPicture(width, height) {
    Preamble();
}

void EmfWriter::Reset() {
    ClearFull();
    records_.clear();
    recordCount_ = 0;
    freeHandles_.clear();
    handleCount_ = 1;
    Preamble();
}

void EmfWriter::Add(const Record& record) {
    const std::string finished = record.Finished();
    if (!Fits(records_.size(), finished.size())) return;
    records_ += finished;
    ++recordCount_;
}

void EmfWriter::Preamble() {
    Add(Record(kSetMapMode).U32(kMmText));
    // Hatches and text leave what lies below them visible.
    Add(Record(kSetBkMode).U32(kTransparent));
    Add(Record(kSetPolyFillMode).U32(kAlternate));
    Add(Record(kSetTextAlign).U32(kTaBaseline));
}

uint32_t EmfWriter::NewHandle() {
    if (!freeHandles_.empty()) {
        const uint32_t handle = freeHandles_.back();
        freeHandles_.pop_back();
        return handle;
    }
    return handleCount_++;
}

void EmfWriter::SelectObject(uint32_t handle) {
    Add(Record(kSelectObject).U32(handle));
}

void EmfWriter::DeleteObject(uint32_t handle) {
    Add(Record(kDeleteObject).U32(handle));
    freeHandles_.push_back(handle);
}

uint32_t EmfWriter::CreateBrush(const VectorBrush& brush) {
    const uint32_t handle = NewHandle();
    const bool solid = brush.hatch == VectorHatch::Solid;
    // HS_HORIZONTAL .. HS_DIAGCROSS follow the order of VectorHatch.
    const uint32_t hatch = solid ? 0 : static_cast<uint32_t>(brush.hatch) - 1;
    Add(Record(kCreateBrushIndirect).U32(handle).U32(solid ? 0 : 2).U32(brush.colour).U32(hatch));
    return handle;
}

uint32_t EmfWriter::CreatePen(const VectorPen& pen) {
    const uint32_t handle = NewHandle();
    if (pen.width <= 1) {
        const uint32_t style = pen.style == VectorLineStyle::Dash      ? 1
                               : pen.style == VectorLineStyle::Dot     ? 2
                               : pen.style == VectorLineStyle::DashDot ? 3
                                                                       : 0;
        Add(Record(kCreatePen).U32(handle).U32(style).I32(0).I32(0).U32(pen.colour));
        return handle;
    }
    // A wide pen is geometric, with round ends and joins like the screen's.
    constexpr uint32_t kGeometric = 0x00010000;
    Add(Record(kExtCreatePen)
            .U32(handle)
            .U32(0)
            .U32(0)
            .U32(0)
            .U32(0)
            .U32(kGeometric)
            .U32(static_cast<uint32_t>(std::lround(pen.width)))
            .U32(0)
            .U32(pen.colour)
            .U32(0)
            .U32(0));
    return handle;
}

namespace {

// Bounds of the points, inclusive.
void BoundsOf(const std::vector<VectorPoint>& points, int32_t& left, int32_t& top, int32_t& right,
              int32_t& bottom) {
    left = top = kCoordinateLimit;
    right = bottom = -kCoordinateLimit;
    for (const VectorPoint& p : points) {
        left = std::min<int32_t>(left, Short(p.x));
        right = std::max<int32_t>(right, Short(p.x));
        top = std::min<int32_t>(top, Short(p.y));
        bottom = std::max<int32_t>(bottom, Short(p.y));
    }
}

}  // namespace

void EmfWriter::Polys(const VectorPath& path, bool closed) {
    std::vector<VectorPoint> all;
    for (const VectorSubpath& sub : path)
        all.insert(all.end(), sub.points.begin(), sub.points.end());
    if (all.empty()) return;
    int32_t left, top, right, bottom;
    BoundsOf(all, left, top, right, bottom);
    if (path.size() == 1) {
        Record record(closed ? kPolygon16 : kPolyline16);
        record.Rect(left, top, right, bottom).U32(static_cast<uint32_t>(all.size()));
        for (const VectorPoint& p : all) record.I16(Short(p.x)).I16(Short(p.y));
        Add(record);
        return;
    }
    Record record(closed ? kPolyPolygon16 : kPolyPolyline16);
    record.Rect(left, top, right, bottom)
        .U32(static_cast<uint32_t>(path.size()))
        .U32(static_cast<uint32_t>(all.size()));
    for (const VectorSubpath& sub : path) record.U32(static_cast<uint32_t>(sub.points.size()));
    for (const VectorPoint& p : all) record.I16(Short(p.x)).I16(Short(p.y));
    Add(record);
}

void EmfWriter::PathBracket(const VectorPath& path) {
    Add(Record(kBeginPath));
    for (const VectorSubpath& sub : path) {
        if (sub.points.empty()) continue;
        Add(Record(kMoveToEx).I32(Short(sub.points[0].x)).I32(Short(sub.points[0].y)));
        if (sub.points.size() > 1) {
            std::vector<VectorPoint> rest(sub.points.begin() + 1, sub.points.end());
            int32_t left, top, right, bottom;
            BoundsOf(rest, left, top, right, bottom);
            Record record(sub.curves ? kPolyBezierTo16 : kPolylineTo16);
            record.Rect(left, top, right, bottom).U32(static_cast<uint32_t>(rest.size()));
            for (const VectorPoint& p : rest) record.I16(Short(p.x)).I16(Short(p.y));
            Add(record);
        }
        if (sub.closed) Add(Record(kCloseFigure));
    }
    Add(Record(kEndPath));
}

void EmfWriter::Fill(const VectorPath& path, const VectorBrush& brush) {
    if (path.empty()) return;
    const uint32_t handle = CreateBrush(brush);
    SelectObject(handle);
    SelectObject(kNullPen);
    const bool curves =
        std::any_of(path.begin(), path.end(), [](const VectorSubpath& s) { return s.curves; });
    if (curves) {
        PathBracket(path);
        Add(Record(kFillPath).Rect(0, 0, Width() - 1, Height() - 1));
    } else {
        Polys(path, true);
    }
    SelectObject(kNullBrush);
    DeleteObject(handle);
}

void EmfWriter::Stroke(const VectorPath& path, const VectorPen& pen) {
    if (path.empty()) return;
    // Single points are pixels; the rest is drawn with the pen.
    VectorPath lines, curves;
    for (const VectorSubpath& sub : path) {
        if (sub.points.size() == 1) {
            Add(Record(kSetPixelV)
                    .I32(Short(sub.points[0].x))
                    .I32(Short(sub.points[0].y))
                    .U32(pen.colour));
        } else if (sub.points.size() > 1) {
            (sub.curves || sub.closed ? curves : lines).push_back(sub);
        }
    }
    if (lines.empty() && curves.empty()) return;
    const uint32_t handle = CreatePen(pen);
    SelectObject(handle);
    SelectObject(kNullBrush);
    if (!lines.empty()) Polys(lines, false);
    for (const VectorSubpath& sub : curves) {
        if (sub.curves && !sub.closed) {
            int32_t left, top, right, bottom;
            BoundsOf(sub.points, left, top, right, bottom);
            Record record(kPolyBezier16);
            record.Rect(left, top, right, bottom).U32(static_cast<uint32_t>(sub.points.size()));
            for (const VectorPoint& p : sub.points) record.I16(Short(p.x)).I16(Short(p.y));
            Add(record);
        } else if (!sub.curves) {
            Polys({sub}, true);  // a closed outline, the null brush leaves it empty
        } else {
            PathBracket({sub});
            Add(Record(kStrokePath).Rect(0, 0, Width() - 1, Height() - 1));
        }
    }
    SelectObject(kNullPen);
    DeleteObject(handle);
}

void EmfWriter::Text(const VectorText& text) {
    const std::u16string units = Utf16(text.text);
    if (units.empty()) return;
    Add(Record(kSaveDc));
    if (text.clip) {
        Add(Record(kIntersectClipRect)
                .Rect(Long(text.clip->left), Long(text.clip->top), Long(text.clip->right),
                      Long(text.clip->bottom)));
    }
    const uint32_t font = NewHandle();
    const int32_t escapement = Long(text.angle * 10);
    Record create(kExtCreateFontIndirectW);
    create.U32(font)
        .I32(-Long(text.font.pixelSize))  // negative: the character (em) height
        .I32(0)
        .I32(escapement)
        .I32(escapement)
        .I32(text.font.bold ? 700 : 400)
        .U8(text.font.italic ? 1 : 0)
        .U8(text.font.underline ? 1 : 0)
        .U8(0)
        .U8(1)  // DEFAULT_CHARSET
        .U8(0)
        .U8(0)
        .U8(0)
        .U8(0);
    std::u16string face = Utf16(text.font.family).substr(0, kFaceNameUnits - 1);
    face.resize(kFaceNameUnits, u'\0');
    for (const char16_t unit : face) create.I16(static_cast<int16_t>(unit));
    Add(create);
    SelectObject(font);
    Add(Record(kSetTextColor).U32(text.colour));

    // Widths of every unit, rounded so that their sum follows the exact positions.
    std::vector<int32_t> dx(units.size(), 0);
    double position = 0;
    for (size_t i = 0; i < units.size(); ++i) {
        const double next = position + (i < text.advances.size() ? text.advances[i] : 0);
        dx[i] = Long(next) - Long(position);
        position = next;
    }
    constexpr uint32_t kFixedPart = 76;  // the record up to its string
    const auto stringBytes = static_cast<uint32_t>((units.size() * 2 + 3) / 4 * 4);
    Record out(kExtTextOutW);
    const int32_t x = Long(text.baseline.x), y = Long(text.baseline.y);
    const int32_t reach = Long(position + text.font.pixelSize);
    out.Rect(x - reach, y - reach, x + reach, y + reach)
        .U32(1)  // GM_COMPATIBLE
        .F32(1)
        .F32(1)
        .I32(x)
        .I32(y)
        .U32(static_cast<uint32_t>(units.size()))
        .U32(kFixedPart)
        .U32(0)
        .Rect(0, 0, 0, 0)
        .U32(kFixedPart + stringBytes);
    std::string chars;
    for (const char16_t unit : units) {
        chars += static_cast<char>(unit & 0xFF);
        chars += static_cast<char>(unit >> 8);
    }
    chars.resize(stringBytes, '\0');
    out.Bytes(chars);
    for (const int32_t d : dx) out.I32(d);
    Add(out);
    Add(Record(kRestoreDc).I32(-1));
    DeleteObject(font);
}

void EmfWriter::Image(const VectorImage& image) {
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() != static_cast<size_t>(image.width) * image.height)
        return;
    constexpr uint32_t kInfoOffset = 80, kInfoSize = 40;
    const uint32_t rowBytes = (static_cast<uint32_t>(image.width) * 3 + 3) / 4 * 4;
    const uint32_t bitsSize = rowBytes * static_cast<uint32_t>(image.height);
    const int32_t left = Long(image.target.left), top = Long(image.target.top);
    const int32_t width = Long(image.target.right) - left, height = Long(image.target.bottom) - top;
    Record record(kStretchDiBits);
    record.Rect(left, top, left + width - 1, top + height - 1)
        .I32(left)
        .I32(top)
        .I32(0)
        .I32(0)
        .I32(image.width)
        .I32(image.height)
        .U32(kInfoOffset)
        .U32(kInfoSize)
        .U32(kInfoOffset + kInfoSize)
        .U32(bitsSize)
        .U32(0)  // DIB_RGB_COLORS
        .U32(image.combineAnd ? kSrcAnd : kSrcCopy)
        .I32(width)
        .I32(height);
    // BITMAPINFOHEADER of a bottom-up 24-bit picture.
    record.U32(kInfoSize).I32(image.width).I32(image.height);
    record.I16(1).I16(24).U32(0).U32(bitsSize).I32(3780).I32(3780).U32(0).U32(0);
    std::string bits(bitsSize, '\0');
    for (int row = 0; row < image.height; ++row) {
        const size_t out = static_cast<size_t>(image.height - 1 - row) * rowBytes;
        for (int column = 0; column < image.width; ++column) {
            const uint32_t rgb = image.pixels[static_cast<size_t>(row) * image.width + column];
            bits[out + column * 3] = static_cast<char>((rgb >> 16) & 0xFF);  // blue first
            bits[out + column * 3 + 1] = static_cast<char>((rgb >> 8) & 0xFF);
            bits[out + column * 3 + 2] = static_cast<char>(rgb & 0xFF);
        }
    }
    record.Bytes(bits);
    Add(record);
}

std::string EmfWriter::Bytes() const {
    // Application and picture name, each ending in a null, as readers expect.
    static constexpr char16_t kDescription[] = u"Zorvat 2.1\0Plot\0";
    const std::u16string description(kDescription, std::size(kDescription) - 1);
    constexpr uint32_t kHeaderSize = 108;
    const auto descriptionBytes = static_cast<uint32_t>(description.size() * 2);
    const uint32_t headerBytes = kHeaderSize + (descriptionBytes + 3) / 4 * 4;
    Record eof(kEof);
    eof.U32(0).U32(16).U32(20);
    const std::string end = eof.Finished();
    const auto total = static_cast<uint32_t>(headerBytes + records_.size() + end.size());

    const int w = Width(), h = Height();
    const auto hundredths = [](int pixels) { return Long(pixels * 2540.0 / kDpi); };
    Record header(kHeader);
    header.Rect(0, 0, w - 1, h - 1)
        .Rect(0, 0, hundredths(w) - 1, hundredths(h) - 1)
        .U32(kSignature)
        .U32(0x00010000)
        .U32(total)
        .U32(recordCount_ + 2)
        .I16(static_cast<int16_t>(handleCount_))
        .I16(0)
        .U32(static_cast<uint32_t>(description.size()))
        .U32(kHeaderSize)
        .U32(0)
        .I32(w)
        .I32(h)
        .I32(Long(w * 25.4 / kDpi))
        .I32(Long(h * 25.4 / kDpi))
        .U32(0)
        .U32(0)
        .U32(0)
        .U32(static_cast<uint32_t>(Long(w * 25400.0 / kDpi)))
        .U32(static_cast<uint32_t>(Long(h * 25400.0 / kDpi)));
    std::string text;
    for (const char16_t unit : description) {
        text += static_cast<char>(unit & 0xFF);
        text += static_cast<char>(unit >> 8);
    }
    header.Bytes(text);
    return header.Finished() + records_ + end;
}

}  // namespace exporter
