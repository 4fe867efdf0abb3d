// The GIF89a writer: colour tables first (one for all frames when they fit), then
// the blocks of the file in order.
#include "gif/gif_writer.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>

#include "gif/colour_table.h"
#include "gif/lzw_encoder.h"

namespace gif {

namespace {

// Frames with more pixels than this report progress while they are coded.
constexpr size_t kProgressPixels = 100000;
constexpr int kMaxDimension = 65535;  // positions and sizes are 16-bit fields

void PutWord(std::string& out, int value) {
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>(value >> 8 & 0xFF));
}

void PutByte(std::string& out, int value) {
    out.push_back(static_cast<char>(value & 0xFF));
}

// The graphic control extension's disposal bits; other values mean "unspecified".
int DisposalBits(uint8_t disposal) {
    return disposal >= 1 && disposal <= 3 ? disposal << 2 : 0;
}

// Hundredths of a second, as the 16-bit field can hold them.
int DelayField(int32_t milliseconds) {
    return std::clamp(milliseconds / 10, 0, 65535);
}

}  // namespace

const char* const TGifWriter::kCredit =
    "Gemaakt met Zorvat 2.1\n"
    "wiskunde voor het voortgezet onderwijs\n"
    "GIF89a met eigen LZW-codering\n"
    "alle kleuren ongewijzigd overgenomen";

bool TGifWriter::SaveBitmapToFile(const std::string& fileName, RgbImage picture, bool interlaced,
                                  Colour transparentColour, bool transparent) {
    TFrameList list;
    TFrameInfo frame;
    frame.picture = std::move(picture);
    frame.interlaced = interlaced;
    frame.transparent = transparent;
    frame.transparentColour = transparentColour;
    list.frames.push_back(std::move(frame));
    return SaveFramesToFile(fileName, list);
}

bool TGifWriter::SaveFramesToFile(const std::string& fileName, TFrameList& frameList) {
    std::string bytes;
    if (!WriteFrames(frameList, bytes)) return false;
    if (!WriteFileReplacing(fileName, bytes)) {
        lastError_ = GifError::Internal;
        return false;
    }
    return true;
}

bool TGifWriter::WriteFrames(TFrameList& frameList, std::string& stream) {
    std::string out;
    if (!Encode(frameList, out)) return false;
    stream += out;
    return true;
}

