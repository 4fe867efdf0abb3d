// The colour table of a GIF under construction, and the index buffer of a frame
// built into it. Colours are never reduced: a 257th colour is a failure.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "gif/rgb_image.h"

namespace gif {

inline constexpr int kMaxColours = 256;

// Bits of a colour table that holds `count` colours: 1 for up to 2, ... 8 for up to 256.
int BitsForColourCount(int count);

// The rows of a picture in file order: top to bottom, or the four interlace passes
// (0, 8, 16, ...; 4, 12, ...; 2, 6, ...; 1, 3, 5, ...).
std::vector<int> RowOrder(int height, bool interlaced);

class ColourTable {
public:
    ColourTable() { Clear(); }
    void Clear();
    int Count() const { return count_; }
    Colour At(int index) const { return colours_[static_cast<size_t>(index)]; }

    // Appends the table as written: 2^bits entries of red, green, blue, the ones
    // past the colours found zero.
    void AppendBytes(int bits, std::string& out) const;

    // Looks every pixel up (appending colours not yet present) and writes the
    // indices row by row in file order into `indices`. `transparentIndex` gets the
    // index of `transparent` when the picture has a pixel of that colour, else -1.
    // False when the table would need more than 256 colours.
    bool BuildIndices(const RgbImage& picture, bool interlaced, std::optional<Colour> transparent,
                      std::vector<uint8_t>& indices, int& transparentIndex);

private:
    // Index of `colour`, appended when new; -1 when the table is full.
    int IndexOf(Colour colour);

    // The lookup is a small hash in front of the table (table order stays the order
    // of first appearance, as a linear search would give).
    static constexpr size_t kSlots = 1024;
    std::array<Colour, kMaxColours> colours_{};
    std::array<int16_t, kSlots> slots_{};  // index + 1; 0 for an empty slot
    int count_ = 0;
};

}  // namespace gif
