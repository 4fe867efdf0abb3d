// Axes in the middle (through the origin) and at the sides of the plot.
#include "plot/axes.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "expr/number_format.h"

namespace plot {

namespace {

// Restores the drawing objects that the axes change.
class DrawingObjectsGuard {
public:
    explicit DrawingObjectsGuard(TPlotSurface& surface)
        : surface_(surface),
          pen_(surface.GetPen()),
          brush_(surface.GetBrush()),
          font_(surface.GetFont()) {}
    ~DrawingObjectsGuard() {
        surface_.GetPen() = pen_;
        surface_.GetBrush() = brush_;
        surface_.GetFont() = font_;
    }
    DrawingObjectsGuard(const DrawingObjectsGuard&) = delete;
    DrawingObjectsGuard& operator=(const DrawingObjectsGuard&) = delete;

private:
    TPlotSurface& surface_;
    Pen pen_;
    Brush brush_;
    Font font_;
};

// The pi sign of tick numbers written as multiples of pi.
constexpr const char* kPiSign = "\xcf\x80";

// Moves a text whose top-left corner is (left, top) so that it lies wholly on the
// surface: the numbers at the ends of the axes would otherwise be cut in half.
void KeepInside(const TPlotSurface& surface, const std::string& text, Real& left, Real& top) {
    const int width = surface.TextWidth(text), height = surface.TextHeight(text);
    const int column = surface.WindowX(left), row = surface.WindowY(top);
    const int insideColumn = std::clamp(column, 0, std::max(0, surface.Width() - width));
    const int insideRow = std::clamp(row, 0, std::max(0, surface.Height() - height));
    if (insideColumn != column) left = surface.WorldX(insideColumn);
    if (insideRow != row) top = surface.WorldY(insideRow);
}

// Axis labels and numbers in the surface's current font on every output that is
// on: surface and PDF at the aligned point, eepic at the point itself with the
// alignment letters (LaTeX aligns the same way). A number ending in "p" is a
// multiple of pi.
void AxisText(Drawing& drawing, Real x, Real y, const std::string& text,
              const std::string& alignment, bool number) {
    TPlotSurface& surface = drawing.Surface();
    const bool pi = number && !text.empty() && text.back() == 'p';
    const std::string prefix = pi ? text.substr(0, text.size() - 1) : text;
    const std::string shown = pi ? prefix + kPiSign : text;
    Real left = x, top = y;
    AlignText(surface, shown, alignment, left, top);
    KeepInside(surface, shown, left, top);
    surface.WorldTextOut(left, top, shown);
    if (drawing.PdfOn()) {
        const exporter::PdfFont font = PdfFontOf(surface.GetFont());
        drawing.Pdf().Text(font, prefix, 0, surface.TextWidth(prefix), surface.TextHeight(shown),
                           left, top);
        if (pi) {
            exporter::PdfFont symbol = font;
            symbol.name = "Symbol";
            const Real after = surface.WorldX(surface.WindowX(left) + surface.TextWidth(prefix));
            drawing.Pdf().Text(symbol, "p", 0, surface.TextWidth(kPiSign),
                               surface.TextHeight(shown), after, top);
        }
    }
    drawing.Tikz().SetTextAngle(0);
    drawing.ForEachText([&](auto& out) {
        const std::string latex = pi ? prefix + "$\\pi\\mathstrut$" : text;
        out.Add(out.AlignedText(x, y,
                                number ? exporter::EepicWriter::SmallText(latex)
                                       : exporter::EepicWriter::LatexText(text),
                                alignment));
    });
}

// Axes through the origin: the two axes, the labels, then ticks, numbers and grid
// lines at multiples of the steps (at most 24 on each side of the origin).
void DrawAxesThroughOrigin(Drawing& drawing, const AxesOptions& options, Real sx, Real sy,
                           const std::string& xFormat, const std::string& yFormat) {
    TPlotSurface& surface = drawing.Surface();
    const Real x1 = surface.D2WorldX1(), xw = surface.D2WorldXW(), x2 = x1 + xw;
    const Real y1 = surface.D2WorldY1(), yw = surface.D2WorldYW(), y2 = y1 + yw;

    surface.GetBrush().style = BrushStyle::Clear;
    surface.GetPen().width = options.axesWidth;
    surface.DrawLine(x1, 0, x2, 0);
    surface.DrawLine(0, y1, 0, y2);
    if (!options.xLabel.empty()) {
        AxisText(drawing, 0.02L * x1 + 0.98L * x2, 0, options.xLabel, "rb", false);
    }
    if (!options.yLabel.empty()) {
        AxisText(drawing, 0, 0.02L * y1 + 0.98L * y2, options.yLabel, "rt", false);
    }
    const Colour penColour = surface.GetPen().color;
    if (drawing.PdfOn()) {
        drawing.Pdf().LineWidth(2 * options.axesWidth);
        drawing.Pdf().DrawLine(penColour, false, x1, 0, x2, 0);
        drawing.Pdf().DrawLine(penColour, false, 0, y1, 0, y2);
        drawing.Pdf().LineWidth(2);
    }
    drawing.ForEachText([&](auto& out) {
        out.Add(out.LineWidth(std::max(options.axesWidth, 1)));
        out.Add(out.Line(x1, 0, x2, 0));
        out.Add(out.Line(0, y1, 0, y2));
    });
    surface.GetPen().width = 1;
    drawing.ForEachText([](auto& out) { out.Add(out.LineWidth(1)); });

    surface.GetFont().size -= 1;
    for (int i = -24; i <= 24; ++i) {
        if (i == 0) continue;
        const Real x = i * sx, y = i * sy;
        if (sx != 0 && x1 <= x && x <= x2) {
            if (options.numbers) {
                AxisText(drawing, x, -yw / 100, FormatTickNumber(x, xFormat),
                         options.grid ? "lt" : "ct", true);
            }
            if (options.grid) {
                surface.GetPen().color = options.gridColour;
                drawing.PlainLine(x, y1, x, y2);
                surface.GetPen().color = penColour;
            }
            if (options.ticks) drawing.PlainLine(x, -yw / 100, x, yw / 100);
        }
        if (sy != 0 && y1 <= y && y <= y2) {
            if (options.numbers) {
                AxisText(drawing, xw / 85, y + yw / 60, FormatTickNumber(y, yFormat), "lt", true);
            }
            if (options.grid) {
                surface.GetPen().color = options.gridColour;
                drawing.PlainLine(x1, y, x2, y);
                surface.GetPen().color = penColour;
            }
            if (options.ticks) drawing.PlainLine(-xw / 100, y, xw / 100, y);
        }
    }
}

}  // namespace

Real NiceStep(Real range) {
    const Real logarithm = std::log10(range);
    Real k = std::floor(logarithm);
    Real fraction = logarithm - k;
    if (fraction == 0) {
        fraction = 1;
        k -= 1;
    }
    const Real mantissa = std::pow(10.0L, fraction);
    const Real factor = mantissa <= 2 ? 0.2L : (mantissa < 5 ? 0.5L : 1.0L);
    return std::pow(10.0L, k) * factor;
}

std::string StepNumberFormat(Real step) {
    if (step > 500) return "#.#E-";
    if (step < 0.005L) return "0E-";
    return "";
}

std::string FormatWithPattern(Real value, const std::string& pattern) {
    if (pattern.empty()) return expr::FormatGeneral(value, 15);
    const size_t e = pattern.find_first_of("Ee");
    const std::string mantissaPattern = pattern.substr(0, e);
    const size_t point = mantissaPattern.find('.');
    int optionalDecimals = 0, requiredDecimals = 0;
    if (point != std::string::npos) {
        for (char c : mantissaPattern.substr(point + 1)) {
            if (c == '0') ++requiredDecimals;
            if (c == '#') ++optionalDecimals;
        }
    }
    const int decimals = requiredDecimals + optionalDecimals;
    const bool negative = value < 0;
    Real magnitude = std::fabs(value);
    int exponent = 0;
    if (e != std::string::npos && magnitude != 0) {
        exponent = static_cast<int>(std::floor(std::log10(magnitude)));
        magnitude /= std::pow(10.0L, exponent);
        // Rounding may carry the mantissa to 10.
        if (std::nearbyint(magnitude * std::pow(10.0L, decimals)) >=
            10 * std::pow(10.0L, decimals)) {
            magnitude /= 10;
            ++exponent;
        }
    }
    const Real scaled = std::nearbyint(magnitude * std::pow(10.0L, decimals));
    std::string digits = expr::FormatGeneral(scaled, 18);
    if (static_cast<int>(digits.size()) <= decimals) {
        digits.insert(0, static_cast<size_t>(decimals) + 1 - digits.size(), '0');
    }
    std::string integerPart = digits.substr(0, digits.size() - decimals);
    std::string fractionPart = digits.substr(digits.size() - decimals);
    while (static_cast<int>(fractionPart.size()) > requiredDecimals && !fractionPart.empty() &&
           fractionPart.back() == '0') {
        fractionPart.pop_back();
    }
    const bool requiredInteger = mantissaPattern.substr(0, point).find('0') != std::string::npos;
    if (integerPart == "0" && !requiredInteger && !fractionPart.empty()) integerPart.clear();
    std::string out = negative && scaled != 0 ? "-" : "";
    out += integerPart;
    if (!fractionPart.empty()) out += "." + fractionPart;
    if (out.empty() || out == "-") out += "0";
    if (e != std::string::npos) {
        const std::string exponentPattern = pattern.substr(e + 1);
        const bool alwaysSign = !exponentPattern.empty() && exponentPattern.front() == '+';
        size_t minDigits = 0;
        for (char c : exponentPattern) {
            if (c == '0') ++minDigits;
        }
        std::string exponentDigits = std::to_string(std::abs(exponent));
        if (exponentDigits.size() < minDigits) {
            exponentDigits.insert(0, minDigits - exponentDigits.size(), '0');
        }
        out += "E";
        if (exponent < 0) {
            out += "-";
        } else if (alwaysSign) {
            out += "+";
        }
        out += exponentDigits;
    }
    return out;
}

void DrawPlotAxes(Drawing& drawing, const AxesOptions& options) {
    if (options.placement == AxesPlacement::None) return;
    TPlotSurface& surface = drawing.Surface();
    DrawingObjectsGuard guard(surface);
    surface.GetFont().color = options.axesColour;
    surface.GetPen().color = options.axesColour;
    if (options.placement == AxesPlacement::Sides) {
        surface.SetClipToWorld(true);
        surface.DrawAxes(options.xLabel, options.yLabel, options.axesColour, options.axesColour,
                         false);
        return;
    }
    surface.SetClipToWorld(false);
    const Real sx = NiceStep(surface.D2WorldXW()), sy = NiceStep(surface.D2WorldYW());
    DrawAxesThroughOrigin(drawing, options, sx, sy, StepNumberFormat(sx), StepNumberFormat(sy));
}

void DrawOwnAxes(Drawing& drawing, const AxesOptions& options, Real xStep, Real yStep,
                 const std::string& xFormat, const std::string& yFormat) {
    TPlotSurface& surface = drawing.Surface();
    DrawingObjectsGuard guard(surface);
    surface.GetFont().color = options.axesColour;
    if (!std::isfinite(xStep)) xStep = 0;
    if (!std::isfinite(yStep)) yStep = 0;
    DrawAxesThroughOrigin(drawing, options, std::fabs(xStep), std::fabs(yStep), xFormat, yFormat);
}

std::string FormatTickNumber(Real value, const std::string& pattern) {
    const size_t p = pattern.find('p');
    if (p == std::string::npos) return FormatWithPattern(value, pattern);
    std::string numberPattern = pattern;
    numberPattern.erase(p, 1);
    const std::string number = FormatWithPattern(value / std::numbers::pi_v<Real>, numberPattern);
    if (number == "1") return "p";
    if (number == "-1") return "-p";
    return number + "p";
}

}  // namespace plot