bool TGifWriter::Encode(TFrameList& list, std::string& out) {
    lastError_ = GifError::Internal;
    const size_t frameCount = list.frames.size();
    if (frameCount > kMaxFrames) {
        lastError_ = GifError::IndexOutOfBounds;
        return false;
    }
    int screenWidth = 0, screenHeight = 0;
    for (const TFrameInfo& frame : list.frames) {
        const RgbImage& picture = frame.picture;
        if (picture.width <= 0 || picture.height <= 0 ||
            picture.pixels.size() !=
                static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height) * 3) {
            lastError_ = GifError::PictureConversion;
            return false;
        }
        if (frame.left < 0 || frame.top < 0 || picture.width > kMaxDimension - frame.left ||
            picture.height > kMaxDimension - frame.top) {
            lastError_ = GifError::IndexOutOfBounds;
            return false;
        }
        screenWidth = std::max(screenWidth, picture.width + frame.left);
        screenHeight = std::max(screenHeight, picture.height + frame.top);
    }

    ColourTable table;
    std::vector<std::vector<uint8_t>> indices(frameCount);
    std::vector<int> transparentIndex(frameCount, -1);
    const auto build = [&](size_t i) {
        const TFrameInfo& frame = list.frames[i];
        lastError_ = GifError::PictureConversion;
        const auto transparent =
            frame.transparent ? std::optional<Colour>(frame.transparentColour) : std::nullopt;
        if (!table.BuildIndices(frame.picture, frame.interlaced, transparent, indices[i],
                                transparentIndex[i])) {
            lastError_ = GifError::TooManyColours;
            return false;
        }
        lastError_ = GifError::None;
        return true;
    };
    for (size_t i = 0; i < frameCount; ++i) {
        if (!list.globalPalette && i > 0) break;
        if (build(i)) continue;
        // Together too many colours, each frame perhaps not: one table per frame.
        if (list.globalPalette && i > 0 && lastError_ == GifError::TooManyColours) {
            list.globalPalette = false;
            continue;
        }
        return false;
    }
    lastError_ = GifError::Internal;
    const bool perFrame = frameCount > 1 && !list.globalPalette;

    out += "GIF89a";
    PutWord(out, screenWidth);
    PutWord(out, screenHeight);
    if (frameCount == 1 || list.globalPalette) {
        const int bits = BitsForColourCount(table.Count());
        PutByte(out, 0x80 | (bits - 1));
        PutByte(out, 0);  // background colour index
        PutByte(out, 0);  // aspect ratio
        table.AppendBytes(bits, out);
    } else {
        out += std::string(3, '\0');
    }
    if (frameCount > 1) {
        out += "\x21\xFF\x0B";
        out += "NETSCAPE2.0";
        out += "\x03\x01";
        PutWord(out, list.loopCount);
        PutByte(out, 0);
    }

    for (size_t i = 0; i < frameCount; ++i) {
        const TFrameInfo& frame = list.frames[i];
        if (perFrame) {
            table.Clear();
            if (!build(i)) return false;
            lastError_ = GifError::Internal;
        }
        WriteComment(frame.comment, out);

        // 255 stands in the unused field, as it always has.
        const int transparent = frame.transparent ? transparentIndex[i] : -1;
        out += "\x21\xF9\x04";
        PutByte(out, DisposalBits(frame.disposal) | (transparent >= 0 ? 0x01 : 0));
        PutWord(out, DelayField(frame.delay));
        PutByte(out, transparent >= 0 ? transparent : 255);
        PutByte(out, 0);

        const int bits = BitsForColourCount(table.Count());
        PutByte(out, 0x2C);
        PutWord(out, frame.left);
        PutWord(out, frame.top);
        PutWord(out, frame.picture.width);
        PutWord(out, frame.picture.height);
        PutByte(out, (perFrame ? 0x80 | (bits - 1) : 0) | (frame.interlaced ? 0x40 : 0));
        if (perFrame) table.AppendBytes(bits, out);
        if (!WriteImageData(indices[i], table.Count(), frame.picture.width, i, frameCount, out)) {
            lastError_ = GifError::Cancelled;
            return false;
        }
        indices[i] = {};  // written; the memory can go
    }
    if (progress_) {
        bool keepOn = true;
        progress_(*this, 1, 1, 100, keepOn);
    }
    WriteComment(kCredit, out);
    PutByte(out, 0x3B);
    lastError_ = GifError::None;
    return true;
}

void TGifWriter::WriteComment(const std::string& text, std::string& out) const {
    if (text.empty()) return;
    out += "\x21\xFE";
    for (size_t at = 0; at < text.size(); at += 255) {
        const size_t length = std::min<size_t>(255, text.size() - at);
        PutByte(out, static_cast<int>(length));
        out.append(text, at, length);
    }
    PutByte(out, 0);
}

bool TGifWriter::WriteImageData(const std::vector<uint8_t>& indices, int colourCount, int width,
                                size_t frame, size_t frameCount, std::string& out) {
    LzwEncoder encoder;
    const size_t pixels = indices.size();
    if (!progress_ || pixels <= kProgressPixels) {
        return encoder.Encode(indices.data(), pixels, colourCount, out);
    }
    const auto report = [&](size_t remaining) {
        const double done =
            100.0 - static_cast<double>(remaining) * 100.0 / static_cast<double>(pixels - 1);
        const double percentage =
            (done + static_cast<double>(frame) * 100.0) / static_cast<double>(frameCount);
        bool keepOn = true;
        progress_(*this, static_cast<int64_t>(pixels - remaining), static_cast<int64_t>(pixels),
                  static_cast<int>(std::lround(percentage)), keepOn);
        return keepOn;
    };
    // Narrow pictures report more often, so the steps stay about as frequent.
    return encoder.Encode(indices.data(), pixels, colourCount, out, report,
                          width <= 320 ? 128 : 256);
}

bool WriteFileReplacing(const std::string& path, const std::string& bytes) {
    namespace fs = std::filesystem;
    if (path.empty()) return false;
    const fs::path target(path);
    std::random_device random;
    const fs::path temporary =
        target.parent_path() / (".zorvat-gif-" + std::to_string(random()) + ".tmp");
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        if (!file) return false;
        file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        file.close();
        if (!file) {
            std::error_code ignored;
            fs::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code error;
    fs::rename(temporary, target, error);
    if (!error) return true;
    fs::remove(temporary, error);
    return false;
}

}  // namespace gif
