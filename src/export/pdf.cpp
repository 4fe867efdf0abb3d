// The PDF file as text lines: head, fourteen standard fonts, one page whose content
// stream the drawing calls fill, and a cross-reference table counted in bytes.
#include "export/pdf.h"

#include "export/output_limit.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <ctime>
#include <limits>
#include <numbers>

#include "export/fixed_number.h"
#include "export/whole_file.h"
#include "export/win_ansi.h"

namespace exporter {
namespace {

using Real = TPdf::Real;

constexpr Real kPi = std::numbers::pi_v<Real>;
constexpr Real kPointsPerPixel = 10.0L / 12.7L;  // 12.7 pixels per centimetre
constexpr Real kPointsPerTenthMm = 72.0L / 254.0L;
constexpr Real kScreenPointsPerPixel = 72.0L / 96.0L;  // surface fonts at 96 per inch
constexpr Real kBezierCircle = 0.5522847L;             // 4/3 (sqrt 2 - 1)
constexpr Real kVectorHeadPixels = 8;
constexpr Real kDefaultLineWidth = 2;
// Beyond this a page coordinate is of no use to any reader.
constexpr Real kLargestCoordinate = 1e30L;
constexpr size_t kLineEndBytes = 2;  // CR LF
constexpr int kObjectCount = 21;
constexpr int kContentsObject = 20;
constexpr int kLengthObject = 21;

// Object numbers 4 ... 17 hold the fonts F1 ... F14 in this order.
constexpr std::array<const char*, 14> kBaseFonts = {
    "Courier",     "Courier-Bold",   "Courier-Oblique",   "Courier-BoldOblique",
    "Helvetica",   "Helvetica-Bold", "Helvetica-Oblique", "Helvetica-BoldOblique",
    "Times-Roman", "Times-Bold",     "Times-Italic",      "Times-BoldItalic",
    "Symbol",      "ZapfDingbats"};

enum CurveKind { kArc, kChord, kPie };

bool IsSymbolicFont(std::string_view name) {
    return name == "Symbol" || name == "ZapfDingbats";
}

// Coordinates and lengths: "0" when tiny, else 6 significant digits and 4 decimals.
std::string Num(Real value) {
    if (std::fabs(value) < 0.00001L) return "0";
    return FormatFixed(value, 6, 4, false);
}

bool Usable(Real value) {
    return std::isfinite(value) && std::fabs(value) <= kLargestCoordinate;
}

std::string ColourLine(uint32_t colour, bool stroke) {
    auto component = [&](int shift) {
        return FormatShortest(static_cast<Real>((colour >> shift) & 0xFF) / 255, 6, 3);
    };
    const std::string red = component(0), green = component(8), blue = component(16);
    if (red == green && green == blue) return red + (stroke ? " G" : " g");
    return red + " " + green + " " + blue + (stroke ? " RG" : " rg");
}

// A PDF string body: "(", ")" and "\" escaped, control bytes as octal escapes.
std::string PdfString(const std::string& utf8) {
    std::string escaped;
    for (const char c : ToWinAnsi(utf8)) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '(' || c == ')' || c == '\\') {
            escaped += '\\';
            escaped += c;
        } else if (byte < 0x20) {
            escaped += '\\';
            escaped += static_cast<char>('0' + (byte >> 6));
            escaped += static_cast<char>('0' + ((byte >> 3) & 7));
            escaped += static_cast<char>('0' + (byte & 7));
        } else {
            escaped += c;
        }
    }
    return escaped;
}

std::string CreationDate() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d%H%M%S", &local);
    return text;
}

}  // namespace

void TPdf::Clear() {
    lines_.clear();
    bytes_ = 0;
    objectLines_.clear();
    pageOpen_ = false;
    pathOpen_ = false;
    hasCurrentPoint_ = false;
}

Real TPdf::PageX(Real x) const {
    return (x - (worldX1_ + worldX2_) / 2) * pageWidth_ / (worldX2_ - worldX1_);
}

Real TPdf::PageY(Real y) const {
    return (y - (worldY1_ + worldY2_) / 2) * pageHeight_ / (worldY2_ - worldY1_);
}

