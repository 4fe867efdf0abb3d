// Colour lookup and the row order of interlaced frames.
#include "gif/colour_table.h"

namespace gif {

int BitsForColourCount(int count) {
    int bits = 1;
    while (bits < 8 && (1 << bits) < count) ++bits;
    return bits;
}

std::vector<int> RowOrder(int height, bool interlaced) {
    std::vector<int> rows;
    rows.reserve(static_cast<size_t>(height > 0 ? height : 0));
    if (!interlaced) {
        for (int row = 0; row < height; ++row) rows.push_back(row);
        return rows;
    }
    constexpr int kStart[] = {0, 4, 2, 1};
    constexpr int kStep[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass) {
        for (int row = kStart[pass]; row < height; row += kStep[pass]) rows.push_back(row);
    }
    return rows;
}

void ColourTable::Clear() {
    count_ = 0;
    colours_.fill(0);
    slots_.fill(0);
}

void ColourTable::AppendBytes(int bits, std::string& out) const {
    const int entries = 1 << bits;
    for (int i = 0; i < entries; ++i) {
        const Colour colour = i < count_ ? colours_[static_cast<size_t>(i)] : 0;
        out.push_back(static_cast<char>(colour & 0xFF));
        out.push_back(static_cast<char>(colour >> 8 & 0xFF));
        out.push_back(static_cast<char>(colour >> 16 & 0xFF));
    }
}

int ColourTable::IndexOf(Colour colour) {
    size_t slot = (colour * 2654435761u) >> 22 & (kSlots - 1);
    while (slots_[slot] != 0) {
        const int index = slots_[slot] - 1;
        if (colours_[static_cast<size_t>(index)] == colour) return index;
        slot = (slot + 1) & (kSlots - 1);
    }
    if (count_ == kMaxColours) return -1;
    colours_[static_cast<size_t>(count_)] = colour;
    slots_[slot] = static_cast<int16_t>(count_ + 1);
    return count_++;
}

bool ColourTable::BuildIndices(const RgbImage& picture, bool interlaced,
                               std::optional<Colour> transparent, std::vector<uint8_t>& indices,
                               int& transparentIndex) {
    transparentIndex = -1;
    const size_t width = static_cast<size_t>(picture.width);
    indices.resize(width * static_cast<size_t>(picture.height));
    uint8_t* out = indices.data();
    // Plots are long runs of one colour: the last lookup usually answers.
    Colour last = 0;
    uint8_t lastIndex = 0;
    bool haveLast = false;
    for (const int row : RowOrder(picture.height, interlaced)) {
        const uint8_t* in = picture.pixels.data() + static_cast<size_t>(row) * width * 3;
        for (size_t column = 0; column < width; ++column, in += 3) {
            const Colour colour = in[0] | in[1] << 8 | static_cast<Colour>(in[2]) << 16;
            if (!haveLast || colour != last) {
                const int index = IndexOf(colour);
                if (index < 0) return false;
                last = colour;
                lastIndex = static_cast<uint8_t>(index);
                haveLast = true;
                if (transparent && colour == *transparent && transparentIndex < 0) {
                    transparentIndex = index;
                }
            }
            *out++ = lastIndex;
        }
    }
    return true;
}

}  // namespace gif
