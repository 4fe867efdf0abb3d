// SVG elements: one path per fill or outline, one text element per text.
#include "export/svg_writer.h"

#include <cmath>
#include <cstdio>

namespace exporter {

namespace {

// Short decimal numbers: two decimals at most, no trailing zeros, never a comma.
std::string Number(double v) {
    if (!std::isfinite(v)) v = 0;
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.2f", v);
    std::string text = buffer;
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
    if (text == "-0") text = "0";
    return text;
}

std::string Colour(VectorColour colour) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "#%02x%02x%02x", colour & 0xFF, (colour >> 8) & 0xFF,
                  (colour >> 16) & 0xFF);
    return buffer;
}

// Path data; `shift` moves thin lines onto the pixel centres, where the screen draws them.
std::string PathData(const VectorPath& path, double shift) {
    std::string d;
    for (const VectorSubpath& sub : path) {
        if (sub.points.empty()) continue;
        auto point = [&](const VectorPoint& p) {
            return Number(p.x + shift) + " " + Number(p.y + shift);
        };
        d += "M" + point(sub.points[0]);
        if (sub.curves) {
            for (size_t i = 1; i + 2 < sub.points.size(); i += 3)
                d += "C" + point(sub.points[i]) + " " + point(sub.points[i + 1]) + " " +
                     point(sub.points[i + 2]);
        } else {
            for (size_t i = 1; i < sub.points.size(); ++i) d += "L" + point(sub.points[i]);
        }
        if (sub.closed) d += "Z";
    }
    return d;
}

const char* const kBase64 = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::string Base64(const std::string& bytes) {
    std::string out;
    for (size_t i = 0; i < bytes.size(); i += 3) {
        uint32_t chunk = static_cast<unsigned char>(bytes[i]) << 16;
        if (i + 1 < bytes.size()) chunk |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        if (i + 2 < bytes.size()) chunk |= static_cast<unsigned char>(bytes[i + 2]);
        out += kBase64[(chunk >> 18) & 63];
        out += kBase64[(chunk >> 12) & 63];
        out += i + 1 < bytes.size() ? kBase64[(chunk >> 6) & 63] : '=';
        out += i + 2 < bytes.size() ? kBase64[chunk & 63] : '=';
    }
    return out;
}

// A 24-bit BMP of the picture: every browser and editor shows one inside an SVG.
std::string BmpOf(const VectorImage& image) {
    const uint32_t rowBytes = (static_cast<uint32_t>(image.width) * 3 + 3) / 4 * 4;
    const uint32_t bitsSize = rowBytes * static_cast<uint32_t>(image.height);
    std::string bmp;
    auto u32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i) bmp += static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    auto u16 = [&](uint16_t v) {
        bmp += static_cast<char>(v & 0xFF);
        bmp += static_cast<char>(v >> 8);
    };
    bmp += "BM";
    u32(54 + bitsSize);
    u32(0);
    u32(54);
    u32(40);
    u32(static_cast<uint32_t>(image.width));
    u32(static_cast<uint32_t>(image.height));
    u16(1);
    u16(24);
    u32(0);
    u32(bitsSize);
    u32(3780);
    u32(3780);
    u32(0);
    u32(0);
    for (int row = image.height - 1; row >= 0; --row) {
        std::string line(rowBytes, '\0');
        for (int column = 0; column < image.width; ++column) {
            const uint32_t rgb = image.pixels[static_cast<size_t>(row) * image.width + column];
            line[column * 3] = static_cast<char>((rgb >> 16) & 0xFF);  // blue first
            line[column * 3 + 1] = static_cast<char>((rgb >> 8) & 0xFF);
            line[column * 3 + 2] = static_cast<char>(rgb & 0xFF);
        }
        bmp += line;
    }
    return bmp;
}

}  // namespace

std::string SvgWriter::Escaped(const std::string& text) {
    std::string result;
    result.reserve(text.size());
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '&') {
            result += "&amp;";
        } else if (c == '<') {
            result += "&lt;";
        } else if (c == '>') {
            result += "&gt;";
        } else if (c == '"') {
            result += "&quot;";
        } else if (c == '\'') {
            result += "&apos;";
        } else if (u < 0x20 && c != '\t') {
            continue;  // no control characters in XML 1.0; a line break is no text here
        } else {
            result += c;
        }
    }
    return result;
}

void SvgWriter::Reset() {
    ClearFull();
    body_.clear();
    patterns_.clear();
    clips_ = 0;
}

std::string SvgWriter::Pattern(const VectorBrush& brush) {
    static const char* const kLines[] = {
        "",
        "M0 0.5H8",                                              // horizontal
        "M0.5 0V8",                                              // vertical
        "M0 0L8 8M-1 7L1 9M7 -1L9 1",                            // forward diagonal, as \ on screen
        "M0 8L8 0M-1 1L1 -1M7 9L9 7",                            // backward diagonal, as /
        "M0 0.5H8M0.5 0V8",                                      // cross
        "M0 0L8 8M-1 7L1 9M7 -1L9 1M0 8L8 0M-1 1L1 -1M7 9L9 7",  // diagonal cross
    };
    const std::string id = "hatch" + std::to_string(static_cast<int>(brush.hatch)) + "_" +
                           Colour(brush.colour).substr(1);
    if (patterns_.insert(id).second) {
        Append("<defs><pattern id=\"" + id +
               "\" width=\"8\" height=\"8\" patternUnits=\"userSpaceOnUse\"><path d=\"" +
               kLines[static_cast<int>(brush.hatch)] + "\" stroke=\"" + Colour(brush.colour) +
               "\" stroke-width=\"1\" fill=\"none\"/></pattern></defs>\n");
    }
    return id;
}