void TPdf::Append(std::string line) {
    bytes_ += line.size() + 2;
    if (bytes_ > kMaxPictureTextBytes) {
        throw EOutputTooLarge("De PDF-tekst wordt groter dan 1 GB; het programma is gestopt.");
    }
    lines_.push_back(std::move(line));
}

void TPdf::BeginObject(int number) {
    if (objectLines_.size() <= static_cast<size_t>(number))
        objectLines_.resize(static_cast<size_t>(number) + 1, 0);
    objectLines_[static_cast<size_t>(number)] = lines_.size();
    Append(std::to_string(number) + " 0 obj");
}

void TPdf::BeginDoc(int width, int height, Real x1, Real x2, Real y1, Real y2) {
    Clear();
    pageWidth_ = width * kPointsPerPixel;
    pageHeight_ = height * kPointsPerPixel;
    worldX1_ = x1;
    worldX2_ = x2;
    worldY1_ = y1;
    worldY2_ = y2;
    strokeColour_ = 0;
    fillColour_ = 0;

    Append("%PDF-1.1");
    Append("%\xE2\xE3\xCF\xD3");  // high-bit bytes: tools treat the file as binary
    BeginObject(1);
    for (const char* line : {"<<", "/CreationDate (D:"}) Append(line);
    lines_.back() += CreationDate() + ")";
    for (const char* line : {"/Producer (Zorvat)", ">>", "endobj"}) Append(line);
    BeginObject(2);
    for (const char* line : {"<<", "/Type /Catalog", "/Pages 3 0 R", ">>", "endobj"}) Append(line);
    BeginObject(3);
    for (const char* line : {"<<", "/Type /Pages", "/Count 1"}) Append(line);
    Append("/MediaBox [0 0 " + FormatFixed(pageWidth_, 6, 4, false) + " " +
           FormatFixed(pageHeight_, 6, 4, false) + "]");
    for (const char* line : {"/Kids [ 19 0 R ]", ">>", "endobj"}) Append(line);
    for (size_t i = 0; i < kBaseFonts.size(); ++i) {
        BeginObject(static_cast<int>(i) + 4);
        for (const char* line : {"<<", "/Type /Font", "/Subtype /Type1"}) Append(line);
        Append("/Name /F" + std::to_string(i + 1));
        Append(std::string("/BaseFont /") + kBaseFonts[i]);
        // Symbol and ZapfDingbats have encodings of their own, in which "p" is pi;
        // under WinAnsiEncoding viewers find no glyph and show nothing.
        if (!IsSymbolicFont(kBaseFonts[i])) Append("/Encoding /WinAnsiEncoding");
        for (const char* line : {">>", "endobj"}) Append(line);
    }
    BeginObject(18);
    for (const char* line : {"<<", "/Font <<"}) Append(line);
    for (size_t i = 0; i < kBaseFonts.size(); ++i)
        Append("/F" + std::to_string(i + 1) + " " + std::to_string(i + 4) + " 0 R");
    for (const char* line : {">>", "/ProcSet [ /PDF /Text ]", ">>", "endobj"}) Append(line);
    BeginObject(19);
    for (const char* line : {"<<", "/Type /Page", "/Parent 3 0 R", "/Resources 18 0 R",
                             "/Contents 20 0 R", ">>", "endobj"})
        Append(line);
    BeginObject(kContentsObject);
    for (const char* line : {"<<", "/Length 21 0 R", ">>", "stream"}) Append(line);

    streamStart_ = 0;
    for (const std::string& line : lines_) streamStart_ += line.size() + kLineEndBytes;
    pageOpen_ = true;
    Append("1 0 0 1 " + Num(pageWidth_ / 2) + " " + Num(pageHeight_ / 2) + " cm");
    LineWidth(kDefaultLineWidth);
}

