// Line forms of the eepic text.
#include "export/eepic_writer.h"

#include <cmath>
#include <numbers>

#include "export/fixed_number.h"
#include "export/output_limit.h"
#include "export/whole_file.h"

namespace exporter {
namespace {

constexpr int kPrecision = 6;
constexpr int kDecimals = 3;
constexpr long double kPictureWidthMm = 50;
constexpr char kLineBreak = '\n';
constexpr size_t kSplinePointsPerLine = 4;

}  // namespace

void EepicWriter::SetAspect(Real xw, Real yw) {
    const Real aspect = xw / yw;
    aspect_ = std::isfinite(aspect) && aspect != 0 ? aspect : 1;
}

std::string EepicWriter::XNumber(Real x) const {
    return FormatFixed(x, kPrecision, kDecimals);
}

std::string EepicWriter::YNumber(Real y) const {
    return FormatFixed(y * aspect_, kPrecision, kDecimals);
}

std::string EepicWriter::Point(Real x, Real y) const {
    return "(" + XNumber(x) + "," + YNumber(y) + ")";
}

std::string EepicWriter::PointLine(Real x, Real y) const {
    return Point(x, y) + kLineBreak;
}

std::string EepicWriter::Line(Real x1, Real y1, Real x2, Real y2) const {
    return "\\path" + Point(x1, y1) + Point(x2, y2);
}

std::string EepicWriter::DottedLine(Real x1, Real y1, Real x2, Real y2) const {
    return "\\drawline[-200]" + Point(x1, y1) + Point(x2, y2) + kLineBreak +
           std::string(kDottedLineHint);
}

void EepicWriter::MoveTo(Real x, Real y) {
    currentX_ = x;
    currentY_ = y;
}

std::string EepicWriter::LineTo(Real x, Real y) {
    std::string line = Line(currentX_, currentY_, x, y);
    MoveTo(x, y);
    return line;
}

std::string EepicWriter::Rectangle(Real x1, Real y1, Real x2, Real y2) const {
    return "\\path" + Point(x1, y1) + Point(x2, y1) + Point(x2, y2) + Point(x1, y2) + Point(x1, y1);
}

std::string EepicWriter::Text(Real x, Real y, const std::string& text) const {
    return AlignedText(x, y, text, "lt");
}

std::string EepicWriter::AlignedText(Real x, Real y, const std::string& text,
                                     const std::string& alignment) const {
    return "\\put" + Point(x, y) + "{\\makebox(0,0)[" + alignment + "]{" + text + "}}";
}

std::string EepicWriter::SmallText(const std::string& text) {
    return "{\\footnotesize " + text + "}";
}

namespace {

// True when every unescaped { has its } in the right order.
bool BracesBalance(const std::string& latex) {
    int depth = 0;
    for (size_t i = 0; i < latex.size(); ++i) {
        if (latex[i] == '\\') {
            ++i;
        } else if (latex[i] == '{') {
            ++depth;
        } else if (latex[i] == '}' && --depth < 0) {
            return false;
        }
    }
    return depth == 0;
}

}  // namespace

std::string EepicWriter::LatexText(const std::string& text) {
    std::string latex = LatexTextWithMaths(text, true);
    // Maths with a brace too many or too few would stop LaTeX: then it is plain text.
    return BracesBalance(latex) ? latex : LatexTextWithMaths(text, false);
}

std::string EepicWriter::LatexTextWithMaths(const std::string& text, bool allowMaths) {
    constexpr std::string_view kEscapable = "%#&$_{}";
    const auto escaped = [&](size_t i) {
        return text[i] == '\\' && i + 1 < text.size() &&
               kEscapable.find(text[i + 1]) != std::string_view::npos;
    };
    size_t dollars = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (escaped(i)) {
            ++i;
        } else if (text[i] == '$') {
            ++dollars;
        }
    }
    std::string result;
    result.reserve(text.size() + 8);
    bool maths = false;
    size_t seen = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (escaped(i)) {
            result += c;
            result += text[++i];
            continue;
        }
        if (c == '$') {
            // The last of an odd number of dollars would open maths that never closes.
            if (!allowMaths || (++seen == dollars && dollars % 2 == 1)) {
                result += "\\$";
            } else {
                maths = !maths;
                result += c;
            }
            continue;
        }
        if (c == '%' || c == '#' || c == '&') {
            result += '\\';
            result += c;
        } else if (maths) {
            result += c;
        } else if (c == '_' || c == '{' || c == '}') {
            result += '\\';
            result += c;
        } else if (c == '^' || c == '~') {
            result += '\\';
            result += c;
            result += "{}";
        } else if (c == '<' || c == '>') {
            result += '$';
            result += c;
            result += '$';
        } else if (c == '\\') {
            result += "\\textbackslash{}";
        } else {
            result += c;
        }
    }
    return result;
}