void SvgWriter::Fill(const VectorPath& path, const VectorBrush& brush) {
    const std::string d = PathData(path, 0);
    if (d.empty()) return;
    const std::string paint =
        brush.hatch == VectorHatch::Solid ? Colour(brush.colour) : "url(#" + Pattern(brush) + ")";
    Append("<path d=\"" + d + "\" fill=\"" + paint +
           "\" fill-rule=\"evenodd\" stroke=\"none\"/>\n");
}

void SvgWriter::Stroke(const VectorPath& path, const VectorPen& pen) {
    VectorPath lines;
    for (const VectorSubpath& sub : path) {
        if (sub.points.size() == 1) {
            // One pixel.
            Append("<rect x=\"" + Number(sub.points[0].x) + "\" y=\"" + Number(sub.points[0].y) +
                   "\" width=\"1\" height=\"1\" fill=\"" + Colour(pen.colour) + "\"/>\n");
        } else if (sub.points.size() > 1) {
            lines.push_back(sub);
        }
    }
    const bool thin = pen.width <= 1;
    const std::string d = PathData(lines, thin ? 0.5 : 0);
    if (d.empty()) return;
    std::string style = "fill=\"none\" stroke=\"" + Colour(pen.colour) + "\" stroke-width=\"" +
                        Number(thin ? 1 : pen.width) + "\"";
    if (thin) {
        // Dots and dashes end where the screen ends them.
        style += pen.style == VectorLineStyle::Solid ? " stroke-linecap=\"square\""
                                                     : " stroke-linecap=\"butt\"";
    } else {
        style += " stroke-linecap=\"round\" stroke-linejoin=\"round\"";
    }
    if (pen.style == VectorLineStyle::Dash) style += " stroke-dasharray=\"18 6\"";
    if (pen.style == VectorLineStyle::Dot) style += " stroke-dasharray=\"3 3\"";
    if (pen.style == VectorLineStyle::DashDot) style += " stroke-dasharray=\"9 6 3 6\"";
    Append("<path d=\"" + d + "\" " + style + "/>\n");
}

void SvgWriter::Text(const VectorText& text) {
    const std::string content = Escaped(text.text);
    if (content.empty()) return;
    std::string clip;
    if (text.clip) {
        const std::string id = "clip" + std::to_string(++clips_);
        Append("<defs><clipPath id=\"" + id + "\"><rect x=\"" + Number(text.clip->left) +
               "\" y=\"" + Number(text.clip->top) + "\" width=\"" +
               Number(text.clip->right - text.clip->left) + "\" height=\"" +
               Number(text.clip->bottom - text.clip->top) + "\"/></clipPath></defs>\n");
        clip = " clip-path=\"url(#" + id + ")\"";
    }
    const std::string x = Number(text.baseline.x), y = Number(text.baseline.y);
    std::string element = "<text x=\"" + x + "\" y=\"" + y + "\" font-family=\"" +
                          Escaped(text.font.family) + "\" font-size=\"" +
                          Number(text.font.pixelSize) + "\" fill=\"" + Colour(text.colour) + "\"";
    if (text.font.bold) element += " font-weight=\"bold\"";
    if (text.font.italic) element += " font-style=\"italic\"";
    if (text.font.underline) element += " text-decoration=\"underline\"";
    if (std::fabs(text.angle) > 1e-9)
        element += " transform=\"rotate(" + Number(-text.angle) + " " + x + " " + y + ")\"";
    element += " xml:space=\"preserve\">" + content + "</text>";
    Append(clip.empty() ? element + "\n" : "<g" + clip + ">" + element + "</g>\n");
}

void SvgWriter::Image(const VectorImage& image) {
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() != static_cast<size_t>(image.width) * image.height)
        return;
    // Multiplying is what AND does to black, white and the colour between them.
    Append("<image x=\"" + Number(image.target.left) + "\" y=\"" + Number(image.target.top) +
           "\" width=\"" + Number(image.target.right - image.target.left) + "\" height=\"" +
           Number(image.target.bottom - image.target.top) +
           "\" preserveAspectRatio=\"none\" image-rendering=\"pixelated\"" +
           (image.combineAnd ? " style=\"mix-blend-mode:multiply\"" : "") +
           " xlink:href=\"data:image/bmp;base64," + Base64(BmpOf(image)) + "\"/>\n");
}

void SvgWriter::Append(const std::string& text) {
    if (Fits(body_.size(), text.size())) body_ += text;
}

std::string SvgWriter::Bytes() const {
    const std::string w = std::to_string(Width()), h = std::to_string(Height());
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" "
           "xmlns:xlink=\"http://www.w3.org/1999/xlink\" version=\"1.1\" width=\"" +
           w + "\" height=\"" + h + "\" viewBox=\"0 0 " + w + " " + h + "\">\n" +
           "<title>Zorvat</title>\n" + body_ + "</svg>\n";
}

}  // namespace exporter
