// A 24-bit picture in plain memory: what the GIF writer encodes, without Qt.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace gif {

// Colours as everywhere in Zorvat: red + 256*green + 65536*blue.
using Colour = uint32_t;
inline constexpr Colour kWhite = 16777215;

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;  // red, green, blue per pixel; rows top to bottom

    RgbImage() = default;
    // A picture filled with one colour.
    RgbImage(int w, int h, Colour fill = kWhite) : width(w), height(h) {
        pixels.resize(static_cast<size_t>(w > 0 ? w : 0) * static_cast<size_t>(h > 0 ? h : 0) * 3);
        for (size_t i = 0; i < pixels.size(); i += 3) SetAt(i, fill);
    }

    Colour At(int column, int row) const {
        const size_t i = Offset(column, row);
        return pixels[i] | pixels[i + 1] << 8 | static_cast<Colour>(pixels[i + 2]) << 16;
    }
    void Set(int column, int row, Colour colour) { SetAt(Offset(column, row), colour); }

private:
    size_t Offset(int column, int row) const {
        return (static_cast<size_t>(row) * static_cast<size_t>(width) +
                static_cast<size_t>(column)) *
               3;
    }
    void SetAt(size_t i, Colour colour) {
        pixels[i] = static_cast<uint8_t>(colour);
        pixels[i + 1] = static_cast<uint8_t>(colour >> 8);
        pixels[i + 2] = static_cast<uint8_t>(colour >> 16);
    }
};

}  // namespace gif
