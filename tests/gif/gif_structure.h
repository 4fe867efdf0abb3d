// Reads the blocks of a GIF file back (not the pixels), so tests can check the
// fields we wrote without counting byte offsets.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct GifFrameBlocks {
    std::string comment;
    int packed = 0;  // graphic control extension
    int delay = 0;
    int transparentIndex = 0;
    int left = 0, top = 0, width = 0, height = 0;
    int descriptorPacked = 0;
    std::string localTable;
    int minimumCodeSize = 0;
    std::vector<int> blockSizes;  // of the image data
};

struct GifStructure {
    std::string version;
    int width = 0, height = 0;
    int packed = 0;
    std::string globalTable;
    std::optional<int> loopCount;
    std::vector<GifFrameBlocks> frames;
    std::vector<std::string> trailingComments;  // after the last image
    bool trailer = false;
};

// Empty optional when the bytes do not follow the format.
inline std::optional<GifStructure> ReadGifStructure(const std::string& bytes) {
    size_t at = 0;
    const auto byte = [&]() -> int {
        return at < bytes.size() ? static_cast<unsigned char>(bytes[at++]) : -1;
    };
    const auto word = [&]() {
        const int low = byte();
        return low | byte() << 8;
    };
    const auto take = [&](size_t n) {
        const std::string part = bytes.substr(std::min(at, bytes.size()), n);
        at += n;
        return part;
    };
    const auto subBlocks = [&](std::vector<int>* sizes) {
        std::string data;
        for (int size = byte(); size > 0; size = byte()) {
            if (sizes) sizes->push_back(size);
            data += take(static_cast<size_t>(size));
        }
        return data;
    };
    GifStructure gif;
    gif.version = take(6);
    gif.width = word();
    gif.height = word();
    gif.packed = byte();
    byte();
    byte();
    if (gif.packed & 0x80) gif.globalTable = take(3u << ((gif.packed & 7) + 1));
    GifFrameBlocks pending;
    std::string comment;
    while (at < bytes.size()) {
        const int introducer = byte();
        if (introducer == 0x3B) {
            gif.trailer = true;
            break;
        }
        if (introducer == 0x21) {
            const int label = byte();
            if (label == 0xFE) {
                comment = subBlocks(nullptr);
                gif.trailingComments.push_back(comment);
            } else if (label == 0xF9) {
                if (byte() != 4) return std::nullopt;
                pending.packed = byte();
                pending.delay = word();
                pending.transparentIndex = byte();
                if (byte() != 0) return std::nullopt;
            } else if (label == 0xFF) {
                const std::string application = subBlocks(nullptr);
                if (application.substr(0, 11) != "NETSCAPE2.0" || application.size() != 14) {
                    return std::nullopt;
                }
                gif.loopCount = static_cast<unsigned char>(application[12]) |
                                static_cast<unsigned char>(application[13]) << 8;
            } else {
                return std::nullopt;
            }
        } else if (introducer == 0x2C) {
            GifFrameBlocks frame = pending;
            if (!gif.trailingComments.empty()) frame.comment = gif.trailingComments.back();
            gif.trailingComments.clear();
            frame.left = word();
            frame.top = word();
            frame.width = word();
            frame.height = word();
            frame.descriptorPacked = byte();
            if (frame.descriptorPacked & 0x80) {
                frame.localTable = take(3u << ((frame.descriptorPacked & 7) + 1));
            }
            frame.minimumCodeSize = byte();
            subBlocks(&frame.blockSizes);
            gif.frames.push_back(frame);
            pending = {};
        } else {
            return std::nullopt;
        }
    }
    if (at > bytes.size()) return std::nullopt;
    return gif;
}
