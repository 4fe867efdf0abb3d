// Axes in the middle (through the origin) and at the sides of the plot.
#include "plot/axes.h"

#include <cmath>

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

void DrawAlignedText(TPlotSurface& surface, Real x, Real y, const std::string& text,
                     const std::string& align) {
    AlignText(surface, text, align, x, y);
    surface.WorldTextOut(x, y, text);
}

void DrawMiddleAxes(TPlotSurface& surface, const AxesOptions& options) {
    const Real x1 = surface.D2WorldX1(), xw = surface.D2WorldXW(), x2 = x1 + xw;
    const Real y1 = surface.D2WorldY1(), yw = surface.D2WorldYW(), y2 = y1 + yw;

    surface.GetBrush().style = BrushStyle::Clear;
    surface.GetPen().width = options.axesWidth;
    surface.DrawLine(x1, 0, x2, 0);
    surface.DrawLine(0, y1, 0, y2);
    if (!options.xLabel.empty()) {
        DrawAlignedText(surface, 0.02L * x1 + 0.98L * x2, 0, options.xLabel, "rb");
    }
    if (!options.yLabel.empty()) {
        DrawAlignedText(surface, 0, 0.02L * y1 + 0.98L * y2, options.yLabel, "rt");
    }
    surface.GetPen().width = 1;

    const Real sx = NiceStep(xw), sy = NiceStep(yw);
    const std::string xFormat = StepNumberFormat(sx), yFormat = StepNumberFormat(sy);
    surface.GetFont().size -= 1;
    const Colour penColour = surface.GetPen().color;
    for (int i = -24; i <= 24; ++i) {
        if (i == 0) continue;
        const Real x = i * sx, y = i * sy;
        if (x1 <= x && x <= x2) {
            if (options.numbers) {
                const std::string text = FormatWithPattern(x, xFormat);
                Real left = x;
                if (!options.grid) {
                    left = surface.WorldX(surface.WindowX(x) - surface.TextWidth(text) / 2);
                }
                surface.WorldTextOut(left, -yw / 100, text);
            }
            if (options.grid) {
                surface.GetPen().color = options.gridColour;
                surface.DrawLine(x, y1, x, y2);
                surface.GetPen().color = penColour;
            }
            if (options.ticks) surface.DrawLine(x, -yw / 100, x, yw / 100);
        }
        if (y1 <= y && y <= y2) {
            if (options.numbers) {
                surface.WorldTextOut(xw / 85, y + yw / 60, FormatWithPattern(y, yFormat));
            }
            if (options.grid) {
                surface.GetPen().color = options.gridColour;
                surface.DrawLine(x1, y, x2, y);
                surface.GetPen().color = penColour;
            }
            if (options.ticks) surface.DrawLine(-xw / 100, y, xw / 100, y);
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

void AlignText(const TPlotSurface& surface, const std::string& text, const std::string& align,
               Real& x, Real& y) {
    const int px = surface.WindowX(x), py = surface.WindowY(y);
    const int w = surface.TextWidth(text), h = surface.TextHeight(text);
    const char horizontal = align.size() > 0 ? align[0] : 'l';
    const char vertical = align.size() > 1 ? align[1] : 't';
    if (horizontal == 'r') x = surface.WorldX(px - w);
    if (horizontal == 'c') x = surface.WorldX(px - w / 2);
    if (vertical == 'b') y = surface.WorldY(py - h);
    if (vertical == 'c') y = surface.WorldY(py - h / 2);
}

void DrawPlotAxes(TPlotSurface& surface, const AxesOptions& options) {
    if (options.placement == AxesPlacement::None) return;
    DrawingObjectsGuard guard(surface);
    surface.GetFont().color = options.axesColour;
    surface.GetPen().color = options.axesColour;
    if (options.placement == AxesPlacement::Sides) {
        surface.SetClipToWorld(true);
        surface.DrawAxes(options.xLabel, options.yLabel, options.axesColour, options.axesColour,
                         false);
    } else {
        surface.SetClipToWorld(false);
        DrawMiddleAxes(surface, options);
    }
}

}  // namespace plot
