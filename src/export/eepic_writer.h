// EepicWriter: the picture as LaTeX picture commands of the epic and eepic packages.
// Each drawing command of a run adds its own line; the file is the collected lines.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace exporter {

struct WorldPoint {
    long double x = 0;
    long double y = 0;
};

// Numbers are written with at most 6 significant digits and 3 decimals ("1.500"); a
// value whose integer part needs more than 6 digits as "1.23457E+007". Every y-value
// is multiplied by the aspect factor K, so that the picture is as high as it is wide.
// Line breaks inside entries and in the file are "\n".
class EepicWriter {
public:
    using Real = long double;

    static constexpr std::string_view kShade = "\\shade";  // before a filled figure
    static constexpr std::string_view kSpline = "\\spline";
    static constexpr std::string_view kDottedLineHint =
        "%vervang eventueel door \\dashline of \\dottedline; zie eepichandleiding";

    // K = xw / yw (world width over world height); 1 for a flat world.
    void SetAspect(Real xw, Real yw);
    Real Aspect() const { return aspect_; }

    std::string XNumber(Real x) const;
    std::string YNumber(Real y) const;  // y * K
    std::string Point(Real x, Real y) const;
    std::string PointLine(Real x, Real y) const;  // Point and a line break
    std::string Line(Real x1, Real y1, Real x2, Real y2) const;
    // \drawline[-200] and, on a second line, a hint for the reader of the file.
    std::string DottedLine(Real x1, Real y1, Real x2, Real y2) const;
    // Sets the current point; it outlives BeginPicture and is (0,0) at first.
    void MoveTo(Real x, Real y);
    // Line from the current point to (x, y), which becomes the current point.
    std::string LineTo(Real x, Real y);
    std::string Rectangle(Real x1, Real y1, Real x2, Real y2) const;
    // Top-left corner of the text at (x, y).
    std::string Text(Real x, Real y, const std::string& text) const;
    // `alignment` as makebox takes it: "rb" puts the bottom-right corner at (x, y).
    std::string AlignedText(Real x, Real y, const std::string& text,
                            const std::string& alignment) const;
    static std::string SmallText(const std::string& text);  // axis numbers
    // A text as LaTeX sets it: between $...$ it is maths and stays as written (so
    // labels may use LaTeX maths); outside, characters that LaTeX reads as commands
    // (\ { } ^ _ ~ < >) are escaped. % # & are escaped everywhere, an escape already
    // written ("\%") stays, and a $ without partner is a dollar sign.
    // Maths whose braces do not balance is written as plain text.
    static std::string LatexText(const std::string& text);
    // Ellipse in the box (x1, y1)-(x2, y2).
    std::string Ellipse(Real x1, Real y1, Real x2, Real y2) const;
    std::string Circle(Real mx, Real my, Real radius) const;
    // Two entries: \put(centre){\arc{diameter} and {2pi - end}{2pi - start}}, because
    // the eepic arc runs clockwise. Angles in radians.
    std::array<std::string, 2> Arc(Real mx, Real my, Real radius, Real startAngle,
                                   Real endAngle) const;
    // One entry of \spline lines: points 1-4 on the first, then each line repeats the
    // last point of the line before and holds the next four.
    std::string Spline(const std::vector<WorldPoint>& points) const;
    // "\thinlines" for 1, "\thicklines" for 2, "\Thicklines" above; empty for 0 or less.
    static std::string LineWidth(int width);

    // The buffer: one entry per drawing command; an entry may hold line breaks.
    // Throws EOutputTooLarge beyond kMaxPictureTextBytes.
    void Add(std::string entry);
    void Clear() {
        entries_.clear();
        bytes_ = 0;
    }
    const std::vector<std::string>& Entries() const { return entries_; }
    std::string FileText() const;  // each entry followed by a line break

    // The path text collects the points of one curve piece.
    void AddPathPoint(Real x, Real y) { pathText_ += PointLine(x, y); }
    const std::string& PathText() const { return pathText_; }
    void ClearPath() { pathText_.clear(); }
    // Adds "\path" + path text as one entry when the path text is not empty, then empties it.
    void FlushPath();

    // "\setlength{\unitlength}{u mm}" with u = 50 / xw: the picture is 50 mm wide.
    static std::string UnitLength(Real xw);
    // Empties buffer and path text, sets K and adds the three header lines.
    void BeginPicture(Real x1, Real y1, Real xw, Real yw);
    void EndPicture() { Add("\\end{picture}"); }
    // Writes FileText whole; false when the file cannot be written.
    bool SaveToFile(const std::string& path) const;

private:
    static std::string LatexTextWithMaths(const std::string& text, bool allowMaths);

    Real aspect_ = 1;
    Real currentX_ = 0;
    Real currentY_ = 0;
    std::vector<std::string> entries_;
    size_t bytes_ = 0;
    std::string pathText_;
};

}  // namespace exporter
