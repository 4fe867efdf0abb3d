// TPdf: the picture as a one-page PDF file. A save re-runs the program and every
// drawing command writes its figure here in world coordinates.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace exporter {

// The surface font of a text command.
struct PdfFont {
    std::string name = "Arial";
    long double size = 12;  // points
    uint32_t colour = 0;    // red + 256*green + 65536*blue
    bool bold = false;
    bool italic = false;
    bool underline = false;
};

// The file is kept as lines and saved with CR LF after each line. The page is the
// surface at 12.7 pixels per centimetre and shows the world rectangle x1..x2, y1..y2.
// Colours are red + 256*green + 65536*blue; only the low three bytes count. Line widths
// are in tenths of a millimetre. A figure with a coordinate that is not a finite number
// is left out, as on the surface. Drawing calls only write while a page is open (between
// BeginDoc and EndDoc).
class TPdf {
public:
    using Real = long double;
    static constexpr uint32_t kWhite = 16777215;

    void Clear();  // empties the file
    // Starts the file: head, fonts, page and the content stream; width and height of the
    // surface in pixels, the world it shows.
    void BeginDoc(int width, int height, Real x1, Real x2, Real y1, Real y2);
    // Ends the content stream and adds its length, the cross-reference table and trailer.
    void EndDoc();
    bool SaveToFile(const std::string& path) const;  // false when writing fails
    const std::vector<std::string>& Lines() const { return lines_; }
    std::string FileText() const;  // the bytes SaveToFile writes
    bool PageOpen() const { return pageOpen_; }

    Real PageWidth() const { return pageWidth_; }  // points
    Real PageHeight() const { return pageHeight_; }
    Real PageX(Real x) const;  // world to points from the page centre
    Real PageY(Real y) const;

    void LineWidth(Real width);  // tenths of a millimetre; in force until the next call
    void MoveTo(Real x, Real y);
    void LineTo(Real x, Real y);  // from the current point; without one it moves there
    // New path at (x, y), in these stroke and fill colours.
    void StartPath(uint32_t pen, uint32_t fillColour, Real x, Real y);
    void AddLineToPath(Real x1, Real y1, Real x2, Real y2);  // a separate segment
    // Cubic Bezier segment from the current point, (x3, y3) its end.
    void AddCurveToPath(Real x1, Real y1, Real x2, Real y2, Real x3, Real y3);
    void EndPath(bool close, bool fill);  // strokes, or fills and strokes, the path
    void DrawLine(uint32_t pen, bool dashed, Real x1, Real y1, Real x2, Real y2);
    // Lower-left corner (x, y) and the size in world units.
    void Rectangle(uint32_t pen, bool fill, uint32_t fillColour, Real x, Real y, Real width,
                   Real height);
    // Ellipse in the box (x1, y1)-(x2, y2).
    void Ellipse(uint32_t pen, bool fill, uint32_t fillColour, Real x1, Real y1, Real x2, Real y2);
    void Circle(uint32_t pen, bool fill, uint32_t fillColour, Real x1, Real y1, Real x2, Real y2) {
        Ellipse(pen, fill, fillColour, x1, y1, x2, y2);
    }
    void CircleByRadius(uint32_t pen, bool fill, uint32_t fillColour, Real cx, Real cy,
                        Real radius);
    // The box's ellipse turned clockwise by `angle` radians about its centre, so a figure
    // turned counter-clockwise by alpha is drawn with angle -alpha.
    void RotatedEllipse(uint32_t pen, bool fill, uint32_t fillColour, Real x1, Real y1, Real x2,
                        Real y2, Real angle);
    // Part of the box's ellipse counter-clockwise from the ray at startAngle to the ray
    // at endAngle (radians, from the centre); equal rays give the whole ellipse.
    void Arc(uint32_t pen, Real x1, Real y1, Real x2, Real y2, Real startAngle, Real endAngle);
    // The arc closed by its chord.
    void Chord(uint32_t pen, bool fill, uint32_t fillColour, Real x1, Real y1, Real x2, Real y2,
               Real startAngle, Real endAngle);
    // The arc closed through the centre.
    void Pie(uint32_t pen, bool fill, uint32_t fillColour, Real x1, Real y1, Real x2, Real y2,
             Real startAngle, Real endAngle);
    // Arrow from (x, y) to (x + a, y + b) with the surface's 8-pixel head.
    void DrawVector(uint32_t pen, Real x, Real y, Real a, Real b);

    // Text with its baseline start at (x, y); font as FontResource gives, angle in
    // radians counter-clockwise, size in points.
    void TextOut(const std::string& font, const std::string& text, Real angle, uint32_t colour,
                 Real size, Real x, Real y);
    // TextOut with the baseline moved up by `rise` points.
    void TextOut2(const std::string& font, const std::string& text, Real angle, uint32_t colour,
                  Real size, Real rise, Real x, Real y);
    // "F1" ... "F14": Courier, Times or Symbol when the name contains it, else Helvetica.
    static std::string FontResource(const std::string& fontName, bool bold, bool italic);
    // A text command: top-left corner at (x, y) as on the surface, turned by
    // angleDegrees, the text's size on the surface in pixels; underlined when the font is.
    void Text(const PdfFont& font, const std::string& text, int angleDegrees, int textWidth,
              int textHeight, Real x, Real y);

private:
    struct PagePoint {
        Real x = 0;
        Real y = 0;
    };

    void Append(std::string line);
    void BeginObject(int number);
    void FlushOpenPath();
    void SetStroke(uint32_t colour);
    void SetFill(uint32_t colour);
    PagePoint ToPage(Real x, Real y) const { return {PageX(x), PageY(y)}; }
    void PageMoveTo(PagePoint p);
    void PageLineTo(PagePoint p);
    void PageCurveTo(PagePoint c1, PagePoint c2, PagePoint end);
    void PageLine(uint32_t pen, bool dashed, PagePoint from, PagePoint to);
    void Paint(bool close, bool fill);
    void CurvedFigure(int kind, uint32_t pen, bool fill, uint32_t fillColour, Real x1, Real y1,
                      Real x2, Real y2, Real startAngle, Real endAngle);
    void EllipseFigure(uint32_t pen, bool fill, uint32_t fillColour, Real cx, Real cy, Real rx,
                       Real ry, Real angle);

    std::vector<std::string> lines_;
    size_t bytes_ = 0;                 // the text so far, checked against the output limit
    std::vector<size_t> objectLines_;  // line index of each object's first line
    size_t streamStart_ = 0;           // bytes before the content stream
    bool pageOpen_ = false;
    bool pathOpen_ = false;  // path operators written and not yet painted
    bool hasCurrentPoint_ = false;
    Real pageWidth_ = 0;
    Real pageHeight_ = 0;
    Real worldX1_ = 0, worldX2_ = 0, worldY1_ = 0, worldY2_ = 0;
    uint32_t strokeColour_ = 0;
    uint32_t fillColour_ = 0;
};

}  // namespace exporter
