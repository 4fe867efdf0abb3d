// TikzWriter: the picture as a LaTeX tikzpicture. It takes the same figure calls as the
// eepic writer, one entry per drawing command, and adds the colours of the figures.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "export/eepic_writer.h"

namespace exporter {

// Coordinates are written in millimetres from the lower-left corner of the world, so a
// picture of any world has small numbers; the picture is `widthMm` wide and `heightMm`
// high. Points far outside it are brought to within 1 m, where TeX can still reach them.
class TikzWriter {
public:
    using Real = long double;
    using Colour = uint32_t;  // red + 256*green + 65536*blue

    // Empties the entries and adds the opening lines.
    void BeginPicture(Real x1, Real y1, Real xw, Real yw, Real widthMm, Real heightMm);
    void EndPicture() { Add("\\end{tikzpicture}"); }

    // The colours of the next figures and texts; a filled figure takes `fill`.
    void SetColours(Colour pen, Colour fill, Colour text);
    // The next texts turn by `angle` degrees counter-clockwise.
    void SetTextAngle(int angle) { textAngle_ = angle; }

    std::string Point(Real x, Real y) const;
    std::string Line(Real x1, Real y1, Real x2, Real y2);
    std::string DottedLine(Real x1, Real y1, Real x2, Real y2);
    void MoveTo(Real x, Real y);
    std::string LineTo(Real x, Real y);
    std::string Rectangle(Real x1, Real y1, Real x2, Real y2);
    std::string Path(const std::vector<WorldPoint>& points, bool close);
    std::string Arrow(Real x, Real y, Real a, Real b);
    std::string Text(Real x, Real y, const std::string& text);
    std::string AlignedText(Real x, Real y, const std::string& text, const std::string& alignment);
    static std::string SmallText(const std::string& text) { return EepicWriter::SmallText(text); }
    static std::string LatexText(const std::string& text) { return EepicWriter::LatexText(text); }
    std::string Ellipse(Real x1, Real y1, Real x2, Real y2);
    std::string Circle(Real mx, Real my, Real radius);
    // Arc, sector (pie) or segment (chord) of the circle, counter-clockwise from
    // `startAngle` to `endAngle` (radians); as the eepic arc, two entries, here the
    // second empty.
    enum class ArcShape { Arc, Sector, Segment };
    std::array<std::string, 2> Arc(Real mx, Real my, Real radius, Real startAngle, Real endAngle,
                                   ArcShape shape = ArcShape::Arc);
    // Bezier chain of 1 + 3k points.
    std::string Spline(const std::vector<WorldPoint>& points);
    static std::string LineWidth(int width);
    // The next figure is filled (eepic's \shade); returns no entry.
    std::string Shade() {
        shaded_ = true;
        return "";
    }

    // The buffer; empty entries are not kept. Throws EOutputTooLarge beyond
    // kMaxPictureTextBytes.
    void Add(std::string entry);
    const std::vector<std::string>& Entries() const { return entries_; }
    std::string FileText() const;

    // The path text collects the points of one curve piece.
    void AddPathPoint(Real x, Real y) { path_.push_back({x, y}); }
    void ClearPath() { path_.clear(); }
    void FlushPath();

    bool SaveToFile(const std::string& path) const;

private:
    std::string Number(Real millimetres) const;
    Real X(Real x) const;
    Real Y(Real y) const;
    // "\draw" or "\filldraw" with the colour options, after any colour definitions.
    std::string Command(bool closed, const std::string& extra = "");
    std::string ColourName(Colour colour);

    Real x1_ = 0, y1_ = 0, xScale_ = 1, yScale_ = 1;  // millimetres per world unit
    Real currentX_ = 0, currentY_ = 0;
    Colour pen_ = 0, fill_ = 0, text_ = 0;
    int textAngle_ = 0;
    bool shaded_ = false;
    std::string definitions_;  // colour definitions due before the next entry
    std::map<Colour, std::string> colourNames_;
    std::vector<std::string> entries_;
    size_t bytes_ = 0;
    std::vector<WorldPoint> path_;
};

}  // namespace exporter
