// SvgWriter: an SVG 1.1 picture of the figures a recording receives, with texts as real
// text elements (searchable, editable) and hatches as patterns.
#pragma once

#include <set>
#include <string>

#include "export/vector_picture.h"

namespace exporter {

class SvgWriter : public VectorPicture {
public:
    SvgWriter(int width, int height) : VectorPicture(width, height) {}

    void Reset() override;
    void Fill(const VectorPath& path, const VectorBrush& brush) override;
    void Stroke(const VectorPath& path, const VectorPen& pen) override;
    void Text(const VectorText& text) override;
    void Image(const VectorImage& image) override;
    std::string Bytes() const override;

    // `text` with the characters XML gives a meaning (& < > " ') written as references
    // and the characters XML does not allow left out.
    static std::string Escaped(const std::string& text);

private:
    // The id of the pattern of `brush`, defined the first time it is needed.
    std::string Pattern(const VectorBrush& brush);
    void Append(const std::string& text);

    std::string body_;
    std::set<std::string> patterns_;
    int clips_ = 0;
};

}  // namespace exporter
