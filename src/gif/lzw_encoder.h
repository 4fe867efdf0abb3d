// The LZW coder of GIF image data: variable-length codes, least significant bit
// first, in sub-blocks of at most 255 bytes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace gif {

class LzwEncoder {
public:
    // Called every `ProgressStep` pixels with the pixels still to code; false stops
    // the coding.
    using Progress = std::function<bool(size_t remaining)>;

    // Appends the minimum code size byte, the coded `indices` of a picture with
    // `colourCount` table entries, and the empty block that ends the data. False
    // when `progress` asked to stop (the output then ends half-way).
    bool Encode(const uint8_t* indices, size_t count, int colourCount, std::string& out,
                const Progress& progress = nullptr, size_t progressStep = 256);

private:
    // The dictionary: an open-addressing hash table keyed by next index * 4096 + prefix.
    static constexpr int kTableSize = 5119;
    static constexpr int kMaxCode = 4096;

    void ClearTable() { keys_.fill(-1); }
    void Output(int code);
    void FlushBits();
    void PutByte(uint8_t byte) {
        block_[blockLength_++] = byte;
        if (blockLength_ == 255) FlushBlock();
    }
    void FlushBlock();

    std::array<int32_t, kTableSize> keys_{};
    std::array<uint16_t, kTableSize> codes_{};
    std::string* out_ = nullptr;
    std::array<uint8_t, 255> block_{};
    int blockLength_ = 0;
    uint32_t bitBuffer_ = 0;
    int bitCount_ = 0;
    int initialBits_ = 0;
    int codeBits_ = 0;
    int maxCode_ = 0;
    int freeCode_ = 0;
    bool clearPending_ = false;
};

}  // namespace gif