void TPdf::EndDoc() {
    if (!pageOpen_) return;
    FlushOpenPath();
    pageOpen_ = false;
    size_t total = 0;
    for (const std::string& line : lines_) total += line.size() + kLineEndBytes;
    for (const char* line : {"endstream", "endobj"}) Append(line);
    BeginObject(kLengthObject);
    Append(std::to_string(total - streamStart_));
    Append("endobj");

    // Byte offset of every line as SaveToFile writes it.
    std::vector<size_t> offsets(lines_.size() + 1, 0);
    for (size_t i = 0; i < lines_.size(); ++i)
        offsets[i + 1] = offsets[i] + lines_[i].size() + kLineEndBytes;
    const size_t xrefOffset = offsets.back();
    Append("xref");
    Append("0 " + std::to_string(kObjectCount + 1));
    Append("0000000000 65535 f");
    for (int number = 1; number <= kObjectCount; ++number) {
        std::string offset = std::to_string(offsets[objectLines_[static_cast<size_t>(number)]]);
        offset.insert(0, 10 - std::min<size_t>(offset.size(), 10), '0');
        Append(offset + " 00000 n");
    }
    for (const char* line : {"trailer", "<<"}) Append(line);
    Append("/Size " + std::to_string(kObjectCount + 1));
    for (const char* line : {"/Root 2 0 R", "/Info 1 0 R ", ">>", "startxref"}) Append(line);
    Append(std::to_string(xrefOffset));
    Append("%%EOF");
}

std::string TPdf::FileText() const {
    std::string text;
    for (const std::string& line : lines_) {
        text += line;
        text += "\r\n";
    }
    return text;
}

bool TPdf::SaveToFile(const std::string& path) const {
    return WriteWholeFile(path, FileText());
}

// Colour, width and dash operators and text objects may not stand inside a path, so a
// path left open (a MoveTo/LineTo drawing) is stroked first.
void TPdf::FlushOpenPath() {
    if (!pathOpen_) return;
    Append("S");
    pathOpen_ = false;
    hasCurrentPoint_ = false;
}

void TPdf::SetStroke(uint32_t colour) {
    colour &= 0xFFFFFF;
    if (colour == strokeColour_) return;
    FlushOpenPath();
    Append(ColourLine(colour, true));
    strokeColour_ = colour;
}

void TPdf::SetFill(uint32_t colour) {
    colour &= 0xFFFFFF;
    if (colour == fillColour_) return;
    FlushOpenPath();
    Append(ColourLine(colour, false));
    fillColour_ = colour;
}

void TPdf::LineWidth(Real width) {
    if (!pageOpen_ || !Usable(width)) return;
    FlushOpenPath();
    Append(Num(width * kPointsPerTenthMm) + " w");
}

void TPdf::PageMoveTo(PagePoint p) {
    if (!Usable(p.x) || !Usable(p.y)) {
        hasCurrentPoint_ = false;
        return;
    }
    Append(Num(p.x) + " " + Num(p.y) + " m");
    pathOpen_ = true;
    hasCurrentPoint_ = true;
}

void TPdf::PageLineTo(PagePoint p) {
    if (!hasCurrentPoint_) return PageMoveTo(p);
    if (!Usable(p.x) || !Usable(p.y)) {
        hasCurrentPoint_ = false;
        return;
    }
    Append(Num(p.x) + " " + Num(p.y) + " l");
}

void TPdf::PageCurveTo(PagePoint c1, PagePoint c2, PagePoint end) {
    if (!hasCurrentPoint_) return PageMoveTo(end);
    for (const PagePoint& p : {c1, c2, end}) {
        if (!Usable(p.x) || !Usable(p.y)) {
            hasCurrentPoint_ = false;
            return;
        }
    }
    Append(Num(c1.x) + " " + Num(c1.y) + " " + Num(c2.x) + " " + Num(c2.y) + " " + Num(end.x) +
           " " + Num(end.y) + " c");
}

void TPdf::Paint(bool close, bool fill) {
    if (!pathOpen_) return;
    std::string op = fill ? "B" : "S";
    if (close) op[0] = static_cast<char>(std::tolower(op[0]));
    Append(op);
    pathOpen_ = false;
    hasCurrentPoint_ = false;
}

void TPdf::MoveTo(Real x, Real y) {
    if (pageOpen_) PageMoveTo(ToPage(x, y));
}

void TPdf::LineTo(Real x, Real y) {
    if (pageOpen_) PageLineTo(ToPage(x, y));
}

