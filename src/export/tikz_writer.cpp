// Lines of the tikzpicture: one \draw, \filldraw or \node per figure or text.
#include "export/tikz_writer.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "export/fixed_number.h"
#include "export/output_limit.h"
#include "export/whole_file.h"

namespace exporter {

namespace {

constexpr long double kReachMm = 1000;  // TeX lengths end near 5.7 m
constexpr size_t kPointsPerDraw = 200;  // long curves in pieces TeX reads comfortably
constexpr size_t kPointsPerLine = 4;
constexpr int kDecimals = 3;

std::string Degrees(long double radians) {
    return FormatShortest(radians * 180 / std::numbers::pi_v<long double>, 9, kDecimals);
}

// makebox letters to a node anchor: "lt" is the top-left corner, "cc" the centre.
std::string Anchor(const std::string& alignment) {
    std::string vertical, horizontal;
    for (const char c : alignment) {
        if (c == 't') vertical = "north";
        if (c == 'b') vertical = "south";
        if (c == 'l') horizontal = "west";
        if (c == 'r') horizontal = "east";
    }
    if (vertical.empty() && horizontal.empty()) return "center";
    if (vertical.empty()) return horizontal;
    if (horizontal.empty()) return vertical;
    return vertical + " " + horizontal;
}

}  // namespace

void TikzWriter::Add(std::string entry) {
    if (entry.empty()) return;
    bytes_ += entry.size() + 1;
    if (bytes_ > kMaxPictureTextBytes) {
        throw EOutputTooLarge("De TikZ-tekst wordt groter dan 1 GB; het programma is gestopt.");
    }
    entries_.push_back(std::move(entry));
}

void TikzWriter::BeginPicture(Real x1, Real y1, Real xw, Real yw, Real widthMm, Real heightMm) {
    entries_.clear();
    bytes_ = 0;
    path_.clear();
    colourNames_.clear();
    definitions_.clear();
    shaded_ = false;
    textAngle_ = 0;
    pen_ = fill_ = text_ = 0;
    x1_ = x1;
    y1_ = y1;
    xScale_ = xw > 0 && std::isfinite(xw) ? widthMm / xw : 1;
    yScale_ = yw > 0 && std::isfinite(yw) ? heightMm / yw : 1;
    Add("% Zorvat: neem dit bestand op met \\input in een document dat het pakket tikz laadt");
    Add("\\begin{tikzpicture}[x=1mm,y=1mm,line cap=round,line join=round]");
    Add("\\useasboundingbox (0,0) rectangle (" + Number(widthMm) + "," + Number(heightMm) + ");");
    Add(LineWidth(1));
}

void TikzWriter::SetColours(Colour pen, Colour fill, Colour text) {
    pen_ = pen;
    fill_ = fill;
    text_ = text;
}

std::string TikzWriter::Number(Real millimetres) const {
    if (!std::isfinite(millimetres)) millimetres = 0;
    return FormatShortest(std::clamp(millimetres, -kReachMm, kReachMm), 9, kDecimals);
}

TikzWriter::Real TikzWriter::X(Real x) const {
    return (x - x1_) * xScale_;
}

TikzWriter::Real TikzWriter::Y(Real y) const {
    return (y - y1_) * yScale_;
}

std::string TikzWriter::Point(Real x, Real y) const {
    return "(" + Number(X(x)) + "," + Number(Y(y)) + ")";
}

std::string TikzWriter::ColourName(Colour colour) {
    const auto known = colourNames_.find(colour);
    if (known != colourNames_.end()) return known->second;
    const std::string name = "zorvat" + std::to_string(colourNames_.size() + 1);
    colourNames_[colour] = name;
    definitions_ += "\\definecolor{" + name + "}{RGB}{" + std::to_string(colour & 0xFF) + "," +
                    std::to_string((colour >> 8) & 0xFF) + "," +
                    std::to_string((colour >> 16) & 0xFF) + "}\n";
    return name;
}

std::string TikzWriter::Command(bool closed, const std::string& extra) {
    const bool fill = closed && shaded_;
    shaded_ = false;
    std::string options = "draw=" + ColourName(pen_);
    if (fill) options += ",fill=" + ColourName(fill_);
    if (!extra.empty()) options += "," + extra;
    std::string command = definitions_ + (fill ? "\\filldraw[" : "\\draw[") + options + "] ";
    definitions_.clear();
    return command;
}

std::string TikzWriter::Line(Real x1, Real y1, Real x2, Real y2) {
    return Command(false) + Point(x1, y1) + " -- " + Point(x2, y2) + ";";
}

std::string TikzWriter::DottedLine(Real x1, Real y1, Real x2, Real y2) {
    return Command(false, "dotted") + Point(x1, y1) + " -- " + Point(x2, y2) + ";";
}

void TikzWriter::MoveTo(Real x, Real y) {
    currentX_ = x;
    currentY_ = y;
}

std::string TikzWriter::LineTo(Real x, Real y) {
    std::string line = Line(currentX_, currentY_, x, y);
    MoveTo(x, y);
    return line;
}

std::string TikzWriter::Rectangle(Real x1, Real y1, Real x2, Real y2) {
    return Command(true) + Point(x1, y1) + " rectangle " + Point(x2, y2) + ";";
}

std::string TikzWriter::Path(const std::vector<WorldPoint>& points, bool close) {
    if (points.empty()) return "";
    // A long open curve goes in pieces that share their end points; a closed outline
    // stays one path, so that it fills.
    const size_t piece = close ? points.size() : kPointsPerDraw;
    std::string text;
    for (size_t start = 0; start < points.size(); start += piece) {
        const size_t first = start == 0 ? 0 : start - 1;
        const size_t end = std::min(points.size(), start + piece);
        if (!text.empty()) text += "\n";
        text += Command(close);
        for (size_t i = first; i < end; ++i) {
            if (i > first) text += (i - first) % kPointsPerLine == 0 ? " --\n  " : " -- ";
            text += Point(points[i].x, points[i].y);
        }
        if (points.size() == 1) text += " -- " + Point(points[0].x, points[0].y);
        text += close && points.size() > 2 ? " -- cycle;" : ";";
    }
    return text;
}

std::string TikzWriter::Arrow(Real x, Real y, Real a, Real b) {
    return Command(false, "->") + Point(x, y) + " -- " + Point(x + a, y + b) + ";";
}

std::string TikzWriter::Text(Real x, Real y, const std::string& text) {
    return AlignedText(x, y, text, "lt");
}

std::string TikzWriter::AlignedText(Real x, Real y, const std::string& text,
                                    const std::string& alignment) {
    std::string options =
        "anchor=" + Anchor(alignment) + ",inner sep=0pt,text=" + ColourName(text_);
    if (textAngle_ % 360 != 0) options += ",rotate=" + std::to_string(textAngle_);
    std::string node =
        definitions_ + "\\node[" + options + "] at " + Point(x, y) + " {" + text + "};";
    definitions_.clear();
    return node;
}

std::string TikzWriter::Ellipse(Real x1, Real y1, Real x2, Real y2) {
    const Real rx = std::fabs(X(x2) - X(x1)) / 2, ry = std::fabs(Y(y2) - Y(y1)) / 2;
    return Command(true) + Point((x1 + x2) / 2, (y1 + y2) / 2) +
           " ellipse [x radius=" + Number(rx) + ",y radius=" + Number(ry) + "];";
}

std::string TikzWriter::Circle(Real mx, Real my, Real radius) {
    return Ellipse(mx - radius, my - radius, mx + radius, my + radius);
}

std::array<std::string, 2> TikzWriter::Arc(Real mx, Real my, Real radius, Real startAngle,
                                           Real endAngle, ArcShape shape) {
    constexpr Real kTurn = 2 * std::numbers::pi_v<Real>;
    Real sweep = std::fmod(endAngle - startAngle, kTurn);
    if (sweep <= 0) sweep += kTurn;  // equal angles: the whole circle, as on the screen
    const Real rx = std::fabs(radius * xScale_), ry = std::fabs(radius * yScale_);
    const Real sx = mx + radius * std::cos(startAngle), sy = my + radius * std::sin(startAngle);
    std::string arc = "arc [start angle=" + Degrees(startAngle) + ",delta angle=" + Degrees(sweep) +
                      ",x radius=" + Number(rx) + ",y radius=" + Number(ry) + "]";
    std::string text;
    if (shape == ArcShape::Arc) {
        shaded_ = false;
        text = Command(false) + Point(sx, sy) + " " + arc + ";";
    } else if (shape == ArcShape::Sector) {
        text = Command(true) + Point(mx, my) + " -- " + Point(sx, sy) + " " + arc + " -- cycle;";
    } else {
        text = Command(true) + Point(sx, sy) + " " + arc + " -- cycle;";
    }
    return {text, ""};
}

std::string TikzWriter::Spline(const std::vector<WorldPoint>& points) {
    if (points.size() < 4) return "";
    std::string text = Command(false) + Point(points[0].x, points[0].y);
    for (size_t i = 1; i + 2 < points.size(); i += 3) {
        text += "\n  .. controls " + Point(points[i].x, points[i].y) + " and " +
                Point(points[i + 1].x, points[i + 1].y) + " .. " +
                Point(points[i + 2].x, points[i + 2].y);
    }
    return text + ";";
}

std::string TikzWriter::LineWidth(int width) {
    if (width <= 0) return "";
    // The widths of eepic's \thinlines, \thicklines and \Thicklines.
    if (width == 1) return "\\pgfsetlinewidth{0.4pt}";
    if (width == 2) return "\\pgfsetlinewidth{0.8pt}";
    return "\\pgfsetlinewidth{1.2pt}";
}

void TikzWriter::FlushPath() {
    if (path_.empty()) return;
    Add(Path(path_, false));
    path_.clear();
}

std::string TikzWriter::FileText() const {
    std::string text;
    for (const std::string& entry : entries_) text += entry + "\n";
    return text;
}

bool TikzWriter::SaveToFile(const std::string& path) const {
    return WriteWholeFile(path, FileText());
}

}  // namespace exporter
