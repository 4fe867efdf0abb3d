// GIF's LZW with the classic fixed hash: the table is emptied at 4096 codes, so
// memory does not grow with the picture.
#include "gif/lzw_encoder.h"

#include <algorithm>

#include "gif/colour_table.h"

namespace gif {

bool LzwEncoder::Encode(const uint8_t* indices, size_t count, int colourCount, std::string& out,
                        const Progress& progress, size_t progressStep) {
    out_ = &out;
    blockLength_ = 0;
    bitBuffer_ = 0;
    bitCount_ = 0;
    clearPending_ = false;
    initialBits_ = std::max(2, BitsForColourCount(colourCount));
    out.push_back(static_cast<char>(initialBits_));
    const int clearCode = 1 << initialBits_;
    const int endCode = clearCode + 1;
    freeCode_ = clearCode + 2;
    codeBits_ = initialBits_ + 1;
    maxCode_ = (1 << codeBits_) - 1;
    ClearTable();
    Output(clearCode);

    int prefix = count > 0 ? indices[0] : 0;
    size_t untilProgress = progressStep;
    for (size_t i = 1; i < count; ++i) {
        if (progress && --untilProgress == 0) {
            untilProgress = progressStep;
            if (!progress(count - i)) return false;
        }
        const int pixel = indices[i];
        const int32_t key = (pixel << 12) + prefix;
        int slot = (pixel << 4) ^ prefix;
        if (keys_[static_cast<size_t>(slot)] == key) {
            prefix = codes_[static_cast<size_t>(slot)];
            continue;
        }
        if (keys_[static_cast<size_t>(slot)] >= 0) {
            const int step = slot == 0 ? 1 : kTableSize - slot;
            bool found = false;
            do {
                slot -= step;
                if (slot < 0) slot += kTableSize;
                if (keys_[static_cast<size_t>(slot)] == key) {
                    found = true;
                    break;
                }
            } while (keys_[static_cast<size_t>(slot)] >= 0);
            if (found) {
                prefix = codes_[static_cast<size_t>(slot)];
                continue;
            }
        }
        Output(prefix);
        prefix = pixel;
        if (freeCode_ < kMaxCode) {
            codes_[static_cast<size_t>(slot)] = static_cast<uint16_t>(freeCode_++);
            keys_[static_cast<size_t>(slot)] = key;
        } else {
            ClearTable();
            freeCode_ = clearCode + 2;
            clearPending_ = true;
            Output(clearCode);
        }
    }
    if (count > 0) Output(prefix);
    Output(endCode);
    FlushBits();
    FlushBlock();
    out.push_back('\0');
    out_ = nullptr;
    return true;
}

void LzwEncoder::Output(int code) {
    bitBuffer_ |= static_cast<uint32_t>(code) << bitCount_;
    bitCount_ += codeBits_;
    while (bitCount_ >= 8) {
        PutByte(static_cast<uint8_t>(bitBuffer_));
        bitBuffer_ >>= 8;
        bitCount_ -= 8;
    }
    // The width changes after the code that filled it, as decoders expect.
    if (clearPending_) {
        codeBits_ = initialBits_ + 1;
        maxCode_ = (1 << codeBits_) - 1;
        clearPending_ = false;
    } else if (freeCode_ > maxCode_) {
        ++codeBits_;
        maxCode_ = codeBits_ == 12 ? kMaxCode : (1 << codeBits_) - 1;
    }
}

void LzwEncoder::FlushBits() {
    if (bitCount_ > 0) PutByte(static_cast<uint8_t>(bitBuffer_));
    bitBuffer_ = 0;
    bitCount_ = 0;
}

void LzwEncoder::FlushBlock() {
    if (blockLength_ == 0) return;
    out_->push_back(static_cast<char>(blockLength_));
    out_->append(reinterpret_cast<const char*>(block_.data()), static_cast<size_t>(blockLength_));
    blockLength_ = 0;
}

}  // namespace gif