std::string EepicWriter::Ellipse(Real x1, Real y1, Real x2, Real y2) const {
    return "\\put" + Point((x1 + x2) / 2, (y1 + y2) / 2) + "{\\ellipse{" +
           XNumber(std::fabs(x2 - x1)) + "}{" + YNumber(std::fabs(y2 - y1)) + "}}";
}

std::string EepicWriter::Circle(Real mx, Real my, Real radius) const {
    // The diameter is a length along x, so it is not scaled by K.
    return "\\put" + Point(mx, my) + "{\\circle{" + XNumber(2 * radius) + "}}";
}

std::array<std::string, 2> EepicWriter::Arc(Real mx, Real my, Real radius, Real startAngle,
                                            Real endAngle) const {
    constexpr Real kFullTurn = 2 * std::numbers::pi_v<Real>;
    return {"\\put" + Point(mx, my) + "{\\arc{" + XNumber(2 * radius) + "}",
            "{" + XNumber(kFullTurn - endAngle) + "}{" + XNumber(kFullTurn - startAngle) + "}}"};
}

std::string EepicWriter::Spline(const std::vector<WorldPoint>& points) const {
    std::string text;
    size_t onLine = 0;
    for (size_t i = 0; i < points.size(); ++i) {
        if (i == 0) {
            text = std::string(kSpline);
        } else if (onLine == kSplinePointsPerLine) {
            const WorldPoint& last = points[i - 1];
            text += kLineBreak + std::string(kSpline) + Point(last.x, last.y);
            onLine = 0;
        }
        text += Point(points[i].x, points[i].y);
        ++onLine;
    }
    return text;
}

std::string EepicWriter::LineWidth(int width) {
    if (width <= 0) return "";
    if (width == 1) return "\\thinlines";
    if (width == 2) return "\\thicklines";
    return "\\Thicklines";
}

void EepicWriter::Add(std::string entry) {
    bytes_ += entry.size() + 1;
    if (bytes_ > kMaxPictureTextBytes) {
        throw EOutputTooLarge("De eepic-tekst wordt groter dan 1 GB; het programma is gestopt.");
    }
    entries_.push_back(std::move(entry));
}

std::string EepicWriter::FileText() const {
    std::string text;
    for (const std::string& entry : entries_) {
        text += entry;
        text += kLineBreak;
    }
    return text;
}

void EepicWriter::FlushPath() {
    if (pathText_.empty()) return;
    Add("\\path" + pathText_);
    pathText_.clear();
}

std::string EepicWriter::UnitLength(Real xw) {
    return "\\setlength{\\unitlength}{" + FormatFixed(kPictureWidthMm / xw, 4, 5) + "mm}";
}

void EepicWriter::BeginPicture(Real x1, Real y1, Real xw, Real yw) {
    Clear();
    ClearPath();
    SetAspect(xw, yw);
    Add(UnitLength(xw));
    Add("\\begin{picture}" + Point(xw, yw) + Point(x1, y1));
    Add("\\thinlines");
}

bool EepicWriter::SaveToFile(const std::string& path) const {
    return WriteWholeFile(path, FileText());
}

}  // namespace exporter