void TPdf::StartPath(uint32_t pen, uint32_t fillColour, Real x, Real y) {
    if (!pageOpen_) return;
    FlushOpenPath();
    SetStroke(pen);
    SetFill(fillColour);
    PageMoveTo(ToPage(x, y));
}

void TPdf::AddLineToPath(Real x1, Real y1, Real x2, Real y2) {
    MoveTo(x1, y1);
    LineTo(x2, y2);
}

void TPdf::AddCurveToPath(Real x1, Real y1, Real x2, Real y2, Real x3, Real y3) {
    if (pageOpen_) PageCurveTo(ToPage(x1, y1), ToPage(x2, y2), ToPage(x3, y3));
}

void TPdf::EndPath(bool close, bool fill) {
    if (pageOpen_) Paint(close, fill);
}

void TPdf::PageLine(uint32_t pen, bool dashed, PagePoint from, PagePoint to) {
    for (const PagePoint& p : {from, to})
        if (!Usable(p.x) || !Usable(p.y)) return;
    FlushOpenPath();
    if (dashed) Append("[2 2] 0 d");
    SetStroke(pen);
    SetFill(kWhite);
    PageMoveTo(from);
    PageLineTo(to);
    Paint(false, false);
    if (dashed) Append("[] 0 d");
}

void TPdf::DrawLine(uint32_t pen, bool dashed, Real x1, Real y1, Real x2, Real y2) {
    if (pageOpen_) PageLine(pen, dashed, ToPage(x1, y1), ToPage(x2, y2));
}

void TPdf::Rectangle(uint32_t pen, bool fill, uint32_t fillColour, Real x, Real y, Real width,
                     Real height) {
    if (!pageOpen_) return;
    const PagePoint corner = ToPage(x, y);
    const Real w = width * pageWidth_ / (worldX2_ - worldX1_);
    const Real h = height * pageHeight_ / (worldY2_ - worldY1_);
    for (const Real value : {corner.x, corner.y, w, h})
        if (!Usable(value)) return;
    FlushOpenPath();
    SetStroke(pen);
    SetFill(fillColour);
    Append(Num(corner.x) + " " + Num(corner.y) + " " + Num(w) + " " + Num(h) + " re");
    pathOpen_ = true;
    Paint(false, fill);
}

void TPdf::Ellipse(uint32_t pen, bool fill, uint32_t fillColour, Real x1, Real y1, Real x2,
                   Real y2) {
    RotatedEllipse(pen, fill, fillColour, x1, y1, x2, y2, 0);
}

void TPdf::CircleByRadius(uint32_t pen, bool fill, uint32_t fillColour, Real cx, Real cy,
                          Real radius) {
    EllipseFigure(pen, fill, fillColour, cx, cy, std::fabs(radius), std::fabs(radius), 0);
}

void TPdf::RotatedEllipse(uint32_t pen, bool fill, uint32_t fillColour, Real x1, Real y1, Real x2,
                          Real y2, Real angle) {
    EllipseFigure(pen, fill, fillColour, (x1 + x2) / 2, (y1 + y2) / 2, std::fabs(x2 - x1) / 2,
                  std::fabs(y2 - y1) / 2, angle);
}

// Four quarter arcs of Bezier curves, starting at the right-hand extreme point and
// running counter-clockwise; turned in world coordinates as the surface does.
void TPdf::EllipseFigure(uint32_t pen, bool fill, uint32_t fillColour, Real cx, Real cy, Real rx,
                         Real ry, Real angle) {
    if (!pageOpen_) return;
    constexpr Real k = kBezierCircle;
    constexpr std::array<std::array<Real, 2>, 13> kUnit = {{{1, 0},
                                                            {1, k},
                                                            {k, 1},
                                                            {0, 1},
                                                            {-k, 1},
                                                            {-1, k},
                                                            {-1, 0},
                                                            {-1, -k},
                                                            {-k, -1},
                                                            {0, -1},
                                                            {k, -1},
                                                            {1, -k},
                                                            {1, 0}}};
    const Real cosine = std::cos(angle), sine = std::sin(angle);
    std::array<PagePoint, 13> points;
    for (size_t i = 0; i < kUnit.size(); ++i) {
        Real dx = kUnit[i][0] * rx, dy = kUnit[i][1] * ry;
        if (angle != 0) {
            const Real turnedX = dx * cosine + dy * sine;
            dy = -dx * sine + dy * cosine;
            dx = turnedX;
        }
        points[i] = ToPage(cx + dx, cy + dy);
        if (!Usable(points[i].x) || !Usable(points[i].y)) return;
    }
    FlushOpenPath();
    SetStroke(pen);
    SetFill(fillColour);
    PageMoveTo(points[0]);
    for (size_t i = 1; i < points.size(); i += 3)
        PageCurveTo(points[i], points[i + 1], points[i + 2]);
    Paint(true, fill);
}

void TPdf::Arc(uint32_t pen, Real x1, Real y1, Real x2, Real y2, Real startAngle, Real endAngle) {
    CurvedFigure(kArc, pen, false, fillColour_, x1, y1, x2, y2, startAngle, endAngle);
}

void TPdf::Chord(uint32_t pen, bool fill, uint32_t fillColour, Real x1, Real y1, Real x2, Real y2,
                 Real startAngle, Real endAngle) {
    CurvedFigure(kChord, pen, fill, fillColour, x1, y1, x2, y2, startAngle, endAngle);
}

void TPdf::Pie(uint32_t pen, bool fill, uint32_t fillColour, Real x1, Real y1, Real x2, Real y2,
               Real startAngle, Real endAngle) {
    CurvedFigure(kPie, pen, fill, fillColour, x1, y1, x2, y2, startAngle, endAngle);
}

// The arc is split into at most quarter turns, each one Bezier segment with control
// points at 4/3 tan(turn / 4) along the tangents. The rays are turned into the
// ellipse's own parameter so that the arc ends where the rays cut the ellipse.
void TPdf::CurvedFigure(int kind, uint32_t pen, bool fill, uint32_t fillColour, Real x1, Real y1,
                        Real x2, Real y2, Real startAngle, Real endAngle) {
    if (!pageOpen_) return;
    const Real cx = (x1 + x2) / 2, cy = (y1 + y2) / 2;
    const Real rx = std::fabs(x2 - x1) / 2, ry = std::fabs(y2 - y1) / 2;
    const Real start = std::atan2(rx * std::sin(startAngle), ry * std::cos(startAngle));
    const Real end = std::atan2(rx * std::sin(endAngle), ry * std::cos(endAngle));
    Real sweep = std::fmod(end - start, 2 * kPi);
    if (!(sweep > 0)) sweep += 2 * kPi;
    if (!std::isfinite(sweep)) return;
    const int segments = std::max(1, static_cast<int>(std::ceil(sweep / (kPi / 2) - 1e-9L)));
    const Real step = sweep / segments;
    const Real k = 4.0L / 3 * std::tan(step / 4);

    auto at = [&](Real t, Real along) {  // ellipse point, moved along the tangent
        return ToPage(cx + rx * (std::cos(t) - along * std::sin(t)),
                      cy + ry * (std::sin(t) + along * std::cos(t)));
    };
    std::vector<PagePoint> points{at(start, 0)};
    for (int i = 0; i < segments; ++i) {
        const Real a = start + i * step, b = a + step;
        points.push_back(at(a, k));
        points.push_back(at(b, -k));
        points.push_back(at(b, 0));
    }
    const PagePoint centre = ToPage(cx, cy);
    for (const PagePoint& p : points)
        if (!Usable(p.x) || !Usable(p.y)) return;
    if (kind == kPie && (!Usable(centre.x) || !Usable(centre.y))) return;

    FlushOpenPath();
    SetStroke(pen);
    if (kind != kArc) SetFill(fillColour);
    if (kind == kPie) {
        PageMoveTo(centre);
        PageLineTo(points[0]);
    } else {
        PageMoveTo(points[0]);
    }
    for (size_t i = 1; i < points.size(); i += 3)
        PageCurveTo(points[i], points[i + 1], points[i + 2]);
    Paint(kind != kArc, kind != kArc && fill);
}

void TPdf::DrawVector(uint32_t pen, Real x, Real y, Real a, Real b) {
    if (!pageOpen_) return;
    const PagePoint start = ToPage(x, y), end = ToPage(x + a, y + b);
    const Real dx = end.x - start.x, dy = end.y - start.y;
    const Real length = std::hypot(dx, dy);
    // The surface draws nothing when both ends fall on one pixel.
    if (!Usable(length) || length < kPointsPerPixel / 2) return;
    for (const PagePoint& p : {start, end})
        if (!Usable(p.x) || !Usable(p.y)) return;
    // Head strokes at 45 degrees either side of the backward direction.
    const Real head = kVectorHeadPixels * kPointsPerPixel / length / std::numbers::sqrt2_v<Real>;
    const PagePoint left{end.x + head * (-dx - dy), end.y + head * (dx - dy)};
    const PagePoint right{end.x + head * (-dx + dy), end.y + head * (-dx - dy)};
    FlushOpenPath();
    SetStroke(pen);
    PageMoveTo(start);
    PageLineTo(end);
    PageMoveTo(left);
    PageLineTo(end);
    PageLineTo(right);
    Paint(false, false);
}

void TPdf::TextOut(const std::string& font, const std::string& text, Real angle, uint32_t colour,
                   Real size, Real x, Real y) {
    TextOut2(font, text, angle, colour, size, std::numeric_limits<Real>::quiet_NaN(), x, y);
}

// A NaN rise leaves the rise line out (TextOut).
void TPdf::TextOut2(const std::string& font, const std::string& text, Real angle, uint32_t colour,
                    Real size, Real rise, Real x, Real y) {
    if (!pageOpen_) return;
    const PagePoint at = ToPage(x, y);
    for (const Real value : {at.x, at.y, angle, size})
        if (!Usable(value)) return;
    FlushOpenPath();
    SetFill(colour);
    Append("BT");
    Append("/" + font + " " + FormatShortest(size, 6, 4) + " Tf");
    if (angle == 0) {
        Append(Num(at.x) + " " + Num(at.y) + " Td");
    } else {
        const Real c = std::cos(angle), s = std::sin(angle);
        Append(Num(c) + " " + Num(s) + " " + Num(-s) + " " + Num(c) + " " + Num(at.x) + " " +
               Num(at.y) + " Tm");
    }
    if (Usable(rise)) Append(Num(rise) + " Ts");
    Append("(" + PdfString(text) + ") Tj");
    Append("ET");
}

std::string TPdf::FontResource(const std::string& fontName, bool bold, bool italic) {
    std::string name = fontName;
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    int number = 5;  // Helvetica
    if (name.find("courier") != std::string::npos) {
        number = 1;
    } else if (name.find("times") != std::string::npos) {
        number = 9;
    } else if (name.find("symbol") != std::string::npos) {
        return "F13";
    }
    return "F" + std::to_string(number + (bold ? 1 : 0) + (italic ? 2 : 0));
}

void TPdf::Text(const PdfFont& font, const std::string& text, int angleDegrees, int textWidth,
                int textHeight, Real x, Real y) {
    if (!pageOpen_) return;
    const Real angle = angleDegrees * kPi / 180;
    const Real rise = -0.6L * textHeight;
    TextOut2(FontResource(font.name, font.bold, font.italic), text, angle, font.colour, font.size,
             rise, x, y);
    if (!font.underline) return;
    // A tenth of the size below the baseline, as long as the text the surface measured;
    // the PDF writes the size in points, the surface measured at 96 pixels per inch.
    const PagePoint origin = ToPage(x, y);
    const Real drop = rise - font.size / 10;
    const Real length = textWidth * kScreenPointsPerPixel;
    const Real c = std::cos(angle), s = std::sin(angle);
    const PagePoint from{origin.x - drop * s, origin.y + drop * c};
    const PagePoint to{from.x + length * c, from.y + length * s};
    LineWidth(font.size / 6 + (font.bold ? 2 : 0));
    PageLine(font.colour, false, from, to);
    LineWidth(kDefaultLineWidth);
}

}  // namespace exporter
